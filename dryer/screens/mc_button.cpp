// The M/C button: by drying type, moisture-control scheme and dryer options it opens the
// moisture setpoint, the grain temperature entry or the temperature selection screen. Also
// the loop commands that open the metering screen and the defaults-switch screen.
#include "dryer/screens/mc_button.h"

#include <cstdint>

#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/setup/temperature_keypad.h"
#include "platform/windowing/dialog.h"

namespace {

int DryingType()
{
    return Value(DryerImage, dryingType);
}
int MoistureScheme()
{
    return BitsValue(DryerImage, moistureSchemeBits);
}
bool LearningPeriodActive()
{
    return Value(DryerImage, mcAutoModeMinutes) > 0 && IsSet(DryerImage, learningPeriodBit);
}

void EnterGrainSetpoint(const TemperatureSetpoint& sp)
{
    OpenTemperatureKeypad(Screens().main, sp);
}

void OpenMoistureSetpointScreen()
{
    OpenMoistureSetpoint(Screens().lineGraph);
}

// True when the operator may go on: no learning period, or Yes to the warning.
bool ConfirmDespiteLearningPeriod()
{
    if (!LearningPeriodActive()) return true;
    return MessageBox(Screens().main, kLearningQuestion, kLearningCaption,
                      MB_YESNOCANCEL | MB_ICONEXCLAMATION) == IDYES;
}

void BatchShortcut()
{
    if (IsSet(DryerImage, criterionMoistureBit) && IsSet(DryerImage, moistureAutoBit)) {
        OpenMoistureSetpointScreen();
    } else if (IsSet(DryerImage, dualHeatBit)) {
        HideEverything(Screens().tempSelect);
    } else {
        EnterGrainSetpoint(kGrainSetpoint);
    }
}

}  // namespace

void OnMcButton()
{
    if ((MeteringByDisplay.load() != 0)) {
        if (MessageBox(Screens().main, kMeteringQuestion, kMeteringCaption,
                       MB_YESNOCANCEL | MB_ICONQUESTION) == IDYES) {
            OpenMeterRollSpeed(Screens().main);
        }
    }
    if ((MoistureControlUnavailable.load() != 0)) return;

    const int d = DryingType();
    const int m = MoistureScheme();
    const bool averaging = AllSet(DryerImage, averagingSchemeBits);
    const bool timeOrTemp =
        IsSet(DryerImage, criterionTimeBit) || IsSet(DryerImage, criterionTempBit);
    if (d == kBatchDrying && (averaging || timeOrTemp)) {
        BatchShortcut();
    } else if (m == kSchemeTemp) {
        if (d == 3) {
            EnterGrainSetpoint(kGrainSetpointLower);
            EnterGrainSetpoint(kGrainSetpointUpper);
        } else {
            EnterGrainSetpoint(kGrainSetpoint);
        }
    } else if (m == kSchemeVariable) {
        if (ConfirmDespiteLearningPeriod()) OpenMoistureSetpointScreen();
    } else if (m == kSchemeFiveSpeed) {
        OpenMoistureSetpointScreen();
    } else if (m == kSchemeTempFiveSpeed) {
        EnterGrainSetpoint(kGrainSetpoint);
    }
}

void OnOpenMeteringCommand()
{
    MeteringScreenShowing.store(1);
    if (MoistureScheme() == kSchemeVariable && !ConfirmDespiteLearningPeriod()) {
        MeteringScreenShowing.store(0);  // nothing opened, so nothing will clear it
        return;
    }
    OpenMeterRollSpeed(Screens().main);
}

void OpenDefaultsSwitchScreen()
{
    OpenDefaultsSwitchDialog(Screens().lineGraph);
}
