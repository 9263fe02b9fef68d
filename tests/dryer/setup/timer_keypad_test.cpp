// The minutes-and-seconds keypad on a running panel: what the two pads take and refuse, the
// limits of each timer stepped up to and across, what ACCEPT stores and which flag it raises,
// the screen number it publishes, and the batch timer buttons that open the same keypad.
#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/screens/batch_timers_panel.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/setup/timer_test_support.h"

namespace {

using namespace timer_test;
using panel_test::PanelRun;

// The simulated dryer reports a load startup delay of 00:30 and a fan startup delay of 00:03.
constexpr MinSec kSimLoadDelay{0, 30};

bool SamePair(MinSec a, MinSec b)
{
    return a.minutes == b.minutes && a.seconds == b.seconds;
}

// ---- typing ---------------------------------------------------------------------------------

struct TypingCase {
    const char* name;
    std::vector<int> keys;
    const wchar_t* entry;
};

void PrintTo(const TypingCase& c, std::ostream* os)
{
    *os << c.name;
}

class TimerKeypadTyping : public ::testing::TestWithParam<TypingCase> {};

TEST_P(TimerKeypadTyping, ShowsTheEntry)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenPageKeypad(kLoadDelayButton));
    EXPECT_EQ(Entry(), L" 000 : 30 ");  // the dryer's value to start from
    ASSERT_TRUE(Type(GetParam().keys));
    EXPECT_EQ(Entry(), GetParam().entry);
}

INSTANTIATE_TEST_SUITE_P(
    Pads, TimerKeypadTyping,
    ::testing::Values(
        // The first key clears the pad it is typed on; the other half keeps the dryer's value.
        TypingCase{"FirstMinutesKeyClearsMinutesOnly", {M(4)}, L" 004 : 30 "},
        TypingCase{"FirstSecondsKeyClearsSecondsOnly", {S(4)}, L" 000 : 04 "},
        TypingCase{"TwoFiveZeroGivesTwentyFive", {M(2), M(5), M(0)}, L" 025 : 30 "},
        TypingCase{"NoDigitAfterARefusedOne", {M(2), M(5), M(0), M(1)}, L" 025 : 30 "},
        TypingCase{"TwoFourNineGivesTheMost", {M(2), M(4), M(9)}, L" 249 : 30 "},
        TypingCase{"NoFourthMinutesDigit", {M(1), M(2), M(3), M(4)}, L" 123 : 30 "},
        TypingCase{"SevenThenFiveLeavesSeven", {S(7), S(5)}, L" 000 : 07 "},
        TypingCase{"FiveThenNineGivesFiftyNine", {S(5), S(9)}, L" 000 : 59 "},
        TypingCase{"NoThirdSecondsDigit", {S(1), S(2), S(3)}, L" 000 : 12 "},
        // A leading 0 is no digit: the pad stays in its first state.
        TypingCase{"LeadingZerosOnMinutes", {M(0), M(0), M(5), M(3)}, L" 053 : 30 "},
        TypingCase{"LeadingZeroOnSeconds", {S(0), S(4), S(5)}, L" 000 : 45 "},
        // DELETE takes back the last digit the pad took, not one it refused: the pad then takes
        // as many digits as if the refused one had never been typed.
        TypingCase{"DeleteAfterARefusedMinutesDigit",
                   {M(2), M(5), M(0), kMinutesDelete, M(4), M(9)},
                   L" 249 : 30 "},
        TypingCase{"DeleteAfterARefusedSecondsDigit",
                   {S(7), S(5), kSecondsDelete, S(3), S(5)},
                   L" 000 : 35 "},
        TypingCase{"DeleteDownToNothing",
                   {M(1), M(2), kMinutesDelete, kMinutesDelete, kMinutesDelete},
                   L" 000 : 30 "},
        // DEFAULT: 02:00 on this timer; typing goes on from it.
        TypingCase{"Default", {kDefaultKey}, L" 002 : 00 "},
        TypingCase{"DefaultThenAMinutesDigit", {kDefaultKey, M(5)}, L" 025 : 00 "},
        TypingCase{"DefaultThenSeconds", {kDefaultKey, S(5), S(9)}, L" 002 : 59 "}),
    [](const auto& row) { return std::string(row.param.name); });

// ---- limits ---------------------------------------------------------------------------------

struct LimitCase {
    const char* name;
    int button;
    ImageField field;
    bool configBit5;  // dryerConfigBits bit 5 (longer fan startup delays)
    std::vector<int> keys;
    MinSec typed;
    bool taken;
};

void PrintTo(const LimitCase& c, std::ostream* os)
{
    *os << c.name;
}

class TimerKeypadLimits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(TimerKeypadLimits, StoresOnlyWhatLiesWithin)
{
    const LimitCase& c = GetParam();
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    if (c.configBit5) panel.Pin(dryerConfigBits, towerBit.mask);
    const MinSec before = ReadTime(DesiredSettings, c.field);
    ASSERT_TRUE(OpenPageKeypad(c.button));
    ASSERT_TRUE(Type(c.keys));
    if (c.taken) {
        ASSERT_TRUE(AcceptIsTaken());
        EXPECT_TRUE(SamePair(ReadTime(DesiredSettings, c.field), c.typed));
        EXPECT_TRUE(PendingCommand.IsSet(c.field.pending));
    } else {
        ASSERT_TRUE(AcceptIsRefused());
        EXPECT_FALSE(KeypadOpen());
        EXPECT_TRUE(SamePair(ReadTime(DesiredSettings, c.field), before));
        EXPECT_FALSE(PendingCommand.IsSet(c.field.pending));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Timers, TimerKeypadLimits,
    ::testing::Values(
        // load startup delay, 00:10 to 10:00
        LimitCase{
            "LoadDelay0009", kLoadDelayButton, loadDelaySetting, false, {S(9)}, {0, 9}, false},
        LimitCase{"LoadDelay0010",
                  kLoadDelayButton,
                  loadDelaySetting,
                  false,
                  {S(1), S(0)},
                  {0, 10},
                  true},
        LimitCase{"LoadDelay1000",
                  kLoadDelayButton,
                  loadDelaySetting,
                  false,
                  {M(1), M(0), S(0)},
                  {10, 0},
                  true},
        LimitCase{"LoadDelay1001",
                  kLoadDelayButton,
                  loadDelaySetting,
                  false,
                  {M(1), M(0), S(1)},
                  {10, 1},
                  false},
        // out-of-grain timer, 00:00 to 30:00
        LimitCase{"OutOfGrain0000",
                  kOutOfGrainButton,
                  loadTimerSetting,
                  false,
                  {M(0), S(0)},
                  {0, 0},
                  true},
        LimitCase{"OutOfGrain3000",
                  kOutOfGrainButton,
                  loadTimerSetting,
                  false,
                  {M(3), M(0), S(0)},
                  {30, 0},
                  true},
        LimitCase{"OutOfGrain3001",
                  kOutOfGrainButton,
                  loadTimerSetting,
                  false,
                  {M(3), M(0), S(1)},
                  {30, 1},
                  false},
        // fan startup delay, 00:01 to 00:25, or to 00:59 with bit 5 of the configuration
        LimitCase{
            "FanDelay0000", kFanDelayButton, fanStartDelaySetting, false, {S(0)}, {0, 0}, false},
        LimitCase{
            "FanDelay0001", kFanDelayButton, fanStartDelaySetting, false, {S(1)}, {0, 1}, true},
        LimitCase{"FanDelay0025",
                  kFanDelayButton,
                  fanStartDelaySetting,
                  false,
                  {S(2), S(5)},
                  {0, 25},
                  true},
        LimitCase{"FanDelay0026",
                  kFanDelayButton,
                  fanStartDelaySetting,
                  false,
                  {S(2), S(6)},
                  {0, 26},
                  false},
        LimitCase{"FanDelay0026WithBit5",
                  kFanDelayButton,
                  fanStartDelaySetting,
                  true,
                  {S(2), S(6)},
                  {0, 26},
                  true},
        LimitCase{"FanDelay0059WithBit5",
                  kFanDelayButton,
                  fanStartDelaySetting,
                  true,
                  {S(5), S(9)},
                  {0, 59},
                  true},
        LimitCase{"FanDelay0100WithBit5",
                  kFanDelayButton,
                  fanStartDelaySetting,
                  true,
                  {M(1), S(0)},
                  {1, 0},
                  false},
        // fan run time after a shutdown, 00:00 to 60:00
        LimitCase{"FanRunAfter6000",
                  kFanRunAfterButton,
                  fanRunAfterShutdownSetting,
                  false,
                  {M(6), M(0), S(0)},
                  {60, 0},
                  true},
        LimitCase{"FanRunAfter6001",
                  kFanRunAfterButton,
                  fanRunAfterShutdownSetting,
                  false,
                  {M(6), M(0), S(1)},
                  {60, 1},
                  false},
        // unload cleanout delay, 00:00 to 10:00
        LimitCase{"UnloadDelay0000",
                  kUnloadDelayButton,
                  unloadRunOnSetting,
                  false,
                  {M(0), S(0)},
                  {0, 0},
                  true},
        LimitCase{"UnloadDelay1000",
                  kUnloadDelayButton,
                  unloadRunOnSetting,
                  false,
                  {M(1), M(0), S(0)},
                  {10, 0},
                  true},
        LimitCase{"UnloadDelay1001",
                  kUnloadDelayButton,
                  unloadRunOnSetting,
                  false,
                  {M(1), M(0), S(1)},
                  {10, 1},
                  false}),
    [](const auto& row) { return std::string(row.param.name); });

// ---- what ACCEPT and CANCEL leave -----------------------------------------------------------

TEST(TimerKeypadAccept, DefaultThenAcceptStoresTheDefault)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenPageKeypad(kLoadDelayButton));
    ASSERT_TRUE(Type({kDefaultKey}));
    ASSERT_TRUE(AcceptIsTaken());
    EXPECT_TRUE(SamePair(ReadTime(DesiredSettings, loadDelaySetting), MinSec{2, 0}));
    EXPECT_TRUE(PendingCommand.IsSet(Pending::loadDelay));
}

TEST(TimerKeypadAccept, CancelLeavesDesiredValueAndFlag)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenPageKeypad(kLoadDelayButton));
    ASSERT_TRUE(Type({M(5), S(0)}));
    ASSERT_TRUE(platform::PressControl(kCancel));
    EXPECT_FALSE(KeypadOpen());
    EXPECT_FALSE(PendingCommand.IsSet(Pending::loadDelay));
    EXPECT_FALSE(SamePair(ReadTime(DesiredSettings, loadDelaySetting), MinSec{5, 0}));
}

// The value the dryer already has is written but not sent again.
TEST(TimerKeypadAccept, TheDryersOwnValueRaisesNoFlag)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenPageKeypad(kLoadDelayButton));
    ASSERT_TRUE(Type({S(3), S(0)}));
    ASSERT_TRUE(AcceptIsTaken());
    EXPECT_TRUE(SamePair(ReadTime(DesiredSettings, loadDelaySetting), kSimLoadDelay));
    EXPECT_FALSE(PendingCommand.IsSet(Pending::loadDelay));
}

// A change still on its way to the dryer survives a keypad that is opened again and left.
TEST(TimerKeypadAccept, CancelOrRefusalKeepsAChangeOnItsWay)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenPageKeypad(kLoadDelayButton));
    ASSERT_TRUE(Type({M(5), S(0)}));
    ASSERT_TRUE(AcceptIsTaken());  // the panel clock stands still: nothing is sent yet
    ASSERT_TRUE(OpenPageKeypad(kLoadDelayButton));
    EXPECT_EQ(Entry(), L" 000 : 30 ");
    ASSERT_TRUE(platform::PressControl(kCancel));
    ASSERT_TRUE(OpenPageKeypad(kLoadDelayButton));
    ASSERT_TRUE(Type({S(5)}));
    ASSERT_TRUE(AcceptIsRefused());
    EXPECT_TRUE(SamePair(ReadTime(DesiredSettings, loadDelaySetting), MinSec{5, 0}));
    EXPECT_TRUE(PendingCommand.IsSet(Pending::loadDelay));
    // Taking the dryer's value back: written, and the raised flag now carries it.
    ASSERT_TRUE(OpenPageKeypad(kLoadDelayButton));
    ASSERT_TRUE(Type({S(3), S(0)}));
    ASSERT_TRUE(AcceptIsTaken());
    EXPECT_TRUE(SamePair(ReadTime(DesiredSettings, loadDelaySetting), kSimLoadDelay));
    EXPECT_TRUE(PendingCommand.IsSet(Pending::loadDelay));
}

// Seconds of 60 or more reported by the dryer are not passed on when the operator types only
// minutes, even though the total lies within the limits (02:75 is 195 seconds).
TEST(TimerKeypadAccept, SecondsAboveFiftyNineAreNeverStored)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.Pin(loadDelaySetting, MinSec{2, 75});
    const MinSec before = ReadTime(DesiredSettings, loadDelaySetting);
    ASSERT_TRUE(OpenPageKeypad(kLoadDelayButton));
    EXPECT_EQ(Entry(), L" 002 : 75 ");
    ASSERT_TRUE(Type({M(3)}));
    EXPECT_EQ(Entry(), L" 003 : 75 ");
    ASSERT_TRUE(AcceptIsRefused());
    EXPECT_TRUE(SamePair(ReadTime(DesiredSettings, loadDelaySetting), before));
    EXPECT_FALSE(PendingCommand.IsSet(Pending::loadDelay));
    // Retyping the seconds makes it a time the dryer can take.
    ASSERT_TRUE(OpenPageKeypad(kLoadDelayButton));
    ASSERT_TRUE(Type({M(3), S(1), S(5)}));
    ASSERT_TRUE(AcceptIsTaken());
    EXPECT_TRUE(SamePair(ReadTime(DesiredSettings, loadDelaySetting), MinSec{3, 15}));
}

// ---- what the keypad shows and publishes ----------------------------------------------------

TEST(TimerKeypadScreen, ShowsTheLimitsOfTheTimer)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenPageKeypad(kFanDelayButton));
    const auto keypad = Keypad();
    ASSERT_TRUE(keypad.has_value());
    EXPECT_NE(FindText(keypad->texts, L"  Default = 00 : 03  "), nullptr);
    EXPECT_NE(FindText(keypad->texts, L"  Maximum = 00 : 25  "), nullptr);
    EXPECT_NE(FindText(keypad->texts, L"  Minimum = 00 : 01  "), nullptr);
    EXPECT_EQ(Entry(), L" 000 : 03 ");
    EXPECT_EQ(ColourOf(keypad->texts, Entry()), 0x00FA0032u);
    ExpectLaidOutCleanly(*keypad);
    ASSERT_TRUE(Type({M(2), M(4), M(9), S(5), S(9)}));  // the widest entry still fits
    const auto widest = Keypad();
    ASSERT_TRUE(widest.has_value());
    ExpectLaidOutCleanly(*widest);
}

struct ScreenNumberCase {
    int button;
    int number;
};

class TimerKeypadScreenNumber : public ::testing::TestWithParam<ScreenNumberCase> {};

TEST_P(TimerKeypadScreenNumber, PublishedWhileOpenClearedAfter)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    // First a keypad of another page, so that a number left over would show.
    ASSERT_TRUE(OpenPageKeypad(GetParam().button == kLoadDelayButton ? kOutOfGrainButton
                                                                     : kLoadDelayButton));
    ASSERT_TRUE(platform::PressControl(kCancel));
    ASSERT_TRUE(OpenPageKeypad(GetParam().button));
    EXPECT_EQ(ScreenManagerState().entryContext, GetParam().number);
    EXPECT_TRUE(ScreenManagerState().entryContextValid);
    ASSERT_TRUE(platform::PressControl(kCancel));
    EXPECT_EQ(ScreenManagerState().entryContext, 0);
    EXPECT_TRUE(ScreenManagerState().entryContextValid);
    // ACCEPT clears it as CANCEL does.
    ASSERT_TRUE(OpenPageKeypad(GetParam().button));
    ASSERT_TRUE(Type({kDefaultKey}));
    ASSERT_TRUE(AcceptIsTaken());
    EXPECT_EQ(ScreenManagerState().entryContext, 0);
}

INSTANTIATE_TEST_SUITE_P(Pages, TimerKeypadScreenNumber,
                         ::testing::Values(ScreenNumberCase{kLoadDelayButton, 3},
                                           ScreenNumberCase{kOutOfGrainButton, 2},
                                           ScreenNumberCase{kFanDelayButton, 4},
                                           ScreenNumberCase{kFanRunAfterButton, 4},
                                           ScreenNumberCase{kUnloadDelayButton, 4}));

// ---- the batch timer panel's buttons --------------------------------------------------------

struct BatchCase {
    const char* name;
    int button;
    bool dualHeat;
    ImageField field;
    int maximumMinutes;
    int defaultMinutes;
};

void PrintTo(const BatchCase& c, std::ostream* os)
{
    *os << c.name;
}

class BatchTimerKeypad : public ::testing::TestWithParam<BatchCase> {};

bool OpenBatchKeypad(PanelRun& panel, const BatchCase& c)
{
    panel.Pin(dryerOptions, c.dualHeat ? dualHeatBit.mask : 0);
    panel.Pin(dryingType, kBatchDrying);
    return platform::PressControl(c.button) && KeypadOpen();
}

// Typing the maximum, e.g. 200 then 00 seconds, or one second more.
std::vector<int> TypeMinutes(int minutes, int seconds)
{
    std::vector<int> keys;
    for (char d : std::to_string(minutes)) keys.push_back(M(d - '0'));
    keys.push_back(S(0));
    if (seconds > 0) keys.push_back(S(seconds));
    return keys;
}

TEST_P(BatchTimerKeypad, OpensOnTheSettingWithItsLimits)
{
    const BatchCase& c = GetParam();
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenBatchKeypad(panel, c));
    const MinSec setting = ReadTime(DryerImage, c.field);
    wchar_t entry[32];
    std::swprintf(entry, std::size(entry), L" %03d : %02d ", setting.minutes, setting.seconds);
    EXPECT_EQ(Entry(), entry);
    wchar_t maximum[32];
    wchar_t defaultText[32];
    std::swprintf(maximum, std::size(maximum), L"  Maximum = %02d : 00  ", c.maximumMinutes);
    std::swprintf(defaultText, std::size(defaultText), L"  Default = %02d : 00  ",
                  c.defaultMinutes);
    const auto keypad = Keypad();
    ASSERT_TRUE(keypad.has_value());
    EXPECT_NE(FindText(keypad->texts, maximum), nullptr);
    EXPECT_NE(FindText(keypad->texts, defaultText), nullptr);
    EXPECT_NE(FindText(keypad->texts, L"  Minimum = 00 : 00  "), nullptr);
    // One second over the maximum is refused...
    ASSERT_TRUE(Type(TypeMinutes(c.maximumMinutes, 1)));
    ASSERT_TRUE(AcceptIsRefused());
    EXPECT_FALSE(PendingCommand.IsSet(c.field.pending));
    // ... the maximum itself is taken and sent.
    ASSERT_TRUE(platform::PressControl(c.button));
    ASSERT_TRUE(Type(TypeMinutes(c.maximumMinutes, 0)));
    ASSERT_TRUE(AcceptIsTaken());
    EXPECT_TRUE(SamePair(ReadTime(DesiredSettings, c.field), MinSec{c.maximumMinutes, 0}));
    EXPECT_TRUE(PendingCommand.IsSet(c.field.pending));
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, BatchTimerKeypad,
    ::testing::Values(BatchCase{"Dry", kBatchDryButton, false, dryTimerSetting, 200, 60},
                      BatchCase{"HiHeat", kBatchHiHeatButton, true, dryTimerSetting, 200, 60},
                      BatchCase{"LoHeat", kBatchLoHeatButton, true, loHeatTimerSetting, 200, 60},
                      BatchCase{"Cool", kBatchCoolButton, false, coolTimerSetting, 60, 20},
                      BatchCase{"Unload", kBatchUnloadButton, false, unloadTimerSetting, 60, 10}),
    [](const auto& row) { return std::string(row.param.name); });

// The home screen has no screen number of its own: the batch keypad publishes none, and it does
// not bring back the number of a timer page's keypad.
TEST(BatchTimerKeypadScreen, PublishesNoNumber)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenPageKeypad(kLoadDelayButton));
    ASSERT_TRUE(platform::PressControl(kCancel));
    ASSERT_TRUE(platform::PressControl(kTimerSelectExit));
    panel.Pin(dryingType, kBatchDrying);
    ASSERT_TRUE(platform::PressControl(kBatchCoolButton));
    ASSERT_TRUE(KeypadOpen());
    EXPECT_EQ(ScreenManagerState().entryContext, 0);
    ASSERT_TRUE(platform::PressControl(kCancel));
    EXPECT_EQ(ScreenManagerState().entryContext, 0);
    EXPECT_TRUE(ScreenManagerState().entryContextValid);
}

}  // namespace
