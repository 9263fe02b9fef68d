// The operator display program: its command line, its host set-up (panel root, serial port,
// simulator, screen) and the program entry with the single-instance rule, the instance set-up
// and the message loop.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/command_line.h"
#include "platform/win_types.h"

inline constexpr const wchar_t* kMainWindowClass = L"ORBIT_DRYER_MAIN_WINDOW";
inline constexpr const wchar_t* kMainWindowTitle = L"OrbitDryer";
inline constexpr WORD kCmdAltF4 = 40002;
inline constexpr WORD kCmdAltSlash = 40003;

struct OrbitDryerOptions {
    std::string root = "./panel";
    std::string port = "/dev/ttyS0";
    std::string usb;  // empty: <root>/Hard Disk2
    bool simulate = false;
    std::string scenario;
    std::string simControl;  // with simulate: socket for the simulator's control commands
    bool headless = false;
    std::string control;
    int scale = 0;  // 0: the largest that fits the screen
    bool fullscreen = false;
    // Tests open the screen themselves (and choose the virtual clock) before the run.
    bool screenAlreadyOpen = false;
    platform::WebViewOptions http;  // --http, --http-token: the panel in a browser
};

using CommandLine = platform::ParsedCommandLine<OrbitDryerOptions>;

CommandLine ParseCommandLine(const std::vector<std::string>& args);
const char* OrbitDryerUsage();

// Runs the display to its end and returns the exit code: 0 after a normal end or when
// another display already runs on the same panel root.
int OrbitDryerMain(const OrbitDryerOptions& options);

// The program entry on an opened screen: single-instance check by window class, instance
// set-up, message loop. Returns the quit message's parameter, or 0.
int RunOrbitDryer(HINSTANCE instance);

// Ends a running display from another thread (tests): closes its main window, which ends
// the message loop.
void RequestOrbitDryerQuit();
