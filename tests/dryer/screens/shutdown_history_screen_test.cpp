// The screen "Shutdown History -29" in a running panel: the list and its columns, the three
// sort buttons with their indicators, a record added while the list shows, the clear behind a
// held EXIT, the help of a chosen row, and the copy to the USB drive with its questions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "dryer/records/data_log_hooks.h"
#include "dryer/records/shutdown_history.h"
#include "dryer/screens/home_panels.h"
#include "dryer/screens/shutdown_history_screen.h"
#include "dryer/screens/view_menu.h"
#include "platform/runtime/runtime.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/support/child_process.h"

namespace {

using panel_test::FindControl;
using panel_test::FindTitled;
using panel_test::PanelRun;
using panel_test::TopMessageBox;

constexpr const wchar_t* kTitle = L"Shutdown History -29";
constexpr int kViewButton = 0x8804;

SYSTEMTIME At(int day, int hour, int minute)
{
    SYSTEMTIME t = panel_test::StartTime();
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    return t;
}

class HistoryScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        panel_test::EnsureVirtualClock();
        GetLocalTime(&saved_);
    }
    void TearDown() override { SetLocalTime(&saved_); }

    // A record as the decoder adds it, at a chosen panel time.
    static void AddAt(const SYSTEMTIME& when, int code)
    {
        SetLocalTime(&when);
        AddShutdownRecord(static_cast<std::uint8_t>(code >> 8),
                          static_cast<std::uint8_t>(code & 0xFF));
    }

    static bool Open()
    {
        platform::PressControl(kViewButton);
        platform::PressControl(kViewHistoryButton);
        return FindTitled(kTitle).has_value();
    }

    static std::vector<std::vector<std::wstring>> Rows()
    {
        std::vector<std::vector<std::wstring>> rows;
        if (const auto list = FindControl(kHistoryList)) {
            for (const auto& r : list->rows) rows.push_back(r.cells);
        }
        return rows;
    }
    // The first four characters of every row's text, top to bottom.
    static std::vector<std::wstring> Codes()
    {
        std::vector<std::wstring> codes;
        for (const auto& r : Rows()) codes.push_back(r.empty() ? L"" : r[0].substr(0, 4));
        return codes;
    }
    static int CheckedIndicator()
    {
        int checked = 0;
        for (int id : {kHistorySortedByWarning, kHistorySortedByDateTime, kHistorySortedByNode}) {
            const auto c = FindControl(id);
            if (c && c->checked) checked = checked * 10000 + id;
        }
        return checked;  // one id, or several run together
    }
    static std::wstring MessageText()
    {
        const auto box = TopMessageBox();
        return box ? box->messageText : L"";
    }
    static std::wstring MessageCaption()
    {
        const auto box = TopMessageBox();
        return box ? box->title : L"";
    }
    // Holds EXIT down for a while of panel time, then lets go.
    static void HoldExit(PanelRun& panel, int milliseconds)
    {
        const auto exit = FindControl(kHistoryExit);
        ASSERT_TRUE(exit.has_value());
        const int x = (exit->rect.left + exit->rect.right) / 2;
        const int y = (exit->rect.top + exit->rect.bottom) / 2;
        ASSERT_TRUE(platform::PointerDown(x, y));
        panel.Advance(milliseconds);
        ASSERT_TRUE(platform::PointerUp(x, y));
    }
    // Taps a row of the list (0 is the top row).
    static void TapRow(int row)
    {
        const auto list = FindControl(kHistoryList);
        ASSERT_TRUE(list.has_value());
        constexpr int kBorderAndHeader = 2 + 20;
        constexpr int kRowHeight = 18;
        platform::Tap(list->rect.left + 60,
                      list->rect.top + kBorderAndHeader + row * kRowHeight + kRowHeight / 2);
    }

    SYSTEMTIME saved_;
};

TEST_F(HistoryScreen, ListsNewestFirstInFourColumns)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    AddAt(At(3, 9, 30), 0x0E08);
    AddAt(At(4, 13, 5), 0x0F02);
    AddAt(At(2, 23, 59), 0x0203);
    ASSERT_TRUE(Open());
    EXPECT_FALSE(panel_test::Shown(L"VIEW_SELECTION_WINDOW"));  // the menu hides first
    const auto list = FindControl(kHistoryList);
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(list->columns,
              (std::vector<std::wstring>{L"Shutdown ID", L"Node ID", L"Date", L"Time"}));
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (std::vector<std::wstring>{L"0F02 - MAX DRYING TIME EXCEEDED",
                                                  L"MOISTURE CONT", L"Mar 04, 2026", L"1:05 PM"}));
    EXPECT_EQ(rows[1][0], L"0E08 - MAIN I/O - OUT OF GRAIN TIMER EXPIRED");
    EXPECT_EQ(rows[2], (std::vector<std::wstring>{L"0203 - BURNER #1 VAPOR TEMP HI LIMIT",
                                                  L"FAN/HEATER #1", L"Mar 02, 2026", L"11:59 PM"}));
    EXPECT_EQ(CheckedIndicator(), kHistorySortedByDateTime);
    const auto clear = FindControl(kHistoryClear);
    EXPECT_TRUE(!clear.has_value() || !clear->visible);  // the clear is hidden
    ASSERT_TRUE(platform::PressControl(kHistoryExit));
    EXPECT_FALSE(FindTitled(kTitle).has_value());
}

TEST_F(HistoryScreen, ColumnsAre325Then90Wide)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(Open());
    const auto list = FindControl(kHistoryList);
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(list->columnWidths, (std::vector<int>{325, 90, 90, 90}));
    // The four columns fit the list beside its scroll bar.
    EXPECT_LE(325 + 90 + 90 + 90 + 20, list->rect.right - list->rect.left);
    platform::PressControl(kHistoryExit);
}

TEST_F(HistoryScreen, SortButtonsReorderAndMoveTheIndicator)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    AddAt(At(3, 10, 0), 0x0E08);
    AddAt(At(1, 10, 0), 0x0F02);
    AddAt(At(5, 10, 0), 0x0203);
    AddAt(At(4, 10, 0), 0x0E01);
    ASSERT_TRUE(Open());
    EXPECT_EQ(Codes(), (std::vector<std::wstring>{L"0203", L"0E01", L"0E08", L"0F02"}));

    ASSERT_TRUE(platform::PressControl(kHistorySortByWarning));
    EXPECT_EQ(Codes(), (std::vector<std::wstring>{L"0F02", L"0E08", L"0E01", L"0203"}));
    EXPECT_EQ(CheckedIndicator(), kHistorySortedByWarning);

    ASSERT_TRUE(platform::PressControl(kHistorySortByNode));
    // "MOISTURE CONT" > "MAIN I/O" > "FAN/HEATER #1", descending; within MAIN I/O by text.
    EXPECT_EQ(Codes(), (std::vector<std::wstring>{L"0F02", L"0E08", L"0E01", L"0203"}));
    EXPECT_EQ(Rows()[3][1], L"FAN/HEATER #1");
    EXPECT_EQ(CheckedIndicator(), kHistorySortedByNode);

    ASSERT_TRUE(platform::PressControl(kHistorySortByDateTime));
    EXPECT_EQ(Codes(), (std::vector<std::wstring>{L"0203", L"0E01", L"0E08", L"0F02"}));
    EXPECT_EQ(CheckedIndicator(), kHistorySortedByDateTime);

    // The indicators only show the order; tapping one changes nothing.
    ASSERT_TRUE(platform::PressControl(kHistorySortedByWarning));
    EXPECT_EQ(CheckedIndicator(), kHistorySortedByDateTime);
    platform::PressControl(kHistoryExit);
}

TEST_F(HistoryScreen, ShutdownDuringTheScreenShowsOnTheNextSort)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    AddAt(At(3, 10, 0), 0x0E01);
    ASSERT_TRUE(Open());
    ASSERT_EQ(Rows().size(), 1u);
    panel.sim().Control("warn 0E08");
    panel.Advance(1000);
    EXPECT_EQ(Rows().size(), 1u);  // the list is not read again by itself
    ASSERT_TRUE(platform::PressControl(kHistorySortByWarning));
    EXPECT_EQ(Codes(), (std::vector<std::wstring>{L"0E08", L"0E01"}));
    ASSERT_TRUE(platform::PressControl(kHistorySortByDateTime));
    EXPECT_EQ(Codes(), (std::vector<std::wstring>{L"0E08", L"0E01"}));
    panel.sim().Control("clear");
    panel.Advance(700);
    platform::PressControl(kHistoryExit);
}

TEST_F(HistoryScreen, ExitHeldUnderFiveSecondsCloses)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    AddAt(At(3, 10, 0), 0x0E01);
    ASSERT_TRUE(Open());
    HoldExit(panel, 3900);  // four ticks of the 1-second timer at most
    EXPECT_FALSE(FindTitled(kTitle).has_value());
    EXPECT_FALSE(TopMessageBox().has_value());
    EXPECT_EQ(ReadShutdownHistory(ShutdownSort::byDateTime).size(), 1u);
}

TEST_F(HistoryScreen, ExitHeldFiveSecondsAsksToClear)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    AddAt(At(3, 10, 0), 0x0E01);
    AddAt(At(3, 11, 0), 0x0E02);
    ASSERT_TRUE(Open());
    HoldExit(panel, 5100);
    ASSERT_TRUE(TopMessageBox().has_value());
    EXPECT_EQ(MessageText(), L"Are you sure you want to clear the Shutdown History?");
    EXPECT_EQ(MessageCaption(), L"CLEARING SHUTDOWN HISTORY!");
    EXPECT_EQ(TopMessageBox()->buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
    ASSERT_TRUE(platform::AnswerMessageBox(L"No"));
    EXPECT_TRUE(FindTitled(kTitle).has_value());  // still open, nothing cleared
    EXPECT_EQ(Rows().size(), 2u);

    ASSERT_TRUE(platform::PressControl(kHistorySortByWarning));
    panel.Advance(1000);  // let go for a tick: the hold starts from five again
    HoldExit(panel, 5100);
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    EXPECT_TRUE(FindTitled(kTitle).has_value());
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(CheckedIndicator(), kHistorySortedByDateTime);
    EXPECT_TRUE(ReadShutdownHistory(ShutdownSort::byDateTime).empty());
    EXPECT_EQ(ShutdownHistoryCount(), 0u);

    ASSERT_TRUE(platform::PressControl(kHistoryExit));  // a short press closes again
    EXPECT_FALSE(FindTitled(kTitle).has_value());
}

TEST_F(HistoryScreen, ShowHelpFileWithoutASelectionSaysSo)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    AddAt(At(3, 10, 0), 0x0E08);
    ASSERT_TRUE(Open());
    ASSERT_TRUE(platform::PressControl(kHistoryShowHelp));
    EXPECT_EQ(MessageText(), L"Select an item, then press \"Show Help File\".");
    EXPECT_EQ(MessageCaption(), L"NO ITEM SELECTED");
    EXPECT_EQ(TopMessageBox()->buttons, (std::vector<std::wstring>{L"OK", L"Cancel"}));
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
    EXPECT_FALSE(FindTitled(L"Shutdown Help File - 34").has_value());
    platform::PressControl(kHistoryExit);
}

TEST_F(HistoryScreen, ShowHelpFileOpensTheHelpOfTheChosenRow)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    AddAt(At(3, 10, 0), 0x0E08);
    AddAt(At(3, 9, 0), 0x0203);
    ASSERT_TRUE(Open());
    TapRow(0);  // newest: 0E08
    ASSERT_TRUE(platform::PressControl(kHistoryShowHelp));
    // Without help files the help dialog asks about its picture; its selection is the row's.
    EXPECT_EQ(home_panels::WarningHelp().node, 14);
    EXPECT_EQ(home_panels::WarningHelp().index, 8);
    EXPECT_TRUE(home_panels::WarningHelp().fromHistory);
    EXPECT_TRUE(FindTitled(L"Shutdown Help File - 34").has_value());
    EXPECT_EQ(MessageText(), L"No help file available for this topic.");
    ASSERT_TRUE(platform::AnswerMessageBox(L"Cancel"));
    EXPECT_FALSE(FindTitled(L"Shutdown Help File - 34").has_value());
    EXPECT_TRUE(FindTitled(kTitle).has_value());

    TapRow(1);
    ASSERT_TRUE(platform::PressControl(kHistoryShowHelp));
    EXPECT_EQ(home_panels::WarningHelp().node, 2);
    EXPECT_EQ(home_panels::WarningHelp().index, 3);
    ASSERT_TRUE(platform::AnswerMessageBox(L"Cancel"));
    ASSERT_TRUE(platform::PressControl(kHistoryExit));
}

TEST_F(HistoryScreen, CopyToUsbAsksForTheDriveThenWritesTheFile)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    AddAt(At(3, 10, 0), 0x0E08);
    AddAt(At(3, 9, 0), 0x0203);
    ASSERT_TRUE(Open());
    const std::filesystem::path usb = panel.root() / "Hard Disk2";
    std::filesystem::remove_all(usb);

    ASSERT_TRUE(platform::PressControl(kHistoryCopyToUsb));
    EXPECT_EQ(MessageText(), L"Please insert flash card into USB port.");
    EXPECT_EQ(MessageCaption(), L"USB FLASH CARD NOT PRESENT");
    EXPECT_EQ(TopMessageBox()->buttons, (std::vector<std::wstring>{L"Retry", L"Cancel"}));
    ASSERT_TRUE(platform::AnswerMessageBox(L"Retry"));  // still no drive: asked again
    EXPECT_EQ(MessageCaption(), L"USB FLASH CARD NOT PRESENT");
    std::filesystem::create_directories(usb);
    ASSERT_TRUE(platform::AnswerMessageBox(L"Retry"));
    EXPECT_EQ(MessageText(),
              L"Copy dryer shutdown history to USB flash card as file "
              L"\"DryerShutdownHistory.txt\".");
    EXPECT_EQ(MessageCaption(), L"SHUTDOWN HISTORY TO USB FLASH CARD");
    EXPECT_EQ(TopMessageBox()->buttons, (std::vector<std::wstring>{L"Yes", L"No", L"Cancel"}));
    ASSERT_TRUE(platform::AnswerMessageBox(L"No"));
    EXPECT_FALSE(std::filesystem::exists(usb / "DryerShutdownHistory.txt"));

    ASSERT_TRUE(platform::PressControl(kHistoryCopyToUsb));
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    EXPECT_FALSE(TopMessageBox().has_value());  // success is not announced
    EXPECT_EQ(test_support::ReadFile(usb / "DryerShutdownHistory.txt"),
              "0203 - BURNER #1 VAPOR TEMP HI LIMIT;FAN/HEATER #1;Mar 03, 2026;9:00 AM;\n"
              "0E08 - MAIN I/O - OUT OF GRAIN TIMER EXPIRED;MAIN I/O;Mar 03, 2026;10:00 AM;\n");
    platform::PressControl(kHistoryExit);
}

TEST_F(HistoryScreen, CopyToUsbCancelledWithoutADrive)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(Open());
    std::filesystem::remove_all(panel.root() / "Hard Disk2");
    ASSERT_TRUE(platform::PressControl(kHistoryCopyToUsb));
    ASSERT_TRUE(platform::AnswerMessageBox(L"Cancel"));
    EXPECT_FALSE(TopMessageBox().has_value());
    EXPECT_TRUE(FindTitled(kTitle).has_value());
    platform::PressControl(kHistoryExit);
}

// A few dozen records as the operator sees them; the picture goes to $HISTORY_SCREENSHOT_DIR
// when that is set.
TEST_F(HistoryScreen, EveryTextFitsItsBoxWithAFullList)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    const int codes[] = {0x0E08, 0x0F02, 0x0203, 0x0E19, 0x0713, 0x010A, 0x0E18, 0x0505};
    for (int i = 0; i < 36; ++i)
        AddAt(At(1 + i / 8, 6 + (i * 7) % 17, (i * 13) % 60), codes[i % 8]);
    ASSERT_TRUE(Open());
    ASSERT_EQ(Rows().size(), 36u);
    if (const char* dir = std::getenv("HISTORY_SCREENSHOT_DIR")) {
        platform::SaveScreenshot(std::filesystem::path(dir) / "shutdown-history.png");
    }
    const auto screen = FindTitled(kTitle);
    ASSERT_TRUE(screen.has_value());
    EXPECT_GE(screen->rect.left, 0);
    EXPECT_GE(screen->rect.top, 0);
    EXPECT_LE(screen->rect.right, 640);
    EXPECT_LE(screen->rect.bottom, 480);
    for (const auto& c : screen->controls) {
        if (!c.visible) continue;
        EXPECT_GE(c.rect.left, screen->rect.left) << c.id;
        EXPECT_LE(c.rect.right, screen->rect.right) << c.id;
        EXPECT_LE(c.rect.bottom, screen->rect.bottom) << c.id;
        for (const auto& d : screen->controls) {
            if (!d.visible || d.id <= c.id) continue;
            const bool apart = c.rect.right <= d.rect.left || d.rect.right <= c.rect.left ||
                               c.rect.bottom <= d.rect.top || d.rect.bottom <= c.rect.top;
            EXPECT_TRUE(apart) << c.id << " overlaps " << d.id;
        }
    }
    platform::PressControl(kHistoryExit);
}

}  // namespace
