// The "listbox" class: a white list of text rows with one selected row, a tap selecting a
// row, and a built-in vertical scroll bar when the rows do not fit.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/controls/detail_controls.h"
#include "platform/controls/detail_list.h"
#include "platform/controls/detail_list_contents.h"

namespace platform::controls {

namespace {

constexpr int kTextIndent = 3;

struct ListBoxState {
    std::vector<std::wstring> rows;
    int selected = -1;
    ListScroller scroll;
    HFONT font = nullptr;        // given by WM_SETFONT; null: the controls' standard font
    int fontHeight = kFontCell;  // its LOGFONT height
    int fontWeight = FW_NORMAL;
};

StateTable<ListBoxState> g_lists;

ListRows Rows(HWND wnd, const ListBoxState& s)
{
    return ListRows{ListInner(wnd), static_cast<int>(s.rows.size())};
}

void Changed(HWND wnd, ListBoxState& s)
{
    ListChanged(wnd, Rows(wnd, s), s.scroll);
}

void EnsureVisible(HWND wnd, ListBoxState& s, int row)
{
    if (row < 0) return;
    const ListRows rows = Rows(wnd, s);
    int visible = rows.Visible();
    if (row < s.scroll.top) s.scroll.top = row;
    if (row >= s.scroll.top + visible) s.scroll.top = row - visible + 1;
    s.scroll.Clamp(rows);
}

void PaintRow(Painter& paint, const ListBoxState& s, int row, const RECT& box, COLORREF colour)
{
    RECT text{box.left + kTextIndent, box.top, box.right - kTextIndent, box.bottom};
    PaintCellText(paint, s.rows[static_cast<size_t>(row)], text, colour, s.fontHeight,
                  s.fontWeight);
}

const wchar_t* TextArg(LPARAM lp)
{
    auto* text = reinterpret_cast<const wchar_t*>(lp);
    return text != nullptr ? text : L"";
}

LRESULT Insert(HWND wnd, ListBoxState& s, std::intptr_t at, LPARAM lp)
{
    int count = static_cast<int>(s.rows.size());
    if (at < 0 || at > count) at = count;
    s.rows.insert(s.rows.begin() + at, TextArg(lp));
    if (s.selected >= at) ++s.selected;
    Changed(wnd, s);
    return at;
}

LRESULT Delete(HWND wnd, ListBoxState& s, WPARAM index)
{
    if (index >= s.rows.size()) return LB_ERR;
    auto at = static_cast<int>(index);
    s.rows.erase(s.rows.begin() + at);
    if (s.selected == at) {
        s.selected = -1;
    } else if (s.selected > at) {
        --s.selected;
    }
    Changed(wnd, s);
    return static_cast<LRESULT>(s.rows.size());
}

LRESULT SetCurSel(HWND wnd, ListBoxState& s, WPARAM index)
{
    auto at = static_cast<std::intptr_t>(index);
    if (at < 0 || at >= static_cast<std::intptr_t>(s.rows.size())) {
        s.selected = -1;
        Changed(wnd, s);
        return LB_ERR;
    }
    s.selected = static_cast<int>(at);
    EnsureVisible(wnd, s, s.selected);
    Changed(wnd, s);
    return at;
}

LRESULT GetText(const ListBoxState& s, WPARAM index, LPARAM lp)
{
    if (index >= s.rows.size()) return LB_ERR;
    const std::wstring& text = s.rows[index];
    auto* out = reinterpret_cast<wchar_t*>(lp);
    if (out == nullptr) return LB_ERR;
    // The caller sized the buffer from LB_GETTEXTLEN, as the system API asks.
    std::copy(text.begin(), text.end(), out);
    out[text.size()] = L'\0';
    return static_cast<LRESULT>(text.size());
}

void TapRow(HWND wnd, ListBoxState& s, int row)
{
    if (row == s.selected) return;
    s.selected = row;
    Changed(wnd, s);
    if ((Style(wnd) & LBS_NOTIFY) != 0) NotifyParent(wnd, LBN_SELCHANGE);
}

// A smaller font lets long lines (file names in a progress list) stand whole; the rows keep
// their height.
void SetFont(HWND wnd, ListBoxState& s, HFONT font, bool redraw)
{
    LOGFONT lf;
    if (font == nullptr || GetObject(font, sizeof lf, &lf) != static_cast<int>(sizeof lf)) {
        s.font = nullptr;
        s.fontHeight = kFontCell;
        s.fontWeight = FW_NORMAL;
    } else {
        s.font = font;
        s.fontHeight = lf.lfHeight;
        s.fontWeight = lf.lfWeight >= 600 ? FW_BOLD : FW_NORMAL;
    }
    if (redraw) InvalidateRect(wnd, nullptr, FALSE);
}

LRESULT Handle(HWND wnd, ListBoxState& s, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case LB_ADDSTRING: return Insert(wnd, s, -1, lp);
        case LB_INSERTSTRING: return Insert(wnd, s, static_cast<std::intptr_t>(wp), lp);
        case LB_DELETESTRING: return Delete(wnd, s, wp);
        case LB_RESETCONTENT:
            s.rows.clear();
            s.selected = -1;
            s.scroll.top = 0;
            Changed(wnd, s);
            return 0;
        case LB_SETCURSEL: return SetCurSel(wnd, s, wp);
        case LB_GETCURSEL: return s.selected >= 0 ? s.selected : LB_ERR;
        case LB_GETTEXT: return GetText(s, wp, lp);
        case LB_GETTEXTLEN:
            return wp < s.rows.size() ? static_cast<LRESULT>(s.rows[wp].size()) : LB_ERR;
        case LB_GETCOUNT: return static_cast<LRESULT>(s.rows.size());
        case LB_SETTOPINDEX:
            if (wp >= s.rows.size() && !s.rows.empty()) return LB_ERR;
            s.scroll.top = static_cast<int>(std::min<WPARAM>(wp, s.rows.size()));
            Changed(wnd, s);
            return 0;
        case LB_GETTOPINDEX: return s.scroll.top;
        case WM_SETFONT: SetFont(wnd, s, reinterpret_cast<HFONT>(wp), lp != 0); return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(s.font);
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

void Contents(const ListBoxState& s, ListContents& out)
{
    for (const std::wstring& row : s.rows) out.rows.push_back({row});
}

constexpr ListClass<ListBoxState> kListBox{Rows, nullptr, PaintRow, TapRow, Handle, Contents};

}  // namespace

LRESULT ListBoxProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return ListControlProc(g_lists, kListBox, wnd, msg, wp, lp);
}

std::optional<ListContents> ListBoxContents(HWND wnd)
{
    return ReadList(g_lists, kListBox, wnd);
}

}  // namespace platform::controls
