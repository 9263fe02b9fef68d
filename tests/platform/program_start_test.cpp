// The start-up the panel programs share: the panel root is made or refused, the USB folder
// defaults into it, and the programs started later get this run's panel options, with the
// port handed on as the program decides.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/devices/local_socket.h"
#include "platform/runtime/panel_environment.h"
#include "platform/runtime/program_start.h"
#include "platform/runtime/test_support.h"
#include "platform/storage/files.h"
#include "platform/windowing/window.h"

namespace {

namespace fs = std::filesystem;

class ProgramStartTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("program-start-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override
    {
        platform::ClearPanelOptions();
        ::unsetenv("PANEL_PORT");
        fs::remove_all(dir_);
    }

    // The environment a program started now would get, from an empty one.
    static std::vector<std::string> Handed()
    {
        const char* none[] = {nullptr};
        return platform::StartedProgramEnvironment(none);
    }
    static bool Has(const std::vector<std::string>& env, const std::string& entry)
    {
        return std::find(env.begin(), env.end(), entry) != env.end();
    }
    static bool HasVariable(const std::vector<std::string>& env, const std::string& name)
    {
        return std::any_of(env.begin(), env.end(),
                           [&](const std::string& e) { return e.rfind(name + "=", 0) == 0; });
    }

    fs::path dir_;
};

TEST_F(ProgramStartTest, MakesTheRootAndDefaultsTheUsbFolderIntoIt)
{
    platform::ProgramStart start;
    start.program = "copyorbitfiles";
    start.root = (dir_ / "new root").string();
    start.makeHardDisk = true;
    start.screen.headless = true;
    start.screen.controlSocket = (dir_ / "ctl" / "copyorbitfiles.sock").string();
    const auto folders = platform::SetUpPanelFolders(start);
    ASSERT_TRUE(folders.has_value());
    EXPECT_EQ(folders->root, dir_ / "new root");
    EXPECT_EQ(folders->usb, dir_ / "new root" / "Hard Disk2");
    EXPECT_TRUE(fs::is_directory(dir_ / "new root" / "Hard Disk"));
    EXPECT_EQ(platform::PanelRoot(), dir_ / "new root");
    const auto env = Handed();
    EXPECT_TRUE(Has(env, "PANEL_ROOT=" + (dir_ / "new root").string()));
    EXPECT_TRUE(Has(env, "PANEL_USB=" + (dir_ / "new root" / "Hard Disk2").string()));
    EXPECT_TRUE(Has(env, "PANEL_HEADLESS=1"));
    EXPECT_TRUE(Has(env, "PANEL_CONTROL_DIR=" + (dir_ / "ctl").string()));
}

TEST_F(ProgramStartTest, RefusesARootThatIsAFile)
{
    std::ofstream(dir_ / "file") << "x";
    platform::ProgramStart start;
    start.program = "nodeflasher";
    start.root = (dir_ / "file").string();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(platform::SetUpPanelFolders(start).has_value());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("nodeflasher: cannot use panel root ", 0), 0u) << err;
}

TEST_F(ProgramStartTest, PortIsHandedOnAsTheProgramDecides)
{
    ::setenv("PANEL_PORT", "/dev/null", 1);  // a character device
    platform::ProgramStart start;
    start.root = dir_.string();

    start.port.reset();  // no port of its own: the one it was given goes on
    ASSERT_TRUE(platform::SetUpPanelFolders(start));
    EXPECT_TRUE(Has(Handed(), "PANEL_PORT=/dev/null"));

    start.port = std::string();  // a simulator's line: none goes on
    ASSERT_TRUE(platform::SetUpPanelFolders(start));
    EXPECT_FALSE(HasVariable(Handed(), "PANEL_PORT"));

    start.port = "/dev/zero";  // its own
    ASSERT_TRUE(platform::SetUpPanelFolders(start));
    EXPECT_TRUE(Has(Handed(), "PANEL_PORT=/dev/zero"));
}

// A program that ends on a button (a hand-over to the next program) still answers the press
// that ended it, at once: a script driving the panel sees the command done, not a silent
// socket.
LRESULT EndOnButton(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COMMAND) {
        DestroyWindow(wnd);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
}

TEST_F(ProgramStartTest, APressThatEndsTheProgramIsAnswered)
{
    platform::ProgramStart start;
    start.program = "handover";
    start.screen.controlSocket = (dir_ / "handover.sock").string();
    std::atomic<bool> ended{false};
    platform::UiThread ui([&] {
        {
            const platform::ProgramScreen screen(start);
            ASSERT_TRUE(screen.ok());
            WNDCLASS wc;
            wc.lpfnWndProc = EndOnButton;
            wc.lpszClassName = L"HANDOVER_TEST";
            RegisterClass(&wc);
            HWND main = CreateWindowEx(0, L"HANDOVER_TEST", L"", WS_POPUP | WS_VISIBLE, 0, 0, 640,
                                       480, nullptr, 0, nullptr, nullptr);
            CreateWindowEx(0, WC_BUTTON, L"NEXT", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10,
                           100, 40, main, 77, nullptr, nullptr);
            MSG m;
            while (GetMessage(&m, nullptr, 0, 0)) DispatchMessage(&m);
        }
        ended = true;
    });
    platform::LocalClient client(start.screen.controlSocket);
    const auto before = std::chrono::steady_clock::now();
    std::string answer;
    ASSERT_TRUE(client.SendLine("press 77"));
    ASSERT_TRUE(client.ReadLine(answer, 10000));
    EXPECT_EQ(answer, "{\"ok\":true}");
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    ui.Stop();
    EXPECT_TRUE(ended.load());
    EXPECT_FALSE(fs::exists(start.screen.controlSocket));
}

}  // namespace
