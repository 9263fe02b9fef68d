// "MODIFYING BURNER DIFFERENTIAL SETTINGS - 15": the burner differential of each of the six
// plenums (plenumDifferential), chosen from 1 to 5 degrees. Opened from the extended set-up
// selection.
#pragma once

#include "platform/win_types.h"

inline constexpr const wchar_t* kBurnerDifferentialTitle =
    L"MODIFYING BURNER DIFFERENTIAL SETTINGS - 15";
inline constexpr const wchar_t* kBurnerDifferentialHelpCaption = L"EXIT - Exits this screen";

// Opens the screen modally over the owner; IDOK when it left through ACCEPT / EXIT.
INT_PTR OpenBurnerDifferential(HWND owner);

// ---- control ids ----
// PLENUM #n selects plenum n (1-6).
constexpr int BurnerDifferentialPlenumId(int plenum)
{
    constexpr int kIds[6] = {1092, 1090, 1088, 1105, 1104, 1103};
    return plenum >= 1 && plenum <= 6 ? kIds[plenum - 1] : 0;
}
// "+/- n DEGREES" (n 1-5): 1102 for 1 down to 1098 for 5.
constexpr int BurnerDifferentialDegreesId(int degrees)
{
    return 1103 - degrees;
}
inline constexpr int kBurnerDifferentialAccept = 1108;
inline constexpr int kBurnerDifferentialHelp = 1094;
