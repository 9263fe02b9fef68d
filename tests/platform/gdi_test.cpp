// Drawing: text placement and the recorded paint texts, lines, fills, bitmap files and
// screenshots of the composed screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/drawing/gdi.h"
#include "platform/drawing/resources.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/runtime.h"
#include "platform/storage/files.h"
#include "platform/windowing/window.h"
#include "tests/platform/test_pictures.h"

namespace {

namespace fs = std::filesystem;

constexpr const wchar_t* kPainterClass = L"PAINTER_WINDOW";

// What the painter window draws on its next paint.
struct PaintJob {
    std::wstring text = L"75\u00b0F";
    RECT box{0, 0, 200, 40};
    UINT format = DT_LEFT;
    bool viaMemoryDc = false;
};
PaintJob g_job;

LRESULT PainterProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg != WM_PAINT) return DefWindowProc(wnd, msg, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    RECT client;
    GetClientRect(wnd, &client);
    HDC target = dc;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    if (g_job.viaMemoryDc) {
        target = CreateCompatibleDC(dc);
        bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
        oldBitmap = SelectObject(target, bitmap);
    }
    FillRect(target, &client, GetStockObject(BLACK_BRUSH));
    LOGFONT lf;
    lf.lfHeight = 20;
    lf.lfWeight = 700;
    HFONT font = CreateFontIndirect(&lf);
    HGDIOBJ oldFont = SelectObject(target, font);
    SetTextColor(target, RGB(0, 255, 0));
    SetBkMode(target, TRANSPARENT);
    RECT box = g_job.box;
    DrawText(target, g_job.text.c_str(), -1, &box, g_job.format);
    SelectObject(target, oldFont);
    DeleteObject(font);
    if (g_job.viaMemoryDc) {
        BitBlt(dc, 0, 0, client.right, client.bottom, target, 0, 0, SRCCOPY);
        SelectObject(target, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(target);
    }
    EndPaint(wnd, &ps);
    return 0;
}

class Drawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::UseVirtualClock(SYSTEMTIME{2026, 3, 2, 3, 10, 0, 0, 0});
        ASSERT_TRUE(platform::OpenScreen(platform::ScreenOptions{}));
        WNDCLASS wc;
        wc.lpfnWndProc = PainterProc;
        wc.lpszClassName = kPainterClass;
        RegisterClass(&wc);
        // client area at screen 100, 50
        wnd_ = CreateWindowEx(0, kPainterClass, L"painter", WS_POPUP | WS_VISIBLE, 100, 50, 300,
                              200, nullptr, 0, nullptr, nullptr);
        g_job = PaintJob{};
        dir_ = fs::temp_directory_path() / ("gdi_test_" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "Hard Disk");
        platform::SetPanelRoots(dir_, dir_ / "Hard Disk2");
    }
    void TearDown() override
    {
        platform::CloseScreen();
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    platform::DrawnText PaintAndRead()
    {
        InvalidateRect(wnd_, nullptr, TRUE);
        platform::WaitIdle();
        for (const auto& w : platform::InspectWindows()) {
            if (w.className == kPainterClass && w.texts.size() == 1) return w.texts[0];
        }
        ADD_FAILURE() << "no single text recorded";
        return {};
    }
    void Write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        std::ofstream out(dir_ / "Hard Disk" / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    HWND wnd_ = nullptr;
    fs::path dir_;
};

TEST_F(Drawing, DrawTextPlacesAndRecordsTheTextAsAligned)
{
    struct Case {
        UINT format;
        bool centredX, rightX, centredY, bottomY;
    };
    const Case cases[] = {
        {DT_LEFT, false, false, false, false},
        {DT_CENTER, true, false, false, false},
        {DT_RIGHT, false, true, false, false},
        {DT_CENTER | DT_VCENTER | DT_SINGLELINE, true, false, true, false},
        {DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, false, true, false, true},
    };
    for (const Case& c : cases) {
        g_job.box = RECT{10, 20, 210, 120};
        g_job.format = c.format;
        const platform::DrawnText t = PaintAndRead();
        SCOPED_TRACE(c.format);
        EXPECT_EQ(t.text, L"75\u00b0F");
        EXPECT_EQ(t.colour, RGB(0, 255, 0));
        const int w = t.rect.right - t.rect.left, h = t.rect.bottom - t.rect.top;
        EXPECT_GT(w, 20);
        EXPECT_GE(h, 19);
        EXPECT_LE(h, 21);
        const int boxL = 100 + 10, boxR = 100 + 210, boxT = 50 + 20, boxB = 50 + 120;
        if (c.centredX) {
            EXPECT_NEAR((t.rect.left + t.rect.right) / 2.0, (boxL + boxR) / 2.0, 1.0);
        } else if (c.rightX) {
            EXPECT_EQ(t.rect.right, boxR);
        } else {
            EXPECT_EQ(t.rect.left, boxL);
        }
        if (c.centredY) {
            EXPECT_NEAR((t.rect.top + t.rect.bottom) / 2.0, (boxT + boxB) / 2.0, 1.0);
        } else if (c.bottomY) {
            EXPECT_EQ(t.rect.bottom, boxB);
        } else {
            EXPECT_EQ(t.rect.top, boxT);
        }
    }
}

TEST_F(Drawing, TextDrawnInAMemoryDcIsRecordedWhenCopiedToTheWindow)
{
    g_job.viaMemoryDc = true;
    g_job.box = RECT{0, 0, 300, 40};
    g_job.format = DT_CENTER;
    const platform::DrawnText t = PaintAndRead();
    EXPECT_EQ(t.text, L"75\u00b0F");
    EXPECT_EQ(t.rect.top, 50);
}

TEST_F(Drawing, WordBreakAndLineBreaksMakeLines)
{
    HDC dc = CreateCompatibleDC(nullptr);
    RECT r{0, 0, 60, 0};
    const int oneLine = DrawText(dc, L"A", -1, &r, DT_CALCRECT);
    r = RECT{0, 0, 60, 0};
    EXPECT_EQ(DrawText(dc, L"one\ntwo\r\nthree", -1, &r, DT_CALCRECT), 3 * oneLine);
    r = RECT{0, 0, 60, 0};
    EXPECT_GE(DrawText(dc, L"many words that do not fit", -1, &r, DT_CALCRECT | DT_WORDBREAK),
              3 * oneLine);
    EXPECT_LE(r.right, 60);
    DeleteDC(dc);
}

TEST_F(Drawing, LinesAreCrispAndLeaveOutTheirEndPoint)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 20, 20);
    SelectObject(dc, bmp);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(150, 150, 150));
    SelectObject(dc, pen);
    MoveToEx(dc, 2, 5, nullptr);
    LineTo(dc, 10, 5);
    EXPECT_EQ(GetPixel(dc, 2, 5), RGB(150, 150, 150));
    EXPECT_EQ(GetPixel(dc, 9, 5), RGB(150, 150, 150));
    EXPECT_EQ(GetPixel(dc, 10, 5), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 5, 4), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 5, 6), RGB(0, 0, 0));
    HPEN wide = CreatePen(PS_SOLID, 3, RGB(255, 0, 0));
    SelectObject(dc, wide);
    MoveToEx(dc, 12, 0, nullptr);
    LineTo(dc, 12, 10);
    EXPECT_EQ(GetPixel(dc, 11, 3), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 13, 3), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 14, 3), RGB(0, 0, 0));
    RECT fill{0, 15, 4, 20};
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    FillRect(dc, &fill, brush);
    EXPECT_EQ(GetPixel(dc, 3, 19), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(dc, 4, 19), RGB(0, 0, 0));
    SelectObject(dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
    DeleteObject(wide);
    DeleteObject(brush);
    DeleteDC(dc);
    DeleteObject(bmp);
    EXPECT_FALSE(DeleteObject(bmp));
    EXPECT_EQ(GetPixel(dc, 0, 0), static_cast<COLORREF>(-1));
}

// ---- BMP files ----
using test_pictures::PutLe;

// A 2 x 2 image: top row red, green; bottom row blue, white.
std::vector<std::uint8_t> Bmp(int bpp, bool topDown)
{
    const std::uint32_t colours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};  // RGB
    const int paletteSize = bpp <= 8 ? (1 << bpp) : 0;
    const int stride = ((2 * bpp + 31) / 32) * 4;
    std::vector<std::uint8_t> b = test_pictures::BmpHeaders(
        2, topDown ? -2 : 2, bpp, 0, static_cast<std::uint32_t>(stride * 2),
        static_cast<std::uint32_t>(paletteSize) * 4);
    for (int i = 0; i < paletteSize; ++i) {
        const std::uint32_t c = i < 4 && bpp > 1 ? colours[i] : (i == 0 ? 0xFF0000 : 0xFFFFFF);
        PutLe(b, c & 0xFFFFFF, 4);
    }
    for (int r = 0; r < 2; ++r) {
        const int imageRow = topDown ? r : 1 - r;
        std::vector<std::uint8_t> row(static_cast<std::size_t>(stride), 0);
        for (int x = 0; x < 2; ++x) {
            const int index = imageRow * 2 + x;
            const std::uint32_t c = colours[index];
            if (bpp == 24 || bpp == 32) {
                const int at = x * (bpp / 8);
                row[at] = c & 0xFF;
                row[at + 1] = (c >> 8) & 0xFF;
                row[at + 2] = (c >> 16) & 0xFF;
            } else if (bpp == 8) {
                row[x] = static_cast<std::uint8_t>(index);
            } else if (bpp == 4) {
                row[0] |= static_cast<std::uint8_t>(index << (x == 0 ? 4 : 0));
            } else {
                const int bit = index == 0 ? 0 : 1;  // 1 bit: red (0) or white (1)
                row[0] |= static_cast<std::uint8_t>(bit << (7 - x));
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

COLORREF PixelOf(HBITMAP bmp, int x, int y)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return c;
}

TEST_F(Drawing, BitmapFilesLoadInEveryDepthAndRowOrder)
{
    for (int bpp : {4, 8, 24, 32}) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(bpp * 10 + topDown);
            Write("pic.bmp", Bmp(bpp, topDown));
            HBITMAP b = SHLoadDIBitmap(L"\\Hard Disk\\pic.bmp");
            ASSERT_NE(b, nullptr);
            BITMAP info;
            ASSERT_EQ(GetObject(b, sizeof info, &info), static_cast<int>(sizeof info));
            EXPECT_EQ(info.bmWidth, 2);
            EXPECT_EQ(info.bmHeight, 2);
            EXPECT_EQ(PixelOf(b, 0, 0), RGB(255, 0, 0));
            EXPECT_EQ(PixelOf(b, 1, 0), RGB(0, 255, 0));
            EXPECT_EQ(PixelOf(b, 0, 1), RGB(0, 0, 255));
            EXPECT_EQ(PixelOf(b, 1, 1), RGB(255, 255, 255));
            DeleteObject(b);
        }
    }
    Write("mono.bmp", Bmp(1, false));
    HBITMAP mono = SHLoadDIBitmap(L"\\Hard Disk\\mono.bmp");
    ASSERT_NE(mono, nullptr);
    EXPECT_EQ(PixelOf(mono, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(mono, 1, 1), RGB(255, 255, 255));
}

TEST_F(Drawing, DamagedBitmapFilesAreRefused)
{
    const auto good = Bmp(24, false);
    auto truncated = good;
    truncated.resize(good.size() - 3);
    auto badMagic = good;
    badMagic[0] = 'X';
    auto huge = good;
    huge[18] = 0xFF;
    huge[19] = 0xFF;
    huge[20] = 0xFF;
    huge[21] = 0x7F;
    auto badDepth = good;
    badDepth[28] = 7;
    auto rle = Bmp(8, false);
    rle[30] = 1;
    auto offsetPastEnd = good;
    offsetPastEnd[10] = 0xF0;
    offsetPastEnd[11] = 0xFF;
    const std::vector<std::uint8_t> tiny = {'B', 'M', 0, 0};
    for (const auto& bytes : {truncated, badMagic, huge, badDepth, rle, offsetPastEnd, tiny}) {
        Write("bad.bmp", bytes);
        EXPECT_EQ(SHLoadDIBitmap(L"\\Hard Disk\\bad.bmp"), nullptr);
    }
    EXPECT_EQ(SHLoadDIBitmap(L"\\Hard Disk\\missing.bmp"), nullptr);
    EXPECT_EQ(SHLoadDIBitmap(nullptr), nullptr);
}

TEST_F(Drawing, PicturesLargerThanTheScreenAreRefused)
{
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        bool shown;
    };
    const Case cases[] = {
        {"screen.bmp", test_pictures::PlainBmp(640, 480), true},
        {"wide.bmp", test_pictures::PlainBmp(641, 1), false},
        {"tall.bmp", test_pictures::PlainBmp(1, 481), false},
        {"screen.png", test_pictures::PlainPng(640, 480), true},
        {"wide.png", test_pictures::PlainPng(641, 1), false},
        {"tall.png", test_pictures::PlainPng(1, 481), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Write(c.name, c.bytes);
        const std::wstring path = L"\\Hard Disk\\" + platform::Widen(c.name);
        HBITMAP b = SHLoadDIBitmap(path.c_str());
        EXPECT_EQ(b != nullptr, c.shown);
        if (b == nullptr) continue;
        EXPECT_EQ(PixelOf(b, 639, 479), RGB(128, 128, 128));
        DeleteObject(b);
    }
}

TEST_F(Drawing, ButtonFacesAreDrawnFromTheResourceTable)
{
    static const BitmapResource table[] = {
        {111, 105, 40, L"Timers", ArtKind::Button, 0x00C0C0C0, nullptr},
        {110, 105, 40, L"Timers", ArtKind::ButtonPressed, 0x00C0C0C0, nullptr},
        {320, 105, 40, L"M/C", ArtKind::ButtonGreyed, 0x00C0C0C0, nullptr},
    };
    platform::RegisterBitmapResources("gdi_test_program", table);
    for (int id : {111, 110, 320}) {
        HBITMAP b = LoadBitmap(nullptr, id);
        ASSERT_NE(b, nullptr);
        BITMAP info;
        GetObject(b, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, 105);
        EXPECT_EQ(info.bmHeight, 40);
        EXPECT_EQ(PixelOf(b, 0, 0), id == 110 ? RGB(0, 0, 0) : RGB(255, 255, 255));
        DeleteObject(b);
    }
    EXPECT_EQ(LoadBitmap(nullptr, 999), nullptr);
}

TEST_F(Drawing, ScreenshotIsAPngOfTheComposedScreen)
{
    // the painter fills its client black at 100, 50; a white window lies under it
    WNDCLASS wc;
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = L"WHITE_WINDOW";
    wc.hbrBackground = GetStockObject(WHITE_BRUSH);
    RegisterClass(&wc);
    HWND white = CreateWindowEx(0, L"WHITE_WINDOW", L"", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                nullptr, 0, nullptr, nullptr);
    SetForegroundWindow(wnd_);
    platform::WaitIdle();
    ASSERT_TRUE(platform::SaveScreenshot(dir_ / "Hard Disk" / "shot.png"));
    HBITMAP shot = SHLoadDIBitmap(L"\\Hard Disk\\shot.png");
    ASSERT_NE(shot, nullptr);
    BITMAP info;
    GetObject(shot, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 640);
    EXPECT_EQ(info.bmHeight, 480);
    EXPECT_EQ(PixelOf(shot, 5, 5), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(shot, 150, 45), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(shot, 150, 200), RGB(0, 0, 0));
    DeleteObject(shot);
    DestroyWindow(white);
}

}  // namespace
