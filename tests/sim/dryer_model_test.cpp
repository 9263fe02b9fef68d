// The simulated dryer over hours of dryer time: values stay in the ranges the panel expects,
// and the sequences (burner start, loads, unload run-on, batch timers, cool-down) happen.
#include "sim/dryer_model.h"

#include <gtest/gtest.h>

#include <string>

using namespace sim;

namespace {

void ExpectInRange(const StatusImage& image, const std::string& where)
{
    const int heaters = HeaterCountFromCode(image[heaterCountCode.offset]);
    for (int k = 1; k <= heaters; ++k) {
        const int t = ReadSignedLe16(image, HeaterWordOffset(plenumTemp, k));
        EXPECT_GE(t, -35) << where << " plenum " << k;
        EXPECT_LE(t, 260) << where << " plenum " << k;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        const int g = ReadSignedLe16(image, grainTemp.offset + 2 * i);
        EXPECT_GE(g, 0) << where;
        EXPECT_LE(g, 250) << where;
    }
    for (ImageField f : {dryMoisture, wetMoisture}) {
        const int m = ReadBe16(image, f.offset);
        EXPECT_GE(m, 100) << where << " moisture at " << f.offset;
        EXPECT_LE(m, 300) << where << " moisture at " << f.offset;
    }
    EXPECT_LE(ReadBe16(image, drySensorTemp.offset), 2500) << where;
    EXPECT_LE(ReadBe16(image, bushelsPerHour.offset), 5000) << where;
    for (ImageField f :
         {dryTimerRemaining, coolTimerRemaining, unloadTimerRemaining, loadTimerRemaining,
          unloadRunOnRemaining, loHeatTimerRemaining, coolDownRemaining}) {
        EXPECT_LE(image[f.offset + 1], 59) << where << " seconds at " << f.offset;
    }
    EXPECT_EQ(image[dryerState.offset] & 0x20, 0x20) << where;
    EXPECT_LE(ReadLe16(image, centerAdjustElapsed.offset), 3600) << where;
    for (std::size_t i = 53; i <= 57; ++i) EXPECT_EQ(image[i], 0) << where;
}

}  // namespace

class ScenarioHours : public ::testing::TestWithParam<std::string_view> {};

TEST_P(ScenarioHours, ValuesStayInRangeOverSixHours)
{
    const auto config = FindScenario(GetParam());
    ASSERT_TRUE(config.has_value());
    DryerModel model(*config);
    for (int minute = 0; minute < 6 * 60; ++minute) {
        model.Advance(60'000);
        ExpectInRange(model.image(), std::string(GetParam()) + " minute " + std::to_string(minute));
        if (::testing::Test::HasFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllScenarios, ScenarioHours,
    [] {
        std::vector<std::string_view> names;
        for (const ScenarioInfo& s : ScenarioList()) names.push_back(s.name);
        return ::testing::ValuesIn(names);
    }(),
    [](const auto& test) {
        std::string name(test.param);
        for (char& c : name) {
            if (c == '-') c = '_';
        }
        return name;
    });

TEST(DryerModel, ScenariosAreConfiguredAsNamed)
{
    struct Case {
        const char* name;
        int heaterCode;
        int moduleCode;
        int dryingType;
    };
    const Case cases[] = {
        {"continuous-1fh", 0, 0, 0}, {"continuous-2fh", 1, 0, 0},  {"continuous-4fh", 3, 1, 0},
        {"continuous-6fh", 4, 2, 0}, {"batch-dual-heat", 1, 0, 1}, {"three-module", 2, 2, 0},
    };
    for (const Case& c : cases) {
        DryerModel model(*FindScenario(c.name));
        EXPECT_EQ(model.image()[heaterCountCode.offset], c.heaterCode) << c.name;
        EXPECT_EQ(model.image()[moduleCountCode.offset], c.moduleCode) << c.name;
        EXPECT_EQ(model.image()[dryingType.offset], c.dryingType) << c.name;
    }
    EXPECT_NE(DryerModel(*FindScenario("tower")).image()[dryerConfigBits.offset] & 0x20, 0);
    EXPECT_NE(DryerModel(*FindScenario("batch-dual-heat")).image()[dryerOptions.offset] & 0x02, 0);
    EXPECT_FALSE(FindScenario("no-such-dryer").has_value());
}

TEST(DryerModel, BurnerPurgesIgnitesAndHoldsThePlenumNearItsSetpoint)
{
    DryerModel model(*FindScenario("continuous-1fh"));
    bool sawPurge = false;
    bool sawIgnite = false;
    bool sawHigh = false;
    bool sawLow = false;
    for (int s = 0; s < 900; ++s) {
        model.Step();
        const std::uint8_t ignition = model.image()[HeaterByteOffset(ignitionState, 1)];
        const std::uint8_t state = model.image()[HeaterByteOffset(heaterState, 1)];
        sawPurge |= (ignition & 0x01) != 0;
        sawIgnite |= (ignition & 0x02) != 0 && sawPurge;
        if ((state & 0x02) != 0) {
            EXPECT_TRUE(sawIgnite);
            sawHigh |= (state & 0x04) != 0;
            sawLow |= (state & 0x04) == 0;
        }
    }
    EXPECT_TRUE(sawPurge && sawIgnite && sawHigh && sawLow);
    const int plenum = ReadSignedLe16(model.image(), HeaterWordOffset(plenumTemp, 1));
    EXPECT_NEAR(plenum, 180, 30);
}

TEST(DryerModel, FansStartOneAfterAnotherAndUnusedHeatersStayOff)
{
    DryerModel model(*FindScenario("continuous-4fh"));
    model.Step();
    EXPECT_NE(model.image()[HeaterByteOffset(heaterState, 1)] & 0x01, 0);
    EXPECT_EQ(model.image()[HeaterByteOffset(heaterState, 4)] & 0x01, 0);
    for (int s = 0; s < 30; ++s) model.Step();
    for (int k = 1; k <= 4; ++k) {
        EXPECT_NE(model.image()[HeaterByteOffset(heaterState, k)] & 0x01, 0) << k;
    }
    for (int k = 5; k <= 6; ++k) {
        EXPECT_EQ(model.image()[HeaterByteOffset(heaterState, k)], 0) << k;
        EXPECT_EQ(ReadLe16(model.image(), HeaterWordOffset(plenumTemp, k)), 0) << k;
    }
}

TEST(DryerModel, ContinuousDryerLoadsAndUnloadsAndCountsBushels)
{
    DryerModel model(*FindScenario("continuous-1fh"));
    bool sawLoad = false;
    bool sawCountdown = false;
    for (int s = 0; s < 600; ++s) {
        model.Step();
        const StatusImage& image = model.image();
        const bool loading = (image[dryerState.offset] & 0xA0) != 0xA0;
        EXPECT_EQ(loading, (image[loadStatusBits.offset] & 0x80) != 0);
        if (loading) {
            sawLoad = true;
            sawCountdown |= (image[loadCountdownBits.offset] & 0x01) != 0 &&
                            ReadTimeSeconds(image, loadTimerRemaining.offset) < 8 * 60;
        }
        EXPECT_NE(image[dryerState2.offset] & 0x01, 0);  // unloading all along
    }
    EXPECT_TRUE(sawLoad);
    EXPECT_TRUE(sawCountdown);
    EXPECT_GT(ReadBe16(model.image(), bushelsPerHour.offset), 0);
    EXPECT_GT(ReadLe32(model.image(), bushelCounter.offset), 3600u);
}

TEST(DryerModel, StopRunsTheUnloadOnAndTheFansDown)
{
    DryerModel model(*FindScenario("continuous-1fh"));
    for (int s = 0; s < 120; ++s) model.Step();
    model.Stop();
    model.Step();
    const StatusImage& image = model.image();
    EXPECT_EQ(image[runState.offset] & 0x40, 0);
    EXPECT_NE(image[runOnStatusBits.offset] & 0x01, 0);
    EXPECT_NE(image[dryerState2.offset] & 0x01, 0);
    EXPECT_EQ(image[HeaterByteOffset(heaterState, 1)] & 0x02, 0);  // burner off
    EXPECT_NE(image[HeaterByteOffset(heaterState, 1)] & 0x01, 0);  // fan cooling
    for (int s = 0; s < 130; ++s) model.Step();
    EXPECT_EQ(model.image()[runOnStatusBits.offset], 0);
    EXPECT_EQ(model.image()[dryerState2.offset], 0);
    EXPECT_EQ(model.image()[coolingStatusBits.offset], 0);
    EXPECT_EQ(model.image()[HeaterByteOffset(heaterState, 1)], 0);
}

TEST(DryerModel, BatchDryerCountsItsTimersDownPhaseByPhase)
{
    DryerConfig config = *FindScenario("batch-dual-heat");
    DryerModel model(config);
    // Short timers: dry 2:00, lo-heat 1:00, cool 1:00, unload 1:00.
    StatusImage& image = model.image();
    image[dryTimerSetting.offset] = 2;
    image[loHeatTimerSetting.offset] = 1;
    image[coolTimerSetting.offset] = 1;
    image[unloadTimerSetting.offset] = 1;
    bool dryCounted = false;
    bool loHeatCounted = false;
    bool coolCounted = false;
    bool unloaded = false;
    for (int s = 0; s < 20 * 60; ++s) {
        model.Step();
        dryCounted |= ReadTimeSeconds(image, dryTimerRemaining.offset) == 60;
        loHeatCounted |= ReadTimeSeconds(image, loHeatTimerRemaining.offset) == 30;
        coolCounted |= ReadTimeSeconds(image, coolTimerRemaining.offset) == 30;
        unloaded |= (image[dryerState.offset] & 0x40) != 0;
    }
    EXPECT_TRUE(dryCounted);
    EXPECT_TRUE(loHeatCounted);
    EXPECT_TRUE(coolCounted);
    EXPECT_TRUE(unloaded);
    EXPECT_GE(ReadBe16(image, batchCount.offset), 1);
}

TEST(DryerModel, OutOfGrainTimerShutsTheDryerDown)
{
    DryerModel model(*FindScenario("continuous-1fh"));
    model.image()[loadTimerSetting.offset] = 0;
    model.image()[loadTimerSetting.offset + 1] = 5;  // 5 s: shorter than any load
    for (int s = 0; s < 300 && model.running(); ++s) model.Step();
    EXPECT_FALSE(model.running());
    EXPECT_EQ(ActiveWarningCode(model.image()), 0x0E08);
}

TEST(DryerModel, AdvanceStepsWholeSecondsAndKeepsTheRest)
{
    DryerModel model(*FindScenario("stopped"));
    model.Advance(1500);
    EXPECT_EQ(model.secondsRun(), 1u);
    model.Advance(500);
    EXPECT_EQ(model.secondsRun(), 2u);
    model.Advance(-1000);
    EXPECT_EQ(model.secondsRun(), 2u);
}
