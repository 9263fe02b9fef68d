// The panel clock: local time, file times, date and time pictures, sleep and tick counts.
// Every time reading, timer and sleep of the programs goes through here, so that tests can
// replace the real clock by a virtual one and run hours of panel time in milliseconds.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/win_types.h"

struct SYSTEMTIME {
    WORD wYear = 0;
    WORD wMonth = 0;      // 1-12
    WORD wDayOfWeek = 0;  // 0 = Sunday
    WORD wDay = 0;
    WORD wHour = 0;
    WORD wMinute = 0;
    WORD wSecond = 0;
    WORD wMilliseconds = 0;
};

// 100-nanosecond intervals since 1 January 1601.
struct FILETIME {
    DWORD dwLowDateTime = 0;
    DWORD dwHighDateTime = 0;
};

using LCID = DWORD;
inline constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
inline constexpr LCID LOCALE_USER_DEFAULT = 0x0400;

void GetLocalTime(SYSTEMTIME* out);
// Sets the panel's local time. The system clock is left alone; the panel keeps the difference
// as an offset that every later reading applies. With the real clock the offset is kept in
// "<panel root>/clock_offset.txt", so the next panel program and the next start keep the time
// the operator set. Returns FALSE for an invalid date, and for one more than a hundred years
// from the host's time (a stored offset beyond that is ignored on load).
BOOL SetLocalTime(const SYSTEMTIME* in);
DWORD GetTickCount();
void Sleep(DWORD milliseconds);

BOOL SystemTimeToFileTime(const SYSTEMTIME* in, FILETIME* out);
BOOL FileTimeToSystemTime(const FILETIME* in, SYSTEMTIME* out);
LONG CompareFileTime(const FILETIME* a, const FILETIME* b);

// Date and time pictures as the panel uses them: "MMM dd',' yyy", "h':'mm tt",
// "yy'_'MM'_'dd'_'", "HH'_'mm'_'ss", "dddd  MMM dd',' yyy". Quoted text is copied, the
// letters d, M, y, h, H, m, s, t are replaced (English names). Returns the number of
// characters written including the terminator, or 0 when the buffer is too small.
// A null picture gives the default short date ("M/d/yy") or time ("h:mm:ss tt").
int GetDateFormat(LCID locale, DWORD flags, const SYSTEMTIME* time, const wchar_t* picture,
                  wchar_t* out, int outChars);
int GetTimeFormat(LCID locale, DWORD flags, const SYSTEMTIME* time, const wchar_t* picture,
                  wchar_t* out, int outChars);

namespace platform {

// Monotonic panel milliseconds since the clock started (virtual or real).
std::int64_t NowMs();

// Sleeps on the panel clock: with the virtual clock the caller wakes when a driver has moved
// the clock past the deadline.
void SleepUntil(std::int64_t deadlineMs);

// Switches the process to the virtual clock, starting at the given local time. Call once,
// before any window, timer or thread is created.
void UseVirtualClock(const SYSTEMTIME& localStart);
bool IsVirtualClock();

// Returns to the host clock (for tests of the real clock). Virtual sleepers wake and go on
// sleeping on the host clock.
void UseRealClock();

// Moves the virtual clock forward to an absolute monotonic time (never backwards) and wakes
// every sleeper and the registered listener. No effect on the real clock.
void SetVirtualNow(std::int64_t monotonicMs);

// Called (from the thread that moved the clock) after every virtual clock change; the window
// system uses it to wake its message loop so that due timers fire.
void SetClockListener(std::function<void()> listener);

}  // namespace platform
