// " UNLOAD BUSHELS SETUP SCREEN - 17" on a running panel: the factor and total it shows, the
// total following the dryer's counter, the factor stopping at 50 and 150, what ACCEPT sends,
// the ZERO question and the reset it starts, completed through the answer decoder and the
// board, a held step button and HELP.
#include "dryer/setup/unload_bushels_setup.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/setup/calibration_screens_support.h"
#include "tests/dryer/setup/diagnostics_support.h"
#include "tests/dryer/setup/service_screens_support.h"
#include "tests/dryer/setup/setup_support.h"

namespace {

using namespace calibration_test;
using panel_test::PanelRun;
using setup_test::Text;

constexpr int kPerBushel = 3600;  // the counter holds bushels x 3600

// A dryer that stands still, so that its counter stays where a test puts it.
sim::SimOptions StoppedDryer()
{
    sim::SimOptions options;
    options.scenario = "stopped";
    return options;
}

// Puts the factor and the counter on the board and opens the screen over the main window.
bool OpenBushels(PanelRun& panel, int factor, int counter)
{
    panel_test::SetOnBoard(panel.sim(), bphCalibration, factor);
    panel_test::SetOnBoard(panel.sim(), bushelCounter, counter);
    panel.Cycles(2);
    diagnostics_test::OpenOnPanel(panel, OpenUnloadBushelsSetup);
    return panel_test::FindTitled(kUnloadBushelsSetupTitle).has_value();
}

bool ScreenOpen()
{
    return panel_test::FindTitled(kUnloadBushelsSetupTitle).has_value();
}

int FrameOf(int id)
{
    switch (id) {
        case kBushelsFactorFrame:
        case kBushelsFactor:
        case kBushelsFactorUp:
        case kBushelsFactorDown: return kBushelsFactorFrame;
        case kBushelsTotalFrame:
        case kBushelsTotal:
        case kBushelsClear: return kBushelsTotalFrame;
    }
    return 0;
}

TEST(UnloadBushelsSetup, ShowsTheFactorAndWholeBushelsAndFollowsTheCounter)
{
    PanelRun panel(StoppedDryer());
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenBushels(panel, 100, 250 * kPerBushel + kPerBushel - 1));
    EXPECT_EQ(Text(kBushelsFactor), L"  100 %");
    EXPECT_EQ(Text(kBushelsTotal), L" 250");  // rounded down
    setup_test::ExpectTidyLayout(kUnloadBushelsSetupTitle, FrameOf);
    ExpectTextsFit();
    service_test::Screenshot("unload-bushels-setup");
    panel_test::SetOnBoard(panel.sim(), bushelCounter, 1000 * kPerBushel);
    panel.Cycles(2);
    EXPECT_EQ(Text(kBushelsTotal), L" 1000");
    ASSERT_TRUE(Press(IDOK));
    EXPECT_FALSE(ScreenOpen());
    EXPECT_TRUE(Raised().empty());
}

TEST(UnloadBushelsSetup, FactorStopsAtFiftyAndAtOneHundredFifty)
{
    PanelRun panel(StoppedDryer());
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenBushels(panel, 148, 0));
    ASSERT_TRUE(Press(kBushelsFactorUp, 5));
    EXPECT_EQ(Text(kBushelsFactor), L"  150 %");
    EXPECT_TRUE(Raised().empty());  // nothing before ACCEPT
    ASSERT_TRUE(Press(IDOK));
    EXPECT_EQ(Raised(), std::set<Pending>{Pending::bphCalibration});
    panel.Cycles(3);
    EXPECT_EQ(Value(DryerImage, bphCalibration), 150);
    EXPECT_TRUE(Raised().empty());  // the dryer took it

    ASSERT_TRUE(OpenBushels(panel, 52, 0));
    ASSERT_TRUE(Press(kBushelsFactorDown, 5));
    EXPECT_EQ(Text(kBushelsFactor), L"  50 %");
    ASSERT_TRUE(Press(kBushelsFactorUp));
    EXPECT_EQ(Text(kBushelsFactor), L"  51 %");
    ASSERT_TRUE(Press(IDOK));
    panel.Cycles(3);
    EXPECT_EQ(Value(DryerImage, bphCalibration), 51);
    EXPECT_TRUE(Raised().empty());
}

TEST(UnloadBushelsSetup, AnUnchangedFactorOrAScreenLeftWithoutAcceptSendsNothing)
{
    PanelRun panel(StoppedDryer());
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenBushels(panel, 90, 0));
    ASSERT_TRUE(Press(kBushelsFactorUp, 3));
    ASSERT_TRUE(Press(kBushelsFactorDown, 3));
    ASSERT_TRUE(Press(IDOK));
    EXPECT_TRUE(Raised().empty());

    ASSERT_TRUE(OpenBushels(panel, 90, 0));
    ASSERT_TRUE(Press(kBushelsFactorUp, 3));
    ASSERT_TRUE(platform::SendKey(VK_ESCAPE, false));
    EXPECT_FALSE(ScreenOpen());
    EXPECT_TRUE(Raised().empty());
    panel.Cycles(2);
    EXPECT_EQ(Value(DryerImage, bphCalibration), 90);
}

// The question on top, checked for its caption, text and buttons; then answered.
void AnswerZeroQuestion(const wchar_t* answer)
{
    const auto box = panel_test::TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, L" TOTAL BUSHEL COUNTER");
    EXPECT_EQ(box->messageText, L"Do you wish to ZERO total bushels?");
    EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"Yes", L"No", L"Cancel"}));
    ASSERT_TRUE(platform::AnswerMessageBox(answer));
}

class ZeroQuestion : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(ZeroQuestion, AnythingButYesLeavesTheCounter)
{
    PanelRun panel(StoppedDryer());
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenBushels(panel, 100, 40 * kPerBushel));
    ASSERT_TRUE(Press(kBushelsClear));
    AnswerZeroQuestion(GetParam());
    EXPECT_TRUE(ScreenOpen());
    EXPECT_FALSE(IsSet(DesiredSettings, bushelResetBit));
    EXPECT_TRUE(Raised().empty());
    panel.Cycles(2);
    EXPECT_EQ(Text(kBushelsTotal), L" 40");
    ASSERT_TRUE(Press(IDOK));
}

INSTANTIATE_TEST_SUITE_P(Answers, ZeroQuestion, ::testing::Values(L"No", L"Cancel"),
                         [](const auto& p) { return panel_test::Narrow(p.param); });

// Yes sends the reset request at once, with the option byte's other bits as the dryer reports
// them; the decoder keeps it going until the dryer reports a zero counter, then sends the byte
// once more without the request.
TEST(UnloadBushelsSetup, YesZeroesTheTotalThroughTheDecoderAndTheDryer)
{
    constexpr int kOtherOptionBits = 0x01;
    PanelRun panel(StoppedDryer());
    ASSERT_TRUE(panel.started());
    panel_test::SetOnBoard(panel.sim(), optionByte238, kOtherOptionBits);
    ASSERT_TRUE(OpenBushels(panel, 100, 40 * kPerBushel));
    ASSERT_TRUE(Press(kBushelsClear));
    AnswerZeroQuestion(L"Yes");
    EXPECT_EQ(Value(DesiredSettings, optionByte238), kOtherOptionBits | bushelResetBit.mask);
    EXPECT_EQ(Raised(), std::set<Pending>{Pending::optionByte238});
    panel.Cycles(4);
    EXPECT_EQ(ReadCounter(DryerImage, bushelCounter), 0u);
    EXPECT_EQ(Text(kBushelsTotal), L" 0");
    EXPECT_EQ(Value(DesiredSettings, optionByte238), kOtherOptionBits);  // request done
    EXPECT_EQ(Value(DryerImage, optionByte238), kOtherOptionBits);       // and sent
    EXPECT_TRUE(Raised().empty());
    ASSERT_TRUE(Press(IDOK));
    EXPECT_TRUE(Raised().empty());  // the factor did not change
}

TEST(UnloadBushelsSetup, HeldUpButtonRepeatsThroughTheTick)
{
    PanelRun panel(StoppedDryer());
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenBushels(panel, 100, 0));
    const POINT finger = Middle(kBushelsFactorUp);
    ASSERT_TRUE(platform::PointerDown(finger.x, finger.y));
    panel.Advance(400);
    EXPECT_EQ(Text(kBushelsFactor), L"  100 %");
    panel.Advance(6000);  // long enough to run into the bound
    EXPECT_EQ(Text(kBushelsFactor), L"  150 %");
    ASSERT_TRUE(platform::PointerUp(finger.x, finger.y));
    ASSERT_TRUE(Press(IDOK));
    EXPECT_EQ(Raised(), std::set<Pending>{Pending::bphCalibration});
}

TEST(UnloadBushelsSetup, HelpExplainsAndKeepsTheScreen)
{
    PanelRun panel(StoppedDryer());
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenBushels(panel, 100, 0));
    ASSERT_TRUE(Press(kBushelsHelp));
    const auto help = panel_test::TopMessageBox();
    ASSERT_TRUE(help.has_value());
    EXPECT_EQ(help->title, L"BPH Calibration Help");
    EXPECT_EQ(help->messageText.rfind(L"Touching the BPH Calibration button will\ndisplay the "
                                      L"Unload Bushels Setup screen.",
                                      0),
              0u);
    ExpectTextsFit();
    service_test::Screenshot("unload-bushels-setup-help");
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
    EXPECT_TRUE(ScreenOpen());
    ASSERT_TRUE(Press(IDOK));
    EXPECT_FALSE(ScreenOpen());
}

}  // namespace
