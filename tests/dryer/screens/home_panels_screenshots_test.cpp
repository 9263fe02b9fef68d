// Screenshots of the home panels and the warning screens: the whole display runs headless
// in-process without a link, and each scene writes its dryer image straight into DryerImage.
// Skipped unless HOME_PANEL_SCREENSHOTS names the output folder
// (scripts/screenshots_home_panels runs it).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "dryer/app/orbitdryer.h"
#include "dryer/app/timers.h"
#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/screens/panel_animation.h"
#include "platform/runtime/runtime.h"
#include "platform/windowing/window.h"

namespace {

struct Scene {
    std::string name;
    std::function<void(std::array<std::uint8_t, kImageSize>&)> build;
    bool linkLost = false;
    bool waitForBlink = false;
};

void Le(std::array<std::uint8_t, kImageSize>& b, int offset, int value)
{
    b[offset] = static_cast<std::uint8_t>(value & 0xFF);
    b[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}
void Be(std::array<std::uint8_t, kImageSize>& b, int offset, int value)
{
    b[offset] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    b[offset + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

// A running continuous-flow dryer; heaters 1..n with the given fan/burner states.
void RunningDryer(std::array<std::uint8_t, kImageSize>& b, int countCode, int modules)
{
    b[3] = static_cast<std::uint8_t>(countCode);
    b[4] = static_cast<std::uint8_t>(modules);
    b[171] = 0xA0;
    b[188] = 0x40;  // started
    b[187] = 0x81;  // temperature scheme, automatic
    b[245] = 5;
    b[155] = 1;
    b[223] = 3;
    Le(b, 93, 112);
    Le(b, 91, 110);
    Le(b, 89, 108);
    Le(b, 149, 115);
    Be(b, 191, 215);
    Be(b, 189, 152);
    Be(b, 199, 150);
    Be(b, 173, 850);
    const std::uint32_t counter = 3600u * 12345u;
    for (int i = 0; i < 4; ++i) b[164 + i] = static_cast<std::uint8_t>(counter >> (8 * i));
    Be(b, 197, 123);
    Be(b, 193, 1105);
    b[58] = 0x08;  // metering rolls turning
    const int temps[] = {185, 178, 192, 170, 181, 188};
    const int setpoints[] = {190, 180, 190, 175, 185, 190};
    // fan/heater k: 1 high fire, 2 low fire, 3 running, 4 idle, then again
    const std::uint8_t flags[] = {0x03, 0x03, 0x01, 0x00, 0x03, 0x01};
    const std::uint8_t states[] = {0x07, 0x03, 0x01, 0x00, 0x07, 0x01};
    for (int k = 1; k <= 6; ++k) {
        Le(b, 83 - 2 * k, temps[k - 1]);
        Le(b, 71 - 2 * k, setpoints[k - 1]);
        b[137 - k] = flags[k - 1];
        b[131 - k] = states[k - 1];
    }
}

std::vector<Scene> Scenes()
{
    std::vector<Scene> scenes;
    scenes.push_back({"home-1-fan-heater", [](auto& b) { RunningDryer(b, 0, 0); }});
    scenes.push_back({"home-2-fan-heaters", [](auto& b) { RunningDryer(b, 1, 0); }});
    scenes.push_back({"home-4-fan-heaters-two-module", [](auto& b) { RunningDryer(b, 3, 1); }});
    scenes.push_back({"home-6-fan-heaters-three-module", [](auto& b) {
                          RunningDryer(b, 4, 2);
                          b[187] = 0x83;  // moisture scheme
                          b[201] = 3;
                      }});
    scenes.push_back({"picture-tower", [](auto& b) {
                          RunningDryer(b, 0, 0);
                          b[225] = 0x20;
                          b[171] = 0xE0;  // unloading
                      }});
    scenes.push_back({"picture-one-module-celsius-sampler", [](auto& b) {
                          RunningDryer(b, 2, 0);
                          b[266] = 0x80;
                          b[293] = 0x80;
                          b[292] = 0x02;
                      }});
    scenes.push_back({"shutdown-grain-overheat",
                      [](auto& b) {
                          RunningDryer(b, 1, 0);
                          b[188] = 0x00;
                          b[186] = 0x03;
                          b[185] = 0x05;
                      },
                      false, true});
    scenes.push_back({"emergency-cooling",
                      [](auto& b) {
                          RunningDryer(b, 1, 0);
                          b[188] = 0x10;
                          b[186] = 0x03;
                          b[185] = 0x05;
                      },
                      false, true});
    scenes.push_back({"cool-down",
                      [](auto& b) {
                          RunningDryer(b, 0, 0);
                          b[188] = 0x02;
                          b[186] = 0x0E;
                          b[185] = 0x08;
                          b[267] = 2;
                          b[268] = 5;
                      },
                      false, true});
    scenes.push_back({"connection-lost", [](auto& b) { RunningDryer(b, 0, 0); }, true, false});
    return scenes;
}

void Invalidate()
{
    for (const wchar_t* cls :
         {L"DRYER_PIC_WINDOW", L"CUSTOM_VIEW_WINDOW", L"DRYER_RIGHT_STATUS_BAR_WINDOW",
          L"WARNING_WINDOW", L"AVERAGE_VALUES_WINDOW", L"LINE_GRAPH_WINDOW",
          L"UNLOAD_STATUS_WINDOW"}) {
        platform::InvalidateWindowClass(cls, nullptr, TRUE);
    }
}

bool MainWindowShown()
{
    for (const auto& w : platform::InspectWindows()) {
        if (w.className == kMainWindowClass) return true;
    }
    return false;
}

TEST(HomePanelScreenshots, Scenes)
{
    const char* out = std::getenv("HOME_PANEL_SCREENSHOTS");
    if (out == nullptr) GTEST_SKIP() << "set HOME_PANEL_SCREENSHOTS to an output folder";
    std::filesystem::create_directories(out);
    const auto root = std::filesystem::temp_directory_path() / "home_panel_screenshots";
    std::filesystem::remove_all(root);

    platform::ScreenOptions screen;
    screen.headless = true;
    ASSERT_TRUE(platform::OpenScreen(screen));
    OrbitDryerOptions options;
    options.root = root.string();
    options.port = (root / "no-port").string();
    options.headless = true;
    options.screenAlreadyOpen = true;

    using namespace std::chrono_literals;
    std::thread driver([&] {
        for (int i = 0; i < 100 && !MainWindowShown(); ++i) std::this_thread::sleep_for(50ms);
        for (const Scene& scene : Scenes()) {
            std::array<std::uint8_t, kImageSize> bytes{};
            scene.build(bytes);
            for (std::size_t i = 0; i < kImageSize; ++i) DryerImage.Set(i, bytes[i]);
            LinkWatchdog.store(scene.linkLost ? 0 : kLinkWatchdogReload);
            Invalidate();
            std::this_thread::sleep_for(1200ms);
            if (scene.waitForBlink) {
                // The titles flash: wait for the blink to be on, then for its repaint.
                for (int i = 0; i < 40 && (Animation().blinkFlags & kSlowBlinkBit) == 0; ++i) {
                    std::this_thread::sleep_for(25ms);
                }
                std::this_thread::sleep_for(150ms);
            }
            if (!scene.linkLost) LinkWatchdog.store(kLinkWatchdogReload);
            platform::WaitIdle();
            const auto path = std::filesystem::path(out) / (scene.name + ".png");
            EXPECT_TRUE(platform::SaveScreenshot(path)) << path;
            std::printf("%s\n", path.c_str());
        }
        RequestOrbitDryerQuit();
    });
    OrbitDryerMain(options);
    driver.join();
    std::filesystem::remove_all(root);
}

}  // namespace
