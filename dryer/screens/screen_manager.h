// The screen manager of the operator display: the main window procedure, the fixed set of
// child windows created once at start-up, the five bottom buttons, the home composition and
// the switching to the selection screens.
#pragma once

#include <array>

#include "platform/win_types.h"

// Window classes of the child windows, in creation order.
inline constexpr const wchar_t* kViewSelectionClass = L"VIEW_SELECTION_WINDOW";
inline constexpr const wchar_t* kWarningClass = L"WARNING_WINDOW";
inline constexpr const wchar_t* kLineGraphClass = L"LINE_GRAPH_WINDOW";
inline constexpr const wchar_t* kAverageValuesClass = L"AVERAGE_VALUES_WINDOW";
inline constexpr const wchar_t* kCustomViewClass = L"CUSTOM_VIEW_WINDOW";
inline constexpr const wchar_t* kUnloadStatusClass = L"UNLOAD_STATUS_WINDOW";
inline constexpr const wchar_t* kRightStatusBarClass = L"DRYER_RIGHT_STATUS_BAR_WINDOW";
inline constexpr const wchar_t* kButtonBarClass = L"BUTTON_BAR_WINDOW";
inline constexpr const wchar_t* kTimerSelectClass = L"TIMER_SELECT_WINDOW";
inline constexpr const wchar_t* kTempSelectClass = L"TEMP_SELECT_WINDOW";
inline constexpr const wchar_t* kSetupSelectionClass = L"SETUP_SELECTION_WINDOW";
inline constexpr const wchar_t* kExtendedSetupClass = L"EXTENDED_SETUP_SELECTION_WINDOW_NEW";
inline constexpr const wchar_t* kGraphClass = L"GRAPH_WINDOW";
inline constexpr const wchar_t* kDrawGraphClass = L"DRAW_GRAPH_WINDOW";
inline constexpr const wchar_t* kDryerPicClass = L"DRYER_PIC_WINDOW";
inline constexpr const wchar_t* kBatchDryingClass = L"BATCH_DRYING_WINDOW";

// Commands of the main window.
inline constexpr int kCmdTimers = 0x8801;
inline constexpr int kCmdTemps = 0x8802;
inline constexpr int kCmdSetup = 0x8803;
inline constexpr int kCmdView = 0x8804;
inline constexpr int kCmdMisc = 0x8805;
inline constexpr int kCmdOpenMetering = 0x8806;
inline constexpr int kCmdDefaultsSwitch = 0x8807;
// Sent to the main window by the single-instance watcher when a second start asks the running
// display to come to the front.
inline constexpr unsigned kMsgRaiseMain = 0x8000 + 0x101;  // WM_APP + 0x101

// The handles of every window of the display; a window that failed to create stays null
// (showing or hiding a null handle does nothing).
struct ScreenWindows {
    HWND main = nullptr;
    HINSTANCE instance = nullptr;
    HWND viewSelection = nullptr;
    HWND warning = nullptr;
    HWND lineGraph = nullptr;
    HWND averageValues = nullptr;
    HWND customView = nullptr;
    HWND unloadStatus = nullptr;
    HWND rightStatusBar = nullptr;
    HWND buttonBar = nullptr;
    HWND timerSelect = nullptr;
    HWND tempSelect = nullptr;
    HWND setupSelection = nullptr;
    HWND extendedSetup = nullptr;
    HWND graph = nullptr;
    HWND drawGraph = nullptr;
    HWND dryerPic = nullptr;
    HWND batchDrying = nullptr;
    std::array<HWND, 5> buttons{};  // TIMERS, TEMPS, SETUP, VIEW, MISC
};

ScreenWindows& Screens();

// Display state that belongs to the screen manager.
struct ScreenState {
    int currentView = 0;   // 0 status chart, 1 graph (from unitsAndOptions bit 6)
    int entryContext = 0;  // shared entry context word of the setpoint dialogs
    bool entryContextValid = false;
};
ScreenState& ScreenManagerState();

// Forgets every handle and resets the screen manager's state; for a fresh run in-process.
void ResetScreenManager();

// Registers the classes and creates the child windows in table order, then runs the home
// composition. Called once by the instance set-up.
void CreateScreenSet(HWND main, HINSTANCE instance);

LRESULT MainWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

void HomeComposition();
// The exit command of every selection screen.
void ReturnToHome(HWND screen);
// First step of switching to a full-screen selection screen.
void HideEverything(HWND target);
// Repaints the five bottom buttons (their faces follow the moisture-control flag).
void RefreshMainButtons();

// Shows a window of the table by handle; null handles are ignored.
void ShowScreen(HWND wnd, bool show);
