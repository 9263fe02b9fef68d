// The four display settings kept in the registry under Software\Tarrow\OrbitDryer: graph
// scale, graph traces, short-term log sample time and the home screen's view.
#pragma once

#include "platform/win_types.h"

inline constexpr const wchar_t* kDisplaySettingsKey = L"Software\\Tarrow\\OrbitDryer";
inline constexpr const wchar_t* kGraphHorizontalScaleValue = L"GRAPH_HORIZONTAL_SCALE";
inline constexpr const wchar_t* kGraphTracesValue = L"GRAPH_TRACES_ON_OFF";
inline constexpr const wchar_t* kSampleTimeValue = L"TEMP_DATA_LOG_SAMPLE_TIME";
inline constexpr const wchar_t* kScreenViewSelectionValue = L"SCREEN_VIEW_SELECTION";

struct DisplaySettings {
    BYTE graphHorizontalScale = 0;  // 0 = 1 hour, 1 = 2, 2 = 4, 3 = 8 hours
    BYTE graphTraces = 0;           // bit per trace, all off
    BYTE sampleTimeMinutes = 10;    // short-term data log
    BYTE screenView = 0;            // 0 status chart, 1 graph
};

// The settings as loaded at start-up and changed since.
DisplaySettings& CurrentDisplaySettings();

// Loads the four values once at start-up; a missing, unreadable or longer value keeps its
// default, and out-of-range values load as the rules say.
void LoadDisplaySettings();

// Writes all four values as they stand (after the registry was made afresh).
void SaveDisplaySettings();

// Writes one one-byte binary value; silently does nothing when the key cannot be opened.
// Returns whether the value was stored.
bool SaveDisplaySetting(const wchar_t* valueName, BYTE value);
