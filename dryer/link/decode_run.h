// What one decode of an answer shares between the walk over the image's fields and the rules
// of the fields that have one of their own: the unit being decoded (one field, or one element of
// an array, as the board sends it), the received bytes and the windows marked for repaint.
// Internal to the answer decoder.
#pragma once

#include <cstdint>
#include <span>

#include "dryer/link/dryer_image.h"

// How a unit is decoded: plainly (copy when changed, confirm its flag on echo), or by the rule
// of its field.
enum class Rule : std::uint8_t {
    plain,
    typeChange,
    reloadHold,  // a countdown under reload; the unit's flag is the reload flag
    loadLowWater,
    loadEdges,
    presetEcho,
    meteringFollow,
    counterReset,
    switchesChange,
    shutdownRecord,
    moistureModeChange,
    defaultsRequest,
    byte246,
    bushelResetOption,
    optionsChange,
    unitsAndView,
};

struct DecodeUnit {
    ImageField field;  // its offset, width, flag, acknowledge mask and windows
    Rule rule = Rule::plain;
};

struct DecodeRun {
    std::span<const std::uint8_t> rx;  // the 300 received bytes
    RepaintSet repaint = 0;            // windows to repaint when the walk is done
};

// True when the received bytes of the unit differ from the image.
bool Differs(const DecodeRun& run, const ImageField& unit);
// Compares and copies a unit; true when it changed (its windows are then marked).
bool CopyIfChanged(DecodeRun& run, const ImageField& unit);
// Clears the unit's flag when the image now shows the desired value (under the unit's mask);
// true when cleared. Only settings are confirmed this way.
bool Acknowledge(const ImageField& unit);
// True when the received bytes equal the desired values at the same offsets.
bool ReceivedEqualsDesired(const DecodeRun& run, std::uint16_t offset, std::uint8_t width);

// The rules (decode_rules.cpp).
void DecodeByRule(DecodeRun& run, const DecodeUnit& unit);
// Forgets what the rules remember between frames.
void ResetDecodeRules();
