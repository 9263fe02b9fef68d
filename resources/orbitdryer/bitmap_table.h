// The operator display's table of bitmap resources (ids, sizes, captions) for the platform's
// resource drawing.
#pragma once

#include <span>

#include "platform/drawing/resources.h"

// The greyed M/C face, shown in both states while moisture control is unavailable.
inline constexpr int kBitmapMcGreyed = 320;
// The picture of the dipswitch bank on the defaults-switch screen.
inline constexpr int kBitmapDefaultsDipswitch = 180;

std::span<const BitmapResource> OrbitDryerBitmaps();
// Registers the table under the program name "orbitdryer". Call before any window exists.
void RegisterOrbitDryerBitmaps();
