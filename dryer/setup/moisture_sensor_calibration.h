// " MOISTURE SENSOR CALIBRATION - 13": the readings of the wet (incoming) and dry (discharge)
// moisture sensors, and the four calibration offsets the technician steps to bring them in line
// with samples taken by hand. Opened from the set-up selection and from the diagnostics screen.
#pragma once

#include "platform/win_types.h"

// Both doors to the screen name it with the leading blank.
inline constexpr const wchar_t* kMoistureSensorCalibrationTitle =
    L" MOISTURE SENSOR CALIBRATION - 13";
inline constexpr const wchar_t* kMoistureCalibrationHelpCaption = L"Moisture Sensor Calibration";

// Each offset steps by one tenth within these bounds (tenths of a percent or of a degree).
inline constexpr int kCalibrationOffsetLowest = -100;
inline constexpr int kCalibrationOffsetHighest = 100;

// Opens the screen modally over the owner: IDOK when it left through ACCEPT (the changed
// offsets are then on their way to the dryer), IDCANCEL when it was closed without it.
INT_PTR OpenMoistureSensorCalibration(HWND owner);

// ---- control ids ----
// The two sensors' frames and their readings.
inline constexpr int kCalibrationWetFrame = 1900;
inline constexpr int kCalibrationWetMoisture = 1901;
inline constexpr int kCalibrationWetTemperature = 1902;
inline constexpr int kCalibrationDryFrame = 1903;
inline constexpr int kCalibrationDryMoisture = 1904;
inline constexpr int kCalibrationDryTemperature = 1905;

// The four offsets, each with its label, its value field and its "<<<" and ">>>" buttons.
enum class CalibrationOffset { wetMoist, dryMoist, wetTemp, dryTemp };
inline constexpr int kCalibrationOffsetCount = 4;
constexpr int CalibrationOffsetId(CalibrationOffset offset, int part)
{
    return 1910 + 5 * static_cast<int>(offset) + part;
}
inline constexpr int kOffsetLabel = 0;  // parts
inline constexpr int kOffsetField = 1;
inline constexpr int kOffsetDown = 2;  // "<<<"
inline constexpr int kOffsetUp = 3;    // ">>>"

inline constexpr int kCalibrationHelp = 1935;
// ACCEPT is IDOK.
