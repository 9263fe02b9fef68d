// The three periodic timers of the display: 175 ms (link pacing, blinking, state line),
// 1 second (clock record, watchdogs, logs, timer reloads) and 100 ms (warning banner,
// animations, auto-repeat of held step buttons).
#pragma once

#include <array>

#include "platform/win_types.h"

inline constexpr UINT_PTR kTimer175Ms = 36865;
inline constexpr UINT_PTR kTimer1s = 36866;
inline constexpr UINT_PTR kTimer100Ms = 36894;

// The four batch timers whose buttons ask for a reload when held.
enum class BatchTimer { Dry, LoHeat, Cool, Unload };
inline constexpr int kBatchTimerCount = 4;

struct TickState {
    // 175 ms
    int blinkPhase = 0;  // 0-7
    int pollDivider = 0;
    bool statusRefreshRequested = false;
    int statusRefreshCountdown = 25;
    // 1 s
    int longTermDivider = 12;
    int shortTermCountdown = 0;  // seconds
    int graphCountdown = 10;
    bool logSizeWarningArmed = true;
    std::array<int, kBatchTimerCount> holdCounters{1, 1, 1, 1};
    bool askingReload = false;  // a reload question is open
    // 100 ms
    int bannerDivider = 0;
    int slowUnloadPhase = 0;
    int slowUnloadDivider = 0;
    int meterRollDivider = 0;
};

// The dividers and counters of the ticks; the blink flags and the animation frames they step
// are the home panels' (dryer/screens/panel_animation.h).
TickState& Ticks();
// Back to the start: counters, blink flags, animation frames and auto-repeat registrations.
void ResetTicks();

// Starts the three timers on the main window.
void StartTimers(HWND main);

// The callbacks, also called directly by tests.
void Tick175Ms(HWND wnd, UINT msg, UINT_PTR id, DWORD time);
void Tick1s(HWND wnd, UINT msg, UINT_PTR id, DWORD time);
void Tick100Ms(HWND wnd, UINT msg, UINT_PTR id, DWORD time);

// The hardware set-up screen's accept: redraw the main displays 25 ticks (4.375 s) later.
void RequestStatusRefresh();
