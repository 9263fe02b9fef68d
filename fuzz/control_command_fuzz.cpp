// Random bytes on a control socket: they are cut into lines in random read sizes, each line is
// parsed as an automation command, and every refusal is rendered as the JSON answer. The lines
// must be exactly those a plain split gives (a too long line refused, its tail never a line of
// its own), a parsed command must be within its ranges, and every answer must parse as JSON.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/devices/line_server.h"
#include "platform/runtime/control_command.h"
#include "platform/runtime/detail_automation_json.h"

namespace {

constexpr std::size_t kMaxLine = 64;  // small, so that cut lines are found quickly

void Check(bool condition)
{
    if (!condition) std::abort();
}

// What the framer must give: the input split at newlines, a "\r" before one dropped, and
// lines over the limit refused (an unfinished last line as soon as it passes the limit; else
// it gives nothing yet).
std::vector<platform::LineFramer::Line> PlainSplit(std::string_view bytes)
{
    std::vector<platform::LineFramer::Line> lines;
    for (std::size_t nl = bytes.find('\n'); nl != std::string_view::npos; nl = bytes.find('\n')) {
        std::string_view line = bytes.substr(0, nl);
        if (line.size() > kMaxLine) {
            lines.push_back({{}, true});
        } else {
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            lines.push_back({std::string(line), false});
        }
        bytes.remove_prefix(nl + 1);
    }
    if (bytes.size() > kMaxLine) lines.push_back({{}, true});
    return lines;
}

void CheckCommand(const platform::ControlCommand& c)
{
    using platform::ControlVerb;
    Check(c.x >= -platform::kMaxControlCoordinate && c.x <= platform::kMaxControlCoordinate);
    Check(c.y >= -platform::kMaxControlCoordinate && c.y <= platform::kMaxControlCoordinate);
    Check(c.id >= 0 && c.id <= 0xFFFF);
    Check(c.ms >= 0 && c.ms <= platform::kMaxControlAdvanceMs);
    if (c.verb == ControlVerb::Key) Check(c.key >= 1 && c.key <= platform::kMaxVirtualKey);
    if (c.verb == ControlVerb::Answer || c.verb == ControlVerb::Screenshot) {
        Check(!c.text.empty());
    }
}

void CheckJson(const std::string& answer)
{
    Check(answer.find('\n') == std::string::npos);
    const auto json = nlohmann::json::parse(answer, nullptr, false);
    Check(!json.is_discarded());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::size_t chunk = data[0] % 16 + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    platform::LineFramer framer(kMaxLine);
    std::deque<platform::LineFramer::Line> lines;
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
        framer.Feed(bytes.substr(at, chunk), lines);
    }
    const auto expected = PlainSplit(bytes);
    Check(lines.size() == expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Check(lines[i].cut == expected[i].cut && lines[i].text == expected[i].text);
        if (lines[i].cut) continue;
        const auto parsed = platform::ParseControlCommand(lines[i].text);
        if (const auto* refusal = std::get_if<platform::ControlRefusal>(&parsed)) {
            CheckJson(platform::detail::ErrorJson(refusal->why));
        } else {
            CheckCommand(std::get<platform::ControlCommand>(parsed));
        }
    }
    // The same bytes as wide panel text (any values, surrogates included) make valid JSON.
    std::wstring wide;
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        std::uint32_t unit = 0;
        for (std::size_t b = 0; b < 4; ++b) {
            unit |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[i + b])) << (8 * b);
        }
        wide.push_back(static_cast<wchar_t>(unit % 0x120000));
    }
    CheckJson(platform::detail::ErrorJson(platform::detail::JsonText(wide)));
    return 0;
}
