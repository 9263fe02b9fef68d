// The long-term log in a running panel against the simulated dryer: records every 12 seconds of
// unloading while the dryer reports its logger on, the nearly-full warning once per run, and
// the set-up dialog switching the dryer's logger off and on through the command link.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "dryer/app/timers.h"
#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "dryer/records/long_term_log.h"
#include "dryer/screens/data_logger_setup.h"
#include "dryer/screens/entry_dialogs.h"
#include "platform/runtime/runtime.h"
#include "tests/dryer/program/panel_run.h"

namespace {

using panel_test::FindControl;
using panel_test::FindTitled;
using panel_test::PanelRun;
using panel_test::TopMessageBox;

std::filesystem::path LogOf(const std::filesystem::path& root)
{
    return root / "Hard Disk" / "DataLog" / "LongTermDataLog.dat";
}

// A run that starts with a log of `size` bytes (none for -1).
panel_test::PanelRunSetup WithLog(long long size)
{
    return [size](const std::filesystem::path& root, OrbitDryerOptions&) {
        if (size < 0) return;
        std::filesystem::create_directories(LogOf(root).parent_path());
        std::ofstream(LogOf(root), std::ios::binary)
            << std::string(static_cast<std::size_t>(size), '\x05');
    };
}

// Runs panel time on in seconds until a message box shows; false after `seconds`.
bool Checked(int id)
{
    const auto c = FindControl(id);
    return c.has_value() && c->checked;
}

std::uintmax_t SizeOf(const std::filesystem::path& file)
{
    return std::filesystem::exists(file) ? std::filesystem::file_size(file) : 0;
}

class DataLoggerRun : public ::testing::Test {
protected:
    void SetUp() override { ResetLongTermLogForTest(); }
    void TearDown() override { ResetLongTermLogForTest(); }
};

TEST_F(DataLoggerRun, WithTheLoggerOffTheLogIsMadeEmptyAndNothingIsRecorded)
{
    // The simulated dryer starts with its logger off, so no sample of the first seconds,
    // before a change of the byte could reach the panel, is taken.
    sim::SimOptions board;
    board.presets.emplace_back(static_cast<int>(optionByte289.offset), 0x00);
    PanelRun panel(board, WithLog(-1));
    ASSERT_TRUE(panel.started());
    ASSERT_FALSE(IsSet(DryerImage, longTermLogBit));
    panel.Pin(dryerState2, 0x01);  // unloading
    panel.Advance(25000);
    ASSERT_TRUE(std::filesystem::exists(LogOf(panel.root())));
    EXPECT_EQ(SizeOf(LogOf(panel.root())), 0u);
    EXPECT_FALSE(TopMessageBox().has_value());
}

TEST_F(DataLoggerRun, RecordsEveryTwelveSecondsOfUnloadingWhileTheDryerLogs)
{
    PanelRun panel({}, WithLog(160));
    ASSERT_TRUE(panel.started());
    panel_test::SetOnBoard(panel.sim(), optionByte289, 0x01);
    panel.Pin(dryerState2, 0x01);
    const std::uintmax_t start = SizeOf(LogOf(panel.root()));
    panel.Advance(36000);
    EXPECT_EQ(SizeOf(LogOf(panel.root())), start + 3 * 16);
    // Unloading stops: from the next tick on nothing is appended.
    panel.Pin(dryerState, kDryerStateIdle);
    panel.Pin(dryerState2, 0x00);
    const std::uintmax_t stopped = SizeOf(LogOf(panel.root()));
    EXPECT_LE(SizeOf(LogOf(panel.root())), stopped + 16);  // a tick while the pins went in
    const std::uintmax_t idle = SizeOf(LogOf(panel.root()));
    panel.Advance(24000);
    EXPECT_EQ(SizeOf(LogOf(panel.root())), idle);
    EXPECT_FALSE(TopMessageBox().has_value());  // 0 % used: no warning
    EXPECT_EQ(LongTermFillLevelPercent(), 0);
}

TEST_F(DataLoggerRun, TheNearlyFullWarningOpensTheDialogWhichSwitchesTheDryersLogger)
{
    // The simulated dryer reports its logger on from the start, so the first tick, in the
    // first second, asks at once. Nothing was appended: the second before it, the panel did
    // not yet know the dryer to be unloading.
    PanelRun panel({}, WithLog(3722448));  // 71 % used
    ASSERT_TRUE(panel.started());
    const auto log = LogOf(panel.root());
    ASSERT_TRUE(IsSet(DryerImage, longTermLogBit));
    ASSERT_TRUE(TopMessageBox().has_value());
    EXPECT_EQ(SizeOf(log), 3722448u);
    const auto warning = TopMessageBox();
    EXPECT_EQ(warning->title, L"DATA LOG FILE SIZE WARNING");
    EXPECT_EQ(warning->messageText,
              L"Data Logger close to full.  Do you wish to open Data Logger \n Setup Window?");
    EXPECT_EQ(warning->buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    ASSERT_TRUE(FindTitled(kDataLoggerSetupTitle).has_value());
    EXPECT_EQ(FindControl(kLoggerUsedSpace)->text, L"71 %");
    EXPECT_TRUE(Checked(kLoggerOnIndicator));

    // Unloading: the ticks record, and repaint the open dialog.
    panel.Pin(dryerState2, 0x01);
    panel.Advance(12000);
    EXPECT_EQ(SizeOf(log), 3722448u + 16);
    // The tick's repaint shows the level it found: here of a log cut short behind its back.
    std::filesystem::resize_file(log, 160);
    EXPECT_EQ(FindControl(kLoggerUsedSpace)->text, L"71 %");
    panel.Advance(12000);
    EXPECT_EQ(FindControl(kLoggerUsedSpace)->text, L"0 %");

    // OFF goes to the dryer; once it reports the logger off, nothing more is recorded.
    ASSERT_TRUE(platform::PressControl(kLoggerOffButton));
    EXPECT_TRUE(PendingCommand.IsSet(optionByte289.pending));
    panel.Cycles(3);
    EXPECT_FALSE(IsSet(DryerImage, longTermLogBit));
    EXPECT_EQ(panel_test::SimByte(panel.sim(), optionByte289), 0);
    EXPECT_FALSE(PendingCommand.IsSet(optionByte289.pending));
    EXPECT_TRUE(Checked(kLoggerOffIndicator));
    const std::uintmax_t off = SizeOf(log);
    panel.Advance(24000);
    EXPECT_EQ(SizeOf(log), off);

    // ON again: records follow, and the warning is not repeated in this run.
    ASSERT_TRUE(platform::PressControl(kLoggerOnButton));
    panel.Cycles(3);
    EXPECT_TRUE(IsSet(DryerImage, longTermLogBit));
    EXPECT_EQ(panel_test::SimByte(panel.sim(), optionByte289), 1);
    panel.Advance(24000);
    EXPECT_EQ(SizeOf(log), off + 2 * 16);
    EXPECT_FALSE(TopMessageBox().has_value());
    EXPECT_TRUE(Checked(kLoggerOnIndicator));
    EXPECT_EQ(FindControl(kLoggerUsedSpace)->text, L"0 %");

    ASSERT_TRUE(platform::PressControl(kLoggerExit));
    EXPECT_FALSE(FindTitled(kDataLoggerSetupTitle).has_value());
    panel.Advance(24000);
    EXPECT_FALSE(TopMessageBox().has_value());
}

int OpenDialogs()
{
    int n = 0;
    for (const auto& w : platform::InspectWindows()) n += w.title == kDataLoggerSetupTitle ? 1 : 0;
    return n;
}

TEST_F(DataLoggerRun, AWarningWhileTheDialogIsOpenOpensNoSecondOne)
{
    PanelRun panel({}, WithLog(3722448));
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    ASSERT_EQ(OpenDialogs(), 1);
    Ticks().logSizeWarningArmed = true;  // as though the operator had opened it himself
    panel.Advance(12000);
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    EXPECT_EQ(OpenDialogs(), 1);
    ASSERT_TRUE(platform::PressControl(kLoggerExit));
    EXPECT_EQ(OpenDialogs(), 0);
}

TEST_F(DataLoggerRun, TheWarningComesOnTheFirstTickThatFindsSeventyOnePercent)
{
    PanelRun panel({}, WithLog(3722444));  // 70 %: one byte short of 71
    ASSERT_TRUE(panel.started());
    EXPECT_FALSE(TopMessageBox().has_value());
    panel.Pin(dryerState2, 0x01);
    // The first append finds 70 % and takes the log across. Where it falls within its
    // 12-second period depends on how long the pin took, so time runs on second by second.
    for (int s = 0; s < 13 && SizeOf(LogOf(panel.root())) == 3722444u; ++s) panel.Advance(1000);
    EXPECT_EQ(SizeOf(LogOf(panel.root())), 3722444u - 12 + 16);  // the cut record dropped
    EXPECT_FALSE(TopMessageBox().has_value());
    panel.Advance(12000);
    ASSERT_TRUE(TopMessageBox().has_value());
    EXPECT_EQ(TopMessageBox()->title, L"DATA LOG FILE SIZE WARNING");
    ASSERT_TRUE(platform::AnswerMessageBox(L"No"));
    EXPECT_FALSE(FindTitled(kDataLoggerSetupTitle).has_value());
}

}  // namespace
