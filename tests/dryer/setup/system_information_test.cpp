// " SYSTEM INFORMATION / SOFTWARE VERSION - 32" on a running panel: the version, the clock that
// runs on with the 1-second tick while the screen is open, the memory lines (also past 2 GiB),
// and "Software Release Information - 30" with one block per earlier version. Both open from
// the view menu's entries.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dryer/screens/entry_dialogs.h"
#include "dryer/setup/system_information.h"
#include "platform/runtime/clock.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/setup/diagnostics_support.h"
#include "tests/dryer/setup/setup_support.h"

namespace {

using namespace diagnostics_test;
using panel_test::PanelRun;

std::vector<std::wstring> DrawnTexts()
{
    std::vector<std::wstring> texts;
    const auto w = Window(kSystemInformationTitle);
    if (w) {
        for (const auto& t : w->texts) texts.push_back(t.text);
    }
    return texts;
}

bool Shows(const std::wstring& text)
{
    const auto texts = DrawnTexts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The drawn time ("h:mm:ss AM" or PM), empty when none shows.
std::wstring ShownTime()
{
    for (const std::wstring& t : DrawnTexts()) {
        if (t.size() >= 10 && t[t.size() - 1] == L'M' && t[t.size() - 6] == L':') return t;
    }
    return {};
}

std::wstring PanelTime()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t text[64] = {};
    GetTimeFormat(LOCALE_SYSTEM_DEFAULT, 0, &now, L"h':'mm':'ss tt", text, 64);
    return text;
}

std::wstring PanelDate()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t text[64] = {};
    GetDateFormat(LOCALE_SYSTEM_DEFAULT, 0, &now, L"dddd  MMM dd',' yyy", text, 64);
    return text;
}

TEST(SystemInformation, ShowsTheVersionAndAClockThatRuns)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    OpenOnPanel(panel, OpenSystemInformation);
    ASSERT_TRUE(Window(kSystemInformationTitle).has_value());
    EXPECT_TRUE(Shows(L"VER: 1.17"));
    EXPECT_TRUE(Shows(PanelTime())) << panel_test::Narrow(PanelTime());
    EXPECT_TRUE(Shows(PanelDate())) << panel_test::Narrow(PanelDate());

    // The panel clock goes on: each second the screen shows a new time, without a touch.
    std::wstring shown = ShownTime();
    for (int second = 0; second < 3; ++second) {
        panel.Advance(1000);
        const std::wstring now = ShownTime();
        EXPECT_NE(now, shown);
        EXPECT_EQ(now.size(), PanelTime().size());
        shown = now;
    }

    const auto texts = DrawnTexts();
    const auto line = [&](const std::wstring& prefix) {
        return std::any_of(texts.begin(), texts.end(), [&](const std::wstring& t) {
            return t.rfind(prefix, 0) == 0 && t.size() > prefix.size() + 6 &&
                   t.substr(t.size() - 6) == L" Bytes";
        });
    };
    EXPECT_TRUE(line(L"RAM MEMORY SIZE: "));
    EXPECT_TRUE(line(L"FREE RAM MEMORY: "));

    ASSERT_TRUE(platform::PressControl(IDOK));
    EXPECT_FALSE(Window(kSystemInformationTitle).has_value());
    panel.Advance(2000);  // the tick finds no screen to repaint
}

TEST(SystemInformation, MemoryPastTwoGibibytesIsShownWhole)
{
    EXPECT_EQ(RamSizeText(3221225472ull), L"RAM MEMORY SIZE: 3221225472 Bytes");
    EXPECT_EQ(FreeRamText(25769803776ull), L"FREE RAM MEMORY: 25769803776 Bytes");
    EXPECT_EQ(RamSizeText(0), L"RAM MEMORY SIZE: 0 Bytes");
}

TEST(SoftwareRelease, ListsTheNotesOfEachVersionAndExits)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    OpenOnPanel(panel, OpenSoftwareRelease);
    ASSERT_TRUE(Window(kSoftwareReleaseTitle).has_value());
    const auto list = setup_test::Control(kReleaseNotesList);
    ASSERT_TRUE(list.has_value());
    std::vector<std::wstring> headings;
    for (const auto& row : list->rows) {
        if (!row.cells.empty() && row.cells[0].rfind(L"*****", 0) == 0) {
            headings.push_back(row.cells[0]);
        }
    }
    ASSERT_EQ(headings.size(), 6u);
    for (int minor = 10; minor <= 15; ++minor) {
        EXPECT_EQ(headings[minor - 10], L"***************** Minor Software Additions - Version 1." +
                                            std::to_wstring(minor) + L" ****************");
    }
    ASSERT_TRUE(platform::PressControl(IDOK));
    EXPECT_FALSE(Window(kSoftwareReleaseTitle).has_value());
}

}  // namespace
