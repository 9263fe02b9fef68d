// "PLENUM TEMPERATURE MANAGER - 12": the settings it opens on, the two three-bit settings
// stepping round at both ends without touching the other bits, SELECT ON / OFF, what ACCEPT
// sends (and only when the byte changed), CANCEL, HELP, and the dryer taking the new byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/setup/plenum_manager.h"
#include "dryer/setup/setup_selection.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/setup/service_screens_support.h"
#include "tests/dryer/setup/setup_support.h"

namespace {

using namespace setup_test;
using panel_test::PanelRun;

constexpr int kOn = 0x80;

constexpr int ManagerByte(bool on, int time, int size)
{
    return (on ? kOn : 0) | (time << 3) | size;
}

bool OpenWithByte(PanelRun& panel, int byte)
{
    return service_test::OpenWith(panel, {{plenumManagerByte50, byte}}, kSetupPlenumManagerButton,
                                  kPlenumManagerTitle);
}

bool Press(int id, int times = 1)
{
    for (int i = 0; i < times; ++i) {
        if (!platform::PressControl(id)) return false;
    }
    return true;
}

bool ScreenOpen()
{
    return panel_test::FindTitled(kPlenumManagerTitle).has_value();
}

// "ON" or "OFF" as the radio buttons show it; anything else is wrong.
std::wstring OnOff()
{
    if (Checked(kPlenumOn) == Checked(kPlenumOff)) return L"both or none";
    return Checked(kPlenumOn) ? L"ON" : L"OFF";
}

int FrameOf(int id)
{
    switch (id) {
        case kPlenumSelectOnOff:
        case kPlenumOn:
        case kPlenumOff: return kPlenumOnOffFrame;
        case kPlenumTimeField:
        case kPlenumTimeIncrease:
        case kPlenumTimeDecrease: return kPlenumTimeFrame;
        case kPlenumSizeField:
        case kPlenumSizeIncrease:
        case kPlenumSizeDecrease: return kPlenumSizeFrame;
        case kPlenumOnOffFrame:
        case kPlenumTimeFrame:
        case kPlenumSizeFrame: return id;
    }
    return 0;
}

TEST(PlenumManager, TextsOfTheSettingsArePaddedAsListed)
{
    const std::vector<std::wstring> times{L"15 MINUTES", L"30 MINUTES", L"45 MINUTES",
                                          L"1 HOUR    ", L"1.5 HOURS ", L"2 HOURS   ",
                                          L"3 HOURS   ", L"4 HOURS   "};
    const std::vector<std::wstring> sizes{L"Select  ", L"2 DEG F ", L"3 DEG F ", L"5 DEG F ",
                                          L"10 DEG F", L"15 DEG F", L"20 DEG F", L"25 DEG F"};
    for (int v = 0; v < 8; ++v) {
        EXPECT_EQ(PlenumStepTimeText(v), times[v]);
        EXPECT_EQ(PlenumStepSizeText(v), sizes[v]);
    }
}

TEST(PlenumManager, SettingsWrapRoundAtBothEndsAndKeepTheOtherBits)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWithByte(panel, ManagerByte(true, 7, 0)));
    EXPECT_EQ(Text(kPlenumTimeField), L"4 HOURS   ");
    EXPECT_EQ(Text(kPlenumSizeField), L"Select  ");
    EXPECT_EQ(OnOff(), L"ON");
    ExpectTidyLayout(kPlenumManagerTitle, FrameOf);
    service_test::Screenshot("plenum-manager");
    ASSERT_TRUE(Press(kPlenumSizeDecrease));  // 0 down gives 7
    EXPECT_EQ(Text(kPlenumSizeField), L"25 DEG F");
    ASSERT_TRUE(Press(kPlenumTimeIncrease));  // 7 up gives 0
    EXPECT_EQ(Text(kPlenumTimeField), L"15 MINUTES");
    ASSERT_TRUE(Press(kPlenumSizeIncrease));  // 7 up gives 0
    EXPECT_EQ(Text(kPlenumSizeField), L"Select  ");
    ASSERT_TRUE(Press(kPlenumTimeDecrease));  // 0 down gives 7
    EXPECT_EQ(Text(kPlenumTimeField), L"4 HOURS   ");
    ASSERT_TRUE(Press(kPlenumSizeDecrease, 2));
    ASSERT_TRUE(Press(kPlenumTimeIncrease, 4));
    EXPECT_EQ(Text(kPlenumSizeField), L"20 DEG F");
    EXPECT_EQ(Text(kPlenumTimeField), L"1 HOUR    ");
    EXPECT_EQ(OnOff(), L"ON");
    EXPECT_TRUE(SetupFlagsSet().empty());  // nothing before ACCEPT
    ASSERT_TRUE(Press(kPlenumAccept));
    EXPECT_FALSE(ScreenOpen());
    EXPECT_EQ(Value(DesiredSettings, plenumManagerByte50), ManagerByte(true, 3, 6));
    EXPECT_EQ(SetupFlagsSet(), Flags{"byte50"});
    panel.Cycles(3);
    EXPECT_EQ(panel_test::SimByte(panel.sim(), plenumManagerByte50), ManagerByte(true, 3, 6));
    EXPECT_EQ(Value(DryerImage, plenumManagerByte50), ManagerByte(true, 3, 6));
    EXPECT_TRUE(SetupFlagsSet().empty());  // echoed
}

TEST(PlenumManager, SelectOnOffTogglesOnlyTheOnBit)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWithByte(panel, ManagerByte(false, 3, 4)));
    EXPECT_EQ(OnOff(), L"OFF");
    EXPECT_EQ(Text(kPlenumTimeField), L"1 HOUR    ");
    EXPECT_EQ(Text(kPlenumSizeField), L"10 DEG F");
    ASSERT_TRUE(Press(kPlenumSelectOnOff));
    EXPECT_EQ(OnOff(), L"ON");
    ASSERT_TRUE(Press(kPlenumSelectOnOff));
    EXPECT_EQ(OnOff(), L"OFF");
    ASSERT_TRUE(Press(kPlenumSelectOnOff));
    ASSERT_TRUE(Press(kPlenumAccept));
    EXPECT_EQ(Value(DesiredSettings, plenumManagerByte50), ManagerByte(true, 3, 4));
    EXPECT_EQ(SetupFlagsSet(), Flags{"byte50"});
}

TEST(PlenumManager, AcceptAfterAFullRoundSendsNothingAndCancelDropsTheChange)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWithByte(panel, ManagerByte(true, 5, 1)));
    ASSERT_TRUE(Press(kPlenumTimeIncrease, 8));
    ASSERT_TRUE(Press(kPlenumSizeDecrease, 8));
    ASSERT_TRUE(Press(kPlenumSelectOnOff, 2));
    EXPECT_EQ(Text(kPlenumTimeField), L"2 HOURS   ");
    EXPECT_EQ(Text(kPlenumSizeField), L"2 DEG F ");
    ASSERT_TRUE(Press(kPlenumAccept));
    EXPECT_FALSE(ScreenOpen());
    EXPECT_TRUE(SetupFlagsSet().empty());

    ASSERT_TRUE(platform::PressControl(kSetupPlenumManagerButton));
    ASSERT_TRUE(Press(kPlenumSelectOnOff));
    ASSERT_TRUE(Press(kPlenumSizeIncrease));
    ASSERT_TRUE(Press(kPlenumCancel));
    EXPECT_FALSE(ScreenOpen());
    EXPECT_TRUE(SetupFlagsSet().empty());
    panel.Cycles(2);
    EXPECT_EQ(Value(DryerImage, plenumManagerByte50), ManagerByte(true, 5, 1));
}

TEST(PlenumManager, HelpExplainsTheManagerAndLeavesTheScreenOpen)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWithByte(panel, 0));
    ASSERT_TRUE(Press(kPlenumHelp));
    const auto help = panel_test::TopMessageBox();
    ASSERT_TRUE(help.has_value());
    EXPECT_EQ(help->title, kPlenumManagerHelpCaption);
    EXPECT_EQ(help->messageText.rfind(L"The Plenum Temp Manager will reduce the plenum\n", 0), 0u);
    EXPECT_NE(help->messageText.find(L"menu.\n\nIf the time given"), std::wstring::npos);
    EXPECT_EQ(help->buttons, (std::vector<std::wstring>{L"OK", L"Cancel"}));
    service_test::Screenshot("plenum-manager-help");
    ASSERT_TRUE(platform::AnswerMessageBox(L"Cancel"));
    EXPECT_TRUE(ScreenOpen());
    EXPECT_EQ(OnOff(), L"OFF");
    ASSERT_TRUE(Press(kPlenumCancel));
}

}  // namespace
