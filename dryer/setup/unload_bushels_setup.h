// " UNLOAD BUSHELS SETUP SCREEN - 17": the bushels-per-hour calibration factor (bphCalibration,
// 50-150 %) by which the dryer scales the bushels it counts, and the total bushel counter with
// its reset. Opened from the extended set-up selection.
#pragma once

#include "platform/win_types.h"

inline constexpr const wchar_t* kUnloadBushelsSetupTitle = L" UNLOAD BUSHELS SETUP SCREEN - 17";
inline constexpr const wchar_t* kBushelCounterCaption = L" TOTAL BUSHEL COUNTER";
inline constexpr const wchar_t* kZeroBushelsQuestion = L"Do you wish to ZERO total bushels?";
inline constexpr const wchar_t* kBphCalibrationHelpCaption = L"BPH Calibration Help";

// The factor steps by one percent within these bounds.
inline constexpr int kBphCalibrationLowest = 50;
inline constexpr int kBphCalibrationHighest = 150;

// Opens the screen modally over the owner: IDOK when it left through ACCEPT (a changed factor
// is then on its way to the dryer), IDCANCEL when it was closed without it. A reset of the
// counter goes to the dryer as soon as it is confirmed, whichever way the screen is left.
INT_PTR OpenUnloadBushelsSetup(HWND owner);

// ---- control ids ----
inline constexpr int kBushelsFactorFrame = 1940;
inline constexpr int kBushelsFactor = 1941;  // "  %d %%"
inline constexpr int kBushelsFactorUp = 1942;
inline constexpr int kBushelsFactorDown = 1943;
inline constexpr int kBushelsTotalFrame = 1944;
inline constexpr int kBushelsTotal = 1945;  // " %d"
inline constexpr int kBushelsClear = 1946;
inline constexpr int kBushelsHelp = 1947;
// ACCEPT is IDOK.
