// The home screen's modal dialogs. The defaults-switch screen is complete here; the view
// menu's dialogs are their titled windows with a CANCEL button until their own screens
// replace them.
#include "dryer/screens/entry_dialogs.h"

#include <array>

#include "dryer/link/link_state.h"
#include "dryer/screens/screen_manager.h"
#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/windowing/dialog.h"
#include "resources/orbitdryer/bitmap_table.h"

namespace {

constexpr int kDefaultsExit = 1001;
constexpr int kDefaultsPicture = 1002;

INT_PTR PlaceholderProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    if (msg == WM_INITDIALOG) return TRUE;
    if (msg == WM_COMMAND && (LOWORD(wp) == IDCANCEL || LOWORD(wp) == IDOK)) {
        EndDialog(dlg, LOWORD(wp));
        return TRUE;
    }
    return FALSE;
}

HBITMAP gDipswitchPicture = nullptr;

void ShowDipswitchPicture(HWND dlg)
{
    if (gDipswitchPicture == nullptr) {
        gDipswitchPicture = LoadBitmap(Screens().instance, kBitmapDefaultsDipswitch);
    }
    SendDlgItemMessage(dlg, kDefaultsPicture, STM_SETIMAGE, 0,
                       reinterpret_cast<LPARAM>(gDipswitchPicture));
}

INT_PTR DefaultsSwitchProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: ShowDipswitchPicture(dlg); return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) != kDefaultsExit) return FALSE;
            DefaultsSwitchDismissed.store(1);
            EndDialog(dlg, IDOK);
            return TRUE;
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenPlaceholder(HWND owner, const wchar_t* title)
{
    static constexpr std::array<DialogControl, 2> kControls{{
        {WC_STATIC, L"This screen is not available yet.", 0, 20, 30, 320, 20, SS_CENTER, 0},
        {WC_BUTTON, L"CANCEL", IDCANCEL, 130, 90, 100, 40, BS_PUSHBUTTON, 0},
    }};
    DialogTemplate tmpl;
    tmpl.caption = title;
    tmpl.width = 360;
    tmpl.height = 170;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, PlaceholderProc, 0);
}

INT_PTR OpenMoistureSetpoint(HWND owner)
{
    return OpenPlaceholder(owner, kMoistureSetpointTitle);
}

INT_PTR OpenMeterRollSpeed(HWND owner)
{
    INT_PTR result = OpenPlaceholder(owner, kMeterRollSpeedTitle);
    MeteringScreenShowing.store(0);  // the screen clears the flag when it closes
    return result;
}

INT_PTR OpenDefaultsSwitchDialog(HWND owner)
{
    static constexpr std::array<DialogControl, 5> kControls{{
        {WC_STATIC, L"The \"RESET DEFAULTS\" dipswitch on the Display I/O board is ON.", 0, 15, 15,
         430, 20, SS_LEFT, 0},
        {WC_STATIC, L"Please switch it back to OFF, as shown below, so that the dryer", 0, 15, 40,
         430, 20, SS_LEFT, 0},
        {WC_STATIC, L"keeps its settings the next time it is powered up.", 0, 15, 60, 430, 20,
         SS_LEFT, 0},
        {WC_STATIC, nullptr, kDefaultsPicture, 130, 90, 200, 90, SS_BITMAP, 0},
        {WC_BUTTON, L"EXIT", kDefaultsExit, 180, 195, 100, 40, BS_PUSHBUTTON, 0},
    }};
    DialogTemplate tmpl;
    tmpl.caption = kDefaultsSwitchTitle;
    tmpl.width = 460;
    tmpl.height = 280;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, DefaultsSwitchProc, 0);
}

INT_PTR OpenSystemInformation(HWND owner)
{
    return OpenPlaceholder(owner, kSystemInformationTitle);
}

INT_PTR OpenSoftwareRelease(HWND owner)
{
    return OpenPlaceholder(owner, kSoftwareReleaseTitle);
}
