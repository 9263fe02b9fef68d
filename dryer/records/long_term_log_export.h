// The long-term data log's copy to the USB drive: "\Hard Disk2\LongTermDataLog" with the local
// date and time ("yy_MM_dd_HH_mm_ss") and ".DAT". An existing copy of that name is never
// overwritten, so two copies within one second fail the second time.
//
// The bytes go to "\Hard Disk2\LongTermDataLog.tmp" first, which takes its real name only when
// every byte is on the drive: a drive pulled during the copy never leaves a cut file under a
// name that says it is whole.
#pragma once

#include <cstdint>
#include <string>

#include "platform/runtime/clock.h"
#include "platform/win_types.h"

inline constexpr const wchar_t* kLongTermCopyTemporary = L"\\Hard Disk2\\LongTermDataLog.tmp";

// "LongTermDataLog26_03_03_14_05_09.DAT" for 14:05:09 on 3 March 2026.
std::wstring LongTermCopyName(const SYSTEMTIME& now);

enum class LongTermCopyOutcome {
    done,               // the whole log is on the drive under `fileName`
    destinationExists,  // a copy of that name is there already; it is left alone
    failed,             // the log could not be read or the drive took it only in part
};

struct LongTermCopyResult {
    LongTermCopyOutcome outcome = LongTermCopyOutcome::done;
    std::wstring fileName;  // without the folder
    DWORD error = 0;        // the system error of the failure
};

// Copies the log file to the drive under the name of the local time `now`.
LongTermCopyResult CopyLongTermLogToUsb(const SYSTEMTIME& now);

// Called after each block is written (tests: the drive can be pulled mid-way).
using LongTermCopyObserver = void (*)(std::uint64_t bytesWritten);
void SetLongTermCopyObserver(LongTermCopyObserver observer);
