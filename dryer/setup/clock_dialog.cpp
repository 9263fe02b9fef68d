// "Set Time / Date - 18": one global record holds the date and the 12-hour time being set;
// the dialog procedure steps it with the UP and DOWN buttons (held ones repeat), shows it in
// the fields and, on ACCEPT / EXIT, sets the panel's local time from it.
#include "dryer/setup/clock_dialog.h"

#include <array>
#include <string>

#include "dryer/screens/auto_repeat.h"
#include "dryer/screens/screen_manager.h"
#include "platform/controls/controls.h"
#include "platform/runtime/clock.h"
#include "platform/windowing/dialog.h"

namespace {

// Range of each value; UP past the top gives the bottom and DOWN past the bottom the top.
struct EntryRange {
    int minimum;
    int maximum;
};
constexpr std::array<EntryRange, kClockEntryCount> kRange{{
    {1, 12},       // month
    {1, 31},       // day of the month
    {2000, 2050},  // year
    {0, 6},        // day of the week, 0 Sunday
    {1, 12},       // hour on the 12-hour dial
    {0, 59},       // minute
}};

constexpr std::array<const wchar_t*, 12> kMonthText{
    L" JANUARY", L" FEBRUARY", L" MARCH",     L" APRIL",   L" MAY",      L" JUNE",
    L" JULY",    L" AUGUST",   L" SEPTEMBER", L" OCTOBER", L" NOVEMBER", L" DECEMBER"};
constexpr std::array<const wchar_t*, 7> kWeekdayText{
    L" SUNDAY", L" MONDAY", L" TUESDAY", L" WEDNESDAY", L" THURSDAY", L" FRIDAY", L" SATURDAY"};
constexpr std::array<const wchar_t*, kClockEntryCount> kLabelText{L"MONTH", L"DATE", L"YEAR",
                                                                  L"DAY",   L"HOUR", L"MINUTE"};

// The time being set; seconds and milliseconds stay as read on opening.
struct ClockDialogState {
    SYSTEMTIME opened{};
    std::array<int, kClockEntryCount> value{};
    bool pm = false;
};

ClockDialogState gClock;

int& ValueOf(ClockEntry e)
{
    return gClock.value[static_cast<std::size_t>(e)];
}

// ---- layout ----
// DATE: four columns (label, field, UP and DOWN); TIME below it: HOUR, MINUTE and the AM/PM
// column; ACCEPT / EXIT and CANCEL at the bottom right.
constexpr int kColumnX[4] = {22, 146, 270, 394};
constexpr int kColumnWidth = 116;
constexpr int kStepWidth = 56;
constexpr int kDateTop = 8;
constexpr int kTimeTop = 146;
constexpr int kGroupHeight = 130;
constexpr int kGroupWidth = 500;
constexpr int kButtonTop = 288;
constexpr int kControlCount = 2 + kClockEntryCount * 4 + 3 + 2;

constexpr int GroupTop(ClockEntry e)
{
    return e < ClockEntry::hour ? kDateTop : kTimeTop;
}

constexpr int ColumnOf(ClockEntry e)
{
    return static_cast<int>(e) % 4;
}

std::array<DialogControl, kControlCount> BuildControls()
{
    std::array<DialogControl, kControlCount> c{};
    int n = 0;
    c[n++] = {WC_BUTTON,   L"DATE",      kClockDateGroup, 10, kDateTop,
              kGroupWidth, kGroupHeight, BS_GROUPBOX,     0};
    c[n++] = {WC_BUTTON,   L"TIME",      kClockTimeGroup, 10, kTimeTop,
              kGroupWidth, kGroupHeight, BS_GROUPBOX,     0};
    for (int i = 0; i < kClockEntryCount; ++i) {
        const auto e = static_cast<ClockEntry>(i);
        const int x = kColumnX[ColumnOf(e)];
        const int y = GroupTop(e);
        c[n++] = {WC_STATIC,
                  kLabelText[static_cast<std::size_t>(i)],
                  ClockLabelId(e),
                  x,
                  y + 24,
                  kColumnWidth,
                  20,
                  SS_CENTER,
                  0};
        c[n++] = {WC_STATIC,    L"", ClockFieldId(e),       x, y + 46,
                  kColumnWidth, 28,  SS_CENTER | WS_BORDER, 0};
        c[n++] = {WC_BUTTON, L"UP", ClockUpId(e), x, y + 82, kStepWidth, 38, BS_PUSHBUTTON, 0};
        c[n++] = {WC_BUTTON,
                  L"DOWN",
                  ClockDownId(e),
                  x + kColumnWidth - kStepWidth,
                  y + 82,
                  kStepWidth,
                  38,
                  BS_PUSHBUTTON,
                  0};
    }
    const int x = kColumnX[2];
    c[n++] = {WC_STATIC,    L"", kClockAmPmField,       x, kTimeTop + 46,
              kColumnWidth, 28,  SS_CENTER | WS_BORDER, 0};
    c[n++] = {WC_BUTTON, L"AM", kClockAm, x, kTimeTop + 82, kStepWidth, 38, BS_PUSHBUTTON, 0};
    c[n++] = {WC_BUTTON,
              L"PM",
              kClockPm,
              x + kColumnWidth - kStepWidth,
              kTimeTop + 82,
              kStepWidth,
              38,
              BS_PUSHBUTTON,
              0};
    c[n++] = {WC_BUTTON, L"ACCEPT / EXIT", IDOK, 264, kButtonTop, 130, 42, BS_PUSHBUTTON, 0};
    c[n++] = {WC_BUTTON, L"CANCEL", IDCANCEL, 404, kButtonTop, 106, 42, BS_PUSHBUTTON, 0};
    return c;
}

// The UP and DOWN buttons repeat while held.
constexpr std::array<int, 2 * kClockEntryCount> kStepIds{
    ClockUpId(ClockEntry::month),   ClockDownId(ClockEntry::month),
    ClockUpId(ClockEntry::day),     ClockDownId(ClockEntry::day),
    ClockUpId(ClockEntry::year),    ClockDownId(ClockEntry::year),
    ClockUpId(ClockEntry::weekday), ClockDownId(ClockEntry::weekday),
    ClockUpId(ClockEntry::hour),    ClockDownId(ClockEntry::hour),
    ClockUpId(ClockEntry::minute),  ClockDownId(ClockEntry::minute)};

// ---- the time being set ----

std::wstring FieldText(ClockEntry e)
{
    const int v = ValueOf(e);
    switch (e) {
        case ClockEntry::month: return kMonthText[static_cast<std::size_t>(v - 1)];
        case ClockEntry::weekday: return kWeekdayText[static_cast<std::size_t>(v)];
        case ClockEntry::minute: return (v < 10 ? L"0" : L"") + std::to_wstring(v);
        default: return std::to_wstring(v);
    }
}

void ShowClock(HWND dlg)
{
    for (int i = 0; i < kClockEntryCount; ++i) {
        const auto e = static_cast<ClockEntry>(i);
        SetDlgItemText(dlg, ClockFieldId(e), FieldText(e).c_str());
    }
    SetDlgItemText(dlg, kClockAmPmField, gClock.pm ? L"PM" : L"AM");
}

// A value the panel clock cannot hold (a year before 2000) starts at the bottom of its range.
int InRange(ClockEntry e, int v)
{
    const EntryRange r = kRange[static_cast<std::size_t>(e)];
    return v < r.minimum || v > r.maximum ? r.minimum : v;
}

void OnOpen(HWND dlg)
{
    GetLocalTime(&gClock.opened);
    const SYSTEMTIME& t = gClock.opened;
    const TwelveHour dial = To12Hour(t.wHour);
    ValueOf(ClockEntry::month) = InRange(ClockEntry::month, t.wMonth);
    ValueOf(ClockEntry::day) = InRange(ClockEntry::day, t.wDay);
    ValueOf(ClockEntry::year) = InRange(ClockEntry::year, t.wYear);
    ValueOf(ClockEntry::weekday) = InRange(ClockEntry::weekday, t.wDayOfWeek);
    ValueOf(ClockEntry::hour) = dial.hour;
    ValueOf(ClockEntry::minute) = InRange(ClockEntry::minute, t.wMinute);
    gClock.pm = dial.pm;
    ShowClock(dlg);
    RegisterAutoRepeat(dlg, kStepIds);
}

void Step(HWND dlg, ClockEntry e, int by)
{
    const EntryRange r = kRange[static_cast<std::size_t>(e)];
    int& v = ValueOf(e);
    v += by;
    if (v > r.maximum) v = r.minimum;
    if (v < r.minimum) v = r.maximum;
    ShowClock(dlg);
}

void SetPm(HWND dlg, bool pm)
{
    gClock.pm = pm;
    ShowClock(dlg);
}

void Close(HWND dlg, INT_PTR result)
{
    UnregisterAutoRepeat(dlg);
    EndDialog(dlg, result);
}

// Sets the panel clock from the dialog. The day of the month steps through 1-31 whatever the
// month, so a date that does not exist is refused here rather than left to fail unseen: the
// dialog stays open for the technician to correct it.
void Accept(HWND dlg)
{
    SYSTEMTIME t = gClock.opened;  // seconds and milliseconds as read on opening
    t.wYear = static_cast<WORD>(ValueOf(ClockEntry::year));
    t.wMonth = static_cast<WORD>(ValueOf(ClockEntry::month));
    t.wDay = static_cast<WORD>(ValueOf(ClockEntry::day));
    t.wDayOfWeek = static_cast<WORD>(ValueOf(ClockEntry::weekday));
    t.wHour = static_cast<WORD>(To24Hour({ValueOf(ClockEntry::hour), gClock.pm}));
    t.wMinute = static_cast<WORD>(ValueOf(ClockEntry::minute));
    if (!SetLocalTime(&t)) {
        MessageBox(dlg, kNoSuchDateText, kNoSuchDateCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    Close(dlg, IDOK);
}

INT_PTR OnCommand(HWND dlg, int id)
{
    switch (id) {
        case IDOK: Accept(dlg); return TRUE;
        case IDCANCEL: Close(dlg, IDCANCEL); return TRUE;
        case kClockAm: SetPm(dlg, false); return TRUE;
        case kClockPm: SetPm(dlg, true); return TRUE;
    }
    for (int i = 0; i < kClockEntryCount; ++i) {
        const auto e = static_cast<ClockEntry>(i);
        if (id == ClockUpId(e)) {
            Step(dlg, e, 1);
            return TRUE;
        }
        if (id == ClockDownId(e)) {
            Step(dlg, e, -1);
            return TRUE;
        }
    }
    return FALSE;
}

INT_PTR ClockDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG: OnOpen(dlg); return TRUE;
        case WM_COMMAND: return OnCommand(dlg, LOWORD(wp));
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenClockDialog(HWND owner)
{
    static const std::array<DialogControl, kControlCount> kControls = BuildControls();
    DialogTemplate tmpl;
    tmpl.caption = kClockDialogTitle;
    tmpl.width = 527;
    tmpl.height = 370;
    tmpl.style = WS_POPUP | WS_CAPTION | DS_CENTER;
    tmpl.controls = kControls;
    return DialogBoxIndirectParam(Screens().instance, tmpl, owner, ClockDialogProc, 0);
}
