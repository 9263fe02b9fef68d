// The "SysListView32" class in report mode: a header row of columns with widths, rows of
// sub-item texts inserted at any position, a selection mark set by a tap, and a built-in
// vertical scroll bar when the rows do not fit.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/controls/detail_controls.h"
#include "platform/controls/detail_list.h"
#include "platform/controls/detail_list_contents.h"

namespace platform::controls {

namespace {

constexpr int kHeaderHeight = 20;
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
    int selected = -1;                            // the selection mark
    ListScroller scroll;
};

StateTable<ListViewState> g_views;

// The rows lie below the header.
ListRows Rows(HWND wnd, const ListViewState& s)
{
    RECT area = ListInner(wnd);
    area.top = std::min(area.bottom, area.top + kHeaderHeight);
    return ListRows{area, static_cast<int>(s.rows.size())};
}

void Changed(HWND wnd, ListViewState& s)
{
    ListChanged(wnd, Rows(wnd, s), s.scroll);
}

const std::wstring& Cell(const ListViewState& s, size_t row, size_t column)
{
    static const std::wstring empty;
    const auto& cells = s.rows[row];
    return column < cells.size() ? cells[column] : empty;
}

void PaintHeader(Painter& paint, const ListViewState& s, const RECT& in)
{
    const int right = in.right;
    RECT header{in.left, in.top, right, std::min(in.top + kHeaderHeight, in.bottom)};
    paint.Fill(header, kFace);
    int x = in.left;
    for (const Column& c : s.columns) {
        if (x >= right) break;
        RECT cell{x, header.top, std::min(x + c.width, right), header.bottom};
        if (cell.right - cell.left >= 4) DrawEdge3D(paint, cell, true);
        RECT text{cell.left + kCellIndent, cell.top, cell.right - kCellIndent, cell.bottom};
        PaintCellText(paint, c.text, text, kText);
        x += c.width;
    }
    if (x < right) DrawEdge3D(paint, RECT{x, header.top, right, header.bottom}, true);
}

// One text a column, each fitted to its column and to the box.
void PaintRow(Painter& paint, const ListViewState& s, int row, const RECT& box, COLORREF colour)
{
    int x = box.left;
    for (size_t c = 0; c < s.columns.size() && x < box.right; ++c) {
        int width = s.columns[c].width;
        RECT text{x + kCellIndent, box.top, std::min(x + width - kCellIndent, box.right),
                  box.bottom};
        if (text.right > text.left) {
            PaintCellText(paint, Cell(s, static_cast<size_t>(row), c), text, colour);
        }
        x += width;
    }
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
    if (s.selected >= at) ++s.selected;
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
    int previous = s.selected;
    int count = static_cast<int>(s.rows.size());
    s.selected = (lp >= 0 && lp < count) ? static_cast<int>(lp) : -1;
    Changed(wnd, s);
    return previous;
}

void TapRow(HWND wnd, ListViewState& s, int row)
{
    s.selected = row;
    Changed(wnd, s);
}

LRESULT Handle(HWND wnd, ListViewState& s, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case LVM_INSERTCOLUMN:
            return InsertColumn(wnd, s, wp, reinterpret_cast<const LVCOLUMN*>(lp));
        case LVM_SETCOLUMNWIDTH: return SetColumnWidth(wnd, s, wp, lp);
        case LVM_INSERTITEM: return InsertItem(wnd, s, reinterpret_cast<const LVITEM*>(lp));
        case LVM_SETITEMTEXT: return SetItemText(wnd, s, wp, reinterpret_cast<const LVITEM*>(lp));
        case LVM_GETITEMTEXT: return GetItemText(s, wp, reinterpret_cast<LVITEM*>(lp));
        case LVM_DELETEALLITEMS:
            s.rows.clear();
            s.selected = -1;
            s.scroll.top = 0;
            Changed(wnd, s);
            return TRUE;
        case LVM_GETITEMCOUNT: return static_cast<LRESULT>(s.rows.size());
        case LVM_GETSELECTIONMARK: return s.selected;
        case LVM_SETSELECTIONMARK: return SetMark(wnd, s, lp);
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

void Contents(const ListViewState& s, ListContents& out)
{
    for (const Column& c : s.columns) {
        out.columns.push_back(c.text);
        out.columnWidths.push_back(c.width);
    }
    // Every row has a cell per column, also where only some cells were set.
    const std::size_t width = s.columns.size();
    for (std::size_t r = 0; r < s.rows.size(); ++r) {
        std::vector<std::wstring> cells;
        for (std::size_t c = 0; c < std::max(width, s.rows[r].size()); ++c) {
            cells.push_back(Cell(s, r, c));
        }
        out.rows.push_back(std::move(cells));
    }
}

constexpr ListClass<ListViewState> kListView{Rows, PaintHeader, PaintRow, TapRow, Handle, Contents};

}  // namespace

LRESULT ListViewProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return ListControlProc(g_views, kListView, wnd, msg, wp, lp);
}

std::optional<ListContents> ListViewContents(HWND wnd)
{
    return ReadList(g_views, kListView, wnd);
}

}  // namespace platform::controls
