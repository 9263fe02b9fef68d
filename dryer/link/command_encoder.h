// Command frames: the operator's changes on their way to the Display I/O board. One frame per
// exchange carries every pending field, in the fixed order of the command table.
//
// OFFSET  SIZE  CONTENT
//     0     1   total frame length, CRC included
//     1     1   number of records
//     2     n   records: page (address high byte), address low byte, data length d (1-5),
//               d data bytes for the addresses address .. address + d - 1
//   2+n     2   LinkCrc16 over bytes 0 .. 1+n, low byte first (appended by the link)
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "dryer/link/pending_command.h"

inline constexpr std::size_t kCommandRowCount = 82;
// Rows are only appended while the running length is below 100; the largest frame, CRC
// included, is 108 bytes.
inline constexpr std::size_t kCommandLengthLimit = 100;
inline constexpr std::size_t kMaxCommandFrame = 108;

// Where a row takes its data bytes from.
enum class CommandSource : std::uint8_t { desired, image };

// One row of the command table.
struct CommandRow {
    std::array<Pending, 3> flags{Pending::none, Pending::none, Pending::none};  // any one sends it
    std::uint16_t address = 0;  // answer-frame offset: page = address / 256, low = address % 256
    std::uint8_t length = 1;    // data bytes, 1-5
    CommandSource source = CommandSource::desired;
    std::uint16_t sourceOffset = 0;   // where in the source the data bytes start
    bool lengthTest = true;           // false for rows 1 and 21, appended without the limit test
    Pending oneShot = Pending::none;  // flag cleared when the row is appended
};

// The 82 rows in encoding order (index 0 is row 1).
std::span<const CommandRow> CommandTable();

// Builds a command frame from the set flags into `frame` (at least kMaxCommandFrame bytes):
// byte 0 is the total length with the CRC, byte 1 the record count. Clears the one-shot flags
// it sends. Returns true when the frame holds at least one record; false (nothing built) also
// when the buffer is too small.
bool BuildCommandFrame(std::span<std::uint8_t> frame);
