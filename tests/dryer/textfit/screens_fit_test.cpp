// Every text of the operator display's screens fits its box: the screens the screenshot script
// visits, each reached along its own path, and a walk that from TIMERS, TEMPS, SETUP and the
// view menu presses every button and checks whatever opens.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "dryer/screens/screen_manager.h"
#include "dryer/screens/screen_procs.h"
#include "dryer/screens/status_chart.h"
#include "dryer/screens/view_menu.h"
#include "dryer/setup/setup_selection.h"
#include "dryer/setup/system_diagnostics.h"
#include "tests/dryer/textfit/screen_walk_support.h"

namespace {

using fit_test::Path;
using fit_test::Press;
using fit_test::Start;
using fit_test::Tap;

Start Scenario(const std::string& scenario)
{
    Start start;
    start.dryer.scenario = scenario;
    return start;
}

// One 18-byte sample of the short-term and graph logs.
void AppendSample(std::ofstream& out, int grain, int inTemp, int inMoisture, int outTemp,
                  int outMoisture, int roll, int hour, int minute, int second)
{
    const int words[] = {grain, inTemp, inMoisture, outTemp, outMoisture};
    for (int w : words) {
        out.put(static_cast<char>(w >> 8));
        out.put(static_cast<char>(w & 0xFF));
    }
    for (int b : {0, roll, 0, hour, minute, second, 3, 3}) out.put(static_cast<char>(b));
}

// A morning's status chart samples, as the screenshot script seeds them.
void SeedShortTermLog(const std::filesystem::path& root, OrbitDryerOptions&)
{
    const auto dir = root / "Hard Disk" / "ShortTermDataLog";
    std::filesystem::create_directories(dir);
    std::ofstream out(dir / "DATA_LOG_24HR26_03_03_06_00_00.DAT", std::ios::binary);
    for (int i = 0; i < 20; ++i) {
        AppendSample(out, 118 + i % 5, 655 + i, 231 - i, 902 + 3 * i, 160 - i, 40 + i, 6 + i / 6,
                     (i * 10) % 60, 0);
    }
}

// Two hours of graph samples every ten seconds.
void SeedGraphLog(const std::filesystem::path& root, OrbitDryerOptions&)
{
    const auto dir = root / "Hard Disk" / "GraphDataLog";
    std::filesystem::create_directories(dir);
    std::ofstream out(dir / "GRAPH_DATA_LOG_24HR26_03_03_11_00_00.DAT", std::ios::binary);
    for (int i = 0; i < 720; ++i) {
        const int t = 11 * 3600 + 10 * i;
        AppendSample(out, 112 + (i / 40) % 9, 580 + (i * 3) % 140, 240 - (i / 12) % 35,
                     880 + (i * 7) % 260, 152 + (i / 30) % 12, 35 + (i / 20) % 30, t / 3600,
                     t / 60 % 60, t % 60);
    }
}

Start WithLog(void (*seed)(const std::filesystem::path&, OrbitDryerOptions&))
{
    Start start = Scenario("continuous-1fh");
    start.files = seed;
    return start;
}

Path WithTraces(Path path)
{
    for (int id = 2510; id <= 2515; ++id) path.push_back(Press(id));
    return path;
}

TEST(ScreensFit, TheScreensOfTheScreenshotsFitTheirTexts)
{
    const Path graph{Press(kCmdView), Press(kViewGraphButton)};
    fit_test::CheckAlong("home-chart-view", Scenario("continuous-1fh"), {});
    fit_test::CheckAlong("home-graph-view", Scenario("continuous-1fh"), graph);
    fit_test::CheckAlong("home-batch-drying", Scenario("batch-dual-heat"), {});
    fit_test::CheckAlong("view-menu", Scenario("continuous-1fh"), {Press(kCmdView)});
    fit_test::CheckAlong("status-chart", WithLog(SeedShortTermLog), {});
    fit_test::CheckAlong("status-chart-scrolled", WithLog(SeedShortTermLog),
                         {Tap(617, 113), Tap(617, 113), Tap(617, 113)});
    fit_test::CheckAlong("sample-time-dialog", Scenario("continuous-1fh"),
                         {Press(kStatusChartSampleTimeButton)});
    fit_test::CheckAlong("graph-all-traces", WithLog(SeedGraphLog), WithTraces(graph));
    Path hourBack = WithTraces(graph);
    hourBack.push_back(Tap(252, 278));
    fit_test::CheckAlong("graph-an-hour-back", WithLog(SeedGraphLog), hourBack);
    Path setup = graph;
    setup.push_back(Press(2517));
    fit_test::CheckAlong("graph-setup-dialog", WithLog(SeedGraphLog), setup);
    fit_test::CheckAlong("timers", Scenario("continuous-1fh"), {Press(kCmdTimers)});
    fit_test::CheckAlong("timer-keypad", Scenario("continuous-1fh"),
                         {Press(kCmdTimers), Press(0x9110), Press(0x9141), Press(0x9152)});
    for (const char* scenario :
         {"continuous-1fh", "continuous-6fh", "continuous-si", "batch-dual-heat"}) {
        fit_test::CheckAlong(std::string("temps-") + scenario, Scenario(scenario),
                             {Press(kCmdTemps)});
    }
    fit_test::CheckAlong("temperature-keypad", Scenario("continuous-1fh"),
                         {Press(kCmdTemps), Press(0x9141)});
    fit_test::CheckAlong("setup-selection", Scenario("continuous-1fh"), {Press(kCmdSetup)});
    fit_test::CheckAlong("burner-mode", Scenario("continuous-4fh"),
                         {Press(kCmdSetup), Press(0x9004)});
    fit_test::CheckAlong(
        "hardware-setup", Scenario("continuous-4fh"),
        {Press(kCmdSetup), Press(kSetupExtendedButton), Press(kExtendedHardwareButton)});
    fit_test::CheckAlong("drying-mode", Scenario("continuous-1fh"),
                         {Press(kCmdSetup), Press(0x9006)});
    fit_test::CheckAlong("continuous-flow-setup", Scenario("continuous-1fh"),
                         {Press(kCmdSetup), Press(0x9007)});
    fit_test::CheckAlong("staged-batch-setup", Scenario("batch-dual-heat"),
                         {Press(kCmdSetup), Press(0x9007)});
    // the service screens
    const Path extended{Press(kCmdSetup), Press(kSetupExtendedButton)};
    const Path diagnostics{Press(kCmdSetup), Press(kSetupExtendedButton),
                           Press(kExtendedDiagnosticsButton)};
    fit_test::CheckAlong("unload-parameters", Scenario("continuous-1fh"),
                         {Press(kCmdSetup), Press(kSetupUnloadButton)});
    fit_test::CheckAlong("plenum-manager", Scenario("continuous-1fh"),
                         {Press(kCmdSetup), Press(kSetupPlenumManagerButton)});
    fit_test::CheckAlong("moisture-mc-button", Scenario("continuous-1fh"), {Press(kCmdMisc)});
    fit_test::CheckAlong("extended-setup", Scenario("continuous-si"), extended);
    fit_test::CheckAlong("system-diagnostics", Scenario("continuous-6fh"), diagnostics);
    for (int door : {kDiagLightOutputsButton, kDiagSwitchWiringButton, kDiagMeterRollsButton,
                     kDiagCalibrationButton}) {
        Path path = diagnostics;
        path.push_back(Press(door));
        fit_test::CheckAlong("diagnostics-" + std::to_string(door), Scenario("continuous-1fh"),
                             path);
    }
    for (int button :
         {kExtendedBurnerDifferentialButton, kExtendedPrinterButton, kExtendedClockButton,
          kExtendedUserSettingsButton, kExtendedUnloadBushelsButton, kExtendedSamplerButton}) {
        Path path = extended;
        path.push_back(Press(button));
        fit_test::CheckAlong("extended-" + std::to_string(button), Scenario("continuous-si"), path);
    }
    fit_test::CheckAlong("system-information", Scenario("continuous-1fh"),
                         {Press(kCmdView), Press(kViewSystemInfoButton)});
    fit_test::CheckAlong("software-release", Scenario("continuous-1fh"),
                         {Press(kCmdView), Press(kViewSoftwareInfoButton)});
    fit_test::CheckAlong("shutdown-history", Scenario("continuous-1fh"),
                         {Press(kCmdView), Press(kViewHistoryButton)});
    // a history of shutdowns: the longest warning texts in the list's first column
    fit_test::CheckAlong(
        "shutdown-history-filled", Scenario("continuous-1fh"),
        {fit_test::Dryer("warn 0E08"), fit_test::Dryer("clear"), fit_test::Dryer("warn 0305"),
         fit_test::Dryer("clear"), fit_test::Dryer("warn 0E05"), fit_test::Dryer("clear"),
         Press(kCmdView), Press(kViewHistoryButton)});
}

// From each of the home screen's four doors, every button and whatever it opens, two levels
// deep: a screen added behind one of them is checked without a change here.
class EveryButton : public ::testing::TestWithParam<int> {};

TEST_P(EveryButton, OpensScreensWhoseTextsFit)
{
    std::set<std::wstring> seen;
    for (const char* scenario : {"continuous-4fh", "batch-dual-heat"}) {
        fit_test::WalkEveryButton(std::string(scenario) + " " + std::to_string(GetParam()),
                                  Scenario(scenario), {Press(GetParam())}, 2, seen);
    }
    // the door itself, and at least what it opens
    EXPECT_GE(seen.size(), 3u) << "the walk found hardly a screen behind the door";
}

INSTANTIATE_TEST_SUITE_P(HomeDoors, EveryButton,
                         ::testing::Values(kCmdTimers, kCmdTemps, kCmdSetup, kCmdView));

}  // namespace
