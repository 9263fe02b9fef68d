// The automation socket of a panel program: a thread of its own serves every client through
// the line server, and each command is carried out on the user-interface thread by
// RunControlCommand. The user-interface thread never waits for a client.
#include <atomic>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/devices/line_server.h"
#include "platform/runtime/detail_automation_json.h"
#include "platform/runtime/runtime.h"

namespace platform::detail {

namespace {

constexpr int kServeSliceMs = 200;  // how soon a stop request is seen

struct ControlSocket {
    std::mutex mu;
    std::unique_ptr<LineSocketServer> server;
    std::thread thread;
    std::atomic<bool> stopping{false};
    std::string error;
};

ControlSocket& Socket()
{
    static ControlSocket* s = new ControlSocket();  // outlives every program thread
    return *s;
}

void ServeLoop(LineSocketServer* server)
{
    ControlSocket& s = Socket();
    while (!s.stopping.load()) {
        server->Serve(kServeSliceMs,
                      [](const std::string& line) { return RunControlCommand(line); });
    }
}

}  // namespace

bool StartControlSocket(const std::string& path)
{
    ControlSocket& s = Socket();
    std::lock_guard lock(s.mu);
    if (s.server) return true;
    auto server = std::make_unique<LineSocketServer>(
        path, LineServerLimits{}, [](const std::string& why) { return ErrorJson(why); });
    if (!server->valid()) {
        s.error = server->error();
        return false;
    }
    s.error.clear();
    s.stopping = false;
    s.server = std::move(server);
    s.thread = std::thread(ServeLoop, s.server.get());
    return true;
}

void StopControlSocket()
{
    ControlSocket& s = Socket();
    std::lock_guard lock(s.mu);
    if (!s.server) return;
    s.stopping = true;
    if (s.thread.joinable()) s.thread.join();
    s.server.reset();  // closes the clients and removes the socket file
}

}  // namespace platform::detail

namespace platform {

std::string ControlSocketError()
{
    detail::ControlSocket& s = detail::Socket();
    std::lock_guard lock(s.mu);
    return s.error;
}

}  // namespace platform
