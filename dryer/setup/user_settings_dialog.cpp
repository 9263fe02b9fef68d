// "USER SETTINGS - 20": SAVE SETTINGS and RESTORE SETTINGS each send one request to the dryer
// in the units-and-options byte, which the link sends once and then clears the request bits of.
#include "dryer/setup/user_settings_dialog.h"

#include <array>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/working_copy.h"
#include "dryer/screens/screen_manager.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"

namespace {

constexpr std::array<DialogControl, 5> kControls{{
    {WC_STATIC, L"Press SAVE SETTINGS to store current dryer settings for retrieval later.",
     kUserSettingsSaveText, 15, 15, 560, 22, SS_LEFT, 0},
    {WC_STATIC, L"Press RESTORE SETTINGS to restore saved settings.", kUserSettingsRestoreText, 15,
     45, 560, 22, SS_LEFT, 0},
    {WC_BUTTON, L"SAVE SETTINGS", kUserSettingsSave, 15, 90, 180, 50, BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"RESTORE SETTINGS", kUserSettingsRestore, 205, 90, 180, 50, BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"CANCEL", IDCANCEL, 395, 90, 180, 50, BS_PUSHBUTTON, 0},
}};

// The whole byte goes to the dryer: units, view and batch safety bits as the dryer reports
// them (or as a change on its way has them), and exactly one request bit, so that a save can
// never go out together with a restore.
void SendRequest(HWND dlg, ImageBits request)
{
    TakeWorkingCopy(unitsAndOptions);
    SetBits(DesiredSettings, unitsRequestBits, false);
    SetBits(DesiredSettings, request, true);
    PendingCommand.Set(unitsAndOptions.pending);
    EndDialog(dlg, IDOK);
}

INT_PTR UserSettingsProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    if (msg == WM_INITDIALOG) return TRUE;
    if (msg != WM_COMMAND) return FALSE;
    switch (LOWORD(wp)) {
        case kUserSettingsSave: SendRequest(dlg, saveSettingsRequestBit); return TRUE;
        case kUserSettingsRestore: SendRequest(dlg, restoreSettingsRequestBit); return TRUE;
        case IDCANCEL: EndDialog(dlg, IDCANCEL); return TRUE;
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenUserSettings(HWND owner)
{
    DialogTemplate tmpl;
    tmpl.caption = kUserSettingsTitle;
    tmpl.width = 596;
    tmpl.height = 190;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, UserSettingsProc, 0);
}
