// The artwork of the home panels, drawn with the platform's painter: the dryer bodies,
// burner symbols, the fan pictures (idle, running, low fire, high fire; three frames each that
// turn the blades by 40 degrees), the load/unload and metering-roll symbols and the pictures
// of the warning window.
#include <array>
#include <cmath>
#include <span>

#include "platform/drawing/gdi.h"
#include "platform/drawing/painter.h"
#include "resources/orbitdryer/bitmap_ids.h"
#include "resources/orbitdryer/home_panel_art.h"
#include "resources/orbitdryer/panel_colours.h"

namespace {

using platform::Painter;

// ---- drawing helpers ----

// The whole picture in one colour.
void Background(Painter& paint, COLORREF colour)
{
    paint.Fill(RECT{0, 0, paint.width(), paint.height()}, colour);
}

void Circle(Painter& paint, int cx, int cy, int r, COLORREF fill, COLORREF edge, int edgeWidth)
{
    paint.Ellipse(RECT{cx - r, cy - r, cx + r, cy + r}, fill, edge, edgeWidth);
}

void Label(Painter& paint, const wchar_t* text, const RECT& rect, COLORREF colour, int height)
{
    paint.Text(text, rect, colour, height, FW_BOLD, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
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

void DrawFan(Painter& paint, FanSet set, int frame, bool single)
{
    const int width = paint.width();
    const int height = paint.height();
    Background(paint, kPlenum);
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
            paint.Polygon(p, look.ring, look.ring, 0);
        }
    }
    Circle(paint, cx, cy, r, RGB(24, 24, 28), look.ring, 4);
    const double turn = frame * 40.0;
    for (int blade = 0; blade < 3; ++blade) {
        const double a = turn + blade * 120.0;
        const POINT p[] = {Rotated(cx, cy, r * 0.18, a - 40), Rotated(cx, cy, r * 0.85, a - 18),
                           Rotated(cx, cy, r * 0.92, a + 4), Rotated(cx, cy, r * 0.18, a + 30)};
        paint.Polygon(p, look.blades, kBlack, 1);
    }
    Circle(paint, cx, cy, r / 5, look.hub, kBlack, 1);
}

FanSet SetOfFan(int id, bool& single, int& frame)
{
    struct FirstFrame {
        int id;
        bool single;
        FanSet set;
    };
    // Highest first: a fan picture belongs to the last set that starts at or below its id.
    constexpr FirstFrame kSets[] = {
        {kBitmapFansLowFire, false, FanSet::LowFire},
        {kBitmapFansHighFire, false, FanSet::HighFire},
        {kBitmapFansRunning, false, FanSet::Running},
        {kBitmapFansIdle, false, FanSet::Idle},
        {kBitmapFanLowFire, true, FanSet::LowFire},
        {kBitmapFanHighFire, true, FanSet::HighFire},
        {kBitmapFanRunning, true, FanSet::Running},
        {kBitmapFanIdle, true, FanSet::Idle},
    };
    for (const FirstFrame& f : kSets) {
        if (id >= f.id) {
            single = f.single;
            frame = id - f.id;
            return f.set;
        }
    }
    single = true;
    frame = 0;
    return FanSet::Idle;
}

void PaintFan(HDC dc, int width, int height, int id)
{
    Painter paint(dc, width, height);
    bool single = false;
    int frame = 0;
    const FanSet set = SetOfFan(id, single, frame);
    DrawFan(paint, set, frame, single);
}

// ---- dryer bodies ----

void GrainColumn(Painter& paint, int l, int t, int r, int b)
{
    paint.Box(RECT{l, t, r, b}, kGrain, kSteelDark, 2);
    for (int y = t + 6; y < b - 2; y += 8) {
        for (int x = l + 4 + ((y / 8) % 2) * 3; x < r - 3; x += 7) {
            Circle(paint, x, y, 1, kGrainDark, kGrainDark, 0);
        }
    }
}

// One module: a roof, two grain columns around the plenum, and a hopper at the foot.
void Module(Painter& paint, int l, int t, int r, int b, int column)
{
    paint.Box(RECT{l + column, t, r - column, b}, kPlenum, kSteelDark, 1);
    GrainColumn(paint, l, t, l + column, b);
    GrainColumn(paint, r - column, t, r, b);
}

void PaintOneModuleBody(Painter& paint, int w, int h)
{
    Background(paint, kBlack);
    const POINT roof[] = {{2, 30}, {w / 2, 2}, {w - 3, 30}};
    paint.Polygon(roof, kSteel, kSteelDark, 2);
    Module(paint, 4, 30, w - 4, h - 40, 30);
    const POINT hopper[] = {{4, h - 40}, {w - 4, h - 40}, {w / 2 + 20, h - 4}, {w / 2 - 20, h - 4}};
    paint.Polygon(hopper, kSteel, kSteelDark, 2);
}

void PaintTowerBody(Painter& paint, int w, int h)
{
    Background(paint, kBlack);
    const POINT roof[] = {{12, 28}, {w / 2, 2}, {w - 13, 28}};
    paint.Polygon(roof, kSteel, kSteelDark, 2);
    GrainColumn(paint, 14, 28, w - 14, h - 30);
    paint.Box(RECT{w / 2 - 26, 40, w / 2 + 26, h - 42}, kPlenum, kSteelDark, 2);  // central plenum
    paint.Box(RECT{8, h - 30, w - 8, h - 4}, kSteel, kSteelDark, 2);              // base
}

void PaintStackedBody(Painter& paint, int w, int h, int modules)
{
    Background(paint, kBlack);
    const POINT roof[] = {{2, 24}, {w / 2, 2}, {w - 3, 24}};
    paint.Polygon(roof, kSteel, kSteelDark, 2);
    const int top = 24;
    const int bottom = h - 34;
    const int each = (bottom - top) / modules;
    for (int m = 0; m < modules; ++m) {
        Module(paint, 4, top + m * each, w - 4, top + (m + 1) * each, 22);
        paint.Line(4, top + m * each, w - 4, top + m * each, kSteel, 3);
    }
    const POINT hopper[] = {{4, bottom}, {w - 4, bottom}, {w / 2 + 18, h - 4}, {w / 2 - 18, h - 4}};
    paint.Polygon(hopper, kSteel, kSteelDark, 2);
}

void PaintBody(HDC dc, int w, int h, int id)
{
    Painter paint(dc, w, h);
    switch (id) {
        case kBitmapTwoModuleDryer: PaintStackedBody(paint, w, h, 2); break;
        case kBitmapThreeModuleDryer: PaintStackedBody(paint, w, h, 3); break;
        case kBitmapTowerDryer: PaintTowerBody(paint, w, h); break;
        default: PaintOneModuleBody(paint, w, h); break;
    }
}

// ---- burners ----

void PaintBurner(HDC dc, int w, int h, int id)
{
    Painter paint(dc, w, h);
    Background(paint, kBlack);
    const bool variant = id == kBitmapBurnerManual || id == kBitmapBurnersManual;
    const bool many = id == kBitmapBurnersManual || id == kBitmapBurners;
    paint.Box(RECT{4, h - 12, w - 4, h - 3}, kSteel, kSteelDark, 1);
    const COLORREF outer = variant ? RGB(40, 140, 255) : RGB(255, 120, 0);
    const COLORREF inner = variant ? RGB(190, 230, 255) : RGB(255, 230, 80);
    const POINT flame[] = {{w / 2, 3}, {w - 9, h - 16}, {w / 2, h - 12}, {8, h - 16}};
    paint.Polygon(flame, outer, outer, 0);
    const POINT core[] = {{w / 2, 14}, {w - 15, h - 16}, {w / 2, h - 14}, {14, h - 16}};
    paint.Polygon(core, inner, inner, 0);
    if (many) paint.Frame(RECT{0, 0, w, h}, kSteel);
}

// ---- load / unload augers and metering rolls ----

void PaintAuger(HDC dc, int w, int h, int id)
{
    Painter paint(dc, w, h);
    Background(paint, kBlack);
    const int frame = id == kBitmapAugerFrame1 ? 1 : (id == kBitmapAugerFrame2 ? 2 : 0);
    const int cx = w / 2;
    const int cy = h / 2;
    Circle(paint, cx, cy, w / 2 - 2, RGB(60, 60, 60), kSteel, 2);
    for (int i = 0; i < 3; ++i) {
        const double a = frame * 40.0 + i * 120.0;
        const POINT p[] = {Rotated(cx, cy, 3, a - 30), Rotated(cx, cy, w / 2 - 4, a - 8),
                           Rotated(cx, cy, w / 2 - 4, a + 12)};
        paint.Polygon(p, kGrain, kGrainDark, 1);
    }
    Circle(paint, cx, cy, 3, kWhite, kWhite, 0);
}

void PaintMeterRoll(HDC dc, int w, int h, int id)
{
    Painter paint(dc, w, h);
    Background(paint, kBlack);
    const int frame = id - kBitmapMeterRoll;
    const int cx = w / 2;
    const int cy = h / 2;
    Circle(paint, cx, cy, w / 2 - 1, RGB(70, 70, 80), kSteel, 1);
    for (int i = 0; i < 4; ++i) {
        const POINT a = Rotated(cx, cy, w / 2 - 2, frame * 30.0 + i * 90.0);
        paint.Line(cx, cy, a.x, a.y, RGB(255, 220, 0), 2);
    }
}

// ---- small pictures ----

void PaintIndicator(HDC dc, int w, int h, int)
{
    Painter paint(dc, w, h);
    Background(paint, kBlack);
    const POINT sign[] = {{w / 2, 2}, {w - 2, h - 3}, {2, h - 3}};
    paint.Polygon(sign, RGB(255, 210, 0), kBlack, 1);
    Label(paint, L"!", RECT{0, 8, w, h - 2}, kBlack, 20);
}

void PaintShutdownPicture(HDC dc, int w, int h, int)
{
    Painter paint(dc, w, h);
    Background(paint, RGB(100, 100, 100));
    const POINT sign[] = {{w / 2, 4}, {w - 6, h - 6}, {6, h - 6}};
    paint.Polygon(sign, RGB(255, 210, 0), RGB(200, 0, 0), 5);
    Label(paint, L"!", RECT{0, 20, w, h - 8}, kBlack, 56);
}

void PaintPanelPicture(HDC dc, int w, int h, int)
{
    Painter paint(dc, w, h);
    Background(paint, RGB(100, 100, 100));
    paint.Box(RECT{6, 6, w - 6, h - 6}, RGB(60, 64, 70), kBlack, 2);
    paint.Box(RECT{14, 12, w - 14, h - 22}, RGB(20, 40, 90), kSteel, 1);
    Label(paint, L"PANEL", RECT{14, 12, w - 14, h - 22}, kWhite, 14);
    for (int i = 0; i < 4; ++i)
        paint.Box(RECT{16 + i * 18, h - 18, 28 + i * 18, h - 10}, kSteel, kBlack, 1);
}

void PaintDryerPicture(HDC dc, int w, int h, int)
{
    Painter paint(dc, w, h);
    Background(paint, RGB(100, 100, 100));
    const POINT roof[] = {{18, 24}, {w / 2, 4}, {w - 18, 24}};
    paint.Polygon(roof, kSteel, kBlack, 1);
    GrainColumn(paint, 20, 24, w - 20, h - 20);
    paint.Box(RECT{w / 2 - 12, 34, w / 2 + 12, h - 30}, kPlenum, kBlack, 1);
    paint.Box(RECT{14, h - 20, w - 14, h - 6}, kSteel, kBlack, 1);
}

// ---- the table ----

constexpr BitmapResource Picture(int id, int w, int h, ArtPainter painter)
{
    return BitmapResource{id, w, h, nullptr, ArtKind::Picture, 0, painter};
}

// A picture and the frames that follow it: ids first, first + 1, ...
struct PictureSet {
    int first;
    int frames;
    int width, height;
    ArtPainter painter;
};
constexpr PictureSet kPictureSets[] = {
    {kBitmapOneModuleDryer, 1, 180, 315, PaintBody},
    {kBitmapTwoModuleDryer, 1, 150, 400, PaintBody},
    {kBitmapThreeModuleDryer, 1, 140, 410, PaintBody},
    {kBitmapTowerDryer, 1, 180, 315, PaintBody},
    {kBitmapBurner, 1, 40, 40, PaintBurner},
    {kBitmapBurnerManual, 1, 40, 40, PaintBurner},
    {kBitmapBurnersManual, 1, 40, 40, PaintBurner},
    {kBitmapBurners, 1, 40, 40, PaintBurner},
    {kBitmapFanIdle, 3, 111, 113, PaintFan},
    {kBitmapFanRunning, 3, 111, 113, PaintFan},
    {kBitmapFanHighFire, 3, 111, 113, PaintFan},
    {kBitmapFanLowFire, 3, 111, 113, PaintFan},
    {kBitmapFansIdle, 3, 111, 113, PaintFan},
    {kBitmapFansRunning, 3, 111, 113, PaintFan},
    {kBitmapFansHighFire, 3, 111, 113, PaintFan},
    {kBitmapFansLowFire, 3, 111, 113, PaintFan},
    {kBitmapAugerFrame0, 1, 38, 38, PaintAuger},
    {kBitmapAugerFrame1, 1, 38, 38, PaintAuger},
    {kBitmapAugerFrame2, 1, 38, 38, PaintAuger},
    {kBitmapMeterRoll, 3, 23, 23, PaintMeterRoll},
    {kBitmapRunIndicator, 1, 32, 32, PaintIndicator},
    {kBitmapShutdownPicture, 1, 100, 92, PaintShutdownPicture},
    {kBitmapPanelPicture, 1, 100, 75, PaintPanelPicture},
    {kBitmapDryerPicture, 1, 100, 124, PaintDryerPicture},
};

constexpr std::size_t CountPictures()
{
    std::size_t n = 0;
    for (const PictureSet& set : kPictureSets) n += static_cast<std::size_t>(set.frames);
    return n;
}

// Every picture, then the warning window's help button faces.
constexpr auto kArt = [] {
    std::array<BitmapResource, CountPictures() + 2> art{};
    std::size_t n = 0;
    for (const PictureSet& set : kPictureSets) {
        for (int frame = 0; frame < set.frames; ++frame) {
            art[n++] = Picture(set.first + frame, set.width, set.height, set.painter);
        }
    }
    art[n++] =
        BitmapResource{kBitmapHelpDown, 200, 50, L"HELP", ArtKind::ButtonPressed, kSilver, nullptr};
    art[n++] = BitmapResource{kBitmapHelpUp, 200, 50, L"HELP", ArtKind::Button, kSilver, nullptr};
    return art;
}();

}  // namespace

std::span<const BitmapResource> HomePanelBitmaps()
{
    return kArt;
}
