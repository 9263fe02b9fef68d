// Parsing of automation command lines: words split at blanks, numbers read whole (decimal, or
// hexadecimal with 0x where ids and keys are given) and checked against their ranges.
#include "platform/runtime/control_command.h"

#include <charconv>
#include <optional>
#include <vector>

namespace platform {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view TrimLeft(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    return s;
}

std::string_view Trim(std::string_view s)
{
    s = TrimLeft(s);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The next word and what follows it.
std::string_view NextWord(std::string_view& rest)
{
    rest = TrimLeft(rest);
    std::size_t n = 0;
    while (n < rest.size() && !IsBlank(rest[n])) ++n;
    const std::string_view word = rest.substr(0, n);
    rest.remove_prefix(n);
    return word;
}

std::vector<std::string_view> Words(std::string_view rest)
{
    std::vector<std::string_view> words;
    for (std::string_view w = NextWord(rest); !w.empty(); w = NextWord(rest)) words.push_back(w);
    return words;
}

// A whole number within [lo, hi]: decimal, or hexadecimal after 0x when hex is allowed.
std::optional<std::int64_t> Number(std::string_view text, std::int64_t lo, std::int64_t hi,
                                   bool hex)
{
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    int base = 10;
    if (hex && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty()) return std::nullopt;
    std::uint64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    // Out of the int64 range is out of every range here.
    if (magnitude > static_cast<std::uint64_t>(INT64_MAX)) return std::nullopt;
    const auto value =
        negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (value < lo || value > hi) return std::nullopt;
    return value;
}

ControlRefusal Usage(std::string_view usage)
{
    return ControlRefusal{"usage: " + std::string(usage)};
}

std::variant<ControlCommand, ControlRefusal> Point(ControlVerb verb, std::string_view name,
                                                   std::string_view rest)
{
    const std::vector<std::string_view> words = Words(rest);
    const std::string usage = std::string(name) + " X Y (each -" +
                              std::to_string(kMaxControlCoordinate) + " to " +
                              std::to_string(kMaxControlCoordinate) + ")";
    if (words.size() != 2) return Usage(usage);
    const auto x = Number(words[0], -kMaxControlCoordinate, kMaxControlCoordinate, false);
    const auto y = Number(words[1], -kMaxControlCoordinate, kMaxControlCoordinate, false);
    if (!x || !y) return Usage(usage);
    ControlCommand c;
    c.verb = verb;
    c.x = static_cast<int>(*x);
    c.y = static_cast<int>(*y);
    return c;
}

}  // namespace

std::variant<ControlCommand, ControlRefusal> ParseControlCommand(std::string_view line)
{
    std::string_view rest = line;
    const std::string_view verb = NextWord(rest);
    if (verb.empty()) return ControlRefusal{"empty command"};
    ControlCommand c;
    if (verb == "tap") return Point(ControlVerb::Tap, verb, rest);
    if (verb == "down") return Point(ControlVerb::Down, verb, rest);
    if (verb == "up") return Point(ControlVerb::Up, verb, rest);
    if (verb == "move") return Point(ControlVerb::Move, verb, rest);
    if (verb == "press") {
        const std::vector<std::string_view> words = Words(rest);
        const auto id = words.size() == 1 ? Number(words[0], 0, 0xFFFF, true) : std::nullopt;
        if (!id) return Usage("press ID (a control id, 0-65535 or 0x0-0xFFFF)");
        c.verb = ControlVerb::Press;
        c.id = static_cast<int>(*id);
        return c;
    }
    if (verb == "tree" || verb == "idle") {
        if (!Words(rest).empty()) return Usage(std::string(verb) + " (no arguments)");
        c.verb = verb == "tree" ? ControlVerb::Tree : ControlVerb::Idle;
        return c;
    }
    if (verb == "answer" || verb == "screenshot") {
        const std::string_view text = Trim(rest);
        if (text.empty()) return Usage(verb == "answer" ? "answer BUTTON" : "screenshot PATH");
        c.verb = verb == "answer" ? ControlVerb::Answer : ControlVerb::Screenshot;
        c.text = std::string(text);
        return c;
    }
    if (verb == "key") {
        const std::vector<std::string_view> words = Words(rest);
        const auto key = !words.empty() ? Number(words[0], 1, kMaxVirtualKey, true) : std::nullopt;
        const bool altOk = words.size() == 1 || (words.size() == 2 && words[1] == "alt");
        if (!key || !altOk) return Usage("key VK [alt] (VK 1-254 or 0x01-0xFE)");
        c.verb = ControlVerb::Key;
        c.key = static_cast<unsigned>(*key);
        c.alt = words.size() == 2;
        return c;
    }
    if (verb == "advance") {
        const std::vector<std::string_view> words = Words(rest);
        const auto ms =
            words.size() == 1 ? Number(words[0], 0, kMaxControlAdvanceMs, false) : std::nullopt;
        if (!ms) return Usage("advance MS (0-" + std::to_string(kMaxControlAdvanceMs) + ")");
        c.verb = ControlVerb::Advance;
        c.ms = *ms;
        return c;
    }
    return ControlRefusal{"unknown command: " + std::string(verb.substr(0, 64)) +
                          " (commands: tap, down, up, move, press, tree, answer, screenshot, key, "
                          "advance, idle)"};
}

}  // namespace platform
