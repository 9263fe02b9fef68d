// The scan dialog: the report of the network scan, line by line as the tick adds them, with
// EXIT and SCAN AGAIN.
#include "flasher/app/flasher_dialogs.h"
#include "flasher/network_scan.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"

namespace {

HWND gScanList = nullptr;  // while the dialog is open

constexpr DialogControl kScanControls[] = {
    {L"listbox", L"", kScanList, 8, 8, 608, 368, WS_BORDER | WS_VSCROLL, 0},
    {L"button", L"EXIT", kScanExit, 8, 386, 200, 50, BS_PUSHBUTTON, 0},
    {L"button", L"SCAN AGAIN", kScanAgain, 416, 386, 200, 50, BS_PUSHBUTTON, 0},
};

void OnScanDialogOpen(HWND dlg, const wchar_t* statusKey)
{
    gScanList = GetDlgItem(dlg, kScanList);
    CenterWindowOver(dlg, GetParent(dlg));
    if (statusKey != nullptr) SetScanStatusKey(statusKey);
    StartScanOnDialogOpen();
}

void CloseScanDialog(HWND dlg)
{
    gScanList = nullptr;
    EndDialog(dlg, IDOK);
}

INT_PTR ScanDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_INITDIALOG:
            OnScanDialogOpen(dlg, reinterpret_cast<const wchar_t*>(lp));
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case kScanExit: CloseScanDialog(dlg); return TRUE;
                case kScanAgain: StartScan(); return TRUE;
            }
            return FALSE;
    }
    return FALSE;
}

}  // namespace

void AddScanDialogLine(const wchar_t* line)
{
    if (gScanList == nullptr) return;
    SendMessage(gScanList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
}

void ClearScanDialogList()
{
    if (gScanList == nullptr) return;
    SendMessage(gScanList, LB_RESETCONTENT, 0, 0);
}

void OpenScanDialog(HWND owner, const wchar_t* statusKey)
{
    DialogTemplate tmpl;
    tmpl.caption = kScanCaption;
    tmpl.width = 630;
    tmpl.height = 470;
    tmpl.controls = kScanControls;
    DialogBoxIndirectParam(nullptr, tmpl, owner, ScanDialogProc,
                           reinterpret_cast<LPARAM>(statusKey));
    gScanList = nullptr;
}
