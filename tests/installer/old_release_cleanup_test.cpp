// Old release cleanup: which questions are asked for how many releases and how much free
// space, the order in which the deletion pass offers releases, and that deleting a release
// never reaches outside its folder, whatever the folder's name or content.
#include "installer/old_release_cleanup.h"

#include <gtest/gtest.h>

#include "installer/install_dialogs.h"
#include "installer/release_lists.h"
#include "platform/storage/files.h"
#include "tests/installer/usb_install_support.h"

namespace {

using namespace usb_test;

constexpr const wchar_t kTooManyCaption[] = L" TOO MANY OLD DRYER PROGRAM FILES!";
constexpr const wchar_t kLowMemoryCaption[] = L" REMOVE OLD DRYER FILES?";
constexpr const wchar_t kDeleteCaption[] = L"Delete the following?";

// A panel with these releases and a drive with CAN_DRYER_P105; the install question answered
// Yes, so that the cleanup comes next.
void StartInstall(UsbInstallRun& run, const std::vector<std::string>& installed)
{
    for (const auto& name : installed) run.PanelRelease(name, {{"OrbitDryer.exe", name}});
    fs::create_directories(run.panel() / "Languages");
    run.UsbRelease("CAN_DRYER_P105", {{"OrbitDryer.exe", "105"},
                                      {"NodeFlasher.exe", "flasher"},
                                      {"SystemFiles/nk.bin", "nk"},
                                      {"SystemFiles/config.sys", "config"}});
    run.Install();
    Answer(L" COPY PROGRAM FILE FROM USB FLASH DRIVE?", L"Yes");
}

// Answers each "Delete the following?" in turn and returns the names offered.
std::vector<std::wstring> AnswerDeletions(const std::vector<std::wstring>& answers)
{
    std::vector<std::wstring> offered;
    for (const auto& answer : answers) {
        const auto box = TopMessageBox();
        if (!box.has_value() || box->title != kDeleteCaption) break;
        offered.push_back(box->messageText);
        EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
        EXPECT_TRUE(platform::AnswerMessageBox(answer));
    }
    return offered;
}

bool InstallDialogOpen()
{
    return FindTitled(kInstallCaption).has_value() && !TopMessageBox().has_value();
}

TEST(OldReleaseCleanup, OffersAllButTheLastListedSmallestFirst)
{
    UsbInstallRun run;
    StartInstall(run, {"CAN_DRYER_P100", "CAN_DRYER_P102", "CAN_DRYER_P101"});
    const auto box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, kTooManyCaption);
    EXPECT_EQ(box->messageText,
              L"More than one OLD set of dryer files were found on \n the Dryer's hard disk.  It "
              L"is recommended that all but one \n be deleted.  Delete the old files?");
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    // Listed sorted (P100, P101, P102): P102, the last listed, is never offered.
    EXPECT_EQ(AnswerDeletions({L"Yes", L"Yes", L"Yes"}),
              (std::vector<std::wstring>{L"CAN_DRYER_P100", L"CAN_DRYER_P101"}));
    EXPECT_TRUE(InstallDialogOpen());
    EXPECT_FALSE(fs::exists(run.panel() / "CAN_DRYER_P100"));
    EXPECT_FALSE(fs::exists(run.panel() / "CAN_DRYER_P101"));
    EXPECT_EQ(ReadFile(run.panel() / "CAN_DRYER_P102" / "OrbitDryer.exe"), "CAN_DRYER_P102");
    EXPECT_EQ(run.RunCopy(), CopyStop::Ended);
    EXPECT_EQ(Rows(kInstallList).at(Rows(kInstallList).size() - 3),
              L"       Dryer program transfer is complete.  PRESS OK.");
}

TEST(OldReleaseCleanup, ARefusedReleaseIsOfferedAgain)
{
    UsbInstallRun run;
    StartInstall(run, {"CAN_DRYER_P100", "CAN_DRYER_P102", "CAN_DRYER_P101"});
    Answer(kTooManyCaption, L"Yes");
    EXPECT_EQ(AnswerDeletions({L"No", L"No", L"No"}),
              (std::vector<std::wstring>{L"CAN_DRYER_P100", L"CAN_DRYER_P100"}));
    EXPECT_TRUE(InstallDialogOpen());
    for (const char* name : {"CAN_DRYER_P100", "CAN_DRYER_P101", "CAN_DRYER_P102"}) {
        EXPECT_TRUE(fs::exists(run.panel() / name)) << name;
    }
}

TEST(OldReleaseCleanup, CaseDoesNotDecideTheSmallest)
{
    UsbInstallRun run;
    // Listed P1AB, P1a0, P1zz (capitals sort first); in upper case P1A0 is the smaller of the
    // first two.
    StartInstall(run, {"CAN_DRYER_P1AB", "CAN_DRYER_P1a0", "CAN_DRYER_P1zz"});
    Answer(kTooManyCaption, L"Yes");
    EXPECT_EQ(AnswerDeletions({L"No"}), (std::vector<std::wstring>{L"CAN_DRYER_P1a0"}));
}

TEST(OldReleaseCleanup, OneInstalledReleaseAsksNothing)
{
    UsbInstallRun run;
    platform::FakeDiskFreeSpace(100 * 1024);
    StartInstall(run, {"CAN_DRYER_P100"});
    EXPECT_TRUE(InstallDialogOpen());
    EXPECT_TRUE(fs::exists(run.panel() / "CAN_DRYER_P100"));
}

TEST(OldReleaseCleanup, EnoughFreeSpaceAsksNoMoreAfterNo)
{
    UsbInstallRun run;
    platform::FakeDiskFreeSpace(6144 * 1024);
    StartInstall(run, {"CAN_DRYER_P100", "CAN_DRYER_P101"});
    Answer(kTooManyCaption, L"No");
    EXPECT_TRUE(InstallDialogOpen());
    EXPECT_TRUE(fs::exists(run.panel() / "CAN_DRYER_P100"));
}

TEST(OldReleaseCleanup, LowMemoryAsksAgainWithTheFreeKilobytes)
{
    UsbInstallRun run;
    platform::FakeDiskFreeSpace(6143 * 1024 + 1023);  // 6143 kB, rounded down
    StartInstall(run, {"CAN_DRYER_P100", "CAN_DRYER_P101"});
    Answer(kTooManyCaption, L"No");
    const auto box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, kLowMemoryCaption);
    EXPECT_EQ(box->messageText,
              L"Memory is low (6143 kB) due to old dryer program files. \n It is recommended "
              L"that all but one of the old files \n be deleted.  Delete the old files?");
    EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    EXPECT_EQ(AnswerDeletions({L"Yes", L"Yes"}), (std::vector<std::wstring>{L"CAN_DRYER_P100"}));
    EXPECT_TRUE(InstallDialogOpen());
    EXPECT_FALSE(fs::exists(run.panel() / "CAN_DRYER_P100"));
    EXPECT_TRUE(fs::exists(run.panel() / "CAN_DRYER_P101"));
}

TEST(OldReleaseCleanup, LowMemoryDeclinedDeletesNothing)
{
    UsbInstallRun run;
    platform::FakeDiskFreeSpace(10 * 1024);
    StartInstall(run, {"CAN_DRYER_P100", "CAN_DRYER_P101"});
    Answer(kTooManyCaption, L"No");
    Answer(kLowMemoryCaption, L"No");
    EXPECT_TRUE(InstallDialogOpen());
    EXPECT_TRUE(fs::exists(run.panel() / "CAN_DRYER_P100"));
}

// ---- deleting stays inside the release folder ----

class ReleaseDeletion : public ::testing::Test {
protected:
    void SetUp() override
    {
        run_ = std::make_unique<UsbInstallRun>();
        WriteFile(run_->panel() / "OrbitDryer.exe", "the panel's program");
        WriteFile(run_->root() / "outside" / "keep.txt", "not the installer's");
    }
    void ExpectOutsideUntouched()
    {
        EXPECT_EQ(ReadFile(run_->panel() / "OrbitDryer.exe"), "the panel's program");
        EXPECT_EQ(ReadFile(run_->root() / "outside" / "keep.txt"), "not the installer's");
    }
    std::unique_ptr<UsbInstallRun> run_;
};

TEST_F(ReleaseDeletion, DeletesTheFilesAndTheFolder)
{
    run_->PanelRelease("CAN_DRYER_P100", {{"a.exe", "a"}, {"b.hex", "b"}});
    EXPECT_TRUE(DeleteReleaseFolder(L"CAN_DRYER_P100").empty());
    EXPECT_FALSE(fs::exists(run_->panel() / "CAN_DRYER_P100"));
    ExpectOutsideUntouched();
}

TEST_F(ReleaseDeletion, DotsInANameStayInThatFolder)
{
    run_->PanelRelease("CAN_DRYER_P..", {{"a.exe", "a"}});
    EXPECT_TRUE(DeleteReleaseFolder(L"CAN_DRYER_P..").empty());
    EXPECT_FALSE(fs::exists(run_->panel() / "CAN_DRYER_P.."));
    ExpectOutsideUntouched();
}

TEST_F(ReleaseDeletion, ANameWithASeparatorIsNeitherListedNorDeleted)
{
    // On the host a backslash is an ordinary letter of a name; on the panel it would climb out.
    run_->PanelRelease("CAN_DRYER_P\\..", {{"a.exe", "a"}});
    run_->PanelRelease("CAN_DRYER_P101");
    EXPECT_EQ(ListReleaseFolders(L"\\Hard Disk\\"), (std::vector<std::wstring>{L"CAN_DRYER_P101"}));
    EXPECT_FALSE(DeleteReleaseFolder(L"CAN_DRYER_P\\..").empty());
    EXPECT_FALSE(DeleteReleaseFolder(L"..").empty());
    EXPECT_FALSE(DeleteReleaseFolder(L"CAN/..").empty());
    EXPECT_TRUE(fs::exists(run_->panel() / "CAN_DRYER_P\\.." / "a.exe"));
    EXPECT_TRUE(fs::exists(run_->panel() / "CAN_DRYER_P101"));
    ExpectOutsideUntouched();
}

TEST_F(ReleaseDeletion, LinksInsideGoAsLinks)
{
    run_->PanelRelease("CAN_DRYER_P100", {{"a.exe", "a"}});
    const fs::path folder = run_->panel() / "CAN_DRYER_P100";
    fs::create_symlink(run_->root() / "outside" / "keep.txt", folder / "file-link");
    fs::create_directory_symlink(run_->root() / "outside", folder / "folder-link");
    fs::create_symlink(run_->panel() / "OrbitDryer.exe", folder / "OrbitDryer.exe");
    EXPECT_TRUE(DeleteReleaseFolder(L"CAN_DRYER_P100").empty());
    EXPECT_FALSE(fs::exists(folder));
    ExpectOutsideUntouched();
}

TEST_F(ReleaseDeletion, AFolderThatIsALinkOrAFileIsLeftAlone)
{
    fs::create_directory_symlink(run_->root() / "outside", run_->panel() / "CAN_DRYER_P100");
    WriteFile(run_->panel() / "CAN_DRYER_P101", "a file where a release would be");
    run_->PanelRelease("CAN_DRYER_P102");
    EXPECT_EQ(ListReleaseFolders(L"\\Hard Disk\\"), (std::vector<std::wstring>{L"CAN_DRYER_P102"}));
    EXPECT_FALSE(DeleteReleaseFolder(L"CAN_DRYER_P100").empty());
    EXPECT_FALSE(DeleteReleaseFolder(L"CAN_DRYER_P101").empty());
    EXPECT_TRUE(fs::is_symlink(run_->panel() / "CAN_DRYER_P100"));
    EXPECT_EQ(ReadFile(run_->panel() / "CAN_DRYER_P101"), "a file where a release would be");
    ExpectOutsideUntouched();
}

TEST_F(ReleaseDeletion, AFileNameWithASeparatorStaysAndIsReported)
{
    run_->PanelRelease("CAN_DRYER_P100", {{"a.exe", "a"}, {"..\\OrbitDryer.exe", "trap"}});
    const auto failed = DeleteReleaseFolder(L"CAN_DRYER_P100");
    EXPECT_EQ(failed,
              (std::vector<std::wstring>{L"\\Hard Disk\\CAN_DRYER_P100\\..\\OrbitDryer.exe"}));
    EXPECT_FALSE(fs::exists(run_->panel() / "CAN_DRYER_P100" / "a.exe"));
    EXPECT_TRUE(fs::exists(run_->panel() / "CAN_DRYER_P100"));  // not empty: it stays
    ExpectOutsideUntouched();
}

// A release that could not be deleted wholly is named in the install list, and the ending
// says the transfer is incomplete.
TEST(OldReleaseCleanup, DeletionFailuresAreShownInTheInstallList)
{
    UsbInstallRun run;
    run.PanelRelease("CAN_DRYER_P100", {{"..\\trap", "x"}});
    StartInstall(run, {"CAN_DRYER_P101"});
    Answer(kTooManyCaption, L"Yes");
    EXPECT_EQ(AnswerDeletions({L"Yes"}), (std::vector<std::wstring>{L"CAN_DRYER_P100"}));
    EXPECT_EQ(run.RunCopy(), CopyStop::Ended);
    const auto rows = Rows(kInstallList);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), L"FAILED to delete \\Hard Disk\\CAN_DRYER_P100\\..\\trap");
    EXPECT_EQ(rows.at(rows.size() - 3),
              L"       Dryer program transfer is INCOMPLETE: 1 file(s) failed.  PRESS OK.");
}

}  // namespace
