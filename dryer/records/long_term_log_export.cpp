// Copying the long-term data log to the USB drive in blocks, under a temporary name that
// becomes the dated name only once the copy is whole.
#include "dryer/records/long_term_log_export.h"

#include <array>
#include <atomic>

#include "dryer/records/long_term_log.h"
#include "platform/runtime/threads.h"
#include "platform/storage/files.h"

namespace {

constexpr DWORD kBlockSize = 64 * 1024;  // bytes read and written at a time
constexpr const wchar_t* kCopyFolder = L"\\Hard Disk2\\";

std::atomic<LongTermCopyObserver> gObserver{nullptr};

// The reason of the call that just failed; never 0, which would read as success.
DWORD FailureCode()
{
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_ACCESS_DENIED;
}

class Handle {
public:
    explicit Handle(HANDLE h) : handle_(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool ok() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const { return handle_; }
    BOOL Close()
    {
        if (!ok()) return TRUE;
        const BOOL closed = CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

// Copies every byte of `from` to `to`; the error of the first call that failed, or 0.
DWORD CopyBytes(HANDLE from, HANDLE to)
{
    static std::array<std::uint8_t, kBlockSize> block;
    std::uint64_t total = 0;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(from, block.data(), kBlockSize, &got, nullptr)) return FailureCode();
        if (got == 0) return 0;
        DWORD written = 0;
        if (!WriteFile(to, block.data(), got, &written, nullptr)) return FailureCode();
        if (written != got) return ERROR_DISK_FULL;
        total += written;
        if (const LongTermCopyObserver observer = gObserver.load()) observer(total);
    }
}

// Writes the log into the temporary file on the drive and flushes it; 0 or the error.
DWORD WriteTemporary()
{
    Handle source(CreateFile(kLongTermLogFile, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!source.ok()) return FailureCode();
    Handle target(CreateFile(kLongTermCopyTemporary, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!target.ok()) return FailureCode();
    DWORD error = CopyBytes(source.get(), target.get());
    if (error == 0 && !FlushFileBuffers(target.get())) error = FailureCode();
    if (!target.Close() && error == 0) error = FailureCode();
    return error;
}

LongTermCopyResult Result(LongTermCopyOutcome outcome, const std::wstring& name, DWORD error)
{
    return LongTermCopyResult{outcome, name, error};
}

}  // namespace

std::wstring LongTermCopyName(const SYSTEMTIME& now)
{
    wchar_t date[32] = {};
    wchar_t time[32] = {};
    GetDateFormat(LOCALE_SYSTEM_DEFAULT, 0, &now, L"yy'_'MM'_'dd'_'", date, 32);
    GetTimeFormat(LOCALE_SYSTEM_DEFAULT, 0, &now, L"HH'_'mm'_'ss", time, 32);
    return std::wstring(L"LongTermDataLog") + date + time + L".DAT";
}

void SetLongTermCopyObserver(LongTermCopyObserver observer)
{
    gObserver.store(observer);
}

LongTermCopyResult CopyLongTermLogToUsb(const SYSTEMTIME& now)
{
    const std::wstring name = LongTermCopyName(now);
    const std::wstring destination = kCopyFolder + name;
    if (GetFileAttributes(destination.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return Result(LongTermCopyOutcome::destinationExists, name, ERROR_FILE_EXISTS);
    }
    DWORD error = WriteTemporary();
    if (error == 0 && !MoveFile(kLongTermCopyTemporary, destination.c_str())) {
        error = FailureCode();
    }
    if (error != 0) {
        DeleteFile(kLongTermCopyTemporary);  // ignored: the drive may be gone with it
        return Result(LongTermCopyOutcome::failed, name, error);
    }
    return Result(LongTermCopyOutcome::done, name, 0);
}
