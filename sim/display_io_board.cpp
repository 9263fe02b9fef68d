// The simulated Display I/O board: request framing, the echo of command records into the
// image, the 302-byte answers, and the control language that injects faults.
#include "sim/display_io_board.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <sstream>

#include "common/link/link_crc16.h"
#include "sim/panel_io.h"

namespace sim {

namespace {

// The clock record: minute, hour, day, month, year modulo 100.
constexpr std::uint16_t kClockAddress = clockSetting.offset;
constexpr std::uint8_t kClockLength = clockSetting.width;
constexpr std::size_t kLongAnswerExtra = 32;
constexpr int kMaxFaultCount = 100000;
constexpr int kMaxNoiseBytes = 4096;
constexpr int kMaxSilentSeconds = 24 * 3600;
constexpr int kMaxAdvanceSeconds = 7 * 24 * 3600;

// The Fan/Heater count of a heater count code (0 one, 1 two, 2 three, 3 four, 4 six).
int HeaterCountOf(std::uint8_t code)
{
    return code >= 4 ? 6 : code + 1;
}

bool IsClockOffset(std::size_t offset)
{
    return offset >= kClockAddress && offset < kClockAddress + kClockLength;
}

// A decimal number, or hexadecimal with a 0x prefix, within [lo, hi].
std::optional<long> ParseNumber(const std::string& text, long lo, long hi)
{
    std::string_view s(text);
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        s.remove_prefix(2);
        base = 16;
    }
    long value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
    if (value < lo || value > hi) return std::nullopt;
    return value;
}

// A WarningCode as four hexadecimal digits ("0E05"), an optional 0x prefix allowed.
std::optional<WarningCode> ParseWarningCode(const std::string& text)
{
    std::string_view s(text);
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.remove_prefix(2);
    if (s.empty() || s.size() > 4) return std::nullopt;
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, 16);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return static_cast<WarningCode>(value);
}

std::string Hex4(unsigned value)
{
    char buf[8];
    std::snprintf(buf, sizeof(buf), "%04X", value & 0xFFFFu);
    return buf;
}

}  // namespace

std::string ControlHelp()
{
    return "control commands (one per line):\n"
           "  warn NNNN          raise WarningCode NNNN (hex, e.g. 0E05); the dryer shuts down\n"
           "  clear              clear the warning code\n"
           "  start | stop       start the dryer, or stop it (fans cool down)\n"
           "  silent SECONDS     answer nothing for SECONDS of panel time\n"
           "  badcrc N           the next N answers carry a wrong CRC (programming answers too)\n"
           "  short N            the next N answers are one byte short (302-byte ones: 301)\n"
           "  long N             the next N answers are followed by 32 stray bytes\n"
           "  noise N            N random bytes go out in front of the next answer\n"
           "  noecho OFFSET      refuse to write OFFSET from command records\n"
           "  echo OFFSET|all    write OFFSET (or every offset) again\n"
           "  set OFFSET VALUE   write one image byte (the dryer may change it again)\n"
           "  pin OFFSET VALUE   hold one image byte at VALUE; unpin OFFSET releases it\n"
           "  get OFFSET         read one image byte\n"
           "  advance SECONDS    run the dryer forward by SECONDS at once\n"
           "  scenario NAME      rebuild the dryer as a named scenario\n"
           "  status             one line on the dryer, the link and pending faults\n"
           "  help               this text\n"
           "numbers are decimal or 0x hexadecimal; offsets 0-299, values 0-255\n" +
           PanelIoControlHelp() + NetworkControlHelp();
}

DisplayIoBoard::DisplayIoBoard(const DryerConfig& config)
    : model_(config), network_(HeaterCountOf(config.heaterCountCode))
{
}

int DisplayIoBoard::Heaters() const
{
    return HeaterCountOf(model_.config().heaterCountCode);
}

StatusImage DisplayIoBoard::Image() const
{
    return model_.image();
}

std::vector<std::uint8_t> DisplayIoBoard::BuildAnswer() const
{
    std::vector<std::uint8_t> frame(kAnswerLength, 0);
    std::copy(model_.image().begin(), model_.image().end(), frame.begin());
    LinkCrc16Append(frame, kImageSize);
    return frame;
}

void DisplayIoBoard::AdvanceTo(std::int64_t nowMs)
{
    if (lastAdvanceMs_ >= 0 && nowMs > lastAdvanceMs_) model_.Advance(nowMs - lastAdvanceMs_);
    if (lastAdvanceMs_ < 0 || nowMs > lastAdvanceMs_) lastAdvanceMs_ = nowMs;
    for (auto [offset, value] : pinned_) model_.image()[offset] = value;
}

std::vector<std::uint8_t> DisplayIoBoard::Receive(std::span<const std::uint8_t> bytes,
                                                  std::int64_t nowMs)
{
    std::vector<std::uint8_t> out;
    framer_.Feed(bytes);
    while (std::optional<Request> request = framer_.Next()) {
        if (nowMs < silentUntilMs_) {
            ++counters_.requestsIgnored;  // a silent board hears nothing either
            continue;
        }
        if (request->kind == RequestKind::Programming) {
            ++counters_.programmingRequests;
            std::vector<std::uint8_t> answer = network_.Handle(request->frame);
            if (answer.empty()) {
                ++counters_.requestsIgnored;
            } else {
                AppendAnswer(out, std::move(answer));
            }
            continue;
        }
        Apply(*request);
        for (auto [offset, value] : pinned_) model_.image()[offset] = value;
        AppendAnswer(out, BuildAnswer());
    }
    return out;
}

void DisplayIoBoard::Apply(const Request& request)
{
    switch (request.kind) {
        case RequestKind::Poll: ++counters_.polls; return;
        case RequestKind::LinkReset: ++counters_.linkResets; return;
        case RequestKind::Command:
            ++counters_.commandFrames;
            for (const CommandRecord& record : request.records) ApplyRecord(record);
            return;
        case RequestKind::Programming: return;  // the board network answers these
    }
}

void DisplayIoBoard::ApplyRecord(const CommandRecord& record)
{
    if (record.address == kClockAddress && record.length == kClockLength) {
        // The board keeps the clock to itself; the answer does not carry it.
        std::array<std::uint8_t, kClockLength> clock{};
        std::copy_n(record.data.begin(), kClockLength, clock.begin());
        if (model_.SetClock(clock)) ++counters_.commandRecordsApplied;
        return;
    }
    bool wroteAll = true;
    bool wroteAny = false;
    for (std::size_t i = 0; i < record.length; ++i) {
        const std::size_t offset = record.address + i;
        if (offset >= kImageSize || IsClockOffset(offset) || refused_.contains(offset)) {
            wroteAll = false;
            continue;
        }
        model_.image()[offset] = record.data[i];
        wroteAny = true;
    }
    if (wroteAny) ++counters_.commandRecordsApplied;
    if (wroteAll) model_.OnRecordWritten(record.address, record.length);
}

void DisplayIoBoard::AppendAnswer(std::vector<std::uint8_t>& out, std::vector<std::uint8_t> frame)
{
    const auto nextNoise = [this] {
        noiseSeed_ ^= noiseSeed_ << 13;  // xorshift: cheap bytes that look like line noise
        noiseSeed_ ^= noiseSeed_ >> 17;
        noiseSeed_ ^= noiseSeed_ << 5;
        return static_cast<std::uint8_t>(noiseSeed_);
    };
    for (; noiseBytes_ > 0; --noiseBytes_) out.push_back(nextNoise());

    if (badCrcAnswers_ > 0) {
        --badCrcAnswers_;
        frame[frame.size() - 2] ^= 0xFF;  // the CRC's low byte
    }
    if (shortAnswers_ > 0) {
        --shortAnswers_;
        frame.pop_back();
    }
    out.insert(out.end(), frame.begin(), frame.end());
    if (longAnswers_ > 0) {
        --longAnswers_;
        for (std::size_t i = 0; i < kLongAnswerExtra; ++i) out.push_back(nextNoise());
    }
    ++counters_.requestsAnswered;
}

std::string DisplayIoBoard::Status(std::int64_t nowMs) const
{
    const StatusImage& image = model_.image();
    std::ostringstream s;
    s << "ok scenario " << model_.config().name << ", dryer "
      << (model_.running() ? "started" : "stopped");
    if (model_.coolDownSeconds() > 0) s << ", cool-down " << model_.coolDownSeconds() << " s";
    s << ", warning " << Hex4(ActiveWarningCode(image)) << ", plenum 1 "
      << Value(image, ForHeater(plenumTemp, 1)) << " F, grain "
      << Value(image, GrainTempEntry(Value(image, grainSensorSelect))) << " F, bph "
      << Value(image, bushelsPerHour) << ", answered " << counters_.requestsAnswered << ", records "
      << counters_.commandRecordsApplied;
    if (nowMs < silentUntilMs_) s << ", silent " << (silentUntilMs_ - nowMs) << " ms";
    if (badCrcAnswers_ > 0) s << ", badcrc " << badCrcAnswers_;
    if (shortAnswers_ > 0) s << ", short " << shortAnswers_;
    if (longAnswers_ > 0) s << ", long " << longAnswers_;
    if (!refused_.empty()) {
        s << ", noecho";
        for (std::uint16_t offset : refused_) s << ' ' << offset;
    }
    s << ", " << network_.Summary();
    return s.str();
}

std::string DisplayIoBoard::Control(const std::string& line, std::int64_t nowMs)
{
    {
        std::istringstream words(line);
        std::vector<std::string> split;
        for (std::string word; words >> word;) split.push_back(word);
        if (!split.empty() && BoardNetwork::IsNetworkCommand(split[0])) {
            return network_.Control(split, Heaters());
        }
        if (!split.empty() && IsPanelIoCommand(split[0])) {
            return PanelIoControl(model_.image(), split);
        }
    }
    std::istringstream in(line);
    std::string command, a, b, extra;
    in >> command >> a >> b >> extra;
    if (command.empty()) return "error: empty command (try help)";
    if (!extra.empty()) return "error: too many arguments (try help)";

    const auto offsetArg = [&](const std::string& text) {
        return ParseNumber(text, 0, static_cast<long>(kImageSize) - 1);
    };
    const auto countArg = [&](const std::string& text, int max) {
        return ParseNumber(text, 0, max);
    };

    if (command == "help") return ControlHelp();
    if (command == "status") return Status(nowMs);
    if (command == "warn") {
        const auto code = ParseWarningCode(a);
        if (!code || !b.empty()) return "error: warn needs a code of four hex digits, e.g. 0E05";
        model_.RaiseWarning(*code);
        return "ok warning " + Hex4(*code);
    }
    if (command == "clear") {
        model_.ClearWarning();
        return "ok warning cleared";
    }
    if (command == "start") {
        return model_.Start() ? "ok dryer started" : "error: clear the warning first";
    }
    if (command == "stop") {
        model_.Stop();
        return "ok dryer stopped";
    }
    if (command == "silent") {
        const auto seconds = countArg(a, kMaxSilentSeconds);
        if (!seconds || !b.empty()) {
            return "error: silent needs SECONDS (0-" + std::to_string(kMaxSilentSeconds) + ")";
        }
        silentUntilMs_ = nowMs + *seconds * 1000;
        return "ok silent for " + std::to_string(*seconds) + " s";
    }
    if (command == "badcrc" || command == "short" || command == "long" || command == "noise") {
        const int max = command == "noise" ? kMaxNoiseBytes : kMaxFaultCount;
        const auto n = countArg(a, max);
        if (!n || !b.empty()) {
            return "error: " + command + " needs a count N (0-" + std::to_string(max) + ")";
        }
        int& target = command == "badcrc"  ? badCrcAnswers_
                      : command == "short" ? shortAnswers_
                      : command == "long"  ? longAnswers_
                                           : noiseBytes_;
        target = static_cast<int>(*n);
        return "ok " + command + " " + std::to_string(*n);
    }
    if (command == "noecho") {
        const auto offset = offsetArg(a);
        if (!offset || !b.empty()) return "error: noecho needs an OFFSET (0-299)";
        refused_.insert(static_cast<std::uint16_t>(*offset));
        return "ok offset " + std::to_string(*offset) + " is not echoed";
    }
    if (command == "echo") {
        if (a == "all" && b.empty()) {
            refused_.clear();
            return "ok every offset is echoed";
        }
        const auto offset = offsetArg(a);
        if (!offset || !b.empty()) return "error: echo needs an OFFSET (0-299) or all";
        refused_.erase(static_cast<std::uint16_t>(*offset));
        return "ok offset " + std::to_string(*offset) + " is echoed";
    }
    if (command == "set" || command == "pin") {
        const auto offset = offsetArg(a);
        const auto value = ParseNumber(b, 0, 255);
        if (!offset || !value) return "error: " + command + " needs OFFSET (0-299) VALUE (0-255)";
        const auto at = static_cast<std::uint16_t>(*offset);
        const auto byte = static_cast<std::uint8_t>(*value);
        model_.image()[at] = byte;
        if (command == "pin") {
            std::erase_if(pinned_, [at](const auto& p) { return p.first == at; });
            pinned_.emplace_back(at, byte);
        }
        return "ok " + std::to_string(at) + " = " + std::to_string(byte);
    }
    if (command == "unpin") {
        const auto offset = offsetArg(a);
        if (!offset || !b.empty()) return "error: unpin needs an OFFSET (0-299)";
        std::erase_if(pinned_, [&](const auto& p) { return p.first == *offset; });
        return "ok offset " + std::to_string(*offset) + " released";
    }
    if (command == "get") {
        const auto offset = offsetArg(a);
        if (!offset || !b.empty()) return "error: get needs an OFFSET (0-299)";
        const std::size_t at = static_cast<std::size_t>(*offset);
        const std::uint8_t value =
            IsClockOffset(at) ? model_.clock()[at - kClockAddress] : model_.image()[at];
        char buf[48];
        std::snprintf(buf, sizeof(buf), "ok %zu = %u (0x%02X)", at, value, value);
        return buf;
    }
    if (command == "advance") {
        const auto seconds = countArg(a, kMaxAdvanceSeconds);
        if (!seconds || !b.empty()) {
            return "error: advance needs SECONDS (0-" + std::to_string(kMaxAdvanceSeconds) + ")";
        }
        for (long i = 0; i < *seconds; ++i) model_.Step();
        for (auto [offset, value] : pinned_) model_.image()[offset] = value;
        return "ok advanced " + std::to_string(*seconds) + " s";
    }
    if (command == "scenario") {
        const auto config = FindScenario(a);
        if (!config || !b.empty())
            return "error: scenario needs a NAME, one of: " + ScenarioNames();
        model_.Reset(*config);
        network_.Rebuild(Heaters());
        for (auto [offset, value] : pinned_) model_.image()[offset] = value;
        return "ok scenario " + config->name;
    }
    return "error: unknown command '" + command + "' (try help)";
}

}  // namespace sim
