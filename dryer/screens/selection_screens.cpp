// The extended set-up selection screen and the home panels that later work fills (unload
// status, the hidden owner window and the button strip). Each is its
// window with its title; the extended set-up has its leave button, so navigation works end
// to end.
#include "dryer/link/link_state.h"
#include "dryer/screens/bitmap_buttons.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/screens/leave_button.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "dryer/setup/hardware_dialogs.h"
#include "dryer/setup/setup_selection.h"
#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/painter.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/panel_colours.h"

namespace {

constexpr COLORREF kLabelGrey = kSilver;

// The leave button of the extended set-up selection.
BitmapButtonSet gExitFaces;

HWND CreatePushButton(HWND wnd, const wchar_t* text, int id, int x, int y)
{
    return CreateWindowEx(0, WC_BUTTON, text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, y, 175, 50,
                          wnd, id, Screens().instance, nullptr);
}

LRESULT OnDrawExit(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (item != nullptr && gExitFaces.Draw(*item)) return TRUE;
    return DefWindowProc(wnd, msg, wp, lp);
}

// Paints a short note in the middle of a screen that is still to come.
void PaintNote(HWND wnd, const wchar_t* note)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    RECT r;
    GetClientRect(wnd, &r);
    r.bottom = r.bottom / 2;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kLabelGrey);
    DrawText(dc, note, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(wnd, &ps);
}

// A selection screen procedure: its leave button returns to the home screen.
LRESULT SelectionProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, int exitId, const wchar_t* note)
{
    switch (msg) {
        case WM_DRAWITEM: return OnDrawExit(wnd, msg, wp, lp);
        case WM_PAINT: PaintNote(wnd, note); return 0;
        case WM_COMMAND:
            if (LOWORD(wp) == exitId) {
                ReturnToHome(wnd);
                return 0;
            }
            break;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

}  // namespace

LRESULT LineGraphProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProc(wnd, msg, wp, lp);
}

LRESULT ButtonBarProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProc(wnd, msg, wp, lp);
}

LRESULT UnloadStatusProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProc(wnd, msg, wp, lp);
}

LRESULT ExtendedSetupProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE:
            CreatePushButton(wnd, L"MOISTURE SAMPLER", kExtendedSamplerButton, 10, 300);
            CreatePushButton(wnd, L"DAY DATA LOGGER", kExtendedDataLoggerButton, 440, 20);
            CreateExtendedHardwareButton(wnd);
            CreateLeaveButton(wnd, gExitFaces, kExtendedSetupExit, 230, 395);
            return 0;
        case WM_DESTROY: ReleaseExtendedHardwareButton(); break;
        case WM_DRAWITEM:
            if (lp != 0 && DrawExtendedHardwareButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp)))
                return TRUE;
            break;
        case WM_COMMAND:
            if (LOWORD(wp) == kExtendedSetupExit) {
                HomeShown.store(1);
                ReturnToHome(wnd);
                return 0;
            }
            if (LOWORD(wp) == kExtendedHardwareButton) {
                OpenHardwareSetup(wnd);
                return 0;
            }
            if (LOWORD(wp) == kExtendedDataLoggerButton) {
                OpenDataLoggerSetup(wnd);
                return 0;
            }
            break;
    }
    return SelectionProc(wnd, msg, wp, lp, kExtendedSetupExit, L"Extended set-up");
}

void RefreshExtendedSetupButtons()
{
    ShowScreen(GetDlgItem(Screens().extendedSetup, kExtendedSamplerButton),
               IsSet(DryerImage, samplerInstalledBit));
}
