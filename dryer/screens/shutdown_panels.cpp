// The two contents of the warning window: the shutdown panel (which board stopped the dryer,
// what to press next, emergency cooling and cool-down) and the connection-lost panel with its
// back-and-forth reconnect bar.
#include <algorithm>

#include "dryer/link/dryer_image.h"
#include "dryer/screens/home_panels.h"
#include "dryer/screens/panel_animation.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/painter.h"
#include "platform/windowing/window.h"
#include "resources/orbitdryer/panel_colours.h"

namespace home_panels {

namespace {

constexpr COLORREF kReconnect = kTextBlue;

constexpr UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

constexpr int kLastPosition = 13;

constexpr int kGrainOverheatIndex = 5;  // the grain overheat warning of a Fan/Heater

bool GrainOverheat(int node, int index)
{
    return index == kGrainOverheatIndex && node >= static_cast<int>(NodeId::fanHeater1) &&
           node <= static_cast<int>(NodeId::fanHeater6);
}

// The emergency cooling line always shows degrees Fahrenheit; a selector other than 0, 1 or 2
// shows 0.
int EmergencyGrainTemp(const PanelImage& image)
{
    const int select = Value(image, grainSensorSelect);
    return select <= 2 ? Value(image, GrainTempEntry(select)) : 0;
}

// The warning sign of the shutdown picture, which the warning window draws at 20, 1 before the
// panel: the right edge of its triangle, with the outline, at a row of the panel. Above the apex
// it is the apex, below the base the base corner.
int SignRightEdge(int y)
{
    constexpr int kApexX = 70;
    constexpr int kApexY = 5;
    constexpr int kBaseY = 87;
    constexpr int kHalfBase = 44;
    constexpr int kOutline = 3;
    y = std::clamp(y, kApexY, kBaseY);
    return kApexX + (y - kApexY) * kHalfBase / (kBaseY - kApexY) + kOutline;
}

// A line centred in its box on the rows of the warning sign: its size steps down until the line
// keeps clear of the sign. The panel's narrower face left room beside the sign; ours needs a
// smaller size for that.
void TextClearOfSign(platform::Painter& paint, const std::wstring& text, const RECT& box,
                     COLORREF colour, int height, int weight, int step, int smallest)
{
    const int centre = (box.left + box.right) / 2;
    for (;;) {
        const SIZE size = paint.TextExtent(text, height, weight);
        const int top = box.top + (box.bottom - box.top - size.cy) / 2;
        const int baseline = top + size.cy * 4 / 5;  // the letters are capitals and digits
        const bool fits =
            size.cx <= box.right - box.left && size.cx <= 2 * (centre - SignRightEdge(baseline));
        if (fits || height <= smallest) break;
        height = std::max(height - step, smallest);
    }
    paint.Text(text, box, colour, height, weight, kCentred);
}

}  // namespace

void ReconnectBar::Step()
{
    if (movingRight) {
        if (position > kLastPosition - 1) {
            movingRight = false;
        } else {
            ++position;
        }
    } else {
        if (position > 0) {
            --position;
        } else {
            movingRight = true;
        }
    }
}

ReconnectBar& ReconnectBarState()
{
    static ReconnectBar bar;
    return bar;
}

void PaintShutdownPanel(platform::Painter& paint, const HomePanelInputs& in)
{
    const PanelImage& image = in.image;
    const int node = Value(image, warningNode);
    const int index = Value(image, warningIndex);
    const bool emergency = IsSet(image, emergencyCoolingBit);
    const bool coolDown = IsSet(image, coolDownRunningBit);

    paint.Line(25, 50, 405, 50, kRed, 2);
    paint.Line(25, 100, 405, 100, kRed, 2);
    TextClearOfSign(paint, WarningCatalogueText(node, index), RECT{0, 65, 430, 80}, kWhite, 14, 300,
                    1, 10);
    if ((in.blinkFlags & kSlowBlinkBit) != 0) {
        if (emergency) {
            TextClearOfSign(paint, L"EMERGENCY COOLING", RECT{25, 0, 405, 25}, kBlue, 30, 900, 1,
                            16);
        } else if (coolDown) {
            const MinSec left = ReadTime(image, coolDownRemaining);
            TextClearOfSign(paint, Format(L"COOL DOWN: %d:%02d", left.minutes, left.seconds),
                            RECT{25, 5, 405, 45}, kBlue, 40, 900, 3, 16);
        } else {
            TextClearOfSign(paint, L"WARNING!", RECT{25, 0, 405, 50}, kRed, 50, 900, 3, 24);
        }
    }
    if (emergency) {
        TextClearOfSign(paint,
                        Format(L"GRAIN TEMPERATURE: %d %c F", EmergencyGrainTemp(image), kDegree),
                        RECT{25, 28, 405, 50}, kDarkBlue, 20, 500, 1, 12);
    }
    paint.Text(L"PRESS STOP BUTTON TO CLEAR", RECT{25, 200, 405, 225}, kGreen, 16, 900, kCentred);
    if (GrainOverheat(node, index)) {
        if (emergency) {
            paint.Text(L"WARNING: CONTINUE TO MONITOR DRYER", RECT{25, 220, 405, 250}, kDeepRed, 16,
                       900, kCentred);
            paint.Text(L"AND TEMPERATURES!", RECT{25, 270, 405, 290}, kDeepRed, 16, 900, kCentred);
        } else {
            paint.Text(L"PRESS START FOR EMERGENCY COOLING", RECT{25, 220, 405, 250}, kPressBlue,
                       16, 900, kCentred);
            paint.Text(L"WARNING: BEFORE ENTERING EMERGENCY COOLING INPSPECT",
                       RECT{25, 250, 405, 270}, kDeepRed, 11, 700, kCentred);
            paint.Text(L"DRYER FOR CAUSE OF TEMPERATURE HI LIMIT!", RECT{25, 270, 405, 290},
                       kDeepRed, 11, 700, kCentred);
        }
    }
    if (coolDown) {
        paint.Text(L"PRESS START TO RESTART DRYER", RECT{25, 220, 405, 250}, kPressBlue, 16, 900,
                   kCentred);
    }
}

void PaintConnectionLostPanel(platform::Painter& paint)
{
    paint.Text(L"Trying to Reconnect...", RECT{5, 5, 325, 50}, kReconnect, 24, 700,
               DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    paint.Line(105, 70, 255, 70, kTrackGreen, 10);
    paint.Line(105, 65, 255, 65, kTrackEdge, 1);
    paint.Line(105, 75, 255, 75, kTrackEdge, 1);
    ReconnectBar& bar = ReconnectBarState();
    if (TakeReconnectStep()) bar.Step();
    paint.Line(bar.position * 10 + 105, 70, bar.position * 10 + 120, 70, kReconnect, 6);
}

}  // namespace home_panels
