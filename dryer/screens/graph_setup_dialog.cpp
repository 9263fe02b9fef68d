// "GRAPH SETUP - 25": the graph's horizontal scale, 1, 2, 4 or 8 hours, kept in the registry.
#include <array>

#include "dryer/records/display_settings.h"
#include "dryer/screens/graph_screen.h"
#include "dryer/screens/screen_manager.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"

namespace {

// The radio box of each scale code.
constexpr std::array<int, kGraphScaleCodes> kScaleBoxes{
    kGraphSetupOneHour, kGraphSetupTwoHours, kGraphSetupFourHours, kGraphSetupEightHours};

constexpr std::array<DialogControl, 6> kControls{{
    {WC_BUTTON, L"Horizontal Scale", 0, 10, 6, 170, 160, BS_GROUPBOX, 0},
    {WC_BUTTON, L"1 HOUR", kGraphSetupOneHour, 25, 30, 140, 28, BS_RADIOBUTTON, 0},
    {WC_BUTTON, L"2 HOURS", kGraphSetupTwoHours, 25, 62, 140, 28, BS_RADIOBUTTON, 0},
    {WC_BUTTON, L"4 HOURS", kGraphSetupFourHours, 25, 94, 140, 28, BS_RADIOBUTTON, 0},
    {WC_BUTTON, L"8 HOUR", kGraphSetupEightHours, 25, 126, 140, 28, BS_RADIOBUTTON, 0},
    {WC_BUTTON, L"ACCEPT/EXIT", kGraphSetupAccept, 195, 14, 110, 70, BS_PUSHBUTTON, 0},
}};

void CheckOnly(HWND dlg, int id)
{
    for (int box : kScaleBoxes) {
        SendDlgItemMessage(dlg, box, BM_SETCHECK, box == id ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

// The box of the current scale; a stored code outside 0-3 shows as 1 hour.
void ShowCurrentScale(HWND dlg)
{
    const int code = CurrentDisplaySettings().graphHorizontalScale;
    CheckOnly(dlg, kScaleBoxes[code < kGraphScaleCodes ? static_cast<std::size_t>(code) : 0]);
}

void OnAccept(HWND dlg)
{
    BYTE code = 0;  // none checked: 1 hour
    for (std::size_t i = 0; i < kScaleBoxes.size(); ++i) {
        if (SendDlgItemMessage(dlg, kScaleBoxes[i], BM_GETCHECK, 0, 0) == BST_CHECKED) {
            code = static_cast<BYTE>(i);
        }
    }
    CurrentDisplaySettings().graphHorizontalScale = code;
    SaveDisplaySetting(kGraphHorizontalScaleValue, code);  // a registry failure is silent
    RepaintGraph();
    EndDialog(dlg, IDOK);
}

INT_PTR OnGraphSetupCommand(HWND dlg, int id)
{
    for (int box : kScaleBoxes) {
        if (box == id) {
            CheckOnly(dlg, id);  // taken only on "ACCEPT/EXIT"
            return TRUE;
        }
    }
    if (id == kGraphSetupAccept) {
        OnAccept(dlg);
        return TRUE;
    }
    return FALSE;
}

INT_PTR GraphSetupProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: ShowCurrentScale(dlg); return TRUE;
        case WM_COMMAND: return OnGraphSetupCommand(dlg, LOWORD(wp));
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenGraphSetupDialog(HWND owner)
{
    DialogTemplate tmpl;
    tmpl.caption = kGraphSetupTitle;
    tmpl.width = 320;
    tmpl.height = 205;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, GraphSetupProc, 0);
}
