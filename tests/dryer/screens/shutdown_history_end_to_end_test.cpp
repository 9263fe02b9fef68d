// The shutdown history against the simulated Display I/O: a shutdown raised on the board is
// in the history at once with the panel's time, the same shutdown again only once the
// 100-second hold-off has run out, a different one at once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dryer/records/shutdown_history.h"
#include "dryer/screens/shutdown_history_screen.h"
#include "dryer/screens/view_menu.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/runtime.h"
#include "tests/dryer/program/panel_run.h"

namespace {

using panel_test::PanelRun;

std::wstring Formatted(const SYSTEMTIME& t, const wchar_t* picture, bool date)
{
    wchar_t out[64] = {};
    if (date) {
        GetDateFormat(LOCALE_SYSTEM_DEFAULT, 0, &t, picture, out, 64);
    } else {
        GetTimeFormat(LOCALE_SYSTEM_DEFAULT, 0, &t, picture, out, 64);
    }
    return out;
}

std::vector<std::wstring> Codes()
{
    std::vector<std::wstring> codes;
    for (const ShutdownRow& row : ReadShutdownHistory(ShutdownSort::byDateTime)) {
        codes.push_back(row.text.substr(0, 4));
    }
    return codes;
}

TEST(ShutdownHistoryEndToEnd, BoardShutdownIsListedWithItsTime)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    SYSTEMTIME raised;
    GetLocalTime(&raised);
    panel.sim().Control("warn 0E08");
    panel.Advance(1000);
    panel.sim().Control("clear");
    panel.Advance(700);

    ASSERT_TRUE(platform::PressControl(0x8804));
    ASSERT_TRUE(platform::PressControl(kViewHistoryButton));
    const auto list = panel_test::FindControl(kHistoryList);
    ASSERT_TRUE(list.has_value());
    ASSERT_EQ(list->rows.size(), 1u);
    const auto& cells = list->rows[0].cells;
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[0], L"0E08 - MAIN I/O - OUT OF GRAIN TIMER EXPIRED");
    EXPECT_EQ(cells[1], L"MAIN I/O");
    EXPECT_EQ(cells[2], Formatted(raised, L"MMM dd',' yyy", true));
    // Recorded within the second after the board raised it (the minute may just turn).
    SYSTEMTIME later = raised;
    later.wSecond = static_cast<WORD>(raised.wSecond + 1);
    if (later.wSecond == 60) {
        later.wSecond = 0;
        later.wMinute = static_cast<WORD>((raised.wMinute + 1) % 60);
    }
    EXPECT_TRUE(cells[3] == Formatted(raised, L"h':'mm tt", false) ||
                cells[3] == Formatted(later, L"h':'mm tt", false))
        << panel_test::Narrow(cells[3]);
    ASSERT_TRUE(platform::PressControl(kHistoryExit));
}

TEST(ShutdownHistoryEndToEnd, SameShutdownAgainOnlyAfterTheHoldOff)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    panel.sim().Control("warn 0E08");
    panel.Advance(1000);
    EXPECT_EQ(Codes(), (std::vector<std::wstring>{L"0E08"}));
    panel.sim().Control("clear");
    panel.Advance(45000);
    panel.sim().Control("warn 0E08");  // back within 100 s: the same shutdown
    panel.Advance(1000);
    EXPECT_EQ(Codes().size(), 1u);
    panel.sim().Control("clear");
    panel.Advance(56000);  // 103 s after it was recorded
    panel.sim().Control("warn 0E08");
    panel.Advance(1000);
    EXPECT_EQ(Codes(), (std::vector<std::wstring>{L"0E08", L"0E08"}));
    panel.sim().Control("warn 0E05");  // another shutdown: at once
    panel.Advance(1000);
    EXPECT_EQ(Codes(), (std::vector<std::wstring>{L"0E08", L"0E08", L"0E05"}));
    panel.sim().Control("clear");
    panel.Advance(700);
}

}  // namespace
