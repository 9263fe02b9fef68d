// The window table that the window system's files share: handles, the helpers that walk
// windows and their rectangles, destroying windows, the user-interface thread, and the
// inspection and reset seams.
#include <cwctype>

#include "platform/runtime/clock.h"
#include "platform/windowing/detail_window_system.h"

namespace platform::windowing {

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

RECT Offset(const RECT& r, POINT by)
{
    return RECT{r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y};
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

// The changed parts are kept apart while few (see changed_parts.h).
void MarkScreenAreaLocked(WindowSystem& s, const RECT& area)
{
    s.screenDirty.Add(area);
}

void MarkWholeScreenLocked(WindowSystem& s)
{
    s.screenDirty.AddWholeScreen();
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

LRESULT CallProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    Window* w = Find(h);
    if (w == nullptr || w->proc == nullptr) return 0;
    return w->proc(h, msg, wp, lp);
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
    MarkWholeScreenLocked(s);
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

}  // namespace platform::windowing

using namespace platform::windowing;

namespace platform {

bool OnUiThread()
{
    WindowSystem& s = Sys();
    return s.hasUiThread.load() && s.uiThread.load() == std::this_thread::get_id();
}

}  // namespace platform

// ======================= internal seams =======================

namespace platform::detail {

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

void ReleaseIdleWaiters()
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    s.idle = true;
    s.idleCv.notify_all();
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
        s.watcher.reset();
        for (auto it = s.classes.begin(); it != s.classes.end();) {
            it = IsBuiltinName(it->first) ? std::next(it) : s.classes.erase(it);
        }
        s.hasUiThread = false;
        s.uiThread = std::thread::id();
        s.idle = true;
        MarkWholeScreenLocked(s);
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
        for (RECT* r : {&t.rect, &t.box, &t.extent}) *r = Offset(*r, o);
    }
    return out;
}

std::vector<DrawnPicture> LastPaintPictures(HWND wnd)
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    const Window* w = Find(wnd);
    if (w == nullptr) return {};
    const POINT o = ClientOriginOnScreen(w);
    std::vector<DrawnPicture> out = w->pictures;
    for (DrawnPicture& p : out) {
        p.rect = Offset(p.rect, o);
        p.inkOrigin = POINT{p.inkOrigin.x + o.x, p.inkOrigin.y + o.y};
    }
    return out;
}

bool IsBuiltinControlClass(const std::wstring& name)
{
    return IsBuiltinName(name) && (name.empty() || name[0] != L'#');
}

}  // namespace platform::detail
