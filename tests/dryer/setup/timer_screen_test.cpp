// The timer screen on a running panel: its four pages with their captions, the reload values
// the dryer reports, the descriptions, defaults and ranges, the previous load time in both of
// its forms, the leave button, and, end to end against the simulated board, a timer typed on
// the keypad that reaches the dryer and comes back on its page.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "dryer/screens/screen_procs.h"
#include "resources/orbitdryer/panel_colours.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/setup/timer_test_support.h"

namespace {

using namespace timer_test;
using panel_test::PanelRun;

constexpr COLORREF kPurple = 0x00FF00B0;     // RGB 176, 0, 255: the defaults
constexpr COLORREF kRangeBlue = 0x00C00010;  // RGB 16, 0, 192: the ranges
constexpr COLORREF kLoadGreen = 0x000A7D11;  // RGB 17, 125, 10: the previous load

// ---- the pages ------------------------------------------------------------------------------

struct PageCase {
    const wchar_t* className;
    const wchar_t* caption;
    int x, y;  // within the timer screen's client area
};

TEST(TimerScreen, ShowsFourCaptionedPagesAndLeaves)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(ShowTimerScreen());
    const auto screen = panel_test::FindShown(L"TIMER_SELECT_WINDOW");
    ASSERT_TRUE(screen.has_value());
    EXPECT_EQ(screen->title, L" SELECT TIMER TO MODIFY - 01");
    const RECT client = ClientOf(*screen);
    const PageCase pages[] = {
        {kLoadDelayPageClass, L" Load Startup Delay", 0, 0},
        {kOutOfGrainPageClass, L" Out of Grain Timer", 316, 0},
        {kFanPageClass, L" Fan Setup", 0, 191},
        {kUnloadDelayPageClass, L" Unload Cleanout Delay", 316, 191},
    };
    for (const PageCase& p : pages) {
        const auto page = panel_test::FindShown(p.className);
        ASSERT_TRUE(page.has_value()) << panel_test::Narrow(p.className);
        EXPECT_EQ(page->title, p.caption);
        EXPECT_EQ(page->rect.left, client.left + p.x);
        EXPECT_EQ(page->rect.top, client.top + p.y);
        EXPECT_EQ(page->rect.right - page->rect.left, 314);
        EXPECT_EQ(page->rect.bottom - page->rect.top, 190);
    }
    EXPECT_FALSE(panel_test::Shown(L"DRYER_PIC_WINDOW"));
    ASSERT_TRUE(platform::PressControl(kTimerSelectExit));
    EXPECT_FALSE(panel_test::Shown(L"TIMER_SELECT_WINDOW"));
    EXPECT_FALSE(panel_test::Shown(kLoadDelayPageClass));
    EXPECT_TRUE(panel_test::Shown(L"DRYER_PIC_WINDOW"));
}

struct ReloadCase {
    const wchar_t* className;
    ImageField field;
    MinSec pinned;
    const wchar_t* minutes;
    const wchar_t* seconds;
};

void PrintTo(const ReloadCase& c, std::ostream* os)
{
    *os << panel_test::Narrow(c.className);
}

class PageReloadValue : public ::testing::TestWithParam<ReloadCase> {};

TEST_P(PageReloadValue, ShowsWhatTheDryerReports)
{
    const ReloadCase& c = GetParam();
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.Pin(c.field, c.pinned);
    ASSERT_TRUE(ShowTimerScreen());
    const auto texts = TextsOf(c.className);
    EXPECT_EQ(ColourOf(texts, L"Reload Value"), kBlue);
    EXPECT_EQ(ColourOf(texts, c.minutes), kRed);
    EXPECT_EQ(ColourOf(texts, c.seconds), kRed);
}

INSTANTIATE_TEST_SUITE_P(
    Timers, PageReloadValue,
    ::testing::Values(
        ReloadCase{kLoadDelayPageClass, loadDelaySetting, {1, 5}, L"001 Minutes", L"05 Seconds"},
        ReloadCase{kOutOfGrainPageClass, loadTimerSetting, {12, 40}, L"012 Minutes", L"40 Seconds"},
        ReloadCase{kFanPageClass, fanStartDelaySetting, {0, 17}, L"000 Minutes", L"17 Seconds"},
        ReloadCase{
            kFanPageClass, fanRunAfterShutdownSetting, {45, 9}, L"045 Minutes", L"09 Seconds"},
        ReloadCase{
            kUnloadDelayPageClass, unloadRunOnSetting, {255, 59}, L"255 Minutes", L"59 Seconds"}));

struct TextCase {
    const wchar_t* text;
    COLORREF colour;
};

struct PageTextsCase {
    const wchar_t* className;
    std::vector<TextCase> texts;
};

void PrintTo(const PageTextsCase& c, std::ostream* os)
{
    *os << panel_test::Narrow(c.className);
}

class PageTexts : public ::testing::TestWithParam<PageTextsCase> {};

TEST_P(PageTexts, DescribeTheTimerAndFitThePage)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.Pin(unloadRunOnSetting, MinSec{255, 59});  // the widest reload value
    ASSERT_TRUE(ShowTimerScreen());
    const auto page = panel_test::FindShown(GetParam().className);
    ASSERT_TRUE(page.has_value());
    for (const TextCase& t : GetParam().texts) {
        EXPECT_EQ(ColourOf(page->texts, t.text), t.colour) << panel_test::Narrow(t.text);
    }
    ExpectLaidOutCleanly(*page);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageTexts,
    ::testing::Values(
        // The range says the 10 seconds the dryer takes as the shortest load startup delay.
        PageTextsCase{kLoadDelayPageClass,
                      {{L"Sets the minimum time delay between dryer calling", kBlack},
                       {L"for grain and the start of the load motor.", kBlack},
                       {L"[Default = 2 Minute]", kPurple},
                       {L"[Range is 10 Seconds to 10 Minutes]", kRangeBlue}}},
        PageTextsCase{kOutOfGrainPageClass,
                      {{L"Sets maximum time allowed for dryer to fill.", kBlack},
                       {L"[Default = 8 Minutes]", kPurple},
                       {L"[Range is 0 to 30 Minutes]", kRangeBlue}}},
        PageTextsCase{kFanPageClass,
                      {{L"Time delay between multiple fan startup", kBlack},
                       {L"Time period fans will run after a shutdown", kBlack}}},
        PageTextsCase{kUnloadDelayPageClass,
                      {{L"Sets the amount of time unload auger(s) run after", kBlack},
                       {L"unload system is turned off.", kBlack},
                       {L"[Default = 1 Minute]", kPurple},
                       {L"[Range is 0 to 10 Minutes]", kRangeBlue}}}));

TEST(FanPage, HasTwoReloadValuesAndNoDefaultOrRange)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(ShowTimerScreen());
    int reloadLabels = 0;
    for (const auto& t : TextsOf(kFanPageClass)) {
        reloadLabels += t.text == L"Reload Value" ? 1 : 0;
        EXPECT_EQ(t.text.find(L"[Default"), std::wstring::npos);
        EXPECT_EQ(t.text.find(L"[Range"), std::wstring::npos);
    }
    EXPECT_EQ(reloadLabels, 2);
}

// ---- the previous load time -----------------------------------------------------------------

TEST(PreviousLoadTime, ShownWhileLoadIsInAutoAndFollowsTheLoadSwitch)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.Pin(loadStatusBits, 0);  // no load starts or ends during the test
    PreviousLoadTime.store(12 * 60 + 34);
    panel.Pin(switchInputs179, loadOnBit.mask | loadAutoBit.mask);
    ASSERT_TRUE(ShowTimerScreen());
    auto texts = TextsOf(kOutOfGrainPageClass);
    EXPECT_EQ(ColourOf(texts, L"Previous Load Timer is only"), kLoadGreen);
    EXPECT_EQ(ColourOf(texts, L"functional when load is in Auto"), kLoadGreen);
    EXPECT_EQ(FindText(texts, L"Value for previous load operation"), nullptr);

    // The load switch goes to automatic while the screen is shown: the page follows.
    panel.Pin(switchInputs179, loadAutoBit.mask);
    texts = TextsOf(kOutOfGrainPageClass);
    EXPECT_EQ(ColourOf(texts, L"Value for previous load operation"), kLoadGreen);
    EXPECT_EQ(ColourOf(texts, L"was 012 Minutes and 34 Seconds."), kLoadGreen);
    EXPECT_EQ(FindText(texts, L"Previous Load Timer is only"), nullptr);
}

TEST(PreviousLoadTime, TheLongestLoadFitsThePage)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.Pin(loadStatusBits, 0);
    panel.Pin(switchInputs179, loadAutoBit.mask);
    PreviousLoadTime.store(kPreviousLoadTimeMax);
    ASSERT_TRUE(ShowTimerScreen());
    const auto page = panel_test::FindShown(kOutOfGrainPageClass);
    ASSERT_TRUE(page.has_value());
    EXPECT_NE(FindText(page->texts, L"was 1440 Minutes and 00 Seconds."), nullptr);
    ExpectLaidOutCleanly(*page);
}

// ---- end to end -----------------------------------------------------------------------------

struct RoundTripCase {
    const char* name;
    int button;
    const wchar_t* className;
    ImageField field;
    std::vector<int> keys;
    MinSec typed;
    const wchar_t* minutes;
    const wchar_t* seconds;
};

void PrintTo(const RoundTripCase& c, std::ostream* os)
{
    *os << c.name;
}

class TimerRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(TimerRoundTrip, ReachesTheDryerAndComesBackOnThePage)
{
    const RoundTripCase& c = GetParam();
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenPageKeypad(c.button));
    ASSERT_TRUE(Type(c.keys));
    ASSERT_TRUE(AcceptIsTaken());
    ASSERT_TRUE(PendingCommand.IsSet(c.field.pending));
    // Until the dryer echoes it, the page shows the dryer's old value.
    EXPECT_EQ(FindText(TextsOf(c.className), c.seconds), nullptr);

    panel.Cycles(3);
    EXPECT_EQ(panel_test::SimByte(panel.sim(), c.field), c.typed.minutes);
    const ImageField secondsByte = Byte(static_cast<std::uint16_t>(c.field.offset + 1));
    EXPECT_EQ(panel_test::SimByte(panel.sim(), secondsByte), c.typed.seconds);
    EXPECT_FALSE(PendingCommand.IsSet(c.field.pending));
    const auto texts = TextsOf(c.className);
    EXPECT_EQ(ColourOf(texts, c.minutes), kRed);
    EXPECT_EQ(ColourOf(texts, c.seconds), kRed);
}

INSTANTIATE_TEST_SUITE_P(Timers, TimerRoundTrip,
                         ::testing::Values(RoundTripCase{"LoadDelay",
                                                         kLoadDelayButton,
                                                         kLoadDelayPageClass,
                                                         loadDelaySetting,
                                                         {M(5), S(0)},
                                                         {5, 0},
                                                         L"005 Minutes",
                                                         L"00 Seconds"},
                                           RoundTripCase{"OutOfGrain",
                                                         kOutOfGrainButton,
                                                         kOutOfGrainPageClass,
                                                         loadTimerSetting,
                                                         {M(1), M(2), S(3), S(0)},
                                                         {12, 30},
                                                         L"012 Minutes",
                                                         L"30 Seconds"},
                                           RoundTripCase{"FanDelay",
                                                         kFanDelayButton,
                                                         kFanPageClass,
                                                         fanStartDelaySetting,
                                                         {S(1), S(5)},
                                                         {0, 15},
                                                         L"000 Minutes",
                                                         L"15 Seconds"},
                                           // A field of the second page of addresses (269-270).
                                           RoundTripCase{"FanRunAfter",
                                                         kFanRunAfterButton,
                                                         kFanPageClass,
                                                         fanRunAfterShutdownSetting,
                                                         {M(3), S(1), S(5)},
                                                         {3, 15},
                                                         L"003 Minutes",
                                                         L"15 Seconds"},
                                           RoundTripCase{"UnloadDelay",
                                                         kUnloadDelayButton,
                                                         kUnloadDelayPageClass,
                                                         unloadRunOnSetting,
                                                         {M(7), S(4), S(5)},
                                                         {7, 45},
                                                         L"007 Minutes",
                                                         L"45 Seconds"}),
                         [](const auto& row) { return std::string(row.param.name); });

// The screen shown again after the dryer changed a value while it was hidden shows the new one.
TEST(TimerScreen, ShownAgainShowsTheDryersValues)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(ShowTimerScreen());
    ASSERT_TRUE(platform::PressControl(kTimerSelectExit));
    panel.Pin(loadDelaySetting, MinSec{4, 44});
    ASSERT_TRUE(ShowTimerScreen());
    const auto texts = TextsOf(kLoadDelayPageClass);
    EXPECT_NE(FindText(texts, L"004 Minutes"), nullptr);
    EXPECT_NE(FindText(texts, L"44 Seconds"), nullptr);
}

}  // namespace
