// Drawing on cairo: device contexts on window images and on bitmaps, pens, brushes, fonts,
// text, lines, shapes and bitmap copies. Texts drawn during a paint are recorded, with their
// rectangle and colour, so that tests and tools can read what a screen shows.
#include "platform/drawing/gdi.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "platform/runtime/runtime.h"
#include "platform/windowing/detail_window.h"
#include "platform/windowing/window.h"

namespace {

using platform::DrawnText;
using platform::detail::SurfacePtr;

constexpr int kDefaultCellHeight = 16;
constexpr double kCellPerEm = 1.164;  // DejaVu Sans: ascent 0.928 + descent 0.236 of the em
constexpr std::size_t kMaxBitmapTexts = 256;

struct Pen {
    int style = PS_SOLID;
    int width = 1;
    COLORREF colour = 0;
};
struct Brush {
    COLORREF colour = 0;
    bool null = false;
};
struct Font {
    double size = 13.7;  // cairo font size (em) in pixels
    bool bold = false;
};
struct Bitmap {
    SurfacePtr surface;
    std::vector<DrawnText> texts;  // bitmap coordinates
};
using GdiObject = std::variant<Pen, Brush, Font, Bitmap>;

struct ObjectSlot {
    std::unique_ptr<GdiObject> object;
    std::uint32_t generation = 1;
    bool stock = false;
};

struct Dc {
    bool window = false;
    HWND wnd = nullptr;
    SurfacePtr target;  // a reference of the window image or the selected bitmap's image
    POINT origin;       // DC (0, 0) in the target
    RECT clip;          // DC coordinates
    HGDIOBJ pen = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ font = nullptr;
    HGDIOBJ bitmap = nullptr;  // memory DCs
    COLORREF textColour = 0x000000;
    COLORREF bkColour = 0xFFFFFF;
    int bkMode = OPAQUE;
    POINT pos;
    cairo_t* cr = nullptr;
    ~Dc()
    {
        if (cr != nullptr) cairo_destroy(cr);
    }
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

HGDIOBJ AddObject(GdiObject obj)
{
    Gdi& g = G();
    std::lock_guard lock(g.mu);
    return AddObjectLocked(g, std::move(obj));
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

template <typename T>
T* ObjectAs(HGDIOBJ h)
{
    GdiObject* o = FindObject(h);
    return o != nullptr ? std::get_if<T>(o) : nullptr;
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

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Something opaque covered `area` (DC coordinates): texts under it are gone.
void Covered(Dc& dc, const RECT& area)
{
    Bitmap* b = SelectedBitmap(dc);
    if (b == nullptr) return;
    auto& t = b->texts;
    t.erase(std::remove_if(t.begin(), t.end(),
                           [&](const DrawnText& d) { return Inside(d.rect, area); }),
            t.end());
}

void Record(Dc& dc, const std::wstring& text, const RECT& rect)
{
    if (text.empty()) return;
    DrawnText d{text, rect, dc.textColour};
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

void FillBox(Dc& dc, const RECT& r, COLORREF colour)
{
    cairo_t* cr = Cr(dc);
    if (cr == nullptr || r.right <= r.left || r.bottom <= r.top) return;
    SetColour(cr, colour);
    cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_fill(cr);
    Covered(dc, r);
}

// ---- text ----
struct FontMetrics {
    double ascent = 0;
    int cellHeight = 0;
};

void ApplyFont(cairo_t* cr, const Font& f)
{
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           f.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, f.size);
}

// A scratch context for measuring text when a DC draws on nothing.
cairo_t* MeasureCr()
{
    thread_local SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1));
    thread_local cairo_t* cr = cairo_create(surface.get());
    return cr;
}

cairo_t* TextCr(Dc& dc)
{
    cairo_t* cr = Cr(dc);
    return cr != nullptr ? cr : MeasureCr();
}

FontMetrics Metrics(cairo_t* cr, const Font& f)
{
    ApplyFont(cr, f);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    return FontMetrics{fe.ascent, static_cast<int>(std::lround(fe.ascent + fe.descent))};
}

int TextWidth(cairo_t* cr, const std::string& utf8)
{
    if (utf8.empty()) return 0;
    cairo_text_extents_t te;
    cairo_text_extents(cr, utf8.c_str(), &te);
    return static_cast<int>(std::lround(te.x_advance));
}

std::wstring TextOf(const wchar_t* text, int length)
{
    if (text == nullptr) return {};
    if (length < 0) return std::wstring(text);
    std::size_t n = 0;
    while (n < static_cast<std::size_t>(length) && text[n] != 0) ++n;
    return std::wstring(text, n);
}

// Draws one line with its top-left corner at x, y (font already applied).
void DrawLine(Dc& dc, cairo_t* cr, int x, int y, const std::string& utf8, double ascent, int width,
              int height)
{
    if (dc.bkMode == OPAQUE) {
        const RECT box{x, y, x + width, y + height};
        FillBox(dc, box, dc.bkColour);
    }
    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
    SetColour(cr, dc.textColour);
    cairo_move_to(cr, x, y + std::round(ascent));
    cairo_show_text(cr, utf8.c_str());
    cairo_restore(cr);
}

std::wstring ExpandTabs(const std::wstring& line)
{
    std::wstring out;
    for (wchar_t c : line) {
        if (c != L'\t') {
            out.push_back(c);
            continue;
        }
        do {
            out.push_back(L' ');
        } while (out.size() % 8 != 0);
    }
    return out;
}

// Breaks a text into the lines DrawText shows.
std::vector<std::wstring> Lines(cairo_t* cr, const std::wstring& text, UINT format, int width)
{
    std::vector<std::wstring> raw;
    if ((format & DT_SINGLELINE) != 0) {
        std::wstring one;
        for (wchar_t c : text) {
            if (c != L'\r' && c != L'\n') one.push_back(c);
        }
        raw.push_back(one);
    } else {
        std::wstring cur;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const wchar_t c = text[i];
            if (c == L'\r') {
                if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
                raw.push_back(cur);
                cur.clear();
            } else if (c == L'\n') {
                raw.push_back(cur);
                cur.clear();
            } else {
                cur.push_back(c);
            }
        }
        raw.push_back(cur);
    }
    for (auto& l : raw) {
        if ((format & DT_EXPANDTABS) != 0) {
            l = ExpandTabs(l);
        } else {
            std::replace(l.begin(), l.end(), L'\t', L' ');
        }
    }
    if ((format & DT_WORDBREAK) == 0 || (format & DT_SINGLELINE) != 0) return raw;
    std::vector<std::wstring> out;
    for (const auto& l : raw) {
        std::wstring rest = l;
        while (true) {
            if (rest.empty() || TextWidth(cr, platform::detail::ToUtf8(rest)) <= width) {
                out.push_back(rest);
                break;
            }
            // longest prefix ending at a blank that fits; else as many characters as fit
            std::size_t cut = 0;
            for (std::size_t i = 1; i <= rest.size(); ++i) {
                if (i < rest.size() && rest[i] != L' ') continue;
                if (TextWidth(cr, platform::detail::ToUtf8(rest.substr(0, i))) > width) break;
                cut = i;
            }
            if (cut == 0) {
                std::size_t n = 1;
                while (n < rest.size() &&
                       TextWidth(cr, platform::detail::ToUtf8(rest.substr(0, n + 1))) <= width) {
                    ++n;
                }
                cut = n;
            }
            out.push_back(rest.substr(0, cut));
            std::size_t next = cut;
            while (next < rest.size() && rest[next] == L' ') ++next;
            rest = rest.substr(next);
            if (rest.empty()) break;
        }
    }
    return out;
}

// ---- bitmap files ----
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

std::uint8_t Channel(std::uint32_t px, std::uint32_t mask)
{
    if (mask == 0) return 0;
    const int bits = MaskBits(mask);
    const std::uint32_t v = (px & mask) >> MaskShift(mask);
    const std::uint32_t max = bits >= 32 ? 0xFFFFFFFFu : ((1u << bits) - 1);
    return static_cast<std::uint8_t>(max == 0 ? 0 : (v * 255 + max / 2) / max);
}

}  // namespace

// ======================= internal seams =======================

namespace platform::detail {

SurfacePtr MakeImage(int width, int height)
{
    SurfacePtr s(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(1, width), std::max(1, height)));
    // a new image is black (cairo clears it to zero)
    return s;
}

std::string ToUtf8(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        auto c = static_cast<std::uint32_t>(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::wstring FromUtf8(const std::string& text)
{
    std::wstring out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<std::uint8_t>(text[i]);
        int extra = 0;
        std::uint32_t c = b;
        if (b >= 0xF0) {
            extra = 3;
            c = b & 0x07;
        } else if (b >= 0xE0) {
            extra = 2;
            c = b & 0x0F;
        } else if (b >= 0xC0) {
            extra = 1;
            c = b & 0x1F;
        } else if (b >= 0x80) {
            c = 0xFFFD;
        }
        ++i;
        for (int k = 0; k < extra; ++k) {
            if (i >= text.size() || (static_cast<std::uint8_t>(text[i]) & 0xC0) != 0x80) {
                c = 0xFFFD;
                break;
            }
            c = (c << 6) | (static_cast<std::uint8_t>(text[i]) & 0x3F);
            ++i;
        }
        out.push_back(static_cast<wchar_t>(c));
    }
    return out;
}

HDC CreateWindowDc(HWND wnd, const RECT& clip)
{
    const auto canvas = CanvasOf(wnd);
    if (!canvas) return nullptr;
    auto dc = std::make_unique<Dc>();
    dc->window = true;
    dc->wnd = wnd;
    dc->target.reset(cairo_surface_reference(canvas->surface));
    dc->origin = canvas->clientOrigin;
    const RECT client{0, 0, canvas->clientSize.cx, canvas->clientSize.cy};
    dc->clip = RECT{std::max(clip.left, client.left), std::max(clip.top, client.top),
                    std::min(clip.right, client.right), std::min(clip.bottom, client.bottom)};
    if (dc->clip.right < dc->clip.left) dc->clip.right = dc->clip.left;
    if (dc->clip.bottom < dc->clip.top) dc->clip.bottom = dc->clip.top;
    Gdi& g = G();
    dc->pen = g.stock[BLACK_PEN];
    dc->brush = g.stock[WHITE_BRUSH];
    dc->font = g.stock[SYSTEM_FONT];
    return AddDc(std::move(dc));
}

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
        cairo_show_text(cr, ToUtf8(title).c_str());
    }
    cairo_destroy(cr);
}

// Copies of bitmap texts (used by resources.cpp to know a face's caption).
std::vector<DrawnText> BitmapTextsOf(HBITMAP bitmap)
{
    const Bitmap* b = ObjectAs<Bitmap>(bitmap);
    return b != nullptr ? b->texts : std::vector<DrawnText>{};
}

// Wraps an image as a bitmap object.
HBITMAP BitmapFromSurface(SurfacePtr surface)
{
    if (!surface || cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    return AddObject(Bitmap{std::move(surface), {}});
}

// Decodes a BMP file held in memory; null when the bytes are not a bitmap this panel shows.
//
// OFFSET  SIZE  FIELD          CONTENT
//      0     2  bfType         "BM"
//     10     4  bfOffBits      offset of the pixel rows
//     14     4  biSize         12 (core header) or 40 and more
//     18   4/2  biWidth        pixels
//     22   4/2  biHeight       pixels; negative: rows top-down
//     26/24  2  biBitCount     1, 4, 8, 16, 24 or 32
//     30     4  biCompression  0 plain, 3 bit fields (16 and 32 bits); others refused
//     46     4  biClrUsed      palette entries (0: all for the depth)
HBITMAP DecodeBmp(std::span<const std::uint8_t> b)
{
    if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') return nullptr;
    const std::uint32_t offBits = Le(b, 10, 4);
    const std::uint32_t headerSize = Le(b, 14, 4);
    const bool core = headerSize == 12;
    if (!core && (headerSize < 40 || 14 + static_cast<std::uint64_t>(headerSize) > b.size())) {
        return nullptr;
    }
    std::int64_t width = 0, height = 0;
    std::uint32_t bpp = 0, compression = 0, colours = 0;
    if (core) {
        width = static_cast<std::int16_t>(Le(b, 18, 2));
        height = static_cast<std::int16_t>(Le(b, 20, 2));
        bpp = Le(b, 24, 2);
    } else {
        width = static_cast<std::int32_t>(Le(b, 18, 4));
        height = static_cast<std::int32_t>(Le(b, 22, 4));
        bpp = Le(b, 28, 2);
        compression = Le(b, 30, 4);
        colours = Le(b, 46, 4);
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return nullptr;
    if (compression != 0 && !(compression == 3 && (bpp == 16 || bpp == 32))) return nullptr;

    std::uint32_t rMask = 0x00FF0000, gMask = 0x0000FF00, bMask = 0x000000FF;
    if (bpp == 16) {
        rMask = 0x7C00;
        gMask = 0x03E0;
        bMask = 0x001F;
    }
    if (compression == 3) {
        const std::size_t at = 14 + (headerSize >= 52 ? 40 : headerSize);
        if (at + 12 > b.size()) return nullptr;
        rMask = Le(b, at, 4);
        gMask = Le(b, at + 4, 4);
        bMask = Le(b, at + 8, 4);
    }
    std::vector<std::uint32_t> palette;
    if (bpp <= 8) {
        const std::uint32_t max = 1u << bpp;
        const std::uint32_t count = colours == 0 || colours > max ? max : colours;
        const std::size_t entry = core ? 3 : 4;
        const std::size_t at = 14 + headerSize;
        if (at + count * entry > b.size()) return nullptr;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::size_t p = at + i * entry;
            palette.push_back((static_cast<std::uint32_t>(b[p + 2]) << 16) |
                              (static_cast<std::uint32_t>(b[p + 1]) << 8) | b[p]);
        }
    }
    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bpp + 31) / 32) * 4;
    if (offBits > b.size() || stride * static_cast<std::uint64_t>(height) > b.size() - offBits) {
        return nullptr;
    }
    SurfacePtr surface = MakeImage(static_cast<int>(width), static_cast<int>(height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int dstStride = cairo_image_surface_get_stride(surface.get());
    for (std::int64_t row = 0; row < height; ++row) {
        const std::size_t src =
            offBits + static_cast<std::size_t>(stride) *
                          static_cast<std::size_t>(topDown ? row : height - 1 - row);
        auto* dst = reinterpret_cast<std::uint32_t*>(data + row * dstStride);
        for (std::int64_t x = 0; x < width; ++x) {
            std::uint32_t px = 0;
            switch (bpp) {
                case 1:
                case 4:
                case 8: {
                    const std::uint64_t bit = static_cast<std::uint64_t>(x) * bpp;
                    const std::uint8_t byte = b[src + bit / 8];
                    const unsigned shift = 8 - bpp - static_cast<unsigned>(bit % 8);
                    const std::uint32_t index = (byte >> shift) & ((1u << bpp) - 1);
                    px = index < palette.size() ? palette[index] : 0;
                    break;
                }
                case 16: {
                    const std::uint32_t v = Le(b, src + static_cast<std::size_t>(x) * 2, 2);
                    px = (static_cast<std::uint32_t>(Channel(v, rMask)) << 16) |
                         (static_cast<std::uint32_t>(Channel(v, gMask)) << 8) | Channel(v, bMask);
                    break;
                }
                case 24: {
                    const std::size_t p = src + static_cast<std::size_t>(x) * 3;
                    px = (static_cast<std::uint32_t>(b[p + 2]) << 16) |
                         (static_cast<std::uint32_t>(b[p + 1]) << 8) | b[p];
                    break;
                }
                default: {
                    const std::uint32_t v = Le(b, src + static_cast<std::size_t>(x) * 4, 4);
                    px = (static_cast<std::uint32_t>(Channel(v, rMask)) << 16) |
                         (static_cast<std::uint32_t>(Channel(v, gMask)) << 8) | Channel(v, bMask);
                    break;
                }
            }
            dst[x] = px;
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return BitmapFromSurface(std::move(surface));
}

}  // namespace platform::detail

// ======================= device contexts and objects =======================

HDC CreateCompatibleDC(HDC /*dc*/)
{
    auto dc = std::make_unique<Dc>();
    Gdi& g = G();
    dc->pen = g.stock[BLACK_PEN];
    dc->brush = g.stock[WHITE_BRUSH];
    dc->font = g.stock[SYSTEM_FONT];
    return AddDc(std::move(dc));
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
    if (doomed->window) platform::detail::MarkScreenChanged();
    return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC /*dc*/, int width, int height)
{
    if (width < 0 || height < 0 || static_cast<std::int64_t>(width) * height > 64LL << 20) {
        return nullptr;
    }
    return platform::detail::BitmapFromSurface(platform::detail::MakeImage(width, height));
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
        dc->clip = RECT{0, 0, cairo_image_surface_get_width(bmp.surface.get()),
                        cairo_image_surface_get_height(bmp.surface.get())};
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
        bm.bmWidth = cairo_image_surface_get_width(b->surface.get());
        bm.bmHeight = cairo_image_surface_get_height(b->surface.get());
        bm.bmWidthBytes = cairo_image_surface_get_stride(b->surface.get());
        bm.bmBits = cairo_image_surface_get_data(b->surface.get());
        std::memcpy(out, &bm, sizeof bm);
        return static_cast<int>(sizeof bm);
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

COLORREF SetPixel(HDC h, int x, int y, COLORREF colour)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr || !dc->target) return static_cast<COLORREF>(-1);
    const POINT p{x, y};
    if (!PtInRect(&dc->clip, p)) return static_cast<COLORREF>(-1);
    cairo_surface_t* s = dc->target.get();
    cairo_surface_flush(s);
    auto* row = reinterpret_cast<std::uint32_t*>(
        cairo_image_surface_get_data(s) + (y + dc->origin.y) * cairo_image_surface_get_stride(s));
    row[x + dc->origin.x] = (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
                            (static_cast<std::uint32_t>(GetGValue(colour)) << 8) |
                            static_cast<std::uint32_t>(GetBValue(colour));
    cairo_surface_mark_dirty(s);
    return colour & 0xFFFFFF;
}

COLORREF GetPixel(HDC h, int x, int y)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr || !dc->target) return static_cast<COLORREF>(-1);
    cairo_surface_t* s = dc->target.get();
    const int sx = x + dc->origin.x, sy = y + dc->origin.y;
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

// ======================= text =======================

COLORREF SetTextColor(HDC h, COLORREF colour)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr) return static_cast<COLORREF>(-1);
    const COLORREF old = dc->textColour;
    dc->textColour = colour & 0xFFFFFF;
    return old;
}

COLORREF SetBkColor(HDC h, COLORREF colour)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr) return static_cast<COLORREF>(-1);
    const COLORREF old = dc->bkColour;
    dc->bkColour = colour & 0xFFFFFF;
    return old;
}

int SetBkMode(HDC h, int mode)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    const int old = dc->bkMode;
    dc->bkMode = mode;
    return old;
}

BOOL TextOut(HDC h, int x, int y, const wchar_t* text, int length)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr || text == nullptr) return FALSE;
    const std::wstring w = TextOf(text, length);
    cairo_t* cr = TextCr(*dc);
    const FontMetrics fm = Metrics(cr, CurrentFont(*dc));
    const std::string utf8 = platform::detail::ToUtf8(w);
    const int width = TextWidth(cr, utf8);
    if (Cr(*dc) != nullptr) DrawLine(*dc, cr, x, y, utf8, fm.ascent, width, fm.cellHeight);
    Record(*dc, w, RECT{x, y, x + width, y + fm.cellHeight});
    return TRUE;
}

BOOL ExtTextOut(HDC h, int x, int y, UINT options, const RECT* rect, const wchar_t* text,
                UINT length, const int* /*dx*/)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr) return FALSE;
    if ((options & ETO_OPAQUE) != 0 && rect != nullptr) FillBox(*dc, *rect, dc->bkColour);
    if (text == nullptr || length == 0) return TRUE;
    const std::wstring w = TextOf(text, static_cast<int>(std::min<UINT>(length, 1u << 20)));
    cairo_t* cr = TextCr(*dc);
    const FontMetrics fm = Metrics(cr, CurrentFont(*dc));
    const std::string utf8 = platform::detail::ToUtf8(w);
    const int width = TextWidth(cr, utf8);
    if (Cr(*dc) != nullptr) {
        cairo_save(cr);
        if ((options & ETO_CLIPPED) != 0 && rect != nullptr) {
            cairo_rectangle(cr, rect->left, rect->top, rect->right - rect->left,
                            rect->bottom - rect->top);
            cairo_clip(cr);
        }
        const int savedMode = dc->bkMode;
        if ((options & ETO_OPAQUE) != 0) dc->bkMode = TRANSPARENT;  // already filled
        DrawLine(*dc, cr, x, y, utf8, fm.ascent, width, fm.cellHeight);
        dc->bkMode = savedMode;
        cairo_restore(cr);
    }
    Record(*dc, w, RECT{x, y, x + width, y + fm.cellHeight});
    return TRUE;
}

int DrawText(HDC h, const wchar_t* text, int length, RECT* rect, UINT format)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr || text == nullptr || rect == nullptr) return 0;
    const std::wstring w = TextOf(text, length);
    cairo_t* cr = TextCr(*dc);
    const FontMetrics fm = Metrics(cr, CurrentFont(*dc));
    const RECT r = *rect;
    const int boxWidth = std::max<LONG>(0, r.right - r.left);
    const auto lines = Lines(cr, w, format, boxWidth);
    std::vector<std::string> utf8;
    std::vector<int> widths;
    int maxWidth = 0;
    for (const auto& l : lines) {
        utf8.push_back(platform::detail::ToUtf8(l));
        widths.push_back(TextWidth(cr, utf8.back()));
        maxWidth = std::max(maxWidth, widths.back());
    }
    const int total = fm.cellHeight * static_cast<int>(lines.size());
    if ((format & DT_CALCRECT) != 0) {
        if ((format & DT_WORDBREAK) == 0 || maxWidth > boxWidth) rect->right = r.left + maxWidth;
        rect->bottom = r.top + total;
        return total;
    }
    int y = r.top;
    if ((format & DT_SINGLELINE) != 0) {
        if ((format & DT_VCENTER) != 0) {
            y = r.top + (r.bottom - r.top - fm.cellHeight) / 2;
        } else if ((format & DT_BOTTOM) != 0) {
            y = r.bottom - fm.cellHeight;
        }
    }
    const bool draw = Cr(*dc) != nullptr;
    if (draw) {
        cairo_save(cr);
        if ((format & DT_NOCLIP) == 0) {
            cairo_rectangle(cr, r.left, r.top, boxWidth, std::max<LONG>(0, r.bottom - r.top));
            cairo_clip(cr);
        }
    }
    RECT drawn{};
    bool any = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        int x = r.left;
        if ((format & DT_CENTER) != 0) {
            x = r.left + (boxWidth - widths[i]) / 2;
        } else if ((format & DT_RIGHT) != 0) {
            x = r.right - widths[i];
        }
        if (draw) DrawLine(*dc, cr, x, y, utf8[i], fm.ascent, widths[i], fm.cellHeight);
        const RECT box{x, y, x + widths[i], y + fm.cellHeight};
        if (widths[i] > 0) {
            drawn = any ? RECT{std::min(drawn.left, box.left), std::min(drawn.top, box.top),
                               std::max(drawn.right, box.right), std::max(drawn.bottom, box.bottom)}
                        : box;
            any = true;
        }
        y += fm.cellHeight;
    }
    if (draw) cairo_restore(cr);
    if (any) {
        std::wstring recorded;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0) recorded.push_back(L'\n');
            recorded += lines[i];
        }
        Record(*dc, recorded, drawn);
    }
    return total;
}

BOOL GetTextExtentPoint32(HDC h, const wchar_t* text, int length, SIZE* size)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr || text == nullptr || size == nullptr || length < 0) return FALSE;
    cairo_t* cr = TextCr(*dc);
    const FontMetrics fm = Metrics(cr, CurrentFont(*dc));
    size->cx = TextWidth(cr, platform::detail::ToUtf8(TextOf(text, length)));
    size->cy = fm.cellHeight;
    return TRUE;
}

BOOL GetTextMetrics(HDC h, TEXTMETRIC* metrics)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr || metrics == nullptr) return FALSE;
    cairo_t* cr = TextCr(*dc);
    const FontMetrics fm = Metrics(cr, CurrentFont(*dc));
    metrics->tmHeight = fm.cellHeight;
    metrics->tmAscent = static_cast<LONG>(std::lround(fm.ascent));
    metrics->tmDescent = fm.cellHeight - metrics->tmAscent;
    metrics->tmAveCharWidth = TextWidth(cr, "x");
    return TRUE;
}

// ======================= copies =======================

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
