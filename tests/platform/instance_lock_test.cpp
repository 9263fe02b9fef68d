// One program per panel root: the lock file, taken once, given back and removed at the end, and
// a lock file that was replaced under a running program left alone.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/runtime/instance_lock.h"

namespace fs = std::filesystem;

namespace {

class InstanceLockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("instance-lock-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    fs::path LockFile() const { return root_ / "orbitdryer.lock"; }

    fs::path root_;
};

TEST_F(InstanceLockTest, SecondStartIsRefusedUntilTheFirstEndsAndNoFileIsLeftBehind)
{
    {
        platform::InstanceLock first;
        ASSERT_EQ(first.Claim(LockFile()), platform::InstanceClaim::First);
        EXPECT_TRUE(fs::exists(LockFile()));
        platform::InstanceLock second;
        EXPECT_EQ(second.Claim(LockFile()), platform::InstanceClaim::AlreadyRunning);
        EXPECT_FALSE(second.raised());  // the first does not listen
    }
    EXPECT_FALSE(fs::exists(LockFile()));  // the clean end took its file along
    platform::InstanceLock next;
    EXPECT_EQ(next.Claim(LockFile()), platform::InstanceClaim::First);
    next.Release();
    EXPECT_FALSE(fs::exists(LockFile()));
}

TEST_F(InstanceLockTest, LockFileLeftByAKilledRunIsTakenOver)
{
    std::ofstream(LockFile()) << "";
    platform::InstanceLock lock;
    EXPECT_EQ(lock.Claim(LockFile()), platform::InstanceClaim::First);
}

TEST_F(InstanceLockTest, ReplacedLockFileIsNotRemovedByTheRunThatLostIt)
{
    platform::InstanceLock first;
    ASSERT_EQ(first.Claim(LockFile()), platform::InstanceClaim::First);
    // Someone moves the file away and makes a new one: a later start locks the new file.
    fs::rename(LockFile(), root_ / "old.lock");
    platform::InstanceLock second;
    ASSERT_EQ(second.Claim(LockFile()), platform::InstanceClaim::First);
    first.Release();
    EXPECT_TRUE(fs::exists(LockFile()));  // still the second run's
    platform::InstanceLock third;
    EXPECT_EQ(third.Claim(LockFile()), platform::InstanceClaim::AlreadyRunning);
}

}  // namespace
