// The two dialogs of the dryer's build: "Select Burner Mode - 10" (the burner mode of each
// fan/heater, opened from the set-up selection) and "DRYER HARDWARE SETUP - 05 " (modules,
// fan/heaters, load system, fuel, length or model, moisture sampler; opened from the extended
// set-up selection).
#pragma once

#include "platform/win_types.h"

inline constexpr const wchar_t* kBurnerModeTitle = L"Select Burner Mode - 10";
inline constexpr const wchar_t* kHardwareSetupTitle = L"DRYER HARDWARE SETUP - 05 ";

// Each opens its dialog modally over the owner and returns IDOK (accepted) or IDCANCEL.
INT_PTR OpenBurnerMode(HWND owner);
INT_PTR OpenHardwareSetup(HWND owner);

// Called on the hardware set-up's ACCEPT/EXIT: the program redraws the main displays a few
// seconds later, once the dryer has taken the new build. Null: nothing happens.
using HardwareAcceptedFn = void (*)();
extern HardwareAcceptedFn HardwareSetupAcceptedHook;

// ---- control ids ----
// Burner mode: per Fan/Heater n (1-6) a frame, a SELECT button and the indicators "HI / LO",
// "ON / OFF" and "AUTO" (indicator 0, 1, 2). ACCEPT is IDOK, CANCEL is IDCANCEL.
constexpr int BurnerFrameId(int heater)
{
    return 1100 + 10 * heater;
}
constexpr int BurnerSelectId(int heater)
{
    return BurnerFrameId(heater) + 1;
}
constexpr int BurnerIndicatorId(int heater, int indicator)
{
    return BurnerFrameId(heater) + 2 + indicator;
}
inline constexpr int kBurnerAllHiLo = 1170;
inline constexpr int kBurnerAllOnOff = 1171;
inline constexpr int kBurnerAllAuto = 1172;

// Hardware set-up: each group has a frame (its base id), a SELECT button (base + 1; the meter
// roll size has none) and one indicator per code (base + 10 + code). ACCEPT/EXIT is IDOK.
inline constexpr int kHardwareModules = 1300;     // codes of moduleCountCode
inline constexpr int kHardwareLoadSystem = 1340;  // loadSystemCode
inline constexpr int kHardwareLength = 1380;      // dryerLengthCode (or model)
inline constexpr int kHardwareHeaters = 1420;     // heaterCountCode
inline constexpr int kHardwareFuel = 1460;        // fuelCode
inline constexpr int kHardwareMeterRoll = 1500;   // shown only: 0 "4 inch", 1 "7 inch"
inline constexpr int kHardwareSampler = 1540;     // 0: "Enable Cycled Mode"
constexpr int HardwareSelectId(int group)
{
    return group + 1;
}
constexpr int HardwareChoiceId(int group, int code)
{
    return group + 10 + code;
}
