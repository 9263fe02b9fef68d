// The panel clock: file time conversions, date and time pictures, and the virtual clock that
// drives sleeps and the local time in tests.
#include "platform/runtime/clock.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/runtime/threads.h"
#include "platform/storage/files.h"

namespace {

namespace fs = std::filesystem;

SYSTEMTIME Make(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    SYSTEMTIME t;
    t.wYear = static_cast<WORD>(y);
    t.wMonth = static_cast<WORD>(mo);
    t.wDay = static_cast<WORD>(d);
    t.wHour = static_cast<WORD>(h);
    t.wMinute = static_cast<WORD>(mi);
    t.wSecond = static_cast<WORD>(s);
    t.wMilliseconds = static_cast<WORD>(ms);
    return t;
}

std::uint64_t Ticks(const FILETIME& f)
{
    return (static_cast<std::uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
}

bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond && a.wMilliseconds == b.wMilliseconds;
}

std::wstring Date(const SYSTEMTIME& t, const wchar_t* picture)
{
    wchar_t buf[80] = {};
    const int n = GetDateFormat(LOCALE_SYSTEM_DEFAULT, 0, &t, picture, buf, 80);
    return n > 0 ? std::wstring(buf) : L"<fail>";
}

std::wstring Time(const SYSTEMTIME& t, const wchar_t* picture)
{
    wchar_t buf[80] = {};
    const int n = GetTimeFormat(LOCALE_SYSTEM_DEFAULT, 0, &t, picture, buf, 80);
    return n > 0 ? std::wstring(buf) : L"<fail>";
}

// ---- file times ----

struct FileTimeCase {
    SYSTEMTIME time;
    std::uint64_t ticks;
    WORD dayOfWeek;
};

TEST(FileTime, ConvertsKnownDatesBothWays)
{
    const FileTimeCase cases[] = {
        {Make(1601, 1, 1), 0, 1},
        {Make(1970, 1, 1), 116444736000000000ull, 4},
        {Make(2000, 2, 29, 12, 0, 0), 125962992000000000ull, 2},
        {Make(2026, 3, 3, 14, 5, 9, 123), 134170203091230000ull, 2},
        {Make(30827, 12, 31, 23, 59, 59, 999), 0x7FFF35F4F06C58F0ull, 5},
    };
    for (const auto& c : cases) {
        FILETIME f;
        ASSERT_TRUE(SystemTimeToFileTime(&c.time, &f)) << c.time.wYear;
        EXPECT_EQ(Ticks(f), c.ticks) << c.time.wYear;
        SYSTEMTIME back;
        ASSERT_TRUE(FileTimeToSystemTime(&f, &back));
        EXPECT_TRUE(SameTime(back, c.time)) << c.time.wYear;
        EXPECT_EQ(back.wDayOfWeek, c.dayOfWeek) << c.time.wYear;
    }
}

TEST(FileTime, RoundTripsEveryFirstOfMonthForFourCenturies)
{
    for (int y = 1900; y < 2300; ++y) {
        for (int m = 1; m <= 12; ++m) {
            const SYSTEMTIME t = Make(y, m, 1, 23, 59, 58, 7);
            FILETIME f;
            ASSERT_TRUE(SystemTimeToFileTime(&t, &f));
            SYSTEMTIME back;
            ASSERT_TRUE(FileTimeToSystemTime(&f, &back));
            ASSERT_TRUE(SameTime(t, back)) << y << "-" << m;
        }
    }
}

TEST(FileTime, RefusesInvalidDates)
{
    const SYSTEMTIME bad[] = {
        Make(2025, 2, 29),       Make(2026, 13, 1),          Make(2026, 0, 1),
        Make(1600, 12, 31),      Make(2026, 4, 31),          Make(2026, 1, 1, 24),
        Make(2026, 1, 1, 0, 60), Make(2026, 1, 1, 0, 0, 60), Make(2026, 1, 1, 0, 0, 0, 1000)};
    for (const auto& t : bad) {
        FILETIME f;
        EXPECT_FALSE(SystemTimeToFileTime(&t, &f)) << t.wYear << "-" << t.wMonth << "-" << t.wDay;
    }
    EXPECT_FALSE(SystemTimeToFileTime(nullptr, nullptr));
    FILETIME tooLate{0, 0x80000000u};
    SYSTEMTIME out;
    EXPECT_FALSE(FileTimeToSystemTime(&tooLate, &out));
}

TEST(FileTime, ComparesByValue)
{
    FILETIME a{5, 1}, b{4, 2}, c{5, 1};
    EXPECT_EQ(CompareFileTime(&a, &b), -1);
    EXPECT_EQ(CompareFileTime(&b, &a), 1);
    EXPECT_EQ(CompareFileTime(&a, &c), 0);
}

// ---- pictures ----

struct PictureCase {
    SYSTEMTIME time;
    const wchar_t* picture;
    const wchar_t* expected;
};

TEST(DateFormat, ExpandsThePanelPictures)
{
    const SYSTEMTIME afternoon = Make(2026, 3, 3, 14, 5, 9);
    const SYSTEMTIME morning = Make(2009, 11, 28, 0, 7, 3);
    const PictureCase cases[] = {
        {afternoon, L"MMM dd',' yyy", L"Mar 03, 2026"},
        {afternoon, L"h':'mm tt", L"2:05 PM"},
        {afternoon, L"yy'_'MM'_'dd'_'", L"26_03_03_"},
        {afternoon, L"HH'_'mm'_'ss", L"14_05_09"},
        {afternoon, L"dddd  MMM dd',' yyy", L"Tuesday  Mar 03, 2026"},
        {morning, L"h':'mm tt", L"12:07 AM"},
        {morning, L"hh:mm:ss t", L"12:07:03 A"},
        {morning, L"H:m:s", L"0:7:3"},
        {morning, L"d/M/y", L"28/11/9"},
        {morning, L"ddd, MMMM d yyyy", L"Sat, November 28 2009"},
        {morning, L"'It''s' dddd", L"It's Saturday"},
        {morning, L"''yy", L"'09"},
        {morning, L"'open quote yy", L"open quote yy"},
        {morning, L"dddddd", L"Saturday"},
        {afternoon, L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Date(c.time, c.picture), c.expected) << std::wstring(c.picture).size();
        EXPECT_EQ(Time(c.time, c.picture), c.expected);
    }
}

TEST(DateFormat, DefaultsWithoutPicture)
{
    const SYSTEMTIME t = Make(2026, 3, 3, 14, 5, 9);
    EXPECT_EQ(Date(t, nullptr), L"3/3/26");
    EXPECT_EQ(Time(t, nullptr), L"2:05:09 PM");
}

TEST(DateFormat, ReportsSizeAndRefusesSmallBuffers)
{
    const SYSTEMTIME t = Make(2026, 3, 3, 14, 5, 9);
    EXPECT_EQ(GetDateFormat(LOCALE_SYSTEM_DEFAULT, 0, &t, L"MMM dd',' yyy", nullptr, 0), 13);
    wchar_t small[12];
    SetLastError(0);
    EXPECT_EQ(GetDateFormat(LOCALE_SYSTEM_DEFAULT, 0, &t, L"MMM dd',' yyy", small, 12), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    wchar_t exact[13];
    EXPECT_EQ(GetDateFormat(LOCALE_SYSTEM_DEFAULT, 0, &t, L"MMM dd',' yyy", exact, 13), 13);
    EXPECT_EQ(std::wstring(exact), L"Mar 03, 2026");
}

TEST(DateFormat, RefusesInvalidTimes)
{
    const SYSTEMTIME badDate = Make(2026, 2, 30);
    const SYSTEMTIME badHour = Make(2026, 2, 3, 25);
    wchar_t buf[40];
    EXPECT_EQ(GetDateFormat(LOCALE_SYSTEM_DEFAULT, 0, &badDate, L"dd", buf, 40), 0);
    EXPECT_EQ(GetTimeFormat(LOCALE_SYSTEM_DEFAULT, 0, &badHour, L"HH", buf, 40), 0);
}

// ---- virtual clock ----

class VirtualClock : public ::testing::Test {
protected:
    void SetUp() override { platform::UseVirtualClock(Make(2026, 3, 3, 14, 5, 9)); }
    void TearDown() override { platform::SetClockListener(nullptr); }
};

TEST_F(VirtualClock, StartsAtTheGivenLocalTime)
{
    EXPECT_TRUE(platform::IsVirtualClock());
    EXPECT_EQ(platform::NowMs(), 0);
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_TRUE(SameTime(now, Make(2026, 3, 3, 14, 5, 9)));
    EXPECT_EQ(now.wDayOfWeek, 2);
}

TEST_F(VirtualClock, MovesOnlyForwardAndCarriesTheLocalTime)
{
    platform::SetVirtualNow(86'400'000 + 1'500);
    EXPECT_EQ(platform::NowMs(), 86'401'500);
    EXPECT_EQ(GetTickCount(), 86'401'500u);
    platform::SetVirtualNow(10);
    EXPECT_EQ(platform::NowMs(), 86'401'500);
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_TRUE(SameTime(now, Make(2026, 3, 4, 14, 5, 10, 500)));
}

TEST_F(VirtualClock, SetLocalTimeKeepsAnOffset)
{
    const SYSTEMTIME wanted = Make(2027, 1, 1, 8, 0, 0);
    ASSERT_TRUE(SetLocalTime(&wanted));
    platform::SetVirtualNow(60'000);
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_TRUE(SameTime(now, Make(2027, 1, 1, 8, 1, 0)));
    EXPECT_EQ(platform::NowMs(), 60'000);  // panel milliseconds are not touched

    const SYSTEMTIME bad = Make(2027, 2, 29);
    EXPECT_FALSE(SetLocalTime(&bad));
}

TEST_F(VirtualClock, SleepersWakeWhenTheClockPassesTheirDeadline)
{
    std::atomic<bool> woke{false};
    std::thread sleeper([&] {
        platform::SleepUntil(1000);
        woke = true;
    });
    platform::SetVirtualNow(999);
    EXPECT_FALSE(woke.load());
    platform::SetVirtualNow(1000);
    sleeper.join();
    EXPECT_TRUE(woke.load());
}

TEST_F(VirtualClock, CallsTheListenerOnEveryMove)
{
    int calls = 0;
    platform::SetClockListener([&] { ++calls; });
    platform::SetVirtualNow(100);
    platform::SetVirtualNow(200);
    EXPECT_EQ(calls, 2);
}

}  // namespace

namespace {

// ---- real clock ----

TEST(RealClock, KeepsTheOperatorsTimeInThePanelRoot)
{
    const bool wasVirtual = platform::IsVirtualClock();
    const fs::path root = fs::temp_directory_path() / ("panel-clock-" + std::to_string(::getpid()));
    const fs::path elsewhere = root / "elsewhere";
    fs::remove_all(root);
    fs::create_directories(elsewhere);
    platform::UseRealClock();
    platform::SetPanelRoots(root, {});

    const SYSTEMTIME wanted = Make(2041, 6, 15, 8, 30, 0);
    ASSERT_TRUE(SetLocalTime(&wanted));
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(now.wYear, 2041);
    EXPECT_EQ(now.wMonth, 6);
    EXPECT_EQ(now.wDay, 15);
    EXPECT_TRUE(fs::exists(root / "clock_offset.txt"));

    platform::SetPanelRoots(elsewhere, {});  // another panel root: no offset there
    GetLocalTime(&now);
    EXPECT_NE(now.wYear, 2041);
    platform::SetPanelRoots(root, {});  // as the next program would find it
    GetLocalTime(&now);
    EXPECT_EQ(now.wYear, 2041);

    const std::int64_t before = platform::NowMs();
    Sleep(2);
    EXPECT_GE(platform::NowMs(), before + 2);

    fs::remove_all(root);
    if (wasVirtual) platform::UseVirtualClock(Make(2026, 1, 1));
}

// A stored offset the clock cannot carry (beyond int64, beyond the year 30827, before 1601,
// or no number at all) is ignored: the panel shows the host's time and does not overflow.
TEST(RealClock, IgnoresAStoredOffsetOutOfRange)
{
    const bool wasVirtual = platform::IsVirtualClock();
    const fs::path root =
        fs::temp_directory_path() / ("panel-clock-range-" + std::to_string(::getpid()));
    fs::create_directories(root);
    platform::UseRealClock();
    const std::time_t host = std::time(nullptr);
    std::tm local{};
    localtime_r(&host, &local);
    for (const char* stored :
         {"9223372036854775807", "-9223372036854775808", "99999999999999999999", "-20000000000000",
          "900000000000000", "3162240000001", "12 hours", "0x10"}) {
        fs::remove_all(root);
        fs::create_directories(root);
        std::ofstream(root / "clock_offset.txt") << stored << "\n";
        SYSTEMTIME now;
        platform::SetPanelRoots(root / "elsewhere", {});
        GetLocalTime(&now);  // read elsewhere, so the offset loads again on return
        platform::SetPanelRoots(root, {});
        GetLocalTime(&now);
        EXPECT_EQ(now.wYear, local.tm_year + 1900) << stored;
        FILETIME file;
        EXPECT_TRUE(SystemTimeToFileTime(&now, &file)) << stored;
    }
    fs::remove_all(root);
    if (wasVirtual) platform::UseVirtualClock(Make(2026, 1, 1));
}

TEST_F(VirtualClock, SetLocalTimeRefusesMoreThanAHundredYearsFromTheHost)
{
    // The virtual clock starts in 2026.
    const SYSTEMTIME far[] = {Make(1601, 1, 1), Make(1925, 1, 1), Make(2127, 6, 1),
                              Make(30827, 12, 31)};
    for (const SYSTEMTIME& t : far) {
        EXPECT_FALSE(SetLocalTime(&t)) << t.wYear;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    const SYSTEMTIME near[] = {Make(1927, 1, 1), Make(2125, 6, 1)};
    for (const SYSTEMTIME& t : near) EXPECT_TRUE(SetLocalTime(&t)) << t.wYear;
}

}  // namespace
