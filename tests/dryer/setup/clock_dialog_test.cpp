// "Set Time / Date - 18": the 12-hour dial and its way back to 0-23, the fields it opens on,
// UP and DOWN wrapping at both ends, what ACCEPT / EXIT sets (seconds kept) and CANCEL does not,
// a date that does not exist refused, the layout, and the new time reaching the dryer's clock
// record on the next second.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/screens/screen_manager.h"
#include "dryer/setup/clock_dialog.h"
#include "platform/runtime/clock.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/setup/drying_mode_support.h"

namespace {

using namespace drying_test;
using E = ClockEntry;

// ---- the 12-hour dial ------------------------------------------------------------------------

TEST(ClockDial, ShowsEveryHourOnTheTwelveHourDial)
{
    const struct {
        int hour24;
        TwelveHour dial;
    } cases[] = {{0, {12, false}}, {1, {1, false}}, {11, {11, false}},
                 {12, {12, true}}, {13, {1, true}}, {23, {11, true}}};
    for (const auto& c : cases) {
        EXPECT_EQ(To12Hour(c.hour24), c.dial) << c.hour24;
        EXPECT_EQ(To24Hour(c.dial), c.hour24) << c.hour24;
    }
    for (int h = 0; h < 24; ++h) EXPECT_EQ(To24Hour(To12Hour(h)), h) << h;
}

// ---- the dialog ------------------------------------------------------------------------------

SYSTEMTIME At(int year, int month, int day, int hour, int minute, int second = 0)
{
    SYSTEMTIME t;
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    return t;
}

SYSTEMTIME Now()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    return t;
}

// A headless screen on the test thread; the panel clock stands still (nothing drives the
// virtual clock) and is put back as it was after each test.
class ClockDialogTest : public DryingModeTest {
protected:
    void SetUp() override
    {
        DryingModeTest::SetUp();
        GetLocalTime(&saved_);
    }
    void TearDown() override
    {
        SetLocalTime(&saved_);
        DryingModeTest::TearDown();
    }
    // Sets the panel clock, opens the dialog and works it.
    INT_PTR RunClock(const SYSTEMTIME& start, const std::function<void()>& operate)
    {
        EXPECT_TRUE(SetLocalTime(&start));
        return RunDialog([] { return OpenClockDialog(nullptr); }, kClockDialogTitle, operate);
    }

private:
    SYSTEMTIME saved_{};
};

void PressTimes(int id, int times)
{
    for (int i = 0; i < times; ++i) Press(id);
}

std::vector<std::wstring> Fields()
{
    std::vector<std::wstring> texts;
    for (int i = 0; i < kClockEntryCount; ++i) texts.push_back(TextOf(ClockFieldId(E(i))));
    texts.push_back(TextOf(kClockAmPmField));
    return texts;
}

TEST_F(ClockDialogTest, OpensOnThePanelTime)
{
    const std::vector<std::wstring> midnight{L" MARCH", L"3",  L"2026", L" TUESDAY",
                                             L"12",     L"07", L"AM"};
    RunClock(At(2026, 3, 3, 0, 7, 42), [&] {
        EXPECT_EQ(Fields(), midnight);
        Press(IDCANCEL);
    });
    const std::vector<std::wstring> evening{L" DECEMBER", L"31", L"2049", L" FRIDAY",
                                            L"11",        L"59", L"PM"};
    RunClock(At(2049, 12, 31, 23, 59), [&] {
        EXPECT_EQ(Fields(), evening);
        Press(IDCANCEL);
    });
}

// Each value steps through its range and wraps at both ends.
TEST_F(ClockDialogTest, UpAndDownWrapAtBothEnds)
{
    RunClock(At(2050, 1, 1, 1, 59), [] {  // Saturday 1 January 2050, 1:59 AM
        Press(ClockUpId(E::year));
        EXPECT_EQ(TextOf(ClockFieldId(E::year)), L"2000");
        Press(ClockDownId(E::year));
        EXPECT_EQ(TextOf(ClockFieldId(E::year)), L"2050");
        Press(ClockDownId(E::month));
        EXPECT_EQ(TextOf(ClockFieldId(E::month)), L" DECEMBER");
        Press(ClockUpId(E::month));
        EXPECT_EQ(TextOf(ClockFieldId(E::month)), L" JANUARY");
        Press(ClockDownId(E::day));
        EXPECT_EQ(TextOf(ClockFieldId(E::day)), L"31");
        Press(ClockUpId(E::day));
        EXPECT_EQ(TextOf(ClockFieldId(E::day)), L"1");
        Press(ClockUpId(E::weekday));
        EXPECT_EQ(TextOf(ClockFieldId(E::weekday)), L" SUNDAY");
        Press(ClockDownId(E::weekday));
        EXPECT_EQ(TextOf(ClockFieldId(E::weekday)), L" SATURDAY");
        Press(ClockDownId(E::hour));
        EXPECT_EQ(TextOf(ClockFieldId(E::hour)), L"12");
        Press(ClockUpId(E::hour));
        EXPECT_EQ(TextOf(ClockFieldId(E::hour)), L"1");
        Press(ClockUpId(E::minute));
        EXPECT_EQ(TextOf(ClockFieldId(E::minute)), L"00");
        Press(ClockDownId(E::minute));
        EXPECT_EQ(TextOf(ClockFieldId(E::minute)), L"59");
        Press(IDCANCEL);
    });
}

// What ACCEPT / EXIT makes of the dial: the start time, the presses, the hour and minute set.
struct DialCase {
    const char* name;
    int hour24;
    int minute;
    std::vector<int> presses;
    int setHour;
    int setMinute;
};

void PrintTo(const DialCase& c, std::ostream* os)
{
    *os << c.name;
}

class ClockDialogAccept : public ClockDialogTest, public ::testing::WithParamInterface<DialCase> {};

TEST_P(ClockDialogAccept, SetsThePanelClock)
{
    const DialCase& c = GetParam();
    const INT_PTR result = RunClock(At(2026, 3, 3, c.hour24, c.minute, 42), [&] {
        for (int id : c.presses) Press(id);
        Press(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    const SYSTEMTIME t = Now();
    EXPECT_EQ(t.wHour, c.setHour);
    EXPECT_EQ(t.wMinute, c.setMinute);
    EXPECT_EQ(t.wSecond, 42);  // as read on opening
    EXPECT_EQ(t.wDay, 3);
    EXPECT_EQ(t.wMonth, 3);
    EXPECT_EQ(t.wYear, 2026);
}

INSTANTIATE_TEST_SUITE_P(
    Dial, ClockDialogAccept,
    ::testing::Values(
        DialCase{"TwelveAmIsMidnight", 0, 0, {}, 0, 0},
        DialCase{"TwelvePmIsNoon", 12, 30, {}, 12, 30},
        DialCase{"ElevenPmIsTwentyThree", 23, 15, {}, 23, 15},
        DialCase{"ElevenFiftyNineAmStays", 11, 59, {}, 11, 59},
        DialCase{"ElevenFiftyNinePmStays", 23, 59, {}, 23, 59},
        // The hour steps on the dial; AM or PM stays until the technician changes it.
        DialCase{"UpFromElevenAmIsMidnight", 11, 59, {ClockUpId(E::hour)}, 0, 59},
        DialCase{"UpFromElevenAmThenPmIsNoon", 11, 59, {ClockUpId(E::hour), kClockPm}, 12, 59},
        DialCase{"PmMovesTheMorningOn", 9, 5, {kClockPm}, 21, 5},
        DialCase{"AmMovesTheEveningBack", 21, 5, {kClockAm}, 9, 5},
        DialCase{"AmAtMidnightChangesNothing", 0, 0, {kClockAm}, 0, 0},
        DialCase{"MinuteUpFromFiftyNineWraps", 23, 59, {ClockUpId(E::minute)}, 23, 0}));

TEST_F(ClockDialogTest, AcceptSetsTheDate)
{
    RunClock(At(2026, 3, 3, 14, 5), [] {
        PressTimes(ClockUpId(E::month), 3);  // June
        PressTimes(ClockUpId(E::day), 27);   // 30
        PressTimes(ClockUpId(E::year), 4);   // 2030
        Press(IDOK);
    });
    const SYSTEMTIME t = Now();
    EXPECT_EQ(t.wYear, 2030);
    EXPECT_EQ(t.wMonth, 6);
    EXPECT_EQ(t.wDay, 30);
    EXPECT_EQ(t.wHour, 14);
    EXPECT_EQ(t.wMinute, 5);
    EXPECT_EQ(t.wDayOfWeek, 0);  // 30 June 2030 is a Sunday, whatever DAY shows
}

TEST_F(ClockDialogTest, CancelLeavesTheClockAlone)
{
    const INT_PTR result = RunClock(At(2026, 3, 3, 14, 5, 10), [] {
        Press(ClockUpId(E::year));
        Press(ClockUpId(E::hour));
        Press(kClockAm);
        Press(IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    const SYSTEMTIME t = Now();
    EXPECT_EQ(t.wYear, 2026);
    EXPECT_EQ(t.wHour, 14);
    EXPECT_EQ(t.wMinute, 5);
    EXPECT_EQ(t.wSecond, 10);
}

// The day of the month steps through 1-31 in every month: 31 April and 29 February 2027 do
// not exist, are refused with a message, and the dialog stays open with the clock unchanged.
TEST_F(ClockDialogTest, RefusesADateThatDoesNotExist)
{
    const struct {
        SYSTEMTIME start;
        std::vector<int> presses;
    } cases[] = {
        {At(2026, 4, 30, 8, 0), {ClockUpId(E::day)}},                           // 31 April
        {At(2027, 2, 28, 8, 0), {ClockUpId(E::day)}},                           // 29 Feb 2027
        {At(2028, 3, 31, 8, 0), {ClockDownId(E::month), ClockDownId(E::day)}},  // 30 Feb 2028
    };
    for (const auto& c : cases) {
        RunClock(c.start, [&] {
            for (int id : c.presses) Press(id);
            Press(IDOK);
            ASSERT_TRUE(WaitForMessageBox());
            const auto box = MessageBoxShown();
            EXPECT_EQ(box->title, kNoSuchDateCaption);
            EXPECT_EQ(box->messageText, kNoSuchDateText);
            platform::AnswerMessageBox(L"OK");
            EXPECT_TRUE(Window(kClockDialogTitle).has_value());
            Press(IDCANCEL);
        });
        const SYSTEMTIME t = Now();
        EXPECT_EQ(t.wMonth, c.start.wMonth);
        EXPECT_EQ(t.wDay, c.start.wDay);
    }
    // A leap year has its 29 February.
    RunClock(At(2028, 2, 28, 8, 0), [] {
        Press(ClockUpId(E::day));
        Press(IDOK);
    });
    EXPECT_EQ(Now().wDay, 29);
}

TEST_F(ClockDialogTest, LayoutIsTidy)
{
    // The longest month and day names on the screen at once: Wednesday 30 September.
    RunClock(At(2026, 9, 30, 22, 45), [] {
        const auto dialog = Window(kClockDialogTitle);
        ASSERT_TRUE(dialog.has_value());
        EXPECT_EQ(TextOf(ClockFieldId(E::month)), L" SEPTEMBER");
        EXPECT_EQ(TextOf(ClockFieldId(E::weekday)), L" WEDNESDAY");
        Layout layout;
        layout.groups = {kClockDateGroup, kClockTimeGroup};
        ExpectTidyLayout(*dialog, layout);
        Screenshot("set_time_date_18");
        Press(IDCANCEL);
    });
}

// ---- against the dryer -----------------------------------------------------------------------

void OpenClockFromTimer(HWND wnd, UINT, UINT_PTR id, DWORD)
{
    KillTimer(wnd, id);
    OpenClockDialog(Screens().main);
}

// The whole display against the simulated dryer: the time set on the dialog goes out in the
// next second's clock record and the dryer's clock takes it.
TEST(ClockDialogOnTheDryer, TheNextClockRecordCarriesTheNewTime)
{
    panel_test::PanelRun panel;
    ASSERT_TRUE(panel.started());
    SYSTEMTIME saved;
    GetLocalTime(&saved);
    const std::int64_t savedAt = platform::NowMs();

    constexpr UINT_PTR kOpenTimer = 0x5E47;
    // The dialog opens from a timer on the display's own thread, as from a button.
    ASSERT_NE(SetTimer(Screens().main, kOpenTimer, 10, OpenClockFromTimer), 0u);
    panel.Advance(175);
    ASSERT_TRUE(WaitForTitle(kClockDialogTitle));
    // The test programs start at 14:05 on 3 March 2026 and run minutes, not days: make it
    // 9 PM on 4 May 2027.
    const SYSTEMTIME before = Now();
    ASSERT_EQ(before.wYear, 2026);
    ASSERT_EQ(before.wMonth, 3);
    ASSERT_EQ(before.wDay, 3);
    const int hoursToNine = 9 - To12Hour(Now().wHour).hour;
    for (int i = 0; i < (hoursToNine + 12) % 12; ++i) Press(ClockUpId(E::hour));
    Press(kClockPm);
    PressTimes(ClockUpId(E::month), 2);
    Press(ClockUpId(E::day));
    Press(ClockUpId(E::year));
    const int minute = Now().wMinute;
    Press(IDOK);
    ASSERT_TRUE(WaitForTitle(kClockDialogTitle, false));

    panel.Advance(1400);  // the 1-second tick, then the exchange that sends its record
    EXPECT_EQ(Value(DesiredSettings, ClockByte(ClockPart::hour)), 21);
    EXPECT_EQ(Value(DesiredSettings, ClockByte(ClockPart::day)), 4);
    EXPECT_EQ(Value(DesiredSettings, ClockByte(ClockPart::month)), 5);
    EXPECT_EQ(Value(DesiredSettings, ClockByte(ClockPart::year)), 27);
    EXPECT_EQ(panel_test::SimByte(panel.sim(), ClockByte(ClockPart::hour)), 21);
    EXPECT_EQ(panel_test::SimByte(panel.sim(), ClockByte(ClockPart::day)), 4);
    EXPECT_EQ(panel_test::SimByte(panel.sim(), ClockByte(ClockPart::month)), 5);
    EXPECT_EQ(panel_test::SimByte(panel.sim(), ClockByte(ClockPart::year)), 27);
    const int simMinute = panel_test::SimByte(panel.sim(), ClockByte(ClockPart::minute));
    EXPECT_LE((simMinute - minute + 60) % 60, 1);

    // Back to the time the other tests of this program run on.
    panel.Stop();
    const std::int64_t elapsed = platform::NowMs() - savedAt;
    FILETIME ft;
    SystemTimeToFileTime(&saved, &ft);
    std::uint64_t ticks = (std::uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;
    ticks += static_cast<std::uint64_t>(elapsed) * 10000;  // 100 ns steps
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    FileTimeToSystemTime(&ft, &saved);
    SetLocalTime(&saved);
}

}  // namespace
