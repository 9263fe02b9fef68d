// The built dryersim program as a child process: its command line, SIGTERM and SIGINT, and its
// control socket under the same attacks as the display's. Bad options end with exit code 2 and
// one line naming the value and what is allowed; the control socket serves on.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/devices/local_socket.h"
#include "tests/support/child_process.h"
#include "tests/support/raw_client.h"

namespace {

namespace fs = std::filesystem;
using test_support::ChildProcess;
using test_support::Repeat;
using test_support::SendWithoutWaiting;
using test_support::WaitFor;

std::string Ask(const fs::path& socket, const std::string& command)
{
    return test_support::Ask(socket.string(), command);
}

int RawConnect(const fs::path& socket)
{
    return test_support::RawConnect(socket.string());
}

constexpr int kWaitMs = 10'000;

fs::path FreshFolder()
{
    static int serial = 0;
    const fs::path folder =
        fs::temp_directory_path() /
        ("dryersim-proc-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

class Simulator {
public:
    explicit Simulator(const fs::path& folder)
        : socket_(folder / "sim.sock"),
          child_({DRYERSIM_EXECUTABLE, "--frozen", "--control-socket", socket_.string()}, folder)
    {
    }
    bool Up()
    {
        return WaitFor([&] { return !child_.running() || !Ask(socket_, "status").empty(); },
                       kWaitMs) &&
               child_.running();
    }
    const fs::path& socket() const { return socket_; }
    ChildProcess& child() { return child_; }

private:
    fs::path socket_;
    ChildProcess child_;
};

class DryersimEndsCleanly : public ::testing::TestWithParam<int> {};

TEST_P(DryersimEndsCleanly, OnATerminationSignal)
{
    const fs::path folder = FreshFolder();
    Simulator sim(folder);
    ASSERT_TRUE(sim.Up()) << sim.child().Stderr();
    ASSERT_TRUE(sim.child().Signal(GetParam()));
    EXPECT_EQ(sim.child().ExitCode(kWaitMs), 0);
    EXPECT_FALSE(fs::exists(sim.socket()));
    fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(Signals, DryersimEndsCleanly, ::testing::Values(SIGTERM, SIGINT),
                         [](const auto& param) {
                             return std::string(param.param == SIGTERM ? "Term" : "Int");
                         });

TEST(DryersimProcess, ControlSocketServesOnWhateverClientsDo)
{
    const fs::path folder = FreshFolder();
    Simulator sim(folder);
    ASSERT_TRUE(sim.Up()) << sim.child().Stderr();
    const std::string status = Repeat("status\n", 300);
    for (const std::string& bytes :
         {std::string("status\n"), status, std::string("\x01\xff garbage\n\n%s%n\n"),
          std::string(10 << 20, 'x') + "\n"}) {
        const int fd = RawConnect(sim.socket());
        ASSERT_GE(fd, 0);
        SendWithoutWaiting(fd, bytes);
        ::close(fd);  // gone before the answers
    }
    const int silent = RawConnect(sim.socket());
    const int neverReads = RawConnect(sim.socket());
    SendWithoutWaiting(neverReads, status + status + status);
    EXPECT_EQ(Ask(sim.socket(), "get 3").rfind("ok 3 = ", 0), 0u);
    // The tail of an overlong line is never run: one refusal, then the next line's answer.
    platform::LocalClient client(sim.socket().string());
    ASSERT_TRUE(client.SendLine(std::string(5000, 'x') + std::string(5000, ' ') + "stop"));
    ASSERT_TRUE(client.SendLine("get 3"));
    std::string first;
    std::string second;
    ASSERT_TRUE(client.ReadLine(first, 5000));
    ASSERT_TRUE(client.ReadLine(second, 5000));
    EXPECT_EQ(first, "error: line longer than 4096 bytes; it was dropped");
    EXPECT_EQ(second.rfind("ok 3 = ", 0), 0u);
    EXPECT_NE(Ask(sim.socket(), "status").find("dryer started"), std::string::npos);
    EXPECT_TRUE(sim.child().running());
    ::close(silent);
    ::close(neverReads);
    fs::remove_all(folder);
}

TEST(DryersimProcess, ControlPathsOfOthersAreNeverTaken)
{
    const fs::path folder = FreshFolder();
    const fs::path notes = folder / "notes.txt";
    std::ofstream(notes) << "keep me\n";
    ChildProcess onFile({DRYERSIM_EXECUTABLE, "--control-socket", notes.string()}, folder);
    EXPECT_EQ(onFile.ExitCode(kWaitMs), 2);
    EXPECT_NE(onFile.Stderr().find("not a socket"), std::string::npos) << onFile.Stderr();
    EXPECT_EQ(test_support::ReadFile(notes), "keep me\n");

    Simulator first(folder);
    ASSERT_TRUE(first.Up());
    ChildProcess second({DRYERSIM_EXECUTABLE, "--control-socket", first.socket().string()}, folder);
    EXPECT_EQ(second.ExitCode(kWaitMs), 2);
    EXPECT_NE(second.Stderr().find("another running program"), std::string::npos);
    EXPECT_FALSE(Ask(first.socket(), "status").empty());
    fs::remove_all(folder);
}

struct BadLine {
    std::vector<std::string> args;
    const char* mentions;
};

class DryersimBadCommandLine : public ::testing::TestWithParam<BadLine> {};

TEST_P(DryersimBadCommandLine, EndsWithExitCodeTwoAndNamesTheValue)
{
    const fs::path folder = FreshFolder();
    std::ofstream(folder / "file") << "x";
    std::vector<std::string> args = {DRYERSIM_EXECUTABLE};
    for (std::string a : GetParam().args) {
        if (a == "FILE") a = (folder / "file").string();
        args.push_back(a);
    }
    ChildProcess sim(args, folder);
    EXPECT_EQ(sim.ExitCode(kWaitMs), 2);
    const std::string err = sim.Stderr();
    EXPECT_NE(err.find(GetParam().mentions), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(test_support::ReadFile(folder / "file"), "x");  // a device that is a file
    fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DryersimBadCommandLine,
    ::testing::Values(BadLine{{"--scenario", "bogus"}, "one of: continuous-1fh, continuous-2fh"},
                      BadLine{{"--device", "FILE"}, "not a character device"},
                      BadLine{{"--heaters", "5"}, "'5' is not a fan/heater count: 1, 2, 3, 4 or 6"},
                      BadLine{{"--modules", "0"}, "'0' is not a whole number from 1 to 3"},
                      BadLine{{"--preset", "300=1"}, "OFFSET 0-299 and VALUE 0-255"},
                      BadLine{{"--control-socket", "--frozen"}, "'--frozen' looks like an option"},
                      BadLine{{"--frobnicate"}, "unknown option '--frobnicate'"}));

}  // namespace
