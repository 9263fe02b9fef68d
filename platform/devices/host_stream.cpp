// Host-side byte streams for the board simulator: poll-based reads of a pseudo-terminal master
// and a line-serving local socket. Every system call is checked; failures end the stream softly.
#include "platform/devices/host_stream.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace platform {

namespace {

constexpr int kWriteWaitMs = 50;             // longest wait for room in a full output queue
constexpr int kWriteWaitRounds = 40;         // so a write gives up after about 2 s
constexpr std::size_t kMaxLineBytes = 4096;  // a client line longer than this is dropped
constexpr std::size_t kMaxClients = 8;

// A client that went away must not raise SIGPIPE in the serving process.
bool SendAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

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

LineSocketServer::LineSocketServer(const std::string& path) : path_(path)
{
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(addr.sun_path)) return;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    ::unlink(path.c_str());  // a socket file left by an earlier run; a missing file is fine
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0 ||
        ::listen(fd, 4) != 0) {
        ::close(fd);
        return;
    }
    listenFd_ = fd;
}

LineSocketServer::~LineSocketServer()
{
    for (Client& c : clients_) ::close(c.fd);
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        ::unlink(path_.c_str());
    }
}

void LineSocketServer::Serve(int timeoutMs, const Handler& handler)
{
    if (listenFd_ < 0) return;
    std::vector<pollfd> fds;
    fds.push_back(pollfd{listenFd_, POLLIN, 0});
    for (const Client& c : clients_) fds.push_back(pollfd{c.fd, POLLIN, 0});
    int n = 0;
    do {
        n = ::poll(fds.data(), fds.size(), timeoutMs);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) return;

    for (std::size_t i = 1; i < fds.size(); ++i) {
        if (fds[i].revents != 0) ServeClient(clients_[i - 1], handler);
    }
    std::erase_if(clients_, [](const Client& c) { return c.fd < 0; });

    if ((fds[0].revents & POLLIN) != 0) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0 && clients_.size() < kMaxClients) {
            clients_.push_back(Client{fd, {}});
        } else if (fd >= 0) {
            ::close(fd);  // too many clients: this one is turned away
        }
    }
}

void LineSocketServer::ServeClient(Client& client, const Handler& handler)
{
    char buf[512];
    const ssize_t got = ::read(client.fd, buf, sizeof(buf));
    if (got <= 0) {
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) return;
        ::close(client.fd);
        client.fd = -1;
        return;
    }
    client.pending.append(buf, static_cast<std::size_t>(got));
    std::size_t start = 0;
    for (std::size_t nl = client.pending.find('\n'); nl != std::string::npos;
         nl = client.pending.find('\n', start)) {
        std::string line = client.pending.substr(start, nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        start = nl + 1;
        std::string answer = handler(line);
        answer.push_back('\n');
        if (!SendAll(client.fd, answer)) {
            ::close(client.fd);
            client.fd = -1;
            return;
        }
    }
    client.pending.erase(0, start);
    if (client.pending.size() > kMaxLineBytes) client.pending.clear();  // runaway line dropped
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
