// The warning window against the simulated Display I/O: a warning raised on the board shows
// the window with its catalogue text and it goes when the warning clears; a silent board
// shows the connection-lost panel after 10 s, and the link recovers when it answers again.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/screens/drawn_text_support.h"

namespace {

using panel_test::FindShown;
using panel_test::PanelRun;
using screens_test::Has;

std::optional<platform::WindowInfo> Warning()
{
    return FindShown(L"WARNING_WINDOW");
}

TEST(WarningEndToEnd, BoardWarningShowsItsTextWithinASecondAndGoesWhenCleared)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    EXPECT_FALSE(Warning().has_value());
    panel.sim().Control("warn 0E0A");
    panel.Advance(1000);
    const auto shown = Warning();
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->title, L" WARNING - DRYER SHUTTING DOWN!");
    EXPECT_TRUE(Has(shown->texts, L"0E0A - MAIN I/O FUSE BLOWN ON J6-03 (PRI-UNLOAD)"));
    bool helpButton = false;
    for (const auto& c : shown->controls) {
        if (c.id == 0x8844 && c.text == L"WARNING_HELP" && c.visible) helpButton = true;
    }
    EXPECT_TRUE(helpButton);
    panel.sim().Control("clear");
    panel.Advance(1000);
    EXPECT_FALSE(Warning().has_value());
}

TEST(WarningEndToEnd, SilentBoardShowsConnectionLostAndTheLinkRecovers)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.sim().Control("silent 11");
    panel.AdvanceWithoutAnswers(2800);
    EXPECT_FALSE(Warning().has_value());  // the watchdog has not run out yet
    panel.AdvanceWithoutAnswers(8050);    // 10.85 s in all
    const auto lost = Warning();
    ASSERT_TRUE(lost.has_value());
    EXPECT_EQ(lost->title, L" CONNECTION TO DRYER LOST!");
    EXPECT_TRUE(Has(lost->texts, L"Trying to Reconnect..."));
    panel.AdvanceWithoutAnswers(700);  // the silence ends
    panel.Advance(2800);               // the board answers again
    EXPECT_FALSE(Warning().has_value());
}

}  // namespace
