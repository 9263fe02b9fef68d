// Driving the calibration screens (moisture sensor calibration, unload bushels set-up) on a
// running panel: pressing and holding their buttons, the flags they raise, and their texts.
#pragma once

#include <set>

#include "dryer/link/pending_command.h"
#include "platform/win_types.h"

namespace calibration_test {

// Presses a control `times` times; false when it could not be pressed.
bool Press(int id, int times = 1);

// The middle of a control on the screen, where a finger holds it ({-1, -1}: no such control).
POINT Middle(int id);

// The flags raised now; the clock's, raised every second, is left out.
std::set<Pending> Raised();

// Every text on the screen fits its box (a test failure for each that does not).
void ExpectTextsFit();

}  // namespace calibration_test
