// The board's side of the calibration screens: the sensor offsets the panel sets are kept,
// reported back and applied to the readings; the bushel counter counts at the calibrated rate
// and is zeroed by the reset request.
#include "sim/sensor_calibration.h"

#include <gtest/gtest.h>

#include "sim/display_io_board.h"
#include "tests/sim/sim_frames.h"

using namespace sim;
using namespace sim_test;

namespace {

DryerConfig Stopped()
{
    DryerConfig c;
    c.running = false;
    return c;
}

// A signed word as a command record carries it: high byte first.
Rec Word(ImageField field, int value)
{
    return Rec{field.offset,
               {static_cast<std::uint8_t>((value >> 8) & 0xFF), static_cast<std::uint8_t>(value)}};
}

TEST(SensorCalibration, EachReadingIsShiftedByItsOwnOffset)
{
    StatusImage image{};
    SetValue(image, dryMoistureOffset, -25);
    SetValue(image, wetMoistureOffset, 12);
    SetValue(image, drySensorTempOffset, 100);
    SetValue(image, wetSensorTempOffset, -7);
    ReportSensorReadings(image, SensorReadings{150.2, 220.0, 801.0, 620.0});
    EXPECT_EQ(Value(image, dryMoisture), 125);
    EXPECT_EQ(Value(image, wetMoisture), 232);
    EXPECT_EQ(Value(image, drySensorTemp), 901);
    EXPECT_EQ(Value(image, wetSensorTemp), 613);
}

TEST(SensorCalibration, OffsetsBeyondTheirBoundsCountAsTheBoundAndReadingsStayAboveZero)
{
    StatusImage image{};
    SetValue(image, dryMoistureOffset, 3000);
    SetValue(image, wetMoistureOffset, -3000);
    ReportSensorReadings(image, SensorReadings{150, 50, 0, 0});
    EXPECT_EQ(Value(image, dryMoisture), 250);
    EXPECT_EQ(Value(image, wetMoisture), 0);
}

// Two boards on the same dryer, one of them told the offsets: its answers echo the offsets and
// its readings differ from the other's by exactly them.
TEST(SensorCalibration, BoardKeepsTheOffsetsThePanelSendsAndAppliesThem)
{
    DisplayIoBoard plain(Stopped());
    DisplayIoBoard calibrated(Stopped());
    plain.AdvanceTo(0);
    calibrated.AdvanceTo(0);
    plain.Receive(Poll(), 0);
    const auto answer = calibrated.Receive(
        Command({Word(dryMoistureOffset, -25), Word(wetMoistureOffset, 12),
                 Word(drySensorTempOffset, 30), Word(wetSensorTempOffset, -100)}),
        0);
    ASSERT_EQ(answer.size(), 302u);
    EXPECT_EQ(Value(answer, dryMoistureOffset), -25);
    EXPECT_EQ(Value(answer, wetMoistureOffset), 12);
    EXPECT_EQ(Value(answer, drySensorTempOffset), 30);
    EXPECT_EQ(Value(answer, wetSensorTempOffset), -100);

    for (std::int64_t now : {5'000, 60'000}) {
        plain.AdvanceTo(now);
        calibrated.AdvanceTo(now);
        const StatusImage a = plain.Image();
        const StatusImage b = calibrated.Image();
        EXPECT_EQ(Value(b, dryMoisture) - Value(a, dryMoisture), -25) << now;
        EXPECT_EQ(Value(b, wetMoisture) - Value(a, wetMoisture), 12) << now;
        EXPECT_EQ(Value(b, drySensorTemp) - Value(a, drySensorTemp), 30) << now;
        EXPECT_EQ(Value(b, wetSensorTemp) - Value(a, wetSensorTemp), -100) << now;
        EXPECT_EQ(Value(b, wetSensorTempOffset), -100) << now;  // kept
    }
}

// The counter holds bushels x 3600: each second of unloading adds the bushels per hour the
// board reports, which the calibration factor scales.
TEST(BushelCounter, CountsTheCalibratedRateWhileUnloading)
{
    std::uint32_t counted[2] = {0, 0};
    const int factors[2] = {50, 150};
    for (int i = 0; i < 2; ++i) {
        DryerModel model(*FindScenario("continuous-1fh"));
        SetValue(model.image(), bphCalibration, factors[i]);
        for (int s = 0; s < 300; ++s) model.Step();
        const std::uint32_t before = ReadCounter(model.image(), bushelCounter);
        model.Step();
        EXPECT_EQ(ReadCounter(model.image(), bushelCounter) - before,
                  static_cast<std::uint32_t>(Value(model.image(), bushelsPerHour)));
        counted[i] = ReadCounter(model.image(), bushelCounter);
        EXPECT_EQ(Value(model.image(), bphCalibration), factors[i]);
    }
    ASSERT_GT(counted[0], 3600u);
    EXPECT_NEAR(static_cast<double>(counted[1]) / counted[0], 3.0, 0.02);
}

}  // namespace
