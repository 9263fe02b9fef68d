// Window procedures of the child windows that the screen manager creates, for the screens
// whose code lives in this folder (the home panels declare theirs in home_panels.h).
#pragma once

#include "platform/win_types.h"

LRESULT ViewSelectionProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT BatchDryingProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

// The other child windows: the selection screens, the panels and the graph.
LRESULT LineGraphProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT AverageValuesProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT UnloadStatusProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT ButtonBarProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT TimerSelectProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT TempSelectProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT SetupSelectionProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT ExtendedSetupProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT GraphWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT DrawGraphProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

// Control ids of the selection screens' leave buttons.
inline constexpr int kTimerSelectExit = 0x9001;
inline constexpr int kTempSelectExit = 0x9002;
inline constexpr int kSetupSelectionExit = 0x9003;
inline constexpr int kExtendedSetupExit = 36980;
// Set-up selection buttons whose visibility the 1-second tick keeps up to date.
inline constexpr int kSetupBurnerModeButton = 0x9004;
inline constexpr int kSetupExtendedButton = 0x9005;
// The extended set-up selection's buttons (the sampler and batch counter buttons follow the
// image too).
inline constexpr int kExtendedDiagnosticsButton = 36978;
inline constexpr int kExtendedBurnerDifferentialButton = 36979;
inline constexpr int kExtendedPrinterButton = 36981;
inline constexpr int kExtendedRollReverseButton = 36991;
inline constexpr int kExtendedSamplerButton = 37010;
inline constexpr int kExtendedUnloadBushelsButton = 36983;
inline constexpr int kExtendedClockButton = 36984;
inline constexpr int kExtendedUnitsButton = 36985;
inline constexpr int kExtendedHardwareButton = 36982;
inline constexpr int kExtendedDataLoggerButton = 36987;
inline constexpr int kExtendedUserSettingsButton = 36989;
inline constexpr int kExtendedBatchCounterButton = 36990;

// The 1-second tick's set-up button step: shows or hides the buttons that follow the image.
void RefreshSetupButtons();
// Its part for the extended set-up selection.
void RefreshExtendedSetupButtons();
