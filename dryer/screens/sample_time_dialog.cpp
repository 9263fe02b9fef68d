// "Select Data Log Sample Time - 35": the short-term data log's sample time (1, 5, 10 or 15
// minutes, kept in the registry) and the clearing of the log's files.
#include <array>

#include "dryer/records/display_settings.h"
#include "dryer/records/short_term_log.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/status_chart.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"

namespace {

constexpr int kOneMinute = 2451;
constexpr int kFiveMinute = 2452;
constexpr int kTenMinute = 2453;
constexpr int kFifteenMinute = 2454;
constexpr int kAcceptExit = 2455;
constexpr int kClearTable = 2456;
constexpr int kFallbackMinutes = 5;
constexpr int kRaise = 20;  // pixels above the centre of the parent

struct MinuteBox {
    int id;
    int minutes;
};
constexpr std::array<MinuteBox, 4> kMinuteBoxes{{
    {kOneMinute, 1},
    {kFiveMinute, 5},
    {kTenMinute, 10},
    {kFifteenMinute, 15},
}};

constexpr std::array<DialogControl, 8> kControls{{
    {WC_BUTTON, L"SET SAMPLE TIME", 0, 10, 6, 170, 160, BS_GROUPBOX, 0},
    {WC_BUTTON, L"1 MINUTE", kOneMinute, 25, 30, 140, 28, BS_RADIOBUTTON, 0},
    {WC_BUTTON, L"5 MINUTE", kFiveMinute, 25, 62, 140, 28, BS_RADIOBUTTON, 0},
    {WC_BUTTON, L"10 MINUTE", kTenMinute, 25, 94, 140, 28, BS_RADIOBUTTON, 0},
    {WC_BUTTON, L"15 MINUTE", kFifteenMinute, 25, 126, 140, 28, BS_RADIOBUTTON, 0},
    {WC_BUTTON, L"ACCEPT / EXIT", kAcceptExit, 195, 14, 110, 70, BS_PUSHBUTTON, 0},
    {WC_BUTTON, L"OPTIONS", 0, 10, 172, 295, 62, BS_GROUPBOX, 0},
    {WC_BUTTON, L"CLEAR TABLE", kClearTable, 25, 194, 140, 32, BS_PUSHBUTTON, 0},
}};

bool IsSampleTime(int minutes)
{
    for (const MinuteBox& box : kMinuteBoxes) {
        if (box.minutes == minutes) return true;
    }
    return false;
}

void CheckOnly(HWND dlg, int id)
{
    for (const MinuteBox& box : kMinuteBoxes) {
        SendDlgItemMessage(dlg, box.id, BM_SETCHECK, box.id == id ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

// Checks the box of the current sample time; a stored time the dialog does not offer becomes
// 5 minutes, saved at once.
void ShowCurrentSampleTime(HWND dlg)
{
    BYTE& minutes = CurrentDisplaySettings().sampleTimeMinutes;
    if (!IsSampleTime(minutes)) {
        minutes = kFallbackMinutes;
        SaveDisplaySetting(kSampleTimeValue, minutes);
    }
    for (const MinuteBox& box : kMinuteBoxes) {
        if (box.minutes == minutes) CheckOnly(dlg, box.id);
    }
}

// Centred on its parent, then raised, but never above the top of the screen.
void PlaceDialog(HWND dlg)
{
    RECT r;
    if (GetWindowRect(dlg, &r) == FALSE) return;
    const int top = r.top - kRaise < 0 ? 0 : r.top - kRaise;
    MoveWindow(dlg, r.left, top, r.right - r.left, r.bottom - r.top, FALSE);
}

void OnMinuteBox(HWND dlg, const MinuteBox& box)
{
    CheckOnly(dlg, box.id);
    CurrentDisplaySettings().sampleTimeMinutes = static_cast<BYTE>(box.minutes);
}

void OnAcceptExit(HWND dlg)
{
    int minutes = kFallbackMinutes;
    for (const MinuteBox& box : kMinuteBoxes) {
        if (SendDlgItemMessage(dlg, box.id, BM_GETCHECK, 0, 0) == BST_CHECKED)
            minutes = box.minutes;
    }
    CurrentDisplaySettings().sampleTimeMinutes = static_cast<BYTE>(minutes);
    RestartShortTermInterval();
    SaveDisplaySetting(kSampleTimeValue, static_cast<BYTE>(minutes));
    EndDialog(dlg, IDOK);
}

void OnClearTable(HWND dlg)
{
    const int answer =
        MessageBox(dlg, L"Are you sure you want to clear table?",
                   L"DELETE SHORT TERM DATA-LOG FILES!", MB_YESNO | MB_ICONEXCLAMATION);
    if (answer == IDYES) {
        DeleteShortTermLogFiles();
        RepaintStatusChart();
    }
    EndDialog(dlg, answer == IDYES ? IDOK : IDCANCEL);
}

INT_PTR OnSampleTimeCommand(HWND dlg, int id)
{
    for (const MinuteBox& box : kMinuteBoxes) {
        if (box.id == id) {
            OnMinuteBox(dlg, box);
            return TRUE;
        }
    }
    switch (id) {
        case kAcceptExit: OnAcceptExit(dlg); return TRUE;
        case kClearTable: OnClearTable(dlg); return TRUE;
    }
    return FALSE;
}

INT_PTR SampleTimeProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG:
            PlaceDialog(dlg);
            ShowCurrentSampleTime(dlg);
            return TRUE;
        case WM_PAINT: ShowCurrentSampleTime(dlg); return FALSE;  // the default paints
        case WM_COMMAND: return OnSampleTimeCommand(dlg, LOWORD(wp));
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenSampleTimeDialog(HWND owner)
{
    DialogTemplate tmpl;
    tmpl.caption = kSampleTimeTitle;
    tmpl.width = 320;
    tmpl.height = 275;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kControls;
    const INT_PTR result =
        DialogBoxIndirectParam(Screens().instance, tmpl, owner, SampleTimeProc, 0);
    RefreshStatusChartSampleTime();
    return result;
}
