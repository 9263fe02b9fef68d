// The unload status window (UNLOAD_STATUS_WINDOW, " UNLOAD STATUS"): the meter roll speed, a
// button with the throughput and the total bushels, and a button with the three metering
// presets, the active one highlighted. Its window procedure, UnloadStatusProc, is declared
// with the other child windows' in screen_procs.h.
#pragma once

// Control ids of its two owner-drawn buttons.
inline constexpr int kUnloadStatusSelectButton = 0x9070;   // UNLOAD_STATUS_SELECT_BUTTON
inline constexpr int kUnloadMrSpeedSelectButton = 0x9071;  // UNLOAD_MR_SPEED_SELECT_BUTTON
