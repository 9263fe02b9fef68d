// The built-in control classes of the panel: their registration, the drawing helpers they
// share on top of the painter (3D edges, frames, scroll bars), the scroll bar geometry and the
// dialog item helpers.
#include <algorithm>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/controls/detail_builtin.h"
#include "platform/controls/detail_controls.h"

namespace platform::controls {

namespace {

constexpr int kTabColumns = 8;
constexpr int kMinThumb = 12;

void RegisterOne(const wchar_t* name, WNDPROC proc)
{
    WNDCLASS wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    RegisterClass(&wc);  // a second registration fails softly; the first one stays
}

void PaintArrow(Painter& paint, const RECT& box, bool vertical, bool towardsStart, COLORREF colour,
                int shift)
{
    int cx = (box.left + box.right) / 2 + shift;
    int cy = (box.top + box.bottom) / 2 + shift;
    int half = std::max(2, std::min(box.right - box.left, box.bottom - box.top) / 4);
    POINT pts[3];
    if (vertical) {
        int tip = towardsStart ? cy - half / 2 - 1 : cy + half / 2 + 1;
        int base = towardsStart ? cy + half / 2 + 1 : cy - half / 2 - 1;
        pts[0] = POINT{cx, tip};
        pts[1] = POINT{cx - half, base};
        pts[2] = POINT{cx + half, base};
    } else {
        int tip = towardsStart ? cx - half / 2 - 1 : cx + half / 2 + 1;
        int base = towardsStart ? cx + half / 2 + 1 : cx - half / 2 - 1;
        pts[0] = POINT{tip, cy};
        pts[1] = POINT{base, cy - half};
        pts[2] = POINT{base, cy + half};
    }
    paint.Polygon(pts, colour, colour, 1);
}

void PaintButtonBox(Painter& paint, const RECT& box, bool pressed)
{
    paint.Fill(box, kFace);
    if (pressed) {
        DrawFrame(paint, box, kShadow);
    } else {
        DrawEdge3D(paint, box, true);
    }
}

}  // namespace

// ---- drawing helpers ----

void DrawFrame(Painter& paint, const RECT& rect, COLORREF colour)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    paint.Frame(rect, colour);
}

void DrawEdge3D(Painter& paint, const RECT& rect, bool raised)
{
    if (rect.right - rect.left < 4 || rect.bottom - rect.top < 4) {
        DrawFrame(paint, rect, kShadow);
        return;
    }
    COLORREF outerTopLeft = raised ? kLight : kShadow;
    COLORREF outerBottomRight = raised ? kDarkShadow : kLight;
    COLORREF innerTopLeft = raised ? kFace : kDarkShadow;
    COLORREF innerBottomRight = raised ? kShadow : kFace;
    int l = rect.left, t = rect.top, r = rect.right - 1, b = rect.bottom - 1;
    // outer ring
    paint.Line(l, b, l, t, outerTopLeft);
    paint.Line(l, t, r, t, outerTopLeft);
    paint.Line(r, t, r, b, outerBottomRight);
    paint.Line(r, b, l - 1, b, outerBottomRight);
    // inner ring
    paint.Line(l + 1, b - 1, l + 1, t + 1, innerTopLeft);
    paint.Line(l + 1, t + 1, r - 1, t + 1, innerTopLeft);
    paint.Line(r - 1, t + 1, r - 1, b - 1, innerBottomRight);
    paint.Line(r - 1, b - 1, l, b - 1, innerBottomRight);
}

void PaintParentBackground(HWND wnd, Painter& paint)
{
    RECT client = ClientRect(wnd);
    HWND parent = GetParent(wnd);
    if (parent == nullptr) {
        paint.Fill(client, kFace);
        return;
    }
    // The parent paints first, so the copy shows its current background.
    UpdateWindow(parent);
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);
    ScreenToClient(parent, &origin);
    HDC parentDc = GetDC(parent);
    if (parentDc == nullptr) {
        paint.Fill(client, kFace);
        return;
    }
    if (!BitBlt(paint.dc(), 0, 0, client.right, client.bottom, parentDc, origin.x, origin.y,
                SRCCOPY)) {
        paint.Fill(client, kFace);
    }
    ReleaseDC(parent, parentDc);
}

// ---- window helpers ----

std::wstring WindowText(HWND wnd)
{
    int length = GetWindowTextLength(wnd);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int got = GetWindowText(wnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::clamp(got, 0, length)));
    return text;
}

RECT ClientRect(HWND wnd)
{
    RECT r;
    GetClientRect(wnd, &r);
    return r;
}

DWORD Style(HWND wnd)
{
    return static_cast<DWORD>(GetWindowLong(wnd, GWL_STYLE));
}

POINT PointFromLParam(LPARAM lp)
{
    auto lo = static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(lp)));
    auto hi = static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(lp)));
    return POINT{lo, hi};
}

void NotifyParent(HWND control, WORD code)
{
    HWND parent = GetParent(control);
    if (parent == nullptr) return;
    auto id = static_cast<unsigned>(GetDlgCtrlID(control));
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

LRESULT ForwardPointerToParent(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    HWND parent = GetParent(wnd);
    if (parent == nullptr) return 0;
    POINT p = PointFromLParam(lp);
    ClientToScreen(wnd, &p);
    ScreenToClient(parent, &p);
    return SendMessage(parent, msg, wp,
                       MAKELPARAM(static_cast<unsigned>(p.x), static_cast<unsigned>(p.y)));
}

std::wstring ExpandTabsCapped(std::wstring_view text)
{
    std::wstring out;
    out.reserve(text.size());
    size_t column = 0;
    size_t i = 0;
    while (i < text.size()) {
        wchar_t c = text[i];
        if (c == L'\t') {
            while (i < text.size() && text[i] == L'\t') ++i;  // a run counts as one tab
            size_t next = (column / kTabColumns + 1) * kTabColumns;
            out.append(next - column, L' ');
            column = next;
            continue;
        }
        out.push_back(c);
        column = (c == L'\n' || c == L'\r') ? 0 : column + 1;
        ++i;
    }
    return out;
}

int CopyOut(std::wstring_view text, wchar_t* out, int maxChars)
{
    if (out == nullptr || maxChars <= 0) return 0;
    size_t n = std::min(text.size(), static_cast<size_t>(maxChars - 1));
    std::copy_n(text.data(), n, out);
    out[n] = L'\0';
    return static_cast<int>(n);
}

// ---- scroll bar geometry ----

ScrollLayout LayoutScroll(const RECT& bar, bool vertical, const ScrollRange& range)
{
    ScrollLayout l;
    l.vertical = vertical;
    l.bar = bar;
    int length = vertical ? bar.bottom - bar.top : bar.right - bar.left;
    int thickness = vertical ? bar.right - bar.left : bar.bottom - bar.top;
    int arrow = std::min(thickness, length / 2);
    if (vertical) {
        l.lineUp = RECT{bar.left, bar.top, bar.right, bar.top + arrow};
        l.lineDown = RECT{bar.left, bar.bottom - arrow, bar.right, bar.bottom};
        l.track = RECT{bar.left, l.lineUp.bottom, bar.right, l.lineDown.top};
    } else {
        l.lineUp = RECT{bar.left, bar.top, bar.left + arrow, bar.bottom};
        l.lineDown = RECT{bar.right - arrow, bar.top, bar.right, bar.bottom};
        l.track = RECT{l.lineUp.right, bar.top, l.lineDown.left, bar.bottom};
    }
    int trackLength = vertical ? l.track.bottom - l.track.top : l.track.right - l.track.left;
    int span = range.max - range.min + 1;
    if (span <= 0 || trackLength < kMinThumb || range.MaxPos() <= range.min) {
        l.hasThumb = false;
        return l;
    }
    int thumb = range.page > 0
                    ? static_cast<int>(static_cast<long long>(trackLength) * range.page / span)
                    : thickness;
    thumb = std::clamp(thumb, kMinThumb, trackLength);
    int travel = trackLength - thumb;
    int steps = range.MaxPos() - range.min;
    int offset = steps > 0 ? static_cast<int>(static_cast<long long>(travel) *
                                              (range.Clamp(range.pos) - range.min) / steps)
                           : 0;
    if (vertical) {
        int top = l.track.top + offset;
        l.thumb = RECT{bar.left, top, bar.right, top + thumb};
    } else {
        int left = l.track.left + offset;
        l.thumb = RECT{left, bar.top, left + thumb, bar.bottom};
    }
    l.hasThumb = true;
    return l;
}

ScrollPart HitScroll(const ScrollLayout& l, POINT p)
{
    if (!PtInRect(&l.bar, p)) return ScrollPart::None;
    if (PtInRect(&l.lineUp, p)) return ScrollPart::LineUp;
    if (PtInRect(&l.lineDown, p)) return ScrollPart::LineDown;
    if (!l.hasThumb) return ScrollPart::None;
    if (PtInRect(&l.thumb, p)) return ScrollPart::Thumb;
    bool before = l.vertical ? p.y < l.thumb.top : p.x < l.thumb.left;
    return before ? ScrollPart::PageUp : ScrollPart::PageDown;
}

int ScrollPosFromThumb(const ScrollLayout& l, const ScrollRange& range, int leadingEdge)
{
    if (!l.hasThumb) return range.pos;
    int trackStart = l.vertical ? l.track.top : l.track.left;
    int trackLength = l.vertical ? l.track.bottom - l.track.top : l.track.right - l.track.left;
    int thumb = l.vertical ? l.thumb.bottom - l.thumb.top : l.thumb.right - l.thumb.left;
    int travel = trackLength - thumb;
    if (travel <= 0) return range.min;
    int offset = std::clamp(leadingEdge - trackStart, 0, travel);
    int steps = range.MaxPos() - range.min;
    // rounded to the nearest position
    long long pos = range.min + (static_cast<long long>(offset) * steps + travel / 2) / travel;
    return range.Clamp(static_cast<int>(pos));
}

void PaintScroll(Painter& paint, const ScrollLayout& l, ScrollPart pressed, bool enabled)
{
    // track: a light stipple-like grey
    paint.Fill(l.track, RGB(224, 224, 224));
    if (pressed == ScrollPart::PageUp || pressed == ScrollPart::PageDown) {
        RECT part = l.track;
        if (l.hasThumb) {
            if (pressed == ScrollPart::PageUp) {
                (l.vertical ? part.bottom : part.right) = l.vertical ? l.thumb.top : l.thumb.left;
            } else {
                (l.vertical ? part.top : part.left) = l.vertical ? l.thumb.bottom : l.thumb.right;
            }
        }
        paint.Fill(part, kShadow);
    }
    COLORREF arrowColour = enabled && l.hasThumb ? kText : kShadow;
    PaintButtonBox(paint, l.lineUp, pressed == ScrollPart::LineUp);
    PaintButtonBox(paint, l.lineDown, pressed == ScrollPart::LineDown);
    PaintArrow(paint, l.lineUp, l.vertical, true, arrowColour,
               pressed == ScrollPart::LineUp ? 1 : 0);
    PaintArrow(paint, l.lineDown, l.vertical, false, arrowColour,
               pressed == ScrollPart::LineDown ? 1 : 0);
    if (l.hasThumb && enabled) PaintButtonBox(paint, l.thumb, false);
}

}  // namespace platform::controls

namespace platform {

void RegisterBuiltinControlClasses()
{
    using namespace platform::controls;
    RegisterOne(WC_BUTTON, ButtonProc);
    RegisterOne(WC_STATIC, StaticProc);
    RegisterOne(WC_LISTBOX, ListBoxProc);
    RegisterOne(WC_LISTVIEW, ListViewProc);
    RegisterOne(WC_SCROLLBAR, ScrollBarProc);
    RegisterOne(PROGRESS_CLASS, ProgressProc);
    RegisterDialogClasses();
}

}  // namespace platform

// ---- dialog item helpers ----

BOOL SetDlgItemText(HWND dlg, int id, const wchar_t* text)
{
    HWND item = GetDlgItem(dlg, id);
    if (item == nullptr) return FALSE;
    return SetWindowText(item, text != nullptr ? text : L"");
}

UINT GetDlgItemText(HWND dlg, int id, wchar_t* out, int maxChars)
{
    if (out != nullptr && maxChars > 0) out[0] = L'\0';
    HWND item = GetDlgItem(dlg, id);
    if (item == nullptr || out == nullptr || maxChars <= 0) return 0;
    int got = GetWindowText(item, out, maxChars);
    return got > 0 ? static_cast<UINT>(got) : 0;
}

BOOL CheckDlgButton(HWND dlg, int id, UINT check)
{
    HWND item = GetDlgItem(dlg, id);
    if (item == nullptr) return FALSE;
    SendMessage(item, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dlg, int id)
{
    HWND item = GetDlgItem(dlg, id);
    if (item == nullptr) return BST_UNCHECKED;
    return static_cast<UINT>(SendMessage(item, BM_GETCHECK, 0, 0));
}

int SetScrollInfo(HWND wnd, int bar, const SCROLLINFO* info, BOOL redraw)
{
    if (bar != SB_CTL || info == nullptr || IsWindow(wnd) == FALSE) return 0;
    return static_cast<int>(SendMessage(wnd, SBM_SETSCROLLINFO, static_cast<WPARAM>(redraw),
                                        reinterpret_cast<LPARAM>(info)));
}

BOOL GetScrollInfo(HWND wnd, int bar, SCROLLINFO* info)
{
    if (bar != SB_CTL || info == nullptr || IsWindow(wnd) == FALSE) return FALSE;
    return static_cast<BOOL>(
        SendMessage(wnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)));
}
