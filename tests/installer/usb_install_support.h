// Test harness of the USB installer: a panel root with or without "\Hard Disk" and a folder
// standing in for the flash drive, a small main window that gives the installer its install
// command (8002) and 1-second tick (8004), run headless on the virtual clock. A test presses
// buttons, answers message boxes and reads lists through the automation interface, and drives
// the copy thread's pauses by moving the clock.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/runtime.h"
#include "platform/runtime/test_support.h"
#include "tests/support/window_lookup.h"

namespace usb_test {

namespace fs = std::filesystem;

inline constexpr int kInstallCommand = 8002;
inline constexpr int kSearchTimer = 8004;

// Real-time wait (bounded) for something another thread does.
using panel_test::WaitFor;

std::string ReadFile(const fs::path& path);
void WriteFile(const fs::path& path, const std::string& content);  // makes the folders
std::string Narrow(const std::wstring& text);

// How a copy run stands when RunCopy returns.
enum class CopyStop { Ended, MessageBox, StillRunning };

class UsbInstallRun {
public:
    explicit UsbInstallRun(bool hardDisk = true);
    ~UsbInstallRun();
    UsbInstallRun(const UsbInstallRun&) = delete;
    UsbInstallRun& operator=(const UsbInstallRun&) = delete;

    const fs::path& root() const { return root_; }
    // Host folders of PanelRoot and of the drive.
    fs::path panel() const { return hardDisk_ ? root_ / "Hard Disk" : root_; }
    const fs::path& usb() const { return usb_; }

    // A release folder with files (name -> content) on the drive or on the panel.
    void UsbRelease(const std::string& name, const std::map<std::string, std::string>& files = {});
    void PanelRelease(const std::string& name,
                      const std::map<std::string, std::string>& files = {});

    // Presses the main window's install button.
    void Install();
    // Moves the panel clock on and lets the user-interface thread catch up.
    void Advance(int milliseconds);
    // Lets the copy thread run through its pauses until it ends, shows a message box or has
    // made `maxPauses` pauses.
    CopyStop RunCopy(int maxPauses = 100000);

private:
    bool hardDisk_;
    fs::path root_;
    fs::path usb_;
    std::unique_ptr<platform::UiThread> ui_;
};

using panel_test::FindControl;
using panel_test::FindTitled;
using panel_test::TopMessageBox;

// The rows of a list (empty when no such list is open) and the selected row (-1: none).
std::vector<std::wstring> Rows(int listId);
int SelectedRow(int listId);
// The position of a progress bar of an open dialog (-1 when the dialog is not open).
int ProgressPosition(const std::wstring& dialogCaption, int barId);
// Answers the open message box, first checking its caption.
void Answer(const std::wstring& caption, const std::wstring& button);

}  // namespace usb_test
