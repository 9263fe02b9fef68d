// End to end: the display on a simulated dryer that unloads. The 1-second tick samples what
// the board reports into the short-term log, and the status chart shows the logged samples.
#include <gtest/gtest.h>

#include "dryer/link/dryer_image.h"
#include "dryer/records/short_term_log.h"
#include "dryer/screens/status_chart.h"
#include "tests/dryer/screens/drawn_text_support.h"
#include "tests/dryer/screens/status_chart_support.h"

namespace {

using chart_test::Row;

TEST(StatusChartEndToEnd, UnloadingFillsTheLogAndTheChartShowsIt)
{
    panel_test::PanelRun panel;  // the simulated dryer runs and unloads on the panel clock
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(IsUnloading(panel.sim().Image()));
    panel.Advance(2000);  // the first sample, at the first second the panel sees the unloading
    ASSERT_EQ(ShortTermRecordCount(), 1);

    // One-minute samples from the next second on.
    ASSERT_TRUE(platform::PressControl(kStatusChartSampleTimeButton));
    ASSERT_TRUE(platform::PressControl(2451));  // "1 MINUTE"
    ASSERT_TRUE(platform::PressControl(2455));  // "ACCEPT / EXIT"
    for (int minute = 0; minute < 4; ++minute) panel.Advance(61 * 1000);
    panel.Advance(1000);

    std::vector<DataLogSample> logged(8);
    const int count = ReadShortTermWindow(logged, 0);
    ASSERT_EQ(count, 6);  // at start-up, after the accept, then every 61 seconds
    for (int i = 0; i < count; ++i) {
        const DataLogSample& s = logged[static_cast<std::size_t>(i)];
        EXPECT_GE(s.incomingMoisture, 180);
        EXPECT_LE(s.incomingMoisture, 260);
        EXPECT_GE(s.meterRollOutput, 8);
        EXPECT_LE(s.meterRollOutput, 100);
        const std::vector<std::wstring> expected{
            ChartTimeText(s),
            ChartTemperatureText(s.grainTemp, false),
            ChartMoistureText(s.incomingMoisture),
            ChartMoistureText(s.outgoingMoisture),
            ChartTemperatureText(s.outgoingTemp / 10, false),
            ChartOutputText(s.meterRollOutput),
        };
        EXPECT_EQ(Row(i), expected) << "row " << i;
    }
    // Samples a minute apart differ: the dryer's readings move.
    bool moved = false;
    for (int i = 1; i < count; ++i) {
        const auto& a = logged[static_cast<std::size_t>(i - 1)];
        const auto& b = logged[static_cast<std::size_t>(i)];
        moved |= a.incomingMoisture != b.incomingMoisture || a.incomingTemp != b.incomingTemp;
    }
    EXPECT_TRUE(moved);
    EXPECT_TRUE(screens_test::Has(chart_test::ChartTexts(), L"ON"));
}

}  // namespace
