// The dryer image: field names, byte orders, the per-heater index rule, the Celsius display
// rule and the board numbering.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"

namespace {

// Every named field in offset order; together with the offsets that are never decoded they
// must cover the 300 bytes exactly once.
const ImageField kAllFields[] = {
    heaterCountCode,
    moduleCountCode,
    fuelCode,
    loadSystemCode,
    dryerLengthCode,
    dryingType,
    dryTimerRemaining,
    dryTimerSetting,
    batchStatusBits13,
    coolTimerRemaining,
    coolTimerSetting,
    batchStatusByte18,
    unloadTimerRemaining,
    unloadTimerSetting,
    batchStatusByte23,
    loadTimerRemaining,
    loadTimerSetting,
    loadCountdownBits,
    timePair29,
    loadDelaySetting,
    unloadRunOnRemaining,
    unloadRunOnSetting,
    runOnStatusBits,
    timePair44,
    fanStartDelaySetting,
    optionByte49,
    plenumManagerByte50,
    statusByte51,
    mcAutoModeMinutes,
    loadStatusBits,
    plenumSetpoint,
    plenumTemp,
    words83,
    grainTemp,
    plenumDifferential,
    heaterControlBits,
    heaterStatusBits,
    heaterState,
    heaterPictureBits,
    heaterBytes137,
    ignitionState,
    grainSetpoint,
    meteringMode,
    meteringPreset,
    meteringControl,
    bphCalibration,
    bushelCounter,
    burnerIndicatorBits,
    dryerState,
    dryerState2,
    bushelsPerHour,
    word175,
    ioBits,
    grainSensorSelect,
    warningIndex,
    warningNode,
    moistureControlMode,
    runState,
    dryMoisture,
    wetMoisture,
    drySensorTemp,
    wetSensorTemp,
    unloadTenthsValue,
    moistureSetpoint,
    moistureModeSetting,
    printerByte202,
    printerByte203,
    unloadRateLimit,
    settingBytes216,
    moisturePanelBits,
    batchCount,
    mediumTenths,
    optionByte224,
    dryerConfigBits,
    moistureSetupBytes,
    settingByte230,
    moistureOffset,
    meterRollRaw,
    optionByte238,
    ioBits2,
    sensorTempOffset,
    mediumWhole,
    settingByte246,
    moistureValues247,
    pictureStatusBits,
    loHeatTimerRemaining,
    loHeatTimerSetting,
    dryerOptions,
    setpointWords258,
    statusBytes262,
    unitsAndOptions,
    coolDownRemaining,
    fanRunAfterShutdownSetting,
    coolingStatusBits,
    batchSettings,
    batchWord277,
    optionBits279,
    statusByte280,
    words281,
    statusBytes287,
    optionByte289,
    centerAdjustElapsed,
    samplerBits,
    samplerOption,
};

TEST(DryerImage, FieldsAndUndecodedOffsetsCoverTheImageOnce)
{
    std::array<int, kImageSize> uses{};
    for (const ImageField& field : kAllFields) {
        for (int i = 0; i < field.width; ++i) ++uses[field.offset + static_cast<std::size_t>(i)];
    }
    const std::pair<int, int> undecoded[] = {
        {0, 2},     {33, 38},   {48, 48},   {53, 57},   {107, 112}, {119, 124}, {170, 170},
        {204, 205}, {210, 215}, {231, 231}, {256, 256}, {276, 276}, {285, 286}, {294, 299}};
    for (auto [first, last] : undecoded) {
        for (int i = first; i <= last; ++i) ++uses[static_cast<std::size_t>(i)];
    }
    for (std::size_t i = 0; i < kImageSize; ++i) EXPECT_EQ(uses[i], 1) << "offset " << i;
}

TEST(DryerImage, ByteOrders)
{
    std::array<std::uint8_t, kImageSize> image{};
    image[189] = 0x00;
    image[190] = 0x91;
    EXPECT_EQ(ReadBe16(image, dryMoisture.offset), 145);  // 14.5 %
    EXPECT_EQ(ReadSignedLe16(image, dryMoisture.offset), -28416);
    WriteLe16(image, HeaterWordOffset(plenumTemp, 1), static_cast<std::uint16_t>(-36));
    EXPECT_EQ(image[81], 0xDC);
    EXPECT_EQ(image[82], 0xFF);
    EXPECT_EQ(ReadSignedLe16(image, 81), -36);
    WriteBe16(image, sensorTempOffset.offset, static_cast<std::uint16_t>(-100));
    EXPECT_EQ(ReadSignedBe16(image, 241), -100);
    WriteLe32(image, bushelCounter.offset, 3600u * 1234u);
    EXPECT_EQ(ReadLe32(image, bushelCounter.offset) / 3600u, 1234u);
    image[26] = 8;
    image[27] = 30;
    EXPECT_EQ(ReadTimeSeconds(image, loadTimerSetting.offset), 510u);
}

TEST(DryerImage, ReadersStayInsideTheArray)
{
    std::array<std::uint8_t, kImageSize> image{};
    image.fill(0xFF);
    EXPECT_EQ(ReadLe16(image, 299), 0);
    EXPECT_EQ(ReadBe16(image, 300), 0);
    EXPECT_EQ(ReadLe32(image, 297), 0u);
    WriteLe16(image, 299, 0x1234);
    EXPECT_EQ(image[299], 0xFF);
    EXPECT_EQ(DryerImage.Get(5000), 0);
}

TEST(DryerImage, PerHeaterArraysHoldFanHeaterSixFirst)
{
    struct Case {
        int heater;
        std::size_t setpoint, temp, state;
    };
    const Case cases[] = {{1, 69, 81, 130}, {2, 67, 79, 129}, {6, 59, 71, 125}, {0, 69, 81, 130}};
    for (const Case& c : cases) {
        EXPECT_EQ(HeaterWordOffset(plenumSetpoint, c.heater), c.setpoint) << c.heater;
        EXPECT_EQ(HeaterWordOffset(plenumTemp, c.heater), c.temp) << c.heater;
        EXPECT_EQ(HeaterByteOffset(heaterState, c.heater), c.state) << c.heater;
    }
    EXPECT_EQ(SelectedGrainTempOffset(0), 93u);
    EXPECT_EQ(SelectedGrainTempOffset(1), 91u);
    EXPECT_EQ(SelectedGrainTempOffset(2), 89u);
    EXPECT_EQ(HeaterCountFromCode(4), 6);
    EXPECT_EQ(HeaterCountFromCode(0), 1);
}

TEST(DryerImage, CelsiusTruncatesTowardZero)
{
    struct Case {
        int f, c;
    };
    const Case cases[] = {{32, 0}, {212, 100}, {-40, -40}, {33, 0}, {31, 0}, {0, -17}, {180, 82}};
    for (const Case& c : cases) {
        EXPECT_EQ(FahrenheitToCelsius(c.f), c.c) << c.f;
        EXPECT_EQ(DisplayTemperature(c.f, true), c.c);
        EXPECT_EQ(DisplayTemperature(c.f, false), c.f);
    }
    EXPECT_TRUE(IsSiUnits(0x80));
    EXPECT_FALSE(IsSiUnits(0x7F));
}

TEST(DryerImage, BoardsAndWarningCodes)
{
    EXPECT_EQ(FanHeaterNode(1), static_cast<NodeId>(2));
    EXPECT_EQ(FanHeaterNode(6), static_cast<NodeId>(7));
    EXPECT_EQ(FanHeaterInterfaceNode(1), static_cast<NodeId>(8));
    EXPECT_EQ(FanHeaterNode(7), NodeId::none);
    const WarningCode doorOpen = MakeWarningCode(static_cast<std::uint8_t>(NodeId::mainIo), 5);
    EXPECT_EQ(doorOpen, 0x0E05);
    EXPECT_EQ(WarningNodeOf(doorOpen), 14);
    EXPECT_EQ(WarningIndexOf(doorOpen), 5);
    std::array<std::uint8_t, kImageSize> image{};
    image[warningNode.offset] = 0x0E;
    image[warningIndex.offset] = 0x05;
    EXPECT_EQ(ActiveWarningCode(image), doorOpen);
}

TEST(DryerImage, StartsZeroAndResets)
{
    ResetLinkStateForTest();
    DryerImage.Set(dryerState.offset, kDryerStateIdle);
    EXPECT_EQ(DryerImage[171], 0xA0);
    ResetLinkStateForTest();
    EXPECT_EQ(DryerImage[171], 0);
    EXPECT_EQ(LinkWatchdog.load(), 10u);
}

}  // namespace
