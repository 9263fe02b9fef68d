// The operator display's table of bitmap resources (ids, sizes, captions) for the platform's
// resource drawing.
#pragma once

#include <span>

#include "platform/drawing/resources.h"
#include "resources/orbitdryer/bitmap_ids.h"

std::span<const BitmapResource> OrbitDryerBitmaps();
// Registers the table under the program name "orbitdryer". Call before any window exists.
void RegisterOrbitDryerBitmaps();
