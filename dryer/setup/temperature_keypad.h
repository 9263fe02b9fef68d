// The temperature keypad "Modifying Temperature Setpoint - 22": every temperature setpoint of
// the display (plenum, grain, maximum grain temperature) is typed on it, in °F or °C.
#pragma once

#include "dryer/link/dryer_image.h"
#include "platform/win_types.h"
#include "platform/windowing/dialog.h"

inline constexpr const wchar_t* kTemperatureKeypadTitle = L"Modifying Temperature Setpoint - 22";
// Both keypads refuse a value outside its limits with this message.
inline constexpr const wchar_t* kOutOfRangeText = L"The value entered is out of range.";
inline constexpr const wchar_t* kOutOfRangeCaption = L"WARNING!";

// Control ids of the keypad: digit d is kKeypadDigit0 + d.
inline constexpr int kKeypadDigit0 = 1300;
inline constexpr int kKeypadDelete = 1310;
inline constexpr int kKeypadClear = 1311;
inline constexpr int kKeypadDefault = 1312;
inline constexpr int kKeypadAccept = IDOK;
inline constexpr int kKeypadCancel = IDCANCEL;

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

// The setpoints the keypad serves, with their limits and defaults in °F and screen numbers.
inline constexpr int kGrainScreenNumber = 5;
// The grain setpoint; a dryingType 3 dryer's is the upper word (kGrainSetpointUpper).
inline constexpr TemperatureSetpoint kGrainSetpoint{grainSetpointMain, 50, 160, 105,
                                                    kGrainScreenNumber};
inline constexpr TemperatureSetpoint kGrainSetpointUpper{grainSetpointUpper, 50, 180, 120,
                                                         kGrainScreenNumber};
inline constexpr TemperatureSetpoint kGrainSetpointLower{grainSetpointLower, 50, 180, 105,
                                                         kGrainScreenNumber};
// The plenum setpoint of burner 1-6 (screen numbers 5 to 10).
constexpr TemperatureSetpoint BurnerSetpoint(int burner)
{
    return TemperatureSetpoint{ForHeater(plenumSetpoint, burner), 50, 250, 180, 4 + burner};
}
// The dual-heat plenum setpoints.
inline constexpr TemperatureSetpoint kHiHeatSetpoint{hiHeatPlenumSetpoint, 50, 250, 180,
                                                     kKeepScreenNumber};
inline constexpr TemperatureSetpoint kLoHeatSetpoint{upperPlenumSetpoint, 50, 250, 180, 6};

// Copies the setpoint from the image into DesiredSettings, starts the entry from it and opens
// the keypad modally. An accepted value is written to DesiredSettings and the field's pending
// flag raised when it differs from what the board reports; a refused or cancelled one changes
// nothing. While an earlier change of the same setpoint is still on its way (its flag set),
// the value being sent is kept until a new one is accepted. Returns IDOK when a value was
// accepted, IDCANCEL otherwise (-1 when the dialog could not be made).
INT_PTR OpenTemperatureKeypad(HWND owner, const TemperatureSetpoint& setpoint);

// The °F value a Celsius entry stands for: whole degrees converted and rounded up so that the
// display's truncating conversion shows the same Celsius number again (1 °C is 35 °F).
constexpr int CelsiusEntryToFahrenheit(int celsius)
{
    const int f = celsius * 9 / 5 + 32;
    switch (celsius % 5) {
        case 0: return f;
        case 4: return f + 1;
        default: return f + 2;
    }
}
