// The rolling daily files of a data log on the panel disk: a folder of files named by the
// local date and time they were started, each a plain run of 18-byte samples. The folder scan,
// the start of a new file, the append of one sample and the reading of whole samples are
// shared by the short-term log and the graph log; each log keeps its own rules for which file
// a sample goes to.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "dryer/records/data_log_sample.h"
#include "platform/runtime/clock.h"
#include "platform/win_types.h"

// Where a log keeps its files.
struct LogFolder {
    const wchar_t* folder;   // "\Hard Disk\ShortTermDataLog"
    const wchar_t* prefix;   // "DATA_LOG_24HR"
    const wchar_t* pattern;  // "...\DATA_LOG_24HR??_??_??_??_??_??.DAT"
};

struct LogFileEntry {
    std::wstring path;  // panel path
    std::uint64_t size = 0;
    FILETIME created;
};

// Up to three matching files that are not folders, in directory order; the slots past
// `found` are empty.
struct LogFileScan {
    int found = 0;
    std::array<LogFileEntry, 3> files;
};

LogFileScan ScanLogFolder(const LogFolder& log);

// Whole samples a file of this size holds; a partial sample at the end does not count.
std::uint64_t WholeSamples(std::uint64_t bytes);

// True when file a was created before file b; on equal times a counts as the older.
bool CreatedNoLaterThan(const LogFileEntry& a, const LogFileEntry& b);

// Creates the folder and an empty file named for `now`; returns its panel path, or an empty
// string when it cannot be created.
std::wstring StartLogFile(const LogFolder& log, const SYSTEMTIME& now);

// Appends one sample to a file (created when missing). The sample goes after the last whole
// sample, so a partial sample left by an interrupted write is overwritten rather than
// shifting every later one; a write that cannot finish is cut back off the file. True when
// all 18 bytes were written.
bool AppendLogRecord(const std::wstring& path, const DataLogRecord& record);

// Reads `count` whole samples starting at sample `first` of a file into `out`; returns how
// many were read (fewer when the file is shorter or cannot be read).
int ReadLogRecords(const std::wstring& path, std::uint64_t first, std::span<DataLogRecord> out);

// Deletes a file; a failure is ignored (the next scan finds it again).
void DeleteLogFile(const std::wstring& path);
