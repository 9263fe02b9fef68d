// The artwork of the home panels, drawn with the panel's own drawing calls: the dryer bodies,
// burner symbols, the fan pictures (idle, running, low fire, high fire; three frames each that
// turn the blades by 40 degrees), the load/unload and metering-roll symbols and the pictures
// of the warning window.
#include <array>
#include <cmath>
#include <span>

#include "platform/drawing/gdi.h"
#include "resources/orbitdryer/home_panel_art.h"

namespace {

// ---- drawing helpers ----

void Fill(HDC dc, int l, int t, int r, int b, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    RECT rect{l, t, r, b};
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void Shape(HDC dc, COLORREF fill, COLORREF edge, int edgeWidth, auto&& draw)
{
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(edgeWidth > 0 ? PS_SOLID : PS_NULL, edgeWidth > 0 ? edgeWidth : 1, edge);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    draw();
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

void Circle(HDC dc, int cx, int cy, int r, COLORREF fill, COLORREF edge, int edgeWidth)
{
    Shape(dc, fill, edge, edgeWidth, [&] { Ellipse(dc, cx - r, cy - r, cx + r, cy + r); });
}

void Box(HDC dc, int l, int t, int r, int b, COLORREF fill, COLORREF edge, int edgeWidth)
{
    Shape(dc, fill, edge, edgeWidth, [&] { Rectangle(dc, l, t, r, b); });
}

void Poly(HDC dc, std::span<const POINT> points, COLORREF fill, COLORREF edge, int edgeWidth)
{
    Shape(dc, fill, edge, edgeWidth,
          [&] { Polygon(dc, points.data(), static_cast<int>(points.size())); });
}

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int width)
{
    HPEN pen = CreatePen(PS_SOLID, width, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void Label(HDC dc, const wchar_t* text, RECT rect, COLORREF colour, int height)
{
    LOGFONT description{};
    description.lfHeight = height;
    description.lfWeight = 700;
    HFONT font = CreateFontIndirect(&description);
    HGDIOBJ old = SelectObject(dc, font);
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    DrawText(dc, text, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteObject(font);
}

POINT Rotated(double cx, double cy, double radius, double degrees)
{
    const double a = degrees * 3.14159265358979 / 180.0;
    return POINT{static_cast<LONG>(std::lround(cx + radius * std::cos(a))),
                 static_cast<LONG>(std::lround(cy + radius * std::sin(a)))};
}

// ---- colours ----
constexpr COLORREF kPlenum = RGB(40, 44, 52);  // inside of the dryer, behind the fans
constexpr COLORREF kSteel = RGB(150, 156, 164);
constexpr COLORREF kSteelDark = RGB(96, 102, 110);
constexpr COLORREF kGrain = RGB(196, 160, 72);
constexpr COLORREF kGrainDark = RGB(150, 118, 48);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// ---- fans ----
enum class FanSet { Idle, Running, LowFire, HighFire };

struct FanLook {
    COLORREF blades;
    COLORREF ring;
    COLORREF hub;
    bool flames;
    int flameSize;
};

FanLook LookOf(FanSet set)
{
    switch (set) {
        case FanSet::Running:
            return {RGB(40, 120, 255), RGB(20, 70, 200), RGB(200, 220, 255), false, 0};
        case FanSet::LowFire:
            return {RGB(255, 170, 0), RGB(255, 120, 0), RGB(255, 235, 160), true, 5};
        case FanSet::HighFire:
            return {RGB(235, 20, 20), RGB(255, 40, 0), RGB(255, 200, 80), true, 10};
        case FanSet::Idle: break;
    }
    return {RGB(245, 245, 245), RGB(120, 120, 120), RGB(180, 180, 180), false, 0};
}

void DrawFan(HDC dc, int width, int height, FanSet set, int frame, bool single)
{
    Fill(dc, 0, 0, width, height, kPlenum);
    const FanLook look = LookOf(set);
    const int cx = width / 2;
    const int cy = single ? height / 2 : 30;
    const int r = single ? 44 : 24;
    if (look.flames) {
        // A ring of flame tips around the housing: small for low fire, tall for high fire.
        for (int i = 0; i < 12; ++i) {
            const double a = i * 30.0 + frame * 10.0;
            const POINT p[] = {Rotated(cx, cy, r + 1, a - 9),
                               Rotated(cx, cy, r + look.flameSize, a),
                               Rotated(cx, cy, r + 1, a + 9)};
            Poly(dc, p, look.ring, look.ring, 0);
        }
    }
    Circle(dc, cx, cy, r, RGB(24, 24, 28), look.ring, 4);
    const double turn = frame * 40.0;
    for (int blade = 0; blade < 3; ++blade) {
        const double a = turn + blade * 120.0;
        const POINT p[] = {Rotated(cx, cy, r * 0.18, a - 40), Rotated(cx, cy, r * 0.85, a - 18),
                           Rotated(cx, cy, r * 0.92, a + 4), Rotated(cx, cy, r * 0.18, a + 30)};
        Poly(dc, p, look.blades, kBlack, 1);
    }
    Circle(dc, cx, cy, r / 5, look.hub, kBlack, 1);
}

FanSet SetOfFan(int id, bool& single, int& frame)
{
    single = id < 341;
    int first = 0;
    FanSet set = FanSet::Idle;
    if (single) {
        if (id >= 304) {
            first = 304;
            set = FanSet::LowFire;
        } else if (id >= 301) {
            first = 301;
            set = FanSet::HighFire;
        } else if (id >= 295) {
            first = 295;
            set = FanSet::Running;
        } else {
            first = 292;
        }
    } else {
        if (id >= 350) {
            first = 350;
            set = FanSet::LowFire;
        } else if (id >= 347) {
            first = 347;
            set = FanSet::HighFire;
        } else if (id >= 344) {
            first = 344;
            set = FanSet::Running;
        } else {
            first = 341;
        }
    }
    frame = id - first;
    return set;
}

void PaintFan(HDC dc, int width, int height, int id)
{
    bool single = false;
    int frame = 0;
    const FanSet set = SetOfFan(id, single, frame);
    DrawFan(dc, width, height, set, frame, single);
}

// ---- dryer bodies ----

void GrainColumn(HDC dc, int l, int t, int r, int b)
{
    Box(dc, l, t, r, b, kGrain, kSteelDark, 2);
    for (int y = t + 6; y < b - 2; y += 8) {
        for (int x = l + 4 + ((y / 8) % 2) * 3; x < r - 3; x += 7) {
            Circle(dc, x, y, 1, kGrainDark, kGrainDark, 0);
        }
    }
}

// One module: a roof, two grain columns around the plenum, and a hopper at the foot.
void Module(HDC dc, int l, int t, int r, int b, int column)
{
    Box(dc, l + column, t, r - column, b, kPlenum, kSteelDark, 1);
    GrainColumn(dc, l, t, l + column, b);
    GrainColumn(dc, r - column, t, r, b);
}

void PaintOneModuleBody(HDC dc, int w, int h)
{
    Fill(dc, 0, 0, w, h, kBlack);
    const POINT roof[] = {{2, 30}, {w / 2, 2}, {w - 3, 30}};
    Poly(dc, roof, kSteel, kSteelDark, 2);
    Module(dc, 4, 30, w - 4, h - 40, 30);
    const POINT hopper[] = {{4, h - 40}, {w - 4, h - 40}, {w / 2 + 20, h - 4}, {w / 2 - 20, h - 4}};
    Poly(dc, hopper, kSteel, kSteelDark, 2);
}

void PaintTowerBody(HDC dc, int w, int h)
{
    Fill(dc, 0, 0, w, h, kBlack);
    const POINT roof[] = {{12, 28}, {w / 2, 2}, {w - 13, 28}};
    Poly(dc, roof, kSteel, kSteelDark, 2);
    GrainColumn(dc, 14, 28, w - 14, h - 30);
    Box(dc, w / 2 - 26, 40, w / 2 + 26, h - 42, kPlenum, kSteelDark, 2);  // central plenum
    Box(dc, 8, h - 30, w - 8, h - 4, kSteel, kSteelDark, 2);              // base
}

void PaintStackedBody(HDC dc, int w, int h, int modules)
{
    Fill(dc, 0, 0, w, h, kBlack);
    const POINT roof[] = {{2, 24}, {w / 2, 2}, {w - 3, 24}};
    Poly(dc, roof, kSteel, kSteelDark, 2);
    const int top = 24;
    const int bottom = h - 34;
    const int each = (bottom - top) / modules;
    for (int m = 0; m < modules; ++m) {
        Module(dc, 4, top + m * each, w - 4, top + (m + 1) * each, 22);
        Line(dc, 4, top + m * each, w - 4, top + m * each, kSteel, 3);
    }
    const POINT hopper[] = {{4, bottom}, {w - 4, bottom}, {w / 2 + 18, h - 4}, {w / 2 - 18, h - 4}};
    Poly(dc, hopper, kSteel, kSteelDark, 2);
}

void PaintBody(HDC dc, int w, int h, int id)
{
    switch (id) {
        case 324: PaintStackedBody(dc, w, h, 2); break;
        case 323: PaintStackedBody(dc, w, h, 3); break;
        case 406: PaintTowerBody(dc, w, h); break;
        default: PaintOneModuleBody(dc, w, h); break;
    }
}

// ---- burners ----

void PaintBurner(HDC dc, int w, int h, int id)
{
    Fill(dc, 0, 0, w, h, kBlack);
    const bool variant = id == 487 || id == 489;  // the second burner kind
    const bool many = id == 489 || id == 490;
    Box(dc, 4, h - 12, w - 4, h - 3, kSteel, kSteelDark, 1);
    const COLORREF outer = variant ? RGB(40, 140, 255) : RGB(255, 120, 0);
    const COLORREF inner = variant ? RGB(190, 230, 255) : RGB(255, 230, 80);
    const POINT flame[] = {{w / 2, 3}, {w - 9, h - 16}, {w / 2, h - 12}, {8, h - 16}};
    Poly(dc, flame, outer, outer, 0);
    const POINT core[] = {{w / 2, 14}, {w - 15, h - 16}, {w / 2, h - 14}, {14, h - 16}};
    Poly(dc, core, inner, inner, 0);
    if (many) {
        RECT frame{0, 0, w, h};
        HBRUSH brush = CreateSolidBrush(kSteel);
        FrameRect(dc, &frame, brush);
        DeleteObject(brush);
    }
}

// ---- load / unload augers and metering rolls ----

void PaintAuger(HDC dc, int w, int h, int id)
{
    Fill(dc, 0, 0, w, h, kBlack);
    const int frame = id == 311 ? 1 : (id == 316 ? 2 : 0);
    const int cx = w / 2;
    const int cy = h / 2;
    Circle(dc, cx, cy, w / 2 - 2, RGB(60, 60, 60), kSteel, 2);
    for (int i = 0; i < 3; ++i) {
        const double a = frame * 40.0 + i * 120.0;
        const POINT p[] = {Rotated(cx, cy, 3, a - 30), Rotated(cx, cy, w / 2 - 4, a - 8),
                           Rotated(cx, cy, w / 2 - 4, a + 12)};
        Poly(dc, p, kGrain, kGrainDark, 1);
    }
    Circle(dc, cx, cy, 3, kWhite, kWhite, 0);
}

void PaintMeterRoll(HDC dc, int w, int h, int id)
{
    Fill(dc, 0, 0, w, h, kBlack);
    const int frame = id - 317;
    const int cx = w / 2;
    const int cy = h / 2;
    Circle(dc, cx, cy, w / 2 - 1, RGB(70, 70, 80), kSteel, 1);
    for (int i = 0; i < 4; ++i) {
        const POINT a = Rotated(cx, cy, w / 2 - 2, frame * 30.0 + i * 90.0);
        Line(dc, cx, cy, a.x, a.y, RGB(255, 220, 0), 2);
    }
}

// ---- small pictures ----

void PaintIndicator(HDC dc, int w, int h, int)
{
    Fill(dc, 0, 0, w, h, kBlack);
    const POINT sign[] = {{w / 2, 2}, {w - 2, h - 3}, {2, h - 3}};
    Poly(dc, sign, RGB(255, 210, 0), kBlack, 1);
    Label(dc, L"!", RECT{0, 8, w, h - 2}, kBlack, 20);
}

void PaintShutdownPicture(HDC dc, int w, int h, int)
{
    Fill(dc, 0, 0, w, h, RGB(100, 100, 100));
    const POINT sign[] = {{w / 2, 4}, {w - 6, h - 6}, {6, h - 6}};
    Poly(dc, sign, RGB(255, 210, 0), RGB(200, 0, 0), 5);
    Label(dc, L"!", RECT{0, 20, w, h - 8}, kBlack, 56);
}

void PaintPanelPicture(HDC dc, int w, int h, int)
{
    Fill(dc, 0, 0, w, h, RGB(100, 100, 100));
    Box(dc, 6, 6, w - 6, h - 6, RGB(60, 64, 70), kBlack, 2);
    Box(dc, 14, 12, w - 14, h - 22, RGB(20, 40, 90), kSteel, 1);
    Label(dc, L"PANEL", RECT{14, 12, w - 14, h - 22}, kWhite, 14);
    for (int i = 0; i < 4; ++i)
        Box(dc, 16 + i * 18, h - 18, 28 + i * 18, h - 10, kSteel, kBlack, 1);
}

void PaintDryerPicture(HDC dc, int w, int h, int)
{
    Fill(dc, 0, 0, w, h, RGB(100, 100, 100));
    const POINT roof[] = {{18, 24}, {w / 2, 4}, {w - 18, 24}};
    Poly(dc, roof, kSteel, kBlack, 1);
    GrainColumn(dc, 20, 24, w - 20, h - 20);
    Box(dc, w / 2 - 12, 34, w / 2 + 12, h - 30, kPlenum, kBlack, 1);
    Box(dc, 14, h - 20, w - 14, h - 6, kSteel, kBlack, 1);
}

// ---- the table ----

constexpr COLORREF kButtonFace = 0x00C0C0C0;

constexpr BitmapResource Picture(int id, int w, int h, ArtPainter painter)
{
    return BitmapResource{id, w, h, nullptr, ArtKind::Picture, 0, painter};
}

constexpr auto kArt = std::to_array<BitmapResource>({
    // dryer bodies
    Picture(367, 180, 315, PaintBody),
    Picture(324, 150, 400, PaintBody),
    Picture(323, 140, 410, PaintBody),
    Picture(406, 180, 315, PaintBody),
    // burner symbols
    Picture(485, 40, 40, PaintBurner),
    Picture(487, 40, 40, PaintBurner),
    Picture(489, 40, 40, PaintBurner),
    Picture(490, 40, 40, PaintBurner),
    // single-fan pictures: idle, running, high fire, low fire
    Picture(292, 111, 113, PaintFan),
    Picture(293, 111, 113, PaintFan),
    Picture(294, 111, 113, PaintFan),
    Picture(295, 111, 113, PaintFan),
    Picture(296, 111, 113, PaintFan),
    Picture(297, 111, 113, PaintFan),
    Picture(301, 111, 113, PaintFan),
    Picture(302, 111, 113, PaintFan),
    Picture(303, 111, 113, PaintFan),
    Picture(304, 111, 113, PaintFan),
    Picture(305, 111, 113, PaintFan),
    Picture(306, 111, 113, PaintFan),
    // multi-fan pictures
    Picture(341, 111, 113, PaintFan),
    Picture(342, 111, 113, PaintFan),
    Picture(343, 111, 113, PaintFan),
    Picture(344, 111, 113, PaintFan),
    Picture(345, 111, 113, PaintFan),
    Picture(346, 111, 113, PaintFan),
    Picture(347, 111, 113, PaintFan),
    Picture(348, 111, 113, PaintFan),
    Picture(349, 111, 113, PaintFan),
    Picture(350, 111, 113, PaintFan),
    Picture(351, 111, 113, PaintFan),
    Picture(352, 111, 113, PaintFan),
    // load / unload augers and metering rolls
    Picture(310, 38, 38, PaintAuger),
    Picture(311, 38, 38, PaintAuger),
    Picture(316, 38, 38, PaintAuger),
    Picture(317, 23, 23, PaintMeterRoll),
    Picture(318, 23, 23, PaintMeterRoll),
    Picture(319, 23, 23, PaintMeterRoll),
    Picture(462, 32, 32, PaintIndicator),
    // warning window
    BitmapResource{204, 200, 50, L"HELP", ArtKind::ButtonPressed, kButtonFace, nullptr},
    BitmapResource{205, 200, 50, L"HELP", ArtKind::Button, kButtonFace, nullptr},
    Picture(517, 100, 92, PaintShutdownPicture),
    Picture(259, 100, 75, PaintPanelPicture),
    Picture(260, 100, 124, PaintDryerPicture),
});

}  // namespace

std::span<const BitmapResource> HomePanelBitmaps()
{
    return kArt;
}
