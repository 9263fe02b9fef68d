// Drawing: device contexts on 32-bit images, pens, brushes, fonts, text, lines and bitmaps.
// Text is drawn in DejaVu Sans (bold from weight 600); colours are 0x00BBGGRR.
#pragma once

#include <filesystem>

#include "platform/win_types.h"

inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

inline constexpr int PS_SOLID = 0;
inline constexpr int PS_DASH = 1;
inline constexpr int PS_NULL = 5;

inline constexpr int WHITE_BRUSH = 0;
inline constexpr int LTGRAY_BRUSH = 1;
inline constexpr int GRAY_BRUSH = 2;
inline constexpr int DKGRAY_BRUSH = 3;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int WHITE_PEN = 6;
inline constexpr int BLACK_PEN = 7;
inline constexpr int NULL_PEN = 8;
inline constexpr int SYSTEM_FONT = 13;

inline constexpr DWORD SRCCOPY = 0x00CC0020;

// DrawText formats
inline constexpr UINT DT_TOP = 0x0000;
inline constexpr UINT DT_LEFT = 0x0000;
inline constexpr UINT DT_CENTER = 0x0001;
inline constexpr UINT DT_RIGHT = 0x0002;
inline constexpr UINT DT_VCENTER = 0x0004;
inline constexpr UINT DT_BOTTOM = 0x0008;
inline constexpr UINT DT_WORDBREAK = 0x0010;
inline constexpr UINT DT_SINGLELINE = 0x0020;
inline constexpr UINT DT_EXPANDTABS = 0x0040;
inline constexpr UINT DT_NOCLIP = 0x0100;
inline constexpr UINT DT_CALCRECT = 0x0400;

// ExtTextOut options
inline constexpr UINT ETO_OPAQUE = 0x0002;
inline constexpr UINT ETO_CLIPPED = 0x0004;

inline constexpr LONG FW_NORMAL = 400;
inline constexpr LONG FW_BOLD = 700;

struct LOGFONT {
    LONG lfHeight = 0;  // cell height in pixels (negative: character height); 0 = 16
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = 0;  // 0 or below 600 regular, 600 and above bold
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    wchar_t lfFaceName[32] = {};
};

struct BITMAP {
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    WORD bmPlanes = 1;
    WORD bmBitsPixel = 32;
    void* bmBits = nullptr;
};

struct TEXTMETRIC {
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmAveCharWidth = 0;
};

HDC CreateCompatibleDC(HDC dc);  // a memory context; draws on the bitmap selected into it
BOOL DeleteDC(HDC dc);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);  // black
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);  // returns the previous object of that kind
BOOL DeleteObject(HGDIOBJ object);             // stock objects are never deleted
HGDIOBJ GetStockObject(int which);
int GetObject(HGDIOBJ object, int size, void* out);  // BITMAP for bitmaps, LOGFONT for fonts

HBRUSH CreateSolidBrush(COLORREF colour);
HPEN CreatePen(int style, int width, COLORREF colour);
HFONT CreateFontIndirect(const LOGFONT* font);

int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);  // pen outline, brush fill
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
BOOL LineTo(HDC dc, int x, int y);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour);
COLORREF GetPixel(HDC dc, int x, int y);

COLORREF SetTextColor(HDC dc, COLORREF colour);
COLORREF SetBkColor(HDC dc, COLORREF colour);
int SetBkMode(HDC dc, int mode);
BOOL TextOut(HDC dc, int x, int y, const wchar_t* text, int length);  // length -1: to the NUL
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, const wchar_t* text,
                UINT length, const int* dx);
// Draws text in a rectangle with DT_LEFT/DT_CENTER/DT_RIGHT and DT_VCENTER (single line),
// DT_WORDBREAK, DT_EXPANDTABS; line breaks start new lines. Returns the text height.
int DrawText(HDC dc, const wchar_t* text, int length, RECT* rect, UINT format);
BOOL GetTextExtentPoint32(HDC dc, const wchar_t* text, int length, SIZE* size);
BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics);

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy, DWORD rop);
BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy, int sw,
                int sh, DWORD rop);

// Bitmap resources of the running program (platform/drawing/resources.h) and bitmap files on disk
// (panel paths; BMP of 1, 4, 8, 16, 24 or 32 bits, or PNG). Null when missing, unreadable or
// larger than the screen (640 x 480).
HBITMAP LoadBitmap(HINSTANCE instance, int resourceId);
HBITMAP SHLoadDIBitmap(const wchar_t* panelPath);

namespace platform {

// Pens, brushes, fonts and bitmaps alive (stock objects not counted) and device contexts
// alive; tests check with it that painting releases what it makes.
struct GdiCounts {
    int objects = 0;
    int contexts = 0;
};
GdiCounts CountGdiObjects();

// Writes a bitmap's picture as a PNG file (host path), at its full size; false for a handle that
// is no bitmap or a file that cannot be written. For pictures made off-screen, as a desktop tool
// draws them.
bool SaveBitmapPng(HBITMAP bitmap, const std::filesystem::path& png);

}  // namespace platform
