// Opening the service set-up screens with a chosen dryer report, and their pictures.
#include "tests/dryer/setup/service_screens_support.h"

#include <cstdlib>
#include <filesystem>

#include "platform/runtime/runtime.h"
#include "tests/dryer/setup/setup_support.h"

namespace service_test {

bool OpenWith(panel_test::PanelRun& panel, const Report& report, int button,
              const std::wstring& title)
{
    for (const auto& [field, value] : report) panel_test::SetOnBoard(panel.sim(), field, value);
    panel.Cycles(2);
    return setup_test::OpenSetupSelection() && platform::PressControl(button) &&
           panel_test::FindTitled(title).has_value();
}

void Screenshot(const std::string& name)
{
    const char* dir = std::getenv("SERVICE_SCREENSHOTS");
    if (dir == nullptr || *dir == '\0') return;
    std::filesystem::create_directories(dir);
    platform::WaitIdle();  // every window painted
    platform::SaveScreenshot(std::filesystem::path(dir) / (name + ".png"));
}

}  // namespace service_test
