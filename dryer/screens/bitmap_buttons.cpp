// Owner-drawn bitmap buttons: load once, pick the face by the selected bit, copy it unscaled.
#include "dryer/screens/bitmap_buttons.h"

#include "platform/drawing/gdi.h"
#include "platform/drawing/painter.h"
#include "platform/windowing/window.h"

void BitmapButtonSet::Load(HINSTANCE instance, std::span<const ButtonFace> faces)
{
    Release();
    loaded_.reserve(faces.size());
    for (const ButtonFace& face : faces) {
        loaded_.push_back(Loaded{face.controlId, LoadBitmap(instance, face.upBitmap),
                                 LoadBitmap(instance, face.downBitmap), nullptr});
    }
}

void BitmapButtonSet::Release()
{
    for (Loaded& l : loaded_) {
        if (l.up != nullptr) DeleteObject(l.up);
        if (l.down != nullptr) DeleteObject(l.down);
    }
    loaded_.clear();
}

bool BitmapButtonSet::Draw(const DRAWITEMSTRUCT& item) const
{
    for (const Loaded& l : loaded_) {
        if (static_cast<UINT>(l.controlId) != item.CtlID) continue;
        HBITMAP face = (item.itemState & ODS_SELECTED) != 0 ? l.down : l.up;
        if (l.override != nullptr) face = l.override;
        BlitBitmap(item.hDC, face, item.rcItem);
        return true;
    }
    return false;
}

void BitmapButtonSet::SetOverride(int controlId, HBITMAP bitmap)
{
    for (Loaded& l : loaded_) {
        if (l.controlId == controlId) l.override = bitmap;
    }
}

void BlitBitmap(HDC dc, HBITMAP bitmap, const RECT& rect)
{
    if (dc == nullptr) return;
    platform::Painter paint(dc);
    paint.Bitmap(bitmap, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

HWND CreateBitmapButton(HWND parent, HINSTANCE instance, const wchar_t* text, int id, int x, int y,
                        int width, int height)
{
    return CreateWindowEx(0, WC_BUTTON, text, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, x, y, width,
                          height, parent, id, instance, nullptr);
}

void CreateBitmapButtons(HWND parent, HINSTANCE instance, std::span<const PlacedButton> buttons,
                         BitmapButtonSet& faces)
{
    std::vector<ButtonFace> list;
    list.reserve(buttons.size());
    for (const PlacedButton& b : buttons) {
        CreateBitmapButton(parent, instance, b.text, b.id, b.x, b.y, b.width, b.height);
        list.push_back(ButtonFace{b.id, b.upBitmap, b.downBitmap});
    }
    faces.Load(instance, list);
}
