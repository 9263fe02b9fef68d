// Test support: PNG bytes decoded into a picture of 0x00RRGGBB words, to compare what a viewer
// was sent or shows with the panel's own screen.
#pragma once

#include <cairo.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace test_support {

// A decoded picture, 0x00RRGGBB per pixel.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// A PNG file's bytes, from `from` on, as a picture; nothing when they are not a PNG.
inline std::optional<Picture> DecodePng(const std::string& bytes, std::size_t from = 0)
{
    struct Reader {
        const std::string* bytes;
        std::size_t at;
    } reader{&bytes, from};
    cairo_surface_t* png = cairo_image_surface_create_from_png_stream(
        [](void* closure, unsigned char* data, unsigned int length) {
            auto* r = static_cast<Reader*>(closure);
            if (r->at + length > r->bytes->size()) return CAIRO_STATUS_READ_ERROR;
            std::copy_n(r->bytes->data() + r->at, length, data);
            r->at += length;
            return CAIRO_STATUS_SUCCESS;
        },
        &reader);
    if (cairo_surface_status(png) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(png);
        return std::nullopt;
    }
    Picture p{cairo_image_surface_get_width(png), cairo_image_surface_get_height(png), {}};
    const auto* data = cairo_image_surface_get_data(png);
    const int stride = cairo_image_surface_get_stride(png);
    for (int y = 0; y < p.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < p.width; ++x) p.pixels.push_back(row[x] & 0x00FFFFFFu);
    }
    cairo_surface_destroy(png);
    return p;
}

}  // namespace test_support
