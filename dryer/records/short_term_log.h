// The short-term data log: while grain is unloaded, one sample every 1, 5, 10 or 15 minutes
// into rolling files of 24 hours in "\Hard Disk\ShortTermDataLog", at most two files kept, and
// the window of samples the status chart shows.
#pragma once

#include <span>

#include "dryer/records/data_log_sample.h"
#include "dryer/records/short_term_log_files.h"

inline constexpr const wchar_t* kShortTermLogFolder = L"\\Hard Disk\\ShortTermDataLog";
inline constexpr const wchar_t* kShortTermLogPattern =
    L"\\Hard Disk\\ShortTermDataLog\\DATA_LOG_24HR??_??_??_??_??_??.DAT";
inline constexpr LogFolder kShortTermLog{kShortTermLogFolder, L"DATA_LOG_24HR",
                                         kShortTermLogPattern};

inline constexpr std::uint64_t kShortTermFileFull = 2592;  // bytes: 144 samples, 24 h at 10 min
inline constexpr int kShortTermMaxRecords = 144;

// Appends a sample: to the first file with room, else to a new file once the older of two
// full files is gone. True when all 18 bytes were written.
bool WriteShortTermRecord(const DataLogSample& sample);

// Whole samples in the first two files, at most 144.
int ShortTermRecordCount();

// Fills `out` (oldest first) with up to out.size() consecutive samples ending `skipNewest`
// samples before the newest; a skip reaching past the oldest sample gives the oldest ones.
// Returns how many were read: 0 without files, and 0 after finding three files, which are
// then all deleted so that logging starts afresh.
int ReadShortTermWindow(std::span<DataLogSample> out, int skipNewest);

// Deletes the first and second log file ("CLEAR TABLE").
void DeleteShortTermLogFiles();

// True while the 1-second tick reports the dryer unloading (the status chart shows "ON").
bool DataLogUnloading();

// The sample interval in seconds for a sample time in minutes. A stored time below one minute
// would sample every second; it counts as 5 minutes, the time the sample-time dialog puts in
// its place.
int ShortTermSampleSeconds(int sampleTimeMinutes);

// The sample-time dialog's accept: the next unloading second writes a sample and the interval
// starts again from there. The 1-second tick takes the request.
void RestartShortTermInterval();
bool TakeShortTermIntervalRestart();
