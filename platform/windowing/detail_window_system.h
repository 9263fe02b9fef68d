// The state of the window system that its files share: the window table and its handles, the
// queues of the message loop, the timers, and the helpers that walk windows. Not for
// application code; the other platform modules use detail_window.h.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/runtime/runtime.h"
#include "platform/win_types.h"
#include "platform/windowing/changed_parts.h"
#include "platform/windowing/detail_window.h"
#include "platform/windowing/window.h"

namespace platform::windowing {

inline constexpr int kCaptionHeight = 20;
inline constexpr int kBorder = 1;

struct WindowClass {
    std::wstring name;
    WNDCLASS wc;
};

struct Window {
    HWND handle = nullptr;
    std::wstring className;
    WNDPROC proc = nullptr;
    HBRUSH background = nullptr;
    std::wstring title;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect;  // parent client coordinates (screen for top-level windows)
    HWND parent = nullptr;
    std::vector<HWND> children;  // front first
    int id = 0;
    std::map<int, std::intptr_t> longs;
    bool dirty = false;
    RECT dirtyRect;
    bool erase = false;
    detail::SurfacePtr surface;
    std::vector<DrawnText> texts;        // client coordinates
    std::vector<DrawnPicture> pictures;  // client coordinates
    bool destroying = false;
    bool beganPaint = false;  // BeginPaint ran since the WM_PAINT was dispatched

    bool Visible() const { return (style & WS_VISIBLE) != 0; }
    bool HasCaption() const { return (style & WS_CAPTION) == WS_CAPTION; }
    int Border() const
    {
        const bool edged = (style & (WS_BORDER | WS_DLGFRAME)) != 0 ||
                           (exStyle & (WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME));
        return edged ? kBorder : 0;
    }
    int Caption() const { return HasCaption() ? kCaptionHeight : 0; }
    int Width() const { return std::max<LONG>(0, rect.right - rect.left); }
    int Height() const { return std::max<LONG>(0, rect.bottom - rect.top); }
    POINT ClientOrigin() const { return POINT{Border(), Border() + Caption()}; }
    SIZE ClientSize() const
    {
        return SIZE{std::max(0, Width() - 2 * Border()),
                    std::max(0, Height() - 2 * Border() - Caption())};
    }
};

struct Timer {
    HWND wnd = nullptr;
    UINT_PTR id = 0;
    UINT period = 0;
    std::int64_t next = 0;
    TIMERPROC callback = nullptr;
};

struct InputEvent {
    bool pointer = true;
    detail::PointerKind kind = detail::PointerKind::Down;
    int x = 0, y = 0;
    unsigned vk = 0;
    bool alt = false;
    bool down = true;
};

struct Task {
    std::function<void()> fn;
    std::shared_ptr<std::promise<void>> done;
};

// Everything below is owned by the user-interface thread. Fields that other threads read or
// write (the queues, dirty state, timers, the window table's shape, styles) change under
// `mu`; the user-interface thread reads its own data without it.
struct WindowSystem {
    std::mutex mu;
    std::map<std::wstring, WindowClass> classes;
    std::vector<std::unique_ptr<Window>> slots;
    std::vector<std::uint32_t> generations;
    std::vector<HWND> topLevel;  // front first
    std::deque<MSG> posted;
    std::deque<InputEvent> input;
    std::deque<Task> tasks;
    std::vector<Timer> timers;
    UINT_PTR nextThreadTimerId = 1;
    bool quit = false;
    int quitCode = 0;
    std::atomic<bool> hasUiThread{false};
    std::atomic<std::thread::id> uiThread{};
    // idle: the user-interface thread is blocked in GetMessage with nothing due
    bool idle = false;
    std::condition_variable idleCv;
    // the parts of the screen changed since it was last shown (screen coordinates)
    ChangedParts screenDirty = ChangedParts::WholeScreen();
    HWND capture = nullptr;
    HWND focus = nullptr;
    bool builtinsRegistered = false;
    bool clockListenerSet = false;
    detail::SurfacePtr screen;
    std::shared_ptr<const detail::ScreenWatcher> watcher;  // empty: none
    std::vector<std::vector<ACCEL>> accelerators;
};

WindowSystem& Sys();

// ---- handles (window_system.cpp) ----
HWND MakeHandle(std::size_t index, std::uint32_t generation);
// Looks a handle up; the low bits (some callers pass a handle with the low bit set) are ignored.
Window* Find(HWND h);

// ---- the loop's thread ----
bool OnUi();
// Wakes the loop when another thread hands it work; the loop itself needs no wake-up.
void Wake();
// Marks work for the loop (caller holds mu) so that WaitIdle sees the loop busy at once.
inline void NoteWorkLocked(WindowSystem& s)
{
    s.idle = false;
}
// Hands the loop work from any thread: `post(s)` changes what the loop will find, with mu
// held, and returns whether it added anything (false: nothing to do, the loop is left as it
// is). When it did, the loop is marked busy and woken. Returns what `post` returned.
template <class Post>
bool HandToLoop(Post&& post)
{
    WindowSystem& s = Sys();
    {
        std::lock_guard lock(s.mu);
        if (!post(s)) return false;
        NoteWorkLocked(s);
    }
    Wake();
    return true;
}
// Wakes the loop after a clock change so that due timers fire.
void ClockMoved();
void EnsureClockListener();

// ---- rectangles and window walks ----
RECT Intersect(const RECT& a, const RECT& b);
bool Empty(const RECT& r);
RECT Union(const RECT& a, const RECT& b);
RECT Offset(const RECT& r, POINT by);
bool VisibleChain(const Window* w);
// Client origin of a window in screen coordinates.
POINT ClientOriginOnScreen(const Window* w);
// Adds an area (screen coordinates) to what the next present shows again; the whole screen
// for a change of the window arrangement (a window made, moved, shown, hidden, raised).
void MarkScreenAreaLocked(WindowSystem& s, const RECT& area);
void MarkWholeScreenLocked(WindowSystem& s);
void RedrawFrame(Window* w);
void InvalidateLocked(Window* w, const RECT* rect, bool erase);
LRESULT CallProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
// Sends WM_DESTROY to a window and its children, then frees them.
void DestroyTree(HWND h);

// ---- class names ----
// Class names compare without regard to case; no copy is made (the communication thread
// invalidates by class name and must not allocate).
bool SameClassName(std::wstring_view a, std::wstring_view b);
bool IsBuiltinName(const std::wstring& name);

// ---- input (window_input.cpp) ----
// Turns raw input into queued window messages (user-interface thread, holding mu).
void ConvertInputLocked(WindowSystem& s, std::int64_t now);

}  // namespace platform::windowing
