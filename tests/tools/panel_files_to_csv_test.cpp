// From the panel to a spreadsheet: files written by the panel's own record keeping (a
// shutdown history exported to the USB drive, a short-term log, the long-term log) go through
// the built dryerlog, and the CSV it writes reads back as a table: one header, the same number
// of fields on every line, the values the panel recorded.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/records/long_term_log.h"
#include "dryer/records/short_term_log.h"
#include "dryer/records/shutdown_history.h"
#include "dryer/records/shutdown_history_export.h"
#include "platform/storage/files.h"
#include "tests/support/child_process.h"

namespace {

namespace fs = std::filesystem;
using Table = std::vector<std::vector<std::string>>;

// CSV as a spreadsheet reads it: fields split at commas outside quotes, "" inside quotes is one
// quote, lines end with a line feed.
Table ReadCsv(const std::string& text)
{
    Table rows(1);
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().push_back(field);
            field.clear();
        } else if (c == '\n') {
            rows.back().push_back(field);
            field.clear();
            rows.emplace_back();
        } else {
            field += c;
        }
    }
    if (rows.back().empty()) rows.pop_back();
    return rows;
}

class PanelFilesToCsv : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("panel-to-csv-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "Hard Disk");
        fs::create_directories(root_ / "usb");
        platform::SetPanelRoots(root_, root_ / "usb");
    }
    void TearDown() override { fs::remove_all(root_); }

    // dryerlog on `file`; the CSV it wrote as a table.
    Table Convert(const fs::path& file)
    {
        const fs::path csv = root_ / (file.filename().string() + ".csv");
        test_support::ChildProcess child(
            {DRYERLOG_EXECUTABLE, file.string(), "--output", csv.string()}, root_);
        EXPECT_TRUE(child.started());
        EXPECT_EQ(child.ExitCode(10000), 0) << child.Stderr();
        const Table table = ReadCsv(test_support::ReadFile(csv));
        for (const auto& row : table) EXPECT_EQ(row.size(), table.front().size());
        return table;
    }
    static fs::path OnlyFileIn(const fs::path& folder)
    {
        for (const auto& entry : fs::directory_iterator(folder)) return entry.path();
        return {};
    }

    fs::path root_;
};

TEST_F(PanelFilesToCsv, ExportedHistoryKeepsTextsWithCommasInOneField)
{
    SetShutdownTextSource([](int node, int index) -> std::wstring {
        return node == 14 ? L"0E08 - MAIN I/O - OUT OF GRAIN, TIMER \"A\" EXPIRED"
                          : L"0203 - BURNER #1 VAPOR TEMP HI LIMIT" + std::to_wstring(index);
    });
    CreateShutdownHistoryIfMissing();
    AddShutdownRecord(14, 8);
    AddShutdownRecord(2, 3);
    RefreshShutdownHistoryCount();
    ASSERT_EQ(ExportShutdownHistory().outcome, ShutdownExportOutcome::done);
    const Table table = Convert(root_ / "usb" / "DryerShutdownHistory.txt");
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[1][0], "0E08 - MAIN I/O - OUT OF GRAIN, TIMER \"A\" EXPIRED");
    EXPECT_EQ(table[1][1], "MAIN I/O");
    EXPECT_EQ(table[2][1], "FAN/HEATER #1");
    SetShutdownTextSource(nullptr);
    ResetShutdownHistoryForTest();
}

TEST_F(PanelFilesToCsv, ShortTermAndLongTermLogsBecomeOneLinePerRecord)
{
    DataLogSample sample;
    sample.grainTemp = 121;
    sample.incomingTemp = 605;
    sample.incomingMoisture = 218;
    sample.outgoingTemp = -52;  // cold grain below 0 deg F
    sample.outgoingMoisture = 147;
    sample.meterRollOutput = 53;
    sample.hour = 8;
    sample.minute = 10;
    sample.month = 3;
    sample.day = 3;
    ASSERT_TRUE(WriteShortTermRecord(sample));
    sample.minute = 20;
    ASSERT_TRUE(WriteShortTermRecord(sample));
    const Table shortTerm = Convert(OnlyFileIn(root_ / "Hard Disk" / "ShortTermDataLog"));
    ASSERT_EQ(shortTerm.size(), 3u);
    EXPECT_NE(shortTerm[0][0].find("time"), std::string::npos);  // a header first
    const std::string line = shortTerm[2][0] + "," + shortTerm[2][1];
    EXPECT_NE(line.find("-03-03T08:20"), std::string::npos) << line;

    ImageBytes image;
    SYSTEMTIME now{2026, 3, 2, 3, 8, 30, 0, 0};
    ASSERT_EQ(WriteLongTermRecord(BuildLongTermRecord(image, now), true), LongTermWrite::appended);
    ASSERT_EQ(WriteLongTermRecord(BuildLongTermRecord(image, now), true), LongTermWrite::appended);
    const Table longTerm = Convert(root_ / "Hard Disk" / "DataLog" / "LongTermDataLog.dat");
    EXPECT_EQ(longTerm.size(), 3u);
    ResetLongTermLogForTest();
}

}  // namespace
