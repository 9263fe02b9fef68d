// The trend picture of a graph log: the file's day cut into windows of 8 hours from its first
// sample, oldest at the top, each drawn as the panel's graph screen draws its area at the 8-hour
// scale (8 samples a point, the automatic scales, the grid, the tick labels and the time axis)
// with all six traces on. A technician sees the day as the operator saw it, window by window,
// at the same averages and the same scales, in one picture of 380 x 660 pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/win_types.h"

namespace dryerlog {

inline constexpr int kTrendWindowHours = 8;
inline constexpr int kTrendScaleCode = 3;    // the graph screen's 8-hour scale
inline constexpr int kTrendMostWindows = 3;  // the 24 hours of a full file

struct TrendPicture {
    HBITMAP bitmap = nullptr;  // the caller deletes it (DeleteObject)
    int width = 0;
    int height = 0;
    int windows = 0;          // graph areas stacked
    std::size_t records = 0;  // good records drawn
    std::string problem;      // as the CSV conversion reports it; empty when every byte was read
};

// Draws the good records of a graph log started in `year`; a file longer than a day draws its
// last 24 hours, as the panel never shows more.
TrendPicture DrawTrend(std::span<const std::uint8_t> bytes, int year);

}  // namespace dryerlog
