// Owner-drawn bitmap buttons as every screen of the display draws them: a released and a
// pressed bitmap per control id, loaded once per window and copied unscaled on WM_DRAWITEM.
#pragma once

#include <span>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/win_types.h"

struct ButtonFace {
    int controlId = 0;
    int upBitmap = 0;
    int downBitmap = 0;
};

class BitmapButtonSet {
public:
    // Loads both bitmaps of every face; a missing resource loads as null and draws nothing.
    void Load(HINSTANCE instance, std::span<const ButtonFace> faces);
    // Deletes the bitmaps; called from the owner's WM_DESTROY.
    void Release();
    // Draws the item when its control id is one of ours; false leaves it to the default.
    bool Draw(const DRAWITEMSTRUCT& item) const;
    // Draws this bitmap in both states for the control (a greyed face), or 0 to undo.
    void SetOverride(int controlId, HBITMAP bitmap);

private:
    struct Loaded {
        int controlId = 0;
        HBITMAP up = nullptr;
        HBITMAP down = nullptr;
        HBITMAP override = nullptr;
    };
    std::vector<Loaded> loaded_;
};

// Copies a bitmap unscaled into a rectangle of a device context (source copy).
void BlitBitmap(HDC dc, HBITMAP bitmap, const RECT& rect);

// Creates an owner-drawn push button child with its control id.
HWND CreateBitmapButton(HWND parent, HINSTANCE instance, const wchar_t* text, int id, int x, int y,
                        int width, int height);

// A row of a screen's button table: the control, where it sits and the faces it wears.
struct PlacedButton {
    int id;
    const wchar_t* text;  // window text; the face carries the caption
    int x, y, width, height;
    int upBitmap, downBitmap;
};

// Creates every button of the table and loads their faces into the set.
void CreateBitmapButtons(HWND parent, HINSTANCE instance, std::span<const PlacedButton> buttons,
                         BitmapButtonSet& faces);
