// The dryer picture of the home screen (left column, 240 x 420): a drawing of the dryer chosen
// by its construction with animated fans and burners, the grain temperature or moisture in
// large digits with its setpoint, and the column of status lines (dryer_picture_lines.cpp).
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/screens/home_panels.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/painter.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/bitmap_ids.h"
#include "resources/orbitdryer/panel_colours.h"

namespace {

using namespace home_panels;

constexpr UINT kLeft = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr UINT kRight = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;
constexpr UINT kMsgBatchMessage = WM_APP + 0x40;  // shows the one-shot batch message

bool batchMessageShown = false;

struct Place {
    int x;
    int y;
};

// Where the fans of a picture sit: the fan circles are drawn in the upper part of the
// multi-fan pictures, so the stack is drawn from the top down and each picture's lower margin
// lies under the next fan.
std::vector<Place> FanPlaces(DryerPicture picture, int count)
{
    std::vector<Place> places;
    if (count <= 0) return places;
    if (picture == DryerPicture::OneModule && count == 1) return {{35, 145}};
    int top = 80;
    int bottom = 270;
    int x = 35;
    if (picture == DryerPicture::TwoModule) {
        top = 30;
        bottom = 330;
        x = 20;
    } else if (picture == DryerPicture::ThreeModule) {
        top = 30;
        bottom = 330;
        x = 14;
    }
    const int pitch = count > 1 ? (bottom - top) / (count - 1) : 0;
    const int pitchLimit = 70;
    const int step = count > 1 ? std::min(pitch, pitchLimit) : 0;
    // Fan/heater 1 is the lowest; the highest number is drawn first, at the top.
    for (int i = 0; i < count; ++i) places.push_back({x, top + i * step});
    return places;
}

void DrawFans(platform::Painter& paint, const HomePanelInputs& in, DryerPicture picture)
{
    const int count = std::min(HeaterCount(in.image), 6);
    const std::vector<Place> places = FanPlaces(picture, count);
    const bool single = count == 1;
    for (int i = 0; i < count; ++i) {
        const int heater = count - i;  // top of the stack first
        const int id =
            FanBitmap(in.image, heater, in.fanPhase[static_cast<std::size_t>(heater - 1)], single);
        paint.Bitmap(id, places[static_cast<std::size_t>(i)].x,
                     places[static_cast<std::size_t>(i)].y, 111, 113);
    }
}

int SymbolBitmap(int phase)
{
    switch (phase) {
        case 1: return kBitmapAugerFrame1;
        case 2: return kBitmapAugerFrame2;
        default: return kBitmapAugerFrame0;
    }
}

void DrawSymbols(platform::Painter& paint, const HomePanelInputs& in, int dx, int loadY,
                 int unloadY, int rollY)
{
    paint.Bitmap(SymbolBitmap(in.loadPhase), 75 + dx, loadY, 38, 38);
    paint.Bitmap(SymbolBitmap(in.unloadPhase), 75 + dx, unloadY, 38, 38);
    paint.Bitmap(kBitmapMeterRoll + std::clamp(in.meterRollLeftPhase, 0, 2), 55 + dx, rollY, 23,
                 23);
    paint.Bitmap(kBitmapMeterRoll + std::clamp(in.meterRollRightPhase, 0, 2), 107 + dx, rollY, 23,
                 23);
}

void DrawBurner(platform::Painter& paint, const PanelImage& image, int x, int y)
{
    const bool many = HeaterCount(image) > 1;
    int id = many ? kBitmapBurners : kBitmapBurner;
    if (IsSet(image, manualSwitchBit)) id = many ? kBitmapBurnersManual : kBitmapBurnerManual;
    paint.Bitmap(id, x, y, 40, 40);
}

void DrawStatusColumn(platform::Painter& paint, const std::vector<PanelText>& lines, int left,
                      int right, int top, int pitch, int height)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int y = top + static_cast<int>(i) * pitch;
        paint.Text(lines[i].text, RECT{left, y, right, y + height}, lines[i].colour, 12, 500,
                   kLeft);
    }
}

std::wstring MoistureText(int tenths, const wchar_t* format)
{
    return Format(format, tenths / 10, tenths % 10);
}

// The large readout: grain temperature and setpoint(s), or discharge moisture and setpoint.
void DrawLargeReadout(platform::Painter& paint, const PanelImage& image)
{
    const bool si = Celsius(image);
    const wchar_t unit = si ? L'C' : L'F';
    if (TemperatureReadout(image)) {
        paint.TextToFit(Format(L"%d", DisplayTemperature(Value(image, GrainTempEntry(0)), si)),
                        RECT{0, 335, 140, 415}, kGreen, 75, 900, kRight);
        paint.Text(Format(L"%c%c", kDegree, unit), RECT{140, 345, 230, 385}, kGreen, 30, 900,
                   kLeft);
        const bool dual = IsSet(image, dualHeatBit);
        int value = Value(image, grainSetpointMain);
        if (Value(image, dryingType) != kContinuousFlow && dual) {
            value = Value(image, grainSetpointLower);
        }
        const int shown = DisplayTemperature(value, si);
        const std::wstring line = dual ? Format(L"L-SP %d%c%c", shown, kDegree, unit)
                                       : Format(L"SP %d%c%c", shown, kDegree, unit);
        paint.Text(line, RECT{160, 395, 250, 415}, kSetpointYellow, 16, 500, kLeft);
        if (dual) {
            paint.Text(
                Format(L"U-SP %d%c%c", DisplayTemperature(Value(image, grainSetpointUpper), si),
                       kDegree, unit),
                RECT{160, 380, 250, 400}, kSetpointYellow, 16, 500, kLeft);
        }
        return;
    }
    paint.TextToFit(MoistureText(Value(image, dryMoisture), L"%d.%1d"), RECT{0, 335, 140, 415},
                    kGreen, 75, 900, kRight);
    paint.Text(L"%", RECT{140, 345, 230, 385}, kGreen, 30, 900, kLeft);
    paint.Text(MoistureText(Value(image, moistureSetpoint), L"SP %d.%1d%%"),
               RECT{165, 395, 250, 415}, kSetpointYellow, 16, 500, kLeft);
}

std::wstring GrainTempLabel(const PanelImage& image, int fahrenheit)
{
    if (IsSet(image, riceBit)) return L"RICE";
    const bool si = Celsius(image);
    return Format(L"%d%c%c", DisplayTemperature(fahrenheit, si), kDegree, si ? L'C' : L'F');
}

void DrawTicks(platform::Painter& paint, int x1, int x2, int from, int to)
{
    for (int y = from; y <= to; y += 10) paint.Line(x1, y, x2, y, kLeaderGrey, 1);
}

void PaintOneModule(platform::Painter& paint, const HomePanelInputs& in)
{
    const PanelImage& image = in.image;
    paint.Bitmap(kBitmapOneModuleDryer, 0, 25, 180, 315);
    DrawBurner(paint, image, HeaterCount(image) > 1 ? 185 : 75, 100);
    DrawFans(paint, in, DryerPicture::OneModule);
    DrawSymbols(paint, in, 0, 35, 292, 282);

    paint.Line(135, 48, 190, 48, kLeaderGrey, 1);
    paint.Line(175, 208, 190, 208, kLeaderGrey, 1);
    if (Value(image, dryingType) == kBatchDrying) {
        paint.Text(L"Ave In:", RECT{1, 30, 60, 50}, kTextBlue, 12, 500, kLeft);
        paint.Text(L"Ave Out:", RECT{1, 55, 60, 75}, kTextBlue, 12, 500, kLeft);
        // The averages end where the load symbol begins (at 75): they step down to fit before it.
        const std::wstring averageIn = MoistureText(Value(image, averageInMoisture), L"%d.%d%%");
        const std::wstring averageOut = MoistureText(Value(image, averageOutMoisture), L"%d.%d%%");
        constexpr LONG kBeforeLoadSymbol = 75 - 50;
        paint.Text(averageIn, RECT{50, 30, 130, 50}, kReadingGreen,
                   paint.FittedHeight(averageIn, kBeforeLoadSymbol, 18, 500, 1, 11), 500, kLeft);
        paint.Text(averageOut, RECT{50, 55, 130, 75}, kReadingGreen,
                   paint.FittedHeight(averageOut, kBeforeLoadSymbol, 18, 500, 1, 11), 500, kLeft);
    }
    paint.Text(MoistureText(Value(image, wetMoisture), L"%d.%1d%%"), RECT{192, 40, 250, 60},
               kMoistureGreen, 16, 500, kLeft);
    paint.Text(GrainTempLabel(image, Value(image, GrainTempEntry(0))), RECT{195, 200, 250, 220},
               kYellow, 16, 500, kLeft);
    const int scheme = MoistureScheme(image);
    const bool temperatureScheme = scheme == kSchemeTemp || scheme == kSchemeTempFiveSpeed;
    DrawTicks(paint, 170, 178, 285, temperatureScheme ? 355 : 345);
    DrawStatusColumn(paint, DryerStatusLines(image, DryerPicture::OneModule), 180, 250, 280, 10,
                     20);
    DrawLargeReadout(paint, image);
}

// Where the two- and three-module pictures put what they share.
struct ModuleLayout {
    DryerPicture picture;
    int body;  // bitmap of the dryer body, drawn at 0, bodyTop
    int bodyTop, bodyWidth, bodyHeight;
    int symbolsDx, loadY, unloadY, rollY;
    int column;  // left edge of the texts beside the body (100 wide)
    int linesTop, linePitch, lineHeight;
    int samplerTop;  // the sampler line, apart from the others
    COLORREF grainColour;
    RECT discharge;  // the discharge moisture in large digits
};
constexpr ModuleLayout kTwoModules{DryerPicture::TwoModule,
                                   kBitmapTwoModuleDryer,
                                   10,
                                   150,
                                   400,
                                   -20,
                                   12,
                                   372,
                                   350,
                                   155,
                                   272,
                                   12,
                                   14,
                                   366,
                                   kMoistureGreen,
                                   RECT{155, 376, 255, 406}};
constexpr ModuleLayout kThreeModules{DryerPicture::ThreeModule,
                                     kBitmapThreeModuleDryer,
                                     5,
                                     140,
                                     410,
                                     -22,
                                     8,
                                     376,
                                     354,
                                     145,
                                     260,
                                     15,
                                     15,
                                     244,
                                     kCyan,
                                     RECT{142, 380, 242, 420}};

void PaintModules(platform::Painter& paint, const HomePanelInputs& in, const ModuleLayout& at)
{
    const PanelImage& image = in.image;
    paint.Bitmap(at.body, 0, at.bodyTop, at.bodyWidth, at.bodyHeight);
    DrawFans(paint, in, at.picture);
    DrawBurner(paint, image, 180, 60);
    DrawSymbols(paint, in, at.symbolsDx, at.loadY, at.unloadY, at.rollY);
    const int right = at.column + 100;
    paint.Text(MoistureText(Value(image, wetMoisture), L"%d.%1d%%"), RECT{at.column, 12, right, 32},
               kMoistureGreen, 16, 500, kLeft);
    paint.Text(GrainTempLabel(image, SelectedGrainTemp(image)), RECT{at.column, 136, right, 156},
               at.grainColour, 16, 500, kLeft);
    std::vector<PanelText> lines = DryerStatusLines(image, at.picture);
    const PanelText sampler = lines.back();
    lines.pop_back();
    DrawStatusColumn(paint, lines, at.column, right, at.linesTop, at.linePitch, at.lineHeight);
    paint.Text(sampler.text, RECT{at.column, at.samplerTop, right, at.samplerTop + 12},
               sampler.colour, 12, 500, kLeft);
    // The box of the large digits reaches past the picture's right edge: they fit what is shown.
    const std::wstring discharge = MoistureText(Value(image, dryMoisture), L"%d.%1d%%");
    const LONG shown = std::min<LONG>(at.discharge.right, paint.width()) - at.discharge.left;
    paint.Text(discharge, at.discharge, kGreen, paint.FittedHeight(discharge, shown, 30, 700), 700,
               kLeft);
}

void PaintTwoModule(platform::Painter& paint, const HomePanelInputs& in)
{
    PaintModules(paint, in, kTwoModules);
    paint.Line(143, 22, 153, 22, kLeaderGrey, 1);
    paint.Line(143, 146, 153, 146, kLeaderGrey, 1);
    DrawTicks(paint, 143, 153, 278, 362);
}

void PaintThreeModule(platform::Painter& paint, const HomePanelInputs& in)
{
    const PanelImage& image = in.image;
    PaintModules(paint, in, kThreeModules);
    if (TemperatureReadout(image)) {
        const bool si = Celsius(image);
        paint.Text(Format(L"SP: %d %c%c", DisplayTemperature(Value(image, grainSetpointMain), si),
                          kDegree, si ? L'C' : L'F'),
                   RECT{145, 365, 245, 385}, kYellow, 16, 500, kLeft);
    } else {
        paint.Text(MoistureText(Value(image, moistureSetpoint), L"SP: %d.%1d%%"),
                   RECT{145, 365, 245, 385}, kSetpointYellow, 16, 500, kLeft);
    }
}

void PaintTower(platform::Painter& paint, const HomePanelInputs& in)
{
    const PanelImage& image = in.image;
    paint.Bitmap(kBitmapTowerDryer, 0, 25, 180, 315);
    // One central burner; the tower has no fan pictures of its own.
    const int id = IsSet(image, manualSwitchBit) ? kBitmapBurnerManual : kBitmapBurner;
    paint.Bitmap(id, 70, 160, 40, 40);
    DrawSymbols(paint, in, 0, 35, 292, 282);
    paint.Line(135, 48, 190, 48, kLeaderGrey, 1);
    paint.Line(175, 208, 190, 208, kLeaderGrey, 1);
    paint.Text(MoistureText(Value(image, wetMoisture), L"%d.%1d%%"), RECT{192, 40, 250, 60},
               kMoistureGreen, 16, 500, kLeft);
    paint.Text(GrainTempLabel(image, Value(image, GrainTempEntry(0))), RECT{195, 200, 250, 220},
               kYellow, 16, 500, kLeft);
    DrawTicks(paint, 170, 178, 285, 345);
    DrawStatusColumn(paint, DryerStatusLines(image, DryerPicture::Tower), 180, 250, 280, 10, 20);
    DrawLargeReadout(paint, image);
}

void MaybeAskBatchMessage(HWND wnd, const PanelImage& image)
{
    const bool condition =
        IsSet(image, unloadManualBit) && Value(image, dryingType) == kBatchDrying;
    if (!condition) {
        batchMessageShown = false;
        return;
    }
    if (batchMessageShown) return;
    batchMessageShown = true;
    // Shown after the paint, so that the message box never runs inside WM_PAINT.
    PostMessage(wnd, kMsgBatchMessage, 0, 0);
}

void PaintDryerPicture(HWND wnd)
{
    const HomePanelInputs in = ReadHomePanelInputs();
    MaybeAskBatchMessage(wnd, in.image);
    platform::Painter paint(wnd, kBlack);
    switch (ChooseDryerPicture(in.image)) {
        case DryerPicture::OneModule: PaintOneModule(paint, in); break;
        case DryerPicture::TwoModule: PaintTwoModule(paint, in); break;
        case DryerPicture::ThreeModule: PaintThreeModule(paint, in); break;
        case DryerPicture::Tower: PaintTower(paint, in); break;
    }
    if (IsSet(in.image, runIndicatorBit)) {
        paint.Bitmap(kBitmapRunIndicator, 0, 0, 32, 32);
    }
}

}  // namespace

namespace home_panels {
void ResetDryerPictureState()
{
    batchMessageShown = false;
}
}  // namespace home_panels

LRESULT DryerPicProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: PaintDryerPicture(hwnd); return 0;
        case kMsgBatchMessage:
            MessageBox(
                hwnd,
                L"BATCH OPERATION REQUIRES THE UNLOAD TO BE IN AUTO! UNLOAD WILL NOT STOP IN "
                L"MANUAL!",
                L"CONTINUE?", MB_OK);
            return 0;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}
