// Windows, window classes, the message queue, timers and painting of the panel. Every window
// has a backing image of its whole size (title bar, border and client area); painting draws
// into it, and the screen is composed from the visible windows in z-order.
#include "platform/windowing/window.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <map>
#include <mutex>
#include <string_view>
#include <thread>

#include "platform/controls/controls.h"
#include "platform/controls/detail_builtin.h"
#include "platform/drawing/gdi.h"
#include "platform/runtime/clock.h"
#include "platform/windowing/detail_window.h"

namespace {

using platform::DrawnText;
using platform::detail::PointerKind;
using platform::detail::SurfacePtr;

constexpr int kCaptionHeight = 20;
constexpr int kBorder = 1;
constexpr int kMaxTextRecords = 512;
constexpr auto kMarshalGuard = std::chrono::seconds(10);
constexpr auto kIdleGuard = std::chrono::seconds(5);
constexpr LONG kGwlWndProc = -4;

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
    SurfacePtr surface;
    std::vector<DrawnText> texts;  // client coordinates
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
    PointerKind kind = PointerKind::Down;
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
    bool screenChanged = true;
    HWND capture = nullptr;
    HWND focus = nullptr;
    bool builtinsRegistered = false;
    bool clockListenerSet = false;
    SurfacePtr screen;
    std::vector<std::vector<ACCEL>> accelerators;
};

WindowSystem& Sys()
{
    static WindowSystem* sys =
        new WindowSystem();  // lives for the process; threads may outlive main
    return *sys;
}

// ---- handles ----
HWND MakeHandle(std::size_t index, std::uint32_t generation)
{
    const std::uintptr_t v = ((static_cast<std::uintptr_t>(generation & 0xFFFF) << 20) |
                              static_cast<std::uintptr_t>(index + 1))
                             << 4;
    return reinterpret_cast<HWND>(v);
}

// Looks a handle up; the low bits (some callers pass a handle with the low bit set) are ignored.
Window* Find(HWND h)
{
    const auto v = reinterpret_cast<std::uintptr_t>(h) >> 4;
    const std::size_t index = static_cast<std::size_t>(v & 0xFFFFF);
    if (index == 0) return nullptr;
    WindowSystem& s = Sys();
    if (index - 1 >= s.slots.size()) return nullptr;
    Window* w = s.slots[index - 1].get();
    if (w == nullptr || ((v >> 20) & 0xFFFF) != (s.generations[index - 1] & 0xFFFF)) return nullptr;
    return w;
}

bool OnUi()
{
    WindowSystem& s = Sys();
    return !s.hasUiThread.load() || s.uiThread.load() == std::this_thread::get_id();
}

// Wakes the loop when another thread hands it work; the loop itself needs no wake-up.
void Wake()
{
    WindowSystem& s = Sys();
    if (s.hasUiThread.load() && s.uiThread.load() == std::this_thread::get_id()) return;
    platform::detail::CurrentBackend().Wake();
}

// Marks work for the loop (caller holds mu) so that WaitIdle sees the loop busy at once.
void NoteWorkLocked(WindowSystem& s)
{
    s.idle = false;
}

RECT Intersect(const RECT& a, const RECT& b)
{
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.right <= r.left || r.bottom <= r.top) return RECT{};
    return r;
}
bool Empty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}
RECT Union(const RECT& a, const RECT& b)
{
    if (Empty(a)) return b;
    if (Empty(b)) return a;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

bool VisibleChain(const Window* w)
{
    while (w != nullptr) {
        if (!w->Visible()) return false;
        w = Find(w->parent);
    }
    return true;
}

// Client origin of a window in screen coordinates.
POINT ClientOriginOnScreen(const Window* w)
{
    POINT p{0, 0};
    while (w != nullptr) {
        const POINT o = w->ClientOrigin();
        p.x += w->rect.left + o.x;
        p.y += w->rect.top + o.y;
        w = Find(w->parent);
    }
    return p;
}

void RedrawFrame(Window* w)
{
    if (!w->surface || (w->Caption() == 0 && w->Border() == 0)) return;
    platform::detail::DrawWindowFrame(w->surface.get(), w->Width(), w->Height(), w->Caption(),
                                      w->Border(), w->title, true);
}

void InvalidateLocked(Window* w, const RECT* rect, bool erase)
{
    const SIZE cs = w->ClientSize();
    const RECT all{0, 0, cs.cx, cs.cy};
    const RECT r = rect == nullptr ? all : Intersect(*rect, all);
    if (Empty(r)) return;
    w->dirtyRect = w->dirty ? Union(w->dirtyRect, r) : r;
    w->dirty = true;
    w->erase = w->erase || erase;
}

// z-order insertion: top-most windows stay above the others.
void InsertFront(std::vector<HWND>& list, HWND h, bool topmost)
{
    list.erase(std::remove(list.begin(), list.end(), h), list.end());
    auto it = list.begin();
    if (!topmost) {
        while (it != list.end()) {
            const Window* o = Find(*it);
            if (o == nullptr || (o->exStyle & WS_EX_TOPMOST) == 0) break;
            ++it;
        }
    }
    list.insert(it, h);
}

void InsertBack(std::vector<HWND>& list, HWND h, bool topmost)
{
    list.erase(std::remove(list.begin(), list.end(), h), list.end());
    if (!topmost) {
        list.push_back(h);
        return;
    }
    auto it = list.begin();
    while (it != list.end()) {
        const Window* o = Find(*it);
        if (o == nullptr || (o->exStyle & WS_EX_TOPMOST) == 0) break;
        ++it;
    }
    list.insert(it, h);
}

void ResizeSurface(Window* w)
{
    w->surface = platform::detail::MakeImage(w->Width(), w->Height());
    RedrawFrame(w);
}

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

LRESULT CallProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    Window* w = Find(h);
    if (w == nullptr || w->proc == nullptr) return 0;
    return w->proc(h, msg, wp, lp);
}

// ---- input ----
HWND HitTest(int x, int y)
{
    WindowSystem& s = Sys();
    for (HWND h : s.topLevel) {
        Window* w = Find(h);
        if (w == nullptr || !w->Visible()) continue;
        const POINT p{x, y};
        if (!PtInRect(&w->rect, p)) continue;
        if ((w->style & WS_DISABLED) != 0) return nullptr;
        HWND current = h;
        for (;;) {
            Window* cw = Find(current);
            const POINT origin = ClientOriginOnScreen(cw);
            const SIZE cs = cw->ClientSize();
            const POINT local{x - origin.x, y - origin.y};
            if (local.x < 0 || local.y < 0 || local.x >= cs.cx || local.y >= cs.cy) return current;
            HWND next = nullptr;
            for (HWND c : cw->children) {
                const Window* child = Find(c);
                if (child == nullptr || !child->Visible() || !PtInRect(&child->rect, local)) {
                    continue;
                }
                next = c;
                break;
            }
            if (next == nullptr) return current;
            if ((Find(next)->style & WS_DISABLED) != 0) return current;
            current = next;
        }
    }
    return nullptr;
}

LPARAM ClientPoint(HWND h, int x, int y)
{
    const POINT o = ClientOriginOnScreen(Find(h));
    return MAKELPARAM(static_cast<unsigned>(x - o.x) & 0xFFFF,
                      static_cast<unsigned>(y - o.y) & 0xFFFF);
}

HWND KeyTarget()
{
    WindowSystem& s = Sys();
    if (Window* f = Find(s.focus); f != nullptr && VisibleChain(f)) return s.focus;
    for (HWND h : s.topLevel) {
        const Window* w = Find(h);
        if (w != nullptr && w->Visible() && (w->style & WS_DISABLED) == 0) return h;
    }
    return nullptr;
}

// Turns raw input into queued window messages (user-interface thread, holding mu).
void ConvertInputLocked(WindowSystem& s, std::int64_t now)
{
    while (!s.input.empty()) {
        const InputEvent e = s.input.front();
        s.input.pop_front();
        MSG m;
        m.time = static_cast<DWORD>(now);
        m.pt = POINT{e.x, e.y};
        if (!e.pointer) {
            const HWND target = KeyTarget();
            if (target == nullptr) continue;
            m.hwnd = target;
            m.message =
                e.alt ? (e.down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (e.down ? WM_KEYDOWN : WM_KEYUP);
            m.wParam = e.vk;
            m.lParam = 1 | (e.alt ? (1 << 29) : 0);
            s.posted.push_back(m);
            continue;
        }
        HWND target = Find(s.capture) != nullptr ? s.capture : HitTest(e.x, e.y);
        if (e.kind == PointerKind::Down) {
            target = HitTest(e.x, e.y);
            s.capture = target;
        }
        if (target == nullptr) continue;
        m.hwnd = target;
        m.lParam = ClientPoint(target, e.x, e.y);
        switch (e.kind) {
            case PointerKind::Down:
                m.message = WM_LBUTTONDOWN;
                m.wParam = MK_LBUTTON;
                break;
            case PointerKind::Move:
                m.message = WM_MOUSEMOVE;
                m.wParam = MK_LBUTTON;
                break;
            case PointerKind::Up:
                m.message = WM_LBUTTONUP;
                s.capture = nullptr;
                break;
        }
        s.posted.push_back(m);
    }
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
        const bool present = s.screenChanged && backend.WantsPresent();
        lock.unlock();
        if (present) backend.Present(platform::detail::ComposeScreen());
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

void DestroyTree(HWND h)
{
    WindowSystem& s = Sys();
    Window* w = Find(h);
    if (w == nullptr || w->destroying) return;
    w->destroying = true;
    CallProc(h, WM_DESTROY, 0, 0);
    w = Find(h);
    if (w == nullptr) return;
    const std::vector<HWND> kids = w->children;
    for (HWND c : kids) DestroyTree(c);
    std::lock_guard lock(s.mu);
    w = Find(h);
    if (w == nullptr) return;
    if (Window* p = Find(w->parent)) {
        p->children.erase(std::remove(p->children.begin(), p->children.end(), h),
                          p->children.end());
    }
    s.topLevel.erase(std::remove(s.topLevel.begin(), s.topLevel.end(), h), s.topLevel.end());
    s.timers.erase(std::remove_if(s.timers.begin(), s.timers.end(),
                                  [h](const Timer& t) { return t.wnd == h; }),
                   s.timers.end());
    s.posted.erase(
        std::remove_if(s.posted.begin(), s.posted.end(), [h](const MSG& m) { return m.hwnd == h; }),
        s.posted.end());
    if (s.capture == h) s.capture = nullptr;
    if (s.focus == h) s.focus = nullptr;
    const auto v = reinterpret_cast<std::uintptr_t>(h) >> 4;
    const std::size_t index = (v & 0xFFFFF) - 1;
    s.slots[index].reset();
    ++s.generations[index];
    s.screenChanged = true;
    NoteWorkLocked(s);
}

// Class names compare without regard to case; no copy is made (the communication thread
// invalidates by class name and must not allocate).
bool SameClassName(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    }
    return true;
}

bool IsBuiltinName(const std::wstring& name)
{
    static const wchar_t* const kNames[] = {L"button",        L"static",    L"listbox",
                                            L"sysListView32", L"scrollbar", L"msctls_progress32"};
    for (const wchar_t* n : kNames) {
        if (SameClassName(n, name)) return true;
    }
    return !name.empty() && name[0] == L'#';
}

std::wstring Lower(std::wstring s)
{
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

// Wakes the loop after a clock change so that due timers fire.
void ClockMoved()
{
    WindowSystem& sys = Sys();
    {
        std::lock_guard lock(sys.mu);
        NoteWorkLocked(sys);
    }
    Wake();
}

void EnsureClockListener()
{
    WindowSystem& s = Sys();
    if (s.clockListenerSet) return;
    s.clockListenerSet = true;
    platform::SetClockListener(ClockMoved);
}

}  // namespace

// ======================= classes and windows =======================

ATOM RegisterClass(const WNDCLASS* wc)
{
    if (wc == nullptr || wc->lpszClassName == nullptr || wc->lpfnWndProc == nullptr) return 0;
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    const std::wstring key = Lower(wc->lpszClassName);
    if (s.classes.count(key) != 0) return 0;
    s.classes[key] = WindowClass{wc->lpszClassName, *wc};
    return static_cast<ATOM>(0xC000 + s.classes.size());
}

HWND CreateWindowEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    int x, int y, int width, int height, HWND parent, std::intptr_t menuOrId,
                    HINSTANCE instance, void* param)
{
    if (className == nullptr) return nullptr;
    WindowSystem& s = Sys();
    const std::wstring key = Lower(className);
    bool known = false;
    {
        std::lock_guard lock(s.mu);
        known = s.classes.count(key) != 0;
    }
    if (!known && IsBuiltinName(key)) {
        platform::RegisterBuiltinControlClasses();
        std::lock_guard lock(s.mu);
        known = s.classes.count(key) != 0;
    }
    if (!known) return nullptr;
    const bool child = (style & WS_CHILD) != 0;
    Window* parentWindow = Find(parent);
    if (child && parentWindow == nullptr) return nullptr;
    EnsureClockListener();

    auto w = std::make_unique<Window>();
    HWND h = nullptr;
    {
        std::lock_guard lock(s.mu);
        const WindowClass& cls = s.classes[key];
        w->className = cls.name;
        w->proc = cls.wc.lpfnWndProc;
        w->background = cls.wc.hbrBackground;
        w->title = title != nullptr ? title : L"";
        w->style = style;
        w->exStyle = exStyle;
        if (x == CW_USEDEFAULT) x = 0;
        if (y == CW_USEDEFAULT) y = 0;
        if (width == CW_USEDEFAULT) width = platform::kScreenWidth;
        if (height == CW_USEDEFAULT) height = platform::kScreenHeight;
        w->rect = RECT{x, y, x + std::max(0, width), y + std::max(0, height)};
        w->parent = child ? parent : nullptr;
        w->id = child ? static_cast<int>(menuOrId) : 0;
        std::size_t index = 0;
        while (index < s.slots.size() && s.slots[index] != nullptr) ++index;
        if (index == s.slots.size()) {
            s.slots.emplace_back();
            s.generations.push_back(1);
        }
        h = MakeHandle(index, s.generations[index]);
        w->handle = h;
        ResizeSurface(w.get());
        InvalidateLocked(w.get(), nullptr, true);
        const bool topmost = (exStyle & WS_EX_TOPMOST) != 0;
        if (child) {
            InsertBack(parentWindow->children, h, topmost);
        } else {
            InsertFront(s.topLevel, h, topmost);
        }
        s.slots[index] = std::move(w);
        s.screenChanged = true;
        NoteWorkLocked(s);
    }
    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hwndParent = parent;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = title;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    if (CallProc(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(h);
        return nullptr;
    }
    if (Find(h) == nullptr) return nullptr;
    Wake();
    return h;
}

BOOL DestroyWindow(HWND wnd)
{
    if (Find(wnd) == nullptr) return FALSE;
    DestroyTree(wnd);
    Wake();
    return TRUE;
}

BOOL IsWindow(HWND wnd)
{
    std::lock_guard lock(Sys().mu);
    return Find(wnd) != nullptr ? TRUE : FALSE;
}

BOOL ShowWindow(HWND wnd, int command)
{
    WindowSystem& s = Sys();
    Window* w = Find(wnd);
    if (w == nullptr) return FALSE;
    const bool was = w->Visible();
    const bool show = command != SW_HIDE;
    if (was == show) return was ? TRUE : FALSE;
    {
        std::lock_guard lock(s.mu);
        w->style = show ? (w->style | WS_VISIBLE) : (w->style & ~WS_VISIBLE);
        s.screenChanged = true;
        NoteWorkLocked(s);
        if (!show && s.capture != nullptr) {
            for (const Window* c = Find(s.capture); c != nullptr; c = Find(c->parent)) {
                if (c == w) {
                    s.capture = nullptr;
                    break;
                }
            }
        }
    }
    CallProc(wnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    Wake();
    return was ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND wnd)
{
    const Window* w = Find(wnd);
    return w != nullptr && VisibleChain(w) ? TRUE : FALSE;
}

BOOL MoveWindow(HWND wnd, int x, int y, int width, int height, BOOL repaint)
{
    WindowSystem& s = Sys();
    Window* w = Find(wnd);
    if (w == nullptr) return FALSE;
    const bool resized = w->Width() != width || w->Height() != height;
    {
        std::lock_guard lock(s.mu);
        w->rect = RECT{x, y, x + std::max(0, width), y + std::max(0, height)};
        if (resized) {
            ResizeSurface(w);
            InvalidateLocked(w, nullptr, true);
        } else if (repaint) {
            InvalidateLocked(w, nullptr, true);
        }
        s.screenChanged = true;
        NoteWorkLocked(s);
    }
    if (resized) {
        const SIZE cs = w->ClientSize();
        CallProc(wnd, WM_SIZE, 0, MAKELPARAM(cs.cx, cs.cy));
    }
    CallProc(wnd, WM_MOVE, 0, MAKELPARAM(x & 0xFFFF, y & 0xFFFF));
    Wake();
    return TRUE;
}

BOOL SetWindowPos(HWND wnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    WindowSystem& s = Sys();
    Window* w = Find(wnd);
    if (w == nullptr) return FALSE;
    if ((flags & SWP_NOMOVE) == 0 || (flags & SWP_NOSIZE) == 0) {
        const int nx = (flags & SWP_NOMOVE) != 0 ? w->rect.left : x;
        const int ny = (flags & SWP_NOMOVE) != 0 ? w->rect.top : y;
        const int nw = (flags & SWP_NOSIZE) != 0 ? w->Width() : cx;
        const int nh = (flags & SWP_NOSIZE) != 0 ? w->Height() : cy;
        MoveWindow(wnd, nx, ny, nw, nh, FALSE);
    }
    if ((flags & SWP_NOZORDER) == 0) {
        std::lock_guard lock(s.mu);
        if (insertAfter == HWND_TOPMOST) w->exStyle |= WS_EX_TOPMOST;
        const bool topmost = (w->exStyle & WS_EX_TOPMOST) != 0;
        if (Window* p = Find(w->parent)) {
            InsertFront(p->children, wnd, topmost);
        } else {
            InsertFront(s.topLevel, wnd, topmost);
        }
        s.screenChanged = true;
        NoteWorkLocked(s);
    }
    if ((flags & SWP_SHOWWINDOW) != 0) ShowWindow(wnd, SW_SHOW);
    if ((flags & SWP_HIDEWINDOW) != 0) ShowWindow(wnd, SW_HIDE);
    Wake();
    return TRUE;
}

BOOL SetWindowText(HWND wnd, const wchar_t* text)
{
    if (Find(wnd) == nullptr) return FALSE;
    return static_cast<BOOL>(SendMessage(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int GetWindowText(HWND wnd, wchar_t* out, int maxChars)
{
    if (out == nullptr || maxChars <= 0) return 0;
    out[0] = 0;
    if (Find(wnd) == nullptr) return 0;
    return static_cast<int>(
        SendMessage(wnd, WM_GETTEXT, static_cast<WPARAM>(maxChars), reinterpret_cast<LPARAM>(out)));
}

int GetWindowTextLength(HWND wnd)
{
    if (Find(wnd) == nullptr) return 0;
    return static_cast<int>(SendMessage(wnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL EnableWindow(HWND wnd, BOOL enable)
{
    WindowSystem& s = Sys();
    Window* w = Find(wnd);
    if (w == nullptr) return FALSE;
    const bool wasDisabled = (w->style & WS_DISABLED) != 0;
    if (wasDisabled == (enable == FALSE)) return wasDisabled ? TRUE : FALSE;
    {
        std::lock_guard lock(s.mu);
        w->style = enable ? (w->style & ~WS_DISABLED) : (w->style | WS_DISABLED);
        if (!enable && s.capture == wnd) s.capture = nullptr;
        NoteWorkLocked(s);
    }
    CallProc(wnd, WM_ENABLE, enable, 0);
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND wnd)
{
    const Window* w = Find(wnd);
    return w != nullptr && (w->style & WS_DISABLED) == 0 ? TRUE : FALSE;
}

HWND FindWindow(const wchar_t* className, const wchar_t* title)
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    for (auto& slot : s.slots) {
        const Window* w = slot.get();
        if (w == nullptr || w->destroying) continue;
        if (className != nullptr && !SameClassName(w->className, className)) continue;
        if (title != nullptr && w->title != title) continue;
        return w->handle;
    }
    return nullptr;
}

BOOL SetForegroundWindow(HWND wnd)
{
    WindowSystem& s = Sys();
    Window* w = Find(wnd);
    if (w == nullptr) return FALSE;
    while (Find(w->parent) != nullptr) w = Find(w->parent);
    {
        std::lock_guard lock(s.mu);
        InsertFront(s.topLevel, w->handle, (w->exStyle & WS_EX_TOPMOST) != 0);
        s.screenChanged = true;
        NoteWorkLocked(s);
    }
    Wake();
    return TRUE;
}

HWND GetForegroundWindow()
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    for (HWND h : s.topLevel) {
        const Window* w = Find(h);
        if (w != nullptr && w->Visible()) return h;
    }
    return nullptr;
}

HWND GetParent(HWND wnd)
{
    const Window* w = Find(wnd);
    return w != nullptr ? w->parent : nullptr;
}

HWND GetDlgItem(HWND parent, int id)
{
    const Window* p = Find(parent);
    if (p == nullptr) return nullptr;
    for (HWND c : p->children) {
        const Window* w = Find(c);
        if (w != nullptr && w->id == id) return c;
    }
    return nullptr;
}

int GetDlgCtrlID(HWND wnd)
{
    const Window* w = Find(wnd);
    return w != nullptr ? w->id : 0;
}

BOOL GetClientRect(HWND wnd, RECT* out)
{
    const Window* w = Find(wnd);
    if (w == nullptr || out == nullptr) return FALSE;
    const SIZE cs = w->ClientSize();
    *out = RECT{0, 0, cs.cx, cs.cy};
    return TRUE;
}

BOOL GetWindowRect(HWND wnd, RECT* out)
{
    const Window* w = Find(wnd);
    if (w == nullptr || out == nullptr) return FALSE;
    POINT o{0, 0};
    if (const Window* p = Find(w->parent)) o = ClientOriginOnScreen(p);
    *out = RECT{w->rect.left + o.x, w->rect.top + o.y, w->rect.right + o.x, w->rect.bottom + o.y};
    return TRUE;
}

BOOL ClientToScreen(HWND wnd, POINT* p)
{
    const Window* w = Find(wnd);
    if (w == nullptr || p == nullptr) return FALSE;
    const POINT o = ClientOriginOnScreen(w);
    p->x += o.x;
    p->y += o.y;
    return TRUE;
}

BOOL ScreenToClient(HWND wnd, POINT* p)
{
    const Window* w = Find(wnd);
    if (w == nullptr || p == nullptr) return FALSE;
    const POINT o = ClientOriginOnScreen(w);
    p->x -= o.x;
    p->y -= o.y;
    return TRUE;
}

std::intptr_t GetWindowLongPtr(HWND wnd, int index)
{
    const Window* w = Find(wnd);
    if (w == nullptr) return 0;
    switch (index) {
        case GWL_STYLE: return static_cast<LONG>(w->style);
        case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
        case GWL_ID: return w->id;
        case kGwlWndProc: return reinterpret_cast<std::intptr_t>(w->proc);
        default: {
            const auto it = w->longs.find(index);
            return it != w->longs.end() ? it->second : 0;
        }
    }
}

std::intptr_t SetWindowLongPtr(HWND wnd, int index, std::intptr_t value)
{
    WindowSystem& s = Sys();
    Window* w = Find(wnd);
    if (w == nullptr) return 0;
    const std::intptr_t old = GetWindowLongPtr(wnd, index);
    std::lock_guard lock(s.mu);
    switch (index) {
        case GWL_STYLE:
            w->style = static_cast<DWORD>(value);
            s.screenChanged = true;
            break;
        case GWL_EXSTYLE: w->exStyle = static_cast<DWORD>(value); break;
        case GWL_ID: w->id = static_cast<int>(value); break;
        case kGwlWndProc:
            if (value != 0) w->proc = reinterpret_cast<WNDPROC>(value);
            break;
        default: w->longs[index] = value; break;
    }
    return old;
}

LONG GetWindowLong(HWND wnd, int index)
{
    return static_cast<LONG>(GetWindowLongPtr(wnd, index));
}

LONG SetWindowLong(HWND wnd, int index, LONG value)
{
    return static_cast<LONG>(SetWindowLongPtr(wnd, index, value));
}

int GetClassName(HWND wnd, wchar_t* out, int maxChars)
{
    const Window* w = Find(wnd);
    if (w == nullptr || out == nullptr || maxChars <= 0) return 0;
    const int n = std::min<int>(maxChars - 1, static_cast<int>(w->className.size()));
    std::copy_n(w->className.begin(), n, out);
    out[n] = 0;
    return n;
}

HWND SetCapture(HWND wnd)
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    const HWND old = s.capture;
    if (Find(wnd) != nullptr) s.capture = wnd;
    return old;
}

BOOL ReleaseCapture()
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    s.capture = nullptr;
    return TRUE;
}

HWND SetFocus(HWND wnd)
{
    WindowSystem& s = Sys();
    const HWND old = s.focus;
    if (Find(wnd) == nullptr) return old;
    {
        std::lock_guard lock(s.mu);
        s.focus = wnd;
    }
    if (old != wnd) CallProc(wnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

int GetSystemMetrics(int index)
{
    switch (index) {
        case SM_CXSCREEN: return platform::kScreenWidth;
        case SM_CYSCREEN: return platform::kScreenHeight;
        default: return 0;
    }
}

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
    WindowSystem& s = Sys();
    {
        std::lock_guard lock(s.mu);
        if (wnd != nullptr && Find(wnd) == nullptr) return FALSE;
        MSG m;
        m.hwnd = wnd;
        m.message = msg;
        m.wParam = wp;
        m.lParam = lp;
        s.posted.push_back(m);
        NoteWorkLocked(s);
    }
    Wake();
    return TRUE;
}

void PostQuitMessage(int exitCode)
{
    WindowSystem& s = Sys();
    {
        std::lock_guard lock(s.mu);
        s.quit = true;
        s.quitCode = exitCode;
        NoteWorkLocked(s);
    }
    Wake();
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
            s.screenChanged = true;
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

// ======================= painting =======================

BOOL InvalidateRect(HWND wnd, const RECT* rect, BOOL erase)
{
    WindowSystem& s = Sys();
    {
        std::lock_guard lock(s.mu);
        if (wnd == nullptr) {
            for (auto& slot : s.slots) {
                if (slot) InvalidateLocked(slot.get(), nullptr, erase != FALSE);
            }
        } else {
            Window* w = Find(wnd);
            if (w == nullptr) return FALSE;
            InvalidateLocked(w, rect, erase != FALSE);
        }
        NoteWorkLocked(s);
    }
    Wake();
    return TRUE;
}

BOOL ValidateRect(HWND wnd, const RECT* rect)
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    Window* w = Find(wnd);
    if (w == nullptr) return FALSE;
    if (rect == nullptr) {
        w->dirty = false;
        w->erase = false;
        return TRUE;
    }
    // Only a rectangle that covers the whole dirty area validates it.
    const RECT& d = w->dirtyRect;
    if (rect->left <= d.left && rect->top <= d.top && rect->right >= d.right &&
        rect->bottom >= d.bottom) {
        w->dirty = false;
        w->erase = false;
    }
    return TRUE;
}

BOOL UpdateWindow(HWND wnd)
{
    const Window* w = Find(wnd);
    if (w == nullptr) return FALSE;
    if (w->dirty && VisibleChain(w)) {
        CallProc(wnd, WM_PAINT, 0, 0);
        ValidateRect(wnd, nullptr);
    }
    return TRUE;
}

HDC BeginPaint(HWND wnd, PAINTSTRUCT* ps)
{
    WindowSystem& s = Sys();
    Window* w = Find(wnd);
    if (w == nullptr) return nullptr;
    RECT paint;
    bool erase = false;
    {
        std::lock_guard lock(s.mu);
        const SIZE cs = w->ClientSize();
        paint = w->dirty ? w->dirtyRect : RECT{0, 0, cs.cx, cs.cy};
        erase = w->erase || !w->dirty;
        w->dirty = false;
        w->erase = false;
        w->beganPaint = true;
        w->texts.clear();
    }
    HDC dc = platform::detail::CreateWindowDc(wnd, paint);
    bool erased = false;
    if (erase && dc != nullptr)
        erased = CallProc(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) != 0;
    if (ps != nullptr) {
        ps->hdc = dc;
        ps->fErase = erase && !erased ? TRUE : FALSE;
        ps->rcPaint = paint;
    }
    return dc;
}

BOOL EndPaint(HWND wnd, const PAINTSTRUCT* ps)
{
    if (ps != nullptr && ps->hdc != nullptr) DeleteDC(ps->hdc);
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    if (Find(wnd) == nullptr) return FALSE;
    s.screenChanged = true;
    return TRUE;
}

HDC GetDC(HWND wnd)
{
    const Window* w = Find(wnd);
    if (w == nullptr) return nullptr;
    const SIZE cs = w->ClientSize();
    return platform::detail::CreateWindowDc(wnd, RECT{0, 0, cs.cx, cs.cy});
}

int ReleaseDC(HWND wnd, HDC dc)
{
    if (dc == nullptr) return 0;
    DeleteDC(dc);
    platform::detail::MarkScreenChanged();
    (void)wnd;
    return 1;
}

// ======================= accelerators =======================

HACCEL CreateAcceleratorTable(const ACCEL* entries, int count)
{
    if (entries == nullptr || count <= 0) return nullptr;
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    s.accelerators.emplace_back(entries, entries + count);
    return reinterpret_cast<HACCEL>(s.accelerators.size() << 4);
}

int TranslateAccelerator(HWND wnd, HACCEL table, const MSG* msg)
{
    if (msg == nullptr || Find(wnd) == nullptr) return 0;
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return 0;
    std::vector<ACCEL> entries;
    {
        WindowSystem& s = Sys();
        std::lock_guard lock(s.mu);
        const std::size_t index = reinterpret_cast<std::uintptr_t>(table) >> 4;
        if (index == 0 || index > s.accelerators.size()) return 0;
        entries = s.accelerators[index - 1];
    }
    const bool alt = msg->message == WM_SYSKEYDOWN || (msg->lParam & (1 << 29)) != 0;
    for (const ACCEL& a : entries) {
        if (a.key != msg->wParam) continue;
        if (((a.fVirt & FALT) != 0) != alt) continue;
        if ((a.fVirt & (FSHIFT | FCONTROL)) != 0) continue;  // the panel has no such keys
        SendMessage(wnd, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
        return 1;
    }
    return 0;
}

// ======================= platform extras =======================

namespace platform {

void InvalidateWindowClass(const wchar_t* className, const RECT* rect, BOOL erase)
{
    if (className == nullptr) return;
    WindowSystem& s = Sys();
    const std::wstring_view key(className);
    {
        std::lock_guard lock(s.mu);
        for (auto& slot : s.slots) {
            Window* w = slot.get();
            if (w == nullptr || w->destroying || !VisibleChain(w)) continue;
            if (!SameClassName(w->className, key)) continue;
            InvalidateLocked(w, rect, erase != FALSE);
            NoteWorkLocked(s);
        }
    }
    Wake();
}

bool OnUiThread()
{
    WindowSystem& s = Sys();
    return s.hasUiThread.load() && s.uiThread.load() == std::this_thread::get_id();
}

}  // namespace platform

// ======================= internal seams =======================

namespace platform::detail {

std::optional<WindowCanvas> CanvasOf(HWND wnd)
{
    const Window* w = Find(wnd);
    if (w == nullptr || !w->surface) return std::nullopt;
    return WindowCanvas{w->surface.get(), w->ClientOrigin(), w->ClientSize()};
}

void RecordWindowText(HWND wnd, const DrawnText& text)
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    Window* w = Find(wnd);
    if (w == nullptr) return;
    // a text drawn again at the same place replaces the old one
    auto& texts = w->texts;
    texts.erase(std::remove_if(texts.begin(), texts.end(),
                               [&](const DrawnText& t) { return t.rect == text.rect; }),
                texts.end());
    if (static_cast<int>(texts.size()) >= kMaxTextRecords) texts.erase(texts.begin());
    texts.push_back(text);
}

void MarkScreenChanged()
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    s.screenChanged = true;
}

void QueuePointer(PointerKind kind, int x, int y)
{
    WindowSystem& s = Sys();
    {
        std::lock_guard lock(s.mu);
        InputEvent e;
        e.pointer = true;
        e.kind = kind;
        e.x = x;
        e.y = y;
        s.input.push_back(e);
        NoteWorkLocked(s);
    }
    Wake();
}

void QueueKey(unsigned virtualKey, bool alt, bool down)
{
    WindowSystem& s = Sys();
    {
        std::lock_guard lock(s.mu);
        InputEvent e;
        e.pointer = false;
        e.vk = virtualKey;
        e.alt = alt;
        e.down = down;
        s.input.push_back(e);
        NoteWorkLocked(s);
    }
    Wake();
}

bool RunOnUiThread(const std::function<void()>& fn)
{
    WindowSystem& s = Sys();
    if (OnUi()) {
        fn();
        return true;
    }
    auto done = std::make_shared<std::promise<void>>();
    auto future = done->get_future();
    {
        std::lock_guard lock(s.mu);
        s.tasks.push_back(Task{fn, done});
        NoteWorkLocked(s);
    }
    Wake();
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

std::optional<std::int64_t> NextTimerDeadline()
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    std::optional<std::int64_t> next;
    for (const Timer& t : s.timers) next = next ? std::min(*next, t.next) : t.next;
    return next;
}

void ComposeWindow(cairo_t* cr, const Window* w, int x, int y, const RECT& clip)
{
    const RECT box{x, y, x + w->Width(), y + w->Height()};
    const RECT visible = Intersect(box, clip);
    if (Empty(visible)) return;
    cairo_save(cr);
    cairo_rectangle(cr, visible.left, visible.top, visible.right - visible.left,
                    visible.bottom - visible.top);
    cairo_clip(cr);
    cairo_set_source_surface(cr, w->surface.get(), x, y);
    cairo_paint(cr);
    cairo_restore(cr);
    const POINT o = w->ClientOrigin();
    const SIZE cs = w->ClientSize();
    const RECT client =
        Intersect(visible, RECT{x + o.x, y + o.y, x + o.x + cs.cx, y + o.y + cs.cy});
    if (Empty(client)) return;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
        const Window* c = Find(*it);
        if (c == nullptr || !c->Visible() || !c->surface) continue;
        ComposeWindow(cr, c, x + o.x + c->rect.left, y + o.y + c->rect.top, client);
    }
}

cairo_surface_t* ComposeScreen()
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    if (!s.screen) s.screen = MakeImage(kScreenWidth, kScreenHeight);
    cairo_t* cr = cairo_create(s.screen.get());
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    const RECT screen{0, 0, kScreenWidth, kScreenHeight};
    for (auto it = s.topLevel.rbegin(); it != s.topLevel.rend(); ++it) {
        const Window* w = Find(*it);
        if (w == nullptr || !w->Visible() || !w->surface) continue;
        ComposeWindow(cr, w, w->rect.left, w->rect.top, screen);
    }
    cairo_destroy(cr);
    cairo_surface_flush(s.screen.get());
    s.screenChanged = false;
    return s.screen.get();
}

void BindUiThread()
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    s.uiThread = std::this_thread::get_id();
    s.hasUiThread = true;
    s.idle = false;
    s.clockListenerSet = false;  // installed again on the next window or timer
}

bool HasUiThread()
{
    return Sys().hasUiThread.load();
}

void KickLoop()
{
    ClockMoved();
}

void ResetWindowSystem()
{
    WindowSystem& s = Sys();
    for (;;) {
        HWND h = nullptr;
        {
            std::lock_guard lock(s.mu);
            if (!s.topLevel.empty()) h = s.topLevel.front();
        }
        if (h == nullptr) break;
        DestroyTree(h);
        std::lock_guard lock(s.mu);
        // a window that could not be destroyed must not stop the reset
        s.topLevel.erase(std::remove(s.topLevel.begin(), s.topLevel.end(), h), s.topLevel.end());
    }
    std::deque<Task> orphans;
    {
        std::lock_guard lock(s.mu);
        s.slots.clear();
        s.posted.clear();
        s.input.clear();
        s.timers.clear();
        s.quit = false;
        s.quitCode = 0;
        s.capture = nullptr;
        s.focus = nullptr;
        s.accelerators.clear();
        for (auto it = s.classes.begin(); it != s.classes.end();) {
            it = IsBuiltinName(it->first) ? std::next(it) : s.classes.erase(it);
        }
        s.hasUiThread = false;
        s.uiThread = std::thread::id();
        s.idle = true;
        s.screenChanged = true;
        orphans.swap(s.tasks);
        s.idleCv.notify_all();
    }
    // tasks that came too late run here, so that no caller waits for ever
    for (Task& t : orphans) {
        t.fn();
        t.done->set_value();
    }
}

std::vector<HWND> TopLevelFrontToBack()
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    return s.topLevel;
}

std::vector<HWND> ChildrenFrontToBack(HWND wnd)
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    const Window* w = Find(wnd);
    return w != nullptr ? w->children : std::vector<HWND>{};
}

std::vector<DrawnText> LastPaintTexts(HWND wnd)
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    const Window* w = Find(wnd);
    if (w == nullptr) return {};
    const POINT o = ClientOriginOnScreen(w);
    std::vector<DrawnText> out = w->texts;
    for (DrawnText& t : out) {
        t.rect.left += o.x;
        t.rect.right += o.x;
        t.rect.top += o.y;
        t.rect.bottom += o.y;
    }
    return out;
}

bool IsBuiltinControlClass(const std::wstring& name)
{
    return IsBuiltinName(name) && (name.empty() || name[0] != L'#');
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
