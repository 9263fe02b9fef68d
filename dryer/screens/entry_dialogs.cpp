// The home screen's modal dialogs: the defaults-switch screen, and the doors to the moisture
// setpoint and meter roll speed screens (their code lives in dryer/setup/, as does that of the
// system information screens of the view menu).
#include "dryer/screens/entry_dialogs.h"

#include <array>

#include "dryer/link/link_state.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/setup/meter_roll_speed_screen.h"
#include "dryer/setup/moisture_setpoint.h"
#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/windowing/dialog.h"
#include "resources/orbitdryer/bitmap_table.h"

namespace {

constexpr int kDefaultsExit = 1001;
constexpr int kDefaultsPicture = 1002;

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

INT_PTR OpenMoistureSetpoint(HWND owner)
{
    return OpenMoistureSetpointScreen(owner);
}

INT_PTR OpenMeterRollSpeed(HWND owner)
{
    INT_PTR result = OpenMeterRollSpeedSetpoints(owner);
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
