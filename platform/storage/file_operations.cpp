// Whole files and folders: copying, deleting and moving files, making and removing folders,
// attributes and free space. A copy goes through a temporary file, so that a failed copy
// leaves an earlier target as it was.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <vector>

#include "platform/storage/detail_files.h"

using namespace platform::storage;

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kCopyChunk = 64 * 1024;

// The free space the test seam reports; kNoFake: what the disk says.
constexpr std::uint64_t kNoFake = ~std::uint64_t{0};
std::atomic<std::uint64_t> gFakeFreeBytes{kNoFake};

// Marks a symbolic link, so that a caller can refuse to work through one.
DWORD WithLinkBit(const fs::path& host, DWORD attributes)
{
    struct stat lst {};
    if (::lstat(host.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
        return attributes | FILE_ATTRIBUTE_REPARSE_POINT;
    }
    return attributes;
}

// Copies one regular file through a temporary beside the target, so that a failed copy (a
// full USB stick, a pulled drive) leaves any earlier target as it was.
bool CopyRegularFile(const fs::path& from, const fs::path& to)
{
    const UniqueFd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) return Fail(ErrorFromErrno(errno), false);
    struct stat st {};
    if (::fstat(in.get(), &st) != 0) return Fail(ErrorFromErrno(errno), false);
    fs::path temp = to;
    temp += ".copy-part";
    bool ok = false;
    {
        const UniqueFd out(
            ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, st.st_mode & 0777));
        if (out.get() < 0) return Fail(ErrorFromErrno(errno), false);
        std::vector<std::byte> buffer(kCopyChunk);
        ok = true;
        for (;;) {
            const ssize_t n = ::read(in.get(), buffer.data(), buffer.size());
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                SetLastError(ErrorFromErrno(errno));
                ok = false;
                break;
            }
            if (n == 0) break;
            DWORD written = 0;
            auto chunk = std::span(buffer).first(static_cast<std::size_t>(n));
            DWORD partialBytes = 0;
            if (TakeInjectedWriteFailure(partialBytes)) {
                // The test seam's full disk: part of the chunk lands, then the write fails.
                WriteAll(out.get(), chunk.first(std::min<std::size_t>(partialBytes, chunk.size())),
                         written);
                SetLastError(ERROR_DISK_FULL);
                ok = false;
                break;
            }
            if (!WriteAll(out.get(), chunk, written)) {
                ok = false;
                break;
            }
        }
        if (ok) {
            const std::array<struct timespec, 2> times = {st.st_atim, st.st_mtim};
            ::futimens(out.get(), times.data());  // the copy keeps the source's times if it can
            if (::fsync(out.get()) != 0) ok = Fail(ErrorFromErrno(errno), false);
        }
    }
    if (ok && ::rename(temp.c_str(), to.c_str()) != 0) ok = Fail(ErrorFromErrno(errno), false);
    if (!ok) ::unlink(temp.c_str());  // the partial copy goes; its error is not the caller's
    return ok;
}

}  // namespace

BOOL CopyFile(const wchar_t* from, const wchar_t* to, BOOL failIfExists)
{
    if (from == nullptr || to == nullptr) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    const fs::path source = platform::MapPanelPath(from);
    const fs::path target = platform::MapPanelPath(to);
    struct stat st {};
    if (::stat(source.c_str(), &st) != 0) return Fail(MissingError(source), FALSE);
    if (S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED, FALSE);
    struct stat tt {};
    if (::stat(target.c_str(), &tt) == 0) {
        if (failIfExists) return Fail(ERROR_FILE_EXISTS, FALSE);
        if (S_ISDIR(tt.st_mode) || IsReadOnly(tt)) return Fail(ERROR_ACCESS_DENIED, FALSE);
        if (st.st_dev == tt.st_dev && st.st_ino == tt.st_ino) return TRUE;  // onto itself
    }
    return CopyRegularFile(source, target) ? TRUE : FALSE;
}

BOOL DeleteFile(const wchar_t* path)
{
    if (path == nullptr) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    const fs::path host = platform::MapPanelPath(path);
    struct stat st {};
    if (::lstat(host.c_str(), &st) != 0) return Fail(MissingError(host), FALSE);
    if (S_ISDIR(st.st_mode) || IsReadOnly(st)) return Fail(ERROR_ACCESS_DENIED, FALSE);
    if (::unlink(host.c_str()) != 0) return Fail(ErrorFromErrno(errno), FALSE);
    return TRUE;
}

BOOL MoveFile(const wchar_t* from, const wchar_t* to)
{
    if (from == nullptr || to == nullptr) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    const fs::path source = platform::MapPanelPath(from);
    const fs::path target = platform::MapPanelPath(to);
    struct stat st {};
    if (::lstat(source.c_str(), &st) != 0) return Fail(MissingError(source), FALSE);
    struct stat tt {};
    if (::lstat(target.c_str(), &tt) == 0) return Fail(ERROR_ALREADY_EXISTS, FALSE);
    if (::rename(source.c_str(), target.c_str()) == 0) return TRUE;
    if (errno != EXDEV) return Fail(ErrorFromErrno(errno), FALSE);
    // Onto another drive (the USB folder may be one): copy, then remove the original.
    std::error_code ec;
    if (S_ISDIR(st.st_mode)) {
        fs::copy(source, target, fs::copy_options::recursive, ec);
        if (ec) return Fail(ErrorFromErrno(ec.value()), FALSE);
        fs::remove_all(source, ec);
        return TRUE;
    }
    if (!CopyRegularFile(source, target)) return FALSE;
    ::unlink(source.c_str());  // the copy is complete; a leftover original is harmless
    return TRUE;
}

BOOL CreateDirectory(const wchar_t* path, void*)
{
    if (path == nullptr) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    const fs::path host = platform::MapPanelPath(path);
    if (::mkdir(host.c_str(), 0777) == 0) return TRUE;
    if (errno == EEXIST) return Fail(ERROR_ALREADY_EXISTS, FALSE);
    if (errno == ENOENT) return Fail(ERROR_PATH_NOT_FOUND, FALSE);
    return Fail(ErrorFromErrno(errno), FALSE);
}

BOOL RemoveDirectory(const wchar_t* path)
{
    if (path == nullptr) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    const fs::path host = platform::MapPanelPath(path);
    if (::rmdir(host.c_str()) == 0) return TRUE;
    if (errno == ENOENT) return Fail(MissingError(host), FALSE);
    if (errno == ENOTEMPTY || errno == EEXIST) return Fail(ERROR_DIR_NOT_EMPTY, FALSE);
    if (errno == ENOTDIR) return Fail(ERROR_PATH_NOT_FOUND, FALSE);
    return Fail(ErrorFromErrno(errno), FALSE);
}

DWORD GetFileAttributes(const wchar_t* path)
{
    if (path == nullptr) return Fail(ERROR_INVALID_PARAMETER, INVALID_FILE_ATTRIBUTES);
    const fs::path host = platform::MapPanelPath(path);
    struct stat st {};
    if (::stat(host.c_str(), &st) != 0) return Fail(MissingError(host), INVALID_FILE_ATTRIBUTES);
    return WithLinkBit(host, AttributesOf(st));
}

BOOL SetFileAttributes(const wchar_t* path, DWORD attributes)
{
    if (path == nullptr) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    const fs::path host = platform::MapPanelPath(path);
    struct stat st {};
    if (::stat(host.c_str(), &st) != 0) return Fail(MissingError(host), FALSE);
    if (S_ISDIR(st.st_mode)) return TRUE;  // folders keep their permissions
    mode_t mode = st.st_mode & 07777;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    } else {
        mode |= S_IWUSR;
    }
    if (::chmod(host.c_str(), mode) != 0) return Fail(ErrorFromErrno(errno), FALSE);
    return TRUE;
}

BOOL GetDiskFreeSpaceEx(const wchar_t* path, ULARGE_INTEGER* freeToCaller, ULARGE_INTEGER* total,
                        ULARGE_INTEGER* totalFree)
{
    const fs::path host = platform::MapPanelPath(path != nullptr ? path : L"\\");
    struct statvfs vfs {};
    if (::statvfs(host.c_str(), &vfs) != 0) return Fail(ERROR_PATH_NOT_FOUND, FALSE);
    const std::uint64_t unit = vfs.f_frsize != 0 ? vfs.f_frsize : vfs.f_bsize;
    const std::uint64_t fake = gFakeFreeBytes.load();
    if (freeToCaller != nullptr)
        freeToCaller->QuadPart = fake != kNoFake ? fake : unit * vfs.f_bavail;
    if (total != nullptr)
        total->QuadPart = std::max(unit * vfs.f_blocks, fake != kNoFake ? fake : 0);
    if (totalFree != nullptr) totalFree->QuadPart = fake != kNoFake ? fake : unit * vfs.f_bfree;
    return TRUE;
}

void platform::FakeDiskFreeSpace(std::optional<std::uint64_t> bytes)
{
    gFakeFreeBytes.store(bytes.has_value() && *bytes != kNoFake ? *bytes : kNoFake);
}
