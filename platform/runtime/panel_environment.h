// The panel options of this run and how they travel to the programs it starts. The three panel
// programs hand over to one another by starting the next one; the next one must find the same
// panel root, USB folder, serial port, screen mode and control-socket folder, so every started
// program gets them in its environment and takes them as the defaults of its options.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The environment variables, one per option.
inline constexpr const char* kPanelRootVariable = "PANEL_ROOT";          // --root
inline constexpr const char* kPanelUsbVariable = "PANEL_USB";            // --usb
inline constexpr const char* kPanelPortVariable = "PANEL_PORT";          // --port
inline constexpr const char* kPanelHeadlessVariable = "PANEL_HEADLESS";  // --headless: "1"
// --control: a started program opens its control socket as <dir>/<program>.sock.
inline constexpr const char* kPanelControlDirVariable = "PANEL_CONTROL_DIR";

// What a program's start-up read from its command line (or its environment). Empty texts are
// not handed on.
struct PanelOptions {
    std::string root;
    std::string usb;  // the folder in use, also when it is the default <root>/Hard Disk2
    // Handed on only while it is a character device: a started program refuses a bad
    // PANEL_PORT, so a default port this host lacks is left to the started program's default.
    std::string port;
    bool headless = false;
    std::string controlSocket;  // this run's control socket; its folder is handed on
};

// Sets the panel options of this run; each program calls it once at start-up. Relative paths
// are made absolute here, so a started program finds them from any working folder.
void SetPanelOptions(const PanelOptions& options);
// Forgets them again (tests): started programs then get this program's environment unchanged.
void ClearPanelOptions();

// The environment of a started program, "NAME=value" each: `base` (this program's environment)
// without any PANEL_ variable of the list above, then this run's options. Before SetPanelOptions
// the base is handed on unchanged.
std::vector<std::string> StartedProgramEnvironment(const char* const* base);

// The control socket of `program` in the folder a starting program handed on.
std::string ControlSocketIn(const std::string& folder, const std::string& program);

}  // namespace platform
