// CopyOrbitFiles' pictures, drawn as artwork: the four button faces (each with its symbol and
// its label), the faces loaded beside them, the title picture over the buttons' left side and
// the program's icon. A file resources/copyorbitfiles/<id>.png or .bmp takes a picture's place.
#include <algorithm>
#include <array>
#include <cwchar>

#include "installer/app/copy_orbit_files.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/resources.h"

namespace {

constexpr COLORREF kInk = RGB(0, 0, 0);
constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr COLORREF kGrain = RGB(222, 176, 64);
constexpr COLORREF kSteel = RGB(150, 158, 166);
constexpr COLORREF kDarkSteel = RGB(70, 78, 88);
constexpr int kSymbolBox = 60;  // the symbol's square at the face's left end

struct Face {
    int id;
    const wchar_t* label;
    const wchar_t* note;  // a smaller second line, or null
    COLORREF colour;
    bool pressed;
};

constexpr std::array<Face, 8> kFaces = {{
    {kBitmapStartDryer, L"START DRYER", nullptr, RGB(36, 140, 60), false},
    {kBitmapStartDryerAlt, L"START DRYER", nullptr, RGB(36, 140, 60), true},
    {kBitmapNodeFlasher, L"NODE FLASHER", L"(program the boards)", RGB(244, 196, 48), false},
    {kBitmapNodeFlasherAlt, L"NODE FLASHER", L"(program the boards)", RGB(244, 196, 48), true},
    {kBitmapInstall, L"INSTALL FROM USB", nullptr, RGB(40, 90, 186), false},
    {kBitmapInstallAlt, L"INSTALL FROM USB", nullptr, RGB(40, 90, 186), true},
    {kBitmapExitToWindows, L"EXIT TO WINDOWS", nullptr, RGB(186, 48, 40), false},
    {kBitmapExitToWindowsAlt, L"EXIT TO WINDOWS", nullptr, RGB(186, 48, 40), true},
}};

const Face* FaceOf(int id)
{
    for (const Face& f : kFaces) {
        if (f.id == id) return &f;
    }
    return nullptr;
}

COLORREF Scaled(COLORREF c, int percent)
{
    const auto part = [percent](int v) { return std::min(255, v * percent / 100); };
    return RGB(part(GetRValue(c)), part(GetGValue(c)), part(GetBValue(c)));
}

bool IsDark(COLORREF c)
{
    return GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114 < 140000;
}

void Box(HDC dc, int left, int top, int right, int bottom, COLORREF fill, COLORREF edge)
{
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, 1, edge);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Rectangle(dc, left, top, right, bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void Shape(HDC dc, const POINT* points, int count, COLORREF fill, COLORREF edge)
{
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, 1, edge);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Polygon(dc, points, count);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void Line(HDC dc, int x0, int y0, int x1, int y1, int width, COLORREF colour)
{
    HPEN pen = CreatePen(PS_SOLID, width, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    SelectObject(dc, old);
    DeleteObject(pen);
}

// One line of text in the largest font from `largest` down that fits the box's width, centred
// in the box.
void FittedText(HDC dc, const wchar_t* text, RECT box, int largest, int weight, COLORREF colour)
{
    HFONT font = nullptr;
    for (int cell = largest; cell >= 8; --cell) {
        if (font != nullptr) DeleteObject(font);
        LOGFONT lf;
        lf.lfHeight = cell;
        lf.lfWeight = weight;
        font = CreateFontIndirect(&lf);
        SelectObject(dc, font);
        SIZE size{};
        GetTextExtentPoint32(dc, text, static_cast<int>(std::wcslen(text)), &size);
        if (size.cx <= box.right - box.left - 4 && size.cy <= box.bottom - box.top) break;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    DrawText(dc, text, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    if (font != nullptr) DeleteObject(font);
}

// ---- the symbols, each in a square of kSymbolBox at (x, y) ----

// The dryer tower with grain in its two columns, in x + 6 .. x + 38, y + 3 .. y + 52.
void DryerTower(HDC dc, int x, int y)
{
    Box(dc, x + 8, y + 10, x + 36, y + 52, kSteel, kDarkSteel);
    Box(dc, x + 12, y + 16, x + 18, y + 48, kGrain, kDarkSteel);
    Box(dc, x + 26, y + 16, x + 32, y + 48, kGrain, kDarkSteel);
    const POINT roof[] = {{x + 6, y + 10}, {x + 22, y + 3}, {x + 38, y + 10}};
    Shape(dc, roof, 3, kDarkSteel, kDarkSteel);
}

// The dryer tower and a start arrow.
void DryerSymbol(HDC dc, int x, int y)
{
    DryerTower(dc, x, y);
    const POINT start[] = {{x + 40, y + 20}, {x + 56, y + 30}, {x + 40, y + 40}};
    Shape(dc, start, 3, kPaper, kInk);
}

// A control board with its chip and pins, and the programming arrow onto it.
void BoardSymbol(HDC dc, int x, int y)
{
    Box(dc, x + 4, y + 24, x + 56, y + 54, RGB(30, 110, 60), kInk);
    Box(dc, x + 18, y + 30, x + 42, y + 48, RGB(40, 40, 40), kInk);
    for (int px = x + 20; px < x + 42; px += 5) {
        Line(dc, px, y + 27, px, y + 30, 1, kSteel);
        Line(dc, px, y + 48, px, y + 51, 1, kSteel);
    }
    Line(dc, x + 30, y + 4, x + 30, y + 18, 3, kInk);
    const POINT head[] = {{x + 23, y + 14}, {x + 37, y + 14}, {x + 30, y + 22}};
    Shape(dc, head, 3, kInk, kInk);
}

// A USB flash drive with the arrow down onto the panel.
void UsbSymbol(HDC dc, int x, int y)
{
    Box(dc, x + 8, y + 8, x + 22, y + 16, kSteel, kInk);
    Box(dc, x + 6, y + 16, x + 24, y + 44, RGB(30, 30, 30), kInk);
    Box(dc, x + 11, y + 10, x + 14, y + 13, kInk, kInk);
    Box(dc, x + 16, y + 10, x + 19, y + 13, kInk, kInk);
    Line(dc, x + 42, y + 10, x + 42, y + 34, 4, kPaper);
    const POINT head[] = {{x + 33, y + 32}, {x + 51, y + 32}, {x + 42, y + 44}};
    Shape(dc, head, 3, kPaper, kPaper);
    Box(dc, x + 30, y + 46, x + 56, y + 54, kSteel, kInk);
}

// The panel's desktop window with the arrow out to it.
void DesktopSymbol(HDC dc, int x, int y)
{
    Box(dc, x + 16, y + 10, x + 56, y + 44, kPaper, kInk);
    Box(dc, x + 16, y + 10, x + 56, y + 17, RGB(40, 90, 186), kInk);
    Box(dc, x + 22, y + 22, x + 30, y + 30, kSteel, kInk);
    Box(dc, x + 34, y + 22, x + 42, y + 30, kSteel, kInk);
    Line(dc, x + 2, y + 38, x + 14, y + 38, 4, kPaper);
    const POINT head[] = {{x + 12, y + 31}, {x + 20, y + 38}, {x + 12, y + 45}};
    Shape(dc, head, 3, kPaper, kPaper);
    Box(dc, x + 30, y + 44, x + 42, y + 50, kSteel, kInk);
}

void PaintSymbol(HDC dc, int id, int x, int y)
{
    switch (id) {
        case kBitmapStartDryer:
        case kBitmapStartDryerAlt: DryerSymbol(dc, x, y); return;
        case kBitmapNodeFlasher:
        case kBitmapNodeFlasherAlt: BoardSymbol(dc, x, y); return;
        case kBitmapInstall:
        case kBitmapInstallAlt: UsbSymbol(dc, x, y); return;
        default: DesktopSymbol(dc, x, y); return;
    }
}

// A button face: raised (or pressed in), the symbol at the left, the label beside it.
void PaintFace(HDC dc, int width, int height, int id)
{
    const Face* face = FaceOf(id);
    if (face == nullptr) return;
    const COLORREF fill = face->pressed ? Scaled(face->colour, 85) : face->colour;
    Box(dc, 0, 0, width, height, fill, kInk);
    const COLORREF light = Scaled(face->colour, 140);
    const COLORREF shade = Scaled(face->colour, 55);
    Line(dc, 1, 1, width - 2, 1, 2, face->pressed ? shade : light);
    Line(dc, 1, 1, 1, height - 2, 2, face->pressed ? shade : light);
    Line(dc, 1, height - 2, width - 2, height - 2, 2, face->pressed ? light : shade);
    Line(dc, width - 2, 1, width - 2, height - 2, 2, face->pressed ? light : shade);
    const int shift = face->pressed ? 1 : 0;
    PaintSymbol(dc, id, 2 + shift, (height - kSymbolBox) / 2 + shift);
    const COLORREF ink = IsDark(fill) ? kPaper : kInk;
    const int textLeft = kSymbolBox + 6 + shift;
    if (face->note == nullptr) {
        FittedText(dc, face->label, RECT{textLeft, shift, width - 6 + shift, height + shift}, 22,
                   FW_BOLD, ink);
        return;
    }
    FittedText(dc, face->label, RECT{textLeft, 6 + shift, width - 6 + shift, 34 + shift}, 22,
               FW_BOLD, ink);
    FittedText(dc, face->note, RECT{textLeft, 34 + shift, width - 6 + shift, 54 + shift}, 15,
               FW_NORMAL, ink);
}

// The title picture: the USB drive's release going onto the dryer's panel.
void PaintTitle(HDC dc, int width, int height, int)
{
    Box(dc, 0, 0, width, height, RGB(232, 240, 250), kDarkSteel);
    UsbSymbol(dc, 6, 6);
    // The panel: its screen with the dryer on it.
    Box(dc, 62, 5, 122, 66, kDarkSteel, kInk);
    Box(dc, 66, 9, 118, 62, RGB(200, 226, 250), kInk);
    DryerTower(dc, 70, 8);
    FittedText(dc, L"Copy Dryer Files", RECT{126, 6, width - 4, 34}, 24, FW_BOLD, kInk);
    FittedText(dc, L"a new software release", RECT{126, 34, width - 4, 50}, 15, FW_NORMAL, kInk);
    FittedText(dc, L"from a USB flash drive", RECT{126, 50, width - 4, 66}, 15, FW_NORMAL, kInk);
    Line(dc, 8, 70, width - 8, 70, 1, kSteel);
    FittedText(dc, L"for the dryer's panel and its boards", RECT{6, 72, width - 6, height - 4}, 14,
               FW_NORMAL, kDarkSteel);
}

// The program's icon: the flash drive with its arrow.
void PaintIcon(HDC dc, int, int, int)
{
    Box(dc, 0, 0, 32, 32, RGB(40, 90, 186), kInk);
    Box(dc, 5, 4, 13, 9, kSteel, kInk);
    Box(dc, 4, 9, 14, 27, RGB(30, 30, 30), kPaper);
    Line(dc, 23, 5, 23, 18, 3, kPaper);
    const POINT head[] = {{17, 17}, {29, 17}, {23, 25}};
    Shape(dc, head, 3, kPaper, kPaper);
}

constexpr std::array<BitmapResource, 10> kCopyBitmaps = {{
    {kBitmapStartDryer, 250, 60, L"START DRYER", ArtKind::Picture, 0, PaintFace},
    {kBitmapStartDryerAlt, 250, 60, L"START DRYER", ArtKind::Picture, 0, PaintFace},
    {kBitmapNodeFlasher, 250, 60, L"NODE FLASHER", ArtKind::Picture, 0, PaintFace},
    {kBitmapNodeFlasherAlt, 250, 60, L"NODE FLASHER", ArtKind::Picture, 0, PaintFace},
    {kBitmapInstall, 250, 60, L"INSTALL FROM USB", ArtKind::Picture, 0, PaintFace},
    {kBitmapInstallAlt, 250, 60, L"INSTALL FROM USB", ArtKind::Picture, 0, PaintFace},
    {kBitmapExitToWindows, 250, 60, L"EXIT TO WINDOWS", ArtKind::Picture, 0, PaintFace},
    {kBitmapExitToWindowsAlt, 250, 60, L"EXIT TO WINDOWS", ArtKind::Picture, 0, PaintFace},
    {kBitmapTitle, 257, 95, L"Copy Dryer Files", ArtKind::Picture, 0, PaintTitle},
    {kCopyIconId, 32, 32, L"CopyOrbitFiles", ArtKind::Picture, 0, PaintIcon},
}};

}  // namespace

void RegisterCopyOrbitFilesPictures()
{
    platform::RegisterBitmapResources("copyorbitfiles", kCopyBitmaps);
}
