// The short-term data log: which file a sample goes to, the record count the status chart
// scrolls over, the window of samples it shows, and the hooks the 1-second tick calls.
#include "dryer/records/short_term_log.h"

#include <algorithm>
#include <vector>

#include "dryer/records/data_log_hooks.h"

namespace {

constexpr int kFallbackSampleMinutes = 5;

bool gUnloading = false;
bool gRestartInterval = false;

void DeleteAll(const LogFileScan& scan)
{
    for (int i = 0; i < scan.found; ++i) {
        DeleteLogFile(scan.files[static_cast<std::size_t>(i)].path);
    }
}

bool HasRoom(const LogFileEntry& file)
{
    return file.size < kShortTermFileFull;
}

// The file the next sample goes to, starting one when none has room; empty when no file can
// be made.
std::wstring ChooseFile(const LogFileScan& scan, const SYSTEMTIME& now)
{
    const LogFileEntry& first = scan.files[0];
    const LogFileEntry& second = scan.files[1];
    switch (scan.found) {
        case 1:
            if (HasRoom(first)) return first.path;
            break;
        case 2:
            if (HasRoom(first)) return first.path;
            if (HasRoom(second)) return second.path;
            DeleteLogFile(CreatedNoLaterThan(first, second) ? first.path : second.path);
            break;
        case 3:
            // Only the chart's reading cleared a third file, and a hidden chart never reads:
            // clear them here too, so logging does not stop while the graph is shown.
            DeleteAll(scan);
            break;
        default: break;
    }
    return StartLogFile(kShortTermLog, now);
}

}  // namespace

bool WriteShortTermRecord(const DataLogSample& sample)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::wstring path = ChooseFile(ScanLogFolder(kShortTermLog), now);
    if (path.empty()) return false;  // the sample is lost
    return AppendLogRecord(path, EncodeDataLogSample(sample));
}

int ShortTermRecordCount()
{
    const LogFileScan scan = ScanLogFolder(kShortTermLog);
    std::uint64_t records = 0;
    for (int i = 0; i < std::min(scan.found, 2); ++i) {
        records += WholeSamples(scan.files[static_cast<std::size_t>(i)].size);
    }
    return static_cast<int>(std::min<std::uint64_t>(records, kShortTermMaxRecords));
}

int ReadShortTermWindow(std::span<DataLogSample> out, int skipNewest)
{
    LogFileScan scan = ScanLogFolder(kShortTermLog);
    if (scan.found == 0 || out.empty()) return 0;
    if (scan.found == 3) {
        DeleteAll(scan);
        return 0;
    }
    // The two files in the order they were started, older first.
    if (scan.found == 2 && !CreatedNoLaterThan(scan.files[0], scan.files[1])) {
        std::swap(scan.files[0], scan.files[1]);
    }
    const std::uint64_t older = WholeSamples(scan.files[0].size);
    const std::uint64_t newer = scan.found == 2 ? WholeSamples(scan.files[1].size) : 0;
    const std::uint64_t total = older + newer;
    const std::uint64_t wanted = out.size();
    std::uint64_t start = 0;
    std::uint64_t count = total;
    if (total > wanted) {
        const std::uint64_t skip = std::min<std::uint64_t>(
            static_cast<std::uint64_t>(std::max(skipNewest, 0)), total - wanted);
        start = total - skip - wanted;
        count = wanted;
    }
    if (count == 0) return 0;

    // The part of the window in the older file, then the part in the newer one.
    std::vector<DataLogRecord> records(static_cast<std::size_t>(count));
    const std::uint64_t fromOlder = start < older ? std::min(count, older - start) : 0;
    const std::uint64_t fromNewer = count - fromOlder;
    std::span<DataLogRecord> into(records);
    if (fromOlder > 0 && ReadLogRecords(scan.files[0].path, start, into.first(fromOlder)) !=
                             static_cast<int>(fromOlder)) {
        return 0;
    }
    if (fromNewer > 0 && ReadLogRecords(scan.files[1].path, start + fromOlder - older,
                                        into.last(fromNewer)) != static_cast<int>(fromNewer)) {
        return 0;
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        out[i] = DecodeDataLogSample(records[i]).value_or(DataLogSample{});
    }
    return static_cast<int>(count);
}

void DeleteShortTermLogFiles()
{
    const LogFileScan scan = ScanLogFolder(kShortTermLog);
    for (int i = 0; i < std::min(scan.found, 2); ++i) {
        DeleteLogFile(scan.files[static_cast<std::size_t>(i)].path);
    }
}

bool DataLogUnloading()
{
    return gUnloading;
}

int ShortTermSampleSeconds(int sampleTimeMinutes)
{
    return (sampleTimeMinutes < 1 ? kFallbackSampleMinutes : sampleTimeMinutes) * 60;
}

void RestartShortTermInterval()
{
    gRestartInterval = true;
}

bool TakeShortTermIntervalRestart()
{
    const bool requested = gRestartInterval;
    gRestartInterval = false;
    return requested;
}

// ---- the 1-second tick's hooks ----

void SetDataLogUnloading(bool unloading)
{
    gUnloading = unloading;
}

void WriteShortTermSample()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    WriteShortTermRecord(BuildDataLogSample(DryerImage, now));  // a lost sample is not retried
}
