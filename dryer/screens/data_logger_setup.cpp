// "DAY DATA LOGGER SETUP - 19". ON and OFF send bit 0 of option byte 289 to the dryer; the
// indicators show what the dryer reports on every paint. The used space follows the log's fill
// level, which the 12-second tick refreshes (and repaints this dialog). DELETE and the copy to
// the USB drive ask first.
#include "dryer/screens/data_logger_setup.h"

#include <array>
#include <cwchar>

#include "dryer/link/dryer_image.h"
#include "dryer/link/working_copy.h"
#include "dryer/records/data_log_hooks.h"
#include "dryer/records/long_term_log.h"
#include "dryer/records/long_term_log_export.h"
#include "dryer/records/shutdown_history_export.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/screens/screen_manager.h"
#include "platform/controls/controls.h"
#include "platform/runtime/clock.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"

namespace {

constexpr int kRaise = 20;  // pixels above the centred position

// Layout: the logging state on the left, the used space on the right, the file's two commands
// across the dialog below them, EXIT at the bottom right.
constexpr std::array<DialogControl, 12> kControls{{
    {WC_BUTTON, L"DATA LOGGER", kLoggerStateFrame, 10, 8, 215, 132, BS_GROUPBOX, 0},
    {WC_BUTTON, L"ON", kLoggerOnButton, 22, 32, 90, 42, BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"OFF", kLoggerOffButton, 22, 86, 90, 42, BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"ON", kLoggerOnIndicator, 128, 41, 85, 24, BS_RADIOBUTTON | WS_GROUP, 0},
    {WC_BUTTON, L"OFF", kLoggerOffIndicator, 128, 95, 85, 24, BS_RADIOBUTTON, 0},
    {WC_BUTTON, L"DATA LOG FILE", kLoggerSpaceFrame, 235, 8, 215, 132, BS_GROUPBOX, 0},
    {WC_STATIC, L"Used Space:", kLoggerUsedSpaceLabel, 247, 40, 100, 22, SS_LEFT, 0},
    {WC_STATIC, L"0 %", kLoggerUsedSpace, 350, 40, 88, 22, SS_LEFT, 0},
    {PROGRESS_CLASS, nullptr, kLoggerProgress, 247, 82, 191, 26, 0, 0},
    {WC_BUTTON, L"DELETE DATA LOG FILE", kLoggerDelete, 10, 150, 440, 42, BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"SEND DATA LOG FILES TO USB FLASH CARD", kLoggerSendToUsb, 10, 200, 440, 42,
     BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"EXIT", kLoggerExit, 340, 254, 110, 42, BS_PUSHBUTTON, 0},
}};

HWND gDialog = nullptr;  // the open dialog, for the tick's repaints

void CheckIfNot(HWND dlg, int id, bool on)
{
    const UINT want = on ? BST_CHECKED : BST_UNCHECKED;
    if (IsDlgButtonChecked(dlg, id) != want) CheckDlgButton(dlg, id, want);
}

void ShowIndicators(HWND dlg, bool on)
{
    CheckIfNot(dlg, kLoggerOnIndicator, on);
    CheckIfNot(dlg, kLoggerOffIndicator, !on);
}

// The dryer's logging state and the fill level into the controls; a control that already shows
// them is left alone, so a paint never makes more paints.
void ShowLogState(HWND dlg)
{
    ShowIndicators(dlg, IsSet(DryerImage, longTermLogBit));
    const int fill = LongTermFillLevelPercent();
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"%d %%", fill);
    wchar_t shown[16] = {};
    GetDlgItemText(dlg, kLoggerUsedSpace, shown, static_cast<int>(std::size(shown)));
    if (std::wcscmp(text, shown) != 0) SetDlgItemText(dlg, kLoggerUsedSpace, text);
    if (SendDlgItemMessage(dlg, kLoggerProgress, PBM_GETPOS, 0, 0) != fill) {
        SendDlgItemMessage(dlg, kLoggerProgress, PBM_SETPOS, static_cast<WPARAM>(fill), 0);
    }
}

void Repaint(HWND dlg)
{
    ShowLogState(dlg);
    InvalidateRect(dlg, nullptr, TRUE);
}

// Centred on the parent (the template does that), then raised, never above the screen's top.
void RaiseAboveCentre(HWND dlg)
{
    RECT r;
    if (!GetWindowRect(dlg, &r)) return;
    const int top = r.top - kRaise < 0 ? 0 : r.top - kRaise;
    MoveWindow(dlg, r.left, top, r.right - r.left, r.bottom - r.top, TRUE);
}

void OnOpen(HWND dlg)
{
    gDialog = dlg;
    SendDlgItemMessage(dlg, kLoggerProgress, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendDlgItemMessage(dlg, kLoggerProgress, PBM_SETSTEP, 1, 0);
    SendDlgItemMessage(dlg, kLoggerProgress, PBM_SETPOS, 0, 0);
    TakeWorkingCopy(optionByte289);
    RaiseAboveCentre(dlg);
    ShowLogState(dlg);
}

// ON and OFF: the indicators show the choice at once; the dryer's echo confirms it. Nothing is
// sent when the dryer already reports the choice.
void SwitchLogging(HWND dlg, bool on)
{
    ShowIndicators(dlg, on);
    SetBits(DesiredSettings, longTermLogBit, on);
    SendIfChanged(optionByte289);
}

void AskDelete(HWND dlg)
{
    if (MessageBox(dlg, L"Delete data log file?", L"DELETE?", MB_YESNO | MB_ICONQUESTION) !=
        IDYES) {
        return;
    }
    DeleteLongTermLog();
    Repaint(dlg);
}

void CopyToUsb(HWND dlg)
{
    while (!UsbDrivePresent()) {
        if (MessageBox(dlg, L"Please instert flash card into USB port.",
                       L"USB FLASH CARD NOT PRESENT", MB_RETRYCANCEL | MB_ICONSTOP) != IDRETRY) {
            return;
        }
    }
    if (MessageBox(dlg, L"Copy dryer data log file to usb flash drive as DryerDataLog.dat.",
                   L"DATA LOG FILE TO USB FLASH CARD",
                   MB_YESNOCANCEL | MB_ICONINFORMATION) != IDYES) {
        return;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    const LongTermCopyResult result = CopyLongTermLogToUsb(now);
    if (result.outcome != LongTermCopyOutcome::done) {
        MessageBox(dlg, L"Could not copy file to flashdrive.", L"FAILED TO COPY",
                   MB_OK | MB_ICONSTOP);
        return;
    }
    MessageBox(dlg, result.fileName.c_str(),
               L"Successfully copied following file to USB Flash Drive.", MB_OK);
    if (MessageBox(dlg, L"Copy successful.  Delete old data log file?", L"DELETE?",
                   MB_YESNO | MB_ICONQUESTION) == IDYES) {
        DeleteLongTermLog();
        Repaint(dlg);
    }
}

INT_PTR OnCommand(HWND dlg, int id)
{
    switch (id) {
        case kLoggerOnButton: SwitchLogging(dlg, true); return TRUE;
        case kLoggerOffButton: SwitchLogging(dlg, false); return TRUE;
        case kLoggerDelete: AskDelete(dlg); return TRUE;
        case kLoggerSendToUsb: CopyToUsb(dlg); return TRUE;
        case kLoggerExit:
        case IDCANCEL: EndDialog(dlg, IDOK); return TRUE;
    }
    return FALSE;  // the indicators only show the state
}

INT_PTR DataLoggerSetupProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: OnOpen(dlg); return TRUE;
        case WM_PAINT: ShowLogState(dlg); return FALSE;  // the dialog paints its face
        case WM_COMMAND: return OnCommand(dlg, LOWORD(wp));
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenDataLoggerSetup(HWND owner)
{
    // The size warning can offer the dialog while it is open already: one is enough.
    if (gDialog != nullptr) return IDCANCEL;
    DialogTemplate tmpl;
    tmpl.caption = kDataLoggerSetupTitle;
    tmpl.width = 464;
    tmpl.height = 336;  // the caption and a margin below EXIT
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kControls;
    const INT_PTR result =
        DialogBoxIndirectParam(Screens().instance, tmpl, owner, DataLoggerSetupProc, 0);
    gDialog = nullptr;
    return result;
}

void RepaintDataLogSetup()
{
    if (gDialog != nullptr) Repaint(gDialog);
}
