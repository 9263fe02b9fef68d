// Framing of the requests the panel sends to the Display I/O board: the 7-byte poll, the 4-byte
// link reset request and command frames with parameter records of the display program, and the
// programming requests of the firmware loader (first byte 1 to 5, which no display request can
// start with: its command frames start with their length, 8 or more). Bytes arrive in any slices;
// the framer buffers partial requests, skips garbage and hands out only well-formed requests.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "dryer/link/dryer_image.h"

namespace sim {

// Request frames (display to board); LinkCrc16 is appended low byte first.
//   poll        07 00 00 00 00 crcLo crcHi               7 bytes
//   link reset  06 00 crcLo crcHi                        4 bytes
//   command     LL NN records... crcLo crcHi             LL bytes, NN records
// A record: page (0 for offsets 0-255, 1 for 256-299), low address byte, length d (1-5),
// then d data bytes for the offsets address .. address + d - 1.
inline constexpr std::uint8_t kPollLength = 7;
inline constexpr std::uint8_t kLinkResetTag = 0x06;
inline constexpr std::size_t kLinkResetLength = 4;
inline constexpr std::size_t kRecordHeader = 3;
inline constexpr std::size_t kRecordMaxData = 5;
inline constexpr std::size_t kCommandMinLength = 2 + kRecordHeader + 1 + 2;  // one 1-byte record
inline constexpr std::size_t kAnswerLength = 302;

// Programming requests (firmware loader to board network), LinkCrc16 appended:
//   link control  01 02 node action crc crc          6 bytes (action 1 open, 0 close)
//   erase flash   02 02 00 FF crc crc                6 bytes
//   start address 03 01 address crc crc              5 bytes
//   write block   04 00 block data*256 crc crc     261 bytes
//   network scan  05 00 crc crc                      4 bytes
inline constexpr std::uint8_t kLinkControlCode = 0x01;
inline constexpr std::uint8_t kEraseFlashCode = 0x02;
inline constexpr std::uint8_t kStartAddressCode = 0x03;
inline constexpr std::uint8_t kWriteBlockCode = 0x04;
inline constexpr std::uint8_t kNetworkScanCode = 0x05;
inline constexpr std::size_t kBlockSize = 256;

// The frame length of the programming request with this first byte; 0 when none starts so.
std::size_t ProgrammingFrameLength(std::uint8_t code);

enum class RequestKind { Poll, LinkReset, Command, Programming };

struct CommandRecord {
    std::uint16_t address = 0;  // image offset (page * 256 + low byte)
    std::uint8_t length = 0;    // 1-5
    std::array<std::uint8_t, kRecordMaxData> data{};
};

struct Request {
    RequestKind kind = RequestKind::Poll;
    std::vector<CommandRecord> records;  // command frames only
    std::vector<std::uint8_t> frame;     // programming requests only: the whole frame
};

// What a complete, CRC-correct frame holds when its records do not add up.
enum class CommandParse { Ok, BadRecordCount, BadRecordLength, AddressOutOfImage };

// Parses the body of a command frame whose length and CRC were already checked.
CommandParse ParseCommandRecords(std::span<const std::uint8_t> frame, Request& out);

class RequestFramer {
public:
    // Appends received bytes. The buffer is bounded; the oldest bytes give way.
    void Feed(std::span<const std::uint8_t> bytes);

    // The next well-formed request, or nothing while only partial input (or nothing) is left.
    // Garbage and malformed frames are dropped on the way and counted.
    std::optional<Request> Next();

    std::size_t buffered() const { return buffer_.size(); }
    std::uint64_t bytesDiscarded() const { return bytesDiscarded_; }
    std::uint64_t malformedFrames() const { return malformedFrames_; }
    void Clear() { buffer_.clear(); }

private:
    enum class Probe { Complete, Incomplete, Invalid };
    Probe ProbeAt(std::size_t start, std::size_t& length, Request& request);
    void Drop(std::size_t count);

    std::vector<std::uint8_t> buffer_;
    std::uint64_t bytesDiscarded_ = 0;
    std::uint64_t malformedFrames_ = 0;
};

}  // namespace sim
