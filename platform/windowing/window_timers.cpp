// Timers of windows and of the thread. They run on the panel clock; the message loop hands out
// the due ones as WM_TIMER, earliest deadline first.
#include "platform/runtime/clock.h"
#include "platform/windowing/detail_window_system.h"

using namespace platform::windowing;

// ======================= timers =======================

UINT_PTR SetTimer(HWND wnd, UINT_PTR id, UINT periodMs, TIMERPROC callback)
{
    WindowSystem& s = Sys();
    EnsureClockListener();
    const std::int64_t now = platform::NowMs();
    const UINT period = std::max<UINT>(periodMs, 1);
    {
        std::lock_guard lock(s.mu);
        if (wnd != nullptr && Find(wnd) == nullptr) return 0;
        if (wnd == nullptr) id = s.nextThreadTimerId++;
        auto it = std::find_if(s.timers.begin(), s.timers.end(),
                               [&](const Timer& t) { return t.wnd == wnd && t.id == id; });
        if (it == s.timers.end()) {
            s.timers.push_back(Timer{wnd, id, period, now + period, callback});
        } else {
            *it = Timer{wnd, id, period, now + period, callback};
        }
        NoteWorkLocked(s);
    }
    Wake();
    return wnd == nullptr ? id : (id != 0 ? id : 1);
}

BOOL KillTimer(HWND wnd, UINT_PTR id)
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    const auto before = s.timers.size();
    s.timers.erase(std::remove_if(s.timers.begin(), s.timers.end(),
                                  [&](const Timer& t) { return t.wnd == wnd && t.id == id; }),
                   s.timers.end());
    s.posted.erase(
        std::remove_if(
            s.posted.begin(), s.posted.end(),
            [&](const MSG& m) { return m.message == WM_TIMER && m.hwnd == wnd && m.wParam == id; }),
        s.posted.end());
    return s.timers.size() != before ? TRUE : FALSE;
}

// ======================= internal seams =======================

namespace platform::detail {

std::optional<std::int64_t> NextTimerDeadline()
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    std::optional<std::int64_t> next;
    for (const Timer& t : s.timers) next = next ? std::min(*next, t.next) : t.next;
    return next;
}

}  // namespace platform::detail
