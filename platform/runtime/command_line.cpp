// The programs' command lines on CLI11: value checks that refuse option-like values, errors
// rewritten as one line that names the option, the value and what is allowed, and the help
// names answered before anything else is looked at. Options not on the command line may then
// take their values from the environment, checked the same way.
#include "platform/runtime/command_line.h"

#include <sys/stat.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "platform/runtime/panel_environment.h"
#include "platform/web/web_view.h"

namespace platform {

namespace {

// An empty value or one that starts like an option is never taken as a value.
std::string CheckNotAnOption(const std::string& value, const std::string& valueName)
{
    if (value.empty()) return "needs a " + valueName + ", not an empty text";
    if (value.front() == '-') return "'" + value + "' looks like an option, not a " + valueName;
    return {};
}

CLI::Validator Checked(const std::string& valueName, ProgramOptions::Check check)
{
    return CLI::Validator(
        [valueName, check = std::move(check)](std::string& value) {
            std::string why = CheckNotAnOption(value, valueName);
            if (why.empty() && check) why = check(value);
            return why;
        },
        valueName);
}

std::string Quoted(const std::vector<std::string>& words)
{
    std::string out;
    for (const std::string& w : words) out += (out.empty() ? "'" : " '") + w + "'";
    return out;
}

}  // namespace

struct ProgramOptions::Impl {
    // How a value from elsewhere than the command line is checked and stored.
    struct Setter {
        std::string valueName;  // empty for a flag
        Check check;
        std::function<void(const std::string&)> set;
    };
    struct EnvironmentDefault {
        std::string name;
        std::string variable;
        std::function<std::string(const std::string&)> derive;
    };

    std::string program;
    std::vector<std::string> helpNames;
    CLI::App app;
    std::vector<std::pair<CLI::Option*, std::string>> valueNames;
    std::map<std::string, Setter> setters;
    std::vector<EnvironmentDefault> environment;

    // Empty when every environment default is good (and stored), else why not.
    std::string TakeEnvironment();
};

std::string ProgramOptions::Impl::TakeEnvironment()
{
    for (const EnvironmentDefault& d : environment) {
        const CLI::Option* option = app.get_option_no_throw(d.name);
        const auto setter = setters.find(d.name);
        if (option == nullptr || option->count() > 0 || setter == setters.end()) continue;
        const char* raw = std::getenv(d.variable.c_str());
        if (raw == nullptr || raw[0] == '\0') continue;
        const std::string where = d.variable + " (the default for " + d.name + "): ";
        std::string value = raw;
        const Setter& s = setter->second;
        if (s.valueName.empty()) {  // a flag
            if (value == "1") s.set(value);
            if (value != "1" && value != "0") return where + "'" + value + "' is not 1 or 0";
            continue;
        }
        std::string why = CheckNotAnOption(value, s.valueName);
        if (why.empty() && d.derive) value = d.derive(value);
        if (why.empty() && s.check) why = s.check(value);
        if (!why.empty()) return where + why;
        s.set(value);
    }
    return {};
}

ProgramOptions::ProgramOptions(std::string program, std::vector<std::string> helpNames)
    : impl_(std::make_unique<Impl>())
{
    impl_->program = std::move(program);
    impl_->helpNames = std::move(helpNames);
    impl_->app.set_help_flag();  // the help names are answered before parsing
    impl_->app.allow_extras(false);
}

ProgramOptions::~ProgramOptions() = default;

void ProgramOptions::Flag(const std::string& name, bool& target)
{
    impl_->app.add_flag(name, target);
    impl_->setters[name] = {{}, {}, [&target](const std::string&) { target = true; }};
}

void ProgramOptions::Flag(const std::string& name, std::function<void()> onSet)
{
    impl_->setters[name] = {{}, {}, [onSet](const std::string&) { onSet(); }};
    impl_->app.add_flag_callback(name, std::move(onSet));
}

void ProgramOptions::Value(const std::string& name, const std::string& valueName,
                           std::string& target, Check check)
{
    CLI::Option* o = impl_->app.add_option(name, target)->type_name(valueName);
    impl_->setters[name] = {valueName, check, [&target](const std::string& v) { target = v; }};
    o->check(Checked(valueName, std::move(check)));
    impl_->valueNames.emplace_back(o, valueName);
}

void ProgramOptions::Values(const std::string& name, const std::string& valueName,
                            std::vector<std::string>& target, Check check)
{
    CLI::Option* o = impl_->app.add_option(name, target)->type_name(valueName);
    o->type_size(1)->allow_extra_args(false);  // one value per appearance
    o->check(Checked(valueName, std::move(check)));
    impl_->valueNames.emplace_back(o, valueName);
}

void ProgramOptions::Number(const std::string& name, int& target, int lo, int hi)
{
    CLI::Option* o = impl_->app.add_option_function<std::string>(
        name, [&target, lo, hi](const std::string& value) {
            target = WholeNumber(value, lo, hi).value_or(target);
        });
    o->type_name("N");
    Check check = [lo, hi](const std::string& value) -> std::string {
        if (WholeNumber(value, lo, hi)) return {};
        return "'" + value + "' is not a whole number from " + std::to_string(lo) + " to " +
               std::to_string(hi);
    };
    impl_->setters[name] = {"N", check, [&target, lo, hi](const std::string& value) {
                                target = WholeNumber(value, lo, hi).value_or(target);
                            }};
    o->check(Checked("N", std::move(check)));
    impl_->valueNames.emplace_back(o, "N");
}

void ProgramOptions::Positional(const std::string& valueName, std::string& target, Check check)
{
    CLI::Option* o = impl_->app.add_option(valueName, target)->required()->type_name(valueName);
    o->check(Checked(valueName, std::move(check)));
    impl_->valueNames.emplace_back(o, valueName);
}

void ProgramOptions::Positionals(const std::string& valueName, std::vector<std::string>& target)
{
    impl_->app.add_option(valueName, target)->type_name(valueName);
}

void ProgramOptions::Needs(const std::string& name, const std::string& other)
{
    CLI::Option* o = impl_->app.get_option_no_throw(name);
    CLI::Option* needed = impl_->app.get_option_no_throw(other);
    if (o != nullptr && needed != nullptr) o->needs(needed);
}

void ProgramOptions::FromEnvironment(const std::string& name, const std::string& variable,
                                     std::function<std::string(const std::string&)> derive)
{
    impl_->environment.push_back({name, variable, std::move(derive)});
}

void ProgramOptions::PanelOptionsFromEnvironment()
{
    FromEnvironment("--root", kPanelRootVariable);
    FromEnvironment("--usb", kPanelUsbVariable);
    FromEnvironment("--port", kPanelPortVariable);
    FromEnvironment("--headless", kPanelHeadlessVariable);
    FromEnvironment("--control", kPanelControlDirVariable,
                    [program = impl_->program](const std::string& folder) {
                        return ControlSocketIn(folder, program);
                    });
}

void ProgramOptions::BrowserViewOptions(WebViewOptions& target)
{
    Value("--http", "ADDR:PORT", target.address, CheckWebViewAddress);
    Value("--http-token", "TOKEN", target.token, CheckWebViewToken);
    Needs("--http-token", "--http");
    FromEnvironment("--http-token", kPanelHttpTokenVariable);
}

const char* const kWebViewUsage =
    "  --http ADDR:PORT serve the live panel as a web page (off by default); a bare PORT\n"
    "                   is this machine only, 0.0.0.0:PORT every network of it\n"
    "  --http-token TOKEN  the access token viewers give (?token=TOKEN); needed beyond\n"
    "                   this machine, where one is made up and printed when none is given\n";

CommandLineResult ProgramOptions::Parse(const std::vector<std::string>& args)
{
    CommandLineResult result;
    for (const std::string& a : args) {
        if (a == "--") break;
        if (std::find(impl_->helpNames.begin(), impl_->helpNames.end(), a) !=
            impl_->helpNames.end()) {
            result.outcome = CommandLineResult::Outcome::Help;
            return result;
        }
    }
    const auto fail = [&](const std::string& why) {
        result.outcome = CommandLineResult::Outcome::Error;
        result.message = impl_->program + ": " + why;
        std::replace(result.message.begin(), result.message.end(), '\n', ' ');
        return result;
    };
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them so
    try {
        impl_->app.parse(reversed);
    } catch (const CLI::ExtrasError&) {
        const std::vector<std::string> extra = impl_->app.remaining();
        const std::string first = extra.empty() ? std::string() : extra.front();
        if (!first.empty() && first.front() == '-') {
            return fail("unknown option '" + first + "' (try --help)");
        }
        return fail("unexpected argument" + std::string(extra.size() > 1 ? "s " : " ") +
                    Quoted(extra) + " (try --help)");
    } catch (const CLI::ArgumentMismatch& e) {
        const std::string what = e.what();
        const std::string name = what.substr(0, what.find(':'));
        for (const auto& [option, valueName] : impl_->valueNames) {
            if (!option->check_name(name) && option->get_name() != name) continue;
            if (what.find("missing") != std::string::npos) {
                return fail(name + " needs a value (" + valueName + ")");
            }
            return fail(name + " is given more than once");
        }
        return fail(what);
    } catch (const CLI::RequiredError& e) {
        return fail(std::string(e.what()) + " (try --help)");
    } catch (const CLI::ParseError& e) {
        return fail(e.what());
    }
    const std::string why = impl_->TakeEnvironment();
    if (!why.empty()) return fail(why);
    return result;
}

std::string CheckCharacterDevice(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return "'" + path + "' cannot be used: " + std::strerror(errno) +
               " (a serial device such as /dev/ttyS0 or /dev/ttyUSB0 is needed)";
    }
    if (!S_ISCHR(st.st_mode)) {
        return "'" + path + "' is not a character device (a serial device such as " +
               "/dev/ttyS0 or /dev/ttyUSB0, or a pseudo-terminal, is needed)";
    }
    return {};
}

ProgramOptions::Check OneOf(std::vector<std::string> allowed, std::string what)
{
    return [allowed = std::move(allowed), what = std::move(what)](const std::string& value) {
        if (std::find(allowed.begin(), allowed.end(), value) != allowed.end()) return std::string();
        std::string list;
        for (const std::string& a : allowed) list += (list.empty() ? "" : ", ") + a;
        return "'" + value + "' is not " + what + "; one of: " + list;
    };
}

std::optional<int> WholeNumber(std::string_view text, int lo, int hi)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < lo || value > hi) return std::nullopt;
    return value;
}

std::vector<std::string> Arguments(int argc, char** argv)
{
    if (argc <= 1 || argv == nullptr) return {};
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::optional<int> ReportCommandLine(const CommandLineResult& result, std::string_view usage)
{
    switch (result.outcome) {
        case CommandLineResult::Outcome::Run: return std::nullopt;
        case CommandLineResult::Outcome::Help:
            std::fwrite(usage.data(), 1, usage.size(), stdout);
            return 0;
        case CommandLineResult::Outcome::Error:
            std::fprintf(stderr, "%s\n", result.message.c_str());
            return 2;
    }
    return 2;
}

}  // namespace platform
