// "BRACKETED 5 SPEED MOISTURE CONTROL SETUP - 23": the limits around the moisture or grain
// temperature setpoint of the five speed schemes and the metering speed steps the dryer takes
// beyond them. Opened from the continuous-flow set-up's 5 SPEED SETUP button.
#pragma once

#include "platform/win_types.h"

inline constexpr const wchar_t* kFiveSpeedSetupTitle =
    L"BRACKETED 5 SPEED MOISTURE CONTROL SETUP - 23";

// ---- control ids ----
// Left column: the limits around the setpoint, top to bottom.
inline constexpr int kBracketPositiveOuterLimit = 1151;
inline constexpr int kBracketPositiveInnerLimit = 1152;
inline constexpr int kBracketSetpoint = 1153;
inline constexpr int kBracketNegativeInnerLimit = 1154;
inline constexpr int kBracketNegativeOuterLimit = 1155;
inline constexpr int kBracketLimitInc = 1242;
// The decrease buttons of both columns have ids of their own: the dialog's Cancel (2) and
// Abort (3) commands must not step a value.
inline constexpr int kBracketLimitDec = 1247;
// Right column "METERING SPEED": the speed offsets, same row order, and the resulting speeds.
inline constexpr int kBracketPositiveOuterOffset = 1150;
inline constexpr int kBracketPositiveInnerOffset = 1149;
inline constexpr int kBracketCenterSpeed = 1148;
inline constexpr int kBracketNegativeInnerOffset = 1147;
inline constexpr int kBracketNegativeOuterOffset = 1146;
inline constexpr int kBracketPositiveOuterSpeed = 1160;
inline constexpr int kBracketPositiveInnerSpeed = 1159;
inline constexpr int kBracketNegativeInnerSpeed = 1158;
inline constexpr int kBracketNegativeOuterSpeed = 1156;
inline constexpr int kBracketSpeedInc = 1243;
inline constexpr int kBracketSpeedDec = 1248;
// Frames, row labels and the bottom row.
inline constexpr int kBracketLimitGroup = 1161;     // "MOISTURE" or "TEMPERATURE"
inline constexpr int kBracketSpeedGroup = 1162;     // "METERING SPEED"
inline constexpr int kBracketFirstRowLabel = 1163;  // five labels, top to bottom
inline constexpr int kBracketSelect = 1244;
inline constexpr int kBracketAccept = 1245;
inline constexpr int kBracketDefaults = 1246;

// Opens the set-up modally, 20 pixels above the owner's centre; IDOK after ACCEPT / EXIT (the
// changed limits and offsets are then on their way), IDCANCEL when left with the Cancel command.
INT_PTR OpenFiveSpeedSetup(HWND owner);

// Which pair INC and DEC edit: the outer pair when the program starts; the choice stays
// between openings. For a fresh run in-process.
void ResetFiveSpeedSelection();
