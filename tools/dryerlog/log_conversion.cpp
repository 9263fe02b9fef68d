// Reading the panel's record files and writing them as CSV; each reader checks a record whole
// before it writes a line of it.
#include "tools/dryerlog/log_conversion.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <vector>

#include "dryer/records/data_log_sample.h"
#include "dryer/records/long_term_log.h"

namespace dryerlog {

namespace {

constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The file name without its folders.
std::string_view BaseName(std::string_view path)
{
    const auto slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool IsLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysIn(int month, int year)
{
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Tenths as a decimal number: 652 -> "65.2", -5 -> "-0.5".
std::string Tenths(int tenths)
{
    char text[16];
    const int whole = tenths < 0 ? -tenths : tenths;
    std::snprintf(text, sizeof text, "%s%d.%d", tenths < 0 ? "-" : "", whole / 10, whole % 10);
    return text;
}

std::string Printf(const char* format, int a, int b, int c)
{
    char text[48];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

std::string At(std::size_t offset)
{
    return "at byte offset " + std::to_string(offset);
}

// A cut last record: the whole ones before it stand.
std::string Truncated(std::size_t offset, std::size_t have, std::size_t size)
{
    return "truncated record " + At(offset) + " (" + std::to_string(have) + " of " +
           std::to_string(size) + " bytes)";
}

bool ClockValid(int hour, int minute, int second)
{
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60;
}

// 8-bit text of the panel (Latin-1) as UTF-8.
std::string Utf8(std::string_view latin1)
{
    std::string out;
    for (const char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::optional<int> Number(std::string_view text)
{
    if (text.empty() || text.size() > 4) return std::nullopt;
    int n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

// "Mar 03, 2026" and "2:05 PM" as "2026-03-03T14:05".
std::optional<std::string> HistoryTime(std::string_view date, std::string_view time)
{
    if (date.size() != 12 || date[3] != ' ' || date.substr(6, 2) != ", ") return std::nullopt;
    int month = 0;
    for (std::size_t m = 0; m < kMonths.size(); ++m) {
        if (date.substr(0, 3) == kMonths[m]) month = static_cast<int>(m) + 1;
    }
    const auto day = Number(date.substr(4, 2));
    const auto year = Number(date.substr(8, 4));
    if (month == 0 || !day || !year || *day < 1 || *day > DaysIn(month, *year)) return std::nullopt;
    const auto colon = time.find(':');
    if (colon == std::string_view::npos || time.size() != colon + 6 || time[colon + 3] != ' ') {
        return std::nullopt;
    }
    const auto hour = Number(time.substr(0, colon));
    const auto minute = Number(time.substr(colon + 1, 2));
    const std::string_view half = time.substr(colon + 4);
    if (!hour || !minute || *hour < 1 || *hour > 12 || *minute > 59) return std::nullopt;
    if (half != "AM" && half != "PM") return std::nullopt;
    const int hour24 = *hour % 12 + (half == "PM" ? 12 : 0);
    return Printf("%04d-%02d-%02d", *year, month, *day) + Printf("T%02d:%02d", hour24, *minute, 0);
}

}  // namespace

std::string CsvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::optional<LogKind> KindFromName(std::string_view fileName)
{
    const std::string name = Lower(BaseName(fileName));
    if (name.rfind("dryershutdownhistory", 0) == 0) return LogKind::history;
    if (name.rfind("longtermdatalog", 0) == 0) return LogKind::longTerm;
    if (name.rfind("graph_data_log_24hr", 0) == 0) return LogKind::graph;
    if (name.rfind("data_log_24hr", 0) == 0) return LogKind::shortTerm;
    return std::nullopt;
}

std::optional<int> YearFromName(std::string_view fileName)
{
    const std::string name = Lower(BaseName(fileName));
    for (const char* prefix : {"graph_data_log_24hr", "data_log_24hr", "longtermdatalog"}) {
        const std::string_view p(prefix);
        if (name.rfind(p, 0) != 0 || name.size() < p.size() + 3) continue;
        const auto yy = Number(std::string_view(name).substr(p.size(), 2));
        if (yy && name[p.size() + 2] == '_') return 2000 + *yy;
    }
    return std::nullopt;
}

Conversion ConvertHistory(std::string_view text)
{
    Conversion out;
    out.csv = "warning,node,time_local_iso8601\n";
    std::size_t offset = 0;
    for (int line = 1; offset < text.size(); ++line) {
        const std::size_t end = text.find('\n', offset);
        const std::string where = "line " + std::to_string(line) + " " + At(offset);
        if (end == std::string_view::npos) {
            out.problem = "truncated " + where + ": the line has no end";
            return out;
        }
        std::string_view rest = text.substr(offset, end - offset);
        if (!rest.empty() && rest.back() == '\r') rest.remove_suffix(1);
        std::vector<std::string_view> fields;
        for (std::size_t semi; (semi = rest.find(';')) != std::string_view::npos;) {
            fields.push_back(rest.substr(0, semi));
            rest.remove_prefix(semi + 1);
        }
        if (fields.size() != 4 || !rest.empty()) {
            out.problem = "corrupt " + where + ": not four fields each closed by ';'";
            return out;
        }
        const auto when = HistoryTime(fields[2], fields[3]);
        if (!when) {
            out.problem = "corrupt " + where + ": date or time not like \"Mar 03, 2026;2:05 PM\"";
            return out;
        }
        out.csv += CsvField(Utf8(fields[0])) + "," + CsvField(Utf8(fields[1])) + "," + *when + "\n";
        ++out.records;
        offset = end + 1;
    }
    return out;
}

Conversion ConvertLongTerm(std::span<const std::uint8_t> bytes)
{
    Conversion out;
    out.csv =
        "time_local_iso8601,grain_temp_F,incoming_grain_temp_F,incoming_moisture_pct,"
        "outgoing_grain_temp_F,outgoing_moisture_pct,meter_roll_speed_rpm,byte_202\n";
    for (std::size_t at = 0; at < bytes.size(); at += kLongTermRecordSize) {
        const auto record = bytes.subspan(at, std::min(kLongTermRecordSize, bytes.size() - at));
        const auto s = DecodeLongTermRecord(record);
        if (!s) {
            out.problem = Truncated(at, record.size(), kLongTermRecordSize);
            return out;
        }
        if (!ClockValid(s->hour, s->minute, s->second)) {
            out.problem = "corrupt record " + At(at) + ": time " +
                          Printf("%d:%d:%d", s->hour, s->minute, s->second) + " is no time of day";
            return out;
        }
        out.csv += Printf("%02d:%02d:%02d", s->hour, s->minute, s->second) + "," +
                   std::to_string(s->grainTempF) + "," + Tenths(s->wetTempTenthsF) + "," +
                   Tenths(s->wetMoistureTenths) + "," + Tenths(s->dryTempTenthsF) + "," +
                   Tenths(s->dryMoistureTenths) + "," + Tenths(s->meterRollTenths) + "," +
                   std::to_string(s->byte202) + "\n";
        ++out.records;
    }
    return out;
}

Conversion ConvertSamples(std::span<const std::uint8_t> bytes, int year)
{
    Conversion out;
    out.csv =
        "time_local_iso8601,grain_temp_F,incoming_grain_temp_F,incoming_moisture_pct,"
        "outgoing_grain_temp_F,outgoing_moisture_pct,meter_roll_output_pct\n";
    int firstMonth = 0;
    for (std::size_t at = 0; at < bytes.size(); at += kDataLogSampleSize) {
        const auto b = bytes.subspan(at, std::min(kDataLogSampleSize, bytes.size() - at));
        const auto s = DecodeDataLogSample(b);
        if (!s) {
            out.problem = Truncated(at, b.size(), kDataLogSampleSize);
            return out;
        }
        if (firstMonth == 0) firstMonth = s->month;
        const int sampleYear = s->month < firstMonth ? year + 1 : year;  // past the new year
        std::string why;
        if (b[10] != 0 || b[12] != 0) why = "bytes 10 and 12 must be 0";
        if (!ClockValid(s->hour, s->minute, s->second)) why = "the time is no time of day";
        if (s->month < 1 || s->month > 12 || s->day < 1 || s->day > DaysIn(s->month, sampleYear)) {
            why = "the date is no day of the year";
        }
        if (!why.empty()) {
            out.problem = "corrupt record " + At(at) + ": " + why;
            return out;
        }
        out.csv += Printf("%04d-%02d-%02d", sampleYear, s->month, s->day) +
                   Printf("T%02d:%02d:%02d", s->hour, s->minute, s->second) + "," +
                   std::to_string(s->grainTemp) + "," + Tenths(s->incomingTemp) + "," +
                   Tenths(s->incomingMoisture) + "," + Tenths(s->outgoingTemp) + "," +
                   Tenths(s->outgoingMoisture) + "," + std::to_string(s->meterRollOutput) + "\n";
        ++out.records;
    }
    return out;
}

}  // namespace dryerlog
