// Temporary bodies of the home panels while they are being built.
#include "dryer/screens/home_panels.h"

#include "platform/window.h"

LRESULT DryerPicProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(hwnd, msg, wParam, lParam);
}
LRESULT PlenumPanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(hwnd, msg, wParam, lParam);
}
LRESULT DryerStateLineProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(hwnd, msg, wParam, lParam);
}
LRESULT WarningWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(hwnd, msg, wParam, lParam);
}
void WarningRaiseLowerTick() {}
std::span<const BitmapResource> HomePanelBitmaps() { return {}; }
