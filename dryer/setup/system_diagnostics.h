// The service technician's diagnostics: "System Diagnostics - 14" (airswitch testing, who sets
// the metering roll speed, the metering rolls sensor) and the two wiring checks it opens, the
// light outputs of the Display I/O board and its switch inputs.
#pragma once

#include "dryer/link/panel_connectors.h"
#include "platform/win_types.h"

inline constexpr const wchar_t* kSystemDiagnosticsTitle = L"System Diagnostics - 14";
inline constexpr const wchar_t* kLightOutputsTitle = L"Display I/O Switch Light Outputs - 28";
inline constexpr const wchar_t* kSwitchTestTitle = L"Display I/O Switch Test - 31";

// Each opens its screen modally over the owner and returns IDOK when it was left by its exit
// button (-1 when it could not be made).
INT_PTR OpenSystemDiagnostics(HWND owner);
INT_PTR OpenLightOutputs(HWND owner);
INT_PTR OpenSwitchTest(HWND owner);

// The number of Fan/Heaters a heaterCountCode stands for (0 for a code the panel does not know).
int PresentHeaterCount(int heaterCountCode);

// ---- control ids ----
// System diagnostics. The exit button is IDOK.
inline constexpr int kDiagAirswitchFrame = 1600;
inline constexpr int kDiagAirswitchButton = 1601;       // "DISABLE Testing" / "ENABLE Testing"
inline constexpr int kDiagAirswitchDisabledBox = 1602;  // "Air Switch Testing Disabled"
inline constexpr int kDiagMeteringSourceButton = 1603;  // "Set MR Speed Via Screen"
inline constexpr int kDiagMeteringSensorButton = 1604;
inline constexpr int kDiagLightOutputsButton = 1605;
inline constexpr int kDiagSwitchWiringButton = 1606;
inline constexpr int kDiagMeterRollsButton = 1607;
inline constexpr int kDiagCalibrationButton = 1608;
inline constexpr int kDiagHelpButton = 1609;

// Light outputs: connector row n (1-8) of J1 and of J2 has a label, an ACTIVATED and a SHORTED
// box. HELP and EXIT (IDOK) below.
constexpr int LightLabelId(Connector c, int row)
{
    return 1700 + (c == Connector::j1 ? 0 : 40) + 4 * row;
}
constexpr int LightActivatedId(Connector c, int row)
{
    return LightLabelId(c, row) + 1;
}
constexpr int LightShortedId(Connector c, int row)
{
    return LightLabelId(c, row) + 2;
}
inline constexpr int kLightHelpButton = 1790;

// Switch test: the box of bit b (0-7) of switch byte k (0-4: offsets 179-183), and the eight
// positions of the dryer type switch group (1-8). EXIT is IDOK.
constexpr int SwitchBoxId(int byte, int bit)
{
    return 1800 + 8 * byte + bit;
}
constexpr int DryerTypeBoxId(int position)
{
    return 1850 + position;
}
inline constexpr int kSwitchTestFrame = 1860;
inline constexpr int kDryerTypeFrame = 1861;
