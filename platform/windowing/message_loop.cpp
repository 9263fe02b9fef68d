// The message loop: posted messages, input, due timers and paints in that order, sending and
// dispatching, the default window procedure, and running work on the user-interface thread
// for other threads.
#include <chrono>

#include "platform/drawing/gdi.h"
#include "platform/runtime/clock.h"
#include "platform/windowing/detail_window_system.h"

using namespace platform::windowing;

namespace {

constexpr auto kMarshalGuard = std::chrono::seconds(10);
constexpr auto kIdleGuard = std::chrono::seconds(5);

bool MatchesFilter(const MSG& m, HWND wnd, UINT first, UINT last)
{
    if (wnd != nullptr && m.hwnd != wnd) {
        // a child of the filter window also matches
        const Window* w = Find(m.hwnd);
        bool child = false;
        while (w != nullptr && !child) {
            child = w->parent == wnd;
            w = Find(w->parent);
        }
        if (!child) return false;
    }
    if (first == 0 && last == 0) return true;
    return m.message >= first && m.message <= last;
}

// ---- the loop ----
// Finds the next message. With `wait` it sleeps until there is one. Returns false only for
// a non-waiting call that found nothing.
bool NextMessage(MSG* out, HWND wnd, UINT first, UINT last, bool remove, bool wait)
{
    WindowSystem& s = Sys();
    platform::detail::Backend& backend = platform::detail::CurrentBackend();
    for (;;) {
        backend.PumpInput();
        for (;;) {
            Task task;
            {
                std::lock_guard lock(s.mu);
                if (s.tasks.empty()) break;
                task = std::move(s.tasks.front());
                s.tasks.pop_front();
            }
            task.fn();
            task.done->set_value();
        }
        const std::int64_t now = platform::NowMs();
        std::unique_lock lock(s.mu);
        ConvertInputLocked(s, now);
        for (auto it = s.posted.begin(); it != s.posted.end(); ++it) {
            if (!MatchesFilter(*it, wnd, first, last)) continue;
            *out = *it;
            if (remove) s.posted.erase(it);
            return true;
        }
        if (s.quit) {
            *out = MSG{};
            out->message = WM_QUIT;
            out->wParam = static_cast<WPARAM>(s.quitCode);
            if (remove) s.quit = false;
            return true;
        }
        // Of the due timers the one with the earliest deadline goes first (the list keeps
        // creation order, so ties go by age): after a clock jump no timer waits behind one that
        // was due later.
        std::optional<std::int64_t> nextDeadline;
        Timer* due = nullptr;
        MSG timerMsg;
        for (Timer& t : s.timers) {
            if (t.next > now) {
                nextDeadline = nextDeadline ? std::min(*nextDeadline, t.next) : t.next;
                continue;
            }
            if (due != nullptr && due->next <= t.next) continue;
            MSG m;
            m.hwnd = t.wnd;
            m.message = WM_TIMER;
            m.wParam = t.id;
            m.lParam = reinterpret_cast<LPARAM>(t.callback);
            m.time = static_cast<DWORD>(now);
            if (!MatchesFilter(m, wnd, first, last)) continue;
            due = &t;
            timerMsg = m;
        }
        if (due != nullptr) {
            if (remove) {
                due->next += due->period;
                if (due->next <= now) due->next = now + due->period;  // fell behind: fire once
            }
            *out = timerMsg;
            return true;
        }
        for (auto& slot : s.slots) {
            Window* w = slot.get();
            if (w == nullptr || !w->dirty || w->destroying || !VisibleChain(w)) continue;
            MSG m;
            m.hwnd = w->handle;
            m.message = WM_PAINT;
            m.time = static_cast<DWORD>(now);
            if (!MatchesFilter(m, wnd, first, last)) continue;
            *out = m;
            return true;
        }
        if (!wait) return false;
        const bool shown = backend.WantsPresent();
        const std::shared_ptr<const platform::detail::ScreenWatcher> watcher = s.watcher;
        const bool present = !s.screenDirty.empty() && (shown || watcher);
        lock.unlock();
        if (present) {
            const std::vector<RECT> parts = platform::detail::TakeScreenChanges();
            cairo_surface_t* screen = nullptr;
            for (const RECT& part : parts) screen = platform::detail::ComposeScreen(part);
            if (screen != nullptr && shown) backend.Present(screen, parts);
            if (screen != nullptr && watcher) (*watcher)(screen, parts);
        }
        lock.lock();
        if (!s.posted.empty() || !s.input.empty() || !s.tasks.empty() || s.quit) continue;
        s.idle = true;
        s.idleCv.notify_all();
        lock.unlock();
        int timeout = -1;
        if (nextDeadline && !platform::IsVirtualClock()) {
            timeout = static_cast<int>(std::clamp<std::int64_t>(*nextDeadline - now, 0, 60000));
        }
        backend.Wait(timeout);
        lock.lock();
        s.idle = false;
    }
}

}  // namespace

// ======================= messages =======================

LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (OnUi()) return CallProc(wnd, msg, wp, lp);
    {
        std::lock_guard lock(Sys().mu);
        if (Find(wnd) == nullptr) return 0;
    }
    LRESULT result = 0;
    platform::detail::RunOnUiThread([&] { result = CallProc(wnd, msg, wp, lp); });
    return result;
}

BOOL PostMessage(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    const bool posted = HandToLoop([&](WindowSystem& s) {
        if (wnd != nullptr && Find(wnd) == nullptr) return false;
        MSG m;
        m.hwnd = wnd;
        m.message = msg;
        m.wParam = wp;
        m.lParam = lp;
        s.posted.push_back(m);
        return true;
    });
    return posted ? TRUE : FALSE;
}

void PostQuitMessage(int exitCode)
{
    HandToLoop([&](WindowSystem& s) {
        s.quit = true;
        s.quitCode = exitCode;
        return true;
    });
}

BOOL GetMessage(MSG* msg, HWND wnd, UINT first, UINT last)
{
    MSG local;
    NextMessage(&local, wnd, first, last, true, true);
    if (msg != nullptr) *msg = local;
    return local.message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessage(MSG* msg, HWND wnd, UINT first, UINT last, UINT remove)
{
    MSG local;
    if (!NextMessage(&local, wnd, first, last, (remove & PM_REMOVE) != 0, false)) return FALSE;
    if (msg != nullptr) *msg = local;
    return TRUE;
}

BOOL TranslateMessage(const MSG* /*msg*/)
{
    return FALSE;  // the panel has no text entry from keys; no WM_CHAR is made
}

LRESULT DispatchMessage(const MSG* msg)
{
    if (msg == nullptr) return 0;
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        auto callback = reinterpret_cast<TIMERPROC>(msg->lParam);
        // a timer killed since the message was made does not fire
        {
            WindowSystem& s = Sys();
            std::lock_guard lock(s.mu);
            const bool alive = std::any_of(s.timers.begin(), s.timers.end(), [&](const Timer& t) {
                return t.wnd == msg->hwnd && t.id == msg->wParam;
            });
            if (!alive) return 0;
        }
        callback(msg->hwnd, WM_TIMER, msg->wParam, static_cast<DWORD>(platform::NowMs()));
        return 0;
    }
    if (msg->hwnd == nullptr) return 0;
    if (msg->message == WM_PAINT) {
        if (Window* w = Find(msg->hwnd)) w->beganPaint = false;
    }
    const LRESULT r = CallProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    if (msg->message == WM_PAINT) {
        // a procedure that ignored the paint must not be asked again and again
        const Window* w = Find(msg->hwnd);
        if (w != nullptr && !w->beganPaint) ValidateRect(msg->hwnd, nullptr);
    }
    return r;
}

LRESULT DefWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Window* w = Find(wnd);
    if (w == nullptr) return 0;
    switch (msg) {
        case WM_ERASEBKGND: {
            if (w->background == nullptr || wp == 0) return 0;
            RECT r;
            GetClientRect(wnd, &r);
            FillRect(reinterpret_cast<HDC>(wp), &r, w->background);
            return 1;
        }
        case WM_SETTEXT: {
            const auto* text = reinterpret_cast<const wchar_t*>(lp);
            WindowSystem& s = Sys();
            std::lock_guard lock(s.mu);
            w->title = text != nullptr ? text : L"";
            RedrawFrame(w);
            MarkWholeScreenLocked(s);
            NoteWorkLocked(s);
            return TRUE;
        }
        case WM_GETTEXT: {
            auto* out = reinterpret_cast<wchar_t*>(lp);
            const int maxChars = static_cast<int>(wp);
            if (out == nullptr || maxChars <= 0) return 0;
            const int n = std::min<int>(maxChars - 1, static_cast<int>(w->title.size()));
            std::copy_n(w->title.begin(), n, out);
            out[n] = 0;
            return n;
        }
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->title.size());
        case WM_CLOSE: DestroyWindow(wnd); return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(wnd, &ps);
            EndPaint(wnd, &ps);
            return 0;
        }
        default: return 0;
    }
}

LRESULT CallWindowProc(WNDPROC proc, HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return proc != nullptr ? proc(wnd, msg, wp, lp) : 0;
}

// ======================= internal seams =======================

namespace platform::detail {

bool RunOnUiThread(const std::function<void()>& fn)
{
    WindowSystem& s = Sys();
    if (OnUi()) {
        fn();
        return true;
    }
    auto done = std::make_shared<std::promise<void>>();
    auto future = done->get_future();
    HandToLoop([&](WindowSystem& locked) {
        locked.tasks.push_back(Task{fn, done});
        return true;
    });
    if (future.wait_for(kMarshalGuard) != std::future_status::ready) {
        // The loop did not answer; take the task back if it has not started.
        std::lock_guard lock(s.mu);
        for (auto it = s.tasks.begin(); it != s.tasks.end(); ++it) {
            if (it->done == done) {
                s.tasks.erase(it);
                return false;
            }
        }
        // it is running now: wait for it to end, since it uses the caller's data
        future.wait();
    }
    return true;
}

// Waits until the loop is blocked with nothing to do (used by WaitIdle).
bool WaitLoopIdle()
{
    WindowSystem& s = Sys();
    if (OnUi()) {
        if (!s.hasUiThread.load()) return true;
        MSG m;
        int guard = 100000;
        while (guard-- > 0 && PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(m.wParam));
                break;
            }
            DispatchMessage(&m);
        }
        return true;
    }
    std::unique_lock lock(s.mu);
    return s.idleCv.wait_for(lock, kIdleGuard, [&] { return !s.hasUiThread.load() || s.idle; });
}

}  // namespace platform::detail
