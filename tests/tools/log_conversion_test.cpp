// dryerlog's conversions: each record file as CSV with its units and ISO 8601 times, the kind
// and year a file's name gives, and files cut short or damaged: the good records before the bad
// one are kept and the bad one is named by its byte offset.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/dryerlog/log_conversion.h"

namespace {

using namespace dryerlog;
using Bytes = std::vector<std::uint8_t>;

// An 18-byte sample of the short-term and graph logs.
Bytes Sample(int grain, int wetTenths, int wetMoisture, int dryTenths, int dryMoisture, int rollPct,
             int hour, int minute, int second, int month, int day)
{
    const auto hi = [](int v) { return static_cast<std::uint8_t>((v >> 8) & 0xFF); };
    const auto lo = [](int v) { return static_cast<std::uint8_t>(v & 0xFF); };
    return Bytes{hi(grain),
                 lo(grain),
                 hi(wetTenths),
                 lo(wetTenths),
                 hi(wetMoisture),
                 lo(wetMoisture),
                 hi(dryTenths),
                 lo(dryTenths),
                 hi(dryMoisture),
                 lo(dryMoisture),
                 0,
                 static_cast<std::uint8_t>(rollPct),
                 0,
                 static_cast<std::uint8_t>(hour),
                 static_cast<std::uint8_t>(minute),
                 static_cast<std::uint8_t>(second),
                 static_cast<std::uint8_t>(month),
                 static_cast<std::uint8_t>(day)};
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

const std::string kSampleHeader =
    "time_local_iso8601,grain_temp_F,incoming_grain_temp_F,incoming_moisture_pct,"
    "outgoing_grain_temp_F,outgoing_moisture_pct,meter_roll_output_pct\n";

TEST(DryerLogNames, KindAndYearFromTheFileName)
{
    EXPECT_EQ(KindFromName("/tmp/usb/DryerShutdownHistory.txt"), LogKind::history);
    EXPECT_EQ(KindFromName("LongTermDataLog26_03_03_14_05_09.DAT"), LogKind::longTerm);
    EXPECT_EQ(KindFromName("data_log_24hr26_03_03_14_05_09.dat"), LogKind::shortTerm);
    EXPECT_EQ(KindFromName("C:\\logs\\GRAPH_DATA_LOG_24HR25_12_31_23_00_00.DAT"), LogKind::graph);
    EXPECT_FALSE(KindFromName("notes.txt").has_value());
    EXPECT_EQ(YearFromName("DATA_LOG_24HR26_03_03_14_05_09.DAT"), 2026);
    EXPECT_EQ(YearFromName("GRAPH_DATA_LOG_24HR09_03_05_14_27_00.DAT"), 2009);
    EXPECT_EQ(YearFromName("LongTermDataLog31_01_01_00_00_00.DAT"), 2031);
    EXPECT_FALSE(YearFromName("LongTermDataLog.dat").has_value());
    EXPECT_FALSE(YearFromName("DATA_LOG_24HRxx_03_03.DAT").has_value());
}

TEST(DryerLogSamples, OneLinePerSampleWithUnitsAndIsoTimes)
{
    const Bytes file = Join({Sample(118, 652, 215, 1003, 154, 47, 14, 5, 9, 3, 3),
                             Sample(-12, -5, 0, -123, 999, 100, 0, 0, 0, 12, 31)});
    const Conversion c = ConvertSamples(file, 2026);
    EXPECT_TRUE(c.problem.empty()) << c.problem;
    EXPECT_EQ(c.records, 2u);
    EXPECT_EQ(c.csv, kSampleHeader +
                         "2026-03-03T14:05:09,118,65.2,21.5,100.3,15.4,47\n"
                         "2026-12-31T00:00:00,-12,-0.5,0.0,-12.3,99.9,100\n");
}

TEST(DryerLogSamples, AFileRunningIntoTheNewYearTakesTheNextYear)
{
    const Bytes file = Join({Sample(100, 0, 0, 0, 0, 0, 23, 59, 50, 12, 31),
                             Sample(100, 0, 0, 0, 0, 0, 0, 9, 50, 1, 1)});
    const Conversion c = ConvertSamples(file, 2026);
    EXPECT_NE(c.csv.find("2026-12-31T23:59:50"), std::string::npos);
    EXPECT_NE(c.csv.find("2027-01-01T00:09:50"), std::string::npos);
}

TEST(DryerLogSamples, ACutLastSampleIsNamedAndTheWholeOnesKept)
{
    Bytes file =
        Join({Sample(1, 0, 0, 0, 0, 0, 1, 2, 3, 3, 3), Sample(2, 0, 0, 0, 0, 0, 1, 2, 4, 3, 3)});
    file.resize(18 + 11);
    const Conversion c = ConvertSamples(file, 2026);
    EXPECT_EQ(c.records, 1u);
    EXPECT_EQ(c.problem, "truncated record at byte offset 18 (11 of 18 bytes)");
    EXPECT_EQ(c.csv, kSampleHeader + "2026-03-03T01:02:03,1,0.0,0.0,0.0,0.0,0\n");
}

TEST(DryerLogSamples, ADamagedSampleStopsTheFileAtItsOffset)
{
    const struct {
        Bytes bad;
        const char* why;
    } cases[] = {
        {Sample(1, 0, 0, 0, 0, 0, 24, 0, 0, 3, 3), "the time is no time of day"},
        {Sample(1, 0, 0, 0, 0, 0, 23, 60, 0, 3, 3), "the time is no time of day"},
        {Sample(1, 0, 0, 0, 0, 0, 23, 0, 60, 3, 3), "the time is no time of day"},
        {Sample(1, 0, 0, 0, 0, 0, 1, 0, 0, 13, 3), "the date is no day of the year"},
        {Sample(1, 0, 0, 0, 0, 0, 1, 0, 0, 2, 29), "the date is no day of the year"},  // 2026
        {Sample(1, 0, 0, 0, 0, 0, 1, 0, 0, 4, 0), "the date is no day of the year"},
        {Join({Bytes(10, 0), Bytes{1, 0, 0, 1, 0, 0, 3, 3}}), "bytes 10 and 12 must be 0"},
    };
    for (const auto& c : cases) {
        const Bytes file = Join({Sample(1, 0, 0, 0, 0, 0, 1, 0, 0, 3, 3),
                                 Sample(2, 0, 0, 0, 0, 0, 1, 0, 1, 3, 3), c.bad});
        const Conversion out = ConvertSamples(file, 2026);
        EXPECT_EQ(out.records, 2u) << c.why;
        EXPECT_EQ(out.problem, std::string("corrupt record at byte offset 36: ") + c.why);
    }
    // The last valid moments pass: 23:59:59 on 29 February of a leap year.
    EXPECT_TRUE(ConvertSamples(Sample(1, 0, 0, 0, 0, 0, 23, 59, 59, 2, 29), 2028).problem.empty());
}

TEST(DryerLogLongTerm, RecordsWithTheirTimeOfDay)
{
    const Bytes file{0x00, 118,  0x02, 0x8C, 0x00, 215,  0xFF, 0x85, 0x00, 154, 0x01,
                     0x2C, 0xA5, 23,   59,   48,   0xFF, 0xF4, 0,    0,    0,   0,
                     0,    0,    0,    0,    0,    0,    0,    7,    0,    1};
    const Conversion c = ConvertLongTerm(file);
    EXPECT_TRUE(c.problem.empty()) << c.problem;
    EXPECT_EQ(c.csv,
              "time_local_iso8601,grain_temp_F,incoming_grain_temp_F,incoming_moisture_pct,"
              "outgoing_grain_temp_F,outgoing_moisture_pct,meter_roll_speed_rpm,byte_202\n"
              "23:59:48,118,65.2,21.5,-12.3,15.4,30.0,165\n"
              "07:00:01,-12,0.0,0.0,0.0,0.0,0.0,0\n");
}

TEST(DryerLogLongTerm, CutAndDamagedRecordsAreNamedByOffset)
{
    Bytes file(16 * 3 + 5, 0);
    Conversion c = ConvertLongTerm(file);
    EXPECT_EQ(c.records, 3u);
    EXPECT_EQ(c.problem, "truncated record at byte offset 48 (5 of 16 bytes)");
    file.resize(16 * 3);
    file[16 + 14] = 61;  // minute 61 in the second record
    c = ConvertLongTerm(file);
    EXPECT_EQ(c.records, 1u);
    EXPECT_EQ(c.problem, "corrupt record at byte offset 16: time 0:61:0 is no time of day");
    EXPECT_TRUE(ConvertLongTerm({}).problem.empty());
}

TEST(DryerLogHistory, LinesAsCsvWithIsoTimes)
{
    const std::string text =
        "0E08 - MAIN I/O - OUT OF GRAIN TIMER EXPIRED;MAIN I/O;Mar 03, 2026;2:05 PM;\n"
        "0203 - BURNER #1, \"VAPOR\" TEMP;FAN/HEATER #1;Dec 31, 2025;12:00 AM;\n"
        "0F02 - 10\xB0"
        "F;MOISTURE CONT;Jan 01, 2026;12:30 PM;\n";
    const Conversion c = ConvertHistory(text);
    EXPECT_TRUE(c.problem.empty()) << c.problem;
    EXPECT_EQ(c.records, 3u);
    EXPECT_EQ(c.csv,
              "warning,node,time_local_iso8601\n"
              "0E08 - MAIN I/O - OUT OF GRAIN TIMER EXPIRED,MAIN I/O,2026-03-03T14:05\n"
              "\"0203 - BURNER #1, \"\"VAPOR\"\" TEMP\",FAN/HEATER #1,2025-12-31T00:00\n"
              "0F02 - 10\xC2\xB0"
              "F,MOISTURE CONT,2026-01-01T12:30\n");
}

TEST(DryerLogHistory, ABadLineIsNamedByItsNumberAndOffset)
{
    const std::string good = "A;MAIN I/O;Mar 03, 2026;2:05 PM;\n";  // 33 bytes
    const struct {
        std::string bad;
        std::string problem;
    } cases[] = {
        {"A;MAIN I/O;Mar 03, 2026;\n",
         "corrupt line 3 at byte offset 66: not four fields each closed by ';'"},
        {"A;MAIN I/O;Mar 03, 2026;2:05 PM;x\n",
         "corrupt line 3 at byte offset 66: not four fields each closed by ';'"},
        {"A;MAIN I/O;Feb 30, 2026;2:05 PM;\n",
         "corrupt line 3 at byte offset 66: date or time not like \"Mar 03, 2026;2:05 PM\""},
        {"A;MAIN I/O;Mar 03, 2026;13:05 PM;\n",
         "corrupt line 3 at byte offset 66: date or time not like \"Mar 03, 2026;2:05 PM\""},
    };
    for (const auto& c : cases) {
        const Conversion out = ConvertHistory(good + good + c.bad + good);
        EXPECT_EQ(out.records, 2u) << c.bad;
        EXPECT_EQ(out.problem, c.problem);
    }
    // A copy cut off inside its last line.
    const Conversion cut = ConvertHistory(good + good + "A;MAIN I/O;Mar 03, 2026;2:0");
    EXPECT_EQ(cut.records, 2u);
    EXPECT_EQ(cut.problem, "truncated line 3 at byte offset 66: the line has no end");
}

}  // namespace
