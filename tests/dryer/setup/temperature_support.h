// Driving the temperature setpoint screen and its keypad in a running panel: opening them,
// typing keys, reading what they draw.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "dryer/setup/temperature_keypad.h"
#include "dryer/setup/temperature_screen.h"
#include "platform/runtime/runtime.h"
#include "tests/dryer/program/panel_run.h"

namespace temperature_test {

inline constexpr wchar_t kDegree = 176;

// Keys as the tests type them: a digit 0-9, or one of these.
inline constexpr int kDel = -1;
inline constexpr int kClr = -2;
inline constexpr int kDef = -3;

// The panel, started against the simulator with these options.
sim::SimOptions Dryer(int heaters, bool celsius = false);

// Presses TEMPS: the setpoint screen comes up.
void OpenSetpointScreen();
// Presses a setpoint button of the open screen; true when the keypad came up.
bool OpenKeypad(int button);
bool KeypadOpen();
// Presses the keys in order.
void Type(const std::vector<int>& keys);
void Accept();
void Cancel();

// The number the keypad shows (" 250 °F "), or empty when it shows none.
std::wstring KeypadText();

// The texts of the shown window of this class, from its last paint.
std::vector<platform::DrawnText> TextsOf(const std::wstring& className);
// The first text with these words; a fatal failure (listing what was drawn) when there is none.
platform::DrawnText Drawn(const std::vector<platform::DrawnText>& texts, const std::wstring& text,
                          const char* file = __builtin_FILE(), int line = __builtin_LINE());
bool Has(const std::vector<platform::DrawnText>& texts, const std::wstring& text);

bool ControlShown(int id);
std::optional<RECT> ControlRect(int id);

// A setpoint printed as the screens print it: " %3d °F " (or °C).
std::wstring Printed(int value, bool celsius = false);
// As the keypad shows its number: " %03d °F ".
std::wstring OnKeypad(int value, bool celsius = false);

}  // namespace temperature_test
