// The simulated Display I/O board on a serial line: a pseudo-terminal it opens itself (the
// panel opens the slave as "COM1:") or a given device. It serves in its own thread, answering
// each request at once; the dryer model moves on the panel clock.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/devices/host_stream.h"
#include "platform/devices/serial.h"
#include "platform/win_types.h"
#include "sim/display_io_board.h"

namespace sim {

struct SimOptions {
    std::string scenario = "continuous-1fh";  // see ScenarioList(); dryersim --help lists them
    std::string device;                       // empty: open our own pseudo-terminal
    bool realTime = true;                     // the model advances on the panel clock
    // Overrides of the scenario's dryer (empty or -1: keep the scenario's).
    int heaters = -1;                          // 1, 2, 3, 4 or 6
    int modules = -1;                          // 1, 2 or 3
    int dryingType = -1;                       // 0 continuous flow, 1 batch
    int celsius = -1;                          // 0 Fahrenheit, 1 Celsius display
    int dualHeat = -1;                         // 0 or 1
    std::vector<std::pair<int, int>> presets;  // image bytes (offset, value) set at start
    // Where the board keeps the settings a save request stores; empty: in memory for the run.
    std::string settingsFile;
};

// The dryer a set of options describes; nothing (and a reason) when an option is out of range.
std::optional<DryerConfig> ConfigFromOptions(const SimOptions& options, std::string* error);

class DisplayIoSimulator {
public:
    explicit DisplayIoSimulator(SimOptions options);
    ~DisplayIoSimulator();  // stops its thread
    DisplayIoSimulator(const DisplayIoSimulator&) = delete;
    DisplayIoSimulator& operator=(const DisplayIoSimulator&) = delete;

    // Opens the pty/device and starts serving; false (see lastError()) when the options are
    // out of range or the line cannot be opened.
    bool Start();
    void Stop();
    const std::string& devicePath() const { return devicePath_; }  // what the panel opens
    const std::string& lastError() const { return lastError_; }

    // One control-channel command, same language as dryersim's stdin/socket channel
    // (ControlHelp()).
    std::string Control(const std::string& line);
    std::array<std::uint8_t, 300> Image() const;  // a copy of the board's status image
    std::uint64_t requestsAnswered() const { return answered_.load(); }
    std::uint64_t commandRecordsApplied() const { return recordsApplied_.load(); }
    // Blocks (real time, bounded) until the simulator has answered `count` more requests
    // than now; used by link tests that drive the panel on the virtual clock. A request sent
    // before the call may be answered before it: after a send, wait for a total instead.
    bool WaitForAnswers(std::uint64_t count, int timeoutMs);
    // Blocks (real time, bounded) until `total` requests have been answered since the start.
    bool WaitForAnswered(std::uint64_t total, int timeoutMs);

private:
    static DWORD ServeThread(void* self);
    void Serve();
    int ReadLine(std::span<std::uint8_t> buffer);
    bool WriteLine(std::span<const std::uint8_t> bytes);

    SimOptions options_;
    std::string devicePath_;
    std::string lastError_;
    std::unique_ptr<platform::PseudoTerminal> pty_;
    HANDLE port_ = INVALID_HANDLE_VALUE;  // the given device, when not a pseudo-terminal
    HANDLE thread_ = nullptr;
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> answered_{0};
    std::atomic<std::uint64_t> recordsApplied_{0};
    platform::RealTimeSignal answeredSignal_;
    mutable std::mutex mutex_;  // guards board_
    DisplayIoBoard board_;
};

}  // namespace sim
