// nodeflasher's command line: the optional status key and the panel options, read the way
// every panel program reads its options (platform/runtime/command_line.h).
#include <string>

#include "platform/runtime/command_line.h"

#include "flasher/app/flasher_program.h"

const char* NodeFlasherUsage()
{
    static const std::string usage =
        std::string(
            "usage: nodeflasher [STATUS_KEY] [options]\n"
            "  STATUS_KEY       one of DISPLAY_IO_MISSING, MAIN_IO_MISSING,\n"
            "                   NO_FAN_HEATER_PRESENT, INVALID_FH_ADDRESS,\n"
            "                   CONFLICTING_FH_ADDRESS, DIFFERING_SW_VERSIONS: scan the\n"
            "                   network at once and report the key (any other word: a normal\n"
            "                   start)\n"
            "  --root DIR       panel storage root (default ./panel)\n"
            "  --port DEVICE    serial device behind COM1: (default /dev/ttyS0)\n"
            "  --usb DIR        folder standing in for the USB drive (default DIR/Hard Disk2)\n"
            "  --simulate       run the board simulator on a pseudo-terminal and connect to it\n"
            "  --headless       no window; draw off-screen only\n"
            "  --control PATH   automation socket (one command per line)\n") +
        platform::kWebViewUsage +
        std::string(
            "  --help           print this help\n"
            "--root, --usb, --port, --headless and --control default to PANEL_ROOT, PANEL_USB,\n"
            "PANEL_PORT, PANEL_HEADLESS=1 and PANEL_CONTROL_DIR/nodeflasher.sock from the\n"
            "environment (set by the panel program that starts this one).\n");
    return usage.c_str();
}

FlasherCommandLine ParseFlasherCommandLine(const std::vector<std::string>& args)
{
    NodeFlasherOptions options;
    std::vector<std::string> words;
    platform::ProgramOptions line("nodeflasher");
    line.Positionals("STATUS_KEY", words);
    line.Value("--root", "DIR", options.root);
    line.Value("--port", "DEVICE", options.port, platform::CheckCharacterDevice);
    line.Value("--usb", "DIR", options.usb);
    line.Flag("--simulate", options.simulate);
    line.Flag("--headless", options.headless);
    line.Value("--control", "PATH", options.control);
    line.BrowserViewOptions(options.http);
    line.PanelOptionsFromEnvironment();
    const platform::CommandLineResult parsed = line.Parse(args);  // fills in `options`
    FlasherCommandLine result = platform::WithOptions(parsed, options);
    if (!result.options) return result;
    if (words.size() > 1) {
        result.options.reset();
        result.error = "nodeflasher: one STATUS_KEY at most, but '" + words[1] + "' follows '" +
                       words[0] + "'";
        return result;
    }
    if (!words.empty()) result.options->statusKey = words.front();
    return result;
}
