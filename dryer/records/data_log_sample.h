// The 18-byte sample that the short-term data log and the graph data log write, one record per
// sample with no file header, and its reading back. The year is not stored.
//
// OFFSET  SIZE  CONTENT (multi-byte values big-endian, temperatures Fahrenheit)
//     0     2   dryer grain temperature, whole deg F, signed (the entry grainSensorSelect picks)
//     2     2   incoming grain temperature, tenths deg F, signed (wetSensorTemp)
//     4     2   incoming moisture, tenths % (wetMoisture)
//     6     2   outgoing grain temperature, tenths deg F, signed (drySensorTemp)
//     8     2   outgoing moisture, tenths % (dryMoisture)
//    10     2   metering roll output in %: byte 10 always 0, byte 11 the image byte 245
//    12     1   always 0
//    13     1   hour 0-23, panel local time
//    14     1   minute
//    15     1   second
//    16     1   month 1-12
//    17     1   day of month
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "dryer/link/dryer_image.h"
#include "platform/runtime/clock.h"

inline constexpr std::size_t kDataLogSampleSize = 18;

using DataLogRecord = std::array<std::uint8_t, kDataLogSampleSize>;

struct DataLogSample {
    int grainTemp = 0;         // whole deg F
    int incomingTemp = 0;      // tenths deg F
    int incomingMoisture = 0;  // tenths %
    int outgoingTemp = 0;      // tenths deg F
    int outgoingMoisture = 0;  // tenths %
    int meterRollOutput = 0;   // %
    int hour = 0;
    int minute = 0;
    int second = 0;
    int month = 0;
    int day = 0;
};

// The record as it goes to the file.
DataLogRecord EncodeDataLogSample(const DataLogSample& sample);
// A record read from a file; bytes that are not a whole record give nothing.
std::optional<DataLogSample> DecodeDataLogSample(std::span<const std::uint8_t> bytes);

// The sample of the dryer as the image shows it now, stamped with the given local time.
DataLogSample BuildDataLogSample(const ImageBytes& image, const SYSTEMTIME& now);
