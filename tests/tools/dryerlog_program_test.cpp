// The built dryerlog run as a service technician runs it: its help, a whole file to a CSV file,
// a cut file reported on stderr with exit status 1 and its good records still written, and a
// bad command line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

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
    for (const char* word : {"usage: dryerlog", "--kind", "--year", "--output", "history",
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

}  // namespace
