// Test harness of the drying mode dialogs: a headless screen on the test thread, the dryer
// image set by the test, and a dialog run modally while a helper thread works it through the
// automation interface, as an operator would.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/link/pending_command.h"
#include "platform/runtime/runtime.h"
#include "platform/win_types.h"

namespace drying_test {

// A fresh headless screen per test; the image, desired values and flags start at zero.
class DryingModeTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// The image as the board reports it before a dialog opens (the first element of a field).
void Report(ImageField field, int value);
void Report(ImageField field, MinSec time);
// Runs the dialog modally on this (the user-interface) thread while `operate` works it from a
// helper thread, once the window titled `title` is up. Returns the dialog's result.
INT_PTR RunDialog(const std::function<INT_PTR()>& open, const wchar_t* title,
                  const std::function<void()>& operate);

// ---- from the helper thread ----
// Waits (bounded, in real time) until a window with this title is shown, or gone.
bool WaitForTitle(const std::wstring& title, bool shown = true);
bool WaitForMessageBox();
// The control of the top-most window that has it.
platform::ControlInfo ControlOf(int id);
bool Checked(int id);
bool Enabled(int id);
std::wstring TextOf(int id);
// The window with this title, as the inspection shows it now.
std::optional<platform::WindowInfo> Window(const std::wstring& title);
std::optional<platform::WindowInfo> MessageBoxShown();
// Presses a control (ASSERTs it could).
void Press(int id);
// Closes the top-most dialog without accepting it, as CANCEL or Escape does.
void CloseTopDialog();
// Waits for the dialog titled `title`, closes it that way and waits until it is gone.
void CancelDialog(const std::wstring& title);

// The flags that are set now, among all of them.
std::set<Pending> RaisedFlags();

// What the controls of a dialog are, for the layout check; buttons not named are push
// buttons.
struct Layout {
    std::set<int> groups;      // group frames
    std::set<int> indicators;  // radio indicators
    std::set<int> pictures;    // owner-drawn: their face is a picture, not their text
    std::set<int> wrapped;     // texts that may wrap onto further lines
};
// Checks a dialog's layout as inspected: every control inside the client area, no two
// controls overlapping (a control is either inside a group frame or clear of it), and every
// label fitting its control, on one line unless it may wrap.
void ExpectTidyLayout(const platform::WindowInfo& dialog, const Layout& layout);

// Checks a help message box: its caption, that its text starts with `start`, and that the text
// fits (the box is smaller than the largest one, which wraps long lines and cuts off the rest).
void ExpectFittingHelp(const platform::WindowInfo& box, const std::wstring& caption,
                       const std::wstring& start);

// Writes a screenshot to $DRYING_MODE_SCREENSHOTS/<name>.png when that is set.
void Screenshot(const std::string& name);

}  // namespace drying_test
