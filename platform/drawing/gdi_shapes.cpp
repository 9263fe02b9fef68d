// Lines and shapes: rectangles, frames, ellipses, polygons, lines with pens, single pixels,
// and the title bar and border of windows.
#include <algorithm>
#include <cmath>

#include "platform/drawing/detail_gdi.h"
#include "platform/runtime/utf8.h"

using namespace platform::gdi;

// ======================= shapes =======================

int FillRect(HDC h, const RECT* rect, HBRUSH brush)
{
    Dc* dc = FindDc(h);
    const Brush* b = ObjectAs<Brush>(brush);
    if (dc == nullptr || rect == nullptr || b == nullptr) return 0;
    if (!b->null) FillBox(*dc, *rect, b->colour);
    return 1;
}

int FrameRect(HDC h, const RECT* rect, HBRUSH brush)
{
    Dc* dc = FindDc(h);
    const Brush* b = ObjectAs<Brush>(brush);
    if (dc == nullptr || rect == nullptr || b == nullptr) return 0;
    if (b->null) return 1;
    const RECT& r = *rect;
    cairo_t* cr = Cr(*dc);
    if (cr == nullptr || r.right <= r.left || r.bottom <= r.top) return 1;
    SetColour(cr, b->colour);
    cairo_rectangle(cr, r.left, r.top, r.right - r.left, 1);
    cairo_rectangle(cr, r.left, r.bottom - 1, r.right - r.left, 1);
    cairo_rectangle(cr, r.left, r.top, 1, r.bottom - r.top);
    cairo_rectangle(cr, r.right - 1, r.top, 1, r.bottom - r.top);
    cairo_fill(cr);
    return 1;
}

namespace {

void StrokeWithPen(cairo_t* cr, const Pen& pen)
{
    SetColour(cr, pen.colour);
    cairo_set_line_width(cr, pen.width);
    if (pen.style == PS_DASH) {
        const double dash[] = {6.0, 3.0};
        cairo_set_dash(cr, dash, 2, 0);
    }
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
}

// Fills the interior of the current path with the brush and strokes it with the pen.
void PaintPath(Dc& dc, cairo_t* cr, bool antialias)
{
    const Brush b = CurrentBrush(dc);
    const Pen p = CurrentPen(dc);
    cairo_save(cr);
    cairo_set_antialias(cr, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    if (!b.null) {
        SetColour(cr, b.colour);
        cairo_fill_preserve(cr);
    }
    if (p.style != PS_NULL) {
        StrokeWithPen(cr, p);
    } else {
        cairo_new_path(cr);
    }
    cairo_restore(cr);
}

}  // namespace

BOOL Rectangle(HDC h, int left, int top, int right, int bottom)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr) return FALSE;
    cairo_t* cr = Cr(*dc);
    if (cr == nullptr) return TRUE;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    const Brush b = CurrentBrush(*dc);
    const Pen p = CurrentPen(*dc);
    if (!b.null) FillBox(*dc, RECT{left, top, right, bottom}, b.colour);
    if (p.style == PS_NULL || right - left < 1 || bottom - top < 1) return TRUE;
    const int w = std::min({p.width, (right - left + 1) / 2, (bottom - top + 1) / 2});
    SetColour(cr, p.colour);
    cairo_rectangle(cr, left, top, right - left, w);
    cairo_rectangle(cr, left, bottom - w, right - left, w);
    cairo_rectangle(cr, left, top, w, bottom - top);
    cairo_rectangle(cr, right - w, top, w, bottom - top);
    cairo_fill(cr);
    return TRUE;
}

BOOL Ellipse(HDC h, int left, int top, int right, int bottom)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr) return FALSE;
    cairo_t* cr = Cr(*dc);
    if (cr == nullptr || right - left < 1 || bottom - top < 1) return TRUE;
    const double inset = CurrentPen(*dc).style == PS_NULL ? 0 : CurrentPen(*dc).width / 2.0;
    const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
    const double rx = std::max(0.5, (right - left) / 2.0 - inset);
    const double ry = std::max(0.5, (bottom - top) / 2.0 - inset);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    PaintPath(*dc, cr, true);
    return TRUE;
}

BOOL Polygon(HDC h, const POINT* points, int count)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr || points == nullptr || count < 2) return FALSE;
    cairo_t* cr = Cr(*dc);
    if (cr == nullptr) return TRUE;
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_move_to(cr, points[0].x + 0.5, points[0].y + 0.5);
    for (int i = 1; i < count; ++i) cairo_line_to(cr, points[i].x + 0.5, points[i].y + 0.5);
    cairo_close_path(cr);
    PaintPath(*dc, cr, false);
    return TRUE;
}

BOOL MoveToEx(HDC h, int x, int y, POINT* previous)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr) return FALSE;
    if (previous != nullptr) *previous = dc->pos;
    dc->pos = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC h, int x, int y)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr) return FALSE;
    const POINT from = dc->pos;
    dc->pos = POINT{x, y};
    const Pen p = CurrentPen(*dc);
    cairo_t* cr = Cr(*dc);
    if (cr == nullptr || p.style == PS_NULL || (from.x == x && from.y == y)) return TRUE;
    const int w = p.width;
    const int before = (w - 1) / 2;
    SetColour(cr, p.colour);
    if (p.style == PS_SOLID && from.y == y) {
        // the end point is not drawn, as on the panel
        const int x0 = from.x < x ? from.x : x + 1;
        const int x1 = from.x < x ? x : from.x + 1;
        cairo_rectangle(cr, x0, y - before, x1 - x0, w);
        cairo_fill(cr);
        return TRUE;
    }
    if (p.style == PS_SOLID && from.x == x) {
        const int y0 = from.y < y ? from.y : y + 1;
        const int y1 = from.y < y ? y : from.y + 1;
        cairo_rectangle(cr, x - before, y0, w, y1 - y0);
        cairo_fill(cr);
        return TRUE;
    }
    const double off = (w % 2 == 1) ? 0.5 : 0.0;
    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
    cairo_move_to(cr, from.x + off, from.y + off);
    cairo_line_to(cr, x + off, y + off);
    StrokeWithPen(cr, p);
    cairo_restore(cr);
    return TRUE;
}

// A pixel of the panel is a square of device pixels at the paint scale: SetPixel fills all of
// it, GetPixel reads its top-left one.
COLORREF SetPixel(HDC h, int x, int y, COLORREF colour)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr || !dc->target) return static_cast<COLORREF>(-1);
    const POINT p{x, y};
    if (!PtInRect(&dc->clip, p)) return static_cast<COLORREF>(-1);
    cairo_surface_t* s = dc->target.get();
    cairo_surface_flush(s);
    const int scale = DeviceScaleOf(s);
    const std::uint32_t value = (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
                                (static_cast<std::uint32_t>(GetGValue(colour)) << 8) |
                                static_cast<std::uint32_t>(GetBValue(colour));
    const int sx = (x + dc->origin.x) * scale;
    const int sy = (y + dc->origin.y) * scale;
    for (int row = sy; row < sy + scale; ++row) {
        auto* line = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(s) +
                                                      row * cairo_image_surface_get_stride(s));
        std::fill(line + sx, line + sx + scale, value);
    }
    cairo_surface_mark_dirty(s);
    return colour & 0xFFFFFF;
}

COLORREF GetPixel(HDC h, int x, int y)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr || !dc->target) return static_cast<COLORREF>(-1);
    cairo_surface_t* s = dc->target.get();
    const int scale = DeviceScaleOf(s);
    const int sx = (x + dc->origin.x) * scale, sy = (y + dc->origin.y) * scale;
    if (sx < 0 || sy < 0 || sx >= cairo_image_surface_get_width(s) ||
        sy >= cairo_image_surface_get_height(s)) {
        return static_cast<COLORREF>(-1);
    }
    cairo_surface_flush(s);
    const auto* row = reinterpret_cast<const std::uint32_t*>(
        cairo_image_surface_get_data(s) + sy * cairo_image_surface_get_stride(s));
    const std::uint32_t v = row[sx];
    return RGB(static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF),
               static_cast<int>(v & 0xFF));
}

// ======================= internal seams =======================

namespace platform::detail {

void DrawWindowFrame(cairo_surface_t* surface, int width, int height, int captionHeight, int border,
                     const std::wstring& title, bool active)
{
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    if (border > 0) {
        cairo_set_source_rgb(cr, 0.25, 0.25, 0.25);
        cairo_rectangle(cr, 0, 0, width, height);
        cairo_rectangle(cr, border, border, width - 2 * border, height - 2 * border);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_fill(cr);
    }
    if (captionHeight > 0) {
        const double w = width - 2 * border;
        if (active) {
            cairo_set_source_rgb(cr, 0.0, 0.0, 0.5);
        } else {
            cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
        }
        cairo_rectangle(cr, border, border, w, captionHeight);
        cairo_fill(cr);
        cairo_rectangle(cr, border, border, w - 4, captionHeight);
        cairo_clip(cr);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
        cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
        cairo_set_font_size(cr, 12);
        cairo_font_extents_t fe;
        cairo_font_extents(cr, &fe);
        cairo_set_source_rgb(cr, 1, 1, 1);
        const double baseline =
            border + std::round((captionHeight - (fe.ascent + fe.descent)) / 2 + fe.ascent);
        cairo_move_to(cr, border + 3, baseline);
        cairo_show_text(cr, platform::Narrow(title).c_str());
    }
    cairo_destroy(cr);
}

}  // namespace platform::detail
