// A graph log drawn as a trend picture: one graph area a window of 8 hours, oldest at the top,
// the traces at the heights the graph screen gives their 8-sample averages; a cut file draws
// its good records and names the cut, a file longer than a day draws its last 24 hours.
#include "tools/dryerlog/trend_picture.h"

#include <gtest/gtest.h>

#include <vector>

#include "dryer/records/data_log_sample.h"
#include "dryer/records/graph_log.h"
#include "dryer/screens/graph_screen.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/gdi_scope.h"

namespace {

using dryerlog::DrawTrend;
using dryerlog::TrendPicture;

constexpr COLORREF kMoistureInLine = RGB(0, 255, 0);
constexpr int kBaseline = 185;
constexpr int kFirstX = 10;
constexpr int kSamplesPerPoint = 8;  // 8 hours of samples over 360 points

// `count` samples 10 seconds apart from 00:00:00 on 3/3 on; the incoming moisture climbs a tenth
// a point (8 samples) from 10.0 %, the other traces stand still.
std::vector<std::uint8_t> GraphLog(int count)
{
    std::vector<std::uint8_t> bytes;
    for (int s = 0; s < count; ++s) {
        DataLogSample d;
        d.incomingMoisture = 100 + s / kSamplesPerPoint;
        d.incomingTemp = 650;
        d.outgoingMoisture = 150;
        d.outgoingTemp = 900;
        d.grainTemp = 110;
        d.meterRollOutput = 40;
        const int seconds = s * kGraphSampleSeconds;
        d.hour = seconds / 3600 % 24;
        d.minute = seconds / 60 % 60;
        d.second = seconds % 60;
        d.month = 3;
        d.day = 3 + seconds / 86400;
        const DataLogRecord r = EncodeDataLogSample(d);
        bytes.insert(bytes.end(), r.begin(), r.end());
    }
    return bytes;
}

class Picture {
public:
    explicit Picture(const TrendPicture& p)
        : bitmap_(p.bitmap), dc_(nullptr), in_(dc_.get(), p.bitmap)
    {
    }
    COLORREF At(int x, int y) const { return GetPixel(dc_.get(), x, y); }

private:
    platform::GdiObject bitmap_;
    platform::MemoryDc dc_;
    platform::Selection in_;
};

// y of a moisture-in point of a window whose points run from `lowest` to `highest`.
int MoistureY(int window, int value, int lowest, int highest)
{
    return window * kGraphAreaHeight + kBaseline -
           GraphPointHeight(value, ComputeGraphScale(lowest, highest));
}

TEST(TrendPicture, AWholeDayIsThreeWindowsOfEightHoursOldestFirst)
{
    const auto log = GraphLog(8640);
    const TrendPicture p = DrawTrend(log, 2026);
    EXPECT_TRUE(p.problem.empty()) << p.problem;
    EXPECT_EQ(p.records, 8640u);
    EXPECT_EQ(p.windows, 3);
    EXPECT_EQ(p.width, 380);
    EXPECT_EQ(p.height, 660);
    BITMAP info;
    GetObject(p.bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 380);
    EXPECT_EQ(info.bmHeight, 660);

    const Picture picture(p);
    for (int w = 0; w < 3; ++w) {
        const int lowest = 100 + 360 * w;  // each window's points, on its own scale
        const int highest = lowest + 359;
        for (int i : {180, 270, 359}) {
            EXPECT_EQ(picture.At(kFirstX + i, MoistureY(w, lowest + i, lowest, highest)),
                      kMoistureInLine)
                << "window " << w << " point " << i;
        }
        // the grey band of the time axis under each window's plot
        EXPECT_EQ(picture.At(200, w * kGraphAreaHeight + 192), RGB(100, 100, 100));
    }
}

TEST(TrendPicture, ACutFileDrawsItsGoodRecordsAndNamesTheCut)
{
    auto log = GraphLog(4320);  // 12 hours
    log.resize(log.size() + 5);
    const TrendPicture p = DrawTrend(log, 2026);
    EXPECT_EQ(p.problem, "truncated record at byte offset 77760 (5 of 18 bytes)");
    EXPECT_EQ(p.records, 4320u);
    EXPECT_EQ(p.windows, 2);
    EXPECT_EQ(p.height, 440);
    const Picture picture(p);
    // the second window holds four hours, 180 points, climbing from 46.0 %
    EXPECT_EQ(picture.At(kFirstX + 179, MoistureY(1, 639, 460, 639)), kMoistureInLine);
    EXPECT_NE(picture.At(kFirstX + 181, MoistureY(1, 639, 460, 639)), kMoistureInLine);
}

TEST(TrendPicture, MoreThanADayDrawsTheLast24Hours)
{
    const TrendPicture p = DrawTrend(GraphLog(8640 + 360), 2026);
    EXPECT_TRUE(p.problem.empty()) << p.problem;
    EXPECT_EQ(p.records, 8640u);
    EXPECT_EQ(p.windows, 3);
    const Picture picture(p);
    // the first hour is left out: the first window climbs from 14.5 %
    EXPECT_EQ(picture.At(kFirstX + 359, MoistureY(0, 504, 145, 504)), kMoistureInLine);
}

TEST(TrendPicture, AnEmptyOrShortFileStillDrawsOneWindow)
{
    const TrendPicture empty = DrawTrend({}, 2026);
    EXPECT_EQ(empty.windows, 1);
    EXPECT_EQ(empty.height, 220);
    EXPECT_EQ(empty.records, 0u);
    DeleteObject(empty.bitmap);

    // 8 hours exactly fill one window; one more sample starts a second
    const TrendPicture eight = DrawTrend(GraphLog(2880), 2026);
    EXPECT_EQ(eight.windows, 1);
    DeleteObject(eight.bitmap);
    const TrendPicture more = DrawTrend(GraphLog(2881), 2026);
    EXPECT_EQ(more.windows, 2);
    DeleteObject(more.bitmap);
}

}  // namespace
