// Who may see and work the panel from a browser: the listening address read from the command
// line, the access token and the checks every request passes (token, Host, Origin) before the
// page or the live view is given out. Plain text rules, no network code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::web {

struct ListenAddress {
    std::string host;  // an IP address literal, without brackets
    std::uint16_t port = 0;
    bool loopback = true;  // 127.0.0.0/8 or ::1: only this machine can connect
};

// Reads "ADDR:PORT", "[IPV6]:PORT", "localhost:PORT" or a bare "PORT" (loopback). Port 0 asks
// the system for a free one. Empty, with `why` set, for anything else (a host name other than
// localhost is refused: the view listens on an address, not on a name that may change).
std::optional<ListenAddress> ParseListenAddress(std::string_view text, std::string* why = nullptr);

// Empty when the token can be used, else why not: at least 12 characters, and only letters,
// digits and "-._~", so that it goes into an address unchanged.
std::string CheckToken(std::string_view token);
// A fresh token of 32 hexadecimal digits from the system's random source.
std::string MakeToken();
// Compares in a time that does not depend on where the texts differ.
bool SameToken(std::string_view given, std::string_view expected);

// The value of one parameter of a request target's query ("/ws?token=ab%2D1" -> "ab-1"),
// percent-decoded. Empty when it is missing or badly encoded.
std::string QueryValue(std::string_view target, std::string_view name);
// The path of a request target, without its query.
std::string_view TargetPath(std::string_view target);

// Why a request is refused, or Allowed.
enum class Refusal { Allowed, NeedsToken, ForeignHost, ForeignOrigin };

struct AccessRules {
    std::string token;     // empty: none required
    bool loopback = true;  // the view listens on loopback only
};

// The checks of a request for the page or the live view. Without a token (loopback only) the
// Host must be a loopback name, so that a web site whose name was turned to 127.0.0.1 cannot
// reach the panel. A browser's Origin, when given, must be the page's own address, so that no
// other site's page can work the panel through a visitor's browser.
Refusal CheckRequest(const AccessRules& rules, std::string_view target, std::string_view host,
                     std::string_view origin);

}  // namespace platform::web
