// Set-up dialogs still to come: each opens its titled dialog with CANCEL, so that the screens
// that lead to it already work end to end.
#include "dryer/screens/entry_dialogs.h"
#include "dryer/setup/drying_mode.h"

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
