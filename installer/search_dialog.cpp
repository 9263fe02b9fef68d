// The search dialog: shown while the 1-second tick looks for a drive with a release, its bar
// counting the 90 seconds of one search.
#include "installer/install_dialogs.h"
#include "installer/release_lists.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"

namespace {

constexpr DialogControl kSearchControls[] = {
    {WC_STATIC, L"Searching... Please wait.", kSearchText, 20, 14, 420, 22, SS_CENTER, 0},
    {PROGRESS_CLASS, L"", kSearchProgress, 20, 44, 420, 26, 0, 0},
    {WC_STATIC, L"Make sure drive is plugged into display.  If not,", kSearchHint1, 20, 84, 420, 22,
     SS_CENTER, 0},
    {WC_STATIC, L"please insert drive and wait.", kSearchHint2, 20, 106, 420, 22, SS_CENTER, 0},
    {WC_BUTTON, L"CANCEL SEARCH", kSearchCancel, 140, 142, 180, 44, BS_PUSHBUTTON, 0},
};

void SetUpSearchBar(HWND dlg)
{
    SendDlgItemMessage(dlg, kSearchProgress, PBM_SETRANGE32, 0, kSearchSeconds);
    SendDlgItemMessage(dlg, kSearchProgress, PBM_SETSTEP, 1, 0);
    SendDlgItemMessage(dlg, kSearchProgress, PBM_SETPOS, 0, 0);
}

INT_PTR SearchProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG:
            UsbInstall.searchDialog = dlg;
            SetUpSearchBar(dlg);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case kSearchCancel:
                case IDCANCEL:
                    UsbInstall.searching = false;
                    EndDialog(dlg, IDCANCEL);
                    return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            if (UsbInstall.searchDialog == dlg) UsbInstall.searchDialog = nullptr;
            return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenSearchDialog(HWND owner)
{
    DialogTemplate tmpl;
    tmpl.caption = kSearchCaption;
    tmpl.width = 460;
    tmpl.height = 230;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kSearchControls;
    const INT_PTR result = DialogBoxIndirectParam(nullptr, tmpl, owner, SearchProc, 0);
    UsbInstall.searchDialog = nullptr;
    return result;
}

void ShowSearchProgress(int seconds)
{
    HWND dlg = UsbInstall.searchDialog;
    if (dlg == nullptr) return;
    SendDlgItemMessage(dlg, kSearchProgress, PBM_SETPOS, static_cast<WPARAM>(seconds), 0);
    UpdateWindow(GetDlgItem(dlg, kSearchProgress));
}

void ResetSearchProgress()
{
    if (UsbInstall.searchDialog != nullptr) SetUpSearchBar(UsbInstall.searchDialog);
}

void CloseSearchDialog(INT_PTR result)
{
    if (UsbInstall.searchDialog != nullptr) EndDialog(UsbInstall.searchDialog, result);
}
