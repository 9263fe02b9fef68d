// The screen manager in the running display: the child window table, the home composition
// for each drying type and view, the bottom buttons, the selection screens and SETUP over the
// warning screen. The dryer's state comes from the simulated board (pinned image bytes).
#include <gtest/gtest.h>

#include <set>

#include "dryer/link/dryer_image.h"
#include "dryer/screens/screen_manager.h"
#include "platform/runtime/runtime.h"
#include "resources/orbitdryer/panel_colours.h"
#include "tests/dryer/program/panel_run.h"

namespace {

using panel_test::FindShown;
using panel_test::PanelRun;
using panel_test::Shown;

bool ControlShown(int id)
{
    const auto c = panel_test::FindControl(id);
    return c.has_value() && c->visible;
}

RECT ScreenRect(int x, int y, int w, int h)
{
    return RECT{x, y, x + w, y + h};
}

// ---- child window table ----

struct TableRow {
    const wchar_t* className;
    const wchar_t* title;
    RECT rect;
};

TEST(ScreenManager, HomeScreenShowsTheTableWindowsWithTheirTitlesAndRectangles)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    const TableRow shown[] = {
        {L"DRYER_PIC_WINDOW", L" SYSTEM STATUS", ScreenRect(0, 0, 240, 420)},
        {L"DRYER_RIGHT_STATUS_BAR_WINDOW", L" DRYER BAR STATUS", ScreenRect(240, 0, 400, 40)},
        {L"AVERAGE_VALUES_WINDOW", L" DRYER STATUS CHART", ScreenRect(240, 40, 400, 205)},
        {L"CUSTOM_VIEW_WINDOW", L" PLENUM(S)", ScreenRect(240, 245, 400, 175)},
        {L"BUTTON_BAR_WINDOW", L" DRYER BAR STATUS", ScreenRect(0, 420, 640, 55)},
    };
    for (const TableRow& row : shown) {
        const auto w = FindShown(row.className);
        ASSERT_TRUE(w.has_value()) << panel_test::Narrow(row.className);
        EXPECT_EQ(w->title, row.title);
        EXPECT_EQ(w->rect, row.rect) << panel_test::Narrow(row.className);
    }
    for (const wchar_t* hidden :
         {L"VIEW_SELECTION_WINDOW", L"LINE_GRAPH_WINDOW", L"UNLOAD_STATUS_WINDOW",
          L"TIMER_SELECT_WINDOW", L"TEMP_SELECT_WINDOW", L"SETUP_SELECTION_WINDOW",
          L"EXTENDED_SETUP_SELECTION_WINDOW_NEW", L"GRAPH_WINDOW", L"BATCH_DRYING_WINDOW"}) {
        EXPECT_FALSE(Shown(hidden)) << panel_test::Narrow(hidden);
    }
}

TEST(ScreenManager, FiveBottomButtonsWithTheirIdsAndRectangles)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    const struct {
        int id;
        const wchar_t* text;
        int x;
    } buttons[] = {{0x8801, L"TIMERS", 20},
                   {0x8802, L"TEMPS", 144},
                   {0x8803, L"SETUP", 268},
                   {0x8804, L"VIEW", 392},
                   {0x8805, L"MISC", 516}};
    for (const auto& b : buttons) {
        const auto c = panel_test::FindControl(b.id);
        ASSERT_TRUE(c.has_value()) << b.id;
        EXPECT_EQ(c->text, b.text);
        EXPECT_EQ(c->rect, ScreenRect(b.x, 427, 105, 40));
        EXPECT_TRUE(c->visible);
    }
}

// ---- home composition ----

struct Composition {
    int type;  // dryingType
    int view;  // 1: graph view (graphViewBit)
    bool chart, plenum, graph, batch;
};

class HomeComposition : public ::testing::TestWithParam<Composition> {};

TEST_P(HomeComposition, ShowsThePanelsOfDryingTypeAndView)
{
    const Composition& c = GetParam();
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.Pin(unitsAndOptions, c.view == 1 ? graphViewBit.mask : 0);
    panel.Pin(dryingType, c.type);
    EXPECT_EQ(Shown(L"AVERAGE_VALUES_WINDOW"), c.chart);
    EXPECT_EQ(Shown(L"CUSTOM_VIEW_WINDOW"), c.plenum);
    EXPECT_EQ(Shown(L"GRAPH_WINDOW"), c.graph);
    EXPECT_EQ(Shown(L"DRAW_GRAPH_WINDOW"), c.graph);
    EXPECT_EQ(Shown(L"BATCH_DRYING_WINDOW"), c.batch);
    EXPECT_TRUE(Shown(L"DRYER_PIC_WINDOW"));
}

INSTANTIATE_TEST_SUITE_P(
    DryingTypesAndViews, HomeComposition,
    ::testing::Values(Composition{kContinuousFlow, 0, true, true, false, false},
                      Composition{kContinuousFlow, 1, false, false, true, false},
                      Composition{kBatchDrying, 0, false, true, false, true},
                      Composition{kBatchDrying, 1, false, true, false, true},
                      Composition{3, 0, false, true, false, true},
                      Composition{3, 1, false, true, false, true}));

// ---- selection screens ----

struct Selection {
    int command;
    const wchar_t* screen;
    int exitId;
};

class SelectionScreen : public ::testing::TestWithParam<Selection> {};

TEST_P(SelectionScreen, OpensFullScreenAndItsExitReturnsHome)
{
    const Selection& s = GetParam();
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(platform::PressControl(s.command));
    EXPECT_TRUE(Shown(s.screen));
    EXPECT_FALSE(Shown(L"DRYER_PIC_WINDOW"));
    EXPECT_FALSE(Shown(L"BUTTON_BAR_WINDOW"));
    EXPECT_FALSE(ControlShown(0x8801));
    ASSERT_TRUE(platform::PressControl(s.exitId));
    EXPECT_FALSE(Shown(s.screen));
    EXPECT_TRUE(Shown(L"DRYER_PIC_WINDOW"));
    EXPECT_TRUE(Shown(L"AVERAGE_VALUES_WINDOW"));
    EXPECT_TRUE(Shown(L"BUTTON_BAR_WINDOW"));
    EXPECT_TRUE(ControlShown(0x8801));
}

INSTANTIATE_TEST_SUITE_P(Buttons, SelectionScreen,
                         ::testing::Values(Selection{0x8801, L"TIMER_SELECT_WINDOW", 0x9001},
                                           Selection{0x8802, L"TEMP_SELECT_WINDOW", 0x9002},
                                           Selection{0x8803, L"SETUP_SELECTION_WINDOW", 0x9003}));

TEST(ScreenManager, SetupWhileTheWarningScreenIsUpHidesItUntilTheNextTick)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.sim().Control("warn 0E05");
    panel.Cycles(3);
    ASSERT_TRUE(Shown(L"WARNING_WINDOW"));
    ASSERT_TRUE(platform::PressControl(0x8803));
    EXPECT_TRUE(Shown(L"SETUP_SELECTION_WINDOW"));
    EXPECT_FALSE(Shown(L"WARNING_WINDOW"));
    panel.Advance(175);  // the 100 ms tick shows it again while the warning persists
    EXPECT_TRUE(Shown(L"WARNING_WINDOW"));
    EXPECT_TRUE(Shown(L"SETUP_SELECTION_WINDOW"));
}

TEST(ScreenManager, BetaTextIsPaintedOnTheMainWindow)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    const auto main = FindShown(L"ORBIT_DRYER_MAIN_WINDOW");
    ASSERT_TRUE(main.has_value());
    bool found = false;
    for (const auto& t : main->texts) {
        if (t.text == L"BETA VERSION OF SOFTWARE") {
            found = true;
            EXPECT_EQ(t.colour, kRed);
        }
    }
    EXPECT_TRUE(found);
}

}  // namespace
