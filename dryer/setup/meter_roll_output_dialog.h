// "Meter Rolls Output Voltage Setup - 27": the range of the meter roll drive's control output.
// While the technician steps a limit the dryer drives the meter rolls at it, so that the
// speed can be watched; leaving the dialog ends that.
#pragma once

#include "platform/win_types.h"

inline constexpr const wchar_t* kMeterRollOutputTitle = L"Meter Rolls Output Voltage Setup - 27";

// The two limits, raw 0-255, and the range each steps within.
inline constexpr int kMeterRollMaximumLowest = 165;
inline constexpr int kMeterRollMaximumHighest = 255;
inline constexpr int kMeterRollMinimumLowest = 0;
inline constexpr int kMeterRollMinimumHighest = 64;
inline constexpr int kMeterRollDefaultMaximum = 190;  // 74.51 %
inline constexpr int kMeterRollDefaultMinimum = 32;

// Control ids: each limit's group holds UP, DOWN, its percentage and voltage, a bar and a note.
enum class MeterLimit { minimum, maximum };
constexpr int MeterControlId(MeterLimit limit, int part)
{
    return 1500 + 10 * static_cast<int>(limit) + part;
}
inline constexpr int kMeterGroup = 0;  // parts
inline constexpr int kMeterUp = 1;
inline constexpr int kMeterDown = 2;
inline constexpr int kMeterPercent = 3;
inline constexpr int kMeterVolts = 4;
inline constexpr int kMeterBar = 5;
inline constexpr int kMeterNote = 6;
inline constexpr int kMeterRollDefault = 1530;

// The raw value as the fields show it: "%3.2f %%" and "~%3.1f V".
void FormatMeterRollPercent(int raw, wchar_t* out, int outChars);
void FormatMeterRollVolts(int raw, wchar_t* out, int outChars);

// Every UP, DOWN and DEFAULT sends the new limit at once; ACCEPT and CANCEL both end the
// adjustment (the limits already sent stay) and return IDOK or IDCANCEL.
INT_PTR OpenMeterRollOutput(HWND owner);
