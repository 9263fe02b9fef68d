// The panel's handle table, shared by files, the serial port, find handles, threads, events and
// processes. A HANDLE is a number handed out once and never reused, so a stale or forged
// handle is found missing on its next use and the call fails softly instead of crashing.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "platform/runtime/threads.h"
#include "platform/storage/files.h"  // the error codes
#include "platform/win_types.h"

namespace platform::detail {

// Anything a HANDLE can stand for. Reading, writing and flushing go through the object, so
// ReadFile and WriteFile serve disk files and the serial port alike.
class HandleObject {
public:
    virtual ~HandleObject() = default;

    // Each returns false with the last error set on failure.
    virtual bool Read(std::span<std::byte> buffer, DWORD& got);
    virtual bool Write(std::span<const std::byte> data, DWORD& written);
    virtual bool Flush();

    // Waitable objects (events, threads, processes) answer true and keep `signalled` under
    // WaitMutex(); an auto-reset object clears it when a wait succeeds.
    virtual bool Waitable() const { return false; }
    bool signalled = false;
    bool autoReset = false;
};

// Adds an object and returns its new handle (never null, never INVALID_HANDLE_VALUE).
HANDLE AddHandle(std::shared_ptr<HandleObject> object);

// The object behind a handle, or null (last error ERROR_INVALID_HANDLE) when it is unknown.
std::shared_ptr<HandleObject> FindHandle(HANDLE handle);

// The object behind a handle when it is a T (a file, a serial port, an event, ...), or null
// (last error ERROR_INVALID_HANDLE) when the handle is unknown or stands for something else.
template <class T>
std::shared_ptr<T> FindHandleAs(HANDLE handle)
{
    auto object = std::dynamic_pointer_cast<T>(FindHandle(handle));
    if (!object) SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

// Removes a handle from the table; the object lives on while others still hold it.
bool RemoveHandle(HANDLE handle);

// The lock and condition that every wait on a waitable object sleeps on. Signalling an object,
// a thread's end and a move of the virtual clock all wake the waiters, who then recheck.
std::mutex& WaitMutex();
std::condition_variable& WaitCondition();

// Wakes every waiter; called by the clock when virtual time moves.
void NotifyWaiters();

// Marks a waitable object signalled and wakes its waiters.
void Signal(HandleObject& object);

}  // namespace platform::detail
