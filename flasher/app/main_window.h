// Inside NodeFlasher's program: the main window procedure, its four commands and the hooks
// the scan and upload screens plugged in.
#pragma once

#include "flasher/app/flasher_program.h"
#include "platform/win_types.h"

inline constexpr int kSplashWidth = 360;
inline constexpr int kSplashHeight = 240;

LRESULT FlasherWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
// Hands the tick its steps and starts the 50 ms timer on the main window.
void InstallFlasherTick(HWND wnd);
const FlasherScreenHooks& FlasherHooks();

// The four commands of the main window.
void ScanNetwork(HWND wnd);
void SelectProgram(HWND wnd);
void StartUpload(HWND wnd);
void ExitToDryer(HWND wnd);
// After the 2.5 s pause of EXIT TO DRYER: the hand-over.
void FinishExitToDryer(HWND wnd);

inline constexpr UINT_PTR kFlasherTimerId = 1;
inline constexpr UINT_PTR kExitPauseTimerId = 2;
inline constexpr UINT kExitPauseMs = 2500;
