// The blink flags and animation frames of the home panels. The display's 175 ms and 100 ms
// ticks step them; the panels draw from them.
#pragma once

#include <array>

// Blink flags word: bit 0 the slow blink of the 175 ms tick, bit 1 the banner blink of the
// 100 ms tick. Screens read them to flash texts.
inline constexpr unsigned kSlowBlinkBit = 0x01;
inline constexpr unsigned kBannerBlinkBit = 0x02;

struct PanelAnimation {
    unsigned blinkFlags = 0;
    std::array<int, 6> fanPhase{};        // frame 0-2 of Fan/Heater 1-6 (index 0 is Fan/Heater 1)
    int loadingPhase = 0;                 // 0-2
    int unloadPhase = 0;                  // 0-2
    std::array<int, 2> meterRollPhase{};  // left and right roll, 0-2
};

// The one set of frames of the running display (user-interface thread only).
PanelAnimation& Animation();
