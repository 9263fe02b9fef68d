// Test harness for the programs as child processes handing over to one another: a USB drive
// folder written by scripts/make_release, the simulated Display I/O board as a dryersim
// process, and a client of a program's automation socket that answers in the terms of the
// inspection tree (windows, controls, message boxes).
#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/child_process.h"

namespace chain_test {

// Real-time limits: the child programs run on the real clock.
inline constexpr int kStartMs = 15000;

std::filesystem::path FreshFolder(const std::string& what);

// Runs scripts/make_release with the given arguments (the launchers start this build's
// programs); its exit code.
int MakeRelease(const std::filesystem::path& dir, const std::string& arguments);

// The SHA-256 of a file as 64 hex digits (sha256sum), empty when it cannot be read.
std::string Sha256(const std::filesystem::path& file);

// Every regular file under `folder`, as paths relative to it, sorted.
std::vector<std::filesystem::path> FilesUnder(const std::filesystem::path& folder);

// dryersim on a pseudo-terminal of its own, kept running by its control socket.
class Simulator {
public:
    explicit Simulator(const std::filesystem::path& folder);
    // Waits until the simulator serves; the pseudo-terminal's path, or empty.
    std::string WaitServing();
    test_support::ChildProcess& child() { return child_; }

private:
    std::filesystem::path socket_;
    test_support::ChildProcess child_;
};

// A running program seen through its automation socket.
class Remote {
public:
    explicit Remote(std::filesystem::path socket) : socket_(std::move(socket)) {}

    // Waits until the socket answers.
    bool WaitUp(int milliseconds = kStartMs) const;
    // One command; the answer as JSON (null when nothing came back).
    nlohmann::json Ask(const std::string& command) const;
    bool Ok(const std::string& command) const;
    // The visible windows, top-most first (empty when the socket does not answer).
    std::vector<nlohmann::json> Windows() const;
    std::optional<nlohmann::json> Titled(const std::string& title) const;
    std::optional<nlohmann::json> OfClass(const std::string& className) const;
    std::optional<nlohmann::json> MessageBox() const;
    std::optional<nlohmann::json> Control(int id) const;
    // The rows of a list control, one text each (the first cell).
    std::vector<std::string> Rows(int id) const;
    bool Press(int id) const { return Ok("press " + std::to_string(id)); }
    bool Answer(const std::string& button) const { return Ok("answer " + button); }
    const std::filesystem::path& socket() const { return socket_; }

private:
    std::filesystem::path socket_;
};

// Sets a variable of this process for the children it starts, and takes it back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace chain_test

namespace chain_test {

// The installer's texts and controls, as the operator meets them.
inline constexpr const char kCopyQuestionCaption[] = " COPY PROGRAM FILE FROM USB FLASH DRIVE?";
inline constexpr const char kInstallCaption[] = "Installing Software Update...";
inline constexpr int kInstallList = 1038;
inline constexpr int kInstallButton = 1037;

// INSTALL FROM USB on a drive with one release: YES to the question, then waits until the copy
// has ended (the install dialog closed, or its button reads OK, which is then pressed). The
// install list's rows as last seen; empty when the install did not come to its end within
// `milliseconds`.
std::vector<std::string> InstallTheOnlyRelease(const Remote& program, int milliseconds);

}  // namespace chain_test
