// dryersim: plays the Display I/O board of a grain dryer on a serial line, for running and
// testing the panel without a dryer. Options choose the dryer; a line-based control channel
// (stdin, or a local socket) injects warnings and line faults.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/devices/host_stream.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/threads.h"
#include "sim/display_io_sim.h"

namespace {

volatile std::sig_atomic_t g_quit = 0;
std::atomic<bool> g_stdinClosed{false};

void OnSignal(int)
{
    g_quit = 1;
}

void PrintHelp()
{
    std::printf(
        "usage: dryersim [options]\n"
        "Plays the dryer's Display I/O board on a serial line: it answers every poll, command\n"
        "and link reset request with the 302-byte status frame and runs a moving dryer.\n"
        "\n"
        "options:\n"
        "  --device PATH          serve this serial device (38400 baud, 8E1) instead of a\n"
        "                         pseudo-terminal of our own\n"
        "  --scenario NAME        the dryer to play (default continuous-1fh)\n"
        "  --heaters N            fan/heaters: 1, 2, 3, 4 or 6\n"
        "  --modules N            modules: 1, 2 or 3\n"
        "  --batch | --continuous drying type\n"
        "  --celsius | --fahrenheit  units the panel shows\n"
        "  --dual-heat            dual plenum (hi-heat and lo-heat dry timers)\n"
        "  --preset OFFSET=VALUE  set an image byte at start (repeatable)\n"
        "  --frozen               the dryer does not move by itself (see 'advance')\n"
        "  --control-socket PATH  also take control commands on a local socket; stdin EOF\n"
        "                         then does not stop the simulator\n"
        "  --help                 this text\n"
        "\n"
        "Without --device the simulator prints \"dryersim: serving on /dev/pts/N\"; point the\n"
        "panel's COM1: at that path. It stops on SIGINT or SIGTERM, and on end of stdin\n"
        "when stdin is its only control channel.\n"
        "\n"
        "scenarios:\n");
    for (const sim::ScenarioInfo& s : sim::ScenarioList()) {
        std::printf("  %-18s %.*s\n", std::string(s.name).c_str(),
                    static_cast<int>(s.description.size()), s.description.data());
    }
    std::printf("\n%s\n", sim::ControlHelp().c_str());
}

bool ParseInt(const char* text, int& out)
{
    char* end = nullptr;
    const long v = std::strtol(text, &end, 0);
    if (end == text || *end != '\0' || v < -1000000 || v > 1000000) return false;
    out = static_cast<int>(v);
    return true;
}

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
    sim::SimOptions options;
    std::string controlSocket;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        int number = 0;
        if (arg == "--help" || arg == "-h") {
            PrintHelp();
            return 0;
        } else if (arg == "--device" && hasValue) {
            options.device = argv[++i];
        } else if (arg == "--scenario" && hasValue) {
            options.scenario = argv[++i];
        } else if (arg == "--control-socket" && hasValue) {
            controlSocket = argv[++i];
        } else if (arg == "--heaters" && hasValue && ParseInt(argv[++i], number)) {
            options.heaters = number;
        } else if (arg == "--modules" && hasValue && ParseInt(argv[++i], number)) {
            options.modules = number;
        } else if (arg == "--batch") {
            options.dryingType = 1;
        } else if (arg == "--continuous") {
            options.dryingType = 0;
        } else if (arg == "--celsius") {
            options.celsius = 1;
        } else if (arg == "--fahrenheit") {
            options.celsius = 0;
        } else if (arg == "--dual-heat") {
            options.dualHeat = 1;
        } else if (arg == "--frozen") {
            options.realTime = false;
        } else if (arg == "--preset" && hasValue) {
            const std::string value = argv[++i];
            const auto eq = value.find('=');
            int offset = 0;
            int byte = 0;
            if (eq == std::string::npos || !ParseInt(value.substr(0, eq).c_str(), offset) ||
                !ParseInt(value.substr(eq + 1).c_str(), byte)) {
                std::fprintf(stderr, "dryersim: --preset needs OFFSET=VALUE\n");
                return 2;
            }
            options.presets.emplace_back(offset, byte);
        } else {
            std::fprintf(stderr, "dryersim: unknown or incomplete option '%s' (see --help)\n",
                         arg.c_str());
            return 2;
        }
    }
    std::string error;
    if (!sim::ConfigFromOptions(options, &error)) {
        std::fprintf(stderr, "dryersim: %s (see --help)\n", error.c_str());
        return 2;
    }

    sim::DisplayIoSimulator simulator(options);
    if (!simulator.Start()) {
        std::fprintf(stderr, "dryersim: %s\n", simulator.lastError().c_str());
        return 1;
    }
    std::printf("dryersim: serving on %s\n", simulator.devicePath().c_str());
    std::fflush(stdout);

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);

    int status = 0;
    {
        std::unique_ptr<platform::LineSocketServer> server;
        if (!controlSocket.empty()) {
            server = std::make_unique<platform::LineSocketServer>(controlSocket);
            if (!server->valid()) {
                std::fprintf(stderr, "dryersim: cannot open control socket %s\n",
                             controlSocket.c_str());
                status = 1;
                g_quit = 1;
            }
        }
        StdinContext context{&simulator};
        HANDLE reader = CreateThread(nullptr, 0, &StdinThread, &context, 0, nullptr);
        if (reader != nullptr) CloseHandle(reader);  // it ends with stdin, or with the process

        const auto handler = [&simulator](const std::string& line) {
            return simulator.Control(line);
        };
        while (g_quit == 0) {
            if (!server && g_stdinClosed) break;  // stdin was the only control channel
            if (server) {
                server->Serve(100, handler);
            } else {
                Sleep(100);
            }
        }
        simulator.Stop();
    }
    std::fflush(stdout);
    // The stdin reader may still sit in a blocking read; leave without unwinding it.
    std::_Exit(status);
}
