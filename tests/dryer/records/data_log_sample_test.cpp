// The 18-byte data log sample: its byte layout, the image fields it is built from and its
// reading back.
#include "dryer/records/data_log_sample.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

SYSTEMTIME At(int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME t;
    t.wYear = 2026;
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    return t;
}

TEST(DataLogSample, IsEighteenBigEndianBytesInFileOrder)
{
    DataLogSample s;
    s.grainTemp = -5;  // 0xFFFB
    s.incomingTemp = 0x0102;
    s.incomingMoisture = 0x0304;
    s.outgoingTemp = 0x0506;
    s.outgoingMoisture = 0x0708;
    s.meterRollOutput = 99;
    s.hour = 23;
    s.minute = 59;
    s.second = 58;
    s.month = 12;
    s.day = 31;
    const DataLogRecord r = EncodeDataLogSample(s);
    const DataLogRecord expected{0xFF, 0xFB, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,
                                 0x08, 0x00, 99,   0x00, 23,   59,   58,   12,   31};
    EXPECT_EQ(r, expected);
}

TEST(DataLogSample, ReadsBackWhatWasWrittenIncludingNegativeTemperatures)
{
    DataLogSample s;
    s.grainTemp = -40;
    s.incomingTemp = -123;
    s.incomingMoisture = 215;
    s.outgoingTemp = -7;
    s.outgoingMoisture = 148;
    s.meterRollOutput = 255;
    s.hour = 0;
    s.minute = 1;
    s.second = 2;
    s.month = 1;
    s.day = 9;
    const auto back = DecodeDataLogSample(EncodeDataLogSample(s));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->grainTemp, -40);
    EXPECT_EQ(back->incomingTemp, -123);
    EXPECT_EQ(back->incomingMoisture, 215);
    EXPECT_EQ(back->outgoingTemp, -7);
    EXPECT_EQ(back->outgoingMoisture, 148);
    EXPECT_EQ(back->meterRollOutput, 255);
    EXPECT_EQ(back->hour, 0);
    EXPECT_EQ(back->minute, 1);
    EXPECT_EQ(back->second, 2);
    EXPECT_EQ(back->month, 1);
    EXPECT_EQ(back->day, 9);
}

TEST(DataLogSample, ShortBytesAreNoSample)
{
    const std::vector<std::uint8_t> seventeen(17, 0);
    EXPECT_FALSE(DecodeDataLogSample(seventeen).has_value());
    EXPECT_FALSE(DecodeDataLogSample({}).has_value());
}

struct SensorCase {
    int select;
    int expected;
};
class GrainSensorChoice : public ::testing::TestWithParam<SensorCase> {};

TEST_P(GrainSensorChoice, TakesTheGrainTemperatureTheSelectorNames)
{
    ImageBytes image;
    SetValue(image, GrainTempEntry(0), 111);  // 93-94
    SetValue(image, GrainTempEntry(1), 122);  // 91-92
    SetValue(image, GrainTempEntry(2), -13);  // 89-90
    SetValue(image, grainSensorSelect, GetParam().select);
    EXPECT_EQ(BuildDataLogSample(image, At(3, 3, 14, 5, 0)).grainTemp, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Selectors, GrainSensorChoice,
                         ::testing::Values(SensorCase{0, 111}, SensorCase{1, 122},
                                           SensorCase{2, -13}, SensorCase{7, -13}));

TEST(DataLogSample, IsBuiltFromTheSensorsTheRollsAndTheLocalTime)
{
    ImageBytes image;
    SetValue(image, wetSensorTemp, 655);
    SetValue(image, wetMoisture, 221);
    SetValue(image, drySensorTemp, 0xFFF6);  // -1.0 deg F as the board sends it
    SetValue(image, dryMoisture, 152);
    SetValue(image, mediumWhole, 64);
    const DataLogSample s = BuildDataLogSample(image, At(3, 5, 13, 7, 42));
    EXPECT_EQ(s.incomingTemp, 655);
    EXPECT_EQ(s.incomingMoisture, 221);
    EXPECT_EQ(s.outgoingTemp, -10);
    EXPECT_EQ(s.outgoingMoisture, 152);
    EXPECT_EQ(s.meterRollOutput, 64);
    EXPECT_EQ(s.hour, 13);
    EXPECT_EQ(s.minute, 7);
    EXPECT_EQ(s.second, 42);
    EXPECT_EQ(s.month, 3);
    EXPECT_EQ(s.day, 5);
    const DataLogRecord r = EncodeDataLogSample(s);
    EXPECT_EQ(r[6], 0xFF);  // the sensor bytes go to the file as the board sent them
    EXPECT_EQ(r[7], 0xF6);
    EXPECT_EQ(r[10], 0);
    EXPECT_EQ(r[11], 64);
}

}  // namespace
