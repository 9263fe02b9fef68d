// The screen walks of the text-fit tests.
#include "tests/dryer/textfit/screen_walk_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <memory>

#include "platform/runtime/detail_automation_json.h"
#include "platform/runtime/runtime.h"
#include "tests/dryer/textfit/fit_pictures_support.h"
#include "tests/support/text_fit_check.h"

namespace fit_test {

namespace {

bool IsButton(const platform::ControlInfo& c)
{
    std::wstring lower = c.className;
    for (wchar_t& ch : lower) ch = static_cast<wchar_t>(std::towlower(ch));
    return lower == L"button";
}

// A window is known by its title, or its class when it has none.
std::wstring NameOf(const platform::WindowInfo& w)
{
    return w.title.empty() ? w.className : w.title;
}

// What the operator faces: the front-most top-level window (a dialog, a message box, or the
// main window with the screen shown in it) with the windows inside it. It is known by the names
// of those windows; its buttons are what can be pressed.
struct Facing {
    std::wstring key;
    std::vector<int> buttons;
    std::string looks;  // the windows in view as the automation socket gives them
};

Facing FacingNow()
{
    Facing facing;
    std::vector<platform::WindowInfo> inView;
    for (const auto& w : platform::InspectWindows()) {
        facing.key += NameOf(w) + L"|";
        for (const auto& c : w.controls) {
            if (!IsButton(c) || !c.visible || !c.enabled || c.id == 0) continue;
            if (std::find(facing.buttons.begin(), facing.buttons.end(), c.id) ==
                facing.buttons.end()) {
                facing.buttons.push_back(c.id);
            }
        }
        inView.push_back(w);
        if (w.topLevel) break;  // children come before their window, top-most first
    }
    facing.looks = platform::detail::WindowsJson(inView, false);
    return facing;
}

// Follows a path on a fresh display; false (and a failure) when a step could not be taken.
bool Follow(panel_test::PanelRun& run, const std::string& screen, const Path& path)
{
    if (!run.started()) {
        ADD_FAILURE() << screen << ": the display did not start";
        return false;
    }
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (!Act(run, path[i])) {
            ADD_FAILURE() << screen << ": step " << i + 1 << " of its path could not be taken";
            return false;
        }
    }
    return true;
}

}  // namespace

bool Act(panel_test::PanelRun& run, const Action& action)
{
    bool done = false;
    switch (action.kind) {
        case Action::Kind::Press: done = platform::PressControl(action.id); break;
        case Action::Kind::Tap: done = platform::Tap(action.x, action.y); break;
        case Action::Kind::Answer: done = platform::AnswerMessageBox(action.button); break;
        case Action::Kind::Dryer:
            done = run.sim().Control(action.command).rfind("ok", 0) == 0;
            break;
    }
    run.Advance(action.kind == Action::Kind::Dryer ? 3000 : 1050);
    return done;
}

void CheckScreen(const std::string& screen)
{
    platform::WaitIdle();
    const auto windows = platform::InspectWindows();
    for (const std::string& problem : text_fit::Problems(windows)) {
        ADD_FAILURE() << screen << ": " << problem;
    }
    KeepPicture(screen);
}

void CheckAlong(const std::string& screen, const Start& start, const Path& path)
{
    panel_test::PanelRun run(start.dryer, start.files);
    if (Follow(run, screen, path)) CheckScreen(screen);
}

void WalkEveryButton(const std::string& screen, const Start& start, const Path& path, int depth,
                     std::set<std::wstring>& seen)
{
    auto run = std::make_unique<panel_test::PanelRun>(start.dryer, start.files);
    if (!Follow(*run, screen, path)) return;
    const Facing here = FacingNow();
    seen.insert(here.key);
    CheckScreen(screen);
    // A press that leaves the screen looking exactly as it did (a button with nothing to do
    // here) leaves the display as fresh as it was, and the next press goes on on it. After any
    // other press the next starts on a fresh display, walked along the path again.
    for (int id : here.buttons) {
        if (run == nullptr) {
            run = std::make_unique<panel_test::PanelRun>(start.dryer, start.files);
            if (!Follow(*run, screen, path)) return;
        }
        if (!Act(*run, Press(id)) || panel_test::PanelRun::MainWindowCount() == 0) {
            run.reset();
            continue;
        }
        const std::string pressed = screen + " > " + std::to_string(id);
        const Facing now = FacingNow();
        if (now.key == here.key) {
            CheckScreen(pressed);  // the press changed the screen it was made on
            if (now.looks != here.looks) run.reset();
            continue;
        }
        const bool unseen = seen.insert(now.key).second;
        if (unseen) CheckScreen(pressed);
        run.reset();  // one display at a time: the walk further on starts its own
        if (unseen && depth > 0) {
            Path further = path;
            further.push_back(Press(id));
            WalkEveryButton(pressed, start, further, depth - 1, seen);
        }
    }
}

}  // namespace fit_test
