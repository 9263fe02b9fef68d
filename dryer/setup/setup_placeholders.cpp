// Set-up dialogs still to come: each opens its titled dialog with CANCEL, so that the screens
// that lead to it already work end to end.
#include "dryer/screens/entry_dialogs.h"
#include "dryer/setup/temperature_keypad.h"
#include "dryer/setup/timer_keypad.h"

// ---- temperature keypad ---------------------------------------------------------------------

INT_PTR OpenTemperatureKeypad(HWND owner, const TemperatureSetpoint&)
{
    return OpenPlaceholder(owner, kTemperatureKeypadTitle);
}

// ---- timer keypad ---------------------------------------------------------------------------

INT_PTR OpenTimerKeypad(HWND owner, const TimerSetting&)
{
    return OpenPlaceholder(owner, kTimerKeypadTitle);
}
