// Starting other panel programs: a marker script under a panel root, started through its panel
// path, writes what it was given (arguments, the PANEL_ environment, its open descriptors), so
// the tests read what the started program saw. Also the failures, the exit codes and the
// splitting of command lines.
#include "platform/runtime/process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/runtime/clock.h"
#include "platform/runtime/panel_environment.h"
#include "platform/storage/files.h"

namespace {

namespace fs = std::filesystem;

constexpr DWORD kWaitMs = 10'000;  // real time for a started script to end

class Process : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::UseRealClock();
        platform::ClearPanelOptions();
        root_ = fs::temp_directory_path() /
                ("panel-process-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "Hard Disk");
        platform::SetPanelRoots(root_, {});
    }
    void TearDown() override
    {
        platform::ClearPanelOptions();
        fs::remove_all(root_);
    }

    // A program that writes its arguments, the panel variables and its open descriptors to
    // <root>/mark, one per line, then ends with `exitCode`.
    fs::path WriteMarker(const std::string& name, int exitCode = 0,
                         fs::perms perms = fs::perms::owner_all)
    {
        const fs::path p = root_ / "Hard Disk" / name;
        std::ofstream(p) << "#!/bin/sh\n"
                            "out='"
                         << (root_ / "mark").string()
                         << "'\n"
                            "{\n"
                            "  echo \"argc=$#\"\n"
                            "  for a in \"$@\"; do echo \"arg=[$a]\"; done\n"
                            "  for v in PANEL_ROOT PANEL_USB PANEL_PORT PANEL_HEADLESS "
                            "PANEL_CONTROL_DIR; do\n"
                            "    eval \"echo $v=\\${$v-unset}\"\n"
                            "  done\n"
                            "  echo \"fds=$(ls /proc/$$/fd | tr '\\n' ' ')\"\n"
                            "} > \"$out.part\" && mv \"$out.part\" \"$out\"\n"
                            "exit "
                         << exitCode << "\n";
        fs::permissions(p, perms);
        return p;
    }

    std::vector<std::string> Mark() const
    {
        std::ifstream in(root_ / "mark");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    std::string MarkLine(const std::string& key) const
    {
        for (const std::string& line : Mark()) {
            if (line.starts_with(key + "=")) return line.substr(key.size() + 1);
        }
        return "(missing)";
    }
    std::vector<std::string> MarkArguments() const
    {
        std::vector<std::string> args;
        for (const std::string& line : Mark()) {
            if (line.starts_with("arg=[")) args.push_back(line.substr(5, line.size() - 6));
        }
        return args;
    }

    // Starts a panel program and waits for its end; its exit code, or -1 when it did not start
    // or end.
    int Run(const wchar_t* application, const wchar_t* commandLine)
    {
        PROCESS_INFORMATION info;
        if (!CreateProcess(application, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           nullptr, &info)) {
            return -1;
        }
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(info.hProcess, kWaitMs) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(info.hProcess, &code)) {
            code = static_cast<DWORD>(-1);
        }
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
        return static_cast<int>(code);
    }

    fs::path root_;
};

// ---- arguments and exit codes ----

TEST_F(Process, StartsAPanelPathWithItsArguments)
{
    WriteMarker("OrbitDryer.exe");
    EXPECT_EQ(Run(L"\\Hard Disk\\OrbitDryer.exe", L"MAIN_IO_MISSING -x"), 0);
    EXPECT_EQ(MarkLine("argc"), "2");
    EXPECT_EQ(MarkArguments(), (std::vector<std::string>{"MAIN_IO_MISSING", "-x"}));
}

TEST_F(Process, EmptyOrMissingCommandLineGivesNoArguments)
{
    WriteMarker("Kickoff.exe");
    EXPECT_EQ(Run(L"\\Hard Disk\\Kickoff.exe", L""), 0);
    EXPECT_EQ(MarkLine("argc"), "0");
    fs::remove(root_ / "mark");
    EXPECT_EQ(Run(L"\\Hard Disk\\Kickoff.exe", nullptr), 0);
    EXPECT_EQ(MarkLine("argc"), "0");
}

TEST_F(Process, QuotedArgumentsKeepTheirBlanks)
{
    WriteMarker("OrbitDryer.exe");
    EXPECT_EQ(Run(L"\\Hard Disk\\OrbitDryer.exe",
                  L"\"\\hard disk\\\"  plain\t\"two  blanks\"x \"\" \"say \"\"hi\"\"\""),
              0);
    EXPECT_EQ(MarkArguments(), (std::vector<std::string>{"\\hard disk\\", "plain", "two  blanksx",
                                                         "", "say \"hi\""}));
}

TEST_F(Process, FindsTheProgramWithoutItsExeNameAndIgnoringCase)
{
    WriteMarker("Kickoff");
    EXPECT_EQ(Run(L"\\hard disk\\KICKOFF.exe", L"a"), 0);
    EXPECT_EQ(MarkArguments(), std::vector<std::string>{"a"});
}

TEST_F(Process, WithoutAnApplicationTheCommandLineNamesTheProgram)
{
    WriteMarker("Node Flasher.exe");
    EXPECT_EQ(Run(nullptr, L"\"\\Hard Disk\\Node Flasher.exe\" DISPLAY_IO_MISSING"), 0);
    EXPECT_EQ(MarkArguments(), std::vector<std::string>{"DISPLAY_IO_MISSING"});
}

TEST_F(Process, UsesTheRegisteredProgramTable)
{
    platform::RegisterProgram(L"\\windows\\explorer.exe", "/bin/sh -c");
    EXPECT_EQ(Run(L"\\Windows\\Explorer.exe", L"\"exit 4\""), 4);
    platform::RegisterProgram(L"\\windows\\explorer.exe", nullptr);
    SetLastError(0);
    EXPECT_EQ(Run(L"\\Windows\\Explorer.exe", L""), -1);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(Process, ExitCodeIsStillActiveUntilTheProgramEnds)
{
    const fs::path go = root_ / "go";
    const fs::path p = root_ / "Hard Disk" / "Waiter";
    std::ofstream(p) << "#!/bin/sh\nn=0\nwhile [ ! -e '" << go.string()
                     << "' ] && [ $n -lt 1000 ]; do sleep 0.01; n=$((n+1)); done\nexit 3\n";
    fs::permissions(p, fs::perms::owner_all);
    PROCESS_INFORMATION info;
    ASSERT_TRUE(CreateProcess(L"\\Hard Disk\\Waiter", nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, nullptr, &info));
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeProcess(info.hProcess, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 0), WAIT_TIMEOUT);
    std::ofstream(go) << "go";
    EXPECT_EQ(WaitForSingleObject(info.hProcess, kWaitMs), WAIT_OBJECT_0);
    ASSERT_TRUE(GetExitCodeProcess(info.hProcess, &code));
    EXPECT_EQ(code, 3u);
    EXPECT_TRUE(CloseHandle(info.hProcess));
    EXPECT_TRUE(CloseHandle(info.hThread));
    EXPECT_FALSE(GetExitCodeProcess(info.hProcess, &code));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

// ---- failures ----

TEST_F(Process, MissingProgramIsNotFound)
{
    PROCESS_INFORMATION info;
    SetLastError(0);
    EXPECT_FALSE(CreateProcess(L"\\Hard Disk\\Nothing.exe", nullptr, nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    SetLastError(0);
    EXPECT_FALSE(CreateProcess(L"\\No Disk\\Kickoff.exe", nullptr, nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    SetLastError(0);
    EXPECT_FALSE(CreateProcess(nullptr, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               nullptr, &info));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(Process, NonExecutableFileOrFolderIsDenied)
{
    WriteMarker("Kickoff.exe", 0, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_directories(root_ / "Hard Disk" / "Folder.exe");
    for (const wchar_t* path : {L"\\Hard Disk\\Kickoff.exe", L"\\Hard Disk\\Folder.exe"}) {
        PROCESS_INFORMATION info;
        SetLastError(0);
        EXPECT_FALSE(CreateProcess(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   nullptr, &info));
        EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    }
    EXPECT_FALSE(fs::exists(root_ / "mark"));
}

TEST_F(Process, ExecutableThatIsNeitherProgramNorScriptIsRefused)
{
    const fs::path p = root_ / "Hard Disk" / "Kickoff.exe";
    std::ofstream(p) << "echo no first line\n";
    fs::permissions(p, fs::perms::owner_all);
    PROCESS_INFORMATION info;
    SetLastError(0);
    EXPECT_FALSE(CreateProcess(L"\\Hard Disk\\Kickoff.exe", nullptr, nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(GetLastError(), ERROR_BAD_EXE_FORMAT);
}

// ---- what the started program inherits ----

TEST_F(Process, DescriptorsOfThisProgramAreNotInherited)
{
    WriteMarker("Kickoff.exe");
    // Opened without close-on-exec, as a careless library might.
    const int fd = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(fd, 0);
    const int high = ::dup2(fd, 57);  // dup2 never sets close-on-exec
    ASSERT_EQ(high, 57);
    EXPECT_EQ(Run(L"\\Hard Disk\\Kickoff.exe", nullptr), 0);
    ::close(fd);
    ::close(high);
    std::istringstream fds(MarkLine("fds"));
    std::vector<int> open;
    for (int n = 0; fds >> n;) open.push_back(n);
    ASSERT_FALSE(open.empty());
    EXPECT_EQ(open.front(), 0);  // standard input, output and error stay
    EXPECT_EQ(std::count(open.begin(), open.end(), 57), 0) << MarkLine("fds");
}

TEST_F(Process, StartedProgramGetsThePanelOptionsOfThisRun)
{
    WriteMarker("OrbitDryer.exe");
    platform::PanelOptions options;
    options.root = root_.string();
    options.usb = (root_ / "usb stick").string();
    options.port = "/dev/null";  // any character device
    options.headless = true;
    options.controlSocket = (root_ / "sockets" / "nodeflasher.sock").string();
    platform::SetPanelOptions(options);
    EXPECT_EQ(Run(L"\\Hard Disk\\OrbitDryer.exe", nullptr), 0);
    EXPECT_EQ(MarkLine("PANEL_ROOT"), root_.string());
    EXPECT_EQ(MarkLine("PANEL_USB"), (root_ / "usb stick").string());
    EXPECT_EQ(MarkLine("PANEL_PORT"), "/dev/null");
    EXPECT_EQ(MarkLine("PANEL_HEADLESS"), "1");
    EXPECT_EQ(MarkLine("PANEL_CONTROL_DIR"), (root_ / "sockets").string());
}

TEST_F(Process, OptionsNotGivenAreNotHandedOnEvenFromOurOwnEnvironment)
{
    WriteMarker("OrbitDryer.exe");
    ::setenv("PANEL_PORT", "/dev/stale", 1);
    ::setenv("PANEL_HEADLESS", "1", 1);
    platform::PanelOptions options;
    options.root = "relative/root";
    options.port = (root_ / "Hard Disk" / "OrbitDryer.exe").string();  // not a device
    platform::SetPanelOptions(options);
    EXPECT_EQ(Run(L"\\Hard Disk\\OrbitDryer.exe", nullptr), 0);
    ::unsetenv("PANEL_PORT");
    ::unsetenv("PANEL_HEADLESS");
    EXPECT_EQ(MarkLine("PANEL_ROOT"), (fs::current_path() / "relative/root").string());
    EXPECT_EQ(MarkLine("PANEL_USB"), "unset");
    EXPECT_EQ(MarkLine("PANEL_PORT"), "unset");
    EXPECT_EQ(MarkLine("PANEL_HEADLESS"), "unset");
    EXPECT_EQ(MarkLine("PANEL_CONTROL_DIR"), "unset");
}

TEST_F(Process, WithoutPanelOptionsTheEnvironmentPassesUnchanged)
{
    WriteMarker("OrbitDryer.exe");
    ::setenv("PANEL_PORT", "/dev/from-outside", 1);
    EXPECT_EQ(Run(L"\\Hard Disk\\OrbitDryer.exe", nullptr), 0);
    ::unsetenv("PANEL_PORT");
    EXPECT_EQ(MarkLine("PANEL_PORT"), "/dev/from-outside");
    EXPECT_EQ(MarkLine("PANEL_ROOT"), "unset");
}

// ---- splitting ----

struct SplitCase {
    const wchar_t* line;
    std::vector<std::string> args;
};

class SplitCommandLine : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLine, AsThePanelProgramsExpect)
{
    EXPECT_EQ(platform::SplitCommandLine(GetParam().line), GetParam().args);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitCommandLine,
    ::testing::Values(SplitCase{L"", {}}, SplitCase{L"  \t ", {}},
                      SplitCase{L"MAIN_IO_MISSING", {"MAIN_IO_MISSING"}},
                      SplitCase{L" a  b\t", {"a", "b"}},
                      SplitCase{L"\\hard disk\\manuals", {"\\hard", "disk\\manuals"}},
                      SplitCase{L"\"\\hard disk\\manuals\"", {"\\hard disk\\manuals"}},
                      SplitCase{L"a\"b c\"d", {"ab cd"}}, SplitCase{L"\"\" x", {"", "x"}},
                      SplitCase{L"\"open  to end", {"open  to end"}},
                      SplitCase{L"\"a \"\"q\"\" b\"", {"a \"q\" b"}},
                      SplitCase{L"\"caf\u00e9\"", {"caf\xc3\xa9"}}));

}  // namespace
