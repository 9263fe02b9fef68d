// The geometry and the built-in bar that list boxes and list views share: the rows inside the
// border, the bar's range and layout, and presses and drags on the bar.
#include <algorithm>

#include "platform/controls/detail_list.h"

namespace platform::controls {

RECT ListInner(HWND wnd)
{
    RECT r = ClientRect(wnd);
    return RECT{r.left + kListBorder, r.top + kListBorder, r.right - kListBorder,
                r.bottom - kListBorder};
}

void PaintCellText(Painter& paint, const std::wstring& text, const RECT& cell, COLORREF colour,
                   int height, int weight)
{
    constexpr UINT kCellFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
    if (text.empty() || cell.right <= cell.left) return;
    const LONG room = cell.right - cell.left;
    height = paint.FittedHeight(text, room, height, weight, 1, kSmallestCellHeight);
    if (paint.TextExtent(text, height, weight).cx <= room) {
        paint.Text(text, cell, colour, height, weight, kCellFormat);
        return;
    }
    // the longest beginning that fits; the box ends after its last character
    std::size_t shown = 0;
    LONG width = 0;
    for (std::size_t n = 1; n <= text.size(); ++n) {
        const LONG w = paint.TextExtent(text.substr(0, n), height, weight).cx;
        if (w > room) break;
        shown = n;
        width = w;
    }
    if (shown == 0) return;
    paint.Text(text, RECT{cell.left, cell.top, cell.left + width, cell.bottom}, colour, height,
               weight, kCellFormat);
}

ScrollRange ListRows::Range(int top) const
{
    ScrollRange range;
    range.min = 0;
    range.max = std::max(0, count - 1);
    range.page = Visible();
    range.pos = top;
    return range;
}

ScrollLayout ListRows::Bar(int top) const
{
    RECT bar{area.right - kScrollWidth, area.top, area.right, area.bottom};
    return LayoutScroll(bar, true, Range(top));
}

bool ListScroller::Down(const ListRows& rows, POINT p)
{
    if (!rows.Overflows()) return false;
    const ScrollLayout layout = rows.Bar(top);
    const ScrollRange range = rows.Range(top);
    ScrollPart part = HitScroll(layout, p);
    if (part == ScrollPart::None) return PtInRect(&layout.bar, p);
    pressed = part;
    int page = std::max(1, range.page);
    switch (part) {
        case ScrollPart::LineUp: top = range.Clamp(top - 1); break;
        case ScrollPart::LineDown: top = range.Clamp(top + 1); break;
        case ScrollPart::PageUp: top = range.Clamp(top - page); break;
        case ScrollPart::PageDown: top = range.Clamp(top + page); break;
        case ScrollPart::Thumb:
            grabOffset = layout.vertical ? p.y - layout.thumb.top : p.x - layout.thumb.left;
            break;
        case ScrollPart::None: break;
    }
    return true;
}

bool ListScroller::Move(const ListRows& rows, POINT p)
{
    if (pressed != ScrollPart::Thumb) return false;
    const ScrollLayout layout = rows.Bar(top);
    int edge = (layout.vertical ? p.y : p.x) - grabOffset;
    int next = ScrollPosFromThumb(layout, rows.Range(top), edge);
    if (next == top) return false;
    top = next;
    return true;
}

bool ListScroller::Up()
{
    bool was = pressed != ScrollPart::None;
    pressed = ScrollPart::None;
    return was;
}

void ListChanged(HWND wnd, const ListRows& rows, ListScroller& scroll)
{
    scroll.Clamp(rows);
    InvalidateRect(wnd, nullptr, FALSE);
}

}  // namespace platform::controls
