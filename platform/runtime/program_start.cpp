// The start-up every panel program shares: panel folders, handed-on options and the screen.
#include "platform/runtime/program_start.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "platform/runtime/panel_environment.h"
#include "platform/storage/files.h"
#include "platform/web/web_view.h"

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
    if (!start.screenAlreadyOpen) {
        owned_ = true;
        if (!OpenScreen(start.screen)) {
            std::fprintf(stderr, "%s: cannot open the control socket %s: %s\n",
                         start.program.c_str(), start.screen.controlSocket.c_str(),
                         ControlSocketError().c_str());
            ok_ = false;
            return;
        }
        if (ScreenIsHeadless() && !start.screen.controlSocket.empty()) {
            std::fprintf(stderr, "%s: headless; control socket %s\n", start.program.c_str(),
                         start.screen.controlSocket.c_str());
        }
    }
    if (start.http.address.empty()) return;
    web_ = std::make_unique<WebView>(start.http, start.program);
    if (!web_->ok()) {
        std::fprintf(stderr, "%s: %s\n", start.program.c_str(), web_->error().c_str());
        web_.reset();
        ok_ = false;
        return;
    }
    std::fprintf(stderr, "%s: browser view on %s%s\n", start.program.c_str(), web_->url().c_str(),
                 start.http.token.empty() ? "" : " (viewers add ?token= and the token)");
    if (web_->tokenMadeUp()) {
        std::fprintf(stderr,
                     "%s: the browser view reaches beyond this machine: viewers need the token "
                     "in that address (give your own with --http-token)\n",
                     start.program.c_str());
    }
}

ProgramScreen::~ProgramScreen()
{
    web_.reset();  // before the screen closes: no touch comes in after that
    if (owned_) CloseScreen();
}

}  // namespace platform
