// "Moisture Sampler Setup": what the dryer does when its cycled moisture sampler needs
// cleaning, after how long, and how long it may then dry on grain temperature alone. Each
// SELECT steps its setting and sends the sampler option byte at once.
#pragma once

#include "platform/win_types.h"
#include "platform/windowing/dialog.h"

inline constexpr const wchar_t* kMoistureSamplerTitle = L"Moisture Sampler Setup";

// Control ids. Each setting has a frame, the text of its value and its SELECT button; EXIT is
// IDOK.
inline constexpr int kSamplerActionFrame = 3700;
inline constexpr int kSamplerActionValue = 3701;
inline constexpr int kSamplerActionSelect = 3702;
inline constexpr int kSamplerDelayFrame = 3710;
inline constexpr int kSamplerDelayValue = 3711;
inline constexpr int kSamplerDelaySelect = 3712;
inline constexpr int kSamplerGrainTempFrame = 3720;
inline constexpr int kSamplerGrainTempValue = 3721;
inline constexpr int kSamplerGrainTempSelect = 3722;
inline constexpr int kSamplerExit = IDOK;

// Opens the screen on the dryer's sampler option byte (or on a change of it still on its way).
// Returns IDOK when left by EXIT (-1 when it could not be made).
INT_PTR OpenMoistureSamplerSetup(HWND owner);
