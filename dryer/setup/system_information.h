// The system information and software release screens of the view menu (their Open functions
// and titles are in dryer/screens/entry_dialogs.h).
#pragma once

#include <cstdint>
#include <string>

// The list of release notes on "Software Release Information - 30".
inline constexpr int kReleaseNotesList = 1900;

// The two memory lines of the system information screen. The figures are shown whole, also
// past the 2 GiB that a signed 32-bit count would turn negative.
std::wstring RamSizeText(std::uint64_t bytes);
std::wstring FreeRamText(std::uint64_t bytes);
