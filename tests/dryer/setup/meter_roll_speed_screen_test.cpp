// "MODIFYING METER ROLL SPEED SETPOINTS (Use knob on control panel) - 23": the working speeds
// it starts from, the step buttons while the speeds follow the knob and while they are edited,
// SELECT, the scheme button and its question, the 15 % tracking, the picture of each scheme,
// and what ACCEPT / EXIT and CANCEL / EXIT send.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "dryer/link/link_state.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/setup/meter_roll_speed_screen.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/setup/drying_mode_support.h"

namespace {

using namespace drying_test;

using MeterRollSpeed = DryingModeTest;

constexpr ImageField kHigh = meteringValues.Element(0);    // 160
constexpr ImageField kMedium = meteringValues.Element(1);  // 161
constexpr ImageField kLow = meteringValues.Element(2);     // 162

INT_PTR OpenMeter()
{
    return OpenMeterRollSpeedSetpoints(nullptr);
}

void ReportPresets(int high, int medium, int low)
{
    Report(meteringPresetHighSpeed, high);
    Report(meteringPresetMediumSpeed, medium);
    Report(meteringPresetLowSpeed, low);
}

// The speeds being edited: high, medium, low.
std::vector<int> Working()
{
    return {Value(DesiredSettings, kHigh), Value(DesiredSettings, kMedium),
            Value(DesiredSettings, kLow)};
}

// The texts the screen drew in its last paint.
std::vector<std::wstring> Drawn()
{
    std::vector<std::wstring> texts;
    platform::WaitIdle();
    const auto w = Window(kMeterRollSpeedTitle);
    if (w.has_value()) {
        for (const auto& t : w->texts) texts.push_back(t.text);
    }
    return texts;
}

bool DrawnText(const std::wstring& text)
{
    const auto texts = Drawn();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

void Cancel()
{
    Press(kMeterCancel);
    ASSERT_TRUE(WaitForTitle(kMeterRollSpeedTitle, false));
}

// ---- opening ----

TEST_F(MeterRollSpeed, StartsFromThePresets)
{
    Report(moistureControlMode, kSchemeTemp);
    ReportPresets(80, 50, 20);
    Report(fiveSpeedCenterSpeed, 65);
    RunDialog(OpenMeter, kMeterRollSpeedTitle, [] {
        EXPECT_EQ(Working(), (std::vector<int>{80, 50, 20}));
        Cancel();
    });
}

TEST_F(MeterRollSpeed, FiveSpeedSchemesStartTheMediumFromTheCentreSpeed)
{
    for (int scheme : {kSchemeFiveSpeed, kSchemeTempFiveSpeed}) {
        Report(moistureControlMode, scheme);
        ReportPresets(80, 50, 20);
        Report(fiveSpeedCenterSpeed, 65);
        RunDialog(OpenMeter, kMeterRollSpeedTitle, [] {
            EXPECT_EQ(Working(), (std::vector<int>{80, 65, 20}));
            EXPECT_TRUE(DrawnText(L"5 SPEED MED"));
            EXPECT_TRUE(DrawnText(L"65 %"));
            Cancel();
        });
    }
}

TEST_F(MeterRollSpeed, StepButtonsAreGreyedWhileTheKnobSetsTheSpeeds)
{
    Report(moistureControlMode, kSchemeTemp);
    RunDialog(OpenMeter, kMeterRollSpeedTitle, [] {
        for (int id : {kMeterIncrease, kMeterDecrease, kMeterSelect, kMeterAdjustGroup})
            EXPECT_FALSE(Enabled(id)) << id;
        EXPECT_TRUE(Enabled(kMeterAccept));
        EXPECT_TRUE(Enabled(kMeterCancel));
        Cancel();
    });
    PendingCommand.Set(Pending::desiredMeteringGroup);
    RunDialog(OpenMeter, kMeterRollSpeedTitle, [] {
        for (int id : {kMeterIncrease, kMeterDecrease, kMeterSelect, kMeterAdjustGroup})
            EXPECT_TRUE(Enabled(id)) << id;
        Cancel();
    });
}

TEST_F(MeterRollSpeed, StepButtonsWorkWhenDiagnosticsGaveTheSpeedToTheScreen)
{
    Report(moistureControlMode, kSchemeTemp);
    MeteringByDisplay.store(1);
    RunDialog(OpenMeter, kMeterRollSpeedTitle, [] {
        for (int id : {kMeterIncrease, kMeterDecrease, kMeterSelect, kMeterAdjustGroup})
            EXPECT_TRUE(Enabled(id)) << id;
        Cancel();
    });
    MeteringByDisplay.store(0);
}

// ---- INCREASE and DECREASE ----

struct StepCase {
    const char* name;
    int selected;
    int button;
    int presses;
    std::vector<int> after;  // high, medium, low
};

void PrintTo(const StepCase& c, std::ostream* os)
{
    *os << c.name;
}

class MeterSteps : public DryingModeTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(MeterSteps, ChangeTheSelectedSpeedWithinNoneToFull)
{
    const StepCase c = GetParam();
    Report(moistureControlMode, kSchemeTemp);
    ReportPresets(98, 50, 2);
    PendingCommand.Set(Pending::desiredMeteringGroup);
    SetBitsValue(DesiredSettings, meteringModeBits, c.selected);
    RunDialog(OpenMeter, kMeterRollSpeedTitle, [&] {
        for (int i = 0; i < c.presses; ++i) Press(c.button);
        EXPECT_EQ(Working(), c.after);
        Cancel();
    });
}

INSTANTIATE_TEST_SUITE_P(
    Speeds, MeterSteps,
    ::testing::Values(StepCase{"high_up_to_100", kMeterSelectHigh, kMeterIncrease, 4, {100, 50, 2}},
                      StepCase{"high_down", kMeterSelectHigh, kMeterDecrease, 3, {95, 50, 2}},
                      StepCase{"medium_up", kMeterSelectMedium, kMeterIncrease, 2, {98, 52, 2}},
                      StepCase{"low_down_to_0", kMeterSelectLow, kMeterDecrease, 4, {98, 50, 0}},
                      StepCase{"low_up", kMeterSelectLow, kMeterIncrease, 1, {98, 50, 3}}),
    [](const auto& p) { return std::string(p.param.name); });

// ---- SELECT ----

struct SelectCase {
    const char* name;
    int modeByte;  // moistureControlMode
    bool manualUnload;
    int before;
    int after;
};

void PrintTo(const SelectCase& c, std::ostream* os)
{
    *os << c.name;
}

class MeterSelect : public DryingModeTest, public ::testing::WithParamInterface<SelectCase> {};

TEST_P(MeterSelect, ChoosesTheSpeedOfTheOneSpeedScheme)
{
    const SelectCase c = GetParam();
    Report(moistureControlMode, c.modeByte);
    Report(switchInputs179, c.manualUnload ? unloadManualBit.mask : 0);
    PendingCommand.Set(Pending::desiredMeteringGroup);
    SetBitsValue(DesiredSettings, meteringModeBits, c.before);
    RunDialog(OpenMeter, kMeterRollSpeedTitle, [&] {
        Press(kMeterSelect);
        EXPECT_EQ(BitsValue(DesiredSettings, meteringModeBits), c.after);
        EXPECT_EQ(PendingCommand.IsSet(Pending::meteringModeBits), c.before != c.after);
        Cancel();
    });
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MeterSelect,
    ::testing::Values(
        SelectCase{"low_to_high", kSchemeTemp, false, kMeterSelectLow, kMeterSelectHigh},
        SelectCase{"high_to_low", kSchemeTemp, false, kMeterSelectHigh, kMeterSelectLow},
        SelectCase{"medium_stays", kSchemeTemp, false, kMeterSelectMedium, kMeterSelectMedium},
        SelectCase{"manual_unload_medium", kSchemeTemp, true, kMeterSelectLow, kMeterSelectMedium},
        SelectCase{"on_off_high", kSchemeTemp | twoSpeedOffBit.mask, false, kMeterSelectLow,
                   kMeterSelectHigh},
        SelectCase{"on_off_stays_high", kSchemeTemp | twoSpeedOffBit.mask, false, kMeterSelectHigh,
                   kMeterSelectHigh},
        // only the plain one speed scheme: no mode flags, no other scheme
        SelectCase{"mode_flag_set", kSchemeTemp | 0x08, false, kMeterSelectLow, kMeterSelectLow},
        SelectCase{"three_speed", kSchemeThreeSpeed, false, kMeterSelectLow, kMeterSelectLow}),
    [](const auto& p) { return std::string(p.param.name); });

// ---- the scheme button ----

TEST_F(MeterRollSpeed, OneSpeedSchemeButtonSwitchesOnOffAndTwoSpeed)
{
    Report(moistureControlMode, kSchemeTemp);
    RunDialog(OpenMeter, kMeterRollSpeedTitle, [] {
        EXPECT_EQ(TextOf(kMeterFirstRadio), L"ON / OFF");
        EXPECT_EQ(TextOf(kMeterSecondRadio), L"TWO SPEED");
        EXPECT_TRUE(Checked(kMeterSecondRadio));
        EXPECT_TRUE(DrawnText(L"LOW SP"));
        EXPECT_TRUE(DrawnText(L"HIGH SP"));
        Press(kMeterScheme);
        EXPECT_TRUE(Checked(kMeterFirstRadio));
        EXPECT_FALSE(Checked(kMeterSecondRadio));
        EXPECT_TRUE(DrawnText(L"HIGH SPEED"));
        EXPECT_FALSE(DrawnText(L"LOW SP"));
        EXPECT_EQ(Value(DesiredSettings, moistureControlMode), kSchemeTemp | twoSpeedOffBit.mask);
        EXPECT_TRUE(PendingCommand.IsSet(Pending::moistureMode));
        Cancel();
    });
}

TEST_F(MeterRollSpeed, TrackingNeedsAYesAndPressingAgainEndsIt)
{
    Report(moistureControlMode, kSchemeThreeSpeed);
    ReportPresets(90, 60, 30);
    RunDialog(OpenMeter, kMeterRollSpeedTitle, [] {
        EXPECT_EQ(TextOf(kMeterScheme), L"15% HI/LOW  TRACKING");
        EXPECT_TRUE(Checked(kMeterSecondRadio));
        for (const wchar_t* answer : {L"No", L"Yes"}) {
            Press(kMeterScheme);
            ASSERT_TRUE(WaitForMessageBox());
            const auto box = MessageBoxShown();
            EXPECT_EQ(box->title, L" SWITCH TO +/- 15% TRACKING OF CENTER");
            EXPECT_EQ(box->messageText,
                      L"Pressing YES will position the HI setpoint 15% above the center, and "
                      L"\t\t\t\t\t\t\t\t\t\tthe LOW 15% below the center.\nNOTE: THE PRESENT "
                      L"SETTINGS OF THE HI AND LOW SETPOINTS WILL BE LOST!");
            ASSERT_TRUE(platform::AnswerMessageBox(answer));
        }
        EXPECT_TRUE(Checked(kMeterFirstRadio));
        EXPECT_TRUE(PendingCommand.IsSet(Pending::moistureMode));
        // the high and low follow the medium: 69 and 51
        EXPECT_EQ(Working(), (std::vector<int>{69, 60, 51}));
        EXPECT_TRUE(DrawnText(L"MAIN SP"));
        Press(kMeterScheme);  // off again, without a question
        EXPECT_FALSE(MessageBoxShown().has_value());
        EXPECT_TRUE(Checked(kMeterSecondRadio));
        EXPECT_EQ(Value(DesiredSettings, moistureControlMode), kSchemeThreeSpeed);
        Cancel();
    });
}

TEST_F(MeterRollSpeed, TrackingFollowsTheMediumWhileItIsEdited)
{
    Report(moistureControlMode, kSchemeThreeSpeed | fifteenPercentTrackingBit.mask);
    ReportPresets(50, 88, 10);
    PendingCommand.Set(Pending::desiredMeteringGroup);
    SetBitsValue(DesiredSettings, meteringModeBits, kMeterSelectMedium);
    RunDialog(OpenMeter, kMeterRollSpeedTitle, [] {
        platform::WaitIdle();
        EXPECT_EQ(Working(), (std::vector<int>{100, 88, 74}));  // 101.2 capped, 74.8
        Press(kMeterIncrease);
        Press(kMeterIncrease);
        platform::WaitIdle();
        EXPECT_EQ(Working(), (std::vector<int>{100, 90, 76}));
        Press(kMeterAccept);
    });
    EXPECT_EQ(Value(DesiredSettings, meteringPresetHighSpeed), 100);
    EXPECT_EQ(Value(DesiredSettings, meteringPresetMediumSpeed), 90);
    EXPECT_EQ(Value(DesiredSettings, meteringPresetLowSpeed), 76);
}

TEST_F(MeterRollSpeed, OtherSchemesHaveNoSchemeButton)
{
    Report(moistureControlMode, kSchemeVariable);
    RunDialog(OpenMeter, kMeterRollSpeedTitle, [] {
        EXPECT_FALSE(platform::PressControl(kMeterScheme));
        EXPECT_FALSE(platform::PressControl(kMeterFirstRadio));
        EXPECT_TRUE(DrawnText(L"MANUAL SPEED"));
        Cancel();
    });
}

TEST_F(MeterRollSpeed, AutomaticModeSaysNoManualAdjustments)
{
    Report(moistureControlMode, kSchemeVariable | moistureAutoBit.mask);
    RunDialog(OpenMeter, kMeterRollSpeedTitle, [] {
        for (const wchar_t* line :
             {L"AUTOMATIC SPEED", L"NOTE:  The dryer has", L"entered automatic mode.",
              L"No manual adjustments", L"are allowed in this mode."})
            EXPECT_TRUE(DrawnText(line)) << line;
        Cancel();
    });
}

// ---- leaving ----

struct AcceptCase {
    const char* name;
    int scheme;
    bool editing;              // the desired metering group flag set
    std::vector<int> buttons;  // medium selected
    std::set<Pending> sent;
};

void PrintTo(const AcceptCase& c, std::ostream* os)
{
    *os << c.name;
}

class MeterAccept : public DryingModeTest, public ::testing::WithParamInterface<AcceptCase> {};

TEST_P(MeterAccept, SendsTheChangedPresets)
{
    const AcceptCase& c = GetParam();
    Report(moistureControlMode, c.scheme);
    ReportPresets(80, 50, 20);
    Report(fiveSpeedCenterSpeed, 50);
    if (c.editing) PendingCommand.Set(Pending::desiredMeteringGroup);
    SetBitsValue(DesiredSettings, meteringModeBits, kMeterSelectMedium);
    const INT_PTR result = RunDialog(OpenMeter, kMeterRollSpeedTitle, [&] {
        for (int button : c.buttons) Press(button);
        Press(kMeterAccept);
    });
    EXPECT_EQ(result, IDOK);
    std::set<Pending> sent = c.sent;
    if (c.editing) sent.insert(Pending::desiredMeteringGroup);
    EXPECT_EQ(RaisedFlags(), sent);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, MeterAccept,
    ::testing::Values(
        AcceptCase{"nothing", kSchemeTemp, false, {}, {}},
        AcceptCase{"selection_only", kSchemeTemp, true, {}, {Pending::meteringModeBits}},
        AcceptCase{"medium",
                   kSchemeTemp,
                   true,
                   {kMeterIncrease},
                   {Pending::meteringModeBits, Pending::meteringPresetMedium}},
        AcceptCase{"there_and_back",
                   kSchemeTemp,
                   true,
                   {kMeterIncrease, kMeterDecrease},
                   {Pending::meteringModeBits}},
        AcceptCase{"three_speed_marks_byte_224", kSchemeThreeSpeed, false, {}, {Pending::byte224}},
        AcceptCase{"tracking_moves_high_and_low",
                   kSchemeThreeSpeed | fifteenPercentTrackingBit.mask,
                   false,
                   {},
                   {Pending::byte224, Pending::meteringPresetHigh, Pending::meteringPresetLow}},
        AcceptCase{"five_speed_centre_becomes_medium", kSchemeFiveSpeed, false, {}, {}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(MeterRollSpeed, AcceptShowsTheSelectionAtOnce)
{
    Report(moistureControlMode, kSchemeTemp);
    PendingCommand.Set(Pending::desiredMeteringGroup);
    SetBitsValue(DesiredSettings, meteringModeBits, kMeterSelectLow);
    RunDialog(OpenMeter, kMeterRollSpeedTitle, [] {
        Press(kMeterSelect);
        Press(kMeterAccept);
    });
    EXPECT_EQ(BitsValue(DryerImage, meteringModeBits), kMeterSelectHigh);
    EXPECT_FALSE(IsSet(DesiredSettings, threeSpeedAcceptedBit));  // not the three speed scheme
}

TEST_F(MeterRollSpeed, CancelPutsThePresetsBackOnTheBoard)
{
    // An edit still on its way asks for the presets too, so that the two commands agree.
    Report(moistureControlMode, kSchemeTemp);
    ReportPresets(80, 50, 20);
    PendingCommand.Set(Pending::desiredMeteringGroup);
    SetBitsValue(DesiredSettings, meteringModeBits, kMeterSelectHigh);
    const INT_PTR result = RunDialog(OpenMeter, kMeterRollSpeedTitle, [] {
        Press(kMeterDecrease);
        Press(kMeterDecrease);
        EXPECT_EQ(Working(), (std::vector<int>{78, 50, 20}));
        Cancel();
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(Working(), (std::vector<int>{80, 50, 20}));
    EXPECT_EQ(RaisedFlags(),
              (std::set<Pending>{Pending::presetsToMetering, Pending::desiredMeteringGroup}));
}

// ---- how it looks ----

struct LookCase {
    const char* name;
    int modeByte;
};

class MeterLayout : public DryingModeTest, public ::testing::WithParamInterface<LookCase> {};

TEST_P(MeterLayout, IsTidy)
{
    Report(moistureControlMode, GetParam().modeByte);
    ReportPresets(100, 55, 10);
    PendingCommand.Set(Pending::desiredMeteringGroup);
    platform::WindowInfo shown;
    RunDialog(OpenMeter, kMeterRollSpeedTitle, [&] {
        platform::WaitIdle();
        shown = *Window(kMeterRollSpeedTitle);
        Screenshot(std::string("meter-roll-speed-") + GetParam().name);
        Cancel();
    });
    Layout layout;
    layout.groups = {kMeterAdjustGroup};
    layout.indicators = {kMeterFirstRadio, kMeterSecondRadio};
    ExpectTidyLayout(shown, layout);
    for (const auto& text : shown.texts) {
        EXPECT_FALSE(text.cut) << std::string(text.text.begin(), text.text.end());
    }
}

INSTANTIATE_TEST_SUITE_P(Schemes, MeterLayout,
                         ::testing::Values(LookCase{"two-speed", kSchemeTemp},
                                           LookCase{"three-speed", kSchemeThreeSpeed},
                                           LookCase{"automatic", kSchemeVariable | 0x80},
                                           LookCase{"five-speed", kSchemeFiveSpeed}),
                         [](const auto& p) {
                             std::string n = p.param.name;
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

}  // namespace
