// "BRACKETED 5 SPEED MOISTURE CONTROL SETUP - 23": what the two columns show in moisture and
// temperature regulation, the INC and DEC steps up to each bound and across it, SELECT and its
// memory between openings, SELECT DEFAULTS, and what ACCEPT / EXIT and Cancel send.
#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "dryer/setup/bracketed_five_speed_setup.h"
#include "platform/controls/controls.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/setup/drying_mode_support.h"

namespace {

using namespace drying_test;

// The set-up's bytes and the flags that send them.
static_assert(bracketOuterLimit.offset == 226 && bracketOuterLimit.pending == Pending::byte226);
static_assert(bracketInnerLimit.offset == 227 && bracketInnerLimit.pending == Pending::byte227);
static_assert(bracketOuterSpeedOffset.offset == 228 &&
              bracketOuterSpeedOffset.pending == Pending::byte228);
static_assert(bracketInnerSpeedOffset.offset == 229 &&
              bracketInnerSpeedOffset.pending == Pending::byte229);
static_assert(fiveSpeedCenterSpeed.offset == 230 && meteringPresetMediumSpeed.offset == 157);

class BracketedSetup : public DryingModeTest {
protected:
    void SetUp() override
    {
        DryingModeTest::SetUp();
        ResetFiveSpeedSelection();
    }
};

INT_PTR OpenBrackets()
{
    return OpenFiveSpeedSetup(nullptr);
}

// The brackets as the board reports them.
void ReportBrackets(int scheme, int outer, int inner, int outerOffset, int innerOffset)
{
    Report(moistureControlMode, scheme);
    Report(bracketOuterLimit, outer);
    Report(bracketInnerLimit, inner);
    Report(bracketOuterSpeedOffset, outerOffset);
    Report(bracketInnerSpeedOffset, innerOffset);
}

// The five rows of a column, top to bottom.
std::vector<std::wstring> Column(std::initializer_list<int> ids)
{
    std::vector<std::wstring> texts;
    for (int id : ids) texts.push_back(TextOf(id));
    return texts;
}

std::vector<std::wstring> Limits()
{
    return Column({kBracketPositiveOuterLimit, kBracketPositiveInnerLimit, kBracketSetpoint,
                   kBracketNegativeInnerLimit, kBracketNegativeOuterLimit});
}

std::vector<std::wstring> Offsets()
{
    return Column({kBracketPositiveOuterOffset, kBracketPositiveInnerOffset, kBracketCenterSpeed,
                   kBracketNegativeInnerOffset, kBracketNegativeOuterOffset});
}

std::vector<std::wstring> Speeds()
{
    return Column({kBracketPositiveOuterSpeed, kBracketPositiveInnerSpeed,
                   kBracketNegativeInnerSpeed, kBracketNegativeOuterSpeed});
}

// Makes INC and DEC edit the inner pair (or the outer one); the edited pair shows in black.
void EditPair(bool inner)
{
    if (Enabled(kBracketPositiveInnerLimit) != inner) Press(kBracketSelect);
    ASSERT_EQ(Enabled(kBracketPositiveInnerLimit), inner);
    ASSERT_EQ(Enabled(kBracketPositiveOuterLimit), !inner);
}

// ---- what the columns show ----

TEST_F(BracketedSetup, MoistureSchemeSpeedsUpBelowTheSetpointAndSlowsDownAbove)
{
    ReportBrackets(kSchemeFiveSpeed, 10, 4, 8, 2);
    Report(moistureSetpoint, 155);
    Report(fiveSpeedCenterSpeed, 50);
    Report(meteringPresetMediumSpeed, 45);
    RunDialog(OpenBrackets, kFiveSpeedSetupTitle, [] {
        EXPECT_EQ(TextOf(kBracketLimitGroup), L"MOISTURE");
        EXPECT_EQ(TextOf(kBracketSpeedGroup), L"METERING SPEED");
        EXPECT_EQ(Limits(), (std::vector<std::wstring>{L"+1.0 %", L"+0.4 %", L"15.5 %", L"-0.4 %",
                                                       L"-1.0 %"}));
        EXPECT_EQ(Offsets(), (std::vector<std::wstring>{L"-80", L"-20", L"500", L"+20", L"+80"}));
        // above: the medium preset less the offset; below: the centre plus the offset
        EXPECT_EQ(Speeds(), (std::vector<std::wstring>{L"370", L"430", L"520", L"580"}));
        CancelDialog(kFiveSpeedSetupTitle);
    });
}

TEST_F(BracketedSetup, TemperatureSchemeSwapsTheSidesAndShowsDegrees)
{
    ReportBrackets(kSchemeTempFiveSpeed, 4, 2, 12, 5);
    Report(grainSetpointMain, 110);
    Report(fiveSpeedCenterSpeed, 40);
    Report(meteringPresetMediumSpeed, 40);
    RunDialog(OpenBrackets, kFiveSpeedSetupTitle, [] {
        EXPECT_EQ(TextOf(kBracketLimitGroup), L"TEMPERATURE");
        EXPECT_EQ(Limits(), (std::vector<std::wstring>{L"+4 \u00B0F", L"+2 \u00B0F", L"110 \u00B0F",
                                                       L"-2 \u00B0F", L"-4 \u00B0F"}));
        EXPECT_EQ(Offsets(), (std::vector<std::wstring>{L"+120", L"+50", L"400", L"-50", L"-120"}));
        EXPECT_EQ(Speeds(), (std::vector<std::wstring>{L"520", L"450", L"350", L"280"}));
        CancelDialog(kFiveSpeedSetupTitle);
    });
}

TEST_F(BracketedSetup, SlowerSpeedStopsAtZero)
{
    ReportBrackets(kSchemeFiveSpeed, 10, 4, 8, 2);
    Report(fiveSpeedCenterSpeed, 3);
    Report(meteringPresetMediumSpeed, 2);
    RunDialog(OpenBrackets, kFiveSpeedSetupTitle, [] {
        // 20 - 80 and 20 - 20: the positive rows; the negative rows are 50 and 110
        EXPECT_EQ(Speeds(), (std::vector<std::wstring>{L"0", L"0", L"50", L"110"}));
        CancelDialog(kFiveSpeedSetupTitle);
    });
}

// ---- SELECT DEFAULTS ----

TEST_F(BracketedSetup, DefaultsOfMoistureRegulation)
{
    ReportBrackets(kSchemeFiveSpeed, 25, 5, 20, 9);
    Report(moistureSetpoint, 150);
    RunDialog(OpenBrackets, kFiveSpeedSetupTitle, [] {
        Press(kBracketDefaults);
        EXPECT_EQ(Limits(), (std::vector<std::wstring>{L"+0.6 %", L"+0.3 %", L"15.0 %", L"-0.3 %",
                                                       L"-0.6 %"}));
        EXPECT_EQ(Offsets(), (std::vector<std::wstring>{L"-60", L"-30", L"0", L"+30", L"+60"}));
        Press(kBracketAccept);
    });
    EXPECT_EQ(Value(DesiredSettings, bracketOuterLimit), 6);
    EXPECT_EQ(Value(DesiredSettings, bracketInnerLimit), 3);
    EXPECT_EQ(Value(DesiredSettings, bracketOuterSpeedOffset), 6);
    EXPECT_EQ(Value(DesiredSettings, bracketInnerSpeedOffset), 3);
}

TEST_F(BracketedSetup, DefaultsOfTemperatureRegulation)
{
    ReportBrackets(kSchemeTempFiveSpeed, 5, 2, 20, 9);
    RunDialog(OpenBrackets, kFiveSpeedSetupTitle, [] {
        Press(kBracketDefaults);
        EXPECT_EQ(TextOf(kBracketPositiveOuterLimit), L"+3 \u00B0F");
        EXPECT_EQ(TextOf(kBracketNegativeInnerLimit), L"-1 \u00B0F");
        Press(kBracketAccept);
    });
    EXPECT_EQ(Value(DesiredSettings, bracketOuterLimit), 3);
    EXPECT_EQ(Value(DesiredSettings, bracketInnerLimit), 1);
    EXPECT_EQ(Value(DesiredSettings, bracketOuterSpeedOffset), 6);
    EXPECT_EQ(Value(DesiredSettings, bracketInnerSpeedOffset), 3);
}

// ---- the steps, pressed more often than the bound allows ----

struct StepCase {
    const char* name;
    int scheme;
    bool speedColumn;  // the right column's buttons, else the left's
    bool inner;        // the inner pair selected
    bool up;
    int outer, inner0;  // the pair as reported (limits or speed offsets)
    int presses;
    int outerAfter, innerAfter;
};

void PrintTo(const StepCase& c, std::ostream* os)
{
    *os << c.name;
}

class BracketSteps : public BracketedSetup, public ::testing::WithParamInterface<StepCase> {};

TEST_P(BracketSteps, StopAtTheirBound)
{
    const StepCase c = GetParam();
    const ImageField outer = c.speedColumn ? bracketOuterSpeedOffset : bracketOuterLimit;
    const ImageField inner = c.speedColumn ? bracketInnerSpeedOffset : bracketInnerLimit;
    // the other column's pair sits where no rule of the pressed one looks at it
    ReportBrackets(c.scheme, 10, 4, 8, 2);
    Report(outer, c.outer);
    Report(inner, c.inner0);
    RunDialog(OpenBrackets, kFiveSpeedSetupTitle, [&] {
        EditPair(c.inner);
        const int button = c.speedColumn ? (c.up ? kBracketSpeedInc : kBracketSpeedDec)
                                         : (c.up ? kBracketLimitInc : kBracketLimitDec);
        for (int i = 0; i < c.presses; ++i) Press(button);
        CancelDialog(kFiveSpeedSetupTitle);
    });
    EXPECT_EQ(Value(DesiredSettings, outer), c.outerAfter);
    EXPECT_EQ(Value(DesiredSettings, inner), c.innerAfter);
    EXPECT_TRUE(RaisedFlags().empty());  // nothing is sent before ACCEPT / EXIT
}

constexpr int kM = kSchemeFiveSpeed;
constexpr int kT = kSchemeTempFiveSpeed;

INSTANTIATE_TEST_SUITE_P(
    Limits, BracketSteps,
    ::testing::Values(
        // outer limit INC: 30 tenths in moisture, 5 degrees in temperature
        StepCase{"outer_up_moisture", kM, false, false, true, 27, 3, 5, 30, 3},
        StepCase{"outer_up_temperature", kT, false, false, true, 3, 1, 4, 5, 1},
        StepCase{"outer_up_from_above_bound", kT, false, false, true, 9, 1, 1, 9, 1},
        // outer limit DEC: down to 3 or 2, and never below the inner limit
        StepCase{"outer_down_moisture", kM, false, false, false, 6, 1, 5, 3, 1},
        StepCase{"outer_down_temperature", kT, false, false, false, 4, 1, 4, 2, 1},
        StepCase{"outer_down_to_inner", kM, false, false, false, 9, 6, 5, 6, 6},
        // inner limit INC: up to 6 or 2, and not past the outer limit
        StepCase{"inner_up_moisture", kM, false, true, true, 30, 4, 4, 30, 6},
        StepCase{"inner_up_temperature", kT, false, true, true, 5, 1, 3, 5, 2},
        StepCase{"inner_up_to_outer", kM, false, true, true, 4, 2, 4, 4, 4},
        // inner limit DEC: down to 1
        StepCase{"inner_down", kM, false, true, false, 10, 3, 4, 10, 1},
        StepCase{"inner_down_temperature", kT, false, true, false, 5, 2, 3, 5, 1}),
    [](const auto& p) { return std::string(p.param.name); });

INSTANTIATE_TEST_SUITE_P(
    SpeedOffsets, BracketSteps,
    ::testing::Values(
        // outer offset INC: up to 30 in both schemes
        StepCase{"outer_up", kM, true, false, true, 28, 3, 4, 30, 3},
        StepCase{"outer_up_temperature", kT, true, false, true, 29, 3, 2, 30, 3},
        // outer offset DEC: stays above the inner offset + 1... and at 3 at least
        StepCase{"outer_down_to_inner_plus_one", kM, true, false, false, 10, 3, 9, 4, 3},
        StepCase{"outer_down_to_three", kT, true, false, false, 6, 1, 5, 3, 1},
        // inner offset INC: up to 10, and as far as one above the outer offset
        StepCase{"inner_up", kM, true, true, true, 30, 7, 5, 30, 10},
        StepCase{"inner_up_past_outer", kT, true, true, true, 5, 4, 4, 5, 6},
        // inner offset DEC: down to 1
        StepCase{"inner_down", kM, true, true, false, 10, 4, 5, 10, 1}),
    [](const auto& p) { return std::string(p.param.name); });

// ---- SELECT ----

TEST_F(BracketedSetup, SelectStartsOnTheOuterPairAndIsKeptBetweenOpenings)
{
    ReportBrackets(kSchemeFiveSpeed, 10, 4, 8, 2);
    RunDialog(OpenBrackets, kFiveSpeedSetupTitle, [] {
        EXPECT_TRUE(Enabled(kBracketPositiveOuterLimit));
        EXPECT_TRUE(Enabled(kBracketNegativeOuterOffset));
        EXPECT_FALSE(Enabled(kBracketPositiveInnerLimit));
        EXPECT_FALSE(Enabled(kBracketNegativeInnerSpeed));
        Press(kBracketLimitInc);  // the outer limit
        Press(kBracketSelect);
        EXPECT_TRUE(Enabled(kBracketNegativeInnerLimit));
        EXPECT_TRUE(Enabled(kBracketPositiveInnerOffset));
        EXPECT_FALSE(Enabled(kBracketNegativeOuterLimit));
        Press(kBracketSpeedInc);  // now the inner offset
        Press(kBracketAccept);
    });
    EXPECT_EQ(Value(DesiredSettings, bracketOuterLimit), 11);
    EXPECT_EQ(Value(DesiredSettings, bracketInnerSpeedOffset), 3);
    RunDialog(OpenBrackets, kFiveSpeedSetupTitle, [] {
        EXPECT_TRUE(Enabled(kBracketPositiveInnerLimit));
        EXPECT_FALSE(Enabled(kBracketPositiveOuterLimit));
        CancelDialog(kFiveSpeedSetupTitle);
    });
}

// ---- leaving ----

struct AcceptCase {
    const char* name;
    std::vector<int> buttons;  // pressed on the outer pair
    std::set<Pending> sent;
};

void PrintTo(const AcceptCase& c, std::ostream* os)
{
    *os << c.name;
}

class BracketAccept : public BracketedSetup, public ::testing::WithParamInterface<AcceptCase> {};

TEST_P(BracketAccept, SendsExactlyTheChangedBytes)
{
    const AcceptCase& c = GetParam();
    ReportBrackets(kSchemeFiveSpeed, 10, 4, 8, 2);
    const INT_PTR result = RunDialog(OpenBrackets, kFiveSpeedSetupTitle, [&] {
        for (int button : c.buttons) Press(button);
        Press(kBracketAccept);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(RaisedFlags(), c.sent);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, BracketAccept,
    ::testing::Values(AcceptCase{"nothing", {}, {}},
                      AcceptCase{"outer_limit", {kBracketLimitInc}, {Pending::byte226}},
                      AcceptCase{"there_and_back", {kBracketLimitInc, kBracketLimitDec}, {}},
                      AcceptCase{"outer_offset", {kBracketSpeedDec}, {Pending::byte228}},
                      AcceptCase{"inner_pair",
                                 {kBracketSelect, kBracketLimitDec, kBracketSpeedInc},
                                 {Pending::byte227, Pending::byte229}},
                      AcceptCase{"defaults",
                                 {kBracketDefaults},
                                 {Pending::byte226, Pending::byte227, Pending::byte228,
                                  Pending::byte229}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(BracketedSetup, CancelCommandLeavesWithoutSendingOrStepping)
{
    // The dialog's Cancel command (Escape) must leave, not lower a limit.
    ReportBrackets(kSchemeFiveSpeed, 10, 4, 8, 2);
    const INT_PTR result = RunDialog(OpenBrackets, kFiveSpeedSetupTitle, [] {
        Press(kBracketLimitInc);
        platform::SendKey(VK_ESCAPE, false);
        ASSERT_TRUE(WaitForTitle(kFiveSpeedSetupTitle, false));
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(RaisedFlags().empty());
}

TEST_F(BracketedSetup, ShowsAChangeStillOnItsWay)
{
    // A limit sent earlier and not yet echoed is the one the screen starts from.
    ReportBrackets(kSchemeFiveSpeed, 10, 4, 8, 2);
    SetValue(DesiredSettings, bracketOuterLimit, 12);
    PendingCommand.Set(Pending::byte226);
    RunDialog(OpenBrackets, kFiveSpeedSetupTitle, [] {
        EXPECT_EQ(TextOf(kBracketPositiveOuterLimit), L"+1.2 %");
        EXPECT_EQ(TextOf(kBracketPositiveInnerLimit), L"+0.4 %");
        CancelDialog(kFiveSpeedSetupTitle);
    });
}

TEST_F(BracketedSetup, LayoutIsTidy)
{
    ReportBrackets(kSchemeFiveSpeed, 30, 6, 30, 10);
    Report(moistureSetpoint, 1000);  // "100.0 %"
    Report(fiveSpeedCenterSpeed, 100);
    Report(meteringPresetMediumSpeed, 100);
    platform::WindowInfo shown;
    RunDialog(OpenBrackets, kFiveSpeedSetupTitle, [&] {
        shown = *Window(kFiveSpeedSetupTitle);
        Screenshot("bracketed-five-speed-setup");
        CancelDialog(kFiveSpeedSetupTitle);
    });
    Layout layout;
    layout.groups = {kBracketLimitGroup, kBracketSpeedGroup};
    ExpectTidyLayout(shown, layout);
}

TEST_F(BracketedSetup, TemperatureLayoutIsTidy)
{
    ReportBrackets(kSchemeTempFiveSpeed, 5, 2, 30, 10);
    Report(grainSetpointMain, 200);
    Report(fiveSpeedCenterSpeed, 100);
    platform::WindowInfo shown;
    RunDialog(OpenBrackets, kFiveSpeedSetupTitle, [&] {
        EditPair(true);
        shown = *Window(kFiveSpeedSetupTitle);
        Screenshot("bracketed-five-speed-setup-temperature");
        CancelDialog(kFiveSpeedSetupTitle);
    });
    Layout layout;
    layout.groups = {kBracketLimitGroup, kBracketSpeedGroup};
    ExpectTidyLayout(shown, layout);
}

}  // namespace
