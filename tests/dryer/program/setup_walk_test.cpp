// Every button of every set-up screen leads somewhere real. Through the automation socket, as a
// service technician's finger would, the walk opens each selection screen, presses each of its
// buttons, checks that a real screen, dialog or question comes up (a dialog with controls of its
// own, a message box with a text), presses the buttons inside each dialog the same way, closes
// whatever opened, and at last leaves the selection screen by its EXIT and finds the home
// screen. A screen added later is walked without a change here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "platform/devices/local_socket.h"
#include "tests/dryer/program/panel_run.h"

namespace {

using Json = nlohmann::json;
using panel_test::Narrow;
using panel_test::PanelRun;

constexpr int kAnswerWaitMs = 10000;  // real time
constexpr int kSettleMs = 1050;       // panel time after each touch

std::string Lower(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// What the technician faces: the front-most top-level window and the windows in front of it,
// known by their titles (or classes), with the buttons that can be pressed there.
struct Facing {
    std::string key;
    Json front;                // the front-most top-level window
    std::vector<int> buttons;  // visible, enabled, with a control id
};

struct WalkCase {
    const char* name;
    const char* scenario;
    std::vector<int> path;  // presses from the home screen to the selection screen
    int exit;               // the selection screen's leave button
};

void PrintTo(const WalkCase& walk, std::ostream* os)
{
    *os << walk.name;
}

class SetupWalk : public ::testing::TestWithParam<WalkCase> {
protected:
    // A fresh display on the case's simulated dryer, walked along the path.
    void Start()
    {
        run_.reset();
        sim::SimOptions board;
        board.scenario = GetParam().scenario;
        run_.emplace(board, [this](const std::filesystem::path&, OrbitDryerOptions& options) {
            static int serial = 0;
            socket_ = (std::filesystem::temp_directory_path() /
                       ("panel-walk-" + std::to_string(::getpid()) + "-" +
                        std::to_string(++serial) + ".sock"))
                          .string();
            options.control = socket_;
        });
        ASSERT_TRUE(run_->started());
        for (int id : GetParam().path) ASSERT_TRUE(Press(id)) << "path button " << id;
    }

    std::optional<Json> Ask(const std::string& command)
    {
        platform::LocalClient client(socket_);
        std::string answer;
        if (!client.SendLine(command) || !client.ReadLine(answer, kAnswerWaitMs)) return {};
        return Json::parse(answer, nullptr, false);
    }

    bool Press(int id)
    {
        const auto answer = Ask("press " + std::to_string(id));
        run_->Advance(kSettleMs);
        return answer && answer->value("ok", false);
    }

    bool Answer(const std::string& button)
    {
        const auto answer = Ask("answer " + button);
        run_->Advance(kSettleMs);
        return answer && answer->value("ok", false);
    }

    Facing Face()
    {
        Facing facing;
        const auto tree = Ask("tree");
        if (!tree || !tree->contains("windows")) return facing;
        for (const Json& w : (*tree)["windows"]) {
            const std::string title = w.value("title", "");
            facing.key += (title.empty() ? w.value("class", "") : title) + "|";
            for (const Json& c : w["controls"]) {
                const int id = c.value("id", 0);
                if (Lower(c.value("class", "")) != "button" || !c.value("visible", false) ||
                    !c.value("enabled", false) || id == 0) {
                    continue;
                }
                if (std::find(facing.buttons.begin(), facing.buttons.end(), id) ==
                    facing.buttons.end()) {
                    facing.buttons.push_back(id);
                }
            }
            if (w.value("topLevel", false)) {
                facing.front = w;
                break;  // children come before their window, front-most first
            }
        }
        return facing;
    }

    // A real screen or dialog, not a stand-in with one line of text and a way out: a question
    // with its text, or a window with a second button, further controls or a face it paints.
    static bool IsReal(const Facing& f)
    {
        if (f.front.value("isMessageBox", false)) {
            return !f.front.value("messageText", "").empty();
        }
        if (f.front.value("title", "").empty()) return false;
        int buttons = 0;
        int others = 0;
        for (const Json& c : f.front["controls"]) {
            (Lower(c.value("class", "")) == "button" ? buttons : others) += 1;
        }
        return buttons >= 2 || others >= 2 || !f.front["texts"].empty();
    }

    // Closes what is in front: a message box by its most cautious answer, a dialog by its
    // cancel or exit button. False when nothing could be pressed.
    bool CloseFront(const Facing& f)
    {
        if (f.front.value("isMessageBox", false)) {
            for (const char* answer : {"Cancel", "No", "OK"}) {
                for (const Json& b : f.front["buttons"]) {
                    if (b.get<std::string>() == answer) return Answer(answer);
                }
            }
            return false;
        }
        for (const char* word : {"cancel", "exit", "ok", "accept"}) {
            for (const Json& c : f.front["controls"]) {
                if (Lower(c.value("class", "")) != "button" || !c.value("visible", false)) continue;
                if (Lower(c.value("text", "")).find(word) != std::string::npos) {
                    return Press(c.value("id", 0));
                }
            }
        }
        return Press(2);  // IDCANCEL
    }

    // Closes windows until the technician faces `here` again; false when that fails.
    bool BackTo(const std::string& here)
    {
        for (int i = 0; i < 6; ++i) {
            const Facing now = Face();
            if (now.key == here) return true;
            if (now.front.value("class", "") == Narrow(kMainWindowClass))
                return false;  // left the screen
            if (!CloseFront(now)) return false;
        }
        return Face().key == here;
    }

    // Presses every button of the dialog in front (opened from the selection screen by
    // `opener`) and checks what each opens; reopens the dialog when a button closes it.
    void WalkDialog(const std::string& where, const std::string& selection, int opener)
    {
        const Facing dialog = Face();
        for (int id : dialog.buttons) {
            const std::string what = where + " > " + std::to_string(id);
            if (!Press(id)) continue;  // hidden by the press before it
            const Facing now = Face();
            if (now.key != dialog.key && now.key != selection) {
                EXPECT_TRUE(IsReal(now)) << what << " opened an empty window: " << now.key;
                if (!BackTo(dialog.key) && !BackTo(selection)) {
                    Start();
                }
            }
            if (Face().key == dialog.key) continue;
            // The press closed the dialog (ACCEPT, EXIT): open it again for the next button.
            if (Face().key != selection) Start();
            if (!Press(opener) || Face().key == selection) return;
        }
    }

    std::optional<PanelRun> run_;
    std::string socket_;
};

TEST_P(SetupWalk, EveryButtonOpensARealScreenAndExitLeadsHome)
{
    const WalkCase& walk = GetParam();
    Start();
    const Facing selection = Face();
    ASSERT_FALSE(selection.buttons.empty());
    for (int id : selection.buttons) {
        if (id == walk.exit) continue;
        const std::string where = std::string(walk.name) + " > " + std::to_string(id);
        ASSERT_TRUE(Press(id)) << where;
        const Facing opened = Face();
        if (opened.key == selection.key) {
            ADD_FAILURE() << where << " opened nothing";
            continue;
        }
        EXPECT_TRUE(IsReal(opened)) << where << " opened an empty window: " << opened.key;
        const bool dialog = opened.front.value("class", "") != Narrow(kMainWindowClass) &&
                            !opened.front.value("isMessageBox", false);
        if (dialog) WalkDialog(where, selection.key, id);
        if (!BackTo(selection.key)) Start();  // another full screen, or stuck: start afresh
        ASSERT_EQ(Face().key, selection.key) << where << " could not be closed";
    }
    ASSERT_TRUE(Press(walk.exit));
    const auto tree = Ask("tree");
    ASSERT_TRUE(tree.has_value());
    bool buttonBar = false;
    for (const Json& w : (*tree)["windows"]) {
        const std::string cls = w.value("class", "");
        EXPECT_NE(cls, Narrow(kTimerSelectClass));
        EXPECT_NE(cls, Narrow(kTempSelectClass));
        EXPECT_NE(cls, Narrow(kSetupSelectionClass));
        EXPECT_NE(cls, Narrow(kExtendedSetupClass));
        buttonBar = buttonBar || cls == Narrow(kButtonBarClass);
    }
    EXPECT_TRUE(buttonBar) << "EXIT of " << walk.name << " did not lead home";
}

INSTANTIATE_TEST_SUITE_P(
    Screens, SetupWalk,
    ::testing::Values(WalkCase{"timers", "continuous-si", {kCmdTimers}, kTimerSelectExit},
                      WalkCase{"temps", "continuous-6fh", {kCmdTemps}, kTempSelectExit},
                      WalkCase{"temps-batch", "batch-dual-heat", {kCmdTemps}, kTempSelectExit},
                      WalkCase{"setup", "continuous-si", {kCmdSetup}, kSetupSelectionExit},
                      WalkCase{"setup-batch", "batch-dual-heat", {kCmdSetup}, kSetupSelectionExit},
                      WalkCase{"extended",
                               "continuous-si",
                               {kCmdSetup, kSetupExtendedButton},
                               kExtendedSetupExit},
                      WalkCase{"extended-batch",
                               "batch-dual-heat",
                               {kCmdSetup, kSetupExtendedButton},
                               kExtendedSetupExit}),
    [](const ::testing::TestParamInfo<WalkCase>& param) {
        std::string name = param.param.name;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

}  // namespace
