// dryerlog: turns a record file copied from the panel (the shutdown history export, the
// long-term log, a short-term or graph log file) into CSV for a service technician's desktop.
// A file that ends inside a record or holds a record that cannot be right is reported with the
// byte offset of that record; the good records before it are written all the same. A graph log
// can also be drawn as a PNG picture of its trend, as the panel's graph screen draws it.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/drawing/gdi.h"
#include "platform/runtime/command_line.h"
#include "tools/dryerlog/log_conversion.h"
#include "tools/dryerlog/trend_picture.h"

namespace {

constexpr const char* kUsage =
    "usage: dryerlog [--kind KIND] [--year YEAR] [--output CSV] [--png PICTURE] FILE\n"
    "Writes a record file copied from the dryer's panel as CSV (to standard output unless\n"
    "--output is given): one line per record, units in the column names, times in ISO 8601.\n"
    "  FILE           DryerShutdownHistory.txt, LongTermDataLog*.DAT,\n"
    "                 DATA_LOG_24HR*.DAT or GRAPH_DATA_LOG_24HR*.DAT\n"
    "  --kind KIND    history, longterm, shortterm or graph (default: from the file's name)\n"
    "  --year YEAR    the year a short-term or graph file was started (default: from its name)\n"
    "  --output CSV   the file to write\n"
    "  --png PICTURE  a graph log only: draws its trend as a PNG file instead of the CSV (the\n"
    "                 CSV too when --output is given): one graph area of the panel's graph\n"
    "                 screen for each 8 hours of the file, oldest at the top, all six traces\n"
    "Exit status: 0 every record written, 1 the file could not be read or stopped at a bad\n"
    "record (the records before it are written), 2 a bad command line.\n";

std::optional<dryerlog::LogKind> KindNamed(const std::string& name)
{
    if (name == "history") return dryerlog::LogKind::history;
    if (name == "longterm") return dryerlog::LogKind::longTerm;
    if (name == "shortterm") return dryerlog::LogKind::shortTerm;
    if (name == "graph") return dryerlog::LogKind::graph;
    return std::nullopt;
}

bool ReadWhole(const std::string& path, std::string& out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), {});
    return !in.bad();
}

}  // namespace

int main(int argc, char** argv)
{
    std::string file;
    std::string kindName;
    std::string output;
    std::string picture;
    int year = 0;
    platform::ProgramOptions options("dryerlog");
    options.Value("--kind", "KIND", kindName,
                  platform::OneOf({"history", "longterm", "shortterm", "graph"}, "log kind"));
    options.Number("--year", year, 2000, 2099);
    options.Value("--output", "CSV", output);
    options.Value("--png", "PICTURE", picture);
    options.Positional("FILE", file);
    if (const auto code =
            platform::ReportCommandLine(options.Parse(platform::Arguments(argc, argv)), kUsage)) {
        return *code;
    }
    const auto kind = kindName.empty() ? dryerlog::KindFromName(file) : KindNamed(kindName);
    if (!kind) {
        std::fprintf(stderr, "dryerlog: %s: the name says no log kind; give --kind\n",
                     file.c_str());
        return 2;
    }
    if (!picture.empty() && *kind != dryerlog::LogKind::graph) {
        std::fprintf(stderr,
                     "dryerlog: %s: --png draws only a graph log (GRAPH_DATA_LOG_24HR*.DAT)\n",
                     file.c_str());
        return 2;
    }
    const bool dated = *kind == dryerlog::LogKind::shortTerm || *kind == dryerlog::LogKind::graph;
    if (dated && year == 0) year = dryerlog::YearFromName(file).value_or(0);
    if (dated && year == 0) {
        std::fprintf(stderr, "dryerlog: %s: the name gives no year; give --year\n", file.c_str());
        return 2;
    }

    std::string bytes;
    if (!ReadWhole(file, bytes)) {
        std::fprintf(stderr, "dryerlog: %s: cannot be read\n", file.c_str());
        return 1;
    }
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                             bytes.size());
    dryerlog::Conversion result;
    switch (*kind) {
        case dryerlog::LogKind::history: result = dryerlog::ConvertHistory(bytes); break;
        case dryerlog::LogKind::longTerm: result = dryerlog::ConvertLongTerm(data); break;
        case dryerlog::LogKind::shortTerm:
        case dryerlog::LogKind::graph: result = dryerlog::ConvertSamples(data, year); break;
    }

    if (!picture.empty()) {
        const dryerlog::TrendPicture trend = dryerlog::DrawTrend(data, year);
        const bool saved = platform::SaveBitmapPng(trend.bitmap, picture);
        DeleteObject(trend.bitmap);
        if (!saved) {
            std::fprintf(stderr, "dryerlog: %s: cannot be written\n", picture.c_str());
            return 1;
        }
    }
    if (!output.empty()) {
        std::ofstream out(output, std::ios::binary | std::ios::trunc);
        out << result.csv;
        out.close();
        if (!out) {
            std::fprintf(stderr, "dryerlog: %s: cannot be written\n", output.c_str());
            return 1;
        }
    } else if (picture.empty()) {
        std::cout << result.csv << std::flush;
    }
    if (!result.problem.empty()) {
        std::fprintf(stderr, "dryerlog: %s: %s; the %zu good records before it are %s\n",
                     file.c_str(), result.problem.c_str(), result.records,
                     output.empty() && !picture.empty() ? "drawn" : "written");
        return 1;
    }
    return 0;
}
