// The panel clock. The real clock reads the host's steady clock for panel milliseconds and the
// host's local time plus the panel's own offset for the date; the virtual clock, used by tests,
// only moves when a test moves it, and wakes every sleeper and waiter when it does.
#include "platform/runtime/clock.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <limits>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "platform/runtime/detail_clock_offset.h"
#include "platform/runtime/detail_handles.h"
#include "platform/runtime/threads.h"
#include "platform/storage/files.h"

namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;
constexpr std::int64_t kTicksPerMs = 10'000;  // FILETIME ticks are 100 ns
// Days from 1 January 1601 to 1 January 1970.
constexpr std::int64_t kDays1601To1970 = 134'774;
// The last FILETIME the panel accepts (the top bit must stay clear).
constexpr std::uint64_t kMaxFileTime = 0x7FFF'FFFF'FFFF'FFFFull;

constexpr std::array<const wchar_t*, 7> kDayNames = {
    L"Sunday", L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday"};
constexpr std::array<const wchar_t*, 12> kMonthNames = {
    L"January", L"February", L"March",     L"April",   L"May",      L"June",
    L"July",    L"August",   L"September", L"October", L"November", L"December"};

struct ClockState {
    std::mutex mutex;
    std::condition_variable sleepers;
    std::atomic<bool> isVirtual{false};
    std::atomic<std::int64_t> virtualNow{0};   // panel ms since UseVirtualClock
    std::int64_t virtualStartLocal = 0;        // local ms since 1601 at virtual time 0
    std::atomic<std::int64_t> localOffset{0};  // virtual clock: ms added by SetLocalTime
    std::function<void()> listener;
};

ClockState& State()
{
    // Lives for the process: a worker thread may still sleep on it while the program exits,
    // and destroying a condition variable with a waiter blocks the exit for good.
    static auto* state = new ClockState;
    return *state;
}

std::chrono::steady_clock::time_point RealEpoch()
{
    static const auto epoch = std::chrono::steady_clock::now();
    return epoch;
}

bool IsLeap(std::int64_t y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(std::int64_t y, int m)
{
    static constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m == 2 && IsLeap(y)) return 29;
    return days[static_cast<std::size_t>(m - 1)];
}

// Days since 1970-01-01 of a civil date (proleptic Gregorian), valid for any year.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0);
}

bool ValidDate(const SYSTEMTIME& t)
{
    return t.wYear >= 1601 && t.wYear <= 30827 && t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 &&
           t.wDay <= DaysInMonth(t.wYear, t.wMonth);
}

bool ValidTime(const SYSTEMTIME& t)
{
    return t.wHour < 24 && t.wMinute < 60 && t.wSecond < 60 && t.wMilliseconds < 1000;
}

// Milliseconds since 1601 of a valid SYSTEMTIME.
std::int64_t ToMs1601(const SYSTEMTIME& t)
{
    const std::int64_t days = DaysFromCivil(t.wYear, t.wMonth, t.wDay) + kDays1601To1970;
    return days * kMsPerDay + ((t.wHour * 60 + t.wMinute) * 60 + t.wSecond) * 1000LL +
           t.wMilliseconds;
}

SYSTEMTIME FromMs1601(std::int64_t ms)
{
    const std::int64_t days = ms / kMsPerDay;
    std::int64_t rest = ms % kMsPerDay;
    std::int64_t y = 0;
    unsigned m = 0;
    unsigned d = 0;
    CivilFromDays(days - kDays1601To1970, y, m, d);
    SYSTEMTIME t;
    t.wYear = static_cast<WORD>(y);
    t.wMonth = static_cast<WORD>(m);
    t.wDay = static_cast<WORD>(d);
    t.wDayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1 January 1601 was a Monday
    t.wMilliseconds = static_cast<WORD>(rest % 1000);
    rest /= 1000;
    t.wSecond = static_cast<WORD>(rest % 60);
    rest /= 60;
    t.wMinute = static_cast<WORD>(rest % 60);
    t.wHour = static_cast<WORD>(rest / 60);
    return t;
}

// The host's local time in ms since 1601, without the panel offset.
std::int64_t HostLocalMs1601()
{
    const auto now = std::chrono::system_clock::now();
    const auto sinceEpoch =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    const std::time_t secs = static_cast<std::time_t>(sinceEpoch / 1000);
    std::tm tm{};
    if (localtime_r(&secs, &tm) == nullptr) {
        return (sinceEpoch + kDays1601To1970 * kMsPerDay);  // no zone data: use UTC
    }
    SYSTEMTIME t;
    t.wYear = static_cast<WORD>(tm.tm_year + 1900);
    t.wMonth = static_cast<WORD>(tm.tm_mon + 1);
    t.wDay = static_cast<WORD>(tm.tm_mday);
    t.wHour = static_cast<WORD>(tm.tm_hour);
    t.wMinute = static_cast<WORD>(tm.tm_min);
    t.wSecond = static_cast<WORD>(std::min(tm.tm_sec, 59));  // a leap second reads as :59
    t.wMilliseconds = static_cast<WORD>(((sinceEpoch % 1000) + 1000) % 1000);
    return ToMs1601(t);
}

// The panel's local time before its offset.
std::int64_t BaseLocalMs1601()
{
    ClockState& s = State();
    if (s.isVirtual.load()) {
        std::lock_guard lock(s.mutex);
        return s.virtualStartLocal + s.virtualNow.load();
    }
    return HostLocalMs1601();
}

std::int64_t LocalOffsetMs()
{
    ClockState& s = State();
    if (s.isVirtual.load()) return s.localOffset.load();
    return platform::detail::RealClockOffsetMs();
}

// The panel's local time: base plus offset, held within the dates a SYSTEMTIME can carry.
std::int64_t PanelLocalMs1601()
{
    static const std::int64_t first = ToMs1601(SYSTEMTIME{1601, 1, 1, 1, 0, 0, 0, 0});
    static const std::int64_t last = ToMs1601(SYSTEMTIME{30827, 12, 0, 31, 23, 59, 59, 999});
    std::int64_t sum = 0;
    if (__builtin_add_overflow(BaseLocalMs1601(), LocalOffsetMs(), &sum)) return last;
    return std::clamp(sum, first, last);
}

// ---- date and time pictures ----

void AppendNumber(std::wstring& out, int value, int minDigits)
{
    std::wstring digits = std::to_wstring(value);
    if (static_cast<int>(digits.size()) < minDigits) {
        out.append(static_cast<std::size_t>(minDigits) - digits.size(), L'0');
    }
    out += digits;
}

// Expands one run of a picture letter ("dddd", "yy", "tt").
void AppendField(std::wstring& out, wchar_t letter, int count, const SYSTEMTIME& t)
{
    const int hour12 = t.wHour % 12 == 0 ? 12 : t.wHour % 12;
    switch (letter) {
        case L'd':
            if (count <= 2)
                AppendNumber(out, t.wDay, count);
            else if (count == 3)
                out += std::wstring_view(kDayNames[t.wDayOfWeek]).substr(0, 3);
            else
                out += kDayNames[t.wDayOfWeek];
            return;
        case L'M':
            if (count <= 2)
                AppendNumber(out, t.wMonth, count);
            else if (count == 3)
                out += std::wstring_view(kMonthNames[t.wMonth - 1u]).substr(0, 3);
            else
                out += kMonthNames[t.wMonth - 1u];
            return;
        case L'y':
            if (count <= 2)
                AppendNumber(out, t.wYear % 100, count);
            else
                AppendNumber(out, t.wYear, 4);
            return;
        case L'h': AppendNumber(out, hour12, std::min(count, 2)); return;
        case L'H': AppendNumber(out, t.wHour, std::min(count, 2)); return;
        case L'm': AppendNumber(out, t.wMinute, std::min(count, 2)); return;
        case L's': AppendNumber(out, t.wSecond, std::min(count, 2)); return;
        case L't': {
            const std::wstring_view marker = t.wHour < 12 ? L"AM" : L"PM";
            out += count == 1 ? marker.substr(0, 1) : marker;
            return;
        }
        default: out.append(static_cast<std::size_t>(count), letter); return;
    }
}

bool IsPictureLetter(wchar_t c)
{
    return c == L'd' || c == L'M' || c == L'y' || c == L'h' || c == L'H' || c == L'm' ||
           c == L's' || c == L't';
}

std::wstring ExpandPicture(std::wstring_view picture, const SYSTEMTIME& t)
{
    std::wstring out;
    std::size_t i = 0;
    while (i < picture.size()) {
        const wchar_t c = picture[i];
        if (c == L'\'') {
            // Quoted text is copied as it stands; '' is one quote, inside or outside quotes.
            if (i + 1 < picture.size() && picture[i + 1] == L'\'') {
                out += L'\'';
                i += 2;
                continue;
            }
            ++i;
            while (i < picture.size()) {
                if (picture[i] == L'\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == L'\'') {
                        out += L'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += picture[i++];
            }
            continue;
        }
        if (!IsPictureLetter(c)) {
            out += c;
            ++i;
            continue;
        }
        std::size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c) ++run;
        AppendField(out, c, static_cast<int>(std::min<std::size_t>(run, 4)), t);
        i += run;
    }
    return out;
}

int FormatInto(const SYSTEMTIME* time, const wchar_t* picture, const wchar_t* defaultPicture,
               wchar_t* out, int outChars, bool needsDate)
{
    if (outChars < 0 || (outChars > 0 && out == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    SYSTEMTIME t;
    if (time != nullptr) {
        t = *time;
    } else {
        GetLocalTime(&t);
    }
    if ((needsDate && !ValidDate(t)) || !ValidTime(t) || (!needsDate && t.wMonth > 12)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (ValidDate(t)) {
        t.wDayOfWeek = FromMs1601(ToMs1601(t)).wDayOfWeek;  // the day name follows the date
    } else {
        t.wMonth = std::max<WORD>(t.wMonth, 1);  // a time-only call may leave the date empty
        t.wDayOfWeek %= 7;
    }
    const std::wstring text = ExpandPicture(picture != nullptr ? picture : defaultPicture, t);
    const int needed = static_cast<int>(text.size()) + 1;
    if (outChars == 0) return needed;
    if (needed > outChars) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::copy(text.begin(), text.end(), out);
    out[text.size()] = L'\0';
    return needed;
}

}  // namespace

// ---- local time ----

void GetLocalTime(SYSTEMTIME* out)
{
    if (out == nullptr) return;
    *out = FromMs1601(PanelLocalMs1601());
}

BOOL SetLocalTime(const SYSTEMTIME* in)
{
    if (in == nullptr || !ValidDate(*in) || !ValidTime(*in)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::int64_t offset = ToMs1601(*in) - BaseLocalMs1601();
    if (!platform::detail::ClockOffsetInRange(offset)) {
        SetLastError(ERROR_INVALID_PARAMETER);  // more than a hundred years from the host
        return FALSE;
    }
    if (State().isVirtual.load()) {
        State().localOffset.store(offset);
    } else {
        platform::detail::StoreRealClockOffsetMs(offset);
    }
    return TRUE;
}

DWORD GetTickCount()
{
    return static_cast<DWORD>(platform::NowMs());
}

void Sleep(DWORD milliseconds)
{
    if (milliseconds == 0) {
        std::this_thread::yield();
        return;
    }
    if (milliseconds == INFINITE) {
        platform::SleepUntil(std::numeric_limits<std::int64_t>::max());
        return;
    }
    platform::SleepUntil(platform::NowMs() + milliseconds);
}

// ---- file times ----

BOOL SystemTimeToFileTime(const SYSTEMTIME* in, FILETIME* out)
{
    if (in == nullptr || out == nullptr || !ValidDate(*in) || !ValidTime(*in)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto ticks = static_cast<std::uint64_t>(ToMs1601(*in)) * kTicksPerMs;
    out->dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFF'FFFFu);
    out->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* in, SYSTEMTIME* out)
{
    if (in == nullptr || out == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(in->dwHighDateTime) << 32) | in->dwLowDateTime;
    if (ticks > kMaxFileTime) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *out = FromMs1601(static_cast<std::int64_t>(ticks / kTicksPerMs));
    return TRUE;
}

LONG CompareFileTime(const FILETIME* a, const FILETIME* b)
{
    if (a == nullptr || b == nullptr) return 0;
    const std::uint64_t x =
        (static_cast<std::uint64_t>(a->dwHighDateTime) << 32) | a->dwLowDateTime;
    const std::uint64_t y =
        (static_cast<std::uint64_t>(b->dwHighDateTime) << 32) | b->dwLowDateTime;
    return x < y ? -1 : (x > y ? 1 : 0);
}

// ---- pictures ----

int GetDateFormat(LCID, DWORD, const SYSTEMTIME* time, const wchar_t* picture, wchar_t* out,
                  int outChars)
{
    return FormatInto(time, picture, L"M/d/yy", out, outChars, true);
}

int GetTimeFormat(LCID, DWORD, const SYSTEMTIME* time, const wchar_t* picture, wchar_t* out,
                  int outChars)
{
    return FormatInto(time, picture, L"h:mm:ss tt", out, outChars, false);
}

// ---- panel clock ----

namespace platform {

std::int64_t NowMs()
{
    ClockState& s = State();
    if (s.isVirtual.load()) return s.virtualNow.load();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 RealEpoch())
        .count();
}

void SleepUntil(std::int64_t deadlineMs)
{
    ClockState& s = State();
    if (s.isVirtual.load()) {
        std::unique_lock lock(s.mutex);
        s.sleepers.wait(lock,
                        [&] { return !s.isVirtual.load() || s.virtualNow.load() >= deadlineMs; });
        if (s.isVirtual.load()) return;
    }
    // About a century ahead at most, so the time point cannot overflow.
    constexpr std::int64_t kFarAhead = 3'000'000'000'000;
    const std::int64_t now = NowMs();
    const std::int64_t deadline = std::min(deadlineMs, now + kFarAhead);
    if (deadline <= now) return;
    std::this_thread::sleep_until(RealEpoch() + std::chrono::milliseconds(deadline));
}

void UseVirtualClock(const SYSTEMTIME& localStart)
{
    ClockState& s = State();
    SYSTEMTIME start = localStart;
    if (!ValidDate(start) || !ValidTime(start)) {
        start = SYSTEMTIME{2026, 1, 0, 1, 0, 0, 0, 0};  // an invalid start gives New Year 2026
    }
    {
        std::lock_guard lock(s.mutex);
        // A second call (the next test fixture) starts panel time again at zero.
        s.virtualNow.store(0);
        s.virtualStartLocal = ToMs1601(start);
        s.localOffset.store(0);
        s.isVirtual.store(true);
    }
    s.sleepers.notify_all();
    detail::NotifyWaiters();
}

bool IsVirtualClock()
{
    return State().isVirtual.load();
}

void UseRealClock()
{
    ClockState& s = State();
    {
        std::lock_guard lock(s.mutex);
        s.isVirtual.store(false);
    }
    s.sleepers.notify_all();
    detail::NotifyWaiters();
}

void SetVirtualNow(std::int64_t monotonicMs)
{
    ClockState& s = State();
    std::function<void()> listener;
    {
        std::lock_guard lock(s.mutex);
        if (!s.isVirtual.load()) return;
        if (monotonicMs > s.virtualNow.load()) s.virtualNow.store(monotonicMs);
        listener = s.listener;
    }
    s.sleepers.notify_all();
    detail::NotifyWaiters();
    if (listener) listener();
}

void SetClockListener(std::function<void()> listener)
{
    ClockState& s = State();
    std::lock_guard lock(s.mutex);
    s.listener = std::move(listener);
}

}  // namespace platform
