// Text command lines over local sockets: the framing that cuts a byte stream into lines of a
// bounded length, and the server that answers each line of many clients at once. The panel
// programs' automation socket and the simulator's control socket are both built on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/devices/local_socket.h"

namespace platform {

// Cuts received bytes into lines of at most maxLine bytes (a "\r" before the newline is
// dropped). A line that grows past the limit is reported once as cut, and everything up to its
// newline is thrown away: the tail of a cut line never becomes a line of its own.
class LineFramer {
public:
    struct Line {
        std::string text;  // without its line end; empty for a cut line
        bool cut = false;  // the line was longer than the limit and was dropped
    };

    explicit LineFramer(std::size_t maxLine) : maxLine_(maxLine) {}

    // Adds received bytes; every line they complete is appended to `lines`.
    void Feed(std::string_view bytes, std::deque<Line>& lines);
    // Bytes of an unfinished line wait, or the rest of a cut line is being dropped.
    bool midLine() const { return !partial_.empty() || dropping_; }

private:
    std::size_t maxLine_;
    std::string partial_;
    bool dropping_ = false;
};

// How much a line server takes from its clients before it closes one.
struct LineServerLimits {
    std::size_t maxLineBytes = 4096;        // longer lines are refused, never run in part
    std::size_t maxReplyBytes = 16u << 20;  // a longer reply is replaced by an error
    std::size_t maxClients = 16;            // beyond this the longest idle client goes
    std::int64_t stallMs = 10'000;          // a begun line or an unread reply must move on
    std::int64_t idleMs = 10 * 60'000;      // a client that does nothing at all is closed
};

// A local socket that serves text lines: each line a client sends is handed to the handler,
// and the handler's answer goes back to that client followed by a newline. Clients are served
// side by side: one that sends nothing, sends half a line or reads no answers delays nobody
// else, and a client that goes away never raises SIGPIPE. A client is read only while its
// earlier answers are on their way, so an answer buffer holds at most about one reply.
// Timeouts run on the panel clock.
class LineSocketServer {
public:
    using Handler = std::function<std::string(const std::string& line)>;
    // Formats the server's own error answers (a cut line, a too long reply, no room).
    using ErrorReply = std::function<std::string(const std::string& why)>;

    // Takes the path as LocalListener does: a file or a running program's socket there is
    // refused (valid() is false, error() says why); a stale socket is replaced.
    explicit LineSocketServer(const std::string& path, LineServerLimits limits = {},
                              ErrorReply errorReply = nullptr);
    ~LineSocketServer();  // closes clients, removes the socket file
    LineSocketServer(const LineSocketServer&) = delete;
    LineSocketServer& operator=(const LineSocketServer&) = delete;

    bool valid() const { return listener_.valid(); }
    const std::string& path() const { return listener_.path(); }
    const std::string& error() const { return listener_.error(); }
    std::size_t clientCount() const { return clients_.size(); }

    // Waits up to timeoutMs real milliseconds for clients, then accepts, reads, answers and
    // writes what is ready, and closes clients that ended or ran out of time.
    void Serve(int timeoutMs, const Handler& handler);

private:
    struct Client {
        int fd = -1;
        LineFramer framer;
        std::deque<LineFramer::Line> lines;  // received, not answered yet
        std::string out;                     // answers not written yet
        std::int64_t lastProgressMs = 0;
        bool inputEnded = false;
    };
    bool WantsInput(const Client& c) const;
    void Receive(Client& c, std::int64_t now);
    void Answer(Client& c, const Handler& handler, std::int64_t now);
    void Flush(Client& c, std::int64_t now);
    void Expire(Client& c, std::int64_t now) const;
    void AcceptClients(std::int64_t now);
    static void Drop(Client& c);

    LineServerLimits limits_;
    ErrorReply errorReply_;
    LocalListener listener_;
    std::vector<Client> clients_;
};

}  // namespace platform
