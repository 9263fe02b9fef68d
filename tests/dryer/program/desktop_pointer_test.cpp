// The display in a real SDL window on an X11 desktop (Xvfb and a click-to-focus window
// manager), driven by real pointer events (XTest through xdotool) rather than the taps the
// automation socket injects: the first click on a window that had lost the focus, a held
// button and a release away from the button. The outcome is read through the socket's tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/dryer/program/desktop_support.h"
#include "tests/support/child_process.h"

namespace {

using desktop_test::DesktopSession;
using desktop_test::PanelRect;

constexpr int kShowMs = 5'000;       // real time for a screen to follow a pointer event
constexpr int kActedMs = 700;        // real time in which a wrong reaction would have shown
constexpr int kReloadAskMs = 6'000;  // two 1-second ticks and the question

constexpr int kCoolTimerButton = 0x9061;
constexpr int kViewButton = 0x8804;
constexpr int kTimersButton = 0x8801;

const char* const kViewMenu = "VIEW_SELECTION_WINDOW";
const char* const kMainWindow = "ORBIT_DRYER_MAIN_WINDOW";

bool Shows(DesktopSession& s, const std::string& cls)
{
    const auto classes = s.WindowClasses();
    return std::find(classes.begin(), classes.end(), cls) != classes.end();
}

int CountOf(DesktopSession& s, const std::string& cls)
{
    const auto classes = s.WindowClasses();
    return static_cast<int>(std::count(classes.begin(), classes.end(), cls));
}

// Fails the test (not only the start) when the desktop is not there: CI installs it.
#define ASSERT_DESKTOP_UP(session) \
    ASSERT_TRUE((session).ok()) << (session).why() << "\n" << (session).DisplayStderr()

TEST(DesktopPointer, FirstClickOnTheWindowActsWhileAnotherWindowHadTheFocus)
{
    DesktopSession desktop;
    ASSERT_DESKTOP_UP(desktop);
    const std::string other = desktop.OpenOtherFocusedWindow();
    ASSERT_FALSE(other.empty()) << "no other window could take the focus";
    ASSERT_NE(desktop.FocusedWindow(), desktop.panelWindow());

    const auto view = desktop.ControlRect(kViewButton);
    ASSERT_TRUE(view.has_value());
    ASSERT_TRUE(desktop.MovePointerToPanel(view->centreX(), view->centreY()));
    ASSERT_TRUE(desktop.Click());

    EXPECT_TRUE(desktop.WaitForTree([](DesktopSession& s) { return Shows(s, kViewMenu); }, kShowMs))
        << "the click that focused the window did not press VIEW";
    EXPECT_EQ(desktop.FocusedWindow(), desktop.panelWindow());  // the manager focused it too
    EXPECT_EQ(CountOf(desktop, kViewMenu), 1);
    EXPECT_EQ(desktop.EndDisplay(), 0) << desktop.DisplayStderr();
}

TEST(DesktopPointer, HoldingTheCoolTimerAsksForAReloadAndTheReleaseOpensNoKeypad)
{
    DesktopSession desktop({"--scenario", "batch-dual-heat"});
    ASSERT_DESKTOP_UP(desktop);
    ASSERT_TRUE(desktop.WaitForTree(
        [](DesktopSession& s) { return s.ControlRect(kCoolTimerButton).has_value(); }, kShowMs));
    const PanelRect cool = *desktop.ControlRect(kCoolTimerButton);

    ASSERT_TRUE(desktop.MovePointerToPanel(cool.centreX(), cool.centreY()));
    ASSERT_TRUE(desktop.ButtonDown());
    EXPECT_TRUE(desktop.WaitForTree(
        [](DesktopSession& s) { return s.ControlPressed(kCoolTimerButton); }, kShowMs));
    // Held across two 1-second ticks: the question comes while the button is still down.
    const bool asked = desktop.WaitForTree(
        [](DesktopSession& s) { return s.WindowTitled("RELOAD TIMER REQUEST").has_value(); },
        kReloadAskMs);
    ASSERT_TRUE(asked) << "holding COOL asked nothing";
    EXPECT_EQ(desktop.WindowTitled("RELOAD TIMER REQUEST")
                  ->value("messageText", "")
                  .rfind("Reload COOL TIMER with ", 0),
              0u);
    // The question ends the press: the button behind it no longer shows pushed.
    EXPECT_TRUE(desktop.WaitForTree(
        [](DesktopSession& s) { return !s.ControlPressed(kCoolTimerButton); }, kShowMs));

    ASSERT_TRUE(desktop.ButtonUp());
    // The release over COOL is not a click: no keypad opens over the question.
    EXPECT_FALSE(desktop.WaitForTree(
        [](DesktopSession& s) {
            return s.WindowTitled("MODIFYING TIMER SETPOINT - 21").has_value();
        },
        kActedMs));
    ASSERT_TRUE(desktop.WindowTitled("RELOAD TIMER REQUEST").has_value());

    // Answered with a real click on No: the question goes and is not asked again.
    const auto no = desktop.MessageBoxButton("No");
    ASSERT_TRUE(no.has_value());
    ASSERT_TRUE(desktop.MovePointerToPanel(no->centreX(), no->centreY()));
    ASSERT_TRUE(desktop.Click());
    EXPECT_TRUE(desktop.WaitForTree(
        [](DesktopSession& s) { return !s.WindowTitled("RELOAD TIMER REQUEST").has_value(); },
        kShowMs));
    EXPECT_FALSE(desktop.WaitForTree(
        [](DesktopSession& s) {
            return s.WindowTitled("RELOAD TIMER REQUEST").has_value() ||
                   s.WindowTitled("MODIFYING TIMER SETPOINT - 21").has_value();
        },
        2'500));
    EXPECT_EQ(desktop.TopLevelClasses(), std::vector<std::string>{kMainWindow});
    EXPECT_EQ(desktop.EndDisplay(), 0) << desktop.DisplayStderr();
}

TEST(DesktopPointer, ReleaseAwayFromTheButtonDoesNotPressIt)
{
    DesktopSession desktop;
    ASSERT_DESKTOP_UP(desktop);
    const auto before = desktop.WindowClasses();
    const PanelRect view = *desktop.ControlRect(kViewButton);
    const PanelRect timers = *desktop.ControlRect(kTimersButton);

    // Down on VIEW, off it inside the window, up over the dryer picture.
    ASSERT_TRUE(desktop.MovePointerToPanel(view.centreX(), view.centreY()));
    ASSERT_TRUE(desktop.ButtonDown());
    ASSERT_TRUE(desktop.WaitForTree([](DesktopSession& s) { return s.ControlPressed(kViewButton); },
                                    kShowMs));
    ASSERT_TRUE(desktop.MovePointerToPanel(120, 200));
    EXPECT_TRUE(desktop.WaitForTree(
        [](DesktopSession& s) { return !s.ControlPressed(kViewButton); }, kShowMs))
        << "VIEW still shows pushed with the pointer off it";
    ASSERT_TRUE(desktop.ButtonUp());
    EXPECT_FALSE(
        desktop.WaitForTree([](DesktopSession& s) { return Shows(s, kViewMenu); }, kActedMs));

    // Down on TIMERS, off it and out of the window, up on the bare desktop.
    ASSERT_TRUE(desktop.MovePointerToPanel(timers.centreX(), timers.centreY()));
    ASSERT_TRUE(desktop.ButtonDown());
    ASSERT_TRUE(desktop.WaitForTree(
        [](DesktopSession& s) { return s.ControlPressed(kTimersButton); }, kShowMs));
    ASSERT_TRUE(desktop.MovePointerToScreen(5, 5));
    EXPECT_TRUE(desktop.WaitForTree(
        [](DesktopSession& s) { return !s.ControlPressed(kTimersButton); }, kShowMs));
    ASSERT_TRUE(desktop.ButtonUp());
    EXPECT_FALSE(desktop.WaitForTree([&](DesktopSession& s) { return s.WindowClasses() != before; },
                                     kActedMs));
    EXPECT_EQ(desktop.WindowClasses(), before);

    // Nothing is left captured: the next click on VIEW opens the view menu once.
    ASSERT_TRUE(desktop.MovePointerToPanel(view.centreX(), view.centreY()));
    ASSERT_TRUE(desktop.Click());
    EXPECT_TRUE(
        desktop.WaitForTree([](DesktopSession& s) { return Shows(s, kViewMenu); }, kShowMs));
    EXPECT_EQ(CountOf(desktop, kViewMenu), 1);
    EXPECT_EQ(desktop.EndDisplay(), 0) << desktop.DisplayStderr();
}

}  // namespace
