// The browser view's server on Boost.Beast: one thread runs every connection. Page requests
// are answered and closed; a viewer's WebSocket gets the picture as PNG rectangles (each
// message: x, y, width, height as 16-bit little-endian numbers, then the PNG) and a JSON state
// line whenever control or the viewers change, and sends its touches as JSON lines.
#include "platform/web/web_server.h"

#include <algorithm>
#include <atomic>
#include <utility>  // before Asio, whose headers use std::exchange without it
// clang-format off
#include <boost/asio.hpp>
#include <boost/beast.hpp>
#include <boost/beast/websocket.hpp>
// clang-format on
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/runtime/clock.h"
#include "platform/web/frame_store.h"
#include "platform/web/web_page.h"

namespace platform::web {

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
using Request = http::request<http::empty_body>;
using Response = http::response<http::string_body>;

constexpr std::size_t kLongestHeader = 8192;
constexpr auto kRequestTime = std::chrono::seconds(15);  // real time to send one request
constexpr auto kTickPeriod = std::chrono::milliseconds(250);
constexpr std::size_t kSendBuffer = 256 * 1024;  // bytes in flight to one viewer, at most
constexpr std::size_t kCachedUpdates = 16;

// Counts a connection for as long as it lives (page requests and viewers together).
class Ticket {
public:
    explicit Ticket(std::shared_ptr<std::size_t> count) : count_(std::move(count)) { ++*count_; }
    ~Ticket()
    {
        if (count_) --*count_;
    }
    Ticket(Ticket&&) = default;
    Ticket(const Ticket&) = delete;
    Ticket& operator=(const Ticket&) = delete;
    Ticket& operator=(Ticket&&) = delete;

private:
    std::shared_ptr<std::size_t> count_;
};

std::string_view View(beast::string_view text)
{
    return {text.data(), text.size()};
}

Response MakeResponse(const PageAnswer& answer, unsigned version)
{
    Response res{static_cast<http::status>(answer.status), version};
    res.set(http::field::server, "panel");
    res.set(http::field::content_type, beast::string_view(answer.type.data(), answer.type.size()));
    res.set(http::field::cache_control, "no-store");
    res.set(http::field::x_frame_options, "DENY");  // no other page may frame the panel
    res.set("Referrer-Policy", "no-referrer");      // the token never leaves in a Referer
    res.set("X-Content-Type-Options", "nosniff");
    res.set("Content-Security-Policy",
            "default-src 'none'; script-src 'self'; style-src 'unsafe-inline'; "
            "connect-src 'self'; img-src 'self' data: blob:; form-action 'self'; "
            "frame-ancestors 'none'");
    res.body() = answer.body;
    res.prepare_payload();
    return res;
}

}  // namespace

class Viewer;

// ======================= the server's state (server thread only) =======================

struct WebServer::Impl {
    explicit Impl(ServerSettings s, Panel p)
        : settings(std::move(s)),
          panel(std::move(p)),
          gate(panel.inject, settings.touches),
          acceptor(ioc),
          tick(ioc)
    {
    }

    // Set by the user-interface thread's sink, cleared when the server stops.
    struct Waker {
        std::mutex mu;
        Impl* server = nullptr;
    };

    ServerSettings settings;
    Panel panel;
    TouchGate gate;
    std::string error;
    std::uint16_t port = 0;
    std::thread thread;

    asio::io_context ioc;  // before the sockets: it outlives them
    tcp::acceptor acceptor;
    asio::steady_timer tick;
    std::shared_ptr<std::size_t> connections = std::make_shared<std::size_t>(0);

    std::shared_ptr<FrameStore> store = std::make_shared<FrameStore>();
    std::shared_ptr<Waker> waker = std::make_shared<Waker>();
    PanelPicture picture;       // the server's copy, encoded from
    std::uint64_t version = 0;  // of `picture`; the cache holds updates of this version
    std::vector<std::pair<RECT, std::shared_ptr<const std::string>>> cache;

    std::vector<std::shared_ptr<Viewer>> viewers;
    int nextId = 1;
    bool watching = false;

    struct Counts {
        std::atomic<std::uint64_t> viewers{0}, updatesSent{0}, refused{0}, malformed{0},
            overRate{0}, notInControl{0}, stalled{0};
    } counts;

    bool Listen();
    void Accept();
    void Tick();
    void OnFrames();
    static PageRequest Read(const Request& req);
    std::optional<Response> Refusal(const Request& req);
    Response Answer(const Request& req);
    void AddViewer(beast::tcp_stream stream, Request req, Ticket ticket, std::string address);
    void Joined(const std::shared_ptr<Viewer>& viewer);
    void Left(int id);
    void OnMessage(Viewer& viewer, std::string_view text);
    void BroadcastState();
    std::string StateFor(int id) const;
    std::string NameOf(int id) const;
    std::shared_ptr<const std::string> Update(const RECT& part);
    WebServer::Sink MakeSink();
};

// ======================= one viewer's WebSocket =======================

class Viewer : public std::enable_shared_from_this<Viewer> {
public:
    Viewer(WebServer::Impl& server, beast::tcp_stream stream, int id, std::string name,
           std::string address, Ticket ticket)
        : server_(server),
          ws_(std::move(stream)),
          id_(id),
          name_(std::move(name)),
          address_(std::move(address)),
          ticket_(std::move(ticket))
    {
    }

    int id() const { return id_; }
    std::string Label() const
    {
        return (name_.empty() ? "viewer " + std::to_string(id_) : name_) + " at " + address_;
    }

    void Accept(Request req)
    {
        beast::get_lowest_layer(ws_).expires_never();  // the WebSocket keeps its own times
        boost::system::error_code ignored;             // a smaller buffer is only a preference
        beast::get_lowest_layer(ws_).socket().set_option(
            asio::socket_base::send_buffer_size(kSendBuffer), ignored);
        websocket::stream_base::timeout times{};
        times.handshake_timeout = std::chrono::seconds(10);
        times.idle_timeout = std::chrono::seconds(30);  // then a ping; no answer: closed
        times.keep_alive_pings = true;
        ws_.set_option(times);
        ws_.read_message_max(kLongestViewerMessage);
        ws_.auto_fragment(false);
        ws_.async_accept(req, [self = shared_from_this()](beast::error_code ec) {
            if (ec) return self->Close();
            self->open_ = true;
            self->server_.Joined(self);
            self->Read();
        });
    }

    // The picture changed in these parts; sends when the last send is done.
    void Changed(std::span<const RECT> parts)
    {
        pending_.Add(parts);
        Pump();
    }
    void WholePicture()
    {
        pending_.AddWholeScreen();
        Pump();
    }
    void StateChanged()
    {
        stateDue_ = true;
        Pump();
    }
    // A send stuck since before `deadline`: the viewer does not read.
    bool StuckSince(std::int64_t deadline) const { return writing_ && writeSince_ < deadline; }
    void Malformed()
    {
        if (++malformed_ > server_.settings.mostMalformed) Close();
    }

    void Close()
    {
        if (closed_) return;
        closed_ = true;
        beast::error_code ignored;  // the socket may already be gone
        beast::get_lowest_layer(ws_).socket().shutdown(tcp::socket::shutdown_both, ignored);
        beast::get_lowest_layer(ws_).close();
        open_ = false;
        server_.Left(id_);
    }

private:
    void Read()
    {
        ws_.async_read(in_, [self = shared_from_this()](beast::error_code ec, std::size_t) {
            if (ec) return self->Close();
            if (!self->ws_.got_text()) {
                self->server_.counts.malformed++;
                self->Malformed();
            } else {
                const std::string text = beast::buffers_to_string(self->in_.data());
                self->server_.OnMessage(*self, text);
            }
            self->in_.consume(self->in_.size());
            if (!self->closed_) self->Read();
        });
    }

    void Pump()
    {
        if (!open_ || closed_ || writing_) return;
        std::shared_ptr<const std::string> message;
        bool binary = true;
        if (stateDue_) {
            stateDue_ = false;
            message = std::make_shared<const std::string>(server_.StateFor(id_));
            binary = false;
        } else {
            RECT part;
            while (!message && pending_.TakeOne(part)) message = server_.Update(part);
            if (!message) return;
            server_.counts.updatesSent++;
        }
        writing_ = true;
        writeSince_ = NowMs();
        ws_.binary(binary);
        ws_.async_write(asio::buffer(*message),
                        [self = shared_from_this(), message](beast::error_code ec, std::size_t) {
                            self->writing_ = false;
                            if (ec) return self->Close();
                            self->Pump();
                        });
    }

    WebServer::Impl& server_;
    websocket::stream<beast::tcp_stream> ws_;
    beast::flat_buffer in_;
    int id_;
    std::string name_;
    std::string address_;
    Ticket ticket_;
    ChangedParts pending_;  // what this viewer has not been sent yet
    bool stateDue_ = false;
    bool open_ = false;
    bool closed_ = false;
    bool writing_ = false;
    std::int64_t writeSince_ = 0;
    int malformed_ = 0;
};

// ======================= one page request connection =======================

class PageRequests : public std::enable_shared_from_this<PageRequests> {
public:
    PageRequests(WebServer::Impl& server, tcp::socket socket, Ticket ticket)
        : server_(server), stream_(std::move(socket)), ticket_(std::move(ticket))
    {
    }

    void Read()
    {
        parser_.emplace();
        parser_->header_limit(kLongestHeader);
        stream_.expires_after(kRequestTime);
        http::async_read(stream_, buffer_, *parser_,
                         [self = shared_from_this()](beast::error_code ec, std::size_t) {
                             if (ec) return self->Close();  // bad, too long or too slow
                             self->OnRequest(self->parser_->release());
                         });
    }

private:
    void OnRequest(Request req)
    {
        const bool upgrade = websocket::is_upgrade(req);
        if (auto refusal = server_.Refusal(req)) {
            server_.counts.refused++;
            refusal->keep_alive(false);
            return Send(std::move(*refusal));
        }
        if (upgrade) {
            std::string address;
            boost::system::error_code ec;
            const auto remote = stream_.socket().remote_endpoint(ec);
            if (!ec) address = remote.address().to_string();
            server_.AddViewer(std::move(stream_), std::move(req), std::move(ticket_), address);
            return;
        }
        Send(server_.Answer(req));
    }

    void Send(Response res)
    {
        auto shared = std::make_shared<Response>(std::move(res));
        http::async_write(stream_, *shared,
                          [self = shared_from_this(), shared](beast::error_code ec, std::size_t) {
                              if (ec || !shared->keep_alive()) return self->Close();
                              self->Read();
                          });
    }

    void Close()
    {
        beast::error_code ignored;  // the peer may be gone already
        stream_.socket().shutdown(tcp::socket::shutdown_both, ignored);
        stream_.close();
    }

    WebServer::Impl& server_;
    beast::tcp_stream stream_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::empty_body>> parser_;
    Ticket ticket_;
};

// ======================= the server =======================

bool WebServer::Impl::Listen()
{
    boost::system::error_code ec;
    const auto ip = asio::ip::make_address(settings.address.host, ec);
    const tcp::endpoint endpoint(ip, settings.address.port);
    if (!ec) acceptor.open(endpoint.protocol(), ec);
    if (!ec) acceptor.set_option(asio::socket_base::reuse_address(true), ec);
    if (!ec) acceptor.bind(endpoint, ec);
    if (!ec) acceptor.listen(asio::socket_base::max_listen_connections, ec);
    if (ec) {
        error = ec.message();
        return false;
    }
    port = acceptor.local_endpoint(ec).port();
    return true;
}

void WebServer::Impl::Accept()
{
    acceptor.async_accept([this](boost::system::error_code ec, tcp::socket socket) {
        if (ec == asio::error::operation_aborted || !acceptor.is_open()) return;
        if (!ec) {
            if (*connections >= settings.mostConnections) {
                counts.refused++;
                socket.close(ec);  // ignored on purpose: the peer is sent away either way
            } else {
                std::make_shared<PageRequests>(*this, std::move(socket), Ticket(connections))
                    ->Read();
            }
        }
        Accept();
    });
}

// A viewer whose sends stay stuck is closed; the others go on.
void WebServer::Impl::Tick()
{
    tick.expires_after(kTickPeriod);
    tick.async_wait([this](boost::system::error_code ec) {
        if (ec) return;
        const std::int64_t deadline = NowMs() - settings.stallMs;
        const auto list = viewers;  // closing changes the list
        for (const auto& v : list) {
            if (!v->StuckSince(deadline)) continue;
            counts.stalled++;
            v->Close();
        }
        Tick();
    });
}

void WebServer::Impl::OnFrames()
{
    const std::vector<RECT> parts = store->TakeChanges(picture);
    if (parts.empty()) return;
    ++version;
    cache.clear();
    for (const auto& v : viewers) v->Changed(parts);
}

std::shared_ptr<const std::string> WebServer::Impl::Update(const RECT& part)
{
    for (const auto& [r, bytes] : cache) {
        if (r.left == part.left && r.top == part.top && r.right == part.right &&
            r.bottom == part.bottom) {
            return bytes;
        }
    }
    std::string message = UpdateMessage(picture, part);
    if (message.empty()) return nullptr;
    auto shared = std::make_shared<const std::string>(std::move(message));
    if (cache.size() >= kCachedUpdates) cache.erase(cache.begin());
    cache.emplace_back(part, shared);
    return shared;
}

PageRequest WebServer::Impl::Read(const Request& req)
{
    return PageRequest{req.method() == http::verb::get || req.method() == http::verb::head,
                       websocket::is_upgrade(req), View(req.target()), View(req[http::field::host]),
                       View(req[http::field::origin])};
}

std::optional<Response> WebServer::Impl::Refusal(const Request& req)
{
    const AccessRules rules{settings.token, settings.address.loopback};
    const auto refusal = RefusalOf(Read(req), rules, viewers.size() >= settings.mostViewers);
    if (!refusal) return std::nullopt;
    return MakeResponse(*refusal, req.version());
}

Response WebServer::Impl::Answer(const Request& req)
{
    Response res = MakeResponse(AnswerTo(Read(req), settings.program), req.version());
    res.keep_alive(req.keep_alive());
    if (req.method() == http::verb::head) res.body().clear();
    return res;
}

void WebServer::Impl::AddViewer(beast::tcp_stream stream, Request req, Ticket ticket,
                                std::string address)
{
    const int id = nextId++;
    const std::string name = ViewerName(QueryValue(View(req.target()), "name"));
    auto viewer = std::make_shared<Viewer>(*this, std::move(stream), id, name, std::move(address),
                                           std::move(ticket));
    viewers.push_back(viewer);
    counts.viewers = viewers.size();
    viewer->Accept(std::move(req));
}

void WebServer::Impl::Joined(const std::shared_ptr<Viewer>& viewer)
{
    gate.Join(viewer->id());
    if (!watching) {
        // The panel sends its whole picture with its next present. The copy it is compared
        // with is made unlike any panel pixel, so that all of it goes to the new viewer.
        std::fill(picture.pixels.begin(), picture.pixels.end(), 0xFFFFFFFFu);
        watching = true;
        if (panel.watch) panel.watch(MakeSink());
    } else {
        viewer->WholePicture();
    }
    BroadcastState();
}

void WebServer::Impl::Left(int id)
{
    gate.Leave(id);
    std::erase_if(viewers, [id](const auto& v) { return v->id() == id; });
    counts.viewers = viewers.size();
    if (viewers.empty() && watching) {
        watching = false;
        if (panel.watch) panel.watch(WebServer::Sink());
    }
    BroadcastState();
}

void WebServer::Impl::OnMessage(Viewer& viewer, std::string_view text)
{
    const auto message = ParseViewerMessage(text);
    if (!message) {
        counts.malformed++;
        viewer.Malformed();
        return;
    }
    if (message->verb == ViewerVerb::Take) {
        if (gate.holder() == viewer.id()) return viewer.StateChanged();  // it has it already
        gate.Take(viewer.id());
        BroadcastState();
        return;
    }
    switch (gate.Touch(viewer.id(), *message, NowMs())) {
        case TouchGate::Outcome::Applied:
        case TouchGate::Outcome::Ignored: break;
        case TouchGate::Outcome::OverRate: counts.overRate++; break;
        case TouchGate::Outcome::NotInControl: counts.notInControl++; break;
    }
}

void WebServer::Impl::BroadcastState()
{
    for (const auto& v : viewers) v->StateChanged();
}

std::string WebServer::Impl::NameOf(int id) const
{
    for (const auto& v : viewers) {
        if (v->id() == id) return v->Label();
    }
    return {};
}

std::string WebServer::Impl::StateFor(int id) const
{
    return StateLine(ViewerState{settings.program, id, NameOf(id), gate.holder(),
                                 NameOf(gate.holder()), viewers.size()});
}

// ======================= the public face =======================

WebServer::WebServer(ServerSettings settings, Panel panel)
    : impl_(std::make_shared<Impl>(std::move(settings), std::move(panel)))
{
    if (!impl_->Listen()) return;
    impl_->waker->server = impl_.get();
    impl_->Accept();
    impl_->Tick();
    impl_->thread = std::thread([impl = impl_.get()] { impl->ioc.run(); });
}

WebServer::~WebServer()
{
    {
        std::lock_guard lock(impl_->waker->mu);
        impl_->waker->server = nullptr;  // presents from now on are dropped
    }
    impl_->ioc.stop();
    if (impl_->thread.joinable()) impl_->thread.join();
    impl_->viewers.clear();
}

bool WebServer::ok() const
{
    return impl_->error.empty();
}

const std::string& WebServer::error() const
{
    return impl_->error;
}

std::uint16_t WebServer::port() const
{
    return impl_->port;
}

WebServer::Sink WebServer::PresentSink()
{
    return impl_->MakeSink();
}

WebServer::Sink WebServer::Impl::MakeSink()
{
    return [store = store, waker = waker](cairo_surface_t* screen, const std::vector<RECT>& parts) {
        if (!store->Publish(screen, parts)) return;  // the server was woken already
        std::lock_guard lock(waker->mu);
        if (waker->server == nullptr) return;
        Impl* server = waker->server;
        asio::post(server->ioc, [server] { server->OnFrames(); });
    };
}

ServerCounts WebServer::counts() const
{
    const Impl::Counts& c = impl_->counts;
    return ServerCounts{c.viewers.load(),   c.updatesSent.load(), c.refused.load(),
                        c.malformed.load(), c.overRate.load(),    c.notInControl.load(),
                        c.stalled.load()};
}

}  // namespace platform::web
