// Inspection and automation: the window tree, taps on controls, message box answers, the
// virtual clock driver and the control socket, with the panel's loop on a thread of its own.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <nlohmann/json.hpp>
#include <optional>
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

// A screen with a long list box and a list view, more rows than they show, one row selected.
constexpr int kListBoxId = 0x8901;
constexpr int kListViewId = 0x8902;

void RunListPanel()
{
    platform::OpenScreen({});
    WNDCLASS wc;
    wc.lpfnWndProc = MainProc;
    wc.lpszClassName = kMainClass;
    RegisterClass(&wc);
    HWND main = CreateWindowEx(0, kMainClass, L"Lists", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                               nullptr, 0, nullptr, nullptr);
    HWND box = CreateWindowEx(0, WC_LISTBOX, L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 80, main,
                              kListBoxId, nullptr, nullptr);
    for (int i = 0; i < 40; ++i) {
        const std::wstring row = L"CAN_DRYER_P" + std::to_wstring(100 + i);
        SendMessage(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    }
    SendMessage(box, LB_SETCURSEL, 33, 0);
    HWND view = CreateWindowEx(0, WC_LISTVIEW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 220, 10,
                               400, 80, main, kListViewId, nullptr, nullptr);
    const wchar_t* headers[] = {L"Node", L"Version"};
    for (int c = 0; c < 2; ++c) {
        LVCOLUMN col;
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 150 + 30 * c;
        col.pszText = headers[c];
        SendMessage(view, LVM_INSERTCOLUMN, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&col));
    }
    for (int r = 0; r < 25; ++r) {
        std::wstring node = L"Node " + std::to_wstring(r);
        LVITEM item;
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = node.data();
        SendMessage(view, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
        if (r % 2 == 0) {  // odd rows leave their second cell unset
            std::wstring version = L"V" + std::to_wstring(r);
            item.iSubItem = 1;
            item.pszText = version.data();
            SendMessage(view, LVM_SETITEMTEXT, static_cast<WPARAM>(r),
                        reinterpret_cast<LPARAM>(&item));
        }
    }
    SendMessage(view, LVM_SETSELECTIONMARK, 0, 20);
    // Texts that are not valid UTF-16 inside: a lone surrogate, a pair kept as two units, and a
    // value beyond the last character.
    const std::wstring odd = {L'A',
                              static_cast<wchar_t>(0xD800),
                              L'B',
                              static_cast<wchar_t>(0xD83D),
                              static_cast<wchar_t>(0xDE00),
                              static_cast<wchar_t>(0x110000)};
    SetWindowText(main, odd.c_str());
    MSG m;
    while (GetMessage(&m, nullptr, 0, 0)) DispatchMessage(&m);
}

std::optional<platform::ControlInfo> FindControlInfo(int id)
{
    for (const auto& w : platform::InspectWindows()) {
        for (const auto& c : w.controls) {
            if (c.id == id) return c;
        }
    }
    return std::nullopt;
}

TEST_F(Automation, TreeListsEveryRowOfListsWithTheSelectedOneMarked)
{
    platform::UiThread ui(RunListPanel);
    const auto box = FindControlInfo(kListBoxId);
    ASSERT_TRUE(box.has_value());
    EXPECT_TRUE(box->isList);
    ASSERT_EQ(box->rows.size(), 40u);  // four fit on screen; all forty are listed
    EXPECT_EQ(box->rows[39].cells, std::vector<std::wstring>{L"CAN_DRYER_P139"});
    for (std::size_t i = 0; i < box->rows.size(); ++i) EXPECT_EQ(box->rows[i].selected, i == 33);
    EXPECT_GT(box->topRow, 0);  // scrolled to show the selection

    const auto view = FindControlInfo(kListViewId);
    ASSERT_TRUE(view.has_value());
    EXPECT_EQ(view->columns, (std::vector<std::wstring>{L"Node", L"Version"}));
    EXPECT_EQ(view->columnWidths, (std::vector<int>{150, 180}));
    ASSERT_EQ(view->rows.size(), 25u);
    EXPECT_EQ(view->rows[24].cells, (std::vector<std::wstring>{L"Node 24", L"V24"}));
    EXPECT_EQ(view->rows[23].cells, (std::vector<std::wstring>{L"Node 23", L""}));
    EXPECT_TRUE(view->rows[20].selected);

    const auto json = nlohmann::json::parse(platform::RunControlCommand("tree"));
    const auto& window = json["windows"][0];
    EXPECT_EQ(window["title"], "A\uFFFDB\U0001F600\uFFFD");
    const auto& jsonBox = window["controls"][0];
    EXPECT_EQ(jsonBox["rows"].size(), 40u);
    EXPECT_EQ(jsonBox["selectedRow"], 33);
    EXPECT_EQ(jsonBox["rows"][33]["selected"], true);
    EXPECT_EQ(jsonBox["rows"][0]["cells"][0], "CAN_DRYER_P100");
    const auto& jsonView = window["controls"][1];
    EXPECT_EQ(jsonView["columns"][1], "Version");
    EXPECT_EQ(jsonView["columnWidths"][1], 180);
    EXPECT_EQ(jsonView["selectedRow"], 20);
    EXPECT_EQ(jsonView["rows"].size(), 25u);
}

TEST_F(Automation, EveryAnswerIsOneLineOfValidJsonWhateverTheCommandBytes)
{
    platform::UiThread ui([] { RunPanel(""); });
    const std::string hostile[] = {std::string("\xff\xfe tap \x80\x81", 10),
                                   std::string("frob\0nicate", 12),
                                   "press 99999999999999999999999",
                                   "advance 9223372036854775807",
                                   "key 0x1FF alt",
                                   "tap 1 2 3",
                                   "tap -99999 5",
                                   "answer \xc3\x28",
                                   "\"quoted\\ \u0001"};
    for (const std::string& line : hostile) {
        const std::string answer = platform::RunControlCommand(line);
        EXPECT_EQ(answer.find('\n'), std::string::npos) << line;
        const auto json = nlohmann::json::parse(answer);  // throws on invalid UTF-8 or JSON
        EXPECT_EQ(json["ok"], false) << line;
    }
    // Out-of-range values are refused with their range, never carried out.
    const auto advance = nlohmann::json::parse(platform::RunControlCommand("advance 1e9"));
    EXPECT_NE(advance["error"].get<std::string>().find("0-604800000"), std::string::npos);
    EXPECT_EQ(g_ticks.load(), 0);
}

}  // namespace
