// The status chart of the home screen (AVERAGE_VALUES_WINDOW, " DRYER STATUS CHART"): the
// latest short-term log samples as a table of eight rows, scrolled back through the log with a
// hold of 15 seconds, and the button that opens the sample-time dialog.
#pragma once

#include <string>

#include "dryer/records/data_log_sample.h"
#include "platform/win_types.h"

inline constexpr int kStatusChartSampleTimeButton = 0x9024;
inline constexpr int kStatusChartScrollBar = 0x9026;
inline constexpr int kStatusChartRows = 8;
inline constexpr int kStatusChartHoldSeconds = 15;

// The scroll state of the chart.
struct StatusChartState {
    int count = 0;     // records the last paint found (at most 144)
    int position = 0;  // scroll position, 0 (oldest eight) .. count - 8 (newest eight)
    int hold = 0;      // seconds the position is kept after a scroll
};
StatusChartState& StatusChart();
void ResetStatusChart();

// The 1-second tick: counts the scroll hold down.
void CountDownStatusChartHold();

// The scroll position that shows the newest samples.
int StatusChartBottom(const StatusChartState& state);
// Newest records skipped by the window the chart shows.
int StatusChartSkip(const StatusChartState& state);

// Repaints the chart, if it exists (after the log was written or cleared).
void RepaintStatusChart();
// Brings the chart's button text to the current sample time and repaints the chart.
void RefreshStatusChartSampleTime();

// The texts of one row.
std::wstring ChartTimeText(const DataLogSample& sample);
std::wstring ChartTemperatureText(int fahrenheit, bool celsius);
std::wstring ChartMoistureText(int tenths);
std::wstring ChartOutputText(int percent);

// Paints the chart window (status_chart_paint.cpp).
void PaintStatusChart(HWND wnd);
