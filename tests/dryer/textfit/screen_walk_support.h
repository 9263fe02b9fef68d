// Test support: walks the operator display's screens and checks that every text on each fits
// its box (tests/support/text_fit_check.h). A walk starts a fresh display against the simulator
// (panel_run.h), goes along a path of presses and taps, and checks the screen at the end.
// WalkEveryButton goes further on its own: from a screen it presses every button, checks each
// screen, dialog or message box that opens, walks it in turn, and closes it again, so that a
// screen added later is checked without a change to the test.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "sim/display_io_sim.h"
#include "tests/dryer/program/panel_run.h"

namespace fit_test {

// One operator action: a press of a control, a tap on the screen, or an answer to the open
// message box; or a command to the simulated dryer ("warn 0305", "clear").
struct Action {
    enum class Kind { Press, Tap, Answer, Dryer } kind = Kind::Press;
    int id = 0;  // the control (Press)
    int x = 0;   // the point (Tap)
    int y = 0;
    std::wstring button;  // the message box button (Answer)
    std::string command;  // the simulator's control command (Dryer)
};
inline Action Press(int id)
{
    return Action{Action::Kind::Press, id, 0, 0, {}, {}};
}
inline Action Tap(int x, int y)
{
    return Action{Action::Kind::Tap, 0, x, y, {}, {}};
}
inline Action Answer(const std::wstring& button)
{
    return Action{Action::Kind::Answer, 0, 0, 0, button, {}};
}
inline Action Dryer(const std::string& command)
{
    return Action{Action::Kind::Dryer, 0, 0, 0, {}, command};
}
using Path = std::vector<Action>;

// How a walk's display is started: the simulated dryer and the files in the panel root.
struct Start {
    sim::SimOptions dryer;
    panel_test::PanelRunSetup files;
};

// Carries out one action and lets a second of panel time pass. False when the control, the
// point or the button was not there.
bool Act(panel_test::PanelRun& run, const Action& action);

// Checks every text on the screen as it is now; each text that does not fit is a test failure
// naming `screen`. With TEXT_FIT_PICTURES set, also keeps a picture of the screen.
void CheckScreen(const std::string& screen);

// Starts a display, follows the path, and checks the screen it ends on.
void CheckAlong(const std::string& screen, const Start& start, const Path& path);

// From the screen the path ends on, presses every button, checks whatever opens and, `depth`
// levels deep, walks it in turn. Each press is made on a display in the state the path leaves
// it in: a fresh one walked along the path again, or the one before when its press changed
// nothing in view.
// `seen` holds the titles of the windows checked so far: each is walked once.
void WalkEveryButton(const std::string& screen, const Start& start, const Path& path, int depth,
                     std::set<std::wstring>& seen);

}  // namespace fit_test
