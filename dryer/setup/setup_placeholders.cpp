// Set-up dialogs still to come: each opens its titled dialog with CANCEL, so that the screens
// that lead to it already work end to end.
#include "dryer/screens/entry_dialogs.h"
#include "dryer/setup/drying_mode.h"
#include "dryer/setup/temperature_keypad.h"
#include "dryer/setup/timer_keypad.h"

// ---- timer keypad ---------------------------------------------------------------------------

INT_PTR OpenTimerKeypad(HWND owner, const TimerSetting&)
{
    return OpenPlaceholder(owner, kTimerKeypadTitle);
}

// ---- drying mode dialogs --------------------------------------------------------------------

INT_PTR OpenDryingModeSelection(HWND owner)
{
    return OpenPlaceholder(owner, kDryingModeSelectionTitle);
}

INT_PTR OpenContinuousFlowSetup(HWND owner)
{
    return OpenPlaceholder(owner, kContinuousFlowSetupTitle);
}

INT_PTR OpenStagedBatchSetup(HWND owner)
{
    return OpenPlaceholder(owner, kStagedBatchSetupTitle);
}
