// What the inspection tree tells about a paint beyond its texts' words: the box each text was
// laid out in, the extent its glyphs cover and whether they were cut; the pictures copied into
// a window with the part of them that is not blank; the same for a control's own paint; and the
// fitting of a text to its box by the painter and by list cells.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/painter.h"
#include "platform/drawing/resources.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/runtime.h"
#include "platform/windowing/window.h"

namespace {

using platform::Painter;

constexpr const wchar_t* kExtentClass = L"EXTENT_TEST_WINDOW";
constexpr COLORREF kBackground = RGB(0, 0, 64);
constexpr int kSignResource = 911;  // 40 x 30: a grey face with a red square at 10..30, 5..25
constexpr int kListId = 77;

std::function<void(HWND)> g_paint;

LRESULT ExtentProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg != WM_PAINT || !g_paint) return DefWindowProc(wnd, msg, wp, lp);
    g_paint(wnd);
    return 0;
}

void PaintSign(HDC dc, int /*width*/, int /*height*/, int /*id*/)
{
    Painter paint(dc);
    paint.Fill(RECT{10, 5, 30, 25}, RGB(255, 0, 0));
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

class DrawnExtent : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::UseVirtualClock(SYSTEMTIME{2026, 3, 2, 3, 10, 0, 0, 0});
        ASSERT_TRUE(platform::OpenScreen(platform::ScreenOptions{}));
        static const BitmapResource table[] = {
            {kSignResource, 40, 30, nullptr, ArtKind::Picture, RGB(128, 128, 128), PaintSign},
        };
        platform::RegisterBitmapResources("drawn_extent_test", table);
        WNDCLASS wc;
        wc.lpfnWndProc = ExtentProc;
        wc.lpszClassName = kExtentClass;
        RegisterClass(&wc);
        // client area at screen 100, 50
        wnd_ = CreateWindowEx(0, kExtentClass, L"", WS_POPUP | WS_VISIBLE, 100, 50, 300, 200,
                              nullptr, 0, nullptr, nullptr);
    }
    void TearDown() override
    {
        g_paint = nullptr;
        platform::CloseScreen();
    }

    void Paint(std::function<void(HWND)> paint)
    {
        g_paint = std::move(paint);
        InvalidateRect(wnd_, nullptr, TRUE);
        platform::WaitIdle();
    }

    platform::WindowInfo Window()
    {
        for (const auto& w : platform::InspectWindows()) {
            if (w.className == kExtentClass) return w;
        }
        ADD_FAILURE() << "the window is not shown";
        return {};
    }

    const platform::DrawnText* Text(const platform::WindowInfo& w, const std::wstring& words)
    {
        for (const auto& t : w.texts) {
            if (t.text == words) return &t;
        }
        ADD_FAILURE() << "no text " << std::string(words.begin(), words.end());
        return nullptr;
    }

    HWND wnd_ = nullptr;
};

TEST_F(DrawnExtent, ATextKnowsItsBoxItsGlyphsAndWhetherItWasCut)
{
    constexpr UINT kLine = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
    Paint([](HWND wnd) {
        Painter paint(wnd, kBackground);  // drawn in the buffer, then copied to the window
        paint.Text(L"FITS", RECT{10, 10, 200, 40}, RGB(255, 255, 255), 20, FW_BOLD, kLine);
        paint.Text(L"MUCH TOO WIDE", RECT{10, 50, 60, 80}, RGB(255, 255, 255), 20, FW_BOLD, kLine);
        paint.Text(L"NOT CLIPPED", RECT{10, 90, 60, 120}, RGB(255, 255, 255), 20, FW_BOLD,
                   kLine | DT_NOCLIP);
        paint.Text(L"CENTRED", RECT{0, 130, 300, 160}, RGB(255, 255, 255), 20, FW_BOLD,
                   DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    });
    const platform::WindowInfo w = Window();
    ASSERT_EQ(w.texts.size(), 4u);

    const platform::DrawnText* fits = Text(w, L"FITS");
    ASSERT_NE(fits, nullptr);
    EXPECT_EQ(fits->box, (RECT{110, 60, 300, 90}));  // screen coordinates
    EXPECT_TRUE(Inside(fits->extent, fits->box));
    EXPECT_TRUE(Inside(fits->extent, fits->rect));  // the glyphs lie within their cells
    EXPECT_GT(fits->extent.right - fits->extent.left, 30);
    EXPECT_FALSE(fits->cut);

    const platform::DrawnText* wide = Text(w, L"MUCH TOO WIDE");
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->box, (RECT{110, 100, 160, 130}));
    EXPECT_GT(wide->extent.right, wide->box.right + 50);  // not clipped: the overflow shows
    EXPECT_TRUE(wide->cut);

    const platform::DrawnText* loose = Text(w, L"NOT CLIPPED");
    ASSERT_NE(loose, nullptr);
    EXPECT_GT(loose->extent.right, loose->box.right);
    EXPECT_FALSE(loose->cut);  // drawn whole, past its box

    const platform::DrawnText* centred = Text(w, L"CENTRED");
    ASSERT_NE(centred, nullptr);
    EXPECT_NEAR((centred->extent.left + centred->extent.right) / 2.0, 250.0, 2.0);
    EXPECT_FALSE(centred->cut);
}

TEST_F(DrawnExtent, TextsLeavingTheWindowOrTheCopiedAreaAreCut)
{
    Paint([](HWND wnd) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(wnd, &ps);
        SetBkMode(dc, TRANSPARENT);
        TextOut(dc, 270, 10, L"EDGE", 4);  // straight on the window, past its right edge
        EndPaint(wnd, &ps);
    });
    const platform::WindowInfo w = Window();
    const platform::DrawnText* edge = Text(w, L"EDGE");
    ASSERT_NE(edge, nullptr);
    EXPECT_EQ(edge->box, (RECT{100, 50, 400, 250}));  // a TextOut is boxed by the client area
    EXPECT_GT(edge->extent.right, 400);
    EXPECT_TRUE(edge->cut);

    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 300, 40);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    Paint([&](HWND wnd) {
        Painter on(memory, 300, 40);
        on.Text(L"HALF", RECT{0, 0, 300, 40}, RGB(255, 255, 255), 20, FW_BOLD, DT_RIGHT);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(wnd, &ps);
        BitBlt(dc, 0, 0, 280, 40, memory, 0, 0, SRCCOPY);
        EndPaint(wnd, &ps);
    });
    const platform::WindowInfo copied = Window();
    const platform::DrawnText* half = Text(copied, L"HALF");
    ASSERT_NE(half, nullptr);
    EXPECT_TRUE(half->cut);
    EXPECT_GT(half->extent.right, 380);  // where the glyphs were meant to be
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

TEST_F(DrawnExtent, PicturesAreRecordedWithWhereTheyAreNotBlank)
{
    Paint([](HWND wnd) {
        Painter paint(wnd, kBackground);
        paint.Bitmap(kSignResource, 50, 20, 40, 30);
        paint.Fill(RECT{150, 20, 200, 50}, RGB(0, 200, 0));  // a fill is no picture
    });
    platform::WindowInfo w = Window();
    ASSERT_EQ(w.pictures.size(), 1u);
    const platform::DrawnPicture& sign = w.pictures[0];
    EXPECT_EQ(sign.source, L"#" + std::to_wstring(kSignResource));
    EXPECT_EQ(sign.rect, (RECT{150, 70, 190, 100}));
    EXPECT_EQ(sign.InkBox(), (RECT{160, 75, 180, 95}));
    EXPECT_TRUE(sign.InkOverlaps(RECT{170, 80, 200, 90}, 1));
    EXPECT_FALSE(sign.InkOverlaps(RECT{150, 70, 159, 100}, 1));  // the blank margin
    EXPECT_FALSE(sign.InkOverlaps(RECT{181, 70, 190, 100}, 1));

    Paint([](HWND wnd) {
        Painter paint(wnd, kBackground);
        paint.Bitmap(kSignResource, 50, 20, 40, 30);
        paint.Fill(RECT{40, 10, 100, 60}, RGB(0, 200, 0));  // painted over
    });
    EXPECT_TRUE(Window().pictures.empty());

    const std::string tree = platform::InspectWindowsJson();
    EXPECT_NE(tree.find("\"pictures\":[]"), std::string::npos);
    Paint([](HWND wnd) {
        Painter paint(wnd, kBackground);
        paint.Bitmap(kSignResource, 50, 20, 40, 30);
        paint.Text(L"ON IT", RECT{50, 20, 90, 50}, RGB(0, 0, 0), 10, FW_NORMAL, DT_CENTER);
    });
    const std::string withPicture = platform::InspectWindowsJson();
    EXPECT_NE(withPicture.find("\"source\":\"#911\",\"rect\":[150,70,190,100],\"ink\":[160,75,180,"
                               "95]"),
              std::string::npos)
        << withPicture;
    EXPECT_NE(withPicture.find("\"text\":\"ON IT\""), std::string::npos);
    EXPECT_NE(withPicture.find("\"box\":[150,70,190,100]"), std::string::npos);
    EXPECT_NE(withPicture.find("\"cut\":false"), std::string::npos);
}

TEST_F(DrawnExtent, FittingStepsBySizeToTheSmallestGiven)
{
    HDC measuring = CreateCompatibleDC(nullptr);
    const Painter measure(measuring);
    const std::wstring text = L"0E08 - MAIN I/O";
    const LONG at14 = measure.TextExtent(text, -14, FW_NORMAL).cx;
    EXPECT_EQ(measure.FittedHeight(text, at14, -14, FW_NORMAL, 1, 10), -14);
    const int fitted = measure.FittedHeight(text, at14 * 3 / 4, -14, FW_NORMAL, 1, 10);
    EXPECT_LT(fitted, -9);  // a character height stays negative and steps by its size
    EXPECT_GT(fitted, -14);
    EXPECT_LE(measure.TextExtent(text, fitted, FW_NORMAL).cx, at14 * 3 / 4);
    EXPECT_GT(measure.TextExtent(text, fitted - 1, FW_NORMAL).cx, at14 * 3 / 4);
    EXPECT_EQ(measure.FittedHeight(text, 5, -14, FW_NORMAL, 1, 10), -10);  // never below
    EXPECT_EQ(measure.FittedHeight(text, 5, 40, FW_NORMAL, 5, 24), 24);
    EXPECT_EQ(measure.FittedHeight(text, 5, 40, FW_NORMAL, 0, 24), 24);  // a step of at least 1
    DeleteDC(measuring);
}

TEST_F(DrawnExtent, ListCellsStepDownToFitOrAreCutAfterAWholeCharacter)
{
    HWND list = CreateWindowEx(0, WC_LISTVIEW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 400,
                               150, wnd_, kListId, nullptr, nullptr);
    ASSERT_NE(list, nullptr);
    const wchar_t* heads[] = {L"Shutdown ID", L"Node ID"};
    const int widths[] = {260, 90};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMN col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.pszText = const_cast<wchar_t*>(heads[i]);
        col.cx = widths[i];
        SendMessage(list, LVM_INSERTCOLUMN, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
    }
    const wchar_t* rows[][2] = {
        {L"0305 - BURNER", L"MAIN I/O"},                               // fits
        {L"0E05 - MAIN I/O - REAR DISCHARGE DOOR", L"FAN/HEATER #2"},  // a step smaller
        {L"0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED AND LEFT OPEN FOR A LONG TIME", L""},
    };
    for (int r = 2; r >= 0; --r) {
        LVITEM item{};
        item.mask = LVIF_TEXT;
        item.pszText = const_cast<wchar_t*>(rows[r][0]);
        const auto at = SendMessage(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<wchar_t*>(rows[r][1]);
        SendMessage(list, LVM_SETITEMTEXT, static_cast<WPARAM>(at),
                    reinterpret_cast<LPARAM>(&item));
    }
    InvalidateRect(list, nullptr, TRUE);
    platform::WaitIdle();
    platform::ControlInfo shown;
    for (const auto& c : Window().controls) {
        if (c.id == kListId) shown = c;
    }
    ASSERT_EQ(shown.rows.size(), 3u);  // every row's full words stay in the tree
    const auto cell = [&](const std::wstring& words) -> const platform::DrawnText* {
        for (const auto& t : shown.texts) {
            if (t.text == words) return &t;
        }
        ADD_FAILURE() << "no cell " << std::string(words.begin(), words.end());
        return nullptr;
    };
    const platform::DrawnText* plain = cell(L"0305 - BURNER");
    const platform::DrawnText* smaller = cell(L"0E05 - MAIN I/O - REAR DISCHARGE DOOR");
    const platform::DrawnText* node = cell(L"FAN/HEATER #2");
    const platform::DrawnText* cut = cell(rows[2][0]);
    ASSERT_TRUE(plain && smaller && node && cut);
    for (const platform::DrawnText* t : {plain, smaller, node}) {
        EXPECT_FALSE(t->cut);
        EXPECT_LE(t->extent.right, t->box.right + 1);
    }
    EXPECT_LT(smaller->rect.bottom - smaller->rect.top, plain->rect.bottom - plain->rect.top);
    EXPECT_TRUE(cut->cut);
    EXPECT_LE(cut->box.right, shown.rect.left + 260);  // within its column
    DestroyWindow(list);
}

}  // namespace
