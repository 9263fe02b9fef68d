// The one way every panel program reads its command line: values checked as they are read,
// option-like values refused, help answered first, and one-line errors that name the option,
// the value and what is allowed.
#include "platform/runtime/command_line.h"

#include <gtest/gtest.h>

#include <string>
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

}  // namespace
