// The graph screen window: its graph area, the six trace buttons whose switches are kept in the
// registry, the hour scroll bar and the "SETUP" button, and the hooks of the 1-second tick. The
// graph area is painted in graph_screen_paint.cpp.
#include "dryer/screens/graph_screen.h"

#include <algorithm>
#include <array>

#include "dryer/records/data_log_hooks.h"
#include "dryer/records/display_settings.h"
#include "dryer/screens/bitmap_buttons.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/bitmap_ids.h"

namespace {

constexpr RECT kGraphAreaRect{5, 5, 5 + kGraphAreaWidth, 5 + kGraphAreaHeight};
constexpr RECT kScrollBarRect{5, 225, 385, 250};      // 380 x 25
constexpr RECT kSetupButtonRect{270, 340, 380, 365};  // 110 x 25
constexpr int kTraceButtonWidth = 110;
constexpr int kTraceButtonHeight = 33;

// One trace button: its window text, place and faces, in the order of the trace bits.
struct TraceButton {
    int id;
    const wchar_t* text;
    int x, y;
    int onBitmap, offBitmap;
};
constexpr std::array<TraceButton, kGraphTraceCount> kTraceButtons{{
    {kGraphMoistInButton, L"GRAPH_MOIST_IN_BUTTON", 8, 260, kBitmapGraphMoistInOn,
     kBitmapGraphMoistInOff},
    {kGraphTempInButton, L"GRAPH_TEMP_IN_BUTTON", 8, 300, kBitmapGraphTempInOn,
     kBitmapGraphTempInOff},
    {kGraphMoistOutButton, L"GRAPH_MOIST_OUT_BUTTON", 138, 260, kBitmapGraphMoistOutOn,
     kBitmapGraphMoistOutOff},
    {kGraphTempOutButton, L"GRAPH_TEMP_OUT_BUTTON", 138, 300, kBitmapGraphTempOutOn,
     kBitmapGraphTempOutOff},
    {kGraphGrainTempButton, L"GRAPH_DRYER_GRAIN_TEMP_BUTTON", 270, 260, kBitmapGraphGrainTempOn,
     kBitmapGraphGrainTempOff},
    {kGraphMrSpeedButton, L"GRAPH_MR_SPEED_BUTTON", 270, 300, kBitmapGraphMrSpeedOn,
     kBitmapGraphMrSpeedOff},
}};

GraphScreenState gGraph;
std::array<HBITMAP, kGraphTraceCount> gOnFaces{};
std::array<HBITMAP, kGraphTraceCount> gOffFaces{};

int TraceOfButton(int id)
{
    for (std::size_t t = 0; t < kTraceButtons.size(); ++t) {
        if (kTraceButtons[t].id == id) return static_cast<int>(t);
    }
    return -1;
}

void CreateDrawGraphWindow(HWND graph)
{
    WNDCLASS wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_NOCLOSE;
    wc.lpfnWndProc = DrawGraphProc;
    wc.hInstance = Screens().instance;
    wc.iconId = 101;
    wc.hbrBackground = GetStockObject(BLACK_BRUSH);
    wc.lpszClassName = kDrawGraphClass;
    RegisterClass(&wc);  // a second run in the same process keeps the first registration
    const RECT& r = kGraphAreaRect;
    Screens().drawGraph =
        CreateWindowEx(0, kDrawGraphClass, kDrawGraphCaption, WS_CHILD | WS_VISIBLE, r.left, r.top,
                       r.right - r.left, r.bottom - r.top, graph, 0, Screens().instance, nullptr);
}

void CreateGraphControls(HWND wnd)
{
    HINSTANCE instance = Screens().instance;
    for (std::size_t t = 0; t < kTraceButtons.size(); ++t) {
        const TraceButton& b = kTraceButtons[t];
        CreateBitmapButton(wnd, instance, b.text, b.id, b.x, b.y, kTraceButtonWidth,
                           kTraceButtonHeight);
        if (gOnFaces[t] == nullptr) gOnFaces[t] = LoadBitmap(instance, b.onBitmap);
        if (gOffFaces[t] == nullptr) gOffFaces[t] = LoadBitmap(instance, b.offBitmap);
    }
    const RECT& s = kScrollBarRect;
    CreateWindowEx(0, WC_SCROLLBAR, L"", WS_CHILD | WS_VISIBLE | SBS_HORZ, s.left, s.top,
                   s.right - s.left, s.bottom - s.top, wnd, kGraphScrollBar, instance, nullptr);
    const RECT& u = kSetupButtonRect;
    CreateWindowEx(0, WC_BUTTON, L"SETUP", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, u.left, u.top,
                   u.right - u.left, u.bottom - u.top, wnd, kGraphSetupButton, instance, nullptr);
}

// The scroll bar of the loaded window: range 0 to the hours available, its thumb at the hours
// available minus the offset (the newest data at the right end).
void UpdateScrollBar()
{
    HWND graph = Screens().graph;
    if (graph == nullptr) return;
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = gGraph.window.hoursAvailable;
    info.nPage = 1;
    info.nPos = gGraph.window.hoursAvailable - gGraph.window.offset;
    SetScrollInfo(GetDlgItem(graph, kGraphScrollBar), SB_CTL, &info, TRUE);
}

// Left goes back in time (a larger offset), right towards the newest samples.
int ScrolledOffset(WORD code, int thumb)
{
    const GraphWindow& w = gGraph.window;
    switch (code) {
        case SB_LINELEFT:
        case SB_PAGEUP: return w.offset < w.maxOffset ? w.offset + 1 : w.offset;
        case SB_LINERIGHT:
        case SB_PAGEDOWN: return w.offset > 0 ? w.offset - 1 : w.offset;
        case SB_THUMBPOSITION: return std::clamp(w.hoursAvailable - thumb, 0, w.maxOffset);
        default: return w.offset;
    }
}

void OnGraphScroll(WORD code, int thumb)
{
    const int offset = ScrolledOffset(code, thumb);
    if (offset == gGraph.window.offset) return;
    gGraph.offset = offset;
    gGraph.window.offset = offset;
    UpdateScrollBar();
    RepaintGraph();
}

void OnTraceButton(HWND wnd, int trace)
{
    BYTE& traces = CurrentDisplaySettings().graphTraces;
    traces = static_cast<BYTE>(traces ^ (1u << trace));
    InvalidateRect(GetDlgItem(wnd, kTraceButtons[static_cast<std::size_t>(trace)].id), nullptr,
                   FALSE);
    RepaintGraph();
    SaveDisplaySetting(kGraphTracesValue, traces);  // a registry failure is silent
}

LRESULT OnGraphCommand(HWND wnd, int id)
{
    const int trace = TraceOfButton(id);
    if (trace >= 0) {
        OnTraceButton(wnd, trace);
        return 0;
    }
    if (id == kGraphSetupButton) OpenGraphSetupDialog(wnd);
    return 0;
}

// A trace button shows its "on" or "off" face by the trace's switch.
LRESULT OnGraphDrawItem(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    const int trace = item != nullptr ? TraceOfButton(static_cast<int>(item->CtlID)) : -1;
    if (trace < 0) return DefWindowProc(wnd, msg, wp, lp);
    const std::size_t t = static_cast<std::size_t>(trace);
    BlitBitmap(item->hDC, GraphTraceOn(trace) ? gOnFaces[t] : gOffFaces[t], item->rcItem);
    return TRUE;
}

}  // namespace

GraphScreenState& GraphScreen()
{
    return gGraph;
}

void ResetGraphScreen()
{
    gGraph = GraphScreenState{};
}

bool GraphTraceOn(int trace)
{
    return (CurrentDisplaySettings().graphTraces & (1u << trace)) != 0;
}

void LoadGraphForScreen()
{
    // A short read keeps the points of the previous load; the hours and offset still follow.
    LoadGraphWindow(CurrentDisplaySettings().graphHorizontalScale, gGraph.offset, gGraph.window);
    gGraph.offset = gGraph.window.offset;  // a log that shrank, or a wider scale, pulls it in
    UpdateScrollBar();
}

void RepaintGraph()
{
    if (Screens().drawGraph != nullptr) InvalidateRect(Screens().drawGraph, nullptr, FALSE);
}

LRESULT GraphWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE:
            ResetGraphScreen();  // the offset starts at 0: the newest samples
            CreateDrawGraphWindow(wnd);
            CreateGraphControls(wnd);
            return 0;
        case WM_HSCROLL: OnGraphScroll(LOWORD(wp), static_cast<short>(HIWORD(wp))); return 0;
        case WM_COMMAND: return OnGraphCommand(wnd, LOWORD(wp));
        case WM_DRAWITEM: return OnGraphDrawItem(wnd, msg, wp, lp);
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

// ---- the 1-second tick's hooks ----

void RepaintGraphScreen()
{
    RepaintGraph();
}

// The graph keeps no hold of its own: the hour offset stays where the operator left it, and
// each repaint reloads the window from the files.
void CountDownGraphScreen() {}
