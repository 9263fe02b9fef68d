// The leave button of the full-screen selection and set-up screens: 159 x 41 with the EXIT
// faces, drawn by the screen's own button set.
#pragma once

#include "dryer/screens/bitmap_buttons.h"
#include "platform/win_types.h"

// Creates the leave button and adds its faces to the screen's button set.
void CreateLeaveButton(HWND screen, BitmapButtonSet& faces, int id, int x, int y);
