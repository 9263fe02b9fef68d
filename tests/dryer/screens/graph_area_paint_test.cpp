// The graph area painted off-screen: the dotted grid, the baseline, the traces in their line
// colours at their heights, the grey frame of the time axis, and nothing of a trace that is off.
#include <gtest/gtest.h>

#include "dryer/screens/graph_screen.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/gdi_scope.h"

namespace {

constexpr COLORREF kBlackPixel = RGB(0, 0, 0);
constexpr int kBaseline = 185;
constexpr int kFirstX = 10;

// A window of 360 points: moisture in climbs 100..459 tenths, the others stand still.
GraphWindow Ramp()
{
    GraphWindow w;
    w.points = kGraphPoints;
    w.samples = kGraphPoints;
    for (int i = 0; i < kGraphPoints; ++i) {
        const std::size_t p = static_cast<std::size_t>(i);
        w.values[kTraceMoistureIn][p] = 100 + i;
        w.values[kTraceTempIn][p] = 65;
        w.values[kTraceMoistureOut][p] = 150;
        w.values[kTraceTempOut][p] = 90;
        w.values[kTraceGrainTemp][p] = 110;
        w.values[kTraceMeterRoll][p] = 40;
    }
    w.scales[kTraceMoistureIn] = ComputeGraphScale(100, 459);
    for (int t = 1; t < kGraphTraceCount; ++t) {
        const int v = w.values[static_cast<std::size_t>(t)][0];
        w.scales[static_cast<std::size_t>(t)] = ComputeGraphScale(v, v);
    }
    w.first.hour = 6;
    w.middle.hour = 7;
    w.last.hour = 8;
    return w;
}

// Paints the area into a bitmap and keeps it for reading pixels.
class PaintedArea {
public:
    PaintedArea(const GraphWindow& w, BYTE traces)
        : dc_(nullptr),
          bitmap_(CreateCompatibleBitmap(dc_.get(), kGraphAreaWidth, kGraphAreaHeight)),
          selected_(dc_.get(), bitmap_.get())
    {
        platform::Painter paint(dc_.get(), kGraphAreaWidth, kGraphAreaHeight);
        DrawGraphArea(paint, w, traces);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc_.get(), x, y); }
    // True when any pixel of the plot (inside the frame, above the axis) has this colour.
    bool PlotHas(COLORREF colour) const
    {
        for (int y = 21; y < 190; ++y) {
            for (int x = 3; x < 377; ++x) {
                if (At(x, y) == colour) return true;
            }
        }
        return false;
    }

private:
    platform::MemoryDc dc_;
    platform::GdiObject bitmap_;
    platform::Selection selected_;
};

TEST(GraphAreaPaint, GridDotsEveryThirdPixelAndASolidBaseline)
{
    const PaintedArea area(GraphWindow{}, 0);
    for (int y : {47, 95, 142}) {
        EXPECT_EQ(area.At(4, y), RGB(0, 255, 0)) << y;
        EXPECT_EQ(area.At(5, y), kBlackPixel) << y;
        EXPECT_EQ(area.At(6, y), kBlackPixel) << y;
        EXPECT_EQ(area.At(7, y), RGB(0, 255, 0)) << y;
        EXPECT_EQ(area.At(376, y), RGB(0, 255, 0)) << y;
    }
    for (int x : {5, 100, 376}) EXPECT_EQ(area.At(x, kBaseline), RGB(0, 200, 0)) << x;
    // The grey frame: the axis band at the bottom, narrow bands at the sides and the top.
    EXPECT_EQ(area.At(200, 192), RGB(100, 100, 100));
    EXPECT_EQ(area.At(1, 100), RGB(100, 100, 100));
    EXPECT_EQ(area.At(378, 100), RGB(100, 100, 100));
    EXPECT_EQ(area.At(200, 1), RGB(100, 100, 100));
}

TEST(GraphAreaPaint, TracesRunAPixelAPointAtTheirHeights)
{
    const GraphWindow w = Ramp();
    const PaintedArea area(w, 0x01);
    const GraphScale& s = w.scales[kTraceMoistureIn];
    for (int i : {0, 1, 90, 200, 359}) {
        const int y = kBaseline - GraphPointHeight(100 + i, s);
        EXPECT_EQ(area.At(kFirstX + i, y), RGB(0, 255, 0)) << "point " << i;
    }
    // Nothing of the ramp is drawn past its last point.
    for (int y = 21; y < 185; ++y) EXPECT_NE(area.At(kFirstX + 361, y), RGB(0, 255, 0)) << y;
    // A flat trace lies on its base tick: at the baseline, in its own colour.
    const PaintedArea all(w, 0x3F);
    EXPECT_EQ(all.At(kFirstX + 100, kBaseline), RGB(255, 0, 0));  // metering roll, drawn last
    EXPECT_EQ(all.At(kFirstX + 200, kBaseline - GraphPointHeight(300, s)), RGB(0, 255, 0));
}

// Every trace switched off leaves only the grid, the baseline and the time axis.
TEST(GraphAreaPaint, TracesThatAreOffAreNotDrawn)
{
    const PaintedArea area(Ramp(), 0);
    for (COLORREF c : {RGB(255, 128, 64), RGB(0, 255, 255), RGB(255, 0, 255), RGB(255, 255, 0),
                       RGB(255, 0, 0)}) {
        EXPECT_FALSE(area.PlotHas(c)) << std::hex << c;
    }
    EXPECT_EQ(area.At(kFirstX + 200, kBaseline - 100), kBlackPixel);
    // Only moisture in: its colour, none of the others.
    const PaintedArea one(Ramp(), 0x01);
    EXPECT_FALSE(one.PlotHas(RGB(255, 0, 0)));
    EXPECT_FALSE(one.PlotHas(RGB(255, 255, 0)));
}

TEST(GraphAreaPaint, TimeTextsUseTheTwelveHourClock)
{
    DataLogSample s;
    s.hour = 0;
    s.minute = 5;
    s.month = 3;
    s.day = 4;
    EXPECT_EQ(GraphTimeText(s, false), L"12:05AM");
    EXPECT_EQ(GraphTimeText(s, true), L"12:05AM 3/04");
    s.hour = 12;
    EXPECT_EQ(GraphTimeText(s, false), L"12:05PM");
    s.hour = 13;
    s.minute = 0;
    EXPECT_EQ(GraphTimeText(s, false), L"1:00PM");
    s.hour = 11;
    s.minute = 59;
    EXPECT_EQ(GraphTimeText(s, false), L"11:59AM");
    EXPECT_EQ(GraphTickText(kTraceMoistureIn, 155), L"15.5%");
    EXPECT_EQ(GraphTickText(kTraceTempOut, -5), L"-5F");
    EXPECT_EQ(GraphTickText(kTraceMeterRoll, 40), L"40%");
}

TEST(GraphAreaPaint, TheOffsetLabelReadsEndOnlyAtTheHoursAvailable)
{
    GraphWindow w;
    EXPECT_EQ(GraphOffsetText(w), L"[END]");  // nothing logged: 0 of 0 hours
    w.hoursAvailable = 5;
    w.offset = 0;
    EXPECT_EQ(GraphOffsetText(w), L"[-0 HR]");
    w.offset = 4;
    EXPECT_EQ(GraphOffsetText(w), L"[-4 HR]");
}

}  // namespace
