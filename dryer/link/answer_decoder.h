// DecodeAnswerFrame: turns each verified answer of the Display I/O board into the dryer image.
// Besides the field-by-field copy it asks exactly the windows whose data changed to repaint,
// confirms pending commands when the board echoes them, holds timer countdowns during a
// reload, measures the previous load time, records new shutdown codes and raises the two
// requests for the user-interface thread.
//
// Answer frame, board to panel, always 302 bytes:
// OFFSET  SIZE  CONTENT
//     0   300   status payload, laid out as the dryer image (dryer_image.h)
//   300     2   LinkCrc16 over bytes 0-299, low byte first
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

inline constexpr std::size_t kAnswerPayloadSize = 300;
inline constexpr std::size_t kAnswerFrameSize = 302;

// Decodes a payload that has passed the length and CRC checks (the first 300 bytes are used).
// Returns false and changes nothing when fewer than 300 bytes are given.
bool DecodeAnswerFrame(std::span<const std::uint8_t> payload);

// The receive path: true and decoded when `frame` is exactly 302 bytes and its CRC is right;
// otherwise false and nothing changes.
bool AcceptAnswerFrame(std::span<const std::uint8_t> frame);

// Forgets what the decoder remembers between frames (tests).
void ResetAnswerDecoderForTest();
