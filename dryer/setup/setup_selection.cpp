// The set-up selection screen " SELECT HARDWARE SETUP PARAMETER TO MODIFY - 03": its buttons
// lead to the drying mode, burner mode and calibration dialogs and to the extended set-up.
#include "dryer/link/link_state.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "dryer/setup/selection_leave.h"
#include "platform/controls/controls.h"
#include "platform/windowing/window.h"

namespace {

BitmapButtonSet gFaces;

HWND CreatePushButton(HWND wnd, const wchar_t* text, int id, int x, int y)
{
    return CreateWindowEx(0, WC_BUTTON, text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, y, 175, 50,
                          wnd, id, Screens().instance, nullptr);
}

}  // namespace

LRESULT SetupSelectionProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE:
            CreatePushButton(wnd, L"BURNER MODE", kSetupBurnerModeButton, 222, 160);
            CreatePushButton(wnd, L"MORE SETUP", kSetupExtendedButton, 440, 90);
            CreateLeaveButton(wnd, gFaces, kSetupSelectionExit, 230, 395);
            return 0;
        case WM_DESTROY: gFaces.Release(); break;
        case WM_DRAWITEM:
            if (gFaces.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
            break;
        case WM_PAINT: PaintComingNote(wnd, L"Hardware set-up"); return 0;
        case WM_COMMAND:
            if (LOWORD(wp) == kSetupSelectionExit) {
                HomeShown.store(1);
                ReturnToHome(wnd);
                return 0;
            }
            if (LOWORD(wp) == kSetupExtendedButton) {
                ShowScreen(wnd, false);
                ShowScreen(Screens().extendedSetup, true);
                return 0;
            }
            break;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

void RefreshSetupButtons()
{
    ShowScreen(GetDlgItem(Screens().setupSelection, kSetupBurnerModeButton),
               !IsSet(DryerImage, towerBit));
    RefreshExtendedSetupButtons();
}
