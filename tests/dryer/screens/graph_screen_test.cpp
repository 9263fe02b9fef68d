// The graph screen: its windows and controls, the traces' tick labels in their columns and
// colours, the time axis, the trace buttons kept in the registry, the hour scroll bar, and
// "GRAPH SETUP - 25".
#include "dryer/screens/graph_screen.h"

#include <gtest/gtest.h>

#include "dryer/records/display_settings.h"
#include "dryer/screens/screen_manager.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/panel_colours.h"
#include "tests/dryer/screens/drawn_text_support.h"
#include "tests/dryer/screens/graph_screen_support.h"

namespace {

using graph_test::GraphPanel;
using graph_test::GraphTexts;
using graph_test::StoredSetting;
using screens_test::Drawn;
using screens_test::Has;

constexpr int kHour = 360;

std::optional<platform::ControlInfo> ScrollBar()
{
    return panel_test::FindControl(kGraphScrollBar);
}

// Taps the scroll bar's left arrow (or, with `right`, its right arrow).
void TapArrow(bool right = false)
{
    const auto bar = ScrollBar();
    ASSERT_TRUE(bar.has_value());
    const int y = (bar->rect.top + bar->rect.bottom) / 2;
    platform::Tap(right ? bar->rect.right - 6 : bar->rect.left + 6, y);
    platform::WaitIdle();
}

TEST(GraphScreen, TheGraphViewShowsTheScreenItsAreaAndControls)
{
    auto panel = GraphPanel(0, 0);
    ASSERT_TRUE(panel->started());
    const auto graph = panel_test::FindShown(kGraphClass);
    ASSERT_TRUE(graph.has_value());
    EXPECT_EQ(graph->title, L" GRAPH OF SELECTED DRYER VARIABLES");
    const auto area = panel_test::FindShown(kDrawGraphClass);
    ASSERT_TRUE(area.has_value());
    EXPECT_EQ(area->title, L" DRYER VARIABLES ARE SAMPLED ONCE EACH MINUTE");
    EXPECT_EQ(area->rect.right - area->rect.left, 380);
    EXPECT_EQ(area->rect.bottom - area->rect.top, 220);
    EXPECT_FALSE(panel_test::Shown(kAverageValuesClass));
    struct Button {
        int id;
        const wchar_t* text;
        int x, y;
    };
    // The screen's client origin: the graph area sits at 5, 5 in it.
    const LONG left = area->rect.left - 5;
    const LONG top = area->rect.top - 5;
    for (const Button& b :
         {Button{kGraphMoistInButton, L"GRAPH_MOIST_IN_BUTTON", 8, 260},
          Button{kGraphTempInButton, L"GRAPH_TEMP_IN_BUTTON", 8, 300},
          Button{kGraphMoistOutButton, L"GRAPH_MOIST_OUT_BUTTON", 138, 260},
          Button{kGraphTempOutButton, L"GRAPH_TEMP_OUT_BUTTON", 138, 300},
          Button{kGraphGrainTempButton, L"GRAPH_DRYER_GRAIN_TEMP_BUTTON", 270, 260},
          Button{kGraphMrSpeedButton, L"GRAPH_MR_SPEED_BUTTON", 270, 300}}) {
        const auto c = panel_test::FindControl(b.id);
        ASSERT_TRUE(c.has_value()) << b.id;
        EXPECT_EQ(c->text, b.text);
        EXPECT_EQ(c->rect.left - left, b.x);
        EXPECT_EQ(c->rect.top - top, b.y);
        EXPECT_EQ(c->rect.right - c->rect.left, 110);
        EXPECT_EQ(c->rect.bottom - c->rect.top, 33);
    }
    const auto setup = panel_test::FindControl(kGraphSetupButton);
    ASSERT_TRUE(setup.has_value());
    EXPECT_EQ(setup->text, L"SETUP");
    EXPECT_EQ(setup->rect.left - left, 270);
    EXPECT_EQ(setup->rect.top - top, 340);
    const auto bar = ScrollBar();
    ASSERT_TRUE(bar.has_value());
    EXPECT_EQ(bar->rect.left - left, 5);
    EXPECT_EQ(bar->rect.top - top, 225);
    EXPECT_EQ(bar->rect.right - bar->rect.left, 380);
}

TEST(GraphScreen, WithoutSamplesOnlyTheAxisAndEndAreDrawn)
{
    auto panel = GraphPanel(0, 0x3F);
    const auto texts = GraphTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, L"[END]");
    EXPECT_EQ(texts[0].colour, RGB(0, 80, 0));
}

// Every trace on: five tick labels each, in the trace's column and label colour, and the times
// of the first, middle and last samples on the axis.
TEST(GraphScreen, AllTracesDrawTheirTicksInTheirColumnsAndTheTimeAxis)
{
    auto panel = GraphPanel(kHour + 40, 0x3F);
    const GraphWindow& w = GraphScreen().window;
    ASSERT_EQ(w.points, 360);
    const auto texts = GraphTexts();
    struct Column {
        int trace;
        COLORREF colour;
        int left, right;
    };
    const Column columns[] = {
        {kTraceMoistureIn, RGB(0, 200, 0), 6, 39},     {kTraceTempIn, RGB(200, 105, 50), 35, 65},
        {kTraceMoistureOut, RGB(0, 200, 200), 60, 90}, {kTraceTempOut, RGB(200, 0, 200), 280, 310},
        {kTraceGrainTemp, RGB(200, 200, 0), 310, 337}, {kTraceMeterRoll, RGB(150, 0, 0), 340, 365}};
    const int rowTops[] = {170, 142, 95, 47, 5};
    for (const Column& c : columns) {
        const GraphScale& s = w.scales[static_cast<std::size_t>(c.trace)];
        for (int i = 0; i < 5; ++i) {
            const std::wstring label = GraphTickText(c.trace, s.Tick(i));
            bool found = false;
            for (const auto& t : texts) {
                if (t.text != label || t.colour != c.colour) continue;
                if (t.rect.top < rowTops[i] || t.rect.bottom > rowTops[i] + 20) continue;
                found = true;
                EXPECT_GE(t.rect.left, c.left) << panel_test::Narrow(label);
                EXPECT_LE(t.rect.right, c.right) << panel_test::Narrow(label);
            }
            EXPECT_TRUE(found) << "trace " << c.trace << " tick " << i << " "
                               << panel_test::Narrow(label);
        }
    }
    // Moisture in runs 150..199 tenths: range 52, step 20, ticks from 14.0%.
    EXPECT_TRUE(Has(texts, L"14.0%"));
    EXPECT_TRUE(Has(texts, L"22.0%"));
    // The newest hour: samples 40 .. 399, from 06:06:40 to 07:06:30.
    EXPECT_EQ(Drawn(texts, L"6:06AM").colour, kBlack);
    EXPECT_TRUE(Has(texts, L"7:06AM"));
    EXPECT_TRUE(Has(texts, L"6:36AM 3/03"));
    EXPECT_EQ(Drawn(texts, L"[-0 HR]").colour, RGB(0, 80, 0));
    // Each axis text inside its box, and the first time clear of the hour offset.
    struct Box {
        const wchar_t* text;
        int left, right;
    };
    for (const Box& b : {Box{L"6:06AM", 3, 100}, Box{L"6:36AM 3/03", 135, 235},
                         Box{L"7:06AM", 300, 367}, Box{L"[-0 HR]", 55, 120}}) {
        const auto t = Drawn(texts, b.text);
        EXPECT_GE(t.rect.left, b.left) << panel_test::Narrow(b.text);
        EXPECT_LE(t.rect.right, b.right) << panel_test::Narrow(b.text);
        EXPECT_GE(t.rect.top, 195) << panel_test::Narrow(b.text);
        EXPECT_LE(t.rect.bottom, 215) << panel_test::Narrow(b.text);
    }
    EXPECT_LE(Drawn(texts, L"6:06AM").rect.right, Drawn(texts, L"[-0 HR]").rect.left);
}

TEST(GraphScreen, TraceButtonsSwitchTheirTraceAndKeepTheSwitchesInTheRegistry)
{
    auto panel = GraphPanel(100, 0);
    EXPECT_FALSE(Has(GraphTexts(), L"14.0%"));
    ASSERT_TRUE(platform::PressControl(kGraphMoistInButton));
    platform::WaitIdle();
    EXPECT_EQ(CurrentDisplaySettings().graphTraces, 0x01);
    EXPECT_EQ(StoredSetting(kGraphTracesValue), 0x01);
    EXPECT_TRUE(Has(GraphTexts(), L"14.0%"));  // 150..199 tenths: ticks 14.0% .. 22.0%
    ASSERT_TRUE(platform::PressControl(kGraphMrSpeedButton));
    platform::WaitIdle();
    EXPECT_EQ(StoredSetting(kGraphTracesValue), 0x21);
    ASSERT_TRUE(platform::PressControl(kGraphMoistInButton));
    platform::WaitIdle();
    EXPECT_EQ(StoredSetting(kGraphTracesValue), 0x20);
    const auto texts = GraphTexts();
    for (const auto& t : texts) EXPECT_NE(t.colour, RGB(0, 200, 0)) << panel_test::Narrow(t.text);
}

TEST(GraphScreen, StoredSwitchesAndScaleAreRestoredAtStart)
{
    auto panel = GraphPanel(9 * kHour, 0x12, 3);
    EXPECT_EQ(CurrentDisplaySettings().graphTraces, 0x12);
    EXPECT_EQ(CurrentDisplaySettings().graphHorizontalScale, 3);
    const GraphWindow& w = GraphScreen().window;
    EXPECT_EQ(w.samples, 8 * kHour);  // the 8-hour window
    const auto texts = GraphTexts();
    // Temperature in (bit 1) and grain temperature (bit 4) are labelled, nothing else.
    int labelled = 0;
    for (const auto& t : texts) {
        if (t.colour == RGB(200, 105, 50) || t.colour == RGB(200, 200, 0)) ++labelled;
        EXPECT_NE(t.colour, RGB(0, 200, 0));
        EXPECT_NE(t.colour, RGB(150, 0, 0));
    }
    EXPECT_EQ(labelled, 10);
    EXPECT_TRUE(Has(texts, L"7:00AM"));  // sample 360, eight hours before the newest
    EXPECT_TRUE(Has(texts, L"2:59PM"));
}

TEST(GraphScreen, TheScrollBarStepsBackHourByHourToTheOldestWindow)
{
    auto panel = GraphPanel(5 * kHour + 20, 0x01);
    auto bar = ScrollBar();
    ASSERT_TRUE(bar.has_value());
    EXPECT_EQ(GraphScreen().window.hoursAvailable, 5);
    EXPECT_TRUE(Has(GraphTexts(), L"[-0 HR]"));
    TapArrow();
    EXPECT_EQ(GraphScreen().offset, 1);
    EXPECT_TRUE(Has(GraphTexts(), L"[-1 HR]"));
    for (int i = 0; i < 8; ++i) TapArrow();
    EXPECT_EQ(GraphScreen().offset, 4);  // 5 hours less the 1-hour window
    EXPECT_TRUE(Has(GraphTexts(), L"[-4 HR]"));
    EXPECT_EQ(GraphScreen().window.values[kTraceMoistureIn][0], 150 + 20 % 50);
    TapArrow(true);
    EXPECT_EQ(GraphScreen().offset, 3);
    for (int i = 0; i < 6; ++i) TapArrow(true);
    EXPECT_EQ(GraphScreen().offset, 0);
    // A wider scale pulls a large offset in: 5 hours leave the 4-hour window one hour back.
    for (int i = 0; i < 4; ++i) TapArrow();
    CurrentDisplaySettings().graphHorizontalScale = 2;
    RepaintGraph();
    platform::WaitIdle();
    EXPECT_EQ(GraphScreen().offset, 1);
    EXPECT_TRUE(Has(GraphTexts(), L"[-1 HR]"));
}

TEST(GraphScreen, LessThanAnHourShowsTheWholeLogWithEnd)
{
    auto panel = GraphPanel(50, 0x01);
    TapArrow();
    EXPECT_EQ(GraphScreen().offset, 0);
    EXPECT_EQ(GraphScreen().window.points, 50);
    EXPECT_TRUE(Has(GraphTexts(), L"[END]"));
}

int CheckedScale()
{
    int code = -1;
    const int boxes[] = {kGraphSetupOneHour, kGraphSetupTwoHours, kGraphSetupFourHours,
                         kGraphSetupEightHours};
    for (int i = 0; i < 4; ++i) {
        const auto box = panel_test::FindControl(boxes[i]);
        if (box && box->checked) code = code == -1 ? i : -2;
    }
    return code;
}

TEST(GraphSetupDialog, OpensWithTheCurrentScaleAndKeepsTheAcceptedOne)
{
    auto panel = GraphPanel(3 * kHour, 0x01, 1);
    ASSERT_TRUE(platform::PressControl(kGraphSetupButton));
    const auto dlg = panel_test::FindTitled(kGraphSetupTitle);
    ASSERT_TRUE(dlg.has_value());
    for (const auto& [id, text] :
         {std::pair{kGraphSetupOneHour, L"1 HOUR"}, std::pair{kGraphSetupTwoHours, L"2 HOURS"},
          std::pair{kGraphSetupFourHours, L"4 HOURS"}, std::pair{kGraphSetupEightHours, L"8 HOUR"},
          std::pair{kGraphSetupAccept, L"ACCEPT/EXIT"}}) {
        const auto c = panel_test::FindControl(id);
        ASSERT_TRUE(c.has_value()) << id;
        EXPECT_EQ(c->text, text);
    }
    EXPECT_EQ(CheckedScale(), 1);
    ASSERT_TRUE(platform::PressControl(kGraphSetupFourHours));
    EXPECT_EQ(CheckedScale(), 2);
    EXPECT_EQ(CurrentDisplaySettings().graphHorizontalScale, 1);  // not yet taken
    // A repaint of the dialog keeps the operator's choice ("#32770": the dialogs' class).
    platform::InvalidateWindowClass(L"#32770", nullptr, TRUE);
    platform::WaitIdle();
    panel->Advance(2000);
    EXPECT_EQ(CheckedScale(), 2);
    ASSERT_TRUE(platform::PressControl(kGraphSetupAccept));
    EXPECT_FALSE(panel_test::FindTitled(kGraphSetupTitle).has_value());
    EXPECT_EQ(CurrentDisplaySettings().graphHorizontalScale, 2);
    EXPECT_EQ(StoredSetting(kGraphHorizontalScaleValue), 2);
    platform::WaitIdle();
    EXPECT_EQ(GraphScreen().window.samples, 3 * kHour);  // all of it: less than 4 hours
}

TEST(GraphSetupDialog, AStoredCodeOutsideTheScalesShowsOneHour)
{
    auto panel = GraphPanel(10, 0x01);
    CurrentDisplaySettings().graphHorizontalScale = 7;
    ASSERT_TRUE(platform::PressControl(kGraphSetupButton));
    EXPECT_EQ(CheckedScale(), 0);
    ASSERT_TRUE(platform::PressControl(kGraphSetupAccept));
    EXPECT_EQ(CurrentDisplaySettings().graphHorizontalScale, 0);
    EXPECT_EQ(StoredSetting(kGraphHorizontalScaleValue), 0);
}

}  // namespace
