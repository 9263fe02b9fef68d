// The browser view's copy of the panel picture: changed parts merged and bounded, copied in on
// the user-interface thread, taken out and written as PNG on the server thread.
#include "platform/web/frame_store.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <optional>

namespace platform::web {

namespace {

constexpr RECT kScreen{0, 0, kScreenWidth, kScreenHeight};

bool IsEmpty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

RECT Clipped(const RECT& r)
{
    return RECT{std::max(r.left, kScreen.left), std::max(r.top, kScreen.top),
                std::min(r.right, kScreen.right), std::min(r.bottom, kScreen.bottom)};
}

void CopyPart(const PanelPicture& from, PanelPicture& to, const RECT& part)
{
    const auto width = static_cast<std::size_t>(part.right - part.left);
    for (int y = part.top; y < part.bottom; ++y) {
        const std::size_t at =
            static_cast<std::size_t>(y) * kScreenWidth + static_cast<std::size_t>(part.left);
        std::memcpy(to.pixels.data() + at, from.pixels.data() + at, width * sizeof(std::uint32_t));
    }
}

// The smallest box within `part` outside which `a` and `b` agree; nothing when they agree.
std::optional<RECT> DifferingBox(const PanelPicture& a, const PanelPicture& b, const RECT& part)
{
    const auto width = static_cast<std::size_t>(part.right - part.left);
    const auto rowDiffers = [&](int y) {
        const std::size_t at =
            static_cast<std::size_t>(y) * kScreenWidth + static_cast<std::size_t>(part.left);
        return std::memcmp(a.pixels.data() + at, b.pixels.data() + at, width * 4) != 0;
    };
    int top = part.top;
    while (top < part.bottom && !rowDiffers(top)) ++top;
    if (top == part.bottom) return std::nullopt;
    int bottom = part.bottom;
    while (!rowDiffers(bottom - 1)) --bottom;
    int left = part.right;
    int right = part.left;
    for (int y = top; y < bottom; ++y) {
        const std::uint32_t* ra = a.pixels.data() + static_cast<std::size_t>(y) * kScreenWidth;
        const std::uint32_t* rb = b.pixels.data() + static_cast<std::size_t>(y) * kScreenWidth;
        int x = part.left;
        while (x < left && ra[x] == rb[x]) ++x;
        left = std::min(left, x);
        int end = part.right;
        while (end > right && ra[end - 1] == rb[end - 1]) --end;
        right = std::max(right, end);
    }
    return RECT{left, top, right, bottom};
}

void AppendBytes(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<std::string*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}

// Writes the part as an RGB PNG with zlib's fastest level and no row filter: the panel's flat
// colours and text still shrink well, and a part costs a fraction of the default levels' time.
// libpng reports errors by a long jump back here; nothing with a destructor lives in this frame.
bool WriteFastPng(const PanelPicture& picture, const RECT& part, std::string* out)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, AppendBytes, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(part.right - part.left),
                 static_cast<png_uint_32>(part.bottom - part.top), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png, info);
    // The words are 0x00RRGGBB in memory order B, G, R, unused: libpng takes them as they are.
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = part.top; y < part.bottom; ++y) {
        const std::uint32_t* row = picture.pixels.data() +
                                   static_cast<std::size_t>(y) * kScreenWidth +
                                   static_cast<std::size_t>(part.left);
        png_write_row(png, reinterpret_cast<png_const_bytep>(row));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool FrameStore::Publish(cairo_surface_t* screen, std::span<const RECT> parts)
{
    if (screen == nullptr || cairo_image_surface_get_format(screen) != CAIRO_FORMAT_RGB24) {
        return false;
    }
    cairo_surface_flush(screen);
    const unsigned char* data = cairo_image_surface_get_data(screen);
    const int stride = cairo_image_surface_get_stride(screen);
    const int scale = std::max(1, cairo_image_surface_get_width(screen) / kScreenWidth);
    if (data == nullptr || cairo_image_surface_get_height(screen) < kScreenHeight * scale) {
        return false;
    }
    std::lock_guard lock(mu_);
    const bool first = changed_.empty();
    for (const RECT& area : parts) {
        const RECT part = Clipped(area);
        if (IsEmpty(part)) continue;
        for (int y = part.top; y < part.bottom; ++y) {
            // At a paint scale above 1 each panel pixel is the middle device pixel of its block.
            const auto* row = reinterpret_cast<const std::uint32_t*>(
                data + static_cast<std::ptrdiff_t>(y * scale + scale / 2) * stride);
            std::uint32_t* out =
                picture_.pixels.data() + static_cast<std::size_t>(y) * kScreenWidth;
            if (scale == 1) {
                std::memcpy(out + part.left, row + part.left,
                            static_cast<std::size_t>(part.right - part.left) * 4);
                continue;
            }
            for (int x = part.left; x < part.right; ++x) {
                out[x] = row[x * scale + scale / 2] & 0x00FFFFFFu;
            }
        }
        changed_.Add(part);
    }
    return first && !changed_.empty();
}

std::vector<RECT> FrameStore::TakeChanges(PanelPicture& picture)
{
    std::lock_guard lock(mu_);
    std::vector<RECT> parts;
    for (const RECT& part : changed_.Take()) {
        // The panel often paints a part again as it was (a reading that did not change):
        // only the pixels that really differ go on, and a part with none is dropped.
        const std::optional<RECT> changed = DifferingBox(picture_, picture, part);
        if (!changed) continue;
        CopyPart(picture_, picture, *changed);
        parts.push_back(*changed);
    }
    return parts;
}

std::string EncodePng(const PanelPicture& picture, const RECT& area)
{
    const RECT part = Clipped(area);
    if (IsEmpty(part)) return {};
    std::string png;
    png.reserve(4096);
    if (!WriteFastPng(picture, part, &png)) png.clear();
    return png;
}

std::string UpdateMessage(const PanelPicture& picture, const RECT& area)
{
    const RECT part = Clipped(area);
    const std::string png = EncodePng(picture, part);
    if (png.empty()) return {};
    std::string message;
    message.reserve(8 + png.size());
    for (const LONG value : {part.left, part.top, part.right - part.left, part.bottom - part.top}) {
        message.push_back(static_cast<char>(value & 0xFF));
        message.push_back(static_cast<char>((value >> 8) & 0xFF));
    }
    return message + png;
}

}  // namespace platform::web
