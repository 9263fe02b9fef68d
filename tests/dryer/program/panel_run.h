// Test harness: the whole operator display running headless in this process on the virtual
// clock, connected to the simulated Display I/O board over a pseudo-terminal. A test drives it
// through the automation interface and reads what is shown through the inspection tree.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include <unistd.h>

#include "dryer/app/orbitdryer.h"
#include "dryer/link/comm_thread.h"
#include "dryer/link/dryer_image.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/test_support.h"
#include "platform/windowing/window.h"
#include "sim/display_io_sim.h"

namespace panel_test {

// The panel's local time at the start of every test binary: 14:05 on 3 March 2026.
inline SYSTEMTIME StartTime()
{
    SYSTEMTIME t;
    t.wYear = 2026;
    t.wMonth = 3;
    t.wDay = 3;
    t.wDayOfWeek = 2;
    t.wHour = 14;
    t.wMinute = 5;
    return t;
}

// The virtual clock must be chosen before any window, timer or thread exists.
inline void EnsureVirtualClock()
{
    static const bool once = [] {
        platform::UseVirtualClock(StartTime());
        return true;
    }();
    (void)once;
}

inline std::filesystem::path FreshPanelRoot()
{
    static int serial = 0;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info != nullptr ? std::string(info->test_suite_name()) + "." + info->name()
                                       : std::string("panel");
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    const auto root =
        std::filesystem::temp_directory_path() / ("orbitdryer-test-" + std::to_string(::getpid()) +
                                                  "-" + std::to_string(++serial) + "-" + name);
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    return root;
}

// An image in which a field's bytes are laid out before they go to the board.
using ScratchImage = std::array<std::uint8_t, kImageSize>;

inline bool IsMainClass(const platform::WindowInfo& w)
{
    return w.className == kMainWindowClass;
}

// Prepares a run before the display starts: files in the panel root, further options.
using PanelRunSetup = std::function<void(const std::filesystem::path& root, OrbitDryerOptions&)>;

class PanelRun {
public:
    explicit PanelRun(sim::SimOptions simOptions = {}, const PanelRunSetup& setup = {})
    {
        EnsureVirtualClock();
        root_ = FreshPanelRoot();
        sim_ = std::make_unique<sim::DisplayIoSimulator>(simOptions);
        simStarted_ = sim_->Start();
        options_.root = root_.string();
        options_.port = sim_->devicePath();
        options_.headless = true;
        if (setup) setup(root_, options_);
        ui_ =
            std::make_unique<platform::UiThread>([this] { exitCode_ = OrbitDryerMain(options_); });
        for (int i = 0; i < 200 && MainWindowCount() == 0; ++i) platform::WaitIdle();
        Cycles(3);  // the first answers fill the image
    }
    ~PanelRun() { Stop(); }

    int Stop()
    {
        if (ui_ != nullptr) {
            ui_->Stop();
            ui_.reset();
            sim_->Stop();
            std::error_code ec;
            std::filesystem::remove_all(root_, ec);
        }
        return exitCode_;
    }

    bool started() const { return simStarted_ && MainWindowCount() == 1; }
    sim::DisplayIoSimulator& sim() { return *sim_; }
    const OrbitDryerOptions& options() const { return options_; }
    const std::filesystem::path& root() const { return root_; }

    // Moves the panel clock forward, stopping at every 175 ms tick. After each tick that polls
    // (every 350 ms from the start of the run), waits until the simulator has answered, so the
    // link keeps pace with the virtual clock.
    void Advance(int milliseconds) { Step(milliseconds, true); }
    // Runs time on while the board does not answer: each exchange cycle a tick starts is
    // still waited for, so the link sees the silence at the panel times it would.
    void AdvanceWithoutAnswers(int milliseconds) { Step(milliseconds, false); }
    // Panel milliseconds since the run started.
    std::int64_t now() const { return now_; }
    // Runs whole exchange cycles (350 ms each).
    void Cycles(int count) { Advance(350 * count); }

    // Holds a field on the board (its first element: a byte, a word in its byte order, the
    // seconds of a time pair) and waits after each byte until the panel has decoded it.
    void Pin(ImageField field, int value)
    {
        ScratchImage bytes{};
        SetValue(bytes, field, value);
        PinBytes(field, bytes);
    }
    // Holds a time pair on the board as minutes and seconds.
    void Pin(ImageField field, MinSec time)
    {
        ScratchImage bytes{};
        WriteTime(bytes, field, time);
        PinBytes(field, bytes);
    }

    static int MainWindowCount()
    {
        int n = 0;
        for (const auto& w : platform::InspectWindows()) n += IsMainClass(w) ? 1 : 0;
        return n;
    }

private:
    void PinBytes(ImageField field, const ScratchImage& bytes)
    {
        for (std::size_t i = field.offset; i < field.offset + field.unit(); ++i) {
            sim_->Control("pin " + std::to_string(i) + " " + std::to_string(bytes[i]));
            Cycles(3);
        }
    }

    void Step(int milliseconds, bool answers)
    {
        const std::int64_t end = now_ + milliseconds;
        while (now_ < end) {
            const std::int64_t next = std::min(end, (now_ / 175 + 1) * 175);
            const std::uint64_t before = sim_->requestsAnswered();
            const LinkCounters link = GetLinkCounters();
            platform::AdvanceClock(next - now_);
            now_ = next;
            if (GetLinkCounters().pollSignals == link.pollSignals) continue;
            // The tick set the poll event: let the communication thread decode the answer and
            // write its request, the board answer it, and the screens take what the decoder
            // posted, before time moves on.
            WaitUntil([&] { return GetLinkCounters().cycles > link.cycles; });
            if (answers) WaitUntil([&] { return sim_->requestsAnswered() > before; });
            platform::WaitIdle();
        }
        platform::WaitIdle();
    }

    // Waits in real time (bounded) for the other threads: the communication thread and the
    // simulator run on their own, only the panel clock is virtual.
    template <typename Done>
    static void WaitUntil(Done done)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!done() && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }

    std::filesystem::path root_;
    std::unique_ptr<sim::DisplayIoSimulator> sim_;
    bool simStarted_ = false;
    OrbitDryerOptions options_;
    std::unique_ptr<platform::UiThread> ui_;
    int exitCode_ = -1;
    std::int64_t now_ = 0;  // panel milliseconds since the run started
};

// Sets the first element of a field on the board, byte by byte, once: the dryer may change it
// again.
inline void SetOnBoard(sim::DisplayIoSimulator& sim, ImageField field, int value)
{
    ScratchImage bytes{};
    SetValue(bytes, field, value);
    for (std::size_t i = field.offset; i < field.offset + field.unit(); ++i) {
        sim.Control("set " + std::to_string(i) + " " + std::to_string(bytes[i]));
    }
}

// The first byte of a field as the board's control channel reports it ("ok 53 = 5 (0x05)"),
// which also reads the clock the board was sent; -1 on error.
inline int SimByte(sim::DisplayIoSimulator& sim, ImageField field)
{
    const std::string answer = sim.Control("get " + std::to_string(field.offset));
    const auto eq = answer.find("= ");
    if (answer.rfind("ok", 0) != 0 || eq == std::string::npos) return -1;
    return std::atoi(answer.c_str() + eq + 2);
}

// ---- reading the inspection tree ----

inline std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

inline std::optional<platform::WindowInfo> FindShown(const std::wstring& className)
{
    for (const auto& w : platform::InspectWindows()) {
        if (w.className == className) return w;
    }
    return std::nullopt;
}

inline bool Shown(const std::wstring& className)
{
    return FindShown(className).has_value();
}

inline std::optional<platform::WindowInfo> TopMessageBox()
{
    for (const auto& w : platform::InspectWindows()) {
        if (w.isMessageBox) return w;
    }
    return std::nullopt;
}

// The top-most window with this title (dialogs are found by their title).
inline std::optional<platform::WindowInfo> FindTitled(const std::wstring& title)
{
    for (const auto& w : platform::InspectWindows()) {
        if (w.title == title) return w;
    }
    return std::nullopt;
}

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
