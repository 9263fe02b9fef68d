// Driving the service set-up screens opened from the set-up selection (unload rate limits,
// plenum temperature manager): opening them from the home screen with fields on the board,
// and pictures of them to look at.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "dryer/link/dryer_image.h"
#include "tests/dryer/program/panel_run.h"

namespace service_test {

using Report = std::initializer_list<std::pair<ImageField, int>>;

// Puts the fields on the board (the dryer echoes what the panel sends afterwards), lets the
// panel decode them, presses SETUP and then the button; true when the titled dialog is open.
bool OpenWith(panel_test::PanelRun& panel, const Report& report, int button,
              const std::wstring& title);

// Writes a picture of the screen to $SERVICE_SCREENSHOTS/<name>.png when that is set.
void Screenshot(const std::string& name);

}  // namespace service_test
