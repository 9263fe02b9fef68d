// The short-term log's files: their names, the 2592-byte limit, the two files kept, the record
// count, the window the status chart reads across two files, and files that are cut short or
// are not what they should be.
#include "dryer/records/short_term_log.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "platform/runtime/clock.h"
#include "tests/dryer/records/short_term_log_support.h"

namespace {

namespace fs = std::filesystem;
using records_test::AdvanceSeconds;
using records_test::LogRoot;
using records_test::Numbered;
using records_test::NumberOf;
using records_test::WriteLogFile;

std::string ExpectedName(const SYSTEMTIME& t)
{
    char name[64];
    std::snprintf(name, sizeof name, "DATA_LOG_24HR%02d_%02d_%02d_%02d_%02d_%02d.DAT",
                  t.wYear % 100, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return name;
}

// Writes samples first..first+count-1, one a minute.
void WriteSamples(int first, int count)
{
    for (int n = first; n < first + count; ++n) {
        ASSERT_TRUE(WriteShortTermRecord(Numbered(n))) << n;
        AdvanceSeconds(60);
    }
}

std::vector<int> Window(int wanted, int skip)
{
    std::vector<DataLogSample> out(static_cast<std::size_t>(wanted));
    const int got = ReadShortTermWindow(out, skip);
    std::vector<int> numbers;
    for (int i = 0; i < got; ++i) numbers.push_back(NumberOf(out[static_cast<std::size_t>(i)]));
    return numbers;
}

std::vector<int> Range(int first, int last)
{
    std::vector<int> v;
    for (int n = first; n <= last; ++n) v.push_back(n);
    return v;
}

TEST(ShortTermLogFiles, FirstSampleStartsAFileNamedForTheLocalTime)
{
    LogRoot log;
    EXPECT_EQ(ShortTermRecordCount(), 0);
    EXPECT_TRUE(Window(8, 0).empty());
    SYSTEMTIME now;
    GetLocalTime(&now);
    ASSERT_TRUE(WriteShortTermRecord(Numbered(1)));
    ASSERT_EQ(log.Files(), std::vector<std::string>{ExpectedName(now)});
    EXPECT_EQ(fs::file_size(log.folder() / ExpectedName(now)), 18u);
    EXPECT_EQ(ShortTermRecordCount(), 1);
}

TEST(ShortTermLogFiles, TheHundredAndFortyFifthSampleStartsASecondFile)
{
    LogRoot log;
    WriteSamples(0, 144);
    ASSERT_EQ(log.Files().size(), 1u);
    EXPECT_EQ(fs::file_size(log.folder() / log.Files()[0]), 2592u);
    EXPECT_EQ(ShortTermRecordCount(), 144);
    WriteSamples(144, 1);
    ASSERT_EQ(log.Files().size(), 2u);
    EXPECT_EQ(fs::file_size(log.folder() / log.Files()[1]), 18u);
    EXPECT_EQ(ShortTermRecordCount(), 144);  // 145 held, capped
}

TEST(ShortTermLogFiles, WhenBothAreFullTheOlderGoesBeforeAThirdStarts)
{
    LogRoot log;
    WriteSamples(0, 144);
    WriteSamples(144, 144);
    const auto two = log.Files();
    ASSERT_EQ(two.size(), 2u);
    WriteSamples(288, 1);
    const auto after = log.Files();
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0], two[1]);  // the newer full file stays
    EXPECT_EQ(fs::file_size(log.folder() / after[1]), 18u);
    EXPECT_EQ(Window(3, 0), (std::vector<int>{286, 287, 288}));
}

TEST(ShortTermLogFiles, CountTakesWholeSamplesOfTwoFilesAndNeverPassesTheCap)
{
    LogRoot log;
    WriteLogFile(log.folder() / "DATA_LOG_24HR26_03_01_08_00_00.DAT", 0, 100, 17);
    EXPECT_EQ(ShortTermRecordCount(), 100);
    WriteLogFile(log.folder() / "DATA_LOG_24HR26_03_02_08_00_00.DAT", 100, 43);
    EXPECT_EQ(ShortTermRecordCount(), 143);
    WriteLogFile(log.folder() / "DATA_LOG_24HR26_03_02_08_00_00.DAT", 100, 44);
    EXPECT_EQ(ShortTermRecordCount(), 144);
    WriteLogFile(log.folder() / "DATA_LOG_24HR26_03_02_08_00_00.DAT", 100, 200);
    EXPECT_EQ(ShortTermRecordCount(), 144);
}

TEST(ShortTermLogFiles, OnlyNamesOfTheLogShapeCount)
{
    LogRoot log;
    WriteLogFile(log.folder() / "DATA_LOG_24HR26_03_01_08_00.DAT", 0, 5);
    WriteLogFile(log.folder() / "GRAPH_DATA_LOG_24HR26_03_01_08_00_00.DAT", 0, 5);
    fs::create_directories(log.folder() / "DATA_LOG_24HR26_03_01_09_00_00.DAT");  // a folder
    EXPECT_EQ(ShortTermRecordCount(), 0);
    ASSERT_TRUE(WriteShortTermRecord(Numbered(7)));
    EXPECT_EQ(ShortTermRecordCount(), 1);
    EXPECT_EQ(Window(8, 0), std::vector<int>{7});
}

TEST(ShortTermLogWindow, ReadsOldestFirstEndingBeforeTheSkippedNewest)
{
    LogRoot log;
    WriteLogFile(log.folder() / "DATA_LOG_24HR26_03_01_08_00_00.DAT", 0, 20);
    EXPECT_EQ(Window(8, 0), Range(12, 19));
    EXPECT_EQ(Window(8, 3), Range(9, 16));
    EXPECT_EQ(Window(8, 12), Range(0, 7));   // the window ends at the file's start edge
    EXPECT_EQ(Window(8, 13), Range(0, 7));   // ... and stays there
    EXPECT_EQ(Window(8, 500), Range(0, 7));  // however far the skip goes
    EXPECT_EQ(Window(30, 0), Range(0, 19));  // fewer than wanted: all of them
}

TEST(ShortTermLogWindow, SpansTheTwoFilesInTheOrderTheyWereStarted)
{
    LogRoot log;
    WriteLogFile(log.folder() / "DATA_LOG_24HR26_03_01_08_00_00.DAT", 0, 144);
    WriteLogFile(log.folder() / "DATA_LOG_24HR26_03_02_08_00_00.DAT", 144, 5);
    EXPECT_EQ(Window(8, 0), Range(141, 148));  // three from the older, five from the newer
    EXPECT_EQ(Window(8, 5), Range(136, 143));  // all in the older
    EXPECT_EQ(Window(8, 4), Range(137, 144));  // one from the newer
    EXPECT_EQ(Window(3, 0), Range(146, 148));  // all in the newer
}

TEST(ShortTermLogWindow, OrderFollowsCreationNotName)
{
    LogRoot log;
    // Started first, though its name sorts after the other's (the clock was set back).
    WriteLogFile(log.folder() / "DATA_LOG_24HR26_03_09_08_00_00.DAT", 0, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));  // file times are coarse
    WriteLogFile(log.folder() / "DATA_LOG_24HR26_03_01_08_00_00.DAT", 10, 3);
    EXPECT_EQ(Window(5, 0), Range(8, 12));
}

TEST(ShortTermLogWindow, ThreeFilesAreAllDeletedAndLoggingStartsAfresh)
{
    LogRoot log;
    WriteLogFile(log.folder() / "DATA_LOG_24HR26_03_01_08_00_00.DAT", 0, 144);
    WriteLogFile(log.folder() / "DATA_LOG_24HR26_03_02_08_00_00.DAT", 144, 144);
    WriteLogFile(log.folder() / "DATA_LOG_24HR26_03_03_08_00_00.DAT", 288, 4);
    EXPECT_TRUE(Window(8, 0).empty());
    EXPECT_TRUE(log.Files().empty());
    ASSERT_TRUE(WriteShortTermRecord(Numbered(1)));
    EXPECT_EQ(log.Files().size(), 1u);
}

TEST(ShortTermLogWindow, AWriteFindingThreeFilesClearsThemRatherThanStopping)
{
    LogRoot log;
    WriteLogFile(log.folder() / "DATA_LOG_24HR26_03_01_08_00_00.DAT", 0, 144);
    WriteLogFile(log.folder() / "DATA_LOG_24HR26_03_02_08_00_00.DAT", 144, 144);
    WriteLogFile(log.folder() / "DATA_LOG_24HR26_03_03_08_00_00.DAT", 288, 4);
    ASSERT_TRUE(WriteShortTermRecord(Numbered(9)));
    EXPECT_EQ(log.Files().size(), 1u);
    EXPECT_EQ(Window(8, 0), std::vector<int>{9});
}

TEST(ShortTermLogWindow, DeleteRemovesTheLogFiles)
{
    LogRoot log;
    WriteSamples(0, 150);
    ASSERT_EQ(log.Files().size(), 2u);
    DeleteShortTermLogFiles();
    EXPECT_TRUE(log.Files().empty());
    EXPECT_EQ(ShortTermRecordCount(), 0);
    EXPECT_TRUE(Window(8, 0).empty());
}

TEST(ShortTermLogDamage, APartialSampleAtTheEndIsIgnoredAndThenOverwritten)
{
    LogRoot log;
    const fs::path file = log.folder() / "DATA_LOG_24HR26_03_01_08_00_00.DAT";
    WriteLogFile(file, 0, 5, 7);
    EXPECT_EQ(ShortTermRecordCount(), 5);
    EXPECT_EQ(Window(8, 0), Range(0, 4));
    EXPECT_EQ(Window(2, 1), Range(2, 3));
    ASSERT_TRUE(WriteShortTermRecord(Numbered(5)));
    EXPECT_EQ(fs::file_size(file), 6u * 18u);  // on the boundary again
    EXPECT_EQ(Window(8, 0), Range(0, 5));
}

TEST(ShortTermLogDamage, FilesTooShortForOneSampleShowNothing)
{
    LogRoot log;
    WriteLogFile(log.folder() / "DATA_LOG_24HR26_03_01_08_00_00.DAT", 0, 0, 10);
    WriteLogFile(log.folder() / "DATA_LOG_24HR26_03_02_08_00_00.DAT", 0, 0, 0);
    EXPECT_EQ(ShortTermRecordCount(), 0);
    EXPECT_TRUE(Window(8, 0).empty());
    EXPECT_TRUE(Window(8, 100).empty());
}

TEST(ShortTermLogDamage, ABadFileIsStillReadAsSamplesWithoutHarm)
{
    LogRoot log;
    const fs::path file = log.folder() / "DATA_LOG_24HR26_03_01_08_00_00.DAT";
    fs::create_directories(file.parent_path());
    {
        std::ofstream out(file, std::ios::binary);
        for (int i = 0; i < 18 * 3 + 5; ++i) out.put(static_cast<char>(0xFF));
    }
    std::array<DataLogSample, 8> out;
    ASSERT_EQ(ReadShortTermWindow(out, 0), 3);
    EXPECT_EQ(out[0].grainTemp, -1);
    EXPECT_EQ(out[0].hour, 255);  // shown as it is; nothing reads past the record
}

}  // namespace
