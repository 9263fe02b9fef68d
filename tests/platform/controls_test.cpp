// The built-in controls, driven on the test thread as the user-interface thread: presses and
// holds of buttons, check boxes and radio groups, list boxes, list views, scroll bar
// notifications, progress steps and the dialog item helpers.
#include "platform/controls/controls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/drawing/gdi.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/runtime.h"
#include "platform/windowing/window.h"

namespace {

constexpr const wchar_t* kOwnerClass = L"CONTROLS_TEST_WINDOW";

struct Note {
    UINT msg = 0;
    WORD low = 0;
    WORD high = 0;
    LPARAM lp = 0;
    UINT drawState = 0;
};
std::vector<Note> g_notes;

LRESULT OwnerProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
        case WM_LBUTTONDOWN:
            g_notes.push_back(
                {msg, LOWORD(static_cast<WPARAM>(lp)), HIWORD(static_cast<WPARAM>(lp)), lp, 0});
            return 0;
        case WM_COMMAND:
        case WM_VSCROLL:
        case WM_HSCROLL: g_notes.push_back({msg, LOWORD(wp), HIWORD(wp), lp, 0}); return 0;
        case WM_DRAWITEM: {
            const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            g_notes.push_back({msg, static_cast<WORD>(dis->CtlID), 0, lp, dis->itemState});
            return TRUE;
        }
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

LPARAM At(int x, int y)
{
    return MAKELPARAM(static_cast<unsigned>(x), static_cast<unsigned>(y));
}

class Controls : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::UseVirtualClock(SYSTEMTIME{2026, 3, 2, 3, 10, 0, 0, 0});
        platform::OpenScreen(platform::ScreenOptions{});
        WNDCLASS wc;
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = kOwnerClass;
        RegisterClass(&wc);
        owner_ = CreateWindowEx(0, kOwnerClass, L"OWNER", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                nullptr, 0, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
        g_notes.clear();
    }
    void TearDown() override { platform::CloseScreen(); }

    HWND Make(const wchar_t* cls, DWORD style, int id, RECT r = {10, 10, 110, 40},
              const wchar_t* text = L"")
    {
        return CreateWindowEx(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                              r.right - r.left, r.bottom - r.top, owner_, id, nullptr, nullptr);
    }
    static void Press(HWND wnd, int x, int y)
    {
        SendMessage(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    }
    static void Release(HWND wnd, int x, int y) { SendMessage(wnd, WM_LBUTTONUP, 0, At(x, y)); }
    static void Click(HWND wnd, int x = 5, int y = 5)
    {
        Press(wnd, x, y);
        Release(wnd, x, y);
    }
    static std::vector<Note> Commands()
    {
        std::vector<Note> out;
        for (const Note& n : g_notes) {
            if (n.msg == WM_COMMAND) out.push_back(n);
        }
        return out;
    }

    HWND owner_ = nullptr;
};

// ---- buttons ----

TEST_F(Controls, ButtonClickTellsOwnerIdAndHandle)
{
    HWND b = Make(WC_BUTTON, BS_PUSHBUTTON, 41);
    Click(b);
    auto cmds = Commands();
    ASSERT_EQ(cmds.size(), 1u);
    EXPECT_EQ(cmds[0].low, 41);
    EXPECT_EQ(cmds[0].high, BN_CLICKED);
    EXPECT_EQ(cmds[0].lp, reinterpret_cast<LPARAM>(b));
}

TEST_F(Controls, ButtonReportsPushedWhileHeld)
{
    HWND b = Make(WC_BUTTON, BS_OWNERDRAW, 42);
    EXPECT_EQ(SendMessage(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    Press(b, 5, 5);
    EXPECT_NE(SendMessage(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    EXPECT_TRUE(Commands().empty()) << "no click until release";
    Release(b, 5, 5);
    EXPECT_EQ(SendMessage(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    EXPECT_EQ(Commands().size(), 1u);
}

TEST_F(Controls, ButtonReleasedOutsideDoesNotClick)
{
    HWND b = Make(WC_BUTTON, BS_PUSHBUTTON, 43);
    Press(b, 5, 5);
    SendMessage(b, WM_MOUSEMOVE, MK_LBUTTON, At(300, 5));
    EXPECT_EQ(SendMessage(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0) << "pointer left the button";
    SendMessage(b, WM_MOUSEMOVE, MK_LBUTTON, At(6, 6));
    EXPECT_NE(SendMessage(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0) << "pointer came back";
    Release(b, 300, 5);
    EXPECT_TRUE(Commands().empty());
}

TEST_F(Controls, DisabledButtonIgnoresPresses)
{
    HWND b = Make(WC_BUTTON, BS_PUSHBUTTON, 44);
    EnableWindow(b, FALSE);
    Click(b);
    SendMessage(b, BM_CLICK, 0, 0);
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(SendMessage(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
}

TEST_F(Controls, BmClickAndBmSetState)
{
    HWND b = Make(WC_BUTTON, BS_PUSHBUTTON, 45);
    SendMessage(b, BM_CLICK, 0, 0);
    ASSERT_EQ(Commands().size(), 1u);
    EXPECT_EQ(Commands()[0].low, 45);
    SendMessage(b, BM_SETSTATE, TRUE, 0);
    EXPECT_NE(SendMessage(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    SendMessage(b, BM_SETSTATE, FALSE, 0);
    EXPECT_EQ(SendMessage(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
}

TEST_F(Controls, HoldThroughRealPointerInput)
{
    HWND b = Make(WC_BUTTON, BS_OWNERDRAW, 46, RECT{100, 100, 200, 150});
    ASSERT_TRUE(platform::PointerDown(150, 125));
    EXPECT_NE(SendMessage(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    ASSERT_TRUE(platform::PointerUp(150, 125));
    EXPECT_EQ(SendMessage(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    ASSERT_EQ(Commands().size(), 1u);
    EXPECT_EQ(Commands()[0].low, 46);
}

TEST_F(Controls, OwnerDrawnButtonIsDrawnByOwnerWithPressState)
{
    HWND b = Make(WC_BUTTON, BS_OWNERDRAW, 47);
    UpdateWindow(b);
    SendMessage(b, BM_SETSTATE, TRUE, 0);
    UpdateWindow(b);
    EnableWindow(b, FALSE);
    SendMessage(b, BM_SETSTATE, FALSE, 0);
    InvalidateRect(b, nullptr, FALSE);
    UpdateWindow(b);
    std::vector<UINT> states;
    for (const Note& n : g_notes) {
        if (n.msg == WM_DRAWITEM && n.low == 47) states.push_back(n.drawState);
    }
    ASSERT_GE(states.size(), 3u);
    EXPECT_EQ(states[0], 0u);
    EXPECT_EQ(states[1], ODS_SELECTED);
    EXPECT_EQ(states.back(), ODS_DISABLED);
}

TEST_F(Controls, AutoCheckBoxTogglesAndPlainCheckBoxDoesNot)
{
    struct Case {
        DWORD style;
        int clicks;
        LRESULT expected;
    };
    const Case cases[] = {
        {BS_AUTOCHECKBOX, 1, BST_CHECKED},
        {BS_AUTOCHECKBOX, 2, BST_UNCHECKED},
        {BS_AUTOCHECKBOX, 3, BST_CHECKED},
        {BS_CHECKBOX, 1, BST_UNCHECKED},
    };
    int id = 50;
    for (const Case& c : cases) {
        HWND box = Make(WC_BUTTON, c.style, ++id);
        for (int i = 0; i < c.clicks; ++i) Click(box);
        EXPECT_EQ(SendMessage(box, BM_GETCHECK, 0, 0), c.expected)
            << "style " << c.style << " clicks " << c.clicks;
    }
    HWND plain = Make(WC_BUTTON, BS_CHECKBOX, 60);
    SendMessage(plain, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessage(plain, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessage(plain, BM_GETSTATE, 0, 0) & 0x3, BST_CHECKED);
}

TEST_F(Controls, AutoRadioChecksOnlyItselfWithinItsGroup)
{
    HWND a1 = Make(WC_BUTTON, BS_AUTORADIOBUTTON | WS_GROUP, 71);
    HWND a2 = Make(WC_BUTTON, BS_AUTORADIOBUTTON, 72);
    HWND a3 = Make(WC_BUTTON, BS_AUTORADIOBUTTON, 73);
    HWND b1 = Make(WC_BUTTON, BS_AUTORADIOBUTTON | WS_GROUP, 74);
    HWND b2 = Make(WC_BUTTON, BS_AUTORADIOBUTTON, 75);
    Click(a1);
    Click(b2);
    Click(a3);
    EXPECT_EQ(SendMessage(a1, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessage(a2, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessage(a3, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessage(b1, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessage(b2, BM_GETCHECK, 0, 0), BST_CHECKED) << "other group untouched";
    EXPECT_EQ(Commands().size(), 3u);
}

TEST_F(Controls, DialogItemHelpers)
{
    Make(WC_STATIC, SS_LEFT, 80, RECT{10, 10, 200, 30}, L"before");
    Make(WC_BUTTON, BS_AUTOCHECKBOX, 81);
    EXPECT_TRUE(SetDlgItemText(owner_, 80, L"Sorted by node id."));
    wchar_t buffer[64] = {};
    EXPECT_EQ(GetDlgItemText(owner_, 80, buffer, 64), 18u);
    EXPECT_EQ(std::wstring(buffer), L"Sorted by node id.");
    wchar_t small[7] = {};
    EXPECT_EQ(GetDlgItemText(owner_, 80, small, 7), 6u) << "cut to the buffer";
    EXPECT_EQ(std::wstring(small), L"Sorted");
    EXPECT_TRUE(CheckDlgButton(owner_, 81, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(owner_, 81), BST_CHECKED);
    // missing controls fail softly
    EXPECT_FALSE(SetDlgItemText(owner_, 999, L"x"));
    EXPECT_EQ(GetDlgItemText(owner_, 999, buffer, 64), 0u);
    EXPECT_EQ(buffer[0], L'\0');
    EXPECT_FALSE(CheckDlgButton(owner_, 999, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(owner_, 999), BST_UNCHECKED);
}

// ---- list box ----

std::wstring ListText(HWND list, int index)
{
    auto length = SendMessage(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return L"<err>";
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(index),
                reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

TEST_F(Controls, ListBoxAddsInsertsSelectsAndReads)
{
    HWND list = Make(WC_LISTBOX, LBS_NOTIFY, 90, RECT{10, 10, 300, 200});
    EXPECT_EQ(SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"first")), 0);
    EXPECT_EQ(SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"third")), 1);
    EXPECT_EQ(SendMessage(list, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>(L"second")), 1);
    EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(ListText(list, 0), L"first");
    EXPECT_EQ(ListText(list, 1), L"second");
    EXPECT_EQ(ListText(list, 2), L"third");
    EXPECT_EQ(SendMessage(list, LB_GETTEXTLEN, 7, 0), LB_ERR);
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessage(list, LB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessage(list, LB_DELETESTRING, 0, 0), 2);
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1) << "selection follows its row";
    EXPECT_EQ(SendMessage(list, LB_SETCURSEL, 9, 0), LB_ERR);
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), LB_ERR);
    SendMessage(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_TRUE(Commands().empty()) << "program changes do not notify";
}

TEST_F(Controls, ListBoxTapSelectsRowAndNotifies)
{
    HWND list = Make(WC_LISTBOX, LBS_NOTIFY, 91, RECT{10, 10, 300, 200});
    for (const wchar_t* t : {L"a", L"b", L"c"}) {
        SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
    }
    Click(list, 20, 2 + 18 * 2 + 5);  // third row
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 2);
    auto cmds = Commands();
    ASSERT_EQ(cmds.size(), 1u);
    EXPECT_EQ(cmds[0].low, 91);
    EXPECT_EQ(cmds[0].high, LBN_SELCHANGE);
    Click(list, 20, 150);  // below the rows: nothing
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 2);
}

}  // namespace

namespace platform::detail {
// What a window drew in its last paint (platform/windowing/detail_window.h, whose other
// declarations need the drawing library's headers).
std::vector<DrawnText> LastPaintTexts(HWND wnd);
}  // namespace platform::detail

namespace {

// A list box given a smaller font draws its rows in it (narrower), gives the font back, and
// returns to the standard font when given none.
TEST_F(Controls, ListBoxTakesAFont)
{
    HWND list = Make(WC_LISTBOX, 0, 93, RECT{10, 10, 600, 200});
    const std::wstring row = L"Copying CAN_DRYER_P105\\NID_02_WARNING_ID_14.bmp to Hard Disk";
    SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    auto drawnWidth = [&] {
        InvalidateRect(list, nullptr, FALSE);
        UpdateWindow(list);
        for (const auto& t : platform::detail::LastPaintTexts(list)) {
            if (t.text == row) return static_cast<int>(t.rect.right - t.rect.left);
        }
        return -1;
    };
    const int standard = drawnWidth();
    ASSERT_GT(standard, 0);
    EXPECT_EQ(SendMessage(list, WM_GETFONT, 0, 0), 0);

    LOGFONT lf;
    lf.lfHeight = -10;
    HFONT font = CreateFontIndirect(&lf);
    LOGFONT back;
    ASSERT_EQ(GetObject(font, sizeof back, &back), static_cast<int>(sizeof back));
    EXPECT_EQ(back.lfHeight, -10);
    EXPECT_EQ(back.lfWeight, FW_NORMAL);
    SendMessage(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(SendMessage(list, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
    const int smaller = drawnWidth();
    EXPECT_GT(smaller, 0);
    EXPECT_LT(smaller, standard * 4 / 5);
    SendMessage(list, WM_SETFONT, 0, TRUE);
    EXPECT_EQ(drawnWidth(), standard);
    DeleteObject(font);
}

TEST_F(Controls, ListBoxScrollsWhenRowsOverflow)
{
    HWND list = Make(WC_LISTBOX, 0, 92, RECT{10, 10, 300, 10 + 4 + 18 * 4});
    for (int i = 0; i < 10; ++i) {
        SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(i).c_str()));
    }
    EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 0);
    SendMessage(list, LB_SETCURSEL, 9, 0);
    EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 6) << "selected row scrolled into view";
    SendMessage(list, LB_SETTOPINDEX, 0, 0);
    Click(list, 290 - 4, 4 + 18 * 4 - 4);  // built-in bar, lower arrow
    EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 1);
    Click(list, 20, 4);  // the first visible row is now row 1
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1);
}

// ---- list view ----

void AddColumns(HWND view)
{
    const wchar_t* names[] = {L"Shutdown ID", L"Node ID", L"Date", L"Time"};
    for (int i = 0; i < 4; ++i) {
        LVCOLUMN col;
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 80;
        col.pszText = names[i];
        EXPECT_EQ(SendMessage(view, LVM_INSERTCOLUMN, static_cast<WPARAM>(i),
                              reinterpret_cast<LPARAM>(&col)),
                  i);
    }
}

void InsertRow(HWND view, int at, std::vector<std::wstring> cells)
{
    LVITEM item;
    item.mask = LVIF_TEXT;
    item.iItem = at;
    item.pszText = cells[0].data();
    auto row = SendMessage(view, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
    ASSERT_GE(row, 0);
    for (size_t c = 1; c < cells.size(); ++c) {
        item.iSubItem = static_cast<int>(c);
        item.pszText = cells[c].data();
        EXPECT_TRUE(SendMessage(view, LVM_SETITEMTEXT, static_cast<WPARAM>(row),
                                reinterpret_cast<LPARAM>(&item)));
    }
}

std::wstring CellText(HWND view, int row, int column, int room = 64)
{
    std::wstring buffer(static_cast<size_t>(room), L'\0');
    LVITEM item;
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = room;
    auto n = SendMessage(view, LVM_GETITEMTEXT, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(&item));
    buffer.resize(static_cast<size_t>(n));
    return buffer;
}

TEST_F(Controls, ListViewInsertAtZeroGoesToTopWithSubItems)
{
    HWND view = Make(WC_LISTVIEW, LVS_REPORT, 100, RECT{0, 0, 400, 200});
    AddColumns(view);
    SendMessage(view, LVM_SETCOLUMNWIDTH, 0, 325);
    InsertRow(view, 0, {L"0E08 - OLD", L"MAIN I/O", L"Mar 01, 2026", L"6:15 AM"});
    InsertRow(view, 0, {L"0203 - NEW", L"FAN/HEATER #1", L"Mar 02, 2026", L"7:20 PM"});
    EXPECT_EQ(SendMessage(view, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(CellText(view, 0, 0), L"0203 - NEW");
    EXPECT_EQ(CellText(view, 0, 1), L"FAN/HEATER #1");
    EXPECT_EQ(CellText(view, 0, 3), L"7:20 PM");
    EXPECT_EQ(CellText(view, 1, 0), L"0E08 - OLD");
    EXPECT_EQ(CellText(view, 1, 2), L"Mar 01, 2026");
    EXPECT_EQ(CellText(view, 0, 0, 5), L"0203") << "cut to the caller's room";
    EXPECT_EQ(CellText(view, 7, 0), L"") << "a missing row reads empty";
    InsertRow(view, 99, {L"last"});
    EXPECT_EQ(CellText(view, 2, 0), L"last") << "a position past the end appends";
}

TEST_F(Controls, ListViewSelectionMark)
{
    HWND view = Make(WC_LISTVIEW, LVS_REPORT, 101, RECT{0, 0, 400, 200});
    AddColumns(view);
    for (int i = 0; i < 3; ++i) InsertRow(view, i, {std::to_wstring(i)});
    EXPECT_EQ(SendMessage(view, LVM_GETSELECTIONMARK, 0, 0), -1);
    EXPECT_EQ(SendMessage(view, LVM_SETSELECTIONMARK, 0, 1), -1);
    EXPECT_EQ(SendMessage(view, LVM_GETSELECTIONMARK, 0, 0), 1);
    InsertRow(view, 0, {L"top"});
    EXPECT_EQ(SendMessage(view, LVM_GETSELECTIONMARK, 0, 0), 2) << "mark stays on its row";
    Click(view, 30, 2 + 20 + 18 * 3 + 4);  // header, then the fourth row
    EXPECT_EQ(SendMessage(view, LVM_GETSELECTIONMARK, 0, 0), 3);
    SendMessage(view, LVM_DELETEALLITEMS, 0, 0);
    EXPECT_EQ(SendMessage(view, LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessage(view, LVM_GETSELECTIONMARK, 0, 0), -1);
}

// ---- scroll bar ----

HWND MakeBar(HWND owner, DWORD style, RECT r)
{
    HWND bar = CreateWindowEx(0, WC_SCROLLBAR, L"", WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                              r.right - r.left, r.bottom - r.top, owner, 120, nullptr, nullptr);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    si.nMin = 0;
    si.nMax = 99;
    si.nPage = 10;
    si.nPos = 50;
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
    return bar;
}

TEST_F(Controls, ScrollBarTapsTellTheOwner)
{
    struct Case {
        DWORD style;
        POINT tap;
        UINT msg;
        WORD code;
    };
    // a vertical bar 16 x 200 and a horizontal one 200 x 16; thumb in the middle
    const Case cases[] = {
        {SBS_VERT, {8, 4}, WM_VSCROLL, SB_LINEUP},   {SBS_VERT, {8, 196}, WM_VSCROLL, SB_LINEDOWN},
        {SBS_VERT, {8, 30}, WM_VSCROLL, SB_PAGEUP},  {SBS_VERT, {8, 175}, WM_VSCROLL, SB_PAGEDOWN},
        {SBS_HORZ, {4, 8}, WM_HSCROLL, SB_LINELEFT}, {SBS_HORZ, {196, 8}, WM_HSCROLL, SB_LINERIGHT},
    };
    for (const Case& c : cases) {
        RECT r = c.style == SBS_VERT ? RECT{0, 0, 16, 200} : RECT{0, 0, 200, 16};
        HWND bar = MakeBar(owner_, c.style, r);
        g_notes.clear();
        Click(bar, c.tap.x, c.tap.y);
        ASSERT_EQ(g_notes.size(), 2u) << "tap at " << c.tap.x << "," << c.tap.y;
        EXPECT_EQ(g_notes[0].msg, c.msg);
        EXPECT_EQ(g_notes[0].low, c.code);
        EXPECT_EQ(g_notes[0].lp, reinterpret_cast<LPARAM>(bar));
        EXPECT_EQ(g_notes[1].low, SB_ENDSCROLL);
        EXPECT_EQ(SendMessage(bar, SBM_GETPOS, 0, 0), 50) << "the owner moves the bar";
        DestroyWindow(bar);
    }
}

TEST_F(Controls, ScrollBarArrowHeldDownRepeats)
{
    HWND bar = MakeBar(owner_, SBS_VERT, RECT{0, 0, 16, 200});
    g_notes.clear();
    Press(bar, 8, 196);
    auto pump = [](std::int64_t ms) {
        platform::SetVirtualNow(platform::NowMs() + ms);
        MSG msg;
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
    };
    auto lineDowns = [] {
        return std::count_if(g_notes.begin(), g_notes.end(),
                             [](const Note& n) { return n.low == SB_LINEDOWN; });
    };
    EXPECT_EQ(lineDowns(), 1);  // the press itself
    pump(399);
    EXPECT_EQ(lineDowns(), 1);  // the first repeat waits 400 ms
    pump(1);
    EXPECT_EQ(lineDowns(), 2);
    pump(99);
    EXPECT_EQ(lineDowns(), 2);  // then one every 100 ms
    pump(1);
    EXPECT_EQ(lineDowns(), 3);
    pump(100);
    EXPECT_EQ(lineDowns(), 4);
    Release(bar, 8, 196);
    pump(500);  // released: no more
    std::vector<WORD> codes;
    for (const Note& n : g_notes) codes.push_back(n.low);
    EXPECT_EQ(codes, (std::vector<WORD>{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN,
                                        SB_ENDSCROLL}));
}

TEST_F(Controls, ScrollBarThumbDragTracksThenPositions)
{
    HWND bar = MakeBar(owner_, SBS_VERT, RECT{0, 0, 16, 200});
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &si));
    Press(bar, 8, 100);  // on the thumb
    SendMessage(bar, WM_MOUSEMOVE, MK_LBUTTON, At(8, 200));
    Release(bar, 8, 200);
    ASSERT_EQ(g_notes.size(), 3u);
    EXPECT_EQ(g_notes[0].low, SB_THUMBTRACK);
    EXPECT_EQ(g_notes[0].high, 90) << "dragged to the end: max - page + 1";
    EXPECT_EQ(g_notes[1].low, SB_THUMBPOSITION);
    EXPECT_EQ(g_notes[1].high, 90);
    EXPECT_EQ(g_notes[2].low, SB_ENDSCROLL);
    EXPECT_EQ(SendMessage(bar, SBM_GETPOS, 0, 0), 50);
}

TEST_F(Controls, ScrollBarRangeAndPosition)
{
    HWND bar = MakeBar(owner_, SBS_HORZ, RECT{0, 0, 200, 16});
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &si));
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, 99);
    EXPECT_EQ(si.nPage, 10u);
    EXPECT_EQ(si.nPos, 50);
    EXPECT_EQ(SendMessage(bar, SBM_SETPOS, 500, TRUE), 50);
    EXPECT_EQ(SendMessage(bar, SBM_GETPOS, 0, 0), 90) << "clamped to max - page + 1";
    SendMessage(bar, SBM_SETRANGE, 0, 20);
    EXPECT_EQ(SendMessage(bar, SBM_GETPOS, 0, 0), 11);
    si.fMask = SIF_POS;
    si.nPos = -4;
    EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &si, TRUE), 0);
    EXPECT_EQ(SetScrollInfo(bar, SB_VERT, &si, TRUE), 0) << "only SB_CTL bars exist";
    EXPECT_FALSE(GetScrollInfo(nullptr, SB_CTL, &si));
}

// ---- progress bar ----

TEST_F(Controls, ProgressStepsWrapPastTheEnd)
{
    HWND bar = Make(PROGRESS_CLASS, 0, 130, RECT{0, 0, 200, 20});
    SendMessage(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendMessage(bar, PBM_SETSTEP, 30, 0);
    std::vector<LRESULT> seen;
    for (int i = 0; i < 5; ++i) {
        SendMessage(bar, PBM_STEPIT, 0, 0);
        seen.push_back(SendMessage(bar, PBM_GETPOS, 0, 0));
    }
    EXPECT_EQ(seen, (std::vector<LRESULT>{30, 60, 90, 20, 50}));
}

TEST_F(Controls, ProgressPositionRangeAndDelta)
{
    HWND bar = Make(PROGRESS_CLASS, 0, 131, RECT{0, 0, 200, 20});
    EXPECT_EQ(SendMessage(bar, PBM_SETRANGE32, 0, 90), MAKELPARAM(0, 100));
    EXPECT_EQ(SendMessage(bar, PBM_SETPOS, 45, 0), 0);
    EXPECT_EQ(SendMessage(bar, PBM_DELTAPOS, 10, 0), 45);
    EXPECT_EQ(SendMessage(bar, PBM_GETPOS, 0, 0), 55);
    SendMessage(bar, PBM_SETPOS, 500, 0);
    EXPECT_EQ(SendMessage(bar, PBM_GETPOS, 0, 0), 90);
    EXPECT_EQ(SendMessage(bar, PBM_SETSTEP, 1, 0), 10) << "default step";
    SendMessage(bar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(SendMessage(bar, PBM_GETPOS, 0, 0), 1);
}

// ---- statics and inspection ----

TEST_F(Controls, TapOnTextOrGroupFrameReachesTheParent)
{
    HWND text = Make(WC_STATIC, SS_LEFT, 142, RECT{100, 50, 300, 70}, L"label");
    HWND frame = Make(WC_BUTTON, BS_GROUPBOX, 143, RECT{10, 100, 300, 200}, L"Frame");
    Press(text, 5, 6);
    Press(frame, 20, 30);
    std::vector<Note> downs;
    for (const Note& n : g_notes) {
        if (n.msg == WM_LBUTTONDOWN) downs.push_back(n);
    }
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0].low, 105);
    EXPECT_EQ(downs[0].high, 56);
    EXPECT_EQ(downs[1].low, 30);
    EXPECT_EQ(downs[1].high, 130);
    EXPECT_TRUE(Commands().empty());
}

TEST_F(Controls, ControlsInsideAGroupFrameLieAboveIt)
{
    Make(WC_BUTTON, BS_GROUPBOX, 144, RECT{0, 0, 300, 200}, L"Frame");
    HWND inside = Make(WC_BUTTON, BS_PUSHBUTTON, 145, RECT{20, 20, 120, 50}, L"Inside");
    ASSERT_TRUE(platform::PointerDown(70, 35));
    EXPECT_NE(SendMessage(inside, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    ASSERT_TRUE(platform::PointerUp(70, 35));
    ASSERT_EQ(Commands().size(), 1u);
    EXPECT_EQ(Commands()[0].low, 145);
}

TEST_F(Controls, InspectorSeesControlsWithTextAndChecks)
{
    Make(WC_STATIC, SS_CENTER, 140, RECT{10, 10, 200, 30}, L"Sorted by date/time.");
    HWND box = Make(WC_BUTTON, BS_AUTOCHECKBOX, 141, RECT{10, 40, 200, 60}, L"Indicator");
    SendMessage(box, BM_SETCHECK, BST_CHECKED, 0);
    auto windows = platform::InspectWindows();
    ASSERT_FALSE(windows.empty());
    bool sawText = false, sawCheck = false;
    for (const auto& c : windows.front().controls) {
        if (c.id == 140) sawText = c.text == L"Sorted by date/time.";
        if (c.id == 141) sawCheck = c.checked;
    }
    EXPECT_TRUE(sawText);
    EXPECT_TRUE(sawCheck);
}

}  // namespace
