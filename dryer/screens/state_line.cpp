// The dryer state line across the top right of the home screen: one line of large text that
// says what the dryer is doing, chosen by the first of nine rules that applies.
#include <cstdint>

#include "dryer/link/dryer_image.h"
#include "dryer/screens/home_panels.h"
#include "platform/drawing/gdi.h"
#include "platform/windowing/window.h"

namespace home_panels {

namespace {

constexpr COLORREF kGreen = 0x0000FF00;
constexpr COLORREF kLightGreen = 0x0000FF64;
constexpr COLORREF kYellow = 0x0000FFFF;
constexpr COLORREF kRed = 0x000000FF;
constexpr COLORREF kDarkRed = 0x000000C8;
constexpr COLORREF kBlue = 0x00FF0000;

const wchar_t* const kBlankLine = L"                ";  // sixteen blanks

StateLine Line(std::wstring text, COLORREF colour, int rule, int height = 34)
{
    return StateLine{std::move(text), colour, height, rule};
}

bool Blink(unsigned blinkFlags)
{
    return (blinkFlags & 1u) != 0;
}

// Rule 3: the shortfall of the grain temperature against its setpoint, by the selector.
StateLine TemperatureHold(const PanelImage& image)
{
    int shortfall = 0;
    switch (image[grainSensorSelect.offset]) {
        case 0: {
            int setpoint = WordLe(image, 149);
            if (Bit(image, dryerOptions.offset, 1)) {
                setpoint = Bit(image, 148, 4) ? WordLe(image, 151) : WordLe(image, 153);
            }
            shortfall = setpoint - WordLe(image, 93);
            break;
        }
        case 1: shortfall = WordLe(image, 149) - WordLe(image, 91); break;
        case 2: shortfall = WordLe(image, 149) - WordLe(image, 89); break;
        default: return Line(L"", kGreen, 3);
    }
    if (Celsius(image)) {
        // The shortfall goes through the absolute conversion, as the panel always did.
        const int c = FahrenheitToCelsius(static_cast<std::int16_t>(shortfall));
        return Line(Format(L"TEMP HOLD... [- %d %cC]", c, kDegree), kGreen, 3);
    }
    return Line(Format(L"TEMP HOLD... [- %d %cF]", shortfall, kDegree), kGreen, 3);
}

// Rule 4: the load timer's colour by the share of time left.
StateLine Loading(const PanelImage& image)
{
    const int left = image[24] * 60 + image[25];
    const int setting = image[26] * 60 + image[27];
    COLORREF colour = kRed;
    if (setting == 0) {
        colour = left > 0 ? kGreen : kRed;
    } else {
        const double ratio = static_cast<double>(left) / setting;
        colour = ratio > 0.5 ? kGreen : (ratio > 0.25 ? kYellow : kRed);
    }
    if (!Bit(image, 28, 0)) return Line(L"LOADING...", colour, 4);
    const int elapsed = setting - left;
    return Line(Format(L"LOADING...  %d:%02d", elapsed / 60, elapsed % 60), colour, 4);
}

bool CenterAdjustDue(const PanelImage& image)
{
    const int left = 3600 - ReadLe16(image, centerAdjustElapsed.offset);
    const int scheme = MoistureScheme(image);
    return left < 180 && Bit(image, runState.offset, 6) && Bit(image, optionByte224.offset, 7) &&
           (scheme == 4 || scheme == 5);
}

StateLine CenterAdjust(const PanelImage& image, unsigned blinkFlags)
{
    if (!Blink(blinkFlags)) return Line(kBlankLine, kRed, 5);
    // An elapsed count past the hour reads 00:00 rather than a negative count-down.
    int left = 3600 - ReadLe16(image, centerAdjustElapsed.offset);
    if (left < 0) left = 0;
    return Line(Format(L"CENTER ADJ... [%02d:%02d]", left / 60, left % 60), kRed, 5);
}

}  // namespace

StateLine ChooseStateLine(const PanelImage& image, unsigned blinkFlags)
{
    const std::uint8_t state = image[dryerState.offset];
    const bool started = Bit(image, runState.offset, 6);

    if (Bit(image, 118, 5)) {
        return Line(Blink(blinkFlags) ? L"** AIRSWITCH DISABLED **" : kBlankLine, kRed, 1);
    }
    const int autoMinutes = image[mcAutoModeMinutes.offset];
    if (autoMinutes > 0 && Bit(image, 179, 2) && (state & 0x08) != 0 &&
        MoistureScheme(image) == 3) {
        const std::wstring text = Format(L"M/C AUTO MODE: %d Minutes", autoMinutes);
        if (autoMinutes > 5) return Line(text, kLightGreen, 2, 30);
        return Line(Blink(blinkFlags) ? text : L"", kDarkRed, 2, 30);
    }
    if (Bit(image, optionByte224.offset, 3) && started) return TemperatureHold(image);
    if ((state & 0xA0) != 0xA0) return Loading(image);
    if (CenterAdjustDue(image)) return CenterAdjust(image, blinkFlags);
    if (Bit(image, dryerState2.offset, 0) || (state & 0x40) != 0) {
        if (Bit(image, 43, 0)) {
            return Line(Format(L"UNLOADING...  %d:%02d", image[39], image[40]), kBlue, 6);
        }
        return Line(L"UNLOADING...", kBlue, 6);
    }
    if (started) {
        if (Bit(image, dryerOptions.offset, 0) && image[dryingType.offset] == 1) {
            return Line(L"UNLOAD HOLD", kRed, 7);
        }
        return Line(L"DRYER STARTED", kGreen, 7);
    }
    if ((image[coolingStatusBits.offset] & 0x03) == 1) {
        return Line(L"DRYER COOLING DOWN", kBlue, 8);
    }
    return Line(L"DRYER STOPPED", kRed, 9);
}

}  // namespace home_panels

namespace {

void PaintStateLine(HWND wnd)
{
    using namespace home_panels;
    const HomePanelInputs inputs = ReadHomePanelInputs();
    const StateLine line = ChooseStateLine(inputs.image, inputs.blinkFlags);
    PaintBuffer buffer(wnd, 0x00000000);
    DrawPanelText(buffer.dc(), line.text, RECT{5, 0, 390, 45}, line.colour, line.fontHeight, 900,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace

LRESULT DryerStateLineProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
        case WM_ERASEBKGND: return 1;  // the paint fills its own buffer
        case WM_PAINT: PaintStateLine(hwnd); return 0;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}
