// The simulated dryer over hours of dryer time: values stay in the ranges the panel expects,
// and the sequences (burner start, loads, unload run-on, batch timers, cool-down) happen.
#include "sim/dryer_model.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace sim;

namespace {

void ExpectInRange(const StatusImage& image, const std::string& where)
{
    const int heaters = HeaterCountFromCode(image[heaterCountCode.offset]);
    for (int k = 1; k <= heaters; ++k) {
        const int t = Value(image, ForHeater(plenumTemp, k));
        EXPECT_GE(t, -35) << where << " plenum " << k;
        EXPECT_LE(t, 260) << where << " plenum " << k;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        const int g = Value(image, grainTemp.Element(i));
        EXPECT_GE(g, 0) << where;
        EXPECT_LE(g, 250) << where;
    }
    for (ImageField f : {dryMoisture, wetMoisture}) {
        const int m = Value(image, f);
        EXPECT_GE(m, 100) << where << " moisture at " << f.offset;
        EXPECT_LE(m, 300) << where << " moisture at " << f.offset;
    }
    EXPECT_LE(Value(image, drySensorTemp), 2500) << where;
    EXPECT_LE(Value(image, bushelsPerHour), 5000) << where;
    for (ImageField f :
         {dryTimerRemaining, coolTimerRemaining, unloadTimerRemaining, loadTimerRemaining,
          unloadRunOnRemaining, loHeatTimerRemaining, coolDownRemaining}) {
        EXPECT_LE(ReadTime(image, f).seconds, 59) << where << " seconds at " << f.offset;
    }
    // Of the two loading bits the simulator only ever clears the fill bit.
    EXPECT_TRUE(IsSet(image, otherNotLoadingBit)) << where;
    EXPECT_LE(Value(image, centerAdjustElapsed), 3600) << where;
    for (std::size_t i = clockSetting.offset; i < clockSetting.end(); ++i) {
        EXPECT_EQ(image[i], 0) << where;  // the clock is never answered
    }
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
    EXPECT_TRUE(IsSet(DryerModel(*FindScenario("tower")).image(), towerBit));
    EXPECT_TRUE(IsSet(DryerModel(*FindScenario("batch-dual-heat")).image(), dualHeatBit));
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
        const auto& image = model.image();
        sawPurge |= IsSet(image, ForHeater(purgingBit, 1));
        sawIgnite |= IsSet(image, ForHeater(ignitingBit, 1)) && sawPurge;
        if (IsSet(image, ForHeater(burnerOnBit, 1))) {
            EXPECT_TRUE(sawIgnite);
            sawHigh |= IsSet(image, ForHeater(highFireBit, 1));
            sawLow |= !IsSet(image, ForHeater(highFireBit, 1));
        }
    }
    EXPECT_TRUE(sawPurge && sawIgnite && sawHigh && sawLow);
    const int plenum = Value(model.image(), ForHeater(plenumTemp, 1));
    EXPECT_NEAR(plenum, 180, 30);
}

TEST(DryerModel, FansStartOneAfterAnotherAndUnusedHeatersStayOff)
{
    DryerModel model(*FindScenario("continuous-4fh"));
    model.Step();
    EXPECT_TRUE(IsSet(model.image(), ForHeater(fanRunningBit, 1)));
    EXPECT_FALSE(IsSet(model.image(), ForHeater(fanRunningBit, 4)));
    for (int s = 0; s < 30; ++s) model.Step();
    for (int k = 1; k <= 4; ++k) {
        EXPECT_TRUE(IsSet(model.image(), ForHeater(fanRunningBit, k))) << k;
    }
    for (int k = 5; k <= 6; ++k) {
        EXPECT_EQ(Value(model.image(), ForHeater(heaterState, k)), 0) << k;
        EXPECT_EQ(Value(model.image(), ForHeater(plenumTemp, k)), 0) << k;
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
        const bool loading = !AllSet(image, notLoadingBits);
        EXPECT_EQ(loading, IsSet(image, loadInProgressBit));
        if (loading) {
            sawLoad = true;
            sawCountdown |=
                IsSet(image, loadCountdownShownBit) && Value(image, loadTimerRemaining) < 8 * 60;
        }
        EXPECT_TRUE(IsSet(image, unloadingBit2));  // unloading all along
    }
    EXPECT_TRUE(sawLoad);
    EXPECT_TRUE(sawCountdown);
    EXPECT_GT(Value(model.image(), bushelsPerHour), 0);
    EXPECT_GT(ReadCounter(model.image(), bushelCounter), 3600u);
}

TEST(DryerModel, StopRunsTheUnloadOnAndTheFansDown)
{
    DryerModel model(*FindScenario("continuous-1fh"));
    for (int s = 0; s < 120; ++s) model.Step();
    model.Stop();
    model.Step();
    const StatusImage& image = model.image();
    EXPECT_FALSE(IsSet(image, dryerStartedBit));
    EXPECT_TRUE(IsSet(image, runOnCountdownShownBit));
    EXPECT_TRUE(IsSet(image, unloadingBit2));
    EXPECT_FALSE(IsSet(image, ForHeater(burnerOnBit, 1)));
    EXPECT_TRUE(IsSet(image, ForHeater(fanRunningBit, 1)));  // the fan cools down
    for (int s = 0; s < 130; ++s) model.Step();
    EXPECT_EQ(model.image()[runOnStatusBits.offset], 0);
    EXPECT_EQ(model.image()[dryerState2.offset], 0);
    EXPECT_EQ(model.image()[coolingStatusBits.offset], 0);
    EXPECT_EQ(Value(model.image(), ForHeater(heaterState, 1)), 0);
}

TEST(DryerModel, BatchDryerCountsItsTimersDownPhaseByPhase)
{
    DryerConfig config = *FindScenario("batch-dual-heat");
    DryerModel model(config);
    // Short timers: dry 2:00, lo-heat 1:00, cool 1:00, unload 1:00.
    StatusImage& image = model.image();
    SetValue(image, dryTimerSetting, 2 * 60);
    SetValue(image, loHeatTimerSetting, 60);
    SetValue(image, coolTimerSetting, 60);
    SetValue(image, unloadTimerSetting, 60);
    bool dryCounted = false;
    bool loHeatCounted = false;
    bool coolCounted = false;
    bool unloaded = false;
    for (int s = 0; s < 20 * 60; ++s) {
        model.Step();
        dryCounted |= Value(image, dryTimerRemaining) == 60;
        loHeatCounted |= Value(image, loHeatTimerRemaining) == 30;
        coolCounted |= Value(image, coolTimerRemaining) == 30;
        unloaded |= IsSet(image, unloadingBit);
    }
    EXPECT_TRUE(dryCounted);
    EXPECT_TRUE(loHeatCounted);
    EXPECT_TRUE(coolCounted);
    EXPECT_TRUE(unloaded);
    EXPECT_GE(Value(image, batchCount), 1);
}

TEST(DryerModel, OutOfGrainTimerShutsTheDryerDown)
{
    DryerModel model(*FindScenario("continuous-1fh"));
    SetValue(model.image(), loadTimerSetting, 5);  // 5 s: shorter than any load
    for (int s = 0; s < 300 && model.running(); ++s) model.Step();
    EXPECT_FALSE(model.running());
    // The Main I/O's out-of-grain (load) timer warning.
    EXPECT_EQ(ActiveWarningCode(model.image()),
              MakeWarningCode(static_cast<std::uint8_t>(NodeId::mainIo), 8));
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

// What the panel's data logs record while grain unloads must move: moisture in and out, the
// sensor temperatures and the metering roll output.
TEST(DryerModel, UnloadingMovesWhatTheDataLogsRecord)
{
    DryerModel model(*FindScenario("continuous-1fh"));
    std::set<int> wetIn, dryOut, tempIn, tempOut, output;
    for (int minute = 0; minute < 60; ++minute) {
        model.Advance(60'000);
        const StatusImage& image = model.image();
        ASSERT_TRUE(IsSet(image, unloadingBit2));
        wetIn.insert(Value(image, wetMoisture));
        dryOut.insert(Value(image, dryMoisture));
        tempIn.insert(Value(image, wetSensorTemp));
        tempOut.insert(Value(image, drySensorTemp));
        const int percent = Value(image, mediumWhole);
        EXPECT_GE(percent, 8);  // the rolls' slowest automatic speed is 20 of 250
        EXPECT_LE(percent, 100);
        EXPECT_LE(Value(image, mediumTenths), 9);
        output.insert(percent * 10 + Value(image, mediumTenths));
    }
    EXPECT_GT(wetIn.size(), 3u);
    EXPECT_GT(dryOut.size(), 3u);
    EXPECT_GT(tempIn.size(), 3u);
    EXPECT_GT(tempOut.size(), 3u);
    EXPECT_GT(output.size(), 3u);
}

TEST(DryerModel, TheRollOutputFollowsTheRollsAndIsZeroWhenTheyStop)
{
    DryerModel model(*FindScenario("continuous-1fh"));
    model.Step();
    const int speed = Value(model.image(), meterRollSpeed);  // tenths of rpm, rounded
    const int tenthsOfPercent =
        Value(model.image(), mediumWhole) * 10 + Value(model.image(), mediumTenths);
    EXPECT_NEAR(tenthsOfPercent, speed * 1000 / 250, 2);
    model.Stop();
    for (int s = 0; s < 5; ++s) model.Step();
    EXPECT_EQ(Value(model.image(), mediumWhole), 0);
    EXPECT_EQ(Value(model.image(), mediumTenths), 0);
}
