// Bitmap files on disk: help pictures (SHLoadDIBitmap) and the program's resource overrides.
// A file is a BMP or a PNG by its signature; anything else, or a damaged file, loads as null.
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
constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::optional<std::vector<std::uint8_t>> ReadFile(const std::filesystem::path& path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size == 0 || size > kMaxImageFileBytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) return std::nullopt;
    return bytes;
}

bool IsPng(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= std::size(kPngSignature) &&
           std::equal(std::begin(kPngSignature), std::end(kPngSignature), bytes.begin());
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
    const auto bytes = ReadFile(path);
    if (!bytes) return nullptr;
    return IsPng(*bytes) ? LoadPng(*bytes) : LoadBmp(*bytes);
}

}  // namespace platform::detail

HBITMAP SHLoadDIBitmap(const wchar_t* panelPath)
{
    if (panelPath == nullptr || *panelPath == 0) return nullptr;
    return platform::detail::LoadPictureFile(platform::MapPanelPath(panelPath));
}
