// The timer screen's pages and the buttons that open the minutes-and-seconds keypad on each
// delay timer (the screen itself is TIMER_SELECT_WINDOW, TimerSelectProc in screen_procs.h).
#pragma once

inline constexpr const wchar_t* kLoadDelayPageClass = L"LOAD_DELAY_CHILD_WINDOW";
inline constexpr const wchar_t* kOutOfGrainPageClass = L"OUT_OF_GRAIN_CHILD_WINDOW";
inline constexpr const wchar_t* kFanPageClass = L"FAN_DELAY_CHILD_WINDOW";
inline constexpr const wchar_t* kUnloadDelayPageClass = L"UNLOAD_DELAY_CHILD_WINDOW";

inline constexpr int kLoadDelayButton = 0x9110;
inline constexpr int kOutOfGrainButton = 0x9111;
inline constexpr int kFanDelayButton = 0x9112;
inline constexpr int kFanRunAfterButton = 0x9113;
inline constexpr int kUnloadDelayButton = 0x9114;
