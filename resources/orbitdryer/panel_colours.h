// The operator display's colours, by look. Values are 0x00BBGGRR, as the drawing calls take them.
#pragma once

#include "platform/win_types.h"

inline constexpr COLORREF kBlack = 0x00000000;
inline constexpr COLORREF kWhite = 0x00FFFFFF;
inline constexpr COLORREF kRed = 0x000000FF;
inline constexpr COLORREF kDarkRed = 0x000000C8;  // the learning period while it flashes
inline constexpr COLORREF kDeepRed = 0x000000AF;  // the shutdown panel's warning text
inline constexpr COLORREF kOrange = 0x000064C8;   // sensor faults
inline constexpr COLORREF kYellow = 0x0000FFFF;
inline constexpr COLORREF kSetpointYellow = 0x0000C8C8;  // setpoints, the dry timer
inline constexpr COLORREF kGreen = 0x0000FF00;
inline constexpr COLORREF kLightGreen = 0x0000FF64;
inline constexpr COLORREF kReadingGreen = 0x0000FA00;   // average moisture, the unload timer
inline constexpr COLORREF kMoistureGreen = 0x0000C800;  // incoming moisture
inline constexpr COLORREF kTrackGreen = 0x00007D00;     // the reconnect bar's track
inline constexpr COLORREF kTrackEdge = 0x00143214;
inline constexpr COLORREF kCyan = 0x00FFFF00;
inline constexpr COLORREF kBlue = 0x00FF0000;
inline constexpr COLORREF kCoolBlue = 0x00FA0000;   // the cool timer
inline constexpr COLORREF kPressBlue = 0x00C80000;  // a pressed panel button
inline constexpr COLORREF kTextBlue = 0x00960000;   // labels, the reconnect bar
inline constexpr COLORREF kDarkBlue = 0x00640000;
inline constexpr COLORREF kNameGrey = 0x00E0E0E0;       // plenum names
inline constexpr COLORREF kSilver = 0x00C0C0C0;         // the panel's button face
inline constexpr COLORREF kLeaderGrey = 0x00AFAFAF;     // leader lines and tick marks
inline constexpr COLORREF kSeparatorGrey = 0x00969696;  // separators and grids
inline constexpr COLORREF kGraphGrey = 0x00808080;
inline constexpr COLORREF kWarningGrey = 0x00646464;  // the warning window's background
