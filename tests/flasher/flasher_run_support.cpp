#include "tests/flasher/flasher_run_support.h"

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/runtime/clock.h"
#include "platform/runtime/panel_environment.h"
#include "platform/windowing/window.h"

namespace flasher_test {

void EnsureVirtualClock()
{
    if (platform::IsVirtualClock()) return;
    SYSTEMTIME start;
    start.wYear = 2026;
    start.wMonth = 9;
    start.wDay = 14;
    start.wHour = 8;
    platform::UseVirtualClock(start);
}

std::filesystem::path FreshPanelRoot()
{
    static int serial = 0;
    const auto root =
        std::filesystem::temp_directory_path() /
        ("nodeflasher-test-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    return root;
}

FlasherRun::FlasherRun(const RunSetup& setup)
{
    EnsureVirtualClock();
    root_ = FreshPanelRoot();
    if (setup.files) setup.files(root_);
    NodeFlasherOptions options;
    options.root = root_.string();
    options.headless = true;
    options.statusKey = setup.statusKey;
    if (setup.badPort) {
        options.port = (root_ / "no-such-port").string();
    } else {
        sim_ = std::make_unique<sim::DisplayIoSimulator>(sim::SimOptions{});
        EXPECT_TRUE(sim_->Start()) << sim_->lastError();
        options.port = sim_->devicePath();
    }
    ui_ = std::make_unique<platform::UiThread>([this, options] {
        exitCode_ = NodeFlasherMain(options);
        ended_ = true;
    });
    platform::WaitIdle();
}

FlasherRun::~FlasherRun()
{
    ui_->Stop();
    ui_.reset();
    if (sim_ != nullptr) sim_->Stop();
    platform::ClearPanelOptions();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

void FlasherRun::Advance(int milliseconds)
{
    platform::AdvanceClock(milliseconds);
    platform::WaitIdle();
}

bool Drew(const platform::WindowInfo& window, const std::wstring& text)
{
    for (const auto& t : window.texts) {
        if (t.text == text) return true;
    }
    return false;
}

void WriteMarkerProgram(const std::filesystem::path& path, const std::filesystem::path& marker)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path);
    // Written aside and renamed, so that a test waiting for the marker never reads it half
    // written.
    out << "#!/bin/sh\necho \"$PANEL_ROOT|$#\" > '" << marker.string() << ".part' && mv '"
        << marker.string() << ".part' '" << marker.string() << "'\n";
    out.close();
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace flasher_test
