// Windows, messages, timers, painting and input of the panel's window system.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>
#include <vector>

#include "platform/drawing/gdi.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/test_support.h"
#include "platform/windowing/window.h"

namespace {

constexpr const wchar_t* kProbeClass = L"PROBE_WINDOW";
constexpr UINT kEnterNested = WM_APP + 1;
constexpr UINT kLeaveNested = WM_APP + 2;

struct Probe {
    std::vector<UINT> messages;  // WM_APP range and paints, in the order handled
    int paints = 0;
    RECT lastPaint{};
    std::vector<std::pair<HWND, UINT>> mouse;
    std::vector<POINT> mousePoints;
    int timerMessages = 0;
    bool nested = false;
    int timersWhileNested = 0;
    std::thread::id thread;
};
Probe g_probe;

LRESULT ProbeProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(wnd, &ps);
            ++g_probe.paints;
            g_probe.lastPaint = ps.rcPaint;
            g_probe.messages.push_back(WM_PAINT);
            EndPaint(wnd, &ps);
            return 0;
        }
        case WM_TIMER:
            ++g_probe.timerMessages;
            if (g_probe.nested) ++g_probe.timersWhileNested;
            return 0;
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            g_probe.mouse.emplace_back(wnd, msg);
            g_probe.mousePoints.push_back(POINT{static_cast<std::int16_t>(LOWORD(lp)),
                                                static_cast<std::int16_t>(HIWORD(lp))});
            return 0;
        case kEnterNested: {
            // a modal loop of its own, as dialogs and message boxes run
            g_probe.nested = true;
            MSG m;
            while (g_probe.nested && GetMessage(&m, nullptr, 0, 0)) DispatchMessage(&m);
            return 0;
        }
        case kLeaveNested: g_probe.nested = false; return 0;
        default: break;
    }
    if (msg >= WM_APP) {
        g_probe.messages.push_back(msg);
        g_probe.thread = std::this_thread::get_id();
        return static_cast<LRESULT>(wp * 2);
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

void RegisterProbe()
{
    WNDCLASS wc;
    wc.lpfnWndProc = ProbeProc;
    wc.lpszClassName = kProbeClass;
    wc.hbrBackground = GetStockObject(BLACK_BRUSH);
    RegisterClass(&wc);
}

HWND Make(DWORD style, int x, int y, int w, int h, HWND parent = nullptr, int id = 0,
          DWORD exStyle = 0)
{
    return CreateWindowEx(exStyle, kProbeClass, L"probe", style, x, y, w, h, parent, id, nullptr,
                          nullptr);
}

// The test thread is the user-interface thread.
class WindowSystem : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::UseVirtualClock(SYSTEMTIME{2026, 3, 2, 3, 10, 0, 0, 0});
        ASSERT_TRUE(platform::OpenScreen(platform::ScreenOptions{}));
        RegisterProbe();
        g_probe = Probe{};
    }
    void TearDown() override { platform::CloseScreen(); }
};

TEST_F(WindowSystem, PostedMessagesKeepTheirOrderAndSendIsImmediate)
{
    HWND w = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    platform::WaitIdle();
    g_probe.messages.clear();
    PostMessage(w, WM_APP + 10, 0, 0);
    PostMessage(w, WM_APP + 11, 0, 0);
    PostMessage(w, WM_APP + 12, 0, 0);
    EXPECT_EQ(SendMessage(w, WM_APP + 20, 21, 0), 42);
    EXPECT_EQ(g_probe.messages, (std::vector<UINT>{WM_APP + 20}));
    platform::WaitIdle();
    EXPECT_EQ(g_probe.messages,
              (std::vector<UINT>{WM_APP + 20, WM_APP + 10, WM_APP + 11, WM_APP + 12}));
}

TEST_F(WindowSystem, StaleAndNullHandlesFailSoftly)
{
    HWND w = Make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    ASSERT_TRUE(DestroyWindow(w));
    RECT r;
    EXPECT_FALSE(IsWindow(w));
    EXPECT_FALSE(ShowWindow(w, SW_SHOW));
    EXPECT_FALSE(GetClientRect(w, &r));
    EXPECT_FALSE(PostMessage(w, WM_APP, 0, 0));
    EXPECT_EQ(SendMessage(w, WM_APP, 1, 0), 0);
    EXPECT_EQ(BeginPaint(w, nullptr), nullptr);
    EXPECT_FALSE(InvalidateRect(w, nullptr, TRUE));
    EXPECT_EQ(SetTimer(w, 1, 100, nullptr), 0u);
    EXPECT_EQ(CreateWindowEx(0, L"NO_SUCH_CLASS", L"", 0, 0, 0, 1, 1, nullptr, 0, nullptr, nullptr),
              nullptr);
    WNDCLASS again;
    again.lpfnWndProc = ProbeProc;
    again.lpszClassName = kProbeClass;
    EXPECT_EQ(RegisterClass(&again), 0);
}

TEST_F(WindowSystem, CaptionAndBorderLeaveAPixelTightClientArea)
{
    HWND w =
        Make(WS_CHILD | WS_VISIBLE | WS_CAPTION, 10, 20, 430, 325,
             Make(WS_POPUP | WS_VISIBLE, 0, 0, 640, 480), 0, WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE);
    RECT client;
    ASSERT_TRUE(GetClientRect(w, &client));
    EXPECT_GE(client.right, 426);
    EXPECT_LE(client.right, 430);
    EXPECT_GE(client.bottom, 298);
    EXPECT_LE(client.bottom, 305);
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    EXPECT_GE(origin.y, 20 + 20);
    EXPECT_LE(origin.y, 20 + 24);
}

TEST_F(WindowSystem, TopMostWindowsStayAboveAndForegroundRaises)
{
    HWND a = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND top = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, 0, WS_EX_TOPMOST);
    HWND b = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    EXPECT_EQ(GetForegroundWindow(), top);
    ShowWindow(top, SW_HIDE);
    EXPECT_EQ(GetForegroundWindow(), b);
    SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(a) | 1));
    EXPECT_EQ(GetForegroundWindow(), a);
}

TEST_F(WindowSystem, TimersFireAsOftenAsInRealTime)
{
    struct Case {
        UINT period;
        std::int64_t run;
        int fires;
    };
    for (const Case c :
         {Case{175, 10000, 57}, Case{100, 1000, 10}, Case{1000, 10000, 10}, Case{50, 1000, 20}}) {
        HWND w = Make(WS_POPUP, 0, 0, 10, 10);
        g_probe.timerMessages = 0;
        SetTimer(w, 7, c.period, nullptr);
        platform::AdvanceClock(c.run);
        EXPECT_EQ(g_probe.timerMessages, c.fires) << "period " << c.period;
        DestroyWindow(w);
    }
}

std::atomic<int> g_callbacks{0};
void CountCallback(HWND, UINT, UINT_PTR, DWORD)
{
    ++g_callbacks;
}

TEST_F(WindowSystem, TimerCallbacksRunInsteadOfTimerMessages)
{
    HWND w = Make(WS_POPUP, 0, 0, 10, 10);
    g_callbacks = 0;
    SetTimer(w, 1, 100, CountCallback);
    platform::AdvanceClock(1000);
    EXPECT_EQ(g_callbacks.load(), 10);
    EXPECT_EQ(g_probe.timerMessages, 0);
    KillTimer(w, 1);
    platform::AdvanceClock(1000);
    EXPECT_EQ(g_callbacks.load(), 10);
}

TEST_F(WindowSystem, ATimerThatFellBehindFiresOnce)
{
    HWND w = Make(WS_POPUP, 0, 0, 10, 10);
    SetTimer(w, 1, 100, nullptr);
    platform::SetVirtualNow(platform::NowMs() + 1000);  // no stepping: the loop was busy
    platform::WaitIdle();
    EXPECT_EQ(g_probe.timerMessages, 1);
    platform::AdvanceClock(100);
    EXPECT_EQ(g_probe.timerMessages, 2);
}

TEST_F(WindowSystem, AfterAClockJumpTheEarliestDeadlineIsServedFirst)
{
    HWND w = Make(WS_POPUP, 0, 0, 10, 10);
    SetTimer(w, 1, 500, nullptr);                       // created first, due at 500
    SetTimer(w, 2, 300, nullptr);                       // due at 300
    SetTimer(w, 3, 100, nullptr);                       // due at 100
    SetTimer(w, 4, 300, nullptr);                       // due at 300 too: after the older timer 2
    platform::SetVirtualNow(platform::NowMs() + 1000);  // no stepping: all four are due
    std::vector<WPARAM> order;
    MSG m;
    for (int i = 0; i < 4 && PeekMessage(&m, w, WM_TIMER, WM_TIMER, PM_REMOVE); ++i) {
        order.push_back(m.wParam);
    }
    EXPECT_EQ(order, (std::vector<WPARAM>{3, 2, 4, 1}));
}

TEST_F(WindowSystem, InvalidationsCoalesceIntoOnePaintWithTheirUnion)
{
    HWND w = Make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    platform::WaitIdle();
    g_probe.paints = 0;
    g_probe.messages.clear();
    const RECT a{10, 10, 20, 20}, b{50, 60, 70, 80}, c{5, 100, 6, 101};
    InvalidateRect(w, &a, FALSE);
    InvalidateRect(w, &b, TRUE);
    PostMessage(w, WM_APP + 5, 0, 0);
    InvalidateRect(w, &c, FALSE);
    platform::WaitIdle();
    EXPECT_EQ(g_probe.paints, 1);
    EXPECT_EQ(g_probe.lastPaint, (RECT{5, 10, 70, 101}));
    // the posted message goes before the paint
    EXPECT_EQ(g_probe.messages, (std::vector<UINT>{WM_APP + 5, WM_PAINT}));
}

TEST_F(WindowSystem, HiddenWindowsPaintWhenShown)
{
    HWND w = Make(WS_POPUP, 0, 0, 50, 50);
    platform::WaitIdle();
    EXPECT_EQ(g_probe.paints, 0);
    ShowWindow(w, SW_SHOW);
    platform::WaitIdle();
    EXPECT_EQ(g_probe.paints, 1);
    ShowWindow(w, SW_HIDE);
    ShowWindow(w, SW_SHOW);
    platform::WaitIdle();
    EXPECT_EQ(g_probe.paints, 2);  // shown again, it is drawn afresh: nothing stale from before
    ShowWindow(w, SW_SHOW);
    platform::WaitIdle();
    EXPECT_EQ(g_probe.paints, 2);  // already visible: nothing to draw
}

TEST_F(WindowSystem, TapsGoToTheDeepestVisibleEnabledWindow)
{
    HWND main = Make(WS_POPUP | WS_VISIBLE, 0, 0, 640, 480);
    HWND panel = Make(WS_CHILD | WS_VISIBLE, 100, 100, 200, 200, main, 1);
    HWND button = Make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 30, panel, 2);
    HWND hidden = Make(WS_CHILD, 100, 100, 50, 50, panel, 3);
    HWND disabled = Make(WS_CHILD | WS_VISIBLE | WS_DISABLED, 150, 150, 20, 20, panel, 4);
    (void)hidden;
    (void)disabled;
    struct Case {
        POINT at;
        HWND expected;
        POINT client;
    };
    const Case cases[] = {
        {{115, 115}, button, {5, 5}},
        {{205, 205}, panel, {105, 105}},
        {{255, 255}, panel, {155, 155}},
        {{50, 50}, main, {50, 50}},
    };
    for (const Case& c : cases) {
        g_probe.mouse.clear();
        g_probe.mousePoints.clear();
        platform::Tap(c.at.x, c.at.y);
        ASSERT_EQ(g_probe.mouse.size(), 2u);
        EXPECT_EQ(g_probe.mouse[0].first, c.expected);
        EXPECT_EQ(g_probe.mouse[0].second, WM_LBUTTONDOWN);
        EXPECT_EQ(g_probe.mousePoints[0], c.client);
        EXPECT_EQ(g_probe.mouse[1].second, WM_LBUTTONUP);
    }
}

TEST_F(WindowSystem, APressHeldAndReleasedOutsideStaysWithItsWindow)
{
    HWND main = Make(WS_POPUP | WS_VISIBLE, 0, 0, 640, 480);
    HWND button = Make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 30, main, 2);
    platform::PointerDown(20, 20);
    platform::AdvanceClock(2000);  // held across two seconds
    platform::PointerMove(300, 300);
    platform::PointerUp(300, 300);
    ASSERT_EQ(g_probe.mouse.size(), 3u);
    for (const auto& m : g_probe.mouse) EXPECT_EQ(m.first, button);
    EXPECT_EQ(g_probe.mouse[2].second, WM_LBUTTONUP);
    EXPECT_EQ(g_probe.mousePoints[2], (POINT{290, 290}));
}

TEST_F(WindowSystem, DisabledTopLevelWindowsGetNoInput)
{
    HWND main = Make(WS_POPUP | WS_VISIBLE | WS_DISABLED, 0, 0, 640, 480);
    (void)main;
    platform::Tap(10, 10);
    EXPECT_TRUE(g_probe.mouse.empty());
}

TEST_F(WindowSystem, AcceleratorsTurnAltKeysIntoCommands)
{
    static int command = 0;
    struct Local {
        static LRESULT Proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
        {
            if (m == WM_COMMAND) command = LOWORD(wp);
            return DefWindowProc(w, m, wp, lp);
        }
    };
    WNDCLASS wc;
    wc.lpfnWndProc = Local::Proc;
    wc.lpszClassName = L"ACCEL_WINDOW";
    RegisterClass(&wc);
    HWND w = CreateWindowEx(0, L"ACCEL_WINDOW", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                            0, nullptr, nullptr);
    const ACCEL table[] = {{FVIRTKEY | FALT, VK_F4, 40002}, {FVIRTKEY | FALT, VK_OEM_2, 40003}};
    HACCEL accel = CreateAcceleratorTable(table, 2);
    MSG m;
    m.hwnd = w;
    m.message = WM_SYSKEYDOWN;
    m.wParam = VK_OEM_2;
    m.lParam = 1 << 29;
    EXPECT_EQ(TranslateAccelerator(w, accel, &m), 1);
    EXPECT_EQ(command, 40003);
    m.message = WM_KEYDOWN;
    m.lParam = 0;
    EXPECT_EQ(TranslateAccelerator(w, accel, &m), 0);
}

// ---- a user-interface thread of its own, driven from the test thread ----

class UiOnItsOwnThread : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::UseVirtualClock(SYSTEMTIME{2026, 3, 2, 3, 10, 0, 0, 0});
        g_probe = Probe{};
    }
};

TEST_F(UiOnItsOwnThread, SendFromAnotherThreadRunsOnTheUserInterfaceThread)
{
    std::atomic<HWND> w{nullptr};
    std::thread::id uiId;
    platform::UiThread ui([&] {
        platform::OpenScreen(platform::ScreenOptions{});
        uiId = std::this_thread::get_id();
        RegisterProbe();
        w = Make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
        MSG m;
        while (GetMessage(&m, nullptr, 0, 0)) DispatchMessage(&m);
    });
    EXPECT_EQ(SendMessage(w.load(), WM_APP + 3, 5, 0), 10);
    EXPECT_EQ(g_probe.thread, uiId);
    EXPECT_NE(g_probe.thread, std::this_thread::get_id());
    ui.Stop();
    EXPECT_FALSE(platform::ScreenIsOpen());
}

TEST_F(UiOnItsOwnThread, TimersKeepRunningInsideANestedLoop)
{
    std::atomic<HWND> w{nullptr};
    platform::UiThread ui([&] {
        platform::OpenScreen(platform::ScreenOptions{});
        RegisterProbe();
        w = Make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
        SetTimer(w, 1, 100, nullptr);
        MSG m;
        while (GetMessage(&m, nullptr, 0, 0)) DispatchMessage(&m);
    });
    PostMessage(w.load(), kEnterNested, 0, 0);
    platform::AdvanceClock(1000);
    EXPECT_TRUE(g_probe.nested);
    EXPECT_EQ(g_probe.timersWhileNested, 10);
    PostMessage(w.load(), kLeaveNested, 0, 0);
    platform::WaitIdle();
    EXPECT_FALSE(g_probe.nested);
    platform::AdvanceClock(1000);
    EXPECT_EQ(g_probe.timerMessages, 20);
}

TEST_F(UiOnItsOwnThread, InvalidationsFromAnotherThreadArePaintedOnce)
{
    std::atomic<HWND> w{nullptr};
    std::promise<void> release;
    std::promise<void> busy;
    platform::UiThread ui([&] {
        platform::OpenScreen(platform::ScreenOptions{});
        RegisterProbe();
        w = Make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
        MSG m;
        while (GetMessage(&m, nullptr, 0, 0)) {
            if (m.message == WM_APP + 30) {
                busy.set_value();  // the loop is busy while the other thread invalidates
                release.get_future().wait();
                continue;
            }
            DispatchMessage(&m);
        }
    });
    platform::WaitIdle();
    const int before = g_probe.paints;
    PostMessage(w.load(), WM_APP + 30, 0, 0);
    busy.get_future().wait();
    std::thread comm([&] {
        for (int i = 0; i < 100; ++i) platform::InvalidateWindowClass(kProbeClass, nullptr, FALSE);
    });
    comm.join();
    release.set_value();
    platform::WaitIdle();
    EXPECT_EQ(g_probe.paints, before + 1);
}

}  // namespace
