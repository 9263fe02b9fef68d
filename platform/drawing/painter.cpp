// The painter's verbs: each makes the pen, brush or font it needs, selects it for the one call
// and deletes it before it returns; the paint of a window lasts as long as the painter.
#include "platform/drawing/painter.h"

#include <algorithm>
#include <cstdlib>

#include "platform/drawing/detail_gdi.h"

namespace platform {

namespace {

GdiObject MakeFont(int height, int weight)
{
    LOGFONT description{};
    description.lfHeight = height;
    description.lfWeight = weight;
    return GdiObject(CreateFontIndirect(&description));
}

// A pen for an edge `width` pixels wide; no edge at all for width 0.
GdiObject MakeEdgePen(COLORREF colour, int width)
{
    return GdiObject(CreatePen(width > 0 ? PS_SOLID : PS_NULL, width > 0 ? width : 1, colour));
}

// Runs `draw` with a brush of `fill` and an edge pen selected, and releases both.
template <typename Draw>
void Shape(HDC dc, COLORREF fill, COLORREF edge, int edgeWidth, Draw&& draw)
{
    const GdiObject brush(CreateSolidBrush(fill));
    const GdiObject pen = MakeEdgePen(edge, edgeWidth);
    const Selection brushSelected(dc, brush.get());
    const Selection penSelected(dc, pen.get());
    draw();
}

}  // namespace

Painter::Painter(HWND wnd, COLORREF background)
{
    paint_.emplace(wnd);
    RECT client{};
    GetClientRect(wnd, &client);
    width_ = client.right - client.left;
    height_ = client.bottom - client.top;
    dc_ = paint_->dc();
    Fill(client, background);
}

Painter::Painter(HDC dc, int width, int height) : dc_(dc), width_(width), height_(height) {}

Painter::~Painter() = default;

void Painter::Fill(const RECT& rect, COLORREF colour)
{
    const GdiObject brush(CreateSolidBrush(colour));
    FillRect(dc_, &rect, brush.get());
}

void Painter::Line(int x1, int y1, int x2, int y2, COLORREF colour, int width)
{
    const GdiObject pen(CreatePen(PS_SOLID, width, colour));
    const Selection selected(dc_, pen.get());
    MoveToEx(dc_, x1, y1, nullptr);
    LineTo(dc_, x2, y2);
}

void Painter::Box(const RECT& rect, COLORREF fill, COLORREF edge, int edgeWidth)
{
    Shape(dc_, fill, edge, edgeWidth,
          [&] { ::Rectangle(dc_, rect.left, rect.top, rect.right, rect.bottom); });
}

void Painter::Frame(const RECT& rect, COLORREF edge, int edgeWidth)
{
    if (edgeWidth <= 0) return;
    const GdiObject pen = MakeEdgePen(edge, edgeWidth);
    const Selection brushSelected(dc_, GetStockObject(NULL_BRUSH));
    const Selection penSelected(dc_, pen.get());
    ::Rectangle(dc_, rect.left, rect.top, rect.right, rect.bottom);
}

void Painter::Ellipse(const RECT& rect, COLORREF fill, COLORREF edge, int edgeWidth)
{
    Shape(dc_, fill, edge, edgeWidth,
          [&] { ::Ellipse(dc_, rect.left, rect.top, rect.right, rect.bottom); });
}

void Painter::Polygon(std::span<const POINT> points, COLORREF fill, COLORREF edge, int edgeWidth)
{
    Shape(dc_, fill, edge, edgeWidth,
          [&] { ::Polygon(dc_, points.data(), static_cast<int>(points.size())); });
}

void Painter::Text(const std::wstring& text, const RECT& rect, COLORREF colour, int height,
                   int weight, UINT format)
{
    if (text.empty()) return;
    const GdiObject font = MakeFont(height, weight);
    const Selection selected(dc_, font.get());
    const COLORREF oldColour = SetTextColor(dc_, colour);
    const int oldMode = SetBkMode(dc_, TRANSPARENT);
    RECT box = rect;
    DrawText(dc_, text.c_str(), static_cast<int>(text.size()), &box, format);
    SetBkMode(dc_, oldMode);
    SetTextColor(dc_, oldColour);
}

void Painter::TextToFit(const std::wstring& text, const RECT& rect, COLORREF colour, int height,
                        int weight, UINT format, int step, int smallest)
{
    if (text.empty()) return;
    Text(text, rect, colour,
         FittedHeight(text, rect.right - rect.left, height, weight, step, smallest), weight,
         format);
}

int Painter::FittedHeight(const std::wstring& text, LONG width, int height, int weight, int step,
                          int smallest) const
{
    // a negative height is a character height, as in LOGFONT: it steps the same way
    const int sign = height < 0 ? -1 : 1;
    int size = height * sign;
    smallest = std::abs(smallest);
    step = std::max(step, 1);
    while (size > smallest && TextExtent(text, size * sign, weight).cx > width) {
        size = std::max(size - step, smallest);
    }
    return size * sign;
}

SIZE Painter::TextExtent(const std::wstring& text, int height, int weight) const
{
    const GdiObject font = MakeFont(height, weight);
    const Selection selected(dc_, font.get());
    SIZE extent{};
    GetTextExtentPoint32(dc_, text.c_str(), static_cast<int>(text.size()), &extent);
    return extent;
}

int Painter::TextHeight(const std::wstring& text, int width, int height, int weight,
                        UINT format) const
{
    const GdiObject font = MakeFont(height, weight);
    const Selection selected(dc_, font.get());
    RECT box{0, 0, width, 0};
    return DrawText(dc_, text.c_str(), static_cast<int>(text.size()), &box, format | DT_CALCRECT);
}

void Painter::Bitmap(int resourceId, int x, int y, int width, int height)
{
    Bitmap(detail::SharedResourceBitmap(resourceId), x, y, width, height);
}

void Painter::Bitmap(HBITMAP bitmap, int x, int y, int width, int height)
{
    if (bitmap == nullptr) return;
    const MemoryDc source(dc_);
    const Selection selected(source.get(), bitmap);
    BitBlt(dc_, x, y, width, height, source.get(), 0, 0, SRCCOPY);
}

}  // namespace platform
