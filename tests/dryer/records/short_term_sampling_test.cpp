// Sampling on the 1-second tick: the first sample at once, then one every sample time plus a
// second while the dryer unloads; nothing while it does not; the sample-time dialog's restart.
#include <gtest/gtest.h>

#include "dryer/app/timers.h"
#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/records/display_settings.h"
#include "dryer/records/short_term_log.h"
#include "dryer/screens/screen_manager.h"
#include "tests/dryer/records/short_term_log_support.h"

namespace {

using records_test::AdvanceSeconds;
using records_test::LogRoot;

class ShortTermSampling : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLinkStateForTest();
        ResetScreenManager();
        ResetTicks();
        DryerImage.Clear();
        SetValue(DryerImage, dryerState, kDryerStateIdle);
        CurrentDisplaySettings().sampleTimeMinutes = 10;
    }
    void TearDown() override { CurrentDisplaySettings() = DisplaySettings{}; }

    // One second of panel time and its tick.
    static void Seconds(int n)
    {
        for (int i = 0; i < n; ++i) {
            AdvanceSeconds(1);
            Tick1s(nullptr, 0, kTimer1s, 0);
        }
    }
    static int SecondsBetweenLastTwo()
    {
        std::vector<DataLogSample> w(2);
        if (ReadShortTermWindow(w, 0) != 2) return -1;
        const auto secs = [](const DataLogSample& s) {
            return (s.hour * 60 + s.minute) * 60 + s.second;
        };
        constexpr int kDay = 24 * 60 * 60;
        return ((secs(w[1]) - secs(w[0])) % kDay + kDay) % kDay;
    }

    LogRoot log_;
};

class SampleSpacing : public ShortTermSampling, public ::testing::WithParamInterface<int> {};

TEST_P(SampleSpacing, FirstSampleAtOnceThenEverySampleTimePlusOneSecond)
{
    const int minutes = GetParam();
    CurrentDisplaySettings().sampleTimeMinutes = static_cast<BYTE>(minutes);
    SetBits(DryerImage, unloadingBit2, true);
    Seconds(1);
    EXPECT_EQ(ShortTermRecordCount(), 1);
    Seconds(minutes * 60);
    EXPECT_EQ(ShortTermRecordCount(), 1);  // one second short
    Seconds(1);
    EXPECT_EQ(ShortTermRecordCount(), 2);
    EXPECT_EQ(SecondsBetweenLastTwo(), minutes * 60 + 1);
}

INSTANTIATE_TEST_SUITE_P(Minutes, SampleSpacing, ::testing::Values(1, 5, 10, 15));

TEST_F(ShortTermSampling, EitherUnloadingBitSamplesAndTheCountdownWaitsMeanwhile)
{
    CurrentDisplaySettings().sampleTimeMinutes = 1;
    SetBits(DryerImage, unloadingBit, true);  // dryerState bit 6
    Seconds(1);
    EXPECT_TRUE(DataLogUnloading());
    EXPECT_EQ(ShortTermRecordCount(), 1);
    Seconds(30);
    SetBits(DryerImage, unloadingBit, false);
    Seconds(300);  // not unloading: no samples, and the countdown stands still
    EXPECT_FALSE(DataLogUnloading());
    EXPECT_EQ(ShortTermRecordCount(), 1);
    SetBits(DryerImage, unloadingBit2, true);
    Seconds(30);
    EXPECT_EQ(ShortTermRecordCount(), 1);
    Seconds(1);
    EXPECT_EQ(ShortTermRecordCount(), 2);  // 61 unloading seconds after the first
}

TEST_F(ShortTermSampling, TheSampleHoldsTheDryerAsTheImageShowsIt)
{
    SetBits(DryerImage, unloadingBit2, true);
    SetValue(DryerImage, grainSensorSelect, 1);
    SetValue(DryerImage, GrainTempEntry(1), 104);
    SetValue(DryerImage, wetMoisture, 231);
    SetValue(DryerImage, dryMoisture, 149);
    SetValue(DryerImage, wetSensorTemp, 655);
    SetValue(DryerImage, drySensorTemp, 902);
    SetValue(DryerImage, mediumWhole, 44);
    Seconds(1);
    std::vector<DataLogSample> w(1);
    ASSERT_EQ(ReadShortTermWindow(w, 0), 1);
    EXPECT_EQ(w[0].grainTemp, 104);
    EXPECT_EQ(w[0].incomingMoisture, 231);
    EXPECT_EQ(w[0].outgoingMoisture, 149);
    EXPECT_EQ(w[0].incomingTemp, 655);
    EXPECT_EQ(w[0].outgoingTemp, 902);
    EXPECT_EQ(w[0].meterRollOutput, 44);
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(w[0].hour, now.wHour);
    EXPECT_EQ(w[0].minute, now.wMinute);
    EXPECT_EQ(w[0].second, now.wSecond);
    EXPECT_EQ(w[0].month, now.wMonth);
    EXPECT_EQ(w[0].day, now.wDay);
}

TEST_F(ShortTermSampling, ARestartWritesOnTheNextSecondAndStartsTheIntervalAgain)
{
    CurrentDisplaySettings().sampleTimeMinutes = 15;
    SetBits(DryerImage, unloadingBit2, true);
    Seconds(100);
    EXPECT_EQ(ShortTermRecordCount(), 1);
    CurrentDisplaySettings().sampleTimeMinutes = 1;
    RestartShortTermInterval();
    Seconds(1);
    EXPECT_EQ(ShortTermRecordCount(), 2);
    Seconds(60);
    EXPECT_EQ(ShortTermRecordCount(), 2);
    Seconds(1);
    EXPECT_EQ(ShortTermRecordCount(), 3);
}

TEST_F(ShortTermSampling, AStoredSampleTimeOfZeroDoesNotSampleEverySecond)
{
    CurrentDisplaySettings().sampleTimeMinutes = 0;
    SetBits(DryerImage, unloadingBit2, true);
    Seconds(120);
    EXPECT_EQ(ShortTermRecordCount(), 1);
    Seconds(181);
    EXPECT_EQ(ShortTermRecordCount(), 1);
    Seconds(1);
    EXPECT_EQ(ShortTermRecordCount(), 2);  // as 5 minutes, the dialog's own choice
    EXPECT_EQ(SecondsBetweenLastTwo(), 301);
}

}  // namespace
