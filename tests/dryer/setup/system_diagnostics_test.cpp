// "System Diagnostics - 14" on a running panel: airswitch testing turned off and on for the
// Fan/Heaters present on one- to six-heater dryers (and never for the others), the questions
// and what cancelling them leaves, the power-cycle refusal, testing coming back on by itself
// after a power cycle, the choice of who sets the metering speed, and the metering rolls sensor.
#include <gtest/gtest.h>

#include <string>

#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "dryer/setup/meter_roll_output_dialog.h"
#include "dryer/setup/moisture_sensor_calibration.h"
#include "dryer/setup/system_diagnostics.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/setup/diagnostics_support.h"

namespace {

using namespace diagnostics_test;
using panel_test::PanelRun;

constexpr const wchar_t* kAirswitchCaption = L" AIRSWITCH TESTING - DIAGNOSTIC PURPOSES ONLY!";

struct HeaterCase {
    int code;     // heaterCountCode
    int present;  // Fan/Heaters 1..present take part
};

void PrintTo(const HeaterCase& c, std::ostream* os)
{
    *os << "code " << c.code << ", " << c.present << " present";
}

bool DiagnosticsOpen()
{
    return Window(kSystemDiagnosticsTitle).has_value();
}

bool OpenDiagnostics(PanelRun& panel)
{
    OpenOnPanel(panel, OpenSystemDiagnostics);
    return DiagnosticsOpen();
}

bool TestOffDesired(int heater)
{
    return IsSet(DesiredSettings, ForHeater(airswitchTestOffBit, heater));
}

bool HeaterFlag(int heater)
{
    return PendingCommand.IsSet(ForHeater(heaterControlBits, heater).pending);
}

void ClearFlags()
{
    PendingCommand.ClearAll();
}

// Presses the airswitch button and answers the two questions of turning testing off.
bool DisableTesting()
{
    if (!platform::PressControl(kDiagAirswitchButton)) return false;
    if (MessageText() != L"Do you wish to DISABLE airswitch testing?") return false;
    if (MessageCaption() != kAirswitchCaption) return false;
    if (!platform::AnswerMessageBox(L"Yes")) return false;
    if (MessageText() != L"Pressing YES will DISABLE all airswitch testing!  Proceed?")
        return false;
    if (MessageCaption() != L" AIRSWITCH TESTING DISABLE CONFIRMATION") return false;
    return platform::AnswerMessageBox(L"Yes");
}

class AirswitchByHeaters : public ::testing::TestWithParam<HeaterCase> {};

TEST_P(AirswitchByHeaters, DisableAndEnableTouchOnlyThePresentFanHeaters)
{
    const HeaterCase c = GetParam();
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel_test::SetOnBoard(panel.sim(), heaterCountCode, c.code);
    panel.Cycles(2);
    ASSERT_TRUE(OpenDiagnostics(panel));
    EXPECT_EQ(Text(kDiagAirswitchButton), L"DISABLE Testing");
    EXPECT_FALSE(Checked(kDiagAirswitchDisabledBox));

    ClearFlags();
    ASSERT_TRUE(DisableTesting());
    for (int heater = 1; heater <= kMaxHeaters; ++heater) {
        SCOPED_TRACE(heater);
        EXPECT_EQ(TestOffDesired(heater), heater <= c.present);
        EXPECT_EQ(HeaterFlag(heater), heater <= c.present);
    }

    // The dryer takes it: the screen shows testing off.
    panel.Cycles(3);
    EXPECT_EQ(Text(kDiagAirswitchButton), L"ENABLE Testing");
    EXPECT_TRUE(Checked(kDiagAirswitchDisabledBox));

    ClearFlags();
    ASSERT_TRUE(platform::PressControl(kDiagAirswitchButton));
    EXPECT_EQ(MessageText(), L"Do you wish to ENABLE airswitch testing?");
    EXPECT_EQ(MessageCaption(), kAirswitchCaption);
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    for (int heater = 1; heater <= kMaxHeaters; ++heater) {
        SCOPED_TRACE(heater);
        EXPECT_FALSE(TestOffDesired(heater));
        EXPECT_EQ(HeaterFlag(heater), heater <= c.present);
    }
    panel.Cycles(3);
    EXPECT_EQ(Text(kDiagAirswitchButton), L"DISABLE Testing");
    EXPECT_FALSE(Checked(kDiagAirswitchDisabledBox));
    ASSERT_TRUE(platform::PressControl(IDOK));
    EXPECT_FALSE(DiagnosticsOpen());
}

INSTANTIATE_TEST_SUITE_P(OneToSix, AirswitchByHeaters,
                         ::testing::Values(HeaterCase{0, 1}, HeaterCase{1, 2}, HeaterCase{2, 3},
                                           HeaterCase{3, 4}, HeaterCase{4, 6}));

TEST(SystemDiagnostics, PresentFanHeatersFollowTheCountCode)
{
    EXPECT_EQ(PresentHeaterCount(0), 1);
    EXPECT_EQ(PresentHeaterCount(3), 4);
    EXPECT_EQ(PresentHeaterCount(4), 6);
    EXPECT_EQ(PresentHeaterCount(5), 0);  // no such dryer: no Fan/Heater is touched
    EXPECT_EQ(PresentHeaterCount(255), 0);
}

TEST(SystemDiagnostics, AnythingButTwoYesAnswersLeavesTestingOn)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel_test::SetOnBoard(panel.sim(), heaterCountCode, 4);
    panel.Cycles(2);
    ASSERT_TRUE(OpenDiagnostics(panel));
    ClearFlags();
    const std::pair<const wchar_t*, const wchar_t*> answers[] = {
        {L"No", nullptr}, {L"Cancel", nullptr}, {L"Yes", L"No"}, {L"Yes", L"Cancel"}};
    for (const auto& [first, second] : answers) {
        ASSERT_TRUE(platform::PressControl(kDiagAirswitchButton));
        ASSERT_TRUE(platform::AnswerMessageBox(first));
        if (second != nullptr) {
            ASSERT_TRUE(platform::AnswerMessageBox(second));
        }
        EXPECT_TRUE(MessageText().empty());
        for (int heater = 1; heater <= kMaxHeaters; ++heater) {
            EXPECT_FALSE(TestOffDesired(heater));
            EXPECT_FALSE(HeaterFlag(heater));
        }
    }
    EXPECT_EQ(Text(kDiagAirswitchButton), L"DISABLE Testing");
    ASSERT_TRUE(platform::PressControl(IDOK));
}

TEST(SystemDiagnostics, TestingCannotBeTurnedOffBeforeThePowerIsRecycled)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel_test::SetOnBoard(panel.sim(), heaterCountCode, 4);
    panel.Pin(ignitionState.Element(5), 0x08);  // 148 bit 3
    ASSERT_TRUE(OpenDiagnostics(panel));
    ClearFlags();
    ASSERT_TRUE(platform::PressControl(kDiagAirswitchButton));
    EXPECT_EQ(MessageText(), L"You must recycle power to enable the Disable Airswitch option.");
    EXPECT_EQ(MessageCaption(), kAirswitchCaption);
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
    EXPECT_TRUE(MessageText().empty());  // no question follows
    for (int heater = 1; heater <= kMaxHeaters; ++heater) {
        EXPECT_FALSE(TestOffDesired(heater));
        EXPECT_FALSE(HeaterFlag(heater));
    }
}

TEST(SystemDiagnostics, OpeningAfterAPowerCycleTurnsTestingBackOn)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel_test::SetOnBoard(panel.sim(), heaterCountCode, 3);  // four Fan/Heaters
    for (int heater = 1; heater <= 4; ++heater) {
        panel_test::SetOnBoard(panel.sim(), ForHeater(heaterControlBits, heater), 0x04);
    }
    panel.Pin(ignitionState.Element(5), 0x08);  // powered up again; 118 bit 5 stays clear
    ClearFlags();
    ASSERT_TRUE(OpenDiagnostics(panel));
    EXPECT_EQ(Text(kDiagAirswitchButton), L"DISABLE Testing");
    EXPECT_FALSE(Checked(kDiagAirswitchDisabledBox));
    for (int heater = 1; heater <= kMaxHeaters; ++heater) {
        SCOPED_TRACE(heater);
        EXPECT_FALSE(TestOffDesired(heater));
        EXPECT_EQ(HeaterFlag(heater), heater <= 4);
    }
}

TEST(SystemDiagnostics, TestingStaysOffWhileTheDryerStillReportsItDisabled)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel_test::SetOnBoard(panel.sim(), ForHeater(heaterControlBits, 1), 0x04);
    panel.Pin(ignitionState.Element(5), 0x08);
    panel.Pin(heaterStatusBits.Element(5), 0x20);  // 118 bit 5
    ClearFlags();
    ASSERT_TRUE(OpenDiagnostics(panel));
    EXPECT_EQ(Text(kDiagAirswitchButton), L"ENABLE Testing");
    EXPECT_TRUE(Checked(kDiagAirswitchDisabledBox));
    EXPECT_TRUE(TestOffDesired(1));
    EXPECT_FALSE(HeaterFlag(1));
}

TEST(SystemDiagnostics, MeteringSpeedSourceSwitchesOnlyOnYes)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    MeteringByDisplay.store(0);
    ASSERT_TRUE(OpenDiagnostics(panel));
    ASSERT_TRUE(platform::PressControl(kDiagMeteringSourceButton));
    EXPECT_EQ(MessageCaption(), L" SET METERING SPEED VIA DISPLAY?");
    EXPECT_EQ(MessageText(),
              L"Do you wish to set metering speed using touch screen?  Selecting "
              L"\t\t\t\t\t\t\t\t\t\tyes will disable meterin roll speed adjust knob on panel.");
    ASSERT_TRUE(platform::AnswerMessageBox(L"No"));
    EXPECT_EQ(MeteringByDisplay.load(), 0);
    ASSERT_TRUE(platform::PressControl(kDiagMeteringSourceButton));
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    EXPECT_EQ(MeteringByDisplay.load(), 1);

    ASSERT_TRUE(platform::PressControl(kDiagMeteringSourceButton));
    EXPECT_EQ(MessageCaption(), L" SET METERING SPEED VIA KNOB (ENCODER)?");
    EXPECT_EQ(MessageText(),
              L"Do you wish to set metering speed using knob on "
              L"\t\t\t\t\t\t\t\t\t\tlocated on front panel?");
    ASSERT_TRUE(platform::AnswerMessageBox(L"Cancel"));
    EXPECT_EQ(MeteringByDisplay.load(), 1);
    ASSERT_TRUE(platform::PressControl(kDiagMeteringSourceButton));
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    EXPECT_EQ(MeteringByDisplay.load(), 0);
}

TEST(SystemDiagnostics, MeteringRollsSensorShutdownOffAndOn)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenDiagnostics(panel));
    ClearFlags();
    ASSERT_TRUE(platform::PressControl(kDiagMeteringSensorButton));
    EXPECT_EQ(MessageCaption(), L" DISABLE THE METERING ROLLS SENSOR?");
    EXPECT_EQ(MessageText(),
              L"Do you wish to DISABLE the unload metering sensor failure shutdown?"
              L"\t\t\t\t\t\t\t\tRPM / BPH measurements will always read as zero.");
    ASSERT_TRUE(platform::AnswerMessageBox(L"Cancel"));
    EXPECT_FALSE(IsSet(DesiredSettings, meterRollsDisabledBit));
    EXPECT_FALSE(PendingCommand.IsSet(optionByte49.pending));

    ASSERT_TRUE(platform::PressControl(kDiagMeteringSensorButton));
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    EXPECT_TRUE(IsSet(DesiredSettings, meterRollsDisabledBit));
    EXPECT_TRUE(PendingCommand.IsSet(optionByte49.pending));
    panel.Cycles(3);
    EXPECT_TRUE(IsSet(DryerImage, meterRollsDisabledBit));  // the dryer took it

    ClearFlags();
    ASSERT_TRUE(platform::PressControl(kDiagMeteringSensorButton));
    EXPECT_EQ(MessageCaption(), L" ENABLE METERING ROLLS SENSOR?");
    EXPECT_EQ(MessageText(), L"Do you wish to ENABLE the unload metering sensor?");
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    EXPECT_FALSE(IsSet(DesiredSettings, meterRollsDisabledBit));
    EXPECT_TRUE(PendingCommand.IsSet(optionByte49.pending));
}

TEST(SystemDiagnostics, HelpAndTheScreensItOpens)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenDiagnostics(panel));
    ASSERT_TRUE(platform::PressControl(kDiagHelpButton));
    EXPECT_EQ(MessageCaption(), L"EXIT - Exits this screen");
    EXPECT_EQ(MessageText().rfind(L"Each Button is described below", 0), 0u);
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));

    struct Door {
        int button;
        const wchar_t* title;
        int exit;
    };
    const Door doors[] = {{kDiagLightOutputsButton, kLightOutputsTitle, IDOK},
                          {kDiagSwitchWiringButton, kSwitchTestTitle, IDOK},
                          {kDiagMeterRollsButton, kMeterRollOutputTitle, IDCANCEL},
                          {kDiagCalibrationButton, kMoistureSensorCalibrationTitle, IDOK}};
    for (const auto& [button, title, exit] : doors) {
        SCOPED_TRACE(panel_test::Narrow(title));
        ASSERT_TRUE(platform::PressControl(button));
        ASSERT_TRUE(Window(title).has_value());
        ASSERT_TRUE(platform::PressControl(exit));
        EXPECT_FALSE(Window(title).has_value());
        EXPECT_TRUE(DiagnosticsOpen());
    }
    ASSERT_TRUE(platform::PressControl(IDOK));
    EXPECT_FALSE(DiagnosticsOpen());
}

}  // namespace
