// Bitmap files on disk: help pictures (SHLoadDIBitmap) and the program's resource overrides,
// and bitmaps written as PNG files.
// A file is a BMP or a PNG by its signature; anything else, a damaged file, or a picture larger
// than the screen loads as null. The size is read from the file's header before any pixel is
// read or decoded, so that a huge picture costs no time and no memory.
#include <algorithm>
#include <fstream>
#include <optional>
#include <vector>

#include "platform/drawing/bmp_decoder.h"
#include "platform/drawing/detail_gdi.h"
#include "platform/storage/files.h"

namespace {

using platform::detail::SurfacePtr;

constexpr std::uintmax_t kMaxImageFileBytes = 64u << 20;
constexpr std::size_t kHeaderBytes = 32;  // enough for the size in a BMP or PNG header
constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t kIhdr[4] = {'I', 'H', 'D', 'R'};

bool IsPng(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= std::size(kPngSignature) &&
           std::equal(std::begin(kPngSignature), std::end(kPngSignature), bytes.begin());
}

std::uint32_t Be32(std::span<const std::uint8_t> b, std::size_t at)
{
    return (static_cast<std::uint32_t>(b[at]) << 24) |
           (static_cast<std::uint32_t>(b[at + 1]) << 16) |
           (static_cast<std::uint32_t>(b[at + 2]) << 8) | b[at + 3];
}

// The size in the IHDR chunk, which a PNG file must start with:
//
// OFFSET  SIZE  FIELD    CONTENT
//      0     8  magic    89 "PNG" 0D 0A 1A 0A
//      8     4  length   13, big-endian
//     12     4  type     "IHDR"
//     16     4  width    pixels, big-endian
//     20     4  height   pixels, big-endian
std::optional<SIZE> ReadPngSize(std::span<const std::uint8_t> b)
{
    if (b.size() < 24 || !IsPng(b) || Be32(b, 8) != 13) return std::nullopt;
    if (!std::equal(std::begin(kIhdr), std::end(kIhdr), b.begin() + 12)) return std::nullopt;
    const std::uint32_t width = Be32(b, 16);
    const std::uint32_t height = Be32(b, 20);
    if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX) return std::nullopt;
    return SIZE{static_cast<LONG>(width), static_cast<LONG>(height)};
}

// A picture the panel can show at all: its header gives a size no larger than the screen.
bool FitsScreen(std::span<const std::uint8_t> header)
{
    const auto size = IsPng(header) ? ReadPngSize(header) : platform::detail::ReadBmpSize(header);
    return size && size->cx <= platform::kScreenWidth && size->cy <= platform::kScreenHeight;
}

// The bytes of a picture file, read only when its header gives a size that fits the screen.
std::optional<std::vector<std::uint8_t>> ReadPictureFile(const std::filesystem::path& path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size == 0 || size > kMaxImageFileBytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes(std::min<std::size_t>(size, kHeaderBytes));
    const auto read = [&](std::size_t from) {
        const auto n = static_cast<std::streamsize>(bytes.size() - from);
        in.read(reinterpret_cast<char*>(bytes.data() + from), n);
        return in.gcount() == n;
    };
    if (!read(0) || !FitsScreen(bytes)) return std::nullopt;
    const std::size_t header = bytes.size();
    bytes.resize(static_cast<std::size_t>(size));
    if (!read(header)) return std::nullopt;
    return bytes;
}

// cairo reads a PNG through this callback, from the bytes already in memory.
struct PngReader {
    std::span<const std::uint8_t> rest;
};

cairo_status_t ReadPngBytes(void* closure, unsigned char* out, unsigned int length)
{
    auto* reader = static_cast<PngReader*>(closure);
    if (length > reader->rest.size()) return CAIRO_STATUS_READ_ERROR;
    std::copy_n(reader->rest.begin(), length, out);
    reader->rest = reader->rest.subspan(length);
    return CAIRO_STATUS_SUCCESS;
}

HBITMAP LoadPng(std::span<const std::uint8_t> bytes)
{
    PngReader reader{bytes};
    SurfacePtr png(cairo_image_surface_create_from_png_stream(&ReadPngBytes, &reader));
    if (cairo_surface_status(png.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    const int w = cairo_image_surface_get_width(png.get());
    const int h = cairo_image_surface_get_height(png.get());
    if (w <= 0 || h <= 0) return nullptr;
    SurfacePtr image = platform::detail::MakeImage(w, h);
    cairo_t* cr = cairo_create(image.get());
    cairo_set_source_surface(cr, png.get(), 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return platform::detail::BitmapFromSurface(std::move(image));
}

HBITMAP LoadBmp(std::span<const std::uint8_t> bytes)
{
    const auto picture = platform::detail::DecodeBmp(bytes);
    if (!picture) return nullptr;
    SurfacePtr image = platform::detail::MakeImage(picture->width, picture->height);
    if (cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    cairo_surface_flush(image.get());
    unsigned char* data = cairo_image_surface_get_data(image.get());
    const int stride = cairo_image_surface_get_stride(image.get());
    const auto width = static_cast<std::size_t>(picture->width);
    for (int row = 0; row < picture->height; ++row) {
        const auto from = picture->pixels.begin() + static_cast<std::ptrdiff_t>(row * width);
        std::copy_n(from, width, reinterpret_cast<std::uint32_t*>(data + row * stride));
    }
    cairo_surface_mark_dirty(image.get());
    return platform::detail::BitmapFromSurface(std::move(image));
}

}  // namespace

namespace platform::detail {

HBITMAP LoadPictureFile(const std::filesystem::path& path)
{
    const auto bytes = ReadPictureFile(path);
    if (!bytes) return nullptr;
    HBITMAP picture = IsPng(*bytes) ? LoadPng(*bytes) : LoadBmp(*bytes);
    if (picture != nullptr) MarkPicture(picture, path.filename().wstring());
    return picture;
}

}  // namespace platform::detail

namespace platform {

bool SaveBitmapPng(HBITMAP bitmap, const std::filesystem::path& png)
{
    const gdi::Bitmap* b = gdi::ObjectAs<gdi::Bitmap>(bitmap);
    if (b == nullptr || !b->surface) return false;
    cairo_surface_flush(b->surface.get());
    return cairo_surface_write_to_png(b->surface.get(), png.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace platform

HBITMAP SHLoadDIBitmap(const wchar_t* panelPath)
{
    if (panelPath == nullptr || *panelPath == 0) return nullptr;
    return platform::detail::LoadPictureFile(platform::MapPanelPath(panelPath));
}
