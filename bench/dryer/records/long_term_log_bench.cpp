// The long-term log's work on the user-interface thread: the 12-second tick's append to a log
// near its 5 MiB limit (open, size, append, close), and the copy of a full log to the USB drive
// that the operator waits for in the set-up dialog.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "dryer/records/long_term_log.h"
#include "dryer/records/long_term_log_export.h"
#include "platform/runtime/clock.h"
#include "platform/storage/files.h"

namespace {

// A panel root on a RAM disk where there is one, so the numbers are the panel's work rather
// than the host's disk.
std::filesystem::path BenchRoot()
{
    const std::filesystem::path shm = "/dev/shm";
    const std::filesystem::path base =
        std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
    return base / ("longterm-bench-" + std::to_string(::getpid()));
}

class Root {
public:
    explicit Root(std::uint64_t logSize) : root_(BenchRoot())
    {
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "Hard Disk" / "DataLog");
        std::filesystem::create_directories(root_ / "usb");
        platform::SetPanelRoots(root_, root_ / "usb");
        std::ofstream(root_ / "Hard Disk" / "DataLog" / "LongTermDataLog.dat", std::ios::binary)
            << std::string(static_cast<std::size_t>(logSize), '\x05');
    }
    ~Root() { std::filesystem::remove_all(root_); }
    const std::filesystem::path& path() const { return root_; }

private:
    std::filesystem::path root_;
};

void TickAppendNearTheLimit(benchmark::State& state)
{
    const Root root(kLongTermFileFull - 16 * 20001);  // every append fits, the last one at 99 %
    LongTermRecord record{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteLongTermRecord(record, true));
    }
}
BENCHMARK(TickAppendNearTheLimit)->Unit(benchmark::kMicrosecond)->Iterations(20000);

void CopyAFullLogToUsb(benchmark::State& state)
{
    const Root root(kLongTermFileFull);
    SYSTEMTIME t{};
    t.wYear = 2026;
    t.wMonth = 3;
    t.wDay = 3;
    int second = 0;
    for (auto _ : state) {
        t.wHour = static_cast<WORD>(second / 3600);
        t.wMinute = static_cast<WORD>(second / 60 % 60);
        t.wSecond = static_cast<WORD>(second % 60);
        ++second;
        const LongTermCopyResult result = CopyLongTermLogToUsb(t);
        if (result.outcome != LongTermCopyOutcome::done) state.SkipWithError("copy failed");
        state.PauseTiming();
        std::filesystem::remove(root.path() / "usb" / platform::Narrow(result.fileName));
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kLongTermFileFull));
}
BENCHMARK(CopyAFullLogToUsb)->Unit(benchmark::kMillisecond);

}  // namespace
