// Painting the graph area (DRAW_GRAPH_WINDOW): the dotted grid and the baseline, the tick
// labels of each trace that is on, the traces of 360 points, and the time axis with the first,
// middle and last sample's times and the hour offset. Temperatures are always Fahrenheit here.
#include <algorithm>
#include <array>
#include <cstdio>

#include "dryer/records/display_settings.h"
#include "dryer/screens/graph_screen.h"
#include "dryer/screens/screen_procs.h"
#include "platform/drawing/gdi_scope.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/panel_colours.h"

namespace {

constexpr COLORREF kGridGreen = RGB(0, 255, 0);
constexpr COLORREF kBaselineGreen = RGB(0, 200, 0);
constexpr COLORREF kAxisGrey = RGB(100, 100, 100);
constexpr COLORREF kOffsetGreen = RGB(0, 80, 0);
constexpr int kGridLeft = 1;
constexpr int kGridRight = 377;
constexpr int kGridDotPitch = 3;
constexpr int kGridRows[] = {47, 95, 142};
constexpr int kBaseline = 185;
constexpr int kTraceLeft = 10;  // x of the first point; the points are one pixel apart
constexpr int kBandWidth = 3;   // the narrow grey bands at the sides and the top
constexpr RECT kBottomBand{0, 190, kGraphAreaWidth, kGraphAreaHeight};
constexpr int kLabelHeight = 12;
constexpr int kAxisTextHeight = 14;
constexpr int kAxisTextWeight = 600;
// Texts that do not fit their box step down a pixel at a time, to this size at the smallest:
// the columns were laid out for a narrower face than ours.
constexpr int kFitStep = 1;
constexpr int kSmallestText = 8;
constexpr UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// The label rows of the five ticks, lowest tick first.
struct Band {
    int top, bottom;
};
constexpr std::array<Band, 5> kTickRows{{{170, 190}, {142, 162}, {95, 115}, {47, 67}, {5, 20}}};

enum class LabelForm { Moisture, Temperature, Percent };

// One trace: its colours, the column of its tick labels and their form.
struct TraceLook {
    COLORREF line;
    COLORREF label;
    int labelLeft, labelRight;
    LabelForm form;
};
constexpr std::array<TraceLook, kGraphTraceCount> kTraces{{
    {RGB(0, 255, 0), RGB(0, 200, 0), 6, 39, LabelForm::Moisture},            // moisture in
    {RGB(255, 128, 64), RGB(200, 105, 50), 35, 65, LabelForm::Temperature},  // temperature in
    {RGB(0, 255, 255), RGB(0, 200, 200), 60, 90, LabelForm::Moisture},       // moisture out
    {RGB(255, 0, 255), RGB(200, 0, 200), 280, 310, LabelForm::Temperature},  // temperature out
    {RGB(255, 255, 0), RGB(200, 200, 0), 310, 337, LabelForm::Temperature},  // grain temperature
    {RGB(255, 0, 0), RGB(150, 0, 0), 340, 365, LabelForm::Percent},          // metering roll speed
}};

// The first time ends where the hour offset's box begins, so that the two never overlap.
constexpr RECT kFirstTimeRect{3, 195, 55, 215};
constexpr RECT kMiddleTimeRect{135, 195, 235, 215};
constexpr RECT kLastTimeRect{300, 195, 367, 215};
constexpr RECT kOffsetRect{55, 195, 120, 215};

void PaintGrid(platform::Painter& paint)
{
    for (int y : kGridRows) {
        for (int x = kGridLeft; x <= kGridRight; x += kGridDotPitch) {
            SetPixel(paint.dc(), x, y, kGridGreen);
        }
    }
    paint.Line(0, kBaseline, kGraphAreaWidth, kBaseline, kBaselineGreen);
}

void PaintTickLabels(platform::Painter& paint, int trace, const GraphScale& scale)
{
    const TraceLook& look = kTraces[static_cast<std::size_t>(trace)];
    for (std::size_t i = 0; i < kTickRows.size(); ++i) {
        const RECT r{look.labelLeft, kTickRows[i].top, look.labelRight, kTickRows[i].bottom};
        paint.TextToFit(GraphTickText(trace, scale.Tick(static_cast<int>(i))), r, look.label,
                        kLabelHeight, FW_NORMAL, kCentred, kFitStep, kSmallestText);
    }
}

// A trace is drawn a column a point: each column runs from its point halfway towards each
// neighbour, so the columns join up as a line does. One fill a column instead of one stroke a
// segment keeps the repaint of six traces within a millisecond.
void PaintTrace(platform::Painter& paint, int trace, const GraphWindow& w)
{
    const std::size_t t = static_cast<std::size_t>(trace);
    const auto& values = w.values[t];
    const GraphScale& scale = w.scales[t];
    const auto yAt = [&](int i) {
        return kBaseline - GraphPointHeight(values[static_cast<std::size_t>(i)], scale);
    };
    platform::GdiObject brush(CreateSolidBrush(kTraces[t].line));
    int y = w.points > 0 ? yAt(0) : 0;
    for (int i = 0; i < w.points; ++i) {
        const int next = i + 1 < w.points ? yAt(i + 1) : y;
        const int towardPrevious = i > 0 ? y + (yAt(i - 1) - y) / 2 : y;
        const int towardNext = y + (next - y) / 2;
        const int top = std::min({y, towardPrevious, towardNext});
        const int bottom = std::max({y, towardPrevious, towardNext});
        const RECT column{kTraceLeft + i, top, kTraceLeft + i + 1, bottom + 1};
        FillRect(paint.dc(), &column, static_cast<HBRUSH>(brush.get()));
        y = next;
    }
}

void PaintTimeAxis(platform::Painter& paint, const GraphWindow& w)
{
    paint.Fill(kBottomBand, kAxisGrey);
    paint.Fill(RECT{0, 0, kBandWidth, kGraphAreaHeight}, kAxisGrey);
    paint.Fill(RECT{kGraphAreaWidth - kBandWidth, 0, kGraphAreaWidth, kGraphAreaHeight}, kAxisGrey);
    paint.Fill(RECT{0, 0, kGraphAreaWidth, kBandWidth}, kAxisGrey);
    if (w.samples > 0) {
        constexpr UINT kLine = DT_VCENTER | DT_SINGLELINE;
        paint.TextToFit(GraphTimeText(w.first, false), kFirstTimeRect, kBlack, kAxisTextHeight,
                        kAxisTextWeight, kLine | DT_LEFT, kFitStep, kSmallestText);
        paint.TextToFit(GraphTimeText(w.middle, true), kMiddleTimeRect, kBlack, kAxisTextHeight,
                        kAxisTextWeight, kLine | DT_CENTER, kFitStep, kSmallestText);
        paint.TextToFit(GraphTimeText(w.last, false), kLastTimeRect, kBlack, kAxisTextHeight,
                        kAxisTextWeight, kLine | DT_RIGHT, kFitStep, kSmallestText);
    }
    paint.TextToFit(GraphOffsetText(w), kOffsetRect, kOffsetGreen, kAxisTextHeight, kAxisTextWeight,
                    kCentred, kFitStep, kSmallestText);
}

int Hour12(int hour)
{
    return hour % 12 == 0 ? 12 : hour % 12;
}

}  // namespace

void DrawGraphArea(platform::Painter& paint, const GraphWindow& window, BYTE traces)
{
    PaintGrid(paint);
    for (int t = 0; t < kGraphTraceCount; ++t) {
        const bool on = (traces & (1u << t)) != 0;
        if (on && window.points > 0)
            PaintTickLabels(paint, t, window.scales[static_cast<std::size_t>(t)]);
    }
    for (int t = 0; t < kGraphTraceCount; ++t) {
        const bool on = (traces & (1u << t)) != 0;
        if (on && window.points > 0) PaintTrace(paint, t, window);
    }
    PaintTimeAxis(paint, window);
}

std::wstring GraphTickText(int trace, int value)
{
    wchar_t text[24];
    switch (kTraces[static_cast<std::size_t>(trace)].form) {
        case LabelForm::Moisture:
            std::swprintf(text, std::size(text), L"%d.%d%%", value / 10, value % 10);
            break;
        case LabelForm::Temperature: std::swprintf(text, std::size(text), L"%dF", value); break;
        case LabelForm::Percent: std::swprintf(text, std::size(text), L"%d%%", value); break;
    }
    return text;
}

std::wstring GraphTimeText(const DataLogSample& s, bool withDate)
{
    wchar_t text[32];
    const wchar_t* half = s.hour < 12 ? L"AM" : L"PM";
    if (withDate) {
        std::swprintf(text, std::size(text), L"%d:%02d%ls %d/%02d", Hour12(s.hour), s.minute, half,
                      s.month, s.day);
    } else {
        std::swprintf(text, std::size(text), L"%d:%02d%ls", Hour12(s.hour), s.minute, half);
    }
    return text;
}

std::wstring GraphOffsetText(const GraphWindow& w)
{
    if (w.offset == w.hoursAvailable) return L"[END]";
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"[-%d HR]", w.offset);
    return text;
}

LRESULT DrawGraphProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_PAINT) {
        LoadGraphForScreen();  // every repaint reads the window afresh from the files
        platform::Painter paint(wnd, kBlack);
        DrawGraphArea(paint, GraphScreen().window, CurrentDisplaySettings().graphTraces);
        return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}
