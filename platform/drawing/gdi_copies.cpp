// Bitmap copies between device contexts (BitBlt and StretchBlt). The texts and pictures
// recorded in a bitmap travel with its pixels, so that a double-buffered paint still shows
// them; a copy of a picture is recorded as a picture.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/drawing/detail_gdi.h"

using namespace platform::gdi;
using platform::DrawnPicture;
using platform::DrawnText;
using platform::detail::SurfacePtr;

namespace {

constexpr std::size_t kMaxBitmapPictures = 128;

RECT Moved(const RECT& r, int dx, int dy)
{
    return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

bool Overlaps(const RECT& a, const RECT& b)
{
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

bool Within(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Texts and pictures of a bitmap copied to another DC move along with the pixels; a text
// partly outside the copied area is cut there.
void CarryRecords(Dc& dst, const Dc& src, int x, int y, int width, int height, int sx, int sy)
{
    const Bitmap* from = SelectedBitmap(src);
    if (from == nullptr) return;
    const RECT area{sx, sy, sx + width, sy + height};
    const int dx = x - sx;
    const int dy = y - sy;
    const std::vector<DrawnText> texts = from->texts;
    for (DrawnText t : texts) {
        if (!Overlaps(t.rect, area)) continue;
        if (!Within(t.extent, area)) t.cut = true;
        t.rect = Moved(t.rect, dx, dy);
        t.box = Moved(t.box, dx, dy);
        t.extent = Moved(t.extent, dx, dy);
        Record(dst, std::move(t));
    }
    const std::vector<DrawnPicture> pictures = from->pictures;
    for (const DrawnPicture& p : pictures) {
        if (!Overlaps(p.rect, area)) continue;
        const POINT inkOrigin{p.inkOrigin.x + dx, p.inkOrigin.y + dy};
        RecordPicture(dst, DrawnPicture{p.source, Moved(p.rect, dx, dy), p.ink, inkOrigin});
    }
}

bool Blit(HDC hdst, int x, int y, int width, int height, HDC hsrc, int sx, int sy, int sw, int sh)
{
    Dc* dst = FindDc(hdst);
    Dc* src = FindDc(hsrc);
    if (dst == nullptr || src == nullptr) return false;
    if (width == 0 || height == 0) return true;
    cairo_t* cr = Cr(*dst);
    if (cr == nullptr || !src->target) return true;
    SurfacePtr source(cairo_surface_reference(src->target.get()));
    if (source.get() == dst->target.get()) {
        // copying within one image goes through a copy of it
        const int iw = cairo_image_surface_get_width(source.get());
        const int ih = cairo_image_surface_get_height(source.get());
        SurfacePtr copy = platform::detail::MakeImage(iw, ih);
        const int scale = DeviceScaleOf(source.get());
        cairo_surface_set_device_scale(copy.get(), scale, scale);
        cairo_t* c = cairo_create(copy.get());
        cairo_set_source_surface(c, source.get(), 0, 0);
        cairo_paint(c);
        cairo_destroy(c);
        source = std::move(copy);
    }
    cairo_save(cr);
    cairo_rectangle(cr, std::min(x, x + width), std::min(y, y + height), std::abs(width),
                    std::abs(height));
    cairo_clip(cr);
    cairo_translate(cr, x, y);
    if (sw != width || sh != height) {
        if (sw == 0 || sh == 0) {
            cairo_restore(cr);
            return true;
        }
        cairo_scale(cr, static_cast<double>(width) / sw, static_cast<double>(height) / sh);
    }
    cairo_set_source_surface(cr, source.get(), -(sx + src->origin.x), -(sy + src->origin.y));
    cairo_pattern_set_filter(cairo_get_source(cr), (sw == width && sh == height)
                                                       ? CAIRO_FILTER_NEAREST
                                                       : CAIRO_FILTER_GOOD);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_restore(cr);
    const RECT area{std::min(x, x + width), std::min(y, y + height), std::max(x, x + width),
                    std::max(y, y + height)};
    Covered(*dst, area);
    const Bitmap* copied = SelectedBitmap(*src);
    if (copied != nullptr && !copied->picture.empty()) {
        const bool unscaled = sw == width && sh == height;
        RecordPicture(*dst, DrawnPicture{copied->picture, area, unscaled ? copied->ink : nullptr,
                                         POINT{x - sx - src->origin.x, y - sy - src->origin.y}});
    }
    if (sw == width && sh == height) CarryRecords(*dst, *src, x, y, width, height, sx, sy);
    return true;
}

}  // namespace

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy, DWORD /*rop*/)
{
    return Blit(dst, x, y, width, height, src, sx, sy, width, height) ? TRUE : FALSE;
}

BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy, int sw,
                int sh, DWORD /*rop*/)
{
    return Blit(dst, x, y, width, height, src, sx, sy, sw, sh) ? TRUE : FALSE;
}

namespace platform::gdi {

void RecordPicture(Dc& dc, const DrawnPicture& picture)
{
    if (dc.window) {
        platform::detail::RecordWindowPicture(dc.wnd, picture);
        return;
    }
    Bitmap* b = SelectedBitmap(dc);
    if (b == nullptr) return;
    auto& p = b->pictures;
    p.erase(std::remove_if(p.begin(), p.end(),
                           [&](const DrawnPicture& o) { return o.rect == picture.rect; }),
            p.end());
    if (p.size() >= kMaxBitmapPictures) p.erase(p.begin());
    p.push_back(picture);
}

}  // namespace platform::gdi

namespace {

// For each row of a picture, the first and last column that is not blank (the colour of the
// top-left corner), in panel pixels: an image at a paint scale is read one device pixel a panel
// pixel.
std::shared_ptr<const std::vector<DrawnPicture::InkRow>> InkRows(cairo_surface_t* image)
{
    if (image == nullptr || cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) return nullptr;
    cairo_surface_flush(image);
    const SIZE size = platform::detail::PanelSizeOf(image);
    const int width = size.cx;
    const int height = size.cy;
    const int scale = std::max(1, DeviceScaleOf(image));
    const int stride = cairo_image_surface_get_stride(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    if (data == nullptr || width <= 0 || height <= 0) return nullptr;
    const auto pixel = [&](int x, int y) {
        const unsigned char* at = data + y * scale * stride + x * scale * 4;
        return *reinterpret_cast<const std::uint32_t*>(at) & 0xFFFFFFu;
    };
    const std::uint32_t blank = pixel(0, 0);
    auto rows = std::make_shared<std::vector<DrawnPicture::InkRow>>();
    rows->reserve(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        DrawnPicture::InkRow row{width, -1};
        for (int x = 0; x < width; ++x) {
            if (pixel(x, y) == blank) continue;
            row.first = std::min(row.first, x);
            row.last = x;
        }
        rows->push_back(row);
    }
    return rows;
}

}  // namespace

namespace platform::detail {

void MarkPicture(HBITMAP bitmap, const std::wstring& source)
{
    gdi::Bitmap* b = gdi::ObjectAs<gdi::Bitmap>(bitmap);
    if (b == nullptr) return;
    b->picture = source;
    b->ink = InkRows(b->surface.get());
}

}  // namespace platform::detail
