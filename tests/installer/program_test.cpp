// CopyOrbitFiles as a whole program: its command line, the main window with its picture buttons
// and command bar, the About box, the exit question and each hand-over (the next program found
// or missing, on the panel with and without "\Hard Disk"), run headless in this process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "installer/app/copy_orbit_files.h"
#include "platform/runtime/runtime.h"
#include "platform/windowing/dialog.h"
#include "platform/windowing/window.h"
#include "tests/installer/program_run_support.h"

namespace {

namespace fs = std::filesystem;
using installer_test::CopyRun;
using installer_test::FindControl;
using installer_test::FindTitled;
using installer_test::FindWindowOfClass;
using installer_test::RunSetup;
using installer_test::TopMessageBox;
using installer_test::WaitForMarker;

// ---- command line ----

TEST(CopyCommandLine, DefaultsWithoutArguments)
{
    const CopyOrbitFilesCommandLine line = ParseCopyOrbitFilesCommandLine({});
    ASSERT_TRUE(line.options.has_value()) << line.error;
    EXPECT_EQ(line.options->root, "./panel");
    EXPECT_TRUE(line.options->usb.empty());
    EXPECT_FALSE(line.options->headless);
    EXPECT_TRUE(line.options->control.empty());
}

TEST(CopyCommandLine, TakesEveryOption)
{
    const CopyOrbitFilesCommandLine line = ParseCopyOrbitFilesCommandLine(
        {"--root", "/tmp/r", "--usb", "/tmp/u", "--headless", "--control", "/tmp/c.sock"});
    ASSERT_TRUE(line.options.has_value()) << line.error;
    EXPECT_EQ(line.options->root, "/tmp/r");
    EXPECT_EQ(line.options->usb, "/tmp/u");
    EXPECT_TRUE(line.options->headless);
    EXPECT_EQ(line.options->control, "/tmp/c.sock");
}

TEST(CopyCommandLine, HelpIsNotAnError)
{
    const CopyOrbitFilesCommandLine line =
        ParseCopyOrbitFilesCommandLine({"--root", "x", "--help"});
    EXPECT_TRUE(line.help);
    EXPECT_TRUE(line.error.empty());
    EXPECT_NE(std::string(CopyOrbitFilesUsage()).find("--usb DIR"), std::string::npos);
}

TEST(CopyCommandLine, BadInputGivesOneLineError)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--frobnicate"}, {"--root"}, {"--root", "--headless"},     {"--port", "/dev/null"},
        {"--simulate"},   {"STATUS"}, {"--usb", "a", "--usb", "b"},
    };
    for (const auto& args : bad) {
        const CopyOrbitFilesCommandLine line = ParseCopyOrbitFilesCommandLine(args);
        EXPECT_FALSE(line.options.has_value()) << args.front();
        EXPECT_FALSE(line.help);
        EXPECT_EQ(line.error.rfind("copyorbitfiles:", 0), 0u) << line.error;
        EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
    }
}

TEST(CopyCommandLine, PanelEnvironmentGivesDefaultsAndOptionsWin)
{
    ::setenv("PANEL_ROOT", "/tmp/env-root", 1);
    ::setenv("PANEL_USB", "/tmp/env-usb", 1);
    ::setenv("PANEL_HEADLESS", "1", 1);
    ::setenv("PANEL_CONTROL_DIR", "/tmp/ctl", 1);
    const CopyOrbitFilesCommandLine fromEnv = ParseCopyOrbitFilesCommandLine({});
    const CopyOrbitFilesCommandLine given =
        ParseCopyOrbitFilesCommandLine({"--root", "/tmp/given", "--control", "/tmp/c.sock"});
    ::setenv("PANEL_ROOT", "", 1);  // empty counts as unset
    const CopyOrbitFilesCommandLine emptyRoot = ParseCopyOrbitFilesCommandLine({});
    ::setenv("PANEL_HEADLESS", "yes", 1);
    const CopyOrbitFilesCommandLine badEnv = ParseCopyOrbitFilesCommandLine({});
    for (const char* v : {"PANEL_ROOT", "PANEL_USB", "PANEL_HEADLESS", "PANEL_CONTROL_DIR"}) {
        ::unsetenv(v);
    }
    ASSERT_TRUE(fromEnv.options.has_value()) << fromEnv.error;
    EXPECT_EQ(fromEnv.options->root, "/tmp/env-root");
    EXPECT_EQ(fromEnv.options->usb, "/tmp/env-usb");
    EXPECT_TRUE(fromEnv.options->headless);
    EXPECT_EQ(fromEnv.options->control, "/tmp/ctl/copyorbitfiles.sock");
    ASSERT_TRUE(given.options.has_value()) << given.error;
    EXPECT_EQ(given.options->root, "/tmp/given");
    EXPECT_EQ(given.options->control, "/tmp/c.sock");
    ASSERT_TRUE(emptyRoot.options.has_value()) << emptyRoot.error;
    EXPECT_EQ(emptyRoot.options->root, "./panel");
    EXPECT_FALSE(badEnv.options.has_value());
    EXPECT_NE(badEnv.error.find("PANEL_HEADLESS"), std::string::npos) << badEnv.error;
}

// ---- the main window ----

struct ButtonPlace {
    int id;
    int x, y, width, height;
};
constexpr ButtonPlace kButtonPlaces[] = {
    {kCmdStartDryer, 350, 55, 250, 60},
    {kCmdNodeFlasher, 350, 160, 250, 60},
    {kCmdInstallFromUsb, 350, 235, 250, 60},
    {kCmdExitToWindows, 350, 310, 250, 60},
};

TEST(CopyProgram, MainWindowCarriesFourPictureButtonsAndTheCommandBar)
{
    CopyRun run;
    const auto main = FindWindowOfClass(kCopyWindowClass);
    ASSERT_TRUE(main.has_value());
    EXPECT_EQ(main->title, kCopyWindowTitle);
    EXPECT_TRUE(main->topLevel);
    for (const ButtonPlace& b : kButtonPlaces) {
        SCOPED_TRACE(b.id);
        const auto button = FindControl(b.id);
        ASSERT_TRUE(button.has_value());
        EXPECT_EQ(button->className, L"button");
        EXPECT_EQ(button->text, L"SETUP");
        EXPECT_TRUE(button->visible);
        EXPECT_EQ(button->rect.left - main->rect.left, b.x);
        EXPECT_EQ(button->rect.top - main->rect.top, b.y);
        EXPECT_EQ(button->rect.right - button->rect.left, b.width);
        EXPECT_EQ(button->rect.bottom - button->rect.top, b.height);
    }
    // The menu titles and the close box show; the menus' items only when dropped down.
    EXPECT_EQ(FindControl(kBarFileMenu)->text, L"File");
    EXPECT_EQ(FindControl(kBarHelpMenu)->text, L"Help");
    EXPECT_TRUE(FindControl(kBarCloseBox)->visible);
    EXPECT_FALSE(FindControl(kCmdFileExit)->visible);
    EXPECT_FALSE(FindControl(kCmdHelpAbout)->visible);
    EXPECT_FALSE(run.ended());
}

TEST(CopyProgram, TheMenusDropDownAndFoldUp)
{
    CopyRun run;
    ASSERT_TRUE(platform::PressControl(kBarFileMenu));
    EXPECT_TRUE(FindControl(kCmdFileExit)->visible);
    EXPECT_EQ(FindControl(kCmdFileExit)->text, L"Exit");
    // Another title swaps the menus; its own title again folds it up.
    ASSERT_TRUE(platform::PressControl(kBarHelpMenu));
    EXPECT_FALSE(FindControl(kCmdFileExit)->visible);
    EXPECT_EQ(FindControl(kCmdHelpAbout)->text, L"About");
    ASSERT_TRUE(platform::PressControl(kBarHelpMenu));
    EXPECT_FALSE(FindControl(kCmdHelpAbout)->visible);
    // A tap on the window elsewhere folds an open menu up.
    ASSERT_TRUE(platform::PressControl(kBarFileMenu));
    ASSERT_TRUE(platform::Tap(200, 400));
    EXPECT_FALSE(FindControl(kCmdFileExit)->visible);
    EXPECT_FALSE(run.ended());
}

TEST(CopyProgram, ExitFromTheFileMenuEndsTheProgram)
{
    CopyRun run;
    ASSERT_TRUE(platform::PressControl(kBarFileMenu));
    ASSERT_TRUE(platform::PressControl(kCmdFileExit));
    ASSERT_TRUE(run.WaitEnded());
    EXPECT_EQ(run.exitCode(), 0);
}

TEST(CopyProgram, AltF4AndTheCloseBoxEndTheProgram)
{
    {
        CopyRun run;
        ASSERT_TRUE(platform::SendKey(VK_F4, true));
        ASSERT_TRUE(run.WaitEnded());
    }
    {
        CopyRun run;
        ASSERT_TRUE(platform::PressControl(kBarCloseBox));
        ASSERT_TRUE(run.WaitEnded());
    }
}

TEST(CopyProgram, AboutBoxShowsTheVersionCentredAndClosesWithOkOrEscape)
{
    CopyRun run;
    ASSERT_TRUE(platform::PressControl(kBarHelpMenu));
    ASSERT_TRUE(platform::PressControl(kCmdHelpAbout));
    auto about = FindTitled(kAboutCaption);
    ASSERT_TRUE(about.has_value());
    EXPECT_FALSE(FindControl(kCmdHelpAbout)->visible);  // the menu folded up
    const auto version = FindControl(kAboutVersionText);
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(version->text, kAboutVersion);
    const auto main = FindWindowOfClass(kCopyWindowClass);
    ASSERT_TRUE(main.has_value());
    const auto centre = [](const RECT& r) {
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    };
    EXPECT_LE(std::abs(centre(about->rect).x - centre(main->rect).x), 1);
    EXPECT_LE(std::abs(centre(about->rect).y - centre(main->rect).y), 1);
    EXPECT_TRUE(
        platform::SaveScreenshot(installer_test::ScreenshotFolder() / "copyorbitfiles-about.png"));
    ASSERT_TRUE(platform::PressControl(IDOK));
    EXPECT_FALSE(FindTitled(kAboutCaption).has_value());

    ASSERT_TRUE(platform::SendKey(VK_OEM_2, true));  // Alt+/ opens it too
    ASSERT_TRUE(FindTitled(kAboutCaption).has_value());
    ASSERT_TRUE(platform::SendKey(VK_ESCAPE, false));
    EXPECT_FALSE(FindTitled(kAboutCaption).has_value());
    EXPECT_FALSE(run.ended());
}

// ---- hand-overs ----

struct HandOverCase {
    const char* name;
    int command;
    bool hardDisk;
    const char* program;  // where the started program lives, relative to the panel root
    const wchar_t* caption;
    const wchar_t* text;
};

const HandOverCase kHandOvers[] = {
    {"KickoffIcop", kCmdStartDryer, true, "Hard Disk/Kickoff.exe", kKickoffMissingIcop,
     kKickoffMissingText},
    {"KickoffAb", kCmdStartDryer, false, "Kickoff.exe", kKickoffMissingAb, kKickoffMissingText},
    {"NodeFlasherIcop", kCmdNodeFlasher, true, "Hard Disk/NodeFlasher.exe", kNodeFlasherMissingIcop,
     kNodeFlasherMissingText},
    {"NodeFlasherAb", kCmdNodeFlasher, false, "NodeFlasher.exe", kNodeFlasherMissingAb,
     kNodeFlasherMissingText},
};

class CopyHandOver : public ::testing::TestWithParam<HandOverCase> {};

TEST_P(CopyHandOver, StartsTheProgramWithAnEmptyCommandLineAndEnds)
{
    const HandOverCase& c = GetParam();
    RunSetup setup;
    setup.hardDisk = c.hardDisk;
    setup.files = [&c](const fs::path& root, const fs::path&) {
        installer_test::WriteMarkerProgram(root / c.program, root / "started");
    };
    CopyRun run(setup);
    ASSERT_TRUE(platform::PressControl(c.command));
    ASSERT_TRUE(run.WaitEnded());
    EXPECT_EQ(run.exitCode(), 0);
    // The started program found this panel in its environment and no argument.
    EXPECT_EQ(WaitForMarker(run.root() / "started"), run.root().string() + "|0|");
}

TEST_P(CopyHandOver, MissingProgramIsReportedWithThePanelsCaptionAndTheProgramEnds)
{
    const HandOverCase& c = GetParam();
    RunSetup setup;
    setup.hardDisk = c.hardDisk;
    // With "\Hard Disk" a program in the root does not count.
    setup.files = [&c](const fs::path& root, const fs::path&) {
        if (c.hardDisk) {
            installer_test::WriteMarkerProgram(root / fs::path(c.program).filename(),
                                               root / "started");
        }
    };
    CopyRun run(setup);
    ASSERT_TRUE(platform::PressControl(c.command));
    const auto box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, c.caption);
    EXPECT_EQ(box->messageText, c.text);
    EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"OK"}));
    EXPECT_FALSE(run.ended());
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
    ASSERT_TRUE(run.WaitEnded());
    EXPECT_FALSE(fs::exists(run.root() / "started"));
}

INSTANTIATE_TEST_SUITE_P(EachProgramAndPanel, CopyHandOver, ::testing::ValuesIn(kHandOvers),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(CopyProgram, ExitQuestionNoKeepsTheWindow)
{
    CopyRun run;
    ASSERT_TRUE(platform::PressControl(kCmdExitToWindows));
    const auto box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, L" EXITING TO WINDOWS");
    EXPECT_EQ(box->messageText, kExitQuestionText);
    EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
    EXPECT_TRUE(platform::SaveScreenshot(installer_test::ScreenshotFolder() /
                                         "copyorbitfiles-exit-question.png"));
    ASSERT_TRUE(platform::AnswerMessageBox(L"No"));
    EXPECT_FALSE(TopMessageBox().has_value());
    EXPECT_TRUE(FindWindowOfClass(kCopyWindowClass).has_value());
    EXPECT_FALSE(run.ended());
}

// The desktop stands at "<root>/windows/explorer.exe" when the panel has one: it gets the
// folder to open; the words of the command line arrive as the panel splits them at blanks.
TEST(CopyProgram, ExitQuestionYesStartsTheDesktopOnThePanelsFolderAndEnds)
{
    for (const bool hardDisk : {true, false}) {
        SCOPED_TRACE(hardDisk ? "with Hard Disk" : "without");
        RunSetup setup;
        setup.hardDisk = hardDisk;
        setup.files = [](const fs::path& root, const fs::path&) {
            installer_test::WriteMarkerProgram(root / "windows" / "explorer.exe", root / "desktop");
        };
        CopyRun run(setup);
        ASSERT_TRUE(platform::PressControl(kCmdExitToWindows));
        ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
        ASSERT_TRUE(run.WaitEnded());
        EXPECT_EQ(WaitForMarker(run.root() / "desktop"),
                  run.root().string() + (hardDisk ? "|2|\\hard disk\\" : "|1|\\"));
    }
}

TEST(CopyProgram, ExitQuestionYesWithoutADesktopStillEnds)
{
    CopyRun run;
    ASSERT_TRUE(platform::PressControl(kCmdExitToWindows));
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    EXPECT_FALSE(TopMessageBox().has_value());
    ASSERT_TRUE(run.WaitEnded());
    EXPECT_EQ(run.exitCode(), 0);
}

TEST(CopyProgram, StartScreenPicture)
{
    CopyRun run;
    const fs::path png = installer_test::ScreenshotFolder() / "copyorbitfiles-start.png";
    ASSERT_TRUE(platform::SaveScreenshot(png));
    EXPECT_GT(fs::file_size(png), 1000u);
    ASSERT_TRUE(platform::PressControl(kBarFileMenu));
    ASSERT_TRUE(platform::SaveScreenshot(installer_test::ScreenshotFolder() /
                                         "copyorbitfiles-file-menu.png"));
}

// ---- the install button and the one-second search tick ----

// Both panel variants find the drive: "\Hard Disk2\" with a hard disk, "USB Storage\" without.
TEST(CopyProgram, InstallButtonOffersTheDrivesRelease)
{
    for (const bool hardDisk : {true, false}) {
        SCOPED_TRACE(hardDisk ? "with Hard Disk" : "without");
        RunSetup setup;
        setup.hardDisk = hardDisk;
        setup.files = [](const fs::path&, const fs::path& usb) {
            fs::create_directories(usb / "CAN_DRYER_P107");
        };
        CopyRun run(setup);
        ASSERT_TRUE(platform::PressControl(kCmdInstallFromUsb));
        const auto box = TopMessageBox();
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->title, L" COPY PROGRAM FILE FROM USB FLASH DRIVE?");
        EXPECT_NE(box->messageText.find(L"CAN_DRYER_P107"), std::wstring::npos);
        ASSERT_TRUE(platform::AnswerMessageBox(L"Cancel"));
        EXPECT_FALSE(TopMessageBox().has_value());
        EXPECT_FALSE(run.ended());
    }
}

// The main window's timer drives the search once a second: a drive that shows up during the
// search is found on the next tick, and a search without a drive gives up after 90 ticks.
TEST(CopyProgram, SearchTicksOnceASecond)
{
    CopyRun run;
    ASSERT_TRUE(platform::PressControl(kCmdInstallFromUsb));
    ASSERT_EQ(TopMessageBox()->title, L" NO USB FLASH DRIVE FOUND");
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    ASSERT_TRUE(FindTitled(L"Searching for USB flash drive...").has_value());
    run.Advance(85000);
    EXPECT_FALSE(TopMessageBox().has_value());
    run.Advance(7000);
    auto box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, L" COULD NOT DETECT A USB FLASH DRIVE");
    ASSERT_TRUE(platform::AnswerMessageBox(L"Retry"));

    fs::create_directories(run.usb() / "CAN_DRYER_P108");
    run.Advance(1000);
    box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, L" USB FLASH CARD FOUND");
    ASSERT_TRUE(platform::AnswerMessageBox(L"No"));
    EXPECT_FALSE(FindTitled(L"Searching for USB flash drive...").has_value());
    EXPECT_FALSE(run.ended());
}

}  // namespace
