// The status chart: its header and logging state, the rows of the newest samples in their
// columns and colours, the scroll bar from nine samples on, and the 15-second hold after a
// scroll before the chart returns to the newest samples.
#include "dryer/screens/status_chart.h"

#include <gtest/gtest.h>

#include "dryer/link/dryer_image.h"
#include "resources/orbitdryer/panel_colours.h"
#include "tests/dryer/screens/drawn_text_support.h"
#include "tests/dryer/screens/status_chart_support.h"

namespace {

using chart_test::ChartPanel;
using chart_test::ChartTexts;
using chart_test::Row;
using chart_test::RowNumbers;
using screens_test::Drawn;
using screens_test::Has;

constexpr COLORREF kMagenta = 0x00FF00FF;

std::vector<int> Numbers(int first, int last)
{
    std::vector<int> v;
    for (int n = first; n <= last; ++n) v.push_back(n);
    return v;
}

std::optional<platform::ControlInfo> ScrollBar()
{
    return panel_test::FindControl(kStatusChartScrollBar);
}

bool ScrollBarShown()
{
    const auto bar = ScrollBar();
    return bar.has_value() && bar->visible;
}

// Taps the scroll bar's up arrow (or, with `down`, its down arrow).
void TapArrow(bool down = false)
{
    const auto bar = ScrollBar();
    ASSERT_TRUE(bar.has_value());
    const int x = (bar->rect.left + bar->rect.right) / 2;
    platform::Tap(x, down ? bar->rect.bottom - 6 : bar->rect.top + 6);
}

TEST(StatusChart, WithoutSamplesShowsTheHeaderOnly)
{
    auto panel = ChartPanel(0);
    ASSERT_TRUE(panel->started());
    const auto texts = ChartTexts();
    const auto title = Drawn(texts, L"SAMPLE TIME").rect;
    const int left = (title.left + title.right) / 2 - 50;  // the client's left edge on screen
    struct Header {
        const wchar_t* text;
        COLORREF colour;
        int left, right;
    };
    for (const Header& h : {Header{L"SAMPLE TIME", kGreen, 0, 100},
                            Header{L"10 Min", kGreen, 60, 98}, Header{L"GRAIN", kYellow, 100, 150},
                            Header{L"TEMP", kYellow, 100, 150}, Header{L"IN", kMagenta, 150, 200},
                            Header{L"OUT", kGreen, 200, 250}, Header{L"M.R.O.", kRed, 300, 350}}) {
        const auto t = Drawn(texts, h.text);
        EXPECT_EQ(t.colour, h.colour) << panel_test::Narrow(h.text);
        // Centred in its column, and within it.
        EXPECT_NEAR((t.rect.left + t.rect.right) / 2 - left, (h.left + h.right) / 2, 2)
            << panel_test::Narrow(h.text);
        EXPECT_GE(t.rect.left - left, h.left) << panel_test::Narrow(h.text);
        EXPECT_LE(t.rect.right - left, h.right) << panel_test::Narrow(h.text);
    }
    EXPECT_TRUE(Row(0).empty());
    EXPECT_FALSE(ScrollBarShown());
    const auto button = panel_test::FindControl(kStatusChartSampleTimeButton);
    ASSERT_TRUE(button.has_value());
    EXPECT_EQ(button->text, L"SAMPLE TIME 10 Min");
    EXPECT_EQ(button->rect.right - button->rect.left, 98);
    EXPECT_EQ(button->rect.bottom - button->rect.top, 31);
}

TEST(StatusChart, LoggingStateFollowsTheUnloading)
{
    auto panel = ChartPanel(0);
    ASSERT_TRUE(panel->started());
    EXPECT_EQ(Drawn(ChartTexts(), L"OFF").colour, 0x00000096u);
    EXPECT_FALSE(Has(ChartTexts(), L"ON"));
    panel->Pin(dryerState2, unloadingBit2.mask);
    panel->Advance(1000);
    const auto texts = ChartTexts();
    EXPECT_EQ(Drawn(texts, L"ON").colour, kBlue);
    EXPECT_EQ(Drawn(texts, L"0%").colour, kBlue);  // the long-term log's fill level
    EXPECT_FALSE(Has(texts, L"OFF"));
}

TEST(StatusChart, FewerThanNineSamplesAreAllShownWithoutAScrollBar)
{
    auto panel = ChartPanel(5);
    ASSERT_TRUE(panel->started());
    EXPECT_EQ(RowNumbers(), Numbers(0, 4));
    EXPECT_FALSE(ScrollBarShown());
    EXPECT_TRUE(Row(5).empty());
}

TEST(StatusChart, RowsShowTheNewestEightInTheirColumns)
{
    auto panel = ChartPanel(20);
    ASSERT_TRUE(panel->started());
    EXPECT_EQ(RowNumbers(), Numbers(12, 19));
    // Sample 19 was taken at 06:00 + 190 minutes = 09:10.
    EXPECT_EQ(Row(7), (std::vector<std::wstring>{L" 9:10AM 3/3", L"118\u00B0F", L"1.9%", L"15.3%",
                                                 L"90\u00B0F", L"47 %"}));
    const auto texts = ChartTexts();
    EXPECT_EQ(Drawn(texts, L" 9:10AM 3/3").colour, kGreen);
    EXPECT_EQ(Drawn(texts, L"118\u00B0F").colour, kYellow);
    EXPECT_EQ(Drawn(texts, L"1.9%").colour, kMagenta);
    EXPECT_EQ(Drawn(texts, L"15.3%").colour, kGreen);
    EXPECT_EQ(Drawn(texts, L"90\u00B0F").colour, kCyan);
    EXPECT_EQ(Drawn(texts, L"47 %").colour, kRed);
    EXPECT_TRUE(ScrollBarShown());
}

TEST(StatusChart, TimesInTwelveHourFormAndTemperaturesInTheDryersUnits)
{
    sim::SimOptions options;
    options.realTime = false;
    options.celsius = 1;
    panel_test::PanelRun panel(options, [](const std::filesystem::path& root, OrbitDryerOptions&) {
        auto midnight = chart_test::SampleAt(1, 0, 0);
        auto afternoon = chart_test::SampleAt(2, 13, 5);
        auto noon = chart_test::SampleAt(3, 12, 30);
        afternoon.grainTemp = 212;
        afternoon.outgoingTemp = -5;  // -0.5 deg F: -0 whole degrees, -17 C
        noon.outgoingTemp = 1009;     // 100.9 deg F: 100 F, 37 C
        chart_test::SeedLogSamples(root, {midnight, afternoon, noon});
    });
    ASSERT_TRUE(panel.started());
    EXPECT_EQ(Row(0)[0], L"12:00AM 3/3");
    EXPECT_EQ(Row(1)[0], L" 1:05PM 3/3");
    EXPECT_EQ(Row(2)[0], L"12:30PM 3/3");
    EXPECT_EQ(Row(1)[1], L"100\u00B0C");
    EXPECT_EQ(Row(1)[4], L"-17\u00B0C");
    EXPECT_EQ(Row(2)[4], L"37\u00B0C");
    EXPECT_EQ(Row(0)[1], L"47\u00B0C");  // 118 F
}

TEST(StatusChart, TheWidestRowTextsFitTheirColumns)
{
    sim::SimOptions options;
    options.realTime = false;
    panel_test::PanelRun panel(options, [](const std::filesystem::path& root, OrbitDryerOptions&) {
        auto wide = chart_test::SampleAt(999, 12, 59);
        wide.month = 12;
        wide.day = 28;
        wide.grainTemp = -188;
        wide.outgoingMoisture = 888;
        wide.outgoingTemp = -1888;
        wide.meterRollOutput = 255;
        chart_test::SeedLogSamples(root, {wide});
    });
    ASSERT_TRUE(panel.started());
    const std::vector<std::wstring> row = Row(0);
    ASSERT_EQ(row, (std::vector<std::wstring>{L"12:59PM 12/28", L"-188\u00B0F", L"99.9%", L"88.8%",
                                              L"-188\u00B0F", L"255 %"}));
    const auto texts = ChartTexts();
    const int widths[] = {100, 50, 50, 50, 50, 50};
    for (std::size_t i = 0; i < row.size(); ++i) {
        const RECT r = Drawn(texts, row[i]).rect;
        EXPECT_LE(r.right - r.left, widths[i]) << panel_test::Narrow(row[i]);
    }
}

TEST(StatusChart, ScrollingUpShowsOlderSamplesForFifteenSeconds)
{
    auto panel = ChartPanel(20);
    ASSERT_TRUE(panel->started());
    TapArrow();
    EXPECT_EQ(RowNumbers(), Numbers(11, 18));
    EXPECT_EQ(StatusChart().hold, kStatusChartHoldSeconds);
    panel->Advance(14 * 1000);
    EXPECT_EQ(RowNumbers(), Numbers(11, 18));  // still held
    panel->Advance(1000);
    EXPECT_EQ(RowNumbers(), Numbers(12, 19));  // back at the newest
    EXPECT_EQ(StatusChart().hold, 0);
}

TEST(StatusChart, LinesAndPagesMoveWithinTheLog)
{
    auto panel = ChartPanel(20);
    ASSERT_TRUE(panel->started());
    for (int i = 0; i < 3; ++i) TapArrow();
    EXPECT_EQ(RowNumbers(), Numbers(9, 16));
    for (int i = 0; i < 20; ++i) TapArrow();
    EXPECT_EQ(RowNumbers(), Numbers(0, 7));  // the oldest eight, and no further
    EXPECT_EQ(StatusChart().position, 0);
    TapArrow(true);
    EXPECT_EQ(RowNumbers(), Numbers(1, 8));
    EXPECT_EQ(StatusChart().hold, kStatusChartHoldSeconds);
}

TEST(StatusChart, PagesAndTheThumbMoveByEightAndToWhereTheThumbIsLet)
{
    auto panel = ChartPanel(20);
    ASSERT_TRUE(panel->started());
    const auto bar = ScrollBar();
    ASSERT_TRUE(bar.has_value());
    const int x = (bar->rect.left + bar->rect.right) / 2;
    const int arrow = bar->rect.right - bar->rect.left;  // square arrows
    platform::Tap(x, bar->rect.top + arrow + 4);         // the trough above the thumb
    EXPECT_EQ(RowNumbers(), Numbers(4, 11));
    EXPECT_EQ(StatusChart().hold, kStatusChartHoldSeconds);
    platform::Tap(x, bar->rect.bottom - arrow - 4);  // the trough below it
    EXPECT_EQ(RowNumbers(), Numbers(12, 19));
    EXPECT_EQ(StatusChart().hold, 0);

    // The thumb, now at the bottom of its track, dragged to the top.
    platform::PointerDown(x, bar->rect.bottom - arrow - 10);
    platform::PointerMove(x, bar->rect.top + arrow / 2);
    platform::PointerUp(x, bar->rect.top + arrow / 2);
    EXPECT_EQ(RowNumbers(), Numbers(0, 7));
    EXPECT_EQ(StatusChart().hold, kStatusChartHoldSeconds);
}

TEST(StatusChart, ScrollingBackToTheBottomEndsTheHold)
{
    auto panel = ChartPanel(20);
    ASSERT_TRUE(panel->started());
    TapArrow();
    TapArrow();
    TapArrow(true);
    EXPECT_EQ(StatusChart().hold, kStatusChartHoldSeconds);
    TapArrow(true);
    EXPECT_EQ(StatusChart().hold, 0);
    TapArrow(true);  // past the bottom: stays at the newest
    EXPECT_EQ(RowNumbers(), Numbers(12, 19));
    EXPECT_EQ(StatusChart().position, 12);  // 20 records, 8 rows
}

TEST(StatusChart, TheRangeFollowsTheCappedRecordCount)
{
    sim::SimOptions options;
    options.realTime = false;
    panel_test::PanelRun panel(options, [](const std::filesystem::path& root, OrbitDryerOptions&) {
        chart_test::SeedLog(root, 144, "DATA_LOG_24HR26_03_02_06_00_00.DAT");
    });
    ASSERT_TRUE(panel.started());
    EXPECT_EQ(StatusChart().count, 144);
    EXPECT_EQ(RowNumbers(), Numbers(136, 143));
    ASSERT_TRUE(ScrollBar().has_value());
    for (int i = 0; i < 200; ++i) TapArrow();
    EXPECT_EQ(RowNumbers(), Numbers(0, 7));
}

}  // namespace
