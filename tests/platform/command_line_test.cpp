// The one way every panel program reads its command line: values checked as they are read,
// option-like values refused, help answered first, and one-line errors that name the option,
// the value and what is allowed; and the panel options taken from the environment that a
// starting panel program leaves.
#include "platform/runtime/command_line.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace {

using Outcome = platform::CommandLineResult::Outcome;

// A program with one of each kind of option.
struct Program {
    std::string root = "./panel";
    std::string device;
    std::string scenario;
    int scale = 1;
    bool simulate = false;
    std::vector<std::string> presets;

    platform::CommandLineResult Parse(const std::vector<std::string>& args)
    {
        platform::ProgramOptions options("prog", {"--help", "-h"});
        options.Value("--root", "DIR", root);
        options.Value("--device", "DEVICE", device, platform::CheckCharacterDevice);
        options.Value("--scenario", "NAME", scenario,
                      platform::OneOf({"tower", "batch"}, "a dryer"));
        options.Number("--scale", scale, 1, 8);
        options.Flag("--simulate", simulate);
        options.Values("--preset", "OFFSET=VALUE", presets);
        options.Needs("--scenario", "--simulate");
        return options.Parse(args);
    }
};

TEST(ProgramOptions, TakesGoodValues)
{
    Program p;
    const auto result =
        p.Parse({"--root", "/tmp/r", "--device", "/dev/null", "--scale=3", "--simulate",
                 "--scenario", "tower", "--preset", "1=2", "--preset", "3=4"});
    ASSERT_EQ(result.outcome, Outcome::Run) << result.message;
    EXPECT_EQ(p.root, "/tmp/r");
    EXPECT_EQ(p.device, "/dev/null");
    EXPECT_EQ(p.scale, 3);
    EXPECT_EQ(p.scenario, "tower");
    EXPECT_EQ(p.presets, (std::vector<std::string>{"1=2", "3=4"}));
}

TEST(ProgramOptions, HelpWinsOverEverythingElse)
{
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--help"}, {"-h"}, {"--frobnicate", "--help"}, {"--root", "--help"}}) {
        EXPECT_EQ(Program().Parse(args).outcome, Outcome::Help);
    }
    EXPECT_EQ(Program().Parse({"--root", "x", "--", "--help"}).outcome, Outcome::Error);
}

struct BadCase {
    std::vector<std::string> args;
    const char* message;
};

class ProgramOptionsRefuse : public ::testing::TestWithParam<BadCase> {};

TEST_P(ProgramOptionsRefuse, WithOneLineNamingTheValue)
{
    const auto result = Program().Parse(GetParam().args);
    EXPECT_EQ(result.outcome, Outcome::Error);
    EXPECT_EQ(result.message, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgramOptionsRefuse,
    ::testing::Values(
        BadCase{{"--root", "--simulate"},
                "prog: --root: '--simulate' looks like an option, not a DIR"},
        BadCase{{"--root=-x"}, "prog: --root: '-x' looks like an option, not a DIR"},
        BadCase{{"--root", ""}, "prog: --root: needs a DIR, not an empty text"},
        BadCase{{"--root"}, "prog: --root needs a value (DIR)"},
        BadCase{{"--root", "a", "--root", "b"}, "prog: --root is given more than once"},
        BadCase{{"--scale", "9"}, "prog: --scale: '9' is not a whole number from 1 to 8"},
        BadCase{{"--scale", "2x"}, "prog: --scale: '2x' is not a whole number from 1 to 8"},
        BadCase{{"--simulate", "--scenario", "silo"},
                "prog: --scenario: 'silo' is not a dryer; one of: tower, batch"},
        BadCase{{"--scenario", "tower"}, "prog: --scenario requires --simulate"},
        BadCase{{"--device", "/"},
                "prog: --device: '/' is not a character device (a serial device such as "
                "/dev/ttyS0 or /dev/ttyUSB0, or a pseudo-terminal, is needed)"},
        BadCase{{"--frobnicate"}, "prog: unknown option '--frobnicate' (try --help)"},
        BadCase{{"stray"}, "prog: unexpected argument 'stray' (try --help)"}));

// ---- panel options from the environment ----

// Sets environment variables for one test and takes them away again.
class Environment {
public:
    explicit Environment(std::initializer_list<std::pair<std::string, std::string>> values)
    {
        for (const auto& [name, value] : values) {
            ::setenv(name.c_str(), value.c_str(), 1);
            names_.push_back(name);
        }
    }
    ~Environment()
    {
        for (const std::string& name : names_) ::unsetenv(name.c_str());
    }
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

private:
    std::vector<std::string> names_;
};

// A panel program with the five panel options.
struct PanelProgram {
    std::string root = "./panel";
    std::string usb;
    std::string port = "/dev/ttyS0";
    bool headless = false;
    std::string control;

    platform::CommandLineResult Parse(const std::vector<std::string>& args)
    {
        platform::ProgramOptions options("prog");
        options.Value("--root", "DIR", root);
        options.Value("--usb", "DIR", usb);
        options.Value("--port", "DEVICE", port, platform::CheckCharacterDevice);
        options.Flag("--headless", headless);
        options.Value("--control", "PATH", control);
        options.PanelOptionsFromEnvironment();
        return options.Parse(args);
    }
};

TEST(PanelOptionsFromEnvironment, AreTheDefaults)
{
    const Environment env({{"PANEL_ROOT", "/tmp/env root"},
                           {"PANEL_USB", "/tmp/stick"},
                           {"PANEL_PORT", "/dev/null"},
                           {"PANEL_HEADLESS", "1"},
                           {"PANEL_CONTROL_DIR", "/tmp/sockets"}});
    PanelProgram p;
    const auto result = p.Parse({});
    ASSERT_EQ(result.outcome, Outcome::Run) << result.message;
    EXPECT_EQ(p.root, "/tmp/env root");
    EXPECT_EQ(p.usb, "/tmp/stick");
    EXPECT_EQ(p.port, "/dev/null");
    EXPECT_TRUE(p.headless);
    EXPECT_EQ(p.control, "/tmp/sockets/prog.sock");  // named for the program
}

TEST(PanelOptionsFromEnvironment, CommandLineWins)
{
    const Environment env({{"PANEL_ROOT", "/tmp/env"},
                           {"PANEL_PORT", "/dev/null"},
                           {"PANEL_CONTROL_DIR", "/tmp/sockets"}});
    PanelProgram p;
    const auto result =
        p.Parse({"--root", "/tmp/given", "--port", "/dev/zero", "--control", "/tmp/c.sock"});
    ASSERT_EQ(result.outcome, Outcome::Run) << result.message;
    EXPECT_EQ(p.root, "/tmp/given");
    EXPECT_EQ(p.port, "/dev/zero");
    EXPECT_EQ(p.control, "/tmp/c.sock");
}

TEST(PanelOptionsFromEnvironment, UnsetEmptyOrZeroLeaveTheProgramDefaults)
{
    const Environment env({{"PANEL_ROOT", ""}, {"PANEL_HEADLESS", "0"}, {"PANEL_PORT", ""}});
    PanelProgram p;
    ASSERT_EQ(p.Parse({}).outcome, Outcome::Run);
    EXPECT_EQ(p.root, "./panel");
    EXPECT_EQ(p.port, "/dev/ttyS0");
    EXPECT_FALSE(p.headless);
    EXPECT_TRUE(p.control.empty());
}

TEST(PanelOptionsFromEnvironment, BadValueGivenOnTheCommandLineTooIsNeverLookedAt)
{
    const Environment env({{"PANEL_PORT", "/no/such/tty"}, {"PANEL_HEADLESS", "yes"}});
    PanelProgram p;
    EXPECT_EQ(p.Parse({"--port", "/dev/null", "--headless"}).outcome, Outcome::Run);
    // A program without those options does not read them either.
    std::string root;
    platform::ProgramOptions other("other");
    other.Value("--root", "DIR", root);
    other.PanelOptionsFromEnvironment();
    EXPECT_EQ(other.Parse({}).outcome, Outcome::Run);
}

TEST(PanelOptionsFromEnvironment, AnyOptionMayTakeItsDefaultFromAVariable)
{
    int scale = 1;
    const auto parse = [&scale] {
        platform::ProgramOptions options("prog");
        options.Number("--scale", scale, 1, 8);
        options.FromEnvironment("--scale", "PROG_SCALE");
        return options.Parse({});
    };
    {
        const Environment env({{"PROG_SCALE", "8"}});
        ASSERT_EQ(parse().outcome, Outcome::Run);
        EXPECT_EQ(scale, 8);
    }
    const Environment env({{"PROG_SCALE", "9"}});
    const auto result = parse();
    EXPECT_EQ(result.outcome, Outcome::Error);
    EXPECT_EQ(result.message,
              "prog: PROG_SCALE (the default for --scale): '9' is not a whole number from 1 to 8");
}

struct BadEnvironment {
    const char* variable;
    const char* value;
    const char* message;
};

class PanelOptionsFromBadEnvironment : public ::testing::TestWithParam<BadEnvironment> {};

TEST_P(PanelOptionsFromBadEnvironment, AreRefusedLikeBadOptions)
{
    const Environment env({{GetParam().variable, GetParam().value}});
    const auto result = PanelProgram().Parse({});
    EXPECT_EQ(result.outcome, Outcome::Error);
    EXPECT_EQ(result.message, GetParam().message);
    EXPECT_EQ(platform::ReportCommandLine(result, "usage"), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PanelOptionsFromBadEnvironment,
    ::testing::Values(
        BadEnvironment{"PANEL_PORT", "/",
                       "prog: PANEL_PORT (the default for --port): '/' is not a character "
                       "device (a serial device such as /dev/ttyS0 or /dev/ttyUSB0, or a "
                       "pseudo-terminal, is needed)"},
        BadEnvironment{"PANEL_HEADLESS", "yes",
                       "prog: PANEL_HEADLESS (the default for --headless): 'yes' is not 1 or 0"},
        BadEnvironment{"PANEL_ROOT", "--headless",
                       "prog: PANEL_ROOT (the default for --root): '--headless' looks like an "
                       "option, not a DIR"},
        BadEnvironment{"PANEL_CONTROL_DIR", "-d",
                       "prog: PANEL_CONTROL_DIR (the default for --control): '-d' looks like an "
                       "option, not a PATH"}));

}  // namespace
