// The moisture sensors as the board reports them: each raw reading shifted by the calibration
// offset the panel has set for it (offsets 232-235 and 241-244), as the board applies them.
#pragma once

#include "sim/dryer_model.h"

namespace sim {

// Raw readings of the two sensors, tenths of a percent and tenths of a degree Fahrenheit.
struct SensorReadings {
    double dryMoisture = 0;
    double wetMoisture = 0;
    double dryTemperature = 0;
    double wetTemperature = 0;
};

// Writes the four readings into the image (dryMoisture, wetMoisture, drySensorTemp,
// wetSensorTemp), each with its offset from the image added. An offset outside -10.0 to +10.0
// counts as its bound; a reading never goes below 0.
void ReportSensorReadings(StatusImage& image, const SensorReadings& raw);

}  // namespace sim
