// The painter: what a double-buffered window paint shows (texts through the inspection API,
// solid fills, lines and edges by their pixels), painting on a given context, bitmaps and
// resources, text stepped down to fit its box, text measured in lines, and that no pen, brush,
// font, bitmap or context outlives a paint.
#include "platform/drawing/painter.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/drawing/gdi.h"
#include "platform/drawing/resources.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/runtime.h"
#include "platform/windowing/window.h"

namespace {

using platform::Painter;

constexpr const wchar_t* kPainterClass = L"PAINTER_TEST_WINDOW";
constexpr COLORREF kBackground = RGB(0, 0, 64);
constexpr int kRedResource = 901;
constexpr int kMissingResource = 902;

std::function<void(HWND)> g_paint;

LRESULT PainterProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg != WM_PAINT || !g_paint) return DefWindowProc(wnd, msg, wp, lp);
    g_paint(wnd);
    return 0;
}

class PainterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::UseVirtualClock(SYSTEMTIME{2026, 3, 2, 3, 10, 0, 0, 0});
        ASSERT_TRUE(platform::OpenScreen(platform::ScreenOptions{}));
        static const BitmapResource table[] = {
            {kRedResource, 20, 10, nullptr, ArtKind::Blank, RGB(255, 0, 0), nullptr},
        };
        platform::RegisterBitmapResources("painter_test", table);
        WNDCLASS wc;
        wc.lpfnWndProc = PainterProc;
        wc.lpszClassName = kPainterClass;
        RegisterClass(&wc);
        // client area at screen 100, 50
        wnd_ = CreateWindowEx(0, kPainterClass, L"", WS_POPUP | WS_VISIBLE, 100, 50, 300, 200,
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

    COLORREF Pixel(int x, int y)
    {
        HDC dc = GetDC(wnd_);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(wnd_, dc);
        return c;
    }

    std::vector<platform::DrawnText> Texts()
    {
        for (const auto& w : platform::InspectWindows()) {
            if (w.className == kPainterClass) return w.texts;
        }
        return {};
    }

    HWND wnd_ = nullptr;
};

TEST_F(PainterTest, WindowPaintShowsWhatTheVerbsDrew)
{
    SIZE size{};
    Paint([&](HWND wnd) {
        Painter paint(wnd, kBackground);
        size = SIZE{paint.width(), paint.height()};
        paint.Fill(RECT{10, 10, 60, 40}, RGB(200, 0, 0));
        paint.Line(0, 100, 200, 100, RGB(0, 255, 0), 3);
        paint.Box(RECT{100, 10, 150, 60}, RGB(255, 255, 0), RGB(0, 0, 255), 2);
        paint.Frame(RECT{160, 10, 200, 50}, RGB(255, 0, 255));
        paint.Text(L"PLENUM", RECT{0, 120, 300, 160}, RGB(255, 255, 255), 24, FW_BOLD,
                   DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    });
    EXPECT_EQ(size.cx, 300);
    EXPECT_EQ(size.cy, 200);

    EXPECT_EQ(Pixel(5, 5), kBackground);
    EXPECT_EQ(Pixel(20, 20), RGB(200, 0, 0));
    EXPECT_EQ(Pixel(60, 20), kBackground);  // a fill leaves out its right edge
    for (int y : {99, 100, 101}) EXPECT_EQ(Pixel(50, y), RGB(0, 255, 0)) << y;
    EXPECT_EQ(Pixel(50, 102), kBackground);
    EXPECT_EQ(Pixel(200, 100), kBackground);  // the end point is not drawn
    EXPECT_EQ(Pixel(100, 30), RGB(0, 0, 255));
    EXPECT_EQ(Pixel(101, 30), RGB(0, 0, 255));
    EXPECT_EQ(Pixel(102, 30), RGB(255, 255, 0));
    EXPECT_EQ(Pixel(160, 30), RGB(255, 0, 255));
    EXPECT_EQ(Pixel(161, 30), kBackground);  // a frame is not filled

    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, L"PLENUM");
    EXPECT_EQ(texts[0].colour, RGB(255, 255, 255));
    const RECT& r = texts[0].rect;  // screen coordinates, centred in the box
    EXPECT_GE(r.left, 100);
    EXPECT_LE(r.right, 400);
    EXPECT_NEAR(r.left - 100, 400 - r.right, 1);
    EXPECT_GE(r.top, 170);
    EXPECT_LE(r.bottom, 210);
}

TEST_F(PainterTest, TextToFitStepsTheHeightDownUntilTheTextFits)
{
    struct Case {
        const wchar_t* name;
        int start;
        int fitsAt;  // the height the text must be drawn at
        int extra;   // room beyond the text's width at that height
    };
    const Case cases[] = {
        {L"fits as asked", 75, 75, 10},
        {L"steps down by three", 75, 48, 0},
        {L"stops at 24", 50, 24, -40},
    };
    const std::wstring text = L"1234.5";
    HDC measuring = CreateCompatibleDC(nullptr);
    const Painter measure(measuring);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SIZE fits = measure.TextExtent(text, c.fitsAt, 900);
        const RECT box{0, 0, fits.cx + c.extra, 100};
        if (c.fitsAt > 24 && c.fitsAt < c.start) {
            ASSERT_GT(measure.TextExtent(text, c.fitsAt + 3, 900).cx, box.right);
        }
        Paint([&](HWND wnd) {
            Painter paint(wnd, kBackground);
            paint.TextToFit(text, box, RGB(0, 255, 0), c.start, 900, DT_LEFT | DT_SINGLELINE);
        });
        const auto texts = Texts();
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].rect.right - texts[0].rect.left, fits.cx);
        EXPECT_EQ(texts[0].rect.bottom - texts[0].rect.top, fits.cy);
    }
    DeleteDC(measuring);
}

TEST_F(PainterTest, TextHeightCountsTheLinesTextWouldDraw)
{
    HDC measuring = CreateCompatibleDC(nullptr);
    const Painter measure(measuring);
    const int line = measure.TextExtent(L"WORD", 20, FW_NORMAL).cy;
    const int word = measure.TextExtent(L"WORD", 20, FW_NORMAL).cx;
    struct Case {
        const wchar_t* name;
        std::wstring text;
        int width;
        UINT format;
        int lines;
    };
    const Case cases[] = {
        {L"one line that fits", L"WORD WORD", 4 * word, DT_LEFT | DT_WORDBREAK, 1},
        {L"wrapped at each blank", L"WORD WORD WORD", word + 2, DT_LEFT | DT_WORDBREAK, 3},
        {L"line breaks start lines", L"WORD\nWORD", 4 * word, DT_CENTER | DT_WORDBREAK, 2},
        {L"a single line never wraps", L"WORD WORD WORD", word + 2, DT_LEFT | DT_SINGLELINE, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(measure.TextHeight(c.text, c.width, 20, FW_NORMAL, c.format), c.lines * line);
    }
    DeleteDC(measuring);
}

TEST_F(PainterTest, PaintsOnAGivenContextWithoutABuffer)
{
    HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 60, 40);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    {
        Painter paint(dc, 60, 40);
        EXPECT_EQ(paint.dc(), dc);
        EXPECT_EQ(paint.width(), 60);
        EXPECT_EQ(paint.height(), 40);
        paint.Fill(RECT{0, 0, 60, 40}, RGB(10, 20, 30));
        paint.Ellipse(RECT{0, 0, 20, 20}, RGB(255, 0, 0), RGB(0, 0, 0), 1);
        const POINT triangle[] = {{30, 0}, {59, 0}, {30, 29}};
        paint.Polygon(triangle, RGB(0, 255, 0), RGB(0, 255, 0), 0);
        paint.Box(RECT{0, 30, 10, 40}, RGB(0, 0, 255), RGB(0, 0, 0), 0);
    }
    EXPECT_EQ(Painter(dc).width(), 0);
    EXPECT_EQ(GetPixel(dc, 10, 10), RGB(255, 0, 0));  // inside the ellipse
    EXPECT_EQ(GetPixel(dc, 35, 5), RGB(0, 255, 0));   // inside the triangle
    EXPECT_EQ(GetPixel(dc, 55, 25), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(dc, 0, 30), RGB(0, 0, 255));  // a box without an edge is all fill
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

TEST_F(PainterTest, BitmapsAreCopiedUnscaledAndMissingResourcesDrawNothing)
{
    HBITMAP green = CreateCompatibleBitmap(nullptr, 8, 8);
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, green);
        Painter(dc).Fill(RECT{0, 0, 8, 8}, RGB(0, 255, 0));
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    Paint([&](HWND wnd) {
        Painter paint(wnd, kBackground);
        paint.Bitmap(kRedResource, 5, 5, 20, 10);
        paint.Bitmap(kMissingResource, 50, 5, 20, 10);
        paint.Bitmap(green, 80, 5, 8, 8);
        paint.Bitmap(nullptr, 100, 5, 8, 8);
    });
    EXPECT_EQ(Pixel(5, 5), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(24, 14), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(25, 14), kBackground);
    EXPECT_EQ(Pixel(55, 10), kBackground);
    EXPECT_EQ(Pixel(87, 12), RGB(0, 255, 0));
    EXPECT_EQ(Pixel(104, 10), kBackground);
    DeleteObject(green);
}

TEST_F(PainterTest, NoObjectOrContextOutlivesAPaint)
{
    HBITMAP picture = CreateCompatibleBitmap(nullptr, 8, 8);
    const auto paintEverything = [&](HWND wnd) {
        Painter paint(wnd, kBackground);
        paint.Fill(RECT{0, 0, 10, 10}, RGB(1, 2, 3));
        paint.Line(0, 0, 50, 50, RGB(4, 5, 6), 2);
        paint.Box(RECT{0, 0, 20, 20}, RGB(7, 8, 9), RGB(10, 11, 12), 1);
        paint.Frame(RECT{0, 0, 30, 30}, RGB(13, 14, 15), 2);
        paint.Ellipse(RECT{0, 0, 40, 40}, RGB(16, 17, 18), RGB(19, 20, 21), 0);
        const POINT points[] = {{0, 0}, {10, 0}, {0, 10}};
        paint.Polygon(points, RGB(22, 23, 24), RGB(25, 26, 27), 1);
        paint.Text(L"TEXT", RECT{0, 0, 100, 30}, RGB(255, 255, 255), 20, FW_BOLD, DT_LEFT);
        paint.TextToFit(L"A LONG LINE OF TEXT", RECT{0, 0, 40, 30}, RGB(255, 255, 255), 60, FW_BOLD,
                        DT_LEFT);
        paint.Bitmap(kRedResource, 0, 0, 20, 10);
        paint.Bitmap(kMissingResource, 0, 0, 20, 10);
        paint.Bitmap(picture, 0, 0, 8, 8);
    };
    Paint(paintEverything);  // loads the resource bitmap, which is kept for the run
    const platform::GdiCounts before = platform::CountGdiObjects();
    for (int i = 0; i < 3; ++i) Paint(paintEverything);
    const platform::GdiCounts after = platform::CountGdiObjects();
    EXPECT_EQ(after.objects, before.objects);
    EXPECT_EQ(after.contexts, before.contexts);
    DeleteObject(picture);
}

}  // namespace
