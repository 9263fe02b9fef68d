// The "scrollbar" class (SB_CTL): arrows, a track and a thumb. Taps tell the owner with
// WM_VSCROLL or WM_HSCROLL (line on the arrows, page on the track, thumb track while dragging
// and thumb position at release, then end-scroll); the owner moves the bar, as in the system
// API. An arrow held down repeats its line code.
#include <algorithm>

#include "platform/controls/controls.h"
#include "platform/controls/detail_controls.h"

namespace platform::controls {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kRepeatFirstMs = 400;
constexpr UINT kRepeatMs = 100;

struct ScrollBarState {
    ScrollRange range;
    int trackPos = 0;
    ScrollPart pressed = ScrollPart::None;
    int grabOffset = 0;
    bool repeating = false;
};

StateTable<ScrollBarState> g_bars;

bool Vertical(HWND wnd)
{
    return (Style(wnd) & SBS_VERT) != 0;
}

ScrollLayout Layout(HWND wnd, const ScrollBarState& s)
{
    ScrollRange shown = s.range;
    if (s.pressed == ScrollPart::Thumb) shown.pos = s.trackPos;
    return LayoutScroll(ClientRect(wnd), Vertical(wnd), shown);
}

void Tell(HWND wnd, WORD code, int pos)
{
    HWND owner = GetParent(wnd);
    if (owner == nullptr) return;
    UINT msg = Vertical(wnd) ? WM_VSCROLL : WM_HSCROLL;
    SendMessage(owner, msg, MAKEWPARAM(code, static_cast<unsigned>(pos)),
                reinterpret_cast<LPARAM>(wnd));
}

WORD CodeOf(ScrollPart part)
{
    switch (part) {
        case ScrollPart::LineUp: return SB_LINEUP;
        case ScrollPart::LineDown: return SB_LINEDOWN;
        case ScrollPart::PageUp: return SB_PAGEUP;
        case ScrollPart::PageDown: return SB_PAGEDOWN;
        default: return SB_ENDSCROLL;
    }
}

void Paint(HWND wnd)
{
    PaintScope scope(wnd);
    ScrollBarState* s = g_bars.Find(wnd);
    if (s == nullptr || scope.dc() == nullptr) return;
    Painter paint(scope.dc());
    PaintScroll(paint, Layout(wnd, *s), s->pressed, IsWindowEnabled(wnd) != FALSE);
}

// The owner may destroy the bar while handling a notification: callers look the state up
// again afterwards.
void OnDown(HWND wnd, POINT p)
{
    ScrollBarState* s = g_bars.Find(wnd);
    if (s == nullptr || IsWindowEnabled(wnd) == FALSE) return;
    ScrollLayout layout = Layout(wnd, *s);
    ScrollPart part = HitScroll(layout, p);
    if (part == ScrollPart::None) return;
    SetCapture(wnd);
    s->pressed = part;
    InvalidateRect(wnd, nullptr, FALSE);
    if (part == ScrollPart::Thumb) {
        s->grabOffset = layout.vertical ? p.y - layout.thumb.top : p.x - layout.thumb.left;
        s->trackPos = s->range.pos;
        return;
    }
    SetTimer(wnd, kRepeatTimer, kRepeatFirstMs, nullptr);
    s->repeating = false;
    Tell(wnd, CodeOf(part), 0);
}

void OnRepeat(HWND wnd)
{
    ScrollBarState* s = g_bars.Find(wnd);
    if (s == nullptr || s->pressed == ScrollPart::None || s->pressed == ScrollPart::Thumb) {
        KillTimer(wnd, kRepeatTimer);
        return;
    }
    if (!s->repeating) {
        s->repeating = true;
        SetTimer(wnd, kRepeatTimer, kRepeatMs, nullptr);
    }
    Tell(wnd, CodeOf(s->pressed), 0);
}

void OnMove(HWND wnd, POINT p)
{
    ScrollBarState* s = g_bars.Find(wnd);
    if (s == nullptr || s->pressed != ScrollPart::Thumb) return;
    ScrollLayout layout = LayoutScroll(ClientRect(wnd), Vertical(wnd), s->range);
    int edge = (layout.vertical ? p.y : p.x) - s->grabOffset;
    int next = ScrollPosFromThumb(layout, s->range, edge);
    if (next == s->trackPos) return;
    s->trackPos = next;
    InvalidateRect(wnd, nullptr, FALSE);
    Tell(wnd, SB_THUMBTRACK, next);
}

void OnUp(HWND wnd)
{
    ScrollBarState* s = g_bars.Find(wnd);
    if (s == nullptr || s->pressed == ScrollPart::None) return;
    ReleaseCapture();
    KillTimer(wnd, kRepeatTimer);
    ScrollPart was = s->pressed;
    int trackPos = s->trackPos;
    s->pressed = ScrollPart::None;
    InvalidateRect(wnd, nullptr, FALSE);
    if (was == ScrollPart::Thumb) Tell(wnd, SB_THUMBPOSITION, trackPos);
    if (IsWindow(wnd) != FALSE) Tell(wnd, SB_ENDSCROLL, 0);
}

LRESULT SetPos(HWND wnd, ScrollBarState& s, int pos, bool redraw)
{
    int previous = s.range.pos;
    s.range.pos = s.range.Clamp(pos);
    if (redraw) InvalidateRect(wnd, nullptr, FALSE);
    return previous;
}

LRESULT SetInfo(HWND wnd, ScrollBarState& s, const SCROLLINFO* info, bool redraw)
{
    if (info == nullptr) return s.range.pos;
    if ((info->fMask & SIF_RANGE) != 0) {
        s.range.min = info->nMin;
        s.range.max = std::max(info->nMin, info->nMax);
    }
    if ((info->fMask & SIF_PAGE) != 0) {
        long long span = static_cast<long long>(s.range.max) - s.range.min + 1;
        s.range.page = static_cast<int>(std::min<long long>(info->nPage, span));
    }
    int pos = (info->fMask & SIF_POS) != 0 ? info->nPos : s.range.pos;
    s.range.pos = s.range.Clamp(pos);
    if (redraw) InvalidateRect(wnd, nullptr, FALSE);
    return s.range.pos;
}

LRESULT GetInfo(const ScrollBarState& s, SCROLLINFO* info)
{
    if (info == nullptr) return FALSE;
    if ((info->fMask & SIF_RANGE) != 0) {
        info->nMin = s.range.min;
        info->nMax = s.range.max;
    }
    if ((info->fMask & SIF_PAGE) != 0) info->nPage = static_cast<UINT>(s.range.page);
    if ((info->fMask & SIF_POS) != 0) info->nPos = s.range.pos;
    info->nTrackPos = s.pressed == ScrollPart::Thumb ? s.trackPos : s.range.pos;
    return TRUE;
}

LRESULT Handle(HWND wnd, ScrollBarState& s, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case SBM_SETPOS: return SetPos(wnd, s, static_cast<int>(wp), lp != 0);
        case SBM_GETPOS: return s.range.pos;
        case SBM_SETRANGE: {
            int previous = s.range.pos;
            s.range.min = static_cast<int>(wp);
            s.range.max = std::max(s.range.min, static_cast<int>(lp));
            s.range.pos = s.range.Clamp(s.range.pos);
            InvalidateRect(wnd, nullptr, FALSE);
            return previous;
        }
        case SBM_SETSCROLLINFO:
            return SetInfo(wnd, s, reinterpret_cast<const SCROLLINFO*>(lp), wp != 0);
        case SBM_GETSCROLLINFO: return GetInfo(s, reinterpret_cast<SCROLLINFO*>(lp));
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

}  // namespace

LRESULT ScrollBarProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE:
            g_bars.Create(wnd);
            KeepAboveGroupBoxes(wnd);
            return 0;
        case WM_DESTROY:
            KillTimer(wnd, kRepeatTimer);
            g_bars.Erase(wnd);
            return 0;
        case WM_PAINT: Paint(wnd); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_LBUTTONDOWN: OnDown(wnd, PointFromLParam(lp)); return 0;
        case WM_MOUSEMOVE: OnMove(wnd, PointFromLParam(lp)); return 0;
        case WM_LBUTTONUP: OnUp(wnd); return 0;
        case WM_TIMER:
            if (wp == kRepeatTimer) OnRepeat(wnd);
            return 0;
        case WM_ENABLE: InvalidateRect(wnd, nullptr, FALSE); return 0;
    }
    ScrollBarState* s = g_bars.Find(wnd);
    if (s == nullptr) return DefWindowProc(wnd, msg, wp, lp);
    return Handle(wnd, *s, msg, wp, lp);
}

}  // namespace platform::controls
