// "Unload Parameters - 11": the maximum and minimum unload rate in percent of the unload speed,
// with their equivalent in bushels per hour. Opened from the set-up selection.
#pragma once

#include "platform/win_types.h"

inline constexpr const wchar_t* kUnloadParametersTitle = L"Unload Parameters - 11";
inline constexpr const wchar_t* kUnloadRatesErrorCaption = L" ERROR SETTING MAX / MIN UNLOAD RATES";
inline constexpr const wchar_t* kUnloadRatesHelpCaption = L" Moisture Control / Extended Setup";

// The limits the rates go back to when the operator takes the defaults, percent.
inline constexpr int kDefaultMaximumUnloadRate = 80;
inline constexpr int kDefaultMinimumUnloadRate = 10;

// Opens the screen modally over the owner; IDOK when it sent (or kept) the limits, IDCANCEL.
INT_PTR OpenUnloadParameters(HWND owner);

// Forgets that the warning of a minimum not below the maximum was shown (a fresh run
// in-process: it is shown once per run of the program).
void ResetUnloadRatesWarning();

// ---- control ids ----
inline constexpr int kUnloadMaximumBph = 1146;
inline constexpr int kUnloadMaximumPercent = 1147;
inline constexpr int kUnloadMaximumIncrease = 1300;
inline constexpr int kUnloadMaximumDecrease = 1301;
inline constexpr int kUnloadMaximumFootnote = 1302;
inline constexpr int kUnloadMinimumBph = 1148;
inline constexpr int kUnloadMinimumPercent = 1149;
inline constexpr int kUnloadMinimumIncrease = 1045;
inline constexpr int kUnloadMinimumDecrease = 1046;
inline constexpr int kUnloadMinimumFootnote = 1303;
inline constexpr int kUnloadAccept = 1008;
inline constexpr int kUnloadHelp = 1009;
inline constexpr int kUnloadCancel = 1010;
// The frames of the two limits and the unit labels beside the fields.
inline constexpr int kUnloadMaximumFrame = 1310;
inline constexpr int kUnloadMinimumFrame = 1320;
constexpr int UnloadUnitLabelId(int field)
{
    return 1330 + (field - kUnloadMaximumBph);  // 1330-1333 beside fields 1146-1149
}
