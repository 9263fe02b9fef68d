// The shutdown history on the USB drive: "\Hard Disk2\DryerShutdownHistory.txt", one line per
// record, oldest first, each field closed by a semicolon and the line by a line feed alone:
//
//   0E08 - MAIN I/O - OUT OF GRAIN TIMER EXPIRED;MAIN I/O;Mar 03, 2026;2:05 PM;\n
//
// The file is written under a temporary name and takes its real name only once it is whole,
// so a drive pulled during the copy never leaves a cut history that looks complete, and an
// older, longer file is replaced rather than written over.
#pragma once

#include <cstddef>
#include <string>

#include "dryer/records/shutdown_history.h"
#include "platform/win_types.h"

inline constexpr const wchar_t* kUsbDrive = L"\\Hard Disk2";
inline constexpr const wchar_t* kShutdownExportFile = L"\\Hard Disk2\\DryerShutdownHistory.txt";
inline constexpr const wchar_t* kShutdownExportTemporary =
    L"\\Hard Disk2\\DryerShutdownHistory.tmp";

// True when the USB drive is there (a find-first on "\Hard Disk2" succeeds).
bool UsbDrivePresent();

enum class ShutdownExportOutcome {
    done,               // the file holds every record
    fileNotOpened,      // the file could not be made: nothing is said
    mountFailed,        // the history volume could not be mounted
    databaseNotOpened,  // the history database could not be opened
    writeFailed,        // the drive took the file only in part (or not at all)
};

struct ShutdownExportResult {
    ShutdownExportOutcome outcome = ShutdownExportOutcome::done;
    DWORD error = 0;        // the system error code of the failure
    std::size_t lines = 0;  // records written
};

// Writes the whole history to the USB drive.
ShutdownExportResult ExportShutdownHistory();

// What the operator is told about an export; empty text when nothing is said. No caption
// for the store's errors; the write failure uses the panel's USB copy failure box.
struct ShutdownExportMessage {
    std::wstring text;
    std::wstring caption;
    UINT type = 0;  // message box buttons and icon
};
ShutdownExportMessage ShutdownExportMessageFor(const ShutdownExportResult& result);

// One line of the file, 8-bit text: "text;node;date;time;\n", each field at most 500
// characters.
std::string ShutdownExportLine(const ShutdownRow& row);

// Called after each line is written (tests: the drive can be pulled mid-way).
using ShutdownExportObserver = void (*)(std::size_t linesWritten);
void SetShutdownExportObserver(ShutdownExportObserver observer);
