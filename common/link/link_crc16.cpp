// LinkCrc16 with the usual pair of 256-entry byte tables, both built by the compiler from the
// polynomial: for each byte the index is the byte exclusive-or the register's low byte, the
// new low byte is the low table's entry exclusive-or the old high byte, the new high byte is
// the high table's entry.
#include "common/link/link_crc16.h"

#include <array>

namespace {

constexpr std::uint16_t kPolynomial = 0xA001;  // 0x8005 bit-reversed

struct CrcTables {
    std::array<std::uint8_t, 256> low{};
    std::array<std::uint8_t, 256> high{};
};

constexpr CrcTables MakeTables()
{
    CrcTables tables;
    for (unsigned index = 0; index < 256; ++index) {
        std::uint16_t crc = static_cast<std::uint16_t>(index);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1u) != 0 ? static_cast<std::uint16_t>((crc >> 1) ^ kPolynomial)
                                  : static_cast<std::uint16_t>(crc >> 1);
        }
        tables.low[index] = static_cast<std::uint8_t>(crc & 0xFF);
        tables.high[index] = static_cast<std::uint8_t>(crc >> 8);
    }
    return tables;
}

constexpr CrcTables kTables = MakeTables();

}  // namespace

std::uint16_t LinkCrc16(std::span<const std::uint8_t> bytes)
{
    std::uint8_t low = 0xFF;
    std::uint8_t high = 0xFF;
    for (const std::uint8_t byte : bytes) {
        const std::uint8_t index = byte ^ low;
        low = kTables.low[index] ^ high;
        high = kTables.high[index];
    }
    return static_cast<std::uint16_t>((high << 8) | low);
}

bool LinkCrc16Append(std::span<std::uint8_t> frame, std::size_t length)
{
    if (length > frame.size() || frame.size() - length < 2) return false;
    const std::uint16_t crc = LinkCrc16(frame.first(length));
    frame[length] = static_cast<std::uint8_t>(crc & 0xFF);
    frame[length + 1] = static_cast<std::uint8_t>(crc >> 8);
    return true;
}

bool LinkCrc16Check(std::span<const std::uint8_t> frame, std::size_t length)
{
    if (length > frame.size() || frame.size() - length < 2) return false;
    const std::uint16_t crc = LinkCrc16(frame.first(length));
    return frame[length] == static_cast<std::uint8_t>(crc & 0xFF) &&
           frame[length + 1] == static_cast<std::uint8_t>(crc >> 8);
}
