// The moisture setpoint " MOISTURE SETPOINT - 26" and its number keypad "MODIFY M/C SETPOINT":
// the screen shows the dryer's target moisture; MODIFY opens the keypad at the top left of the
// screen, which types the new setpoint into the screen's own value field.
#pragma once

#include "platform/win_types.h"
#include "platform/windowing/dialog.h"

inline constexpr const wchar_t* kMoistureSetpointKeypadTitle = L"MODIFY M/C SETPOINT";

// Control ids of the screen (its EXIT is IDCANCEL).
inline constexpr int kMoistureSetpointValue = 1800;
inline constexpr int kMoistureSetpointLabel = 1801;
inline constexpr int kMoistureSetpointModify = 1802;
inline constexpr int kMoistureSetpointExit = IDCANCEL;
// Control ids of the keypad: digit d is kMoistureKeyDigit0 + d.
inline constexpr int kMoistureKeyDigit0 = 1810;
inline constexpr int kMoistureKeyDelete = 1820;
inline constexpr int kMoistureKeyAccept = 1821;

// The keypad takes at most three digits (99.9 %): the setpoint is a 16-bit word on the dryer,
// and a longer entry would reach it with its high digits cut off.
inline constexpr int kMoistureSetpointMostDigits = 3;

// Opens the screen on the dryer's setpoint. A setpoint accepted on the keypad goes to
// DesiredSettings and is sent when it differs from what the dryer reports; a keypad left
// without ACCEPT sends nothing. Returns IDCANCEL when the screen is left (-1 when it could not
// be made).
INT_PTR OpenMoistureSetpointScreen(HWND owner);

// The keypad on its own, typing into `valueField` (a window whose text shows the number).
// Returns IDOK with the number stored in DesiredSettings, or IDCANCEL.
INT_PTR OpenMoistureSetpointKeypad(HWND owner, HWND valueField);
