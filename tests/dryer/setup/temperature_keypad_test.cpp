// The temperature keypad in a running panel: how the keys build the number, the limits ACCEPT
// checks in °F and °C, what it leaves in DesiredSettings and PendingCommand, and the screen
// number it publishes while open.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/screens/screen_manager.h"
#include "tests/dryer/setup/temperature_support.h"

namespace {

using namespace temperature_test;
using panel_test::PanelRun;

const ImageField kBurner1 = ForHeater(plenumSetpoint, 1);

// ---- the number on the keypad ----

struct EntryCase {
    const char* name;
    bool celsius;
    std::vector<int> keys;
    int shown;
};

void PrintTo(const EntryCase& c, std::ostream* os)
{
    *os << c.name;
}

class TemperatureKeypadEntry : public ::testing::TestWithParam<EntryCase> {};

// Burner 1 stands at 180 °F (82 °C), its default is 180 °F.
TEST_P(TemperatureKeypadEntry, ShowsTheNumberTyped)
{
    const EntryCase& c = GetParam();
    PanelRun panel(Dryer(1, c.celsius));
    ASSERT_TRUE(panel.started());
    OpenSetpointScreen();
    ASSERT_TRUE(OpenKeypad(kBurnerButton1));
    Type(c.keys);
    EXPECT_EQ(KeypadText(), OnKeypad(c.shown, c.celsius));
    Cancel();
    EXPECT_FALSE(KeypadOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TemperatureKeypadEntry,
    ::testing::Values(EntryCase{"opens on the current setpoint", false, {}, 180},
                      EntryCase{"the first digit replaces it", false, {7}, 7},
                      EntryCase{"three digits", false, {1, 2, 3}, 123},
                      EntryCase{"a fourth digit is ignored", false, {1, 2, 3, 4}, 123},
                      EntryCase{"DELETE drops the last digit", false, {1, 2, 3, kDel}, 12},
                      EntryCase{"a digit after DELETE", false, {1, 2, 3, kDel, 9}, 129},
                      EntryCase{"DELETE as the first key", false, {kDel, 4, 5}, 45},
                      EntryCase{"CLEAR", false, {1, 2, 3, kClr}, 0},
                      EntryCase{"CLEAR starts a new number", false, {1, 2, 3, kClr, 6, 5}, 65},
                      EntryCase{"DEFAULT", false, {4, kDef}, 180},
                      EntryCase{"DEFAULT of three digits takes no more", false, {kDef, 5}, 180},
                      EntryCase{"DELETE after DEFAULT", false, {kDef, kDel}, 18},
                      EntryCase{"DEFAULT, DELETE and a digit", false, {kDef, kDel, 5}, 185},
                      EntryCase{"opens on the current setpoint in °C", true, {}, 82},
                      EntryCase{"DEFAULT in °C", true, {kDef}, 82},
                      EntryCase{"two-digit DEFAULT takes a third", true, {kDef, 5}, 825},
                      EntryCase{"typed °C are not converted", true, {1, 2, 0}, 120}),
    [](const ::testing::TestParamInfo<EntryCase>& test) {
        return "Case" + std::to_string(test.index);
    });

// ---- ACCEPT and the limits ----

struct LimitCase {
    const char* name;
    bool celsius;
    int button;
    ImageField field;
    std::vector<int> keys;
    std::optional<int> stored;  // °F; nothing: refused
};

void PrintTo(const LimitCase& c, std::ostream* os)
{
    *os << c.name;
}

class TemperatureKeypadLimits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(TemperatureKeypadLimits, StoresValuesInRangeAndRefusesOthers)
{
    const LimitCase& c = GetParam();
    PanelRun panel(Dryer(1, c.celsius));
    ASSERT_TRUE(panel.started());
    const int before = Value(DryerImage, c.field);
    OpenSetpointScreen();
    ASSERT_TRUE(OpenKeypad(c.button));
    Type(c.keys);
    Accept();
    if (c.stored) {
        EXPECT_FALSE(panel_test::TopMessageBox().has_value());
        EXPECT_EQ(Value(DesiredSettings, c.field), *c.stored);
        EXPECT_TRUE(PendingCommand.IsSet(c.field.pending));
    } else {
        const auto box = panel_test::TopMessageBox();
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->messageText, L"The value entered is out of range.");
        EXPECT_EQ(box->title, L"WARNING!");
        EXPECT_EQ(box->buttons, std::vector<std::wstring>{L"OK"});
        ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
        EXPECT_EQ(Value(DesiredSettings, c.field), before);
        EXPECT_FALSE(PendingCommand.IsSet(c.field.pending));
    }
    EXPECT_FALSE(KeypadOpen());
    EXPECT_TRUE(panel_test::Shown(kTempSelectClass));
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, TemperatureKeypadLimits,
    ::testing::Values(
        LimitCase{"plenum 250 °F", false, kBurnerButton1, kBurner1, {2, 5, 0}, 250},
        LimitCase{"plenum 251 °F", false, kBurnerButton1, kBurner1, {2, 5, 1}, std::nullopt},
        LimitCase{"plenum 50 °F", false, kBurnerButton1, kBurner1, {5, 0}, 50},
        LimitCase{"plenum 49 °F", false, kBurnerButton1, kBurner1, {4, 9}, std::nullopt},
        LimitCase{"plenum 0 °F", false, kBurnerButton1, kBurner1, {kClr}, std::nullopt},
        LimitCase{"grain 160 °F", false, kGrainButton, grainSetpointMain, {1, 6, 0}, 160},
        LimitCase{"grain 161 °F", false, kGrainButton, grainSetpointMain, {1, 6, 1}, std::nullopt},
        LimitCase{"plenum 10 °C", true, kBurnerButton1, kBurner1, {1, 0}, 50},
        LimitCase{"plenum 9 °C", true, kBurnerButton1, kBurner1, {9}, std::nullopt},
        LimitCase{"plenum 1 °C is 35 °F", true, kBurnerButton1, kBurner1, {1}, std::nullopt},
        LimitCase{"plenum 120 °C", true, kBurnerButton1, kBurner1, {1, 2, 0}, 248},
        LimitCase{"plenum 121 °C would be 251 °F",
                  true,
                  kBurnerButton1,
                  kBurner1,
                  {1, 2, 1},
                  std::nullopt},
        LimitCase{"plenum 82 °C", true, kBurnerButton1, kBurner1, {8, 2}, 181},
        LimitCase{"grain 70 °C", true, kGrainButton, grainSetpointMain, {7, 0}, 158},
        LimitCase{"grain 71 °C would be 161 °F",
                  true,
                  kGrainButton,
                  grainSetpointMain,
                  {7, 1},
                  std::nullopt}),
    [](const ::testing::TestParamInfo<LimitCase>& test) {
        return "Case" + std::to_string(test.index);
    });

// A Celsius number becomes the °F value that shows as the same number again.
TEST(CelsiusEntry, ConvertsSoThatTheDisplayShowsTheSameNumber)
{
    EXPECT_EQ(CelsiusEntryToFahrenheit(10), 50);
    EXPECT_EQ(CelsiusEntryToFahrenheit(120), 248);
    EXPECT_EQ(CelsiusEntryToFahrenheit(1), 35);
    EXPECT_EQ(CelsiusEntryToFahrenheit(121), 251);
    for (int c = 0; c <= 999; ++c) {
        EXPECT_EQ(FahrenheitToCelsius(CelsiusEntryToFahrenheit(c)), c) << c << " °C";
    }
}

// ---- what ACCEPT and CANCEL leave behind ----

class TemperatureKeypadFlags : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(panel.started()); }
    // Puts the board's burner 1 setpoint at a value other than its default.
    void BoardAt(int fahrenheit) { panel.Pin(kBurner1, fahrenheit); }
    void OpenBurner1()
    {
        OpenSetpointScreen();
        ASSERT_TRUE(OpenKeypad(kBurnerButton1));
    }
    PanelRun panel;
};

TEST_F(TemperatureKeypadFlags, AcceptOfTheBoardsValueRaisesNoFlag)
{
    OpenBurner1();
    Type({1, 8, 0});
    Accept();
    EXPECT_EQ(Value(DesiredSettings, kBurner1), 180);
    EXPECT_FALSE(PendingCommand.IsSet(kBurner1.pending));
}

TEST_F(TemperatureKeypadFlags, AcceptWithoutAKeyKeepsTheSetpoint)
{
    BoardAt(200);
    OpenBurner1();
    Accept();
    EXPECT_FALSE(panel_test::TopMessageBox().has_value());
    EXPECT_EQ(Value(DesiredSettings, kBurner1), 200);
    EXPECT_FALSE(PendingCommand.IsSet(kBurner1.pending));
}

TEST_F(TemperatureKeypadFlags, DefaultThenAcceptStoresTheDefault)
{
    BoardAt(200);
    OpenBurner1();
    Type({kDef});
    Accept();
    EXPECT_EQ(Value(DesiredSettings, kBurner1), 180);
    EXPECT_TRUE(PendingCommand.IsSet(kBurner1.pending));
}

TEST_F(TemperatureKeypadFlags, CancelChangesNothing)
{
    OpenBurner1();
    Type({2, 0, 0});
    Cancel();
    EXPECT_FALSE(KeypadOpen());
    EXPECT_EQ(Value(DesiredSettings, kBurner1), 180);
    EXPECT_FALSE(PendingCommand.IsSet(kBurner1.pending));
}

// A change not yet echoed survives the keypad being opened on it again and cancelled: the
// value on its way is not replaced by the board's old one.
TEST_F(TemperatureKeypadFlags, CancelLeavesAChangeOnItsWay)
{
    OpenBurner1();
    Type({2, 0, 0});
    Accept();
    ASSERT_TRUE(PendingCommand.IsSet(kBurner1.pending));
    ASSERT_TRUE(OpenKeypad(kBurnerButton1));
    EXPECT_EQ(KeypadText(), OnKeypad(180));  // the keypad starts from what the board reports
    Type({9});
    Cancel();
    EXPECT_TRUE(PendingCommand.IsSet(kBurner1.pending));
    EXPECT_EQ(Value(DesiredSettings, kBurner1), 200);
}

TEST(TemperatureKeypadCelsius, DefaultThenAcceptStoresTheDefaultInFahrenheit)
{
    PanelRun panel(Dryer(1, true));
    ASSERT_TRUE(panel.started());
    panel.Pin(kBurner1, 200);
    OpenSetpointScreen();
    ASSERT_TRUE(OpenKeypad(kBurnerButton1));
    EXPECT_EQ(KeypadText(), OnKeypad(93, true));
    Type({kDef});
    EXPECT_EQ(KeypadText(), OnKeypad(82, true));
    Accept();
    EXPECT_FALSE(panel_test::TopMessageBox().has_value());
    EXPECT_EQ(Value(DesiredSettings, kBurner1), 180);
    EXPECT_TRUE(PendingCommand.IsSet(kBurner1.pending));
}

TEST(TemperatureKeypadCelsius, AcceptWithoutAKeyKeepsTheSetpoint)
{
    PanelRun panel(Dryer(1, true));
    ASSERT_TRUE(panel.started());
    panel.Pin(kBurner1, 200);
    OpenSetpointScreen();
    ASSERT_TRUE(OpenKeypad(kBurnerButton1));
    Accept();
    EXPECT_FALSE(panel_test::TopMessageBox().has_value());
    EXPECT_EQ(Value(DesiredSettings, kBurner1), 200);
    EXPECT_FALSE(PendingCommand.IsSet(kBurner1.pending));
}

// ---- the screen number ----

struct NumberCase {
    const char* name;
    int button;
    int shown;  // while the keypad is open
};

void PrintTo(const NumberCase& c, std::ostream* os)
{
    *os << c.name;
}

class TemperatureKeypadScreenNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(TemperatureKeypadScreenNumber, IsPublishedWhileOpenAndClearedOnClosing)
{
    sim::SimOptions options = Dryer(6);
    if (GetParam().button == kHiHeatButton || GetParam().button == kLoHeatButton) {
        options = Dryer(2);
        options.dryingType = kBatchDrying;
        options.dualHeat = 1;
    }
    PanelRun panel(options);
    ASSERT_TRUE(panel.started());
    OpenSetpointScreen();
    ASSERT_TRUE(OpenKeypad(GetParam().button));
    EXPECT_EQ(ScreenManagerState().entryContext, GetParam().shown);
    EXPECT_TRUE(ScreenManagerState().entryContextValid);
    Cancel();
    EXPECT_EQ(ScreenManagerState().entryContext, 0);
    EXPECT_TRUE(ScreenManagerState().entryContextValid);
}

INSTANTIATE_TEST_SUITE_P(Buttons, TemperatureKeypadScreenNumber,
                         ::testing::Values(NumberCase{"burner 1", kBurnerButton1, 5},
                                           NumberCase{"burner 2", kBurnerButton1 + 1, 6},
                                           NumberCase{"burner 3", kBurnerButton1 + 2, 7},
                                           NumberCase{"burner 4", kBurnerButton1 + 3, 8},
                                           NumberCase{"burner 5", kBurnerButton1 + 4, 9},
                                           NumberCase{"burner 6", kBurnerButton1 + 5, 10},
                                           NumberCase{"grain", kGrainButton, 5},
                                           NumberCase{"hi heat keeps the screen's", kHiHeatButton,
                                                      17},
                                           NumberCase{"lo heat", kLoHeatButton, 6}),
                         [](const ::testing::TestParamInfo<NumberCase>& test) {
                             return "Case" + std::to_string(test.index);
                         });

}  // namespace
