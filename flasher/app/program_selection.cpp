// The release folders on the panel, their selection dialog, the copy of the display programs
// after an upload, and the hand-over to the program that runs next.
#include <string>

#include "flasher/app/flasher_program.h"
#include "flasher/app/main_window.h"
#include "flasher/node_link.h"
#include "platform/controls/controls.h"
#include "platform/runtime/process.h"
#include "platform/storage/files.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"

FlasherProgramState FlasherProgram;

namespace {

FlasherScreenHooks gHooks;

bool HasHardDisk()
{
    const DWORD attributes = GetFileAttributes(L"\\Hard Disk");
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributes(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Starts a program of the panel with an empty command line.
bool StartPanelProgram(const std::wstring& path)
{
    PROCESS_INFORMATION info;
    if (!CreateProcess(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                       &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return true;
}

// Starts the display program and ends NodeFlasher.
void StartOrbitDryerAndEnd(HWND wnd)
{
    StartPanelProgram(StoragePrefix() + L"OrbitDryer.exe");
    DestroyWindow(wnd);
}

// ---- selection dialog ----

void FillSelectionList(HWND dlg)
{
    HWND list = GetDlgItem(dlg, kSelectionList);
    SendMessage(list, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& name : FlasherProgram.programFolders) {
        SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    SendMessage(list, LB_SETCURSEL, FlasherProgram.selectionIndex, 0);
}

void ListSelectedRow(HWND dlg);

void MoveSelection(HWND dlg, int step)
{
    HWND list = GetDlgItem(dlg, kSelectionList);
    const LRESULT count = SendMessage(list, LB_GETCOUNT, 0, 0);
    LRESULT row = SendMessage(list, LB_GETCURSEL, 0, 0);
    if (count <= 0) return;
    if (row == LB_ERR) row = 0;
    row += step;
    if (row < 0 || row >= count) return;
    SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    FlasherProgram.selectionIndex = static_cast<std::size_t>(row);
    ListSelectedRow(dlg);  // at once, not only with the dialog's next message
}

// The folder name on the selected row of the dialog's list, or empty.
std::wstring SelectedRowName(HWND dlg)
{
    HWND list = GetDlgItem(dlg, kSelectionList);
    if (list == nullptr) return {};
    const LRESULT row = SendMessage(list, LB_GETCURSEL, 0, 0);
    if (row == LB_ERR) return {};
    const LRESULT length = SendMessage(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length <= 0) return {};
    std::wstring name(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(name.data()));
    name.resize(static_cast<std::size_t>(length));
    return name;
}

bool ListedFolder(const std::wstring& name)
{
    for (const std::wstring& folder : FlasherProgram.programFolders) {
        if (folder == name) return true;
    }
    return false;
}

// The HEX listing of the folder on the selected row.
void ListSelectedRow(HWND dlg)
{
    if (gHooks.listHexFiles == nullptr) return;
    const std::wstring name = SelectedRowName(dlg);
    if (!name.empty() && ListedFolder(name)) gHooks.listHexFiles(StoragePrefix() + name);
}

// Accepts the folder on the selected row when it is still on the panel; else the list is
// filled afresh and the dialog stays open.
bool AcceptSelectedRow(HWND dlg)
{
    const std::wstring name = SelectedRowName(dlg);
    if (name.empty() || !ListedFolder(name)) {
        FlasherProgram.selectionIndex = 0;
        FillSelectionList(dlg);
        return false;
    }
    const LRESULT row = SendMessage(GetDlgItem(dlg, kSelectionList), LB_GETCURSEL, 0, 0);
    FlasherProgram.selectionIndex = static_cast<std::size_t>(row);
    if (gHooks.listHexFiles != nullptr) gHooks.listHexFiles(StoragePrefix() + name);
    FlasherProgram.acceptedFolder = name;
    FlasherProgram.programSelected = true;
    return true;
}

INT_PTR SelectionProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    // The HEX listing always belongs to the folder on the selected row, so that it is the
    // accepted folder's when the dialog closes.
    RebuildProgramFolders();
    ListSelectedRow(dlg);
    switch (msg) {
        case WM_INITDIALOG:
            CenterWindowOver(dlg, GetParent(dlg));
            FillSelectionList(dlg);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case kSelectionMoveUp: MoveSelection(dlg, -1); return TRUE;
                case kSelectionMoveDown: MoveSelection(dlg, +1); return TRUE;
                case kSelectionAccept:
                    if (AcceptSelectedRow(dlg)) EndDialog(dlg, IDOK);
                    return TRUE;
            }
            return FALSE;
    }
    return FALSE;
}

constexpr DialogControl kSelectionControls[] = {
    {L"listbox", L"", kSelectionList, 20, 20, 360, 230, WS_BORDER | WS_VSCROLL, 0},
    {L"button", L"MOVE UP", kSelectionMoveUp, 400, 20, 160, 50, BS_PUSHBUTTON, 0},
    {L"button", L"MOVE DOWN", kSelectionMoveDown, 400, 90, 160, 50, BS_PUSHBUTTON, 0},
    {L"button", L"ACCEPT / EXIT", kSelectionAccept, 400, 200, 160, 50, BS_PUSHBUTTON, 0},
};

}  // namespace

const FlasherScreenHooks& FlasherHooks()
{
    return gHooks;
}

void SetFlasherScreenHooks(const FlasherScreenHooks& hooks)
{
    gHooks = hooks;
}

std::wstring StoragePrefix()
{
    return HasHardDisk() ? L"\\Hard Disk\\" : L"\\";
}

void RebuildProgramFolders()
{
    std::vector<std::wstring>& folders = FlasherProgram.programFolders;
    folders.clear();
    WIN32_FIND_DATA found;
    HANDLE find = FindFirstFile((StoragePrefix() + L"CAN_DRYER_P???").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) continue;
        std::wstring name = found.cFileName;
        if (name.size() > kMaxFolderNameChars) name.resize(kMaxFolderNameChars);
        folders.push_back(name);
    } while (folders.size() < kMaxProgramFolders && FindNextFile(find, &found));
    FindClose(find);
}

std::wstring SelectedProgramFolder()
{
    return FlasherProgram.programSelected ? FlasherProgram.acceptedFolder : std::wstring();
}

void FollowAcceptedFolder()
{
    if (!FlasherProgram.programSelected) return;
    const auto& folders = FlasherProgram.programFolders;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (folders[i] == FlasherProgram.acceptedFolder) {
            FlasherProgram.selectionIndex = i;
            return;
        }
    }
    FlasherProgram.programSelected = false;
    FlasherProgram.acceptedFolder.clear();
    FlasherProgram.selectionIndex = 0;
    if (FlasherProgram.mainWindow != nullptr) {
        EnableWindow(GetDlgItem(FlasherProgram.mainWindow, kCmdStartUpload), FALSE);
        InvalidateRect(FlasherProgram.mainWindow, nullptr, TRUE);
    }
}

void CopyDisplayExecutables(HWND owner, void (*addLine)(const wchar_t* line))
{
    static constexpr const wchar_t* kNames[] = {L"Dryer.exe", L"Kickoff.exe", L"OrbitDryer.exe"};
    const std::wstring prefix = StoragePrefix();
    const std::wstring accepted = SelectedProgramFolder();
    const std::wstring folder = prefix + accepted + L"\\";
    for (const wchar_t* name : kNames) {
        const std::wstring from = folder + name;
        const std::wstring to = prefix + name;
        // Without an accepted folder the source would be the destination itself.
        if (!accepted.empty() && CopyFile(from.c_str(), to.c_str(), FALSE)) {
            const std::wstring line = std::wstring(name) + L" successfully copied to Hard Disk.";
            if (addLine != nullptr) addLine(line.c_str());
            continue;
        }
        if (std::wstring_view(name) == L"Dryer.exe") {
            MessageBox(owner, from.c_str(), to.c_str(), MB_OK);
        }
        const std::wstring text = std::wstring(L"Failure to copy ") + name + L" to Hard Disk!";
        MessageBox(owner, text.c_str(), L" FILE COPY FAILURE", MB_OK);
    }
}

void ScanNetwork(HWND wnd)
{
    RebuildProgramFolders();
    FollowAcceptedFolder();
    EnableWindow(GetDlgItem(wnd, kCmdSelectProgram), TRUE);
    if (gHooks.clearScanDone != nullptr) gHooks.clearScanDone();
    const wchar_t* key = FlasherProgram.automaticScan ? FlasherProgram.statusKey.c_str() : nullptr;
    FlasherProgram.automaticScan = false;  // the key belongs to the first scan only
    if (gHooks.openScanDialog != nullptr) gHooks.openScanDialog(wnd, key);
}

void SelectProgram(HWND wnd)
{
    RebuildProgramFolders();
    FollowAcceptedFolder();
    if (FlasherProgram.programFolders.empty()) {
        MessageBox(wnd, L"No Dryer Installations found... Starting NodeFlasher.",
                   L"NO DRYER FILES FOUND", MB_OK);
        StartOrbitDryerAndEnd(wnd);
        return;
    }
    DialogTemplate tmpl;
    tmpl.caption = kSelectionCaption;
    tmpl.width = 580;
    tmpl.height = 300;
    tmpl.controls = kSelectionControls;
    DialogBoxIndirectParam(nullptr, tmpl, wnd, SelectionProc, 0);
    InvalidateRect(wnd, nullptr, TRUE);
}

void StartUpload(HWND wnd)
{
    RebuildProgramFolders();
    FollowAcceptedFolder();
    if (!FlasherProgram.programSelected) return;
    if (gHooks.openUploadDialog != nullptr) gHooks.openUploadDialog(wnd);
}

// The pause runs on a timer, so the window keeps painting; its buttons are off meanwhile,
// since the port is already closed.
void ExitToDryer(HWND wnd)
{
    CloseNodeLink();
    for (WORD id : {kCmdScanNetwork, kCmdSelectProgram, kCmdStartUpload, kCmdExitToDryer}) {
        EnableWindow(GetDlgItem(wnd, id), FALSE);
    }
    SetTimer(wnd, kExitPauseTimerId, kExitPauseMs, nullptr);
}

void FinishExitToDryer(HWND wnd)
{
    KillTimer(wnd, kExitPauseTimerId);
    const bool hardDisk = HasHardDisk();
    if (!FolderExists(StoragePrefix() + L"Languages")) {
        MessageBox(wnd,
                   L"A language must be installed first... Restarting system.  Select and install "
                   L"a language.",
                   L" MUST INSTALL LANGUAGE FIRST...", MB_OK);
        StartOrbitDryerAndEnd(wnd);
        return;
    }
    if (!StartPanelProgram(StoragePrefix() + L"Kickoff.exe")) {
        MessageBox(wnd,
                   L"Make sure Kickoff.exe file is properly installed in directory \"Hard Disk\".",
                   hardDisk ? L" Could not execute Dryer Program (ICOP)!       "
                            : L" Could not execute Dryer Program (AB)!       ",
                   MB_OK);
    }
    DestroyWindow(wnd);
}
