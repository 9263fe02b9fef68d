// What the home panels share: the snapshot of the dryer image and timer state they paint
// from, its replaceable source, the image readers and the formatting of their texts.
#include <cstdarg>
#include <cwchar>

#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/screens/home_panels.h"
#include "dryer/screens/panel_animation.h"
#include "platform/drawing/gdi.h"
#include "platform/windowing/window.h"

namespace home_panels {

namespace {

// The program's 100 ms and 175 ms ticks keep the blink flags and the animation phases.
void ReadTimerInputs(HomePanelInputs& out)
{
    const PanelAnimation& animation = Animation();
    out.blinkFlags = animation.blinkFlags;
    out.fanPhase = animation.fanPhase;
    out.loadPhase = animation.loadingPhase;
    out.unloadPhase = animation.unloadPhase;
    out.meterRollLeftPhase = animation.meterRollPhase[0];
    out.meterRollRightPhase = animation.meterRollPhase[1];
}

// The 100 ms tick turns the banner bit over every third tick; each turn is one step request,
// taken once by the connection-lost panel.
bool TakeReconnectStepFromTimers()
{
    static unsigned taken = 0;
    const unsigned now = Animation().blinkFlags & kBannerBlinkBit;
    if (now == taken) return false;
    taken = now;
    return true;
}

void ReadLinkAndTimers(HomePanelInputs& out)
{
    for (std::size_t i = 0; i < kImageSize; ++i) out.image[i] = DryerImage.Get(i);
    out.linkWatchdog = static_cast<int>(LinkWatchdog.load(std::memory_order_relaxed));
    ReadTimerInputs(out);
}

void RaiseLinkReset()
{
    RequestLinkReset();
}

HomePanelSource DefaultSource()
{
    return HomePanelSource{&ReadLinkAndTimers, &TakeReconnectStepFromTimers, &RaiseLinkReset};
}

HomePanelSource& Source()
{
    static HomePanelSource source = DefaultSource();
    return source;
}

}  // namespace

void SetHomePanelSource(const HomePanelSource& source)
{
    Source() = source;
}
void ResetHomePanelSource()
{
    Source() = DefaultSource();
}

HomePanelInputs ReadHomePanelInputs()
{
    HomePanelInputs inputs;
    if (Source().read != nullptr) Source().read(inputs);
    return inputs;
}

bool TakeReconnectStep()
{
    return Source().takeReconnectStep != nullptr && Source().takeReconnectStep();
}

void RequestPanelLinkReset()
{
    if (Source().requestLinkReset != nullptr) Source().requestLinkReset();
}

// ---- readers ----

bool Celsius(const PanelImage& image)
{
    return IsSet(image, siUnitsBit);
}

int PlenumTemp(const PanelImage& image, int plenum)
{
    return Value(image, ForHeater(plenumTemp, plenum));
}

int PlenumSetpoint(const PanelImage& image, int plenum)
{
    return Value(image, ForHeater(plenumSetpoint, plenum));
}

int MoistureScheme(const PanelImage& image)
{
    return BitsValue(image, moistureSchemeBits);
}

int SelectedGrainTemp(const PanelImage& image)
{
    return Value(image, GrainTempEntry(Value(image, grainSensorSelect)));
}

int HeaterCount(const PanelImage& image)
{
    switch (Value(image, heaterCountCode)) {
        case 0: return 1;
        case 1: return 2;
        case 2: return 3;
        case 3: return 4;
        case 4: return 6;
        default: return 0;
    }
}

// ---- text ----

std::wstring Format(const wchar_t* format, ...)
{
    // The panel's formats pass characters with %c; wide formatting wants %lc for a wide
    // character such as the degree sign.
    std::wstring wide;
    for (const wchar_t* p = format; *p != L'\0'; ++p) {
        wide += *p;
        if (*p == L'%' && p[1] == L'%') {
            wide += *++p;
        } else if (*p == L'%' && p[1] == L'c') {
            wide += L'l';
        }
    }
    wchar_t buffer[256];
    va_list args;
    va_start(args, format);
    const int n = std::vswprintf(buffer, std::size(buffer), wide.c_str(), args);
    va_end(args);
    if (n < 0) return {};
    return std::wstring(buffer, static_cast<std::size_t>(n));
}

}  // namespace home_panels
