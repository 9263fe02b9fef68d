// Text: colours and background mode, TextOut, ExtTextOut, DrawText with its line breaking, and
// text measures. Text is drawn in DejaVu Sans through cairo, in UTF-8.
#include <algorithm>
#include <cmath>

#include "platform/drawing/detail_gdi.h"
#include "platform/runtime/utf8.h"

using namespace platform::gdi;
using platform::detail::SurfacePtr;

namespace {

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

// A scratch context for measuring text when a DC draws on nothing, at the paint scale, so that
// it measures as the windows draw.
cairo_t* MeasureCr()
{
    struct Scratch {
        SurfacePtr surface;
        cairo_t* cr = nullptr;
        ~Scratch()
        {
            if (cr != nullptr) cairo_destroy(cr);
        }
    };
    thread_local Scratch scratch;
    const int scale = platform::detail::PaintScale();
    if (scratch.cr == nullptr || DeviceScaleOf(scratch.surface.get()) != scale) {
        if (scratch.cr != nullptr) cairo_destroy(scratch.cr);
        scratch.surface = platform::detail::MakeCanvas(1, 1);
        scratch.cr = cairo_create(scratch.surface.get());
    }
    return scratch.cr;
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

bool Within(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool IsEmpty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

RECT Joined(const RECT& a, const RECT& b)
{
    if (IsEmpty(a)) return b;
    if (IsEmpty(b)) return a;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

// The box the glyphs of one line cover when its top-left corner is at x, y (font applied);
// empty for a line of blanks.
RECT InkBox(cairo_t* cr, const std::string& utf8, int x, int y, double ascent)
{
    if (utf8.empty()) return RECT{};
    cairo_text_extents_t te;
    cairo_text_extents(cr, utf8.c_str(), &te);
    if (te.width <= 0 || te.height <= 0) return RECT{};
    const double left = x + te.x_bearing;
    const double top = y + std::round(ascent) + te.y_bearing;
    // to the nearest pixel: an edge that covers less than half a pixel is only anti-aliasing
    const auto nearest = [](double v) { return static_cast<LONG>(std::lround(v)); };
    return RECT{nearest(left), nearest(top), nearest(left + te.width), nearest(top + te.height)};
}

// A rectangle grown by `by` pixels on every side.
RECT Grown(const RECT& r, int by)
{
    return RECT{r.left - by, r.top - by, r.right + by, r.bottom + by};
}

// Records a drawn text with its layout box and the extent of its glyphs. It was cut when its
// glyphs leave what the context can draw on, or the box when the box clips, by more than the
// pixel of a glyph's anti-aliased edge.
void RecordDrawn(Dc& dc, const std::wstring& text, const RECT& cells, const RECT& box,
                 const RECT& extent, bool boxClips)
{
    const RECT area = DrawableArea(dc);
    bool cut = false;
    if (!IsEmpty(extent)) {
        cut = (!IsEmpty(area) && !Within(extent, Grown(area, 1))) ||
              (boxClips && !Within(extent, Grown(box, 1)));
    }
    Record(dc, platform::DrawnText{text, cells, dc.textColour, box, extent, cut});
}

// Sets one text setting of a context and returns what it held, or `unknown` for a handle that is
// not a context.
template <class T>
T ExchangeSetting(HDC h, T Dc::*setting, T value, T unknown)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr) return unknown;
    const T old = dc->*setting;
    dc->*setting = value;
    return old;
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
            if (rest.empty() || TextWidth(cr, platform::Narrow(rest)) <= width) {
                out.push_back(rest);
                break;
            }
            // longest prefix ending at a blank that fits; else as many characters as fit
            std::size_t cut = 0;
            for (std::size_t i = 1; i <= rest.size(); ++i) {
                if (i < rest.size() && rest[i] != L' ') continue;
                if (TextWidth(cr, platform::Narrow(rest.substr(0, i))) > width) break;
                cut = i;
            }
            if (cut == 0) {
                std::size_t n = 1;
                while (n < rest.size() &&
                       TextWidth(cr, platform::Narrow(rest.substr(0, n + 1))) <= width) {
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

}  // namespace

// ======================= text =======================

COLORREF SetTextColor(HDC h, COLORREF colour)
{
    return ExchangeSetting(h, &Dc::textColour, colour & 0xFFFFFF, static_cast<COLORREF>(-1));
}

COLORREF SetBkColor(HDC h, COLORREF colour)
{
    return ExchangeSetting(h, &Dc::bkColour, colour & 0xFFFFFF, static_cast<COLORREF>(-1));
}

int SetBkMode(HDC h, int mode)
{
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    return ExchangeSetting(h, &Dc::bkMode, mode, 0);
}

BOOL TextOut(HDC h, int x, int y, const wchar_t* text, int length)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr || text == nullptr) return FALSE;
    const std::wstring w = TextOf(text, length);
    cairo_t* cr = TextCr(*dc);
    const FontMetrics fm = Metrics(cr, CurrentFont(*dc));
    const std::string utf8 = platform::Narrow(w);
    const int width = TextWidth(cr, utf8);
    if (Cr(*dc) != nullptr) DrawLine(*dc, cr, x, y, utf8, fm.ascent, width, fm.cellHeight);
    RecordDrawn(*dc, w, RECT{x, y, x + width, y + fm.cellHeight}, DrawableArea(*dc),
                InkBox(cr, utf8, x, y, fm.ascent), false);
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
    const std::string utf8 = platform::Narrow(w);
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
    const bool clipped = (options & ETO_CLIPPED) != 0 && rect != nullptr;
    RecordDrawn(*dc, w, RECT{x, y, x + width, y + fm.cellHeight},
                clipped ? *rect : DrawableArea(*dc), InkBox(cr, utf8, x, y, fm.ascent), clipped);
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
        utf8.push_back(platform::Narrow(l));
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
    RECT ink{};
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
        ink = Joined(ink, InkBox(cr, utf8[i], x, y, fm.ascent));
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
        RecordDrawn(*dc, recorded, drawn, r, ink, (format & DT_NOCLIP) == 0);
    }
    return total;
}

BOOL GetTextExtentPoint32(HDC h, const wchar_t* text, int length, SIZE* size)
{
    Dc* dc = FindDc(h);
    if (dc == nullptr || text == nullptr || size == nullptr || length < 0) return FALSE;
    cairo_t* cr = TextCr(*dc);
    const FontMetrics fm = Metrics(cr, CurrentFont(*dc));
    size->cx = TextWidth(cr, platform::Narrow(TextOf(text, length)));
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

namespace platform::gdi {

RECT DrawableArea(const Dc& dc)
{
    if (dc.window) {
        const auto canvas = platform::detail::CanvasOf(dc.wnd);
        if (!canvas) return RECT{};
        return RECT{0, 0, canvas->clientSize.cx, canvas->clientSize.cy};
    }
    if (!dc.target) return RECT{};
    const SIZE size = platform::detail::PanelSizeOf(dc.target.get());
    return RECT{-dc.origin.x, -dc.origin.y, size.cx - dc.origin.x, size.cy - dc.origin.y};
}

}  // namespace platform::gdi
