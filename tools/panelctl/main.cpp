// panelctl: sends automation commands to a running panel program's control socket and prints
// each one-line JSON answer. Usage: panelctl SOCKET COMMAND... (each argument is one command
// line), or panelctl SOCKET with commands read from standard input.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

int Connect(const char* path)
{
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (std::strlen(path) >= sizeof(addr.sun_path)) return -1;
    std::strcpy(addr.sun_path, path);
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// Sends one command line and reads one answer line.
bool Exchange(int fd, const std::string& command, std::string& answer)
{
    std::string line = command + "\n";
    for (size_t sent = 0; sent < line.size();) {
        ssize_t n = write(fd, line.data() + sent, line.size() - sent);
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    answer.clear();
    char c = 0;
    while (read(fd, &c, 1) == 1) {
        if (c == '\n') return true;
        answer.push_back(c);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::string(argv[1]) == "--help") {
        std::puts(
            "usage: panelctl SOCKET [COMMAND...]\n"
            "commands: tap X Y | down X Y | up X Y | press ID | tree | answer BUTTON |\n"
            "          screenshot PATH | key VK [alt] | idle");
        return argc < 2 ? 2 : 0;
    }
    int fd = Connect(argv[1]);
    if (fd < 0) {
        std::fprintf(stderr, "panelctl: cannot connect to %s\n", argv[1]);
        return 1;
    }
    std::vector<std::string> commands(argv + 2, argv + argc);
    if (commands.empty()) {
        for (std::string line; std::getline(std::cin, line);) commands.push_back(line);
    }
    int status = 0;
    for (const auto& command : commands) {
        std::string answer;
        if (!Exchange(fd, command, answer)) {
            std::fprintf(stderr, "panelctl: connection closed\n");
            status = 1;
            break;
        }
        std::puts(answer.c_str());
    }
    close(fd);
    return status;
}
