#include "tests/installer/program_run_support.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/runtime/clock.h"
#include "platform/runtime/panel_environment.h"
#include "platform/windowing/window.h"

namespace installer_test {

namespace fs = std::filesystem;

void EnsureVirtualClock()
{
    if (platform::IsVirtualClock()) return;
    SYSTEMTIME start;
    start.wYear = 2026;
    start.wMonth = 10;
    start.wDay = 2;
    start.wHour = 7;
    platform::UseVirtualClock(start);
}

fs::path FreshFolder(const std::string& what)
{
    static int serial = 0;
    const fs::path folder =
        fs::temp_directory_path() / ("copyorbitfiles-" + what + "-" + std::to_string(::getpid()) +
                                     "-" + std::to_string(++serial));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

CopyRun::CopyRun(const RunSetup& setup)
{
    EnsureVirtualClock();
    root_ = FreshFolder("panel");
    usb_ = root_ / "Hard Disk2";
    if (setup.hardDisk) fs::create_directories(root_ / "Hard Disk");
    fs::create_directories(usb_);
    if (setup.files) setup.files(root_, usb_);
    CopyOrbitFilesOptions options;
    options.root = root_.string();
    options.usb = usb_.string();
    options.headless = true;
    ui_ = std::make_unique<platform::UiThread>([this, options] {
        exitCode_ = CopyOrbitFilesMain(options);
        ended_ = true;
    });
    platform::WaitIdle();
}

CopyRun::~CopyRun()
{
    ui_->Stop();
    ui_.reset();
    platform::ClearPanelOptions();
    std::error_code ec;
    fs::remove_all(root_, ec);
}

void CopyRun::Advance(int milliseconds)
{
    platform::AdvanceClock(milliseconds);
    platform::WaitIdle();
}

bool CopyRun::WaitEnded(int milliseconds)
{
    return WaitFor([this] { return ended(); }, milliseconds);
}

void WriteMarkerProgram(const fs::path& path, const fs::path& marker)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path);
    // Written aside and renamed, so that a test waiting for the marker never reads it half
    // written.
    out << "#!/bin/sh\necho \"$PANEL_ROOT|$#|$*\" > '" << marker.string() << ".part' && mv '"
        << marker.string() << ".part' '" << marker.string() << "'\n";
    out.close();
    fs::permissions(path, fs::perms::owner_all);
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string WaitForMarker(const fs::path& marker, int milliseconds)
{
    if (!WaitFor([&] { return fs::exists(marker); }, milliseconds)) return {};
    std::string line = ReadFile(marker);
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return line;
}

fs::path ScreenshotFolder()
{
    const char* dir = std::getenv("PANEL_SCREENSHOT_DIR");
    const fs::path folder =
        dir != nullptr && dir[0] != '\0' ? fs::path(dir) : fs::temp_directory_path();
    std::error_code ec;
    fs::create_directories(folder, ec);
    return folder;
}

}  // namespace installer_test
