// The built orbitdryer program as a child process, attacked from outside: SIGTERM and SIGINT,
// a second start, a lock file that cannot be taken, socket paths that belong to others, a
// regular file as the port, a damaged registry and an extreme clock offset. Each time the
// display either refuses with a message and exit code 2, or runs on and polls the board.
#include <gtest/gtest.h>

#include <sys/file.h>
#include <unistd.h>
#include <cerrno>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>

#include "dryer/link/dryer_image.h"
#include "platform/devices/local_socket.h"
#include "tests/support/child_process.h"
#include "tests/support/raw_client.h"

namespace {

namespace fs = std::filesystem;
using test_support::ChildProcess;
using test_support::WaitFor;

// One line from a running program's socket; empty when it does not answer.
std::string Ask(const fs::path& socket, const std::string& command)
{
    return test_support::Ask(socket.string(), command);
}

constexpr int kStartMs = 10'000;  // real time for a display to come up or to end

fs::path FreshRoot()
{
    static int serial = 0;
    const fs::path root =
        fs::temp_directory_path() /
        ("orbitdryer-proc-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    fs::remove_all(root);
    fs::create_directories(root);
    return root;
}

// The board's count of answered requests, from the simulator's status line.
long Answered(const fs::path& simSocket)
{
    const std::string status = Ask(simSocket, "status");
    const auto at = status.find("answered ");
    return at == std::string::npos ? -1 : std::stol(status.substr(at + 9));
}

// A display headless on the simulator, with both sockets in its root.
class Display {
public:
    explicit Display(const fs::path& root, std::vector<std::string> extra = {})
        : root_(root), child_(Args(root, std::move(extra)), root)
    {
    }
    static std::vector<std::string> Args(const fs::path& root, std::vector<std::string> extra)
    {
        fs::create_directories(root);  // the child's output files go there
        std::vector<std::string> args = {ORBITDRYER_EXECUTABLE,
                                         "--headless",
                                         "--root",
                                         root.string(),
                                         "--simulate",
                                         "--sim-control",
                                         (root / "sim.sock").string()};
        if (std::find(extra.begin(), extra.end(), "--control") == extra.end()) {
            extra.insert(extra.begin(), {"--control", (root / "control.sock").string()});
        }
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    }
    // Up when both sockets answer.
    bool Up()
    {
        return WaitFor(
                   [&] {
                       return !child_.running() || (!Ask(root_ / "control.sock", "idle").empty() &&
                                                    Answered(root_ / "sim.sock") >= 0);
                   },
                   kStartMs) &&
               child_.running();
    }
    // The display polls on: the board answers about three requests a second.
    bool Polls()
    {
        const long before = Answered(root_ / "sim.sock");
        return before >= 0 &&
               WaitFor([&] { return Answered(root_ / "sim.sock") >= before + 3; }, kStartMs);
    }
    ChildProcess& child() { return child_; }

private:
    fs::path root_;
    ChildProcess child_;
};

// Free: gone (a clean end removes it) or, when still there, lockable.
bool LockIsFree(const fs::path& lockFile)
{
    const int fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

class OrbitDryerEndsCleanly : public ::testing::TestWithParam<int> {};

TEST_P(OrbitDryerEndsCleanly, OnATerminationSignal)
{
    const fs::path root = FreshRoot();
    Display display(root);
    ASSERT_TRUE(display.Up()) << display.child().Stderr();
    ASSERT_TRUE(display.Polls());
    ASSERT_TRUE(display.child().Signal(GetParam()));
    EXPECT_EQ(display.child().ExitCode(kStartMs), 0) << display.child().Stderr();
    EXPECT_FALSE(fs::exists(root / "control.sock"));
    EXPECT_FALSE(fs::exists(root / "sim.sock"));
    EXPECT_TRUE(LockIsFree(root / "orbitdryer.lock"));
    EXPECT_FALSE(fs::exists(root / "orbitdryer.lock"));  // nothing left behind
    fs::remove_all(root);
}

INSTANTIATE_TEST_SUITE_P(Signals, OrbitDryerEndsCleanly, ::testing::Values(SIGTERM, SIGINT),
                         [](const auto& param) {
                             return std::string(param.param == SIGTERM ? "Term" : "Int");
                         });

TEST(OrbitDryerProcess, SecondStartSaysItRaisedTheFirst)
{
    const fs::path root = FreshRoot();
    Display first(root);
    ASSERT_TRUE(first.Up()) << first.child().Stderr();
    ChildProcess second({ORBITDRYER_EXECUTABLE, "--headless", "--root", root.string()}, root);
    EXPECT_EQ(second.ExitCode(kStartMs), 0);
    EXPECT_NE(second.Stderr().find("already runs on panel root"), std::string::npos)
        << second.Stderr();
    EXPECT_NE(second.Stderr().find("brought to the front"), std::string::npos);
    EXPECT_TRUE(first.Polls());
    fs::remove_all(root);
}

TEST(OrbitDryerProcess, LockThatCannotBeTakenStopsTheDisplayWithTheReason)
{
    const fs::path root = FreshRoot();
    fs::create_directories(root / "orbitdryer.lock");
    ChildProcess display(
        {ORBITDRYER_EXECUTABLE, "--headless", "--root", root.string(), "--simulate"}, root);
    EXPECT_EQ(display.ExitCode(kStartMs), 2);
    EXPECT_NE(display.Stderr().find("orbitdryer.lock"), std::string::npos) << display.Stderr();
    fs::remove_all(root);
}

TEST(OrbitDryerProcess, ControlPathsOfOthersAreNeverTaken)
{
    const fs::path root = FreshRoot();
    // A regular file with content.
    const fs::path notes = root / "notes.txt";
    std::ofstream(notes) << "dryer 2 auger bearing\n";
    ChildProcess onFile({ORBITDRYER_EXECUTABLE, "--headless", "--root", (root / "a").string(),
                         "--control", notes.string()},
                        root);
    EXPECT_EQ(onFile.ExitCode(kStartMs), 2);
    EXPECT_NE(onFile.Stderr().find("not a socket"), std::string::npos) << onFile.Stderr();
    EXPECT_EQ(test_support::ReadFile(notes), "dryer 2 auger bearing\n");

    // The live socket of a display on another root.
    Display first(root / "b");
    ASSERT_TRUE(first.Up()) << first.child().Stderr();
    ChildProcess second({ORBITDRYER_EXECUTABLE, "--headless", "--root", (root / "c").string(),
                         "--control", (root / "b" / "control.sock").string()},
                        root);
    EXPECT_EQ(second.ExitCode(kStartMs), 2);
    EXPECT_NE(second.Stderr().find("another running program"), std::string::npos);
    EXPECT_FALSE(Ask(root / "b" / "control.sock", "idle").empty());
    fs::remove_all(root);
}

TEST(OrbitDryerProcess, StaleSocketsOfAKilledDisplayAreTakenOver)
{
    const fs::path root = FreshRoot();
    {
        Display killed(root);
        ASSERT_TRUE(killed.Up());
        killed.child().Signal(SIGKILL);
        killed.child().WaitForExit(kStartMs);
    }
    ASSERT_TRUE(fs::exists(root / "control.sock"));
    Display next(root);
    EXPECT_TRUE(next.Up()) << next.child().Stderr();
    EXPECT_TRUE(next.Polls());
    fs::remove_all(root);
}

TEST(OrbitDryerProcess, RegularFileAsThePortIsRefusedAndLeftAlone)
{
    const fs::path root = FreshRoot();
    const fs::path file = root / "not-a-port";
    std::ofstream(file) << "x";
    ChildProcess display(
        {ORBITDRYER_EXECUTABLE, "--headless", "--root", root.string(), "--port", file.string()},
        root);
    EXPECT_EQ(display.ExitCode(kStartMs), 2);
    EXPECT_NE(display.Stderr().find("not a character device"), std::string::npos);
    EXPECT_EQ(fs::file_size(file), 1u);
    fs::remove_all(root);
}

TEST(OrbitDryerProcess, DamagedRegistryIsReportedOnStderrAndTheDisplayRuns)
{
    const fs::path root = FreshRoot();
    std::ofstream(root / "registry.sqlite") << "garbage where the settings were";
    Display display(root);
    ASSERT_TRUE(display.Up()) << display.child().Stderr();
    EXPECT_NE(display.child().Stderr().find("was damaged"), std::string::npos);
    EXPECT_NE(Ask(root / "control.sock", "tree").find("SETTINGS FILE DAMAGED"), std::string::npos);
    EXPECT_TRUE(display.Polls());
    display.child().Signal(SIGTERM);
    EXPECT_EQ(display.child().ExitCode(kStartMs), 0);
    fs::remove_all(root);
}

// Offsets beyond any date the panel can show, or before 1601: the host time is used instead,
// and the 1-second clock record keeps going to the board.
class OrbitDryerClockOffset : public ::testing::TestWithParam<const char*> {};

TEST_P(OrbitDryerClockOffset, OutOfRangeIsIgnoredAndTheClockRecordGoesOn)
{
    const fs::path root = FreshRoot();
    std::ofstream(root / "clock_offset.txt") << GetParam() << "\n";
    Display display(root);
    ASSERT_TRUE(display.Up()) << display.child().Stderr();
    const auto records = [&] {
        const std::string status = Ask(root / "sim.sock", "status");
        const auto at = status.find("records ");
        return at == std::string::npos ? -1L : std::stol(status.substr(at + 8));
    };
    const long before = records();
    EXPECT_TRUE(WaitFor([&] { return records() >= before + 2; }, kStartMs));
    EXPECT_NE(display.child().Stderr().find("clock_offset.txt"), std::string::npos);
    // The board's year is the host's.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::string year = "get " + std::to_string(ClockByte(ClockPart::year).offset);
    EXPECT_NE(Ask(root / "sim.sock", year).find("= " + std::to_string(local.tm_year % 100)),
              std::string::npos);
    fs::remove_all(root);
}

INSTANTIATE_TEST_SUITE_P(Offsets, OrbitDryerClockOffset,
                         ::testing::Values("9223372036854775807", "-9223372036854775807",
                                           "-20000000000000", "99999999999999999999"));

}  // namespace
