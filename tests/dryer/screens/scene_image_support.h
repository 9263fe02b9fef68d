// Dryer images for the screen tests, written by the names of dryer/link/dryer_image.h one step
// after another: SceneImage().Set(ForHeater(plenumTemp, 1), 185).On(siUnitsBit).
#pragma once

#include <string>

#include "dryer/link/dryer_image.h"
#include "dryer/screens/home_panels.h"

namespace screens_test {

// A dryer image that starts as the panel's does at start-up: all zero but for a dryer that is
// not loading (kDryerStateIdle).
struct SceneImage {
    home_panels::PanelImage bytes{};

    SceneImage();
    SceneImage& Set(ImageField field, int value);  // a byte, a word, or seconds of a time pair
    SceneImage& Set(ImageBits bits, int value);    // a small number into the bits
    SceneImage& Time(ImageField field, int minutes, int seconds);
    SceneImage& On(ImageBits bits);
    SceneImage& Off(ImageBits bits);
    SceneImage& Celsius();                  // siUnitsBit
    SceneImage& Warning(WarningCode code);  // the board's active warning (0: none)
};

// A temperature as the panels write it: the value, a blank, the degree sign and the unit.
std::wstring Degrees(int value, wchar_t unit);

}  // namespace screens_test
