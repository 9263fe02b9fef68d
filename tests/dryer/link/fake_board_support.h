// A fake Display I/O board for link tests: it applies the records of command frames to its own
// image (the echo), can refuse offsets, and answers with a 302-byte frame.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "dryer/link/answer_decoder.h"

struct FakeRecord {
    std::uint16_t address;
    std::vector<std::uint8_t> data;
};

// Splits a command frame (without caring for the CRC) into its records; empty on a malformed
// frame.
std::vector<FakeRecord> ParseCommandFrame(std::span<const std::uint8_t> frame);

class FakeBoard {
public:
    // Starts as a copy of the panel's current DryerImage.
    FakeBoard();
    std::array<std::uint8_t, kAnswerPayloadSize> image{};
    std::vector<std::uint16_t> refused;  // offsets the board does not take

    // Applies every record of a command frame; returns the number of records.
    std::size_t Apply(std::span<const std::uint8_t> frame);
    // The 302-byte answer with its CRC.
    std::array<std::uint8_t, kAnswerFrameSize> Answer() const;
    // Decodes the board's image on the panel side as the link would.
    void AnswerPanel() const;
};

// Builds a command frame into a fresh buffer; empty when the builder reports no record.
std::vector<std::uint8_t> BuildFrame();
