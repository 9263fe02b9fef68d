// The test clients of the browser view over Boost.Beast: each call runs its own I/O until it
// is done or its real-time bound has passed.
#include "tests/support/web_client.h"

#include <algorithm>
#include <chrono>
// clang-format off
#include <boost/asio.hpp>
#include <boost/beast.hpp>
#include <boost/beast/websocket.hpp>
// clang-format on

namespace test_support {

namespace {
namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
}  // namespace

std::pair<std::string, std::uint16_t> HostAndPort(const std::string& url)
{
    const auto start = url.find("://");
    const std::string rest = start == std::string::npos ? url : url.substr(start + 3);
    const std::string authority = rest.substr(0, rest.find('/'));
    const auto colon = authority.rfind(':');
    if (colon == std::string::npos) return {authority, 0};
    std::string host = authority.substr(0, colon);
    if (host.size() > 1 && host.front() == '[') host = host.substr(1, host.size() - 2);
    return {host, static_cast<std::uint16_t>(std::stoi(authority.substr(colon + 1)))};
}

HttpAnswer HttpGet(const std::string& host, std::uint16_t port, const std::string& target,
                   const std::vector<std::pair<std::string, std::string>>& fields,
                   const std::string& method)
{
    HttpAnswer answer;
    asio::io_context ioc;
    beast::tcp_stream stream(ioc);
    http::request<http::string_body> req{http::string_to_verb(method), target, 11};
    req.set(http::field::host, host + ":" + std::to_string(port));
    for (const auto& [name, value] : fields) req.set(name, value);
    req.prepare_payload();
    http::response<http::string_body> res;
    beast::flat_buffer buffer;
    stream.expires_after(std::chrono::seconds(5));
    stream.async_connect(
        tcp::endpoint(asio::ip::make_address(host), port), [&](beast::error_code ec) {
            if (ec) return;
            http::async_write(stream, req, [&](beast::error_code wec, std::size_t) {
                if (wec) return;
                http::async_read(stream, buffer, res, [&](beast::error_code rec, std::size_t) {
                    if (rec) return;
                    answer.status = res.result_int();
                    answer.body = res.body();
                    answer.contentType = std::string(res[http::field::content_type]);
                });
            });
        });
    ioc.run_for(std::chrono::seconds(6));
    return answer;
}

struct WebSocketClient::Connection {
    asio::io_context ioc;
    websocket::stream<beast::tcp_stream> ws{ioc};
    websocket::response_type response;
    bool connected = false;
};

WebSocketClient::WebSocketClient(const std::string& host, std::uint16_t port,
                                 const std::string& target,
                                 const std::vector<std::pair<std::string, std::string>>& fields,
                                 int receiveBuffer)
    : connection_(std::make_unique<Connection>())
{
    Connection& c = *connection_;
    beast::error_code ec;
    auto& socket = beast::get_lowest_layer(c.ws).socket();
    socket.open(tcp::v4(), ec);
    if (receiveBuffer > 0) {
        socket.set_option(asio::socket_base::receive_buffer_size(receiveBuffer), ec);
    }
    beast::get_lowest_layer(c.ws).expires_after(std::chrono::seconds(5));
    beast::get_lowest_layer(c.ws).async_connect(
        tcp::endpoint(asio::ip::make_address(host), port), [&](beast::error_code cec) {
            if (cec) return;
            c.ws.set_option(
                websocket::stream_base::decorator([fields](websocket::request_type& req) {
                    for (const auto& [name, value] : fields) req.set(name, value);
                }));
            c.ws.async_handshake(c.response, host + ":" + std::to_string(port), target,
                                 [&](beast::error_code hec) { c.connected = !hec; });
        });
    c.ioc.run_for(std::chrono::seconds(6));
    c.ioc.restart();
    beast::get_lowest_layer(c.ws).expires_never();
}

WebSocketClient::~WebSocketClient() = default;

bool WebSocketClient::connected() const
{
    return connection_->connected;
}

int WebSocketClient::handshakeStatus() const
{
    return connection_->response.result_int();
}

std::optional<WebSocketClient::Message> WebSocketClient::Read(int timeoutMs)
{
    Connection& c = *connection_;
    if (!c.connected) return std::nullopt;
    std::optional<Message> got;
    beast::flat_buffer buffer;
    bool done = false;
    c.ws.async_read(buffer, [&](beast::error_code ec, std::size_t) {
        done = true;
        if (ec) {
            c.connected = false;
            return;
        }
        got = Message{c.ws.got_binary(), beast::buffers_to_string(buffer.data())};
    });
    c.ioc.run_for(std::chrono::milliseconds(timeoutMs));
    if (!done) {
        // A read cut short would leave the stream unusable: the test ends this client.
        beast::get_lowest_layer(c.ws).cancel();
        c.ioc.run_for(std::chrono::milliseconds(500));
        c.connected = false;
    }
    c.ioc.restart();
    return got;
}

std::optional<nlohmann::json> WebSocketClient::ReadState(int timeoutMs)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < until) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        const auto m = Read(static_cast<int>(std::max<std::int64_t>(1, left.count())));
        if (!m) return std::nullopt;
        if (m->binary) {
            ++updates_;
            continue;
        }
        return nlohmann::json::parse(m->data, nullptr, false);
    }
    return std::nullopt;
}

bool WebSocketClient::Send(const std::string& data, bool binary)
{
    Connection& c = *connection_;
    if (!c.connected) return false;
    bool ok = false;
    c.ws.binary(binary);
    c.ws.async_write(asio::buffer(data), [&](beast::error_code ec, std::size_t) { ok = !ec; });
    c.ioc.run_for(std::chrono::seconds(5));
    c.ioc.restart();
    if (!ok) c.connected = false;
    return ok;
}

bool WebSocketClient::Touch(const char* type, int x, int y)
{
    return Send(std::string("{\"type\":\"") + type + "\",\"x\":" + std::to_string(x) +
                ",\"y\":" + std::to_string(y) + "}");
}

void WebSocketClient::Drop()
{
    beast::error_code ignored;
    beast::get_lowest_layer(connection_->ws).socket().close(ignored);
    connection_->connected = false;
}

}  // namespace test_support
