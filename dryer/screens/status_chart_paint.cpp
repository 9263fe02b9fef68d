// Painting the status chart: the two header lines in the colours of their columns, the logging
// state, up to eight rows of samples from the short-term log and the grey grid.
#include <array>
#include <cstdio>

#include "dryer/link/dryer_image.h"
#include "dryer/records/data_log_hooks.h"
#include "dryer/records/display_settings.h"
#include "dryer/records/short_term_log.h"
#include "dryer/screens/status_chart.h"
#include "platform/controls/controls.h"
#include "platform/drawing/painter.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/panel_colours.h"

namespace {

constexpr COLORREF kMagenta = 0x00FF00FF;
constexpr COLORREF kOffRed = 0x00000096;  // RGB 150, 0, 0
constexpr int kTextHeight = 15;
constexpr int kStateHeight = 12;
constexpr LONG kStateWeight = 300;
constexpr UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr int kFullPercent = 100;

// One column of the table: its cells' x range, colour and header lines.
struct ChartColumn {
    int left, right;
    COLORREF colour;
    const wchar_t* line1;
    const wchar_t* line2;  // null: drawn separately or none
};
constexpr std::array<ChartColumn, 6> kColumns{{
    {0, 100, kGreen, L"SAMPLE TIME", nullptr},
    {100, 150, kYellow, L"GRAIN", L"TEMP"},
    {150, 200, kMagenta, L"MOIST", L"IN"},
    {200, 250, kGreen, L"MOIST", L"OUT"},
    {250, 300, kCyan, L"TEMP", L"OUT"},
    {300, 350, kRed, L"M.R.O.", nullptr},
}};
constexpr int kHeaderLine1Top = 0;
constexpr int kHeaderLine2Top = 15;
constexpr int kHeaderLineHeight = 15;
constexpr RECT kSampleMinutesRect{60, 15, 98, 30};
constexpr int kStateLeft = 363;
constexpr int kStateRight = 391;
constexpr int kFirstRowTop = 40;
constexpr int kRowPitch = 16;
constexpr int kRowHeight = 15;

void Cell(platform::Painter& paint, const std::wstring& text, int left, int top, int right,
          int bottom, COLORREF colour, int height = kTextHeight, LONG weight = FW_NORMAL)
{
    paint.Text(text, RECT{left, top, right, bottom}, colour, height, weight, kCentred);
}

void PaintHeader(platform::Painter& paint)
{
    for (const ChartColumn& c : kColumns) {
        Cell(paint, c.line1, c.left, kHeaderLine1Top, c.right, kHeaderLine1Top + kHeaderLineHeight,
             c.colour);
        if (c.line2 != nullptr) {
            Cell(paint, c.line2, c.left, kHeaderLine2Top, c.right,
                 kHeaderLine2Top + kHeaderLineHeight, c.colour);
        }
    }
    wchar_t minutes[16];
    std::swprintf(minutes, std::size(minutes), L"%d Min",
                  CurrentDisplaySettings().sampleTimeMinutes);
    const RECT& m = kSampleMinutesRect;
    Cell(paint, minutes, m.left, m.top, m.right, m.bottom, kGreen, kStateHeight);
}

void PaintLoggingState(platform::Painter& paint)
{
    const int line1Bottom = kHeaderLine1Top + kHeaderLineHeight;
    const int line2Bottom = kHeaderLine2Top + kHeaderLineHeight;
    if (!DataLogUnloading()) {
        Cell(paint, L"OFF", kStateLeft, kHeaderLine1Top, kStateRight, line1Bottom, kOffRed,
             kStateHeight, kStateWeight);
        return;
    }
    Cell(paint, L"ON", kStateLeft, kHeaderLine1Top, kStateRight, line1Bottom, kBlue, kStateHeight,
         kStateWeight);
    const int level = LongTermFillLevelPercent();
    wchar_t fill[16];
    std::swprintf(fill, std::size(fill), L"%d%%", level);
    Cell(paint, level >= kFullPercent ? std::wstring(L"FULL") : std::wstring(fill), kStateLeft,
         kHeaderLine2Top, kStateRight, line2Bottom, kBlue, kStateHeight, kStateWeight);
}

void PaintRow(platform::Painter& paint, int row, const DataLogSample& s, bool celsius)
{
    const int top = kFirstRowTop + kRowPitch * row;
    const int bottom = top + kRowHeight;
    const std::wstring texts[] = {
        ChartTimeText(s),
        ChartTemperatureText(s.grainTemp, celsius),
        ChartMoistureText(s.incomingMoisture),
        ChartMoistureText(s.outgoingMoisture),
        ChartTemperatureText(s.outgoingTemp / 10, celsius),
        ChartOutputText(s.meterRollOutput),
    };
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        Cell(paint, texts[i], kColumns[i].left, top, kColumns[i].right, bottom, kColumns[i].colour);
    }
}

void PaintGrid(platform::Painter& paint)
{
    for (int x : {100, 150, 200, 250, 300}) paint.Line(x, 0, x, 205, kSeparatorGrey);
    paint.Line(0, 33, 400, 33, kSeparatorGrey);
    paint.Line(0, 35, 400, 35, kSeparatorGrey);
    paint.Line(361, 0, 361, 33, kSeparatorGrey);
}

// Follows the log with the scroll bar: shown from nine records on, back at the newest samples
// once the hold has run out.
void UpdateScrollBar(HWND wnd, StatusChartState& chart)
{
    chart.count = ShortTermRecordCount();
    HWND bar = GetDlgItem(wnd, kStatusChartScrollBar);
    const bool scrolls = chart.count > kStatusChartRows;
    ShowWindow(bar, scrolls ? SW_SHOW : SW_HIDE);
    if (!scrolls) {
        chart.position = 0;
        chart.hold = 0;
        return;
    }
    const int bottom = StatusChartBottom(chart);
    if (chart.hold == 0 || chart.position > bottom) chart.position = bottom;
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = chart.count - 1;
    info.nPage = kStatusChartRows;
    info.nPos = chart.position;
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
}

}  // namespace

void PaintStatusChart(HWND wnd)
{
    StatusChartState& chart = StatusChart();
    UpdateScrollBar(wnd, chart);
    std::array<DataLogSample, kStatusChartRows> samples;
    const int rows = ReadShortTermWindow(samples, StatusChartSkip(chart));
    const bool celsius = IsSet(DryerImage, siUnitsBit);

    platform::Painter paint(wnd, kBlack);
    PaintHeader(paint);
    PaintLoggingState(paint);
    for (int i = 0; i < rows; ++i)
        PaintRow(paint, i, samples[static_cast<std::size_t>(i)], celsius);
    PaintGrid(paint);
}
