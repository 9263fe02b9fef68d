// Starting other panel programs, as the panel programs hand over to one another: a panel path
// such as "\Hard Disk\OrbitDryer.exe" names the executable at the mapped host path (a program
// or a script with a "#!" line), and the started program gets this run's panel options in its
// environment (platform/runtime/panel_environment.h). Waiting and closing go through
// WaitForSingleObject and CloseHandle (platform/runtime/threads.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/threads.h"
#include "platform/win_types.h"

inline constexpr DWORD STILL_ACTIVE = 259;
inline constexpr DWORD ERROR_BAD_EXE_FORMAT = 193;

struct PROCESS_INFORMATION {
    HANDLE hProcess = nullptr;
    HANDLE hThread = nullptr;  // the same end as hProcess; close both
    DWORD dwProcessId = 0;
    DWORD dwThreadId = 0;
};

// Starts another program by its panel path ("\Hard Disk\Kickoff.exe", "\windows\explorer.exe")
// with the given command line (null or empty: no arguments), split as SplitCommandLine says.
// Without an application name the first word of the command line names the program. A ".exe"
// name that does not exist is also looked up without the extension, and the registered program
// table (platform::RegisterProgram) is asked first. Security, inheritance, flags, environment,
// folder and start-up arguments are accepted and ignored: the started program never inherits a
// descriptor of this one (serial port, sockets, lock file), gets the panel options in its
// environment and runs in this program's folder with default signal handling.
// Returns FALSE with the last error ERROR_FILE_NOT_FOUND when nothing is there,
// ERROR_ACCESS_DENIED when it is a folder or not executable, ERROR_BAD_EXE_FORMAT when the
// file is neither a program nor a script.
BOOL CreateProcess(const wchar_t* application, const wchar_t* commandLine, void* processAttrs,
                   void* threadAttrs, BOOL inherit, DWORD flags, void* environment,
                   const wchar_t* currentDir, void* startupInfo, PROCESS_INFORMATION* info);

// STILL_ACTIVE while the program runs, then its exit code (128 + the signal number when a
// signal ended it). FALSE for a handle that is not a started program.
BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode);

namespace platform {

// Maps a panel program name (for example L"\\windows\\explorer.exe") to a host executable
// and its fixed leading arguments (split at blanks), for programs that do not live under the
// panel root. A null or empty host executable removes the entry.
void RegisterProgram(const wchar_t* panelPath, const char* hostExecutable);

// The arguments of a panel command line: blanks (space, tab) separate them; a double-quoted run
// keeps its blanks and loses its quotes ("\"a b\"c" gives "a bc"), two double quotes inside it
// stand for one, and a quote left open runs to the end. Backslashes are ordinary characters,
// since panel paths are full of them. An empty quoted run is an empty argument.
std::vector<std::string> SplitCommandLine(std::wstring_view commandLine);

}  // namespace platform
