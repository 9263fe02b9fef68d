// The graph data log: which file a 10-second sample goes to, the loading of one window of the
// log for the graph, its reduction to 360 points per trace and the vertical scales. The graph
// is recomputed from the files on every repaint, so it never shows a sample that is not on disk.
#include "dryer/records/graph_log.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "dryer/records/data_log_hooks.h"

namespace {

constexpr int kScaleHours[kGraphScaleCodes] = {1, 2, 4, 8};
constexpr std::size_t kMaxWindowSamples = kGraphHourSamples * 8;  // 51840 bytes
constexpr int kPlotHeight = 180;                                  // pixels of the top tick
constexpr int kTicksAboveBase = 4;
constexpr int kDeleteTries = 3;

// The steps of the vertical scale by the range they cover; wider ranges step by 100.
struct StepRow {
    int rangeUpTo;
    int step;
};
constexpr StepRow kSteps[] = {{4, 1},   {8, 2},    {12, 3},   {20, 5},   {40, 10},
                              {80, 20}, {100, 25}, {120, 30}, {160, 40}, {200, 50}};
constexpr int kWideStep = 100;

// The load buffer: one window of records, kept for the run.
std::array<DataLogRecord, kMaxWindowSamples> gLoad;

// The files of the log, older first: the two newest by creation time of those the scan found.
std::vector<LogFileEntry> FilesInTimeOrder(const LogFileScan& scan)
{
    std::vector<LogFileEntry> files(scan.files.begin(), scan.files.begin() + scan.found);
    std::sort(files.begin(), files.end(), [](const LogFileEntry& a, const LogFileEntry& b) {
        return CreatedNoLaterThan(a, b) && !CreatedNoLaterThan(b, a);
    });
    if (files.size() > 2) files.erase(files.begin(), files.end() - 2);
    return files;
}

// A scan that found three files: the oldest goes, so that the log keeps its two newest days
// instead of starting a file for every sample.
LogFileScan ScanDownToTwoFiles()
{
    LogFileScan scan = ScanLogFolder(kGraphLog);
    for (int tries = 0; scan.found == 3 && tries < kDeleteTries; ++tries) {
        std::vector<LogFileEntry> all(scan.files.begin(), scan.files.end());
        const auto oldest =
            std::min_element(all.begin(), all.end(), [](const auto& a, const auto& b) {
                return CreatedNoLaterThan(a, b) && !CreatedNoLaterThan(b, a);
            });
        DeleteLogFile(oldest->path);
        scan = ScanLogFolder(kGraphLog);
    }
    return scan;
}

bool IsFull(const LogFileEntry& file)
{
    return file.size >= kGraphFileFull;
}

// The file the next sample goes to, starting one when the newest is full; empty when no file
// can be made.
std::wstring ChooseFile(const SYSTEMTIME& now)
{
    const LogFileScan scan = ScanDownToTwoFiles();
    if (scan.found == 1 || scan.found == 2) {
        const std::vector<LogFileEntry> files = FilesInTimeOrder(scan);
        const LogFileEntry& newest = files.back();
        if (!IsFull(newest)) return newest.path;
        // A full newest file: a second day begins, and the day before the last one goes.
        if (files.size() == 2) DeleteLogFile(files.front().path);
    }
    return StartLogFile(kGraphLog, now);
}

int FloorDiv(int a, int b)
{
    return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

int CeilDiv(int a, int b)
{
    return -FloorDiv(-a, b);
}

// Sums of one point's samples per trace.
struct PointSums {
    long long moistureIn = 0, tempIn = 0, moistureOut = 0, tempOut = 0, grain = 0, roll = 0;
};

}  // namespace

void ReduceGraphSamples(std::span<const DataLogRecord> records, int perPoint, GraphWindow& out)
{
    const std::size_t count = records.size();
    const std::size_t k = static_cast<std::size_t>(std::max(perPoint, 1));
    out.points = static_cast<int>(std::min<std::size_t>((count + k - 1) / k, kGraphPoints));
    for (int i = 0; i < out.points; ++i) {
        const std::size_t from = static_cast<std::size_t>(i) * k;
        const std::size_t n = std::min(k, count - from);
        PointSums s;
        for (std::size_t j = from; j < from + n; ++j) {
            const DataLogSample d = DecodeDataLogSample(records[j]).value_or(DataLogSample{});
            s.moistureIn += d.incomingMoisture;
            s.tempIn += d.incomingTemp;
            s.moistureOut += d.outgoingMoisture;
            s.tempOut += d.outgoingTemp;
            s.grain += d.grainTemp;
            s.roll += d.meterRollOutput;
        }
        // The last point of a log shorter than the window averages the samples there are.
        const auto avg = [n](long long sum, long long divisor = 1) {
            return static_cast<int>(sum / (static_cast<long long>(n) * divisor));
        };
        const std::size_t p = static_cast<std::size_t>(i);
        out.values[kTraceMoistureIn][p] = avg(s.moistureIn);
        out.values[kTraceTempIn][p] = avg(s.tempIn, 10);  // tenths to whole deg F
        out.values[kTraceMoistureOut][p] = avg(s.moistureOut);
        out.values[kTraceTempOut][p] = avg(s.tempOut, 10);
        out.values[kTraceGrainTemp][p] = avg(s.grain);
        out.values[kTraceMeterRoll][p] = avg(s.roll);
    }
    for (int t = 0; t < kGraphTraceCount; ++t) {
        const auto& v = out.values[static_cast<std::size_t>(t)];
        if (out.points == 0) {
            out.scales[static_cast<std::size_t>(t)] = GraphScale{};
            continue;
        }
        const auto [lo, hi] = std::minmax_element(v.begin(), v.begin() + out.points);
        out.scales[static_cast<std::size_t>(t)] = ComputeGraphScale(*lo, *hi);
    }
    const auto sampleAt = [records](std::size_t i) {
        return DecodeDataLogSample(records[i]).value_or(DataLogSample{});
    };
    out.first = count > 0 ? sampleAt(0) : DataLogSample{};
    out.middle = count > 0 ? sampleAt(count / 2) : DataLogSample{};
    out.last = count > 0 ? sampleAt(count - 1) : DataLogSample{};
}

bool WriteGraphRecord(const DataLogSample& sample)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::wstring path = ChooseFile(now);
    if (path.empty()) return false;  // the sample is lost
    return AppendLogRecord(path, EncodeDataLogSample(sample));
}

int GraphScaleHours(int scaleCode)
{
    if (scaleCode < 0 || scaleCode >= kGraphScaleCodes) return kScaleHours[0];
    return kScaleHours[scaleCode];
}

GraphScale ComputeGraphScale(int minimum, int maximum)
{
    const int range = maximum - minimum + 3;
    int step = kWideStep;
    for (const StepRow& row : kSteps) {
        if (range <= row.rangeUpTo) {
            step = row.step;
            break;
        }
    }
    const int base = FloorDiv(minimum, step) * step;
    const int shortBy = maximum - (base + kTicksAboveBase * step);
    // Grown so that the top tick is never below the maximum: a growth rounded down would leave
    // the highest points above the top tick, over the top of the graph.
    if (shortBy > 0) step += CeilDiv(shortBy, kTicksAboveBase);
    return GraphScale{base, step};
}

int GraphPointHeight(int value, const GraphScale& scale)
{
    const int span = scale.Top() - scale.base;
    if (span <= 0) return 0;
    return static_cast<int>(static_cast<double>(value - scale.base) * kPlotHeight / span);
}

bool LoadGraphWindow(int scaleCode, int offset, GraphWindow& out)
{
    const std::vector<LogFileEntry> files = FilesInTimeOrder(ScanLogFolder(kGraphLog));
    const std::uint64_t older = files.empty() ? 0 : WholeSamples(files[0].size);
    const std::uint64_t newer = files.size() < 2 ? 0 : WholeSamples(files[1].size);
    const std::uint64_t total = older + newer;
    const int hours = GraphScaleHours(scaleCode);
    const std::uint64_t window = kGraphHourSamples * static_cast<std::uint64_t>(hours);

    out.hoursAvailable = static_cast<int>(std::min<std::uint64_t>(
        total / kGraphHourSamples, static_cast<std::uint64_t>(kGraphMaxHours)));
    out.maxOffset = std::max(0, out.hoursAvailable - hours);
    std::uint64_t start = 0;
    std::uint64_t count = total;
    if (total < window) {
        out.offset = 0;  // the whole log is shown
    } else {
        out.offset = std::clamp(offset, 0, out.maxOffset);
        const std::uint64_t back = std::min<std::uint64_t>(
            static_cast<std::uint64_t>(out.offset) * kGraphHourSamples, total - window);
        start = total - back - window;
        count = window;
    }

    // The part of the window in the older file, then the part in the newer one.
    std::fill(gLoad.begin(), gLoad.end(), DataLogRecord{});
    std::span<DataLogRecord> into(gLoad.data(), static_cast<std::size_t>(count));
    const std::uint64_t fromOlder = start < older ? std::min(count, older - start) : 0;
    const std::uint64_t fromNewer = count - fromOlder;
    if (fromOlder > 0 && ReadLogRecords(files[0].path, start, into.first(fromOlder)) !=
                             static_cast<int>(fromOlder)) {
        return false;
    }
    if (fromNewer > 0 && ReadLogRecords(files[1].path, start + fromOlder - older,
                                        into.last(fromNewer)) != static_cast<int>(fromNewer)) {
        return false;
    }
    out.samples = static_cast<int>(count);
    ReduceGraphSamples(into, hours, out);
    return true;
}

// ---- the 1-second tick's hook ----

void WriteGraphSample()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    WriteGraphRecord(BuildDataLogSample(DryerImage, now));  // a lost sample is not retried
}
