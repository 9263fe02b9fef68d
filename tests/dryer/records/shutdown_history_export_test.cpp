// The shutdown history's copy to the USB drive: the exact line format, oldest first, an older
// longer file replaced, the drive pulled during the copy, the store's errors and their
// messages, and the drive's presence.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "dryer/records/shutdown_history.h"
#include "dryer/records/shutdown_history_export.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/records/history_test_support.h"
#include "tests/support/child_process.h"

namespace {

using history_test::At;
using history_test::HistoryFolder;
using test_support::ReadFile;

TEST(ShutdownExportLine, FieldsStopAt500CharactersAndStayEightBit)
{
    ShutdownRow row;
    row.text = std::wstring(499, L'A') + L"B";
    row.node = std::wstring(500, L'N') + L"cut";
    row.date = std::wstring(L"10") + wchar_t{0xB0} + L"F";
    row.time = std::wstring(L"x") + wchar_t{0x20AC};  // no 8-bit form
    const std::string line = ShutdownExportLine(row);
    EXPECT_EQ(line, std::string(499, 'A') + "B;" + std::string(500, 'N') +
                        ";10\xB0"
                        "F;x?;\n");
}

class ShutdownExport : public HistoryFolder {
protected:
    void SetUp() override
    {
        HistoryFolder::SetUp();
        CreateShutdownHistoryIfMissing();
    }
    void TearDown() override
    {
        SetShutdownExportObserver(nullptr);
        HistoryFolder::TearDown();
    }
    std::filesystem::path Exported() const { return Usb() / "DryerShutdownHistory.txt"; }
    std::filesystem::path Temporary() const { return Usb() / "DryerShutdownHistory.tmp"; }
};

TEST_F(ShutdownExport, OldestFirstInTheExactFormat)
{
    AddAt(At(2026, 3, 4, 9, 30), 0x0E08);
    AddAt(At(2026, 3, 3, 14, 5), 0x0203);
    AddAt(At(2026, 3, 4, 21, 0), 0x0F02);
    const ShutdownExportResult result = ExportShutdownHistory();
    EXPECT_EQ(result.outcome, ShutdownExportOutcome::done);
    EXPECT_EQ(result.lines, 3u);
    EXPECT_EQ(ReadFile(Exported()),
              "0203 - BURNER #1 VAPOR TEMP HI LIMIT;FAN/HEATER #1;Mar 03, 2026;2:05 PM;\n"
              "0E08 - MAIN I/O - OUT OF GRAIN TIMER EXPIRED;MAIN I/O;Mar 04, 2026;9:30 AM;\n"
              "0F02 - MAX DRYING TIME EXCEEDED;MOISTURE CONT;Mar 04, 2026;9:00 PM;\n");
    EXPECT_FALSE(std::filesystem::exists(Temporary()));
    EXPECT_TRUE(ShutdownExportMessageFor(result).text.empty());  // success is not announced
}

TEST_F(ShutdownExport, EmptyHistoryGivesAnEmptyFile)
{
    const ShutdownExportResult result = ExportShutdownHistory();
    EXPECT_EQ(result.outcome, ShutdownExportOutcome::done);
    EXPECT_TRUE(std::filesystem::exists(Exported()));
    EXPECT_EQ(std::filesystem::file_size(Exported()), 0u);
}

TEST_F(ShutdownExport, LongerOlderFileIsReplacedNotWrittenOver)
{
    {
        std::ofstream old(Exported(), std::ios::binary);
        for (int i = 0; i < 50; ++i) old << "0E01 - OLD LINE;MAIN I/O;Jan 01, 2020;1:00 AM;\n";
    }
    AddAt(At(2026, 3, 3, 14, 5), 0x0E08);
    EXPECT_EQ(ExportShutdownHistory().outcome, ShutdownExportOutcome::done);
    EXPECT_EQ(ReadFile(Exported()),
              "0E08 - MAIN I/O - OUT OF GRAIN TIMER EXPIRED;MAIN I/O;Mar 03, 2026;2:05 PM;\n");
}

TEST_F(ShutdownExport, RecordAddedAfterTheCountWasReadIsExportedToo)
{
    AddAt(At(2026, 3, 3, 14, 5), 0x0E08);
    RefreshShutdownHistoryCount();
    AddAt(At(2026, 3, 3, 14, 6), 0x0E09);  // the decoder adds while the screen shows
    EXPECT_EQ(ExportShutdownHistory().lines, 2u);
}

// The drive is pulled after the first line: the copy fails, says so, and claims no file.
std::filesystem::path gPulledDrive;
void PullDrive(std::size_t lines)
{
    if (lines == 1) std::filesystem::remove_all(gPulledDrive);
}

TEST_F(ShutdownExport, DrivePulledDuringTheCopyFailsAndLeavesNoFile)
{
    for (int i = 0; i < 5; ++i) AddAt(At(2026, 3, 3, 14, 5 + i), 0x0E08);
    gPulledDrive = Usb();
    SetShutdownExportObserver(&PullDrive);
    const ShutdownExportResult result = ExportShutdownHistory();
    EXPECT_EQ(result.outcome, ShutdownExportOutcome::writeFailed);
    const ShutdownExportMessage message = ShutdownExportMessageFor(result);
    EXPECT_EQ(message.text, L"Could not copy file to flashdrive.");
    EXPECT_EQ(message.caption, L"FAILED TO COPY");
    EXPECT_EQ(message.type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    std::filesystem::create_directories(Usb());  // the drive comes back
    EXPECT_FALSE(std::filesystem::exists(Exported()));
    EXPECT_FALSE(std::filesystem::exists(Temporary()));
}

TEST_F(ShutdownExport, ExportThatCannotStartKeepsTheLastWholeOne)
{
    AddAt(At(2026, 3, 3, 14, 5), 0x0E08);
    ASSERT_EQ(ExportShutdownHistory().outcome, ShutdownExportOutcome::done);
    const std::string whole = ReadFile(Exported());
    AddAt(At(2026, 3, 3, 14, 6), 0x0E09);
    // The drive refuses the file: the old export stays as it was.
    std::filesystem::create_directories(Temporary());
    const ShutdownExportResult result = ExportShutdownHistory();
    EXPECT_EQ(result.outcome, ShutdownExportOutcome::fileNotOpened);
    EXPECT_TRUE(ShutdownExportMessageFor(result).text.empty());
    EXPECT_EQ(ReadFile(Exported()), whole);
}

TEST_F(ShutdownExport, WithoutTheDriveNothingIsWrittenAndNothingSaid)
{
    std::filesystem::remove_all(Usb());
    const ShutdownExportResult result = ExportShutdownHistory();
    EXPECT_EQ(result.outcome, ShutdownExportOutcome::fileNotOpened);
    EXPECT_TRUE(ShutdownExportMessageFor(result).text.empty());
    EXPECT_FALSE(std::filesystem::exists(Usb()));
}

TEST_F(ShutdownExport, VolumeThatCannotBeMountedIsReportedWithItsCode)
{
    std::filesystem::remove(Volume());
    std::filesystem::create_directories(Volume());  // a folder where the volume file belongs
    const ShutdownExportResult result = ExportShutdownHistory();
    EXPECT_EQ(result.outcome, ShutdownExportOutcome::mountFailed);
    EXPECT_EQ(ShutdownExportMessageFor(result).text, L"ERROR: CeMountDBVol failed (5)");
    EXPECT_EQ(ShutdownExportMessageFor(result).caption, L"");
    EXPECT_FALSE(std::filesystem::exists(Exported()));
    EXPECT_FALSE(std::filesystem::exists(Temporary()));
}

TEST_F(ShutdownExport, MissingDatabaseIsReportedAsFileNotFound)
{
    std::filesystem::remove(Volume());  // mounting makes an empty volume without the database
    const ShutdownExportResult result = ExportShutdownHistory();
    EXPECT_EQ(result.outcome, ShutdownExportOutcome::databaseNotOpened);
    EXPECT_EQ(ShutdownExportMessageFor(result).text, L"FILE NOT FOUND!");
    EXPECT_FALSE(std::filesystem::exists(Exported()));
}

TEST(ShutdownExportMessages, DatabaseErrorsByCode)
{
    const struct {
        DWORD error;
        const wchar_t* text;
    } cases[] = {
        {8, L"NOT ENOUGHT MEMORY!"}, {87, L"INVALIDE PARAMETER!"},   {2, L"FILE NOT FOUND!"},
        {5, L"ERROR: Handler (5)"},  {112, L"ERROR: Handler (112)"},
    };
    for (const auto& c : cases) {
        const ShutdownExportResult result{ShutdownExportOutcome::databaseNotOpened, c.error, 0};
        const ShutdownExportMessage message = ShutdownExportMessageFor(result);
        EXPECT_EQ(message.text, c.text) << c.error;
        EXPECT_EQ(message.caption, L"") << c.error;
    }
}

TEST_F(ShutdownExport, DrivePresenceFollowsTheUsbFolder)
{
    EXPECT_TRUE(UsbDrivePresent());
    std::filesystem::remove_all(Usb());
    EXPECT_FALSE(UsbDrivePresent());
}

}  // namespace
