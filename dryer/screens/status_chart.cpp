// The status chart window: its two controls, the scrolling through the short-term log with
// its 15-second hold, and the texts of a row. The painting is in status_chart_paint.cpp.
#include "dryer/screens/status_chart.h"

#include <algorithm>
#include <cstdio>

#include "dryer/link/units.h"
#include "dryer/records/display_settings.h"
#include "dryer/screens/entry_dialogs.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "platform/controls/controls.h"
#include "platform/drawing/painter.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/panel_colours.h"

namespace {

constexpr RECT kScrollBarRect{361, 37, 391, 172};    // 30 x 135
constexpr RECT kSampleTimeButtonRect{1, 1, 99, 32};  // 98 x 31
constexpr wchar_t kDegree = 0x00B0;
constexpr int kButtonTextHeight = 14;
constexpr COLORREF kPressedFace = 0x00A0A0A0;
constexpr COLORREF kButtonShadow = 0x00808080;

StatusChartState gChart;

void UpdateSampleTimeButton(HWND wnd)
{
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"SAMPLE TIME %d Min",
                  CurrentDisplaySettings().sampleTimeMinutes);
    SetWindowText(GetDlgItem(wnd, kStatusChartSampleTimeButton), text);
}

void CreateChartControls(HWND wnd)
{
    const RECT& s = kScrollBarRect;
    CreateWindowEx(0, WC_SCROLLBAR, L"", WS_CHILD | SBS_VERT, s.left, s.top, s.right - s.left,
                   s.bottom - s.top, wnd, kStatusChartScrollBar, Screens().instance, nullptr);
    const RECT& b = kSampleTimeButtonRect;
    CreateWindowEx(0, WC_BUTTON, L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, b.left, b.top,
                   b.right - b.left, b.bottom - b.top, wnd, kStatusChartSampleTimeButton,
                   Screens().instance, nullptr);
    UpdateSampleTimeButton(wnd);
}

// The position a scroll code asks for, from the current one.
int ScrolledPosition(WORD code, int thumb, int position)
{
    switch (code) {
        case SB_LINEUP: return position - 1;
        case SB_LINEDOWN: return position + 1;
        case SB_PAGEUP: return position - kStatusChartRows;
        case SB_PAGEDOWN: return position + kStatusChartRows;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: return thumb;
        default: return position;
    }
}

void OnChartScroll(HWND wnd, WORD code, int thumb)
{
    if (code == SB_ENDSCROLL) return;
    StatusChartState& c = gChart;
    // Past the bottom the window would end after the newest sample: stop at the bottom.
    c.position = std::clamp(ScrolledPosition(code, thumb, c.position), 0, StatusChartBottom(c));
    c.hold = c.position == StatusChartBottom(c) ? 0 : kStatusChartHoldSeconds;
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = c.position;
    SetScrollInfo(GetDlgItem(wnd, kStatusChartScrollBar), SB_CTL, &info, TRUE);
    InvalidateRect(wnd, nullptr, FALSE);
}

// The sample-time button is drawn here: its label fits its 98 x 31 face only on two lines.
LRESULT OnChartDrawItem(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (item == nullptr || static_cast<int>(item->CtlID) != kStatusChartSampleTimeButton) {
        return DefWindowProc(wnd, msg, wp, lp);
    }
    const bool pressed = (item->itemState & ODS_SELECTED) != 0;
    const RECT r = item->rcItem;
    platform::Painter paint(item->hDC);
    paint.Box(r, pressed ? kPressedFace : kSilver, pressed ? kSeparatorGrey : kWhite, 1);
    paint.Line(r.left, r.bottom - 1, r.right, r.bottom - 1, kButtonShadow);
    paint.Line(r.right - 1, r.top, r.right - 1, r.bottom, kButtonShadow);
    wchar_t text[32];
    GetWindowText(item->hwndItem, text, static_cast<int>(std::size(text)));
    // "SAMPLE TIME" over the minutes.
    const std::wstring label(text);
    const std::size_t split = label.find(L"TIME ");
    const std::wstring line1 = split == std::wstring::npos ? label : label.substr(0, split + 4);
    const std::wstring line2 = split == std::wstring::npos ? L"" : label.substr(split + 5);
    const int shift = pressed ? 1 : 0;
    const int middle = (r.top + r.bottom) / 2;
    constexpr UINT kLine = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    paint.Text(line1, RECT{r.left + shift, r.top + 1 + shift, r.right + shift, middle + shift},
               kBlack, kButtonTextHeight, FW_NORMAL, kLine);
    paint.Text(line2, RECT{r.left + shift, middle + shift, r.right + shift, r.bottom - 1 + shift},
               kBlack, kButtonTextHeight, FW_NORMAL, kLine);
    return TRUE;
}

LRESULT OnChartCommand(HWND wnd, int id)
{
    if (id == kStatusChartSampleTimeButton) OpenSampleTimeDialog(wnd);
    return 0;
}

}  // namespace

StatusChartState& StatusChart()
{
    return gChart;
}

void ResetStatusChart()
{
    gChart = StatusChartState{};
}

void CountDownStatusChartHold()
{
    if (gChart.hold > 0) --gChart.hold;
}

// The scroll range ends at the last record (count - 1), so that each position shows a window
// of its own: position 0 the oldest eight, the bottom the newest eight.
int StatusChartBottom(const StatusChartState& state)
{
    return std::max(0, state.count - kStatusChartRows);
}

int StatusChartSkip(const StatusChartState& state)
{
    // Fewer than nine records: no scroll bar, the newest eight (all there are) are shown.
    if (state.count <= kStatusChartRows) return 0;
    return StatusChartBottom(state) - state.position;
}

void RepaintStatusChart()
{
    if (Screens().averageValues != nullptr) InvalidateRect(Screens().averageValues, nullptr, FALSE);
}

void RefreshStatusChartSampleTime()
{
    HWND chart = Screens().averageValues;
    if (chart == nullptr) return;
    UpdateSampleTimeButton(chart);
    InvalidateRect(chart, nullptr, FALSE);
}

std::wstring ChartTimeText(const DataLogSample& s)
{
    const int hour12 = s.hour % 12 == 0 ? 12 : s.hour % 12;
    wchar_t text[40];
    std::swprintf(text, std::size(text), L"%2d:%0.2d%ls %d/%d", hour12, s.minute,
                  s.hour < 12 ? L"AM" : L"PM", s.month, s.day);
    return text;
}

std::wstring ChartTemperatureText(int fahrenheit, bool celsius)
{
    wchar_t text[24];
    std::swprintf(text, std::size(text), celsius ? L"%d%lcC" : L"%d%lcF",
                  celsius ? FahrenheitToCelsius(fahrenheit) : fahrenheit, kDegree);
    return text;
}

std::wstring ChartMoistureText(int tenths)
{
    wchar_t text[24];
    std::swprintf(text, std::size(text), L"%d.%d%%", tenths / 10, tenths % 10);
    return text;
}

std::wstring ChartOutputText(int percent)
{
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"%d %%", percent);
    return text;
}

LRESULT AverageValuesProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE:
            ResetStatusChart();  // a new window starts at the newest samples
            CreateChartControls(wnd);
            return 0;
        case WM_PAINT: PaintStatusChart(wnd); return 0;
        case WM_VSCROLL: OnChartScroll(wnd, LOWORD(wp), static_cast<short>(HIWORD(wp))); return 0;
        case WM_COMMAND: return OnChartCommand(wnd, LOWORD(wp));
        case WM_DRAWITEM: return OnChartDrawItem(wnd, msg, wp, lp);
    }
    return DefWindowProc(wnd, msg, wp, lp);
}
