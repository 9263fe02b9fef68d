// The graph's automatic vertical scales: the step for each range, the base below the minimum,
// the five ticks, and the height of a point above the baseline.
#include <gtest/gtest.h>

#include "dryer/records/graph_log.h"

namespace {

struct StepCase {
    int range;  // maximum - minimum + 3
    int step;
};

// Each row of the step table at its upper edge and one past it; the minimum is 0, so the base
// is 0 and the step does not have to grow.
TEST(GraphScale, EachRangeGetsItsStep)
{
    const StepCase cases[] = {
        {4, 1},    {5, 2},    {8, 2},    {9, 3},    {12, 3},   {13, 5},    {20, 5},
        {21, 10},  {40, 10},  {41, 20},  {80, 20},  {81, 25},  {100, 25},  {101, 30},
        {120, 30}, {121, 40}, {160, 40}, {161, 50}, {200, 50}, {201, 100}, {400, 100},
    };
    for (const StepCase& c : cases) {
        const GraphScale s = ComputeGraphScale(0, c.range - 3);
        EXPECT_EQ(s.step, c.step) << "range " << c.range;
        EXPECT_EQ(s.base, 0) << "range " << c.range;
    }
}

TEST(GraphScale, AFlatTraceOfOneHundredGetsTicksOneApart)
{
    const GraphScale s = ComputeGraphScale(100, 100);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(s.Tick(i), 100 + i);
}

TEST(GraphScale, TenToNinetyFiveStepsByTwentyFiveFromZero)
{
    const GraphScale s = ComputeGraphScale(10, 95);
    EXPECT_EQ(s.base, 0);
    EXPECT_EQ(s.step, 25);
    EXPECT_EQ(s.Top(), 100);
}

TEST(GraphScale, TheBaseIsTheLargestMultipleOfTheStepNotAboveTheMinimum)
{
    EXPECT_EQ(ComputeGraphScale(147, 160).base, 145);  // range 16: step 5
    EXPECT_EQ(ComputeGraphScale(150, 163).base, 150);
    EXPECT_EQ(ComputeGraphScale(-7, 0).base, -9);  // range 10: step 3, below zero too
    EXPECT_EQ(ComputeGraphScale(-9, 0).base, -9);
}

// A base far below the maximum: the step grows until the top tick reaches it.
TEST(GraphScale, TheStepGrowsUntilTheTopTickReachesTheMaximum)
{
    GraphScale s = ComputeGraphScale(0, 1000);  // range 1003: step 100, top 400
    EXPECT_EQ(s.step, 250);
    EXPECT_EQ(s.Top(), 1000);
    // 601 short of the maximum: a growth of 601 / 4 rounded down would leave the top tick at
    // 1000, below the highest point; it is rounded up.
    s = ComputeGraphScale(0, 1001);
    EXPECT_EQ(s.step, 251);
    EXPECT_GE(s.Top(), 1001);
    for (int lo = -300; lo <= 300; lo += 37) {
        for (int hi = lo; hi <= lo + 5000; hi += 211) {
            const GraphScale g = ComputeGraphScale(lo, hi);
            EXPECT_LE(g.base, lo) << lo << ".." << hi;
            EXPECT_GE(g.Top(), hi) << lo << ".." << hi;
        }
    }
}

TEST(GraphScale, PointHeightsRunFromTheBaselineToOneHundredEighty)
{
    const GraphScale s = ComputeGraphScale(10, 95);  // 0 .. 100
    EXPECT_EQ(GraphPointHeight(0, s), 0);
    EXPECT_EQ(GraphPointHeight(100, s), 180);
    EXPECT_EQ(GraphPointHeight(50, s), 90);
    EXPECT_EQ(GraphPointHeight(33, s), 59);  // 59.4, converted toward zero
    const GraphScale flat = ComputeGraphScale(100, 100);
    EXPECT_EQ(GraphPointHeight(100, flat), 0);
    EXPECT_EQ(GraphPointHeight(101, flat), 45);
}

}  // namespace
