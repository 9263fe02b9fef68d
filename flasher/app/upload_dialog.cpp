// The upload's two dialogs: the warning about present boards without a program file, and the
// upload dialog with its progress list and node list. The upload itself runs from the tick;
// these only show its lines and end it.
#include <vector>

#include "flasher/app/flasher_dialogs.h"
#include "flasher/network_scan.h"
#include "flasher/upload.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"

namespace {

HWND gUploadDialog = nullptr;  // while the upload dialog is open
HWND gUploadList = nullptr;
HWND gNodeList = nullptr;

constexpr DialogControl kWarningControls[] = {
    {L"listbox", L"", kWarningList, 8, 8, 608, 300, WS_BORDER | WS_VSCROLL, 0},
    {L"button", L"OK / EXIT", kWarningOk, 216, 320, 200, 50, BS_PUSHBUTTON, 0},
};

constexpr DialogControl kUploadControls[] = {
    {L"listbox", L"", kUploadList, 8, 8, 608, 258, WS_BORDER | WS_VSCROLL, 0},
    {L"listbox", L"", kUploadNodeList, 8, 272, 300, 168, WS_BORDER | WS_VSCROLL, 0},
    {L"button", L"START UPLOAD", kUploadStart, 416, 318, 200, 50, BS_PUSHBUTTON, 0},
    {L"button", L"EXIT", kUploadExit, 416, 386, 200, 50, BS_PUSHBUTTON, 0},
};

void AddListLine(HWND list, const wchar_t* line)
{
    SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
}

// ---- warning dialog ----

INT_PTR WarningProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG:
            CenterWindowOver(dlg, GetParent(dlg));
            for (const std::wstring& line : MissingProgramFileLines()) {
                AddListLine(GetDlgItem(dlg, kWarningList), line.c_str());
            }
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) == kWarningOk) EndDialog(dlg, IDOK);
            return TRUE;
    }
    return FALSE;
}

// ---- upload dialog ----

void OnUploadDialogOpen(HWND dlg)
{
    gUploadDialog = dlg;
    gUploadList = GetDlgItem(dlg, kUploadList);
    gNodeList = GetDlgItem(dlg, kUploadNodeList);
    CenterWindowOver(dlg, GetParent(dlg));
    ShowWindow(GetDlgItem(dlg, kUploadStart), SW_HIDE);
    for (const std::wstring& line : UploadNodeListLines()) AddListLine(gNodeList, line.c_str());
    // The upload begins at once.
    SendMessage(dlg, WM_COMMAND, kUploadStart, 0);
}

void OnStartUpload(HWND dlg)
{
    EnableWindow(GetDlgItem(dlg, kUploadStart), FALSE);
    const std::wstring folder = SelectedProgramFolder();
    StartUploadRun(folder, StoragePrefix() + folder);
}

void CloseUploadDialog()
{
    HWND dlg = gUploadDialog;
    gUploadDialog = nullptr;
    gUploadList = nullptr;
    gNodeList = nullptr;
    if (dlg != nullptr) EndDialog(dlg, IDOK);
}

void OnUploadExit(HWND dlg)
{
    EnableWindow(GetDlgItem(dlg, kUploadStart), TRUE);
    StopUploadRun();
    CloseUploadDialog();
}

INT_PTR UploadDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: OnUploadDialogOpen(dlg); return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case kUploadStart: OnStartUpload(dlg); return TRUE;
                case kUploadExit: OnUploadExit(dlg); return TRUE;
            }
            return FALSE;
    }
    return FALSE;
}

// ---- what the upload shows through the dialog ----

void ShowLastLine()
{
    const LRESULT count = SendMessage(gUploadList, LB_GETCOUNT, 0, 0);
    if (count > 0) SendMessage(gUploadList, LB_SETTOPINDEX, static_cast<WPARAM>(count - 1), 0);
}

void ClearUploadList()
{
    if (gUploadList != nullptr) SendMessage(gUploadList, LB_RESETCONTENT, 0, 0);
}

void ReplaceLastUploadLine(const wchar_t* line)
{
    if (gUploadList == nullptr) return;
    const LRESULT count = SendMessage(gUploadList, LB_GETCOUNT, 0, 0);
    if (count > 0) SendMessage(gUploadList, LB_DELETESTRING, static_cast<WPARAM>(count - 1), 0);
    AddListLine(gUploadList, line);
    ShowLastLine();
}

void HighlightNodeRow(unsigned row)
{
    if (gNodeList != nullptr) SendMessage(gNodeList, LB_SETCURSEL, row, 0);
}

void CopyExecutables()
{
    CopyDisplayExecutables(gUploadDialog, AddUploadLine);
}

void ReportNotProgrammed(const std::wstring& text)
{
    MessageBox(gUploadDialog, text.c_str(), kNotProgrammedCaption, MB_OK);
}

void ClearScanDone()
{
    NetworkScan.scanDone = false;
}

void ResetUploadAndScan()
{
    ResetUploadFlags();
    ResetScanFlags();
}

}  // namespace

void AddUploadDialogLine(const wchar_t* line)
{
    if (gUploadList == nullptr) return;
    AddListLine(gUploadList, line);
    ShowLastLine();
}

void OpenUploadDialogs(HWND owner)
{
    // The folder as it stands now, not as it stood when it was accepted.
    ListHexFiles(StoragePrefix() + SelectedProgramFolder());
    if (!MissingProgramFileLines().empty()) {
        DialogTemplate warning;
        warning.caption = kWarningCaption;
        warning.width = 630;
        warning.height = 420;
        warning.controls = kWarningControls;
        DialogBoxIndirectParam(nullptr, warning, owner, WarningProc, 0);
    }
    DialogTemplate tmpl;
    tmpl.caption = kUploadCaption;
    tmpl.width = 630;
    tmpl.height = 470;
    tmpl.controls = kUploadControls;
    DialogBoxIndirectParam(nullptr, tmpl, owner, UploadDialogProc, 0);
    CloseUploadDialog();
}

void InstallNodeFlasherScreens()
{
    FlasherScreenHooks hooks;
    hooks.openScanDialog = OpenScanDialog;
    hooks.clearScanDone = ClearScanDone;
    hooks.openUploadDialog = OpenUploadDialogs;
    hooks.listHexFiles = ListHexFiles;
    hooks.clearNodeSteps = ClearNodeStepFlags;
    hooks.tick.addUploadLine = AddUploadDialogLine;
    hooks.tick.addScanLine = AddScanDialogLine;
    hooks.tick.resetExchange = ResetUploadAndScan;
    PlugNetworkScan(hooks.tick);
    UploadScreenOps ops;
    ops.clearList = ClearUploadList;
    ops.replaceLastLine = ReplaceLastUploadLine;
    ops.highlightNodeRow = HighlightNodeRow;
    ops.closeDialog = CloseUploadDialog;
    ops.copyExecutables = CopyExecutables;
    ops.reportNotProgrammed = ReportNotProgrammed;
    PlugUpload(hooks.tick, ops);
    SetScanListClear(ClearScanDialogList);
    SetFlasherScreenHooks(hooks);
}
