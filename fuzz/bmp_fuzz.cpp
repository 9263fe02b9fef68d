// Random bytes through the BMP decoder of help pictures. The first input byte chooses the path:
// the bytes as they are, or a file whose headers are built from the input (header kind, depth,
// compression, size, row order, palette length and pixel offset) with the rest of the input
// as palette, masks and pixels, so that short runs reach the pixel loops too. A decoded picture
// must have the size its header gives, one pixel for each, and no bits above 24; a size read
// from a header is never zero or negative.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "platform/drawing/bmp_decoder.h"

namespace {

void Put(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[at + static_cast<std::size_t>(i)] = (value >> (8 * i)) & 0xFF;
}

// A BMP file whose headers the input chooses; the bytes after the headers are the input's rest.
std::vector<std::uint8_t> Shaped(std::span<const std::uint8_t> data)
{
    constexpr std::size_t kChoices = 8;
    if (data.size() < kChoices) return {data.begin(), data.end()};
    constexpr std::array<std::uint32_t, 6> kHeaderSizes = {12, 40, 52, 56, 108, 124};
    constexpr std::array<std::uint32_t, 7> kDepths = {1, 4, 8, 16, 24, 32, 2};
    constexpr std::array<std::uint32_t, 4> kCompressions = {0, 3, 0, 1};
    const std::uint32_t headerSize = kHeaderSizes[data[0] % kHeaderSizes.size()];
    const std::uint32_t bpp = kDepths[data[1] % kDepths.size()];
    const std::uint32_t compression = kCompressions[data[2] % kCompressions.size()];
    const std::int32_t width = 1 + data[3] % 48;
    const std::int32_t height = (1 + data[4] % 48) * ((data[5] & 1) != 0 ? -1 : 1);
    const std::uint32_t colours = data[6] % 4 == 0 ? 0 : data[6];
    const std::uint32_t offBits = (data[7] & 0x80) != 0 ? data[7] : 14 + headerSize + 4 * 256;
    const bool core = headerSize == 12;

    std::vector<std::uint8_t> file(14 + headerSize, 0);
    file[0] = 'B';
    file[1] = 'M';
    Put(file, 10, offBits, 4);
    Put(file, 14, headerSize, 4);
    if (core) {
        Put(file, 18, static_cast<std::uint32_t>(width), 2);
        Put(file, 20, static_cast<std::uint32_t>(height), 2);
        Put(file, 22, 1, 2);
        Put(file, 24, bpp, 2);
    } else {
        Put(file, 18, static_cast<std::uint32_t>(width), 4);
        Put(file, 22, static_cast<std::uint32_t>(height), 4);
        Put(file, 26, 1, 2);
        Put(file, 28, bpp, 2);
        Put(file, 30, compression, 4);
        Put(file, 46, colours, 4);
    }
    file.insert(file.end(), data.begin() + kChoices, data.end());
    return file;
}

void Check(std::span<const std::uint8_t> bytes)
{
    const auto size = platform::detail::ReadBmpSize(bytes);
    if (size && (size->cx <= 0 || size->cy <= 0)) std::abort();
    const auto picture = platform::detail::DecodeBmp(bytes);
    if (!picture) return;
    if (!size || size->cx != picture->width || size->cy != picture->height) std::abort();
    if (picture->width <= 0 || picture->height <= 0) std::abort();
    const auto pixels = static_cast<std::size_t>(picture->width) * picture->height;
    if (picture->pixels.size() != pixels) std::abort();
    for (const std::uint32_t px : picture->pixels) {
        if (px > 0xFFFFFF) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::span<const std::uint8_t> rest(data + 1, size - 1);
    if (data[0] % 2 == 0) {
        Check(rest);
    } else {
        Check(Shaped(rest));
    }
    return 0;
}
