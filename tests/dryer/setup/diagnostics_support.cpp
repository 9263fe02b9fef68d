#include "tests/dryer/setup/diagnostics_support.h"

#include "dryer/screens/screen_manager.h"
#include "platform/controls/controls.h"
#include "platform/windowing/window.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/setup/setup_support.h"

namespace diagnostics_test {

namespace {

constexpr UINT_PTR kOpenTimer = 0x7E57;
OpenFn gOpen = nullptr;

// A one-shot timer of the main window opens the screen from the panel's own message loop (the
// screen runs modal there), as a menu button would.
void OpenOnTimer(HWND wnd, UINT, UINT_PTR id, DWORD)
{
    KillTimer(wnd, id);
    if (gOpen != nullptr) gOpen(Screens().main);
}

}  // namespace

void OpenOnPanel(panel_test::PanelRun& panel, OpenFn open)
{
    gOpen = open;
    SetTimer(Screens().main, kOpenTimer, 1, OpenOnTimer);
    panel.Advance(1);
}

std::optional<platform::WindowInfo> Window(const std::wstring& title)
{
    return panel_test::FindTitled(title);
}

bool Checked(int id)
{
    return setup_test::Checked(id);
}

std::wstring Text(int id)
{
    return setup_test::Text(id);
}

std::wstring MessageText()
{
    const auto box = panel_test::TopMessageBox();
    return box ? box->messageText : std::wstring();
}

std::wstring MessageCaption()
{
    const auto box = panel_test::TopMessageBox();
    return box ? box->title : std::wstring();
}

}  // namespace diagnostics_test
