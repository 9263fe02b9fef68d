// The browser view's access rules: the listening address, the token and the checks of Host and
// Origin. Addresses are read as literals with inet_pton, never looked up by name.
#include "platform/web/web_access.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <random>

namespace platform::web {

namespace {

constexpr std::size_t kShortestToken = 12;
constexpr std::size_t kLongestToken = 256;

bool IsTokenCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '.' || c == '_' ||
           c == '~';
}

std::optional<std::uint16_t> PortNumber(std::string_view text)
{
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

// Whether an address literal is one of this machine's loopback addresses; nullopt when it is
// no address literal at all.
std::optional<bool> LoopbackLiteral(const std::string& host)
{
    in_addr v4{};
    if (::inet_pton(AF_INET, host.c_str(), &v4) == 1) {
        return (ntohl(v4.s_addr) >> 24) == 127;
    }
    in6_addr v6{};
    if (::inet_pton(AF_INET6, host.c_str(), &v6) == 1) {
        static const in6_addr loopback = IN6ADDR_LOOPBACK_INIT;
        return std::equal(std::begin(v6.s6_addr), std::end(v6.s6_addr),
                          std::begin(loopback.s6_addr));
    }
    return std::nullopt;
}

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The name part of a Host header ("127.0.0.1:8080" -> "127.0.0.1", "[::1]:80" -> "::1").
std::string HostName(std::string_view host)
{
    if (!host.empty() && host.front() == '[') {
        const auto close = host.find(']');
        return close == std::string_view::npos ? std::string() : Lower(host.substr(1, close - 1));
    }
    return Lower(host.substr(0, host.find(':')));
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> PercentDecoded(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out.push_back(' ');
            continue;
        }
        if (text[i] != '%') {
            out.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;  // a cut escape
        const int hi = HexValue(text[i + 1]);
        const int lo = HexValue(text[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
    }
    return out;
}

}  // namespace

std::optional<ListenAddress> ParseListenAddress(std::string_view text, std::string* why)
{
    const auto fail = [&](const std::string& reason) -> std::optional<ListenAddress> {
        if (why != nullptr) *why = reason;
        return std::nullopt;
    };
    const std::string quoted = "'" + std::string(text) + "'";
    ListenAddress address;
    std::string_view portText = text;
    if (text.find(':') != std::string_view::npos || text.find('[') != std::string_view::npos) {
        std::string_view host;
        if (text.front() == '[') {
            const auto close = text.find("]:");
            if (close == std::string_view::npos) return fail(quoted + " is not [IPV6]:PORT");
            host = text.substr(1, close - 1);
            portText = text.substr(close + 2);
        } else {
            const auto colon = text.rfind(':');
            host = text.substr(0, colon);
            portText = text.substr(colon + 1);
            if (host.find(':') != std::string_view::npos) {
                return fail(quoted + ": an IPv6 address goes in brackets, as [::1]:8080");
            }
        }
        address.host = host.empty() || Lower(host) == "localhost" ? "127.0.0.1" : std::string(host);
    } else {
        address.host = "127.0.0.1";
    }
    const auto port = PortNumber(portText);
    if (!port) return fail(quoted + " has no port number from 0 to 65535");
    address.port = *port;
    const auto loopback = LoopbackLiteral(address.host);
    if (!loopback) {
        return fail(quoted + " is not an IP address with a port (such as 0.0.0.0:8080, " +
                    "192.168.1.20:8080 or 8080 for this machine only)");
    }
    address.loopback = *loopback;
    return address;
}

std::string CheckToken(std::string_view token)
{
    if (token.size() < kShortestToken) {
        return "the token needs at least " + std::to_string(kShortestToken) + " characters";
    }
    if (token.size() > kLongestToken) {
        return "the token has more than " + std::to_string(kLongestToken) + " characters";
    }
    if (!std::all_of(token.begin(), token.end(), IsTokenCharacter)) {
        return "the token may hold only letters, digits and - . _ ~";
    }
    return {};
}

std::string MakeToken()
{
    std::random_device random;  // the system's random source
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string token;
    for (int i = 0; i < 4; ++i) {
        std::uint32_t word = random();
        for (int d = 0; d < 8; ++d, word >>= 4) token.push_back(kDigits[word & 0xF]);
    }
    return token;
}

bool SameToken(std::string_view given, std::string_view expected)
{
    // Every character of the expected token is looked at whatever the given one holds.
    unsigned difference = given.size() == expected.size() ? 0u : 1u;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const char g = i < given.size() ? given[i] : '\0';
        difference |= static_cast<unsigned char>(g ^ expected[i]);
    }
    return difference == 0 && !expected.empty();
}

std::string_view TargetPath(std::string_view target)
{
    return target.substr(0, target.find('?'));
}

std::string QueryValue(std::string_view target, std::string_view name)
{
    const auto mark = target.find('?');
    if (mark == std::string_view::npos) return {};
    std::string_view query = target.substr(mark + 1);
    while (!query.empty()) {
        const auto amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        const auto eq = pair.find('=');
        if (eq == std::string_view::npos || pair.substr(0, eq) != name) continue;
        return PercentDecoded(pair.substr(eq + 1)).value_or(std::string());
    }
    return {};
}

Refusal CheckRequest(const AccessRules& rules, std::string_view target, std::string_view host,
                     std::string_view origin)
{
    if (!rules.token.empty() && !SameToken(QueryValue(target, "token"), rules.token)) {
        return Refusal::NeedsToken;
    }
    if (rules.token.empty()) {
        // Only possible on loopback: the name must be this machine's own.
        const std::string name = HostName(host);
        if (!host.empty() && name != "localhost" && LoopbackLiteral(name) != true) {
            return Refusal::ForeignHost;
        }
    }
    if (!origin.empty()) {
        std::string_view rest = origin;
        if (rest.starts_with("http://")) {
            rest.remove_prefix(7);
        } else if (rest.starts_with("https://")) {
            rest.remove_prefix(8);
        } else {
            return Refusal::ForeignOrigin;  // "null" (a file or sandboxed frame) and the like
        }
        if (Lower(rest) != Lower(host)) return Refusal::ForeignOrigin;
    }
    return Refusal::Allowed;
}

}  // namespace platform::web
