// Threads, auto-reset and manual-reset events. Starting other panel programs is
// platform/runtime/process.h, included here for the callers that wait on a started program.
#pragma once

#include "platform/runtime/process.h"
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

// Waits on an event (timeouts run on the panel clock), a thread's end or a started program's end.
// Returns WAIT_OBJECT_0, WAIT_TIMEOUT, or WAIT_FAILED for an invalid handle.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);

// Closes any handle of the platform (file, serial port, find handle, thread, event, process).
BOOL CloseHandle(HANDLE handle);

DWORD GetLastError();
void SetLastError(DWORD error);
