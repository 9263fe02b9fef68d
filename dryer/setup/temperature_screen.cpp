// The temperature setpoint screen: the plenum and grain setpoint windows.
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "dryer/setup/selection_leave.h"
#include "platform/windowing/window.h"

namespace {

BitmapButtonSet gFaces;

}  // namespace

LRESULT TempSelectProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE: CreateLeaveButton(wnd, gFaces, kTempSelectExit, 240, 395); return 0;
        case WM_DESTROY: gFaces.Release(); break;
        case WM_DRAWITEM:
            if (gFaces.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
            break;
        case WM_PAINT: PaintComingNote(wnd, L"Temperature setpoint pages"); return 0;
        case WM_COMMAND:
            if (LOWORD(wp) == kTempSelectExit) {
                ReturnToHome(wnd);
                return 0;
            }
            break;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}
