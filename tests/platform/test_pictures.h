// Bitmap files for tests, built byte by byte: BMP files with 32-bit bit fields and plain
// 24-bit ones, and plain grey PNG files (stored, not compressed).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace test_pictures {

// Appends a little-endian value of `bytes` bytes.
inline void PutLe(std::vector<std::uint8_t>& b, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// File header and 40-byte info header of an uncompressed or bit-field BMP.
inline std::vector<std::uint8_t> BmpHeaders(int width, int height, int bpp,
                                            std::uint32_t compression, std::uint32_t pixelBytes,
                                            std::uint32_t extra)
{
    const std::uint32_t offBits = 14 + 40 + extra;
    std::vector<std::uint8_t> b{'B', 'M'};
    PutLe(b, offBits + pixelBytes, 4);
    PutLe(b, 0, 4);
    PutLe(b, offBits, 4);
    PutLe(b, 40, 4);
    PutLe(b, static_cast<std::uint32_t>(width), 4);
    PutLe(b, static_cast<std::uint32_t>(height), 4);
    PutLe(b, 1, 2);
    PutLe(b, static_cast<std::uint32_t>(bpp), 2);
    PutLe(b, compression, 4);
    PutLe(b, pixelBytes, 4);
    for (int i = 0; i < 4; ++i) PutLe(b, 0, 4);  // resolution, palette counts
    return b;
}

// A 24-bit BMP of one colour (0x00RRGGBB).
inline std::vector<std::uint8_t> PlainBmp(int width, int height, std::uint32_t rgb = 0x808080)
{
    const int stride = (width * 3 + 3) / 4 * 4;
    auto b = BmpHeaders(width, height, 24, 0, static_cast<std::uint32_t>(stride * height), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) PutLe(b, rgb, 3);
        for (int pad = width * 3; pad < stride; ++pad) b.push_back(0);
    }
    return b;
}

// A 1 x 1 32-bit BMP with bit fields (compression 3): red, green and blue masks and the pixel.
inline std::vector<std::uint8_t> BitFieldBmp(const std::array<std::uint32_t, 3>& masks,
                                             std::uint32_t pixel)
{
    auto b = BmpHeaders(1, 1, 32, 3, 4, 12);
    for (const std::uint32_t m : masks) PutLe(b, m, 4);
    PutLe(b, pixel, 4);
    return b;
}

inline std::uint32_t Crc32(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

inline void PutBe(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    for (int i = 3; i >= 0; --i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline void PngChunk(std::vector<std::uint8_t>& png, const char* type,
                     const std::vector<std::uint8_t>& body)
{
    PutBe(png, static_cast<std::uint32_t>(body.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), body.begin(), body.end());
    PutBe(png, Crc32(png.data() + start, png.size() - start));
}

// An 8-bit grey PNG of one level; its pixel rows go into stored (uncompressed) deflate blocks.
inline std::vector<std::uint8_t> PlainPng(int width, int height, std::uint8_t grey = 0x80)
{
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        raw.insert(raw.end(), static_cast<std::size_t>(width), grey);
    }
    std::vector<std::uint8_t> z{0x78, 0x01};
    for (std::size_t at = 0; at < raw.size();) {
        const std::size_t n = std::min<std::size_t>(raw.size() - at, 0xFFFF);
        z.push_back(at + n == raw.size() ? 1 : 0);  // last block, stored
        PutLe(z, static_cast<std::uint32_t>(n), 2);
        PutLe(z, static_cast<std::uint32_t>(~n & 0xFFFF), 2);
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                 raw.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    }
    std::uint32_t a = 1, b = 0;
    for (const std::uint8_t c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBe(z, (b << 16) | a);

    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBe(header, static_cast<std::uint32_t>(width));
    PutBe(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 0, 0, 0, 0});  // 8 bits, grey, deflate, no filter, no interlace
    PngChunk(png, "IHDR", header);
    PngChunk(png, "IDAT", z);
    PngChunk(png, "IEND", {});
    return png;
}

}  // namespace test_pictures
