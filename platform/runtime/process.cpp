// Starting other panel programs with posix_spawn (no shell in between): the panel path is
// mapped to a host executable, the command line split into arguments, and the child gets the
// panel options of this run in its environment, default signal handling and no descriptor of
// this program beyond standard input, output and error. A waiter thread reaps each child and
// keeps its exit code for GetExitCodeProcess.
#include "platform/runtime/process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cwctype>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/runtime/detail_handles.h"
#include "platform/runtime/detail_text.h"
#include "platform/runtime/panel_environment.h"
#include "platform/storage/files.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using platform::detail::HandleObject;

// A started program: signalled when it has ended, with its exit code.
class ProcessObject : public HandleObject {
public:
    bool Waitable() const override { return true; }
    DWORD exitCode = STILL_ACTIVE;  // under WaitMutex()
};

struct ProgramTable {
    std::mutex mutex;
    std::map<std::wstring, std::string> programs;  // lower-case panel path -> host command
};

ProgramTable& Programs()
{
    static ProgramTable table;
    return table;
}

std::wstring Lower(std::wstring_view s)
{
    std::wstring out(s);
    for (auto& c : out) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return out;
}

// The host command (program first) for a panel program, or the error that says why there is
// none.
struct Resolved {
    std::vector<std::string> command;
    DWORD error = ERROR_SUCCESS;
};

// ERROR_SUCCESS for an executable regular file, else why it cannot be started.
DWORD Runnable(const fs::path& p)
{
    struct stat st {};
    if (::stat(p.c_str(), &st) != 0) {
        return errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND;
    }
    if (!S_ISREG(st.st_mode) || ::access(p.c_str(), X_OK) != 0) return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}

Resolved ResolveProgram(std::wstring_view panelPath)
{
    {
        ProgramTable& table = Programs();
        std::lock_guard lock(table.mutex);
        const auto it = table.programs.find(Lower(panelPath));
        if (it != table.programs.end()) {
            return {platform::detail::SplitAtAny(std::string_view(it->second), " \t")};
        }
    }
    const fs::path mapped = platform::MapPanelPath(panelPath);
    DWORD error = Runnable(mapped);
    if (error == ERROR_SUCCESS) return {{mapped.string()}};
    // "\Hard Disk\Kickoff.exe" may stand on the host as "Hard Disk/Kickoff".
    if (Lower(panelPath).ends_with(L".exe") && panelPath.size() > 4) {
        const fs::path bare = platform::MapPanelPath(panelPath.substr(0, panelPath.size() - 4));
        const DWORD bareError = Runnable(bare);
        if (bareError == ERROR_SUCCESS) return {{bare.string()}};
        if (error == ERROR_FILE_NOT_FOUND) error = bareError;
    }
    return {{}, error};
}

DWORD SpawnError(int rc)
{
    switch (rc) {
        case ENOENT:
        case ENOTDIR: return ERROR_FILE_NOT_FOUND;
        case ENOEXEC: return ERROR_BAD_EXE_FORMAT;
        case ENOMEM:
        case EAGAIN: return ERROR_NOT_ENOUGH_MEMORY;
        default: return ERROR_ACCESS_DENIED;  // EACCES, EPERM, EISDIR, ETXTBSY, ...
    }
}

// Spawn settings: no descriptor past standard error survives into the child, even one opened
// without close-on-exec; no blocked signal and no ignored one (this program ignores SIGPIPE).
class SpawnSettings {
public:
    SpawnSettings()
    {
        posix_spawn_file_actions_init(&actions_);
        posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1);
        posix_spawnattr_init(&attr_);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attr_, &none);
        sigset_t all;
        sigfillset(&all);
        sigdelset(&all, SIGKILL);
        sigdelset(&all, SIGSTOP);
        posix_spawnattr_setsigdefault(&attr_, &all);
        posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnSettings()
    {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attr_);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;

    const posix_spawn_file_actions_t* actions() const { return &actions_; }
    const posix_spawnattr_t* attr() const { return &attr_; }

private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attr_;
};

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> out;
    for (std::string& t : texts) out.push_back(t.data());
    out.push_back(nullptr);
    return out;
}

DWORD ExitCodeOf(int status)
{
    if (WIFEXITED(status)) return static_cast<DWORD>(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return 128u + static_cast<DWORD>(WTERMSIG(status));
    return 1;
}

}  // namespace

BOOL CreateProcess(const wchar_t* application, const wchar_t* commandLine, void*, void*, BOOL,
                   DWORD, void*, const wchar_t*, void*, PROCESS_INFORMATION* info)
{
    std::vector<std::string> words =
        platform::SplitCommandLine(commandLine != nullptr ? commandLine : L"");
    std::wstring program;
    if (application != nullptr && application[0] != L'\0') {
        program = application;
    } else if (!words.empty()) {
        // No program name: it is the first word of the command line.
        program = platform::Widen(words.front());
        words.erase(words.begin());
    }
    if (program.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Resolved resolved = ResolveProgram(program);
    if (resolved.command.empty()) {
        SetLastError(resolved.error != ERROR_SUCCESS ? resolved.error : ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    std::vector<std::string> args = std::move(resolved.command);
    for (std::string& w : words) args.push_back(std::move(w));
    std::vector<std::string> environment = platform::StartedProgramEnvironment(environ);
    std::vector<char*> argv = Pointers(args);
    std::vector<char*> envp = Pointers(environment);

    const SpawnSettings settings;
    pid_t pid = 0;
    // A name without a folder comes from the registered table and is looked up on PATH.
    const int rc = args.front().find('/') == std::string::npos
                       ? ::posix_spawnp(&pid, argv[0], settings.actions(), settings.attr(),
                                        argv.data(), envp.data())
                       : ::posix_spawn(&pid, argv[0], settings.actions(), settings.attr(),
                                       argv.data(), envp.data());
    if (rc != 0) {
        SetLastError(SpawnError(rc));
        return FALSE;
    }
    // A waiter reaps the child and keeps its exit code, so no zombie is left behind.
    auto process = std::make_shared<ProcessObject>();
    try {
        std::thread([process, pid] {
            int status = 0;
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            {
                std::lock_guard lock(platform::detail::WaitMutex());
                process->exitCode = ExitCodeOf(status);
            }
            platform::detail::Signal(*process);
        }).detach();
    } catch (const std::system_error&) {
        // Without a waiter the child still runs; it is reaped when this program ends.
    }
    if (info != nullptr) {
        info->hProcess = platform::detail::AddHandle(process);
        info->hThread = platform::detail::AddHandle(process);
        info->dwProcessId = static_cast<DWORD>(pid);
        info->dwThreadId = static_cast<DWORD>(pid);
    }
    return TRUE;
}

BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode)
{
    const auto object = platform::detail::FindHandleAs<ProcessObject>(process);
    if (!object || exitCode == nullptr) {
        if (object) SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard lock(platform::detail::WaitMutex());
    *exitCode = object->exitCode;
    return TRUE;
}

namespace platform {

void RegisterProgram(const wchar_t* panelPath, const char* hostExecutable)
{
    if (panelPath == nullptr) return;
    ProgramTable& table = Programs();
    std::lock_guard lock(table.mutex);
    if (hostExecutable == nullptr || hostExecutable[0] == '\0') {
        table.programs.erase(Lower(panelPath));
    } else {
        table.programs[Lower(panelPath)] = hostExecutable;
    }
}

std::vector<std::string> SplitCommandLine(std::wstring_view commandLine)
{
    std::vector<std::string> args;
    std::wstring current;
    bool inWord = false;  // something (maybe an empty quoted run) belongs to the current word
    bool quoted = false;
    for (std::size_t i = 0; i < commandLine.size(); ++i) {
        const wchar_t c = commandLine[i];
        if (c == L'"') {
            inWord = true;
            if (quoted && i + 1 < commandLine.size() && commandLine[i + 1] == L'"') {
                current += L'"';
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (!quoted && (c == L' ' || c == L'\t')) {
            if (inWord) args.push_back(Narrow(current));
            current.clear();
            inWord = false;
        } else {
            current += c;
            inWord = true;
        }
    }
    if (inWord) args.push_back(Narrow(current));
    return args;
}

}  // namespace platform
