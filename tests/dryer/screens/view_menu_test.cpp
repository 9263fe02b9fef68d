// The view menu: its seven buttons, the chart/graph switch with its registry value and the
// refusals in batch drying.
#include <gtest/gtest.h>

#include "dryer/link/dryer_image.h"
#include "platform/runtime/runtime.h"
#include "platform/storage/registry.h"
#include "tests/dryer/program/panel_run.h"

namespace {

using panel_test::PanelRun;
using panel_test::Shown;

constexpr int kViewButton = 0x8804;
constexpr int kChartButton = 0x9022;
constexpr int kGraphButton = 0x9021;
constexpr int kExitButton = 0x9020;

int StoredView()
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, L"Software\\Tarrow\\OrbitDryer", 0, KEY_READ, &key) != 0) {
        return -1;
    }
    BYTE value = 0xFF;
    DWORD length = 1;
    DWORD type = 0;
    const LONG rc = RegQueryValueEx(key, L"SCREEN_VIEW_SELECTION", nullptr, &type, &value, &length);
    RegCloseKey(key);
    return rc == 0 && type == REG_BINARY && length == 1 ? value : -1;
}

TEST(ViewMenu, ShowsSevenButtonsOverTheHomeScreen)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(platform::PressControl(kViewButton));
    const auto menu = panel_test::FindShown(L"VIEW_SELECTION_WINDOW");
    ASSERT_TRUE(menu.has_value());
    EXPECT_EQ(menu->title, L"  VIEW SELECTION WINDOW - 04");
    EXPECT_EQ(menu->rect, (RECT{100, 50, 550, 325}));
    const struct {
        int id;
        const wchar_t* text;
    } buttons[] = {{0x9022, L"CHART VIEW BUTTON"}, {0x9021, L"GRAPH VIEW BUTTON"},
                   {0x901F, L"MANUALS BUTTON"},    {0x9025, L"HISTORY BUTTON"},
                   {0x9028, L"HISTORY BUTTON"},    {0x9083, L"SOFTWARE INFO BUTTON"},
                   {0x9020, L"EXIT VIEW BUTTON"}};
    for (const auto& b : buttons) {
        const auto c = panel_test::FindControl(b.id);
        ASSERT_TRUE(c.has_value()) << b.id;
        EXPECT_EQ(c->text, b.text);
    }
    EXPECT_TRUE(Shown(L"DRYER_PIC_WINDOW"));  // the menu opens over the current screen
    ASSERT_TRUE(platform::PressControl(kExitButton));
    EXPECT_FALSE(Shown(L"VIEW_SELECTION_WINDOW"));
}

TEST(ViewMenu, GraphViewSwitchesAtOnceTellsTheBoardAndIsStored)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(platform::PressControl(kViewButton));
    ASSERT_TRUE(platform::PressControl(kGraphButton));
    EXPECT_FALSE(Shown(L"VIEW_SELECTION_WINDOW"));
    EXPECT_TRUE(Shown(L"GRAPH_WINDOW"));
    EXPECT_FALSE(Shown(L"AVERAGE_VALUES_WINDOW"));
    EXPECT_FALSE(Shown(L"CUSTOM_VIEW_WINDOW"));
    EXPECT_EQ(StoredView(), 1);
    panel.Cycles(3);  // the board echoes the view in unitsAndOptions
    EXPECT_TRUE(IsSet(panel.sim().Image(), graphViewBit));
    EXPECT_TRUE(Shown(L"GRAPH_WINDOW"));

    ASSERT_TRUE(platform::PressControl(kViewButton));
    ASSERT_TRUE(platform::PressControl(kChartButton));
    EXPECT_TRUE(Shown(L"AVERAGE_VALUES_WINDOW"));
    EXPECT_TRUE(Shown(L"CUSTOM_VIEW_WINDOW"));
    EXPECT_FALSE(Shown(L"GRAPH_WINDOW"));
    EXPECT_EQ(StoredView(), 0);
    panel.Cycles(3);
    EXPECT_FALSE(IsSet(panel.sim().Image(), graphViewBit));
}

TEST(ViewMenu, ViewChangeKeepsTheBoardsOtherUnitsBits)
{
    sim::SimOptions options;
    options.scenario = "continuous-si";  // Celsius: siUnitsBit
    PanelRun panel(options);
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(IsSet(panel.sim().Image(), siUnitsBit));
    ASSERT_TRUE(platform::PressControl(kViewButton));
    ASSERT_TRUE(platform::PressControl(kGraphButton));
    panel.Cycles(3);
    const auto graph = panel.sim().Image();
    EXPECT_TRUE(IsSet(graph, graphViewBit));
    EXPECT_TRUE(IsSet(graph, siUnitsBit));  // still Celsius
    ASSERT_TRUE(platform::PressControl(kViewButton));
    ASSERT_TRUE(platform::PressControl(kChartButton));
    panel.Cycles(3);
    const auto chart = panel.sim().Image();
    EXPECT_FALSE(IsSet(chart, graphViewBit));
    EXPECT_TRUE(IsSet(chart, siUnitsBit));  // still Celsius
}

struct Refusal {
    int button;
    const wchar_t* message;
};

class ViewMenuInBatchDrying : public ::testing::TestWithParam<Refusal> {};

TEST_P(ViewMenuInBatchDrying, RefusesWithItsMessageAndChangesNothing)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.Pin(dryingType, kBatchDrying);
    ASSERT_TRUE(Shown(L"BATCH_DRYING_WINDOW"));
    const int unitsBefore = Value(panel.sim().Image(), unitsAndOptions);
    ASSERT_TRUE(platform::PressControl(kViewButton));
    ASSERT_TRUE(platform::PressControl(GetParam().button));
    const auto box = panel_test::TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, L" REQUESTED FUNCTION NOT PERMITTED");
    EXPECT_EQ(box->messageText, GetParam().message);
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
    EXPECT_FALSE(panel_test::TopMessageBox().has_value());
    EXPECT_TRUE(Shown(L"BATCH_DRYING_WINDOW"));
    EXPECT_TRUE(Shown(L"CUSTOM_VIEW_WINDOW"));
    EXPECT_FALSE(Shown(L"GRAPH_WINDOW"));
    EXPECT_FALSE(Shown(L"AVERAGE_VALUES_WINDOW"));
    EXPECT_EQ(StoredView(), -1);
    panel.Cycles(3);
    EXPECT_EQ(Value(panel.sim().Image(), unitsAndOptions), unitsBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ViewMenuInBatchDrying,
    ::testing::Values(Refusal{kGraphButton, L"Graph is not available in Batch Drying."},
                      Refusal{kChartButton, L"Status Chart is not available in Batch Drying."}));

struct MenuDialog {
    int button;
    const wchar_t* title;
};

class ViewMenuDialogs : public ::testing::TestWithParam<MenuDialog> {};

TEST_P(ViewMenuDialogs, HideTheMenuAndOpenTheirDialog)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(platform::PressControl(kViewButton));
    ASSERT_TRUE(platform::PressControl(GetParam().button));
    EXPECT_FALSE(Shown(L"VIEW_SELECTION_WINDOW"));
    ASSERT_TRUE(panel_test::FindTitled(GetParam().title).has_value());
    ASSERT_TRUE(platform::PressControl(1));  // EXIT
    EXPECT_FALSE(panel_test::FindTitled(GetParam().title).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ViewMenuDialogs,
    ::testing::Values(MenuDialog{0x9028, L" SYSTEM INFORMATION / SOFTWARE VERSION - 32"},
                      MenuDialog{0x9083, L"Software Release Information - 30"}));

TEST(ViewMenu, ManualsWithoutExplorerSaySo)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(platform::PressControl(kViewButton));
    ASSERT_TRUE(platform::PressControl(0x901F));
    EXPECT_FALSE(Shown(L"VIEW_SELECTION_WINDOW"));
    const auto box = panel_test::TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, L" Could not execute Explorer Program!");
    EXPECT_EQ(box->messageText, L" Trying to Open Manuals");
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
}

}  // namespace
