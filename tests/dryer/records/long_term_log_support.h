// The long-term log's tests: a fresh panel root with its hard disk and USB folders, log files of
// a chosen size, and records that carry a number in every byte, so a torn one shows.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "dryer/records/long_term_log.h"
#include "platform/runtime/clock.h"
#include "platform/storage/files.h"

namespace long_term_test {

inline SYSTEMTIME At(int hour, int minute, int second)
{
    SYSTEMTIME t;
    t.wYear = 2026;
    t.wMonth = 3;
    t.wDay = 3;
    t.wDayOfWeek = 2;
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    return t;
}

inline void EnsureVirtualClock()
{
    static const bool once = [] {
        platform::UseVirtualClock(At(14, 5, 0));
        return true;
    }();
    (void)once;
}

// Every byte holds n.
inline LongTermRecord Numbered(int n)
{
    LongTermRecord r;
    r.fill(static_cast<std::uint8_t>(n));
    return r;
}

class LogFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureVirtualClock();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::filesystem::temp_directory_path() /
                ("longterm-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" +
                 info->name());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "Hard Disk");
        std::filesystem::create_directories(Usb());
        platform::SetPanelRoots(root_, Usb());
        ResetLongTermLogForTest();
    }
    void TearDown() override
    {
        platform::FailFileWrites(0);
        SetDataLogUnloading(false);
        ResetLongTermLogForTest();
        std::filesystem::remove_all(root_);
    }

    std::filesystem::path Usb() const { return root_ / "usb"; }
    std::filesystem::path Log() const
    {
        return root_ / "Hard Disk" / "DataLog" / "LongTermDataLog.dat";
    }
    std::uintmax_t LogSize() const { return std::filesystem::file_size(Log()); }

    // A log of `size` bytes of record 7.
    void MakeLog(std::uint64_t size) const
    {
        std::filesystem::create_directories(Log().parent_path());
        std::ofstream out(Log(), std::ios::binary);
        const std::string block(64 * 1024, '\x07');
        for (std::uint64_t left = size; left > 0;) {
            const std::uint64_t n = left < block.size() ? left : block.size();
            out.write(block.data(), static_cast<std::streamsize>(n));
            left -= n;
        }
    }

    std::filesystem::path root_;
};

}  // namespace long_term_test
