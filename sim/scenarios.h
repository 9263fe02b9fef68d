// The dryers the simulator can play: a configuration (fan/heaters, modules, drying type, units,
// options) and the named scenarios that preset one.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace sim {

struct DryerConfig {
    std::string name = "continuous-1fh";
    std::uint8_t heaterCountCode = 0;         // 0 one, 1 two, 2 three, 3 four, 4 six
    std::uint8_t moduleCountCode = 0;         // 0 one, 1 two, 2 three
    std::uint8_t dryingType = 0;              // 0 continuous flow, 1 batch
    std::uint8_t fuelCode = 0;                // 0 LP, 1 natural gas, 2 vapor, 3 diesel
    std::uint8_t loadSystemCode = 0;          // 0 end fill, 1 center fill, 2 dual fill
    std::uint8_t dryerLengthCode = 6;         // 20 feet
    std::uint8_t dryerOptions = 0;            // offset 257: bit 1 dual heat, bits 4-6 criteria
    std::uint8_t dryerConfigBits = 0;         // offset 225: bit 5 tower
    std::uint8_t moistureControlMode = 0x83;  // offset 187: variable speed, automatic
    std::uint8_t unitsAndOptions = 0;         // offset 266: bit 7 Celsius display
    bool samplerInstalled = false;            // offset 293 bit 7
    bool running = true;                      // started when the simulator comes up
};

struct ScenarioInfo {
    std::string_view name;
    std::string_view description;
};

// Every named scenario, in the order dryersim --help lists them.
std::span<const ScenarioInfo> ScenarioList();

// The scenario names in list order, separated by ", " (for messages).
std::string ScenarioNames();

// The configuration of a named scenario; nothing for an unknown name.
std::optional<DryerConfig> FindScenario(std::string_view name);

// Fan/heater count (1, 2, 3, 4 or 6) to its code; nothing for other counts.
std::optional<std::uint8_t> HeaterCountCodeFor(int heaters);

}  // namespace sim
