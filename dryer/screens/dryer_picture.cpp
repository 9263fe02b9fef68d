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

void DrawFans(HDC dc, const HomePanelInputs& in, DryerPicture picture)
{
    const int count = std::min(HeaterCount(in.image), 6);
    const std::vector<Place> places = FanPlaces(picture, count);
    const bool single = count == 1;
    for (int i = 0; i < count; ++i) {
        const int heater = count - i;  // top of the stack first
        const int id =
            FanBitmap(in.image, heater, in.fanPhase[static_cast<std::size_t>(heater - 1)], single);
        DrawPanelBitmap(dc, id, places[static_cast<std::size_t>(i)].x,
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

void DrawSymbols(HDC dc, const HomePanelInputs& in, int dx, int loadY, int unloadY, int rollY)
{
    DrawPanelBitmap(dc, SymbolBitmap(in.loadPhase), 75 + dx, loadY, 38, 38);
    DrawPanelBitmap(dc, SymbolBitmap(in.unloadPhase), 75 + dx, unloadY, 38, 38);
    DrawPanelBitmap(dc, kBitmapMeterRoll + std::clamp(in.meterRollLeftPhase, 0, 2), 55 + dx, rollY,
                    23, 23);
    DrawPanelBitmap(dc, kBitmapMeterRoll + std::clamp(in.meterRollRightPhase, 0, 2), 107 + dx,
                    rollY, 23, 23);
}

void DrawBurner(HDC dc, const PanelImage& image, int x, int y)
{
    const bool many = HeaterCount(image) > 1;
    int id = many ? kBitmapBurners : kBitmapBurner;
    if (IsSet(image, manualSwitchBit)) id = many ? kBitmapBurnersManual : kBitmapBurnerManual;
    DrawPanelBitmap(dc, id, x, y, 40, 40);
}

void DrawStatusColumn(HDC dc, const std::vector<PanelText>& lines, int left, int right, int top,
                      int pitch, int height)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int y = top + static_cast<int>(i) * pitch;
        DrawPanelText(dc, lines[i].text, RECT{left, y, right, y + height}, lines[i].colour, 12, 500,
                      kLeft);
    }
}

std::wstring MoistureText(int tenths, const wchar_t* format)
{
    return Format(format, tenths / 10, tenths % 10);
}

// The large readout: grain temperature and setpoint(s), or discharge moisture and setpoint.
void DrawLargeReadout(HDC dc, const PanelImage& image)
{
    const bool si = Celsius(image);
    const wchar_t unit = si ? L'C' : L'F';
    if (TemperatureReadout(image)) {
        DrawPanelTextToFit(dc,
                           Format(L"%d", DisplayTemperature(Value(image, GrainTempEntry(0)), si)),
                           RECT{0, 335, 140, 415}, kGreen, 75, 900, kRight);
        DrawPanelText(dc, Format(L"%c%c", kDegree, unit), RECT{140, 345, 230, 385}, kGreen, 30, 900,
                      kLeft);
        const bool dual = IsSet(image, dualHeatBit);
        int value = Value(image, grainSetpointMain);
        if (Value(image, dryingType) != kContinuousFlow && dual) {
            value = Value(image, grainSetpointLower);
        }
        const int shown = DisplayTemperature(value, si);
        const std::wstring line = dual ? Format(L"L-SP %d%c%c", shown, kDegree, unit)
                                       : Format(L"SP %d%c%c", shown, kDegree, unit);
        DrawPanelText(dc, line, RECT{160, 395, 250, 415}, kSetpointYellow, 16, 500, kLeft);
        if (dual) {
            DrawPanelText(
                dc,
                Format(L"U-SP %d%c%c", DisplayTemperature(Value(image, grainSetpointUpper), si),
                       kDegree, unit),
                RECT{160, 380, 250, 400}, kSetpointYellow, 16, 500, kLeft);
        }
        return;
    }
    DrawPanelTextToFit(dc, MoistureText(Value(image, dryMoisture), L"%d.%1d"),
                       RECT{0, 335, 140, 415}, kGreen, 75, 900, kRight);
    DrawPanelText(dc, L"%", RECT{140, 345, 230, 385}, kGreen, 30, 900, kLeft);
    DrawPanelText(dc, MoistureText(Value(image, moistureSetpoint), L"SP %d.%1d%%"),
                  RECT{165, 395, 250, 415}, kSetpointYellow, 16, 500, kLeft);
}

std::wstring GrainTempLabel(const PanelImage& image, int fahrenheit)
{
    if (IsSet(image, riceBit)) return L"RICE";
    const bool si = Celsius(image);
    return Format(L"%d%c%c", DisplayTemperature(fahrenheit, si), kDegree, si ? L'C' : L'F');
}

void DrawTicks(HDC dc, int x1, int x2, int from, int to)
{
    for (int y = from; y <= to; y += 10) DrawPanelLine(dc, x1, y, x2, y, kLeaderGrey, 1);
}

void PaintOneModule(HDC dc, const HomePanelInputs& in)
{
    const PanelImage& image = in.image;
    DrawPanelBitmap(dc, kBitmapOneModuleDryer, 0, 25, 180, 315);
    DrawBurner(dc, image, HeaterCount(image) > 1 ? 185 : 75, 100);
    DrawFans(dc, in, DryerPicture::OneModule);
    DrawSymbols(dc, in, 0, 35, 292, 282);

    DrawPanelLine(dc, 135, 48, 190, 48, kLeaderGrey, 1);
    DrawPanelLine(dc, 175, 208, 190, 208, kLeaderGrey, 1);
    if (Value(image, dryingType) == kBatchDrying) {
        DrawPanelText(dc, L"Ave In:", RECT{1, 30, 60, 50}, kTextBlue, 12, 500, kLeft);
        DrawPanelText(dc, L"Ave Out:", RECT{1, 55, 60, 75}, kTextBlue, 12, 500, kLeft);
        DrawPanelText(dc, MoistureText(Value(image, averageInMoisture), L"%d.%d%%"),
                      RECT{50, 30, 130, 50}, kReadingGreen, 18, 500, kLeft);
        DrawPanelText(dc, MoistureText(Value(image, averageOutMoisture), L"%d.%d%%"),
                      RECT{50, 55, 130, 75}, kReadingGreen, 18, 500, kLeft);
    }
    DrawPanelText(dc, MoistureText(Value(image, wetMoisture), L"%d.%1d%%"), RECT{192, 40, 250, 60},
                  kMoistureGreen, 16, 500, kLeft);
    DrawPanelText(dc, GrainTempLabel(image, Value(image, GrainTempEntry(0))),
                  RECT{195, 200, 250, 220}, kYellow, 16, 500, kLeft);
    const int scheme = MoistureScheme(image);
    const bool temperatureScheme = scheme == kSchemeTemp || scheme == kSchemeTempFiveSpeed;
    DrawTicks(dc, 170, 178, 285, temperatureScheme ? 355 : 345);
    DrawStatusColumn(dc, DryerStatusLines(image, DryerPicture::OneModule), 180, 250, 280, 10, 20);
    DrawLargeReadout(dc, image);
}

void PaintTwoModule(HDC dc, const HomePanelInputs& in)
{
    const PanelImage& image = in.image;
    DrawPanelBitmap(dc, kBitmapTwoModuleDryer, 0, 10, 150, 400);
    DrawFans(dc, in, DryerPicture::TwoModule);
    DrawBurner(dc, image, 180, 60);
    DrawSymbols(dc, in, -20, 12, 372, 350);
    DrawPanelText(dc, MoistureText(Value(image, wetMoisture), L"%d.%1d%%"), RECT{155, 12, 255, 32},
                  kMoistureGreen, 16, 500, kLeft);
    DrawPanelText(dc, GrainTempLabel(image, SelectedGrainTemp(image)), RECT{155, 136, 255, 156},
                  kMoistureGreen, 16, 500, kLeft);
    DrawPanelLine(dc, 143, 22, 153, 22, kLeaderGrey, 1);
    DrawPanelLine(dc, 143, 146, 153, 146, kLeaderGrey, 1);
    DrawTicks(dc, 143, 153, 278, 362);
    std::vector<PanelText> lines = DryerStatusLines(image, DryerPicture::TwoModule);
    const PanelText sampler = lines.back();
    lines.pop_back();
    DrawStatusColumn(dc, lines, 155, 255, 272, 12, 14);
    DrawPanelText(dc, sampler.text, RECT{155, 366, 255, 378}, sampler.colour, 12, 500, kLeft);
    DrawPanelText(dc, MoistureText(Value(image, dryMoisture), L"%d.%1d%%"),
                  RECT{155, 376, 255, 406}, kGreen, 30, 700, kLeft);
}

void PaintThreeModule(HDC dc, const HomePanelInputs& in)
{
    const PanelImage& image = in.image;
    DrawPanelBitmap(dc, kBitmapThreeModuleDryer, 0, 5, 140, 410);
    DrawFans(dc, in, DryerPicture::ThreeModule);
    DrawBurner(dc, image, 180, 60);
    DrawSymbols(dc, in, -22, 8, 376, 354);
    DrawPanelText(dc, MoistureText(Value(image, wetMoisture), L"%d.%1d%%"), RECT{145, 12, 245, 32},
                  kMoistureGreen, 16, 500, kLeft);
    DrawPanelText(dc, GrainTempLabel(image, SelectedGrainTemp(image)), RECT{145, 136, 245, 156},
                  kCyan, 16, 500, kLeft);
    std::vector<PanelText> lines = DryerStatusLines(image, DryerPicture::ThreeModule);
    const PanelText sampler = lines.back();
    lines.pop_back();
    DrawPanelText(dc, sampler.text, RECT{145, 244, 245, 258}, sampler.colour, 12, 500, kLeft);
    DrawStatusColumn(dc, lines, 145, 245, 260, 15, 15);
    if (TemperatureReadout(image)) {
        const bool si = Celsius(image);
        DrawPanelText(
            dc,
            Format(L"SP: %d %c%c", DisplayTemperature(Value(image, grainSetpointMain), si), kDegree,
                   si ? L'C' : L'F'),
            RECT{145, 365, 245, 385}, kYellow, 16, 500, kLeft);
    } else {
        DrawPanelText(dc, MoistureText(Value(image, moistureSetpoint), L"SP: %d.%1d%%"),
                      RECT{145, 365, 245, 385}, kSetpointYellow, 16, 500, kLeft);
    }
    DrawPanelText(dc, MoistureText(Value(image, dryMoisture), L"%d.%d%%"), RECT{142, 380, 242, 420},
                  kGreen, 30, 700, kLeft);
}

void PaintTower(HDC dc, const HomePanelInputs& in)
{
    const PanelImage& image = in.image;
    DrawPanelBitmap(dc, kBitmapTowerDryer, 0, 25, 180, 315);
    // One central burner; the tower has no fan pictures of its own.
    const int id = IsSet(image, manualSwitchBit) ? kBitmapBurnerManual : kBitmapBurner;
    DrawPanelBitmap(dc, id, 70, 160, 40, 40);
    DrawSymbols(dc, in, 0, 35, 292, 282);
    DrawPanelLine(dc, 135, 48, 190, 48, kLeaderGrey, 1);
    DrawPanelLine(dc, 175, 208, 190, 208, kLeaderGrey, 1);
    DrawPanelText(dc, MoistureText(Value(image, wetMoisture), L"%d.%1d%%"), RECT{192, 40, 250, 60},
                  kMoistureGreen, 16, 500, kLeft);
    DrawPanelText(dc, GrainTempLabel(image, Value(image, GrainTempEntry(0))),
                  RECT{195, 200, 250, 220}, kYellow, 16, 500, kLeft);
    DrawTicks(dc, 170, 178, 285, 345);
    DrawStatusColumn(dc, DryerStatusLines(image, DryerPicture::Tower), 180, 250, 280, 10, 20);
    DrawLargeReadout(dc, image);
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
    PaintBuffer buffer(wnd, kBlack);
    switch (ChooseDryerPicture(in.image)) {
        case DryerPicture::OneModule: PaintOneModule(buffer.dc(), in); break;
        case DryerPicture::TwoModule: PaintTwoModule(buffer.dc(), in); break;
        case DryerPicture::ThreeModule: PaintThreeModule(buffer.dc(), in); break;
        case DryerPicture::Tower: PaintTower(buffer.dc(), in); break;
    }
    if (IsSet(in.image, runIndicatorBit)) {
        DrawPanelBitmap(buffer.dc(), kBitmapRunIndicator, 0, 0, 32, 32);
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
