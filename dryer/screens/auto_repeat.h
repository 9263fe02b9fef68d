// Auto-repeat of held step buttons. A screen with step buttons registers them while it is
// open; the 100 ms tick repeats the first held one, after half a second of holding and then on
// every tick, by sending the button's command to its screen.
#pragma once

#include <span>

#include "platform/win_types.h"

void RegisterAutoRepeat(HWND screen, std::span<const int> buttonIds);
void UnregisterAutoRepeat(HWND screen);
// The 100 ms tick's step.
void StepAutoRepeat();
// Forgets every registration (a fresh run in-process).
void ResetAutoRepeat();
