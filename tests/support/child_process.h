// Test harness for whole programs as child processes: the built executable started with its
// own stdout and stderr files, signalled and waited for with bounded real-time waits. The
// programs run on the real clock, so these waits are for the child, never for panel time.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace test_support {

// Polls a condition until it holds or timeoutMs real milliseconds have passed.
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

inline std::string ReadFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ChildProcess {
public:
    // Starts args[0] with the rest as its arguments; stdin is /dev/null, stdout and stderr go
    // to files in `folder`.
    ChildProcess(std::vector<std::string> args, const std::filesystem::path& folder)
        : out_(folder / ("child-" + std::to_string(++Serial()) + ".out")),
          err_(folder / ("child-" + std::to_string(Serial()) + ".err"))
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&actions, 2, err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ChildProcess()
    {
        if (running()) {
            ::kill(pid_, SIGKILL);
            WaitForExit(5000);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    bool running() const { return pid_ > 0 && !status_; }
    bool Signal(int signal) const { return running() && ::kill(pid_, signal) == 0; }

    // The wait status once the child ended within timeoutMs, else nothing.
    std::optional<int> WaitForExit(int timeoutMs)
    {
        WaitFor(
            [this] {
                int status = 0;
                if (pid_ > 0 && !status_ && ::waitpid(pid_, &status, WNOHANG) == pid_) {
                    status_ = status;
                }
                return status_.has_value() || pid_ <= 0;
            },
            timeoutMs);
        return status_;
    }
    // The exit code of a child that ended by itself; -1 for an end by signal or no end.
    int ExitCode(int timeoutMs)
    {
        const auto status = WaitForExit(timeoutMs);
        return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
    }

    std::string Stdout() const { return ReadFile(out_); }
    std::string Stderr() const { return ReadFile(err_); }

private:
    static int& Serial()
    {
        static int serial = 0;
        return serial;
    }

    std::filesystem::path out_;
    std::filesystem::path err_;
    pid_t pid_ = -1;
    std::optional<int> status_;
};

}  // namespace test_support
