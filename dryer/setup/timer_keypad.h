// The minutes-and-seconds keypad "MODIFYING TIMER SETPOINT - 21": the delay timers, the batch
// timers and the maximum drying time are typed on it.
#pragma once

#include "dryer/link/dryer_image.h"
#include "dryer/setup/temperature_keypad.h"
#include "platform/win_types.h"

inline constexpr const wchar_t* kTimerKeypadTitle = L"MODIFYING TIMER SETPOINT - 21";

// A timer the keypad edits: its minutes-and-seconds pair, limits and default (checked on the
// total in seconds, inclusive), and the screen number shown while it is open.
struct TimerSetting {
    ImageField target;
    MinSec minimum;
    MinSec maximum;
    MinSec defaultValue;
    int screenNumber = kKeepScreenNumber;
};

// Copies the pair from the image into DesiredSettings, starts the entry from it and opens the
// keypad modally. An accepted value is written to DesiredSettings and the field's pending flag
// raised; a refused or cancelled one changes nothing. Returns the dialog's result.
INT_PTR OpenTimerKeypad(HWND owner, const TimerSetting& timer);
