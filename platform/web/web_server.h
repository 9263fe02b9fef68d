// The server behind the browser view: HTTP for the page, a WebSocket per viewer for the live
// picture and the touches. It runs on a thread of its own; the user-interface thread only hands
// it each present's changed pixels (a copy under a short lock) and never waits for a viewer.
// A viewer that reads slowly or not at all gets fewer, fresher updates: what it still has to
// be sent is kept as a few merged rectangles of the latest picture, never as a queue of frames.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/web/viewer_input.h"
#include "platform/web/web_access.h"
#include "platform/win_types.h"

namespace platform::web {

struct ServerSettings {
    ListenAddress address;
    std::string token;    // empty: none asked (loopback only)
    std::string program;  // named on the page: "orbitdryer"
    TouchLimits touches;
    std::size_t mostViewers = 8;
    std::size_t mostConnections = 32;  // page requests and viewers together
    std::int64_t stallMs = 30'000;     // panel time a send to a viewer may stay stuck
    int mostMalformed = 100;           // bad messages before a viewer is sent away
};

// What the server did, for tests and for the log.
struct ServerCounts {
    std::uint64_t viewers = 0;       // connected now
    std::uint64_t updatesSent = 0;   // rectangles sent, all viewers together
    std::uint64_t refused = 0;       // requests refused (token, host, origin, too many)
    std::uint64_t malformed = 0;     // viewer messages dropped as malformed
    std::uint64_t overRate = 0;      // touches dropped beyond the rate
    std::uint64_t notInControl = 0;  // touches of viewers who do not hold control
    std::uint64_t stalled = 0;       // viewers closed for a send stuck too long
};

class WebServer {
public:
    // Takes a present: the composed screen and the parts that changed (user-interface thread).
    using Sink = std::function<void(cairo_surface_t* screen, const std::vector<RECT>& parts)>;
    // What the server asks of the panel: touches to inject, and the presents while someone
    // views it (`watch` gets a sink when the first viewer comes and an empty one when the last
    // leaves). Both are called on the server's thread and must not block.
    struct Panel {
        TouchGate::Inject inject;
        std::function<void(Sink sink)> watch;
    };

    WebServer(ServerSettings settings, Panel panel);
    ~WebServer();  // closes every connection and joins the thread
    WebServer(const WebServer&) = delete;
    WebServer& operator=(const WebServer&) = delete;

    bool ok() const;
    const std::string& error() const;  // why it could not listen; one line
    std::uint16_t port() const;        // the bound port (the system's choice for port 0)

    // The sink `watch` is given: copies the changed parts and wakes the server. Safe to call
    // while or after the server stops.
    Sink PresentSink();

    ServerCounts counts() const;

    struct Impl;  // the connections' shared state, on the server thread

private:
    std::shared_ptr<Impl> impl_;
};

}  // namespace platform::web
