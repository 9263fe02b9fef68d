// The short-term log under faults: a process killed while it appends, and a disk that fills up
// during a write. Either way the file stays readable and only the sample being written is lost.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "dryer/records/short_term_log.h"
#include "platform/storage/files.h"
#include "tests/dryer/records/short_term_log_support.h"

namespace {

namespace fs = std::filesystem;
using records_test::LogRoot;
using records_test::Numbered;
using records_test::NumberOf;

std::uint64_t LoggedBytes(const LogRoot& log)
{
    std::uint64_t total = 0;
    for (const auto& name : log.Files()) total += fs::file_size(log.folder() / name);
    return total;
}

TEST(ShortTermLogFaults, KilledDuringAppendsLeavesAReadableLog)
{
    LogRoot log;
    for (int round = 0; round < 5; ++round) {
        DeleteShortTermLogFiles();
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // The child appends as fast as it can until it is killed.
            for (int n = 0;; n = (n + 1) % 100) WriteShortTermRecord(Numbered(n));
        }
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (LoggedBytes(log) < 18u * (20 + 7 * round) &&
               std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::microseconds(100 + 137 * round));
        }
        ASSERT_EQ(kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));

        // Whatever the kill cut off, the whole samples read back in the order written.
        const int count = ShortTermRecordCount();
        ASSERT_GT(count, 0) << round;
        std::vector<DataLogSample> window(8);
        const int got = ReadShortTermWindow(window, 0);
        ASSERT_EQ(got, std::min(count, 8));
        for (int i = 1; i < got; ++i) {
            EXPECT_EQ(NumberOf(window[static_cast<std::size_t>(i)]),
                      (NumberOf(window[static_cast<std::size_t>(i - 1)]) + 1) % 100);
        }
        // The next sample lands on a boundary after the last whole one.
        const int before = ShortTermRecordCount();
        ASSERT_TRUE(WriteShortTermRecord(Numbered(500)));
        ASSERT_EQ(ReadShortTermWindow(std::span(window).first(1), 0), 1);
        EXPECT_EQ(NumberOf(window[0]), 500);
        EXPECT_EQ(ShortTermRecordCount(), std::min(before + 1, kShortTermMaxRecords));
    }
}

TEST(ShortTermLogFaults, AFullDiskLosesOnlyTheSampleBeingWritten)
{
    LogRoot log;
    ASSERT_TRUE(WriteShortTermRecord(Numbered(1)));
    ASSERT_TRUE(WriteShortTermRecord(Numbered(2)));
    const fs::path file = log.folder() / log.Files()[0];

    platform::FailFileWrites(1, 7);  // seven bytes reach the disk, then it is full
    EXPECT_FALSE(WriteShortTermRecord(Numbered(3)));
    EXPECT_EQ(fs::file_size(file), 36u);  // the partial sample was cut off again
    EXPECT_EQ(ShortTermRecordCount(), 2);

    platform::FailFileWrites(1, 0);  // nothing at all fits
    EXPECT_FALSE(WriteShortTermRecord(Numbered(4)));
    EXPECT_EQ(fs::file_size(file), 36u);

    ASSERT_TRUE(WriteShortTermRecord(Numbered(5)));  // room again
    std::vector<DataLogSample> window(8);
    ASSERT_EQ(ReadShortTermWindow(window, 0), 3);
    EXPECT_EQ(NumberOf(window[0]), 1);
    EXPECT_EQ(NumberOf(window[1]), 2);
    EXPECT_EQ(NumberOf(window[2]), 5);
    platform::FailFileWrites(0);
}

TEST(ShortTermLogFaults, AFolderThatCannotBeMadeLosesTheSampleQuietly)
{
    LogRoot log;
    // A file where the log's folder should be.
    fs::create_directories(log.root() / "Hard Disk");
    {
        std::ofstream(log.folder()) << "x";
    }
    EXPECT_FALSE(WriteShortTermRecord(Numbered(1)));
    EXPECT_EQ(ShortTermRecordCount(), 0);
}

}  // namespace
