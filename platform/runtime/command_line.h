// One way of reading the command line for every panel program: options with values are checked
// as they are read, a value that looks like an option is refused (so "--root --headless" never
// takes "--headless" as the root), and every error names the bad value and what is allowed.
// Bad input ends a program with exit code 2 and one line on stderr; the help names print the
// program's own usage text. Options may take their defaults from the environment, as the panel
// options do when one panel program starts another. CLI11 does the parsing underneath.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/web/web_view_options.h"

namespace platform {

struct CommandLineResult {
    enum class Outcome { Run, Help, Error };
    Outcome outcome = Outcome::Run;
    std::string message;  // Error: one line, "program: ...", ready for stderr
};

class ProgramOptions {
public:
    // Checks one value: empty when it is good, else why not, naming the value and what is
    // allowed ("'99' is not a whole number from 1 to 8").
    using Check = std::function<std::string(const std::string& value)>;

    explicit ProgramOptions(std::string program, std::vector<std::string> helpNames = {"--help"});
    ~ProgramOptions();
    ProgramOptions(const ProgramOptions&) = delete;
    ProgramOptions& operator=(const ProgramOptions&) = delete;

    void Flag(const std::string& name, bool& target);
    void Flag(const std::string& name, std::function<void()> onSet);
    // An option that takes one value, at most once (valueName names it in messages: "DIR").
    void Value(const std::string& name, const std::string& valueName, std::string& target,
               Check check = {});
    // The same, repeatable; each value is checked.
    void Values(const std::string& name, const std::string& valueName,
                std::vector<std::string>& target, Check check = {});
    // A whole number from lo to hi.
    void Number(const std::string& name, int& target, int lo, int hi);
    // Arguments without an option name, in order: one required, then any number.
    void Positional(const std::string& valueName, std::string& target, Check check = {});
    void Positionals(const std::string& valueName, std::vector<std::string>& target);
    // The option may only be given together with `other`.
    void Needs(const std::string& name, const std::string& other);

    // When the command line does not give the option (declared above), its value comes from
    // the environment variable, if that is set and not empty: through `derive` when given, then
    // through the option's own checks. A flag takes "1" as given and "0" as not. A bad value is
    // an error like a bad option, naming the variable: "prog: PANEL_PORT (the default for
    // --port): '/x' cannot be used: ...".
    void FromEnvironment(const std::string& name, const std::string& variable,
                         std::function<std::string(const std::string&)> derive = {});
    // --root, --usb, --port, --headless and --control, as far as the program has them, default
    // to the panel options that a starting panel program handed on: PANEL_ROOT, PANEL_USB,
    // PANEL_PORT, PANEL_HEADLESS and PANEL_CONTROL_DIR (--control is <dir>/<program>.sock).
    void PanelOptionsFromEnvironment();
    // --http ADDR:PORT and --http-token TOKEN, the browser view every panel program offers; the
    // token defaults to PANEL_HTTP_TOKEN from the environment.
    void BrowserViewOptions(WebViewOptions& target);

    CommandLineResult Parse(const std::vector<std::string>& args);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The lines of the usage text on --http and --http-token, the same in every program.
extern const char* const kWebViewUsage;

// The checks the programs share.
// A path that exists and is a character device (a serial port or a pseudo-terminal).
std::string CheckCharacterDevice(const std::string& path);
// One of the given names; the message lists them all.
ProgramOptions::Check OneOf(std::vector<std::string> allowed, std::string what);
// A whole number from lo to hi.
std::optional<int> WholeNumber(std::string_view text, int lo, int hi);

std::vector<std::string> Arguments(int argc, char** argv);
// A program's command line as read: the options to run with, or help asked, or the error.
template <class Options>
struct ParsedCommandLine {
    std::optional<Options> options;  // empty when help was asked or on error
    bool help = false;
    std::string error;  // one line; non-empty means exit code 2
};

// The outcome of Parse together with the options it filled in: they are kept only for a run.
template <class Options>
ParsedCommandLine<Options> WithOptions(const CommandLineResult& parsed, Options options)
{
    ParsedCommandLine<Options> result;
    switch (parsed.outcome) {
        case CommandLineResult::Outcome::Help: result.help = true; break;
        case CommandLineResult::Outcome::Error: result.error = parsed.message; break;
        case CommandLineResult::Outcome::Run: result.options = std::move(options); break;
    }
    return result;
}

// What main does with a result: prints the usage (Help: exit code 0) or the message (Error:
// exit code 2). Nothing for Run.
std::optional<int> ReportCommandLine(const CommandLineResult& result, std::string_view usage);

}  // namespace platform
