// The long-term data log file: building its 16-byte records from the dryer image, appending
// them while the dryer unloads, its fill level, and the 12-second tick's hooks.
#include "dryer/records/long_term_log.h"

#include "dryer/records/data_log_hooks.h"
#include "dryer/records/record_file.h"
#include "dryer/records/short_term_log.h"
#include "platform/runtime/threads.h"
#include "platform/storage/files.h"

namespace {

// State for the displays and the tick (user-interface thread only).
int gFillLevel = 0;  // percent, as last found

// The log file, opened (and its folder made) for one call.
RecordFile OpenLog()
{
    CreateDirectory(kLongTermLogFolder, nullptr);  // an existing folder is fine
    return RecordFile(CreateFile(kLongTermLogFile, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

void PutWord(LongTermRecord& record, std::size_t at, int value)
{
    const auto word = static_cast<std::uint16_t>(value);
    record[at] = static_cast<std::uint8_t>(word >> 8);
    record[at + 1] = static_cast<std::uint8_t>(word & 0xFF);
}

int WordAt(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return (bytes[at] << 8) | bytes[at + 1];
}

}  // namespace

LongTermRecord BuildLongTermRecord(const ImageBytes& image, const SYSTEMTIME& now)
{
    LongTermRecord record{};
    PutWord(record, 0, Value(image, GrainTempEntry(Value(image, grainSensorSelect))));
    PutWord(record, 2, Value(image, wetSensorTemp));
    PutWord(record, 4, Value(image, wetMoisture));
    PutWord(record, 6, Value(image, drySensorTemp));
    PutWord(record, 8, Value(image, dryMoisture));
    PutWord(record, 10, Value(image, meterRollSpeed));
    record[12] = static_cast<std::uint8_t>(Value(image, printerByte202));
    record[13] = static_cast<std::uint8_t>(now.wHour);
    record[14] = static_cast<std::uint8_t>(now.wMinute);
    record[15] = static_cast<std::uint8_t>(now.wSecond);
    return record;
}

std::optional<LongTermSample> DecodeLongTermRecord(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kLongTermRecordSize) return std::nullopt;
    LongTermSample s;
    s.grainTempF = static_cast<std::int16_t>(WordAt(bytes, 0));
    s.wetTempTenthsF = static_cast<std::int16_t>(WordAt(bytes, 2));  // below 0 in a cold winter
    s.wetMoistureTenths = WordAt(bytes, 4);
    s.dryTempTenthsF = static_cast<std::int16_t>(WordAt(bytes, 6));
    s.dryMoistureTenths = WordAt(bytes, 8);
    s.meterRollTenths = WordAt(bytes, 10);
    s.byte202 = bytes[12];
    s.hour = bytes[13];
    s.minute = bytes[14];
    s.second = bytes[15];
    return s;
}

int LongTermFillLevelFor(std::uint64_t size)
{
    if (size >= kLongTermFileFull) return kLongTermFullPercent;
    const double free = static_cast<double>(kLongTermFileFull - size);
    return static_cast<int>(100.0 - free * (1.0 / static_cast<double>(kLongTermFileFull)) * 100.0);
}

LongTermWrite WriteLongTermRecord(const LongTermRecord& record, bool loggingAllowed)
{
    const RecordFile file = OpenLog();
    if (!file.ok()) return LongTermWrite::notOpened;
    gFillLevel = LongTermFillLevelFor(file.Size());
    if (gFillLevel >= kLongTermFullPercent) return LongTermWrite::full;
    if (!loggingAllowed) return LongTermWrite::notUnloading;
    return file.AppendWhole(record) ? LongTermWrite::appended : LongTermWrite::writeFailed;
}

bool RefreshLongTermFill()
{
    const RecordFile file = OpenLog();
    if (!file.ok()) return false;
    gFillLevel = LongTermFillLevelFor(file.Size());
    return true;
}

bool DeleteLongTermLog()
{
    if (!DeleteFile(kLongTermLogFile)) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return false;
    }
    gFillLevel = 0;  // the displays show the empty log at once, not at the next tick
    return true;
}

void ResetLongTermLogForTest()
{
    gFillLevel = 0;
}

// ---- the 1-second tick's hooks ----

void RefreshLongTermFillLevel()
{
    RefreshLongTermFill();  // a file that cannot be opened keeps the last fill level
}

void AppendLongTermSample()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    WriteLongTermRecord(BuildLongTermRecord(DryerImage, now), DataLogUnloading());  // not retried
}

int LongTermFillLevelPercent()
{
    return gFillLevel;
}
