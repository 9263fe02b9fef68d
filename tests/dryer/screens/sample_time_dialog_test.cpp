// "Select Data Log Sample Time - 35": opened from the status chart's button, its minute boxes,
// the value kept in the registry, the restart of the sample interval and the clearing of the
// short-term log.
#include <gtest/gtest.h>

#include "dryer/app/timers.h"
#include "dryer/link/dryer_image.h"
#include "dryer/records/display_settings.h"
#include "dryer/records/short_term_log.h"
#include "dryer/screens/status_chart.h"
#include "platform/storage/files.h"
#include "platform/storage/registry.h"
#include "tests/dryer/screens/status_chart_support.h"

namespace {

namespace fs = std::filesystem;
using chart_test::ChartPanel;
using chart_test::RowNumbers;

constexpr const wchar_t* kTitle = L"Select Data Log Sample Time - 35";
constexpr int kOneMinute = 2451;
constexpr int kFiveMinute = 2452;
constexpr int kTenMinute = 2453;
constexpr int kFifteenMinute = 2454;
constexpr int kAcceptExit = 2455;
constexpr int kClearTable = 2456;

int StoredSampleTime()
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, L"Software\\Tarrow\\OrbitDryer", 0, KEY_READ, &key) != 0) {
        return -1;
    }
    BYTE value = 0xFF;
    DWORD length = 1;
    DWORD type = 0;
    const LONG rc =
        RegQueryValueEx(key, L"TEMP_DATA_LOG_SAMPLE_TIME", nullptr, &type, &value, &length);
    RegCloseKey(key);
    return rc == 0 && type == REG_BINARY && length == 1 ? value : -1;
}

// The minute box that is checked, in minutes; 0 when none, -1 when more than one.
int CheckedMinutes()
{
    int minutes = 0;
    for (const auto& [id, m] : {std::pair{kOneMinute, 1}, std::pair{kFiveMinute, 5},
                                std::pair{kTenMinute, 10}, std::pair{kFifteenMinute, 15}}) {
        const auto box = panel_test::FindControl(id);
        if (box && box->checked) minutes = minutes == 0 ? m : -1;
    }
    return minutes;
}

void OpenDialog()
{
    ASSERT_TRUE(platform::PressControl(kStatusChartSampleTimeButton));
    ASSERT_TRUE(panel_test::FindTitled(kTitle).has_value());
}

TEST(SampleTimeDialog, OpensFromTheChartOverItAndShowsTheCurrentTime)
{
    auto panel = ChartPanel(0);
    ASSERT_TRUE(panel->started());
    OpenDialog();
    for (const auto& [id, text] :
         {std::pair{kOneMinute, L"1 MINUTE"}, std::pair{kFiveMinute, L"5 MINUTE"},
          std::pair{kTenMinute, L"10 MINUTE"}, std::pair{kFifteenMinute, L"15 MINUTE"},
          std::pair{kAcceptExit, L"ACCEPT / EXIT"}, std::pair{kClearTable, L"CLEAR TABLE"}}) {
        const auto c = panel_test::FindControl(id);
        ASSERT_TRUE(c.has_value()) << id;
        EXPECT_EQ(c->text, text);
    }
    EXPECT_EQ(CheckedMinutes(), 10);
    // Centred on the chart, then 20 pixels higher.
    const auto dialog = panel_test::FindTitled(kTitle);
    const auto chart = panel_test::FindShown(L"AVERAGE_VALUES_WINDOW");
    ASSERT_TRUE(chart.has_value());
    const int width = dialog->rect.right - dialog->rect.left;
    const int height = dialog->rect.bottom - dialog->rect.top;
    const int chartWidth = chart->rect.right - chart->rect.left;
    const int chartHeight = chart->rect.bottom - chart->rect.top;
    EXPECT_EQ(dialog->rect.left, chart->rect.left + (chartWidth - width) / 2);
    EXPECT_EQ(dialog->rect.top,
              std::max(0, chart->rect.top + std::max(0, (chartHeight - height) / 2) - 20));
    ASSERT_TRUE(platform::PressControl(kAcceptExit));
    EXPECT_FALSE(panel_test::FindTitled(kTitle).has_value());
}

TEST(SampleTimeDialog, AStoredTimeItDoesNotOfferBecomesFiveAndIsSaved)
{
    sim::SimOptions options;
    options.realTime = false;
    panel_test::PanelRun panel(options, [](const fs::path& root, OrbitDryerOptions&) {
        platform::SetPanelRoots(root, root / "Hard Disk2");
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, L"Software\\Tarrow\\OrbitDryer", 0, nullptr, 0,
                                 KEY_WRITE, nullptr, &key, nullptr),
                  0);
        const BYTE three = 3;
        RegSetValueEx(key, L"TEMP_DATA_LOG_SAMPLE_TIME", 0, REG_BINARY, &three, 1);
        RegCloseKey(key);
    });
    ASSERT_TRUE(panel.started());
    EXPECT_EQ(CurrentDisplaySettings().sampleTimeMinutes, 3);  // loads as stored
    OpenDialog();
    EXPECT_EQ(CheckedMinutes(), 5);
    EXPECT_EQ(StoredSampleTime(), 5);
    ASSERT_TRUE(platform::PressControl(kAcceptExit));
}

TEST(SampleTimeDialog, AMinuteBoxChecksOnlyItselfAndTakesEffectBeforeItIsSaved)
{
    auto panel = ChartPanel(0);
    ASSERT_TRUE(panel->started());
    OpenDialog();
    ASSERT_TRUE(platform::PressControl(kOneMinute));
    EXPECT_EQ(CheckedMinutes(), 1);
    EXPECT_EQ(CurrentDisplaySettings().sampleTimeMinutes, 1);
    EXPECT_EQ(StoredSampleTime(), -1);
    ASSERT_TRUE(platform::PressControl(kFifteenMinute));
    EXPECT_EQ(CheckedMinutes(), 15);
    ASSERT_TRUE(platform::PressControl(kAcceptExit));
    EXPECT_EQ(StoredSampleTime(), 15);
    EXPECT_EQ(panel_test::FindControl(kStatusChartSampleTimeButton)->text, L"SAMPLE TIME 15 Min");
}

TEST(SampleTimeDialog, AcceptWritesASampleOnTheNextSecondAndStartsTheIntervalAgain)
{
    auto panel = ChartPanel(0);
    ASSERT_TRUE(panel->started());
    panel->Pin(dryerState2, unloadingBit2.mask);
    panel->Advance(2000);
    const int before = ShortTermRecordCount();
    ASSERT_GE(before, 1);  // the first sample came at once
    OpenDialog();
    ASSERT_TRUE(platform::PressControl(kFiveMinute));
    ASSERT_TRUE(platform::PressControl(kAcceptExit));
    panel->Advance(1000);
    EXPECT_EQ(ShortTermRecordCount(), before + 1);
    EXPECT_EQ(Ticks().shortTermCountdown, 5 * 60);
    EXPECT_EQ(RowNumbers().size(), static_cast<std::size_t>(before + 1));
}

TEST(SampleTimeDialog, ClearTableAsksFirstAndDeletesTheLogOnYes)
{
    auto panel = ChartPanel(20);
    ASSERT_TRUE(panel->started());
    ASSERT_EQ(RowNumbers().size(), 8u);

    OpenDialog();
    ASSERT_TRUE(platform::PressControl(kClearTable));
    auto box = panel_test::TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, L"DELETE SHORT TERM DATA-LOG FILES!");
    EXPECT_EQ(box->messageText, L"Are you sure you want to clear table?");
    ASSERT_TRUE(platform::AnswerMessageBox(L"No"));
    EXPECT_FALSE(panel_test::FindTitled(kTitle).has_value());  // closed either way
    EXPECT_EQ(ShortTermRecordCount(), 20);

    OpenDialog();
    ASSERT_TRUE(platform::PressControl(kClearTable));
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    EXPECT_FALSE(panel_test::FindTitled(kTitle).has_value());
    EXPECT_EQ(ShortTermRecordCount(), 0);
    EXPECT_TRUE(RowNumbers().empty());
    const auto bar = panel_test::FindControl(kStatusChartScrollBar);
    EXPECT_FALSE(bar.has_value() && bar->visible);
}

}  // namespace
