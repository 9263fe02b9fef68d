// The artwork of the home panels: dryer bodies, burners, fans, auger and metering-roll symbols
// and the pictures of the warning window, drawn with the panel's own drawing calls.
#pragma once

#include <span>

#include "platform/drawing/resources.h"

std::span<const BitmapResource> HomePanelBitmaps();
