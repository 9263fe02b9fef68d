// What the full-screen set-up screens share: the leave button with its EXIT faces, and the
// note that a screen still to come paints.
#pragma once

#include "dryer/screens/bitmap_buttons.h"
#include "platform/win_types.h"

// Creates the 159 x 41 leave button and adds its faces to the screen's button set.
void CreateLeaveButton(HWND screen, BitmapButtonSet& faces, int id, int x, int y);
// Paints a short note in the upper half of a screen whose contents are still to come.
void PaintComingNote(HWND screen, const wchar_t* note);
