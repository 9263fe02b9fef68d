// Opening the service screens on a running panel without the menu that will lead to them, and
// reading what they show.
#pragma once

#include <optional>
#include <string>

#include "platform/runtime/runtime.h"
#include "platform/win_types.h"
#include "tests/dryer/program/panel_run.h"

namespace diagnostics_test {

using OpenFn = INT_PTR (*)(HWND owner);

// Opens a screen on the user-interface thread over the main window, as a menu button would,
// and returns once the panel is idle again (with the screen open, unless it failed to open).
void OpenOnPanel(panel_test::PanelRun& panel, OpenFn open);

// The top-most window with this title.
std::optional<platform::WindowInfo> Window(const std::wstring& title);
// A control of the top-most window that has it.
bool Checked(int id);
std::wstring Text(int id);
// The open message box's text and title; empty when none is open.
std::wstring MessageText();
std::wstring MessageCaption();

}  // namespace diagnostics_test
