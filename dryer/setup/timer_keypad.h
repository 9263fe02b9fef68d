// The minutes-and-seconds keypad "MODIFYING TIMER SETPOINT - 21": the delay timers, the batch
// timers and the maximum drying time are typed on it.
#pragma once

#include "dryer/link/dryer_image.h"
#include "dryer/setup/temperature_keypad.h"
#include "platform/win_types.h"

inline constexpr const wchar_t* kTimerKeypadTitle = L"MODIFYING TIMER SETPOINT - 21";

// Control ids of the keypad: the minutes pad on the left, the seconds pad on the right (digit d
// is the pad's first id plus d), DEFAULT in the middle, ACCEPT is IDOK and CANCEL IDCANCEL.
inline constexpr int kTimerMinutesDigit0 = 0x9140;
inline constexpr int kTimerMinutesDelete = 0x914A;
inline constexpr int kTimerSecondsDigit0 = 0x9150;
inline constexpr int kTimerSecondsDelete = 0x915A;
inline constexpr int kTimerDefault = 0x9160;

// A timer the keypad edits: its minutes-and-seconds pair, limits and default (checked on the
// total in seconds, inclusive), and the screen number shown while it is open.
struct TimerSetting {
    ImageField target;
    MinSec minimum;
    MinSec maximum;
    MinSec defaultValue;
    int screenNumber = kKeepScreenNumber;
};

// Starts the entry from the pair the dryer reports and opens the keypad modally. An accepted
// value (seconds 0-59, total within the limits) is written to DesiredSettings, and the field's
// pending flag raised when it differs from what the dryer reports; a refused or cancelled one
// leaves DesiredSettings and the flag as they were. Returns the dialog's result: IDOK for a
// stored value, IDCANCEL otherwise.
INT_PTR OpenTimerKeypad(HWND owner, const TimerSetting& timer);
