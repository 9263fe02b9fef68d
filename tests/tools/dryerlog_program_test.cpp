// The built dryerlog run as a service technician runs it: its help, a whole file to a CSV file,
// a cut file reported on stderr with exit status 1 and its good records still written, and a
// bad command line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "tests/support/child_process.h"

namespace {

namespace fs = std::filesystem;
using test_support::ChildProcess;
using test_support::ReadFile;

class DryerLogProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("dryerlog-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs dryerlog with `args`; its exit status, and its stdout and stderr.
    int Run(std::vector<std::string> args, std::string& out, std::string& err)
    {
        args.insert(args.begin(), DRYERLOG_EXECUTABLE);
        ChildProcess child(args, dir_);
        EXPECT_TRUE(child.started());
        const int code = child.ExitCode(10000);
        out = child.Stdout();
        err = child.Stderr();
        return code;
    }

    fs::path Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return dir_ / name;
    }

    fs::path dir_;
};

TEST_F(DryerLogProgram, HelpNamesEveryKindAndOption)
{
    std::string out, err;
    EXPECT_EQ(Run({"--help"}, out, err), 0);
    for (const char* word : {"usage: dryerlog", "--kind", "--year", "--output", "--png", "history",
                             "longterm", "shortterm", "graph", "ISO 8601"}) {
        EXPECT_NE(out.find(word), std::string::npos) << word;
    }
}

TEST_F(DryerLogProgram, AWholeHistoryGoesToTheOutputFile)
{
    const fs::path in = Write("DryerShutdownHistory.txt", "A;MAIN I/O;Mar 03, 2026;2:05 PM;\n");
    std::string out, err;
    EXPECT_EQ(Run({in.string(), "--output", (dir_ / "h.csv").string()}, out, err), 0) << err;
    EXPECT_EQ(ReadFile(dir_ / "h.csv"),
              "warning,node,time_local_iso8601\nA,MAIN I/O,2026-03-03T14:05\n");
    EXPECT_TRUE(err.empty());
}

TEST_F(DryerLogProgram, ACutLogIsReportedAndItsWholeRecordsWritten)
{
    std::string bytes(16 * 2 + 7, '\0');
    bytes[13] = 9;  // 09:00:00
    const fs::path in = Write("LongTermDataLog26_03_03_14_05_09.DAT", bytes);
    std::string out, err;
    EXPECT_EQ(Run({in.string()}, out, err), 1);
    EXPECT_NE(out.find("\n09:00:00,0,"), std::string::npos);
    EXPECT_NE(out.find("\n00:00:00,0,"), std::string::npos);
    EXPECT_NE(err.find("truncated record at byte offset 32 (7 of 16 bytes); the 2 good records "
                       "before it are written"),
              std::string::npos)
        << err;
}

TEST_F(DryerLogProgram, AShortTermFileWithoutAYearInItsNameNeedsOne)
{
    std::string sample(18, '\0');
    sample[16] = 3;
    sample[17] = 3;
    const fs::path in = Write("copy.dat", sample);
    std::string out, err;
    EXPECT_EQ(Run({in.string()}, out, err), 2);
    EXPECT_NE(err.find("give --kind"), std::string::npos);
    EXPECT_EQ(Run({in.string(), "--kind", "shortterm"}, out, err), 2);
    EXPECT_NE(err.find("give --year"), std::string::npos);
    EXPECT_EQ(Run({in.string(), "--kind", "graph", "--year", "2026"}, out, err), 0) << err;
    EXPECT_NE(out.find("2026-03-03T00:00:00,0,"), std::string::npos);
    EXPECT_EQ(Run({in.string(), "--kind", "weekly"}, out, err), 2);
    EXPECT_NE(err.find("weekly"), std::string::npos);
}

TEST_F(DryerLogProgram, AMissingFileCannotBeRead)
{
    std::string out, err;
    EXPECT_EQ(Run({(dir_ / "DryerShutdownHistory.txt").string()}, out, err), 1);
    EXPECT_NE(err.find("cannot be read"), std::string::npos);
}

// A graph log of `hours` hours, 10 seconds a sample from midnight on 3/3.
std::string GraphLogOf(int hours)
{
    std::string bytes;
    for (int s = 0; s < hours * 360; ++s) {
        std::string sample(18, '\0');
        sample[1] = 100;  // grain at 100 F
        const int seconds = s * 10;
        sample[13] = static_cast<char>(seconds / 3600);
        sample[14] = static_cast<char>(seconds / 60 % 60);
        sample[15] = static_cast<char>(seconds % 60);
        sample[16] = 3;
        sample[17] = 3;
        bytes += sample;
    }
    return bytes;
}

// Width and height from a PNG file's header; 0, 0 when it is no PNG.
std::pair<std::uint32_t, std::uint32_t> PngSize(const std::string& png)
{
    if (png.size() < 24 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return {0, 0};
    const auto be = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<std::uint8_t>(png[at + i]);
        return v;
    };
    return {be(16), be(20)};
}

TEST_F(DryerLogProgram, AGraphLogIsDrawnAsAPicture)
{
    const fs::path in = Write("GRAPH_DATA_LOG_24HR26_03_03_00_00_00.DAT", GraphLogOf(10));
    std::string out, err;
    EXPECT_EQ(Run({in.string(), "--png", (dir_ / "trend.png").string()}, out, err), 0) << err;
    EXPECT_TRUE(out.empty());  // the picture instead of the CSV
    EXPECT_EQ(PngSize(ReadFile(dir_ / "trend.png")), std::make_pair(380u, 440u));

    // with --output, the CSV as well
    EXPECT_EQ(Run({in.string(), "--png", (dir_ / "t2.png").string(), "--output",
                   (dir_ / "t2.csv").string()},
                  out, err),
              0)
        << err;
    EXPECT_NE(ReadFile(dir_ / "t2.csv").find("2026-03-03T09:59:50,"), std::string::npos);
    EXPECT_EQ(PngSize(ReadFile(dir_ / "t2.png")), std::make_pair(380u, 440u));
}

TEST_F(DryerLogProgram, ACutGraphLogIsDrawnAndTheCutReported)
{
    const fs::path in =
        Write("GRAPH_DATA_LOG_24HR26_03_03_00_00_00.DAT", GraphLogOf(1) + std::string(7, '\0'));
    std::string out, err;
    EXPECT_EQ(Run({in.string(), "--png", (dir_ / "trend.png").string()}, out, err), 1);
    EXPECT_NE(err.find("truncated record at byte offset 6480 (7 of 18 bytes); the 360 good "
                       "records before it are drawn"),
              std::string::npos)
        << err;
    EXPECT_EQ(PngSize(ReadFile(dir_ / "trend.png")), std::make_pair(380u, 220u));
}

TEST_F(DryerLogProgram, OnlyAGraphLogIsDrawn)
{
    const fs::path in = Write("DATA_LOG_24HR26_03_03_00_00_00.DAT", GraphLogOf(1));
    std::string out, err;
    EXPECT_EQ(Run({in.string(), "--png", (dir_ / "trend.png").string()}, out, err), 2);
    EXPECT_NE(err.find("--png draws only a graph log"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(dir_ / "trend.png"));
    EXPECT_EQ(
        Run({in.string(), "--kind", "graph", "--png", (dir_ / "trend.png").string()}, out, err), 0)
        << err;
    EXPECT_TRUE(fs::exists(dir_ / "trend.png"));
}

TEST_F(DryerLogProgram, APictureThatCannotBeWrittenIsReported)
{
    const fs::path in = Write("GRAPH_DATA_LOG_24HR26_03_03_00_00_00.DAT", GraphLogOf(1));
    std::string out, err;
    EXPECT_EQ(Run({in.string(), "--png", (dir_ / "no folder" / "trend.png").string()}, out, err),
              1);
    EXPECT_NE(err.find("trend.png: cannot be written"), std::string::npos) << err;
}

}  // namespace
