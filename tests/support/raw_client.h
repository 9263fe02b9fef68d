// Test helpers for clients that misbehave on purpose: raw local socket connections that send
// without waiting and leave without reading, and a one-shot well-behaved question.
#pragma once

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <string>

#include "platform/devices/local_socket.h"

namespace test_support {

// A connected local socket, or -1.
inline int RawConnect(const std::string& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    path.copy(addr.sun_path, sizeof(addr.sun_path) - 1);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Sends what the socket takes now, without waiting for the peer to read; the byte count.
inline std::size_t SendWithoutWaiting(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

// One command from a fresh client; empty when no answer came within timeoutMs.
inline std::string Ask(const std::string& path, const std::string& command, int timeoutMs = 5000)
{
    platform::LocalClient client(path);
    std::string answer;
    if (!client.SendLine(command) || !client.ReadLine(answer, timeoutMs)) return {};
    return answer;
}

inline std::string Repeat(const std::string& line, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i) out += line;
    return out;
}

}  // namespace test_support
