// Local (Unix domain) stream sockets at a file path: a listener that takes a path only when
// nothing lives there, or when what lives there is the stale socket of a program that ended,
// and a client end for the tools that talk to the panel programs.
#pragma once

#include <sys/types.h>
#include <string>

namespace platform {

// A listening socket bound to a path. The path is never taken from anyone: an existing file
// that is not a socket, a symbolic link, or the socket of a running program is refused, and
// error() says why. A socket left by a program that ended (nothing answers on it) is replaced.
// The socket file is made for its owner only, and removed again when the listener ends, as
// long as the file at the path is still this listener's own.
class LocalListener {
public:
    LocalListener() = default;
    explicit LocalListener(const std::string& path);
    ~LocalListener();
    LocalListener(LocalListener&& other) noexcept;
    LocalListener& operator=(LocalListener&& other) noexcept;
    LocalListener(const LocalListener&) = delete;
    LocalListener& operator=(const LocalListener&) = delete;

    bool valid() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
    const std::string& error() const { return error_; }  // why the path was refused; one line

    // Takes one waiting client (non-blocking, close-on-exec); -1 when none waits.
    int Accept() const;
    // Stops listening and removes the socket file if it is still ours.
    void Close();

private:
    std::string path_;
    std::string error_;
    int fd_ = -1;
    dev_t device_ = 0;  // the socket file this listener made
    ino_t inode_ = 0;
};

// The client end of a line-based local socket (panelctl, tests).
class LocalClient {
public:
    LocalClient() = default;
    explicit LocalClient(const std::string& path);  // connects; error() says why not
    ~LocalClient();
    LocalClient(const LocalClient&) = delete;
    LocalClient& operator=(const LocalClient&) = delete;

    bool valid() const { return fd_ >= 0; }
    const std::string& error() const { return error_; }

    // Sends one line (a newline is added). False when the peer has gone.
    bool SendLine(const std::string& line);
    // Reads one line (without its newline), waiting at most timeoutMs real milliseconds for
    // each piece of it. False when the peer closed or nothing came in time.
    bool ReadLine(std::string& line, int timeoutMs);

private:
    int fd_ = -1;
    std::string error_;
    std::string buffered_;
};

}  // namespace platform
