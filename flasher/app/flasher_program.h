// The NodeFlasher program: its command line, its host set-up (panel root, serial port,
// simulator, screen), the main window with its four steps (scan, select, upload, exit), the
// splash, the choice of a release folder on the panel, the copy of the display programs after
// an upload and the hand-over to the next program.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flasher/node_link.h"
#include "platform/runtime/command_line.h"
#include "platform/win_types.h"

// ---- command line ---------------------------------------------------------------------------
struct NodeFlasherOptions {
    std::string statusKey;  // the one word the starting program passed, as given
    std::string root = "./panel";
    std::string port = "/dev/ttyS0";
    std::string usb;  // empty: <root>/Hard Disk2
    bool simulate = false;
    bool headless = false;
    std::string control;
    // Tests open the screen themselves (and choose the virtual clock) before the run.
    bool screenAlreadyOpen = false;
    platform::WebViewOptions http;  // --http, --http-token: the panel in a browser
};

using FlasherCommandLine = platform::ParsedCommandLine<NodeFlasherOptions>;

FlasherCommandLine ParseFlasherCommandLine(const std::vector<std::string>& args);
const char* NodeFlasherUsage();

// The keys a scan reports and with which a starting program asks for an automatic scan.
inline constexpr std::array<const wchar_t*, 6> kStatusKeys = {
    L"DISPLAY_IO_MISSING", L"MAIN_IO_MISSING",        L"NO_FAN_HEATER_PRESENT",
    L"INVALID_FH_ADDRESS", L"CONFLICTING_FH_ADDRESS", L"DIFFERING_SW_VERSIONS",
};
// The key the whole command line names, or null: only an exact match counts.
const wchar_t* MatchStatusKey(std::wstring_view commandLine);

// ---- main window ----------------------------------------------------------------------------
inline constexpr const wchar_t* kFlasherWindowClass = L"NODEFLASHER";
inline constexpr const wchar_t* kFlasherWindowTitle = L"NodeFlasher";
inline constexpr int kFlasherIconId = 101;
inline constexpr int kSplashBitmapId = 113;

inline constexpr WORD kCmdScanNetwork = 0x8801;
inline constexpr WORD kCmdSelectProgram = 0x8802;
inline constexpr WORD kCmdStartUpload = 0x8803;
inline constexpr WORD kCmdExitToDryer = 0x8804;

inline constexpr int kSelectionList = 1004;
inline constexpr int kSelectionAccept = 1005;
inline constexpr int kSelectionMoveUp = 1006;
inline constexpr int kSelectionMoveDown = 1007;

inline constexpr const wchar_t kSplashVersionText[] = L"NodeFlasher Version 2.01";
inline constexpr const wchar_t kSelectionCaption[] = L" SELECT DRYER PROGRAM...";
inline constexpr unsigned kSplashTicks = 50;  // FlasherTicks of 50 ms: 2.5 s

// ---- release folders on the panel -----------------------------------------------------------
inline constexpr std::size_t kMaxProgramFolders = 50;
inline constexpr std::size_t kMaxFolderNameChars = 100;

struct FlasherProgramState {
    bool automaticScan = false;
    std::wstring statusKey;                    // the key of the automatic scan
    std::vector<std::wstring> programFolders;  // "CAN_DRYER_P???" names, file-system order
    std::size_t selectionIndex = 0;            // the selection dialog's row
    bool programSelected = false;
    // The folder accepted in the selection dialog, by name: the list is rebuilt on every use
    // and a folder added or removed on the panel must not move the choice to another release.
    std::wstring acceptedFolder;
    bool splashShown = false;  // the first paint opened it
    unsigned splashTicks = 0;  // FlasherTicks since start, up to kSplashTicks
    HWND splash = nullptr;
    HWND mainWindow = nullptr;
};
extern FlasherProgramState FlasherProgram;

// "\Hard Disk\" when the panel has that folder, else "\".
std::wstring StoragePrefix();
// Rebuilds the program folder list from the panel.
void RebuildProgramFolders();
// The accepted folder's name, or empty when none is accepted.
std::wstring SelectedProgramFolder();
// After a rebuild outside the selection dialog: the selection row follows the accepted
// folder; when that folder has gone from the panel, the choice is dropped (START UPLOAD goes
// off until another folder is accepted).
void FollowAcceptedFolder();

// Copies "Dryer.exe", "Kickoff.exe" and "OrbitDryer.exe" from the accepted folder to the
// storage prefix, each line to `addLine` (the upload list); a failed copy does not stop the
// others. Without an accepted folder nothing is copied and each file is reported as failed.
// Called by the upload at its end.
void CopyDisplayExecutables(HWND owner, void (*addLine)(const wchar_t* line));

// What the scan and upload screens plug into the main window; empty hooks do nothing.
struct FlasherScreenHooks {
    // SCAN NETWORK: opens the scan dialog; statusKey is null for a scan the operator asked for.
    void (*openScanDialog)(HWND owner, const wchar_t* statusKey) = nullptr;
    void (*clearScanDone)() = nullptr;
    // START UPLOAD: the warning about boards without a program file, then the upload dialog.
    void (*openUploadDialog)(HWND owner) = nullptr;
    // Lists the HEX files of the release folder (full path of the folder).
    void (*listHexFiles)(const std::wstring& folderPath) = nullptr;
    // Clears the upload's node step flags at start-up.
    void (*clearNodeSteps)() = nullptr;
    // The 50 ms tick's steps and sinks of the scan and the upload; the splash check is the
    // program's own and is set in place of whatever is given there.
    FlasherTickSteps tick;
};
void SetFlasherScreenHooks(const FlasherScreenHooks& hooks);

// ---- program entry --------------------------------------------------------------------------
// Runs NodeFlasher to its end and returns the exit code.
int NodeFlasherMain(const NodeFlasherOptions& options);
// The program entry on an opened screen: class, main window, port, timer, message loop.
int RunNodeFlasher(HINSTANCE instance, const std::wstring& commandLine);
// Ends a running NodeFlasher from another thread (tests).
void RequestNodeFlasherQuit();
// Program-start values (tests run the program several times).
void ResetFlasherProgram();
