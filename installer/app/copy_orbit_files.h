// The CopyOrbitFiles program: its command line, its host set-up (panel root, USB folder,
// screen), the main window with its four picture buttons, the File and Help menus, the About
// box, the one-second tick that drives the USB search and the hand-over to the next program.
// Starting another program always ends this one.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/command_line.h"
#include "platform/win_types.h"

// ---- command line ---------------------------------------------------------------------------
struct CopyOrbitFilesOptions {
    std::string root = "./panel";
    std::string usb;  // empty: <root>/Hard Disk2
    bool headless = false;
    std::string control;
    // Tests open the screen themselves (and choose the virtual clock) before the run.
    bool screenAlreadyOpen = false;
    platform::WebViewOptions http;  // --http, --http-token: the panel in a browser
};

using CopyOrbitFilesCommandLine = platform::ParsedCommandLine<CopyOrbitFilesOptions>;

CopyOrbitFilesCommandLine ParseCopyOrbitFilesCommandLine(const std::vector<std::string>& args);
const char* CopyOrbitFilesUsage();

// ---- main window ----------------------------------------------------------------------------
inline constexpr const wchar_t* kCopyWindowClass = L"COPYORBITFILES";
inline constexpr const wchar_t* kCopyWindowTitle = L"Copy Dryer Files";
inline constexpr int kCopyIconId = 101;

// The four picture buttons; each sends its id as the command.
inline constexpr WORD kCmdNodeFlasher = 8000;
inline constexpr WORD kCmdExitToWindows = 8001;
inline constexpr WORD kCmdInstallFromUsb = 8002;
inline constexpr WORD kCmdStartDryer = 8003;
// The timer whose every tick is one step of the USB drive search.
inline constexpr UINT_PTR kUsbSearchTimerId = 8004;
inline constexpr UINT kUsbSearchTickMs = 1000;
// The menu commands.
inline constexpr WORD kCmdFileExit = 40002;
inline constexpr WORD kCmdHelpAbout = 40003;

// Bitmap resources: each button's face, the faces loaded with them, the title picture.
inline constexpr int kBitmapNodeFlasherAlt = 106;
inline constexpr int kBitmapNodeFlasher = 107;
inline constexpr int kBitmapExitToWindowsAlt = 108;
inline constexpr int kBitmapExitToWindows = 109;
inline constexpr int kBitmapInstallAlt = 110;
inline constexpr int kBitmapInstall = 111;
inline constexpr int kBitmapStartDryerAlt = 116;
inline constexpr int kBitmapStartDryer = 117;
inline constexpr int kBitmapTitle = 123;
inline constexpr RECT kTitlePicture{20, 60, 20 + 257, 60 + 95};

// ---- menu strip (the command bar) -----------------------------------------------------------
// The panel's command bar: "&File" with "E&xit" and "&Help" with "&About" along the top of the
// main window, and the close box at its right end. Tapping a menu title drops its item down.
inline constexpr int kCommandBarHeight = 26;
inline constexpr int kBarFileMenu = 40100;
inline constexpr int kBarHelpMenu = 40101;
inline constexpr int kBarCloseBox = 40102;

// ---- About box ------------------------------------------------------------------------------
inline constexpr const wchar_t kAboutCaption[] = L"About CopyOrbitFiles";
inline constexpr const wchar_t kAboutVersion[] = L"Copy Dryer Files Ver 2.00";
inline constexpr int kAboutIcon = 1100;
inline constexpr int kAboutVersionText = 1101;

// ---- hand-over texts ------------------------------------------------------------------------
inline constexpr const wchar_t kKickoffMissingText[] =
    L"Make sure Kickoff.exe file is properly installed in directory \"Hard Disk\".";
inline constexpr const wchar_t kKickoffMissingIcop[] =
    L" Could not execute Kickoff Program (ICOP)!       ";
inline constexpr const wchar_t kKickoffMissingAb[] =
    L" Could not execute Kickoff Program (AB)!       ";
inline constexpr const wchar_t kNodeFlasherMissingText[] =
    L"Make sure NodeFlasher.exe file is properly installed in directory \"Hard Disk\".";
inline constexpr const wchar_t kNodeFlasherMissingIcop[] =
    L" Could not execute NodeFlasher Program (ICOP)!       ";
inline constexpr const wchar_t kNodeFlasherMissingAb[] =
    L" Could not execute NodeFlasher Program (AB)!       ";
inline constexpr const wchar_t kExitQuestionText[] =
    L"Exit to windows? (Dryer Program will not Start.)\n \t\t\t\t\t\t\t\t\t\t  To start dryer "
    L"later, either: \n\t\t\t\t\t\t\t\t\t\t      1. Cycle power, or,\n \t\t\t\t\t\t\t\t\t\t\t  "
    L"2. Use Dryer Icon on desktop.";
inline constexpr const wchar_t kExitQuestionCaption[] = L" EXITING TO WINDOWS";

// ---- program entry --------------------------------------------------------------------------
// Runs CopyOrbitFiles to its end and returns the exit code.
int CopyOrbitFilesMain(const CopyOrbitFilesOptions& options);
// The program entry on an opened screen: class, main window, timer, message loop.
int RunCopyOrbitFiles(HINSTANCE instance);
// Ends a running CopyOrbitFiles from another thread (tests).
void RequestCopyOrbitFilesQuit();
// Program-start values (tests run the program several times).
void ResetCopyOrbitFiles();

// Inside the program: the window procedure, the pictures, the menu strip and the About box.
LRESULT CopyWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
void RegisterCopyOrbitFilesPictures();
void CreateCommandBar(HWND main);
void ShowCommandBar(HWND main);
// Folds any dropped-down menu back up.
void CloseMenus(HWND main);
// The menu titles' commands; true when the id was one of the strip's own.
bool OnCommandBar(HWND main, int id);
void PaintCommandBar(HDC dc, int width);
void OpenAboutBox(HWND owner);
