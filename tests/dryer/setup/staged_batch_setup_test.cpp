// "STAGED BATCH SETUP - 09": the criteria and their description, the safety limits and their
// bits, single and dual plenum, the heat of moisture drying, the keypads it opens, and what
// ACCEPT sends (nothing without a criterion).
#include <gtest/gtest.h>

#include "dryer/setup/drying_mode.h"
#include "dryer/setup/drying_mode_controls.h"
#include "dryer/setup/timer_keypad.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/setup/drying_mode_support.h"

namespace {

using namespace drying_test;

using StagedBatchSetup = DryingModeTest;

constexpr int kTime = criterionTimeBit.mask;
constexpr int kTemp = criterionTempBit.mask;
constexpr int kMoisture = criterionMoistureBit.mask;
constexpr int kSafety = safetyEnabledBit.mask;
constexpr int kMaxTime = maxDryTimeBit.mask;
constexpr int kMaxGrain = maxGrainTempBit.mask;

INT_PTR OpenBatch()
{
    return OpenStagedBatchSetup(nullptr);
}

// A batch dryer with one fan/heater, drying by the given criteria.
void BatchDryer(int criteria)
{
    Report(dryingType, kBatchDrying);
    Report(heaterCountCode, 0);
    Report(dryerOptions, criteria);
}

// ---- criteria ----

struct Described {
    int criteria;
    const wchar_t* text;
};

class BatchDescription : public DryingModeTest, public ::testing::WithParamInterface<Described> {};

TEST_P(BatchDescription, NamesWhatEndsTheDrying)
{
    const Described d = GetParam();
    BatchDryer(d.criteria);
    RunDialog(OpenBatch, kStagedBatchSetupTitle, [&] {
        EXPECT_EQ(TextOf(kBatchDescription), d.text);
        EXPECT_EQ(Checked(kBatchTimeIndicator), (d.criteria & kTime) != 0);
        EXPECT_EQ(Checked(kBatchTemperatureIndicator), (d.criteria & kTemp) != 0);
        EXPECT_EQ(Checked(kBatchMoistureIndicator), (d.criteria & kMoisture) != 0);
        const bool moisture = (d.criteria & kMoisture) != 0;
        for (int id : {kBatchTempGroup, kBatchSingleButton, kBatchDualButton}) {
            EXPECT_EQ(Enabled(id), !moisture) << id;
        }
        for (int id : {kBatchMoistureGroup, kBatchFullHeatButton, kBatchHalfButton}) {
            EXPECT_EQ(Enabled(id), moisture) << id;
        }
        CancelDialog(kStagedBatchSetupTitle);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Criteria, BatchDescription,
    ::testing::Values(
        Described{kTime | kTemp, L"Time and Temp must both be met for drying to be complete"},
        Described{kTemp, L"Temperature setpoint must be met for drying to be complete"},
        Described{kTime, L"Time must be met for drying to be complete"},
        Described{kMoisture, L"Batch Moisture Control"},
        Described{0, L"Please Select Drying Criteria!"}));

TEST_F(StagedBatchSetup, SetpointBitFollowsTemperatureOrMoisture)
{
    // Bit 7 of the moisture mode is set exactly while the batch dries to a setpoint.
    BatchDryer(kTemp);
    Report(moistureControlMode, batchSetpointCriterionBit.mask);
    RunDialog(OpenBatch, kStagedBatchSetupTitle, [] {
        Press(kBatchTimeButton);  // TIME joins TEMPERATURE: still a setpoint to reach
        EXPECT_TRUE(IsSet(DesiredSettings, batchSetpointCriterionBit));
        EXPECT_FALSE(PendingCommand.IsSet(Pending::moistureMode));  // nothing changed
        Press(kBatchTemperatureButton);                             // TIME alone
        EXPECT_FALSE(IsSet(DesiredSettings, batchSetpointCriterionBit));
        EXPECT_TRUE(PendingCommand.IsSet(Pending::moistureMode));  // sent at once
        Press(kBatchMoistureButton);
        EXPECT_TRUE(IsSet(DesiredSettings, batchSetpointCriterionBit));
        Press(kBatchTemperatureButton);
        EXPECT_TRUE(IsSet(DesiredSettings, batchSetpointCriterionBit));
        CancelDialog(kStagedBatchSetupTitle);
    });
}

TEST_F(StagedBatchSetup, CriterionKeepsTheSchemeWithinTheBatchValues)
{
    // A moisture mode left from continuous flow (scheme 1) becomes 6 with MOISTURE, 0 with TIME;
    // the option flags of bits 3 to 6 stay.
    BatchDryer(kTime);
    Report(moistureControlMode, 0x08 | kSchemeTemp);
    RunDialog(OpenBatch, kStagedBatchSetupTitle, [] {
        Press(kBatchMoistureButton);
        EXPECT_EQ(Value(DesiredSettings, moistureControlMode),
                  batchSetpointCriterionBit.mask | 0x08 | kSchemeBatchMoisture);
        Press(kBatchTimeButton);
        EXPECT_EQ(Value(DesiredSettings, moistureControlMode), 0x08 | kSchemeBatchTimeOrTemp);
        CancelDialog(kStagedBatchSetupTitle);
    });
}

TEST_F(StagedBatchSetup, MoistureForcesFullHeatAndSendsAtOnce)
{
    BatchDryer(kTime | kTemp | dualHeatBit.mask);
    Report(optionByte224, halfHeatBit.mask | centerAdjustBit.mask);
    Report(unitsAndOptions, kSafety);
    RunDialog(OpenBatch, kStagedBatchSetupTitle, [] {
        EXPECT_TRUE(Checked(kBatchHalfIndicator));
        Press(kBatchMoistureButton);
        EXPECT_TRUE(Checked(kBatchFullHeatIndicator));
        EXPECT_FALSE(Checked(kBatchHalfIndicator));
        EXPECT_EQ(Value(DesiredSettings, optionByte224), fullHeatBit.mask | centerAdjustBit.mask);
        EXPECT_EQ(Value(DesiredSettings, dryerOptions), kMoisture);  // dual plenum dropped too
        EXPECT_EQ(Value(DesiredSettings, moistureControlMode),
                  batchSetpointCriterionBit.mask | kSchemeBatchMoisture);
        EXPECT_EQ(RaisedFlags(), (std::set<Pending>{Pending::byte224, Pending::moistureMode}));
        // moisture drying keeps its maximum time in force; the grain limit follows safety
        EXPECT_EQ(Value(DesiredSettings, unitsAndOptions), kSafety | kMaxTime | kMaxGrain);
        EXPECT_TRUE(Enabled(kBatchFullHeatButton));
        EXPECT_FALSE(Enabled(kBatchDualButton));
        EXPECT_TRUE(Enabled(kBatchMaxGrainTempButton));
        EXPECT_FALSE(Enabled(kBatchMaxTimeButton));
        CancelDialog(kStagedBatchSetupTitle);
    });
}

struct Heat {
    int button;
    ImageBits bit;
    int indicator;
};

class HeatButtons : public DryingModeTest, public ::testing::WithParamInterface<Heat> {};

TEST_P(HeatButtons, SetOneHeatAndSendItAtOnceWhenItChanged)
{
    const Heat h = GetParam();
    BatchDryer(kMoisture);
    Report(optionByte224, upperSensorDisabledBit.mask | fullHeatBit.mask);
    RunDialog(OpenBatch, kStagedBatchSetupTitle, [&] {
        Press(h.button);
        EXPECT_TRUE(Checked(h.indicator));
        EXPECT_EQ(Value(DesiredSettings, optionByte224), upperSensorDisabledBit.mask | h.bit.mask);
        EXPECT_EQ(PendingCommand.IsSet(Pending::byte224), h.bit.mask != fullHeatBit.mask);
        CancelDialog(kStagedBatchSetupTitle);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, HeatButtons,
    ::testing::Values(Heat{kBatchFullHeatButton, fullHeatBit, kBatchFullHeatIndicator},
                      Heat{kBatchTwoThirdsButton, twoThirdsHeatBit, kBatchTwoThirdsIndicator},
                      Heat{kBatchHalfButton, halfHeatBit, kBatchHalfIndicator}));

// ---- plenums ----

TEST_F(StagedBatchSetup, DualPlenumIsRefusedOnATwoFanDryer)
{
    BatchDryer(kTime);
    Report(heaterCountCode, 1);
    RunDialog(OpenBatch, kStagedBatchSetupTitle, [] {
        Press(kBatchDualButton);
        ASSERT_TRUE(WaitForMessageBox());
        const auto box = MessageBoxShown();
        EXPECT_EQ(box->title, L"INVALID SELECTION");
        EXPECT_EQ(box->messageText,
                  L"Dual-Plenum Temperature Mode is only available on single fan/heater models.");
        EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"Retry", L"Cancel"}));
        ASSERT_TRUE(platform::AnswerMessageBox(L"Retry"));
        EXPECT_TRUE(Checked(kBatchSingleIndicator));
        EXPECT_FALSE(Checked(kBatchDualIndicator));
        Press(kBatchAcceptButton);
    });
    EXPECT_FALSE(IsSet(DesiredSettings, dualHeatBit));
    EXPECT_TRUE(RaisedFlags().empty());
}

TEST_F(StagedBatchSetup, DualPlenumOnASingleFanDryer)
{
    BatchDryer(kTime);
    RunDialog(OpenBatch, kStagedBatchSetupTitle, [] {
        EXPECT_TRUE(Checked(kBatchSingleIndicator));
        Press(kBatchDualButton);
        EXPECT_FALSE(MessageBoxShown().has_value());
        EXPECT_TRUE(Checked(kBatchDualIndicator));
        EXPECT_FALSE(Checked(kBatchSingleIndicator));
        Press(kBatchSingleButton);
        EXPECT_TRUE(Checked(kBatchSingleIndicator));
        Press(kBatchDualButton);
        Press(kBatchAcceptButton);
    });
    EXPECT_EQ(Value(DesiredSettings, dryerOptions), kTime | dualHeatBit.mask);
    EXPECT_EQ(RaisedFlags(), (std::set<Pending>{Pending::optionByte257}));
}

TEST_F(StagedBatchSetup, ReportedDualPlenumIsDroppedWhereItCannotRun)
{
    // On a two-fan dryer, and with loading in the first half of the batch (whose bit stays as
    // reported).
    struct Case {
        int heaterCode;
        int options;
    };
    for (const Case c : {Case{1, kTime | dualHeatBit.mask},
                         Case{0, kTemp | dualHeatBit.mask | firstHalfLoadBit.mask}}) {
        PendingCommand.ClearAll();
        BatchDryer(c.options);
        Report(heaterCountCode, c.heaterCode);
        RunDialog(OpenBatch, kStagedBatchSetupTitle, [] {
            EXPECT_TRUE(Checked(kBatchSingleIndicator));
            EXPECT_FALSE(Checked(kBatchDualIndicator));
            Press(kBatchAcceptButton);
        });
        EXPECT_EQ(Value(DesiredSettings, dryerOptions), c.options & ~dualHeatBit.mask);
        EXPECT_EQ(RaisedFlags(), (std::set<Pending>{Pending::optionByte257}));
    }
}

// ---- safety limits ----

struct Limits {
    int criteria;
    bool safety;
    bool maxTime, maxGrainTemp;
};

class SafetyLimits : public DryingModeTest, public ::testing::WithParamInterface<Limits> {};

TEST_P(SafetyLimits, EnableTheLimitsOfTheCriteria)
{
    const Limits l = GetParam();
    BatchDryer(l.criteria);
    Report(unitsAndOptions, l.safety ? kSafety : 0);
    RunDialog(OpenBatch, kStagedBatchSetupTitle, [&] {
        EXPECT_EQ(TextOf(kBatchSafetyButton), l.safety ? L"DISABLE" : L"ENABLE");
        EXPECT_EQ(Enabled(kBatchMaxTimeButton), l.maxTime);
        EXPECT_EQ(Enabled(kBatchMaxTimeValue), l.maxTime);
        EXPECT_EQ(Enabled(kBatchMaxGrainTempButton), l.maxGrainTemp);
        EXPECT_EQ(Enabled(kBatchMaxGrainTempValue), l.maxGrainTemp);
        CancelDialog(kStagedBatchSetupTitle);
    });
}

INSTANTIATE_TEST_SUITE_P(Criteria, SafetyLimits,
                         ::testing::Values(Limits{kTime, true, false, true},
                                           Limits{kTemp, true, true, false},
                                           Limits{kTime | kTemp, true, true, true},
                                           Limits{kMoisture, true, false, true},
                                           Limits{kTime | kTemp, false, false, false},
                                           Limits{kMoisture, false, false, false}));

TEST_F(StagedBatchSetup, SafetyButtonDisablesAndEnablesTheLimitsOfTheCriteria)
{
    BatchDryer(kTemp);
    Report(unitsAndOptions, siUnitsBit.mask | kSafety | kMaxTime | kMaxGrain);
    RunDialog(OpenBatch, kStagedBatchSetupTitle, [] {
        Press(kBatchSafetyButton);
        // disabled: the in-force bits wait for the next enabling
        EXPECT_EQ(Value(DesiredSettings, unitsAndOptions), siUnitsBit.mask | kMaxTime | kMaxGrain);
        EXPECT_EQ(TextOf(kBatchSafetyButton), L"ENABLE");
        EXPECT_FALSE(Enabled(kBatchMaxTimeButton));
        EXPECT_FALSE(Enabled(kBatchMaxGrainTempButton));
        Press(kBatchSafetyButton);
        // enabled with TEMPERATURE: the maximum drying time only
        EXPECT_EQ(Value(DesiredSettings, unitsAndOptions), siUnitsBit.mask | kSafety | kMaxTime);
        EXPECT_EQ(TextOf(kBatchSafetyButton), L"DISABLE");
        EXPECT_TRUE(Enabled(kBatchMaxTimeButton));
        EXPECT_FALSE(Enabled(kBatchMaxGrainTempButton));
        CancelDialog(kStagedBatchSetupTitle);
    });
}

TEST_F(StagedBatchSetup, TimeAndTemperatureToggleAndPutTheirLimitsInForce)
{
    // From moisture drying, whose maximum drying time stays in force until TEMPERATURE is
    // turned off.
    BatchDryer(kMoisture);
    Report(unitsAndOptions, kSafety | kMaxTime | kMaxGrain);
    RunDialog(OpenBatch, kStagedBatchSetupTitle, [] {
        Press(kBatchTimeButton);
        EXPECT_EQ(Value(DesiredSettings, dryerOptions), kTime);
        EXPECT_EQ(Value(DesiredSettings, unitsAndOptions), kSafety | kMaxGrain | kMaxTime);
        EXPECT_TRUE(Enabled(kBatchMaxGrainTempButton));
        EXPECT_TRUE(Enabled(kBatchSingleButton));
        EXPECT_FALSE(Enabled(kBatchFullHeatButton));
        Press(kBatchTemperatureButton);
        EXPECT_EQ(Value(DesiredSettings, dryerOptions), kTime | kTemp);
        EXPECT_TRUE(Enabled(kBatchMaxTimeButton));
        Press(kBatchTimeButton);
        EXPECT_EQ(Value(DesiredSettings, dryerOptions), kTemp);
        EXPECT_EQ(Value(DesiredSettings, unitsAndOptions), kSafety | kMaxTime);
        EXPECT_FALSE(Enabled(kBatchMaxGrainTempButton));
        Press(kBatchTemperatureButton);
        EXPECT_EQ(Value(DesiredSettings, dryerOptions), 0);
        EXPECT_EQ(Value(DesiredSettings, unitsAndOptions), kSafety);
        EXPECT_FALSE(Enabled(kBatchMaxTimeButton));
        EXPECT_EQ(TextOf(kBatchDescription), L"Please Select Drying Criteria!");
        CancelDialog(kStagedBatchSetupTitle);
    });
}

TEST_F(StagedBatchSetup, LimitsShowTheirValuesAndOpenTheirKeypads)
{
    BatchDryer(kTime | kTemp);
    Report(unitsAndOptions, kSafety | kMaxTime | kMaxGrain);
    Report(batchTimePair, MinSec{12, 5});
    Report(batchWord277, 300);
    RunDialog(OpenBatch, kStagedBatchSetupTitle, [] {
        EXPECT_EQ(TextOf(kBatchMaxTimeValue), L"012:05");
        EXPECT_EQ(TextOf(kBatchMaxGrainTempValue), L"300 F");
        Press(kBatchMaxTimeButton);
        CancelDialog(L"MODIFYING TIMER SETPOINT - 21");
        Press(kBatchMaxGrainTempButton);
        CancelDialog(L"Modifying Temperature Setpoint - 22");
        CancelDialog(kStagedBatchSetupTitle);
    });
    EXPECT_TRUE(RaisedFlags().empty());
}

// ---- ACCEPT ----

TEST_F(StagedBatchSetup, AcceptWithoutCriterionStaysOpenAndSendsNothing)
{
    BatchDryer(0);
    RunDialog(OpenBatch, kStagedBatchSetupTitle, [] {
        Press(kBatchAcceptButton);
        ASSERT_TRUE(WaitForMessageBox());
        ExpectFittingHelp(*MessageBoxShown(), L"Select Drying Criteria Help",
                          L"You must select a Staged Batch Drying Criteria.  You must select\n"
                          L"TIME and/or TEMPERATURE, or MOISTURE.");
        ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
        EXPECT_TRUE(Window(kStagedBatchSetupTitle).has_value());
        EXPECT_TRUE(RaisedFlags().empty());
        Press(kBatchTimeButton);
        Press(kBatchAcceptButton);
        EXPECT_TRUE(WaitForTitle(kStagedBatchSetupTitle, false));
    });
    EXPECT_TRUE(PendingCommand.IsSet(Pending::optionByte257));
}

struct BatchEdit {
    const char* name;
    std::vector<int> buttons;
    std::vector<std::pair<int, int>> keypad;  // DesiredSettings bytes a keypad wrote
    std::set<Pending> sent;
};

void PrintTo(const BatchEdit& e, std::ostream* os)
{
    *os << e.name;
}

class BatchAccept : public DryingModeTest, public ::testing::WithParamInterface<BatchEdit> {};

TEST_P(BatchAccept, SendsExactlyTheChangedFields)
{
    const BatchEdit& e = GetParam();
    BatchDryer(kTime | firstHalfLoadBit.mask);
    Report(moistureControlMode, kSchemeBatchTimeOrTemp);
    Report(optionByte224, fullHeatBit.mask);
    Report(unitsAndOptions, siUnitsBit.mask | kSafety | kMaxGrain);
    Report(batchTimePair, MinSec{255, 0});
    Report(batchWord277, 150);
    const INT_PTR result = RunDialog(OpenBatch, kStagedBatchSetupTitle, [&] {
        for (int button : e.buttons) Press(button);
        for (auto [offset, value] : e.keypad) {
            DesiredSettings.Set(static_cast<std::size_t>(offset), static_cast<std::uint8_t>(value));
        }
        Press(kBatchAcceptButton);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(RaisedFlags(), e.sent);
    EXPECT_TRUE(IsSet(DesiredSettings, firstHalfLoadBit));  // no control: kept as reported
    EXPECT_TRUE(IsSet(DesiredSettings, siUnitsBit));
}

INSTANTIATE_TEST_SUITE_P(
    Edits, BatchAccept,
    ::testing::Values(
        BatchEdit{"nothing", {}, {}, {}},
        // MOISTURE sends its moisture mode at once; the heat was FULL already, and TIME
        // brings the criteria back to what the dryer reports
        BatchEdit{"moisture_and_back",
                  {kBatchMoistureButton, kBatchTimeButton},
                  {},
                  {Pending::moistureMode, Pending::unitsAndOptions}},
        BatchEdit{"temperature",
                  {kBatchTemperatureButton},
                  {},
                  {Pending::moistureMode, Pending::optionByte257, Pending::unitsAndOptions}},
        BatchEdit{"safety", {kBatchSafetyButton}, {}, {Pending::unitsAndOptions}},
        BatchEdit{
            "max_time_seconds", {}, {{batchTimePair.offset + 1, 30}}, {Pending::batchTimePair}},
        BatchEdit{"max_time_minutes", {}, {{batchTimePair.offset, 90}}, {Pending::batchTimePair}},
        BatchEdit{
            "grain_limit_low_byte", {}, {{batchWord277.offset, 160}}, {Pending::batchWord277}},
        BatchEdit{
            "grain_limit_high_byte", {}, {{batchWord277.offset + 1, 1}}, {Pending::batchWord277}},
        BatchEdit{"half_heat",
                  {kBatchMoistureButton, kBatchHalfButton},
                  {},
                  {Pending::moistureMode, Pending::byte224, Pending::optionByte257,
                   Pending::unitsAndOptions}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(StagedBatchSetup, StagedBatchLayoutIsTidy)
{
    BatchDryer(kTime | kTemp);
    Report(unitsAndOptions, kSafety | kMaxTime | kMaxGrain);
    Report(batchTimePair, MinSec{255, 0});
    Report(batchWord277, 200);
    Report(optionByte224, twoThirdsHeatBit.mask);
    platform::WindowInfo shown;
    RunDialog(OpenBatch, kStagedBatchSetupTitle, [&] {
        shown = *Window(kStagedBatchSetupTitle);
        Screenshot("staged-batch-setup");
        Press(kBatchMoistureButton);
        Screenshot("staged-batch-setup-moisture");
        CancelDialog(kStagedBatchSetupTitle);
    });
    Layout layout;
    layout.groups = {kBatchSafetyGroup, kBatchTempGroup, kBatchMoistureGroup};
    layout.indicators = {kBatchTimeIndicator,      kBatchTemperatureIndicator,
                         kBatchMoistureIndicator,  kBatchSingleIndicator,
                         kBatchDualIndicator,      kBatchFullHeatIndicator,
                         kBatchTwoThirdsIndicator, kBatchHalfIndicator};
    layout.wrapped = {kBatchTemperatureIndicator};
    ExpectTidyLayout(shown, layout);
}

// The maximum drying time is typed on the minutes-and-seconds keypad; 255:00, above what the
// minutes pad takes, is its default.
TEST_F(StagedBatchSetup, MaxTimeIsTypedOnTheTimerKeypad)
{
    Report(dryerOptions, criterionTempBit.mask);
    Report(unitsAndOptions, safetyEnabledBit.mask | maxDryTimeBit.mask);
    Report(batchTimePair, MinSec{120, 0});
    const auto maxTime = [] {
        const MinSec t = ReadTime(DesiredSettings, batchTimePair);
        return t.minutes * 100 + t.seconds;
    };
    RunDialog(OpenBatch, kStagedBatchSetupTitle, [&] {
        EXPECT_EQ(TextOf(kBatchMaxTimeValue), L"120:00");
        Press(kBatchMaxTimeButton);
        ASSERT_TRUE(WaitForTitle(kTimerKeypadTitle));
        for (int d : {2, 4, 9}) Press(kTimerMinutesDigit0 + d);
        for (int d : {5, 9}) Press(kTimerSecondsDigit0 + d);
        Press(IDOK);  // ACCEPT
        ASSERT_TRUE(WaitForTitle(kTimerKeypadTitle, false));
        EXPECT_EQ(maxTime(), 24959);
        EXPECT_TRUE(PendingCommand.IsSet(batchTimePair.pending));
        Press(kBatchMaxTimeButton);
        ASSERT_TRUE(WaitForTitle(kTimerKeypadTitle));
        Press(kTimerDefault);
        Press(IDOK);
        ASSERT_TRUE(WaitForTitle(kTimerKeypadTitle, false));
        EXPECT_EQ(maxTime(), 25500);
        Press(kBatchAcceptButton);
    });
    EXPECT_TRUE(PendingCommand.IsSet(batchTimePair.pending));
}

}  // namespace
