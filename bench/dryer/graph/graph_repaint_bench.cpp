// Cost of one repaint of the graph area on the 8-hour scale, read from the log files (a full day
// and six hours) with all six traces on, beside a plain repaint of a full 640 x 480 screen in the
// same run.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "dryer/records/display_settings.h"
#include "dryer/records/graph_log.h"
#include "dryer/screens/graph_screen.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "platform/drawing/gdi_scope.h"
#include "platform/drawing/painter.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/runtime.h"
#include "platform/storage/files.h"
#include "platform/windowing/window.h"

namespace {

namespace fs = std::filesystem;

constexpr const wchar_t* kPlainClass = L"PLAIN_SCREEN_WINDOW";

void WriteLog(const fs::path& file, int first, int count)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (int n = first; n < first + count; ++n) {
        DataLogSample s;
        s.incomingMoisture = 180 + n % 70;
        s.incomingTemp = 600 + (n * 3) % 200;
        s.outgoingMoisture = 150 + n % 20;
        s.outgoingTemp = 900 + (n * 7) % 300;
        s.grainTemp = 110 + n % 12;
        s.meterRollOutput = 30 + n % 50;
        s.hour = (n / 360) % 24;
        s.minute = (n / 6) % 60;
        s.second = (n % 6) * 10;
        s.month = 3;
        s.day = 3;
        const DataLogRecord r = EncodeDataLogSample(s);
        out.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(r.size()));
    }
}

LRESULT PlainProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_PAINT) {
        platform::Painter paint(wnd, RGB(0, 0, 0));
        return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

struct BenchScreen {
    fs::path root;
    HWND graph = nullptr;
    HWND plain = nullptr;

    BenchScreen()
    {
        platform::UseVirtualClock(SYSTEMTIME{2026, 3, 2, 3, 10, 0, 0, 0});
        root = fs::temp_directory_path() / "orbitdryer-graph-bench";
        fs::remove_all(root);
        const fs::path folder = root / "Hard Disk" / "GraphDataLog";
        fs::create_directories(folder);
        platform::SetPanelRoots(root, root / "Hard Disk2");
        WriteLog(folder / "GRAPH_DATA_LOG_24HR26_03_02_10_00_00.DAT", 0, 8640);
        WriteLog(folder / "GRAPH_DATA_LOG_24HR26_03_03_10_00_00.DAT", 8640, 6 * 360);
        CurrentDisplaySettings().graphHorizontalScale = 3;
        CurrentDisplaySettings().graphTraces = 0x3F;
        platform::OpenScreen(platform::ScreenOptions{});
        WNDCLASS wc;
        wc.lpfnWndProc = DrawGraphProc;
        wc.lpszClassName = kDrawGraphClass;
        RegisterClass(&wc);
        WNDCLASS plainClass;
        plainClass.lpfnWndProc = PlainProc;
        plainClass.lpszClassName = kPlainClass;
        RegisterClass(&plainClass);
        plain = CreateWindowEx(0, kPlainClass, L"", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                               0, nullptr, nullptr);
        graph = CreateWindowEx(0, kDrawGraphClass, L"", WS_POPUP | WS_VISIBLE, 245, 45,
                               kGraphAreaWidth, kGraphAreaHeight, nullptr, 0, nullptr, nullptr);
        platform::WaitIdle();
    }
    ~BenchScreen()
    {
        platform::CloseScreen();
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

BenchScreen& Screen()
{
    static BenchScreen screen;
    return screen;
}

void Repaint(HWND wnd, benchmark::State& state)
{
    for (auto _ : state) {
        InvalidateRect(wnd, nullptr, FALSE);
        UpdateWindow(wnd);
    }
}

void BM_GraphRepaintEightHoursFromFiles(benchmark::State& state)
{
    Repaint(Screen().graph, state);
    state.counters["points"] = GraphScreen().window.points;
    state.counters["samples"] = GraphScreen().window.samples;
}
BENCHMARK(BM_GraphRepaintEightHoursFromFiles)->Unit(benchmark::kMillisecond);

// The two halves of a repaint: the load and reduction, and the drawing.
void BM_GraphLoadEightHours(benchmark::State& state)
{
    Screen();
    GraphWindow w;
    for (auto _ : state) benchmark::DoNotOptimize(LoadGraphWindow(3, 0, w));
}
BENCHMARK(BM_GraphLoadEightHours)->Unit(benchmark::kMillisecond);

void BM_GraphDrawArea(benchmark::State& state)
{
    Screen();
    GraphWindow w;
    LoadGraphWindow(3, 0, w);
    platform::MemoryDc dc(nullptr);
    platform::GdiObject bitmap(CreateCompatibleBitmap(dc.get(), kGraphAreaWidth, kGraphAreaHeight));
    platform::Selection selected(dc.get(), bitmap.get());
    for (auto _ : state) {
        platform::Painter paint(dc.get(), kGraphAreaWidth, kGraphAreaHeight);
        DrawGraphArea(paint, w, 0x3F);
    }
}
BENCHMARK(BM_GraphDrawArea)->Unit(benchmark::kMillisecond);

void BM_PlainFullScreenRepaint(benchmark::State& state)
{
    Repaint(Screen().plain, state);
}
BENCHMARK(BM_PlainFullScreenRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
