// The single-instance rule between processes. The lock is an exclusive flock on
// "<root>/orbitdryer.lock"; the raise request is a connection to an abstract local socket whose
// name is made from the lock file's device and inode, so it is unique per panel root and
// never leaves a file behind.
#include "dryer/app/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/runtime/threads.h"
#include "platform/windowing/window.h"

namespace {

struct RaiseTarget {
    int listenFd = -1;
    HWND main = nullptr;
    UINT message = 0;
};
RaiseTarget gTarget;

// The abstract socket address of the panel root behind the lock file.
bool RaiseAddress(int lockFd, sockaddr_un* addr, socklen_t* length)
{
    struct stat st {};
    if (fstat(lockFd, &st) != 0) return false;
    std::memset(addr, 0, sizeof(*addr));
    addr->sun_family = AF_UNIX;
    char name[80];
    const int n = std::snprintf(name, sizeof(name), "orbitdryer-%llx-%llx",
                                static_cast<unsigned long long>(st.st_dev),
                                static_cast<unsigned long long>(st.st_ino));
    if (n <= 0 || static_cast<std::size_t>(n) + 1 >= sizeof(addr->sun_path)) return false;
    std::memcpy(addr->sun_path + 1, name, static_cast<std::size_t>(n));  // sun_path[0] = 0
    *length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
    return true;
}

// Each accepted connection is one raise request. Ends when the socket is shut down.
DWORD RaiseListener(void* param)
{
    const auto* target = static_cast<const RaiseTarget*>(param);
    for (;;) {
        const int client = accept(target->listenFd, nullptr, nullptr);
        if (client < 0) return 0;  // shut down (or broken): stop listening
        close(client);
        PostMessage(target->main, target->message, 0, 0);
    }
}

void AskRunningInstanceToRaise(int lockFd)
{
    sockaddr_un addr{};
    socklen_t length = 0;
    if (!RaiseAddress(lockFd, &addr, &length)) return;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    // A refused connection means the first run has not started listening yet; it is already
    // in front then, so the failure is ignored on purpose.
    (void)connect(fd, reinterpret_cast<const sockaddr*>(&addr), length);
    close(fd);
}

}  // namespace

SingleInstance::~SingleInstance()
{
    Release();
}

InstanceClaim SingleInstance::Claim(const std::filesystem::path& root)
{
    const std::string path = (root / "orbitdryer.lock").string();
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return InstanceClaim::Failed;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        AskRunningInstanceToRaise(fd);
        close(fd);
        return InstanceClaim::AlreadyRunning;
    }
    lockFd_ = fd;
    return InstanceClaim::First;
}

void SingleInstance::ListenForRaise(HWND main, UINT message)
{
    if (lockFd_ < 0 || listenFd_ >= 0) return;
    sockaddr_un addr{};
    socklen_t length = 0;
    if (!RaiseAddress(lockFd_, &addr, &length)) return;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&addr), length) != 0 || listen(fd, 4) != 0) {
        close(fd);
        return;  // no raise on a second start, the rule itself still holds
    }
    listenFd_ = fd;
    gTarget = RaiseTarget{fd, main, message};
    listener_ = CreateThread(nullptr, 0, RaiseListener, &gTarget, 0, nullptr);
}

void SingleInstance::Release()
{
    if (listenFd_ >= 0) {
        shutdown(listenFd_, SHUT_RDWR);  // wakes the listener out of accept
        if (listener_ != nullptr) {
            WaitForSingleObject(listener_, INFINITE);
            CloseHandle(listener_);
            listener_ = nullptr;
        }
        close(listenFd_);
        listenFd_ = -1;
    }
    if (lockFd_ >= 0) {
        flock(lockFd_, LOCK_UN);
        close(lockFd_);
        lockFd_ = -1;
    }
}
