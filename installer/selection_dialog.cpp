// The selection dialog: the releases on the drive, newest (last listed) selected; UP, DOWN and
// NEWEST move the selection, COPY TO DRYER installs the selected one.
#include "installer/install_dialogs.h"
#include "installer/old_release_cleanup.h"
#include "installer/release_lists.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"

namespace {

constexpr DialogControl kSelectionControls[] = {
    {WC_LISTBOX, L"", kSelectionList, 14, 14, 300, 266, WS_BORDER | WS_VSCROLL, 0},
    {WC_BUTTON, L"NEWEST", kSelectionNewest, 334, 14, 200, 44, BS_PUSHBUTTON, 0},
    {WC_STATIC, L"(Bottom File)", kSelectionNewestLabel, 334, 60, 200, 20, SS_CENTER, 0},
    {WC_BUTTON, L"UP", kSelectionUp, 334, 86, 200, 44, BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"DOWN", kSelectionDown, 334, 136, 200, 44, BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"COPY TO DRYER", kSelectionCopy, 334, 186, 200, 44, BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"CANCEL", kSelectionCancel, 334, 236, 200, 44, BS_PUSHBUTTON, 0},
};

HWND List(HWND dlg)
{
    return GetDlgItem(dlg, kSelectionList);
}

// The text of a row of the list, or empty.
std::wstring RowText(HWND dlg, LRESULT row)
{
    if (row == LB_ERR) return {};
    const LRESULT length = SendMessage(List(dlg), LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessage(List(dlg), LB_GETTEXT, static_cast<WPARAM>(row),
                reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void SelectRow(HWND dlg, LRESULT row)
{
    SendMessage(List(dlg), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    UsbInstall.selectedRelease = RowText(dlg, row);
}

void FillSelectionList(HWND dlg)
{
    SendMessage(List(dlg), LB_RESETCONTENT, 0, 0);
    for (const std::wstring& name : UsbInstall.usbReleases) {
        SendMessage(List(dlg), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    const LRESULT count = SendMessage(List(dlg), LB_GETCOUNT, 0, 0);
    if (count > 0) SelectRow(dlg, count - 1);
}

// UP and DOWN: one row, never beyond the first or the last.
void MoveSelection(HWND dlg, int step)
{
    const LRESULT count = SendMessage(List(dlg), LB_GETCOUNT, 0, 0);
    const LRESULT row = SendMessage(List(dlg), LB_GETCURSEL, 0, 0);
    if (count <= 0 || row == LB_ERR) return;
    const LRESULT next = row + step;
    if (next < 0 || next >= count) return;
    SelectRow(dlg, next);
}

void SelectNewest(HWND dlg)
{
    const LRESULT count = SendMessage(List(dlg), LB_GETCOUNT, 0, 0);
    if (count > 0) SelectRow(dlg, count - 1);
}

void CopySelected(HWND dlg)
{
    const std::wstring row = RowText(dlg, SendMessage(List(dlg), LB_GETCURSEL, 0, 0));
    if (row.empty()) return;  // nothing to copy: the dialog stays
    RunOldReleaseCleanup(dlg);
    UsbInstall.selectedRelease = row;
    OpenInstallDialog(UsbInstall.mainWindow != nullptr ? UsbInstall.mainWindow : dlg);
    EndDialog(dlg, IDOK);
}

INT_PTR SelectionProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG:
            UsbInstall.selectionDialog = dlg;
            FillSelectionList(dlg);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case kSelectionUp: MoveSelection(dlg, -1); return TRUE;
                case kSelectionDown: MoveSelection(dlg, +1); return TRUE;
                case kSelectionNewest: SelectNewest(dlg); return TRUE;
                case kSelectionCopy: CopySelected(dlg); return TRUE;
                case kSelectionCancel:
                case IDCANCEL: EndDialog(dlg, IDCANCEL); return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            if (UsbInstall.selectionDialog == dlg) UsbInstall.selectionDialog = nullptr;
            return FALSE;
    }
    return FALSE;
}

}  // namespace

void OpenSelectionDialog(HWND owner)
{
    DialogTemplate tmpl;
    tmpl.caption = kSelectionCaption;
    tmpl.width = 556;
    tmpl.height = 320;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kSelectionControls;
    DialogBoxIndirectParam(nullptr, tmpl, owner, SelectionProc, 0);
    UsbInstall.selectionDialog = nullptr;
}
