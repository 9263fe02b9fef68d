// The panel options of this run, kept once at start-up, and the environment built from them for
// every program this run starts.
#include "platform/runtime/panel_environment.h"

#include <sys/stat.h>

#include <filesystem>
#include <mutex>
#include <optional>
#include <string_view>

namespace platform {

namespace {

namespace fs = std::filesystem;

struct RunOptions {
    std::mutex mutex;
    std::optional<PanelOptions> options;
};

RunOptions& Run()
{
    static RunOptions run;
    return run;
}

std::string Absolute(const std::string& path)
{
    if (path.empty()) return {};
    std::error_code ec;
    const fs::path full = fs::absolute(path, ec);
    return ec ? path : full.lexically_normal().string();
}

bool IsPanelVariable(std::string_view entry)
{
    for (const char* name : {kPanelRootVariable, kPanelUsbVariable, kPanelPortVariable,
                             kPanelHeadlessVariable, kPanelControlDirVariable}) {
        const std::string_view n(name);
        if (entry.size() > n.size() && entry.starts_with(n) && entry[n.size()] == '=') return true;
        if (entry == n) return true;
    }
    return false;
}

}  // namespace

void SetPanelOptions(const PanelOptions& options)
{
    PanelOptions kept = options;
    kept.root = Absolute(options.root);
    kept.usb = Absolute(options.usb);
    kept.controlSocket = Absolute(options.controlSocket);
    struct stat st {};
    if (::stat(options.port.c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) kept.port.clear();
    std::lock_guard lock(Run().mutex);
    Run().options = std::move(kept);
}

void ClearPanelOptions()
{
    std::lock_guard lock(Run().mutex);
    Run().options.reset();
}

std::vector<std::string> StartedProgramEnvironment(const char* const* base)
{
    std::optional<PanelOptions> options;
    {
        std::lock_guard lock(Run().mutex);
        options = Run().options;
    }
    std::vector<std::string> out;
    for (const char* const* e = base; e != nullptr && *e != nullptr; ++e) {
        if (options && IsPanelVariable(*e)) continue;
        out.emplace_back(*e);
    }
    if (!options) return out;
    const auto add = [&out](const char* name, const std::string& value) {
        if (!value.empty()) out.push_back(std::string(name) + "=" + value);
    };
    add(kPanelRootVariable, options->root);
    add(kPanelUsbVariable, options->usb);
    add(kPanelPortVariable, options->port);
    add(kPanelHeadlessVariable, options->headless ? "1" : "");
    if (!options->controlSocket.empty()) {
        add(kPanelControlDirVariable, fs::path(options->controlSocket).parent_path().string());
    }
    return out;
}

std::string ControlSocketIn(const std::string& folder, const std::string& program)
{
    return (fs::path(folder) / (program + ".sock")).string();
}

}  // namespace platform
