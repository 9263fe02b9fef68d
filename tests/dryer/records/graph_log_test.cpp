// The graph data log's files: their names, the 24-hour limit, the two days kept, damaged files,
// and the window of the log the graph loads: its hours, offsets, averaging and scales.
#include "dryer/records/graph_log.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "platform/runtime/clock.h"
#include "platform/storage/files.h"
#include "tests/dryer/records/short_term_log_support.h"

namespace {

namespace fs = std::filesystem;
using records_test::AdvanceSeconds;
using records_test::LogRoot;
using records_test::Numbered;
using records_test::NumberOf;
using records_test::WriteLogFile;

constexpr int kHour = 360;        // samples
constexpr int kDay = 24 * kHour;  // samples in a full file

fs::path GraphFolder(const LogRoot& log)
{
    return log.root() / "Hard Disk" / "GraphDataLog";
}

std::vector<std::string> GraphFiles(const LogRoot& log)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(GraphFolder(log), ec), end; !ec && it != end; it.increment(ec)) {
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::uintmax_t SizeOf(const LogRoot& log, const std::string& name)
{
    return fs::file_size(GraphFolder(log) / name);
}

std::string ExpectedName(const SYSTEMTIME& t)
{
    char name[64];
    std::snprintf(name, sizeof name, "GRAPH_DATA_LOG_24HR%02d_%02d_%02d_%02d_%02d_%02d.DAT",
                  t.wYear % 100, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return name;
}

// Hand-written files get distinct creation times, in the order they are written.
void WriteGraphFile(const LogRoot& log, const std::string& name, int first, int count,
                    int extraBytes = 0)
{
    WriteLogFile(GraphFolder(log) / name, first, count, extraBytes);
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
}

GraphWindow Load(int scaleCode, int offset)
{
    GraphWindow w;
    EXPECT_TRUE(LoadGraphWindow(scaleCode, offset, w));
    return w;
}

// The moisture-in values of the loaded points (the sample numbers, or their averages).
std::vector<int> MoistureIn(const GraphWindow& w)
{
    const auto& v = w.values[kTraceMoistureIn];
    return std::vector<int>(v.begin(), v.begin() + w.points);
}

TEST(GraphLogFiles, FirstSampleStartsAFileNamedForTheLocalTime)
{
    LogRoot log;
    SYSTEMTIME now;
    GetLocalTime(&now);
    ASSERT_TRUE(WriteGraphRecord(Numbered(1)));
    EXPECT_EQ(GraphFiles(log), std::vector<std::string>{ExpectedName(now)});
    EXPECT_EQ(SizeOf(log, ExpectedName(now)), 18u);
    AdvanceSeconds(10);
    ASSERT_TRUE(WriteGraphRecord(Numbered(2)));
    EXPECT_EQ(GraphFiles(log).size(), 1u);
    EXPECT_EQ(SizeOf(log, ExpectedName(now)), 36u);
}

TEST(GraphLogFiles, AFileTakesTwentyFourHoursThenTheNextSampleStartsASecond)
{
    LogRoot log;
    const std::string day1 = "GRAPH_DATA_LOG_24HR26_03_02_14_00_00.DAT";
    WriteGraphFile(log, day1, 0, kDay - 1);  // 155502 bytes: one sample short of full
    ASSERT_TRUE(WriteGraphRecord(Numbered(kDay - 1)));
    EXPECT_EQ(SizeOf(log, day1), 155520u);
    EXPECT_EQ(GraphFiles(log).size(), 1u);

    AdvanceSeconds(10);
    SYSTEMTIME now;
    GetLocalTime(&now);
    ASSERT_TRUE(WriteGraphRecord(Numbered(kDay)));
    EXPECT_EQ(GraphFiles(log), (std::vector<std::string>{day1, ExpectedName(now)}));
    EXPECT_EQ(SizeOf(log, day1), 155520u);  // never above its 24 hours
    EXPECT_EQ(SizeOf(log, ExpectedName(now)), 18u);
}

TEST(GraphLogFiles, TwoFullDaysLoseTheOlderWhenTheThirdBegins)
{
    LogRoot log;
    const std::string day1 = "GRAPH_DATA_LOG_24HR26_03_01_14_00_00.DAT";
    const std::string day2 = "GRAPH_DATA_LOG_24HR26_03_02_14_00_00.DAT";
    WriteGraphFile(log, day1, 0, kDay);
    WriteGraphFile(log, day2, kDay, kDay);
    SYSTEMTIME now;
    GetLocalTime(&now);
    ASSERT_TRUE(WriteGraphRecord(Numbered(2 * kDay)));
    EXPECT_EQ(GraphFiles(log), (std::vector<std::string>{day2, ExpectedName(now)}));
    EXPECT_EQ(SizeOf(log, ExpectedName(now)), 18u);
}

// The newer of two files decides: once it is full a new day begins, whatever the older holds,
// so a file never grows past 24 hours.
TEST(GraphLogFiles, AFullNewerFileIsNeverAppendedToPastItsDay)
{
    LogRoot log;
    const std::string older = "GRAPH_DATA_LOG_24HR26_03_01_14_00_00.DAT";
    const std::string newer = "GRAPH_DATA_LOG_24HR26_03_02_14_00_00.DAT";
    WriteGraphFile(log, older, 0, 100);  // cut short, e.g. copied back by hand
    WriteGraphFile(log, newer, 100, kDay);
    SYSTEMTIME now;
    GetLocalTime(&now);
    ASSERT_TRUE(WriteGraphRecord(Numbered(7)));
    EXPECT_EQ(SizeOf(log, newer), 155520u);
    EXPECT_EQ(GraphFiles(log), (std::vector<std::string>{newer, ExpectedName(now)}));
}

TEST(GraphLogFiles, WhileTheNewerHasRoomItTakesTheSample)
{
    LogRoot log;
    const std::string older = "GRAPH_DATA_LOG_24HR26_03_01_14_00_00.DAT";
    const std::string newer = "GRAPH_DATA_LOG_24HR26_03_02_14_00_00.DAT";
    WriteGraphFile(log, older, 0, kDay);
    WriteGraphFile(log, newer, kDay, 5);
    ASSERT_TRUE(WriteGraphRecord(Numbered(9)));
    EXPECT_EQ(SizeOf(log, older), 155520u);
    EXPECT_EQ(SizeOf(log, newer), 6u * 18u);
}

// Three files (copied in by hand, or left by a crash): the oldest goes, and logging carries on
// in the newest instead of starting a file for every sample.
TEST(GraphLogFiles, AThirdFileIsClearedAwayOldestFirst)
{
    LogRoot log;
    const std::string a = "GRAPH_DATA_LOG_24HR26_03_01_14_00_00.DAT";
    const std::string b = "GRAPH_DATA_LOG_24HR26_03_02_14_00_00.DAT";
    const std::string c = "GRAPH_DATA_LOG_24HR26_03_03_14_00_00.DAT";
    WriteGraphFile(log, a, 0, 10);
    WriteGraphFile(log, b, 10, 10);
    WriteGraphFile(log, c, 20, 10);
    ASSERT_TRUE(WriteGraphRecord(Numbered(30)));
    EXPECT_EQ(GraphFiles(log), (std::vector<std::string>{b, c}));
    EXPECT_EQ(SizeOf(log, c), 11u * 18u);
    AdvanceSeconds(10);
    ASSERT_TRUE(WriteGraphRecord(Numbered(31)));
    EXPECT_EQ(GraphFiles(log).size(), 2u);
    EXPECT_EQ(SizeOf(log, c), 12u * 18u);
}

TEST(GraphLogFiles, APartialSampleLeftByAnInterruptedWriteIsOverwritten)
{
    LogRoot log;
    const std::string name = "GRAPH_DATA_LOG_24HR26_03_03_10_00_00.DAT";
    WriteGraphFile(log, name, 0, 20, 7);
    ASSERT_TRUE(WriteGraphRecord(Numbered(20)));
    EXPECT_EQ(SizeOf(log, name), 21u * 18u);
    const GraphWindow w = Load(0, 0);
    ASSERT_EQ(w.points, 21);
    EXPECT_EQ(w.values[kTraceMoistureIn][20], 20);
}

TEST(GraphLogFiles, ASampleTheFullDiskCutsShortIsLostWithoutShiftingTheNext)
{
    LogRoot log;
    const std::string name = "GRAPH_DATA_LOG_24HR26_03_03_10_00_00.DAT";
    WriteGraphFile(log, name, 0, 10);
    platform::FailFileWrites(1, 7);  // 7 of the 18 bytes reach the disk
    EXPECT_FALSE(WriteGraphRecord(Numbered(10)));
    EXPECT_EQ(SizeOf(log, name), 10u * 18u);
    ASSERT_TRUE(WriteGraphRecord(Numbered(11)));
    const GraphWindow w = Load(0, 0);
    ASSERT_EQ(w.points, 11);
    EXPECT_EQ(w.values[kTraceMoistureIn][9], 9);
    EXPECT_EQ(w.values[kTraceMoistureIn][10], 11);
}

TEST(GraphLogWindow, WithoutFilesNothingIsLoaded)
{
    LogRoot log;
    const GraphWindow w = Load(3, 5);
    EXPECT_EQ(w.samples, 0);
    EXPECT_EQ(w.points, 0);
    EXPECT_EQ(w.hoursAvailable, 0);
    EXPECT_EQ(w.offset, 0);
}

// Less than an hour: the whole log is shown, its points as they are, and the offset is 0.
TEST(GraphLogWindow, LessThanAnHourShowsTheWholeLog)
{
    LogRoot log;
    WriteGraphFile(log, "GRAPH_DATA_LOG_24HR26_03_03_10_00_00.DAT", 100, 30);
    const GraphWindow w = Load(0, 4);
    EXPECT_EQ(w.hoursAvailable, 0);
    EXPECT_EQ(w.maxOffset, 0);
    EXPECT_EQ(w.offset, 0);
    EXPECT_EQ(w.samples, 30);
    ASSERT_EQ(w.points, 30);
    EXPECT_EQ(w.values[kTraceMoistureIn][0], 100);
    EXPECT_EQ(w.values[kTraceMoistureIn][29], 129);
    // The scale is that of the logged values: the empty rest of the window is not drawn as 0.
    EXPECT_EQ(w.scales[kTraceMoistureIn].base, 100);
    EXPECT_EQ(NumberOf(w.first), 100);
    EXPECT_EQ(NumberOf(w.middle), 115);
    EXPECT_EQ(NumberOf(w.last), 129);
}

// A log shorter than the window on the 8-hour scale: eight samples a point, the last point the
// average of the samples there are.
TEST(GraphLogWindow, AShortLogEndsInAPointOfTheSamplesThereAre)
{
    LogRoot log;
    WriteGraphFile(log, "GRAPH_DATA_LOG_24HR26_03_03_10_00_00.DAT", 0, 20);
    const GraphWindow w = Load(3, 0);
    EXPECT_EQ(MoistureIn(w), (std::vector<int>{3, 11, 17}));  // (0..7)/8, (8..15)/8, (16..19)/4
}

TEST(GraphLogWindow, EachScaleAveragesItsSamplesIntoThreeHundredSixtyPoints)
{
    LogRoot log;
    WriteGraphFile(log, "GRAPH_DATA_LOG_24HR26_03_03_00_00_00.DAT", 0, 9 * kHour);
    for (int code = 0; code < 4; ++code) {
        const int k = 1 << code;
        const GraphWindow w = Load(code, 0);
        ASSERT_EQ(w.points, 360) << code;
        EXPECT_EQ(w.samples, 360 * k) << code;
        const int first = 9 * kHour - 360 * k;
        // Point i averages samples first + k i .. first + k i + k - 1, rounded down.
        for (int i : {0, 1, 180, 359}) {
            const int expected = first + k * i + (k - 1) / 2;
            EXPECT_EQ(w.values[kTraceMoistureIn][static_cast<std::size_t>(i)], expected)
                << "scale " << code << " point " << i;
        }
        EXPECT_EQ(NumberOf(w.last), 9 * kHour - 1);
    }
}

TEST(GraphLogWindow, TemperaturesInAndOutAreWholeDegreesAndSignedValuesStaySigned)
{
    LogRoot log;
    std::vector<DataLogSample> samples;
    for (int n = 0; n < 4; ++n) {
        DataLogSample s = Numbered(n);
        s.incomingTemp = -405 + n;  // tenths: -40.5 .. -40.2 deg F
        s.outgoingTemp = 987;
        s.grainTemp = -5;
        s.meterRollOutput = 60 + n;
        s.outgoingMoisture = 150 + n;
        samples.push_back(s);
    }
    fs::create_directories(GraphFolder(log));
    std::ofstream out(GraphFolder(log) / "GRAPH_DATA_LOG_24HR26_03_03_10_00_00.DAT",
                      std::ios::binary);
    for (const auto& s : samples) {
        const DataLogRecord r = EncodeDataLogSample(s);
        out.write(reinterpret_cast<const char*>(r.data()), 18);
    }
    out.close();
    const GraphWindow w = Load(1, 0);  // two samples a point
    ASSERT_EQ(w.points, 2);
    EXPECT_EQ(w.values[kTraceTempIn][0], -40);  // (-405 - 404) / 20, toward zero
    EXPECT_EQ(w.values[kTraceTempOut][0], 98);
    EXPECT_EQ(w.values[kTraceGrainTemp][1], -5);
    EXPECT_EQ(w.values[kTraceMeterRoll][1], 62);  // (62 + 63) / 2
    EXPECT_EQ(w.values[kTraceMoistureOut][0], 150);
    EXPECT_EQ(w.scales[kTraceGrainTemp].base, -5);
    EXPECT_LE(w.scales[kTraceTempIn].base, -40);
}

TEST(GraphLogWindow, TheOffsetMovesTheWindowBackByWholeHoursUpToTheOldest)
{
    LogRoot log;
    WriteGraphFile(log, "GRAPH_DATA_LOG_24HR26_03_03_00_00_00.DAT", 0, 3 * kHour + 100);
    GraphWindow w = Load(0, 1);
    EXPECT_EQ(w.hoursAvailable, 3);
    EXPECT_EQ(w.maxOffset, 2);
    EXPECT_EQ(w.offset, 1);
    EXPECT_EQ(NumberOf(w.last), 3 * kHour + 100 - 1 - kHour);
    EXPECT_EQ(w.values[kTraceMoistureIn][0], 100 + kHour);
    w = Load(0, 2);
    EXPECT_EQ(w.values[kTraceMoistureIn][0], 100);
    // Beyond the oldest hour the offset is held at the oldest window.
    w = Load(0, 9);
    EXPECT_EQ(w.offset, 2);
    EXPECT_EQ(w.values[kTraceMoistureIn][0], 100);
    // A wider scale pulls the offset in: 3 hours logged leave the 2-hour window one hour back.
    w = Load(1, 9);
    EXPECT_EQ(w.maxOffset, 1);
    EXPECT_EQ(w.offset, 1);
    // The 4-hour window is wider than the log: all of it, at offset 0.
    w = Load(2, 1);
    EXPECT_EQ(w.offset, 0);
    EXPECT_EQ(w.samples, 3 * kHour + 100);
}

// Thirty hours in two files: the hours available stop at 24, so the 1-hour window goes back 23
// hours; a window across the two files reads the older file's end, then the newer's start.
TEST(GraphLogWindow, ThirtyHoursInTwoFilesGoBackTwentyThreeHours)
{
    LogRoot log;
    WriteGraphFile(log, "GRAPH_DATA_LOG_24HR26_03_02_00_00_00.DAT", 0, kDay);
    WriteGraphFile(log, "GRAPH_DATA_LOG_24HR26_03_03_00_00_00.DAT", kDay, 6 * kHour);
    GraphWindow w = Load(0, 30);
    EXPECT_EQ(w.hoursAvailable, 24);
    EXPECT_EQ(w.maxOffset, 23);
    EXPECT_EQ(w.offset, 23);
    EXPECT_EQ(w.values[kTraceMoistureIn][0], 30 * kHour - 24 * kHour);
    w = Load(0, 6);  // the hour just before the newer file began, and across it
    EXPECT_EQ(w.values[kTraceMoistureIn][0], kDay - kHour);
    EXPECT_EQ(w.values[kTraceMoistureIn][359], kDay - 1);
    w = Load(1, 6);  // two hours: one in each file
    for (int i = 1; i < w.points; ++i) {
        ASSERT_EQ(w.values[kTraceMoistureIn][static_cast<std::size_t>(i)],
                  w.values[kTraceMoistureIn][static_cast<std::size_t>(i - 1)] + 2)
            << i;
    }
}

TEST(GraphLogWindow, DamagedFilesGiveTheirWholeSamplesAndNeverCrash)
{
    LogRoot log;
    fs::create_directories(GraphFolder(log));
    // A file of five stray bytes: no whole sample.
    std::ofstream(GraphFolder(log) / "GRAPH_DATA_LOG_24HR26_03_02_00_00_00.DAT", std::ios::binary)
        << "\x01\x02\x03\x04\x05";
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
    GraphWindow w = Load(0, 0);
    EXPECT_EQ(w.samples, 0);
    EXPECT_EQ(w.points, 0);
    // A newer file cut in the middle of its last sample.
    WriteGraphFile(log, "GRAPH_DATA_LOG_24HR26_03_03_00_00_00.DAT", 500, 40, 11);
    w = Load(0, 0);
    EXPECT_EQ(w.samples, 40);
    EXPECT_EQ(NumberOf(w.last), 539);
    // Garbage bytes of whole-sample length read as samples, with values in range of 16 bits.
    std::ofstream(GraphFolder(log) / "GRAPH_DATA_LOG_24HR26_03_03_00_00_00.DAT",
                  std::ios::binary | std::ios::app)
        << std::string(7 + 18 * 3, '\xFF');
    w = Load(3, 0);
    EXPECT_GT(w.points, 0);
    for (int t = 0; t < kGraphTraceCount; ++t) {
        const GraphScale& s = w.scales[static_cast<std::size_t>(t)];
        for (int i = 0; i < w.points; ++i) {
            const int h = GraphPointHeight(
                w.values[static_cast<std::size_t>(t)][static_cast<std::size_t>(i)], s);
            EXPECT_GE(h, 0);
            EXPECT_LE(h, 180);
        }
    }
}

}  // namespace
