// dryersim's options and help text. Each value is checked as it is read, so the simulator
// starts only with a dryer it can play and a device it can serve.
#include "sim/command_line.h"

#include <cstdio>

#include "sim/scenarios.h"

namespace sim {

namespace {

// "OFFSET=VALUE" with OFFSET 0-299 and VALUE 0-255, decimal or 0x hexadecimal.
std::optional<std::pair<int, int>> ParsePreset(const std::string& text)
{
    const auto number = [](std::string part, int hi) -> std::optional<int> {
        int base = 10;
        if (part.size() > 2 && part[0] == '0' && (part[1] == 'x' || part[1] == 'X')) {
            part.erase(0, 2);
            base = 16;
        }
        if (part.empty() || part.size() > 8) return std::nullopt;
        std::size_t used = 0;
        int value = 0;
        try {
            value = std::stoi(part, &used, base);
        } catch (...) {
            return std::nullopt;
        }
        if (used != part.size() || value < 0 || value > hi) return std::nullopt;
        return value;
    };
    const auto eq = text.find('=');
    if (eq == std::string::npos) return std::nullopt;
    const auto offset = number(text.substr(0, eq), static_cast<int>(kImageSize) - 1);
    const auto value = number(text.substr(eq + 1), 255);
    if (!offset || !value) return std::nullopt;
    return std::make_pair(*offset, *value);
}

std::vector<std::string> ScenarioNameList()
{
    std::vector<std::string> names;
    for (const ScenarioInfo& s : ScenarioList()) names.emplace_back(s.name);
    return names;
}

}  // namespace

std::string SimUsage()
{
    std::string text =
        "usage: dryersim [options]\n"
        "Plays the dryer's Display I/O board on a serial line: it answers every poll, command\n"
        "and link reset request with the 302-byte status frame and runs a moving dryer. Behind\n"
        "it sits the board network that NodeFlasher scans and programs.\n"
        "\n"
        "options:\n"
        "  --device PATH          serve this serial device (38400 baud, 8E1) instead of a\n"
        "                         pseudo-terminal of our own\n"
        "  --scenario NAME        the dryer to play (default continuous-1fh)\n"
        "  --heaters N            fan/heaters: 1, 2, 3, 4 or 6\n"
        "  --modules N            modules: 1, 2 or 3\n"
        "  --batch | --continuous drying type\n"
        "  --celsius | --fahrenheit  units the panel shows\n"
        "  --dual-heat            dual plenum (hi-heat and lo-heat dry timers)\n"
        "  --preset OFFSET=VALUE  set an image byte at start (repeatable)\n"
        "  --frozen               the dryer does not move by itself (see 'advance')\n"
        "  --settings-file PATH   where the board keeps the settings the panel saves\n"
        "                         (default dryersim-settings.json in the working folder)\n"
        "  --control-socket PATH  also take control commands on a local socket; stdin EOF\n"
        "                         then does not stop the simulator\n"
        "  --help                 this text\n"
        "\n"
        "Without --device the simulator prints \"dryersim: serving on /dev/pts/N\"; point the\n"
        "panel's COM1: at that path. It stops on SIGINT or SIGTERM, and on end of stdin\n"
        "when stdin is its only control channel.\n"
        "\n"
        "scenarios:\n";
    for (const ScenarioInfo& s : ScenarioList()) {
        char line[160];
        std::snprintf(line, sizeof line, "  %-18s %.*s\n", std::string(s.name).c_str(),
                      static_cast<int>(s.description.size()), s.description.data());
        text += line;
    }
    text += "\n" + ControlHelp() + "\n";
    return text;
}

SimCommandLine ParseSimCommandLine(const std::vector<std::string>& args)
{
    SimCommandLine line;
    SimOptions& o = line.options;
    std::string heaters;
    std::vector<std::string> presets;
    // Like a board that keeps its saved settings through a power cycle, the simulator keeps
    // them in a file between runs.
    o.settingsFile = kDefaultSettingsFile;
    platform::ProgramOptions options("dryersim", {"--help", "-h"});
    options.Value("--device", "PATH", o.device, platform::CheckCharacterDevice);
    options.Value("--scenario", "NAME", o.scenario,
                  platform::OneOf(ScenarioNameList(), "a scenario"));
    options.Value("--control-socket", "PATH", line.controlSocket);
    options.Value("--settings-file", "PATH", o.settingsFile, [](const std::string& value) {
        return value.empty() ? std::string("the settings file needs a path") : std::string();
    });
    options.Value("--heaters", "N", heaters, [](const std::string& value) -> std::string {
        const auto n = platform::WholeNumber(value, 1, 6);
        if (n && HeaterCountCodeFor(*n)) return {};
        return "'" + value + "' is not a fan/heater count: 1, 2, 3, 4 or 6";
    });
    options.Number("--modules", o.modules, 1, 3);
    options.Flag("--batch", [&o] { o.dryingType = 1; });
    options.Flag("--continuous", [&o] { o.dryingType = 0; });
    options.Flag("--celsius", [&o] { o.celsius = 1; });
    options.Flag("--fahrenheit", [&o] { o.celsius = 0; });
    options.Flag("--dual-heat", [&o] { o.dualHeat = 1; });
    options.Flag("--frozen", [&o] { o.realTime = false; });
    options.Values("--preset", "OFFSET=VALUE", presets, [](const std::string& value) {
        return ParsePreset(value) ? std::string()
                                  : "'" + value + "' is not OFFSET=VALUE with OFFSET 0-" +
                                        std::to_string(kImageSize - 1) + " and VALUE 0-255";
    });
    line.result = options.Parse(args);
    if (line.result.outcome != platform::CommandLineResult::Outcome::Run) return line;
    if (!heaters.empty()) o.heaters = *platform::WholeNumber(heaters, 1, 6);
    for (const std::string& p : presets) o.presets.push_back(*ParsePreset(p));
    return line;
}

}  // namespace sim
