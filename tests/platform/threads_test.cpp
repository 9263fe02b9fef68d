// Threads, events, waits on the panel clock, handle checking and starting other programs.
#include "platform/runtime/threads.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

#include "platform/runtime/clock.h"
#include "platform/storage/files.h"

namespace {

namespace fs = std::filesystem;

class Threads : public ::testing::Test {
protected:
    void SetUp() override { platform::UseVirtualClock(SYSTEMTIME{2026, 3, 2, 3, 8, 0, 0, 0}); }
};

// Moves the virtual clock in steps until the wait in `result` has answered.
DWORD AdvanceUntilAnswered(std::future<DWORD>& result, std::int64_t step)
{
    std::int64_t now = platform::NowMs();
    while (result.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready) {
        now += step;
        platform::SetVirtualNow(now);
    }
    return result.get();
}

TEST_F(Threads, AutoResetEventReleasesOneWait)
{
    HANDLE e = CreateEvent(nullptr, FALSE, TRUE, nullptr);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(SetEvent(e));
    EXPECT_EQ(WaitForSingleObject(e, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(CloseHandle(e));
}

TEST_F(Threads, ManualResetEventStaysSetUntilReset)
{
    HANDLE e = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    SetEvent(e);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ResetEvent(e));
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    CloseHandle(e);
}

TEST_F(Threads, TimedWaitEndsWhenPanelTimePasses)
{
    HANDLE e = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    auto result = std::async(std::launch::async, [e] { return WaitForSingleObject(e, 350); });
    EXPECT_EQ(AdvanceUntilAnswered(result, 50), WAIT_TIMEOUT);
    CloseHandle(e);
}

TEST_F(Threads, SetEventWakesAWaitingThread)
{
    HANDLE e = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    auto result = std::async(std::launch::async, [e] { return WaitForSingleObject(e, INFINITE); });
    EXPECT_TRUE(SetEvent(e));
    EXPECT_EQ(result.get(), WAIT_OBJECT_0);
    CloseHandle(e);
}

DWORD WaitForGo(void* parameter)
{
    WaitForSingleObject(static_cast<HANDLE>(parameter), INFINITE);
    return 7;
}

TEST_F(Threads, ThreadHandleIsSignalledWhenTheThreadEnds)
{
    HANDLE go = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, WaitForGo, go, 0, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, 0u);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);
    SetEvent(go);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);  // stays ended
    EXPECT_TRUE(CloseHandle(thread));
    CloseHandle(go);
}

TEST_F(Threads, StaleAndForeignHandlesFailSoftly)
{
    HANDLE e = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    ASSERT_TRUE(CloseHandle(e));
    SetLastError(0);
    EXPECT_FALSE(CloseHandle(e));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(SetEvent(e));
    EXPECT_FALSE(ResetEvent(e));
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_FAILED);
    const HANDLE bad[] = {nullptr, INVALID_HANDLE_VALUE, reinterpret_cast<HANDLE>(0x1234567)};
    for (HANDLE h : bad) {
        EXPECT_FALSE(CloseHandle(h));
        EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_FAILED);
        EXPECT_FALSE(SetEvent(h));
    }
    EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
}

TEST_F(Threads, LastErrorBelongsToEachThread)
{
    SetLastError(42);
    std::thread other([] {
        EXPECT_EQ(GetLastError(), 0u);
        SetLastError(7);
    });
    other.join();
    EXPECT_EQ(GetLastError(), 42u);
}

class Programs : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() /
                ("panel-threads-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "Hard Disk");
        platform::SetPanelRoots(root_, {});
    }
    void TearDown() override { fs::remove_all(root_); }

    // A program under the panel root that leaves a mark with its arguments.
    void WriteProgram(const std::string& name)
    {
        const fs::path p = root_ / "Hard Disk" / name;
        std::ofstream(p) << "#!/bin/sh\necho \"ran $#:$*\" > \"" << (root_ / "mark").string()
                         << "\"\n";
        fs::permissions(p, fs::perms::owner_all);
    }
    std::string Mark() const
    {
        std::ifstream in(root_ / "mark");
        std::string line;
        std::getline(in, line);
        return line;
    }

    fs::path root_;
};

TEST_F(Programs, StartsAPanelProgramWithoutItsExeName)
{
    WriteProgram("Kickoff");
    PROCESS_INFORMATION info;
    ASSERT_TRUE(CreateProcess(L"\\hard disk\\KICKOFF.exe", L"", nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, nullptr, &info));
    EXPECT_EQ(WaitForSingleObject(info.hProcess, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(Mark(), "ran 0:");
    EXPECT_TRUE(CloseHandle(info.hProcess));
    EXPECT_TRUE(CloseHandle(info.hThread));
}

TEST_F(Programs, PassesTheCommandLineSplitOnBlanks)
{
    WriteProgram("Flasher.exe");
    PROCESS_INFORMATION info;
    ASSERT_TRUE(CreateProcess(L"\\Hard Disk\\Flasher.exe", L"-a  b", nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, nullptr, &info));
    WaitForSingleObject(info.hProcess, INFINITE);
    EXPECT_EQ(Mark(), "ran 2:-a b");
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
}

TEST_F(Programs, UsesTheRegisteredProgramTable)
{
    platform::RegisterProgram(L"\\windows\\explorer.exe", "/bin/sh");
    PROCESS_INFORMATION info;
    ASSERT_TRUE(CreateProcess(L"\\Windows\\Explorer.exe", L"-c true", nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(WaitForSingleObject(info.hProcess, INFINITE), WAIT_OBJECT_0);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    platform::RegisterProgram(L"\\windows\\explorer.exe", nullptr);
}

TEST_F(Programs, MissingProgramIsRefused)
{
    PROCESS_INFORMATION info;
    SetLastError(0);
    EXPECT_FALSE(CreateProcess(L"\\Hard Disk\\Nothing.exe", nullptr, nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(CreateProcess(nullptr, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               nullptr, &info));
}

}  // namespace
