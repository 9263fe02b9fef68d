// NodeId: the boards of the dryer's control network, numbered as the display program and the
// firmware loader both number them (the loader also uses the number as its table index).
#pragma once

#include <cstdint>

enum class NodeId : std::uint8_t {
    none = 0,
    displayIo = 1,
    fanHeater1 = 2,  // 2-7: Fan/Heater 1-6 (burner and plenum #1-#6)
    fanHeater6 = 7,
    fanHeaterInterface1 = 8,  // 8-13: Fan/Heater Interface 1-6
    fanHeaterInterface6 = 13,
    mainIo = 14,
    moistureControl = 15,
};
inline constexpr int kNodeIdCount = 16;  // 0-15
