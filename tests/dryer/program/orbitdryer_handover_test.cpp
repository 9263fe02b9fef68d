// The display started the way the panel programs hand over: through its panel path
// "\Hard Disk\OrbitDryer.exe" (here a launcher script for the built program) with an empty
// command line, finding the starting program's panel options in its environment.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/runtime/panel_environment.h"
#include "platform/runtime/process.h"
#include "platform/storage/files.h"
#include "tests/support/child_process.h"
#include "tests/support/raw_client.h"

namespace {

namespace fs = std::filesystem;
using test_support::WaitFor;

constexpr int kStartMs = 10'000;  // real time for a display to come up or to end

class Handover : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("od-handover-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "Hard Disk");
        platform::SetPanelRoots(root_, {});
    }
    void TearDown() override
    {
        if (info_.hProcess != nullptr) {
            if (Running()) ::kill(static_cast<pid_t>(info_.dwProcessId), SIGKILL);
            ExitCode();
            CloseHandle(info_.hProcess);
            CloseHandle(info_.hThread);
        }
        platform::ClearPanelOptions();
        fs::remove_all(root_);
    }

    // The panel's OrbitDryer.exe: the built display with `extra` options, its errors in a file.
    void WriteLauncher(const std::string& extra)
    {
        const fs::path p = root_ / "Hard Disk" / "OrbitDryer.exe";
        std::ofstream(p) << "#!/bin/sh\nexec '" << ORBITDRYER_EXECUTABLE << "' " << extra
                         << " \"$@\" 2> '" << (root_ / "err").string() << "'\n";
        fs::permissions(p, fs::perms::owner_all);
    }
    bool Start()
    {
        return CreateProcess(L"\\Hard Disk\\OrbitDryer.exe", L"", nullptr, nullptr, FALSE, 0,
                             nullptr, nullptr, nullptr, &info_) != FALSE;
    }
    bool Running()
    {
        DWORD code = 0;
        return GetExitCodeProcess(info_.hProcess, &code) && code == STILL_ACTIVE;
    }
    // The exit code once the display ended (in real time), or -1.
    int ExitCode()
    {
        WaitFor([this] { return !Running(); }, kStartMs);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(info_.hProcess, &code);
        return code == STILL_ACTIVE ? -1 : static_cast<int>(code);
    }
    std::string Errors() const { return test_support::ReadFile(root_ / "err"); }

    fs::path root_;
    PROCESS_INFORMATION info_;
};

TEST_F(Handover, StartedDisplayTakesTheHandedOnOptions)
{
    WriteLauncher("--simulate");
    platform::PanelOptions options;
    options.root = root_.string();
    options.headless = true;
    options.controlSocket = (root_ / "nodeflasher.sock").string();
    platform::SetPanelOptions(options);
    ASSERT_TRUE(Start());
    // Its control socket is <PANEL_CONTROL_DIR>/orbitdryer.sock, its lock in PANEL_ROOT.
    const fs::path socket = root_ / "orbitdryer.sock";
    ASSERT_TRUE(WaitFor([&] { return !Running() || fs::exists(socket); }, kStartMs)) << Errors();
    ASSERT_TRUE(Running()) << Errors();
    EXPECT_TRUE(WaitFor(
        [&] {
            return test_support::Ask(socket.string(), "idle").find("true") != std::string::npos;
        },
        kStartMs));
    EXPECT_TRUE(fs::exists(root_ / "orbitdryer.lock"));
    EXPECT_NE(Errors().find("headless"), std::string::npos) << Errors();
    ASSERT_EQ(::kill(static_cast<pid_t>(info_.dwProcessId), SIGTERM), 0);
    EXPECT_EQ(ExitCode(), 0) << Errors();
    EXPECT_FALSE(fs::exists(socket));
}

TEST_F(Handover, BadPortInTheEnvironmentEndsTheStartedDisplayWithExitCode2)
{
    // A starting program never hands on a port that is not a device; one started from outside
    // may still find such a value, which this program passes on unchanged without options.
    WriteLauncher("");
    std::ofstream(root_ / "not-a-port") << "x";
    ::setenv("PANEL_ROOT", root_.c_str(), 1);
    ::setenv("PANEL_HEADLESS", "1", 1);
    ::setenv("PANEL_PORT", (root_ / "not-a-port").c_str(), 1);
    const bool started = Start();
    for (const char* name : {"PANEL_ROOT", "PANEL_HEADLESS", "PANEL_PORT"}) ::unsetenv(name);
    ASSERT_TRUE(started);
    EXPECT_EQ(ExitCode(), 2);
    EXPECT_NE(Errors().find("orbitdryer: PANEL_PORT (the default for --port): '" +
                            (root_ / "not-a-port").string() + "' is not a character device"),
              std::string::npos)
        << Errors();
    EXPECT_FALSE(fs::exists(root_ / "orbitdryer.lock"));
}

}  // namespace
