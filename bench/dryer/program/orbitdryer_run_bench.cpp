// Runs the orbitdryer program as a child process, headless, against the simulated Display
// I/O board (running dryer: fans, loading and unloading animate) for one real minute, and
// reports the child's CPU use in percent of one core and its peak resident memory.
// ORBITDRYER_BENCH_SECONDS shortens or lengthens the run.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "sim/display_io_sim.h"

extern char** environ;

namespace {

struct RunFigures {
    double cpuPercent = 0;
    double peakRssMb = 0;
    double requestsPerSecond = 0;
    bool ok = false;
};

int RunSeconds()
{
    const char* env = std::getenv("ORBITDRYER_BENCH_SECONDS");
    const int s = env != nullptr ? std::atoi(env) : 60;
    return s > 0 ? s : 60;
}

// User plus system CPU seconds of a process, from /proc/<pid>/stat.
double CpuSeconds(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(in, line);
    const auto close = line.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream rest(line.substr(close + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i) {
        if (i == 14) utime = std::stoull(field);
        if (i == 15) stime = std::stoull(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Peak resident set (VmHWM) in megabytes.
double PeakRssMb(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (in >> key) {
        if (key == "VmHWM:") {
            double kb = 0;
            in >> kb;
            return kb / 1024.0;
        }
        std::string skip;
        std::getline(in, skip);
    }
    return 0;
}

RunFigures RunOrbitDryer(int seconds)
{
    RunFigures figures;
    sim::DisplayIoSimulator simulator(sim::SimOptions{});
    if (!simulator.Start()) return figures;
    simulator.Control("start");

    const auto root =
        std::filesystem::temp_directory_path() / ("orbitdryer-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(root);
    std::vector<std::string> args = {ORBITDRYER_EXECUTABLE, "--headless", "--root",
                                     root.string(),         "--port",     simulator.devicePath()};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return figures;

    // Let start-up settle, then measure whole seconds of the steady state.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const double cpuStart = CpuSeconds(pid);
    const std::uint64_t answeredStart = simulator.requestsAnswered();
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    figures.cpuPercent = 100.0 * (CpuSeconds(pid) - cpuStart) / wall;
    figures.peakRssMb = PeakRssMb(pid);
    figures.requestsPerSecond =
        static_cast<double>(simulator.requestsAnswered() - answeredStart) / wall;
    figures.ok = true;

    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    simulator.Stop();
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return figures;
}

void BM_OrbitDryerHeadlessMinute(benchmark::State& state)
{
    RunFigures figures;
    for (auto _ : state) figures = RunOrbitDryer(RunSeconds());
    if (!figures.ok) {
        state.SkipWithError("orbitdryer or the simulator could not start");
        return;
    }
    state.counters["cpu_percent"] = figures.cpuPercent;
    state.counters["peak_rss_mb"] = figures.peakRssMb;
    state.counters["requests_per_s"] = figures.requestsPerSecond;
}
BENCHMARK(BM_OrbitDryerHeadlessMinute)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
