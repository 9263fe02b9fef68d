// The BMP decoder on its own: the size read from the header alone.
#include "platform/drawing/bmp_decoder.h"

#include <gtest/gtest.h>

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

}  // namespace
