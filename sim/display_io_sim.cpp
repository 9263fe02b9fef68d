// The simulator's serving thread: it reads request bytes from the line, hands them to the
// board, and writes the answers back at once. The board is shared with control calls from
// other threads under one mutex; the counters the link tests wait on are atomics.
#include "sim/display_io_sim.h"

#include "common/link/link_port.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/threads.h"
#include "platform/storage/files.h"

namespace sim {

namespace {

constexpr int kReadSliceMs = 10;                 // real-time wait for request bytes per round
constexpr wchar_t kDevicePortName[] = L"COM9:";  // the simulator's own name for a given device
constexpr std::size_t kReadChunk = 512;
constexpr int kSettleMs = 2;

}  // namespace

std::optional<DryerConfig> ConfigFromOptions(const SimOptions& options, std::string* error)
{
    const auto fail = [error](const std::string& why) -> std::optional<DryerConfig> {
        if (error != nullptr) *error = why;
        return std::nullopt;
    };
    std::optional<DryerConfig> config = FindScenario(options.scenario);
    if (!config) {
        return fail("unknown scenario '" + options.scenario + "'; one of: " + ScenarioNames());
    }
    if (options.heaters != -1) {
        const auto code = HeaterCountCodeFor(options.heaters);
        if (!code) {
            return fail("fan/heater count " + std::to_string(options.heaters) +
                        " is not one of 1, 2, 3, 4 or 6");
        }
        config->heaterCountCode = *code;
    }
    if (options.modules != -1) {
        if (options.modules < 1 || options.modules > 3) {
            return fail("module count " + std::to_string(options.modules) + " is not 1-3");
        }
        config->moduleCountCode = static_cast<std::uint8_t>(options.modules - 1);
    }
    if (options.dryingType != -1) {
        if (options.dryingType < 0 || options.dryingType > 1) return fail("bad drying type");
        config->dryingType = static_cast<std::uint8_t>(options.dryingType);
    }
    if (options.celsius != -1) {
        config->unitsAndOptions =
            static_cast<std::uint8_t>(options.celsius != 0 ? (config->unitsAndOptions | 0x80)
                                                           : (config->unitsAndOptions & 0x7F));
    }
    if (options.dualHeat != -1) {
        config->dryerOptions = static_cast<std::uint8_t>(
            options.dualHeat != 0 ? (config->dryerOptions | 0x02) : (config->dryerOptions & ~0x02));
    }
    for (auto [offset, value] : options.presets) {
        if (offset < 0 || offset >= static_cast<int>(kImageSize) || value < 0 || value > 255) {
            return fail("preset bytes need OFFSET 0-299 and VALUE 0-255");
        }
    }
    return config;
}

DisplayIoSimulator::DisplayIoSimulator(SimOptions options)
    : options_(std::move(options)),
      board_(ConfigFromOptions(options_, nullptr).value_or(DryerConfig{}))
{
    board_.model().SetSettingsFile(options_.settingsFile);
    for (auto [offset, value] : options_.presets) {
        if (offset >= 0 && offset < static_cast<int>(kImageSize) && value >= 0 && value <= 255) {
            board_.model().image()[static_cast<std::size_t>(offset)] =
                static_cast<std::uint8_t>(value);
        }
    }
}

DisplayIoSimulator::~DisplayIoSimulator()
{
    Stop();
}

bool DisplayIoSimulator::Start()
{
    if (thread_ != nullptr) return true;
    if (!ConfigFromOptions(options_, &lastError_)) return false;
    if (options_.device.empty()) {
        pty_ = std::make_unique<platform::PseudoTerminal>();
        if (!pty_->valid()) {
            lastError_ = "cannot open a pseudo-terminal";
            pty_.reset();
            return false;
        }
        devicePath_ = pty_->slavePath();
    } else {
        platform::SetComPortDevice(kDevicePortName, options_.device);
        // The board's end of the line runs as the panel's does: 38400 baud, 8 data bits, even
        // parity, reads that return at once with what is there.
        port_ = OpenLinkPort(kDevicePortName);
        if (port_ == INVALID_HANDLE_VALUE) {
            lastError_ = "cannot open " + options_.device;
            return false;
        }
        devicePath_ = options_.device;
    }
    {
        std::lock_guard lock(mutex_);
        if (options_.realTime) board_.AdvanceTo(platform::NowMs());
    }
    stop_ = false;
    thread_ = CreateThread(nullptr, 0, &DisplayIoSimulator::ServeThread, this, 0, nullptr);
    if (thread_ == nullptr) {
        lastError_ = "cannot start the serving thread";
        return false;
    }
    return true;
}

void DisplayIoSimulator::Stop()
{
    if (thread_ != nullptr) {
        stop_ = true;
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    if (port_ != INVALID_HANDLE_VALUE) {
        CloseHandle(port_);
        port_ = INVALID_HANDLE_VALUE;
    }
    pty_.reset();
}

DWORD DisplayIoSimulator::ServeThread(void* self)
{
    static_cast<DisplayIoSimulator*>(self)->Serve();
    return 0;
}

int DisplayIoSimulator::ReadLine(std::span<std::uint8_t> buffer)
{
    if (pty_) return platform::ReadStream(pty_->masterFd(), buffer, kReadSliceMs);
    DWORD got = 0;
    if (!ReadFile(port_, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
        return -1;
    }
    if (got == 0) {
        // Nothing buffered on the device: wait a slice for the panel's next request.
        platform::RealTimeSignal idle;
        idle.WaitFor([] { return false; }, kReadSliceMs);
    }
    return static_cast<int>(got);
}

bool DisplayIoSimulator::WriteLine(std::span<const std::uint8_t> bytes)
{
    if (pty_) return platform::WriteStream(pty_->masterFd(), bytes);
    DWORD written = 0;
    return WriteFile(port_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

void DisplayIoSimulator::Serve()
{
    std::array<std::uint8_t, kReadChunk> buffer{};
    while (!stop_) {
        const int got = ReadLine(buffer);
        std::vector<std::uint8_t> answer;
        std::uint64_t answered = 0;
        {
            std::lock_guard lock(mutex_);
            const std::int64_t now = platform::NowMs();
            if (options_.realTime) board_.AdvanceTo(now);
            if (got > 0) {
                answer =
                    board_.Receive(std::span(buffer.data(), static_cast<std::size_t>(got)), now);
            }
            answered = board_.counters().requestsAnswered;
            recordsApplied_ = board_.counters().commandRecordsApplied;
        }
        if (!answer.empty()) {
            WriteLine(answer);  // a failed write is a lost answer, as on a real line
            // The pseudo-terminal hands bytes to the slave side asynchronously; give it a
            // moment so that a panel told "answered" finds the whole frame there.
            platform::RealTimeSignal settle;
            settle.WaitFor([] { return false; }, kSettleMs);
        }
        if (answered != answered_.load()) {
            answered_ = answered;
            answeredSignal_.Notify();
        }
        if (got < 0) {
            // The line failed (device gone): wait a slice rather than spin.
            platform::RealTimeSignal idle;
            idle.WaitFor([this] { return stop_.load(); }, kReadSliceMs * 10);
        }
    }
}

std::string DisplayIoSimulator::Control(const std::string& line)
{
    std::lock_guard lock(mutex_);
    const std::int64_t now = platform::NowMs();
    if (options_.realTime) board_.AdvanceTo(now);
    return board_.Control(line, now);
}

std::array<std::uint8_t, 300> DisplayIoSimulator::Image() const
{
    std::lock_guard lock(mutex_);
    return board_.Image();
}

bool DisplayIoSimulator::WaitForAnswers(std::uint64_t count, int timeoutMs)
{
    return WaitForAnswered(answered_.load() + count, timeoutMs);
}

bool DisplayIoSimulator::WaitForAnswered(std::uint64_t total, int timeoutMs)
{
    return answeredSignal_.WaitFor([&] { return answered_.load() >= total; }, timeoutMs);
}

}  // namespace sim
