// The long-term log under faults: a process killed outright while it appends (as a power cut
// stops the panel), and a disk that fills up during a write. Either way the file keeps its
// whole records and only the record being written is lost.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "dryer/records/long_term_log.h"
#include "platform/storage/files.h"
#include "tests/dryer/records/long_term_log_support.h"

namespace {

using long_term_test::LogFolder;
using long_term_test::Numbered;

std::vector<std::uint8_t> Bytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The whole records of the file, each checked to hold one number in all its bytes; the
// numbers in the order written.
std::vector<int> WholeRecords(const std::filesystem::path& file)
{
    const auto bytes = Bytes(file);
    std::vector<int> numbers;
    for (std::size_t at = 0; at + kLongTermRecordSize <= bytes.size(); at += kLongTermRecordSize) {
        for (std::size_t i = 1; i < kLongTermRecordSize; ++i) {
            EXPECT_EQ(bytes[at + i], bytes[at]) << "record at " << at;
        }
        numbers.push_back(bytes[at]);
    }
    return numbers;
}

using LongTermLogFaults = LogFolder;

TEST_F(LongTermLogFaults, KilledDuringAppendsLeavesAReadableLog)
{
    for (int round = 0; round < 5; ++round) {
        ASSERT_TRUE(DeleteLongTermLog());
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // The child appends as fast as it can until it is killed.
            for (int n = 0;; n = (n + 1) % 200) WriteLongTermRecord(Numbered(n), true);
        }
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while ((!std::filesystem::exists(Log()) || LogSize() < 16u * (20 + 9 * round)) &&
               std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::microseconds(100 + 137 * round));
        }
        ASSERT_EQ(kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));

        // Whatever the kill cut off, the whole records read back in the order written.
        const std::vector<int> before = WholeRecords(Log());
        ASSERT_FALSE(before.empty()) << round;
        for (std::size_t i = 1; i < before.size(); ++i) {
            EXPECT_EQ(before[i], (before[i - 1] + 1) % 200) << round;
        }
        // The next record lands on a boundary after the last whole one.
        ASSERT_EQ(WriteLongTermRecord(Numbered(250), true), LongTermWrite::appended);
        EXPECT_EQ(LogSize() % kLongTermRecordSize, 0u);
        const std::vector<int> after = WholeRecords(Log());
        ASSERT_EQ(after.size(), before.size() + 1);
        EXPECT_EQ(after.back(), 250);
    }
}

TEST_F(LongTermLogFaults, AFullDiskLosesOnlyTheRecordBeingWritten)
{
    ASSERT_EQ(WriteLongTermRecord(Numbered(1), true), LongTermWrite::appended);
    ASSERT_EQ(WriteLongTermRecord(Numbered(2), true), LongTermWrite::appended);

    platform::FailFileWrites(1, 7);  // seven bytes reach the disk, then it is full
    EXPECT_EQ(WriteLongTermRecord(Numbered(3), true), LongTermWrite::writeFailed);
    EXPECT_EQ(LogSize(), 32u);  // the partial record was cut off again

    platform::FailFileWrites(1, 0);  // nothing at all fits
    EXPECT_EQ(WriteLongTermRecord(Numbered(4), true), LongTermWrite::writeFailed);
    EXPECT_EQ(LogSize(), 32u);

    EXPECT_EQ(WriteLongTermRecord(Numbered(5), true), LongTermWrite::appended);  // room again
    EXPECT_EQ(WholeRecords(Log()), (std::vector<int>{1, 2, 5}));
}

}  // namespace
