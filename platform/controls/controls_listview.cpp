// The "SysListView32" class in report mode: a header row of columns with widths, rows of
// sub-item texts inserted at any position, a selection mark set by a tap, and a built-in
// vertical scroll bar when the rows do not fit.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/controls/detail_controls.h"
#include "platform/controls/detail_list_contents.h"

namespace platform::controls {

namespace {

constexpr int kHeaderHeight = 20;
constexpr int kRowHeight = 18;
constexpr int kBorder = 2;
constexpr int kCellIndent = 4;
constexpr int kAutoSize = -1;           // width of the widest text
constexpr int kAutoSizeUseHeader = -2;  // the last column fills the rest
constexpr int kMaxColumns = 64;

struct Column {
    std::wstring text;
    int width = 0;
};

struct ListViewState {
    std::vector<Column> columns;
    std::vector<std::vector<std::wstring>> rows;  // one text per column that has been set
    int mark = -1;
    ListScroller scroll;
};

StateTable<ListViewState> g_views;

RECT Inner(HWND wnd)
{
    RECT r = ClientRect(wnd);
    return RECT{r.left + kBorder, r.top + kBorder, r.right - kBorder, r.bottom - kBorder};
}

RECT RowsArea(HWND wnd)
{
    RECT in = Inner(wnd);
    in.top = std::min(in.bottom, in.top + kHeaderHeight);
    return in;
}

int VisibleRows(HWND wnd)
{
    RECT area = RowsArea(wnd);
    return std::max(1, (area.bottom - area.top) / kRowHeight);
}

bool Overflows(HWND wnd, const ListViewState& s)
{
    return static_cast<int>(s.rows.size()) > VisibleRows(wnd);
}

ScrollRange Range(HWND wnd, const ListViewState& s)
{
    ScrollRange range;
    range.max = std::max(0, static_cast<int>(s.rows.size()) - 1);
    range.page = VisibleRows(wnd);
    range.pos = s.scroll.top;
    return range;
}

ScrollLayout BarLayout(HWND wnd, const ListViewState& s)
{
    RECT area = RowsArea(wnd);
    RECT bar{area.right - kScrollWidth, area.top, area.right, area.bottom};
    return LayoutScroll(bar, true, Range(wnd, s));
}

void Changed(HWND wnd, ListViewState& s)
{
    s.scroll.top = Range(wnd, s).Clamp(s.scroll.top);
    InvalidateRect(wnd, nullptr, FALSE);
}

const std::wstring& Cell(const ListViewState& s, size_t row, size_t column)
{
    static const std::wstring empty;
    const auto& cells = s.rows[row];
    return column < cells.size() ? cells[column] : empty;
}

void PaintHeader(Painter& paint, const ListViewState& s, const RECT& in, int right)
{
    RECT header{in.left, in.top, right, std::min(in.top + kHeaderHeight, in.bottom)};
    paint.Fill(header, kFace);
    int x = in.left;
    for (const Column& c : s.columns) {
        if (x >= right) break;
        RECT cell{x, header.top, std::min(x + c.width, right), header.bottom};
        if (cell.right - cell.left >= 4) DrawEdge3D(paint, cell, true);
        RECT text{cell.left + kCellIndent, cell.top, cell.right - kCellIndent, cell.bottom};
        paint.Text(c.text, text, kText, kFontCell, FW_NORMAL, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        x += c.width;
    }
    if (x < right) DrawEdge3D(paint, RECT{x, header.top, right, header.bottom}, true);
}

void PaintRows(Painter& paint, const ListViewState& s, const RECT& area, int right, bool enabled)
{
    int count = static_cast<int>(s.rows.size());
    for (int i = s.scroll.top, y = area.top; i < count && y < area.bottom; ++i, y += kRowHeight) {
        RECT row{area.left, y, right, std::min(y + kRowHeight, static_cast<int>(area.bottom))};
        bool selected = i == s.mark;
        if (selected) paint.Fill(row, kSelection);
        COLORREF colour = !enabled ? kGreyText : selected ? kSelectionText : kText;
        int x = area.left;
        for (size_t c = 0; c < s.columns.size() && x < right; ++c) {
            int width = s.columns[c].width;
            RECT text{x + kCellIndent, row.top, std::min(x + width - kCellIndent, right),
                      row.bottom};
            if (text.right > text.left) {
                paint.Text(Cell(s, static_cast<size_t>(i), c), text, colour, kFontCell, FW_NORMAL,
                           DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            }
            x += width;
        }
    }
}

void Paint(HWND wnd)
{
    PaintScope scope(wnd);
    ListViewState* s = g_views.Find(wnd);
    if (s == nullptr || scope.dc() == nullptr) return;
    Painter paint(scope.dc());
    DrawEdge3D(paint, ClientRect(wnd), false);
    RECT in = Inner(wnd);
    paint.Fill(in, kWindow);
    bool bar = Overflows(wnd, *s);
    RECT area = RowsArea(wnd);
    int right = bar ? area.right - kScrollWidth : area.right;
    bool enabled = IsWindowEnabled(wnd) != FALSE;
    PaintHeader(paint, *s, in, in.right);
    PaintRows(paint, *s, area, right, enabled);
    if (bar) PaintScroll(paint, BarLayout(wnd, *s), s->scroll.pressed, enabled);
}

// ---- messages ----

LRESULT InsertColumn(HWND wnd, ListViewState& s, WPARAM index, const LVCOLUMN* col)
{
    if (col == nullptr || s.columns.size() >= kMaxColumns) return -1;
    size_t at = std::min<size_t>(index, s.columns.size());
    Column c;
    if ((col->mask & LVCF_TEXT) != 0 && col->pszText != nullptr) c.text = col->pszText;
    if ((col->mask & LVCF_WIDTH) != 0) c.width = std::max(0, col->cx);
    s.columns.insert(s.columns.begin() + static_cast<std::ptrdiff_t>(at), c);
    for (auto& row : s.rows) {
        if (at < row.size()) row.insert(row.begin() + static_cast<std::ptrdiff_t>(at), L"");
    }
    Changed(wnd, s);
    return static_cast<LRESULT>(at);
}

int TextWidth(HWND wnd, const std::wstring& text)
{
    HDC dc = GetDC(wnd);
    if (dc == nullptr) return 0;
    const int width = Painter(dc).TextExtent(text, kFontCell, FW_NORMAL).cx;
    ReleaseDC(wnd, dc);
    return width;
}

LRESULT SetColumnWidth(HWND wnd, ListViewState& s, WPARAM index, LPARAM lp)
{
    if (index >= s.columns.size()) return FALSE;
    auto width = static_cast<std::int16_t>(LOWORD(static_cast<WPARAM>(lp)));
    if (width == kAutoSize || width == kAutoSizeUseHeader) {
        int widest = TextWidth(wnd, s.columns[index].text);
        for (size_t r = 0; r < s.rows.size(); ++r) {
            widest = std::max(widest, TextWidth(wnd, Cell(s, r, index)));
        }
        width = static_cast<std::int16_t>(std::min(widest + 2 * kCellIndent, 0x7FFF));
    }
    s.columns[index].width = std::max<int>(0, width);
    Changed(wnd, s);
    return TRUE;
}

LRESULT InsertItem(HWND wnd, ListViewState& s, const LVITEM* item)
{
    if (item == nullptr || item->iSubItem != 0) return -1;
    int count = static_cast<int>(s.rows.size());
    int at = std::clamp(item->iItem, 0, count);
    std::vector<std::wstring> row(1);
    if ((item->mask & LVIF_TEXT) != 0 && item->pszText != nullptr) row[0] = item->pszText;
    s.rows.insert(s.rows.begin() + at, std::move(row));
    if (s.mark >= at) ++s.mark;
    Changed(wnd, s);
    return at;
}

LRESULT SetItemText(HWND wnd, ListViewState& s, WPARAM index, const LVITEM* item)
{
    if (item == nullptr || index >= s.rows.size() || item->iSubItem < 0 ||
        item->iSubItem >= kMaxColumns) {
        return FALSE;
    }
    auto& cells = s.rows[index];
    auto column = static_cast<size_t>(item->iSubItem);
    if (cells.size() <= column) cells.resize(column + 1);
    cells[column] = item->pszText != nullptr ? item->pszText : L"";
    Changed(wnd, s);
    return TRUE;
}

LRESULT GetItemText(const ListViewState& s, WPARAM index, LVITEM* item)
{
    if (item == nullptr || item->pszText == nullptr || item->cchTextMax <= 0) return 0;
    item->pszText[0] = L'\0';
    if (index >= s.rows.size() || item->iSubItem < 0) return 0;
    return CopyOut(Cell(s, index, static_cast<size_t>(item->iSubItem)), item->pszText,
                   item->cchTextMax);
}

LRESULT SetMark(HWND wnd, ListViewState& s, LPARAM lp)
{
    int previous = s.mark;
    int count = static_cast<int>(s.rows.size());
    s.mark = (lp >= 0 && lp < count) ? static_cast<int>(lp) : -1;
    Changed(wnd, s);
    return previous;
}

void OnDown(HWND wnd, ListViewState& s, POINT p)
{
    if (IsWindowEnabled(wnd) == FALSE) return;
    SetCapture(wnd);
    if (Overflows(wnd, s) && s.scroll.Down(BarLayout(wnd, s), Range(wnd, s), p)) {
        Changed(wnd, s);
        return;
    }
    RECT area = RowsArea(wnd);
    if (!PtInRect(&area, p)) return;
    int row = s.scroll.top + (p.y - area.top) / kRowHeight;
    if (row < 0 || row >= static_cast<int>(s.rows.size())) return;
    s.mark = row;
    Changed(wnd, s);
}

void OnMove(HWND wnd, ListViewState& s, POINT p)
{
    if (s.scroll.Move(BarLayout(wnd, s), Range(wnd, s), p)) Changed(wnd, s);
}

void OnUp(HWND wnd, ListViewState& s)
{
    ReleaseCapture();
    if (s.scroll.Up()) Changed(wnd, s);
}

LRESULT Handle(HWND wnd, ListViewState& s, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_PAINT: Paint(wnd); return 0;
        case WM_SIZE: Changed(wnd, s); return 0;
        case WM_LBUTTONDOWN: OnDown(wnd, s, PointFromLParam(lp)); return 0;
        case WM_MOUSEMOVE: OnMove(wnd, s, PointFromLParam(lp)); return 0;
        case WM_LBUTTONUP: OnUp(wnd, s); return 0;
        case WM_ENABLE: InvalidateRect(wnd, nullptr, FALSE); return 0;
        case LVM_INSERTCOLUMN:
            return InsertColumn(wnd, s, wp, reinterpret_cast<const LVCOLUMN*>(lp));
        case LVM_SETCOLUMNWIDTH: return SetColumnWidth(wnd, s, wp, lp);
        case LVM_INSERTITEM: return InsertItem(wnd, s, reinterpret_cast<const LVITEM*>(lp));
        case LVM_SETITEMTEXT: return SetItemText(wnd, s, wp, reinterpret_cast<const LVITEM*>(lp));
        case LVM_GETITEMTEXT: return GetItemText(s, wp, reinterpret_cast<LVITEM*>(lp));
        case LVM_DELETEALLITEMS:
            s.rows.clear();
            s.mark = -1;
            s.scroll.top = 0;
            Changed(wnd, s);
            return TRUE;
        case LVM_GETITEMCOUNT: return static_cast<LRESULT>(s.rows.size());
        case LVM_GETSELECTIONMARK: return s.mark;
        case LVM_SETSELECTIONMARK: return SetMark(wnd, s, lp);
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

}  // namespace

LRESULT ListViewProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return ListControlProc(g_views, wnd, msg, wp, lp, Handle);
}

std::optional<ListContents> ListViewContents(HWND wnd)
{
    const ListViewState* s = g_views.Find(wnd);
    if (s == nullptr) return std::nullopt;
    ListContents contents;
    for (const Column& c : s->columns) contents.columns.push_back(c.text);
    // Every row has a cell per column, also where only some cells were set.
    const std::size_t width = s->columns.size();
    for (std::size_t r = 0; r < s->rows.size(); ++r) {
        std::vector<std::wstring> cells;
        for (std::size_t c = 0; c < std::max(width, s->rows[r].size()); ++c) {
            cells.push_back(Cell(*s, r, c));
        }
        contents.rows.push_back(std::move(cells));
    }
    contents.selected = s->mark;
    contents.top = s->scroll.top;
    return contents;
}

}  // namespace platform::controls
