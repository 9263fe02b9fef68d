// Finding what a program shows through the inspection API, and waiting in real time for
// something another thread does: the lookups the whole-program tests of every panel program
// share.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "platform/runtime/runtime.h"

namespace panel_test {

// Polls `done` until it holds or `milliseconds` of real time have passed.
inline bool WaitFor(const std::function<bool()>& done, int milliseconds = 5000)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

inline std::optional<platform::WindowInfo> FindWindowOfClass(const std::wstring& className)
{
    for (const auto& w : platform::InspectWindows()) {
        if (w.className == className) return w;
    }
    return std::nullopt;
}

inline std::optional<platform::WindowInfo> FindTitled(const std::wstring& title)
{
    for (const auto& w : platform::InspectWindows()) {
        if (w.title == title) return w;
    }
    return std::nullopt;
}

// The message box in front, if one is open.
inline std::optional<platform::WindowInfo> TopMessageBox()
{
    for (const auto& w : platform::InspectWindows()) {
        if (w.isMessageBox) return w;
    }
    return std::nullopt;
}

// A control of any open window by its id.
inline std::optional<platform::ControlInfo> FindControl(int id)
{
    for (const auto& w : platform::InspectWindows()) {
        for (const auto& c : w.controls) {
            if (c.id == id) return c;
        }
    }
    return std::nullopt;
}

}  // namespace panel_test
