// The single-instance rule between processes. The lock is an exclusive flock on a file in the
// panel root; the raise request is a connection to an abstract local socket whose name is made
// from the lock file's device and inode, so it is unique per panel root and never leaves a
// file behind.
#include "platform/runtime/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace platform {

namespace {

constexpr int kRaiseBacklog = 4;
constexpr int kClaimAttempts = 5;

// The abstract socket address of the panel root behind the lock file.
bool RaiseAddress(int lockFd, sockaddr_un& addr, socklen_t& length)
{
    struct stat st {};
    if (::fstat(lockFd, &st) != 0) return false;
    addr = sockaddr_un{};
    addr.sun_family = AF_UNIX;
    char name[80];
    const int n = std::snprintf(name, sizeof(name), "panel-instance-%llx-%llx",
                                static_cast<unsigned long long>(st.st_dev),
                                static_cast<unsigned long long>(st.st_ino));
    if (n <= 0 || static_cast<std::size_t>(n) + 1 >= sizeof(addr.sun_path)) return false;
    std::memcpy(addr.sun_path + 1, name, static_cast<std::size_t>(n));  // sun_path[0] = 0
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
    return true;
}

// Whether the running program took the request (it listens once its window is up).
bool AskRunningInstanceToRaise(int lockFd)
{
    sockaddr_un addr{};
    socklen_t length = 0;
    if (!RaiseAddress(lockFd, addr, length)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool taken = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), length) == 0;
    ::close(fd);
    return taken;
}

// Opens the lock file for locking. A root the user may only read still holds a lock file
// made by the program that runs there; it is opened for reading, which is enough to lock it.
int OpenLockFile(const std::filesystem::path& path, std::string& error)
{
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0 && (errno == EACCES || errno == EROFS)) {
        const int writeError = errno;
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) errno = writeError;
    }
    if (fd < 0) {
        error = "cannot make the lock file " + path.string() + ": " + std::strerror(errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = "the lock file " + path.string() + " is not a regular file";
        ::close(fd);
        return -1;
    }
    return fd;
}

// Whether the path still names the file open on fd: a program that ended removes its lock
// file, and a lock taken on the removed file would not keep out the next start.
bool StillNamed(int fd, const std::filesystem::path& path)
{
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::stat(path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

}  // namespace

InstanceLock::~InstanceLock()
{
    Release();
}

InstanceClaim InstanceLock::Claim(const std::filesystem::path& lockFile)
{
    Release();
    error_.clear();
    raised_ = false;
    for (int attempt = 0; attempt < kClaimAttempts; ++attempt) {
        const int fd = OpenLockFile(lockFile, error_);
        if (fd < 0) return InstanceClaim::Failed;
        int rc = 0;
        do {
            rc = ::flock(fd, LOCK_EX | LOCK_NB);
        } while (rc != 0 && errno == EINTR);
        if (rc != 0 && errno == EWOULDBLOCK) {
            raised_ = AskRunningInstanceToRaise(fd);
            ::close(fd);
            return InstanceClaim::AlreadyRunning;
        }
        if (rc != 0) {
            error_ = "cannot lock " + lockFile.string() + ": " + std::strerror(errno);
            ::close(fd);
            return InstanceClaim::Failed;
        }
        if (!StillNamed(fd, lockFile)) {
            ::close(fd);  // removed by the run that just ended: take the new one
            continue;
        }
        lockFd_ = fd;
        lockPath_ = lockFile;
        return InstanceClaim::First;
    }
    error_ = "cannot lock " + lockFile.string() + ": it keeps being replaced";
    return InstanceClaim::Failed;
}

void InstanceLock::ListenForRaise(std::function<void()> onRaise)
{
    if (lockFd_ < 0 || listenFd_ >= 0) return;
    sockaddr_un addr{};
    socklen_t length = 0;
    if (!RaiseAddress(lockFd_, addr, length)) return;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), length) != 0 ||
        ::listen(fd, kRaiseBacklog) != 0) {
        ::close(fd);
        return;  // no raise on a second start; the rule itself still holds
    }
    listenFd_ = fd;
    onRaise_ = std::move(onRaise);
    // Each accepted connection is one raise request. Ends when the socket is shut down.
    listener_ = std::thread([this] {
        for (;;) {
            const int client = ::accept(listenFd_, nullptr, nullptr);
            if (client < 0) {
                if (errno == EINTR || errno == ECONNABORTED) continue;
                return;  // shut down (or broken): stop listening
            }
            ::close(client);
            if (onRaise_) onRaise_();
        }
    });
}

void InstanceLock::Release()
{
    if (listenFd_ >= 0) {
        ::shutdown(listenFd_, SHUT_RDWR);  // wakes the listener out of accept
        if (listener_.joinable()) listener_.join();
        ::close(listenFd_);
        listenFd_ = -1;
        onRaise_ = nullptr;
    }
    if (lockFd_ >= 0) {
        // Removed while still locked, so that no start can take a lock on it in between; a
        // root the user may only read keeps it (the error is ignored on purpose).
        if (!lockPath_.empty() && StillNamed(lockFd_, lockPath_)) ::unlink(lockPath_.c_str());
        lockPath_.clear();
        ::flock(lockFd_, LOCK_UN);
        ::close(lockFd_);
        lockFd_ = -1;
    }
}

}  // namespace platform
