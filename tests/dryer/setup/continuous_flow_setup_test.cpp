// "CONTINUOUS FLOW SETUP - 08": the schemes and their option groups, a scheme the screen does
// not offer, the scheme buttons, the safety button, the upper sensor and auto-centering
// toggles, the dialogs it opens, and what ACCEPT sends.
#include <gtest/gtest.h>

#include "dryer/setup/drying_mode.h"
#include "dryer/setup/drying_mode_controls.h"
#include "dryer/setup/temperature_keypad.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/setup/drying_mode_support.h"

namespace {

using namespace drying_test;

using ContinuousFlowSetup = DryingModeTest;

INT_PTR OpenFlow()
{
    return OpenContinuousFlowSetup(nullptr);
}

struct SchemeView {
    int scheme;
    bool temperature, twoSpeed, tempFiveSpeed, variable, moistureFiveSpeed;
};

class FlowSchemes : public DryingModeTest, public ::testing::WithParamInterface<SchemeView> {};

TEST_P(FlowSchemes, ShowTheirButtonsAndEnableTheirOptions)
{
    const SchemeView v = GetParam();
    Report(moistureControlMode, v.scheme);
    RunDialog(OpenFlow, kContinuousFlowSetupTitle, [&] {
        EXPECT_EQ(Checked(kFlowTemperatureIndicator), v.temperature);
        EXPECT_EQ(Checked(kFlowMoistureIndicator), !v.temperature);
        EXPECT_EQ(Checked(kFlowTempTwoSpeedIndicator), v.twoSpeed);
        EXPECT_EQ(Checked(kFlowTempFiveSpeedIndicator), v.tempFiveSpeed);
        EXPECT_EQ(Checked(kFlowVariableIndicator), v.variable);
        EXPECT_EQ(Checked(kFlowMoistureFiveSpeedIndicator), v.moistureFiveSpeed);
        for (int id : {kFlowTempGroup, kFlowTempTwoSpeedButton, kFlowTempFiveSpeedButton}) {
            EXPECT_EQ(Enabled(id), v.temperature) << id;
        }
        for (int id : {kFlowMoistureGroup, kFlowVariableButton, kFlowMoistureFiveSpeedButton}) {
            EXPECT_EQ(Enabled(id), !v.temperature) << id;
        }
        const bool fiveSpeed = v.tempFiveSpeed || v.moistureFiveSpeed;
        for (int id : {kFlowFiveSpeedGroup, kFlowAutoCenteringButton, kFlowFiveSpeedSetupButton}) {
            EXPECT_EQ(Enabled(id), fiveSpeed) << id;
        }
        CancelDialog(kContinuousFlowSetupTitle);
    });
    EXPECT_TRUE(RaisedFlags().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, FlowSchemes,
    ::testing::Values(SchemeView{kSchemeTemp, true, true, false, false, false},
                      SchemeView{kSchemeTempFiveSpeed, true, false, true, false, false},
                      SchemeView{kSchemeVariable, false, false, false, true, false},
                      SchemeView{kSchemeFiveSpeed, false, false, false, false, true},
                      // the option flags of the byte do not change the scheme
                      SchemeView{moistureAutoBit.mask | kSchemeVariable, false, false, false, true,
                                 false}));

class UnofferedScheme : public DryingModeTest, public ::testing::WithParamInterface<int> {};

TEST_P(UnofferedScheme, BecomesTwoSpeedTemperatureAndIsSentAtOnce)
{
    // The byte's other bits stay as reported.
    Report(moistureControlMode, twoSpeedOffBit.mask | GetParam());
    RunDialog(OpenFlow, kContinuousFlowSetupTitle, [] {
        EXPECT_TRUE(Checked(kFlowTemperatureIndicator));
        EXPECT_TRUE(Checked(kFlowTempTwoSpeedIndicator));
        EXPECT_TRUE(PendingCommand.IsSet(Pending::moistureMode));  // before any button
        CancelDialog(kContinuousFlowSetupTitle);
    });
    EXPECT_EQ(Value(DesiredSettings, moistureControlMode), twoSpeedOffBit.mask | kSchemeTemp);
    EXPECT_EQ(RaisedFlags(), (std::set<Pending>{Pending::moistureMode}));
}

INSTANTIATE_TEST_SUITE_P(Schemes, UnofferedScheme,
                         ::testing::Values(0, kSchemeThreeSpeed, kSchemeAveraging, 7));

struct SchemeButton {
    int from;
    int button;
    int to;
};

class FlowSchemeButtons : public DryingModeTest,
                          public ::testing::WithParamInterface<SchemeButton> {};

TEST_P(FlowSchemeButtons, SetTheSchemeAndSendItAtOnceOnlyWhenItChanges)
{
    const SchemeButton b = GetParam();
    Report(moistureControlMode, moistureAutoBit.mask | b.from);
    RunDialog(OpenFlow, kContinuousFlowSetupTitle, [&] {
        Press(b.button);
        EXPECT_EQ(PendingCommand.IsSet(Pending::moistureMode), b.from != b.to);
        CancelDialog(kContinuousFlowSetupTitle);
    });
    EXPECT_EQ(Value(DesiredSettings, moistureControlMode), moistureAutoBit.mask | b.to);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, FlowSchemeButtons,
    ::testing::Values(SchemeButton{kSchemeTemp, kFlowMoistureButton, kSchemeFiveSpeed},
                      SchemeButton{kSchemeVariable, kFlowTemperatureButton, kSchemeTemp},
                      // a scheme button lands on its default, also from the other speed
                      SchemeButton{kSchemeTempFiveSpeed, kFlowTemperatureButton, kSchemeTemp},
                      SchemeButton{kSchemeVariable, kFlowMoistureButton, kSchemeFiveSpeed},
                      SchemeButton{kSchemeTemp, kFlowTempFiveSpeedButton, kSchemeTempFiveSpeed},
                      SchemeButton{kSchemeTempFiveSpeed, kFlowTempTwoSpeedButton, kSchemeTemp},
                      SchemeButton{kSchemeFiveSpeed, kFlowVariableButton, kSchemeVariable},
                      SchemeButton{kSchemeVariable, kFlowMoistureFiveSpeedButton, kSchemeFiveSpeed},
                      // already so: nothing to send
                      SchemeButton{kSchemeTemp, kFlowTempTwoSpeedButton, kSchemeTemp},
                      SchemeButton{kSchemeTemp, kFlowTemperatureButton, kSchemeTemp},
                      SchemeButton{kSchemeFiveSpeed, kFlowMoistureButton, kSchemeFiveSpeed}));

TEST_F(ContinuousFlowSetup, SafetyButtonMovesBitsFourAndFiveTogether)
{
    // Only bit 5 set: one press clears both, a second sets both. SI units and the maximum
    // drying time bit are not this button's.
    Report(moistureControlMode, kSchemeTemp);
    Report(unitsAndOptions, siUnitsBit.mask | safetyEnabledBit.mask | maxDryTimeBit.mask);
    RunDialog(OpenFlow, kContinuousFlowSetupTitle, [] {
        EXPECT_EQ(TextOf(kFlowSafetyButton), L"DISABLE");
        EXPECT_TRUE(Enabled(kFlowMaxGrainTempButton));
        EXPECT_TRUE(Enabled(kFlowMaxGrainTempValue));
        Press(kFlowSafetyButton);
        EXPECT_EQ(Value(DesiredSettings, unitsAndOptions), siUnitsBit.mask | maxDryTimeBit.mask);
        EXPECT_EQ(TextOf(kFlowSafetyButton), L"ENABLE");
        EXPECT_FALSE(Enabled(kFlowMaxGrainTempButton));
        EXPECT_FALSE(Enabled(kFlowMaxGrainTempValue));
        Press(kFlowSafetyButton);
        EXPECT_EQ(Value(DesiredSettings, unitsAndOptions), siUnitsBit.mask | safetyEnabledBit.mask |
                                                               maxGrainTempBit.mask |
                                                               maxDryTimeBit.mask);
        EXPECT_EQ(TextOf(kFlowSafetyButton), L"DISABLE");
        EXPECT_TRUE(Enabled(kFlowMaxGrainTempButton));
        EXPECT_TRUE(RaisedFlags().empty());  // sent on ACCEPT
        Press(kFlowAcceptButton);
    });
    EXPECT_EQ(RaisedFlags(), (std::set<Pending>{Pending::unitsAndOptions}));
}

TEST_F(ContinuousFlowSetup, UpperSensorSelectTogglesItsBit)
{
    Report(moistureControlMode, kSchemeTemp);
    Report(optionByte224, temperatureHoldBit.mask);
    RunDialog(OpenFlow, kContinuousFlowSetupTitle, [] {
        EXPECT_TRUE(Checked(kFlowSensorEnabledIndicator));
        EXPECT_FALSE(Checked(kFlowSensorDisabledIndicator));
        Press(kFlowSensorSelectButton);
        EXPECT_FALSE(Checked(kFlowSensorEnabledIndicator));
        EXPECT_TRUE(Checked(kFlowSensorDisabledIndicator));
        EXPECT_EQ(Value(DesiredSettings, optionByte224),
                  temperatureHoldBit.mask | upperSensorDisabledBit.mask);
        Press(kFlowSensorSelectButton);
        EXPECT_TRUE(Checked(kFlowSensorEnabledIndicator));
        EXPECT_EQ(Value(DesiredSettings, optionByte224), temperatureHoldBit.mask);
        CancelDialog(kContinuousFlowSetupTitle);
    });
}

TEST_F(ContinuousFlowSetup, AutoCenteringTogglesItsBitOnFiveSpeedSchemes)
{
    Report(moistureControlMode, kSchemeFiveSpeed);
    Report(optionByte224, centerAdjustBit.mask | upperSensorDisabledBit.mask);
    RunDialog(OpenFlow, kContinuousFlowSetupTitle, [] {
        EXPECT_TRUE(Checked(kFlowAutoCenteringIndicator));
        Press(kFlowAutoCenteringButton);
        EXPECT_FALSE(Checked(kFlowAutoCenteringIndicator));
        EXPECT_EQ(Value(DesiredSettings, optionByte224), upperSensorDisabledBit.mask);
        Press(kFlowAutoCenteringButton);
        EXPECT_TRUE(Checked(kFlowAutoCenteringIndicator));
        Press(kFlowVariableButton);  // not a five speed scheme: the group is greyed
        EXPECT_FALSE(platform::PressControl(kFlowAutoCenteringButton));
        EXPECT_TRUE(Checked(kFlowAutoCenteringIndicator));
        CancelDialog(kContinuousFlowSetupTitle);
    });
}

TEST_F(ContinuousFlowSetup, MaxGrainTempShowsTheLimitAndOpensTheTemperatureKeypad)
{
    Report(moistureControlMode, kSchemeTemp);
    Report(unitsAndOptions, safetyEnabledBit.mask | maxGrainTempBit.mask);
    Report(batchWord277, 180);
    RunDialog(OpenFlow, kContinuousFlowSetupTitle, [] {
        EXPECT_EQ(TextOf(kFlowMaxGrainTempValue), L"180 F");
        Press(kFlowMaxGrainTempButton);
        CancelDialog(L"Modifying Temperature Setpoint - 22");
        EXPECT_TRUE(Window(kContinuousFlowSetupTitle).has_value());
        CancelDialog(kContinuousFlowSetupTitle);
    });
    EXPECT_TRUE(RaisedFlags().empty());
}

// The maximum grain temperature is typed on the temperature keypad within 100-200 F: the
// limits are stepped up to and across, and only an accepted value goes out.
TEST_F(ContinuousFlowSetup, MaxGrainTempIsTypedOnTheKeypadWithinItsLimits)
{
    Report(moistureControlMode, kSchemeTemp);
    Report(unitsAndOptions, safetyEnabledBit.mask | maxGrainTempBit.mask);
    Report(batchWord277, 180);
    const auto type = [](std::initializer_list<int> digits) {
        Press(kFlowMaxGrainTempButton);
        ASSERT_TRUE(WaitForTitle(kTemperatureKeypadTitle));
        for (int d : digits) Press(kKeypadDigit0 + d);
        Press(kKeypadAccept);
    };
    RunDialog(OpenFlow, kContinuousFlowSetupTitle, [&] {
        type({2, 0, 1});
        ASSERT_TRUE(WaitForMessageBox());
        EXPECT_EQ(MessageBoxShown()->title, kOutOfRangeCaption);
        ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
        ASSERT_TRUE(WaitForTitle(kTemperatureKeypadTitle, false));
        EXPECT_FALSE(PendingCommand.IsSet(batchWord277.pending));
        type({9, 9});
        ASSERT_TRUE(WaitForMessageBox());
        ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
        ASSERT_TRUE(WaitForTitle(kTemperatureKeypadTitle, false));
        EXPECT_FALSE(PendingCommand.IsSet(batchWord277.pending));
        type({2, 0, 0});
        ASSERT_TRUE(WaitForTitle(kTemperatureKeypadTitle, false));
        EXPECT_EQ(Value(DesiredSettings, batchWord277), 200);
        EXPECT_TRUE(PendingCommand.IsSet(batchWord277.pending));
        type({1, 0, 0});
        ASSERT_TRUE(WaitForTitle(kTemperatureKeypadTitle, false));
        EXPECT_EQ(Value(DesiredSettings, batchWord277), 100);
        Press(kFlowAcceptButton);
    });
    EXPECT_EQ(Value(DesiredSettings, batchWord277), 100);
    EXPECT_TRUE(PendingCommand.IsSet(batchWord277.pending));
}

TEST_F(ContinuousFlowSetup, FiveSpeedSetupOpensTheBracketedSetup)
{
    Report(moistureControlMode, kSchemeTempFiveSpeed);
    RunDialog(OpenFlow, kContinuousFlowSetupTitle, [] {
        Press(kFlowFiveSpeedSetupButton);
        CancelDialog(L"BRACKETED 5 SPEED MOISTURE CONTROL SETUP - 23");
        CancelDialog(kContinuousFlowSetupTitle);
    });
}

// ---- ACCEPT ----

struct FlowEdit {
    const char* name;
    std::vector<int> buttons;
    int highByte278;  // written to DesiredSettings 278 as a keypad would, or -1
    std::set<Pending> sent;
};

void PrintTo(const FlowEdit& e, std::ostream* os)
{
    *os << e.name;
}

class FlowAccept : public DryingModeTest, public ::testing::WithParamInterface<FlowEdit> {};

TEST_P(FlowAccept, SendsExactlyTheChangedFields)
{
    const FlowEdit& e = GetParam();
    Report(moistureControlMode, kSchemeFiveSpeed);
    Report(optionByte224, centerAdjustBit.mask);
    Report(unitsAndOptions, siUnitsBit.mask);
    Report(batchWord277, 150);
    const INT_PTR result = RunDialog(OpenFlow, kContinuousFlowSetupTitle, [&] {
        for (int button : e.buttons) Press(button);
        if (e.highByte278 >= 0)
            DesiredSettings.Set(batchWord277.offset + 1U, static_cast<std::uint8_t>(e.highByte278));
        Press(kFlowAcceptButton);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(Window(kContinuousFlowSetupTitle).has_value());
    EXPECT_EQ(RaisedFlags(), e.sent);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, FlowAccept,
    ::testing::Values(
        FlowEdit{"nothing", {}, -1, {}},
        FlowEdit{"sensor", {kFlowSensorSelectButton}, -1, {Pending::byte224}},
        FlowEdit{"sensor_twice", {kFlowSensorSelectButton, kFlowSensorSelectButton}, -1, {}},
        FlowEdit{"auto_centering", {kFlowAutoCenteringButton}, -1, {Pending::byte224}},
        FlowEdit{"safety", {kFlowSafetyButton}, -1, {Pending::unitsAndOptions}},
        FlowEdit{"scheme", {kFlowVariableButton}, -1, {Pending::moistureMode}},
        FlowEdit{"grain_limit_high_byte", {}, 1, {Pending::batchWord277}},
        FlowEdit{"all",
                 {kFlowSensorSelectButton, kFlowSafetyButton, kFlowTemperatureButton},
                 1,
                 {Pending::byte224, Pending::unitsAndOptions, Pending::moistureMode,
                  Pending::batchWord277}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ContinuousFlowSetup, ContinuousFlowLayoutIsTidy)
{
    Report(moistureControlMode, kSchemeTempFiveSpeed);
    Report(unitsAndOptions, safetyEnabledBit.mask | maxGrainTempBit.mask);
    Report(batchWord277, 200);
    platform::WindowInfo shown;
    RunDialog(OpenFlow, kContinuousFlowSetupTitle, [&] {
        shown = *Window(kContinuousFlowSetupTitle);
        Screenshot("continuous-flow-setup");
        CancelDialog(kContinuousFlowSetupTitle);
    });
    Layout layout;
    layout.groups = {kFlowTempGroup, kFlowMoistureGroup, kFlowFiveSpeedGroup, kFlowSafetyGroup,
                     kFlowSensorGroup};
    layout.indicators = {
        kFlowTemperatureIndicator,   kFlowMoistureIndicator,      kFlowTempTwoSpeedIndicator,
        kFlowTempFiveSpeedIndicator, kFlowVariableIndicator,      kFlowMoistureFiveSpeedIndicator,
        kFlowAutoCenteringIndicator, kFlowSensorEnabledIndicator, kFlowSensorDisabledIndicator};
    ExpectTidyLayout(shown, layout);
}

}  // namespace
