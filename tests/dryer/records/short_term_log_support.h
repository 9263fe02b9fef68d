// Shared set-up of the short-term log tests: a fresh panel root on the virtual clock, samples
// numbered so that a test can tell which ones a window holds, and log files written by hand.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "dryer/records/data_log_sample.h"

namespace records_test {

// A fresh panel root for this test, removed again by the destructor. The clock is virtual.
class LogRoot {
public:
    LogRoot();
    ~LogRoot();
    LogRoot(const LogRoot&) = delete;
    LogRoot& operator=(const LogRoot&) = delete;
    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path folder() const { return root_ / "Hard Disk" / "ShortTermDataLog"; }
    // The names of the log files, sorted.
    std::vector<std::string> Files() const;

private:
    std::filesystem::path root_;
};

// Moves the panel clock on by whole seconds.
void AdvanceSeconds(int seconds);

// Sample number n: its moisture in carries n, so a window's order can be read back.
DataLogSample Numbered(int n);
int NumberOf(const DataLogSample& sample);

// Writes a log file by hand: samples first..first+count-1, then `extraBytes` stray bytes.
void WriteLogFile(const std::filesystem::path& file, int first, int count, int extraBytes = 0);

}  // namespace records_test
