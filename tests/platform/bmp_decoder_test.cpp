// The BMP decoder on its own: the size read from the header alone, and bit-field pixels scaled
// to full colours whatever the width of their fields.
#include "platform/drawing/bmp_decoder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "tests/platform/test_pictures.h"

namespace {

using platform::detail::DecodeBmp;
using platform::detail::ReadBmpSize;

TEST(BmpDecoder, SizeComesFromTheFirstHeaderBytesAlone)
{
    const auto file = test_pictures::PlainBmp(641, 3);
    const auto size = ReadBmpSize(std::span(file).first(26));
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->cx, 641);
    EXPECT_EQ(size->cy, 3);

    auto topDown = test_pictures::PlainBmp(2, 2);
    topDown[22] = 0xFE;  // height -2
    topDown[23] = topDown[24] = topDown[25] = 0xFF;
    EXPECT_EQ(ReadBmpSize(topDown)->cy, 2);

    const std::vector<std::uint8_t> core{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26, 0,  0,
                                         0,   12,  0, 0, 0, 7, 0, 5, 0, 1, 0,  24, 0};
    EXPECT_EQ(ReadBmpSize(core)->cx, 7);
    EXPECT_EQ(ReadBmpSize(core)->cy, 5);

    auto notBmp = file;
    notBmp[0] = 'X';
    EXPECT_FALSE(ReadBmpSize(notBmp).has_value());
    EXPECT_FALSE(ReadBmpSize(std::span(file).first(25)).has_value());
}

TEST(BmpDecoder, BitFieldsScaleToFullColourWhateverTheirWidth)
{
    struct Case {
        std::array<std::uint32_t, 3> masks;
        std::uint32_t pixel;
        std::uint32_t rgb;
    };
    const Case cases[] = {
        {{0x00FF0000, 0x0000FF00, 0x000000FF}, 0x00123456, 0x123456},
        {{0x3FF00000, 0x000FFC00, 0x000003FF}, 0x3FF00200, 0xFF0080},  // 10 bits a colour
        {{0xFFFFFFFF, 0, 0}, 0xFFFFFFFF, 0xFF0000},                    // one 32-bit field
        {{0xFFFFFF00, 0x000000F0, 0x0000000F}, 0x80000000, 0x800000},  // 24 bits of red
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.masks[0]);
        const auto picture = DecodeBmp(test_pictures::BitFieldBmp(c.masks, c.pixel));
        ASSERT_TRUE(picture.has_value());
        ASSERT_EQ(picture->pixels.size(), 1u);
        EXPECT_EQ(picture->pixels[0], c.rgb);
    }
}

}  // namespace
