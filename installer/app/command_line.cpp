// copyorbitfiles' command line: the panel options, read the way every panel program reads its
// options (platform/runtime/command_line.h).
#include <string>

#include "platform/runtime/command_line.h"

#include "installer/app/copy_orbit_files.h"

const char* CopyOrbitFilesUsage()
{
    static const std::string usage =
        std::string(
            "usage: copyorbitfiles [options]\n"
            "  --root DIR       panel storage root (default ./panel)\n"
            "  --usb DIR        folder standing in for the USB drive (default DIR/Hard Disk2)\n"
            "  --headless       no window; draw off-screen only\n"
            "  --control PATH   automation socket (one command per line)\n") +
        platform::kWebViewUsage +
        std::string(
            "  --help           print this help\n"
            "--root, --usb, --headless and --control default to PANEL_ROOT, PANEL_USB,\n"
            "PANEL_HEADLESS=1 and PANEL_CONTROL_DIR/copyorbitfiles.sock from the environment\n"
            "(set by the panel program that starts this one). PANEL_PORT is not used here and\n"
            "goes on unchanged to the program started at the end.\n");
    return usage.c_str();
}

CopyOrbitFilesCommandLine ParseCopyOrbitFilesCommandLine(const std::vector<std::string>& args)
{
    CopyOrbitFilesOptions options;
    platform::ProgramOptions line("copyorbitfiles");
    line.Value("--root", "DIR", options.root);
    line.Value("--usb", "DIR", options.usb);
    line.Flag("--headless", options.headless);
    line.Value("--control", "PATH", options.control);
    line.BrowserViewOptions(options.http);
    line.PanelOptionsFromEnvironment();
    const platform::CommandLineResult parsed = line.Parse(args);  // fills in `options`
    return platform::WithOptions(parsed, options);
}
