// The browser view's server on a loopback port with real clients: the page and its guards, the
// picture sent as changed parts, touches of the one viewer in control, and viewers that
// misbehave (garbage, floods, never reading). The panel side is played by the test: it presents
// pictures through the server's sink and records the touches the server injects.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cairo.h>
#include <atomic>
#include <mutex>
#include <random>
#include <thread>

#include "platform/web/web_server.h"
#include "tests/support/web_client.h"

namespace {

using platform::detail::PointerKind;
using platform::web::ServerSettings;
using platform::web::WebServer;
using test_support::HttpGet;
using test_support::WebSocketClient;

constexpr const char* kToken = "office-token-0123";

// Polls until done or a few real seconds passed.
bool Eventually(const std::function<bool()>& done, int timeoutMs = 5000)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// A composed 640 x 480 screen filled by a function of the pixel.
class TestScreen {
public:
    TestScreen() : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 640, 480)) {}
    ~TestScreen() { cairo_surface_destroy(surface_); }
    TestScreen(const TestScreen&) = delete;
    TestScreen& operator=(const TestScreen&) = delete;

    void Fill(const RECT& r, std::uint32_t (*colour)(int x, int y, int seed), int seed)
    {
        cairo_surface_flush(surface_);
        auto* data = cairo_image_surface_get_data(surface_);
        const int stride = cairo_image_surface_get_stride(surface_);
        for (int y = r.top; y < r.bottom; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
            for (int x = r.left; x < r.right; ++x) row[x] = colour(x, y, seed);
        }
        cairo_surface_mark_dirty(surface_);
    }
    std::uint32_t At(int x, int y) const
    {
        auto* data = cairo_image_surface_get_data(surface_);
        return reinterpret_cast<const std::uint32_t*>(
                   data + y * cairo_image_surface_get_stride(surface_))[x] &
               0x00FFFFFFu;
    }
    cairo_surface_t* get() const { return surface_; }

private:
    cairo_surface_t* surface_;
};

std::uint32_t Flat(int, int, int seed)
{
    return static_cast<std::uint32_t>(seed) & 0x00FFFFFFu;
}

// Pixels that do not compress: each update is about as large as the raw part.
std::uint32_t Noise(int x, int y, int seed)
{
    std::uint32_t v = static_cast<std::uint32_t>(x) * 73856093u ^
                      static_cast<std::uint32_t>(y) * 19349663u ^
                      static_cast<std::uint32_t>(seed) * 83492791u;
    v ^= v >> 13;
    v *= 0x5bd1e995u;
    return (v ^ (v >> 15)) & 0x00FFFFFFu;
}

class ViewServer : public ::testing::Test {
protected:
    void Start(ServerSettings settings = {})
    {
        if (settings.address.host.empty()) settings.address = {"127.0.0.1", 0, true};
        settings.program = "orbitdryer";
        WebServer::Panel panel;
        panel.inject = [this](PointerKind kind, int x, int y) {
            std::lock_guard lock(mu_);
            touches_.push_back({kind, x, y});
        };
        panel.watch = [this](WebServer::Sink sink) {
            std::lock_guard lock(mu_);
            sink_ = std::move(sink);
            watchChanges_++;
        };
        server_ = std::make_unique<WebServer>(settings, std::move(panel));
        ASSERT_TRUE(server_->ok()) << server_->error();
        port_ = server_->port();
    }

    // The panel presents these parts of the screen (as the user-interface thread does).
    bool Present(const std::vector<RECT>& parts)
    {
        WebServer::Sink sink;
        {
            std::lock_guard lock(mu_);
            sink = sink_;
        }
        if (!sink) return false;
        sink(screen_.get(), parts);
        return true;
    }
    bool Watched()
    {
        std::lock_guard lock(mu_);
        return static_cast<bool>(sink_);
    }

    std::unique_ptr<WebSocketClient> Viewer(const std::string& query = "",
                                            std::vector<std::pair<std::string, std::string>> f = {},
                                            int receiveBuffer = 0)
    {
        return std::make_unique<WebSocketClient>("127.0.0.1", port_, "/view" + query, f,
                                                 receiveBuffer);
    }

    // Reads updates until the viewer's copy of the picture matches the test screen in `area`.
    bool ViewerSees(WebSocketClient& viewer, std::vector<std::uint32_t>& copy, const RECT& area)
    {
        if (copy.empty()) copy.assign(640 * 480, 0xFFFFFFFFu);
        const auto matches = [&] {
            for (int y = area.top; y < area.bottom; ++y) {
                for (int x = area.left; x < area.right; ++x) {
                    if (copy[y * 640 + x] != screen_.At(x, y)) return false;
                }
            }
            return true;
        };
        for (int i = 0; i < 200 && !matches(); ++i) {
            const auto m = viewer.Read(3000);
            if (!m) return false;
            if (!m->binary) continue;
            const auto u = test_support::DecodeUpdate(m->data);
            if (!u) return false;
            lastUpdate_ = RECT{u->x, u->y, u->x + u->width, u->y + u->height};
            for (int y = 0; y < u->height; ++y) {
                for (int x = 0; x < u->width; ++x) {
                    copy[(u->y + y) * 640 + u->x + x] = u->pixels[y * u->width + x];
                }
            }
        }
        return matches();
    }

    int Touches(PointerKind kind)
    {
        std::lock_guard lock(mu_);
        int n = 0;
        for (const auto& t : touches_) n += t.kind == kind ? 1 : 0;
        return n;
    }

    struct Touch {
        PointerKind kind;
        int x;
        int y;
    };
    std::mutex mu_;
    std::vector<Touch> touches_;
    WebServer::Sink sink_;
    int watchChanges_ = 0;
    TestScreen screen_;
    RECT lastUpdate_{};
    std::unique_ptr<WebServer> server_;
    std::uint16_t port_ = 0;
};

TEST_F(ViewServer, GivesThePageItsScriptAndNothingElse)
{
    Start();
    const auto page = HttpGet("127.0.0.1", port_, "/");
    EXPECT_EQ(page.status, 200);
    EXPECT_NE(page.contentType.find("text/html"), std::string::npos);
    EXPECT_NE(page.body.find("<canvas id=\"panel\" width=\"640\" height=\"480\""),
              std::string::npos);
    EXPECT_NE(page.body.find("<title>orbitdryer panel</title>"), std::string::npos);
    const auto script = HttpGet("127.0.0.1", port_, "/panel.js");
    EXPECT_EQ(script.status, 200);
    EXPECT_NE(script.body.find("new WebSocket"), std::string::npos);
    EXPECT_EQ(HttpGet("127.0.0.1", port_, "/etc/passwd").status, 404);
    EXPECT_EQ(HttpGet("127.0.0.1", port_, "/../../x").status, 404);
    EXPECT_EQ(HttpGet("127.0.0.1", port_, "/view").status, 404);  // only as a WebSocket
    EXPECT_EQ(HttpGet("127.0.0.1", port_, "/", {}, "DELETE").status, 405);
    // A header beyond the limit ends the connection without an answer.
    EXPECT_EQ(HttpGet("127.0.0.1", port_, "/", {{"X-Pad", std::string(20000, 'x')}}).status, 0);
    EXPECT_EQ(HttpGet("127.0.0.1", port_, "/").status, 200);
}

TEST_F(ViewServer, WithATokenRefusesEveryoneWithoutItAndSaysSo)
{
    ServerSettings settings;
    settings.address = {"127.0.0.1", 0, false};  // as if it listened beyond loopback
    settings.token = kToken;
    Start(settings);
    for (const char* target : {"/", "/?token=", "/?token=office-token-0124",
                               "/?token=office-token-012", "/?token=office%2", "/?tok=x"}) {
        const auto refused = HttpGet("127.0.0.1", port_, target);
        EXPECT_EQ(refused.status, 403) << target;
        EXPECT_NE(refused.body.find("needs its access token"), std::string::npos) << target;
    }
    EXPECT_EQ(HttpGet("127.0.0.1", port_, std::string("/?token=") + kToken).status, 200);
    // Any Host is fine with the token: the panel may be reached by a name on the farm network.
    EXPECT_EQ(HttpGet("127.0.0.1", port_, std::string("/?token=") + kToken,
                      {{"Host", "dryer-office:8080"}})
                  .status,
              200);

    const auto without = Viewer();
    EXPECT_FALSE(without->connected());
    EXPECT_EQ(without->handshakeStatus(), 403);
    const auto wrong = Viewer("?token=office-token-0000");
    EXPECT_FALSE(wrong->connected());
    EXPECT_FALSE(Watched());  // nobody got in: the panel is not even asked for pictures
    const auto right = Viewer(std::string("?token=") + kToken);
    EXPECT_TRUE(right->connected());
    EXPECT_GE(server_->counts().refused, 8u);
}

TEST_F(ViewServer, PagesOfOtherSitesAndForeignHostNamesAreRefused)
{
    Start();  // loopback, no token
    EXPECT_EQ(HttpGet("127.0.0.1", port_, "/", {{"Host", "evil.example:80"}}).status, 403);
    const auto foreign = Viewer("", {{"Origin", "http://evil.example"}});
    EXPECT_FALSE(foreign->connected());
    EXPECT_EQ(foreign->handshakeStatus(), 403);
    const auto own = Viewer("", {{"Origin", "http://127.0.0.1:" + std::to_string(port_)}});
    EXPECT_TRUE(own->connected());
}

TEST_F(ViewServer, AViewerGetsTheWholePictureThenOnlyWhatChanged)
{
    Start();
    auto viewer = Viewer();
    ASSERT_TRUE(viewer->connected());
    const auto state = viewer->ReadState();
    ASSERT_TRUE(state);
    EXPECT_EQ((*state)["holder"], (*state)["you"]);  // the first viewer holds control
    EXPECT_EQ((*state)["viewers"], 1);
    ASSERT_TRUE(Eventually([&] { return Watched(); }));
    screen_.Fill(RECT{0, 0, 640, 480}, Noise, 1);
    ASSERT_TRUE(Present({RECT{0, 0, 640, 480}}));  // the window system's first present
    std::vector<std::uint32_t> copy;
    ASSERT_TRUE(ViewerSees(*viewer, copy, RECT{0, 0, 640, 480}));

    screen_.Fill(RECT{100, 50, 140, 60}, Flat, 0x00FF00);
    ASSERT_TRUE(Present({RECT{100, 50, 140, 60}}));
    ASSERT_TRUE(ViewerSees(*viewer, copy, RECT{0, 0, 640, 480}));
    EXPECT_EQ(lastUpdate_.left, 100);
    EXPECT_EQ(lastUpdate_.right, 140);
    EXPECT_EQ(lastUpdate_.bottom, 60);

    // A second viewer starts from the whole current picture.
    auto second = Viewer();
    std::vector<std::uint32_t> secondCopy;
    ASSERT_TRUE(ViewerSees(*second, secondCopy, RECT{0, 0, 640, 480}));

    // When the last viewer leaves, the panel is no longer asked for its presents.
    viewer->Drop();
    second->Drop();
    EXPECT_TRUE(Eventually([&] { return !Watched() && server_->counts().viewers == 0; }));
}

TEST_F(ViewServer, OnlyTheHolderTouchesAndControlCanBeTaken)
{
    Start();
    auto first = Viewer("?name=Anna");
    ASSERT_TRUE(first->connected());
    ASSERT_TRUE(first->ReadState());
    auto second = Viewer("?name=Bob%3Cscript%3E");
    ASSERT_TRUE(second->connected());
    auto seen = second->ReadState();
    ASSERT_TRUE(seen);
    EXPECT_NE((*seen)["holderName"].get<std::string>().find("Anna at 127.0.0.1"),
              std::string::npos);
    EXPECT_EQ((*seen)["youName"].get<std::string>().find('<'), std::string::npos);
    EXPECT_EQ((*seen)["viewers"], 2);

    ASSERT_TRUE(second->Touch("down", 10, 10));
    ASSERT_TRUE(second->Touch("up", 10, 10));
    ASSERT_TRUE(first->Touch("down", 320, 240));  // holds, as on COOL
    ASSERT_TRUE(Eventually([&] { return Touches(PointerKind::Down) == 1; }));
    EXPECT_TRUE(Eventually([&] { return server_->counts().notInControl == 2u; }));

    ASSERT_TRUE(second->Send(R"({"type":"take"})"));
    seen = second->ReadState();
    ASSERT_TRUE(seen);
    EXPECT_EQ((*seen)["holder"], (*seen)["you"]);
    // The first viewer's held press was lifted when control passed.
    ASSERT_TRUE(Eventually([&] { return Touches(PointerKind::Up) == 1; }));
    ASSERT_TRUE(second->Touch("down", 5, 6));
    ASSERT_TRUE(Eventually([&] { return Touches(PointerKind::Down) == 2; }));
    // The holder leaves mid-press: the press is lifted, nobody holds control.
    second->Drop();
    ASSERT_TRUE(Eventually([&] { return Touches(PointerKind::Up) == 2; }));
    bool free = false;
    while (!free && (seen = first->ReadState())) free = (*seen)["holder"] == 0;
    EXPECT_TRUE(free) << "the first viewer was not told that control is free";
    EXPECT_EQ((*seen)["viewers"], 1);
}

TEST_F(ViewServer, MalformedMessagesDoNothingAndTooManyEndTheViewer)
{
    ServerSettings settings;
    settings.mostMalformed = 20;
    Start(settings);
    auto viewer = Viewer();
    ASSERT_TRUE(viewer->connected());
    for (const std::string bad :
         {"", "{", R"({"type":"down","x":640,"y":0})", R"({"type":"down","x":"1","y":0})",
          R"({"type":"reboot"})", R"({"type":"down","x":1e3,"y":0})"}) {
        ASSERT_TRUE(viewer->Send(bad));
    }
    ASSERT_TRUE(viewer->Send(std::string("\x01\x02", 2), true));  // binary
    ASSERT_TRUE(viewer->Touch("down", 1, 1));
    ASSERT_TRUE(Eventually([&] { return Touches(PointerKind::Down) == 1; }));
    EXPECT_EQ(server_->counts().malformed, 7u);
    EXPECT_EQ(Touches(PointerKind::Move) + Touches(PointerKind::Up), 0);

    // A message longer than any touch ends the connection; so do many bad ones.
    viewer->Send(std::string(4096, ' '));
    EXPECT_TRUE(Eventually([&] { return server_->counts().viewers == 0; }));
    EXPECT_EQ(Touches(PointerKind::Up), 1);  // its held press was lifted
    auto chatty = Viewer();
    for (int i = 0; i < 40; ++i) chatty->Send("garbage");
    EXPECT_TRUE(Eventually([&] { return server_->counts().viewers == 0; }));
    // A text that is not UTF-8 breaks the protocol: the server closes the connection.
    auto broken = Viewer();
    ASSERT_TRUE(broken->connected());
    broken->Send("\xff\xfe{}");
    while (broken->Read(3000)) {
    }  // answers the server's close
    EXPECT_FALSE(broken->connected());
    EXPECT_TRUE(Eventually([&] { return server_->counts().viewers == 0; }));
    EXPECT_EQ(server_->counts().malformed, 28u);  // never read as a message
    auto next = Viewer();
    EXPECT_TRUE(next->connected());
    EXPECT_TRUE(next->ReadState());
}

TEST_F(ViewServer, AFloodOfTouchesIsCutToTheRate)
{
    Start();  // 40 touches a second, 40 at once
    auto viewer = Viewer();
    ASSERT_TRUE(viewer->connected());
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(viewer->Touch("down", i % 640, i % 480));
        ASSERT_TRUE(viewer->Touch("move", 3, 3));
        ASSERT_TRUE(viewer->Touch("up", i % 640, i % 480));
    }
    ASSERT_TRUE(Eventually([&] { return server_->counts().overRate > 0; }));
    ASSERT_TRUE(viewer->Send(R"({"type":"take"})"));  // a marker: everything before is read
    ASSERT_TRUE(viewer->ReadState());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int downs = Touches(PointerKind::Down);
    const int moves = Touches(PointerKind::Move);
    EXPECT_LE(downs + moves, 40 + static_cast<int>(40 * seconds) + 1) << seconds << " s";
    EXPECT_GE(downs, 1);
    EXPECT_EQ(Touches(PointerKind::Up), downs);  // no press is left held
}

TEST_F(ViewServer, AViewerThatNeverReadsIsSentLessNotQueuedAndEndsAfterTheStall)
{
    ServerSettings settings;
    settings.stallMs = 1500;
    Start(settings);
    auto slow = Viewer("", {}, 4096);  // a tiny receive buffer, and it never reads
    ASSERT_TRUE(slow->connected());
    auto fast = Viewer();
    ASSERT_TRUE(fast->connected());
    ASSERT_TRUE(Eventually([&] { return Watched(); }));
    std::vector<std::uint32_t> copy;
    int fastUpdates = 0;
    // 40 whole pictures that do not compress: about 40 MB if they were all queued.
    for (int seed = 1; seed <= 40; ++seed) {
        screen_.Fill(RECT{0, 0, 640, 480}, Noise, seed);
        ASSERT_TRUE(Present({RECT{0, 0, 640, 480}}));
        ASSERT_TRUE(ViewerSees(*fast, copy, RECT{0, 0, 640, 480})) << "picture " << seed;
        ++fastUpdates;
    }
    const auto counts = server_->counts();
    // The slow viewer got only what went out before its socket filled.
    EXPECT_LE(counts.updatesSent, static_cast<std::uint64_t>(fastUpdates) + 4u);
    EXPECT_TRUE(Eventually([&] { return server_->counts().stalled == 1; }, 10000));
    EXPECT_EQ(server_->counts().viewers, 1u);
    // The other viewer goes on.
    screen_.Fill(RECT{0, 0, 10, 10}, Flat, 0x123456);
    ASSERT_TRUE(Present({RECT{0, 0, 10, 10}}));
    EXPECT_TRUE(ViewerSees(*fast, copy, RECT{0, 0, 640, 480}));
}

TEST_F(ViewServer, ViewersBeyondTheLimitAreTurnedAway)
{
    ServerSettings settings;
    settings.mostViewers = 2;
    Start(settings);
    auto a = Viewer();
    auto b = Viewer();
    ASSERT_TRUE(a->connected());
    ASSERT_TRUE(b->connected());
    auto c = Viewer();
    EXPECT_FALSE(c->connected());
    EXPECT_EQ(c->handshakeStatus(), 503);
    a->Drop();
    ASSERT_TRUE(Eventually([&] { return server_->counts().viewers == 1; }));
    auto d = Viewer();
    EXPECT_TRUE(d->connected());
}

TEST_F(ViewServer, StopsWhileViewersAreMidSend)
{
    Start();
    auto slow = Viewer("", {}, 4096);
    auto other = Viewer();
    ASSERT_TRUE(Eventually([&] { return Watched(); }));
    screen_.Fill(RECT{0, 0, 640, 480}, Noise, 9);
    ASSERT_TRUE(Present({RECT{0, 0, 640, 480}}));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    WebServer::Sink sink;
    {
        std::lock_guard lock(mu_);
        sink = sink_;
    }
    server_.reset();
    sink(screen_.get(), {RECT{0, 0, 640, 480}});  // a present after the end goes nowhere
    EXPECT_EQ(HttpGet("127.0.0.1", port_, "/").status, 0);
}

}  // namespace
