// NodeFlasher as a whole program: its command line, the main window with its bands and the
// splash, the order the buttons enforce, the release selection and the hand-over to the next
// program, run headless in this process against the simulated board.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "flasher/app/flasher_program.h"
#include "platform/runtime/runtime.h"
#include "tests/flasher/flasher_run_support.h"

namespace {

namespace fs = std::filesystem;
using flasher_test::Drew;
using flasher_test::FindControl;
using flasher_test::FindTitled;
using flasher_test::FindWindowOfClass;
using flasher_test::FlasherRun;
using flasher_test::RunSetup;
using flasher_test::TopMessageBox;
using flasher_test::WaitFor;

// ---- command line ----

TEST(FlasherCommandLine, DefaultsWithoutArguments)
{
    const FlasherCommandLine line = ParseFlasherCommandLine({});
    ASSERT_TRUE(line.options.has_value()) << line.error;
    EXPECT_TRUE(line.options->statusKey.empty());
    EXPECT_EQ(line.options->root, "./panel");
    EXPECT_EQ(line.options->port, "/dev/ttyS0");
    EXPECT_FALSE(line.options->simulate);
    EXPECT_FALSE(line.options->headless);
}

TEST(FlasherCommandLine, TakesStatusKeyAndEveryOption)
{
    const FlasherCommandLine line = ParseFlasherCommandLine(
        {"MAIN_IO_MISSING", "--root", "/tmp/r", "--port", "/dev/null", "--usb", "/tmp/u",
         "--simulate", "--headless", "--control", "/tmp/c.sock"});
    ASSERT_TRUE(line.options.has_value()) << line.error;
    EXPECT_EQ(line.options->statusKey, "MAIN_IO_MISSING");
    EXPECT_EQ(line.options->root, "/tmp/r");
    EXPECT_EQ(line.options->port, "/dev/null");
    EXPECT_EQ(line.options->usb, "/tmp/u");
    EXPECT_TRUE(line.options->simulate);
    EXPECT_TRUE(line.options->headless);
    EXPECT_EQ(line.options->control, "/tmp/c.sock");
}

TEST(FlasherCommandLine, HelpIsNotAnError)
{
    const FlasherCommandLine line = ParseFlasherCommandLine({"--headless", "--help"});
    EXPECT_TRUE(line.help);
    EXPECT_TRUE(line.error.empty());
}

TEST(FlasherCommandLine, BadInputGivesOneLineError)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--frobnicate"},
        {"--root"},
        {"--port", "/no/such/device"},
        {"MAIN_IO_MISSING", "DISPLAY_IO_MISSING"},
    };
    for (const auto& args : bad) {
        const FlasherCommandLine line = ParseFlasherCommandLine(args);
        EXPECT_FALSE(line.options.has_value()) << args.front();
        EXPECT_FALSE(line.help);
        EXPECT_FALSE(line.error.empty()) << args.front();
        EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
        EXPECT_EQ(line.error.rfind("nodeflasher:", 0), 0u) << line.error;
    }
}

TEST(FlasherCommandLine, PanelEnvironmentGivesDefaultsAndOptionsWin)
{
    ::setenv("PANEL_ROOT", "/tmp/env-root", 1);
    ::setenv("PANEL_HEADLESS", "1", 1);
    ::setenv("PANEL_CONTROL_DIR", "/tmp/ctl", 1);
    const FlasherCommandLine fromEnv = ParseFlasherCommandLine({});
    const FlasherCommandLine given = ParseFlasherCommandLine({"--root", "/tmp/given"});
    ::setenv("PANEL_PORT", "/no/such/port", 1);
    const FlasherCommandLine badEnv = ParseFlasherCommandLine({});
    for (const char* v : {"PANEL_ROOT", "PANEL_HEADLESS", "PANEL_CONTROL_DIR", "PANEL_PORT"}) {
        ::unsetenv(v);
    }
    ASSERT_TRUE(fromEnv.options.has_value()) << fromEnv.error;
    EXPECT_EQ(fromEnv.options->root, "/tmp/env-root");
    EXPECT_TRUE(fromEnv.options->headless);
    EXPECT_EQ(fromEnv.options->control, "/tmp/ctl/nodeflasher.sock");
    ASSERT_TRUE(given.options.has_value()) << given.error;
    EXPECT_EQ(given.options->root, "/tmp/given");
    EXPECT_FALSE(badEnv.options.has_value());
    EXPECT_NE(badEnv.error.find("PANEL_PORT"), std::string::npos) << badEnv.error;
}

TEST(FlasherStatusKey, OnlyTheWholeKeyCounts)
{
    for (const wchar_t* key : kStatusKeys) EXPECT_EQ(MatchStatusKey(key), key);
    EXPECT_EQ(MatchStatusKey(L"MAIN_IO_MISSING "), nullptr);
    EXPECT_EQ(MatchStatusKey(L" MAIN_IO_MISSING"), nullptr);
    EXPECT_EQ(MatchStatusKey(L"MAIN_IO"), nullptr);
    EXPECT_EQ(MatchStatusKey(L"main_io_missing"), nullptr);
    EXPECT_EQ(MatchStatusKey(L""), nullptr);
}

// ---- the program ----

// Every text drawn in the main window stays right of the buttons, inside the screen, and
// clear of every other text.
void ExpectTextsApart(const platform::WindowInfo& main)
{
    const auto& texts = main.texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const RECT& a = texts[i].rect;
        const std::string name(texts[i].text.begin(), texts[i].text.end());
        EXPECT_GE(a.left - main.rect.left, 225) << name;
        EXPECT_LE(a.right - main.rect.left, 640) << name;
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            const RECT& b = texts[j].rect;
            const bool apart =
                a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
            EXPECT_TRUE(apart) << name << " overlaps "
                               << std::string(texts[j].text.begin(), texts[j].text.end());
        }
    }
}

std::wstring gScanKey;
int gScanDialogs = 0;
int gUploadDialogs = 0;

void RecordScan(HWND, const wchar_t* key)
{
    ++gScanDialogs;
    gScanKey = key != nullptr ? key : L"(none)";
}

void RecordUpload(HWND)
{
    ++gUploadDialogs;
}

std::wstring gLastHexListing;

void RecordHexListing(const std::wstring& folder)
{
    gLastHexListing = folder;
}

class FlasherProgramRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        gScanKey.clear();
        gScanDialogs = 0;
        gUploadDialogs = 0;
        FlasherScreenHooks hooks;
        hooks.openScanDialog = RecordScan;
        hooks.openUploadDialog = RecordUpload;
        hooks.listHexFiles = RecordHexListing;
        gLastHexListing.clear();
        SetFlasherScreenHooks(hooks);
    }
    void TearDown() override { SetFlasherScreenHooks({}); }
};

TEST_F(FlasherProgramRun, MainWindowShowsFourBandsAfterSplash)
{
    FlasherRun run;
    EXPECT_TRUE(platform::SaveScreenshot(fs::temp_directory_path() / "nodeflasher-splash.png"));
    auto main = FindWindowOfClass(kFlasherWindowClass);
    ASSERT_TRUE(main.has_value());
    EXPECT_EQ(main->title, kFlasherWindowTitle);
    // The splash covers the first 2.5 s of the run, then the tick closes it.
    const auto top = platform::InspectWindows();
    ASSERT_FALSE(top.empty());
    EXPECT_TRUE(Drew(top.front(), kSplashVersionText));
    run.Advance(2400);
    EXPECT_TRUE(Drew(platform::InspectWindows().front(), kSplashVersionText));
    run.Advance(200);
    EXPECT_FALSE(Drew(platform::InspectWindows().front(), kSplashVersionText));

    main = FindWindowOfClass(kFlasherWindowClass);
    ASSERT_TRUE(main.has_value());
    for (const wchar_t* text :
         {L"Scan the network for all nodes present.",
          L"(This will also report address conflicts for Fan/Heaters.)",
          L"Select program to upload.", L"(Must select PROGRAM prior to upload.)",
          L"Start uploading new program to dryer.", L"(Once started this cannot be cancelled!)",
          L"Exit NodeFlasher and Start Dryer."}) {
        EXPECT_TRUE(Drew(*main, text)) << std::string(text, text + std::wcslen(text));
    }
    struct Expected {
        WORD id;
        const wchar_t* caption;
        bool enabled;
        int x, y;
    };
    for (const Expected& e : {Expected{kCmdScanNetwork, L"SCAN NETWORK", true, 15, 25},
                              Expected{kCmdSelectProgram, L"SELECT PROGRAM", false, 15, 150},
                              Expected{kCmdStartUpload, L"START UPLOAD", false, 15, 275},
                              Expected{kCmdExitToDryer, L"EXIT TO DRYER", true, 15, 400}}) {
        const auto c = FindControl(e.id);
        ASSERT_TRUE(c.has_value()) << e.id;
        EXPECT_EQ(c->text, e.caption);
        EXPECT_EQ(c->enabled, e.enabled) << e.id;
        EXPECT_EQ(c->rect.left - main->rect.left, e.x);
        EXPECT_EQ(c->rect.top - main->rect.top, e.y);
        EXPECT_EQ(c->rect.right - c->rect.left, 200);
        EXPECT_EQ(c->rect.bottom - c->rect.top, 50);
    }
    ExpectTextsApart(*main);
    EXPECT_EQ(gScanDialogs, 0);  // no status key: no scan of its own
    EXPECT_TRUE(platform::SaveScreenshot(fs::temp_directory_path() / "nodeflasher-main.png"));
}

std::atomic<int> gScanSteps{0};

void CountScanStep()
{
    ++gScanSteps;
}

TEST_F(FlasherProgramRun, TickRunsTheScanAndUploadStepsEvery50Ms)
{
    FlasherScreenHooks hooks;
    hooks.tick.scanStep = CountScanStep;
    SetFlasherScreenHooks(hooks);
    gScanSteps = 0;
    FlasherRun run;
    run.PastSplash();
    const int before = gScanSteps.load();
    EXPECT_GE(before, 50);  // the splash stayed for 50 ticks
    run.Advance(1000);
    EXPECT_EQ(gScanSteps.load() - before, 20);
}

TEST_F(FlasherProgramRun, PortThatCannotOpenIsReported)
{
    RunSetup setup;
    setup.badPort = true;
    FlasherRun run(setup);
    const auto box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->messageText, L"COULD NOT OPEN SERIAL PORT");
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
    run.PastSplash();
    EXPECT_FALSE(TopMessageBox().has_value());
    EXPECT_TRUE(FindWindowOfClass(kFlasherWindowClass).has_value());
}

TEST_F(FlasherProgramRun, StatusKeyStartsAutomaticScanOnce)
{
    RunSetup setup;
    setup.statusKey = "MAIN_IO_MISSING";
    FlasherRun run(setup);
    run.PastSplash();
    EXPECT_EQ(gScanDialogs, 1);
    EXPECT_EQ(gScanKey, L"MAIN_IO_MISSING");
    EXPECT_TRUE(FindControl(kCmdSelectProgram)->enabled);
    // A scan the operator asks for later carries no key.
    ASSERT_TRUE(platform::PressControl(kCmdScanNetwork));
    EXPECT_EQ(gScanDialogs, 2);
    EXPECT_EQ(gScanKey, L"(none)");
}

TEST_F(FlasherProgramRun, KeyWithTrailingBlankGivesNormalStart)
{
    RunSetup setup;
    setup.statusKey = "MAIN_IO_MISSING ";
    FlasherRun run(setup);
    run.PastSplash();
    EXPECT_EQ(gScanDialogs, 0);
    EXPECT_FALSE(FindControl(kCmdSelectProgram)->enabled);
}

void ReleaseFolders(const fs::path& root)
{
    fs::create_directories(root / "Hard Disk" / "CAN_DRYER_P101");
    fs::create_directories(root / "Hard Disk" / "CAN_DRYER_P102");
    fs::create_directories(root / "Hard Disk" / "CAN_DRYER_P1");  // not three characters
    std::ofstream(root / "Hard Disk" / "CAN_DRYER_P103");         // a file, not a folder
}

TEST_F(FlasherProgramRun, SelectionEnablesUploadOnlyAfterAccept)
{
    RunSetup setup;
    setup.files = ReleaseFolders;
    FlasherRun run(setup);
    run.PastSplash();
    ASSERT_TRUE(platform::PressControl(kCmdScanNetwork));
    ASSERT_TRUE(platform::PressControl(kCmdSelectProgram));
    const auto dialog = FindTitled(kSelectionCaption);
    ASSERT_TRUE(dialog.has_value());
    auto list = FindControl(kSelectionList);
    ASSERT_TRUE(list.has_value());
    ASSERT_EQ(list->rows.size(), 2u);
    EXPECT_TRUE(platform::SaveScreenshot(fs::temp_directory_path() / "nodeflasher-select.png"));
    EXPECT_TRUE(list->rows[0].selected);
    EXPECT_FALSE(FindControl(kCmdStartUpload)->enabled);  // still not accepted
    // MOVE UP on the first row and MOVE DOWN on the last stay where they are.
    ASSERT_TRUE(platform::PressControl(kSelectionMoveUp));
    EXPECT_TRUE(FindControl(kSelectionList)->rows[0].selected);
    ASSERT_TRUE(platform::PressControl(kSelectionMoveDown));
    ASSERT_TRUE(platform::PressControl(kSelectionMoveDown));
    list = FindControl(kSelectionList);
    EXPECT_TRUE(list->rows[1].selected);
    const std::wstring chosen = list->rows[1].cells.at(0);
    EXPECT_EQ(gLastHexListing, L"\\Hard Disk\\" + chosen);  // follows the row
    ASSERT_TRUE(platform::PressControl(kSelectionMoveUp));
    EXPECT_EQ(gLastHexListing, L"\\Hard Disk\\" + list->rows[0].cells.at(0));
    ASSERT_TRUE(platform::PressControl(kSelectionMoveDown));
    ASSERT_TRUE(platform::PressControl(kSelectionAccept));
    EXPECT_FALSE(FindTitled(kSelectionCaption).has_value());
    EXPECT_EQ(gLastHexListing, L"\\Hard Disk\\" + chosen);  // the accepted folder's

    const auto main = FindWindowOfClass(kFlasherWindowClass);
    ASSERT_TRUE(main.has_value());
    EXPECT_TRUE(Drew(*main, L"PROGRAM TO UPLOAD -->"));
    EXPECT_TRUE(Drew(*main, chosen));
    EXPECT_FALSE(Drew(*main, L"(Must select PROGRAM prior to upload.)"));
    ExpectTextsApart(*main);
    EXPECT_TRUE(FindControl(kCmdStartUpload)->enabled);
    ASSERT_TRUE(platform::PressControl(kCmdStartUpload));
    EXPECT_EQ(gUploadDialogs, 1);
    EXPECT_TRUE(platform::SaveScreenshot(fs::temp_directory_path() / "nodeflasher-selected.png"));
}

// The choice is kept by name: folders added on the panel do not move it to another release,
// and when the accepted folder goes the upload is off until another one is accepted.
TEST_F(FlasherProgramRun, AcceptedFolderIsKeptByNameAndDroppedWhenGone)
{
    RunSetup setup;
    setup.files = ReleaseFolders;
    FlasherRun run(setup);
    run.PastSplash();
    ASSERT_TRUE(platform::PressControl(kCmdScanNetwork));
    ASSERT_TRUE(platform::PressControl(kCmdSelectProgram));
    ASSERT_TRUE(platform::PressControl(kSelectionMoveDown));
    const std::wstring chosen = FindControl(kSelectionList)->rows.at(1).cells.at(0);
    ASSERT_TRUE(platform::PressControl(kSelectionAccept));

    for (const char* name : {"CAN_DRYER_P100", "CAN_DRYER_P099", "CAN_DRYER_P0AA"}) {
        fs::create_directories(run.root() / "Hard Disk" / name);
    }
    ASSERT_TRUE(platform::PressControl(kCmdScanNetwork));
    EXPECT_EQ(FlasherProgram.programFolders.size(), 5u);
    EXPECT_EQ(SelectedProgramFolder(), chosen);
    EXPECT_EQ(FlasherProgram.programFolders.at(FlasherProgram.selectionIndex), chosen);
    EXPECT_TRUE(Drew(*FindWindowOfClass(kFlasherWindowClass), chosen));
    EXPECT_TRUE(FindControl(kCmdStartUpload)->enabled);

    fs::remove_all(run.root() / "Hard Disk" / std::string(chosen.begin(), chosen.end()));
    ASSERT_TRUE(platform::PressControl(kCmdStartUpload));
    EXPECT_EQ(gUploadDialogs, 0);
    EXPECT_FALSE(FindControl(kCmdStartUpload)->enabled);
    EXPECT_TRUE(SelectedProgramFolder().empty());
    EXPECT_TRUE(
        Drew(*FindWindowOfClass(kFlasherWindowClass), L"(Must select PROGRAM prior to upload.)"));
}

TEST_F(FlasherProgramRun, NoReleaseFolderStartsOrbitDryerAndEnds)
{
    RunSetup setup;
    setup.files = [](const fs::path& root) {
        flasher_test::WriteMarkerProgram(root / "Hard Disk" / "OrbitDryer.exe",
                                         root / "orbitdryer-ran");
    };
    FlasherRun run(setup);
    run.PastSplash();
    ASSERT_TRUE(platform::PressControl(kCmdScanNetwork));
    ASSERT_TRUE(platform::PressControl(kCmdSelectProgram));
    const auto box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, L"NO DRYER FILES FOUND");
    EXPECT_EQ(box->messageText, L"No Dryer Installations found... Starting NodeFlasher.");
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
    EXPECT_TRUE(WaitFor([&] { return run.ended(); }));
    ASSERT_TRUE(WaitFor([&] { return fs::exists(run.root() / "orbitdryer-ran"); }));
    EXPECT_EQ(flasher_test::ReadFile(run.root() / "orbitdryer-ran"), run.root().string() + "|0\n");
}

TEST_F(FlasherProgramRun, ExitToDryerStartsKickoffWithPanelEnvironment)
{
    RunSetup setup;
    setup.files = [](const fs::path& root) {
        fs::create_directories(root / "Hard Disk" / "Languages");
        flasher_test::WriteMarkerProgram(root / "Hard Disk" / "Kickoff.exe", root / "kickoff-ran");
    };
    FlasherRun run(setup);
    run.PastSplash();
    ASSERT_TRUE(platform::PressControl(kCmdExitToDryer));
    run.Advance(2400);
    EXPECT_FALSE(run.ended());  // the 2.5 s pause, with the port closed and the buttons off
    EXPECT_FALSE(FindControl(kCmdScanNetwork)->enabled);
    EXPECT_FALSE(FindControl(kCmdExitToDryer)->enabled);
    run.Advance(200);
    EXPECT_TRUE(WaitFor([&] { return run.ended(); }));
    ASSERT_TRUE(WaitFor([&] { return fs::exists(run.root() / "kickoff-ran"); }));
    EXPECT_EQ(flasher_test::ReadFile(run.root() / "kickoff-ran"), run.root().string() + "|0\n");
}

TEST_F(FlasherProgramRun, ExitWithoutLanguagesStartsOrbitDryer)
{
    RunSetup setup;
    setup.files = [](const fs::path& root) {
        flasher_test::WriteMarkerProgram(root / "Hard Disk" / "Kickoff.exe", root / "kickoff-ran");
        flasher_test::WriteMarkerProgram(root / "Hard Disk" / "OrbitDryer.exe",
                                         root / "orbitdryer-ran");
    };
    FlasherRun run(setup);
    run.PastSplash();
    ASSERT_TRUE(platform::PressControl(kCmdExitToDryer));
    run.Advance(2600);
    const auto box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, L" MUST INSTALL LANGUAGE FIRST...");
    EXPECT_EQ(box->messageText,
              L"A language must be installed first... Restarting system.  Select and install a "
              L"language.");
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
    EXPECT_TRUE(WaitFor([&] { return run.ended(); }));
    ASSERT_TRUE(WaitFor([&] { return fs::exists(run.root() / "orbitdryer-ran"); }));
    EXPECT_FALSE(fs::exists(run.root() / "kickoff-ran"));
}

TEST_F(FlasherProgramRun, KickoffMissingGivesMessageAndEnds)
{
    RunSetup setup;
    setup.files = [](const fs::path& root) {
        fs::create_directories(root / "Hard Disk" / "Languages");
    };
    FlasherRun run(setup);
    run.PastSplash();
    ASSERT_TRUE(platform::PressControl(kCmdExitToDryer));
    run.Advance(2600);
    const auto box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, L" Could not execute Dryer Program (ICOP)!       ");
    EXPECT_EQ(box->messageText,
              L"Make sure Kickoff.exe file is properly installed in directory \"Hard Disk\".");
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
    EXPECT_TRUE(WaitFor([&] { return run.ended(); }));
}

TEST_F(FlasherProgramRun, KickoffMissingWithoutHardDiskNamesTheOtherPanel)
{
    RunSetup setup;
    setup.files = [](const fs::path& root) { fs::create_directories(root / "Languages"); };
    FlasherRun run(setup);
    run.PastSplash();
    ASSERT_TRUE(platform::PressControl(kCmdExitToDryer));
    run.Advance(2600);
    const auto box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, L" Could not execute Dryer Program (AB)!       ");
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
    EXPECT_TRUE(WaitFor([&] { return run.ended(); }));
}

// ---- copy of the display programs after an upload ----

std::vector<std::wstring> gUploadLines;

void RecordUploadLine(const wchar_t* line)
{
    gUploadLines.emplace_back(line);
}

void CopyAsUploadEnds(HWND owner)
{
    CopyDisplayExecutables(owner, RecordUploadLine);
}

TEST_F(FlasherProgramRun, CopyGoesOnPastAFailedFile)
{
    gUploadLines.clear();
    FlasherScreenHooks hooks;
    hooks.openUploadDialog = CopyAsUploadEnds;
    SetFlasherScreenHooks(hooks);
    RunSetup setup;
    setup.files = [](const fs::path& root) {
        const fs::path release = root / "Hard Disk" / "CAN_DRYER_P300";
        fs::create_directories(release);
        std::ofstream(release / "Dryer.exe") << "dryer";
        std::ofstream(release / "OrbitDryer.exe") << "display";
        std::ofstream(root / "Hard Disk" / "OrbitDryer.exe") << "old display";
    };
    FlasherRun run(setup);
    run.PastSplash();
    ASSERT_TRUE(platform::PressControl(kCmdScanNetwork));
    ASSERT_TRUE(platform::PressControl(kCmdSelectProgram));
    ASSERT_TRUE(platform::PressControl(kSelectionAccept));
    ASSERT_TRUE(platform::PressControl(kCmdStartUpload));
    // Kickoff.exe is missing from the release: its failure is told, the others are copied.
    const auto box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, L" FILE COPY FAILURE");
    EXPECT_EQ(box->messageText, L"Failure to copy Kickoff.exe to Hard Disk!");
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
    EXPECT_FALSE(TopMessageBox().has_value());
    EXPECT_EQ(gUploadLines,
              (std::vector<std::wstring>{L"Dryer.exe successfully copied to Hard Disk.",
                                         L"OrbitDryer.exe successfully copied to Hard Disk."}));
    EXPECT_EQ(flasher_test::ReadFile(run.root() / "Hard Disk" / "Dryer.exe"), "dryer");
    EXPECT_EQ(flasher_test::ReadFile(run.root() / "Hard Disk" / "OrbitDryer.exe"), "display");
    EXPECT_FALSE(fs::exists(run.root() / "Hard Disk" / "Kickoff.exe"));
}

TEST_F(FlasherProgramRun, MissingDryerExeNamesBothPaths)
{
    gUploadLines.clear();
    FlasherScreenHooks hooks;
    hooks.openUploadDialog = CopyAsUploadEnds;
    SetFlasherScreenHooks(hooks);
    RunSetup setup;
    setup.files = [](const fs::path& root) {
        const fs::path release = root / "Hard Disk" / "CAN_DRYER_P301";
        fs::create_directories(release);
        std::ofstream(release / "Kickoff.exe") << "kickoff";
        std::ofstream(release / "OrbitDryer.exe") << "display";
    };
    FlasherRun run(setup);
    run.PastSplash();
    ASSERT_TRUE(platform::PressControl(kCmdScanNetwork));
    ASSERT_TRUE(platform::PressControl(kCmdSelectProgram));
    ASSERT_TRUE(platform::PressControl(kSelectionAccept));
    ASSERT_TRUE(platform::PressControl(kCmdStartUpload));
    auto box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, L"\\Hard Disk\\Dryer.exe");
    EXPECT_EQ(box->messageText, L"\\Hard Disk\\CAN_DRYER_P301\\Dryer.exe");
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
    box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->messageText, L"Failure to copy Dryer.exe to Hard Disk!");
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
    EXPECT_EQ(gUploadLines,
              (std::vector<std::wstring>{L"Kickoff.exe successfully copied to Hard Disk.",
                                         L"OrbitDryer.exe successfully copied to Hard Disk."}));
}

}  // namespace
