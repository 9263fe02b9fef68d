// Processor cost of the browser view's update path: a headless panel repaints part of its
// screen 10 times a second on its own timer, once with nobody watching and once with one
// viewer connected over loopback that reads every update. The difference in the process's
// processor time (less the viewer's own thread) is what composing, copying, encoding as PNG
// and sending the changes cost. Each part size runs for SECONDS of real time.
//
//   web_view_bench [SECONDS]      (default 10)
//   web_view_bench --watch URL [SECONDS]   what a running program's view sends one viewer
#include <sys/resource.h>
#include <time.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/drawing/gdi.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/test_support.h"
#include "platform/web/web_view.h"
#include "platform/windowing/window.h"
#include "tests/support/web_client.h"

namespace {

constexpr const wchar_t* kClass = L"WEB_VIEW_BENCH_WINDOW";
constexpr UINT_PTR kRepaintTimer = 1;
constexpr int kRepaintMs = 100;  // 10 repaints a second

RECT g_part{};
int g_serial = 0;

// A reading that changes each time, drawn as the screens draw theirs: a filled box, a text.
void PaintPart(HWND wnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    HBRUSH back = CreateSolidBrush(RGB(0, 0, (g_serial * 3) & 0x7F));
    FillRect(dc, &g_part, back);
    DeleteObject(back);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 255, 0));
    LOGFONT lf{};
    lf.lfHeight = 28;
    lf.lfWeight = 700;
    HFONT font = CreateFontIndirect(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    for (int y = g_part.top; y < g_part.bottom; y += 40) {
        wchar_t text[64];
        std::swprintf(text, 64, L"%d.%d%% MOIST %d\u00b0F", 10 + g_serial % 20, g_serial % 10,
                      150 + (g_serial + y) % 60);
        RECT line{g_part.left, y, g_part.right, std::min<LONG>(y + 40, g_part.bottom)};
        DrawText(dc, text, -1, &line, DT_LEFT | DT_TOP | DT_SINGLELINE);
    }
    SelectObject(dc, old);
    DeleteObject(font);
    EndPaint(wnd, &ps);
}

LRESULT BenchProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_PAINT: PaintPart(wnd); return 0;
        case WM_TIMER:
            ++g_serial;
            InvalidateRect(wnd, &g_part, FALSE);
            return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

double ProcessSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double ThreadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

struct Run {
    double share = 0;  // of one core
    long updates = 0;  // received by the viewer
};

// One run of `seconds` with the part repainting; with a viewer reading when `url` is given.
Run Measure(int seconds, const std::string& url)
{
    std::atomic<bool> stop{false};
    std::atomic<long> updates{0};
    double viewerSeconds = 0;
    std::thread viewer;
    if (!url.empty()) {
        viewer = std::thread([&] {
            const auto [host, port] = test_support::HostAndPort(url);
            test_support::WebSocketClient client(host, port, "/view");
            const double start = ThreadSeconds();
            while (!stop.load() && client.connected()) {
                const auto m = client.Read(200);
                if (m && m->binary) updates++;
            }
            viewerSeconds = ThreadSeconds() - start;
        });
        std::this_thread::sleep_for(std::chrono::seconds(1));  // the whole first picture
    }
    updates = 0;
    const double before = ProcessSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double used = ProcessSeconds() - before;
    stop = true;
    if (viewer.joinable()) viewer.join();
    // The viewer thread ran a moment longer than the measured span: its share is an estimate
    // that errs on the panel's side (more is taken off than it used within the span).
    return Run{100.0 * (used - viewerSeconds) / seconds, updates.load()};
}

// What a running program sends one viewer: updates and pixels a second.
int Watch(const std::string& url, int seconds)
{
    const auto [host, port] = test_support::HostAndPort(url);
    const auto mark = url.find("?token=");
    const std::string query = mark == std::string::npos ? "" : url.substr(mark);
    test_support::WebSocketClient client(host, port, "/view" + query);
    if (!client.connected()) {
        std::fprintf(stderr, "web_view_bench: no view at %s\n", url.c_str());
        return 1;
    }
    long updates = 0;
    long pixels = 0;
    long bytes = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < until && client.connected()) {
        const auto m = client.Read(500);
        if (!m || !m->binary || m->data.size() < 8) continue;
        const auto word = [&](std::size_t at) {
            return static_cast<unsigned char>(m->data[at]) |
                   (static_cast<unsigned char>(m->data[at + 1]) << 8);
        };
        ++updates;
        pixels += static_cast<long>(word(4)) * word(6);
        bytes += static_cast<long>(m->data.size());
    }
    std::printf("%s: %.1f updates a second, %.0f pixels and %.0f bytes a second\n", url.c_str(),
                static_cast<double>(updates) / seconds, static_cast<double>(pixels) / seconds,
                static_cast<double>(bytes) / seconds);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && std::string(argv[1]) == "--watch") {
        return Watch(argv[2], argc > 3 ? std::max(1, std::atoi(argv[3])) : 10);
    }
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    struct Part {
        const char* what;
        RECT rect;
    };
    const Part parts[] = {{"a reading, 200 x 40", RECT{420, 400, 620, 440}},
                          {"a panel, 300 x 160", RECT{320, 40, 620, 200}},
                          {"the whole screen", RECT{0, 0, 640, 480}}};
    std::printf("update path of the browser view at %d repaints a second, %d s each\n",
                1000 / kRepaintMs, seconds);
    for (const Part& part : parts) {
        g_part = part.rect;
        HWND wnd = nullptr;
        platform::UiThread ui = platform::UiThread::WithLoop([&] {
            platform::OpenScreen(platform::ScreenOptions{});
            WNDCLASS wc{};
            wc.lpfnWndProc = BenchProc;
            wc.lpszClassName = kClass;
            RegisterClass(&wc);
            wnd = CreateWindowEx(0, kClass, L"", WS_VISIBLE | WS_POPUP, 0, 0, 640, 480, nullptr, 0,
                                 nullptr, nullptr);
            SetTimer(wnd, kRepaintTimer, kRepaintMs, nullptr);
        });
        const Run without = Measure(seconds, "");
        Run with;
        {
            platform::WebView view(platform::WebViewOptions{"127.0.0.1:0", ""}, "bench");
            if (!view.ok()) {
                std::fprintf(stderr, "web_view_bench: %s\n", view.error().c_str());
                return 1;
            }
            with = Measure(seconds, view.url());
        }
        ui.Stop();
        std::printf(
            "%-22s without a viewer %5.2f %% of one core, with one viewer %5.2f %% "
            "(%ld updates): the update path %5.2f %%\n",
            part.what, without.share, with.share, with.updates, with.share - without.share);
    }
    return 0;
}
