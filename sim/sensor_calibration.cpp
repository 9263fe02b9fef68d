// The calibration offsets of the moisture sensors, applied to what the board reports.
#include "sim/sensor_calibration.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

constexpr int kLargestOffset = 100;  // tenths: the panel steps within -10.0 to +10.0

void Report(StatusImage& image, ImageField reading, ImageField offset, double raw)
{
    const int shift = std::clamp(Value(image, offset), -kLargestOffset, kLargestOffset);
    SetValue(image, reading, std::max(0L, std::lround(raw) + shift));
}

}  // namespace

void ReportSensorReadings(StatusImage& image, const SensorReadings& raw)
{
    Report(image, dryMoisture, dryMoistureOffset, raw.dryMoisture);
    Report(image, wetMoisture, wetMoistureOffset, raw.wetMoisture);
    Report(image, drySensorTemp, drySensorTempOffset, raw.dryTemperature);
    Report(image, wetSensorTemp, wetSensorTempOffset, raw.wetTemperature);
}

}  // namespace sim
