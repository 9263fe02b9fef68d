// What the screen shows in a window. Only the parts that changed are composed and shown again:
// a paint of a small area marks only that area, areas far apart stay apart, and a change of
// the window arrangement shows the whole screen. At a paint scale of 2 (a window opened with
// --scale 2) the composed screen has four device pixels per panel pixel, text is drawn at that
// size (its edges are not 2 x 2 blocks), lines and fills cover whole panel pixels, and what an
// application reads back (bitmap sizes, pixels, text measures) stays in panel pixels.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdint>
#include <filesystem>

#include "platform/drawing/gdi.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/runtime.h"
#include "platform/windowing/detail_window.h"
#include "platform/windowing/window.h"

namespace {

constexpr const wchar_t* kScaleClass = L"PAINT_SCALE_TEST_WINDOW";
constexpr COLORREF kBlue = RGB(0, 0, 200);
bool g_grey = false;  // the window paints itself grey all over

LRESULT ScaleProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg != WM_PAINT) return DefWindowProc(wnd, msg, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    RECT all{0, 0, 300, 200};
    if (g_grey) {
        HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
        FillRect(dc, &all, grey);
        DeleteObject(grey);
        EndPaint(wnd, &ps);
        return 0;
    }
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc, &all, white);
    DeleteObject(white);
    // a 1-pixel line across, and a text drawn through a memory bitmap as screens do
    HPEN pen = CreatePen(PS_SOLID, 1, kBlue);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, 0, 150, nullptr);
    LineTo(dc, 300, 150);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 200, 60);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    RECT box{0, 0, 200, 60};
    HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
    FillRect(memory, &box, yellow);
    DeleteObject(yellow);
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, RGB(0, 0, 0));
    DrawText(memory, L"Sharp", -1, &box, DT_LEFT | DT_TOP | DT_SINGLELINE);
    BitBlt(dc, 10, 10, 200, 60, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(wnd, &ps);
    return 0;
}

std::uint32_t PixelAt(cairo_surface_t* s, int x, int y)
{
    const auto* row = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(s) +
                                                             y * cairo_image_surface_get_stride(s));
    return row[x] & 0xFFFFFF;
}

class PaintScale : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::UseVirtualClock(SYSTEMTIME{2026, 3, 2, 3, 10, 0, 0, 0});
        ASSERT_TRUE(platform::OpenScreen(platform::ScreenOptions{}));
        platform::detail::SetPaintScale(2);
        WNDCLASS wc;
        wc.lpfnWndProc = ScaleProc;
        wc.lpszClassName = kScaleClass;
        RegisterClass(&wc);
        wnd_ = CreateWindowEx(0, kScaleClass, L"", WS_POPUP | WS_VISIBLE, 100, 50, 300, 200,
                              nullptr, 0, nullptr, nullptr);
        UpdateWindow(wnd_);
    }
    void TearDown() override
    {
        g_grey = false;
        platform::CloseScreen();
    }

    HWND wnd_ = nullptr;
};

TEST_F(PaintScale, TheScreenHasFourDevicePixelsPerPanelPixelAndTextIsDrawnNotEnlarged)
{
    cairo_surface_t* screen = platform::detail::ComposeScreen();
    ASSERT_EQ(cairo_image_surface_get_width(screen), 1280);
    ASSERT_EQ(cairo_image_surface_get_height(screen), 960);
    // The word sits in the memory bitmap at panel (110, 60) .. (310, 120). Its glyph edges are
    // drawn at device resolution: some 2 x 2 block there holds two different colours.
    int mixedBlocks = 0;
    int inkPixels = 0;
    for (int y = 120; y < 240; y += 2) {
        for (int x = 220; x < 620; x += 2) {
            const std::uint32_t a = PixelAt(screen, x, y);
            if (a != 0xFFFF00) ++inkPixels;
            if (a != PixelAt(screen, x + 1, y) || a != PixelAt(screen, x, y + 1) ||
                a != PixelAt(screen, x + 1, y + 1)) {
                ++mixedBlocks;
            }
        }
    }
    EXPECT_GT(inkPixels, 50);
    EXPECT_GT(mixedBlocks, 20);
    // The 1-pixel line at panel row 50 + 150 covers device rows 400 and 401, and no more.
    EXPECT_EQ(PixelAt(screen, 400, 399), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(screen, 400, 400), 0x0000C8u);
    EXPECT_EQ(PixelAt(screen, 400, 401), 0x0000C8u);
    EXPECT_EQ(PixelAt(screen, 400, 402), 0xFFFFFFu);
}

TEST_F(PaintScale, ApplicationsReadPanelPixels)
{
    HDC dc = GetDC(wnd_);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 40, 30);
    BITMAP info;
    ASSERT_NE(GetObject(bitmap, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 40);
    EXPECT_EQ(info.bmHeight, 30);
    HGDIOBJ old = SelectObject(memory, bitmap);
    EXPECT_EQ(SetPixel(memory, 39, 29, RGB(10, 20, 30)), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(memory, 39, 29), RGB(10, 20, 30));
    EXPECT_EQ(SetPixel(memory, 40, 29, RGB(10, 20, 30)), static_cast<COLORREF>(-1));  // outside
    EXPECT_EQ(GetPixel(dc, 0, 150), kBlue);
    SIZE measured{};
    ASSERT_TRUE(GetTextExtentPoint32(memory, L"Sharp", 5, &measured));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(wnd_, dc);

    // The same word measures within a pixel of its width at a paint scale of 1.
    platform::detail::SetPaintScale(1);
    HDC plain = CreateCompatibleDC(nullptr);
    SIZE unscaled{};
    ASSERT_TRUE(GetTextExtentPoint32(plain, L"Sharp", 5, &unscaled));
    DeleteDC(plain);
    EXPECT_NEAR(measured.cx, unscaled.cx, 1);
    EXPECT_EQ(measured.cy, unscaled.cy);
}

TEST_F(PaintScale, ScreenshotsAreTakenAtThePaintScale)
{
    const std::filesystem::path png =
        std::filesystem::temp_directory_path() / "paint_scale_test_screenshot.png";
    ASSERT_TRUE(platform::SaveScreenshot(png));
    cairo_surface_t* read = cairo_image_surface_create_from_png(png.c_str());
    EXPECT_EQ(cairo_image_surface_get_width(read), 1280);
    EXPECT_EQ(cairo_image_surface_get_height(read), 960);
    cairo_surface_destroy(read);
    std::filesystem::remove(png);
}

constexpr RECT kWholeScreen{0, 0, 640, 480};

class ScreenChanges : public PaintScale {
protected:
    void SetUp() override
    {
        PaintScale::SetUp();
        platform::detail::TakeScreenChanges();  // what opening the screen marked
    }
    static void Repaint(HWND wnd, RECT area)
    {
        InvalidateRect(wnd, &area, TRUE);
        UpdateWindow(wnd);
    }
};

TEST_F(ScreenChanges, OnlyThePaintedAreasAreShownAgainAndFarApartOnesStayApart)
{
    EXPECT_TRUE(platform::detail::TakeScreenChanges().empty());  // nothing drawn since
    Repaint(wnd_, RECT{10, 20, 30, 40});  // the window's client area starts at 100, 50
    EXPECT_EQ(platform::detail::TakeScreenChanges(), (std::vector<RECT>{RECT{110, 70, 130, 90}}));

    Repaint(wnd_, RECT{0, 0, 10, 10});
    Repaint(wnd_, RECT{200, 150, 210, 160});
    Repaint(wnd_, RECT{9, 9, 12, 12});  // meets the first: joined with it
    EXPECT_EQ(platform::detail::TakeScreenChanges(),
              (std::vector<RECT>{RECT{300, 200, 310, 210}, RECT{100, 50, 112, 62}}));

    // Beyond a handful of separate parts they become one.
    for (int i = 0; i < 9; ++i) Repaint(wnd_, RECT{i * 30, 0, i * 30 + 2, 2});
    EXPECT_EQ(platform::detail::TakeScreenChanges(), (std::vector<RECT>{RECT{100, 50, 342, 52}}));
}

TEST_F(ScreenChanges, ChangingTheWindowArrangementShowsTheWholeScreen)
{
    MoveWindow(wnd_, 120, 60, 300, 200, TRUE);
    EXPECT_EQ(platform::detail::TakeScreenChanges(), (std::vector<RECT>{kWholeScreen}));
    ShowWindow(wnd_, SW_HIDE);
    EXPECT_EQ(platform::detail::TakeScreenChanges(), (std::vector<RECT>{kWholeScreen}));
    // A paint that only reaches past the screen's edge marks nothing beyond it.
    ShowWindow(wnd_, SW_SHOW);
    MoveWindow(wnd_, 600, 460, 300, 200, TRUE);
    UpdateWindow(wnd_);
    platform::detail::TakeScreenChanges();
    Repaint(wnd_, RECT{30, 10, 60, 40});
    EXPECT_EQ(platform::detail::TakeScreenChanges(), (std::vector<RECT>{RECT{630, 470, 640, 480}}));
}

TEST_F(ScreenChanges, ComposingAPartLeavesTheRestOfTheScreenAsItWas)
{
    cairo_surface_t* screen = platform::detail::ComposeScreen();
    ASSERT_EQ(PixelAt(screen, 2 * 100, 2 * 50), 0xFFFFFFu);  // the window's white corner
    // The window turns grey but only one corner of it is composed: the rest still shows white.
    g_grey = true;
    InvalidateRect(wnd_, nullptr, TRUE);
    UpdateWindow(wnd_);
    screen = platform::detail::ComposeScreen(RECT{100, 50, 110, 60});
    EXPECT_EQ(PixelAt(screen, 2 * 105, 2 * 55), 0x808080u);
    EXPECT_EQ(PixelAt(screen, 2 * 120, 2 * 55), 0xFFFFFFu);
}

}  // namespace
