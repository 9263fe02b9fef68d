// Byte streams on the host side of the serial line: the master end of a pseudo-terminal, where
// the simulated controller board sits, and a local socket that takes text command lines. The
// board simulator uses these; the panel programs talk through CreateFile("COM1:") instead.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace platform {

// Waits up to timeoutMs real milliseconds for input on a descriptor (for example
// PseudoTerminal::masterFd()) and reads what is there. Returns the byte count (above 0),
// 0 when nothing came in time, -1 when the descriptor is closed or failed.
int ReadStream(int fd, std::span<std::uint8_t> buffer, int timeoutMs);

// Writes all bytes, waiting a bounded real time while the queue is full (the descriptor is
// switched to non-blocking mode for that). False on failure or when the peer stays full.
bool WriteStream(int fd, std::span<const std::uint8_t> bytes);

// A local (Unix domain) stream socket that serves text lines: each line a client sends is
// handed to a handler, and the handler's answer goes back to that client followed by a newline.
class LineSocketServer {
public:
    using Handler = std::function<std::string(const std::string& line)>;

    explicit LineSocketServer(const std::string& path);  // a stale socket file is replaced
    ~LineSocketServer();                                 // closes clients, removes the file
    LineSocketServer(const LineSocketServer&) = delete;
    LineSocketServer& operator=(const LineSocketServer&) = delete;

    bool valid() const { return listenFd_ >= 0; }
    const std::string& path() const { return path_; }

    // Accepts clients and serves complete lines for up to timeoutMs real milliseconds
    // (returns earlier once something was served).
    void Serve(int timeoutMs, const Handler& handler);

private:
    struct Client {
        int fd = -1;
        std::string pending;  // bytes of an unfinished line
    };
    void ServeClient(Client& client, const Handler& handler);

    std::string path_;
    int listenFd_ = -1;
    std::vector<Client> clients_;
};

// A bounded wait in real time, whatever the panel clock is (virtual in tests): for host-side
// helpers such as the board simulator, whose peer runs on the virtual clock while the serial
// line itself moves in real time.
class RealTimeSignal {
public:
    // Wakes every waiter so that it tests its condition again.
    void Notify();
    // Waits until ready() is true or timeoutMs real milliseconds passed; returns ready().
    bool WaitFor(const std::function<bool()>& ready, int timeoutMs);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
};

}  // namespace platform
