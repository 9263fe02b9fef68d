// The whole chain of the panel's programs, each a child process started by the one before, as
// it runs on a dryer after a new release arrives on a USB drive: CopyOrbitFiles installs the
// release, its NODE FLASHER button starts the NodeFlasher it just installed, NodeFlasher
// programs the simulated boards from the release and hands over to the dryer's start program,
// and the display comes up on the same panel and serial line.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/types.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "flasher/app/flasher_dialogs.h"
#include "flasher/app/flasher_program.h"
#include "flasher/upload.h"
#include "platform/runtime/utf8.h"
#include "tests/installer/chain_run_support.h"

namespace {

namespace fs = std::filesystem;
using chain_test::Remote;
using test_support::ChildProcess;
using test_support::WaitFor;

constexpr const char kDisplayClass[] = "ORBIT_DRYER_MAIN_WINDOW";

std::string Utf8(const wchar_t* text)
{
    return platform::Narrow(text);
}

// The processes whose environment holds `entry` (the programs started for one panel root).
std::vector<pid_t> ProcessesWith(const std::string& entry)
{
    std::vector<pid_t> found;
    std::error_code ec;
    for (const auto& dir : fs::directory_iterator("/proc", ec)) {
        const std::string name = dir.path().filename().string();
        if (name.empty() || !std::all_of(name.begin(), name.end(), ::isdigit)) continue;
        const std::string environment = test_support::ReadFile(dir.path() / "environ");
        std::size_t at = 0;
        while (at < environment.size()) {
            const std::size_t end = environment.find('\0', at);
            if (environment.compare(at, end - at, entry) == 0) {
                found.push_back(static_cast<pid_t>(std::stoi(name)));
                break;
            }
            if (end == std::string::npos) break;
            at = end + 1;
        }
    }
    return found;
}

// Ends the programs the chain started for this panel root (they are not this test's children:
// each was started by the program before it).
void EndChain(const fs::path& root)
{
    const std::string entry = "PANEL_ROOT=" + root.string();
    for (const pid_t pid : ProcessesWith(entry)) ::kill(pid, SIGTERM);
    WaitFor([&] { return ProcessesWith(entry).empty(); }, 10000);
    for (const pid_t pid : ProcessesWith(entry)) ::kill(pid, SIGKILL);
}

class ChainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = chain_test::FreshFolder("chain");
        root_ = folder_ / "panel";
        usb_ = folder_ / "usb";
        fs::create_directories(root_ / "Hard Disk");
        ASSERT_EQ(chain_test::MakeRelease(usb_, "--usb --small"), 0);
    }
    void TearDown() override
    {
        EndChain(root_);
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }

    fs::path folder_, root_, usb_;
};

// NodeFlasher, as the service technician works it: scan, select the installed release, upload,
// exit to the dryer.
void ProgramTheBoards(const Remote& flasher)
{
    // Past the splash: the main window is the top one.
    ASSERT_TRUE(WaitFor(
        [&] {
            const auto windows = flasher.Windows();
            return !windows.empty() && windows.front().value("class", "") == "NODEFLASHER";
        },
        chain_test::kStartMs));
    ASSERT_TRUE(flasher.Press(kCmdScanNetwork));
    ASSERT_TRUE(WaitFor(
        [&] {
            const auto rows = flasher.Rows(kScanList);
            return rows.size() > 8 && rows.back() == "  ";
        },
        chain_test::kStartMs))
        << "the scan did not end";
    const std::vector<std::string> scan = flasher.Rows(kScanList);
    for (const char* board : {"DISPLAY IO", "FAN/HEATER", "MAIN IO", "MOISTURE CON"}) {
        EXPECT_TRUE(std::any_of(
            scan.begin(), scan.end(),
            [board](const std::string& row) { return row.find(board) != std::string::npos; }))
            << board << " missing from the scan";
    }
    ASSERT_TRUE(flasher.Press(kScanExit));
    ASSERT_TRUE(flasher.Press(kCmdSelectProgram));
    ASSERT_TRUE(flasher.Press(kSelectionAccept));
    ASSERT_TRUE(flasher.Press(kCmdStartUpload));
    ASSERT_TRUE(WaitFor([&] { return flasher.Titled(Utf8(kUploadCaption)).has_value(); },
                        chain_test::kStartMs));
    std::vector<std::string> upload;
    std::set<std::string> seen;
    bool refused = false;
    const bool done = WaitFor(
        [&] {
            if (const auto box = flasher.MessageBox()) {
                refused = refused || box->value("title", "") == Utf8(kNotProgrammedCaption);
                flasher.Answer("OK");
            }
            if (!flasher.Titled(Utf8(kUploadCaption))) return true;
            upload = flasher.Rows(kUploadList);
            seen.insert(upload.begin(), upload.end());  // the list is cleared on the way
            return false;
        },
        30000);
    ASSERT_TRUE(done) << "the upload did not end; last line: "
                      << (upload.empty() ? std::string() : upload.back());
    EXPECT_FALSE(refused) << "a board's program was refused";
    // Each of the four boards went through its link, erase, start address and close.
    for (const char* board : {"Display I/O", "Fan/Heater #1", "Main I/O", "Moisture Control"}) {
        EXPECT_TRUE(seen.count(std::string(" << Attempting to Close Link to ") + board + "...") ==
                    1)
            << board << " was not programmed";
    }
    EXPECT_TRUE(seen.count("PROGRAM UPLOAD TO DRYER COMPLETE.") == 1);
    ASSERT_TRUE(flasher.Press(kCmdExitToDryer));
}

TEST_F(ChainTest, InstallProgramTheBoardsAndStartTheDisplay)
{
    chain_test::Simulator simulator(folder_);
    const std::string line = simulator.WaitServing();
    ASSERT_FALSE(line.empty()) << simulator.child().Stderr();

    // The installer has no port of its own: the line it was given travels on with the panel.
    const chain_test::ScopedVariable port("PANEL_PORT", line);
    ChildProcess installer(
        {COPYORBITFILES_EXECUTABLE, "--root", root_.string(), "--usb", usb_.string(), "--headless",
         "--control", (folder_ / "copyorbitfiles.sock").string()},
        folder_);
    const Remote copy(folder_ / "copyorbitfiles.sock");
    ASSERT_TRUE(copy.WaitUp()) << installer.Stderr();
    ASSERT_FALSE(chain_test::InstallTheOnlyRelease(copy, 60000).empty())
        << "the install did not end";
    ASSERT_TRUE(fs::exists(root_ / "Hard Disk" / "NodeFlasher.exe"));

    // NODE FLASHER: the installed launcher starts this build's nodeflasher, which opens its
    // socket beside the installer's.
    ASSERT_TRUE(copy.Press(8000));
    EXPECT_EQ(installer.ExitCode(chain_test::kStartMs), 0) << installer.Stderr();
    const Remote flasher(folder_ / "nodeflasher.sock");
    ASSERT_TRUE(flasher.WaitUp()) << "nodeflasher did not come up";
    ProgramTheBoards(flasher);

    // EXIT TO DRYER: after its pause, Kickoff.exe (copied by the upload) starts the display.
    const Remote display(folder_ / "orbitdryer.sock");
    ASSERT_TRUE(display.WaitUp()) << "the display did not come up";
    ASSERT_TRUE(
        WaitFor([&] { return display.OfClass(kDisplayClass).has_value(); }, chain_test::kStartMs));
    EXPECT_TRUE(fs::exists(root_ / "Hard Disk" / "Kickoff.exe"));
    EXPECT_TRUE(WaitFor([&] { return !fs::exists(folder_ / "nodeflasher.sock"); }, 5000))
        << "nodeflasher did not end";
    EXPECT_TRUE(display.Ok("screenshot " + (folder_ / "display.png").string()));
}

}  // namespace
