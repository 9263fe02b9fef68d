// One running program per panel root: a lock file held for the whole run, and a local socket
// on which a second start asks the running program to come to the front. A program that cannot
// take the lock does not run unlocked: it says why and ends.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <thread>

namespace platform {

enum class InstanceClaim {
    First,           // this run holds the lock and may listen for later starts
    AlreadyRunning,  // another run holds it; it has been asked to come to the front
    Failed,          // the lock file cannot be made or locked; error() says why
};

class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock();  // gives the lock back
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes an exclusive lock on the file (made when missing; a lock file left by a program
    // that was killed is taken over, since the lock ends with its holder).
    InstanceClaim Claim(const std::filesystem::path& lockFile);
    const std::string& error() const { return error_; }  // after Failed: one line
    // After AlreadyRunning: whether the running program took the request to come forward.
    bool raised() const { return raised_; }

    // From now on a later start calls onRaise (on a thread of its own; post a message).
    void ListenForRaise(std::function<void()> onRaise);
    // Stops listening, removes the lock file and gives the lock back.
    void Release();

private:
    int lockFd_ = -1;
    std::filesystem::path lockPath_;  // removed again when the lock is given back
    int listenFd_ = -1;
    std::function<void()> onRaise_;
    std::thread listener_;
    std::string error_;
    bool raised_ = false;
};

}  // namespace platform
