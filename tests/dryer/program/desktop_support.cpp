// The desktop session of the real-pointer tests: Xvfb on a free display number, openbox as the
// click-to-focus window manager, orbitdryer in its SDL window, xdotool for the pointer and the
// focus. X clients get the display through `env`, so the test process keeps its own environment.
#include "tests/dryer/program/desktop_support.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "tests/support/raw_client.h"

namespace desktop_test {

namespace {

using test_support::ChildProcess;
using test_support::WaitFor;

constexpr int kStartMs = 15'000;  // real time for the server, the manager or the display
constexpr int kRunMs = 5'000;     // real time for one xdotool command
constexpr int kFirstDisplay = 40;
constexpr int kDisplayTries = 40;
constexpr int kPanelWidth = 640;
constexpr int kPanelHeight = 480;

// The program on PATH, or empty.
std::string FindProgram(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const fs::path candidate = fs::path(folder.empty() ? "." : folder) / name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return {};
}

// A display number nobody uses: no socket and no lock file of an X server.
bool DisplayLooksFree(int n)
{
    const std::string number = std::to_string(n);
    std::error_code ec;
    return !fs::exists("/tmp/.X11-unix/X" + number, ec) &&
           !fs::exists("/tmp/.X" + number + "-lock", ec);
}

fs::path FreshRoot()
{
    static int serial = 0;
    const fs::path root =
        fs::temp_directory_path() /
        ("orbitdryer-desktop-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    fs::remove_all(root);
    fs::create_directories(root);
    return root;
}

std::string Trimmed(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

// Stops a child politely, then for good (the destructor kills what is left).
void Stop(std::unique_ptr<ChildProcess>& child)
{
    if (child == nullptr) return;
    child->Signal(SIGTERM);
    child->WaitForExit(5000);
    child.reset();
}

PanelRect RectOf(const nlohmann::json& rect)
{
    return PanelRect{rect.at(0).get<int>(), rect.at(1).get<int>(), rect.at(2).get<int>(),
                     rect.at(3).get<int>()};
}

}  // namespace

std::string MissingDesktopPrograms()
{
    std::string missing;
    for (const char* program : {"Xvfb", "xdotool", "openbox", "xlogo"}) {
        if (FindProgram(program).empty())
            missing += std::string(missing.empty() ? "" : ", ") + program;
    }
    if (missing.empty()) return {};
    return "not installed: " + missing +
           " (scripts/setup installs xvfb, xdotool, openbox and x11-apps for the desktop tests)";
}

DesktopSession::DesktopSession(const std::vector<std::string>& displayOptions) : root_(FreshRoot())
{
    why_ = MissingDesktopPrograms();
    if (!ok()) return;
    if (StartServer() && StartWindowManager()) StartDisplay(displayOptions);
}

DesktopSession::~DesktopSession()
{
    Stop(panel_);
    for (auto& client : clients_) Stop(client);
    Stop(windowManager_);
    Stop(server_);
    std::error_code ec;
    fs::remove_all(root_, ec);
}

std::vector<std::string> DesktopSession::OnDisplay(std::vector<std::string> args) const
{
    // A child outlives a test program that is killed (a time-out) only until the kernel sees
    // its parent gone: setpriv, where it is there, asks for a SIGTERM then, on which the X
    // server removes its socket and lock file and the display ends in order.
    std::vector<std::string> all;
    if (const std::string setpriv = FindProgram("setpriv"); !setpriv.empty()) {
        all = {setpriv, "--pdeathsig", "TERM"};
    }
    // The display's own variables of a surrounding panel session must not reach the child.
    const std::vector<std::string> environment = {"/usr/bin/env",
                                                  "-u",
                                                  "PANEL_HEADLESS",
                                                  "-u",
                                                  "PANEL_CONTROL_DIR",
                                                  "-u",
                                                  "WAYLAND_DISPLAY",
                                                  "DISPLAY=" + display_,
                                                  "SDL_VIDEODRIVER=x11",
                                                  "XDG_CONFIG_HOME=" + (root_ / "config").string(),
                                                  "XDG_CACHE_HOME=" + (root_ / "cache").string()};
    all.insert(all.end(), environment.begin(), environment.end());
    all.insert(all.end(), args.begin(), args.end());
    return all;
}

bool DesktopSession::StartServer()
{
    // Another test may take the same number between the look and the start: the server then
    // ends at once and the next number is tried. -displayfd 1 prints the number when the server
    // takes connections.
    int n = kFirstDisplay;
    for (int tries = 0; tries < kDisplayTries; ++tries, ++n) {
        if (!DisplayLooksFree(n)) continue;
        server_ = std::make_unique<ChildProcess>(
            OnDisplay({"Xvfb", ":" + std::to_string(n), "-screen", "0", "1024x768x24", "-nolisten",
                       "tcp", "-displayfd", "1"}),
            root_);
        const bool ready = WaitFor(
            [&] {
                return !server_->running() || server_->Stdout().find('\n') != std::string::npos;
            },
            kStartMs);
        if (ready && server_->running()) {
            display_ = ":" + std::to_string(n);
            return true;
        }
        server_.reset();
    }
    why_ = "no Xvfb server could be started on displays :" + std::to_string(kFirstDisplay) +
           " to :" + std::to_string(kFirstDisplay + kDisplayTries - 1);
    return false;
}

bool DesktopSession::StartWindowManager()
{
    fs::create_directories(root_ / "config");
    windowManager_ = std::make_unique<ChildProcess>(OnDisplay({"openbox", "--sm-disable"}), root_);
    // The manager is up when it has set the root window's desktop property.
    if (WaitFor(
            [&] {
                return !windowManager_->running() || RunX({"xdotool", "get_desktop"}).exitCode == 0;
            },
            kStartMs) &&
        windowManager_->running()) {
        return true;
    }
    why_ = "the window manager did not start: " + windowManager_->Stderr();
    return false;
}

bool DesktopSession::StartDisplay(const std::vector<std::string>& displayOptions)
{
    std::vector<std::string> args = {ORBITDRYER_EXECUTABLE,
                                     "--simulate",
                                     "--root",
                                     (root_ / "panel").string(),
                                     "--control",
                                     (root_ / "control.sock").string(),
                                     "--scale",
                                     "1"};
    args.insert(args.end(), displayOptions.begin(), displayOptions.end());
    fs::create_directories(root_ / "panel");
    panel_ = std::make_unique<ChildProcess>(OnDisplay(args), root_);
    // Mapped: the window manager shows it; up: the home screen's buttons are in the tree.
    const bool mapped = WaitFor(
        [&] {
            if (!panel_->running()) return true;
            const RunResult found =
                RunX({"xdotool", "search", "--onlyvisible", "--name", "^OrbitDryer$"});
            std::istringstream ids(found.out);
            ids >> panelWindow_;
            return found.exitCode == 0 && !panelWindow_.empty();
        },
        kStartMs);
    if (!mapped || !panel_->running()) {
        why_ = "the display's window did not appear: " + panel_->Stderr();
        return false;
    }
    constexpr int kViewButton = 0x8804;
    if (!WaitForTree([&](DesktopSession& s) { return s.ControlRect(kViewButton).has_value(); },
                     kStartMs)) {
        why_ = "the home screen did not come up: " + panel_->Stderr();
        return false;
    }
    return true;
}

RunResult DesktopSession::RunX(std::vector<std::string> args)
{
    ChildProcess child(OnDisplay(std::move(args)), root_);
    RunResult result;
    result.exitCode = child.ExitCode(kRunMs);
    result.out = child.Stdout();
    return result;
}

void DesktopSession::StartX(std::vector<std::string> args)
{
    clients_.push_back(std::make_unique<ChildProcess>(OnDisplay(std::move(args)), root_));
}

std::pair<int, int> DesktopSession::WindowPoint(int x, int y)
{
    // The picture fills the window scaled by the smaller of the two ratios, centred.
    int width = kPanelWidth;
    int height = kPanelHeight;
    const RunResult geometry = RunX({"xdotool", "getwindowgeometry", panelWindow_});
    const auto at = geometry.out.find("Geometry: ");
    if (at != std::string::npos) {
        std::sscanf(geometry.out.c_str() + at, "Geometry: %dx%d", &width, &height);
    }
    const double scale = std::min(static_cast<double>(width) / kPanelWidth,
                                  static_cast<double>(height) / kPanelHeight);
    const int left = (width - static_cast<int>(kPanelWidth * scale)) / 2;
    const int top = (height - static_cast<int>(kPanelHeight * scale)) / 2;
    return {left + static_cast<int>(x * scale + scale / 2),
            top + static_cast<int>(y * scale + scale / 2)};
}

bool DesktopSession::MovePointerToPanel(int x, int y)
{
    // Relative to the window itself: xdotool translates through the manager's frame.
    const auto [wx, wy] = WindowPoint(x, y);
    return RunX({"xdotool", "mousemove", "--window", panelWindow_, std::to_string(wx),
                 std::to_string(wy)})
               .exitCode == 0;
}

bool DesktopSession::MovePointerToScreen(int x, int y)
{
    return RunX({"xdotool", "mousemove", std::to_string(x), std::to_string(y)}).exitCode == 0;
}

bool DesktopSession::ButtonDown()
{
    return RunX({"xdotool", "mousedown", "1"}).exitCode == 0;
}

bool DesktopSession::ButtonUp()
{
    return RunX({"xdotool", "mouseup", "1"}).exitCode == 0;
}

bool DesktopSession::Click()
{
    return RunX({"xdotool", "click", "1"}).exitCode == 0;
}

std::string DesktopSession::FocusedWindow()
{
    return Trimmed(RunX({"xdotool", "getwindowfocus"}).out);
}

std::string DesktopSession::OpenOtherFocusedWindow()
{
    // Top left, clear of the display's window, which the manager centres.
    StartX({"xlogo", "-geometry", "150x150+10+10"});
    std::string id;
    WaitFor(
        [&] {
            std::istringstream ids(
                RunX({"xdotool", "search", "--onlyvisible", "--class", "xlogo"}).out);
            ids >> id;
            return !id.empty();
        },
        kStartMs);
    if (id.empty()) return {};
    WaitFor(
        [&] {
            RunX({"xdotool", "windowactivate", "--sync", id});
            return FocusedWindow() == id;
        },
        kStartMs);
    return FocusedWindow() == id ? id : std::string();
}

nlohmann::json DesktopSession::Tree()
{
    const std::string answer = test_support::Ask((root_ / "control.sock").string(), "tree");
    const nlohmann::json tree = nlohmann::json::parse(answer, nullptr, false);
    return tree.is_object() && tree.contains("windows") ? tree : nlohmann::json::object();
}

std::vector<std::string> DesktopSession::WindowClasses()
{
    std::vector<std::string> classes;
    const nlohmann::json tree = Tree();
    if (!tree.contains("windows")) return classes;
    for (const auto& w : tree["windows"]) classes.push_back(w.value("class", ""));
    return classes;
}

std::vector<std::string> DesktopSession::TopLevelClasses()
{
    std::vector<std::string> classes;
    const nlohmann::json tree = Tree();
    if (!tree.contains("windows")) return classes;
    for (const auto& w : tree["windows"]) {
        if (w.value("topLevel", false)) classes.push_back(w.value("class", ""));
    }
    return classes;
}

std::optional<nlohmann::json> DesktopSession::WindowTitled(const std::string& title)
{
    const nlohmann::json tree = Tree();
    if (!tree.contains("windows")) return std::nullopt;
    for (const auto& w : tree["windows"]) {
        if (w.value("title", "") == title) return w;
    }
    return std::nullopt;
}

std::optional<PanelRect> DesktopSession::ControlRect(int id)
{
    const nlohmann::json tree = Tree();
    if (!tree.contains("windows")) return std::nullopt;
    for (const auto& w : tree["windows"]) {
        for (const auto& c : w["controls"]) {
            if (c.value("id", -1) == id && c.value("visible", false)) return RectOf(c["rect"]);
        }
    }
    return std::nullopt;
}

bool DesktopSession::ControlPressed(int id)
{
    const nlohmann::json tree = Tree();
    if (!tree.contains("windows")) return false;
    for (const auto& w : tree["windows"]) {
        for (const auto& c : w["controls"]) {
            if (c.value("id", -1) == id && c.value("pressed", false)) return true;
        }
    }
    return false;
}

std::optional<PanelRect> DesktopSession::MessageBoxButton(const std::string& text)
{
    const nlohmann::json tree = Tree();
    if (!tree.contains("windows")) return std::nullopt;
    for (const auto& w : tree["windows"]) {
        if (!w.value("isMessageBox", false)) continue;
        for (const auto& c : w["controls"]) {
            if (c.value("text", "") == text && c.value("visible", false)) return RectOf(c["rect"]);
        }
        return std::nullopt;  // only the front-most box
    }
    return std::nullopt;
}

bool DesktopSession::WaitForTree(const std::function<bool(DesktopSession&)>& done, int timeoutMs)
{
    return WaitFor([&] { return done(*this); }, timeoutMs);
}

std::string DesktopSession::DisplayStderr() const
{
    return panel_ != nullptr ? panel_->Stderr() : std::string();
}

int DesktopSession::EndDisplay()
{
    if (panel_ == nullptr || !panel_->Signal(SIGTERM)) return -1;
    return panel_->ExitCode(kStartMs);
}

}  // namespace desktop_test
