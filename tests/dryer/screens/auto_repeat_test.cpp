// The held-button repeat of step buttons, stepped tick by tick as the 100 ms timer does.
#include "dryer/screens/auto_repeat.h"

#include <gtest/gtest.h>

#include "platform/controls/controls.h"
#include "platform/windowing/window.h"
#include "tests/dryer/program/panel_run.h"

namespace {

void Ticks(int n)
{
    for (int i = 0; i < n; ++i) StepAutoRepeat();
}

// A screen with a step button: counts the commands the held button sends.
int gStepCommands = 0;
LRESULT StepScreenProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COMMAND && LOWORD(wp) == 7) ++gStepCommands;
    return DefWindowProc(wnd, msg, wp, lp);
}

TEST(AutoRepeat, HeldStepButtonRepeatsAfterHalfASecondThenEveryTick)
{
    panel_test::EnsureVirtualClock();
    ResetAutoRepeat();
    WNDCLASS wc{};
    wc.lpfnWndProc = StepScreenProc;
    wc.lpszClassName = L"STEP_SCREEN_WINDOW";
    RegisterClass(&wc);
    HWND screen = CreateWindowEx(0, L"STEP_SCREEN_WINDOW", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200,
                                 100, nullptr, 0, nullptr, nullptr);
    HWND button = CreateWindowEx(0, WC_BUTTON, L">>>", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0,
                                 50, 30, screen, 7, nullptr, nullptr);
    const int ids[] = {7};
    RegisterAutoRepeat(screen, ids);
    gStepCommands = 0;
    SendMessage(button, BM_SETSTATE, TRUE, 0);
    Ticks(4);
    EXPECT_EQ(gStepCommands, 0);
    Ticks(1);
    EXPECT_EQ(gStepCommands, 1);  // the fifth tick of holding
    Ticks(1);
    EXPECT_EQ(gStepCommands, 2);
    SendMessage(button, BM_SETSTATE, FALSE, 0);
    Ticks(1);
    SendMessage(button, BM_SETSTATE, TRUE, 0);
    Ticks(4);
    EXPECT_EQ(gStepCommands, 2);  // a new hold waits again
    Ticks(1);
    EXPECT_EQ(gStepCommands, 3);
    UnregisterAutoRepeat(screen);
    Ticks(5);
    EXPECT_EQ(gStepCommands, 3);
    DestroyWindow(screen);
}

}  // namespace
