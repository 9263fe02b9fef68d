// The communication thread's exchange cycle, exposed so that tests can run single cycles
// against a fake board. OpenDryerLink, StopDryerLink and SignalPollEvent are in link_state.h.
//
// Requests, panel to board (LinkCrc16 always appended low byte first):
//   poll          07 00 00 00 00 crc crc          (7 bytes)
//   link reset    06 00 crc crc                   (4 bytes)
//   command       see command_encoder.h           (at most 108 bytes)
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/win_types.h"

inline constexpr std::size_t kPollFrameSize = 7;
inline constexpr std::size_t kLinkResetFrameSize = 4;

// What one exchange cycle wrote.
enum class LinkRequest : std::uint8_t { poll, command, linkReset };

// The port calls of the cycle, replaceable by tests (a fake board behind them).
struct LinkPortOps {
    DWORD (*read)(HANDLE port, std::uint8_t* buffer, DWORD size);  // bytes read, never waits
    void (*write)(HANDLE port, const std::uint8_t* bytes, DWORD size);
    void (*purge)(HANDLE port);  // discards both queues
};
// Null: the platform's serial port calls.
void SetLinkPortOps(const LinkPortOps* ops);

// Steps 2-7 of the cycle: read and decode the answer to the previous request, then write the
// next request (link reset, command or poll). Never allocates.
LinkRequest RunExchangeCycle(HANDLE port);

// Counters since program start, for tests and diagnostics.
struct LinkCounters {
    std::uint64_t cycles;
    std::uint64_t answersAccepted;
    std::uint64_t answersRejected;  // bytes arrived but not a valid 302-byte answer
    std::uint64_t polls;
    std::uint64_t commands;
    std::uint64_t linkResets;
    std::uint64_t pollSignals;  // times the poll event was set (a cycle follows each)
};
LinkCounters GetLinkCounters();
