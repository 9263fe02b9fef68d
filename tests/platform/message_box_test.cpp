// Message boxes: the buttons of each set with their ids, the text in the static child 0xFFFF,
// answering through the automation interface, sizes that stay on the screen.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/test_support.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"

namespace {

constexpr const wchar_t* kHelperClass = L"MESSAGE_BOX_TEST_WINDOW";
constexpr UINT kInspect = WM_APP + 3;

struct Seen {
    bool found = false;
    std::vector<std::pair<int, std::wstring>> buttons;  // id, label, left to right
    std::wstring text;
    std::wstring caption;
    RECT rect;
    bool ownerEnabled = true;
};
Seen g_seen;
std::wstring g_answer;
HWND g_owner = nullptr;

std::wstring TextOf(HWND wnd)
{
    wchar_t buffer[512] = {};
    GetWindowText(wnd, buffer, 512);
    return buffer;
}

// Runs inside the message box's loop: reads the box, then answers it.
LRESULT HelperProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg != kInspect) return DefWindowProc(wnd, msg, wp, lp);
    HWND box = FindWindow(L"#MessageBox", nullptr);
    g_seen.found = box != nullptr;
    if (box == nullptr) return 0;
    g_seen.caption = TextOf(box);
    g_seen.text = TextOf(GetDlgItem(box, 0xFFFF));
    GetWindowRect(box, &g_seen.rect);
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
        if (HWND b = GetDlgItem(box, id); b != nullptr) g_seen.buttons.emplace_back(id, TextOf(b));
    }
    std::sort(g_seen.buttons.begin(), g_seen.buttons.end(), [box](const auto& a, const auto& b) {
        RECT ra{}, rb{};
        GetWindowRect(GetDlgItem(box, a.first), &ra);
        GetWindowRect(GetDlgItem(box, b.first), &rb);
        return ra.left < rb.left;
    });
    if (g_owner != nullptr) g_seen.ownerEnabled = IsWindowEnabled(g_owner) != FALSE;
    platform::AnswerMessageBox(g_answer);
    return 0;
}

class MessageBoxes : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::UseVirtualClock(SYSTEMTIME{2026, 3, 2, 3, 10, 0, 0, 0});
        platform::OpenScreen(platform::ScreenOptions{});
        WNDCLASS wc;
        wc.lpfnWndProc = HelperProc;
        wc.lpszClassName = kHelperClass;
        RegisterClass(&wc);
        helper_ = CreateWindowEx(0, kHelperClass, L"HELPER", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                 nullptr, 0, nullptr, nullptr);
        ASSERT_NE(helper_, nullptr);
        g_seen = Seen{};
        g_owner = nullptr;
    }
    void TearDown() override { platform::CloseScreen(); }

    int Ask(HWND owner, const wchar_t* text, UINT type, const std::wstring& answer)
    {
        g_answer = answer;
        g_owner = owner;
        PostMessage(helper_, kInspect, 0, 0);  // handled inside the box's own loop
        return MessageBox(owner, text, L" CAPTION", type);
    }

    HWND helper_ = nullptr;
};

TEST_F(MessageBoxes, EachSetHasItsButtonsAndReturnsThePressedId)
{
    using Buttons = std::vector<std::pair<int, std::wstring>>;
    struct Case {
        UINT type;
        Buttons buttons;
        std::wstring answer;
        int expected;
    };
    const Case cases[] = {
        {MB_OK, {{IDOK, L"OK"}}, L"OK", IDOK},
        {MB_OKCANCEL | MB_ICONINFORMATION,
         {{IDOK, L"OK"}, {IDCANCEL, L"Cancel"}},
         L"cancel",
         IDCANCEL},
        {MB_YESNO | MB_ICONEXCLAMATION, {{IDYES, L"Yes"}, {IDNO, L"No"}}, L"Yes", IDYES},
        {MB_YESNOCANCEL | MB_ICONQUESTION,
         {{IDYES, L"Yes"}, {IDNO, L"No"}, {IDCANCEL, L"Cancel"}},
         L"No",
         IDNO},
        {MB_RETRYCANCEL | MB_ICONSTOP,
         {{IDRETRY, L"Retry"}, {IDCANCEL, L"Cancel"}},
         L"Retry",
         IDRETRY},
        {MB_ABORTRETRYIGNORE,
         {{IDABORT, L"Abort"}, {IDRETRY, L"Retry"}, {IDIGNORE, L"Ignore"}},
         L"Ignore",
         IDIGNORE},
    };
    for (const Case& c : cases) {
        g_seen = Seen{};
        int result = Ask(nullptr, L"Are you sure?", c.type, c.answer);
        EXPECT_TRUE(g_seen.found);
        EXPECT_EQ(g_seen.buttons, c.buttons) << "type " << c.type;
        EXPECT_EQ(result, c.expected) << "type " << c.type;
        EXPECT_EQ(FindWindow(L"#MessageBox", nullptr), nullptr) << "the box is gone";
    }
}

TEST_F(MessageBoxes, TextSitsInStaticChildAndCaptionInTitle)
{
    Ask(helper_, L"No help file available for this topic.", MB_RETRYCANCEL | MB_ICONINFORMATION,
        L"Cancel");
    EXPECT_EQ(g_seen.text, L"No help file available for this topic.");
    EXPECT_EQ(g_seen.caption, L" CAPTION");
    EXPECT_FALSE(g_seen.ownerEnabled) << "the owner is disabled while the box is up";
    EXPECT_TRUE(IsWindowEnabled(helper_));
}

TEST_F(MessageBoxes, LongRunsOfTabsStayOnTheScreen)
{
    std::wstring text = L"USB flash drive was not found.  Be sure the \n ";
    text += std::wstring(40, L'\t');
    text += L"USB flash drive is inserted in the slot behind display. \n\n ";
    text += std::wstring(40, L'\t');
    text += L"Do you wish to search for the USB drive?";
    Ask(nullptr, text.c_str(), MB_YESNO | MB_ICONINFORMATION, L"No");
    EXPECT_EQ(g_seen.text, text) << "the static keeps the text as given";
    EXPECT_GE(g_seen.rect.left, 0);
    EXPECT_LE(g_seen.rect.right, platform::kScreenWidth);
    EXPECT_GE(g_seen.rect.top, 0);
    EXPECT_LE(g_seen.rect.bottom, platform::kScreenHeight);
    // centred on the screen
    EXPECT_NEAR(g_seen.rect.left + g_seen.rect.right, platform::kScreenWidth, 1);
    EXPECT_NEAR(g_seen.rect.top + g_seen.rect.bottom, platform::kScreenHeight, 1);
}

TEST(MessageBoxOnUiThread, AnsweredFromTheTestThroughAutomation)
{
    platform::UseVirtualClock(SYSTEMTIME{2026, 3, 2, 3, 10, 0, 0, 0});
    int result = 0;
    platform::UiThread ui([&] {
        platform::OpenScreen(platform::ScreenOptions{});
        result = MessageBox(nullptr, L"Are you sure you want to clear the Shutdown History?",
                            L"CLEARING SHUTDOWN HISTORY!", MB_YESNO | MB_ICONEXCLAMATION);
    });
    auto windows = platform::InspectWindows();
    ASSERT_FALSE(windows.empty());
    const auto& box = windows.front();
    EXPECT_TRUE(box.isMessageBox);
    EXPECT_EQ(box.title, L"CLEARING SHUTDOWN HISTORY!");
    EXPECT_EQ(box.messageText, L"Are you sure you want to clear the Shutdown History?");
    EXPECT_EQ(box.buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
    EXPECT_TRUE(platform::AnswerMessageBox(L"No"));
    ui.Stop();
    EXPECT_EQ(result, IDNO);
}

TEST(MessageBoxOnUiThread, AskedFromAWorkerThreadRunsOnTheUserInterfaceThread)
{
    platform::UseVirtualClock(SYSTEMTIME{2026, 3, 2, 3, 10, 0, 0, 0});
    auto ui = platform::UiThread::WithLoop([] { platform::OpenScreen(platform::ScreenOptions{}); });
    auto answer = std::async(std::launch::async, [] {
        return MessageBox(nullptr, L"Languages are not present \n on this dryer.",
                          L" LANGUAGE IS MISSING...", MB_OK);
    });
    bool shown = false;
    // the worker thread asks when it gets to run; a guard of a few seconds on a busy machine
    for (int tries = 0; tries < 5000 && !shown; ++tries) {
        platform::WaitIdle();
        for (const auto& w : platform::InspectWindows()) shown = shown || w.isMessageBox;
        if (!shown) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(shown);
    EXPECT_TRUE(platform::AnswerMessageBox(L"OK"));
    EXPECT_EQ(answer.get(), IDOK);
    ui.Stop();
}

}  // namespace

namespace {

// Waits (real time, bounded) until a window with this title is up on the user-interface thread.
bool WaitForTitle(const std::wstring& title)
{
    for (int tries = 0; tries < 5000; ++tries) {
        platform::WaitIdle();
        for (const auto& w : platform::InspectWindows()) {
            if (w.title == title) return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// The keyboard answers a message box: Return is its first button, Escape its Cancel (or its
// only button). A control of the owner that had the focus before the box opened does not keep
// the keys.
struct KeyCase {
    UINT type;
    unsigned key;
    int expected;  // 0: the key does nothing, the box stays
};

class MessageBoxKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(MessageBoxKeys, AnswerAsTheButtonsWould)
{
    const KeyCase c = GetParam();
    platform::UseVirtualClock(SYSTEMTIME{2026, 3, 2, 3, 10, 0, 0, 0});
    int result = -1;
    platform::UiThread ui([&] {
        platform::OpenScreen(platform::ScreenOptions{});
        HWND owner = CreateWindowEx(0, L"static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                    nullptr, 0, nullptr, nullptr);
        HWND button = CreateWindowEx(0, L"button", L"FOCUSED", WS_CHILD | WS_VISIBLE, 10, 10, 100,
                                     40, owner, 7, nullptr, nullptr);
        SetFocus(button);
        result = MessageBox(owner, L"Question?", L" KEYS", c.type);
    });
    ASSERT_TRUE(WaitForTitle(L" KEYS"));
    ASSERT_TRUE(platform::SendKey(c.key, false));
    if (c.expected == 0) {
        const auto windows = platform::InspectWindows();
        ASSERT_FALSE(windows.empty());
        EXPECT_TRUE(windows.front().isMessageBox);
        EXPECT_TRUE(platform::AnswerMessageBox(L"No"));
        ui.Stop();
        EXPECT_EQ(result, IDNO);
        return;
    }
    ui.Stop();
    EXPECT_EQ(result, c.expected);
}

INSTANTIATE_TEST_SUITE_P(EachSet, MessageBoxKeys,
                         ::testing::Values(KeyCase{MB_OK, VK_RETURN, IDOK},
                                           KeyCase{MB_OK, VK_ESCAPE, IDOK},
                                           KeyCase{MB_OKCANCEL, VK_RETURN, IDOK},
                                           KeyCase{MB_OKCANCEL, VK_ESCAPE, IDCANCEL},
                                           KeyCase{MB_YESNO, VK_RETURN, IDYES},
                                           KeyCase{MB_YESNO, VK_ESCAPE, 0},
                                           KeyCase{MB_RETRYCANCEL, VK_RETURN, IDRETRY},
                                           KeyCase{MB_RETRYCANCEL, VK_ESCAPE, IDCANCEL},
                                           KeyCase{MB_YESNOCANCEL, VK_ESCAPE, IDCANCEL}));

INT_PTR KeyDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    if (msg != WM_COMMAND) return FALSE;
    if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) EndDialog(dlg, LOWORD(wp));
    return TRUE;
}

class DialogKeys : public ::testing::TestWithParam<std::pair<unsigned, int>> {};

TEST_P(DialogKeys, ReturnIsOkAndEscapeIsCancel)
{
    const auto [key, expected] = GetParam();
    platform::UseVirtualClock(SYSTEMTIME{2026, 3, 2, 3, 10, 0, 0, 0});
    INT_PTR result = -1;
    platform::UiThread ui([&] {
        platform::OpenScreen(platform::ScreenOptions{});
        static constexpr DialogControl kControls[] = {
            {L"button", L"OK", IDOK, 10, 10, 100, 40, 0, 0},
            {L"button", L"CANCEL", IDCANCEL, 120, 10, 100, 40, 0, 0},
        };
        DialogTemplate tmpl;
        tmpl.caption = L" KEYS";
        tmpl.width = 300;
        tmpl.height = 120;
        tmpl.controls = kControls;
        result = DialogBoxIndirectParam(nullptr, tmpl, nullptr, KeyDialogProc, 0);
    });
    ASSERT_TRUE(WaitForTitle(L" KEYS"));
    ASSERT_TRUE(platform::SendKey(key, false));
    ui.Stop();
    EXPECT_EQ(result, expected);
}

INSTANTIATE_TEST_SUITE_P(Keys, DialogKeys,
                         ::testing::Values(std::pair<unsigned, int>{VK_RETURN, IDOK},
                                           std::pair<unsigned, int>{VK_ESCAPE, IDCANCEL}));

}  // namespace
