// The shutdown history's tests: a fresh panel root with its hard disk and USB folders, the
// virtual clock, the catalogue's texts, and adding a record at a chosen panel time.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "dryer/records/shutdown_history.h"
#include "dryer/screens/home_panels.h"
#include "platform/runtime/clock.h"
#include "platform/storage/files.h"

namespace history_test {

// A panel local time.
inline SYSTEMTIME At(int year, int month, int day, int hour, int minute, int second = 0)
{
    SYSTEMTIME t;
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    return t;
}

// The panel clock starts at 14:05 on 3 March 2026; tests set their own times.
inline void EnsureVirtualClock()
{
    static const bool once = [] {
        platform::UseVirtualClock(At(2026, 3, 3, 14, 5));
        return true;
    }();
    (void)once;
}

class HistoryFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureVirtualClock();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::filesystem::temp_directory_path() /
                ("history-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" +
                 info->name());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "Hard Disk");
        std::filesystem::create_directories(Usb());
        platform::SetPanelRoots(root_, Usb());
        ResetShutdownHistoryForTest();
        SetShutdownTextSource(&home_panels::WarningCatalogueText);
    }
    void TearDown() override
    {
        ResetShutdownHistoryForTest();
        std::filesystem::remove_all(root_);
    }

    std::filesystem::path Usb() const { return root_ / "usb"; }
    std::filesystem::path Volume() const { return root_ / "Hard Disk" / "ShutdownHistoryDB"; }

    // Adds a record as the decoder does, with the panel clock set to `when`.
    static void AddAt(const SYSTEMTIME& when, int code)
    {
        SetLocalTime(&when);
        AddShutdownRecord(static_cast<std::uint8_t>(code >> 8),
                          static_cast<std::uint8_t>(code & 0xFF));
    }

    std::filesystem::path root_;
};

}  // namespace history_test
