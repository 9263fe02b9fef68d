// What list boxes and list views share: rows of one height inside a sunken border (below a list
// view's header), a built-in vertical bar when the rows do not fit, the first row on screen kept
// in range, taps on the rows and on the bar, the painting of the rows, the messages both answer
// alike, and what they show the inspection tree. Each list class adds what is its own through a
// ListClass. Not for application code.
#pragma once

#include <algorithm>
#include <optional>

#include "platform/controls/detail_controls.h"
#include "platform/controls/detail_list_contents.h"
#include "platform/drawing/painter.h"

namespace platform::controls {

inline constexpr int kListRowHeight = 18;
inline constexpr int kListBorder = 2;

// The client area inside a list's border.
RECT ListInner(HWND wnd);

// A list's rows as laid out: the part of the client area they fill and how many there are.
struct ListRows {
    RECT area{};
    int count = 0;

    // Rows that fit in the area; at least one.
    int Visible() const { return std::max(1, (area.bottom - area.top) / kListRowHeight); }
    // More rows than fit: the built-in bar shows.
    bool Overflows() const { return count > Visible(); }
    // The bar's range when `top` is the first row on screen.
    ScrollRange Range(int top) const;
    // The bar along the right edge of the area.
    ScrollLayout Bar(int top) const;
};

// A list's built-in vertical bar: first visible row and dragging of the thumb.
struct ListScroller {
    int top = 0;
    ScrollPart pressed = ScrollPart::None;
    int grabOffset = 0;

    // Keeps the first row within the rows.
    void Clamp(const ListRows& rows) { top = rows.Range(top).Clamp(top); }
    // Handles a press on the bar (there is one only while the rows overflow); returns true
    // when the bar took it.
    bool Down(const ListRows& rows, POINT p);
    // Thumb drag; returns true when the first row changed.
    bool Move(const ListRows& rows, POINT p);
    bool Up();
};

// A cell of a row (a list box's whole row, a list view's column), in the list's font (LOGFONT
// height and weight), left-aligned and centred on the row. A text too wide for its cell steps down
// a pixel at a time, to kSmallestCellHeight at the least; one still too wide there is cut after its
// last whole character (the inspection tree reports it as cut). There is no ellipsis: every
// character shown is the text's own.
inline constexpr int kSmallestCellHeight = 10;  // character height, pixels
void PaintCellText(Painter& paint, const std::wstring& text, const RECT& cell, COLORREF colour,
                   int height = kFontCell, int weight = FW_NORMAL);

// The rows or the size of a list changed: the first row is kept in range and the list drawn
// again.
void ListChanged(HWND wnd, const ListRows& rows, ListScroller& scroll);

// What a list class adds to the shared behaviour. Its state holds `rows` (one entry a row),
// `selected` (the highlighted row, -1 for none) and `scroll`, a ListScroller.
template <class State>
struct ListClass {
    // Where the rows lie (inside the border, below a header) and how many there are.
    ListRows (*rows)(HWND wnd, const State& s);
    // Draws what lies above the rows (a list view's header) inside the border; may be null.
    void (*paintHeader)(Painter& paint, const State& s, const RECT& inner);
    // Draws the texts of row `row` in `box` (which leaves out the bar) in `colour`.
    void (*paintRow)(Painter& paint, const State& s, int row, const RECT& box, COLORREF colour);
    // A tap on a row that exists.
    void (*tapRow)(HWND wnd, State& s, int row);
    // The messages of the class's own (LB_*, LVM_*); DefWindowProc for the rest.
    LRESULT (*handle)(HWND wnd, State& s, UINT msg, WPARAM wp, LPARAM lp);
    // The texts of the rows (and a list view's column headers) for the inspection tree.
    void (*contents)(const State& s, ListContents& out);
};

// A sunken border, a white face, the rows from the first on screen (the selected one
// highlighted, all grey while disabled) and the bar when the rows overflow.
template <class State>
void PaintList(const ListClass<State>& list, HWND wnd, const State& s)
{
    PaintScope scope(wnd);
    if (scope.dc() == nullptr) return;
    Painter paint(scope.dc());
    DrawEdge3D(paint, ClientRect(wnd), false);
    const RECT inner = ListInner(wnd);
    paint.Fill(inner, kWindow);
    const ListRows rows = list.rows(wnd, s);
    const bool bar = rows.Overflows();
    const int right = bar ? rows.area.right - kScrollWidth : rows.area.right;
    const bool enabled = IsWindowEnabled(wnd) != FALSE;
    if (list.paintHeader != nullptr) list.paintHeader(paint, s, inner);
    const int bottom = rows.area.bottom;
    for (int i = s.scroll.top, y = rows.area.top; i < rows.count && y < bottom;
         ++i, y += kListRowHeight) {
        const RECT box{rows.area.left, y, right, std::min(y + kListRowHeight, bottom)};
        const bool selected = i == s.selected;
        if (selected) paint.Fill(box, kSelection);
        const COLORREF colour = !enabled ? kGreyText : selected ? kSelectionText : kText;
        list.paintRow(paint, s, i, box, colour);
    }
    if (bar) PaintScroll(paint, rows.Bar(s.scroll.top), s.scroll.pressed, enabled);
}

// A press captures the pointer; it moves the bar when it lands there, else it taps the row
// beneath it.
template <class State>
void ListDown(const ListClass<State>& list, HWND wnd, State& s, POINT p)
{
    if (IsWindowEnabled(wnd) == FALSE) return;
    SetCapture(wnd);
    const ListRows rows = list.rows(wnd, s);
    if (s.scroll.Down(rows, p)) {
        ListChanged(wnd, rows, s.scroll);
        return;
    }
    if (!PtInRect(&rows.area, p)) return;
    const int row = s.scroll.top + (p.y - rows.area.top) / kListRowHeight;
    if (row < 0 || row >= rows.count) return;
    list.tapRow(wnd, s, row);
}

// The procedure of a list: its state is made on WM_CREATE (the control then keeps above group
// frames) and freed on WM_DESTROY, the background is never erased (the paint fills it), the
// paint, the size and the pointer are handled alike, and every other message goes to the
// class's own handler.
template <class State>
LRESULT ListControlProc(StateTable<State>& table, const ListClass<State>& list, HWND wnd, UINT msg,
                        WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_CREATE:
            table.Create(wnd);
            KeepAboveGroupBoxes(wnd);
            return 0;
        case WM_DESTROY: table.Erase(wnd); return 0;
        case WM_ERASEBKGND: return 1;
    }
    State* s = table.Find(wnd);
    if (s == nullptr) return DefWindowProc(wnd, msg, wp, lp);
    switch (msg) {
        case WM_PAINT: PaintList(list, wnd, *s); return 0;
        case WM_SIZE: ListChanged(wnd, list.rows(wnd, *s), s->scroll); return 0;
        case WM_LBUTTONDOWN: ListDown(list, wnd, *s, PointFromLParam(lp)); return 0;
        case WM_MOUSEMOVE: {
            const ListRows rows = list.rows(wnd, *s);
            if (s->scroll.Move(rows, PointFromLParam(lp))) ListChanged(wnd, rows, s->scroll);
            return 0;
        }
        case WM_LBUTTONUP:
            ReleaseCapture();
            if (s->scroll.Up()) ListChanged(wnd, list.rows(wnd, *s), s->scroll);
            return 0;
        case WM_ENABLE: InvalidateRect(wnd, nullptr, FALSE); return 0;
    }
    return list.handle(wnd, *s, msg, wp, lp);
}

// What a list holds, for the inspection tree; nothing when the window is not of the class.
template <class State>
std::optional<ListContents> ReadList(StateTable<State>& table, const ListClass<State>& list,
                                     HWND wnd)
{
    const State* s = table.Find(wnd);
    if (s == nullptr) return std::nullopt;
    ListContents contents;
    list.contents(*s, contents);
    contents.selected = s->selected;
    contents.top = s->scroll.top;
    return contents;
}

}  // namespace platform::controls
