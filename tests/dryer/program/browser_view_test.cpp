// The whole display served to browsers (--http with a token), driven by real WebSocket clients
// while it runs on the virtual clock against the simulated board: a viewer's held press on
// COOL is a held press on the panel and its taps answer the question that follows; a wrong
// token, malformed messages, a flood of touches and a viewer that never reads are refused or
// cut short, and after each the display still polls the board every 350 ms.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "platform/web/web_view.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/support/web_client.h"

namespace {

using panel_test::PanelRun;
using test_support::WebSocketClient;

constexpr const char* kToken = "grain-office-2468";
constexpr int kCool = 0x9061;
constexpr int kViewButton = 0x8804;

POINT Centre(int id)
{
    const auto c = panel_test::FindControl(id);
    if (!c) return POINT{-1, -1};
    return POINT{(c->rect.left + c->rect.right) / 2, (c->rect.top + c->rect.bottom) / 2};
}

bool Pressed(int id)
{
    const auto c = panel_test::FindControl(id);
    return c.has_value() && c->pressed;
}

// Lets the user-interface thread take what the server injected (real time, bounded).
bool PanelTurns(const std::function<bool()>& done)
{
    for (int i = 0; i < 300; ++i) {
        platform::WaitIdle();
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

std::vector<std::wstring> ShownClasses()
{
    std::vector<std::wstring> classes;
    for (const auto& w : platform::InspectWindows()) classes.push_back(w.className);
    return classes;
}

class BrowserViewOfTheDisplay : public ::testing::Test {
protected:
    BrowserViewOfTheDisplay()
        : panel_({}, [](const std::filesystem::path&, OrbitDryerOptions& options) {
              options.http = {"127.0.0.1:0", kToken};
          })
    {
        port_ = test_support::HostAndPort(platform::RunningWebViewUrl()).second;
    }

    std::unique_ptr<WebSocketClient> Viewer(const std::string& token = kToken,
                                            int receiveBuffer = 0)
    {
        return std::make_unique<WebSocketClient>("127.0.0.1", port_, "/view?token=" + token,
                                                 std::vector<std::pair<std::string, std::string>>{},
                                                 receiveBuffer);
    }

    // Waits until the server has read everything the viewer sent: it answers a "take" of the
    // viewer in control with a state line, after the messages before it (the viewer has read
    // the state lines sent before).
    static bool AllRead(WebSocketClient& viewer)
    {
        return viewer.Send(R"({"type":"take"})") && viewer.ReadState().has_value();
    }

    // The display polls on: every 350 ms cycle is answered by the board.
    void ExpectPolling()
    {
        const std::uint64_t before = panel_.sim().requestsAnswered();
        panel_.Cycles(4);
        EXPECT_EQ(panel_.sim().requestsAnswered() - before, 4u);
    }

    PanelRun panel_;
    std::uint16_t port_ = 0;
};

TEST_F(BrowserViewOfTheDisplay, AHeldPressIsHeldOnThePanelAndItsQuestionIsAnsweredByTaps)
{
    ASSERT_TRUE(panel_.started());
    ASSERT_NE(port_, 0);
    panel_.Pin(coolTimerSetting, MinSec{20, 0});
    panel_.Pin(dryingType, kBatchDrying);
    auto viewer = Viewer();
    ASSERT_TRUE(viewer->connected());
    const auto state = viewer->ReadState();
    ASSERT_TRUE(state);
    EXPECT_EQ((*state)["holder"], (*state)["you"]);

    const POINT cool = Centre(kCool);
    ASSERT_TRUE(viewer->Touch("down", cool.x, cool.y));
    ASSERT_TRUE(PanelTurns([] { return Pressed(kCool); }));
    panel_.Advance(2000);  // held across two 1-second ticks
    const auto box = panel_test::TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, L"RELOAD TIMER REQUEST");
    ASSERT_TRUE(viewer->Touch("up", cool.x, cool.y));
    // The answer: a tap on No from the browser.
    std::optional<POINT> no;
    for (const auto& c : box->controls) {
        if (c.text == L"No")
            no = POINT{(c.rect.left + c.rect.right) / 2, (c.rect.top + c.rect.bottom) / 2};
    }
    ASSERT_TRUE(no.has_value());
    ASSERT_TRUE(viewer->Touch("down", no->x, no->y));
    ASSERT_TRUE(viewer->Touch("up", no->x, no->y));
    EXPECT_TRUE(PanelTurns([] { return !panel_test::TopMessageBox().has_value(); }));
    EXPECT_FALSE(panel_test::FindTitled(L"MODIFYING TIMER SETPOINT - 21").has_value());
    ExpectPolling();
}

TEST_F(BrowserViewOfTheDisplay, BadViewersAreRefusedAndThePanelPollsOn)
{
    ASSERT_TRUE(panel_.started());
    ASSERT_NE(port_, 0);
    const auto before = ShownClasses();

    // A wrong token: the page and the live view are refused.
    EXPECT_EQ(test_support::HttpGet("127.0.0.1", port_, "/?token=grain-office-0000").status, 403);
    EXPECT_EQ(test_support::HttpGet("127.0.0.1", port_, "/").status, 403);
    auto stranger = Viewer("grain-office-0000");
    EXPECT_FALSE(stranger->connected());
    EXPECT_EQ(stranger->handshakeStatus(), 403);
    ExpectPolling();

    // Malformed messages: nothing reaches the panel.
    auto viewer = Viewer();
    ASSERT_TRUE(viewer->connected());
    ASSERT_TRUE(viewer->ReadState());  // it holds control
    for (const std::string& bad :
         std::vector<std::string>{"", "{", "[1,2]", R"({"type":"down","x":9999,"y":1})",
                                  R"({"type":"down","x":-5,"y":1})", R"({"type":"shutdown"})",
                                  R"({"type":"down","x":1.5,"y":2})", std::string(200, '{')}) {
        ASSERT_TRUE(viewer->Send(bad));
    }
    ASSERT_TRUE(AllRead(*viewer));
    ExpectPolling();
    EXPECT_EQ(ShownClasses(), before);
    EXPECT_FALSE(Pressed(kViewButton));

    // A flood of presses over the empty part of the button bar: cut to the rate, none held.
    for (int i = 0; i < 2000; ++i) {
        ASSERT_TRUE(viewer->Touch("down", 636, 476));
        ASSERT_TRUE(viewer->Touch("up", 636, 476));
    }
    ASSERT_TRUE(AllRead(*viewer));  // the clock runs on only after the whole flood was read
    ExpectPolling();
    EXPECT_EQ(ShownClasses(), before);

    // A viewer that never reads while the panel keeps repainting.
    auto sleeper = Viewer(kToken, 4096);
    ASSERT_TRUE(sleeper->connected());
    for (int i = 0; i < 5; ++i) ExpectPolling();

    // The well-behaved viewer still works the panel: a tap on VIEW opens the view menu.
    const POINT view = Centre(kViewButton);
    ASSERT_TRUE(viewer->Touch("down", view.x, view.y));
    ASSERT_TRUE(viewer->Touch("up", view.x, view.y));
    EXPECT_TRUE(PanelTurns([] { return panel_test::Shown(L"VIEW_SELECTION_WINDOW"); }));
    ExpectPolling();
}

}  // namespace
