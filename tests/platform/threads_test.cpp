// Threads, events, waits on the panel clock and handle checking.
#include "platform/runtime/threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "platform/runtime/clock.h"
#include "platform/storage/files.h"

namespace {

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

}  // namespace
