// How long NodeFlasher takes to program a board with 64 KiB of program, in panel time, against
// the simulated Display I/O board, set beside what the line and the tick allow:
// - the wire: a 256-byte block is a 261-byte request and a 5-byte answer, 266 characters of
//   11 bits (8E1) at 38400 baud: 76.2 ms per block;
// - the tick order: a block is prepared and sent on one tick, its answer can be read no sooner
//   than the next tick and is decoded there, and the next block goes on the tick after: at
//   best one block every 2 ticks (100 ms) when the answer is back within one tick, and every
//   3 ticks (150 ms) when, as on the real wire, it takes longer than 50 ms.
// Two lines are measured: the board in memory answering only once the wire time has passed on
// the panel clock ("wire_paced"), and the simulator on a pseudo-terminal answering at once
// ("pty"). The reported time is panel time (manual time); the counters give the write phase
// per block.
#include <benchmark/benchmark.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "flasher/network_scan.h"
#include "flasher/node_link.h"
#include "flasher/upload.h"
#include "platform/devices/serial.h"
#include "platform/runtime/clock.h"
#include "platform/storage/files.h"
#include "sim/display_io_board.h"
#include "sim/display_io_sim.h"
#include "tests/flasher/hex_text_support.h"

namespace {

constexpr std::size_t kImageBytes = 64 * 1024;
constexpr double kBaud = 38400.0;
constexpr double kBitsPerCharacter = 11.0;  // start, 8 data, even parity, stop
constexpr double kWireMsPerBlock = (261 + 5) * kBitsPerCharacter / kBaud * 1000.0;

// ---- the board in memory, paced by the wire ----

struct PacedLine {
    sim::DisplayIoBoard board;
    std::deque<std::uint8_t> answer;  // bytes of the answer on its way
    std::int64_t readyAtMs = 0;       // panel time when its last byte has arrived
};
std::unique_ptr<PacedLine> gPaced;

DWORD PacedRead(HANDLE, std::uint8_t* buffer, DWORD size)
{
    if (platform::NowMs() < gPaced->readyAtMs) return 0;
    DWORD n = 0;
    while (n < size && !gPaced->answer.empty()) {
        buffer[n++] = gPaced->answer.front();
        gPaced->answer.pop_front();
    }
    return n;
}

void PacedWrite(HANDLE, const std::uint8_t* bytes, DWORD size)
{
    const std::vector<std::uint8_t> reply = gPaced->board.Receive(std::span(bytes, size), 0);
    gPaced->answer.assign(reply.begin(), reply.end());
    const double wireMs = (size + reply.size()) * kBitsPerCharacter / kBaud * 1000.0;
    gPaced->readyAtMs = platform::NowMs() + static_cast<std::int64_t>(wireMs + 0.999);
}

void PacedPurge(HANDLE, DWORD flags)
{
    if ((flags & PURGE_RXCLEAR) != 0) gPaced->answer.clear();
}

constexpr NodePortOps kPacedOps{PacedRead, PacedWrite, PacedPurge};

// ---- what the upload shows ----

std::int64_t gFirstProgressMs = -1;
std::int64_t gLastProgressMs = -1;
bool gClosed = false;

void NoteProgress(const wchar_t*)
{
    if (gFirstProgressMs < 0) gFirstProgressMs = platform::NowMs();
    gLastProgressMs = platform::NowMs();
}

void Prepare(const std::filesystem::path& root)
{
    if (!platform::IsVirtualClock()) {
        SYSTEMTIME start{};
        start.wYear = 2026;
        start.wMonth = 12;
        start.wDay = 8;
        platform::UseVirtualClock(start);
    }
    const auto release = root / "Hard Disk" / "CAN_DRYER_P101";
    std::filesystem::create_directories(release);
    hex_test::WriteFile(release / "DI.HEX",
                        hex_test::WriteHex({{0x10000, hex_test::Pattern(kImageBytes, 7)}}, {}));
    platform::SetPanelRoots(root, root / "usb");

    ResetNodeLinkForTest();
    ResetNetworkScanForTest();
    ResetUploadForTest();
    FlasherTickSteps steps;
    steps.resetExchange = [] {
        ResetUploadFlags();
        ResetScanFlags();
    };
    PlugNetworkScan(steps);
    UploadScreenOps ops;
    ops.replaceLastLine = NoteProgress;
    ops.closeDialog = [] { gClosed = true; };
    PlugUpload(steps, ops);
    SetFlasherTickSteps(steps);
    gFirstProgressMs = gLastProgressMs = -1;
    gClosed = false;
}

// One 50 ms tick; `afterSend` runs when the tick sent a request.
template <typename AfterSend>
void Tick(AfterSend afterSend)
{
    platform::SetVirtualNow(platform::NowMs() + kFlasherTickMs);
    FlasherTick();
    if (NodeLink.awaitingAnswer && NodeLink.answerTimeout == kAnswerTimeoutTicks) afterSend();
}

// Scans (only the Display I/O is left on the network), uploads, and reports panel time.
template <typename AfterSend>
void RunUpload(benchmark::State& state, AfterSend afterSend)
{
    StartScan();
    for (int i = 0; i < 400 && !NetworkScan.scanDone; ++i) Tick(afterSend);
    ListHexFiles(L"\\Hard Disk\\CAN_DRYER_P101");
    const std::int64_t start = platform::NowMs();
    StartUploadRun(L"CAN_DRYER_P101", L"\\Hard Disk\\CAN_DRYER_P101");
    while (!gClosed && platform::NowMs() - start < 600000) Tick(afterSend);
    const double totalMs = static_cast<double>(platform::NowMs() - start);
    const double blocks = kImageBytes / static_cast<double>(kBlockDataSize);
    // From the first block's progress line to the last: every block but the first.
    const double writeMsPerBlock =
        static_cast<double>(gLastProgressMs - gFirstProgressMs) / (blocks - 1);
    state.SetIterationTime(totalMs / 1000.0);
    state.counters["upload_s"] = totalMs / 1000.0;
    state.counters["ms_per_block"] = writeMsPerBlock;
    state.counters["ticks_per_block"] = writeMsPerBlock / kFlasherTickMs;
    state.counters["wire_ms_per_block"] = kWireMsPerBlock;
    state.counters["wire_limit_s"] = blocks * kWireMsPerBlock / 1000.0;
    if (!gClosed) state.SkipWithError("the upload did not finish");
}

void SilenceOtherBoards(const std::function<void(const std::string&)>& control)
{
    for (int slot : {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}) {
        control("unplug " + std::to_string(slot));
    }
}

void BM_Upload64KiB_WirePaced(benchmark::State& state)
{
    hex_test::TempFolder root;
    for (auto _ : state) {
        Prepare(root.path());
        gPaced = std::make_unique<PacedLine>();
        gPaced->board.Control("network", 0);
        SilenceOtherBoards([](const std::string& c) { gPaced->board.Control(c, 0); });
        SetNodePortOps(&kPacedOps);
        SetNodeLinkPort(reinterpret_cast<HANDLE>(std::uintptr_t{0x10}));
        RunUpload(state, [] {});
        gPaced.reset();
    }
}
BENCHMARK(BM_Upload64KiB_WirePaced)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_Upload64KiB_Pty(benchmark::State& state)
{
    hex_test::TempFolder root;
    for (auto _ : state) {
        Prepare(root.path());
        sim::DisplayIoSimulator simulator(sim::SimOptions{});
        if (!simulator.Start()) {
            state.SkipWithError("the simulator could not start");
            return;
        }
        simulator.Control("network");
        SilenceOtherBoards([&](const std::string& c) { simulator.Control(c); });
        platform::SetComPortDevice(L"COM1:", simulator.devicePath());
        if (!OpenNodeLink()) {
            state.SkipWithError("the link could not open");
            return;
        }
        std::uint64_t sent = simulator.requestsAnswered();
        RunUpload(state, [&] { simulator.WaitForAnswered(++sent, 2000); });
        CloseNodeLink();
    }
}
BENCHMARK(BM_Upload64KiB_Pty)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
