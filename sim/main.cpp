// dryersim: plays the Display I/O board of a grain dryer on a serial line, for running and
// testing the panel without a dryer. Options choose the dryer; a line-based control channel
// (stdin, or a local socket) injects warnings and line faults. SIGINT and SIGTERM end it
// cleanly: the line is closed and the control socket removed.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "platform/devices/line_server.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/termination.h"
#include "platform/runtime/threads.h"
#include "sim/command_line.h"
#include "sim/display_io_sim.h"

namespace {

constexpr int kServeSliceMs = 100;  // how soon a signal or the end of stdin is seen

std::atomic<bool> g_quit{false};
std::atomic<bool> g_stdinClosed{false};

struct StdinContext {
    sim::DisplayIoSimulator* simulator;
};

DWORD StdinThread(void* parameter)
{
    auto* context = static_cast<StdinContext*>(parameter);
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line.empty()) continue;
        const std::string reply = context->simulator->Control(line);
        std::printf("%s\n", reply.c_str());
        std::fflush(stdout);
    }
    g_stdinClosed = true;
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const sim::SimCommandLine line = sim::ParseSimCommandLine(platform::Arguments(argc, argv));
    if (const auto code = platform::ReportCommandLine(line.result, sim::SimUsage())) return *code;
    std::string error;
    if (!sim::ConfigFromOptions(line.options, &error)) {
        std::fprintf(stderr, "dryersim: %s\n", error.c_str());
        return 2;
    }
    const platform::TerminationSignals signals([] { g_quit = true; });

    std::unique_ptr<platform::LineSocketServer> server;
    if (!line.controlSocket.empty()) {
        server = std::make_unique<platform::LineSocketServer>(line.controlSocket);
        if (!server->valid()) {
            std::fprintf(stderr, "dryersim: cannot open the control socket %s: %s\n",
                         line.controlSocket.c_str(), server->error().c_str());
            return 2;
        }
    }
    sim::DisplayIoSimulator simulator(line.options);
    if (!simulator.Start()) {
        std::fprintf(stderr, "dryersim: %s\n", simulator.lastError().c_str());
        return 1;
    }
    std::printf("dryersim: serving on %s\n", simulator.devicePath().c_str());
    std::fflush(stdout);

    StdinContext context{&simulator};
    HANDLE reader = CreateThread(nullptr, 0, &StdinThread, &context, 0, nullptr);
    if (reader != nullptr) CloseHandle(reader);  // it ends with stdin, or with the process

    const auto handler = [&simulator](const std::string& command) {
        return simulator.Control(command);
    };
    while (!g_quit) {
        if (!server && g_stdinClosed) break;  // stdin was the only control channel
        if (server) {
            server->Serve(kServeSliceMs, handler);
        } else {
            Sleep(kServeSliceMs);
        }
    }
    simulator.Stop();
    server.reset();  // removes the socket file
    std::fflush(stdout);
    // The stdin reader may still sit in a blocking read; leave without unwinding it.
    std::_Exit(0);
}
