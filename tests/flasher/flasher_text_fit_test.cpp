// Every text of NodeFlasher's screens fits its box: the splash, the main window before and after
// a program is chosen, the scan dialog while it scans and when it is done, the program
// selection and the upload dialog (tests/support/text_fit_check.h).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "flasher/app/flasher_program.h"
#include "platform/runtime/runtime.h"
#include "tests/flasher/flasher_run_support.h"
#include "tests/support/text_fit_check.h"

namespace {

namespace fs = std::filesystem;
using flasher_test::FlasherRun;
using flasher_test::RunSetup;

void CheckScreen(const std::string& screen)
{
    platform::WaitIdle();
    const auto windows = platform::InspectWindows();
    ASSERT_FALSE(windows.empty()) << screen;
    for (const std::string& problem : text_fit::Problems(windows)) {
        ADD_FAILURE() << screen << ": " << problem;
    }
}

void TwoReleases(const fs::path& root)
{
    fs::create_directories(root / "Hard Disk" / "CAN_DRYER_P101");
    fs::create_directories(root / "Hard Disk" / "CAN_DRYER_P102");
    std::ofstream(root / "Hard Disk" / "CAN_DRYER_P102" / "FH.HEX") << ":00000001FF\n";
}

TEST(FlasherTextFit, EveryScreenFitsItsTexts)
{
    flasher_test::EnsureVirtualClock();
    RunSetup setup;
    setup.files = TwoReleases;
    FlasherRun run(setup);
    CheckScreen("splash");
    run.PastSplash();
    CheckScreen("main window");

    ASSERT_TRUE(platform::PressControl(kCmdScanNetwork));
    run.Advance(1500);
    CheckScreen("scan dialog, scanning");
    run.Advance(30000);
    CheckScreen("scan dialog, after the scan");
    // the scan dialog closes with its one button
    if (const auto top = platform::InspectWindows();
        !top.empty() && !top.front().controls.empty()) {
        for (const auto& c : top.front().controls) {
            if (c.visible && c.enabled && c.id != 0) {
                platform::PressControl(c.id);
                break;
            }
        }
    }
    run.Advance(500);

    if (platform::PressControl(kCmdSelectProgram)) {
        run.Advance(500);
        CheckScreen("program selection");
        ASSERT_TRUE(platform::PressControl(kSelectionAccept));
        run.Advance(500);
        CheckScreen("main window with a program chosen");
        if (platform::PressControl(kCmdStartUpload)) {
            run.Advance(1500);
            CheckScreen("upload dialog");
        }
    } else {
        ADD_FAILURE() << "SELECT PROGRAM could not be pressed after the scan";
    }
}

}  // namespace
