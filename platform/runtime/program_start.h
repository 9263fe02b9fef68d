// The start-up every panel program shares: its panel root and USB folder, the panel options it
// hands on to the programs it starts, and its screen with the control socket. Each failure is
// told on stderr in one line that names the program, and the program then ends with exit code 2.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/runtime.h"
#include "platform/web/web_view_options.h"

namespace platform {

struct ProgramStart {
    std::string program;  // "nodeflasher": the first word of every message
    std::string root = "./panel";
    std::string usb;  // empty: <root>/Hard Disk2
    // The serial device handed on to the started programs. Empty: none (a simulator's
    // pseudo-terminal ends with this program). Unset: the program has no port of its own and
    // hands on the PANEL_PORT it was given, so that the next program finds the same line.
    std::optional<std::string> port;
    bool makeHardDisk = false;  // make <root>/Hard Disk when it is missing
    // The screen; its headless flag and control socket are handed on as well.
    ScreenOptions screen;
    // Tests open the screen themselves (and choose the virtual clock) before the run.
    bool screenAlreadyOpen = false;
    // The browser view (--http); off when its address is empty.
    WebViewOptions http;
};

struct PanelFolders {
    std::filesystem::path root;  // absolute
    std::filesystem::path usb;
};

// Makes the panel root when it is missing, sets the panel roots of the file calls and the
// options the started programs get. Empty, after a line on stderr, when the root cannot be used.
std::optional<PanelFolders> SetUpPanelFolders(const ProgramStart& start);

class WebView;

// The program's screen for its whole run: opened here (unless the test opened it), closed at
// the end of the scope with every window, timer and the control socket. With --http it is
// served as a web page for the same run; the page's address goes to stderr.
class ProgramScreen {
public:
    explicit ProgramScreen(const ProgramStart& start);
    ~ProgramScreen();
    ProgramScreen(const ProgramScreen&) = delete;
    ProgramScreen& operator=(const ProgramScreen&) = delete;

    // False when the control socket or the browser view could not be opened (said on stderr):
    // the program ends.
    bool ok() const { return ok_; }

private:
    std::unique_ptr<WebView> web_;
    bool owned_ = false;
    bool ok_ = true;
};

}  // namespace platform
