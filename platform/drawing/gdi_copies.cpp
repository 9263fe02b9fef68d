// Bitmap copies between device contexts (BitBlt and StretchBlt). The texts recorded in a
// bitmap travel with its pixels, so that a double-buffered paint still shows its texts.
#include <algorithm>
#include <cstdlib>

#include "platform/drawing/detail_gdi.h"

using namespace platform::gdi;
using platform::DrawnText;
using platform::detail::SurfacePtr;

namespace {

// Texts of a bitmap copied to another DC move along with the pixels.
void CarryTexts(Dc& dst, const Dc& src, int x, int y, int width, int height, int sx, int sy)
{
    const Bitmap* from = SelectedBitmap(src);
    if (from == nullptr || from->texts.empty()) return;
    const RECT area{sx, sy, sx + width, sy + height};
    const std::vector<DrawnText> texts = from->texts;
    for (const DrawnText& t : texts) {
        const RECT cut{std::max(t.rect.left, area.left), std::max(t.rect.top, area.top),
                       std::min(t.rect.right, area.right), std::min(t.rect.bottom, area.bottom)};
        if (cut.right <= cut.left || cut.bottom <= cut.top) continue;
        const RECT moved{t.rect.left - sx + x, t.rect.top - sy + y, t.rect.right - sx + x,
                         t.rect.bottom - sy + y};
        const COLORREF saved = dst.textColour;
        dst.textColour = t.colour;
        Record(dst, t.text, moved);
        dst.textColour = saved;
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
    const RECT area{x, y, x + width, y + height};
    Covered(*dst, area);
    if (sw == width && sh == height) CarryTexts(*dst, *src, x, y, width, height, sx, sy);
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
