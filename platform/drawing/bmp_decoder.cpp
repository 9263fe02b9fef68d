// The BMP decoder for help pictures and resource overrides: BMP files of 1, 4, 8, 16, 24 and
// 32 bits, plain or with bit fields, bottom-up or top-down.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/drawing/detail_gdi.h"

namespace {

using platform::detail::SurfacePtr;

std::uint32_t Le(std::span<const std::uint8_t> b, std::size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return v;
}

int MaskShift(std::uint32_t mask)
{
    int s = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++s;
    }
    return s;
}

int MaskBits(std::uint32_t mask)
{
    mask >>= MaskShift(mask);
    int n = 0;
    while ((mask & 1) != 0) {
        mask >>= 1;
        ++n;
    }
    return n;
}

std::uint8_t Channel(std::uint32_t px, std::uint32_t mask)
{
    if (mask == 0) return 0;
    const int bits = MaskBits(mask);
    const std::uint32_t v = (px & mask) >> MaskShift(mask);
    const std::uint32_t max = bits >= 32 ? 0xFFFFFFFFu : ((1u << bits) - 1);
    return static_cast<std::uint8_t>(max == 0 ? 0 : (v * 255 + max / 2) / max);
}

}  // namespace

namespace platform::detail {

// Decodes a BMP file held in memory; null when the bytes are not a bitmap this panel shows.
//
// OFFSET  SIZE  FIELD          CONTENT
//      0     2  bfType         "BM"
//     10     4  bfOffBits      offset of the pixel rows
//     14     4  biSize         12 (core header) or 40 and more
//     18   4/2  biWidth        pixels
//     22   4/2  biHeight       pixels; negative: rows top-down
//     26/24  2  biBitCount     1, 4, 8, 16, 24 or 32
//     30     4  biCompression  0 plain, 3 bit fields (16 and 32 bits); others refused
//     46     4  biClrUsed      palette entries (0: all for the depth)
HBITMAP DecodeBmp(std::span<const std::uint8_t> b)
{
    if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') return nullptr;
    const std::uint32_t offBits = Le(b, 10, 4);
    const std::uint32_t headerSize = Le(b, 14, 4);
    const bool core = headerSize == 12;
    if (!core && (headerSize < 40 || 14 + static_cast<std::uint64_t>(headerSize) > b.size())) {
        return nullptr;
    }
    std::int64_t width = 0, height = 0;
    std::uint32_t bpp = 0, compression = 0, colours = 0;
    if (core) {
        width = static_cast<std::int16_t>(Le(b, 18, 2));
        height = static_cast<std::int16_t>(Le(b, 20, 2));
        bpp = Le(b, 24, 2);
    } else {
        width = static_cast<std::int32_t>(Le(b, 18, 4));
        height = static_cast<std::int32_t>(Le(b, 22, 4));
        bpp = Le(b, 28, 2);
        compression = Le(b, 30, 4);
        colours = Le(b, 46, 4);
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return nullptr;
    if (compression != 0 && !(compression == 3 && (bpp == 16 || bpp == 32))) return nullptr;

    std::uint32_t rMask = 0x00FF0000, gMask = 0x0000FF00, bMask = 0x000000FF;
    if (bpp == 16) {
        rMask = 0x7C00;
        gMask = 0x03E0;
        bMask = 0x001F;
    }
    if (compression == 3) {
        const std::size_t at = 14 + (headerSize >= 52 ? 40 : headerSize);
        if (at + 12 > b.size()) return nullptr;
        rMask = Le(b, at, 4);
        gMask = Le(b, at + 4, 4);
        bMask = Le(b, at + 8, 4);
    }
    std::vector<std::uint32_t> palette;
    if (bpp <= 8) {
        const std::uint32_t max = 1u << bpp;
        const std::uint32_t count = colours == 0 || colours > max ? max : colours;
        const std::size_t entry = core ? 3 : 4;
        const std::size_t at = 14 + headerSize;
        if (at + count * entry > b.size()) return nullptr;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::size_t p = at + i * entry;
            palette.push_back((static_cast<std::uint32_t>(b[p + 2]) << 16) |
                              (static_cast<std::uint32_t>(b[p + 1]) << 8) | b[p]);
        }
    }
    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bpp + 31) / 32) * 4;
    if (offBits > b.size() || stride * static_cast<std::uint64_t>(height) > b.size() - offBits) {
        return nullptr;
    }
    SurfacePtr surface = MakeImage(static_cast<int>(width), static_cast<int>(height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int dstStride = cairo_image_surface_get_stride(surface.get());
    for (std::int64_t row = 0; row < height; ++row) {
        const std::size_t src =
            offBits + static_cast<std::size_t>(stride) *
                          static_cast<std::size_t>(topDown ? row : height - 1 - row);
        auto* dst = reinterpret_cast<std::uint32_t*>(data + row * dstStride);
        for (std::int64_t x = 0; x < width; ++x) {
            std::uint32_t px = 0;
            switch (bpp) {
                case 1:
                case 4:
                case 8: {
                    const std::uint64_t bit = static_cast<std::uint64_t>(x) * bpp;
                    const std::uint8_t byte = b[src + bit / 8];
                    const unsigned shift = 8 - bpp - static_cast<unsigned>(bit % 8);
                    const std::uint32_t index = (byte >> shift) & ((1u << bpp) - 1);
                    px = index < palette.size() ? palette[index] : 0;
                    break;
                }
                case 16: {
                    const std::uint32_t v = Le(b, src + static_cast<std::size_t>(x) * 2, 2);
                    px = (static_cast<std::uint32_t>(Channel(v, rMask)) << 16) |
                         (static_cast<std::uint32_t>(Channel(v, gMask)) << 8) | Channel(v, bMask);
                    break;
                }
                case 24: {
                    const std::size_t p = src + static_cast<std::size_t>(x) * 3;
                    px = (static_cast<std::uint32_t>(b[p + 2]) << 16) |
                         (static_cast<std::uint32_t>(b[p + 1]) << 8) | b[p];
                    break;
                }
                default: {
                    const std::uint32_t v = Le(b, src + static_cast<std::size_t>(x) * 4, 4);
                    px = (static_cast<std::uint32_t>(Channel(v, rMask)) << 16) |
                         (static_cast<std::uint32_t>(Channel(v, gMask)) << 8) | Channel(v, bMask);
                    break;
                }
            }
            dst[x] = px;
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return BitmapFromSurface(std::move(surface));
}

}  // namespace platform::detail
