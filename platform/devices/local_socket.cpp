// Local stream sockets at a path: binding only over nothing or over a stale socket, removing
// only our own socket file, and a small line client. Every system call is checked; a failure
// becomes a message for the program to print, never a replaced file.
#include "platform/devices/local_socket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace platform {

namespace {

constexpr int kBacklog = 8;
constexpr mode_t kOwnerOnly = 0600;  // whoever can open the socket can drive the program

std::string SystemError(int error)
{
    return std::strerror(error);
}

bool MakeAddress(const std::string& path, sockaddr_un& addr, std::string& error)
{
    addr = sockaddr_un{};
    addr.sun_family = AF_UNIX;
    if (path.empty()) {
        error = "no socket path given";
        return false;
    }
    if (path.size() >= sizeof(addr.sun_path)) {
        error = "the socket path is " + std::to_string(path.size()) + " bytes long; at most " +
                std::to_string(sizeof(addr.sun_path) - 1) + " fit";
        return false;
    }
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Whether a program still listens on the socket at this path: a refused connection means
// the socket was left behind by one that ended.
enum class SocketOwner { Nobody, Running, Unknown };

SocketOwner WhoListens(const sockaddr_un& addr, int& error)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        error = errno;
        return SocketOwner::Unknown;
    }
    const int rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr));
    error = rc == 0 ? 0 : errno;
    ::close(fd);
    if (rc == 0 || error == EAGAIN || error == EINPROGRESS) return SocketOwner::Running;
    if (error == ECONNREFUSED) return SocketOwner::Nobody;
    return SocketOwner::Unknown;
}

// Makes room at the path for a new socket, or says why not.
bool ClearPath(const std::string& path, const sockaddr_un& addr, std::string& error)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) return true;
        error = SystemError(errno);
        return false;
    }
    if (S_ISLNK(st.st_mode)) {
        error = "it is a symbolic link, not a socket; it is left alone";
        return false;
    }
    if (!S_ISSOCK(st.st_mode)) {
        error = S_ISDIR(st.st_mode) ? "it is a folder, not a socket; it is left alone"
                                    : "a file that is not a socket is there; it is left alone";
        return false;
    }
    int why = 0;
    switch (WhoListens(addr, why)) {
        case SocketOwner::Running: error = "another running program listens on it"; return false;
        case SocketOwner::Unknown:
            error = "cannot tell whether a program listens on it (" + SystemError(why) + ")";
            return false;
        case SocketOwner::Nobody: break;
    }
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        error = "cannot remove the stale socket (" + SystemError(errno) + ")";
        return false;
    }
    return true;
}

}  // namespace

LocalListener::LocalListener(const std::string& path) : path_(path)
{
    sockaddr_un addr{};
    if (!MakeAddress(path, addr, error_) || !ClearPath(path, addr, error_)) return;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        error_ = SystemError(errno);
        return;
    }
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0) {
        // Someone made a file there since ClearPath looked: it is theirs.
        error_ = errno == EADDRINUSE ? "another program took the path" : SystemError(errno);
        ::close(fd);
        return;
    }
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || ::chmod(path.c_str(), kOwnerOnly) != 0 ||
        ::listen(fd, kBacklog) != 0) {
        error_ = SystemError(errno);
        ::close(fd);
        if (st.st_ino != 0) ::unlink(path.c_str());  // the file we just made
        return;
    }
    fd_ = fd;
    device_ = st.st_dev;
    inode_ = st.st_ino;
}

LocalListener::~LocalListener()
{
    Close();
}

LocalListener::LocalListener(LocalListener&& other) noexcept
    : path_(std::move(other.path_)),
      error_(std::move(other.error_)),
      fd_(std::exchange(other.fd_, -1)),
      device_(other.device_),
      inode_(other.inode_)
{
}

LocalListener& LocalListener::operator=(LocalListener&& other) noexcept
{
    if (this != &other) {
        Close();
        path_ = std::move(other.path_);
        error_ = std::move(other.error_);
        fd_ = std::exchange(other.fd_, -1);
        device_ = other.device_;
        inode_ = other.inode_;
    }
    return *this;
}

int LocalListener::Accept() const
{
    if (fd_ < 0) return -1;
    int fd = -1;
    do {
        fd = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

void LocalListener::Close()
{
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
    // Only our own socket file goes: one that replaced it since belongs to someone else.
    struct stat st {};
    if (::lstat(path_.c_str(), &st) == 0 && S_ISSOCK(st.st_mode) && st.st_dev == device_ &&
        st.st_ino == inode_) {
        ::unlink(path_.c_str());
    }
}

LocalClient::LocalClient(const std::string& path)
{
    sockaddr_un addr{};
    if (!MakeAddress(path, addr, error_)) return;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error_ = SystemError(errno);
        return;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0) {
        error_ = SystemError(errno);
        ::close(fd);
        return;
    }
    fd_ = fd;
}

LocalClient::~LocalClient()
{
    if (fd_ >= 0) ::close(fd_);
}

bool LocalClient::SendLine(const std::string& line)
{
    if (fd_ < 0) return false;
    const std::string text = line + "\n";
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::send(fd_, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool LocalClient::ReadLine(std::string& line, int timeoutMs)
{
    if (fd_ < 0) return false;
    for (;;) {
        const std::size_t nl = buffered_.find('\n');
        if (nl != std::string::npos) {
            line = buffered_.substr(0, nl);
            buffered_.erase(0, nl + 1);
            return true;
        }
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, timeoutMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        char chunk[4096];
        const ssize_t n = ::read(fd_, chunk, sizeof(chunk));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        buffered_.append(chunk, static_cast<std::size_t>(n));
    }
}

}  // namespace platform
