#include "tests/installer/chain_run_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <regex>

#include "tests/support/raw_client.h"

namespace chain_test {

namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& text)
{
    std::string out = "'";
    for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace

fs::path FreshFolder(const std::string& what)
{
    static int serial = 0;
    const fs::path folder =
        fs::temp_directory_path() /
        ("cof-chain-" + what + "-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

int MakeRelease(const fs::path& dir, const std::string& arguments)
{
    const std::string command = Quoted(std::string(PANEL_SOURCE_DIR) + "/scripts/make_release") +
                                " " + Quoted(dir.string()) + " " + arguments + " --build " +
                                Quoted(PANEL_BUILD_DIR) + " > /dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Sha256(const fs::path& file)
{
    FILE* pipe = ::popen(("sha256sum " + Quoted(file.string()) + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return {};
    char digits[65] = {};
    const std::size_t n = std::fread(digits, 1, 64, pipe);
    ::pclose(pipe);
    return n == 64 ? std::string(digits, 64) : std::string();
}

std::vector<fs::path> FilesUnder(const fs::path& folder)
{
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file(ec)) files.push_back(fs::relative(it->path(), folder));
    }
    std::sort(files.begin(), files.end());
    return files;
}

Simulator::Simulator(const fs::path& folder)
    : socket_(folder / "sim.sock"),
      child_({DRYERSIM_EXECUTABLE, "--control-socket", socket_.string()}, folder)
{
}

std::string Simulator::WaitServing()
{
    static const std::regex serving("serving on (\\S+)");
    std::smatch match;
    std::string out;
    test_support::WaitFor(
        [&] {
            out = child_.Stdout();
            return std::regex_search(out, match, serving) || !child_.running();
        },
        kStartMs);
    if (!std::regex_search(out, match, serving)) return {};
    // The control socket answers once the simulator is past its start.
    test_support::WaitFor([&] { return !test_support::Ask(socket_, "status").empty(); }, kStartMs);
    return match[1].str();
}

bool Remote::WaitUp(int milliseconds) const
{
    return test_support::WaitFor([&] { return Ok("idle"); }, milliseconds);
}

nlohmann::json Remote::Ask(const std::string& command) const
{
    const std::string answer = test_support::Ask(socket_.string(), command, 10000);
    if (answer.empty()) return nullptr;
    return nlohmann::json::parse(answer, nullptr, false);
}

bool Remote::Ok(const std::string& command) const
{
    const nlohmann::json answer = Ask(command);
    return answer.is_object() && answer.value("ok", false);
}

std::vector<nlohmann::json> Remote::Windows() const
{
    const nlohmann::json tree = Ask("tree");
    if (!tree.is_object() || !tree.contains("windows")) return {};
    return tree["windows"].get<std::vector<nlohmann::json>>();
}

std::optional<nlohmann::json> Remote::Titled(const std::string& title) const
{
    for (const auto& w : Windows()) {
        if (w.value("title", "") == title) return w;
    }
    return std::nullopt;
}

std::optional<nlohmann::json> Remote::OfClass(const std::string& className) const
{
    for (const auto& w : Windows()) {
        if (w.value("class", "") == className) return w;
    }
    return std::nullopt;
}

std::optional<nlohmann::json> Remote::MessageBox() const
{
    for (const auto& w : Windows()) {
        if (w.value("isMessageBox", false)) return w;
    }
    return std::nullopt;
}

std::optional<nlohmann::json> Remote::Control(int id) const
{
    for (const auto& w : Windows()) {
        for (const auto& c : w["controls"]) {
            if (c.value("id", 0) == id) return c;
        }
    }
    return std::nullopt;
}

std::vector<std::string> Remote::Rows(int id) const
{
    std::vector<std::string> rows;
    const auto list = Control(id);
    if (!list || !list->contains("rows")) return rows;
    for (const auto& row : (*list)["rows"]) {
        rows.push_back(row["cells"].empty() ? std::string() : row["cells"][0].get<std::string>());
    }
    return rows;
}

ScopedVariable::ScopedVariable(const char* name, const std::string& value) : name_(name)
{
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
}

ScopedVariable::~ScopedVariable()
{
    if (old_) {
        ::setenv(name_.c_str(), old_->c_str(), 1);
    } else {
        ::unsetenv(name_.c_str());
    }
}

}  // namespace chain_test

namespace chain_test {

std::vector<std::string> InstallTheOnlyRelease(const Remote& program, int milliseconds)
{
    if (!program.Press(8002)) return {};  // INSTALL FROM USB
    const bool asked = test_support::WaitFor(
        [&] {
            const auto box = program.MessageBox();
            return box && box->value("title", "") == kCopyQuestionCaption;
        },
        kStartMs);
    if (!asked || !program.Answer("Yes")) return {};
    if (!test_support::WaitFor([&] { return program.Titled(kInstallCaption).has_value(); },
                               kStartMs)) {
        return {};
    }
    std::vector<std::string> rows;
    bool finished = false;
    test_support::WaitFor(
        [&] {
            if (!program.Titled(kInstallCaption)) {
                finished = true;  // the language step closed the dialog
                return true;
            }
            const std::vector<std::string> now = program.Rows(kInstallList);
            if (!now.empty()) rows = now;
            const auto button = program.Control(kInstallButton);
            if (button && button->value("text", "") == "OK") {
                finished = program.Press(kInstallButton);
                return true;
            }
            return false;
        },
        milliseconds);
    if (!finished) return {};
    return rows;
}

}  // namespace chain_test
