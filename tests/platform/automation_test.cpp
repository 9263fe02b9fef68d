// Inspection and automation: the window tree, taps on controls, message box answers, the
// virtual clock driver and the control socket, with the panel's loop on a thread of its own.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <string>

#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/test_support.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"

namespace {

constexpr const wchar_t* kMainClass = L"AUTOMATION_MAIN_WINDOW";
constexpr int kAskButton = 0x8801;
constexpr int kTimerId = 36865;

std::atomic<int> g_commands{0};
std::atomic<int> g_answer{0};
std::atomic<int> g_ticks{0};

LRESULT MainProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_COMMAND:
            ++g_commands;
            if (LOWORD(wp) == kAskButton) {
                g_answer = MessageBox(wnd, L"Reload COOL TIMER with 20 minutes and 00 seconds?",
                                      L"RELOAD TIMER REQUEST", MB_YESNO);
            }
            return 0;
        case WM_TIMER: ++g_ticks; return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(wnd, &ps);
            SetTextColor(dc, RGB(255, 0, 0));
            SetBkMode(dc, TRANSPARENT);
            RECT r{25, 250, 200, 300};
            DrawText(dc, L"BETA VERSION OF SOFTWARE", -1, &r, DT_LEFT);
            EndPaint(wnd, &ps);
            return 0;
        }
        default: return DefWindowProc(wnd, msg, wp, lp);
    }
}

void RunPanel(const std::string& socket)
{
    platform::ScreenOptions o;
    o.controlSocket = socket;
    platform::OpenScreen(o);
    WNDCLASS wc;
    wc.lpfnWndProc = MainProc;
    wc.lpszClassName = kMainClass;
    wc.hbrBackground = GetStockObject(BLACK_BRUSH);
    RegisterClass(&wc);
    HWND main = CreateWindowEx(WS_EX_TOPMOST, kMainClass, L"Main", WS_POPUP | WS_VISIBLE, 0, 0, 640,
                               480, nullptr, 0, nullptr, nullptr);
    CreateWindowEx(0, WC_BUTTON, L"TIMERS", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 427, 105, 40,
                   main, kAskButton, nullptr, nullptr);
    CreateWindowEx(0, WC_BUTTON, L"OFF", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | WS_DISABLED, 144,
                   427, 105, 40, main, 0x8802, nullptr, nullptr);
    SetTimer(main, kTimerId, 175, nullptr);
    MSG m;
    while (GetMessage(&m, nullptr, 0, 0)) DispatchMessage(&m);
}

class Automation : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::UseVirtualClock(SYSTEMTIME{2026, 3, 2, 3, 10, 0, 0, 0});
        g_commands = 0;
        g_answer = 0;
        g_ticks = 0;
    }
};

TEST_F(Automation, TreeListsWindowsControlsAndDrawnTexts)
{
    platform::UiThread ui([] { RunPanel(""); });
    const auto windows = platform::InspectWindows();
    ASSERT_EQ(windows.size(), 1u);
    const auto& w = windows[0];
    EXPECT_EQ(w.className, kMainClass);
    EXPECT_TRUE(w.topLevel);
    EXPECT_EQ(w.rect, (RECT{0, 0, 640, 480}));
    ASSERT_EQ(w.controls.size(), 2u);
    EXPECT_EQ(w.controls[0].id, kAskButton);
    EXPECT_EQ(w.controls[0].text, L"TIMERS");
    EXPECT_EQ(w.controls[0].rect, (RECT{20, 427, 125, 467}));
    EXPECT_TRUE(w.controls[0].enabled);
    EXPECT_FALSE(w.controls[1].enabled);
    ASSERT_EQ(w.texts.size(), 1u);
    EXPECT_EQ(w.texts[0].text, L"BETA VERSION OF SOFTWARE");
    EXPECT_EQ(w.texts[0].colour, RGB(255, 0, 0));
    const std::string json = platform::InspectWindowsJson();
    EXPECT_NE(json.find("\"class\":\"AUTOMATION_MAIN_WINDOW\""), std::string::npos);
    EXPECT_NE(json.find("\"text\":\"BETA VERSION OF SOFTWARE\""), std::string::npos);
    EXPECT_NE(json.find("\"colour\":\"#ff0000\""), std::string::npos);
}

TEST_F(Automation, PressingAControlAndAnsweringItsMessageBox)
{
    platform::UiThread ui([] { RunPanel(""); });
    EXPECT_FALSE(platform::PressControl(0x8802));  // disabled
    ASSERT_TRUE(platform::PressControl(kAskButton));
    const auto windows = platform::InspectWindows();
    ASSERT_FALSE(windows.empty());
    const auto& box = windows[0];
    EXPECT_TRUE(box.isMessageBox);
    EXPECT_EQ(box.title, L"RELOAD TIMER REQUEST");
    EXPECT_EQ(box.messageText, L"Reload COOL TIMER with 20 minutes and 00 seconds?");
    EXPECT_EQ(box.buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
    // timers keep running under the message box
    platform::AdvanceClock(1750);
    EXPECT_EQ(g_ticks.load(), 10);
    EXPECT_FALSE(platform::AnswerMessageBox(L"Retry"));
    ASSERT_TRUE(platform::AnswerMessageBox(L"no"));
    EXPECT_EQ(g_answer.load(), IDNO);
    EXPECT_EQ(platform::InspectWindows().size(), 1u);
}

TEST_F(Automation, ControlCommandsAnswerOneJsonLine)
{
    platform::UiThread ui([] { RunPanel(""); });
    EXPECT_EQ(platform::RunControlCommand("tap 30 430"), "{\"ok\":true}");
    EXPECT_EQ(platform::RunControlCommand("answer Yes"), "{\"ok\":true}");
    EXPECT_EQ(g_answer.load(), IDYES);
    EXPECT_EQ(platform::RunControlCommand("advance 10000"), "{\"ok\":true}");
    EXPECT_EQ(g_ticks.load(), 57);
    EXPECT_EQ(platform::RunControlCommand("tree").rfind("{\"ok\":true,\"windows\":[", 0), 0u);
    for (const char* bad : {"", "tap", "tap x y", "press", "press nine", "answer", "frobnicate",
                            "advance -5", "answer Maybe"}) {
        EXPECT_EQ(platform::RunControlCommand(bad).rfind("{\"ok\":false", 0), 0u) << bad;
    }
}

TEST_F(Automation, ControlSocketTakesOneCommandPerLine)
{
    const std::string path = "/tmp/panel_automation_test_" + std::to_string(::getpid()) + ".sock";
    platform::UiThread ui([&] { RunPanel(path); });
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::copy(path.begin(), path.end(), addr.sun_path);
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    const std::string commands = "press 34817\nanswer YES\ntree\n";
    ASSERT_EQ(write(fd, commands.data(), commands.size()), static_cast<ssize_t>(commands.size()));
    std::string got;
    char buf[4096];
    while (std::count(got.begin(), got.end(), '\n') < 3) {
        const ssize_t n = read(fd, buf, sizeof buf);
        ASSERT_GT(n, 0);
        got.append(buf, static_cast<std::size_t>(n));
    }
    close(fd);
    EXPECT_EQ(got.rfind("{\"ok\":true}\n{\"ok\":true}\n{\"ok\":true,\"windows\":", 0), 0u) << got;
    EXPECT_EQ(g_answer.load(), IDYES);
}

}  // namespace
