// The choices of the home panels: which state line, which burner line, which layout, which
// status lines and which fan picture a dryer image gives.
#include <gtest/gtest.h>

#include <string>

#include "dryer/link/dryer_image.h"
#include "dryer/screens/home_panels.h"
#include "resources/orbitdryer/bitmap_ids.h"
#include "resources/orbitdryer/panel_colours.h"
#include "tests/dryer/screens/scene_image_support.h"

using namespace home_panels;
using screens_test::Degrees;

namespace {

using Image = screens_test::SceneImage;

constexpr unsigned kBlinkOn = 1;
constexpr unsigned kBlinkOff = 0;
const std::wstring kSixteenBlanks(16, L' ');

// ---- state line ----

TEST(StateLine, AirSwitchDisabledWinsOverEverythingAndFlashes)
{
    Image image;
    image.On(airswitchDisabledBit)
        .Set(dryerState, 0)
        .On(dryerStartedBit)
        .Set(coolDownStateBits, kCoolingDown);
    const StateLine on = ChooseStateLine(image.bytes, kBlinkOn);
    EXPECT_EQ(on.rule, 1);
    EXPECT_EQ(on.text, L"** AIRSWITCH DISABLED **");
    EXPECT_EQ(on.colour, kRed);
    const StateLine off = ChooseStateLine(image.bytes, kBlinkOff);
    EXPECT_EQ(off.text, kSixteenBlanks);
}

TEST(StateLine, LearningPeriodIsSteadyAboveFiveMinutesAndFlashesRedBelow)
{
    Image image;
    image.Set(mcAutoModeMinutes, 6)
        .On(learningPeriodBit)
        .On(learningConditionBit)
        .Set(moistureSchemeBits, kSchemeVariable);
    StateLine line = ChooseStateLine(image.bytes, kBlinkOff);
    EXPECT_EQ(line.rule, 2);
    EXPECT_EQ(line.text, L"M/C AUTO MODE: 6 Minutes");
    EXPECT_EQ(line.colour, kLightGreen);
    EXPECT_EQ(line.fontHeight, 30);

    image.Set(mcAutoModeMinutes, 5);
    line = ChooseStateLine(image.bytes, kBlinkOn);
    EXPECT_EQ(line.text, L"M/C AUTO MODE: 5 Minutes");
    EXPECT_EQ(line.colour, kDarkRed);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOff).text, L"");
}

TEST(StateLine, LearningPeriodNeedsSchemeThree)
{
    Image image;
    image.Set(mcAutoModeMinutes, 6)
        .On(learningPeriodBit)
        .On(learningConditionBit)
        .Set(moistureSchemeBits, kSchemeFiveSpeed);
    EXPECT_NE(ChooseStateLine(image.bytes, kBlinkOn).rule, 2);
}

TEST(StateLine, TemperatureHoldShowsTheShortfall)
{
    Image image;
    image.On(temperatureHoldBit)
        .On(dryerStartedBit)
        .Set(grainSetpointMain, 150)
        .Set(GrainTempEntry(0), 120);
    StateLine line = ChooseStateLine(image.bytes, kBlinkOn);
    EXPECT_EQ(line.rule, 3);
    EXPECT_EQ(line.text, L"TEMP HOLD... [- " + Degrees(30, L'F') + L"]");
    EXPECT_EQ(line.colour, kGreen);

    // Selector 1 and 2 use their own sensors against the first setpoint.
    image.Set(grainSensorSelect, 1).Set(GrainTempEntry(1), 140);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text,
              L"TEMP HOLD... [- " + Degrees(10, L'F') + L"]");
    image.Set(grainSensorSelect, 2).Set(GrainTempEntry(2), 100);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text,
              L"TEMP HOLD... [- " + Degrees(50, L'F') + L"]");
    image.Set(grainSensorSelect, 7);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text, L"");
}

TEST(StateLine, TemperatureHoldWithDualHeatUsesUpperOrLowerSetpoint)
{
    Image image;
    image.On(temperatureHoldBit)
        .On(dryerStartedBit)
        .On(dualHeatBit)
        .Set(grainSetpointUpper, 200)
        .Set(grainSetpointLower, 160)
        .Set(GrainTempEntry(0), 150);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text,
              L"TEMP HOLD... [- " + Degrees(10, L'F') + L"]");
    image.On(loHeatPlenumBit);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text,
              L"TEMP HOLD... [- " + Degrees(50, L'F') + L"]");
}

TEST(StateLine, TemperatureHoldInCelsiusConvertsTheShortfallAsATemperature)
{
    Image image;
    image.On(temperatureHoldBit)
        .On(dryerStartedBit)
        .Set(grainSetpointMain, 150)
        .Set(GrainTempEntry(0), 100)
        .Celsius();
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text,
              L"TEMP HOLD... [- " + Degrees(10, L'C') + L"]");
}

struct LoadCase {
    int left;     // seconds
    int setting;  // seconds
    COLORREF colour;
};

class StateLineLoading : public ::testing::TestWithParam<LoadCase> {};

TEST_P(StateLineLoading, ColourFollowsTheShareOfTimeLeft)
{
    const LoadCase c = GetParam();
    Image image;
    image.Off(otherNotLoadingBit).Set(loadTimerRemaining, c.left).Set(loadTimerSetting, c.setting);
    const StateLine line = ChooseStateLine(image.bytes, kBlinkOn);
    EXPECT_EQ(line.rule, 4);
    EXPECT_EQ(line.text, L"LOADING...");
    EXPECT_EQ(line.colour, c.colour);
}

INSTANTIATE_TEST_SUITE_P(Shares, StateLineLoading,
                         ::testing::Values(LoadCase{40, 60, kGreen}, LoadCase{30, 60, kYellow},
                                           LoadCase{16, 60, kYellow}, LoadCase{15, 60, kRed},
                                           LoadCase{0, 60, kRed}, LoadCase{5, 0, kGreen},
                                           LoadCase{0, 0, kRed}));

TEST(StateLine, LoadCountDownShowsElapsedTime)
{
    Image image;
    image.Off(notFillingBit)
        .Time(loadTimerRemaining, 0, 40)
        .Time(loadTimerSetting, 1, 0)
        .On(loadCountdownShownBit);
    const StateLine line = ChooseStateLine(image.bytes, kBlinkOn);
    EXPECT_EQ(line.text, L"LOADING...  0:20");
    EXPECT_EQ(line.colour, kGreen);
}

TEST(StateLine, CenterAdjustFlashesInTheLastThreeMinutes)
{
    Image image;
    image.Set(centerAdjustElapsed, 3500)
        .On(dryerStartedBit)
        .On(centerAdjustBit)
        .Set(moistureSchemeBits, kSchemeFiveSpeed);
    StateLine line = ChooseStateLine(image.bytes, kBlinkOn);
    EXPECT_EQ(line.rule, 5);
    EXPECT_EQ(line.text, L"CENTER ADJ... [01:40]");
    EXPECT_EQ(line.colour, kRed);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOff).text, kSixteenBlanks);

    image.Set(centerAdjustElapsed, 3420);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).rule, 7);  // 180 s is not below 180
}

TEST(StateLine, CenterAdjustPastTheHourReadsZero)
{
    Image image;
    image.Set(centerAdjustElapsed, 3700)
        .On(dryerStartedBit)
        .On(centerAdjustBit)
        .Set(moistureSchemeBits, kSchemeTempFiveSpeed);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text, L"CENTER ADJ... [00:00]");
}

TEST(StateLine, UnloadingWinsOverDryerStarted)
{
    Image image;
    image.On(dryerStartedBit).On(unloadingBit2);
    StateLine line = ChooseStateLine(image.bytes, kBlinkOn);
    EXPECT_EQ(line.rule, 6);
    EXPECT_EQ(line.text, L"UNLOADING...");
    EXPECT_EQ(line.colour, kBlue);
    image.Off(unloadingBit2)
        .On(unloadingBit)
        .On(runOnCountdownShownBit)
        .Time(unloadRunOnRemaining, 2, 5);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text, L"UNLOADING...  2:05");
}

TEST(StateLine, StartedStoppedHoldAndCoolDown)
{
    Image image;
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text, L"DRYER STOPPED");
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).colour, kRed);
    image.Set(coolDownStateBits, kCoolingDown);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text, L"DRYER COOLING DOWN");
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).colour, kBlue);
    image.On(dryerStartedBit);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text, L"DRYER STARTED");
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).colour, kGreen);
    image.On(unloadHoldBit).Set(dryingType, kBatchDrying);
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).text, L"UNLOAD HOLD");
    EXPECT_EQ(ChooseStateLine(image.bytes, kBlinkOn).colour, kRed);
}

TEST(StateLine, RulesKeepTheirOrder)
{
    // Each step adds the condition of a higher rule; the line follows the highest.
    Image image;
    image.Set(coolDownStateBits, kCoolingDown);
    EXPECT_EQ(ChooseStateLine(image.bytes, 1).rule, 8);
    image.On(dryerStartedBit);
    EXPECT_EQ(ChooseStateLine(image.bytes, 1).rule, 7);
    image.On(unloadingBit2);
    EXPECT_EQ(ChooseStateLine(image.bytes, 1).rule, 6);
    image.Set(centerAdjustElapsed, 3500)
        .On(centerAdjustBit)
        .Set(moistureSchemeBits, kSchemeFiveSpeed);
    EXPECT_EQ(ChooseStateLine(image.bytes, 1).rule, 5);
    image.Off(notFillingBit);
    EXPECT_EQ(ChooseStateLine(image.bytes, 1).rule, 4);
    image.On(temperatureHoldBit);
    EXPECT_EQ(ChooseStateLine(image.bytes, 1).rule, 3);
    image.Set(mcAutoModeMinutes, 9)
        .On(learningPeriodBit)
        .On(learningConditionBit)
        .Set(moistureSchemeBits, kSchemeVariable);
    EXPECT_EQ(ChooseStateLine(image.bytes, 1).rule, 2);
    image.On(airswitchDisabledBit);
    EXPECT_EQ(ChooseStateLine(image.bytes, 1).rule, 1);
}

// ---- plenum panel ----

TEST(PlenumLayout, CountCodeChoosesTheLayout)
{
    const PlenumLayout expected[] = {PlenumLayout::One,  PlenumLayout::Two, PlenumLayout::Three,
                                     PlenumLayout::Four, PlenumLayout::Six, PlenumLayout::None};
    for (int code = 0; code <= 5; ++code) {
        Image image;
        image.Set(heaterCountCode, code);
        EXPECT_EQ(ChoosePlenumLayout(image.bytes), expected[code]) << code;
    }
}

TEST(PlenumLayout, TowerBitGivesOnePlenumWhateverTheCount)
{
    Image image;
    image.Set(heaterCountCode, 4).On(towerBit);
    EXPECT_EQ(ChoosePlenumLayout(image.bytes), PlenumLayout::One);
}

struct ThresholdCase {
    int temperature;
    const wchar_t* line;
};

class FourPlenumThresholds : public ::testing::TestWithParam<ThresholdCase> {};

TEST_P(FourPlenumThresholds, TemperatureDecidesTheSensorFault)
{
    const ThresholdCase c = GetParam();
    Image image;
    image.Set(heaterCountCode, 3).Set(ForHeater(plenumTemp, 3), c.temperature);
    const PanelText line = BurnerLine(image.bytes, 3, PlenumLayout::Four);
    EXPECT_EQ(line.text, c.line);
}

INSTANTIATE_TEST_SUITE_P(Limits, FourPlenumThresholds,
                         ::testing::Values(ThresholdCase{261, L"Plenum 3 Sensor Shorted"},
                                           ThresholdCase{260, L"BURNER OFF"},
                                           ThresholdCase{-35, L"BURNER OFF"},
                                           ThresholdCase{-36, L"Plenum 3 Sensor Open"}));

TEST(PlenumBurnerLine, SmallLayoutsTestTheBoardFlags)
{
    Image image;
    image.Set(heaterCountCode, 1)
        .On(ForHeater(sensorShortedBit, 1))
        .Set(ForHeater(plenumTemp, 1), 150);
    PanelText line = BurnerLine(image.bytes, 1, PlenumLayout::Two);
    EXPECT_EQ(line.text, L"SENSOR SHORTED");
    EXPECT_EQ(line.colour, kOrange);
    image.Off(ForHeater(sensorShortedBit, 1)).On(ForHeater(sensorOpenBit, 1));
    EXPECT_EQ(BurnerLine(image.bytes, 1, PlenumLayout::Two).text, L"SENSOR OPEN");
}

TEST(PlenumBurnerLine, OneHeaterReportsAReadingOutOfRange)
{
    Image image;
    image.Set(ForHeater(plenumTemp, 1), -36);
    EXPECT_EQ(BurnerLine(image.bytes, 1, PlenumLayout::One).text, L"Plenum 1 Sensor Open");
    image.Set(ForHeater(plenumTemp, 1), 261);
    EXPECT_EQ(BurnerLine(image.bytes, 1, PlenumLayout::One).text, L"Plenum 1 Sensor Shorted");
    image.Set(ForHeater(plenumTemp, 1), 260);
    EXPECT_EQ(BurnerLine(image.bytes, 1, PlenumLayout::One).text, L"BURNER OFF");
}

TEST(PlenumBurnerLine, PurgingWinsOverAFaultySensor)
{
    Image image;
    image.Set(heaterCountCode, 3)
        .Set(ForHeater(plenumTemp, 2), 300)
        .On(ForHeater(purgingBit, 2))
        .On(ForHeater(sensorShortedBit, 2));
    PanelText line = BurnerLine(image.bytes, 2, PlenumLayout::Four);
    EXPECT_EQ(line.text, L"Purging...");
    EXPECT_EQ(line.colour, kGreen);
    image.Off(ForHeater(purgingBit, 2)).On(ForHeater(ignitingBit, 2));
    line = BurnerLine(image.bytes, 2, PlenumLayout::Four);
    EXPECT_EQ(line.text, L"Igniting...");
    EXPECT_EQ(line.colour, kRed);
    EXPECT_EQ(BurnerLine(image.bytes, 2, PlenumLayout::Two).text, L"Igniting...");
}

TEST(PlenumBurnerLine, OnePlenumLayoutSaysBurnerIs)
{
    Image image;
    image.On(ForHeater(purgingBit, 1));
    EXPECT_EQ(BurnerLine(image.bytes, 1, PlenumLayout::One).text, L"Burner is\n  Purging...");
    image.Off(ForHeater(purgingBit, 1)).On(ForHeater(ignitingBit, 1));
    EXPECT_EQ(BurnerLine(image.bytes, 1, PlenumLayout::One).text, L"Burner is\n  Igniting...");
}

TEST(PlenumBurnerLine, BurnerStates)
{
    Image image;
    image.On(ForHeater(burnerOnBit, 1));
    PanelText line = BurnerLine(image.bytes, 1, PlenumLayout::Two);
    EXPECT_EQ(line.text, L"LOW FIRE");
    EXPECT_EQ(line.colour, kBlue);
    image.On(ForHeater(highFireBit, 1));
    line = BurnerLine(image.bytes, 1, PlenumLayout::Two);
    EXPECT_EQ(line.text, L"HIGH FIRE");
    EXPECT_EQ(line.colour, kRed);
    image.On(towerBit).On(onOffBurnerBit);
    EXPECT_EQ(BurnerLine(image.bytes, 1, PlenumLayout::One).text, L"BURNER ON");
    image.Set(ForHeater(heaterState, 1), 0);
    line = BurnerLine(image.bytes, 1, PlenumLayout::One);
    EXPECT_EQ(line.text, L"BURNER OFF");
    EXPECT_EQ(line.colour, kGreen);
}

// ---- dryer picture ----

TEST(DryerPictureChoice, ByModulesAndConfiguration)
{
    Image image;
    EXPECT_EQ(ChooseDryerPicture(image.bytes), DryerPicture::OneModule);
    image.On(towerBit);
    EXPECT_EQ(ChooseDryerPicture(image.bytes), DryerPicture::Tower);
    image.On(oneModuleBit);
    EXPECT_EQ(ChooseDryerPicture(image.bytes), DryerPicture::OneModule);
    image.Set(moduleCountCode, 1);
    EXPECT_EQ(ChooseDryerPicture(image.bytes), DryerPicture::TwoModule);
    image.Set(moduleCountCode, 2);
    EXPECT_EQ(ChooseDryerPicture(image.bytes), DryerPicture::ThreeModule);
    EXPECT_EQ(DryerBodyBitmap(DryerPicture::OneModule), kBitmapOneModuleDryer);
    EXPECT_EQ(DryerBodyBitmap(DryerPicture::TwoModule), kBitmapTwoModuleDryer);
    EXPECT_EQ(DryerBodyBitmap(DryerPicture::ThreeModule), kBitmapThreeModuleDryer);
    EXPECT_EQ(DryerBodyBitmap(DryerPicture::Tower), kBitmapTowerDryer);
}

// moistureControlMode flags beside the scheme
constexpr int kManual = 0;
constexpr int kAuto = moistureAutoBit.mask;
constexpr int kAutoOnOff = moistureAutoBit.mask | twoSpeedOffBit.mask;

struct SchemeCase {
    int scheme;        // moistureSchemeBits
    int flags;         // kManual, kAuto, kAutoOnOff
    int speedSetting;  // moistureModeSetting
    const wchar_t* type;
    const wchar_t* control;
    COLORREF controlColour;
    bool dischargeLine;
};

class OneModuleStatusLines : public ::testing::TestWithParam<SchemeCase> {};

TEST_P(OneModuleStatusLines, FollowTheMoistureControlScheme)
{
    const SchemeCase c = GetParam();
    Image image;
    image.Set(moistureControlMode, c.flags)
        .Set(moistureSchemeBits, c.scheme)
        .Set(moistureModeSetting, c.speedSetting)
        .Set(dryMoisture, 145);
    const auto lines = DryerStatusLines(image.bytes, DryerPicture::OneModule);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0].text, c.type);
    EXPECT_EQ(lines[0].colour, kGreen);
    EXPECT_EQ(lines[1].text, c.control);
    EXPECT_EQ(lines[1].colour, c.controlColour);
    EXPECT_EQ(lines[7].text, c.dischargeLine ? L"14.5%" : L"");
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, OneModuleStatusLines,
    ::testing::Values(
        SchemeCase{kSchemeTemp, kManual, 0, L"TEMP", L"MANUAL", kRed, true},
        SchemeCase{kSchemeTemp, kAuto, 0, L"TEMP", L"AUTO 2SP", kGreen, true},
        SchemeCase{kSchemeTemp, kAutoOnOff, 0, L"TEMP", L"ON/OFF", kGreen, true},
        SchemeCase{kSchemeThreeSpeed, kManual, 5, L"3 SPEED", L"AUTO", kGreen, false},
        SchemeCase{kSchemeThreeSpeed, kManual, 4, L"3 SPEED", L"MANUAL", kRed, false},
        SchemeCase{kSchemeVariable, kManual, 3, L"VARIABLE", L"AUTO", kGreen, false},
        SchemeCase{kSchemeVariable, kManual, 2, L"VARIABLE", L"MANUAL", kRed, false},
        SchemeCase{kSchemeFiveSpeed, kAuto, 0, L"5 SPEED", L"AUTO", kGreen, false},
        SchemeCase{kSchemeFiveSpeed, kManual, 0, L"5 SPEED", L"MANUAL", kRed, false},
        SchemeCase{kSchemeTempFiveSpeed, kAuto, 0, L"TEMP-5SP", L"AUTO", kGreen, true},
        SchemeCase{kSchemeAveraging, kManual, 3, L"MC: NONE", L"AUTO", kGreen, false}));

TEST(OneModuleStatusLinesMore, BatchLines)
{
    Image image;
    image.Set(dryingType, kBatchDrying)
        .On(criterionTimeBit)
        .On(criterionTempBit)
        .Set(batchCount, 12);
    const auto lines = DryerStatusLines(image.bytes, DryerPicture::OneModule);
    EXPECT_EQ(lines[0].text, L"BATCH");
    EXPECT_EQ(lines[1].text, L"TIME:TEMP");
    EXPECT_EQ(lines[3].text, L"BAT 12");
    image.Off(criterionTimeBit).Off(criterionTempBit).On(criterionMoistureBit);
    EXPECT_EQ(DryerStatusLines(image.bytes, DryerPicture::OneModule)[1].text, L"MOIST");
    image.Set(dryingType, 2);  // neither continuous flow nor batch
    EXPECT_EQ(DryerStatusLines(image.bytes, DryerPicture::OneModule)[0].text, L"TYPE:NONE");
}

TEST(OneModuleStatusLinesMore, SpeedMeterRollThroughputTotalsAndSensor)
{
    Image image;
    image.Set(moistureSchemeBits, kSchemeFiveSpeed)
        .On(moistureAutoBit)
        .Set(mediumWhole, 7)
        .Set(speedStepBits, 3)
        .Set(meterRollSpeed, 123)
        .Set(bushelsPerHour, 1000);
    image.Set(bushelCounter, 3600 * 250);
    image.Set(drySensorTemp, 1234).On(samplerInstalledBit).On(samplerSamplingBit);
    auto lines = DryerStatusLines(image.bytes, DryerPicture::OneModule);
    EXPECT_EQ(lines[2].text, L"M-HI 7");
    EXPECT_EQ(lines[2].colour, kRed);
    EXPECT_EQ(lines[3].text, L"RPM 12.3");
    EXPECT_EQ(lines[4].text, L"BPH 1000");
    EXPECT_EQ(lines[5].text, L"TB 250");
    EXPECT_EQ(lines[6].text, Degrees(123, L'F'));
    EXPECT_EQ(lines[6].colour, kYellow);
    EXPECT_EQ(lines[8].text, L"SAMPLING");

    image.Celsius();
    lines = DryerStatusLines(image.bytes, DryerPicture::OneModule);
    EXPECT_EQ(lines[4].text, L"MTH 25");
    EXPECT_EQ(lines[5].text, L"MT 6");
    EXPECT_EQ(lines[6].text, Degrees(50, L'C'));  // 123.4 F is 50.7 C

    image.On(meterRollsDisabledBit);
    EXPECT_EQ(DryerStatusLines(image.bytes, DryerPicture::OneModule)[3].text, L"DISABLED");
    EXPECT_EQ(DryerStatusLines(image.bytes, DryerPicture::Tower)[2].text, L"DISABLED");
}

TEST(OneModuleStatusLinesMore, SpeedLineOfTheOtherSchemes)
{
    Image image;
    image.Set(moistureSchemeBits, kSchemeVariable)
        .Set(mediumWhole, 4)
        .Set(mediumTenths, 5)
        .Set(meteringMode, 1);
    EXPECT_EQ(DryerStatusLines(image.bytes, DryerPicture::OneModule)[2].text, L"MED 4.5");
    image.Set(meteringMode, 2);
    EXPECT_EQ(DryerStatusLines(image.bytes, DryerPicture::OneModule)[2].text, L"HI 4");
    image.Set(meteringMode, 0);
    EXPECT_EQ(DryerStatusLines(image.bytes, DryerPicture::OneModule)[2].text, L"LOW 4");
    image.On(twoSpeedOffBit);
    EXPECT_EQ(DryerStatusLines(image.bytes, DryerPicture::OneModule)[2].text, L"OFF");
    image.Off(twoSpeedOffBit)
        .Set(moistureSchemeBits, kSchemeThreeSpeed)
        .Set(moistureModeSetting, 6);
    EXPECT_EQ(DryerStatusLines(image.bytes, DryerPicture::OneModule)[2].text, L"LO 4");
}

TEST(DryerReadout, TemperatureOrMoistureMode)
{
    Image image;
    image.Set(moistureSchemeBits, kSchemeTemp);
    EXPECT_TRUE(TemperatureReadout(image.bytes));
    image.Set(moistureModeFlagBits, 1);
    EXPECT_FALSE(TemperatureReadout(image.bytes));
    image.Set(moistureModeFlagBits, 0).Set(moistureSchemeBits, kSchemeTempFiveSpeed);
    EXPECT_TRUE(TemperatureReadout(image.bytes));
    image.Set(moistureSchemeBits, kSchemeVariable);
    EXPECT_FALSE(TemperatureReadout(image.bytes));
    image.Set(dryingType, kBatchDrying).On(criterionTempBit);
    EXPECT_TRUE(TemperatureReadout(image.bytes));
}

TEST(FanPictures, SetFollowsHeatAndFanFlags)
{
    Image image;
    EXPECT_EQ(FanBitmap(image.bytes, 1, 0, true), kBitmapFanIdle);
    image.On(ForHeater(fanOnBit, 1));
    EXPECT_EQ(FanBitmap(image.bytes, 1, 1, true), kBitmapFanRunning + 1);
    EXPECT_EQ(FanBitmap(image.bytes, 1, 1, false), kBitmapFansRunning + 1);
    image.On(ForHeater(heatOnBit, 1));  // low fire
    EXPECT_EQ(FanBitmap(image.bytes, 1, 2, true), kBitmapFanLowFire + 2);
    EXPECT_EQ(FanBitmap(image.bytes, 1, 2, false), kBitmapFansLowFire + 2);
    image.On(ForHeater(fanRunningBit, 1)).On(ForHeater(highFireBit, 1));
    EXPECT_EQ(FanBitmap(image.bytes, 1, 0, true), kBitmapFanHighFire);
    EXPECT_EQ(FanBitmap(image.bytes, 1, 2, false), kBitmapFansHighFire + 2);
    // Fan/heater 6 reads the first entry of each array.
    image.On(ForHeater(fanOnBit, 6));
    EXPECT_EQ(FanBitmap(image.bytes, 6, 0, false), kBitmapFansRunning);
}

TEST(Units, CelsiusTruncatesTowardZero)
{
    EXPECT_EQ(DisplayTemperature(212, true), 100);
    EXPECT_EQ(DisplayTemperature(0, true), -17);
    EXPECT_EQ(DisplayTemperature(212, false), 212);
}

}  // namespace
