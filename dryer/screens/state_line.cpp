// The dryer state line across the top right of the home screen: one line of large text that
// says what the dryer is doing, chosen by the first of nine rules that applies.
#include <cstdint>

#include "dryer/link/dryer_image.h"
#include "dryer/screens/home_panels.h"
#include "dryer/screens/panel_animation.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/painter.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/panel_colours.h"

namespace home_panels {

namespace {

const wchar_t* const kBlankLine = L"                ";  // sixteen blanks

StateLine Line(std::wstring text, COLORREF colour, int rule, int height = 34)
{
    return StateLine{std::move(text), colour, height, rule};
}

bool Blink(unsigned blinkFlags)
{
    return (blinkFlags & kSlowBlinkBit) != 0;
}

// Rule 3: the shortfall of the grain temperature against its setpoint, by the selector.
StateLine TemperatureHold(const PanelImage& image)
{
    int shortfall = 0;
    const int select = Value(image, grainSensorSelect);
    if (select > 2) return Line(L"", kGreen, 3);
    int setpoint = Value(image, grainSetpointMain);
    if (select == 0 && IsSet(image, dualHeatBit)) {
        setpoint =
            Value(image, IsSet(image, loHeatPlenumBit) ? grainSetpointUpper : grainSetpointLower);
    }
    shortfall = setpoint - Value(image, GrainTempEntry(select));
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
    const int left = Value(image, loadTimerRemaining);
    const int setting = Value(image, loadTimerSetting);
    COLORREF colour = kRed;
    if (setting == 0) {
        colour = left > 0 ? kGreen : kRed;
    } else {
        const double ratio = static_cast<double>(left) / setting;
        colour = ratio > 0.5 ? kGreen : (ratio > 0.25 ? kYellow : kRed);
    }
    if (!IsSet(image, loadCountdownShownBit)) return Line(L"LOADING...", colour, 4);
    const int elapsed = setting - left;
    return Line(Format(L"LOADING...  %d:%02d", elapsed / 60, elapsed % 60), colour, 4);
}

bool CenterAdjustDue(const PanelImage& image)
{
    const int left = 3600 - Value(image, centerAdjustElapsed);
    const int scheme = MoistureScheme(image);
    return left < 180 && IsSet(image, dryerStartedBit) && IsSet(image, centerAdjustBit) &&
           (scheme == kSchemeFiveSpeed || scheme == kSchemeTempFiveSpeed);
}

StateLine CenterAdjust(const PanelImage& image, unsigned blinkFlags)
{
    if (!Blink(blinkFlags)) return Line(kBlankLine, kRed, 5);
    // An elapsed count past the hour reads 00:00 rather than a negative count-down.
    int left = 3600 - Value(image, centerAdjustElapsed);
    if (left < 0) left = 0;
    return Line(Format(L"CENTER ADJ... [%02d:%02d]", left / 60, left % 60), kRed, 5);
}

}  // namespace

StateLine ChooseStateLine(const PanelImage& image, unsigned blinkFlags)
{
    const bool started = IsSet(image, dryerStartedBit);

    if (IsSet(image, airswitchDisabledBit)) {
        return Line(Blink(blinkFlags) ? L"** AIRSWITCH DISABLED **" : kBlankLine, kRed, 1);
    }
    const int autoMinutes = Value(image, mcAutoModeMinutes);
    if (autoMinutes > 0 && IsSet(image, learningPeriodBit) && IsSet(image, learningConditionBit) &&
        MoistureScheme(image) == kSchemeVariable) {
        const std::wstring text = Format(L"M/C AUTO MODE: %d Minutes", autoMinutes);
        if (autoMinutes > 5) return Line(text, kLightGreen, 2, 30);
        return Line(Blink(blinkFlags) ? text : L"", kDarkRed, 2, 30);
    }
    if (IsSet(image, temperatureHoldBit) && started) return TemperatureHold(image);
    if (!AllSet(image, notLoadingBits)) return Loading(image);
    if (CenterAdjustDue(image)) return CenterAdjust(image, blinkFlags);
    if (IsUnloading(image)) {
        if (IsSet(image, runOnCountdownShownBit)) {
            const MinSec runOn = ReadTime(image, unloadRunOnRemaining);
            return Line(Format(L"UNLOADING...  %d:%02d", runOn.minutes, runOn.seconds), kBlue, 6);
        }
        return Line(L"UNLOADING...", kBlue, 6);
    }
    if (started) {
        if (IsSet(image, unloadHoldBit) && Value(image, dryingType) == kBatchDrying) {
            return Line(L"UNLOAD HOLD", kRed, 7);
        }
        return Line(L"DRYER STARTED", kGreen, 7);
    }
    if (BitsValue(image, coolDownStateBits) == kCoolingDown) {
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
    platform::Painter paint(wnd, kBlack);
    paint.Text(line.text, RECT{5, 0, 390, 45}, line.colour, line.fontHeight, 900,
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
