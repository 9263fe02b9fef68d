// LinkCrc16: the 16-bit check that closes every frame between the panel and the Display I/O
// board, and every frame of the node programming link. Polynomial 0xA001 (reflected), start
// value 0xFFFF, no final exclusive-or; the result goes on the wire low byte first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// The CRC over all bytes of `bytes`.
std::uint16_t LinkCrc16(std::span<const std::uint8_t> bytes);

// Computes the CRC over the first `length` bytes of `frame` and stores it right behind them,
// low byte first. Returns false (and writes nothing) when the frame has no room for it.
bool LinkCrc16Append(std::span<std::uint8_t> frame, std::size_t length);

// True when the two bytes right behind the first `length` bytes of `frame` are their CRC,
// low byte first. A frame too short to hold them fails.
bool LinkCrc16Check(std::span<const std::uint8_t> frame, std::size_t length);
