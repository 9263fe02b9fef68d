// The dryer's saved settings, as the board keeps them: on a save request the board stores every
// setting the panel can command, on a restore request it takes them all back at once. With a
// settings file the set outlives the simulator, as on a board that keeps it through a power
// cycle.
//
// The file is JSON, one entry per line:
//   {
//   "format": "dryersim saved settings",
//   "version": 1,
//   "settings": {
//   "3": [0],                 one entry per settable field: its offset and its bytes
//   ...
//   },
//   "checksum": "1A2B3C4D"    CRC-32 over every field's offset, width and bytes
//   }
// It is written to a temporary file beside it, flushed to the disk and renamed over the old
// one, so a save cut short leaves the previous set whole. A file is taken only when all of it
// is sound: its format and version, exactly the settable fields of this dryer image with
// their widths, bytes 0-255, and the checksum.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "sim/dryer_model.h"

namespace sim {

inline constexpr const char* kSavedSettingsFormat = "dryersim saved settings";
inline constexpr int kSavedSettingsVersion = 1;

// A field the saved set holds: one the panel sets and the board echoes, or the units and
// options byte the panel sends once (a timer's countdown that the panel restarts is not a
// setting, and the clock is not kept in the image).
constexpr bool IsSavedSetting(const ImageField& field)
{
    return field.access == Access::setting || field.access == Access::oneShot;
}

// Bits of settable bytes that ask the board to do something rather than set how the dryer
// runs: save or restore the settings, zero the bushel counter (the board holds the counter at
// zero while it is set), drive the meter rolls at an output being adjusted, print a summary.
// A saved set never holds them, so a restore asks for nothing.
inline constexpr ImageBits kRequestBits[] = {
    unitsRequestBits,
    bushelResetBit,
    meterRollAdjustBits,
    printSummaryRequestBit,
};

// Copies every saved setting from one image to another, without the request bits.
void CopySavedSettings(const StatusImage& from, StatusImage& to);

// The file's text for the settings in an image.
std::string SavedSettingsText(const StatusImage& image);

// A saved set read back: the settings at their offsets (other bytes 0), or why it was refused.
struct SavedSettingsReading {
    std::optional<StatusImage> settings;
    std::string error;  // empty when settings holds the set
};
SavedSettingsReading ParseSavedSettings(const std::string& text);

// Writes the settings of an image atomically; false with the reason when the file could not be
// written (the previous file then stands as it was).
bool WriteSavedSettings(const std::filesystem::path& file, const StatusImage& image,
                        std::string* error);
// Reads and checks the whole file.
SavedSettingsReading ReadSavedSettings(const std::filesystem::path& file);

}  // namespace sim
