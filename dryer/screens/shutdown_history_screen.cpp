// The screen "Shutdown History -29": every logged shutdown in a list (text, board, date,
// time), sorted by warning, by node or by date and time, with the help of a chosen row and the
// copy to the USB drive. Holding EXIT for five seconds asks to clear the history instead of
// closing the screen; the 1-second tick counts the hold (dryer/records/shutdown_history.cpp).
#include <array>
#include <string>

#include "dryer/records/shutdown_history.h"
#include "dryer/records/shutdown_history_export.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/screens/home_panels.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/shutdown_history_screen.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"

namespace {

// After a clear the hold starts from further away, so the same hold does not ask again.
constexpr int kHoldAfterClear = 10;

constexpr DWORD kPushMultiline = BS_PUSHBUTTON | BS_MULTILINE;

// The list fills the top; below it the three sort buttons over their indicators, then the
// copy, the help and EXIT. The hidden clear lies under EXIT, whose held press stands for it.
constexpr std::array<DialogControl, 11> kControls{{
    {WC_LISTVIEW, L"", kHistoryList, 5, 5, 626, 288,
     LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER, 0},
    {WC_BUTTON, L"SORT BY WARNING", kHistorySortByWarning, 5, 300, 203, 44, kPushMultiline, 0},
    {WC_BUTTON, L"SORT BY DATE/TIME", kHistorySortByDateTime, 214, 300, 203, 44, kPushMultiline, 0},
    {WC_BUTTON, L"SORT BY    NODE ID", kHistorySortByNode, 423, 300, 208, 44, kPushMultiline, 0},
    {WC_BUTTON, L"Sorted by warning.", kHistorySortedByWarning, 10, 350, 198, 22, BS_CHECKBOX, 0},
    {WC_BUTTON, L"Sorted by date/time.", kHistorySortedByDateTime, 219, 350, 198, 22, BS_CHECKBOX,
     0},
    {WC_BUTTON, L"Sorted by node id.", kHistorySortedByNode, 428, 350, 203, 22, BS_CHECKBOX, 0},
    {WC_BUTTON, L"COPY TO USB FLASH CARD AS \"DryerShutdownHistory.txt\"", kHistoryCopyToUsb, 5,
     380, 300, 54, kPushMultiline, 0},
    {WC_BUTTON, L"Show Help File", kHistoryShowHelp, 311, 380, 155, 54, kPushMultiline, 0},
    {WC_BUTTON, L"CLEAR HISTORY", kHistoryClear, 472, 380, 159, 54, kPushMultiline, 0},
    {WC_BUTTON, L"EXIT", kHistoryExit, 472, 380, 159, 54, kPushMultiline, 0},
}};

struct Column {
    const wchar_t* title;
    int width;
};
constexpr std::array<Column, 4> kColumns{{
    {L"Shutdown ID", 280},
    {L"Node ID", 140},
    {L"Date", 90},
    {L"Time", 90},
}};
constexpr int kTextColumnWidth = 325;
constexpr int kNodeColumnWidth = 90;

HWND List(HWND dlg)
{
    return GetDlgItem(dlg, kHistoryList);
}

void InsertColumns(HWND dlg)
{
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        LVCOLUMN column;
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = kColumns[i].width;
        column.pszText = kColumns[i].title;
        column.iSubItem = static_cast<int>(i);
        SendMessage(List(dlg), LVM_INSERTCOLUMN, i, reinterpret_cast<LPARAM>(&column));
    }
    SendMessage(List(dlg), LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(kTextColumnWidth, 0));
    SendMessage(List(dlg), LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(kNodeColumnWidth, 0));
}

// Lists the history in an order and checks that order's indicator alone.
void ShowSorted(HWND dlg, ShutdownSort order)
{
    ListShutdownHistory(List(dlg), order);
    CheckDlgButton(dlg, kHistorySortedByWarning,
                   order == ShutdownSort::byWarning ? BST_CHECKED : 0);
    CheckDlgButton(dlg, kHistorySortedByDateTime,
                   order == ShutdownSort::byDateTime ? BST_CHECKED : 0);
    CheckDlgButton(dlg, kHistorySortedByNode, order == ShutdownSort::byNode ? BST_CHECKED : 0);
}

void InitHistoryScreen(HWND dlg)
{
    ShutdownHistoryScreenState& screen = ShutdownHistoryScreen();
    screen.dialog = dlg;
    screen.exitHold = kShutdownHistoryExitHold;
    ShowWindow(GetDlgItem(dlg, kHistoryClear), SW_HIDE);
    InsertColumns(dlg);
    RefreshShutdownHistoryCount();
    ShowSorted(dlg, ShutdownSort::byDateTime);
    CenterWindowOver(dlg, GetParent(dlg));
}

void ClearCommand(HWND dlg)
{
    if (MessageBox(dlg, L"Are you sure you want to clear the Shutdown History?",
                   L"CLEARING SHUTDOWN HISTORY!", MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
        return;
    }
    ClearShutdownHistory();
    SendMessage(List(dlg), LVM_DELETEALLITEMS, 0, 0);
    RefreshShutdownHistoryCount();
    ShowSorted(dlg, ShutdownSort::byDateTime);
}

void CopyToUsb(HWND dlg)
{
    while (!UsbDrivePresent()) {
        if (MessageBox(dlg, L"Please insert flash card into USB port.",
                       L"USB FLASH CARD NOT PRESENT", MB_RETRYCANCEL | MB_ICONSTOP) != IDRETRY) {
            return;
        }
    }
    if (MessageBox(dlg,
                   L"Copy dryer shutdown history to USB flash card as file "
                   L"\"DryerShutdownHistory.txt\".",
                   L"SHUTDOWN HISTORY TO USB FLASH CARD",
                   MB_YESNOCANCEL | MB_ICONINFORMATION) != IDYES) {
        return;
    }
    const ShutdownExportMessage message = ShutdownExportMessageFor(ExportShutdownHistory());
    if (!message.text.empty()) {
        MessageBox(dlg, message.text.c_str(), message.caption.c_str(), message.type);
    }
}

void ShowHelpOfSelection(HWND dlg)
{
    const auto row = static_cast<int>(SendMessage(List(dlg), LVM_GETSELECTIONMARK, 0, 0));
    if (row < 0) {
        MessageBox(dlg, L"Select an item, then press \"Show Help File\".", L"NO ITEM SELECTED",
                   MB_OKCANCEL | MB_ICONINFORMATION);
        return;
    }
    std::array<wchar_t, 8> start{};  // the code's four digits are all that is read
    LVITEM cell;
    cell.iSubItem = 0;
    cell.pszText = start.data();
    cell.cchTextMax = static_cast<int>(start.size());
    SendMessage(List(dlg), LVM_GETITEMTEXT, static_cast<WPARAM>(row),
                reinterpret_cast<LPARAM>(&cell));
    const ShutdownCode code = ShutdownCodeOfText(start.data());
    // The warning that clears meanwhile must not close help the operator asked for here.
    OpenWarningHelpDialog(dlg, code.node, code.index, true);
}

void CloseHistoryScreen(HWND dlg)
{
    ShutdownHistoryScreen().dialog = nullptr;
    EndDialog(dlg, IDOK);
}

// EXIT closes the screen, unless it was held long enough to ask for a clear.
void ExitCommand(HWND dlg)
{
    ShutdownHistoryScreenState& screen = ShutdownHistoryScreen();
    if (screen.exitHold > 0) {
        CloseHistoryScreen(dlg);
        return;
    }
    screen.exitHold = kHoldAfterClear;
    ClearCommand(dlg);
}

INT_PTR OnHistoryCommand(HWND dlg, int id)
{
    switch (id) {
        case kHistorySortByWarning: ShowSorted(dlg, ShutdownSort::byWarning); return TRUE;
        case kHistorySortByDateTime: ShowSorted(dlg, ShutdownSort::byDateTime); return TRUE;
        case kHistorySortByNode: ShowSorted(dlg, ShutdownSort::byNode); return TRUE;
        case kHistoryCopyToUsb: CopyToUsb(dlg); return TRUE;
        case kHistoryShowHelp: ShowHelpOfSelection(dlg); return TRUE;
        case kHistoryExit: ExitCommand(dlg); return TRUE;
        case kHistoryClear: ClearCommand(dlg); return TRUE;
        case IDCANCEL: CloseHistoryScreen(dlg); return TRUE;
    }
    return FALSE;
}

INT_PTR ShutdownHistoryProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: InitHistoryScreen(dlg); return TRUE;
        case WM_COMMAND: return OnHistoryCommand(dlg, LOWORD(wp));
        case WM_DESTROY:
            // Also when the program quits with the screen open.
            if (ShutdownHistoryScreen().dialog == dlg) ShutdownHistoryScreen().dialog = nullptr;
            return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenShutdownHistory(HWND owner)
{
    DialogTemplate tmpl;
    tmpl.caption = kShutdownHistoryTitle;
    tmpl.width = 640;
    tmpl.height = 466;
    tmpl.style = WS_POPUP | WS_CAPTION;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, ShutdownHistoryProc, 0);
}
