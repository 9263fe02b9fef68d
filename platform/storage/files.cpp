// The file calls on panel paths: opening, reading, writing, seeking, sizes and times. They
// report their failures through GetLastError, with the panel's error codes; "COM1:" opens
// the serial port.
#include "platform/storage/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>

#include "platform/runtime/detail_handles.h"
#include "platform/storage/detail_files.h"

namespace platform::detail {
// Opens the serial port behind a port name ("COM1:"); platform/devices/serial.cpp.
HANDLE OpenSerialPort(std::wstring_view portName);
bool IsSerialPortName(std::wstring_view name);
}  // namespace platform::detail

using namespace platform::storage;

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kUnixEpochIn1601Ticks = 116'444'736'000'000'000ull;

// Writes that the full-disk test seam makes fail.
std::atomic<int> gFailWrites{0};
std::atomic<DWORD> gFailPartialBytes{0};

class FileObject : public platform::detail::HandleObject {
public:
    explicit FileObject(int fd) : fd_(fd) {}
    int fd() const { return fd_.get(); }

    bool Read(std::span<std::byte> buffer, DWORD& got) override
    {
        got = 0;
        while (got < buffer.size()) {
            const ssize_t n = ::read(fd_.get(), buffer.data() + got, buffer.size() - got);
            if (n < 0) {
                if (errno == EINTR) continue;
                SetLastError(ErrorFromErrno(errno));
                return false;
            }
            if (n == 0) break;  // end of file
            got += static_cast<DWORD>(n);
        }
        return true;
    }

    bool Write(std::span<const std::byte> data, DWORD& written) override
    {
        DWORD partialBytes = 0;
        if (TakeInjectedWriteFailure(partialBytes)) {
            const auto partial = std::min<std::size_t>(partialBytes, data.size());
            if (!WriteAll(fd_.get(), data.first(partial), written)) return false;
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        return WriteAll(fd_.get(), data, written);
    }

    bool Flush() override
    {
        if (::fsync(fd_.get()) == 0) return true;
        SetLastError(ErrorFromErrno(errno));
        return false;
    }

private:
    UniqueFd fd_;
};

}  // namespace

namespace platform::storage {

DWORD ErrorFromErrno(int e)
{
    switch (e) {
        case ENOENT: return ERROR_FILE_NOT_FOUND;
        case ENOTDIR: return ERROR_PATH_NOT_FOUND;
        case EEXIST: return ERROR_FILE_EXISTS;
        case ENOSPC:
        case EDQUOT: return ERROR_DISK_FULL;
        case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
        case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
        case EINVAL: return ERROR_INVALID_PARAMETER;
        default: return ERROR_ACCESS_DENIED;
    }
}

// A missing file whose folder is missing too is a missing path, as the panel reports it.
DWORD MissingError(const fs::path& p)
{
    std::error_code ec;
    return fs::is_directory(p.parent_path(), ec) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

bool IsReadOnly(const struct stat& st)
{
    return (st.st_mode & S_IWUSR) == 0;
}

FILETIME ToFileTime(const struct timespec& ts)
{
    const auto ticks = kUnixEpochIn1601Ticks +
                       static_cast<std::uint64_t>(ts.tv_sec) * 10'000'000ull +
                       static_cast<std::uint64_t>(ts.tv_nsec) / 100;
    return FILETIME{static_cast<DWORD>(ticks & 0xFFFF'FFFFu), static_cast<DWORD>(ticks >> 32)};
}

// Creation time: the birth time where the file system keeps one, else the last change.
FILETIME CreationTime(int dirFd, const char* path, int flags, const struct stat& st)
{
    struct statx sx {};
    if (::statx(dirFd, path, flags, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME) != 0) {
        struct timespec ts {};
        ts.tv_sec = sx.stx_btime.tv_sec;
        ts.tv_nsec = sx.stx_btime.tv_nsec;
        return ToFileTime(ts);
    }
    return ToFileTime(st.st_mtim);
}

DWORD AttributesOf(const struct stat& st)
{
    if (S_ISDIR(st.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
    return IsReadOnly(st) ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL;
}

bool TakeInjectedWriteFailure(DWORD& partialBytes)
{
    int left = gFailWrites.load();
    while (left > 0) {
        if (gFailWrites.compare_exchange_weak(left, left - 1)) {
            partialBytes = gFailPartialBytes.load();
            return true;
        }
    }
    return false;
}

bool WriteAll(int fd, std::span<const std::byte> data, DWORD& written)
{
    written = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(fd, data.data() + written, data.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            SetLastError(ErrorFromErrno(errno));
            return false;
        }
        if (n == 0) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        written += static_cast<DWORD>(n);
    }
    return true;
}

}  // namespace platform::storage

HANDLE CreateFile(const wchar_t* path, DWORD access, DWORD, void*, DWORD disposition,
                  DWORD attributes, HANDLE)
{
    if (path == nullptr || path[0] == L'\0')
        return Fail(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
    if (platform::detail::IsSerialPortName(path)) return platform::detail::OpenSerialPort(path);

    const fs::path host = platform::MapPanelPath(path);
    struct stat st {};
    const bool existed = ::stat(host.c_str(), &st) == 0;
    if (existed && S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
    const bool wantsWrite = (access & GENERIC_WRITE) != 0;
    // The owner may write anything on this host; a read-only file must still refuse writers.
    if (existed && wantsWrite && IsReadOnly(st))
        return Fail(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);

    int flags = O_CLOEXEC;
    flags |= wantsWrite ? ((access & GENERIC_READ) != 0 ? O_RDWR : O_WRONLY) : O_RDONLY;
    switch (disposition) {
        case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
        case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
        case OPEN_EXISTING: break;
        case OPEN_ALWAYS: flags |= O_CREAT; break;
        case TRUNCATE_EXISTING:
            if (!wantsWrite) return Fail(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
            flags |= O_TRUNC;
            break;
        default: return Fail(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
    }
    const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444 : 0666;
    const int fd = ::open(host.c_str(), flags, mode);
    if (fd < 0) {
        const int e = errno;
        if (e == ENOENT) return Fail(MissingError(host), INVALID_HANDLE_VALUE);
        return Fail(ErrorFromErrno(e), INVALID_HANDLE_VALUE);
    }
    HANDLE handle = platform::detail::AddHandle(std::make_shared<FileObject>(fd));
    const bool reportsExisting = disposition == OPEN_ALWAYS || disposition == CREATE_ALWAYS;
    SetLastError(reportsExisting && existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read, void*)
{
    if (read != nullptr) *read = 0;
    const auto object = platform::detail::FindHandle(file);
    if (!object) return FALSE;
    if (buffer == nullptr && toRead > 0) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    DWORD got = 0;
    const bool ok = object->Read(std::span(static_cast<std::byte*>(buffer), toRead), got);
    if (read != nullptr) *read = got;
    return ok ? TRUE : FALSE;
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written, void*)
{
    if (written != nullptr) *written = 0;
    const auto object = platform::detail::FindHandle(file);
    if (!object) return FALSE;
    if (buffer == nullptr && toWrite > 0) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    DWORD done = 0;
    const bool ok = object->Write(std::span(static_cast<const std::byte*>(buffer), toWrite), done);
    if (written != nullptr) *written = done;
    return ok ? TRUE : FALSE;
}

DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method)
{
    const auto object = platform::detail::FindHandleAs<FileObject>(file);
    if (!object) return INVALID_SET_FILE_POINTER;
    std::int64_t offset = distance;
    if (distanceHigh != nullptr) {
        offset = static_cast<std::int64_t>(
            (static_cast<std::uint64_t>(static_cast<std::uint32_t>(*distanceHigh)) << 32) |
            static_cast<std::uint32_t>(distance));
    }
    int whence = SEEK_SET;
    switch (method) {
        case FILE_BEGIN: whence = SEEK_SET; break;
        case FILE_CURRENT: whence = SEEK_CUR; break;
        case FILE_END: whence = SEEK_END; break;
        default: return Fail(ERROR_INVALID_PARAMETER, INVALID_SET_FILE_POINTER);
    }
    const off_t at = ::lseek(object->fd(), static_cast<off_t>(offset), whence);
    if (at < 0) return Fail(ErrorFromErrno(errno), INVALID_SET_FILE_POINTER);
    const auto pos = static_cast<std::uint64_t>(at);
    if (distanceHigh != nullptr) {
        *distanceHigh = static_cast<LONG>(pos >> 32);
    } else if ((pos >> 32) != 0) {
        return Fail(ERROR_INVALID_PARAMETER, INVALID_SET_FILE_POINTER);
    }
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(pos & 0xFFFF'FFFFu);
}

DWORD GetFileSize(HANDLE file, DWORD* sizeHigh)
{
    const auto object = platform::detail::FindHandleAs<FileObject>(file);
    if (!object) return INVALID_FILE_SIZE;
    struct stat st {};
    if (::fstat(object->fd(), &st) != 0) return Fail(ErrorFromErrno(errno), INVALID_FILE_SIZE);
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (sizeHigh != nullptr) *sizeHigh = static_cast<DWORD>(size >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(size & 0xFFFF'FFFFu);
}

BOOL SetEndOfFile(HANDLE file)
{
    const auto object = platform::detail::FindHandleAs<FileObject>(file);
    if (!object) return FALSE;
    const off_t at = ::lseek(object->fd(), 0, SEEK_CUR);
    if (at < 0 || ::ftruncate(object->fd(), at) != 0) return Fail(ErrorFromErrno(errno), FALSE);
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE file)
{
    const auto object = platform::detail::FindHandle(file);
    if (!object) return FALSE;
    return object->Flush() ? TRUE : FALSE;
}

BOOL GetFileTime(HANDLE file, FILETIME* created, FILETIME* accessed, FILETIME* written)
{
    const auto object = platform::detail::FindHandleAs<FileObject>(file);
    if (!object) return FALSE;
    struct stat st {};
    if (::fstat(object->fd(), &st) != 0) return Fail(ErrorFromErrno(errno), FALSE);
    if (created != nullptr) *created = CreationTime(object->fd(), "", AT_EMPTY_PATH, st);
    if (accessed != nullptr) *accessed = ToFileTime(st.st_atim);
    if (written != nullptr) *written = ToFileTime(st.st_mtim);
    return TRUE;
}

void platform::FailFileWrites(int count, DWORD partialBytes)
{
    gFailPartialBytes.store(partialBytes);
    gFailWrites.store(count > 0 ? count : 0);
}
