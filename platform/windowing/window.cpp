// Window classes and windows: creating and destroying them, showing, moving and stacking
// them, their texts, styles and extra values, focus and capture. Every window has a backing
// image of its whole size (title bar, border and client area) that painting draws into.
#include "platform/windowing/window.h"

#include <cwctype>

#include "platform/controls/detail_builtin.h"
#include "platform/windowing/detail_window_system.h"

using namespace platform::windowing;

namespace {

constexpr LONG kGwlWndProc = -4;

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
    w->surface = platform::detail::MakeCanvas(w->Width(), w->Height());
    RedrawFrame(w);
}

std::wstring Lower(std::wstring s)
{
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
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
        MarkWholeScreenLocked(s);
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

namespace {

void InvalidateTreeLocked(Window* w)
{
    InvalidateLocked(w, nullptr, true);
    for (HWND child : w->children) {
        if (Window* c = Find(child)) InvalidateTreeLocked(c);
    }
}

}  // namespace

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
        // A window that shows again is exposed whole: what it missed while hidden is drawn.
        if (show) InvalidateTreeLocked(w);
        MarkWholeScreenLocked(s);
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
        MarkWholeScreenLocked(s);
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
        MarkWholeScreenLocked(s);
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
    Window* w = Find(wnd);
    if (w == nullptr) return FALSE;
    while (Find(w->parent) != nullptr) w = Find(w->parent);
    HandToLoop([&](WindowSystem& s) {
        InsertFront(s.topLevel, w->handle, (w->exStyle & WS_EX_TOPMOST) != 0);
        MarkWholeScreenLocked(s);
        return true;
    });
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
            MarkWholeScreenLocked(s);
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
