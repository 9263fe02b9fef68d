// Line framing and the line server: many clients on one poll loop, non-blocking reads and
// writes without SIGPIPE, a bounded answer buffer per client, and timeouts that close clients
// which stall or idle. A client is only ever closed, never waited for.
#include "platform/devices/line_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/runtime/clock.h"

namespace platform {

namespace {

constexpr std::size_t kReadChunk = 16 * 1024;
// Lines are answered while the client's unwritten answers stay below this; then it must read.
constexpr std::size_t kOutputHighWater = 64 * 1024;

std::string PlainError(const std::string& why)
{
    return "error: " + why;
}

}  // namespace

// ---- framing ----

void LineFramer::Feed(std::string_view bytes, std::deque<Line>& lines)
{
    while (!bytes.empty()) {
        const std::size_t nl = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, nl);
        if (!dropping_) {
            if (partial_.size() + piece.size() > maxLine_) {
                dropping_ = true;  // the rest of this line goes, up to its newline
                partial_.clear();
                lines.push_back(Line{{}, true});
            } else {
                partial_.append(piece);
            }
        }
        if (nl == std::string_view::npos) return;
        if (dropping_) {
            dropping_ = false;
        } else {
            if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
            lines.push_back(Line{std::move(partial_), false});
            partial_.clear();
        }
        bytes.remove_prefix(nl + 1);
    }
}

// ---- server ----

LineSocketServer::LineSocketServer(const std::string& path, LineServerLimits limits,
                                   ErrorReply errorReply)
    : limits_(limits),
      errorReply_(errorReply ? std::move(errorReply) : ErrorReply(PlainError)),
      listener_(path)
{
}

LineSocketServer::~LineSocketServer()
{
    for (Client& c : clients_) Drop(c);
}

void LineSocketServer::Drop(Client& c)
{
    if (c.fd >= 0) ::close(c.fd);
    c.fd = -1;
}

bool LineSocketServer::WantsInput(const Client& c) const
{
    return !c.inputEnded && c.lines.empty() && c.out.size() < kOutputHighWater;
}

void LineSocketServer::Serve(int timeoutMs, const Handler& handler)
{
    if (!listener_.valid()) return;
    std::vector<pollfd> fds;
    fds.push_back(pollfd{listener_.fd(), POLLIN, 0});
    for (const Client& c : clients_) {
        const short events =
            static_cast<short>((WantsInput(c) ? POLLIN : 0) | (c.out.empty() ? 0 : POLLOUT));
        fds.push_back(pollfd{c.fd, events, 0});
    }
    if (::poll(fds.data(), fds.size(), timeoutMs) < 0 && errno != EINTR) return;

    const std::int64_t now = NowMs();
    for (std::size_t i = 0; i < clients_.size(); ++i) {
        Client& c = clients_[i];
        const short revents = fds[i + 1].revents;
        if ((revents & POLLOUT) != 0) Flush(c, now);
        if (c.fd >= 0 && (revents & (POLLIN | POLLHUP | POLLERR)) != 0 && WantsInput(c)) {
            Receive(c, now);
        }
        if (c.fd >= 0) Answer(c, handler, NowMs());
        if (c.fd >= 0) Flush(c, NowMs());
        if (c.fd >= 0) Expire(c, NowMs());
    }
    std::erase_if(clients_, [](const Client& c) { return c.fd < 0; });
    if ((fds[0].revents & POLLIN) != 0) AcceptClients(NowMs());
}

void LineSocketServer::Receive(Client& c, std::int64_t now)
{
    char chunk[kReadChunk];
    const ssize_t got = ::recv(c.fd, chunk, sizeof(chunk), MSG_DONTWAIT);
    if (got < 0) {
        if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) return;
        Drop(c);  // reset by the peer: nobody is left to answer
        return;
    }
    if (got == 0) {
        c.inputEnded = true;  // the client may still read the answers to what it sent
        return;
    }
    c.framer.Feed(std::string_view(chunk, static_cast<std::size_t>(got)), c.lines);
    c.lastProgressMs = now;
}

void LineSocketServer::Answer(Client& c, const Handler& handler, std::int64_t now)
{
    while (!c.lines.empty() && c.out.size() < kOutputHighWater) {
        LineFramer::Line line = std::move(c.lines.front());
        c.lines.pop_front();
        std::string answer =
            line.cut ? errorReply_("line longer than " + std::to_string(limits_.maxLineBytes) +
                                   " bytes; it was dropped")
                     : handler(line.text);
        if (answer.size() > limits_.maxReplyBytes) {
            answer =
                errorReply_("the answer is " + std::to_string(answer.size()) +
                            " bytes, over the limit of " + std::to_string(limits_.maxReplyBytes));
        }
        c.out += answer;
        c.out += '\n';
        c.lastProgressMs = now;
    }
    if (c.inputEnded && c.lines.empty() && c.out.empty()) Drop(c);
}

void LineSocketServer::Flush(Client& c, std::int64_t now)
{
    while (!c.out.empty()) {
        const ssize_t n = ::send(c.fd, c.out.data(), c.out.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;  // the client must read
        if (n <= 0) {
            Drop(c);  // gone before reading its answer
            return;
        }
        c.out.erase(0, static_cast<std::size_t>(n));
        c.lastProgressMs = now;
    }
    if (c.inputEnded && c.lines.empty()) Drop(c);
}

void LineSocketServer::Expire(Client& c, std::int64_t now) const
{
    const bool busy = c.framer.midLine() || !c.out.empty() || !c.lines.empty();
    const std::int64_t limit = busy ? limits_.stallMs : limits_.idleMs;
    if (now - c.lastProgressMs > limit) Drop(c);
}

void LineSocketServer::AcceptClients(std::int64_t now)
{
    for (;;) {
        const int fd = listener_.Accept();
        if (fd < 0) return;
        if (clients_.size() >= limits_.maxClients) {
            // Room is made by closing the client that has been idle longest; clients in the
            // middle of a line or an answer keep their place.
            auto idlest = clients_.end();
            for (auto it = clients_.begin(); it != clients_.end(); ++it) {
                if (it->framer.midLine() || !it->out.empty() || !it->lines.empty()) continue;
                if (idlest == clients_.end() || it->lastProgressMs < idlest->lastProgressMs) {
                    idlest = it;
                }
            }
            if (idlest == clients_.end()) {
                const std::string busy = errorReply_("too many clients; try again") + "\n";
                // Best effort: the refused client may not read it.
                (void)::send(fd, busy.data(), busy.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
                ::close(fd);
                continue;
            }
            Drop(*idlest);
            clients_.erase(idlest);
        }
        Client c{fd, LineFramer(limits_.maxLineBytes), {}, {}, now, false};
        clients_.push_back(std::move(c));
    }
}

}  // namespace platform
