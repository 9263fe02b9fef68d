// The install command: the questions it asks for no drive, one release and several, the
// selection dialog with its limits, and the drive search of 90 s with RETRY, all on the
// virtual clock through the automation interface.
#include <gtest/gtest.h>

#include "installer/install_dialogs.h"
#include "installer/install_paths.h"
#include "tests/installer/usb_install_support.h"

namespace {

using namespace usb_test;

constexpr const wchar_t kCopyCaption[] = L" COPY PROGRAM FILE FROM USB FLASH DRIVE?";
constexpr const wchar_t kNoDriveCaption[] = L" NO USB FLASH DRIVE FOUND";
constexpr const wchar_t kGiveUpCaption[] = L" COULD NOT DETECT A USB FLASH DRIVE";
constexpr const wchar_t kFoundCaption[] = L" USB FLASH CARD FOUND";

std::vector<std::wstring> Buttons()
{
    const auto box = TopMessageBox();
    return box.has_value() ? box->buttons : std::vector<std::wstring>{};
}

// ---- the questions ----

TEST(UsbInstallCommand, SeveralReleasesOfferTheLastListedAsTheMostRecent)
{
    UsbInstallRun run;
    run.UsbRelease("CAN_DRYER_P105");
    run.UsbRelease("CAN_DRYER_P104");
    run.UsbRelease("CAN_DRYER_P1");  // not a release: three characters after the P
    WriteFile(run.usb() / "CAN_DRYER_P106", "a file, not a folder");
    run.Install();
    const auto box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, kCopyCaption);
    EXPECT_EQ(box->messageText,
              L"Multiple (2) program files were found on USB flash drive.\n "
              L"\t\t\t\t\t\t\t\t\t\tDo you wish to copy the most recent dryer program found to the "
              L"dryer hard drive?\n \t\t\t\t\t\t\t\t\t\tMOST RECENT PROGRAM FOUND: CAN_DRYER_P105 "
              L"\n\n \t\t\t\t\t\t\t\t\t\t(Pressing YES is recommended.)\n "
              L"\t\t\t\t\t\t\t\t\t\t(Press NO to choose from a list.)");
    EXPECT_EQ(Buttons(), (std::vector<std::wstring>{L"Yes", L"No", L"Cancel"}));
    ASSERT_TRUE(platform::AnswerMessageBox(L"No"));
    ASSERT_TRUE(FindTitled(kSelectionCaption).has_value());
    EXPECT_EQ(Rows(kSelectionList),
              (std::vector<std::wstring>{L"CAN_DRYER_P104", L"CAN_DRYER_P105"}));
    EXPECT_EQ(SelectedRow(kSelectionList), 1);
    EXPECT_EQ(FindControl(kSelectionNewestLabel)->text, L"(Bottom File)");
}

TEST(UsbInstallCommand, SelectionMovesWithinTheListAndCopiesTheSelectedRow)
{
    UsbInstallRun run;
    fs::create_directories(run.panel() / "Languages");
    run.UsbRelease("CAN_DRYER_P104", {{"a.txt", "104"}});
    run.UsbRelease("CAN_DRYER_P105", {{"a.txt", "105"}});
    run.UsbRelease("CAN_DRYER_P106", {{"a.txt", "106"}});
    run.Install();
    ASSERT_TRUE(platform::AnswerMessageBox(L"No"));
    EXPECT_EQ(SelectedRow(kSelectionList), 2);
    const struct {
        int button;
        int row;
    } steps[] = {{kSelectionDown, 2}, {kSelectionUp, 1},     {kSelectionUp, 0},
                 {kSelectionUp, 0},   {kSelectionNewest, 2}, {kSelectionUp, 1}};
    for (const auto& step : steps) {
        ASSERT_TRUE(platform::PressControl(step.button));
        EXPECT_EQ(SelectedRow(kSelectionList), step.row) << step.button;
    }
    ASSERT_TRUE(platform::PressControl(kSelectionCopy));
    EXPECT_FALSE(FindTitled(kSelectionCaption).has_value());  // the install dialog took its place
    ASSERT_TRUE(FindTitled(kInstallCaption).has_value());
    EXPECT_EQ(run.RunCopy(), CopyStop::Ended);
    EXPECT_EQ(ReadFile(run.panel() / "CAN_DRYER_P105" / "a.txt"), "105");
    EXPECT_FALSE(fs::exists(run.panel() / "CAN_DRYER_P106"));
    ASSERT_TRUE(platform::PressControl(kInstallCancel));
    EXPECT_FALSE(FindTitled(kInstallCaption).has_value());
}

TEST(UsbInstallCommand, CancelInTheSelectionCopiesNothing)
{
    UsbInstallRun run;
    run.UsbRelease("CAN_DRYER_P104", {{"a.txt", "104"}});
    run.UsbRelease("CAN_DRYER_P105", {{"a.txt", "105"}});
    run.Install();
    ASSERT_TRUE(platform::AnswerMessageBox(L"No"));
    ASSERT_TRUE(platform::PressControl(kSelectionCancel));
    EXPECT_FALSE(FindTitled(kSelectionCaption).has_value());
    EXPECT_FALSE(TopMessageBox().has_value());
    EXPECT_FALSE(fs::exists(run.panel() / "CAN_DRYER_P105"));
    // Cancel on the question itself does nothing either.
    run.Install();
    ASSERT_TRUE(platform::AnswerMessageBox(L"Cancel"));
    EXPECT_FALSE(FindTitled(kSelectionCaption).has_value());
    EXPECT_FALSE(FindTitled(kInstallCaption).has_value());
}

TEST(UsbInstallCommand, OneReleaseIsOfferedByName)
{
    UsbInstallRun run;
    run.UsbRelease("CAN_DRYER_P200", {{"a.txt", "x"}});
    run.Install();
    const auto box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, kCopyCaption);
    EXPECT_EQ(box->messageText,
              L"One program file was found on USB flash drive.\n \t\t\t\t\t\t\t\t\t\tDo you wish "
              L"to copy this dryer program to the dryer hard drive?\n "
              L"\t\t\t\t\t\t\t\t\t\tONLY PROGRAM FOUND: CAN_DRYER_P200 \n\n ");
    EXPECT_EQ(Buttons(), (std::vector<std::wstring>{L"Yes", L"No", L"Cancel"}));
    ASSERT_TRUE(platform::AnswerMessageBox(L"No"));
    EXPECT_FALSE(TopMessageBox().has_value());
    EXPECT_FALSE(fs::exists(run.panel() / "CAN_DRYER_P200"));
    run.Install();
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    EXPECT_TRUE(FindTitled(kInstallCaption).has_value());
}

TEST(UsbInstallCommand, NoDriveAsksWhetherToSearch)
{
    UsbInstallRun run;
    fs::remove_all(run.usb());
    run.Install();
    const auto box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, kNoDriveCaption);
    EXPECT_EQ(box->messageText,
              L"USB flash drive was not found.  Be sure the \n \t\t\t\t\t\t\t\t\t\tUSB flash drive "
              L"is inserted in the slot behind display. \n\n \t\t\t\t\t\t\t\t\t\tDo you wish to "
              L"search for the USB drive?");
    EXPECT_EQ(Buttons(), (std::vector<std::wstring>{L"Yes", L"No"}));
    ASSERT_TRUE(platform::AnswerMessageBox(L"No"));
    run.Advance(5000);
    EXPECT_FALSE(TopMessageBox().has_value());
    EXPECT_FALSE(FindTitled(kSearchCaption).has_value());
}

// ---- the search ----

TEST(UsbSearch, GivesUpAfter90TicksAndRetryStartsAFreshSearch)
{
    UsbInstallRun run;
    run.Install();
    Answer(kNoDriveCaption, L"Yes");
    const auto dialog = FindTitled(kSearchCaption);
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(FindControl(kSearchText)->text, L"Searching... Please wait.");
    EXPECT_EQ(FindControl(kSearchHint1)->text,
              L"Make sure drive is plugged into display.  If not,");
    EXPECT_EQ(FindControl(kSearchHint2)->text, L"please insert drive and wait.");
    EXPECT_EQ(FindControl(kSearchCancel)->text, L"CANCEL SEARCH");
    EXPECT_EQ(ProgressPosition(kSearchCaption, kSearchProgress), 0);
    run.Advance(30000);
    EXPECT_EQ(ProgressPosition(kSearchCaption, kSearchProgress), 30);
    run.Advance(60000);
    EXPECT_EQ(ProgressPosition(kSearchCaption, kSearchProgress), 90);
    EXPECT_FALSE(TopMessageBox().has_value());
    run.Advance(1000);  // the tick after the 90th gives up
    auto box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, kGiveUpCaption);
    EXPECT_EQ(box->messageText,
              L"A USB flash drive cannot be found.\n Some large flash drives can take in excess "
              L"of 90 seconds to detect. \n\n Press RETRY if you suspect this is the problem.");
    EXPECT_EQ(Buttons(), (std::vector<std::wstring>{L"Retry", L"Cancel"}));
    run.Advance(5000);  // the search stands still while the question is open
    ASSERT_TRUE(platform::AnswerMessageBox(L"Retry"));
    EXPECT_EQ(ProgressPosition(kSearchCaption, kSearchProgress), 0);
    run.Advance(90000);
    EXPECT_FALSE(TopMessageBox().has_value());
    EXPECT_EQ(ProgressPosition(kSearchCaption, kSearchProgress), 90);
    run.Advance(1000);
    Answer(kGiveUpCaption, L"Cancel");
    EXPECT_FALSE(FindTitled(kSearchCaption).has_value());
    run.Advance(100000);
    EXPECT_FALSE(TopMessageBox().has_value());
}

TEST(UsbSearch, ADriveThatAppearsAtTick30IsOffered)
{
    UsbInstallRun run;
    run.Install();
    Answer(kNoDriveCaption, L"Yes");
    run.Advance(29000);
    EXPECT_FALSE(TopMessageBox().has_value());
    run.UsbRelease("CAN_DRYER_P300", {{"a.txt", "x"}});
    run.Advance(1000);
    auto box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, kFoundCaption);
    EXPECT_EQ(box->messageText,
              L"A USB flash drive was found. \n Do you wish to search for dryer program files "
              L"now?");
    EXPECT_EQ(Buttons(), (std::vector<std::wstring>{L"Yes", L"No"}));
    EXPECT_FALSE(FindTitled(kSearchCaption).has_value());
    ASSERT_TRUE(platform::AnswerMessageBox(L"Yes"));
    box = TopMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, kCopyCaption);
    EXPECT_NE(box->messageText.find(L"ONLY PROGRAM FOUND: CAN_DRYER_P300"), std::wstring::npos);
    ASSERT_TRUE(platform::AnswerMessageBox(L"No"));
    run.Advance(100000);  // the search is over
    EXPECT_FALSE(TopMessageBox().has_value());
}

TEST(UsbSearch, CancelSearchEndsIt)
{
    UsbInstallRun run;
    run.Install();
    Answer(kNoDriveCaption, L"Yes");
    run.Advance(10000);
    ASSERT_TRUE(platform::PressControl(kSearchCancel));
    EXPECT_FALSE(FindTitled(kSearchCaption).has_value());
    run.UsbRelease("CAN_DRYER_P300");
    run.Advance(100000);
    EXPECT_FALSE(TopMessageBox().has_value());
}

// ---- the two panel variants ----

TEST(UsbInstallRoots, EachPanelVariantHasItsRoots)
{
    {
        UsbInstallRun run(true);
        EXPECT_TRUE(HasHardDisk());
        EXPECT_EQ(PanelRoot(), L"\\Hard Disk\\");
        EXPECT_EQ(UsbRoot(), L"\\Hard Disk2\\");
        EXPECT_EQ(PanelLanguageRoot(), L"\\Hard Disk\\Languages");
    }
    UsbInstallRun run(false);
    EXPECT_FALSE(HasHardDisk());
    EXPECT_EQ(PanelRoot(), L"\\");
    EXPECT_EQ(UsbRoot(), L"USB Storage\\");
    EXPECT_EQ(PanelLanguageRoot(), L"\\Languages");
}

}  // namespace
