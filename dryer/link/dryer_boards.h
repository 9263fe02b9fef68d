// The boards of the dryer's control network and the warning codes they report: the high byte
// of a WarningCode is the NodeId of the reporting board, the low byte the warning's index on it.
#pragma once

#include <cstdint>

#include "common/link/node_id.h"

inline constexpr int kMaxHeaters = 6;  // Fan/Heater boards, and entries of per-heater arrays

constexpr NodeId FanHeaterNode(int heater)
{
    return (heater < 1 || heater > kMaxHeaters) ? NodeId::none : static_cast<NodeId>(1 + heater);
}
constexpr NodeId FanHeaterInterfaceNode(int heater)
{
    return (heater < 1 || heater > kMaxHeaters) ? NodeId::none : static_cast<NodeId>(7 + heater);
}

// High byte the NodeId of the reporting board, low byte the warning's index on that board
// ("0E05" is Main I/O warning 5). Index 0 is not a warning.
using WarningCode = std::uint16_t;

constexpr WarningCode MakeWarningCode(std::uint8_t node, std::uint8_t index)
{
    return static_cast<WarningCode>((node << 8) | index);
}
constexpr std::uint8_t WarningNodeOf(WarningCode code)
{
    return static_cast<std::uint8_t>(code >> 8);
}
constexpr std::uint8_t WarningIndexOf(WarningCode code)
{
    return static_cast<std::uint8_t>(code & 0xFF);
}
