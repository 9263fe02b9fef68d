// Named dryers for the simulator. Each scenario is a plain configuration; the model builds the
// board's factory image from it.
#include "sim/scenarios.h"

#include <array>

namespace sim {

namespace {

constexpr std::uint8_t kDualHeat = 0x02;
constexpr std::uint8_t kCriteriaTime = 0x10;
constexpr std::uint8_t kCriteriaTemperature = 0x20;
constexpr std::uint8_t kTowerBit = 0x20;

constexpr std::array kScenarios{
    ScenarioInfo{"continuous-1fh", "continuous flow, one fan/heater, one module"},
    ScenarioInfo{"continuous-2fh", "continuous flow, two fan/heaters, one module"},
    ScenarioInfo{"continuous-4fh", "continuous flow, four fan/heaters, two modules"},
    ScenarioInfo{"continuous-6fh", "continuous flow, six fan/heaters, three modules"},
    ScenarioInfo{"batch-dual-heat", "staged batch, two fan/heaters, dual heat, time and temp"},
    ScenarioInfo{"tower", "tower dryer, one central burner, continuous flow"},
    ScenarioInfo{"three-module", "continuous flow, three fan/heaters, three modules"},
    ScenarioInfo{"continuous-si", "continuous flow, one fan/heater, Celsius display, sampler"},
    ScenarioInfo{"stopped", "one fan/heater, continuous flow, dryer stopped"},
};

}  // namespace

std::span<const ScenarioInfo> ScenarioList()
{
    return kScenarios;
}

std::optional<std::uint8_t> HeaterCountCodeFor(int heaters)
{
    switch (heaters) {
        case 1: return 0;
        case 2: return 1;
        case 3: return 2;
        case 4: return 3;
        case 6: return 4;
    }
    return std::nullopt;
}

std::string ScenarioNames()
{
    std::string names;
    for (const ScenarioInfo& s : ScenarioList()) {
        if (!names.empty()) names += ", ";
        names += s.name;
    }
    return names;
}

std::optional<DryerConfig> FindScenario(std::string_view name)
{
    DryerConfig c;
    c.name = std::string(name);
    if (name == "continuous-1fh") return c;
    if (name == "continuous-2fh") {
        c.heaterCountCode = 1;
        return c;
    }
    if (name == "continuous-4fh") {
        c.heaterCountCode = 3;
        c.moduleCountCode = 1;
        c.dryerLengthCode = 12;
        return c;
    }
    if (name == "continuous-6fh") {
        c.heaterCountCode = 4;
        c.moduleCountCode = 2;
        c.dryerLengthCode = 14;
        return c;
    }
    if (name == "batch-dual-heat") {
        c.heaterCountCode = 1;
        c.dryingType = 1;
        c.dryerOptions = kDualHeat | kCriteriaTime | kCriteriaTemperature;
        c.moistureControlMode = 0x81;
        return c;
    }
    if (name == "tower") {
        c.dryerConfigBits = kTowerBit;
        c.fuelCode = 1;
        return c;
    }
    if (name == "three-module") {
        c.heaterCountCode = 2;
        c.moduleCountCode = 2;
        c.dryerLengthCode = 13;
        return c;
    }
    if (name == "continuous-si") {
        c.unitsAndOptions = 0x80;
        c.samplerInstalled = true;
        return c;
    }
    if (name == "stopped") {
        c.running = false;
        return c;
    }
    return std::nullopt;
}

}  // namespace sim
