// The graph screen of the home screen's graph view (GRAPH_WINDOW, " GRAPH OF SELECTED DRYER
// VARIABLES"): the graph area (DRAW_GRAPH_WINDOW) drawn from the graph data log, six trace
// buttons kept in the registry, the hour scroll bar and the "GRAPH SETUP - 25" dialog.
#pragma once

#include <string>

#include "dryer/records/graph_log.h"
#include "platform/drawing/painter.h"
#include "platform/win_types.h"

inline constexpr const wchar_t* kGraphSetupTitle = L"GRAPH SETUP - 25";
inline constexpr const wchar_t* kDrawGraphCaption =
    L" DRYER VARIABLES ARE SAMPLED ONCE EACH MINUTE";

// Controls of the graph screen.
inline constexpr int kGraphMoistInButton = 2510;
inline constexpr int kGraphTempInButton = 2511;
inline constexpr int kGraphMoistOutButton = 2512;
inline constexpr int kGraphTempOutButton = 2513;
inline constexpr int kGraphGrainTempButton = 2514;
inline constexpr int kGraphMrSpeedButton = 2515;
inline constexpr int kGraphScrollBar = 2516;
inline constexpr int kGraphSetupButton = 2517;
// Controls of "GRAPH SETUP - 25".
inline constexpr int kGraphSetupOneHour = 2501;
inline constexpr int kGraphSetupTwoHours = 2502;
inline constexpr int kGraphSetupFourHours = 2503;
inline constexpr int kGraphSetupEightHours = 2504;
inline constexpr int kGraphSetupAccept = 2505;

// Size of the graph area.
inline constexpr int kGraphAreaWidth = 380;
inline constexpr int kGraphAreaHeight = 220;

// What the graph shows: the hour offset the operator scrolled to and the last load.
struct GraphScreenState {
    int offset = 0;
    GraphWindow window;
};
GraphScreenState& GraphScreen();
void ResetGraphScreen();

// True when the trace's switch (its bit of the registry byte) is on.
bool GraphTraceOn(int trace);

// Loads the window the screen shows now and brings the scroll bar to it.
void LoadGraphForScreen();

// Draws the graph area of a loaded window, with the traces whose bits are set.
void DrawGraphArea(platform::Painter& paint, const GraphWindow& window, BYTE traces);

// Texts of the graph area.
std::wstring GraphTickText(int trace, int value);
std::wstring GraphTimeText(const DataLogSample& sample, bool withDate);
std::wstring GraphOffsetText(const GraphWindow& window);

// Repaints the graph area and the scroll bar, when the graph screen exists.
void RepaintGraph();

// Opens "GRAPH SETUP - 25" over the graph screen.
INT_PTR OpenGraphSetupDialog(HWND owner);
