// The graph data log: while grain is unloaded, one sample every 10 seconds into rolling files of
// 24 hours in "\Hard Disk\GraphDataLog", and the window of the last 1, 2, 4 or 8 hours (or an
// earlier one, hour by hour) reduced to 360 points per trace with the automatic vertical scales
// the graph screen draws.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "dryer/records/data_log_sample.h"
#include "dryer/records/short_term_log_files.h"

inline constexpr const wchar_t* kGraphLogFolder = L"\\Hard Disk\\GraphDataLog";
inline constexpr const wchar_t* kGraphLogPattern =
    L"\\Hard Disk\\GraphDataLog\\GRAPH_DATA_LOG_24HR??_??_??_??_??_??.DAT";
inline constexpr LogFolder kGraphLog{kGraphLogFolder, L"GRAPH_DATA_LOG_24HR", kGraphLogPattern};

inline constexpr int kGraphSampleSeconds = 10;
inline constexpr std::uint64_t kGraphHourSamples = 360;  // 6480 bytes
inline constexpr std::uint64_t kGraphFileFull = 155520;  // bytes: 8640 samples, 24 hours
inline constexpr int kGraphMaxHours = 24;
inline constexpr int kGraphPoints = 360;
inline constexpr int kGraphScaleCodes = 4;  // 0 = 1 hour, 1 = 2, 2 = 4, 3 = 8 hours

// The six traces, in the order of their bits in the registry byte.
enum GraphTrace : int {
    kTraceMoistureIn,
    kTraceTempIn,
    kTraceMoistureOut,
    kTraceTempOut,
    kTraceGrainTemp,
    kTraceMeterRoll,
    kGraphTraceCount
};

// Appends a sample to the newest file, or to a new one once that is full (the older of two
// full days is deleted first). True when all 18 bytes were written.
bool WriteGraphRecord(const DataLogSample& sample);

// Hours one scale code shows; a code outside 0-3 counts as 1 hour.
int GraphScaleHours(int scaleCode);

// Five ticks, base + i x step, from the lowest to the top one.
struct GraphScale {
    int base = 0;
    int step = 1;
    int Tick(int i) const { return base + i * step; }
    int Top() const { return Tick(4); }
};
GraphScale ComputeGraphScale(int minimum, int maximum);

// A point's height in pixels above the baseline: 180 at the top tick.
int GraphPointHeight(int value, const GraphScale& scale);

// One loaded window of the log, as the graph draws it.
struct GraphWindow {
    int hoursAvailable = 0;  // whole hours in the two newest files, at most 24
    int maxOffset = 0;       // hours the window can be moved back
    int offset = 0;          // hours the window ends before the newest sample (clamped)
    int samples = 0;         // samples read
    int points = 0;          // points per trace, at most 360
    std::array<std::array<int, kGraphPoints>, kGraphTraceCount> values{};
    std::array<GraphScale, kGraphTraceCount> scales{};
    DataLogSample first, middle, last;  // for the time axis
};

// Loads the window that ends `offset` hours before the newest sample at a scale; the offset is
// clamped to what the log holds. False when a read came up short: `out` then keeps the points
// of its previous load (the hours and offset are brought up to date).
bool LoadGraphWindow(int scaleCode, int offset, GraphWindow& out);

// Averages consecutive samples, `perPoint` to a point (at most 360 points), and sets the scales
// and the first, middle and last sample of `out`; what a load does once the records are read,
// for a reader that has them from elsewhere (a log file copied to a desktop).
void ReduceGraphSamples(std::span<const DataLogRecord> records, int perPoint, GraphWindow& out);
