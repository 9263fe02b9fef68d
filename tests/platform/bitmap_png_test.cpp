// A bitmap drawn off-screen written as a PNG file: read back, it has the bitmap's size and
// colours; a handle that is no bitmap, or a folder that does not exist, writes nothing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/drawing/gdi.h"
#include "platform/drawing/gdi_scope.h"
#include "platform/storage/files.h"

namespace {

namespace fs = std::filesystem;

class BitmapPng : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("bitmap_png_" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "Hard Disk");
        platform::SetPanelRoots(dir_, dir_ / "Hard Disk2");
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    fs::path dir_;
};

COLORREF PixelOf(HBITMAP b, int x, int y)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, b);
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return c;
}

TEST_F(BitmapPng, ReadsBackWithTheBitmapsSizeAndColours)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 30, 20);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    const RECT left{0, 0, 10, 20};
    FillRect(dc, &left, red);
    SetPixel(dc, 29, 19, RGB(0, 200, 200));
    SelectObject(dc, old);
    DeleteObject(red);
    DeleteDC(dc);

    ASSERT_TRUE(platform::SaveBitmapPng(bitmap, dir_ / "Hard Disk" / "out.png"));
    DeleteObject(bitmap);
    HBITMAP back = SHLoadDIBitmap(L"\\Hard Disk\\out.png");
    ASSERT_NE(back, nullptr);
    BITMAP info;
    GetObject(back, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 30);
    EXPECT_EQ(info.bmHeight, 20);
    EXPECT_EQ(PixelOf(back, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(back, 9, 19), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(back, 10, 0), RGB(0, 0, 0));  // a new bitmap is black
    EXPECT_EQ(PixelOf(back, 29, 19), RGB(0, 200, 200));
    DeleteObject(back);
}

TEST_F(BitmapPng, NothingIsWrittenForABadHandleOrFolder)
{
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_FALSE(platform::SaveBitmapPng(brush, dir_ / "brush.png"));
    EXPECT_FALSE(fs::exists(dir_ / "brush.png"));
    DeleteObject(brush);
    EXPECT_FALSE(platform::SaveBitmapPng(nullptr, dir_ / "null.png"));

    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 4, 4);
    EXPECT_FALSE(platform::SaveBitmapPng(bitmap, dir_ / "no such folder" / "x.png"));
    DeleteObject(bitmap);
    DeleteDC(dc);
}

}  // namespace
