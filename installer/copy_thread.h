// The copy of a release on its own thread: the release's files, NodeFlasher, the system files,
// the warning pictures, the manuals and the languages, each step shown as lines of the install
// dialog. The thread talks to the dialog only by messages; once the dialog is closed they are
// dropped, and the thread stops after the file it is copying.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_types.h"

// One copy run, owned by its thread.
struct CopyJob {
    HWND dialog = nullptr;      // the install dialog it reports to
    std::wstring release;       // the release folder's name
    unsigned number = 0;        // runs are numbered; Cancel stops every run up to its own
    int failures = 0;           // files that could not be copied or deleted
    HANDLE previous = nullptr;  // the run before, which must end before this one starts
    std::vector<std::wstring> firstLines;  // failures of the cleanup, shown first
};

// Starts the copy of the selected release for an open install dialog.
void StartCopyThread(HWND dialog, const std::wstring& selectedRelease,
                     std::vector<std::wstring> firstLines);
// Cancel or OK of the install dialog: the running copy stops after the current file.
void StopCopyThread();

// ---- what the steps use (on the copy thread) ----
void AddInstallLine(CopyJob& job, const std::wstring& line);
// A failure: the line, and one more for the ending's count.
void AddFailureLine(CopyJob& job, const std::wstring& line);
bool StopAsked(const CopyJob& job);
// A pause on the panel clock (virtual in tests).
void PauseCopy(DWORD milliseconds);
void ShowLanguageProgress(CopyJob& job);
void SetInstallProgressRange(CopyJob& job, int top);
void SetInstallProgressPos(CopyJob& job, int position);

// ---- for tests ----
// True from the start of a run until its thread has ended.
bool UsbCopyRunning();
// The panel time (platform::NowMs) at which the current pause ends; 0 while not pausing.
std::int64_t UsbCopyPauseEnd();
// The last run's thread (null before the first); WaitForSingleObject tells its end.
HANDLE UsbCopyThreadHandle();
