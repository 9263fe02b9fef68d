// The end of a panel program from outside: SIGTERM and SIGINT become a quit of the message
// loop (or whatever the program asks for), so that its normal shutdown runs: the link stops,
// files close, sockets are removed, the lock is given back. SIGPIPE is ignored for the run:
// a peer that went away shows as a failed write.
#pragma once

#include <functional>

namespace platform {

class TerminationSignals {
public:
    // From now on SIGTERM and SIGINT call onSignal on a thread of their own; without one they
    // post a quit message (PostQuitMessage(0)) to the message loop. One at a time per process.
    explicit TerminationSignals(std::function<void()> onSignal = {});
    ~TerminationSignals();  // the signals get back the handlers they had before
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // The last signal that came (SIGTERM or SIGINT), or 0.
    int received() const;

private:
    bool owner_ = false;
};

}  // namespace platform
