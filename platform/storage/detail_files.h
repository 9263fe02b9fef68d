// Internal seams of the panel files: error reporting through GetLastError, file times and
// attributes from the host's stat, and an owned descriptor. Shared by the file calls, finding
// and the whole-file operations. Not for application code.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <span>

#include "platform/runtime/threads.h"
#include "platform/storage/files.h"
#include "platform/win_types.h"

namespace platform::storage {

DWORD ErrorFromErrno(int e);

// Fails a call: stores the error and returns the value the caller hands back.
template <class T>
T Fail(DWORD error, T result)
{
    SetLastError(error);
    return result;
}

// A missing file whose folder is missing too is a missing path, as the panel reports it.
DWORD MissingError(const std::filesystem::path& p);

bool IsReadOnly(const struct stat& st);
FILETIME ToFileTime(const struct timespec& ts);
// Creation time: the birth time where the file system keeps one, else the last change.
FILETIME CreationTime(int dirFd, const char* path, int flags, const struct stat& st);
DWORD AttributesOf(const struct stat& st);

class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    ~UniqueFd()
    {
        if (fd_ >= 0) ::close(fd_);  // a close error on a read-only or flushed file is ignored
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// The full-disk test seam (platform::FailFileWrites): true when this write is to fail, with
// the number of bytes that still reach the disk before it does.
bool TakeInjectedWriteFailure(DWORD& partialBytes);

// Writes all of `data`, retrying after interruptions; false with the last error set.
bool WriteAll(int fd, std::span<const std::byte> data, DWORD& written);

}  // namespace platform::storage
