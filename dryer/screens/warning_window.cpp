// The warning window: raised over every screen while a board reports a shutdown or the
// Display I/O stops answering. It paints the shutdown or the connection-lost panel, carries
// the help button, and is shown and hidden by the 100 ms tick.
#include <array>

#include "dryer/link/dryer_image.h"
#include "dryer/screens/bitmap_buttons.h"
#include "dryer/screens/home_panels.h"
#include "dryer/screens/screen_manager.h"
#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/painter.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/bitmap_ids.h"
#include "resources/orbitdryer/panel_colours.h"

namespace {

using namespace home_panels;

constexpr int kDoorPhases = 7;
constexpr RECT kDoorPicture{150, 20, 400, 150};

const ButtonFace kHelpFace[] = {{kWarningHelpButton, kBitmapHelpUp, kBitmapHelpDown}};
BitmapButtonSet helpButtonFaces;

// Sets the title only when it changes, so that a title bar repaint does not ask for another
// paint of the client.
void SetTitle(HWND wnd, const wchar_t* title)
{
    std::array<wchar_t, 64> current{};
    GetWindowText(wnd, current.data(), static_cast<int>(current.size()));
    if (std::wstring(current.data()) != title) SetWindowText(wnd, title);
}

void PaintWarningWindow(HWND wnd)
{
    const HomePanelInputs in = ReadHomePanelInputs();
    platform::Painter paint(wnd, kWarningGrey);
    if (in.linkWatchdog == 0) {
        RequestPanelLinkReset();
        PaintConnectionLostPanel(paint);
        SetTitle(wnd, L" CONNECTION TO DRYER LOST!");
        paint.Bitmap(kBitmapPanelPicture, 30, 40, 100, 75);
        paint.Bitmap(kBitmapDryerPicture, 250, 20, 100, 124);
    } else if (ActiveWarningCode(in.image) != 0) {
        paint.Bitmap(kBitmapShutdownPicture, 20, 1, 100, 92);
        PaintShutdownPanel(paint, in);
        SetTitle(wnd, L" WARNING - DRYER SHUTTING DOWN!");
    }
}

void CreateHelpButton(HWND wnd)
{
    helpButtonFaces.Load(nullptr, kHelpFace);
    CreateBitmapButton(wnd, nullptr, L"WARNING_HELP", kWarningHelpButton, 110, 125, 200, 50);
}

void OnHelpButton(HWND wnd)
{
    const HomePanelInputs in = ReadHomePanelInputs();
    const WarningCode code = ActiveWarningCode(in.image);
    OpenWarningHelpDialog(wnd, WarningNodeOf(code), WarningIndexOf(code), false);
}

LRESULT OnCommand(HWND wnd, WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == kWarningHelpButton) {
        OnHelpButton(wnd);
        return 0;
    }
    return DefWindowProc(wnd, WM_COMMAND, wParam, lParam);
}

}  // namespace

LRESULT WarningWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
        case WM_CREATE: CreateHelpButton(hwnd); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: PaintWarningWindow(hwnd); return 0;
        case WM_DRAWITEM:
            if (helpButtonFaces.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
            break;
        case WM_COMMAND: return OnCommand(hwnd, wParam, lParam);
        case WM_DESTROY:
            helpButtonFaces.Release();
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

void WarningRaiseLowerTick()
{
    const HomePanelInputs in = ReadHomePanelInputs();
    HWND warning = Screens().warning;
    WarningHelpState& help = WarningHelp();
    const WarningCode code = ActiveWarningCode(in.image);
    if (code != 0 || in.linkWatchdog == 0) {
        if (warning != nullptr && !IsWindowVisible(warning)) {
            ShowWindow(warning, SW_SHOW);
            SetWindowPos(warning, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        }
        if (code == kDoorOpenedCode) {
            if (help.dialog != nullptr) InvalidateRect(help.dialog, &kDoorPicture, FALSE);
            help.doorPhase = (help.doorPhase + 1) % kDoorPhases;
        }
        return;
    }
    if (!help.fromHistory && help.dialog != nullptr) {
        SendMessage(help.dialog, WM_COMMAND, kHelpCloseButton, 0);
    }
    if (warning != nullptr) ShowWindow(warning, SW_HIDE);
}

namespace home_panels {

void ResetHomePanelState()
{
    ResetDryerPictureState();
    ReconnectBarState() = ReconnectBar{};
    WarningHelp() = WarningHelpState{};
}

}  // namespace home_panels
