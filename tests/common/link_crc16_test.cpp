// LinkCrc16 against known vectors and the frames the panel sends.
#include "common/link/link_crc16.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace {

std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

TEST(LinkCrc16, KnownVectors)
{
    struct Case {
        std::string_view text;
        std::uint16_t crc;
    };
    const Case cases[] = {
        {"", 0xFFFF}, {"abc", 0x5749}, {"123456789", 0x4B37},  // the usual check value of this CRC
    };
    for (const Case& c : cases) {
        const auto bytes = Bytes(c.text);
        EXPECT_EQ(LinkCrc16(bytes), c.crc) << "text: " << c.text;
    }
}

// Bit by bit, least significant bit first, as the polynomial defines it.
std::uint16_t ReferenceCrc(std::span<const std::uint8_t> bytes)
{
    std::uint16_t crc = 0xFFFF;
    for (const std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1u) != 0 ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                                  : static_cast<std::uint16_t>(crc >> 1);
        }
    }
    return crc;
}

TEST(LinkCrc16, MatchesTheBitwiseDefinitionForEveryLength)
{
    std::array<std::uint8_t, 302> frame{};
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i * 37 + 1);
    for (std::size_t length = 0; length <= frame.size(); ++length) {
        const auto bytes = std::span(frame).first(length);
        EXPECT_EQ(LinkCrc16(bytes), ReferenceCrc(bytes)) << "length " << length;
    }
}

TEST(LinkCrc16, AppendsLowByteFirst)
{
    std::array<std::uint8_t, 5> frame{'a', 'b', 'c', 0, 0};
    ASSERT_TRUE(LinkCrc16Append(frame, 3));
    EXPECT_EQ(frame[3], 0x49);
    EXPECT_EQ(frame[4], 0x57);
    EXPECT_TRUE(LinkCrc16Check(frame, 3));
}

TEST(LinkCrc16, PollFrameIsSevenBytes)
{
    std::array<std::uint8_t, 7> poll{0x07, 0x00, 0x00, 0x00, 0x00, 0, 0};
    ASSERT_TRUE(LinkCrc16Append(poll, 5));
    const std::uint16_t crc = LinkCrc16(std::span(poll).first(5));
    EXPECT_EQ(poll[5], crc & 0xFF);
    EXPECT_EQ(poll[6], crc >> 8);
    EXPECT_TRUE(LinkCrc16Check(poll, 5));
    EXPECT_EQ(poll.size(), std::size_t{poll[0]});
}

TEST(LinkCrc16, SwappedCrcBytesFailTheCheck)
{
    std::array<std::uint8_t, 5> frame{'a', 'b', 'c', 0x57, 0x49};
    EXPECT_FALSE(LinkCrc16Check(frame, 3));
}

TEST(LinkCrc16, AnyFlippedBitFailsTheCheck)
{
    std::array<std::uint8_t, 302> frame{};
    for (std::size_t i = 0; i < 300; ++i) frame[i] = static_cast<std::uint8_t>(i * 7 + 3);
    ASSERT_TRUE(LinkCrc16Append(frame, 300));
    ASSERT_TRUE(LinkCrc16Check(frame, 300));
    for (std::size_t i = 0; i < frame.size(); ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            frame[i] ^= static_cast<std::uint8_t>(1u << bit);
            EXPECT_FALSE(LinkCrc16Check(frame, 300)) << "byte " << i << " bit " << bit;
            frame[i] ^= static_cast<std::uint8_t>(1u << bit);
        }
    }
}

TEST(LinkCrc16, RefusesFramesWithoutRoom)
{
    struct Case {
        std::size_t size;
        std::size_t length;
    };
    const Case cases[] = {{0, 0}, {1, 0}, {3, 2}, {4, 3}, {4, 5}, {2, 100}};
    for (const Case& c : cases) {
        std::vector<std::uint8_t> frame(c.size, 0xAA);
        EXPECT_FALSE(LinkCrc16Append(frame, c.length)) << c.size << "/" << c.length;
        EXPECT_EQ(frame, std::vector<std::uint8_t>(c.size, 0xAA));
        EXPECT_FALSE(LinkCrc16Check(frame, c.length)) << c.size << "/" << c.length;
    }
}

}  // namespace
