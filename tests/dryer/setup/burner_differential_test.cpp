// "MODIFYING BURNER DIFFERENTIAL SETTINGS - 15": the six lines it draws (where, in which
// colour), choosing a plenum and its differential, what ACCEPT / EXIT sends (and only that),
// HELP, and the dryer taking the new differentials.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "dryer/setup/burner_differential.h"
#include "dryer/setup/setup_selection.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/setup/service_screens_support.h"
#include "tests/dryer/setup/setup_support.h"

namespace {

using namespace setup_test;
using panel_test::PanelRun;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
using Differentials = std::array<int, 6>;  // plenum 1 first

bool OpenWith(PanelRun& panel, const Differentials& values)
{
    for (int plenum = 1; plenum <= 6; ++plenum) {
        panel_test::SetOnBoard(panel.sim(), ForHeater(plenumDifferential, plenum),
                               values[plenum - 1]);
    }
    panel.Cycles(2);
    return OpenSetupSelection() && platform::PressControl(kSetupExtendedButton) &&
           panel_test::Shown(kExtendedSetupClass) &&
           platform::PressControl(kExtendedBurnerDifferentialButton) &&
           panel_test::FindTitled(kBurnerDifferentialTitle).has_value();
}

std::wstring Line(int plenum, int degrees)
{
    return L"PLENUM " + std::to_wstring(plenum) + L":   " + std::to_wstring(degrees) + L" \u00B0F ";
}

// The drawn line of a plenum ("PLENUM n: ..."), empty when there is none.
std::optional<platform::DrawnText> DrawnLine(int plenum)
{
    platform::WaitIdle();
    const auto dialog = panel_test::FindTitled(kBurnerDifferentialTitle);
    if (!dialog.has_value()) return std::nullopt;
    const std::wstring start = L"PLENUM " + std::to_wstring(plenum) + L":";
    for (const auto& t : dialog->texts) {
        if (t.text.rfind(start, 0) == 0) return t;
    }
    return std::nullopt;
}

void ExpectLines(const Differentials& values, int selected)
{
    for (int plenum = 1; plenum <= 6; ++plenum) {
        const auto line = DrawnLine(plenum);
        ASSERT_TRUE(line.has_value()) << plenum;
        EXPECT_EQ(line->text, Line(plenum, values[plenum - 1]));
        EXPECT_EQ(line->colour, plenum == selected ? kRed : kBlue) << plenum;
        EXPECT_FALSE(line->cut) << plenum;
    }
}

bool Press(int id)
{
    return platform::PressControl(id);
}

int FrameOf(int)
{
    return 0;
}

TEST(BurnerDifferential, DrawsSixLinesInTwoColumnsWithPlenumOneChosen)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    const Differentials values{1, 2, 3, 4, 5, 2};
    ASSERT_TRUE(OpenWith(panel, values));
    ExpectLines(values, 1);
    // Plenums 3, 2, 1 down the first column, 6, 5, 4 down the second.
    const int order[2][3] = {{3, 2, 1}, {6, 5, 4}};
    for (const auto& column : order) {
        const auto top = DrawnLine(column[0]), middle = DrawnLine(column[1]),
                   bottom = DrawnLine(column[2]);
        ASSERT_TRUE(top && middle && bottom);
        EXPECT_EQ(top->rect.left, bottom->rect.left);
        EXPECT_EQ(top->rect.left, middle->rect.left);
        EXPECT_LT(top->rect.top, middle->rect.top);
        EXPECT_LT(middle->rect.top, bottom->rect.top);
    }
    EXPECT_LT(DrawnLine(1)->rect.left, DrawnLine(4)->rect.left);
    EXPECT_EQ(DrawnLine(3)->rect.top, DrawnLine(6)->rect.top);
    ExpectTidyLayout(kBurnerDifferentialTitle, FrameOf);
    service_test::Screenshot("burner-differential");
    ASSERT_TRUE(Press(kBurnerDifferentialAccept));
    EXPECT_FALSE(panel_test::FindTitled(kBurnerDifferentialTitle).has_value());
    EXPECT_TRUE(SetupFlagsSet().empty());  // nothing changed, nothing sent
}

TEST(BurnerDifferential, ChosenPlenumTakesTheDegreesAndAcceptSendsOnlyChanges)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWith(panel, {2, 2, 2, 2, 2, 2}));
    ASSERT_TRUE(Press(BurnerDifferentialDegreesId(4)));  // plenum 1 is chosen at the start
    ASSERT_TRUE(Press(BurnerDifferentialPlenumId(6)));
    ASSERT_TRUE(Press(BurnerDifferentialDegreesId(1)));
    ASSERT_TRUE(Press(BurnerDifferentialPlenumId(3)));
    ASSERT_TRUE(Press(BurnerDifferentialDegreesId(5)));
    ASSERT_TRUE(Press(BurnerDifferentialDegreesId(2)));  // back to what the dryer has
    ASSERT_TRUE(Press(BurnerDifferentialPlenumId(5)));
    ExpectLines({4, 2, 2, 2, 2, 1}, 5);
    EXPECT_TRUE(SetupFlagsSet().empty());  // nothing before ACCEPT / EXIT
    ASSERT_TRUE(Press(kBurnerDifferentialAccept));
    EXPECT_EQ(SetupFlagsSet(), (Flags{"plenumDifferential6", "plenumDifferential1"}));
    panel.Cycles(3);
    EXPECT_EQ(Value(DryerImage, ForHeater(plenumDifferential, 1)), 4);
    EXPECT_EQ(Value(DryerImage, ForHeater(plenumDifferential, 6)), 1);
    EXPECT_EQ(panel_test::SimByte(panel.sim(), ForHeater(plenumDifferential, 3)), 2);
    EXPECT_TRUE(SetupFlagsSet().empty());  // echoed
}

TEST(BurnerDifferential, HelpExplainsHowToChoose)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWith(panel, {3, 3, 3, 3, 3, 3}));
    ASSERT_TRUE(Press(kBurnerDifferentialHelp));
    const auto help = panel_test::TopMessageBox();
    ASSERT_TRUE(help.has_value());
    EXPECT_EQ(help->title, kBurnerDifferentialHelpCaption);
    EXPECT_EQ(help->messageText.rfind(L"Each plenum differential (See \nOperator's Manual)", 0),
              0u);
    EXPECT_EQ(help->buttons, (std::vector<std::wstring>{L"OK", L"Cancel"}));
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
    EXPECT_TRUE(panel_test::FindTitled(kBurnerDifferentialTitle).has_value());
    ASSERT_TRUE(Press(kBurnerDifferentialAccept));
}

}  // namespace
