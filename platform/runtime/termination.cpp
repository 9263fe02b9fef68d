// Termination signals through a pipe: the handler only writes the signal number into it (an
// async-signal-safe call), and a watcher thread reads it and calls the program's reaction with
// no limits on what that may do.
#include "platform/runtime/termination.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <thread>

#include "platform/windowing/window.h"

namespace platform {

namespace {

constexpr char kStopWatcher = 0;

struct SignalState {
    int pipe[2] = {-1, -1};
    std::thread watcher;
    std::function<void()> onSignal;
    std::atomic<int> received{0};
    struct sigaction oldTerm {};
    struct sigaction oldInt {};
    struct sigaction oldPipe {};
    bool installed = false;
};

SignalState& State()
{
    static SignalState state;
    return state;
}

std::atomic<int> g_writeFd{-1};

extern "C" void OnTerminationSignal(int signal)
{
    const int saved = errno;
    const char byte = static_cast<char>(signal);
    const int fd = g_writeFd.load();
    // A full pipe already holds a wake-up for the watcher: the lost byte is ignored on purpose.
    if (fd >= 0) (void)!::write(fd, &byte, 1);
    errno = saved;
}

void Watch(SignalState& s)
{
    for (;;) {
        char byte = 0;
        const ssize_t n = ::read(s.pipe[0], &byte, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || byte == kStopWatcher) return;
        s.received = static_cast<unsigned char>(byte);
        if (s.onSignal) {
            s.onSignal();
        } else {
            PostQuitMessage(0);
        }
    }
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal)
{
    SignalState& s = State();
    if (s.installed) return;  // one at a time; the first one stays in charge
    if (::pipe2(s.pipe, O_CLOEXEC) != 0) return;
    ::fcntl(s.pipe[1], F_SETFL, O_NONBLOCK);  // the handler must never block
    s.onSignal = std::move(onSignal);
    s.received = 0;
    g_writeFd = s.pipe[1];
    s.watcher = std::thread(Watch, std::ref(s));

    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, &s.oldTerm);
    ::sigaction(SIGINT, &action, &s.oldInt);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGPIPE, &ignore, &s.oldPipe);
    s.installed = true;
    owner_ = true;
}

TerminationSignals::~TerminationSignals()
{
    SignalState& s = State();
    if (!owner_) return;
    ::sigaction(SIGTERM, &s.oldTerm, nullptr);
    ::sigaction(SIGINT, &s.oldInt, nullptr);
    ::sigaction(SIGPIPE, &s.oldPipe, nullptr);
    const char stop = kStopWatcher;
    ::fcntl(s.pipe[1], F_SETFL, 0);
    if (::write(s.pipe[1], &stop, 1) == 1 && s.watcher.joinable()) s.watcher.join();
    if (s.watcher.joinable()) s.watcher.detach();  // could not be told: it ends with the process
    g_writeFd = -1;
    ::close(s.pipe[0]);
    ::close(s.pipe[1]);
    s.pipe[0] = s.pipe[1] = -1;
    s.onSignal = nullptr;
    s.installed = false;
}

int TerminationSignals::received() const
{
    return State().received.load();
}

}  // namespace platform
