// The long-term log's copy to the USB drive: the dated name, a byte-exact copy, two copies in
// one second, the drive pulled during the copy, and a missing log.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "dryer/records/long_term_log.h"
#include "dryer/records/long_term_log_export.h"
#include "tests/dryer/records/long_term_log_support.h"
#include "tests/support/child_process.h"

namespace {

using long_term_test::At;
using long_term_test::LogFolder;
using test_support::ReadFile;

TEST(LongTermCopyName, DateAndTimeWithUnderscores)
{
    EXPECT_EQ(LongTermCopyName(At(14, 5, 9)), L"LongTermDataLog26_03_03_14_05_09.DAT");
    SYSTEMTIME t = At(0, 0, 0);
    t.wYear = 2031;
    t.wMonth = 12;
    t.wDay = 31;
    EXPECT_EQ(LongTermCopyName(t), L"LongTermDataLog31_12_31_00_00_00.DAT");
}

class LongTermCopy : public LogFolder {
protected:
    void TearDown() override
    {
        SetLongTermCopyObserver(nullptr);
        LogFolder::TearDown();
    }
    std::filesystem::path Copied(const char* name) const { return Usb() / name; }
    std::filesystem::path Temporary() const { return Usb() / "LongTermDataLog.tmp"; }
};

TEST_F(LongTermCopy, CopiesEveryByteUnderTheDatedName)
{
    for (int n = 0; n < 300; ++n) WriteLongTermRecord(long_term_test::Numbered(n), true);
    const LongTermCopyResult result = CopyLongTermLogToUsb(At(14, 5, 9));
    EXPECT_EQ(result.outcome, LongTermCopyOutcome::done);
    EXPECT_EQ(result.fileName, L"LongTermDataLog26_03_03_14_05_09.DAT");
    EXPECT_EQ(ReadFile(Copied("LongTermDataLog26_03_03_14_05_09.DAT")), ReadFile(Log()));
    EXPECT_FALSE(std::filesystem::exists(Temporary()));
    EXPECT_EQ(LogSize(), 300u * 16);  // the log stays until the operator deletes it
}

TEST_F(LongTermCopy, ASecondCopyInTheSameSecondFailsAndLeavesTheFirst)
{
    WriteLongTermRecord(long_term_test::Numbered(1), true);
    ASSERT_EQ(CopyLongTermLogToUsb(At(14, 5, 9)).outcome, LongTermCopyOutcome::done);
    const std::string first = ReadFile(Copied("LongTermDataLog26_03_03_14_05_09.DAT"));
    WriteLongTermRecord(long_term_test::Numbered(2), true);
    EXPECT_EQ(CopyLongTermLogToUsb(At(14, 5, 9)).outcome, LongTermCopyOutcome::destinationExists);
    EXPECT_EQ(ReadFile(Copied("LongTermDataLog26_03_03_14_05_09.DAT")), first);
    EXPECT_EQ(CopyLongTermLogToUsb(At(14, 5, 10)).outcome, LongTermCopyOutcome::done);
    EXPECT_EQ(ReadFile(Copied("LongTermDataLog26_03_03_14_05_10.DAT")), ReadFile(Log()));
}

// The drive is pulled after the first block: the copy fails and claims no file.
std::filesystem::path gPulledDrive;
void PullDrive(std::uint64_t bytes)
{
    if (bytes == 64 * 1024) std::filesystem::remove_all(gPulledDrive);
}

TEST_F(LongTermCopy, DrivePulledDuringTheCopyFailsAndLeavesNoFile)
{
    MakeLog(3 * 64 * 1024 + 16);
    gPulledDrive = Usb();
    SetLongTermCopyObserver(&PullDrive);
    const LongTermCopyResult result = CopyLongTermLogToUsb(At(14, 5, 9));
    EXPECT_EQ(result.outcome, LongTermCopyOutcome::failed);
    EXPECT_NE(result.error, 0u);
    std::filesystem::create_directories(Usb());  // the drive comes back
    EXPECT_FALSE(std::filesystem::exists(Copied("LongTermDataLog26_03_03_14_05_09.DAT")));
    EXPECT_FALSE(std::filesystem::exists(Temporary()));
    EXPECT_EQ(LogSize(), 3u * 64 * 1024 + 16);  // the log is kept
}

TEST_F(LongTermCopy, ADriveThatFillsUpFailsAndLeavesNoFile)
{
    MakeLog(1000);
    platform::FailFileWrites(1, 100);
    EXPECT_EQ(CopyLongTermLogToUsb(At(14, 5, 9)).outcome, LongTermCopyOutcome::failed);
    EXPECT_TRUE(std::filesystem::is_empty(Usb()));
}

TEST_F(LongTermCopy, WithoutALogThereIsNothingToCopy)
{
    const LongTermCopyResult result = CopyLongTermLogToUsb(At(14, 5, 9));
    EXPECT_EQ(result.outcome, LongTermCopyOutcome::failed);
    EXPECT_TRUE(std::filesystem::is_empty(Usb()));
}

}  // namespace
