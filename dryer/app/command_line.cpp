// orbitdryer's command line: its options, their checks and its help text, read the way every
// panel program reads its options (platform/runtime/command_line.h).
#include <string>

#include "platform/runtime/command_line.h"

#include "dryer/app/orbitdryer.h"

#if __has_include("sim/scenarios.h")
#include "sim/scenarios.h"
#define ORBITDRYER_HAS_SCENARIOS 1
#endif

namespace {

std::vector<std::string> ScenarioNames()
{
    std::vector<std::string> names;
#ifdef ORBITDRYER_HAS_SCENARIOS
    for (const sim::ScenarioInfo& s : sim::ScenarioList()) names.emplace_back(s.name);
#endif
    return names;
}

}  // namespace

const char* OrbitDryerUsage()
{
    static const std::string usage =
        std::string(
            "usage: orbitdryer [options]\n"
            "  --root DIR       panel storage root (default ./panel)\n"
            "  --port DEVICE    serial device behind COM1: (default /dev/ttyS0)\n"
            "  --usb DIR        folder standing in for the USB drive (default DIR/Hard Disk2)\n"
            "  --simulate       run the dryer simulator on a pseudo-terminal and connect to it\n"
            "  --scenario NAME  simulator scenario with --simulate\n"
            "  --sim-control PATH  socket for the simulator's control commands with --simulate\n"
            "                   (warn 0E05, clear, silent 15, ...; see dryersim --help)\n"
            "  --headless       no window; draw off-screen only\n"
            "  --control PATH   automation socket (one command per line)\n"
            "  --scale N        window scale factor, 1-8 (default: the largest that fits the\n"
            "                   screen; a larger one is reduced to fit)\n"
            "  --fullscreen     fill the whole display (the panel itself, a kiosk session): the\n"
            "                   picture is scaled to fit between black bars, no pointer shown\n") +
        platform::kWebViewUsage +
        std::string(
            "  --help           print this help\n"
            "--root, --usb, --port, --headless and --control default to PANEL_ROOT, PANEL_USB,\n"
            "PANEL_PORT, PANEL_HEADLESS=1 and PANEL_CONTROL_DIR/orbitdryer.sock from the\n"
            "environment (set by the panel program that starts this one).\n");
    return usage.c_str();
}

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    OrbitDryerOptions options;
    platform::ProgramOptions line("orbitdryer");
    line.Value("--root", "DIR", options.root);
    line.Value("--port", "DEVICE", options.port, platform::CheckCharacterDevice);
    line.Value("--usb", "DIR", options.usb);
    line.Flag("--simulate", options.simulate);
    line.Value("--scenario", "NAME", options.scenario,
               platform::OneOf(ScenarioNames(), "a simulator scenario"));
    line.Value("--sim-control", "PATH", options.simControl);
    line.Flag("--headless", options.headless);
    line.Value("--control", "PATH", options.control);
    line.Number("--scale", options.scale, 1, 8);
    line.Flag("--fullscreen", options.fullscreen);
    line.BrowserViewOptions(options.http);
    line.Needs("--scenario", "--simulate");
    line.Needs("--sim-control", "--simulate");
    line.PanelOptionsFromEnvironment();
    const platform::CommandLineResult parsed = line.Parse(args);  // fills in `options`
    return platform::WithOptions(parsed, options);
}
