// The "msctls_progress32" class: a sunken frame with a filled part for the position within
// the range, drawn as blocks. Stepping past the end starts again from the beginning.
#include <algorithm>

#include "platform/controls/controls.h"
#include "platform/controls/detail_controls.h"

namespace platform::controls {

namespace {

constexpr int kBlockWidth = 10;
constexpr int kBlockGap = 2;
constexpr COLORREF kBar = RGB(0, 0, 128);

struct ProgressState {
    int min = 0;
    int max = 100;
    int step = 10;
    int pos = 0;

    int Clamp(int p) const { return std::clamp(p, min, std::max(min, max)); }
};

StateTable<ProgressState> g_bars;

void Paint(HWND wnd)
{
    PaintScope scope(wnd);
    ProgressState* s = g_bars.Find(wnd);
    if (s == nullptr || scope.dc() == nullptr) return;
    Painter paint(scope.dc());
    RECT r = ClientRect(wnd);
    paint.Fill(r, kFace);
    DrawFrame(paint, RECT{r.left, r.top, r.right - 1, r.bottom - 1}, kShadow);
    DrawFrame(paint, RECT{r.left + 1, r.top + 1, r.right, r.bottom}, kLight);
    RECT inner{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
    int width = inner.right - inner.left;
    int span = s->max - s->min;
    if (width <= 0 || span <= 0) return;
    int filled =
        static_cast<int>(static_cast<long long>(width) * (s->Clamp(s->pos) - s->min) / span);
    for (int x = inner.left; x < inner.left + filled; x += kBlockWidth + kBlockGap) {
        int right = std::min(x + kBlockWidth, inner.right);
        paint.Fill(RECT{x, inner.top, right, inner.bottom}, kBar);
    }
}

LRESULT SetPos(HWND wnd, ProgressState& s, int pos)
{
    int previous = s.pos;
    s.pos = s.Clamp(pos);
    if (s.pos != previous) InvalidateRect(wnd, nullptr, FALSE);
    return previous;
}

LRESULT SetRange(HWND wnd, ProgressState& s, int min, int max)
{
    LRESULT previous = MAKELPARAM(static_cast<unsigned>(s.min), static_cast<unsigned>(s.max));
    s.min = min;
    s.max = max;
    s.pos = s.Clamp(s.pos);
    InvalidateRect(wnd, nullptr, FALSE);
    return previous;
}

// One step; past the end the bar starts again from the beginning of the range.
LRESULT StepIt(HWND wnd, ProgressState& s)
{
    int previous = s.pos;
    long long next = static_cast<long long>(s.pos) + s.step;
    long long span = static_cast<long long>(s.max) - s.min;
    if (span <= 0) {
        next = s.min;
    } else if (next > s.max) {
        next = s.min + (next - s.min) % span;
    } else if (next < s.min) {
        next = s.max - (s.min - next) % span;
    }
    s.pos = static_cast<int>(next);
    InvalidateRect(wnd, nullptr, FALSE);
    return previous;
}

LRESULT Handle(HWND wnd, ProgressState& s, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case PBM_SETRANGE:
            return SetRange(wnd, s, static_cast<std::int16_t>(LOWORD(static_cast<WPARAM>(lp))),
                            static_cast<std::int16_t>(HIWORD(static_cast<WPARAM>(lp))));
        case PBM_SETRANGE32:
            return SetRange(wnd, s, static_cast<int>(static_cast<std::intptr_t>(wp)),
                            static_cast<int>(lp));
        case PBM_SETPOS: return SetPos(wnd, s, static_cast<int>(static_cast<std::intptr_t>(wp)));
        case PBM_DELTAPOS:
            return SetPos(wnd, s, s.pos + static_cast<int>(static_cast<std::intptr_t>(wp)));
        case PBM_SETSTEP: {
            int previous = s.step;
            s.step = static_cast<int>(static_cast<std::intptr_t>(wp));
            return previous;
        }
        case PBM_STEPIT: return StepIt(wnd, s);
        case PBM_GETPOS: return s.pos;
    }
    return 0;
}

}  // namespace

LRESULT ProgressProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE:
            g_bars.Create(wnd);
            KeepAboveGroupBoxes(wnd);
            return 0;
        case WM_DESTROY: g_bars.Erase(wnd); return 0;
        case WM_PAINT: Paint(wnd); return 0;
        case WM_ERASEBKGND: return 1;
        case PBM_SETRANGE:
        case PBM_SETRANGE32:
        case PBM_SETPOS:
        case PBM_DELTAPOS:
        case PBM_SETSTEP:
        case PBM_STEPIT:
        case PBM_GETPOS: {
            ProgressState* s = g_bars.Find(wnd);
            return s != nullptr ? Handle(wnd, *s, msg, wp, lp) : 0;
        }
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

}  // namespace platform::controls
