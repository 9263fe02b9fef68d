// The plenum panel (" PLENUM(S)", bottom right of the home screen): for each fan/heater the
// plenum temperature, its setpoint and the burner state, in one of five layouts chosen by the
// number of fan/heaters.
#include <algorithm>
#include <cstdint>
#include <string>

#include "dryer/link/dryer_image.h"
#include "dryer/screens/home_panels.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/painter.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/panel_colours.h"

namespace home_panels {

namespace {

constexpr int kOpenBelow = -35;     // a reading below this is an open sensor
constexpr int kShortedAbove = 260;  // a reading above this is a shorted sensor

bool OnePlenumStyle(PlenumLayout layout)
{
    return layout == PlenumLayout::One;
}
bool TemperatureTested(PlenumLayout layout)
{
    return layout == PlenumLayout::Four || layout == PlenumLayout::Six;
}

std::wstring TemperatureText(const PanelImage& image, int fahrenheit, const wchar_t* format)
{
    const bool si = Celsius(image);
    return Format(format, DisplayTemperature(fahrenheit, si), kDegree, si ? L'C' : L'F');
}

}  // namespace

PlenumLayout ChoosePlenumLayout(const PanelImage& image)
{
    if (IsSet(image, towerBit)) return PlenumLayout::One;
    switch (Value(image, heaterCountCode)) {
        case 0: return PlenumLayout::One;
        case 1: return PlenumLayout::Two;
        case 2: return PlenumLayout::Three;
        case 3: return PlenumLayout::Four;
        case 4: return PlenumLayout::Six;
        default: return PlenumLayout::None;
    }
}

PanelText BurnerLine(const PanelImage& image, int plenum, PlenumLayout layout)
{
    const int temperature = PlenumTemp(image, plenum);
    const bool one = OnePlenumStyle(layout);

    if (IsSet(image, ForHeater(purgingBit, plenum))) {
        return {one ? L"Burner is\n  Purging..." : L"Purging...", kGreen};
    }
    if (IsSet(image, ForHeater(ignitingBit, plenum))) {
        return {one ? L"Burner is\n  Igniting..." : L"Igniting...", kRed};
    }
    if (!TemperatureTested(layout)) {
        if (IsSet(image, ForHeater(sensorShortedBit, plenum))) {
            return {L"SENSOR SHORTED", kOrange};
        }
        if (IsSet(image, ForHeater(sensorOpenBit, plenum))) return {L"SENSOR OPEN", kOrange};
    }
    // The smaller layouts rely on the board's flags first; a reading out of range is still
    // reported there, so an open or shorted sensor never reads as a plain burner state.
    if (temperature > kShortedAbove) {
        return {Format(L"Plenum %d Sensor Shorted", plenum), kOrange};
    }
    if (temperature < kOpenBelow) return {Format(L"Plenum %d Sensor Open", plenum), kOrange};
    if (IsSet(image, ForHeater(burnerOnBit, plenum))) {
        if (one && IsSet(image, onOffBurnerBit) && IsSet(image, towerBit)) {
            return {L"BURNER ON", kRed};
        }
        if (IsSet(image, ForHeater(highFireBit, plenum))) return {L"HIGH FIRE", kRed};
        return {L"LOW FIRE", kBlue};
    }
    return {L"BURNER OFF", kGreen};
}

namespace {

constexpr UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

struct Cell {
    int plenum;
    RECT name;
    RECT heading;  // "SETPOINT" heading; empty when the layout has none
    RECT setpoint;
    RECT temperature;
    RECT burner;
    int nameHeight;
    int setpointHeight;
    int temperatureHeight;
    int burnerHeight;
};

void DrawCell(platform::Painter& paint, const PanelImage& image, const Cell& cell,
              PlenumLayout layout, const wchar_t* name, const wchar_t* setpointFormat)
{
    if (name != nullptr) paint.Text(name, cell.name, kNameGrey, cell.nameHeight, 700, kCentred);
    if (cell.heading.right > cell.heading.left) {
        paint.Text(L"SETPOINT", cell.heading, kSetpointYellow, cell.setpointHeight, 700, kCentred);
    }
    paint.Text(TemperatureText(image, PlenumSetpoint(image, cell.plenum), setpointFormat),
               cell.setpoint, kSetpointYellow, cell.setpointHeight, 700, kCentred);
    const int temperature = PlenumTemp(image, cell.plenum);
    paint.Text(Format(L"%d", DisplayTemperature(temperature, Celsius(image))), cell.temperature,
               kRed, cell.temperatureHeight, 900, kCentred);
    const PanelText burner = BurnerLine(image, cell.plenum, layout);
    const bool twoLines = burner.text.find(L'\n') != std::wstring::npos;
    paint.Text(burner.text, cell.burner, burner.colour, cell.burnerHeight, 700,
               twoLines ? DT_CENTER : kCentred);
}

void PaintOnePlenum(platform::Painter& paint, const PanelImage& image)
{
    const bool dualHeat = Value(image, dryingType) == kBatchDrying && IsSet(image, dualHeatBit);
    paint.Text(L"SETPOINT", RECT{0, 8, 150, 32}, kSetpointYellow, 20, 700, kCentred);
    if (dualHeat) {
        // Dual heat: the setpoint of the heat stage that runs, and both below it.
        const bool upper = IsSet(image, loHeatPlenumBit);
        const int lower = PlenumSetpoint(image, 1);
        const int upperSetpoint = Value(image, upperPlenumSetpoint);
        const int shown = upper ? upperSetpoint : lower;
        paint.Text(TemperatureText(image, shown, L"%d %c%c "), RECT{0, 34, 150, 66},
                   upper ? kBlue : kRed, 26, 700, kCentred);
        paint.Text(TemperatureText(image, lower, L"%d %c%c "), RECT{0, 110, 75, 130}, kRed, 16, 700,
                   kCentred);
        paint.Text(TemperatureText(image, upperSetpoint, L"%d %c%c "), RECT{75, 110, 150, 130},
                   kBlue, 16, 700, kCentred);
    } else {
        paint.Text(TemperatureText(image, PlenumSetpoint(image, 1), L"%d %c%c "),
                   RECT{0, 34, 150, 66}, kSetpointYellow, 26, 700, kCentred);
    }
    paint.Text(L"PLENUM 1", RECT{0, 78, 150, 102}, kNameGrey, 18, 700, kCentred);
    paint.Text(Format(L"%d", DisplayTemperature(PlenumTemp(image, 1), Celsius(image))),
               RECT{150, 0, 400, 90}, kRed, 80, 900, kCentred);
    const PanelText burner = BurnerLine(image, 1, PlenumLayout::One);
    const bool twoLines = burner.text.find(L'\n') != std::wstring::npos;
    paint.Text(burner.text, twoLines ? RECT{150, 88, 400, 150} : RECT{150, 92, 400, 140},
               burner.colour, 24, 700, twoLines ? DT_CENTER : kCentred);
    paint.Line(0, 70, 150, 70, kSeparatorGrey, 2);
    paint.Line(150, 0, 150, 175, kSeparatorGrey, 2);
}

void PaintTwoPlenums(platform::Painter& paint, const PanelImage& image)
{
    const wchar_t* const names[] = {L"PLENUM 2 (UPPER)", L"PLENUM 1 (LOWER)"};
    for (int row = 0; row < 2; ++row) {
        const int y = row * 70;
        const int plenum = 2 - row;
        const Cell cell{plenum,
                        RECT{0, y + 8, 150, y + 30},
                        RECT{},
                        RECT{0, y + 34, 150, y + 60},
                        RECT{150, y + 2, 270, y + 68},
                        RECT{270, y + 2, 400, y + 68},
                        15,
                        18,
                        52,
                        17};
        DrawCell(paint, image, cell, PlenumLayout::Two, names[row], L"SP:  %d %c%c ");
    }
    paint.Line(0, 70, 400, 70, kSeparatorGrey, 2);
    paint.Line(150, 10, 150, 60, kSeparatorGrey, 2);
    paint.Line(150, 80, 150, 135, kSeparatorGrey, 2);
}

void PaintThreePlenums(platform::Painter& paint, const PanelImage& image)
{
    const wchar_t* const names[] = {L"PLENUM 1 (LOWER)", L"PLENUM 2 (MIDDLE)", L"PLENUM 3 (UPPER)"};
    for (int column = 0; column < 3; ++column) {
        const int x = column * 133;
        const Cell cell{column + 1,
                        RECT{x, 2, x + 133, 22},
                        RECT{},
                        RECT{x, 24, x + 133, 44},
                        RECT{x, 46, x + 133, 100},
                        RECT{x, 104, x + 133, 128},
                        13,
                        16,
                        48,
                        15};
        DrawCell(paint, image, cell, PlenumLayout::Three, names[column], L"SP:  %d %c%c ");
    }
    paint.Line(133, 0, 133, 170, kSeparatorGrey, 2);
    paint.Line(266, 0, 266, 170, kSeparatorGrey, 2);
}

// Four and six plenums: columns of two, the even plenum over the odd one.
void PaintColumns(platform::Painter& paint, const PanelImage& image, PlenumLayout layout)
{
    const bool four = layout == PlenumLayout::Four;
    const int columns = four ? 2 : 3;
    const int starts4[] = {0, 200};
    const int starts6[] = {3, 135, 270};
    const int width = four ? 200 : 130;
    const int split = four ? 70 : 27;  // the short separator inside a column
    for (int column = 0; column < columns; ++column) {
        const int x = four ? starts4[column] : starts6[column];
        for (int row = 0; row < 2; ++row) {
            const int y = row * 70;
            const int plenum = column * 2 + 2 - row;
            const std::wstring name = Format(L"PLENUM %d", plenum);
            Cell cell{};
            if (four) {
                cell = Cell{plenum,
                            RECT{x + split, y + 1, x + width, y + 16},
                            RECT{x, y + 22, x + split, y + 38},
                            RECT{x, y + 38, x + split, y + 58},
                            RECT{x + split, y + 14, x + width, y + 48},
                            RECT{x + split, y + 48, x + width, y + 66},
                            13,
                            13,
                            32,
                            12};
            } else {
                cell = Cell{plenum,
                            RECT{x, y + 1, x + width, y + 14},
                            RECT{x + 82, y + 18, x + width, y + 30},
                            RECT{x + 82, y + 30, x + width, y + 44},
                            RECT{x + split + 3, y + 14, x + 82, y + 44},
                            RECT{x + split, y + 46, x + width, y + 62},
                            12,
                            9,
                            24,
                            11};
            }
            DrawCell(paint, image, cell, layout, name.c_str(), L"%d %c%c ");
        }
    }
    paint.Line(0, 70, 400, 70, kSeparatorGrey, 2);
    if (four) {
        paint.Line(200, 0, 200, 170, kSeparatorGrey, 2);
        for (int x : {70, 270}) {
            paint.Line(x, 25, x, 60, kSeparatorGrey, 2);
            paint.Line(x, 100, x, 135, kSeparatorGrey, 2);
        }
    } else {
        paint.Line(133, 0, 133, 170, kSeparatorGrey, 2);
        paint.Line(266, 0, 266, 170, kSeparatorGrey, 2);
        for (int x : {30, 163, 300}) {
            paint.Line(x, 25, x, 60, kSeparatorGrey, 2);
            paint.Line(x, 100, x, 135, kSeparatorGrey, 2);
        }
    }
}

}  // namespace

}  // namespace home_panels

namespace {

void PaintPlenumPanel(HWND wnd)
{
    using namespace home_panels;
    const HomePanelInputs inputs = ReadHomePanelInputs();
    platform::Painter paint(wnd, kBlack);
    switch (ChoosePlenumLayout(inputs.image)) {
        case PlenumLayout::One: PaintOnePlenum(paint, inputs.image); break;
        case PlenumLayout::Two: PaintTwoPlenums(paint, inputs.image); break;
        case PlenumLayout::Three: PaintThreePlenums(paint, inputs.image); break;
        case PlenumLayout::Four:
        case PlenumLayout::Six:
            PaintColumns(paint, inputs.image, ChoosePlenumLayout(inputs.image));
            break;
        case PlenumLayout::None: break;  // an unknown count code leaves the panel black
    }
}

}  // namespace

LRESULT PlenumPanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: PaintPlenumPanel(hwnd); return 0;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}
