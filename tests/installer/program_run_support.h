// Test harness: the whole CopyOrbitFiles program running headless in this process on the
// virtual clock, on a fresh panel root. A test drives it through the automation interface and
// reads what it shows through the inspection tree.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "installer/app/copy_orbit_files.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/test_support.h"
#include "tests/support/window_lookup.h"

namespace installer_test {

void EnsureVirtualClock();
std::filesystem::path FreshFolder(const std::string& what);

// Real-time wait (bounded) for something another thread or process does.
using panel_test::WaitFor;

struct RunSetup {
    bool hardDisk = true;  // the panel variant with "\Hard Disk" (ICOP) or without (AB)
    // Files in the panel root and on the USB folder before the program starts.
    std::function<void(const std::filesystem::path& root, const std::filesystem::path& usb)> files;
};

class CopyRun {
public:
    explicit CopyRun(const RunSetup& setup = {});
    ~CopyRun();
    CopyRun(const CopyRun&) = delete;
    CopyRun& operator=(const CopyRun&) = delete;

    // Moves the panel clock on (the search tick, the copy's pauses).
    void Advance(int milliseconds);
    // Waits (real time) until the program has ended.
    bool WaitEnded(int milliseconds = 5000);
    bool ended() const { return ended_.load(); }
    int exitCode() const { return exitCode_; }
    const std::filesystem::path& root() const { return root_; }
    const std::filesystem::path& usb() const { return usb_; }

private:
    std::filesystem::path root_;
    std::filesystem::path usb_;
    std::unique_ptr<platform::UiThread> ui_;
    std::atomic<bool> ended_{false};
    int exitCode_ = -1;
};

using panel_test::FindControl;
using panel_test::FindTitled;
using panel_test::FindWindowOfClass;
using panel_test::TopMessageBox;

// Writes an executable script at `path` that records, in `marker`, one line:
// "<PANEL_ROOT>|<number of arguments>|<arguments joined by blanks>".
void WriteMarkerProgram(const std::filesystem::path& path, const std::filesystem::path& marker);
std::string ReadFile(const std::filesystem::path& path);
// The marker's line once the program has written it (real-time wait), else empty.
std::string WaitForMarker(const std::filesystem::path& marker, int milliseconds = 5000);

// Where the screenshots of the tests go: $PANEL_SCREENSHOT_DIR when set, else the temporary
// folder.
std::filesystem::path ScreenshotFolder();

}  // namespace installer_test
