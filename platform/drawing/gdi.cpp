// Device contexts and GDI objects: the handle tables of pens, brushes, fonts and bitmaps,
// contexts on window images and on bitmaps, selecting and deleting objects. Texts drawn during
// a paint are recorded, with their rectangle and colour, so that tests and tools can read what
// a screen shows.
#include "platform/drawing/gdi.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

#include "platform/drawing/detail_gdi.h"

using namespace platform::gdi;
using platform::DrawnPicture;
using platform::DrawnText;
using platform::detail::SurfacePtr;

namespace {

constexpr std::size_t kMaxBitmapTexts = 256;

struct ObjectSlot {
    std::unique_ptr<GdiObject> object;
    std::uint32_t generation = 1;
    bool stock = false;
};

struct DcSlot {
    std::unique_ptr<Dc> dc;
    std::uint32_t generation = 1;
};

struct Gdi {
    std::mutex mu;
    std::vector<ObjectSlot> objects;
    std::vector<DcSlot> dcs;
    HGDIOBJ stock[14] = {};
    HGDIOBJ defaultBitmap = nullptr;  // what a new memory DC holds: 1 x 1, never deleted
};

Gdi& G();

template <typename Slot>
std::uintptr_t Encode(std::size_t index, const Slot& slot)
{
    return ((static_cast<std::uintptr_t>(slot.generation & 0xFFFF) << 20) | (index + 1)) << 4;
}

template <typename Slot>
Slot* Decode(std::vector<Slot>& slots, const void* handle, std::size_t* indexOut = nullptr)
{
    const auto v = reinterpret_cast<std::uintptr_t>(handle) >> 4;
    const std::size_t index = v & 0xFFFFF;
    if (index == 0 || index > slots.size()) return nullptr;
    Slot& s = slots[index - 1];
    if (((v >> 20) & 0xFFFF) != (s.generation & 0xFFFF)) return nullptr;
    if (indexOut != nullptr) *indexOut = index - 1;
    return &s;
}

HGDIOBJ AddObjectLocked(Gdi& g, GdiObject obj, bool stock = false)
{
    std::size_t i = 0;
    while (i < g.objects.size() && g.objects[i].object != nullptr) ++i;
    if (i == g.objects.size()) g.objects.emplace_back();
    g.objects[i].object = std::make_unique<GdiObject>(std::move(obj));
    g.objects[i].stock = stock;
    return reinterpret_cast<HGDIOBJ>(Encode(i, g.objects[i]));
}

Gdi& G()
{
    static Gdi* g = [] {
        auto* gdi = new Gdi();  // lives for the process
        gdi->stock[WHITE_BRUSH] = AddObjectLocked(*gdi, Brush{0xFFFFFF, false}, true);
        gdi->stock[LTGRAY_BRUSH] = AddObjectLocked(*gdi, Brush{0xC0C0C0, false}, true);
        gdi->stock[GRAY_BRUSH] = AddObjectLocked(*gdi, Brush{0x808080, false}, true);
        gdi->stock[DKGRAY_BRUSH] = AddObjectLocked(*gdi, Brush{0x404040, false}, true);
        gdi->stock[BLACK_BRUSH] = AddObjectLocked(*gdi, Brush{0x000000, false}, true);
        gdi->stock[NULL_BRUSH] = AddObjectLocked(*gdi, Brush{0, true}, true);
        gdi->stock[WHITE_PEN] = AddObjectLocked(*gdi, Pen{PS_SOLID, 1, 0xFFFFFF}, true);
        gdi->stock[BLACK_PEN] = AddObjectLocked(*gdi, Pen{PS_SOLID, 1, 0x000000}, true);
        gdi->stock[NULL_PEN] = AddObjectLocked(*gdi, Pen{PS_NULL, 0, 0}, true);
        gdi->stock[SYSTEM_FONT] =
            AddObjectLocked(*gdi, Font{kDefaultCellHeight / kCellPerEm, false}, true);
        gdi->defaultBitmap = AddObjectLocked(
            *gdi, Bitmap{SurfacePtr(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1)), {}},
            true);
        return gdi;
    }();
    return *g;
}

// A new context, window or memory, starts with the stock black pen, white brush and system
// font selected.
std::unique_ptr<Dc> NewDc()
{
    auto dc = std::make_unique<Dc>();
    const Gdi& g = G();
    dc->pen = g.stock[BLACK_PEN];
    dc->brush = g.stock[WHITE_BRUSH];
    dc->font = g.stock[SYSTEM_FONT];
    return dc;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

namespace platform::gdi {

HGDIOBJ AddObject(GdiObject obj)
{
    Gdi& g = G();
    std::lock_guard lock(g.mu);
    return AddObjectLocked(g, std::move(obj));
}

GdiObject* FindObject(HGDIOBJ h)
{
    Gdi& g = G();
    std::lock_guard lock(g.mu);
    ObjectSlot* s = Decode(g.objects, h);
    return s != nullptr ? s->object.get() : nullptr;
}

Dc* FindDc(HDC h)
{
    Gdi& g = G();
    std::lock_guard lock(g.mu);
    DcSlot* s = Decode(g.dcs, h);
    return s != nullptr ? s->dc.get() : nullptr;
}

HDC AddDc(std::unique_ptr<Dc> dc)
{
    Gdi& g = G();
    std::lock_guard lock(g.mu);
    std::size_t i = 0;
    while (i < g.dcs.size() && g.dcs[i].dc != nullptr) ++i;
    if (i == g.dcs.size()) g.dcs.emplace_back();
    g.dcs[i].dc = std::move(dc);
    return reinterpret_cast<HDC>(Encode(i, g.dcs[i]));
}

Pen CurrentPen(const Dc& dc)
{
    const Pen* p = ObjectAs<Pen>(dc.pen);
    return p != nullptr ? *p : Pen{};
}
Brush CurrentBrush(const Dc& dc)
{
    const Brush* b = ObjectAs<Brush>(dc.brush);
    return b != nullptr ? *b : Brush{0xFFFFFF, false};
}
Font CurrentFont(const Dc& dc)
{
    const Font* f = ObjectAs<Font>(dc.font);
    return f != nullptr ? *f : Font{kDefaultCellHeight / kCellPerEm, false};
}
Bitmap* SelectedBitmap(const Dc& dc)
{
    return dc.window ? nullptr : ObjectAs<Bitmap>(dc.bitmap);
}

void SetColour(cairo_t* cr, COLORREF c)
{
    cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
}

// The cairo context of a DC: origin translated, clipped, aliased shapes. Null when the DC
// draws on nothing (a memory DC without a bitmap).
cairo_t* Cr(Dc& dc)
{
    if (!dc.target) return nullptr;
    if (dc.cr == nullptr) {
        dc.cr = cairo_create(dc.target.get());
        cairo_translate(dc.cr, dc.origin.x, dc.origin.y);
        cairo_rectangle(dc.cr, dc.clip.left, dc.clip.top, dc.clip.right - dc.clip.left,
                        dc.clip.bottom - dc.clip.top);
        cairo_clip(dc.cr);
        cairo_set_antialias(dc.cr, CAIRO_ANTIALIAS_NONE);
    }
    return dc.cr;
}

// Something opaque covered `area` (DC coordinates): texts and pictures under it are gone.
void Covered(Dc& dc, const RECT& area)
{
    if (dc.window) {
        platform::detail::CoverWindowArea(dc.wnd, area);
        return;
    }
    Bitmap* b = SelectedBitmap(dc);
    if (b == nullptr) return;
    auto& t = b->texts;
    t.erase(std::remove_if(t.begin(), t.end(),
                           [&](const DrawnText& d) { return Inside(d.rect, area); }),
            t.end());
    auto& p = b->pictures;
    p.erase(std::remove_if(p.begin(), p.end(),
                           [&](const DrawnPicture& d) { return Inside(d.rect, area); }),
            p.end());
}

void Record(Dc& dc, DrawnText d)
{
    if (d.text.empty()) return;
    const RECT rect = d.rect;
    if (dc.window) {
        platform::detail::RecordWindowText(dc.wnd, d);
        return;
    }
    Bitmap* b = SelectedBitmap(dc);
    if (b == nullptr) return;
    auto& t = b->texts;
    t.erase(std::remove_if(t.begin(), t.end(), [&](const DrawnText& o) { return o.rect == rect; }),
            t.end());
    if (t.size() >= kMaxBitmapTexts) t.erase(t.begin());
    t.push_back(std::move(d));
}

int DeviceScaleOf(cairo_surface_t* surface)
{
    double sx = 1;
    double sy = 1;
    cairo_surface_get_device_scale(surface, &sx, &sy);
    return std::max(1, static_cast<int>(sx));
}

void FillBox(Dc& dc, const RECT& r, COLORREF colour)
{
    cairo_t* cr = Cr(dc);
    if (cr == nullptr || r.right <= r.left || r.bottom <= r.top) return;
    SetColour(cr, colour);
    cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_fill(cr);
    Covered(dc, r);
}

}  // namespace platform::gdi

// ======================= internal seams =======================

namespace platform::detail {

SurfacePtr MakeImage(int width, int height)
{
    SurfacePtr s(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(1, width), std::max(1, height)));
    // a new image is black (cairo clears it to zero)
    return s;
}

namespace {
std::atomic<int> gPaintScale{1};
}

int PaintScale()
{
    return gPaintScale.load();
}

void SetPaintScale(int scale)
{
    gPaintScale = std::clamp(scale, 1, 8);
}

SurfacePtr MakeCanvas(int width, int height)
{
    const int scale = PaintScale();
    SurfacePtr s = MakeImage(std::max(1, width) * scale, std::max(1, height) * scale);
    cairo_surface_set_device_scale(s.get(), scale, scale);
    return s;
}

SIZE PanelSizeOf(cairo_surface_t* surface)
{
    double sx = 1;
    double sy = 1;
    cairo_surface_get_device_scale(surface, &sx, &sy);
    return SIZE{static_cast<LONG>(cairo_image_surface_get_width(surface) / sx),
                static_cast<LONG>(cairo_image_surface_get_height(surface) / sy)};
}

HDC CreateWindowDc(HWND wnd, const RECT& clip)
{
    const auto canvas = CanvasOf(wnd);
    if (!canvas) return nullptr;
    auto dc = NewDc();
    dc->window = true;
    dc->wnd = wnd;
    dc->target.reset(cairo_surface_reference(canvas->surface));
    dc->origin = canvas->clientOrigin;
    const RECT client{0, 0, canvas->clientSize.cx, canvas->clientSize.cy};
    dc->clip = RECT{std::max(clip.left, client.left), std::max(clip.top, client.top),
                    std::min(clip.right, client.right), std::min(clip.bottom, client.bottom)};
    if (dc->clip.right < dc->clip.left) dc->clip.right = dc->clip.left;
    if (dc->clip.bottom < dc->clip.top) dc->clip.bottom = dc->clip.top;
    return AddDc(std::move(dc));
}

// Wraps an image as a bitmap object.
HBITMAP BitmapFromSurface(SurfacePtr surface)
{
    if (!surface || cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    return AddObject(Bitmap{std::move(surface), {}});
}

}  // namespace platform::detail

namespace platform {

GdiCounts CountGdiObjects()
{
    Gdi& g = G();
    std::lock_guard lock(g.mu);
    GdiCounts counts;
    for (const ObjectSlot& slot : g.objects) {
        if (slot.object != nullptr && !slot.stock) ++counts.objects;
    }
    for (const DcSlot& slot : g.dcs) {
        if (slot.dc != nullptr) ++counts.contexts;
    }
    return counts;
}

}  // namespace platform

// ======================= device contexts and objects =======================

HDC CreateCompatibleDC(HDC /*dc*/)
{
    return AddDc(NewDc());
}

BOOL DeleteDC(HDC h)
{
    Gdi& g = G();
    std::unique_ptr<Dc> doomed;
    {
        std::lock_guard lock(g.mu);
        std::size_t index = 0;
        DcSlot* s = Decode(g.dcs, h, &index);
        if (s == nullptr || s->dc == nullptr) return FALSE;
        doomed = std::move(s->dc);
        ++s->generation;
    }
    if (doomed->window) platform::detail::MarkWindowAreaChanged(doomed->wnd, doomed->clip);
    return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC /*dc*/, int width, int height)
{
    if (width < 0 || height < 0 || static_cast<std::int64_t>(width) * height > 64LL << 20) {
        return nullptr;
    }
    return platform::detail::BitmapFromSurface(platform::detail::MakeCanvas(width, height));
}

HGDIOBJ SelectObject(HDC h, HGDIOBJ object)
{
    Dc* dc = FindDc(h);
    GdiObject* o = FindObject(object);
    if (dc == nullptr || o == nullptr) return nullptr;
    HGDIOBJ old = nullptr;
    if (std::holds_alternative<Pen>(*o)) {
        old = dc->pen;
        dc->pen = object;
    } else if (std::holds_alternative<Brush>(*o)) {
        old = dc->brush;
        dc->brush = object;
    } else if (std::holds_alternative<Font>(*o)) {
        old = dc->font;
        dc->font = object;
    } else {
        if (dc->window) return nullptr;
        old = dc->bitmap;
        auto& bmp = std::get<Bitmap>(*o);
        dc->bitmap = object;
        if (dc->cr != nullptr) {
            cairo_destroy(dc->cr);
            dc->cr = nullptr;
        }
        dc->target.reset(cairo_surface_reference(bmp.surface.get()));
        dc->origin = POINT{0, 0};
        const SIZE size = platform::detail::PanelSizeOf(bmp.surface.get());
        dc->clip = RECT{0, 0, size.cx, size.cy};
        if (old == nullptr) old = G().defaultBitmap;
    }
    return old;
}

BOOL DeleteObject(HGDIOBJ object)
{
    Gdi& g = G();
    std::unique_ptr<GdiObject> doomed;
    std::lock_guard lock(g.mu);
    ObjectSlot* s = Decode(g.objects, object);
    if (s == nullptr || s->object == nullptr) return FALSE;
    if (s->stock) return TRUE;
    doomed = std::move(s->object);  // DCs keep their own reference of a selected image
    ++s->generation;
    return TRUE;
}

HGDIOBJ GetStockObject(int which)
{
    if (which < 0 || which >= 14) return nullptr;
    return G().stock[which];
}

int GetObject(HGDIOBJ object, int size, void* out)
{
    GdiObject* o = FindObject(object);
    if (o == nullptr) return 0;
    if (auto* b = std::get_if<Bitmap>(o)) {
        if (out == nullptr) return static_cast<int>(sizeof(BITMAP));
        if (size < static_cast<int>(sizeof(BITMAP))) return 0;
        BITMAP bm;
        const SIZE panel = platform::detail::PanelSizeOf(b->surface.get());
        bm.bmWidth = panel.cx;  // panel pixels; the bits are device pixels at the paint scale
        bm.bmHeight = panel.cy;
        bm.bmWidthBytes = cairo_image_surface_get_stride(b->surface.get());
        bm.bmBits = cairo_image_surface_get_data(b->surface.get());
        std::memcpy(out, &bm, sizeof bm);
        return static_cast<int>(sizeof bm);
    }
    if (auto* f = std::get_if<Font>(o)) {
        if (out == nullptr) return static_cast<int>(sizeof(LOGFONT));
        if (size < static_cast<int>(sizeof(LOGFONT))) return 0;
        LOGFONT lf;
        lf.lfHeight = -static_cast<LONG>(std::lround(f->size));  // the character height
        lf.lfWeight = f->bold ? FW_BOLD : FW_NORMAL;
        std::memcpy(out, &lf, sizeof lf);
        return static_cast<int>(sizeof lf);
    }
    return 0;
}

HBRUSH CreateSolidBrush(COLORREF colour)
{
    return AddObject(Brush{colour & 0xFFFFFF, false});
}

HPEN CreatePen(int style, int width, COLORREF colour)
{
    return AddObject(Pen{style, std::max(1, width), colour & 0xFFFFFF});
}

HFONT CreateFontIndirect(const LOGFONT* font)
{
    if (font == nullptr) return nullptr;
    Font f;
    if (font->lfHeight > 0) {
        f.size = font->lfHeight / kCellPerEm;
    } else if (font->lfHeight < 0) {
        f.size = -static_cast<double>(font->lfHeight);
    } else {
        f.size = kDefaultCellHeight / kCellPerEm;
    }
    f.size = std::clamp(f.size, 1.0, 400.0);
    f.bold = font->lfWeight >= 600;
    return AddObject(f);
}
