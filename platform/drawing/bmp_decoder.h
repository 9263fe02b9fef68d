// The BMP decoder of help pictures and resource overrides. It takes a file's bytes as they
// are and answers with a value: a picture, or nothing for bytes it does not show. Bad bytes
// never raise an exception or an assert. Not for application code.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/win_types.h"

namespace platform::detail {

// A decoded picture: 0x00RRGGBB pixels, row by row from the top.
struct BmpPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // width * height
};

// Width and height as the file header gives them, read from its first 26 bytes without
// looking at the rest; nothing when the bytes do not start a BMP header or give no size.
std::optional<SIZE> ReadBmpSize(std::span<const std::uint8_t> bytes);

// The whole picture; nothing for a depth or compression the panel does not show, a palette or
// pixel rows that run past the end, or a size beyond 16384 pixels.
std::optional<BmpPicture> DecodeBmp(std::span<const std::uint8_t> bytes);

}  // namespace platform::detail
