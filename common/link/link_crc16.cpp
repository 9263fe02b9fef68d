// LinkCrc16, table-driven. The base table is the usual pair of 256-entry byte tables (the low
// and high byte of each 16-bit entry), built by the compiler from the polynomial: for each byte
// the index is the byte exclusive-or the register's low byte, the new low byte is the low
// entry exclusive-or the old high byte, the new high byte is the high entry. Three more tables,
// derived from the first, let the loop take four bytes per step; the result is the same.
#include "common/link/link_crc16.h"

#include <array>

namespace {

constexpr std::uint16_t kPolynomial = 0xA001;  // 0x8005 bit-reversed

using CrcTables = std::array<std::array<std::uint16_t, 256>, 4>;

constexpr CrcTables MakeTables()
{
    CrcTables tables{};
    for (unsigned index = 0; index < 256; ++index) {
        std::uint16_t crc = static_cast<std::uint16_t>(index);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1u) != 0 ? static_cast<std::uint16_t>((crc >> 1) ^ kPolynomial)
                                  : static_cast<std::uint16_t>(crc >> 1);
        }
        tables[0][index] = crc;
    }
    // tables[k][i]: the register after byte i followed by k zero bytes
    for (unsigned index = 0; index < 256; ++index) {
        for (std::size_t k = 1; k < tables.size(); ++k) {
            const std::uint16_t previous = tables[k - 1][index];
            tables[k][index] =
                static_cast<std::uint16_t>((previous >> 8) ^ tables[0][previous & 0xFF]);
        }
    }
    return tables;
}

constexpr CrcTables kTables = MakeTables();

constexpr std::uint16_t StepByte(std::uint16_t crc, std::uint8_t byte)
{
    return static_cast<std::uint16_t>((crc >> 8) ^ kTables[0][(crc ^ byte) & 0xFF]);
}

}  // namespace

std::uint16_t LinkCrc16(std::span<const std::uint8_t> bytes)
{
    std::uint16_t crc = 0xFFFF;
    std::size_t i = 0;
    for (; bytes.size() - i >= 4; i += 4) {
        const std::uint16_t head =
            static_cast<std::uint16_t>(crc ^ (bytes[i] | (bytes[i + 1] << 8)));
        crc = static_cast<std::uint16_t>(kTables[3][head & 0xFF] ^ kTables[2][head >> 8] ^
                                         kTables[1][bytes[i + 2]] ^ kTables[0][bytes[i + 3]]);
    }
    for (; i < bytes.size(); ++i) crc = StepByte(crc, bytes[i]);
    return crc;
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
