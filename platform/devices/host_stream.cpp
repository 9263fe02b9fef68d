// Host-side byte streams for the board simulator: poll-based reads and bounded writes of a
// pseudo-terminal master. Every system call is checked; failures end the stream softly.
#include "platform/devices/host_stream.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace platform {

namespace {

constexpr int kWriteWaitMs = 50;      // longest wait for room in a full output queue
constexpr int kWriteWaitRounds = 40;  // so a write gives up after about 2 s

}  // namespace

int ReadStream(int fd, std::span<std::uint8_t> buffer, int timeoutMs)
{
    if (fd < 0 || buffer.empty()) return -1;
    pollfd p{fd, POLLIN, 0};
    int n = 0;
    do {
        n = ::poll(&p, 1, timeoutMs);
    } while (n < 0 && errno == EINTR);
    if (n < 0) return -1;
    if (n == 0) return 0;
    if ((p.revents & POLLIN) == 0) return -1;  // hang-up or error without data
    ssize_t got = 0;
    do {
        got = ::read(fd, buffer.data(), buffer.size());
    } while (got < 0 && errno == EINTR);
    if (got < 0) return (errno == EAGAIN || errno == EWOULDBLOCK) ? 0 : -1;
    if (got == 0) return -1;
    return static_cast<int>(got);
}

bool WriteStream(int fd, std::span<const std::uint8_t> bytes)
{
    if (fd < 0) return false;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0 && (flags & O_NONBLOCK) == 0) {
        ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);  // if refused, writes merely block
    }
    std::size_t done = 0;
    int rounds = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        if (++rounds > kWriteWaitRounds) return false;
        pollfd p{fd, POLLOUT, 0};
        ::poll(&p, 1, kWriteWaitMs);  // a failed wait only costs another round
    }
    return true;
}

void RealTimeSignal::Notify()
{
    {
        std::lock_guard lock(mutex_);
    }  // a waiter between its test and its wait sees the change
    changed_.notify_all();
}

bool RealTimeSignal::WaitFor(const std::function<bool()>& ready, int timeoutMs)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs), ready);
}

}  // namespace platform
