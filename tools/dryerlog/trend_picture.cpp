// Drawing a graph log's trend off-screen, through the graph screen's own reduction and painting,
// one graph area per 8-hour window, copied one under the other into the picture.
#include "tools/dryerlog/trend_picture.h"

#include <algorithm>
#include <vector>

#include "dryer/records/graph_log.h"
#include "dryer/screens/graph_screen.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/gdi_scope.h"
#include "platform/drawing/painter.h"
#include "tools/dryerlog/log_conversion.h"

namespace dryerlog {

namespace {

constexpr BYTE kAllTraces = (1u << kGraphTraceCount) - 1;
constexpr std::size_t kWindowSamples = kGraphHourSamples * kTrendWindowHours;
constexpr std::size_t kMostSamples = kWindowSamples * kTrendMostWindows;

// One window as the graph screen would hold it after loading it: its points, and its hour
// offset from the end of the file among the hours the file holds.
GraphWindow WindowOf(std::span<const DataLogRecord> all, std::size_t from)
{
    const std::size_t count = std::min(kWindowSamples, all.size() - from);
    GraphWindow w;
    ReduceGraphSamples(all.subspan(from, count), GraphScaleHours(kTrendScaleCode), w);
    w.samples = static_cast<int>(count);
    w.hoursAvailable = static_cast<int>(all.size() / kGraphHourSamples);
    w.offset = static_cast<int>((all.size() - from - count) / kGraphHourSamples);
    w.maxOffset = std::max(0, w.hoursAvailable - kTrendWindowHours);
    return w;
}

}  // namespace

TrendPicture DrawTrend(std::span<const std::uint8_t> bytes, int year)
{
    TrendPicture out;
    const Conversion checked = ConvertSamples(bytes, year);
    out.problem = checked.problem;
    out.records = std::min(checked.records, kMostSamples);
    const std::size_t skipped = checked.records - out.records;

    std::vector<DataLogRecord> records(out.records);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto at = static_cast<std::ptrdiff_t>((skipped + i) * kDataLogSampleSize);
        std::copy_n(bytes.begin() + at, kDataLogSampleSize, records[i].begin());
    }

    out.windows =
        std::max<int>(1, static_cast<int>((records.size() + kWindowSamples - 1) / kWindowSamples));
    out.width = kGraphAreaWidth;
    out.height = kGraphAreaHeight * out.windows;
    platform::MemoryDc picture(nullptr);
    out.bitmap = CreateCompatibleBitmap(picture.get(), out.width, out.height);
    platform::Selection intoPicture(picture.get(), out.bitmap);

    platform::MemoryDc area(nullptr);
    platform::GdiObject areaBitmap(
        CreateCompatibleBitmap(area.get(), kGraphAreaWidth, kGraphAreaHeight));
    platform::Selection intoArea(area.get(), areaBitmap.get());
    for (int i = 0; i < out.windows; ++i) {
        const GraphWindow w = WindowOf(records, static_cast<std::size_t>(i) * kWindowSamples);
        {
            platform::Painter paint(area.get(), kGraphAreaWidth, kGraphAreaHeight);
            paint.Fill(RECT{0, 0, kGraphAreaWidth, kGraphAreaHeight}, RGB(0, 0, 0));
            DrawGraphArea(paint, w, kAllTraces);
        }
        BitBlt(picture.get(), 0, i * kGraphAreaHeight, kGraphAreaWidth, kGraphAreaHeight,
               area.get(), 0, 0, SRCCOPY);
    }
    return out;
}

}  // namespace dryerlog
