// Modal dialogs: the value given to EndDialog, the owner disabled meanwhile, controls from the
// template, timers that keep firing inside the dialog's loop, a quit met inside, centring.
#include "platform/windowing/dialog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/test_support.h"
#include "platform/windowing/window.h"

namespace {

constexpr const wchar_t* kOwnerClass = L"DIALOG_TEST_WINDOW";
constexpr UINT kEndNow = WM_APP + 7;
constexpr UINT_PTR kOwnerTimer = 9;

HWND g_dialog = nullptr;
int g_ownerTicks = 0;
int g_dialogTicks = 0;
bool g_ownerEnabledInside = true;
std::vector<UINT> g_seen;

LRESULT OwnerProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_TIMER && wp == kOwnerTimer) {
        ++g_ownerTicks;
        if (g_ownerTicks == 3) EndDialog(g_dialog, 300 + g_dialogTicks);
        return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::UseVirtualClock(SYSTEMTIME{2026, 3, 2, 3, 10, 0, 0, 0});
        platform::OpenScreen(platform::ScreenOptions{});
        WNDCLASS wc;
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = kOwnerClass;
        RegisterClass(&wc);
        owner_ = CreateWindowEx(0, kOwnerClass, L"OWNER", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                nullptr, 0, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
        g_dialog = nullptr;
        g_ownerTicks = 0;
        g_dialogTicks = 0;
        g_ownerEnabledInside = true;
        g_seen.clear();
    }
    void TearDown() override { platform::CloseScreen(); }

    HWND owner_ = nullptr;
};

const DialogControl kControls[] = {
    {L"button", L"CLOSE", 1224, 100, 40, 60, 20, BS_PUSHBUTTON, 0},
    {L"listbox", L"", 1225, 5, 80, 200, 40, 0, 0},
};

DialogTemplate Template(DLGPROC)
{
    DialogTemplate t;
    t.caption = L"Shutdown Help File - 34";
    t.width = 300;
    t.height = 200;
    t.controls = kControls;
    return t;
}

INT_PTR EndsOnRequest(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    g_seen.push_back(msg);
    switch (msg) {
        case WM_INITDIALOG:
            g_dialog = dlg;
            g_ownerEnabledInside = IsWindowEnabled(GetDlgItem(dlg, 1224)) != FALSE &&
                                   IsWindowEnabled(reinterpret_cast<HWND>(lp)) != FALSE;
            PostMessage(dlg, kEndNow, 0, 0);
            return TRUE;
        case kEndNow: EndDialog(dlg, 42); return TRUE;
    }
    (void)wp;
    return FALSE;
}

TEST_F(Dialogs, ReturnsEndDialogValueAndDisablesOwnerMeanwhile)
{
    DialogTemplate t = Template(EndsOnRequest);
    INT_PTR result =
        DialogBoxIndirectParam(nullptr, t, owner_, EndsOnRequest, reinterpret_cast<LPARAM>(owner_));
    EXPECT_EQ(result, 42);
    EXPECT_FALSE(g_ownerEnabledInside) << "the owner is disabled while the dialog runs";
    EXPECT_TRUE(IsWindowEnabled(owner_)) << "and enabled again afterwards";
    EXPECT_FALSE(IsWindow(g_dialog)) << "the dialog window is gone";
    ASSERT_FALSE(g_seen.empty());
    EXPECT_EQ(g_seen.front(), WM_INITDIALOG) << "the procedure starts with WM_INITDIALOG";
}

TEST_F(Dialogs, OwnerDisabledBeforeStaysDisabled)
{
    EnableWindow(owner_, FALSE);
    DialogTemplate t = Template(EndsOnRequest);
    EXPECT_EQ(DialogBoxIndirectParam(nullptr, t, owner_, EndsOnRequest, 0), 42);
    EXPECT_FALSE(IsWindowEnabled(owner_));
}

INT_PTR ChecksControls(HWND dlg, UINT msg, WPARAM, LPARAM)
{
    if (msg != WM_INITDIALOG) return FALSE;
    HWND close = GetDlgItem(dlg, 1224);
    HWND list = GetDlgItem(dlg, 1225);
    RECT r{};
    GetClientRect(list, &r);
    wchar_t text[16] = {};
    GetWindowText(close, text, 16);
    bool ok = close != nullptr && list != nullptr && r.right == 300 && r.bottom == 65 &&
              std::wstring(text) == L"CLOSE";
    EndDialog(dlg, ok ? IDOK : IDABORT);
    return TRUE;
}

TEST_F(Dialogs, ControlsComeFromTheTemplateInDialogUnits)
{
    DialogTemplate t = Template(ChecksControls);
    t.dialogUnits = true;  // the list box: 200 x 40 units is 300 x 65 pixels
    EXPECT_EQ(DialogBoxIndirectParam(nullptr, t, owner_, ChecksControls, 0), IDOK);
}

INT_PTR CountsTicks(HWND dlg, UINT msg, WPARAM, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG:
            g_dialog = dlg;
            SetTimer(dlg, 1, 50, nullptr);
            platform::SetVirtualNow(platform::NowMs() + 50);
            return TRUE;
        case WM_TIMER:
            // each tick of the dialog's timer moves the panel clock on to the next one
            ++g_dialogTicks;
            platform::SetVirtualNow(platform::NowMs() + 50);
            return TRUE;
    }
    return FALSE;
}

TEST_F(Dialogs, TimersKeepFiringWhileTheDialogIsOpen)
{
    SetTimer(owner_, kOwnerTimer, 100, nullptr);
    DialogTemplate t = Template(CountsTicks);
    INT_PTR result = DialogBoxIndirectParam(nullptr, t, owner_, CountsTicks, 0);
    EXPECT_EQ(g_ownerTicks, 3) << "the owner's timer ran inside the dialog's loop";
    // the dialog's 50 ms timer ticks at 50 ... 250 ms at least, before the owner's third tick
    EXPECT_GE(result, 300 + 5) << "the dialog's own timer ran too";
}

INT_PTR QuitsInside(HWND, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_INITDIALOG) PostQuitMessage(5);
    return FALSE;
}

TEST_F(Dialogs, QuitInsideEndsTheDialogAndIsPostedAgain)
{
    DialogTemplate t = Template(QuitsInside);
    EXPECT_EQ(DialogBoxIndirectParam(nullptr, t, owner_, QuitsInside, 0), IDCANCEL);
    EXPECT_TRUE(IsWindowEnabled(owner_));
    MSG msg;
    ASSERT_FALSE(GetMessage(&msg, nullptr, 0, 0)) << "the outer loop sees the quit";
    EXPECT_EQ(msg.wParam, 5u);
}

TEST_F(Dialogs, EndDialogOnAnOrdinaryWindowFails)
{
    EXPECT_FALSE(EndDialog(owner_, 1));
    EXPECT_FALSE(EndDialog(nullptr, 1));
}

TEST_F(Dialogs, CenterWindowOverTakesNegativeOffsetsAsZero)
{
    struct Case {
        RECT over;
        SIZE size;
        POINT expected;
    };
    const Case cases[] = {
        {{0, 0, 640, 480}, {200, 100}, {220, 190}},
        {{10, 20, 440, 345}, {200, 100}, {125, 132}},
        {{10, 20, 110, 70}, {200, 100}, {10, 20}},  // larger than the window it sits over
    };
    for (const Case& c : cases) {
        HWND over = CreateWindowEx(0, kOwnerClass, L"", WS_POPUP | WS_VISIBLE, c.over.left,
                                   c.over.top, c.over.right - c.over.left,
                                   c.over.bottom - c.over.top, nullptr, 0, nullptr, nullptr);
        HWND wnd = CreateWindowEx(0, kOwnerClass, L"", WS_POPUP | WS_VISIBLE, 0, 0, c.size.cx,
                                  c.size.cy, nullptr, 0, nullptr, nullptr);
        CenterWindowOver(wnd, over);
        RECT r{};
        GetWindowRect(wnd, &r);
        EXPECT_EQ(r.left, c.expected.x);
        EXPECT_EQ(r.top, c.expected.y);
        EXPECT_EQ(r.right - r.left, c.size.cx);
        DestroyWindow(wnd);
        DestroyWindow(over);
    }
}

INT_PTR CentresOverParent(HWND dlg, UINT msg, WPARAM, LPARAM)
{
    if (msg != WM_INITDIALOG) return FALSE;
    CenterWindowOver(dlg, GetParent(dlg));
    RECT r{};
    GetWindowRect(dlg, &r);
    EndDialog(dlg, MAKELPARAM(static_cast<unsigned>(r.left), static_cast<unsigned>(r.top)));
    return TRUE;
}

TEST_F(Dialogs, CentringOverItsParentUsesTheOwner)
{
    // the warning window at 10, 20 (430 x 325) opens a 300 x 200 help dialog
    HWND warning = CreateWindowEx(0, kOwnerClass, L"WARNING", WS_POPUP | WS_VISIBLE, 10, 20, 430,
                                  325, nullptr, 0, nullptr, nullptr);
    DialogTemplate t = Template(CentresOverParent);
    INT_PTR at = DialogBoxIndirectParam(nullptr, t, warning, CentresOverParent, 0);
    EXPECT_EQ(LOWORD(static_cast<WPARAM>(at)), 10 + 65);
    EXPECT_EQ(HIWORD(static_cast<WPARAM>(at)), 20 + 62);
}

// A help dialog with a list of more rows than fit (so the list draws its scroll bar); its
// CLOSE button ends it.
INT_PTR ClosesOnButton(HWND dlg, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
        case WM_INITDIALOG:
            for (int i = 0; i < 12; ++i) {
                const std::wstring row = L"Check the fuse " + std::to_wstring(i);
                SendDlgItemMessage(dlg, 1225, LB_ADDSTRING, 0,
                                   reinterpret_cast<LPARAM>(row.c_str()));
            }
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) == 1224) EndDialog(dlg, IDOK);
            return TRUE;
    }
    return FALSE;
}

bool DialogShown()
{
    for (const auto& w : platform::InspectWindows()) {
        if (w.title == L"Shutdown Help File - 34") return true;
    }
    return false;
}

TEST_F(Dialogs, DrivenFromAHelperThreadTheLoopAnswersBeforeAndAfterTheClosingTap)
{
    DialogTemplate t = Template(ClosesOnButton);
    bool shown = false;
    bool idleInside = false;
    bool pressed = false;
    bool shownAfter = true;
    const INT_PTR result = platform::DriveModal(
        [&] { return DialogBoxIndirectParam(nullptr, t, owner_, ClosesOnButton, 0); },
        [&] {
            // the dialog opens when the test thread gets to it; a guard of a few seconds
            for (int tries = 0; tries < 5000 && !shown; ++tries) {
                shown = DialogShown();
                if (!shown) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            idleInside = platform::WaitIdle();
            pressed = platform::PressControl(1224);  // waits for the loop after the tap too
            shownAfter = DialogShown();
        });
    EXPECT_TRUE(shown);
    EXPECT_TRUE(idleInside) << "the dialog's loop goes idle";
    EXPECT_TRUE(pressed) << "the loop is idle again after the tap that closed the dialog";
    EXPECT_FALSE(shownAfter);
    EXPECT_EQ(result, IDOK);
}

}  // namespace
