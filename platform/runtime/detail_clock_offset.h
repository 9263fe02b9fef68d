// The panel's own time offset with the real clock: the difference between the time the
// operator set and the host's time, kept in "<panel root>/clock_offset.txt" so that the next
// panel program and the next start show the time the operator set. Not for application code.
#pragma once

#include <cstdint>

namespace platform::detail {

// How far the panel's time may be from the host's: a hundred years either way. A stored
// offset beyond it is ignored (and said so on stderr); SetLocalTime refuses to go beyond it.
inline constexpr std::int64_t kMaxClockOffsetMs = 100LL * 366 * 86'400'000;

bool ClockOffsetInRange(std::int64_t offsetMs);

// The stored offset of the current panel root (loaded again when the root changes).
std::int64_t RealClockOffsetMs();
// Keeps a new offset for this program and in the panel root.
void StoreRealClockOffsetMs(std::int64_t offsetMs);

}  // namespace platform::detail
