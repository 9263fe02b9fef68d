// Threads and events, and the handle table every kernel object of the platform lives in. Waits
// with a time-out run on the panel clock, so a test driving the virtual clock decides when a
// wait gives up.
#include "platform/runtime/threads.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <unordered_map>

#include "platform/runtime/clock.h"
#include "platform/runtime/detail_handles.h"

namespace platform::detail {

namespace {

struct HandleTable {
    std::mutex mutex;
    std::unordered_map<std::uintptr_t, std::shared_ptr<HandleObject>> objects;
    std::uintptr_t next = 0x1000;  // ids step by 4 and are never handed out twice
};

HandleTable& Table()
{
    static HandleTable table;
    return table;
}

}  // namespace

bool HandleObject::Read(std::span<std::byte>, DWORD& got)
{
    got = 0;
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
}

bool HandleObject::Write(std::span<const std::byte>, DWORD& written)
{
    written = 0;
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
}

bool HandleObject::Flush()
{
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
}

HANDLE AddHandle(std::shared_ptr<HandleObject> object)
{
    if (!object) return nullptr;
    HandleTable& t = Table();
    std::lock_guard lock(t.mutex);
    const std::uintptr_t id = t.next;
    t.next += 4;
    t.objects.emplace(id, std::move(object));
    return reinterpret_cast<HANDLE>(id);
}

std::shared_ptr<HandleObject> FindHandle(HANDLE handle)
{
    HandleTable& t = Table();
    {
        std::lock_guard lock(t.mutex);
        const auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
        if (it != t.objects.end()) return it->second;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

bool RemoveHandle(HANDLE handle)
{
    std::shared_ptr<HandleObject> dying;  // destroyed after the table lock is released
    HandleTable& t = Table();
    {
        std::lock_guard lock(t.mutex);
        const auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
        if (it != t.objects.end()) {
            dying = std::move(it->second);
            t.objects.erase(it);
        }
    }
    if (!dying) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return true;
}

// Both live for the whole process, never destroyed: a detached thread may still signal its
// end while the process is exiting.
std::mutex& WaitMutex()
{
    static auto* mutex = new std::mutex;
    return *mutex;
}

std::condition_variable& WaitCondition()
{
    static auto* condition = new std::condition_variable;
    return *condition;
}

void NotifyWaiters()
{
    // Taking the lock orders this wake-up after any waiter's check of the clock.
    {
        std::lock_guard lock(WaitMutex());
    }
    WaitCondition().notify_all();
}

void Signal(HandleObject& object)
{
    {
        std::lock_guard lock(WaitMutex());
        object.signalled = true;
    }
    WaitCondition().notify_all();
}

}  // namespace platform::detail

namespace {

using platform::detail::HandleObject;

thread_local DWORD lastError = ERROR_SUCCESS;

class EventObject : public HandleObject {
public:
    bool Waitable() const override { return true; }
};

// A thread: signalled when it has ended.
class EndObject : public HandleObject {
public:
    bool Waitable() const override { return true; }
};

std::atomic<DWORD> nextThreadId{1};

}  // namespace

DWORD GetLastError()
{
    return lastError;
}
void SetLastError(DWORD error)
{
    lastError = error;
}

HANDLE CreateThread(void*, DWORD, LPTHREAD_START_ROUTINE start, void* parameter, DWORD,
                    DWORD* threadId)
{
    if (start == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto done = std::make_shared<EndObject>();
    const DWORD id = nextThreadId.fetch_add(1);
    try {
        std::thread([done, start, parameter] {
            start(parameter);
            platform::detail::Signal(*done);
        }).detach();
    } catch (const std::system_error&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (threadId != nullptr) *threadId = id;
    return platform::detail::AddHandle(done);
}

HANDLE CreateEvent(void*, BOOL manualReset, BOOL initialState, const wchar_t*)
{
    auto event = std::make_shared<EventObject>();
    event->autoReset = !manualReset;
    event->signalled = initialState != FALSE;
    return platform::detail::AddHandle(event);
}

BOOL SetEvent(HANDLE event)
{
    const auto object = platform::detail::FindHandleAs<EventObject>(event);
    if (!object) return FALSE;
    platform::detail::Signal(*object);
    return TRUE;
}

BOOL ResetEvent(HANDLE event)
{
    const auto object = platform::detail::FindHandleAs<EventObject>(event);
    if (!object) return FALSE;
    std::lock_guard lock(platform::detail::WaitMutex());
    object->signalled = false;
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds)
{
    const auto object = platform::detail::FindHandle(handle);
    if (!object || !object->Waitable()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    const bool forever = milliseconds == INFINITE;
    const std::int64_t deadline = platform::NowMs() + (forever ? 0 : milliseconds);
    const auto realDeadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(forever ? 0 : milliseconds);

    std::unique_lock lock(platform::detail::WaitMutex());
    auto& condition = platform::detail::WaitCondition();
    for (;;) {
        if (object->signalled) {
            if (object->autoReset) object->signalled = false;
            return WAIT_OBJECT_0;
        }
        if (forever) {
            condition.wait(lock);
        } else if (platform::IsVirtualClock()) {
            if (platform::NowMs() >= deadline) return WAIT_TIMEOUT;
            condition.wait(lock);
        } else {
            if (condition.wait_until(lock, realDeadline) == std::cv_status::timeout &&
                !object->signalled) {
                return WAIT_TIMEOUT;
            }
        }
    }
}

BOOL CloseHandle(HANDLE handle)
{
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return platform::detail::RemoveHandle(handle) ? TRUE : FALSE;
}
