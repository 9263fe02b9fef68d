// The dryer picture of the home screen (left column, 240 x 420): a drawing of the dryer chosen
// by its construction with animated fans and burners, the grain temperature or moisture in
// large digits with its setpoint, and a column of short status lines.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/screens/home_panels.h"
#include "platform/drawing/gdi.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"

namespace home_panels {

namespace {

constexpr COLORREF kGreen = 0x0000FF00;
constexpr COLORREF kRed = 0x000000FF;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kYellow = 0x0000FFFF;
constexpr COLORREF kBlue = 0x00FF0000;
constexpr COLORREF kSetpoint = 0x0000C8C8;

constexpr double kTonnesPerBushel = 0.025400050800101603;

int Scheme(const PanelImage& image)
{
    return MoistureScheme(image);
}
int Type(const PanelImage& image)
{
    return image[dryingType.offset];
}

wchar_t Unit(const PanelImage& image)
{
    return Celsius(image) ? L'C' : L'F';
}
int Shown(const PanelImage& image, int fahrenheit)
{
    return DisplayTemperature(fahrenheit, Celsius(image));
}

std::wstring Moisture(int tenths, const wchar_t* format)
{
    return Format(format, tenths / 10, tenths % 10);
}

// ---- the status lines, one function each ----

PanelText TypeLine(const PanelImage& image)
{
    if (Type(image) == 1) return {L"BATCH", kGreen};
    if (Type(image) != 0) return {L"TYPE:NONE", kGreen};
    switch (Scheme(image)) {
        case 2: return {L"3 SPEED", kGreen};
        case 4: return {L"5 SPEED", kGreen};
        case 3: return {L"VARIABLE", kGreen};
        case 1: return {L"TEMP", kGreen};
        case 5: return {L"TEMP-5SP", kGreen};
        default: return {L"MC: NONE", kGreen};
    }
}

PanelText ControlModeLine(const PanelImage& image)
{
    const std::uint8_t options = image[dryerOptions.offset];
    const std::uint8_t mode = image[moistureControlMode.offset];
    const bool automatic = (mode & 0x80) != 0;
    if (Type(image) == 1) {
        const bool time = (options & 0x10) != 0;
        const bool temp = (options & 0x20) != 0;
        if (time && temp) return {L"TIME:TEMP", kGreen};
        if (temp) return {L"TEMP", kGreen};
        if (time) return {L"TIME", kGreen};
        if ((options & 0x40) != 0) return {L"MOIST", kGreen};
        return {L"NONE", kGreen};
    }
    const int scheme = Scheme(image);
    const std::uint8_t speed = image[moistureModeSetting.offset];
    switch (scheme) {
        case 1:
            if (!automatic) return {L"MANUAL", kRed};
            return {(mode & 0x40) != 0 ? L"ON/OFF" : L"AUTO 2SP", kGreen};
        case 4:
        case 5:
            if (!automatic) return {L"MANUAL", kRed};
            return {scheme == 4 && Bit(image, optionByte224.offset, 7) ? L"AUTO CENTER" : L"AUTO",
                    kGreen};
        case 2:
            if (speed == 5 || speed == 6 || speed == 7) return {L"AUTO", kGreen};
            return {L"MANUAL", kRed};
        default:
            if (Type(image) == 3) {
                if (!Bit(image, 179, 1)) return {L"AUTO", kGreen};
                return {L"MANUAL", kRed};
            }
            if (speed == 3) return {L"AUTO", kGreen};
            return {L"MANUAL", kRed};
    }
}

PanelText SpeedLine(const PanelImage& image)
{
    const int value = image[mediumWhole.offset];
    const int scheme = Scheme(image);
    if (scheme == 2) {
        switch (image[moistureModeSetting.offset]) {
            case 5: return {Format(L"HI %d", value), kRed};
            case 6: return {Format(L"LO %d", value), kRed};
            default: return {Format(L"MED %d", value), kRed};
        }
    }
    if (scheme == 4 || scheme == 5) {
        if (!Bit(image, moistureControlMode.offset, 7)) return {Format(L"MED %d", value), kRed};
        switch (image[moisturePanelBits.offset] & 0x07) {
            case 4: return {Format(L"HI %d", value), kRed};
            case 3: return {Format(L"M-HI %d", value), kRed};
            case 1: return {Format(L"M-LO %d", value), kRed};
            case 0: return {Format(L"LO %d", value), kRed};
            default: return {Format(L"MED %d", value), kRed};
        }
    }
    switch (image[meteringMode.offset]) {
        case 2: return {Format(L"HI %d", value), kRed};
        case 0:
            if (Bit(image, moistureControlMode.offset, 6)) return {L"OFF", kRed};
            return {Format(L"LOW %d", value), kRed};
        default: return {Format(L"MED %d.%d", value, image[mediumTenths.offset]), kRed};
    }
}

PanelText MeterRollLine(const PanelImage& image, bool tower)
{
    if (Type(image) == 1 && !tower) {
        return {Format(L"BAT %d", WordBe(image, batchCount.offset)), kWhite};
    }
    if (Bit(image, optionByte49.offset, 5)) return {L"DISABLED", kWhite};
    const int rpm = WordBe(image, unloadTenthsValue.offset);
    if (tower) return {Format(L"RPM %d.%02d", rpm / 100, rpm % 100), kWhite};
    return {Format(L"RPM %d.%01d", rpm / 10, rpm % 10), kWhite};
}

PanelText ThroughputLine(const PanelImage& image, bool metricForms)
{
    const int bph = WordBe(image, bushelsPerHour.offset);
    if (metricForms && Celsius(image)) {
        return {Format(L"MTH %d", static_cast<int>(bph * kTonnesPerBushel)), kWhite};
    }
    return {Format(L"BPH %d", bph), kWhite};
}

PanelText TotalLine(const PanelImage& image, bool metricForms)
{
    const std::uint32_t counter = ReadLe32(image, bushelCounter.offset);
    if (metricForms && Celsius(image)) {
        return {Format(L"MT %d", static_cast<int>(counter * kTonnesPerBushel / 3600.0)), kWhite};
    }
    return {Format(L"TB %d", static_cast<int>(counter / 3600)), kWhite};
}

// The sensor temperature is in tenths of a degree Fahrenheit; in Celsius it is converted from
// the tenths to whole degrees.
PanelText SensorTempLine(const PanelImage& image)
{
    const int tenths = static_cast<std::int16_t>(WordBe(image, drySensorTemp.offset));
    if (Celsius(image)) return {Format(L"%d %cC", (tenths - 320) * 5 / 90, kDegree), kYellow};
    return {Format(L"%d %cF", tenths / 10, kDegree), kYellow};
}

bool DischargeLineShown(const PanelImage& image)
{
    return Scheme(image) == 1 || Scheme(image) == 5 || Bit(image, dryerOptions.offset, 4);
}

PanelText DischargeLine(const PanelImage& image)
{
    return {Moisture(WordBe(image, dryMoisture.offset), L"%d.%d%%"), kGreen};
}

PanelText SamplerLine(const PanelImage& image)
{
    if (!Bit(image, samplerOption.offset, 7)) return {};
    if (Bit(image, samplerBits.offset, 0)) return {L"CLEANING", kBlue};
    if (Bit(image, samplerBits.offset, 1)) return {L"SAMPLING", kBlue};
    return {L"STOPPED", kBlue};
}

PanelText SetpointLine(const PanelImage& image)
{
    if (TemperatureReadout(image)) {
        return {Format(L"SP: %d %c%c", Shown(image, WordLe(image, 149)), kDegree, Unit(image)),
                kSetpoint};
    }
    return {Moisture(WordBe(image, moistureSetpoint.offset), L"SP: %d.%1d%%"), kSetpoint};
}

}  // namespace

DryerPicture ChooseDryerPicture(const PanelImage& image)
{
    const std::uint8_t modules = image[moduleCountCode.offset];
    if (modules == 1) return DryerPicture::TwoModule;
    if (modules == 2) return DryerPicture::ThreeModule;
    if (Bit(image, dryerConfigBits.offset, 7)) return DryerPicture::OneModule;
    if (Bit(image, dryerConfigBits.offset, 5)) return DryerPicture::Tower;
    return DryerPicture::OneModule;
}

int DryerBodyBitmap(DryerPicture picture)
{
    switch (picture) {
        case DryerPicture::TwoModule: return 324;
        case DryerPicture::ThreeModule: return 323;
        case DryerPicture::Tower: return 406;
        case DryerPicture::OneModule: break;
    }
    return 367;
}

bool TemperatureReadout(const PanelImage& image)
{
    const int scheme = Scheme(image);
    if (scheme == 1 && (image[moistureControlMode.offset] & 0x38) == 0) return true;
    if (scheme == 5) return true;
    return Type(image) == 1 && (image[dryerOptions.offset] & 0x30) != 0;
}

std::vector<PanelText> DryerStatusLines(const PanelImage& image, DryerPicture picture)
{
    std::vector<PanelText> lines;
    switch (picture) {
        case DryerPicture::OneModule:
            lines = {TypeLine(image),
                     ControlModeLine(image),
                     SpeedLine(image),
                     MeterRollLine(image, false),
                     ThroughputLine(image, true),
                     TotalLine(image, true),
                     SensorTempLine(image)};
            lines.push_back(DischargeLineShown(image) ? DischargeLine(image) : PanelText{});
            lines.push_back(SamplerLine(image));
            break;
        case DryerPicture::TwoModule:
            lines = {TypeLine(image),
                     ControlModeLine(image),
                     SpeedLine(image),
                     MeterRollLine(image, false),
                     ThroughputLine(image, true),
                     TotalLine(image, true),
                     SensorTempLine(image),
                     SetpointLine(image),
                     SamplerLine(image)};
            break;
        case DryerPicture::ThreeModule:
            lines = {TypeLine(image),
                     ControlModeLine(image),
                     SpeedLine(image),
                     ThroughputLine(image, true),
                     MeterRollLine(image, false),
                     TotalLine(image, true),
                     SensorTempLine(image),
                     SamplerLine(image)};
            break;
        case DryerPicture::Tower:
            lines = {ControlModeLine(image),     SpeedLine(image),
                     MeterRollLine(image, true), ThroughputLine(image, false),
                     TotalLine(image, false),    SensorTempLine(image)};
            lines.push_back(Scheme(image) == 1 || Scheme(image) == 5 ? DischargeLine(image)
                                                                     : PanelText{});
            lines.push_back(SamplerLine(image));
            break;
    }
    return lines;
}

int FanBitmap(const PanelImage& image, int heater, int frame, bool single)
{
    const std::uint8_t flags = image[HeaterByteOffset(heaterPictureBits, heater)];
    const std::uint8_t state = image[HeaterByteOffset(heaterState, heater)];
    const int f = (frame < 0 || frame > 2) ? 0 : frame;
    int first = single ? 292 : 341;  // idle, white blades
    if ((flags & 0x02) != 0) {
        if ((state & 0x04) != 0) {
            first = single ? 301 : 347;  // high fire, red
        } else {
            first = single ? 304 : 350;  // low fire
        }
    } else if ((flags & 0x01) != 0) {
        first = single ? 295 : 344;  // running, blue
    }
    return first + f;
}

}  // namespace home_panels

namespace {

using namespace home_panels;

constexpr UINT kLeft = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr UINT kRight = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;
constexpr UINT kMsgBatchMessage = WM_APP + 0x40;  // shows the one-shot batch message

constexpr COLORREF kGreen = 0x0000FF00;
constexpr COLORREF kBlueText = 0x00960000;
constexpr COLORREF kAverageGreen = 0x0000FA00;
constexpr COLORREF kMoistureGreen = 0x0000C800;
constexpr COLORREF kYellow = 0x0000FFFF;
constexpr COLORREF kLeader = 0x00AFAFAF;
constexpr COLORREF kSetpoint = 0x0000C8C8;
constexpr COLORREF kCyan = 0x00FFFF00;

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
        case 1: return 311;
        case 2: return 316;
        default: return 310;
    }
}

void DrawSymbols(HDC dc, const HomePanelInputs& in, int dx, int loadY, int unloadY, int rollY)
{
    DrawPanelBitmap(dc, SymbolBitmap(in.loadPhase), 75 + dx, loadY, 38, 38);
    DrawPanelBitmap(dc, SymbolBitmap(in.unloadPhase), 75 + dx, unloadY, 38, 38);
    DrawPanelBitmap(dc, 317 + std::clamp(in.meterRollLeftPhase, 0, 2), 55 + dx, rollY, 23, 23);
    DrawPanelBitmap(dc, 317 + std::clamp(in.meterRollRightPhase, 0, 2), 107 + dx, rollY, 23, 23);
}

void DrawBurner(HDC dc, const PanelImage& image, int x, int y)
{
    const bool many = HeaterCount(image) > 1;
    int id = many ? 490 : 485;
    if (Bit(image, 183, 1)) id = many ? 489 : 487;
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
        DrawPanelTextToFit(dc, Format(L"%d", DisplayTemperature(WordLe(image, 93), si)),
                           RECT{0, 335, 140, 415}, kGreen, 75, 900, kRight);
        DrawPanelText(dc, Format(L"%c%c", kDegree, unit), RECT{140, 345, 230, 385}, kGreen, 30, 900,
                      kLeft);
        const bool dual = Bit(image, dryerOptions.offset, 1);
        int value = WordLe(image, 149);
        if (image[dryingType.offset] != 0 && dual) value = WordLe(image, 153);
        const int shown = DisplayTemperature(value, si);
        const std::wstring line = dual ? Format(L"L-SP %d%c%c", shown, kDegree, unit)
                                       : Format(L"SP %d%c%c", shown, kDegree, unit);
        DrawPanelText(dc, line, RECT{160, 395, 250, 415}, kSetpoint, 16, 500, kLeft);
        if (dual) {
            DrawPanelText(
                dc,
                Format(L"U-SP %d%c%c", DisplayTemperature(WordLe(image, 151), si), kDegree, unit),
                RECT{160, 380, 250, 400}, kSetpoint, 16, 500, kLeft);
        }
        return;
    }
    DrawPanelTextToFit(dc, MoistureText(WordBe(image, dryMoisture.offset), L"%d.%1d"),
                       RECT{0, 335, 140, 415}, kGreen, 75, 900, kRight);
    DrawPanelText(dc, L"%", RECT{140, 345, 230, 385}, kGreen, 30, 900, kLeft);
    DrawPanelText(dc, MoistureText(WordBe(image, moistureSetpoint.offset), L"SP %d.%1d%%"),
                  RECT{165, 395, 250, 415}, kSetpoint, 16, 500, kLeft);
}

std::wstring GrainTempLabel(const PanelImage& image, int fahrenheit)
{
    if (Bit(image, dryerConfigBits.offset, 2)) return L"RICE";
    const bool si = Celsius(image);
    return Format(L"%d%c%c", DisplayTemperature(fahrenheit, si), kDegree, si ? L'C' : L'F');
}

void DrawTicks(HDC dc, int x1, int x2, int from, int to)
{
    for (int y = from; y <= to; y += 10) DrawPanelLine(dc, x1, y, x2, y, kLeader, 1);
}

void PaintOneModule(HDC dc, const HomePanelInputs& in)
{
    const PanelImage& image = in.image;
    DrawPanelBitmap(dc, 367, 0, 25, 180, 315);
    DrawBurner(dc, image, HeaterCount(image) > 1 ? 185 : 75, 100);
    DrawFans(dc, in, DryerPicture::OneModule);
    DrawSymbols(dc, in, 0, 35, 292, 282);

    DrawPanelLine(dc, 135, 48, 190, 48, kLeader, 1);
    DrawPanelLine(dc, 175, 208, 190, 208, kLeader, 1);
    if (image[dryingType.offset] == 1) {
        DrawPanelText(dc, L"Ave In:", RECT{1, 30, 60, 50}, kBlueText, 12, 500, kLeft);
        DrawPanelText(dc, L"Ave Out:", RECT{1, 55, 60, 75}, kBlueText, 12, 500, kLeft);
        DrawPanelText(dc, MoistureText(WordBe(image, 247), L"%d.%d%%"), RECT{50, 30, 130, 50},
                      kAverageGreen, 18, 500, kLeft);
        DrawPanelText(dc, MoistureText(WordBe(image, 249), L"%d.%d%%"), RECT{50, 55, 130, 75},
                      kAverageGreen, 18, 500, kLeft);
    }
    DrawPanelText(dc, MoistureText(WordBe(image, wetMoisture.offset), L"%d.%1d%%"),
                  RECT{192, 40, 250, 60}, kMoistureGreen, 16, 500, kLeft);
    DrawPanelText(dc, GrainTempLabel(image, WordLe(image, 93)), RECT{195, 200, 250, 220}, kYellow,
                  16, 500, kLeft);
    const int scheme = MoistureScheme(image);
    DrawTicks(dc, 170, 178, 285, (scheme == 1 || scheme == 5) ? 355 : 345);
    DrawStatusColumn(dc, DryerStatusLines(image, DryerPicture::OneModule), 180, 250, 280, 10, 20);
    DrawLargeReadout(dc, image);
}

void PaintTwoModule(HDC dc, const HomePanelInputs& in)
{
    const PanelImage& image = in.image;
    DrawPanelBitmap(dc, 324, 0, 10, 150, 400);
    DrawFans(dc, in, DryerPicture::TwoModule);
    DrawBurner(dc, image, 180, 60);
    DrawSymbols(dc, in, -20, 12, 372, 350);
    DrawPanelText(dc, MoistureText(WordBe(image, wetMoisture.offset), L"%d.%1d%%"),
                  RECT{155, 12, 255, 32}, kMoistureGreen, 16, 500, kLeft);
    DrawPanelText(dc, GrainTempLabel(image, SelectedGrainTemp(image)), RECT{155, 136, 255, 156},
                  kMoistureGreen, 16, 500, kLeft);
    DrawPanelLine(dc, 143, 22, 153, 22, kLeader, 1);
    DrawPanelLine(dc, 143, 146, 153, 146, kLeader, 1);
    DrawTicks(dc, 143, 153, 278, 362);
    std::vector<PanelText> lines = DryerStatusLines(image, DryerPicture::TwoModule);
    const PanelText sampler = lines.back();
    lines.pop_back();
    DrawStatusColumn(dc, lines, 155, 255, 272, 12, 14);
    DrawPanelText(dc, sampler.text, RECT{155, 366, 255, 378}, sampler.colour, 12, 500, kLeft);
    DrawPanelText(dc, MoistureText(WordBe(image, dryMoisture.offset), L"%d.%1d%%"),
                  RECT{155, 376, 255, 406}, kGreen, 30, 700, kLeft);
}

void PaintThreeModule(HDC dc, const HomePanelInputs& in)
{
    const PanelImage& image = in.image;
    DrawPanelBitmap(dc, 323, 0, 5, 140, 410);
    DrawFans(dc, in, DryerPicture::ThreeModule);
    DrawBurner(dc, image, 180, 60);
    DrawSymbols(dc, in, -22, 8, 376, 354);
    DrawPanelText(dc, MoistureText(WordBe(image, wetMoisture.offset), L"%d.%1d%%"),
                  RECT{145, 12, 245, 32}, kMoistureGreen, 16, 500, kLeft);
    DrawPanelText(dc, GrainTempLabel(image, SelectedGrainTemp(image)), RECT{145, 136, 245, 156},
                  kCyan, 16, 500, kLeft);
    std::vector<PanelText> lines = DryerStatusLines(image, DryerPicture::ThreeModule);
    const PanelText sampler = lines.back();
    lines.pop_back();
    DrawPanelText(dc, sampler.text, RECT{145, 244, 245, 258}, sampler.colour, 12, 500, kLeft);
    DrawStatusColumn(dc, lines, 145, 245, 260, 15, 15);
    if (TemperatureReadout(image)) {
        const bool si = Celsius(image);
        DrawPanelText(dc,
                      Format(L"SP: %d %c%c", DisplayTemperature(WordLe(image, 149), si), kDegree,
                             si ? L'C' : L'F'),
                      RECT{145, 365, 245, 385}, kYellow, 16, 500, kLeft);
    } else {
        DrawPanelText(dc, MoistureText(WordBe(image, moistureSetpoint.offset), L"SP: %d.%1d%%"),
                      RECT{145, 365, 245, 385}, kSetpoint, 16, 500, kLeft);
    }
    DrawPanelText(dc, MoistureText(WordBe(image, dryMoisture.offset), L"%d.%d%%"),
                  RECT{142, 380, 242, 420}, kGreen, 30, 700, kLeft);
}

void PaintTower(HDC dc, const HomePanelInputs& in)
{
    const PanelImage& image = in.image;
    DrawPanelBitmap(dc, 406, 0, 25, 180, 315);
    // One central burner; the tower has no fan pictures of its own.
    int id = 485;
    if (Bit(image, 183, 1)) id = 487;
    DrawPanelBitmap(dc, id, 70, 160, 40, 40);
    DrawSymbols(dc, in, 0, 35, 292, 282);
    DrawPanelLine(dc, 135, 48, 190, 48, kLeader, 1);
    DrawPanelLine(dc, 175, 208, 190, 208, kLeader, 1);
    DrawPanelText(dc, MoistureText(WordBe(image, wetMoisture.offset), L"%d.%1d%%"),
                  RECT{192, 40, 250, 60}, kMoistureGreen, 16, 500, kLeft);
    DrawPanelText(dc, GrainTempLabel(image, WordLe(image, 93)), RECT{195, 200, 250, 220}, kYellow,
                  16, 500, kLeft);
    DrawTicks(dc, 170, 178, 285, 345);
    DrawStatusColumn(dc, DryerStatusLines(image, DryerPicture::Tower), 180, 250, 280, 10, 20);
    DrawLargeReadout(dc, image);
}

void MaybeAskBatchMessage(HWND wnd, const PanelImage& image)
{
    const bool condition = Bit(image, 179, 1) && image[dryingType.offset] == 1;
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
    PaintBuffer buffer(wnd, 0x00000000);
    switch (ChooseDryerPicture(in.image)) {
        case DryerPicture::OneModule: PaintOneModule(buffer.dc(), in); break;
        case DryerPicture::TwoModule: PaintTwoModule(buffer.dc(), in); break;
        case DryerPicture::ThreeModule: PaintThreeModule(buffer.dc(), in); break;
        case DryerPicture::Tower: PaintTower(buffer.dc(), in); break;
    }
    if (Bit(in.image, runState.offset, 7)) DrawPanelBitmap(buffer.dc(), 462, 0, 0, 32, 32);
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
