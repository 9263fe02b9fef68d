// The long-term ("day") data log: while the operator has it switched on and grain unloads, a
// 16-byte record of the drying variables every 12 seconds, appended to one file on the hard
// disk until it holds 5 MiB; its fill level for the displays; and deleting it.
//
// Record, multi-byte values big-endian (high byte first), temperatures Fahrenheit:
//
//   OFFSET  SIZE  CONTENT
//      0     2    dryer grain temperature, whole deg F, signed (the entry grainSensorSelect
//                 designates)
//      2     2    incoming grain temperature, tenths deg F, signed (wetSensorTemp)
//      4     2    incoming moisture, tenths % (wetMoisture)
//      6     2    outgoing grain temperature, tenths deg F, signed (drySensorTemp)
//      8     2    outgoing moisture, tenths % (dryMoisture)
//     10     2    meter roll speed, tenths (meterRollSpeed)
//     12     1    printerByte202
//     13     1    hour 0-23, panel local time
//     14     1    minute
//     15     1    second
//
// No header and no date. A file cut inside a record (the panel lost power during an append)
// keeps its whole records: the next append first cuts the partial one off.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "dryer/link/dryer_image.h"
#include "dryer/records/data_log_hooks.h"
#include "platform/runtime/clock.h"

inline constexpr const wchar_t* kLongTermLogFolder = L"\\Hard Disk\\DataLog";
inline constexpr const wchar_t* kLongTermLogFile = L"\\Hard Disk\\DataLog\\LongTermDataLog.dat";

inline constexpr std::size_t kLongTermRecordSize = 16;
inline constexpr std::uint64_t kLongTermFileFull = 5242880;  // bytes: 5 MiB, 327680 records
inline constexpr int kLongTermFullPercent = 100;

using LongTermRecord = std::array<std::uint8_t, kLongTermRecordSize>;

// One record as read back, in the record's units.
struct LongTermSample {
    int grainTempF = 0;         // whole deg F
    int wetTempTenthsF = 0;     // incoming grain, tenths deg F
    int wetMoistureTenths = 0;  // incoming, tenths %
    int dryTempTenthsF = 0;     // outgoing grain, tenths deg F
    int dryMoistureTenths = 0;  // outgoing, tenths %
    int meterRollTenths = 0;    // meter roll speed, tenths
    int byte202 = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The record of the image's drying variables at a local time.
LongTermRecord BuildLongTermRecord(const ImageBytes& image, const SYSTEMTIME& now);
// The record's fields; nothing when fewer than 16 bytes are given.
std::optional<LongTermSample> DecodeLongTermRecord(std::span<const std::uint8_t> bytes);

// Fill level in percent of a log file of `size` bytes: 100 at 5242880 bytes and above, else
// the used share truncated to a whole percent.
int LongTermFillLevelFor(std::uint64_t size);

// The outcome of an append, with the dryer's own numbers.
enum class LongTermWrite {
    appended = 0,      // the record is in the file
    notUnloading = 1,  // logging is not allowed: the dryer was not unloading
    notOpened = 2,     // the file could not be opened or created: the fill level stays
    writeFailed = 3,   // the disk took the record only in part: it was cut off again
    full = 4,          // the file is full: nothing more is appended until it is deleted
};

// Appends a record when logging is allowed; the fill level found on opening is kept for the
// displays (LongTermFillLevelPercent). The folder is made before each open. The 12-second tick
// allows logging while the data logs' unloading flag (DataLogUnloading) is set: the tick runs
// before the flag is refreshed, so it is the state of the second before.
LongTermWrite WriteLongTermRecord(const LongTermRecord& record, bool loggingAllowed);

// Opens (and so creates) the file and keeps its fill level; false when it cannot be opened.
bool RefreshLongTermFill();

// Deletes the log file (it is made anew, empty, by the next tick) and sets the fill level to 0.
bool DeleteLongTermLog();

// Tests: the fill level back to its start value.
void ResetLongTermLogForTest();
