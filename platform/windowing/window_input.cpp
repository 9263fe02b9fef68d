// Pointer and key input of the panel: raw input queued by the screen back ends becomes window
// messages for the window under the pointer, the capture or the focus; accelerator tables
// turn keys into commands.
#include "platform/windowing/detail_window_system.h"

using namespace platform::windowing;
using platform::detail::PointerKind;

namespace {

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

// Whether a window's top-level window takes input (a modal dialog disables its owner).
bool TopLevelEnabled(const Window* w)
{
    for (int depth = 0; w != nullptr && depth < 64; ++depth) {
        if ((w->style & WS_DISABLED) != 0) return false;
        if (w->parent == nullptr) return true;
        w = Find(w->parent);
    }
    return false;
}

// The focus when its window takes input, else the front-most window that does: a key typed
// while a dialog is up goes to the dialog, not to the control focused before it opened.
HWND KeyTarget()
{
    WindowSystem& s = Sys();
    if (Window* f = Find(s.focus); f != nullptr && VisibleChain(f) && TopLevelEnabled(f)) {
        return s.focus;
    }
    for (HWND h : s.topLevel) {
        const Window* w = Find(h);
        if (w != nullptr && w->Visible() && (w->style & WS_DISABLED) == 0) return h;
    }
    return nullptr;
}

}  // namespace

namespace platform::windowing {

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

}  // namespace platform::windowing

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

// ======================= internal seams =======================

namespace platform::detail {

void QueuePointer(PointerKind kind, int x, int y)
{
    HandToLoop([&](WindowSystem& s) {
        s.input.push_back(InputEvent{.pointer = true, .kind = kind, .x = x, .y = y});
        return true;
    });
}

void QueueKey(unsigned virtualKey, bool alt, bool down)
{
    HandToLoop([&](WindowSystem& s) {
        s.input.push_back(InputEvent{.pointer = false, .vk = virtualKey, .alt = alt, .down = down});
        return true;
    });
}

}  // namespace platform::detail
