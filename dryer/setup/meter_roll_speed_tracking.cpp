// The 15 % tracking arithmetic of the meter roll speed setpoints.
#include "dryer/setup/meter_roll_speed_tracking.h"

#include <algorithm>

namespace {

constexpr int kMaximumSpeed = 100;  // percent
constexpr int kHighPercent = 115;   // high: 15 % above the centre
constexpr int kLowPercent = 85;     // low: 15 % below it

}  // namespace

TrackedSpeeds TrackMediumSpeed(int medium)
{
    const int centre = std::max(medium, 0);
    return TrackedSpeeds{std::min(centre * kHighPercent / 100, kMaximumSpeed),
                         centre * kLowPercent / 100};
}
