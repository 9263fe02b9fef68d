// The BMP decoder for help pictures and resource overrides: BMP files of 1, 4, 8, 16, 24 and
// 32 bits, plain or with bit fields, bottom-up or top-down, with the core (12-byte) or an
// info header (40 bytes and more).
#include "platform/drawing/bmp_decoder.h"

namespace {

using platform::detail::BmpPicture;

// OFFSET  SIZE  FIELD          CONTENT
//      0     2  bfType         "BM"
//     10     4  bfOffBits      offset of the pixel rows
//     14     4  biSize         12 (core header) or 40 and more
//     18   4/2  biWidth        pixels
//   22/20  4/2  biHeight       pixels; negative: rows top-down
//   28/24    2  biBitCount     1, 4, 8, 16, 24 or 32
//     30     4  biCompression  0 plain, 3 bit fields (16 and 32 bits); others refused
//     46     4  biClrUsed      palette entries (0: all for the depth)
// The palette follows the header (3 bytes an entry after a core header, else 4), the bit
// fields of compression 3 follow a 40-byte header or sit inside a longer one at offset 54.
constexpr std::size_t kCoreHeaderEnd = 26;  // 14 file header + 12 core header
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kHeaderWithMasks = 52;
constexpr std::int64_t kMaxSide = 16384;

struct Header {
    std::uint32_t offBits = 0;
    std::uint32_t headerSize = 0;
    bool core = false;
    std::int64_t width = 0;
    std::int64_t height = 0;  // as in the file: negative for rows top-down
    std::uint32_t bpp = 0;
    std::uint32_t compression = 0;
    std::uint32_t colours = 0;
};

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

// One colour of a pixel, scaled to 0..255 from the bits its mask selects. A field is the
// mask's lowest run of set bits; the scaling runs in 64 bits, since a field may be 32 bits wide.
std::uint8_t Channel(std::uint32_t px, std::uint32_t mask)
{
    if (mask == 0) return 0;
    const std::uint64_t max = (std::uint64_t{1} << MaskBits(mask)) - 1;
    const std::uint64_t v = (px >> MaskShift(mask)) & max;
    return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
}

// The picture's size from the first 26 bytes: 16-bit fields in a core header, 32-bit fields
// in an info header; nothing unless the bytes start with "BM" and a header size the panel reads.
std::optional<Header> ReadSizeFields(std::span<const std::uint8_t> b)
{
    if (b.size() < kCoreHeaderEnd || b[0] != 'B' || b[1] != 'M') return std::nullopt;
    Header h;
    h.offBits = Le(b, 10, 4);
    h.headerSize = Le(b, 14, 4);
    h.core = h.headerSize == kCoreHeaderSize;
    if (h.core) {
        h.width = static_cast<std::int16_t>(Le(b, 18, 2));
        h.height = static_cast<std::int16_t>(Le(b, 20, 2));
        return h;
    }
    if (h.headerSize < kInfoHeaderSize) return std::nullopt;
    h.width = static_cast<std::int32_t>(Le(b, 18, 4));
    h.height = static_cast<std::int32_t>(Le(b, 22, 4));
    return h;
}

// The whole file and bitmap headers; nothing unless they lie within the bytes.
std::optional<Header> ReadHeader(std::span<const std::uint8_t> b)
{
    auto h = ReadSizeFields(b);
    if (!h) return std::nullopt;
    if (h->core) {
        h->bpp = Le(b, 24, 2);
        return h;
    }
    if (14 + static_cast<std::uint64_t>(h->headerSize) > b.size()) return std::nullopt;
    h->bpp = Le(b, 28, 2);
    h->compression = Le(b, 30, 4);
    h->colours = Le(b, 46, 4);
    return h;
}

bool Shown(const Header& h)
{
    const std::int64_t height = h.height < 0 ? -h.height : h.height;
    if (h.width <= 0 || height <= 0 || h.width > kMaxSide || height > kMaxSide) return false;
    if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 16 && h.bpp != 24 && h.bpp != 32)
        return false;
    return h.compression == 0 || (h.compression == 3 && (h.bpp == 16 || h.bpp == 32));
}

struct Masks {
    std::uint32_t r = 0x00FF0000, g = 0x0000FF00, b = 0x000000FF;
};

std::optional<Masks> ReadMasks(std::span<const std::uint8_t> b, const Header& h)
{
    Masks m;
    if (h.bpp == 16) m = Masks{0x7C00, 0x03E0, 0x001F};
    if (h.compression != 3) return m;
    const std::size_t at = 14 + (h.headerSize >= kHeaderWithMasks ? kInfoHeaderSize : h.headerSize);
    if (at + 12 > b.size()) return std::nullopt;
    return Masks{Le(b, at, 4), Le(b, at + 4, 4), Le(b, at + 8, 4)};
}

std::optional<std::vector<std::uint32_t>> ReadPalette(std::span<const std::uint8_t> b,
                                                      const Header& h)
{
    std::vector<std::uint32_t> palette;
    if (h.bpp > 8) return palette;
    const std::uint32_t max = 1u << h.bpp;
    const std::uint32_t count = h.colours == 0 || h.colours > max ? max : h.colours;
    const std::size_t entry = h.core ? 3 : 4;
    const std::size_t at = 14 + h.headerSize;
    if (at + count * entry > b.size()) return std::nullopt;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t p = at + i * entry;
        palette.push_back((static_cast<std::uint32_t>(b[p + 2]) << 16) |
                          (static_cast<std::uint32_t>(b[p + 1]) << 8) | b[p]);
    }
    return palette;
}

std::uint32_t FromMasks(std::uint32_t v, const Masks& m)
{
    return (static_cast<std::uint32_t>(Channel(v, m.r)) << 16) |
           (static_cast<std::uint32_t>(Channel(v, m.g)) << 8) | Channel(v, m.b);
}

// One pixel of a row that starts at `src`.
std::uint32_t Pixel(std::span<const std::uint8_t> b, std::size_t src, std::int64_t x,
                    std::uint32_t bpp, const std::vector<std::uint32_t>& palette, const Masks& m)
{
    switch (bpp) {
        case 1:
        case 4:
        case 8: {
            const std::uint64_t bit = static_cast<std::uint64_t>(x) * bpp;
            const std::uint8_t byte = b[src + bit / 8];
            const unsigned shift = 8 - bpp - static_cast<unsigned>(bit % 8);
            const std::uint32_t index = (byte >> shift) & ((1u << bpp) - 1);
            return index < palette.size() ? palette[index] : 0;
        }
        case 16: return FromMasks(Le(b, src + static_cast<std::size_t>(x) * 2, 2), m);
        case 24: {
            const std::size_t p = src + static_cast<std::size_t>(x) * 3;
            return (static_cast<std::uint32_t>(b[p + 2]) << 16) |
                   (static_cast<std::uint32_t>(b[p + 1]) << 8) | b[p];
        }
        default: return FromMasks(Le(b, src + static_cast<std::size_t>(x) * 4, 4), m);
    }
}

}  // namespace

namespace platform::detail {

std::optional<SIZE> ReadBmpSize(std::span<const std::uint8_t> bytes)
{
    const auto h = ReadSizeFields(bytes);
    if (!h) return std::nullopt;
    const std::int64_t height = h->height < 0 ? -h->height : h->height;
    if (h->width <= 0 || height <= 0 || height > INT32_MAX) return std::nullopt;
    return SIZE{static_cast<LONG>(h->width), static_cast<LONG>(height)};
}

std::optional<BmpPicture> DecodeBmp(std::span<const std::uint8_t> b)
{
    const auto h = ReadHeader(b);
    if (!h || !Shown(*h)) return std::nullopt;
    const auto masks = ReadMasks(b, *h);
    const auto palette = ReadPalette(b, *h);
    if (!masks || !palette) return std::nullopt;
    const bool topDown = h->height < 0;
    const std::int64_t width = h->width;
    const std::int64_t height = topDown ? -h->height : h->height;
    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * h->bpp + 31) / 32) * 4;
    if (h->offBits > b.size() ||
        stride * static_cast<std::uint64_t>(height) > b.size() - h->offBits) {
        return std::nullopt;
    }
    BmpPicture picture;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.pixels.resize(static_cast<std::size_t>(width * height));
    for (std::int64_t row = 0; row < height; ++row) {
        const std::size_t src =
            h->offBits + static_cast<std::size_t>(stride) *
                             static_cast<std::size_t>(topDown ? row : height - 1 - row);
        std::uint32_t* dst = picture.pixels.data() + row * width;
        for (std::int64_t x = 0; x < width; ++x)
            dst[x] = Pixel(b, src, x, h->bpp, *palette, *masks);
    }
    return picture;
}

}  // namespace platform::detail
