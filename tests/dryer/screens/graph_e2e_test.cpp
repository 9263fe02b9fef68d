// End to end: the display on a simulated dryer that unloads, in the graph view. The 1-second tick
// writes a sample every 10 unloading seconds into the graph log, and the graph draws them.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "dryer/link/dryer_image.h"
#include "dryer/records/display_settings.h"
#include "dryer/screens/graph_screen.h"
#include "tests/dryer/screens/drawn_text_support.h"
#include "tests/dryer/screens/graph_screen_support.h"

namespace {

namespace fs = std::filesystem;

// Every sample in the graph log files of the panel root, in file name order.
std::vector<DataLogSample> LoggedSamples(const fs::path& root)
{
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(root / "Hard Disk" / "GraphDataLog")) {
        files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    std::vector<DataLogSample> samples;
    for (const auto& f : files) {
        std::ifstream in(f, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        for (std::size_t at = 0; at + 18 <= bytes.size(); at += 18) {
            const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data() + at);
            samples.push_back(DecodeDataLogSample(std::span(p, 18)).value());
        }
    }
    return samples;
}

int SecondsOfDay(const DataLogSample& s)
{
    return s.hour * 3600 + s.minute * 60 + s.second;
}

TEST(GraphEndToEnd, UnloadingLogsEveryTenSecondsAndTheGraphShowsTheLoggedValues)
{
    panel_test::PanelRun panel({}, [](const fs::path& root, OrbitDryerOptions&) {
        graph_test::StoreSetting(root, kGraphTracesValue, 0x3F);
    });
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(IsUnloading(panel.sim().Image()));
    graph_test::ShowGraphView();
    panel.Advance(95 * 1000);

    const std::vector<DataLogSample> logged = LoggedSamples(panel.root());
    ASSERT_GE(logged.size(), 9u);
    for (std::size_t i = 1; i < logged.size(); ++i) {
        EXPECT_EQ(SecondsOfDay(logged[i]) - SecondsOfDay(logged[i - 1]), 10) << i;
    }
    bool moved = false;
    for (std::size_t i = 1; i < logged.size(); ++i) {
        moved |= logged[i].incomingMoisture != logged[0].incomingMoisture ||
                 logged[i].incomingTemp != logged[0].incomingTemp;
    }
    EXPECT_TRUE(moved);

    // The graph's last repaint came after the last sample: all of them, one point each.
    panel.Advance(1000);
    const GraphWindow& w = GraphScreen().window;
    ASSERT_EQ(w.samples, static_cast<int>(logged.size()));
    const auto texts = graph_test::GraphTexts();
    EXPECT_TRUE(screens_test::Has(texts, GraphTimeText(logged.front(), false)));
    EXPECT_TRUE(screens_test::Has(texts, GraphTimeText(logged.back(), false)));
    EXPECT_TRUE(screens_test::Has(texts, L"[END]"));
    // Each trace's ticks are those of the logged values' range.
    struct Trace {
        int trace;
        int DataLogSample::*field;
        int divisor;
    };
    for (const Trace& t : {Trace{kTraceMoistureIn, &DataLogSample::incomingMoisture, 1},
                           Trace{kTraceTempIn, &DataLogSample::incomingTemp, 10},
                           Trace{kTraceMoistureOut, &DataLogSample::outgoingMoisture, 1},
                           Trace{kTraceTempOut, &DataLogSample::outgoingTemp, 10},
                           Trace{kTraceGrainTemp, &DataLogSample::grainTemp, 1},
                           Trace{kTraceMeterRoll, &DataLogSample::meterRollOutput, 1}}) {
        int lo = 1 << 30;
        int hi = -(1 << 30);
        for (const DataLogSample& s : logged) {
            lo = std::min(lo, s.*t.field / t.divisor);
            hi = std::max(hi, s.*t.field / t.divisor);
        }
        const GraphScale scale = ComputeGraphScale(lo, hi);
        for (int i = 0; i < 5; ++i) {
            EXPECT_TRUE(screens_test::Has(texts, GraphTickText(t.trace, scale.Tick(i))))
                << "trace " << t.trace << " tick " << i;
        }
    }
}

}  // namespace
