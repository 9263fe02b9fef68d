// The operator display as a whole program: its command line, the link pacing of the 175 ms
// tick, the clock record of the 1-second tick, the single-instance rule and the start-up
// registry value, all against the simulated board on the virtual clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "dryer/app/orbitdryer.h"
#include "dryer/link/dryer_image.h"
#include "platform/runtime/panel_environment.h"
#include "platform/storage/files.h"
#include "platform/storage/registry.h"
#include "tests/dryer/program/panel_run.h"

namespace {

using panel_test::PanelRun;

// ---- command line ----

TEST(OrbitDryerCommandLine, DefaultsWithoutOptions)
{
    const CommandLine line = ParseCommandLine({});
    ASSERT_TRUE(line.options.has_value());
    EXPECT_EQ(line.options->root, "./panel");
    EXPECT_EQ(line.options->port, "/dev/ttyS0");
    EXPECT_TRUE(line.options->usb.empty());
    EXPECT_FALSE(line.options->simulate);
    EXPECT_FALSE(line.options->headless);
    EXPECT_EQ(line.options->scale, 0);  // as large as fits the screen
}

TEST(OrbitDryerCommandLine, TakesEveryOption)
{
    const CommandLine line = ParseCommandLine(
        {"--root", "/tmp/r", "--port", "/dev/null", "--usb", "/tmp/u", "--simulate", "--scenario",
         "batch-dual-heat", "--sim-control", "/tmp/s.sock", "--headless", "--control",
         "/tmp/c.sock", "--scale", "2", "--fullscreen"});
    ASSERT_TRUE(line.options.has_value()) << line.error;
    EXPECT_EQ(line.options->root, "/tmp/r");
    EXPECT_EQ(line.options->port, "/dev/null");  // any character device
    EXPECT_EQ(line.options->usb, "/tmp/u");
    EXPECT_TRUE(line.options->simulate);
    EXPECT_EQ(line.options->scenario, "batch-dual-heat");
    EXPECT_EQ(line.options->simControl, "/tmp/s.sock");
    EXPECT_TRUE(line.options->headless);
    EXPECT_EQ(line.options->control, "/tmp/c.sock");
    EXPECT_EQ(line.options->scale, 2);
    EXPECT_TRUE(line.options->fullscreen);
}

TEST(OrbitDryerCommandLine, HelpIsNotAnError)
{
    const CommandLine line = ParseCommandLine({"--headless", "--help"});
    EXPECT_TRUE(line.help);
    EXPECT_TRUE(line.error.empty());
}

struct BadLine {
    std::vector<std::string> args;
    const char* mentions;
};

class OrbitDryerBadCommandLine : public ::testing::TestWithParam<BadLine> {};

TEST_P(OrbitDryerBadCommandLine, GivesOneLineError)
{
    const CommandLine line = ParseCommandLine(GetParam().args);
    EXPECT_FALSE(line.options.has_value());
    EXPECT_FALSE(line.help);
    EXPECT_NE(line.error.find(GetParam().mentions), std::string::npos) << line.error;
    EXPECT_EQ(line.error.find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OrbitDryerBadCommandLine,
    ::testing::Values(BadLine{{"--frobnicate"}, "--frobnicate"}, BadLine{{"--root"}, "--root"},
                      BadLine{{"--port", ""}, "--port"}, BadLine{{"--scale", "0"}, "--scale"},
                      BadLine{{"--scale", "2x"}, "--scale"}, BadLine{{"--scale", "99"}, "--scale"},
                      BadLine{{"--scenario", "tower"}, "--simulate"},
                      BadLine{{"--sim-control", "/tmp/s.sock"}, "--simulate"},
                      BadLine{{"extra"}, "extra"},
                      // A value that looks like an option is never taken as the value.
                      BadLine{{"--root", "--headless"}, "'--headless' looks like an option"},
                      BadLine{{"--control", "-x"}, "'-x'"},
                      BadLine{{"--root", "a", "--root", "b"}, "more than once"},
                      // Errors name the bad value and what is allowed.
                      BadLine{{"--scale", "99"}, "'99' is not a whole number from 1 to 8"},
                      BadLine{{"--simulate", "--scenario", "bogus"}, "'bogus'"},
                      BadLine{{"--simulate", "--scenario", "bogus"}, "continuous-1fh, "},
                      BadLine{{"--port", "/etc/passwd"}, "not a character device"},
                      BadLine{{"--port", "/no/such/tty"}, "'/no/such/tty'"}));

// ---- panel options from the starting program ----

// Sets one environment variable for a test and takes it away again.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const char* value) : name_(name)
    {
        ::setenv(name, value, 1);
    }
    ~EnvironmentVariable() { ::unsetenv(name_); }
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    const char* name_;
};

TEST(OrbitDryerCommandLine, TakesThePanelOptionsFromTheEnvironment)
{
    const EnvironmentVariable root("PANEL_ROOT", "/tmp/handed root");
    const EnvironmentVariable usb("PANEL_USB", "/tmp/handed usb");
    const EnvironmentVariable port("PANEL_PORT", "/dev/null");
    const EnvironmentVariable headless("PANEL_HEADLESS", "1");
    const EnvironmentVariable control("PANEL_CONTROL_DIR", "/tmp/handed");
    const CommandLine line = ParseCommandLine({});
    ASSERT_TRUE(line.options.has_value()) << line.error;
    EXPECT_EQ(line.options->root, "/tmp/handed root");
    EXPECT_EQ(line.options->usb, "/tmp/handed usb");
    EXPECT_EQ(line.options->port, "/dev/null");
    EXPECT_TRUE(line.options->headless);
    EXPECT_EQ(line.options->control, "/tmp/handed/orbitdryer.sock");
}

TEST(OrbitDryerCommandLine, ItsOwnOptionsWinOverTheEnvironment)
{
    const EnvironmentVariable root("PANEL_ROOT", "/tmp/handed");
    const EnvironmentVariable control("PANEL_CONTROL_DIR", "/tmp/handed");
    const EnvironmentVariable port("PANEL_PORT", "/no/such/tty");  // never looked at
    const CommandLine line = ParseCommandLine(
        {"--root", "/tmp/own", "--control", "/tmp/own.sock", "--port", "/dev/null"});
    ASSERT_TRUE(line.options.has_value()) << line.error;
    EXPECT_EQ(line.options->root, "/tmp/own");
    EXPECT_EQ(line.options->control, "/tmp/own.sock");
    EXPECT_EQ(line.options->port, "/dev/null");
}

TEST(OrbitDryerCommandLine, BadPanelOptionInTheEnvironmentIsRefused)
{
    const EnvironmentVariable port("PANEL_PORT", "/etc/passwd");
    const CommandLine line = ParseCommandLine({});
    EXPECT_FALSE(line.options.has_value());
    EXPECT_FALSE(line.help);
    EXPECT_NE(line.error.find("orbitdryer: PANEL_PORT (the default for --port): '/etc/passwd' "
                              "is not a character device"),
              std::string::npos)
        << line.error;
    EXPECT_EQ(line.error.find('\n'), std::string::npos);
}

// ---- the running program ----

TEST(OrbitDryerProgram, SendsOneRequestEvery350Ms)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    const std::uint64_t before = panel.sim().requestsAnswered();
    panel.Advance(3500);
    EXPECT_EQ(panel.sim().requestsAnswered() - before, 10u);
}

TEST(OrbitDryerProgram, SendsTheClockRecordEverySecond)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    // Past the start-up link reset and its command hold-off, to the poll at 6300 ms, which
    // carries the record of the 6000 ms tick. The next five ticks (7000 to 11000 ms) are sent
    // by the poll at 11550 ms at the latest, the 12000 ms tick after it.
    panel.Advance(static_cast<int>(6300 - panel.now()));
    const std::uint64_t before = panel.sim().commandRecordsApplied();
    panel.Advance(5250);
    // Nothing else is pending, so every command record is the clock, once a second.
    EXPECT_EQ(panel.sim().commandRecordsApplied() - before, 5u);
    // The board's clock follows the panel's (minute, hour, day, month, year modulo 100).
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::pair<ClockPart, int> expected[] = {{ClockPart::minute, now.wMinute},
                                                  {ClockPart::hour, now.wHour},
                                                  {ClockPart::day, now.wDay},
                                                  {ClockPart::month, now.wMonth},
                                                  {ClockPart::year, now.wYear % 100}};
    for (const auto& [part, value] : expected) {
        const ImageField byte = ClockByte(part);
        EXPECT_EQ(panel_test::SimByte(panel.sim(), byte), value) << "offset " << byte.offset;
    }
}

TEST(OrbitDryerProgram, SecondStartOnTheSameRootLeavesOneInstance)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    OrbitDryerOptions again = panel.options();
    again.screenAlreadyOpen = true;
    EXPECT_EQ(OrbitDryerMain(again), 0);
    panel.Advance(700);
    EXPECT_EQ(PanelRun::MainWindowCount(), 1);
    EXPECT_TRUE(panel_test::Shown(L"DRYER_PIC_WINDOW"));
    // The first display goes on polling.
    const std::uint64_t before = panel.sim().requestsAnswered();
    panel.Cycles(2);
    EXPECT_EQ(panel.sim().requestsAnswered() - before, 2u);
}

TEST(OrbitDryerProgram, HandsOnItsOptions)
{
    PanelRun panel({}, [](const std::filesystem::path& root, OrbitDryerOptions& options) {
        std::filesystem::create_directories(root / "s");
        options.control = (root / "s" / "od.sock").string();
    });
    ASSERT_TRUE(panel.started());
    const char* const none[] = {nullptr};
    const std::vector<std::string> env = platform::StartedProgramEnvironment(none);
    const std::string root = std::filesystem::absolute(panel.options().root).string();
    const std::vector<std::string> expected = {
        "PANEL_ROOT=" + root, "PANEL_USB=" + root + "/Hard Disk2",
        "PANEL_PORT=" + panel.options().port,  // the simulator's pseudo-terminal
        "PANEL_HEADLESS=1", "PANEL_CONTROL_DIR=" + root + "/s"};
    EXPECT_EQ(env, expected);
    platform::ClearPanelOptions();
}

TEST(OrbitDryerProgram, HidesTheTaskbarThroughTheRegistry)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shell\\AutoHide", 0, KEY_READ,
                           &key),
              0);
    BYTE data[4] = {};
    DWORD length = sizeof(data);
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueEx(key, L"Default", nullptr, &type, data, &length), 0);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(length, 1u);
    EXPECT_EQ(data[0], 1);
    RegCloseKey(key);
}

TEST(OrbitDryerStartUp, DamagedRegistryIsMadeAfreshAndTheOperatorIsTold)
{
    const std::string damage = "this is not a registry, just bytes a full disk left behind";
    PanelRun panel({}, [&](const std::filesystem::path& root, OrbitDryerOptions&) {
        std::ofstream(root / "registry.sqlite") << damage;
    });
    ASSERT_TRUE(panel.started());
    const auto box = panel_test::TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_NE(box->messageText.find(L"registry.sqlite.damaged-"), std::wstring::npos);
    // The damaged file is kept aside as it was.
    int aside = 0;
    for (const auto& entry : std::filesystem::directory_iterator(panel.root())) {
        if (entry.path().filename().string().rfind("registry.sqlite.damaged-", 0) != 0) continue;
        ++aside;
        std::ifstream in(entry.path());
        std::string text;
        std::getline(in, text);
        EXPECT_EQ(text, damage);
    }
    EXPECT_EQ(aside, 1);
    // The settings in use are stored again.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, L"Software\\Tarrow\\OrbitDryer", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    BYTE view = 0xFF;
    DWORD length = 1;
    EXPECT_EQ(RegQueryValueEx(key, L"SCREEN_VIEW_SELECTION", nullptr, nullptr, &view, &length),
              ERROR_SUCCESS);
    EXPECT_EQ(view, 0);
    RegCloseKey(key);
    // The display polls on while the message waits for the operator.
    const std::uint64_t before = panel.sim().requestsAnswered();
    panel.Cycles(4);
    EXPECT_EQ(panel.sim().requestsAnswered() - before, 4u);
    EXPECT_TRUE(platform::AnswerMessageBox(L"OK"));
}

TEST(OrbitDryerProgram, EndsWithExitCodeZero)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    EXPECT_EQ(panel.Stop(), 0);
}

}  // namespace

namespace {

using panel_test::PanelRun;

TEST(OrbitDryerStartUp, PresetsTheDryerStateAndRunsWithoutALink)
{
    panel_test::EnsureVirtualClock();
    const auto root = panel_test::FreshPanelRoot();
    OrbitDryerOptions options;
    options.root = root.string();
    options.port = (root / "no-such-port").string();
    options.headless = true;
    int exitCode = -1;
    {
        platform::UiThread ui([&] { exitCode = OrbitDryerMain(options); });
        for (int i = 0; i < 200 && PanelRun::MainWindowCount() == 0; ++i) platform::WaitIdle();
        EXPECT_EQ(PanelRun::MainWindowCount(), 1);
        EXPECT_EQ(Value(DryerImage, dryerState), kDryerStateIdle);
        platform::AdvanceClock(2000);
        EXPECT_TRUE(panel_test::Shown(L"DRYER_PIC_WINDOW"));
        // Alt+F4 and Alt+"/" reach the main window as commands it leaves alone.
        EXPECT_TRUE(platform::SendKey(VK_F4, true));
        EXPECT_TRUE(platform::SendKey(VK_OEM_2, true));
        EXPECT_EQ(PanelRun::MainWindowCount(), 1);
    }
    EXPECT_EQ(exitCode, 0);
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
}

}  // namespace
