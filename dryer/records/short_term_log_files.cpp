// The data log folders: scanning, starting, appending to and reading the daily sample files.
// Every file is opened, used and closed within one call; nothing is kept open between ticks.
#include "dryer/records/short_term_log_files.h"

#include <algorithm>

#include "dryer/records/record_file.h"
#include "platform/runtime/threads.h"
#include "platform/storage/files.h"

namespace {

constexpr std::size_t kMaxScanned = 3;
static_assert(sizeof(DataLogRecord) == kDataLogSampleSize,
              "records are read into an array of them");

}  // namespace

LogFileScan ScanLogFolder(const LogFolder& log)
{
    LogFileScan scan;
    WIN32_FIND_DATA data;
    HANDLE find = FindFirstFile(log.pattern, &data);
    if (find == INVALID_HANDLE_VALUE) return scan;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        LogFileEntry& entry = scan.files[static_cast<std::size_t>(scan.found++)];
        entry.path = std::wstring(log.folder) + L"\\" + data.cFileName;
        entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        entry.created = data.ftCreationTime;
    } while (static_cast<std::size_t>(scan.found) < kMaxScanned && FindNextFile(find, &data));
    FindClose(find);
    return scan;
}

std::uint64_t WholeSamples(std::uint64_t bytes)
{
    return bytes / kDataLogSampleSize;
}

bool CreatedNoLaterThan(const LogFileEntry& a, const LogFileEntry& b)
{
    if (a.created.dwHighDateTime != b.created.dwHighDateTime) {
        return a.created.dwHighDateTime < b.created.dwHighDateTime;
    }
    return a.created.dwLowDateTime <= b.created.dwLowDateTime;
}

std::wstring StartLogFile(const LogFolder& log, const SYSTEMTIME& now)
{
    CreateDirectory(log.folder, nullptr);  // an existing folder is fine
    wchar_t date[16];
    wchar_t time[16];
    if (GetDateFormat(LOCALE_SYSTEM_DEFAULT, 0, &now, L"yy'_'MM'_'dd'_'", date, 16) == 0 ||
        GetTimeFormat(LOCALE_SYSTEM_DEFAULT, 0, &now, L"HH'_'mm'_'ss", time, 16) == 0) {
        return {};
    }
    std::wstring path = std::wstring(log.folder) + L"\\" + log.prefix + date + time + L".DAT";
    RecordFile file(CreateFile(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) return {};
    return path;
}

bool AppendLogRecord(const std::wstring& path, const DataLogRecord& record)
{
    RecordFile file(CreateFile(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.ok() && file.AppendWhole(record);
}

int ReadLogRecords(const std::wstring& path, std::uint64_t first, std::span<DataLogRecord> out)
{
    if (out.empty()) return 0;
    RecordFile file(CreateFile(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) return 0;
    const std::uint64_t held = WholeSamples(file.Size());
    if (first >= held) return 0;
    const std::size_t count =
        static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), held - first));
    if (!file.SeekTo(first * kDataLogSampleSize)) return 0;
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(count * kDataLogSampleSize);
    if (ReadFile(file.get(), out.data(), want, &got, nullptr) == FALSE) return 0;
    return static_cast<int>(got / kDataLogSampleSize);
}

void DeleteLogFile(const std::wstring& path)
{
    DeleteFile(path.c_str());
}
