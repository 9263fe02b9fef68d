// The dryer images of the scenes, written by field and bit names.
#include "tools/panel_scenes/home_panel_scenes.h"

#include "dryer/app/timers.h"
#include "dryer/link/link_state.h"
#include "dryer/screens/panel_animation.h"
#include "platform/runtime/runtime.h"
#include "platform/windowing/window.h"

namespace {

// The windows that draw the dryer image.
void InvalidatePanels()
{
    for (const wchar_t* cls :
         {L"DRYER_PIC_WINDOW", L"CUSTOM_VIEW_WINDOW", L"DRYER_RIGHT_STATUS_BAR_WINDOW",
          L"WARNING_WINDOW", L"AVERAGE_VALUES_WINDOW", L"LINE_GRAPH_WINDOW",
          L"UNLOAD_STATUS_WINDOW"}) {
        platform::InvalidateWindowClass(cls, nullptr, TRUE);
    }
}

enum class Heater { idle, running, lowFire, highFire };

struct HeaterScene {
    int plenumTemp;  // deg F
    int setpoint;    // deg F
    Heater state;
};

// Fan/Heater 1 to 6.
const HeaterScene kHeaters[] = {
    {185, 190, Heater::highFire}, {178, 180, Heater::lowFire},  {192, 190, Heater::running},
    {170, 175, Heater::idle},     {181, 185, Heater::highFire}, {188, 190, Heater::running},
};

// The board's flags of a fan/heater: the picture's fan and heat, the fan, burner and fire.
void SetHeater(SceneBytes& image, int heater, Heater state)
{
    const bool fan = state != Heater::idle;
    const bool fire = state == Heater::lowFire || state == Heater::highFire;
    SetBits(image, ForHeater(fanOnBit, heater), fan);
    SetBits(image, ForHeater(heatOnBit, heater), fire);
    SetBits(image, ForHeater(fanRunningBit, heater), fan);
    SetBits(image, ForHeater(burnerOnBit, heater), fire);
    SetBits(image, ForHeater(highFireBit, heater), state == Heater::highFire);
}

// A running continuous-flow dryer of the given heaterCountCode and moduleCountCode: the
// temperature scheme in automatic, grain and plenum readings, throughput and totals, and its
// fan/heaters at high fire, low fire, running and idle.
void RunningDryer(SceneBytes& image, int heaterCode, int modules)
{
    SetValue(image, heaterCountCode, heaterCode);
    SetValue(image, moduleCountCode, modules);
    SetValue(image, dryerState, kDryerStateIdle);
    SetBits(image, dryerStartedBit, true);
    SetBitsValue(image, moistureSchemeBits, kSchemeTemp);
    SetBits(image, moistureAutoBit, true);
    SetValue(image, mediumWhole, 5);
    SetValue(image, meteringMode, 1);  // medium
    SetValue(image, mediumTenths, 3);
    SetValue(image, GrainTempEntry(0), 112);
    SetValue(image, GrainTempEntry(1), 110);
    SetValue(image, GrainTempEntry(2), 108);
    SetValue(image, grainSetpointMain, 115);
    SetValue(image, wetMoisture, 215);  // tenths %
    SetValue(image, dryMoisture, 152);
    SetValue(image, moistureSetpoint, 150);
    SetValue(image, bushelsPerHour, 850);
    SetValue(image, bushelCounter, 3600 * 12345);  // 12345 bushels
    SetValue(image, meterRollSpeed, 123);          // tenths rpm
    SetValue(image, drySensorTemp, 1105);          // tenths deg F
    SetBits(image, meterRollsTurningBit, true);
    for (int k = 1; k <= kMaxHeaters; ++k) {
        const HeaterScene& h = kHeaters[k - 1];
        SetValue(image, ForHeater(plenumTemp, k), h.plenumTemp);
        SetValue(image, ForHeater(plenumSetpoint, k), h.setpoint);
        SetHeater(image, k, h.state);
    }
}

// A dryer stopped by a warning.
void ShutDown(SceneBytes& image, int heaterCode, WarningCode code)
{
    RunningDryer(image, heaterCode, 0);
    SetBits(image, dryerStartedBit, false);
    SetActiveWarningCode(image, code);
}

}  // namespace

std::vector<Scene> HomePanelScenes()
{
    std::vector<Scene> scenes;
    scenes.push_back({"home-1-fan-heater", [](auto& b) { RunningDryer(b, 0, 0); }});
    scenes.push_back({"home-2-fan-heaters", [](auto& b) { RunningDryer(b, 1, 0); }});
    scenes.push_back({"home-4-fan-heaters-two-module", [](auto& b) { RunningDryer(b, 3, 1); }});
    scenes.push_back({"home-6-fan-heaters-three-module", [](auto& b) {
                          RunningDryer(b, 4, 2);
                          SetBitsValue(b, moistureSchemeBits, kSchemeVariable);
                          SetValue(b, moistureModeSetting, 3);
                      }});
    scenes.push_back({"picture-tower", [](auto& b) {
                          RunningDryer(b, 0, 0);
                          SetBits(b, towerBit, true);
                          SetBits(b, unloadingBit, true);
                      }});
    scenes.push_back({"picture-one-module-celsius-sampler", [](auto& b) {
                          RunningDryer(b, 2, 0);
                          SetBits(b, siUnitsBit, true);
                          SetBits(b, samplerInstalledBit, true);
                          SetBits(b, samplerSamplingBit, true);
                      }});
    scenes.push_back(
        {"shutdown-grain-overheat", [](auto& b) { ShutDown(b, 1, 0x0305); }, false, true});
    scenes.push_back({"emergency-cooling",
                      [](auto& b) {
                          ShutDown(b, 1, 0x0305);
                          SetBits(b, emergencyCoolingBit, true);
                      },
                      false, true});
    scenes.push_back({"cool-down",
                      [](auto& b) {
                          ShutDown(b, 0, 0x0E08);
                          SetBits(b, coolDownRunningBit, true);
                          WriteTime(b, coolDownRemaining, MinSec{2, 5});
                      },
                      false, true});
    scenes.push_back({"connection-lost", [](auto& b) { RunningDryer(b, 0, 0); }, true, false});
    return scenes;
}

// Puts the scene on the screen and lets 1.2 s of panel time pass until the panels have drawn
// it.
void ShowScene(const Scene& scene)
{
    SceneBytes bytes{};
    scene.build(bytes);
    for (std::size_t i = 0; i < kImageSize; ++i) DryerImage.Set(i, bytes[i]);
    LinkWatchdog.store(scene.linkLost ? 0 : kLinkWatchdogReload);
    InvalidatePanels();
    platform::AdvanceClock(1200);
    if (scene.waitForBlink) {
        // The titles flash: step until the blink is on, then let its repaint happen.
        for (int i = 0; i < 40 && (Animation().blinkFlags & kSlowBlinkBit) == 0; ++i) {
            platform::AdvanceClock(25);
        }
        platform::AdvanceClock(150);
    }
    if (!scene.linkLost) LinkWatchdog.store(kLinkWatchdogReload);
    platform::WaitIdle();
}
