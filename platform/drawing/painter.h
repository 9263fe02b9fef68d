// The painter: one object on the stack for one paint, with one verb for each thing the panel
// draws. Every pen, brush and font a verb makes is deleted before the verb returns, and the
// context is left as the verb found it (objects, text colour, background mode).
//
// A window paints double-buffered, in one copy to the window at the end of the scope:
//
//   void PaintPlenumPanel(HWND wnd)
//   {
//       platform::Painter paint(wnd, RGB(0, 0, 0));  // BeginPaint; a buffer filled black
//       const RECT title{0, 0, paint.width(), 30};
//       paint.Text(L"PLENUM", title, RGB(255, 255, 255), 24, FW_BOLD,
//                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
//       paint.Line(0, 31, paint.width(), 31, RGB(128, 128, 128), 2);
//       paint.Bitmap(kBitmapFan, 10, 40, 111, 113);
//   }                                                // BitBlt to the window; EndPaint
//
// Artwork drawn into a bitmap, or an owner-drawn button in WM_DRAWITEM, paints on the context
// it is given: platform::Painter paint(dis->hDC);
#pragma once

#include <optional>
#include <span>
#include <string>

#include "platform/drawing/gdi.h"
#include "platform/drawing/gdi_scope.h"
#include "platform/win_types.h"

namespace platform {

class Painter {
public:
    // One WM_PAINT of a window: BeginPaint, the client area filled with `background`, EndPaint
    // in the destructor. It is double-buffered as it stands: a window draws into its own image,
    // and the screen shows that image only after the paint has ended.
    Painter(HWND wnd, COLORREF background);
    // Draws on an existing context (a bitmap being painted, a WM_DRAWITEM context): no buffer,
    // no BeginPaint. width() and height() give the size passed here, 0 when none is.
    explicit Painter(HDC dc, int width = 0, int height = 0);
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }

    void Fill(const RECT& rect, COLORREF colour);
    // A line with a solid pen; as on the panel, the end point itself is not drawn.
    void Line(int x1, int y1, int x2, int y2, COLORREF colour, int width = 1);
    // A rectangle filled with `fill` inside an edge of `edgeWidth` pixels (0: no edge).
    void Box(const RECT& rect, COLORREF fill, COLORREF edge, int edgeWidth);
    // The edge of a rectangle only, `edgeWidth` pixels wide, inside the rectangle.
    void Frame(const RECT& rect, COLORREF edge, int edgeWidth = 1);
    // The ellipse that fits the rectangle, filled, with an edge as Box.
    void Ellipse(const RECT& rect, COLORREF fill, COLORREF edge, int edgeWidth);
    // A closed polygon, filled, with an edge as Box.
    void Polygon(std::span<const POINT> points, COLORREF fill, COLORREF edge, int edgeWidth);

    // Text drawn transparent in a rectangle with DrawText's `format`, in a font made for the
    // call: `height` as LOGFONT's lfHeight (cell height; negative: character height) and
    // `weight` (FW_NORMAL, FW_BOLD).
    void Text(const std::wstring& text, const RECT& rect, COLORREF colour, int height, int weight,
              UINT format);
    // As Text, with the height stepped down by `step`, not below `smallest`, until the text
    // fits the width of the rectangle. The panel's own face was narrower than ours: texts laid
    // out for it can be too wide in ours. A text drawn at `height` or below is never enlarged.
    void TextToFit(const std::wstring& text, const RECT& rect, COLORREF colour, int height,
                   int weight, UINT format, int step = kFittingStep,
                   int smallest = kSmallestFittedHeight);
    // The height TextToFit would draw the text in. A negative height (a character height)
    // steps by its size and comes back negative; `smallest` is a size.
    int FittedHeight(const std::wstring& text, LONG width, int height, int weight,
                     int step = kFittingStep, int smallest = kSmallestFittedHeight) const;
    static constexpr int kFittingStep = 3;
    static constexpr int kSmallestFittedHeight = 24;
    // Width and cell height of a single line of text in the font Text would make.
    SIZE TextExtent(const std::wstring& text, int height, int weight) const;
    // Height of the lines Text would draw in a rectangle `width` pixels wide with `format`
    // (DT_WORDBREAK wraps the text at that width), in the font Text would make.
    int TextHeight(const std::wstring& text, int width, int height, int weight, UINT format) const;

    // Copies a bitmap resource of the program, unscaled, to x, y. The resource is loaded once
    // for the run and kept; a missing resource draws nothing.
    void Bitmap(int resourceId, int x, int y, int width, int height);
    // Copies a bitmap, unscaled, to x, y; a null bitmap draws nothing.
    void Bitmap(HBITMAP bitmap, int x, int y, int width, int height);

private:
    std::optional<PaintScope> paint_;  // empty for a painter on a given context
    HDC dc_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace platform
