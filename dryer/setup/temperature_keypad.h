// The temperature keypad "Modifying Temperature Setpoint - 22": every temperature setpoint of
// the display (plenum, grain, maximum grain temperature) is typed on it, in °F or °C.
#pragma once

#include "dryer/link/dryer_image.h"
#include "platform/win_types.h"

inline constexpr const wchar_t* kTemperatureKeypadTitle = L"Modifying Temperature Setpoint - 22";

// A setpoint the keypad edits: its whole-°F word, limits and default in °F, and the screen
// number shown while the keypad is open (kKeepScreenNumber leaves the current one).
inline constexpr int kKeepScreenNumber = -1;
struct TemperatureSetpoint {
    ImageField target;
    int minimum;
    int maximum;
    int defaultValue;
    int screenNumber = kKeepScreenNumber;
};

// Copies the setpoint from the image into DesiredSettings, starts the entry from it and opens
// the keypad modally. An accepted value is written to DesiredSettings and the field's pending
// flag raised; a refused or cancelled one changes nothing. Returns the dialog's result.
INT_PTR OpenTemperatureKeypad(HWND owner, const TemperatureSetpoint& setpoint);
