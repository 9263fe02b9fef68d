// The dryer image: every field pinned to the bytes the wire carries it in, the readers and
// writers by byte order, bits and time pairs, the per-heater index rule, the Celsius display
// rule and the board numbering.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"

namespace {

struct Pin {
    const char* name;
    ImageField field;
    int offset;  // as the answer frame carries the field
    int width;
    Encoding encoding;
    Pending flag;  // flag of the first element; Pending::none: the panel does not set it
};

// The one table that writes the image's layout out as numbers: a wrong description cannot hide
// behind a name that the code and its tests share.
constexpr Encoding B = Encoding::bytes;
constexpr Encoding LE = Encoding::le16;
constexpr Encoding SLE = Encoding::signedLe16;
constexpr Encoding BE = Encoding::be16;
constexpr Encoding SBE = Encoding::signedBe16;
constexpr Encoding T = Encoding::minSec;
constexpr Encoding L32 = Encoding::le32;
constexpr Encoding G = Encoding::group;
constexpr Pending none = Pending::none;
#define PIN(field, ...)            \
    Pin                            \
    {                              \
#field, field, __VA_ARGS__ \
    }
const Pin kPins[] = {
    PIN(heaterCountCode, 3, 1, B, Pending::heaterCount),
    PIN(moduleCountCode, 4, 1, B, Pending::moduleCount),
    PIN(fuelCode, 5, 1, B, Pending::fuel),
    PIN(loadSystemCode, 6, 1, B, Pending::loadSystem),
    PIN(dryerLengthCode, 7, 1, B, Pending::dryerLength),
    PIN(dryingType, 8, 1, B, Pending::dryingType),
    PIN(dryTimerRemaining, 9, 2, T, Pending::dryTimerReload),
    PIN(dryTimerSetting, 11, 2, T, Pending::dryTimerSetting),
    PIN(batchStatusBits13, 13, 1, B, none),
    PIN(coolTimerRemaining, 14, 2, T, Pending::coolTimerReload),
    PIN(coolTimerSetting, 16, 2, T, Pending::coolTimerSetting),
    PIN(batchStatusByte18, 18, 1, B, none),
    PIN(unloadTimerRemaining, 19, 2, T, Pending::unloadTimerReload),
    PIN(unloadTimerSetting, 21, 2, T, Pending::unloadTimerSetting),
    PIN(batchStatusByte23, 23, 1, B, none),
    PIN(loadTimerRemaining, 24, 2, T, none),
    PIN(loadTimerSetting, 26, 2, T, Pending::loadTimer),
    PIN(loadCountdownBits, 28, 1, B, none),
    PIN(timePair29, 29, 2, T, none),
    PIN(loadDelaySetting, 31, 2, T, Pending::loadDelay),
    PIN(unloadRunOnRemaining, 39, 2, T, none),
    PIN(unloadRunOnSetting, 41, 2, T, Pending::unloadRunOn),
    PIN(runOnStatusBits, 43, 1, B, none),
    PIN(timePair44, 44, 2, T, none),
    PIN(fanStartDelaySetting, 46, 2, T, Pending::fanStartDelay),
    PIN(optionByte49, 49, 1, B, Pending::optionByte49),
    PIN(plenumManagerByte50, 50, 1, B, Pending::byte50),
    PIN(statusByte51, 51, 1, B, none),
    PIN(mcAutoModeMinutes, 52, 1, B, none),
    PIN(clockSetting, 53, 5, G, Pending::clock),
    PIN(loadStatusBits, 58, 1, B, none),
    PIN(plenumSetpoint, 59, 12, SLE, Pending::plenumSetpoint6),
    PIN(plenumTemp, 71, 12, SLE, none),
    PIN(words83, 83, 6, LE, none),
    PIN(grainTemp, 89, 6, SLE, none),
    PIN(plenumDifferential, 95, 6, B, Pending::plenumDifferential6),
    PIN(heaterControlBits, 101, 6, B, Pending::heaterByte6),
    PIN(heaterStatusBits, 113, 6, B, none),
    PIN(heaterState, 125, 6, B, none),
    PIN(heaterPictureBits, 131, 6, B, none),
    PIN(heaterBytes137, 137, 6, B, none),
    PIN(ignitionState, 143, 6, B, none),
    PIN(grainSetpoint, 149, 6, SLE, Pending::grainSetpoint1),
    PIN(meteringMode, 155, 1, B, none),
    PIN(meteringPreset, 156, 3, B, Pending::meteringPresetHigh),
    PIN(meteringControl, 159, 4, G, Pending::desiredMeteringGroup),
    PIN(bphCalibration, 163, 1, B, Pending::bphCalibration),
    PIN(bushelCounter, 164, 4, L32, none),
    PIN(burnerIndicatorBits, 168, 2, B, none),
    PIN(dryerState, 171, 1, B, none),
    PIN(dryerState2, 172, 1, B, none),
    PIN(bushelsPerHour, 173, 2, BE, none),
    PIN(word175, 175, 2, G, none),
    PIN(ioBits, 177, 7, B, none),
    PIN(grainSensorSelect, 184, 1, B, none),
    PIN(warningCode, 185, 2, G, none),
    PIN(warningIndex, 185, 1, B, none),
    PIN(warningNode, 186, 1, B, none),
    PIN(moistureControlMode, 187, 1, B, Pending::moistureMode),
    PIN(runState, 188, 1, B, none),
    PIN(dryMoisture, 189, 2, BE, none),
    PIN(wetMoisture, 191, 2, BE, none),
    PIN(drySensorTemp, 193, 2, BE, none),
    PIN(wetSensorTemp, 195, 2, BE, none),
    PIN(meterRollSpeed, 197, 2, BE, none),
    PIN(moistureSetpoint, 199, 2, BE, Pending::moistureSetpoint),
    PIN(moistureModeSetting, 201, 1, B, none),
    PIN(printerByte202, 202, 1, B, Pending::byte202),
    PIN(printerByte203, 203, 1, B, Pending::byte203),
    PIN(unloadRateLimit, 206, 4, BE, Pending::unloadRateLimit1),
    PIN(settingByte216, 216, 1, B, Pending::byte216),
    PIN(settingByte217, 217, 1, B, Pending::byte217),
    PIN(settingByte218, 218, 1, B, Pending::byte218),
    PIN(settingByte219, 219, 1, B, Pending::byte219),
    PIN(moisturePanelBits, 220, 1, B, none),
    PIN(batchCount, 221, 2, BE, Pending::batchCounter),
    PIN(mediumTenths, 223, 1, B, none),
    PIN(optionByte224, 224, 1, B, Pending::byte224),
    PIN(dryerConfigBits, 225, 1, B, none),
    PIN(moistureSetupBytes, 226, 4, B, Pending::byte226),
    PIN(settingByte230, 230, 1, B, none),
    PIN(moistureOffset, 232, 4, SBE, Pending::calibrationWord232),
    PIN(meterRollRaw, 236, 2, B, Pending::byte236),
    PIN(optionByte238, 238, 1, B, Pending::optionByte238),
    PIN(ioBits2, 239, 2, B, none),
    PIN(sensorTempOffset, 241, 4, SBE, Pending::calibrationWord241),
    PIN(mediumWhole, 245, 1, B, none),
    PIN(settingByte246, 246, 1, B, Pending::byte246),
    PIN(averageMoisture, 247, 4, BE, none),
    PIN(pictureStatusBits, 251, 1, B, none),
    PIN(loHeatTimerRemaining, 252, 2, T, Pending::loHeatTimerReload),
    PIN(loHeatTimerSetting, 254, 2, T, Pending::loHeatTimerSetting),
    PIN(dryerOptions, 257, 1, B, Pending::optionByte257),
    PIN(setpointWords258, 258, 4, SLE, Pending::word258),
    PIN(statusBytes262, 262, 4, B, none),
    PIN(unitsAndOptions, 266, 1, B, Pending::unitsAndOptions),
    PIN(coolDownRemaining, 267, 2, T, none),
    PIN(fanRunAfterShutdownSetting, 269, 2, T, Pending::fanRunAfterShutdown),
    PIN(coolingStatusBits, 271, 1, B, none),
    PIN(batchSettingBytes, 272, 2, B, none),
    PIN(batchTimePair, 274, 2, T, Pending::batchTimePair),
    PIN(batchWord277, 277, 2, LE, Pending::batchWord277),
    PIN(optionBits279, 279, 1, B, none),
    PIN(statusByte280, 280, 1, B, none),
    PIN(words281, 281, 4, LE, none),
    PIN(statusBytes287, 287, 2, B, none),
    PIN(optionByte289, 289, 1, B, Pending::optionByte289),
    PIN(centerAdjustElapsed, 290, 2, LE, none),
    PIN(samplerBits, 292, 1, B, none),
    PIN(samplerOption, 293, 1, B, Pending::optionByte293),
};
#undef PIN

TEST(DryerImage, EveryFieldSitsWhereTheWireCarriesIt)
{
    for (const Pin& p : kPins) {
        EXPECT_EQ(p.field.offset, p.offset) << p.name;
        EXPECT_EQ(p.field.width, p.width) << p.name;
        EXPECT_EQ(p.field.encoding, p.encoding) << p.name;
        EXPECT_EQ(p.field.pending, p.flag) << p.name;
    }
}

TEST(DryerImage, TheDecodedFieldsAreAllPinned)
{
    for (const ImageField& field : kImageLayout) {
        bool pinned = false;
        for (const Pin& p : kPins) pinned = pinned || p.field == field;
        EXPECT_TRUE(pinned) << "field at " << field.offset;
    }
}

TEST(DryerImage, ByteOrders)
{
    std::array<std::uint8_t, kImageSize> image{};
    image[dryMoisture.offset] = 0x00;
    image[dryMoisture.offset + 1] = 0x91;
    EXPECT_EQ(Value(image, dryMoisture), 145);  // 14.5 %
    EXPECT_EQ(Value(image, SignedLe(dryMoisture.offset)), -28416);
    const ImageField plenum1 = ForHeater(plenumTemp, 1);
    SetValue(image, plenum1, -36);
    EXPECT_EQ(image[plenum1.offset], 0xDC);
    EXPECT_EQ(image[plenum1.offset + 1], 0xFF);
    EXPECT_EQ(Value(image, plenum1), -36);
    SetValue(image, drySensorTempOffset, -100);
    EXPECT_EQ(image[drySensorTempOffset.offset], 0xFF);
    EXPECT_EQ(Value(image, drySensorTempOffset), -100);
    SetValue(image, bushelCounter, 3600u * 1234u);
    EXPECT_EQ(ReadCounter(image, bushelCounter) / 3600u, 1234u);
    SetValue(image, bushelCounter, 0xFFFFFFFFu);
    EXPECT_EQ(ReadCounter(image, bushelCounter), 0xFFFFFFFFu);
    EXPECT_EQ(Value(image, bushelCounter), 0x7FFFFFFF);  // a reading, not a wrapped number
}

TEST(DryerImage, TimePairs)
{
    std::array<std::uint8_t, kImageSize> image{};
    SetValue(image, loadTimerSetting, 8 * 60 + 30);
    EXPECT_EQ(image[loadTimerSetting.offset], 8);
    EXPECT_EQ(image[loadTimerSetting.offset + 1], 30);
    EXPECT_EQ(Value(image, loadTimerSetting), 510);
    SetValue(image, loadTimerSetting, 999 * 60);  // minutes stop at 255
    EXPECT_EQ(image[loadTimerSetting.offset], 255);
    // A pair as the board sends it, even with 75 seconds, and written back unchanged.
    image[loadTimerSetting.offset + 1] = 75;
    const MinSec sent = ReadTime(image, loadTimerSetting);
    EXPECT_EQ(sent.minutes, 255);
    EXPECT_EQ(sent.seconds, 75);
    WriteTime(image, loadTimerRemaining, sent);
    EXPECT_EQ(image[loadTimerRemaining.offset + 1], 75);
}

TEST(DryerImage, BitsByName)
{
    std::array<std::uint8_t, kImageSize> image{};
    SetValue(image, dryerState, kDryerStateIdle);
    EXPECT_TRUE(AllSet(image, notLoadingBits));
    SetBits(image, notFillingBit, false);
    EXPECT_FALSE(AllSet(image, notLoadingBits));
    EXPECT_TRUE(IsSet(image, notLoadingBits));
    SetBitsValue(image, moistureSchemeBits, kSchemeVariable);
    SetBits(image, moistureAutoBit, true);
    EXPECT_EQ(Value(image, moistureControlMode), 0x83);
    EXPECT_EQ(BitsValue(image, moistureSchemeBits), kSchemeVariable);
    SetBitsValue(image, batchCriteriaBits, kCriteriaTimeAlone);
    EXPECT_TRUE(IsSet(image, criterionTimeBit));
    EXPECT_FALSE(IsSet(image, criterionTempBit));
    // The bits of a per-heater array move with the heater.
    SetBits(image, ForHeater(highFireBit, 1), true);
    EXPECT_EQ(image[ForHeater(heaterState, 1).offset], 0x04);
    EXPECT_EQ(image[ForHeater(heaterState, 6).offset], 0x00);
    // The bytes of Fan/Heater 1 that speak for the whole dryer.
    EXPECT_EQ(loHeatPlenumBit.offset, ForHeater(ignitionState, 1).offset);
    EXPECT_EQ(airswitchDisabledBit.offset, ForHeater(heaterStatusBits, 1).offset);
}

TEST(DryerImage, ReadersStayInsideTheArray)
{
    std::array<std::uint8_t, kImageSize> image{};
    image.fill(0xFF);
    EXPECT_EQ(Value(image, WordLe(299)), 0);
    EXPECT_EQ(Value(image, WordBe(300)), 0);
    EXPECT_EQ(ReadCounter(image, Le32(297)), 0u);
    SetValue(image, WordLe(299), 0x1234);
    EXPECT_EQ(image[299], 0xFF);
    EXPECT_FALSE(IsSet(image, ImageBits{300, 0xFF}));
    EXPECT_EQ(DryerImage.Get(5000), 0);
}

TEST(DryerImage, PerHeaterArraysHoldFanHeaterSixFirst)
{
    for (int heater : {0, 1, 2, 6, 7}) {
        const int n = (heater < 1 || heater > 6) ? 1 : heater;  // out of range reads as 1
        EXPECT_EQ(ForHeater(plenumSetpoint, heater).offset, plenumSetpoint.offset + 2 * (6 - n));
        EXPECT_EQ(ForHeater(heaterState, heater).offset, heaterState.offset + 6 - n);
        EXPECT_EQ(ForHeater(plenumSetpoint, heater).pending,
                  static_cast<Pending>(static_cast<int>(Pending::plenumSetpoint6) + 6 - n));
    }
    EXPECT_EQ(GrainTempEntry(0), grainTemp.Element(2));
    EXPECT_EQ(GrainTempEntry(1), grainTemp.Element(1));
    EXPECT_EQ(GrainTempEntry(2), grainTemp.Element(0));
    EXPECT_EQ(GrainTempEntry(7), grainTemp.Element(0));
    EXPECT_EQ(HeaterCountFromCode(4), 6);
    EXPECT_EQ(HeaterCountFromCode(0), 1);
    EXPECT_EQ(HeaterCountFromCode(9), 1);
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
    SetValue(image, warningNode, 0x0E);
    SetValue(image, warningIndex, 0x05);
    EXPECT_EQ(ActiveWarningCode(image), doorOpen);
}

TEST(DryerImage, StartsZeroAndResets)
{
    ResetLinkStateForTest();
    SetValue(DryerImage, dryerState, kDryerStateIdle);
    EXPECT_TRUE(AllSet(DryerImage, notLoadingBits));
    ResetLinkStateForTest();
    EXPECT_EQ(Value(DryerImage, dryerState), 0);
    EXPECT_EQ(LinkWatchdog.load(), 10u);
}

}  // namespace
