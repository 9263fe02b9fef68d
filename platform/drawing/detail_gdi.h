// Internal seams of drawing: the GDI objects and device contexts behind the handles, and the
// helpers that the text, shape, copy and bitmap files share. Not for application code.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <variant>
#include <vector>

#include "platform/drawing/gdi.h"
#include "platform/runtime/runtime.h"
#include "platform/windowing/detail_window.h"

namespace platform::gdi {

inline constexpr int kDefaultCellHeight = 16;
inline constexpr double kCellPerEm = 1.164;  // DejaVu Sans: ascent 0.928 + descent 0.236 of em

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
    detail::SurfacePtr surface;
    std::vector<DrawnText> texts;  // bitmap coordinates
    // A picture (resource or file) names itself here; a copy of it into a context is recorded
    // as a picture there. Other bitmaps (paint buffers) carry the pictures copied into them.
    std::wstring picture{};
    std::shared_ptr<const std::vector<DrawnPicture::InkRow>> ink{};  // a picture's rows
    std::vector<DrawnPicture> pictures{};                            // bitmap coordinates
};
using GdiObject = std::variant<Pen, Brush, Font, Bitmap>;

struct Dc {
    bool window = false;
    HWND wnd = nullptr;
    detail::SurfacePtr target;  // a reference of the window image or the selected bitmap's image
    POINT origin;               // DC (0, 0) in the target
    RECT clip;                  // DC coordinates
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

// ---- the handle tables (gdi.cpp) ----
HGDIOBJ AddObject(GdiObject obj);
GdiObject* FindObject(HGDIOBJ h);
Dc* FindDc(HDC h);
// Adds a context to the table and returns its handle.
HDC AddDc(std::unique_ptr<Dc> dc);

template <typename T>
T* ObjectAs(HGDIOBJ h)
{
    GdiObject* o = FindObject(h);
    return o != nullptr ? std::get_if<T>(o) : nullptr;
}

Pen CurrentPen(const Dc& dc);
Brush CurrentBrush(const Dc& dc);
Font CurrentFont(const Dc& dc);
Bitmap* SelectedBitmap(const Dc& dc);

// ---- drawing on a context (gdi.cpp) ----
void SetColour(cairo_t* cr, COLORREF c);
// The cairo context of a DC: origin translated, clipped, aliased shapes. Null when the DC
// draws on nothing (a memory DC without a bitmap).
cairo_t* Cr(Dc& dc);
// Something opaque covered `area` (DC coordinates): texts and pictures under it are gone.
void Covered(Dc& dc, const RECT& area);
// Records a drawn text for inspection, on the window or in the selected bitmap.
void Record(Dc& dc, DrawnText text);
// Records a picture copied into the context, on the window or in the selected bitmap
// (gdi_copies.cpp).
void RecordPicture(Dc& dc, const DrawnPicture& picture);
// The area a context can draw on, in its own coordinates: the window's client area or the
// selected bitmap; empty for a context that draws on nothing (gdi_text.cpp).
RECT DrawableArea(const Dc& dc);
void FillBox(Dc& dc, const RECT& r, COLORREF colour);
// Device pixels per panel pixel of an image (1 for a picture read from a file).
int DeviceScaleOf(cairo_surface_t* surface);

}  // namespace platform::gdi

namespace platform::detail {

// Wraps an image as a bitmap object; null for a failed image.
HBITMAP BitmapFromSurface(SurfacePtr surface);
// A resource bitmap loaded once and kept until the program registers another table; owned by
// the resources, never deleted by the caller. Null, and kept so, for a missing resource
// (resources.cpp).
HBITMAP SharedResourceBitmap(int resourceId);
// Names a bitmap as a picture for inspection ("#<resource id>", a file name)
// (gdi_copies.cpp).
void MarkPicture(HBITMAP bitmap, const std::wstring& source);
// Loads a BMP or PNG file by its signature; null for anything else or a damaged file
// (picture_files.cpp).
HBITMAP LoadPictureFile(const std::filesystem::path& path);

}  // namespace platform::detail
