// The shutdown history's database: node names, creation at start-up, the decoder's records
// with their three properties, dates and times as shown, clearing, the code of a row's text,
// and the decoder's hold-off feeding it.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "dryer/link/answer_decoder.h"
#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/link/repaint_routes.h"
#include "dryer/records/data_log_hooks.h"
#include "dryer/records/shutdown_history.h"
#include "platform/storage/record_store.h"
#include "tests/dryer/records/history_test_support.h"

namespace {

using history_test::At;
using history_test::HistoryFolder;

TEST(ShutdownNodeNames, EveryBoardOfTheNetwork)
{
    const std::pair<int, const wchar_t*> names[] = {
        {0, L""},
        {1, L"DISPLAY I/O"},
        {2, L"FAN/HEATER #1"},
        {7, L"FAN/HEATER #6"},
        {8, L"FAN/HEATER INT #1"},
        {13, L"FAN/HEATER INT #6"},
        {14, L"MAIN I/O"},
        {15, L"MOISTURE CONT"},
        {16, L""},
        {255, L""},
    };
    for (const auto& [node, name] : names) EXPECT_EQ(ShutdownNodeName(node), name) << node;
    for (int n = 3; n <= 6; ++n) {
        EXPECT_EQ(ShutdownNodeName(n), L"FAN/HEATER #" + std::to_wstring(n - 1));
        EXPECT_EQ(ShutdownNodeName(n + 6), L"FAN/HEATER INT #" + std::to_wstring(n - 1));
    }
}

TEST(ShutdownCodeText, FourHexDigitsNodeThenIndex)
{
    const struct {
        const wchar_t* text;
        int node;
        int index;
    } cases[] = {
        {L"0E08 - MAIN I/O - OUT OF GRAIN TIMER EXPIRED", 14, 8},
        {L"0F03 - MAX GRAIN TEMPERATURE EXCEEDED", 15, 3},
        {L"0214 - J4-02 GAS PRESSURE LOW LIMIT", 2, 20},
        {L"FFFF", 255, 255},
        {L"0e08", 0, 8},  // lower case counts 0
        {L"0G1-", 0, 16},
        {L"07", 7, 0},  // a short text: the missing digits count 0
        {L"", 0, 0},
    };
    for (const auto& c : cases) {
        const ShutdownCode code = ShutdownCodeOfText(c.text);
        EXPECT_EQ(code.node, c.node) << std::string(c.text, c.text + std::wcslen(c.text));
        EXPECT_EQ(code.index, c.index) << std::string(c.text, c.text + std::wcslen(c.text));
    }
}

using ShutdownHistoryStore = HistoryFolder;

TEST_F(ShutdownHistoryStore, StartUpCreatesOneVolumeFileWithAnEmptyDatabase)
{
    EXPECT_FALSE(std::filesystem::exists(Volume()));
    StartShutdownHistory();
    EXPECT_TRUE(std::filesystem::is_regular_file(Volume()));
    EXPECT_EQ(ShutdownHistoryCount(), 0u);
    EXPECT_TRUE(ReadShutdownHistory(ShutdownSort::byDateTime).empty());
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(root_ / "Hard Disk")) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);  // no journal or side files stay behind
    EXPECT_EQ(RecordShutdownHook.load(), &AddShutdownRecord);
    RecordShutdownHook = nullptr;
}

TEST_F(ShutdownHistoryStore, StartingAgainKeepsTheRecords)
{
    CreateShutdownHistoryIfMissing();
    AddAt(At(2026, 3, 3, 14, 5), 0x0E08);
    ClearShutdownHistoryVolumeId();
    CreateShutdownHistoryIfMissing();
    EXPECT_EQ(ShutdownHistoryCount(), 1u);
}

TEST_F(ShutdownHistoryStore, RecordHoldsTextNodeAndTimeInThatOrder)
{
    CreateShutdownHistoryIfMissing();
    AddAt(At(2026, 3, 3, 14, 5, 30), 0x0E08);
    auto volume = platform::RecordVolume::Mount(kShutdownHistoryVolume);
    ASSERT_TRUE(volume.has_value());
    auto db = volume->OpenDatabase(kShutdownHistoryDatabase, 0);
    ASSERT_TRUE(db.has_value());
    const auto record = db->ReadNext();
    ASSERT_TRUE(record.has_value());
    ASSERT_EQ(record->size(), 3u);
    EXPECT_EQ(record->at(0).id, 0x0001001Fu);
    EXPECT_EQ(record->at(1).id, 0x0002001Fu);
    EXPECT_EQ(record->at(2).id, 0x00030040u);
    ASSERT_NE(record->at(0).text(), nullptr);
    EXPECT_EQ(*record->at(0).text(), L"0E08 - MAIN I/O - OUT OF GRAIN TIMER EXPIRED");
    EXPECT_EQ(*record->at(1).text(), L"MAIN I/O");
    FILETIME expected;
    const SYSTEMTIME when = At(2026, 3, 3, 14, 5, 30);
    SystemTimeToFileTime(&when, &expected);
    ASSERT_NE(record->at(2).time(), nullptr);
    // The clock may have moved on by a few virtual milliseconds, never by a second.
    const auto ticks = [](const FILETIME& f) {
        return (static_cast<std::uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
    };
    EXPECT_LT(ticks(*record->at(2).time()) - ticks(expected), 10'000'000u);
    EXPECT_EQ(ShutdownHistoryCount(), 0u);  // adding does not refresh the count
    RefreshShutdownHistoryCount();
    EXPECT_EQ(ShutdownHistoryCount(), 1u);
}

TEST_F(ShutdownHistoryStore, RowsShowDateAndTimeAsThePanelWritesThem)
{
    CreateShutdownHistoryIfMissing();
    AddAt(At(2026, 3, 3, 0, 7), 0x0F02);
    AddAt(At(2026, 11, 24, 13, 45), 0x0E05);
    const auto rows = ReadShutdownHistory(ShutdownSort::byDateTime);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, L"0F02 - MAX DRYING TIME EXCEEDED");
    EXPECT_EQ(rows[0].node, L"MOISTURE CONT");
    EXPECT_EQ(rows[0].date, L"Mar 03, 2026");
    EXPECT_EQ(rows[0].time, L"12:07 AM");
    EXPECT_EQ(rows[1].date, L"Nov 24, 2026");
    EXPECT_EQ(rows[1].time, L"1:45 PM");
}

TEST_F(ShutdownHistoryStore, MissingPropertyLeavesItsCellEmpty)
{
    CreateShutdownHistoryIfMissing();
    AddAt(At(2026, 3, 3, 12, 0), 0x0E08);
    {
        auto volume = platform::RecordVolume::Mount(kShutdownHistoryVolume);
        auto db = volume->OpenDatabase(kShutdownHistoryDatabase, 0);
        ASSERT_TRUE(db->WriteRecord({platform::RecordProperty::Text(1, L"0E05 - X")}));
    }
    const auto rows = ReadShutdownHistory(ShutdownSort::byWarning);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, L"0E05 - X");
    EXPECT_EQ(rows[0].node, L"");  // not the other record's "MAIN I/O"
    EXPECT_EQ(rows[0].date, L"");
}

TEST_F(ShutdownHistoryStore, ClearLeavesAnEmptyDatabase)
{
    CreateShutdownHistoryIfMissing();
    AddAt(At(2026, 3, 3, 12, 0), 0x0E08);
    AddAt(At(2026, 3, 3, 12, 1), 0x0E09);
    RefreshShutdownHistoryCount();
    EXPECT_EQ(ShutdownHistoryCount(), 2u);
    ClearShutdownHistory();
    EXPECT_EQ(ShutdownHistoryCount(), 0u);
    EXPECT_TRUE(std::filesystem::exists(Volume()));
    EXPECT_TRUE(ReadShutdownHistory(ShutdownSort::byDateTime).empty());
    AddAt(At(2026, 3, 3, 12, 2), 0x0E0A);
    EXPECT_EQ(ReadShutdownHistory(ShutdownSort::byDateTime).size(), 1u);
}

TEST_F(ShutdownHistoryStore, WithoutTheHardDiskNothingHappens)
{
    std::filesystem::remove_all(root_ / "Hard Disk");
    std::filesystem::create_directories(root_ / "Hard Disk" / "ShutdownHistoryDB");  // unusable
    CreateShutdownHistoryIfMissing();
    AddAt(At(2026, 3, 3, 12, 0), 0x0E08);
    EXPECT_EQ(ShutdownHistoryCount(), 0u);
    DWORD error = 0;
    std::vector<ShutdownRow> rows;
    EXPECT_EQ(ReadShutdownHistory(ShutdownSort::byDateTime, rows, error),
              ShutdownReadOutcome::mountFailed);
    EXPECT_NE(error, 0u);
}

TEST_F(ShutdownHistoryStore, WithoutASourceTheTextIsEmpty)
{
    SetShutdownTextSource(nullptr);
    CreateShutdownHistoryIfMissing();
    AddAt(At(2026, 3, 3, 12, 0), 0x0E08);
    const auto rows = ReadShutdownHistory(ShutdownSort::byDateTime);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, L"");
    EXPECT_EQ(rows[0].node, L"MAIN I/O");
}

// ---- the decoder feeding the history ----

class DecoderToHistory : public HistoryFolder {
protected:
    void SetUp() override
    {
        HistoryFolder::SetUp();
        ResetLinkStateForTest();
        SetRepaintFunction([](RepaintTarget, const RECT*, BOOL) {});  // no windows here
        StartShutdownHistory();
    }
    void TearDown() override
    {
        SetRepaintFunction(nullptr);
        ResetLinkStateForTest();
        HistoryFolder::TearDown();
    }
    void Report(int code)
    {
        SetActiveWarningCode(rx_, static_cast<WarningCode>(code));
        ASSERT_TRUE(DecodeAnswerFrame(rx_));
    }
    // Seconds of the 1-second tick: the hold-off counts down, the panel clock moves on.
    void Seconds(int n)
    {
        for (int s = 0; s < n; ++s) {
            DecrementShutdownRecordHoldOff();
            ++second_;
            const SYSTEMTIME now = At(2026, 3, 3, 14, 5 + second_ / 60, second_ % 60);
            SetLocalTime(&now);
        }
    }
    std::vector<std::wstring> Times()
    {
        std::vector<std::wstring> times;
        for (const ShutdownRow& r : ReadShutdownHistory(ShutdownSort::byDateTime)) {
            times.push_back(r.text.substr(0, 4) + L" " + r.time);
        }
        return times;
    }
    std::array<std::uint8_t, kAnswerPayloadSize> rx_{};
    int second_ = 0;
};

TEST_F(DecoderToHistory, NewCodeAtOnceSameCodeAgainOnlyAfterTheHoldOff)
{
    Seconds(1);
    Report(0x0E08);
    EXPECT_EQ(Times(), (std::vector<std::wstring>{L"0E08 2:05 PM"}));
    Report(0);
    Seconds(99);
    Report(0x0E08);  // back after 99 s: the same shutdown
    EXPECT_EQ(Times().size(), 1u);
    Report(0);
    Seconds(1);
    Report(0x0E08);  // 100 s after it was recorded
    EXPECT_EQ(Times().size(), 2u);
    Report(0x0F02);  // another code at once, whatever the hold-off
    EXPECT_EQ(Times(),
              (std::vector<std::wstring>{L"0E08 2:05 PM", L"0E08 2:06 PM", L"0F02 2:06 PM"}));
}

}  // namespace
