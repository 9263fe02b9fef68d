// Test harness: runs a program's user-interface thread on its own std::thread, so that a test
// can drive it from the test thread through the automation interface (platform/runtime/runtime.h).
//
//   platform::UiThread ui([] {
//       platform::OpenScreen({});
//       ... create windows ...
//       MSG m;
//       while (GetMessage(&m, nullptr, 0, 0)) DispatchMessage(&m);
//   });
//   platform::Tap(100, 100);
//   ui.Stop();  // posts quit, joins, closes the screen
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/runtime/runtime.h"
#include "platform/windowing/window.h"

namespace platform {

class UiThread {
public:
    // Starts `body` on a new thread and waits until it has opened the screen and gone idle.
    // When body does not call OpenScreen itself, a headless screen is opened for it first.
    explicit UiThread(std::function<void()> body, bool openScreen = false)
    {
        thread_ = std::thread([this, body = std::move(body), openScreen] {
            if (openScreen) OpenScreen(ScreenOptions{});
            body();
            {
                // A quit that Stop posts from now on would outlive the screen and end the next
                // one's first loop; the reset in CloseScreen takes any posted before.
                std::lock_guard lock(mu_);
                closing_ = true;
            }
            CloseScreen();
            std::lock_guard lock(mu_);
            finished_ = true;
            cv_.notify_all();
        });
        // The screen is open once the thread answers a marshalled call.
        for (int tries = 0; tries < 2000 && !ScreenIsOpen(); ++tries) {
            std::unique_lock lock(mu_);
            if (cv_.wait_for(lock, std::chrono::milliseconds(1), [&] { return finished_; })) break;
        }
        WaitIdle();
    }
    // Runs the standard message loop after `setup` (which opens the screen if needed).
    static UiThread WithLoop(std::function<void()> setup)
    {
        return UiThread([setup = std::move(setup)] {
            setup();
            MSG m;
            while (GetMessage(&m, nullptr, 0, 0)) DispatchMessage(&m);
        });
    }
    UiThread(const UiThread&) = delete;
    UiThread& operator=(const UiThread&) = delete;
    UiThread(UiThread&& other) = delete;
    ~UiThread() { Stop(); }

    // Ends the loop with a quit message and waits for the thread.
    void Stop()
    {
        if (!thread_.joinable()) return;
        {
            std::lock_guard lock(mu_);
            if (!closing_) PostQuitMessage(0);
        }
        thread_.join();
    }

private:
    std::thread thread_;
    std::mutex mu_;
    std::condition_variable cv_;
    bool closing_ = false;  // the body has returned
    bool finished_ = false;
};

// Runs modal code (a dialog or message box opened on this, the user-interface thread) while
// `driver` works it from a helper thread through the automation interface. The modal code
// returns as soon as the driver's last tap closes it; this thread then keeps serving the message
// loop until the driver is done, so the driver's waits after that tap (WaitIdle inside the tap,
// InspectWindows) find a loop that answers rather than a thread blocked in a join.
inline INT_PTR DriveModal(const std::function<INT_PTR()>& modal,
                          const std::function<void()>& driver)
{
    std::atomic<bool> done{false};
    std::thread helper([&] {
        driver();
        done = true;
        PostMessage(nullptr, WM_NULL, 0, 0);  // wakes the loop below
    });
    const INT_PTR result = modal();
    bool quit = false;
    int quitCode = 0;
    MSG m;
    while (!done.load()) {
        if (GetMessage(&m, nullptr, 0, 0) == FALSE) {
            quit = true;
            quitCode = static_cast<int>(m.wParam);
            continue;
        }
        DispatchMessage(&m);
    }
    helper.join();
    if (quit) PostQuitMessage(quitCode);  // for the loop outside, as a modal loop does
    return result;
}

}  // namespace platform
