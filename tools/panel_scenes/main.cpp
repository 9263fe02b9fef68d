// panel_scenes: pictures of the home screen's dryer pictures and plenum panels and of the
// warning screens. The display runs headless in this process without a link; each scene writes
// its dryer image straight into DryerImage, and the screen is saved as OUTPUT_DIR/<scene>.png.
// The display runs on the virtual clock, stepped the same way for every scene, so that the
// blinking texts and the turning fans are caught in the same phase on every run. Usage:
// panel_scenes OUTPUT_DIR. Exit code 0 when every picture was written, 1 when one was not, 2 on a
// wrong command line.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "dryer/app/orbitdryer.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/command_line.h"
#include "platform/runtime/runtime.h"
#include "platform/windowing/window.h"
#include "tools/panel_scenes/home_panel_scenes.h"

namespace {

using namespace std::chrono_literals;

constexpr const char* kUsage =
    "usage: panel_scenes OUTPUT_DIR\n"
    "writes a PNG picture of each home panel and warning screen scene into OUTPUT_DIR\n";

bool MainWindowShown()
{
    for (const auto& w : platform::InspectWindows()) {
        if (w.className == kMainWindowClass) return true;
    }
    return false;
}

// Runs beside the display's message loop: shows each scene, saves the screen, then ends the
// display. Returns the number of pictures that could not be written.
int TakePictures(const std::filesystem::path& out)
{
    for (int i = 0; i < 100 && !MainWindowShown(); ++i) std::this_thread::sleep_for(50ms);
    int failed = 0;
    for (const Scene& scene : HomePanelScenes()) {
        ShowScene(scene);
        const auto path = out / (scene.name + ".png");
        if (platform::SaveScreenshot(path)) {
            std::printf("%s\n", path.c_str());
        } else {
            std::fprintf(stderr, "panel_scenes: could not write %s\n", path.c_str());
            ++failed;
        }
    }
    RequestOrbitDryerQuit();
    return failed;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string outDir;
    platform::ProgramOptions line("panel_scenes");
    line.Positional("OUTPUT_DIR", outDir);
    if (const auto code =
            platform::ReportCommandLine(line.Parse(platform::Arguments(argc, argv)), kUsage)) {
        return *code;
    }
    const std::filesystem::path out = outDir;
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    if (ec) {
        std::fprintf(stderr, "panel_scenes: %s: %s\n", out.c_str(), ec.message().c_str());
        return 1;
    }
    // A panel root of its own, without a serial port: the scenes feed the image directly.
    const auto root = std::filesystem::temp_directory_path() / "panel_scenes";
    std::filesystem::remove_all(root, ec);

    // A fixed panel date and time: the pictures do not depend on when they are taken.
    SYSTEMTIME start{};
    start.wYear = 2026;
    start.wMonth = 3;
    start.wDay = 3;
    start.wHour = 14;
    start.wMinute = 5;
    platform::UseVirtualClock(start);

    platform::ScreenOptions screen;
    screen.headless = true;
    if (!platform::OpenScreen(screen)) {
        std::fputs("panel_scenes: cannot open the off-screen display\n", stderr);
        return 1;
    }
    OrbitDryerOptions options;
    options.root = root.string();
    options.port = (root / "no-port").string();
    options.headless = true;
    options.screenAlreadyOpen = true;

    int failed = 0;
    std::thread pictures([&] { failed = TakePictures(out); });
    OrbitDryerMain(options);
    pictures.join();
    std::filesystem::remove_all(root, ec);  // a leftover temporary folder is harmless
    return failed == 0 ? 0 : 1;
}
