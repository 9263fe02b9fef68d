// The start-up every panel program shares: panel folders, handed-on options and the screen.
#include "platform/runtime/program_start.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "platform/runtime/panel_environment.h"
#include "platform/storage/files.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

// The port handed on: the program's own, or the one it was given when it has none.
std::string HandedPort(const ProgramStart& start)
{
    if (start.port) return *start.port;
    const char* given = std::getenv(kPanelPortVariable);
    return given != nullptr ? given : "";
}

}  // namespace

std::optional<PanelFolders> SetUpPanelFolders(const ProgramStart& start)
{
    std::error_code ec;
    const fs::path root = fs::absolute(start.root, ec);
    fs::create_directories(root, ec);
    if (!fs::is_directory(root)) {
        std::fprintf(stderr, "%s: cannot use panel root %s\n", start.program.c_str(),
                     root.string().c_str());
        return std::nullopt;
    }
    const fs::path usb = start.usb.empty() ? root / "Hard Disk2" : fs::path(start.usb);
    if (start.makeHardDisk)
        fs::create_directories(root / "Hard Disk", ec);  // ignored: checked where used
    SetPanelRoots(root, usb);

    PanelOptions handed;
    handed.root = root.string();
    handed.usb = usb.string();
    handed.port = HandedPort(start);
    handed.headless = start.screen.headless;
    handed.controlSocket = start.screen.controlSocket;
    SetPanelOptions(handed);
    return PanelFolders{root, usb};
}

ProgramScreen::ProgramScreen(const ProgramStart& start)
{
    if (start.screenAlreadyOpen) return;
    owned_ = true;
    if (!OpenScreen(start.screen)) {
        std::fprintf(stderr, "%s: cannot open the control socket %s: %s\n", start.program.c_str(),
                     start.screen.controlSocket.c_str(), ControlSocketError().c_str());
        ok_ = false;
        return;
    }
    if (ScreenIsHeadless() && !start.screen.controlSocket.empty()) {
        std::fprintf(stderr, "%s: headless; control socket %s\n", start.program.c_str(),
                     start.screen.controlSocket.c_str());
    }
}

ProgramScreen::~ProgramScreen()
{
    if (owned_) CloseScreen();
}

}  // namespace platform
