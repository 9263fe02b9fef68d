// Control ids of the set-up selection screen's buttons.
#pragma once

#include "platform/controls/controls.h"

// Buttons of " SELECT HARDWARE SETUP PARAMETER TO MODIFY - 03" (the burner mode and extended
// set-up buttons are kSetupBurnerModeButton and kSetupExtendedButton of screen_procs.h).
inline constexpr int kSetupDryingModeButton = 0x9006;
inline constexpr int kSetupDryingCriteriaButton = 0x9007;  // continuous flow or staged batch
inline constexpr int kSetupUnloadButton = 0x9008;
inline constexpr int kSetupPlenumManagerButton = 0x9009;
inline constexpr int kSetupCalibrationButton = 0x900A;
