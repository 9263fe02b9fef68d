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
    int offset;
    int minimum;
    int maximum;
    int defaultValue;
    Pending pending;
};
constexpr GrainSetpoint kGrainSetpoint1{grainSetpoint.offset, 50, 160, 105,
                                        Pending::grainSetpoint1};
constexpr GrainSetpoint kGrainSetpoint2{grainSetpoint.offset + 2, 50, 180, 120,
                                        Pending::grainSetpoint2};
constexpr GrainSetpoint kGrainSetpoint3{grainSetpoint.offset + 4, 50, 180, 105,
                                        Pending::grainSetpoint3};

int DryingType()
{
    return DryerImage.Get(dryingType.offset);
}
int MoistureScheme()
{
    return DryerImage.Get(moistureControlMode.offset) & 0x07;
}
bool LearningPeriodActive()
{
    return DryerImage.Get(mcAutoModeMinutes.offset) > 0 &&
           (DryerImage.Get(ioBits.offset + 2) & 0x04) != 0;
}

void EnterGrainSetpoint(const GrainSetpoint& sp)
{
    TemperatureEntry& e = SharedTemperatureEntry();
    e.minimum = sp.minimum;
    e.maximum = sp.maximum;
    e.defaultValue = sp.defaultValue;
    // The setpoint is a signed LE word; the entry starts from the dryer's value.
    e.value =
        static_cast<std::int16_t>(DryerImage.Get(sp.offset) | (DryerImage.Get(sp.offset + 1) << 8));
    e.targetOffset = sp.offset;
    e.pending = sp.pending;
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

void BatchShortcut(int options)
{
    if ((options & 0x40) != 0 && (DryerImage.Get(moistureControlMode.offset) & 0x80) != 0) {
        OpenMoistureSetpointScreen();
    } else if ((options & 0x02) != 0) {
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
    const int s = DryerImage.Get(dryerOptions.offset);
    const bool bracketed = (DryerImage.Get(moistureControlMode.offset) & 0x06) == 0x06;
    if (d == 1 && (bracketed || (s & 0x30) != 0)) {
        BatchShortcut(s);
    } else if (m == 1) {
        if (d == 3) {
            EnterGrainSetpoint(kGrainSetpoint3);
            EnterGrainSetpoint(kGrainSetpoint2);
        } else {
            EnterGrainSetpoint(kGrainSetpoint1);
        }
    } else if (m == 3) {
        if (ConfirmDespiteLearningPeriod()) OpenMoistureSetpointScreen();
    } else if (m == 4) {
        OpenMoistureSetpointScreen();
    } else if (m == 5) {
        EnterGrainSetpoint(kGrainSetpoint1);
    }
}

void OnOpenMeteringCommand()
{
    MeteringScreenShowing.store(1);
    if (MoistureScheme() == 3 && !ConfirmDespiteLearningPeriod()) {
        MeteringScreenShowing.store(0);  // nothing opened, so nothing will clear it
        return;
    }
    OpenMeterRollSpeed(Screens().main);
}

void OpenDefaultsSwitchScreen()
{
    OpenDefaultsSwitchDialog(Screens().lineGraph);
}
