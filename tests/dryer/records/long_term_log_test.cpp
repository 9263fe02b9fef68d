// The long-term data log: the record built from the image, the fill level's arithmetic, the
// size limit stepped up to and across, logging allowed only while unloading, a file cut inside
// a record, a log that cannot be opened, and delete.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/records/long_term_log.h"
#include "tests/dryer/records/long_term_log_support.h"

namespace {

using long_term_test::At;
using long_term_test::LogFolder;
using long_term_test::Numbered;

std::vector<std::uint8_t> Bytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(LongTermFillLevel, StepsThroughItsBoundaries)
{
    const struct {
        std::uint64_t size;
        int percent;
    } cases[] = {
        {0, 0},         {52428, 0},     {52429, 1},           {3722444, 70},
        {3722445, 71},  {5242863, 99},  {5242864, 99},        {5242879, 99},
        {5242880, 100}, {5242881, 100}, {0xFFFFFFFFull, 100},
    };
    for (const auto& c : cases) EXPECT_EQ(LongTermFillLevelFor(c.size), c.percent) << c.size;
}

class LongTermRecordOfImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (std::size_t i = 0; i < kImageSize; ++i) DryerImage.Set(i, 0);
        SetValue(DryerImage, GrainTempEntry(0), 118);  // 93-94
        SetValue(DryerImage, GrainTempEntry(1), -12);  // 91-92
        SetValue(DryerImage, GrainTempEntry(2), 97);   // 89-90
        SetValue(DryerImage, wetSensorTemp, 652);
        SetValue(DryerImage, wetMoisture, 215);
        SetValue(DryerImage, drySensorTemp, 1003);
        SetValue(DryerImage, dryMoisture, 154);
        SetValue(DryerImage, meterRollSpeed, 0x1234);
        SetValue(DryerImage, printerByte202, 0xA5);
    }
    void TearDown() override
    {
        for (std::size_t i = 0; i < kImageSize; ++i) DryerImage.Set(i, 0);
    }
};

TEST_F(LongTermRecordOfImage, HoldsTheVariablesHighByteFirstAndTheTime)
{
    SetValue(DryerImage, grainSensorSelect, 0);
    const LongTermRecord r = BuildLongTermRecord(DryerImage, At(23, 59, 48));
    const LongTermRecord expected{0x00, 118, 0x02, 0x8C, 0x00, 215, 0x03, 0xEB,
                                  0x00, 154, 0x12, 0x34, 0xA5, 23,  59,   48};
    EXPECT_EQ(r, expected);
    const auto s = DecodeLongTermRecord(r);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->grainTempF, 118);
    EXPECT_EQ(s->wetTempTenthsF, 652);
    EXPECT_EQ(s->wetMoistureTenths, 215);
    EXPECT_EQ(s->dryTempTenthsF, 1003);
    EXPECT_EQ(s->dryMoistureTenths, 154);
    EXPECT_EQ(s->meterRollTenths, 0x1234);
    EXPECT_EQ(s->byte202, 0xA5);
    EXPECT_EQ(s->hour, 23);
    EXPECT_EQ(s->minute, 59);
    EXPECT_EQ(s->second, 48);
}

TEST_F(LongTermRecordOfImage, TheSensorSelectPicksTheGrainTemperatureSigned)
{
    const struct {
        int select, temp;
    } cases[] = {{0, 118}, {1, -12}, {2, 97}, {7, 97}};
    for (const auto& c : cases) {
        SetValue(DryerImage, grainSensorSelect, c.select);
        const LongTermRecord r = BuildLongTermRecord(DryerImage, At(0, 0, 0));
        EXPECT_EQ(DecodeLongTermRecord(r)->grainTempF, c.temp) << c.select;
    }
    SetValue(DryerImage, grainSensorSelect, 1);
    const LongTermRecord r = BuildLongTermRecord(DryerImage, At(0, 0, 0));
    EXPECT_EQ(r[0], 0xFF);  // -12 as a big-endian word
    EXPECT_EQ(r[1], 0xF4);
}

TEST(LongTermRecordDecode, FewerThanSixteenBytesIsNoRecord)
{
    const LongTermRecord r = Numbered(3);
    EXPECT_FALSE(DecodeLongTermRecord(std::span(r).first(15)).has_value());
    EXPECT_FALSE(DecodeLongTermRecord({}).has_value());
    EXPECT_TRUE(DecodeLongTermRecord(r).has_value());
}

using LongTermLog = LogFolder;

TEST_F(LongTermLog, WithLoggingOffTheFillCheckStillMakesAnEmptyFile)
{
    EXPECT_TRUE(RefreshLongTermFill());
    ASSERT_TRUE(std::filesystem::exists(Log()));
    EXPECT_EQ(LogSize(), 0u);
    EXPECT_EQ(LongTermFillLevelPercent(), 0);
}

TEST_F(LongTermLog, AppendsOnlyWhileLoggingIsAllowed)
{
    EXPECT_EQ(WriteLongTermRecord(Numbered(1), true), LongTermWrite::appended);
    EXPECT_EQ(WriteLongTermRecord(Numbered(2), false), LongTermWrite::notUnloading);
    EXPECT_EQ(WriteLongTermRecord(Numbered(3), true), LongTermWrite::appended);
    std::vector<std::uint8_t> expected(16, 1);
    expected.insert(expected.end(), 16, 3);
    EXPECT_EQ(Bytes(Log()), expected);
}

TEST_F(LongTermLog, TheTickHooksUseTheUnloadingStateOfThePreviousSecond)
{
    SetDataLogUnloading(true);
    AppendLongTermSample();
    EXPECT_EQ(LogSize(), 16u);
    SetDataLogUnloading(false);  // unloading stopped in the second before the tick
    AppendLongTermSample();
    EXPECT_EQ(LogSize(), 16u);
}

TEST_F(LongTermLog, FillsUpToFiveMebibytesAndNoFurther)
{
    MakeLog(kLongTermFileFull - 32);
    EXPECT_EQ(WriteLongTermRecord(Numbered(1), true), LongTermWrite::appended);
    EXPECT_EQ(LongTermFillLevelPercent(), 99);  // found before the append
    EXPECT_EQ(WriteLongTermRecord(Numbered(2), true), LongTermWrite::appended);
    EXPECT_EQ(LogSize(), kLongTermFileFull);
    EXPECT_EQ(WriteLongTermRecord(Numbered(3), true), LongTermWrite::full);
    EXPECT_EQ(LongTermFillLevelPercent(), 100);
    EXPECT_EQ(WriteLongTermRecord(Numbered(4), false), LongTermWrite::full);
    EXPECT_EQ(LogSize(), kLongTermFileFull);  // it stays full until it is deleted
    ASSERT_TRUE(DeleteLongTermLog());
    EXPECT_FALSE(std::filesystem::exists(Log()));
    EXPECT_EQ(LongTermFillLevelPercent(), 0);
    EXPECT_EQ(WriteLongTermRecord(Numbered(5), true), LongTermWrite::appended);
    EXPECT_EQ(LogSize(), 16u);
}

TEST_F(LongTermLog, APartialRecordIsCutOffBeforeTheNextAppend)
{
    MakeLog(16 * 3 + 9);  // power was lost nine bytes into the fourth record
    ASSERT_TRUE(RefreshLongTermFill());
    EXPECT_EQ(LogSize(), 57u);  // looking does not change the file
    EXPECT_EQ(WriteLongTermRecord(Numbered(9), true), LongTermWrite::appended);
    const auto bytes = Bytes(Log());
    ASSERT_EQ(bytes.size(), 64u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 48, bytes.end()),
              std::vector<std::uint8_t>(16, 9));
}

TEST_F(LongTermLog, ALogThatCannotBeOpenedLosesTheRecordAndKeepsTheFillLevel)
{
    MakeLog(3722448);
    ASSERT_TRUE(RefreshLongTermFill());
    ASSERT_EQ(LongTermFillLevelPercent(), 71);
    std::filesystem::remove(Log());
    std::filesystem::create_directories(Log());  // a folder where the file belongs
    EXPECT_EQ(WriteLongTermRecord(Numbered(1), true), LongTermWrite::notOpened);
    EXPECT_FALSE(RefreshLongTermFill());
    EXPECT_EQ(LongTermFillLevelPercent(), 71);
}

TEST_F(LongTermLog, AFolderThatCannotBeMadeLosesTheRecordQuietly)
{
    {
        std::ofstream(root_ / "Hard Disk" / "DataLog") << "x";  // a file in the folder's place
    }
    EXPECT_EQ(WriteLongTermRecord(Numbered(1), true), LongTermWrite::notOpened);
    RefreshLongTermFillLevel();  // the tick's hook says nothing
    EXPECT_EQ(LongTermFillLevelPercent(), 0);
}

TEST_F(LongTermLog, DeletingAMissingLogIsNoFailure)
{
    EXPECT_TRUE(DeleteLongTermLog());
}

}  // namespace
