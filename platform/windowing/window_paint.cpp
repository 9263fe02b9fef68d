// Painting: invalid regions, BeginPaint and EndPaint, device contexts on windows, the texts a
// paint leaves for inspection, and composing the screen from the visible windows in z-order.
#include "platform/drawing/gdi.h"
#include "platform/windowing/detail_window_system.h"

using namespace platform::windowing;

namespace {

constexpr int kMaxTextRecords = 512;
constexpr int kMaxPictureRecords = 256;

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

}  // namespace

// ======================= painting =======================

BOOL InvalidateRect(HWND wnd, const RECT* rect, BOOL erase)
{
    const bool marked = HandToLoop([&](WindowSystem& s) {
        if (wnd == nullptr) {
            for (auto& slot : s.slots) {
                if (slot) InvalidateLocked(slot.get(), nullptr, erase != FALSE);
            }
            return true;
        }
        Window* w = Find(wnd);
        if (w == nullptr) return false;
        InvalidateLocked(w, rect, erase != FALSE);
        return true;
    });
    return marked ? TRUE : FALSE;
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
        w->pictures.clear();
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
    // the paint's device context marked what it drew when it was deleted
    return Find(wnd) != nullptr ? TRUE : FALSE;
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
    DeleteDC(dc);  // marks what it drew on the screen
    (void)wnd;
    return 1;
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

void RecordWindowPicture(HWND wnd, const DrawnPicture& picture)
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    Window* w = Find(wnd);
    if (w == nullptr) return;
    // a picture copied again to the same place replaces the old one
    auto& pictures = w->pictures;
    pictures.erase(std::remove_if(pictures.begin(), pictures.end(),
                                  [&](const DrawnPicture& p) { return p.rect == picture.rect; }),
                   pictures.end());
    if (static_cast<int>(pictures.size()) >= kMaxPictureRecords) pictures.erase(pictures.begin());
    pictures.push_back(picture);
}

void CoverWindowArea(HWND wnd, const RECT& area)
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    Window* w = Find(wnd);
    if (w == nullptr) return;
    const auto under = [&](const RECT& r) {
        return r.left >= area.left && r.top >= area.top && r.right <= area.right &&
               r.bottom <= area.bottom;
    };
    std::erase_if(w->texts, [&](const DrawnText& t) { return under(t.rect); });
    std::erase_if(w->pictures, [&](const DrawnPicture& p) { return under(p.rect); });
}

void MarkScreenChanged()
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    MarkWholeScreenLocked(s);
}

void MarkWindowAreaChanged(HWND wnd, const RECT& clientArea)
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    const Window* w = Find(wnd);
    if (w == nullptr) return;
    const POINT o = ClientOriginOnScreen(w);
    MarkScreenAreaLocked(s, RECT{clientArea.left + o.x, clientArea.top + o.y,
                                 clientArea.right + o.x, clientArea.bottom + o.y});
}

std::vector<RECT> TakeScreenChanges()
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    return s.screenDirty.Take();
}

void SetScreenWatcher(ScreenWatcher watcher)
{
    auto shared = watcher ? std::make_shared<const ScreenWatcher>(std::move(watcher)) : nullptr;
    HandToLoop([&](WindowSystem& s) {
        s.watcher = std::move(shared);
        if (s.watcher) MarkWholeScreenLocked(s);
        return true;
    });
}

cairo_surface_t* ComposeScreen(const RECT& area)
{
    WindowSystem& s = Sys();
    std::lock_guard lock(s.mu);
    const RECT screen{0, 0, kScreenWidth, kScreenHeight};
    RECT clip = Intersect(area, screen);
    if (!s.screen || PanelSizeOf(s.screen.get()).cx * PaintScale() !=
                         cairo_image_surface_get_width(s.screen.get())) {
        s.screen = MakeCanvas(kScreenWidth, kScreenHeight);
        clip = screen;  // a new image is composed whole
    }
    cairo_t* cr = cairo_create(s.screen.get());
    cairo_rectangle(cr, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
    cairo_clip(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    for (auto it = s.topLevel.rbegin(); it != s.topLevel.rend(); ++it) {
        const Window* w = Find(*it);
        if (w == nullptr || !w->Visible() || !w->surface) continue;
        ComposeWindow(cr, w, w->rect.left, w->rect.top, clip);
    }
    cairo_destroy(cr);
    cairo_surface_flush(s.screen.get());
    return s.screen.get();
}

}  // namespace platform::detail
