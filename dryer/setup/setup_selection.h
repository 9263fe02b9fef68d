// Control ids of the set-up selection screen's buttons, and of the hardware set-up button of
// the extended set-up selection.
#pragma once

#include "platform/controls/controls.h"

// Buttons of " SELECT HARDWARE SETUP PARAMETER TO MODIFY - 03" (the burner mode and extended
// set-up buttons are kSetupBurnerModeButton and kSetupExtendedButton of screen_procs.h).
inline constexpr int kSetupDryingModeButton = 0x9006;
inline constexpr int kSetupDryingCriteriaButton = 0x9007;  // continuous flow or staged batch
inline constexpr int kSetupUnloadButton = 0x9008;
inline constexpr int kSetupPlenumManagerButton = 0x9009;
inline constexpr int kSetupCalibrationButton = 0x900A;
// The hardware set-up button of the extended set-up selection.
inline constexpr int kExtendedHardwareButton = 36982;

// The extended set-up selection's hardware set-up button (175 x 50 at 222, 230) with its faces,
// which the extended screen creates, draws and releases through these.
void CreateExtendedHardwareButton(HWND extendedSetup);
bool DrawExtendedHardwareButton(const DRAWITEMSTRUCT& item);
void ReleaseExtendedHardwareButton();
