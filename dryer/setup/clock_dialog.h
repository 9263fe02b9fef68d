// "Set Time / Date - 18": the service technician sets the panel's own clock (date, day of the
// week, 12-hour time). The dialog sets the panel clock only; the next 1-second tick sends the
// new time to the dryer in its clock record.
#pragma once

#include "platform/win_types.h"

inline constexpr const wchar_t* kClockDialogTitle = L"Set Time / Date - 18";
// Refusal of a date that does not exist (31 April, 29 February of a common year).
inline constexpr const wchar_t* kNoSuchDateText =
    L"There is no such date.\nPlease check MONTH, DATE and YEAR.";
inline constexpr const wchar_t* kNoSuchDateCaption = L" CLOCK NOT SET";

// The values the dialog steps, in the order of their columns.
enum class ClockEntry { month, day, year, weekday, hour, minute };
inline constexpr int kClockEntryCount = 6;

// Control ids: each value has its field, its UP and DOWN buttons and its label.
inline constexpr int kClockDateGroup = 1700;
inline constexpr int kClockTimeGroup = 1701;
inline constexpr int kClockAm = 1702;
inline constexpr int kClockPm = 1703;
inline constexpr int kClockAmPmField = 1704;
constexpr int ClockFieldId(ClockEntry e)
{
    return 1710 + 10 * static_cast<int>(e);
}
constexpr int ClockUpId(ClockEntry e)
{
    return ClockFieldId(e) + 1;
}
constexpr int ClockDownId(ClockEntry e)
{
    return ClockFieldId(e) + 2;
}
constexpr int ClockLabelId(ClockEntry e)
{
    return ClockFieldId(e) + 3;
}

// The hour on the dial: 0 is 12 AM, 1-11 AM, 12 is 12 PM, 13-23 are 1-11 PM.
struct TwelveHour {
    int hour = 12;  // 1-12
    bool pm = false;
    constexpr bool operator==(const TwelveHour&) const = default;
};
constexpr TwelveHour To12Hour(int hour24)
{
    return TwelveHour{hour24 % 12 == 0 ? 12 : hour24 % 12, hour24 >= 12};
}
// Back to 0-23: 12 AM is 0, 1-11 AM stay, 12 PM stays 12, 1-11 PM add 12.
constexpr int To24Hour(TwelveHour t)
{
    return t.hour % 12 + (t.pm ? 12 : 0);
}

// Opens the dialog on the panel's local time. ACCEPT / EXIT sets the panel clock (seconds as
// read on opening) and returns IDOK; a date that does not exist is refused with a message and
// the dialog stays open. CANCEL returns IDCANCEL and leaves the clock alone.
INT_PTR OpenClockDialog(HWND owner);
