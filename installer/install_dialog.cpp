// The install dialog: the list of what the copy thread does, the language progress (hidden
// until the language step) and Cancel, which reads OK once the copy is done. The dialog
// starts the copy thread when it opens, so that every line has a list to go to; Cancel and
// OK close it and ask the thread to stop after the file it is copying.
#include <atomic>

#include "installer/copy_thread.h"
#include "installer/install_dialogs.h"
#include "installer/release_lists.h"
#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/windowing/dialog.h"

namespace {

std::atomic<InstallProgressObserver> gProgressObserver{nullptr};
HFONT gListFont = nullptr;  // while the dialog is open
int gProgressTop = 0;       // the top of the bar's range as last set

constexpr DialogControl kInstallControls[] = {
    {WC_STATIC, L"Copying files to Dryer...", kInstallCopyingText, 12, 8, 596, 22, SS_LEFT, 0},
    {WC_LISTBOX, L"", kInstallList, 12, 32, 596, 288, WS_BORDER | WS_VSCROLL, 0},
    {WC_STATIC, L"Language Installation Progress...", kInstallLanguageText, 12, 326, 596, 22,
     SS_LEFT, 0},
    {PROGRESS_CLASS, L"", kInstallProgress, 12, 350, 596, 24, 0, 0},
    {WC_BUTTON, L"Cancel", kInstallCancel, 230, 382, 160, 44, BS_PUSHBUTTON, 0},
};

void AddLine(HWND dlg, const wchar_t* line)
{
    HWND list = GetDlgItem(dlg, kInstallList);
    const LRESULT row = SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    // The newest line is selected, so that it is always in sight.
    if (row != LB_ERR) SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

void TellProgress(HWND dlg)
{
    const InstallProgressObserver observer = gProgressObserver.load();
    if (observer == nullptr) return;
    const LRESULT position = SendDlgItemMessage(dlg, kInstallProgress, PBM_GETPOS, 0, 0);
    observer(static_cast<int>(position), gProgressTop);
}

void SetProgressRange(HWND dlg, int top)
{
    gProgressTop = top;
    SendDlgItemMessage(dlg, kInstallProgress, PBM_SETRANGE32, 0, top);
    SendDlgItemMessage(dlg, kInstallProgress, PBM_SETPOS, 0, 0);
}

void OnInstallDialogOpen(HWND dlg)
{
    SendDlgItemMessage(dlg, kInstallList, WM_SETFONT, reinterpret_cast<WPARAM>(gListFont), TRUE);
    ShowWindow(GetDlgItem(dlg, kInstallLanguageText), SW_HIDE);
    ShowWindow(GetDlgItem(dlg, kInstallProgress), SW_HIDE);
    // Opened from the selection dialog, it takes that one's place.
    if (UsbInstall.selectionDialog != nullptr) EndDialog(UsbInstall.selectionDialog, IDOK);
    std::vector<std::wstring> firstLines;
    firstLines.swap(UsbInstall.cleanupFailureLines);
    StartCopyThread(dlg, UsbInstall.selectedRelease, std::move(firstLines));
}

void CloseInstallDialog(HWND dlg)
{
    StopCopyThread();
    EndDialog(dlg, IDOK);
}

INT_PTR InstallProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_INITDIALOG: OnInstallDialogOpen(dlg); return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case kInstallCancel:
                case IDCANCEL: CloseInstallDialog(dlg); return TRUE;
            }
            return FALSE;
        case kInstallAddLine: AddLine(dlg, reinterpret_cast<const wchar_t*>(lp)); return TRUE;
        case kInstallButtonText:
            SetDlgItemText(dlg, kInstallCancel, reinterpret_cast<const wchar_t*>(lp));
            return TRUE;
        case kInstallShowLanguage:
            ShowWindow(GetDlgItem(dlg, kInstallLanguageText), SW_SHOW);
            ShowWindow(GetDlgItem(dlg, kInstallProgress), SW_SHOW);
            return TRUE;
        case kInstallProgressRange:
            SetProgressRange(dlg, static_cast<int>(wp));
            TellProgress(dlg);
            return TRUE;
        case kInstallProgressPos:
            SendDlgItemMessage(dlg, kInstallProgress, PBM_SETPOS, wp, 0);
            TellProgress(dlg);
            return TRUE;
    }
    return FALSE;
}

}  // namespace

void OpenInstallDialog(HWND owner)
{
    DialogTemplate tmpl;
    tmpl.caption = kInstallCaption;
    tmpl.width = 620;
    tmpl.height = 462;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kInstallControls;
    LOGFONT font;
    font.lfHeight = -kInstallListFontHeight;
    font.lfWeight = FW_NORMAL;
    gListFont = CreateFontIndirect(&font);
    DialogBoxIndirectParam(nullptr, tmpl, owner, InstallProc, 0);
    // However the dialog ended (OK, Cancel, the program quitting), its copy stops.
    StopCopyThread();
    DeleteObject(gListFont);  // the list went with the dialog
    gListFont = nullptr;
}

void SetInstallProgressObserver(InstallProgressObserver observer)
{
    gProgressObserver = observer;
}
