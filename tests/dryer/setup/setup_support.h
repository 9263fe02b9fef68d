// Driving the set-up screens of a running panel (tests/dryer/program/panel_run.h): opening the
// set-up selection and its dialogs from the home screen, reading their controls through the
// inspection tree, and the flags of the dryer's build.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dryer/link/pending_command.h"
#include "platform/runtime/runtime.h"

namespace setup_test {

// Presses SETUP on the home screen; true when the set-up selection shows.
bool OpenSetupSelection();
// SETUP, then BURNER MODE; true when "Select Burner Mode - 10" is open.
bool OpenBurnerModeDialog();
// SETUP, MORE SETUP, then the hardware set-up button; true when the hardware set-up is open.
bool OpenHardwareSetupDialog();

// The control with this id in the top-most window that has one.
std::optional<platform::ControlInfo> Control(int id);
bool Checked(int id);
bool Visible(int id);
bool Enabled(int id);
std::wstring Text(int id);
// The code whose indicator is checked among `count` indicators from `firstId` (-1: none).
int CheckedIndex(int firstId, int count);

// The flags of the fields these screens edit that are set now, by name ("heaterCount", ...),
// in command order. The clock flag, set every second, is not among them.
using Flags = std::vector<std::string>;
Flags SetupFlagsSet();

// Checks a dialog's layout: it lies on the screen, every visible control inside it and inside
// its own frame (frameOf: the frame's id, the control's own for a frame, 0 for none), and no two
// visible controls overlap but a frame and its own controls.
void ExpectTidyLayout(const std::wstring& title, int (*frameOf)(int id));

}  // namespace setup_test
