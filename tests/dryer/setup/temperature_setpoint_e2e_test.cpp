// A setpoint typed on the keypad, end to end: the panel's link carries it to the simulated
// board, the board's echo confirms it and the screens show it; a board that holds its old
// value gets the new one again on every exchange while the screens keep showing the old one.
#include <gtest/gtest.h>

#include <string>

#include "dryer/link/comm_thread.h"
#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "tests/dryer/setup/temperature_support.h"

namespace {

using namespace temperature_test;
using panel_test::PanelRun;

const ImageField kBurner1 = ForHeater(plenumSetpoint, 1);

// The one-plenum home panel prints its setpoint as "205 °F ".
std::wstring HomeSetpoint(int value, bool celsius = false)
{
    return std::to_wstring(value) + L" " + kDegree + (celsius ? L'C' : L'F') + L" ";
}

void TypeNumber(int value)
{
    Type({value / 100, value / 10 % 10, value % 10});
}

// Runs exchanges until the flag clears (at most `cycles`); returns how many it took.
int CyclesUntilConfirmed(PanelRun& panel, Pending flag, int cycles)
{
    int n = 0;
    while (PendingCommand.IsSet(flag) && n < cycles) {
        panel.Cycles(1);
        ++n;
    }
    return n;
}

void LeaveToHome()
{
    ASSERT_TRUE(platform::PressControl(kTempSelectExit));
    ASSERT_TRUE(panel_test::Shown(kCustomViewClass));
}

TEST(TemperatureSetpointEndToEnd, TypedPlenumSetpointReachesTheBoardAndTheScreens)
{
    PanelRun panel(Dryer(1));
    ASSERT_TRUE(panel.started());
    OpenSetpointScreen();
    ASSERT_TRUE(OpenKeypad(kBurnerButton1));
    TypeNumber(205);
    Accept();
    ASSERT_TRUE(PendingCommand.IsSet(kBurner1.pending));

    EXPECT_LE(CyclesUntilConfirmed(panel, kBurner1.pending, 6), 3);
    EXPECT_FALSE(PendingCommand.IsSet(kBurner1.pending));
    EXPECT_EQ(Value(panel.sim().Image(), kBurner1), 205);
    EXPECT_EQ(Value(DryerImage, kBurner1), 205);
    // The open screen repaints with the board's new value.
    EXPECT_TRUE(Has(TextsOf(kPlenumSetpointClass), Printed(205)));

    LeaveToHome();
    EXPECT_TRUE(Has(TextsOf(kCustomViewClass), HomeSetpoint(205)));
}

TEST(TemperatureSetpointEndToEnd, CelsiusEntryShowsTheSameNumberAfterTheEcho)
{
    PanelRun panel(Dryer(1, true));
    ASSERT_TRUE(panel.started());
    OpenSetpointScreen();
    ASSERT_TRUE(OpenKeypad(kBurnerButton1));
    Type({8, 7});
    Accept();
    CyclesUntilConfirmed(panel, kBurner1.pending, 6);
    ASSERT_FALSE(PendingCommand.IsSet(kBurner1.pending));
    EXPECT_EQ(Value(panel.sim().Image(), kBurner1), 190);  // 87 °C
    EXPECT_TRUE(Has(TextsOf(kPlenumSetpointClass), Printed(87, true)));
    LeaveToHome();
    EXPECT_TRUE(Has(TextsOf(kCustomViewClass), HomeSetpoint(87, true)));
}

TEST(TemperatureSetpointEndToEnd, BoardThatKeepsItsValueGetsTheSetpointEveryCycle)
{
    PanelRun panel(Dryer(1));
    ASSERT_TRUE(panel.started());
    panel.Pin(kBurner1, 180);  // the board holds its setpoint whatever it is sent
    OpenSetpointScreen();
    ASSERT_TRUE(OpenKeypad(kBurnerButton1));
    TypeNumber(205);
    Accept();
    ASSERT_TRUE(PendingCommand.IsSet(kBurner1.pending));

    constexpr int kCycles = 8;
    const LinkCounters before = GetLinkCounters();
    const std::uint64_t recordsBefore = panel.sim().commandRecordsApplied();
    panel.Cycles(kCycles);
    const LinkCounters after = GetLinkCounters();
    // Every exchange was a command frame, not a poll, and each carried the setpoint: the clock
    // record alone comes once a second.
    EXPECT_GE(after.commands - before.commands, static_cast<std::uint64_t>(kCycles));
    EXPECT_EQ(after.polls, before.polls);
    EXPECT_GE(panel.sim().commandRecordsApplied() - recordsBefore,
              static_cast<std::uint64_t>(kCycles));
    EXPECT_TRUE(PendingCommand.IsSet(kBurner1.pending));
    EXPECT_EQ(Value(DesiredSettings, kBurner1), 205);
    EXPECT_EQ(Value(DryerImage, kBurner1), 180);
    EXPECT_TRUE(Has(TextsOf(kPlenumSetpointClass), Printed(180)));

    LeaveToHome();
    panel.Cycles(2);
    EXPECT_TRUE(PendingCommand.IsSet(kBurner1.pending));
    EXPECT_TRUE(Has(TextsOf(kCustomViewClass), HomeSetpoint(180)));

    // Once the board lets go, the value still being sent lands.
    panel.sim().Control("unpin " + std::to_string(kBurner1.offset));
    panel.sim().Control("unpin " + std::to_string(kBurner1.offset + 1));
    CyclesUntilConfirmed(panel, kBurner1.pending, 6);
    EXPECT_FALSE(PendingCommand.IsSet(kBurner1.pending));
    EXPECT_EQ(Value(DryerImage, kBurner1), 205);
    EXPECT_TRUE(Has(TextsOf(kCustomViewClass), HomeSetpoint(205)));
}

TEST(TemperatureSetpointEndToEnd, GrainSetpointReachesTheBoard)
{
    PanelRun panel(Dryer(1));
    ASSERT_TRUE(panel.started());
    OpenSetpointScreen();
    ASSERT_TRUE(OpenKeypad(kGrainButton));
    TypeNumber(120);
    Accept();
    CyclesUntilConfirmed(panel, grainSetpointMain.pending, 6);
    EXPECT_FALSE(PendingCommand.IsSet(grainSetpointMain.pending));
    EXPECT_EQ(Value(panel.sim().Image(), grainSetpointMain), 120);
    EXPECT_TRUE(Has(TextsOf(kGrainSetpointClass), Printed(120)));
}

}  // namespace
