// The periodic ticks' own state: blink phases, poll pacing, the status refresh countdown, the
// long-term log divider, the unloading graph countdown, the clock record and the animation
// phases. The tick functions are called directly; no window is open, so every repaint they
// ask for goes to a null window and is dropped.
#include "dryer/app/timers.h"
#include "dryer/screens/panel_animation.h"

#include <gtest/gtest.h>

#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "dryer/screens/screen_manager.h"
#include "tests/dryer/program/panel_run.h"

namespace {

class Ticks : public ::testing::Test {
protected:
    void SetUp() override
    {
        panel_test::EnsureVirtualClock();
        ResetLinkStateForTest();
        ResetScreenManager();
        ResetTicks();
    }
    static void Run175(int n)
    {
        for (int i = 0; i < n; ++i) Tick175Ms(nullptr, 0, kTimer175Ms, 0);
    }
    static void Run1s(int n)
    {
        for (int i = 0; i < n; ++i) Tick1s(nullptr, 0, kTimer1s, 0);
    }
    static void Run100(int n)
    {
        for (int i = 0; i < n; ++i) Tick100Ms(nullptr, 0, kTimer100Ms, 0);
    }
};

TEST_F(Ticks, SlowBlinkIsOnForFiveTicksAndOffForThree)
{
    Run175(8);  // settle on phase 0
    std::string pattern;
    for (int i = 0; i < 16; ++i) {
        Run175(1);
        pattern += (Animation().blinkFlags & kSlowBlinkBit) != 0 ? '1' : '0';
    }
    EXPECT_EQ(pattern, "0011111000111110");
}

TEST_F(Ticks, PollsOnEverySecondTick)
{
    Run175(7);
    EXPECT_EQ(::Ticks().pollDivider, 7);
}

TEST_F(Ticks, StatusRefreshComesTwentyFiveTicksAfterTheRequest)
{
    RequestStatusRefresh();
    Run175(24);
    EXPECT_TRUE(::Ticks().statusRefreshRequested);
    Run175(1);
    EXPECT_FALSE(::Ticks().statusRefreshRequested);
    EXPECT_EQ(::Ticks().statusRefreshCountdown, 25);
}

TEST_F(Ticks, FirstLongTermSampleOnTheFirstSecondThenEveryTwelve)
{
    Run1s(1);
    EXPECT_EQ(::Ticks().longTermDivider, 0);
    Run1s(11);
    EXPECT_EQ(::Ticks().longTermDivider, 11);
    Run1s(1);
    EXPECT_EQ(::Ticks().longTermDivider, 0);
}

TEST_F(Ticks, ClockRecordCarriesTheLocalTimeEverySecond)
{
    PendingCommand.Clear(Pending::clock);
    Run1s(1);
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_TRUE(PendingCommand.IsSet(Pending::clock));
    EXPECT_EQ(Value(DesiredSettings, ClockByte(ClockPart::minute)), now.wMinute);
    EXPECT_EQ(Value(DesiredSettings, ClockByte(ClockPart::hour)), now.wHour);
    EXPECT_EQ(Value(DesiredSettings, ClockByte(ClockPart::day)), now.wDay);
    EXPECT_EQ(Value(DesiredSettings, ClockByte(ClockPart::month)), now.wMonth);
    EXPECT_EQ(Value(DesiredSettings, ClockByte(ClockPart::year)), now.wYear % 100);
}

TEST_F(Ticks, CountsTheLinkWatchdogDown)
{
    LinkWatchdog.store(3);
    Run1s(2);
    EXPECT_EQ(LinkWatchdog.load(), 1u);
    Run1s(1);
    EXPECT_EQ(LinkWatchdog.load(), 0u);
    Run1s(5);
    EXPECT_EQ(LinkWatchdog.load(), 0u);  // it stays at 0
}

TEST_F(Ticks, GraphSampleEveryTenUnloadingSeconds)
{
    SetBits(DryerImage, unloadingBit2, true);
    Run1s(9);
    EXPECT_EQ(::Ticks().graphCountdown, 1);
    Run1s(1);
    EXPECT_EQ(::Ticks().graphCountdown, 10);
    EXPECT_GT(::Ticks().shortTermCountdown, 0);  // the short-term sample came on the first
}

TEST_F(Ticks, NothingCountsWhileNotUnloading)
{
    Run1s(15);
    EXPECT_EQ(::Ticks().graphCountdown, 10);
    EXPECT_EQ(::Ticks().shortTermCountdown, 0);
}

TEST_F(Ticks, RunningFansTurnAndLoadingStepsBackwards)
{
    SetBits(DryerImage, ForHeater(fanRunningBit, 1), true);
    SetValue(DryerImage, dryerState, kDryerStateIdle);
    SetBits(DryerImage, notFillingBit, false);  // loading
    Run100(4);
    EXPECT_EQ(Animation().fanPhase[0], 1);  // 0, 1, 2, 0, 1
    EXPECT_EQ(Animation().fanPhase[1], 0);
    EXPECT_EQ(Animation().loadingPhase, 2);  // 0, 2, 1, 0, 2
    EXPECT_EQ(Animation().unloadPhase, 0);
}

TEST_F(Ticks, MeterRollsTurnEveryThirdTickInOppositeDirections)
{
    SetBits(DryerImage, meterRollsTurningBit, true);
    SetBits(DryerImage, meterRollDirectionBit, true);  // forward
    Run100(3);
    EXPECT_EQ(Animation().meterRollPhase[0], 1);
    EXPECT_EQ(Animation().meterRollPhase[1], 2);
}

TEST_F(Ticks, BannerStepRequestEveryThirdTick)
{
    Run100(2);
    EXPECT_EQ(Animation().blinkFlags & kBannerBlinkBit, 0u);
    Run100(1);
    EXPECT_NE(Animation().blinkFlags & kBannerBlinkBit, 0u);
}

}  // namespace
