// The language step: the old tree removed, all thirteen language folders made, the languages
// on the drive copied, the progress bar started again at 0 for each of the 39 folder copies,
// and the install dialog left open for the completion lines.
#include "installer/language_install.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

#include "installer/install_dialogs.h"
#include "platform/runtime/clock.h"
#include "tests/installer/usb_install_support.h"

namespace {

using namespace usb_test;

struct ProgressEvent {
    int position;
    int top;
};
std::mutex gEventsMutex;
std::vector<ProgressEvent> gEvents;

void RecordProgress(int position, int top)
{
    std::lock_guard lock(gEventsMutex);
    gEvents.push_back({position, top});
}

TEST(LanguageCode, NamesMapToTheirFoldersAndStrangersToEnglish)
{
    EXPECT_STREQ(LanguageCode(L"English"), L"EN");
    EXPECT_STREQ(LanguageCode(L"Czech"), L"CS");
    EXPECT_STREQ(LanguageCode(L"German"), L"DE");
    EXPECT_STREQ(LanguageCode(L"Spanish"), L"ES");
    EXPECT_STREQ(LanguageCode(L"Klingon"), L"EN");
    EXPECT_STREQ(LanguageCode(L"german"), L"EN");
}

TEST(LanguageStep, ADriveWithEnglishAndGermanReplacesTheWholeTree)
{
    UsbInstallRun run;
    const fs::path old = run.panel() / "Languages";
    WriteFile(old / "EN" / "Bitmaps" / "old.bmp", "old");
    WriteFile(old / "EN" / "en_old.txt", "old");
    WriteFile(old / "FR" / "WarningBitmaps" / "fr.bmp", "old");
    WriteFile(old / "DE" / "de_old.txt", "old");
    WriteFile(old / "Languages.txt", "old");
    run.UsbRelease("CAN_DRYER_P105", {{"NodeFlasher.exe", "flasher"},
                                      {"SystemFiles/nk.bin", "nk"},
                                      {"SystemFiles/config.sys", "config"},
                                      {"Languages/EN/Bitmaps/home.bmp", "EN home"},
                                      {"Languages/EN/Bitmaps/setup.bmp", "EN setup"},
                                      {"Languages/EN/WarningBitmaps/NID_01.bmp", "EN help"},
                                      {"Languages/EN/English.txt", "EN root"},
                                      {"Languages/DE/Bitmaps/home.bmp", "DE home"},
                                      {"Languages/DE/Deutsch.txt", "DE root"}});
    {
        std::lock_guard lock(gEventsMutex);
        gEvents.clear();
    }
    SetInstallProgressObserver(RecordProgress);
    run.Install();
    Answer(L" COPY PROGRAM FILE FROM USB FLASH DRIVE?", L"Yes");
    const std::int64_t start = platform::NowMs();
    ASSERT_EQ(run.RunCopy(), CopyStop::Ended);
    // 5 program entries (NodeFlasher.exe, SystemFiles, Languages and no others) then the
    // 3 s after the languages.
    EXPECT_EQ(platform::NowMs() - start, 3 * 1000 + 3000);

    // The tree: thirteen languages, each with its two folders.
    for (const LanguageEntry& language : kLanguages) {
        const fs::path folder = run.panel() / "Languages" / Narrow(language.code);
        EXPECT_TRUE(fs::is_directory(folder / "Bitmaps")) << folder;
        EXPECT_TRUE(fs::is_directory(folder / "WarningBitmaps")) << folder;
        const std::string code = Narrow(language.code);
        if (code == "EN" || code == "DE") continue;
        EXPECT_TRUE(fs::is_empty(folder / "Bitmaps")) << folder;
        EXPECT_TRUE(fs::is_empty(folder / "WarningBitmaps")) << folder;
    }
    const fs::path tree = run.panel() / "Languages";
    EXPECT_EQ(ReadFile(tree / "EN" / "Bitmaps" / "home.bmp"), "EN home");
    EXPECT_EQ(ReadFile(tree / "EN" / "Bitmaps" / "setup.bmp"), "EN setup");
    EXPECT_EQ(ReadFile(tree / "EN" / "WarningBitmaps" / "NID_01.bmp"), "EN help");
    EXPECT_EQ(ReadFile(tree / "EN" / "English.txt"), "EN root");
    EXPECT_EQ(ReadFile(tree / "DE" / "Bitmaps" / "home.bmp"), "DE home");
    EXPECT_EQ(ReadFile(tree / "DE" / "Deutsch.txt"), "DE root");
    for (const char* gone : {"EN/Bitmaps/old.bmp", "EN/en_old.txt", "FR/WarningBitmaps/fr.bmp",
                             "DE/de_old.txt", "Languages.txt"}) {
        EXPECT_FALSE(fs::exists(tree / gone)) << gone;
    }

    // The lines of the step, and the dialog still open with its ending.
    const auto rows = Rows(kInstallList);
    const auto first = std::find(rows.begin(), rows.end(), L"Creating main language directory...");
    ASSERT_NE(first, rows.end());
    std::vector<std::wstring> step(first, rows.end());
    std::vector<std::wstring> want = {L"Creating main language directory..."};
    for (const LanguageEntry& language : kLanguages) {
        const std::wstring name = language.name;
        want.push_back(L"Copying " + name + L" graphic files...");
        want.push_back(L"Copying " + name + L" shutdown help files...");
        want.push_back(L"Copying " + name + L" root language files...");
    }
    want.push_back(L"Languages Installation Complete...");
    for (const wchar_t* line :
         {L"       ", L"       Dryer program transfer is complete.  PRESS OK.", L"       ",
          L"NOTE:  Remove USB flash drive!"}) {
        want.push_back(line);
    }
    EXPECT_EQ(step, want);
    EXPECT_TRUE(FindTitled(kInstallCaption).has_value());
    EXPECT_EQ(FindControl(kInstallCancel)->text, L"OK");
    EXPECT_TRUE(FindControl(kInstallProgress)->visible);
    EXPECT_TRUE(FindControl(kInstallLanguageText)->visible);
    EXPECT_EQ(FindControl(kInstallLanguageText)->text, L"Language Installation Progress...");
    EXPECT_FALSE(TopMessageBox().has_value());  // the panel has its language tree again

    // 39 folder copies, each starting the bar at 0 of its entry count and ending at the top.
    std::vector<ProgressEvent> events;
    {
        std::lock_guard lock(gEventsMutex);
        events = gEvents;
    }
    int starts = 0;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const bool isStart = i == 0 || events[i].position <= events[i - 1].position ||
                             events[i].top != events[i - 1].top;
        if (!isStart) continue;
        ++starts;
        EXPECT_EQ(events[i].position, 0) << i;
        if (i > 0) {
            EXPECT_EQ(events[i - 1].position, events[i - 1].top) << i;
        }
    }
    EXPECT_EQ(starts, 39);
    // English: its bitmaps (2), help files (1), and root entries (English.txt and the two
    // folders, which are passed over).
    ASSERT_GE(events.size(), 9u);
    EXPECT_EQ(events[0].top, 2);
    EXPECT_EQ(events[3].top, 1);
    EXPECT_EQ(events[5].top, 3);
    ASSERT_TRUE(platform::PressControl(kInstallCancel));
    EXPECT_FALSE(FindTitled(kInstallCaption).has_value());
}

TEST(LanguageStep, AnOldTreeWithAFolderOfItsOwnKeepsOnlyThat)
{
    UsbInstallRun run;
    const fs::path old = run.panel() / "Languages";
    WriteFile(old / "IT" / "it.txt", "a folder the table does not know");
    WriteFile(run.root() / "outside" / "keep.txt", "not the installer's");
    fs::create_directories(old / "PL");
    fs::create_directory_symlink(run.root() / "outside", old / "PL" / "Bitmaps");
    run.UsbRelease("CAN_DRYER_P105", {{"NodeFlasher.exe", "flasher"},
                                      {"SystemFiles/nk.bin", "nk"},
                                      {"SystemFiles/config.sys", "config"},
                                      {"Languages/EN/English.txt", "EN root"}});
    run.Install();
    Answer(L" COPY PROGRAM FILE FROM USB FLASH DRIVE?", L"Yes");
    ASSERT_EQ(run.RunCopy(), CopyStop::Ended);
    EXPECT_EQ(ReadFile(old / "IT" / "it.txt"), "a folder the table does not know");
    EXPECT_EQ(ReadFile(run.root() / "outside" / "keep.txt"), "not the installer's");
    EXPECT_TRUE(fs::is_directory(old / "PL" / "Bitmaps"));
    EXPECT_FALSE(fs::is_symlink(old / "PL" / "Bitmaps"));
    EXPECT_EQ(ReadFile(old / "EN" / "English.txt"), "EN root");
    const auto rows = Rows(kInstallList);
    EXPECT_EQ(rows.at(rows.size() - 3), L"       Dryer program transfer is complete.  PRESS OK.");
}

}  // namespace
