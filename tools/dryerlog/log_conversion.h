// What dryerlog reads and writes: the panel's record files copied to a desktop, turned into CSV
// with units in the column names and times in ISO 8601. Every reader stops at the first record
// it cannot trust, names its byte offset, and keeps the good records before it.
//
//   shutdown history   "DryerShutdownHistory.txt", lines "text;node;Mar 03, 2026;2:05 PM;\n"
//   long-term log      "LongTermDataLog*.DAT", 16-byte records (dryer/records/long_term_log.h)
//   short-term log     "DATA_LOG_24HRyy_MM_dd_HH_mm_ss.DAT", 18-byte samples
//                      (dryer/records/data_log_sample.h)
//   graph log          "GRAPH_DATA_LOG_24HRyy_MM_dd_HH_mm_ss.DAT", the same samples
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace dryerlog {

enum class LogKind { history, longTerm, shortTerm, graph };

// The kind a file's name says (case-insensitive), if any.
std::optional<LogKind> KindFromName(std::string_view fileName);
// The year in a dated log file name ("...24HR26_03_03_..." or "LongTermDataLog26_03_03_..."),
// as 2000 + yy.
std::optional<int> YearFromName(std::string_view fileName);

struct Conversion {
    std::string csv;          // the header and one line per good record
    std::size_t records = 0;  // good records
    std::string problem;      // empty when every byte was read; else what stopped it, and where
};

Conversion ConvertHistory(std::string_view text);
Conversion ConvertLongTerm(std::span<const std::uint8_t> bytes);
// Short-term and graph logs. The samples carry no year: they belong to `year`, the year the
// file was started, and a month before the first sample's month is in the year after.
Conversion ConvertSamples(std::span<const std::uint8_t> bytes, int year);

// A field as CSV: quoted when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);

}  // namespace dryerlog
