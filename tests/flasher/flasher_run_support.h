// Test harness: the whole NodeFlasher program running headless in this process on the virtual
// clock, with the simulated Display I/O board on a pseudo-terminal behind "COM1:" (or a port
// that cannot be opened). A test drives it through the automation interface and reads what is
// shown through the inspection tree.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "flasher/app/flasher_program.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/test_support.h"
#include "sim/display_io_sim.h"
#include "tests/support/window_lookup.h"

namespace flasher_test {

void EnsureVirtualClock();
std::filesystem::path FreshPanelRoot();

// Real-time wait (bounded) for something another thread or process does.
using panel_test::WaitFor;

// What a run starts with: files in the panel root, the status key, a port that fails.
struct RunSetup {
    std::string statusKey;
    bool badPort = false;
    std::function<void(const std::filesystem::path& root)> files;
};

class FlasherRun {
public:
    explicit FlasherRun(const RunSetup& setup = {});
    ~FlasherRun();
    FlasherRun(const FlasherRun&) = delete;
    FlasherRun& operator=(const FlasherRun&) = delete;

    // Moves the panel clock on (the 50 ms tick, the splash, pauses).
    void Advance(int milliseconds);
    // Past the splash.
    void PastSplash() { Advance(2600); }
    bool ended() const { return ended_.load(); }
    int exitCode() const { return exitCode_; }
    const std::filesystem::path& root() const { return root_; }
    // The simulated Display I/O board (null with a port that fails).
    sim::DisplayIoSimulator* simulator() { return sim_.get(); }

private:
    std::filesystem::path root_;
    std::unique_ptr<sim::DisplayIoSimulator> sim_;
    std::unique_ptr<platform::UiThread> ui_;
    std::atomic<bool> ended_{false};
    int exitCode_ = -1;
};

using panel_test::FindControl;
using panel_test::FindTitled;
using panel_test::FindWindowOfClass;
using panel_test::TopMessageBox;

// Whether a text of this window's last paint is exactly `text`.
bool Drew(const platform::WindowInfo& window, const std::wstring& text);

// Writes an executable script at `path` that records its PANEL_ROOT and its arguments in
// `marker`.
void WriteMarkerProgram(const std::filesystem::path& path, const std::filesystem::path& marker);
std::string ReadFile(const std::filesystem::path& path);

}  // namespace flasher_test
