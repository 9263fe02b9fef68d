// The 15 % tracking of the meter roll speed setpoints: in the two-speed moisture scheme with
// tracking on, the high and low speeds are not set on their own but follow the centre (medium)
// speed, 15 % above and 15 % below it.
#pragma once

struct TrackedSpeeds {
    int high = 0;
    int low = 0;
    bool operator==(const TrackedSpeeds&) const = default;
};

// High = medium x 1.15 and low = medium x 0.85, both truncated; the high speed is capped at
// 100 %. Exact in whole numbers, so a medium speed whose product is whole (20 gives 23) never
// loses a step to rounding.
TrackedSpeeds TrackMediumSpeed(int medium);
