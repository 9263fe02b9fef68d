// Test harness for the display on a real X11 desktop: a private Xvfb server, a click-to-focus
// window manager, the built orbitdryer in an SDL window on it, and real pointer events sent with
// xdotool (XTest). What the panel shows is read back through its automation socket. Every
// process belongs to the session and ends with it, also when an assertion fails on the way.
#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/child_process.h"

namespace desktop_test {

namespace fs = std::filesystem;

// The desktop programs the session needs; empty when all are installed, else a message that
// names the missing ones and scripts/setup.
std::string MissingDesktopPrograms();

// A rectangle of the panel picture (left, top, right, bottom), as the tree gives it.
struct PanelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int centreX() const { return (left + right) / 2; }
    int centreY() const { return (top + bottom) / 2; }
};

// What a program run to its end printed, and how it ended (-1: no end in time or a signal).
struct RunResult {
    int exitCode = -1;
    std::string out;
};

class DesktopSession {
public:
    // Starts the X server, the window manager and the display (orbitdryer --simulate with the
    // extra options). ok() says whether all of it came up; why() says what did not.
    explicit DesktopSession(const std::vector<std::string>& displayOptions = {});
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    bool ok() const { return why_.empty(); }
    const std::string& why() const { return why_; }
    const std::string& display() const { return display_; }

    // Runs an X client on the session's display to its end (bounded).
    RunResult RunX(std::vector<std::string> args);
    // Starts an X client that runs on until the session ends.
    void StartX(std::vector<std::string> args);

    // ---- the display's window ----
    // The X window id of the display's window (found once it is mapped).
    const std::string& panelWindow() const { return panelWindow_; }
    // A point of the 640 x 480 picture as a point of the window, through the window's scale.
    std::pair<int, int> WindowPoint(int x, int y);
    // Moves the real pointer onto a point of the picture (or of the screen).
    bool MovePointerToPanel(int x, int y);
    bool MovePointerToScreen(int x, int y);
    bool ButtonDown();
    bool ButtonUp();
    bool Click();
    // The X window that has the keyboard focus.
    std::string FocusedWindow();
    // Opens another X window (xlogo) and gives it the focus; its id, empty on failure.
    std::string OpenOtherFocusedWindow();

    // ---- the panel, through its automation socket ----
    nlohmann::json Tree();
    // The classes of the shown windows (screens, panels, dialogs), front-most first.
    std::vector<std::string> WindowClasses();
    // The same of the top-level windows alone (the main window, dialogs, message boxes).
    std::vector<std::string> TopLevelClasses();
    // A window by its title (dialogs, message boxes), front-most first.
    std::optional<nlohmann::json> WindowTitled(const std::string& title);
    // The rectangle of the visible control with this id.
    std::optional<PanelRect> ControlRect(int id);
    // Whether the control with this id is shown pushed.
    bool ControlPressed(int id);
    // A message box's button by its text.
    std::optional<PanelRect> MessageBoxButton(const std::string& text);
    // Polls the tree until the condition holds, at most timeoutMs.
    bool WaitForTree(const std::function<bool(DesktopSession&)>& done, int timeoutMs);
    // The display's stderr, for failure messages.
    std::string DisplayStderr() const;
    // Ends the display as a session end does (SIGTERM); its exit code, -1 when it did not end.
    int EndDisplay();

private:
    bool StartServer();
    bool StartWindowManager();
    bool StartDisplay(const std::vector<std::string>& displayOptions);
    std::vector<std::string> OnDisplay(std::vector<std::string> args) const;

    fs::path root_;
    std::string display_;
    std::string why_;
    std::string panelWindow_;
    std::unique_ptr<test_support::ChildProcess> server_;
    std::unique_ptr<test_support::ChildProcess> windowManager_;
    std::vector<std::unique_ptr<test_support::ChildProcess>> clients_;
    std::unique_ptr<test_support::ChildProcess> panel_;
};

}  // namespace desktop_test
