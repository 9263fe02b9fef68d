// The 15 % tracking of the high and low meter roll speeds around the medium speed.
#include "dryer/setup/meter_roll_speed_tracking.h"

#include <gtest/gtest.h>

namespace {

struct TrackingCase {
    int medium;
    TrackedSpeeds speeds;
};

class MeterRollTracking : public ::testing::TestWithParam<TrackingCase> {};

TEST_P(MeterRollTracking, HighAndLowFollowTheMedium)
{
    const TrackingCase c = GetParam();
    const TrackedSpeeds got = TrackMediumSpeed(c.medium);
    EXPECT_EQ(got.high, c.speeds.high) << "medium " << c.medium;
    EXPECT_EQ(got.low, c.speeds.low) << "medium " << c.medium;
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, MeterRollTracking,
    ::testing::Values(TrackingCase{0, {0, 0}}, TrackingCase{1, {1, 0}},
                      TrackingCase{7, {8, 5}},     // 8.05 and 5.95, truncated
                      TrackingCase{20, {23, 17}},  // whole products stay whole
                      TrackingCase{60, {69, 51}},
                      TrackingCase{86, {98, 73}},   // 98.9: the last one below the cap
                      TrackingCase{87, {100, 73}},  // 100.05: capped
                      TrackingCase{90, {100, 76}},  // 103.5 capped; 76.5 truncated
                      TrackingCase{100, {100, 85}},
                      // a value outside the speed range reads as no speed
                      TrackingCase{-5, {0, 0}}));

TEST(MeterRollTrackingAll, HighNeverBelowMediumNorLowAbove)
{
    for (int medium = 0; medium <= 100; ++medium) {
        const TrackedSpeeds s = TrackMediumSpeed(medium);
        EXPECT_GE(s.high, medium);
        EXPECT_LE(s.high, 100);
        EXPECT_LE(s.low, medium);
        EXPECT_GE(s.low, 0);
    }
}

}  // namespace
