// The M/C button: by drying type, moisture-control scheme and dryer options it opens the
// moisture setpoint, the grain temperature entry or the temperature selection screen. Also
// the loop commands that open the metering screen and the defaults-switch screen.
#include "dryer/screens/mc_button.h"

#include <cstdint>

#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/screens/screen_manager.h"
#include "platform/windowing/dialog.h"

namespace {

// The grain setpoints the temperature entry edits, with their limits (degrees Fahrenheit).
struct GrainSetpoint {
    ImageField field;
    int minimum;
    int maximum;
    int defaultValue;
};
constexpr GrainSetpoint kGrainSetpoint1{grainSetpointMain, 50, 160, 105};
constexpr GrainSetpoint kGrainSetpoint2{grainSetpointUpper, 50, 180, 120};
constexpr GrainSetpoint kGrainSetpoint3{grainSetpointLower, 50, 180, 105};

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

void EnterGrainSetpoint(const GrainSetpoint& sp)
{
    TemperatureEntry& e = SharedTemperatureEntry();
    e.minimum = sp.minimum;
    e.maximum = sp.maximum;
    e.defaultValue = sp.defaultValue;
    // The entry starts from the dryer's value.
    e.value = Value(DryerImage, sp.field);
    e.target = sp.field;
    OpenTemperatureEntry(Screens().main);
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
        EnterGrainSetpoint(kGrainSetpoint1);
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
            EnterGrainSetpoint(kGrainSetpoint3);
            EnterGrainSetpoint(kGrainSetpoint2);
        } else {
            EnterGrainSetpoint(kGrainSetpoint1);
        }
    } else if (m == kSchemeVariable) {
        if (ConfirmDespiteLearningPeriod()) OpenMoistureSetpointScreen();
    } else if (m == kSchemeFiveSpeed) {
        OpenMoistureSetpointScreen();
    } else if (m == kSchemeTempFiveSpeed) {
        EnterGrainSetpoint(kGrainSetpoint1);
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
