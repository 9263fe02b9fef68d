// One display per panel root: a lock file in the root held for the whole run, and a local
// socket on which a second start asks the running display to come to the front.
#pragma once

#include <filesystem>

#include "platform/win_types.h"

enum class InstanceClaim {
    First,           // this run holds the lock and listens for later starts
    AlreadyRunning,  // another run holds it; it has been asked to come to the front
    Failed,          // the lock file cannot be made (the run goes on without the rule)
};

class SingleInstance {
public:
    SingleInstance() = default;
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    InstanceClaim Claim(const std::filesystem::path& root);
    // From now on a later start posts this message to the window (thread-safe post).
    void ListenForRaise(HWND main, UINT message);
    // Stops listening and gives the lock back.
    void Release();

private:
    int lockFd_ = -1;
    int listenFd_ = -1;
    HANDLE listener_ = nullptr;
};
