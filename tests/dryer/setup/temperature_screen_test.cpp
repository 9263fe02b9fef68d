// The temperature setpoint screen in a running panel: which setpoint buttons show for which
// dryer, the setpoints and help texts it prints in °F and °C, the setpoint each button edits,
// and the screen number it publishes.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "resources/orbitdryer/bitmap_table.h"
#include "resources/orbitdryer/panel_colours.h"
#include "tests/dryer/setup/temperature_support.h"

namespace {

using namespace temperature_test;
using panel_test::PanelRun;

constexpr int kB1 = kBurnerButton1;
constexpr int kB2 = kBurnerButton1 + 1;
constexpr int kB3 = kBurnerButton1 + 2;
constexpr int kB4 = kBurnerButton1 + 3;
constexpr int kB5 = kBurnerButton1 + 4;
constexpr int kB6 = kBurnerButton1 + 5;
constexpr int kAllButtons[] = {kB1,
                               kB2,
                               kB3,
                               kB4,
                               kB5,
                               kB6,
                               kHiHeatButton,
                               kDualBurner1Button,
                               kLoHeatButton,
                               kDualBurner2Button,
                               kGrainButton,
                               kGrainUpperButton,
                               kGrainLowerButton};

struct Dryers {
    int heaters = 1;
    int type = kContinuousFlow;  // dryingType
    bool dualHeat = false;
    bool tower = false;
};

sim::SimOptions OptionsFor(const Dryers& d)
{
    sim::SimOptions options = Dryer(d.heaters);
    options.dualHeat = d.dualHeat ? 1 : 0;
    if (d.type <= kBatchDrying) {
        options.dryingType = d.type;
    } else {
        options.presets.emplace_back(dryingType.offset, d.type);
    }
    options.presets.emplace_back(dryerConfigBits.offset, d.tower ? towerBit.mask : 0);
    return options;
}

// ---- which buttons show ----

struct LayoutCase {
    const char* name;
    Dryers dryer;
    std::set<int> shown;
};

void PrintTo(const LayoutCase& c, std::ostream* os)
{
    *os << c.name;
}

class SetpointButtons : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(SetpointButtons, ShowForTheDryersBurnersAndHeat)
{
    const LayoutCase& c = GetParam();
    PanelRun panel(OptionsFor(c.dryer));
    ASSERT_TRUE(panel.started());
    OpenSetpointScreen();
    EXPECT_TRUE(panel_test::Shown(kPlenumSetpointClass));
    EXPECT_TRUE(panel_test::Shown(kGrainSetpointClass));
    for (int id : kAllButtons) {
        EXPECT_EQ(ControlShown(id), c.shown.contains(id)) << std::hex << "button 0x" << id;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dryers, SetpointButtons,
    ::testing::Values(
        LayoutCase{"one burner", {1}, {kB1, kGrainButton}},
        LayoutCase{"two burners", {2}, {kB1, kB2, kGrainButton}},
        LayoutCase{"three burners", {3}, {kB1, kB2, kB3, kGrainButton}},
        LayoutCase{"four burners", {4}, {kB1, kB2, kB3, kB4, kGrainButton}},
        LayoutCase{"six burners", {6}, {kB1, kB2, kB3, kB4, kB5, kB6, kGrainButton}},
        LayoutCase{
            "tower of six", {6, kContinuousFlow, false, true}, {kB1, kB4, kB5, kB6, kGrainButton}},
        LayoutCase{"continuous flow ignores dual heat",
                   {2, kContinuousFlow, true},
                   {kB1, kB2, kGrainButton}},
        LayoutCase{
            "batch tower of three", {3, kBatchDrying, false, true}, {kB1, kB2, kB3, kGrainButton}},
        LayoutCase{"dual heat, one burner",
                   {1, kBatchDrying, true},
                   {kHiHeatButton, kDualBurner1Button, kGrainUpperButton, kGrainLowerButton}},
        LayoutCase{"dual heat, two burners",
                   {2, kBatchDrying, true},
                   {kHiHeatButton, kDualBurner1Button, kLoHeatButton, kDualBurner2Button,
                    kGrainUpperButton, kGrainLowerButton}}),
    [](const ::testing::TestParamInfo<LayoutCase>& test) {
        return "Case" + std::to_string(test.index);
    });

// A drying type other than continuous flow or batch leaves the buttons as they were; a burner
// the dryer no longer has does nothing when pressed.
TEST(SetpointButtons, OtherDryingTypesKeepThemAndAMissingBurnerDoesNothing)
{
    PanelRun panel(Dryer(6));
    ASSERT_TRUE(panel.started());
    OpenSetpointScreen();
    ASSERT_TRUE(ControlShown(kB6));
    ASSERT_TRUE(platform::PressControl(kTempSelectExit));
    panel.Pin(dryingType, 2);
    panel.Pin(heaterCountCode, 0);
    OpenSetpointScreen();
    for (int id : {kB1, kB2, kB3, kB4, kB5, kB6}) EXPECT_TRUE(ControlShown(id)) << id;
    ASSERT_TRUE(platform::PressControl(kB6));
    EXPECT_FALSE(KeypadOpen());
    ASSERT_TRUE(platform::PressControl(kB2));
    EXPECT_FALSE(KeypadOpen());
    EXPECT_FALSE(PendingCommand.IsSet(ForHeater(plenumSetpoint, 2).pending));
    ASSERT_TRUE(OpenKeypad(kB1));
    Cancel();
}

// ---- what the windows print ----

// The setpoint is printed to the right of its button, in the button's row, inside the window.
void ExpectBeside(const std::vector<platform::DrawnText>& texts, const std::wstring& text,
                  int button, const wchar_t* windowClass)
{
    const platform::DrawnText t = Drawn(texts, text);
    EXPECT_EQ(t.colour, kBlue);
    const auto b = ControlRect(button);
    const auto w = panel_test::FindShown(windowClass);
    ASSERT_TRUE(b.has_value() && w.has_value());
    EXPECT_GE(t.rect.left, b->right - 3) << panel_test::Narrow(text);
    EXPECT_LT(t.rect.top, b->bottom);
    EXPECT_GT(t.rect.bottom, b->top);
    EXPECT_LE(t.rect.right, w->rect.right);
}

class SetpointTexts : public ::testing::Test {
protected:
    void Put(ImageField field, int value) { panel_test::SetOnBoard(panel->sim(), field, value); }
    void Start(const sim::SimOptions& options)
    {
        panel = std::make_unique<PanelRun>(options);
        ASSERT_TRUE(panel->started());
    }
    std::unique_ptr<PanelRun> panel;
};

TEST_F(SetpointTexts, PlenumAndGrainSetpointsInFahrenheit)
{
    Start(Dryer(6));
    for (int n = 1; n <= 6; ++n) Put(ForHeater(plenumSetpoint, n), 180 + n);
    Put(grainSetpointMain, 112);
    panel->Cycles(3);
    OpenSetpointScreen();
    const auto plenum = TextsOf(kPlenumSetpointClass);
    for (int n = 1; n <= 6; ++n) {
        ExpectBeside(plenum, Printed(180 + n), kBurnerButton1 + n - 1, kPlenumSetpointClass);
    }
    const auto grain = TextsOf(kGrainSetpointClass);
    ExpectBeside(grain, Printed(112), kGrainButton, kGrainSetpointClass);
    EXPECT_EQ(Drawn(grain, kGrainHelpTitle).colour, kBlack);
    EXPECT_EQ(Drawn(grain, kGrainHelpF1).colour, kRed);
    EXPECT_EQ(Drawn(grain, kGrainHelpF2).colour, kRed);
    EXPECT_FALSE(Has(grain, kGrainHelpC1));
}

TEST_F(SetpointTexts, PlenumAndGrainSetpointsInCelsius)
{
    Start(Dryer(3, true));
    Put(ForHeater(plenumSetpoint, 1), 212);
    Put(ForHeater(plenumSetpoint, 2), 50);
    Put(ForHeater(plenumSetpoint, 3), 250);
    Put(grainSetpointMain, 105);
    panel->Cycles(3);
    OpenSetpointScreen();
    const auto plenum = TextsOf(kPlenumSetpointClass);
    ExpectBeside(plenum, Printed(100, true), kB1, kPlenumSetpointClass);
    ExpectBeside(plenum, Printed(10, true), kB2, kPlenumSetpointClass);
    ExpectBeside(plenum, Printed(121, true), kB3, kPlenumSetpointClass);
    const auto grain = TextsOf(kGrainSetpointClass);
    ExpectBeside(grain, Printed(40, true), kGrainButton, kGrainSetpointClass);
    EXPECT_EQ(Drawn(grain, kGrainHelpTitle).colour, kBlack);
    EXPECT_EQ(Drawn(grain, kGrainHelpC1).colour, kRed);
    EXPECT_EQ(Drawn(grain, kGrainHelpC2).colour, kRed);
    EXPECT_EQ(Drawn(grain, kGrainHelpC3).colour, kRed);
    EXPECT_FALSE(Has(grain, kGrainHelpF1));
}

TEST_F(SetpointTexts, DualHeatSetpoints)
{
    sim::SimOptions options = Dryer(2);
    options.dryingType = kBatchDrying;
    options.dualHeat = 1;
    Start(options);
    Put(ForHeater(plenumSetpoint, 1), 185);
    Put(ForHeater(plenumSetpoint, 2), 175);
    Put(hiHeatPlenumSetpoint, 190);
    Put(upperPlenumSetpoint, 150);
    Put(grainSetpointUpper, 125);
    Put(grainSetpointLower, 100);
    panel->Cycles(3);
    OpenSetpointScreen();
    const auto plenum = TextsOf(kPlenumSetpointClass);
    ExpectBeside(plenum, Printed(185), kDualBurner1Button, kPlenumSetpointClass);
    ExpectBeside(plenum, Printed(175), kDualBurner2Button, kPlenumSetpointClass);
    ExpectBeside(plenum, Printed(190), kHiHeatButton, kPlenumSetpointClass);
    ExpectBeside(plenum, Printed(150), kLoHeatButton, kPlenumSetpointClass);
    const auto grain = TextsOf(kGrainSetpointClass);
    ExpectBeside(grain, Printed(125), kGrainUpperButton, kGrainSetpointClass);
    ExpectBeside(grain, Printed(100), kGrainLowerButton, kGrainSetpointClass);
}

// ---- the setpoint each button edits ----

struct EditCase {
    const char* name;
    Dryers dryer;
    int button;
    ImageField field;
    int maximum;
};

void PrintTo(const EditCase& c, std::ostream* os)
{
    *os << c.name;
}

class SetpointEdits : public ::testing::TestWithParam<EditCase> {};

// Each button opens the keypad on its field, which takes the field's maximum and no more.
TEST_P(SetpointEdits, ButtonEditsItsFieldUpToItsMaximum)
{
    const EditCase& c = GetParam();
    PanelRun panel(OptionsFor(c.dryer));
    ASSERT_TRUE(panel.started());
    panel_test::SetOnBoard(panel.sim(), c.field, 77);
    panel.Cycles(3);
    OpenSetpointScreen();
    ASSERT_TRUE(OpenKeypad(c.button));
    EXPECT_EQ(KeypadText(), OnKeypad(77));
    const int over = c.maximum + 1;
    Type({over / 100, over / 10 % 10, over % 10});
    Accept();
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
    EXPECT_FALSE(PendingCommand.IsSet(c.field.pending));
    ASSERT_TRUE(OpenKeypad(c.button));
    Type({c.maximum / 100, c.maximum / 10 % 10, c.maximum % 10});
    Accept();
    EXPECT_FALSE(panel_test::TopMessageBox().has_value());
    EXPECT_EQ(Value(DesiredSettings, c.field), c.maximum);
    EXPECT_TRUE(PendingCommand.IsSet(c.field.pending));
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, SetpointEdits,
    ::testing::Values(
        EditCase{"burner 4", {4}, kB4, ForHeater(plenumSetpoint, 4), 250},
        EditCase{"burner 6", {6}, kB6, ForHeater(plenumSetpoint, 6), 250},
        EditCase{"grain", {1}, kGrainButton, grainSetpointMain, 160},
        EditCase{"grain of drying type 3", {1, 3}, kGrainButton, grainSetpointUpper, 180},
        EditCase{"dual heat burner 2",
                 {2, kBatchDrying, true},
                 kDualBurner2Button,
                 ForHeater(plenumSetpoint, 2),
                 250},
        EditCase{"hi heat", {2, kBatchDrying, true}, kHiHeatButton, hiHeatPlenumSetpoint, 250},
        EditCase{"lo heat", {2, kBatchDrying, true}, kLoHeatButton, upperPlenumSetpoint, 250},
        EditCase{
            "upper grain", {1, kBatchDrying, true}, kGrainUpperButton, grainSetpointUpper, 180},
        EditCase{
            "lower grain", {1, kBatchDrying, true}, kGrainLowerButton, grainSetpointLower, 180}),
    [](const ::testing::TestParamInfo<EditCase>& test) {
        return "Case" + std::to_string(test.index);
    });

// ---- opening and leaving ----

TEST(SetpointScreen, PublishesItsNumberAndClearsItOnLeaving)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    OpenSetpointScreen();
    EXPECT_EQ(ScreenManagerState().entryContext, 17);
    EXPECT_TRUE(ScreenManagerState().entryContextValid);
    EXPECT_FALSE(panel_test::Shown(kCustomViewClass));
    ASSERT_TRUE(platform::PressControl(kTempSelectExit));
    EXPECT_EQ(ScreenManagerState().entryContext, 0);
    EXPECT_TRUE(ScreenManagerState().entryContextValid);
    EXPECT_FALSE(panel_test::Shown(kTempSelectClass));
    EXPECT_TRUE(panel_test::Shown(kCustomViewClass));
    EXPECT_TRUE(panel_test::Shown(kDryerPicClass));
}

// Faces are looked up by id: an id given twice would show one button with another's caption.
TEST(SetpointScreenFaces, BitmapIdsAreUnique)
{
    std::set<int> ids;
    for (const BitmapResource& r : OrbitDryerBitmaps()) {
        EXPECT_TRUE(ids.insert(r.id).second) << "bitmap " << r.id << " is listed twice";
    }
}

}  // namespace
