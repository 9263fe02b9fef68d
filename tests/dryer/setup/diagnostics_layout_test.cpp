// The service screens as a technician sees them: each lies on the screen, its controls inside it
// and inside their frames without overlapping, and every text fits its box.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "dryer/screens/entry_dialogs.h"
#include "dryer/setup/system_diagnostics.h"
#include "dryer/setup/system_information.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/setup/diagnostics_support.h"
#include "tests/dryer/setup/setup_support.h"
#include "tests/support/text_fit_check.h"

namespace {

using namespace diagnostics_test;
using panel_test::PanelRun;

int DiagnosticsFrame(int id)
{
    switch (id) {
        case kDiagAirswitchFrame:
        case kDiagAirswitchButton:
        case kDiagAirswitchDisabledBox: return kDiagAirswitchFrame;
    }
    return 0;
}

int SwitchTestFrame(int id)
{
    if (id >= SwitchBoxId(0, 0) && id <= SwitchBoxId(kSwitchBytes - 1, 7)) return kSwitchTestFrame;
    if (id >= DryerTypeBoxId(1) && id <= DryerTypeBoxId(8)) return kDryerTypeFrame;
    if (id == kSwitchTestFrame || id == kDryerTypeFrame) return id;
    return 0;
}

int NoFrame(int)
{
    return 0;
}

struct Screen {
    const char* name;
    OpenFn open;
    const wchar_t* title;
    int (*frameOf)(int id);
};

void PrintTo(const Screen& s, std::ostream* os)
{
    *os << s.name;
}

class ServiceScreenLayout : public ::testing::TestWithParam<Screen> {};

TEST_P(ServiceScreenLayout, IsTidyAndItsTextsFit)
{
    const Screen& s = GetParam();
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    // Everything that can be shown is shown: every box ticked, testing off.
    for (const ImageField f : {j1OutputsShorted, j2OutputsShorted, j1OutputsActivated,
                               j2OutputsActivated, dryerConfigBits}) {
        panel.Pin(f, 0xFF);
    }
    for (int byte = 0; byte < kSwitchBytes; ++byte)
        panel.Pin(panelSwitchInputs.Element(byte), 0xFF);
    panel_test::SetOnBoard(panel.sim(), ForHeater(heaterControlBits, 1), 0x04);
    panel.Cycles(2);
    OpenOnPanel(panel, s.open);
    ASSERT_TRUE(Window(s.title).has_value());
    setup_test::ExpectTidyLayout(s.title, s.frameOf);
    for (const std::string& p : text_fit::Problems(platform::InspectWindows())) ADD_FAILURE() << p;
    if (const char* dir = std::getenv("SERVICE_SCREENSHOTS")) {
        platform::SaveScreenshot(std::string(dir) + "/" + s.name + ".png");
    }
    ASSERT_TRUE(platform::PressControl(IDOK));
}

INSTANTIATE_TEST_SUITE_P(
    Service, ServiceScreenLayout,
    ::testing::Values(
        Screen{"SystemDiagnostics", OpenSystemDiagnostics, kSystemDiagnosticsTitle,
               DiagnosticsFrame},
        Screen{"LightOutputs", OpenLightOutputs, kLightOutputsTitle, NoFrame},
        Screen{"SwitchTest", OpenSwitchTest, kSwitchTestTitle, SwitchTestFrame},
        Screen{"SystemInformation", OpenSystemInformation, kSystemInformationTitle, NoFrame},
        Screen{"SoftwareRelease", OpenSoftwareRelease, kSoftwareReleaseTitle, NoFrame}));

}  // namespace
