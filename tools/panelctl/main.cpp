// panelctl: sends automation commands to a running panel program's control socket and prints
// each one-line answer. Usage: panelctl SOCKET COMMAND... (each argument is one command line),
// or panelctl SOCKET with commands read from standard input.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "platform/devices/local_socket.h"
#include "platform/runtime/command_line.h"

namespace {

constexpr int kAnswerWaitMs = 30'000;  // a tree of a busy panel, or a long advance

constexpr const char* kUsage =
    "usage: panelctl SOCKET [COMMAND...]\n"
    "commands: tap X Y | down X Y | up X Y | press ID | tree | answer BUTTON |\n"
    "          screenshot PATH | key VK [alt] | idle\n";

}  // namespace

int main(int argc, char** argv)
{
    std::string socketPath;
    std::vector<std::string> commands;
    platform::ProgramOptions options("panelctl");
    options.Positional("SOCKET", socketPath);
    options.Positionals("COMMAND", commands);
    if (const auto code =
            platform::ReportCommandLine(options.Parse(platform::Arguments(argc, argv)), kUsage)) {
        return *code;
    }
    platform::LocalClient client(socketPath);
    if (!client.valid()) {
        std::fprintf(stderr, "panelctl: cannot connect to %s: %s\n", socketPath.c_str(),
                     client.error().c_str());
        return 1;
    }
    if (commands.empty()) {
        for (std::string line; std::getline(std::cin, line);) commands.push_back(line);
    }
    for (const std::string& command : commands) {
        std::string answer;
        if (!client.SendLine(command) || !client.ReadLine(answer, kAnswerWaitMs)) {
            std::fprintf(stderr, "panelctl: no answer to '%s' (connection closed or timed out)\n",
                         command.c_str());
            return 1;
        }
        std::puts(answer.c_str());
    }
    return 0;
}
