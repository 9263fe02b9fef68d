// Byte streams on the host side of the serial line: the master end of a pseudo-terminal, where
// the simulated controller board sits, and (platform/devices/line_server.h) a local socket that
// takes text command lines. The board simulator uses these; the panel programs talk through
// CreateFile("COM1:") instead.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/devices/line_server.h"

namespace platform {

// Waits up to timeoutMs real milliseconds for input on a descriptor (for example
// PseudoTerminal::masterFd()) and reads what is there. Returns the byte count (above 0),
// 0 when nothing came in time, -1 when the descriptor is closed or failed.
int ReadStream(int fd, std::span<std::uint8_t> buffer, int timeoutMs);

// Writes all bytes, waiting a bounded real time while the queue is full (the descriptor is
// switched to non-blocking mode for that). False on failure or when the peer stays full.
bool WriteStream(int fd, std::span<const std::uint8_t> bytes);

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
