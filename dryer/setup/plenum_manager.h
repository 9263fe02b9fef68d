// "PLENUM TEMPERATURE MANAGER - 12": lets the dryer lower the plenum setpoints in steps while
// the unload rate sits at its maximum. On/off, the time between steps and the size of the steps
// share one byte (plenumManagerByte50). Opened from the set-up selection.
#pragma once

#include "platform/win_types.h"

inline constexpr const wchar_t* kPlenumManagerTitle = L"PLENUM TEMPERATURE MANAGER - 12";
inline constexpr const wchar_t* kPlenumManagerHelpCaption = L"Plenum Temperature Manager";

// Opens the screen modally over the owner; IDOK when accepted, IDCANCEL.
INT_PTR OpenPlenumManager(HWND owner);

// The texts of the two settings, by their three-bit value (0-7), padded as the dryer's
// manuals print them.
const wchar_t* PlenumStepTimeText(int value);
const wchar_t* PlenumStepSizeText(int value);

// ---- control ids ----
inline constexpr int kPlenumSelectOnOff = 1304;
inline constexpr int kPlenumOn = 1305;
inline constexpr int kPlenumOff = 1306;
inline constexpr int kPlenumTimeIncrease = 1307;
inline constexpr int kPlenumTimeDecrease = 1045;
inline constexpr int kPlenumTimeField = 1146;
inline constexpr int kPlenumSizeIncrease = 1308;
inline constexpr int kPlenumSizeDecrease = 1046;
inline constexpr int kPlenumSizeField = 1147;
inline constexpr int kPlenumAccept = 1008;
inline constexpr int kPlenumCancel = 1010;
inline constexpr int kPlenumHelp = 1011;
// The frames of the on/off choice and of the two settings.
inline constexpr int kPlenumOnOffFrame = 1310;
inline constexpr int kPlenumTimeFrame = 1311;
inline constexpr int kPlenumSizeFrame = 1312;
