// Threads, auto-reset and manual-reset events, and starting other panel programs.
#pragma once

#include "platform/win_types.h"

using LPTHREAD_START_ROUTINE = DWORD (*)(void* parameter);

inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_TIMEOUT = 258;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;

// Starts a thread at once (flags and stack size are accepted and ignored). The thread is
// detached: closing its handle does not stop it.
HANDLE CreateThread(void* security, DWORD stackSize, LPTHREAD_START_ROUTINE start, void* parameter,
                    DWORD flags, DWORD* threadId);

HANDLE CreateEvent(void* security, BOOL manualReset, BOOL initialState, const wchar_t* name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

// Waits on an event (timeouts run on the panel clock) or on a thread's end.
// Returns WAIT_OBJECT_0, WAIT_TIMEOUT, or WAIT_FAILED for an invalid handle.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);

// Closes any handle of the platform (file, serial port, find handle, thread, event).
BOOL CloseHandle(HANDLE handle);

struct PROCESS_INFORMATION {
    HANDLE hProcess = nullptr;
    HANDLE hThread = nullptr;
    DWORD dwProcessId = 0;
    DWORD dwThreadId = 0;
};

// Starts another program by its panel path ("\Hard Disk\Kickoff.exe", "\windows\explorer.exe")
// with the given command line (may be null or empty). The panel path is mapped like a file
// path; a ".exe" name that does not exist is also looked up without the extension and in
// the registered program table (platform::RegisterProgram). Returns FALSE when nothing can
// be started.
BOOL CreateProcess(const wchar_t* application, const wchar_t* commandLine, void* processAttrs,
                   void* threadAttrs, BOOL inherit, DWORD flags, void* environment,
                   const wchar_t* currentDir, void* startupInfo, PROCESS_INFORMATION* info);

DWORD GetLastError();
void SetLastError(DWORD error);

namespace platform {

// Maps a panel program name (for example L"\\windows\\explorer.exe") to a host executable
// and its fixed leading arguments, for programs that do not live under the panel root.
void RegisterProgram(const wchar_t* panelPath, const char* hostExecutable);

}  // namespace platform
