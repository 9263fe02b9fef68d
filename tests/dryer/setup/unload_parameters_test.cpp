// "Unload Parameters - 11": the limits it opens on and their bushels per hour on each basis,
// the steps and their bounds, limits that meet (the one-time warning and ACCEPT's question),
// what ACCEPT sends (and only that), CANCEL, HELP, and the dryer taking the new limits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/setup/setup_selection.h"
#include "dryer/setup/unload_parameters.h"
#include "dryer/setup/unload_rates.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/setup/service_screens_support.h"
#include "tests/dryer/setup/setup_support.h"

namespace {

using namespace setup_test;
using panel_test::PanelRun;
using service_test::Report;

constexpr ImageField kMaximum = unloadRateLimit.Element(0);
constexpr ImageField kMinimum = unloadRateLimit.Element(1);
constexpr int kTwentyFeet = 6;  // dryerLengthCode

const std::wstring kShortWarning =
    L"The MAXIMUM unload rate must be greater than MINIMUM unload rate.  Set defaults?.";
const std::wstring kAcceptWarning =
    L"The MAXIMUM unload rate must be greater than MINIMUM unload rate.  \t\t\t\t\t\t\t\t\t\t\t"
    L"Set defaults?  Pressing YES will set defaults (Hi = 80% and Low = 10%).   "
    L"\t\t\t\t\t\t\t\t\t\t\tPressing NO will not change the previous settings.";

bool OpenWithLimits(PanelRun& panel, int maximum, int minimum, Report more = {})
{
    for (const auto& [field, value] : more) panel_test::SetOnBoard(panel.sim(), field, value);
    return service_test::OpenWith(panel, {{kMaximum, maximum}, {kMinimum, minimum}},
                                  kSetupUnloadButton, kUnloadParametersTitle);
}

bool Press(int id, int times = 1)
{
    for (int i = 0; i < times; ++i) {
        if (!platform::PressControl(id)) return false;
    }
    return true;
}

std::wstring ShownLimits()
{
    return Text(kUnloadMaximumPercent) + L"/" + Text(kUnloadMinimumPercent);
}

bool ScreenOpen()
{
    return panel_test::FindTitled(kUnloadParametersTitle).has_value();
}

// The question on top, checked for its caption, stop-sign buttons and text; then answered.
void Answer(const std::wstring& text, const wchar_t* answer)
{
    const auto box = panel_test::TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, kUnloadRatesErrorCaption);
    EXPECT_EQ(box->messageText, text);
    EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
    ASSERT_TRUE(platform::AnswerMessageBox(answer));
}

int FrameOf(int id)
{
    switch (id) {
        case kUnloadMaximumBph:
        case kUnloadMaximumPercent:
        case kUnloadMaximumIncrease:
        case kUnloadMaximumDecrease:
        case kUnloadMaximumFootnote:
        case UnloadUnitLabelId(kUnloadMaximumBph):
        case UnloadUnitLabelId(kUnloadMaximumPercent): return kUnloadMaximumFrame;
        case kUnloadMinimumBph:
        case kUnloadMinimumPercent:
        case kUnloadMinimumIncrease:
        case kUnloadMinimumDecrease:
        case kUnloadMinimumFootnote:
        case UnloadUnitLabelId(kUnloadMinimumBph):
        case UnloadUnitLabelId(kUnloadMinimumPercent): return kUnloadMinimumFrame;
        case kUnloadMaximumFrame:
        case kUnloadMinimumFrame: return id;
    }
    return 0;
}

TEST(UnloadRates, LengthsCapacitiesAndBushelsPerHour)
{
    EXPECT_EQ(DryerLengthFeet(0), 8);
    EXPECT_EQ(DryerLengthFeet(kTwentyFeet), 20);
    EXPECT_EQ(DryerLengthFeet(10), 28);
    EXPECT_EQ(DryerLengthFeet(11), 34);  // no 30 or 32 ft dryers
    EXPECT_EQ(DryerLengthFeet(14), 40);
    EXPECT_EQ(DryerLengthFeet(15), 0);
    // The five capacity ranges and their footnotes.
    const int firstOfRange[] = {0, 4, 6, 7, 9};
    const int lastOfRange[] = {3, 5, 6, 8, 200};
    for (int range = 0; range < 5; ++range) {
        const UnloadCapacity& row = UnloadCapacityOf(firstOfRange[range]);
        EXPECT_EQ(&row, &UnloadCapacityOf(lastOfRange[range])) << range;
        EXPECT_EQ(row.footnote,
                  L"*Based upon " + std::to_wstring(row.bushelsPerHour) + L" BPH capacity.");
        EXPECT_EQ(std::wstring(row.models).rfind(L"Model", 0), 0u);
    }
    EXPECT_NE(&UnloadCapacityOf(3), &UnloadCapacityOf(4));
}

struct BasisCase {
    const char* name;
    int configBits, ioByte183, percent;
    std::wstring bph, footnote;
};

class UnloadBasis : public ::testing::TestWithParam<BasisCase> {};

TEST_P(UnloadBasis, BushelsPerHourAndFootnoteFollowTheDryersBuild)
{
    const BasisCase& c = GetParam();
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWithLimits(panel, c.percent, 10,
                               {{dryerLengthCode, kTwentyFeet},
                                {dryerConfigBits, c.configBits},
                                {ioBits.Element(6), c.ioByte183}}));
    EXPECT_EQ(Text(kUnloadMaximumPercent), std::to_wstring(c.percent));
    EXPECT_EQ(Text(kUnloadMaximumBph), c.bph);
    EXPECT_EQ(Text(kUnloadMaximumFootnote), c.footnote);
    EXPECT_EQ(Text(kUnloadMinimumFootnote), c.footnote);
    service_test::Screenshot(std::string("unload-parameters-") + c.name);
    ASSERT_TRUE(Press(kUnloadCancel));
}

INSTANTIATE_TEST_SUITE_P(
    Bases, UnloadBasis,
    ::testing::Values(
        BasisCase{"SevenInchRolls", 0x00, 0x00, 50, L"1406", L""},
        BasisCase{"FourInchRolls", 0x00, 0x02, 50, L"1296", L""},
        BasisCase{"Length", 0x80, 0x00, 100, L"2812", L"*Based upon 20ft dryer @ 17.5 RPM."},
        BasisCase{"Capacity", 0x20, 0x00, 50, L"400", L"*Based upon 800 BPH capacity."},
        // Both switches: the length footnote, the capacity's bushels.
        BasisCase{"Both", 0xA0, 0x00, 25, L"200", L"*Based upon 20ft dryer @ 17.5 RPM."}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(UnloadParameters, OpensOnTheDryersLimitsAndStepsWithinZeroToHundred)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWithLimits(panel, 99, 1, {{dryerLengthCode, kTwentyFeet}}));
    EXPECT_EQ(ShownLimits(), L"99/1");
    EXPECT_EQ(Text(kUnloadMinimumBph), L"28");  // 20 ft x 1 % x 140.62021
    ExpectTidyLayout(kUnloadParametersTitle, FrameOf);
    ASSERT_TRUE(Press(kUnloadMaximumIncrease, 3));
    ASSERT_TRUE(Press(kUnloadMinimumDecrease, 3));
    EXPECT_EQ(ShownLimits(), L"100/0");
    EXPECT_EQ(Text(kUnloadMaximumBph), L"2812");
    EXPECT_EQ(Text(kUnloadMinimumBph), L"0");
    ASSERT_TRUE(Press(kUnloadMaximumDecrease, 2));
    ASSERT_TRUE(Press(kUnloadMinimumIncrease));
    EXPECT_EQ(ShownLimits(), L"98/1");
    EXPECT_FALSE(panel_test::TopMessageBox().has_value());
    EXPECT_TRUE(SetupFlagsSet().empty());  // nothing before ACCEPT
    ASSERT_TRUE(Press(kUnloadCancel));
    EXPECT_FALSE(ScreenOpen());
    EXPECT_TRUE(SetupFlagsSet().empty());
}

TEST(UnloadParameters, MeetingLimitsWarnOnceARunThenOnlyAcceptAsks)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWithLimits(panel, 50, 49));
    ASSERT_TRUE(Press(kUnloadMinimumIncrease));
    Answer(kShortWarning, L"Yes");
    EXPECT_EQ(ShownLimits(), L"80/10");
    // A second meeting in the same run: no warning while stepping, even on another screen.
    ASSERT_TRUE(Press(kUnloadMaximumDecrease, 75));
    EXPECT_EQ(ShownLimits(), L"5/10");
    EXPECT_FALSE(panel_test::TopMessageBox().has_value());
    ASSERT_TRUE(Press(kUnloadCancel));
    ASSERT_TRUE(platform::PressControl(kSetupUnloadButton));
    ASSERT_TRUE(Press(kUnloadMinimumIncrease));
    EXPECT_EQ(ShownLimits(), L"50/50");
    EXPECT_FALSE(panel_test::TopMessageBox().has_value());
    // ACCEPT still asks, with the long question; Yes takes the defaults and sends them.
    ASSERT_TRUE(Press(kUnloadAccept));
    Answer(kAcceptWarning, L"Yes");
    EXPECT_FALSE(ScreenOpen());
    EXPECT_EQ(Value(DesiredSettings, kMaximum), kDefaultMaximumUnloadRate);
    EXPECT_EQ(Value(DesiredSettings, kMinimum), kDefaultMinimumUnloadRate);
    EXPECT_EQ(SetupFlagsSet(), (Flags{"unloadRateLimit1", "unloadRateLimit2"}));
    panel.Cycles(3);
    EXPECT_EQ(Value(DryerImage, kMaximum), 80);
    EXPECT_EQ(Value(DryerImage, kMinimum), 10);
    EXPECT_TRUE(SetupFlagsSet().empty());  // the dryer echoed both
}

TEST(UnloadParameters, NoToTheWarningKeepsTheStepAndOnlyRaisingTheMinimumOrLoweringTheMaxWarns)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWithLimits(panel, 20, 30));  // the dryer reports limits that meet
    ASSERT_TRUE(Press(kUnloadMaximumIncrease));  // away from each other: no warning
    ASSERT_TRUE(Press(kUnloadMinimumDecrease));
    EXPECT_FALSE(panel_test::TopMessageBox().has_value());
    ASSERT_TRUE(Press(kUnloadMaximumDecrease));
    Answer(kShortWarning, L"No");
    EXPECT_EQ(ShownLimits(), L"20/29");
}

TEST(UnloadParameters, AcceptWithLimitsThatMeetAndNoClosesWithoutSending)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWithLimits(panel, 60, 20));
    ASSERT_TRUE(Press(kUnloadMaximumIncrease));  // a change that must not go out either
    ASSERT_TRUE(Press(kUnloadMaximumDecrease));
    ASSERT_TRUE(Press(kUnloadMinimumIncrease, 40));
    Answer(kShortWarning, L"No");  // at 60/60
    ASSERT_TRUE(Press(kUnloadAccept));
    Answer(kAcceptWarning, L"No");
    EXPECT_FALSE(ScreenOpen());
    EXPECT_TRUE(SetupFlagsSet().empty());
    panel.Cycles(2);
    EXPECT_EQ(Value(DryerImage, kMaximum), 60);
    EXPECT_EQ(Value(DryerImage, kMinimum), 20);
}

TEST(UnloadParameters, AcceptSendsOnlyTheLimitThatChanged)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWithLimits(panel, 70, 20));
    ASSERT_TRUE(Press(kUnloadMinimumIncrease, 5));
    ASSERT_TRUE(Press(kUnloadAccept));
    EXPECT_FALSE(ScreenOpen());
    EXPECT_EQ(SetupFlagsSet(), Flags{"unloadRateLimit2"});
    EXPECT_EQ(Value(DesiredSettings, kMinimum), 25);
    EXPECT_EQ(Value(DesiredSettings, kMaximum), 70);
    // Opened again before the dryer echoes, the screen shows the limit on its way.
    ASSERT_TRUE(platform::PressControl(kSetupUnloadButton));
    EXPECT_EQ(ShownLimits(), L"70/25");
    ASSERT_TRUE(Press(kUnloadAccept));
    EXPECT_EQ(SetupFlagsSet(), Flags{"unloadRateLimit2"});
    panel.Cycles(3);
    EXPECT_EQ(panel_test::SimByte(panel.sim(), kMinimum.Element(0)), 0);  // big-endian word
    EXPECT_EQ(Value(DryerImage, kMinimum), 25);
    EXPECT_TRUE(SetupFlagsSet().empty());
}

TEST(UnloadParameters, AcceptWithoutChangeSendsNothingAndHelpExplains)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWithLimits(panel, 80, 10));
    ASSERT_TRUE(Press(kUnloadHelp));
    const auto help = panel_test::TopMessageBox();
    ASSERT_TRUE(help.has_value());
    EXPECT_EQ(help->title, kUnloadRatesHelpCaption);
    EXPECT_EQ(help->messageText.rfind(L"Set the % MAXIMUM Unloading Rate to a\nvalue", 0), 0u);
    EXPECT_EQ(help->messageText.substr(help->messageText.size() - 31),
              L"touch the ACCEPT/ EXIT button.\n");
    EXPECT_EQ(help->buttons, (std::vector<std::wstring>{L"OK", L"Cancel"}));
    service_test::Screenshot("unload-parameters-help");
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
    EXPECT_TRUE(ScreenOpen());
    ASSERT_TRUE(Press(kUnloadAccept));
    EXPECT_FALSE(ScreenOpen());
    EXPECT_TRUE(SetupFlagsSet().empty());
}

}  // namespace
