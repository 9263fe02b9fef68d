// Test clients of the browser view: one HTTP request, and a viewer's WebSocket that reads the
// picture updates and state lines, sends touches, or misbehaves on purpose (never reads, sends
// garbage). Every wait is bounded in real time; a client never blocks a test forever. The
// network code lives in web_client.cpp, compiled once for every test program that uses it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/support/png_picture.h"

namespace test_support {

// The host and port of a page address "http://127.0.0.1:4321/..." (port 0 when unreadable).
std::pair<std::string, std::uint16_t> HostAndPort(const std::string& url);

struct HttpAnswer {
    int status = 0;  // 0: no answer
    std::string body;
    std::string contentType;
};

// One request ("GET", "DELETE", ...) with extra header fields; the Host field is "host:port"
// unless given.
HttpAnswer HttpGet(const std::string& host, std::uint16_t port, const std::string& target,
                   const std::vector<std::pair<std::string, std::string>>& fields = {},
                   const std::string& method = "GET");

// A WebSocket client: a viewer of the panel, or the DevTools connection to a browser page.
class WebSocketClient {
public:
    struct Message {
        bool binary = false;
        std::string data;
    };

    // Connects to ws://host:port/<target>; connected() tells whether the server accepted.
    // `receiveBuffer`, when not 0, shrinks the socket's receive buffer (a slow viewer).
    WebSocketClient(const std::string& host, std::uint16_t port, const std::string& target,
                    const std::vector<std::pair<std::string, std::string>>& fields = {},
                    int receiveBuffer = 0);
    ~WebSocketClient();
    WebSocketClient(const WebSocketClient&) = delete;
    WebSocketClient& operator=(const WebSocketClient&) = delete;

    bool connected() const;
    // The status of a refused handshake (403, 404, 503), 101 when accepted.
    int handshakeStatus() const;

    // The next message within timeoutMs real milliseconds.
    std::optional<Message> Read(int timeoutMs = 5000);
    // The next state line (updates before it are counted, not kept).
    std::optional<nlohmann::json> ReadState(int timeoutMs = 5000);
    // Sends one message (text unless binary); false when the send failed.
    bool Send(const std::string& data, bool binary = false);
    bool Touch(const char* type, int x, int y);

    int updatesSkipped() const { return updates_; }
    // Closes the connection at once, without a closing handshake.
    void Drop();

private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
    int updates_ = 0;
};

// One picture update as the server sends it: where it goes and its pixels (0x00RRGGBB).
struct DecodedUpdate {
    int x = 0, y = 0, width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
};

inline std::optional<DecodedUpdate> DecodeUpdate(const std::string& message)
{
    if (message.size() <= 8) return std::nullopt;
    const auto word = [&](std::size_t at) {
        return static_cast<int>(static_cast<unsigned char>(message[at]) |
                                (static_cast<unsigned char>(message[at + 1]) << 8));
    };
    DecodedUpdate out{word(0), word(2), word(4), word(6), {}};
    auto picture = DecodePng(message, 8);
    if (!picture || picture->width != out.width || picture->height != out.height) {
        return std::nullopt;
    }
    out.pixels = std::move(picture->pixels);
    return out;
}

}  // namespace test_support
