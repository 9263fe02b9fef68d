// The copy thread: its lines in order, the files it copies byte for byte, the 1 s pause after
// each file, the panel without a hard disk, failures named in the list with an incomplete
// ending, a copy cut short by a full disk, and Cancel while it runs.
#include "installer/copy_thread.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "installer/install_dialogs.h"
#include "platform/runtime/clock.h"
#include "platform/storage/files.h"
#include "tests/installer/usb_install_support.h"

namespace {

using namespace usb_test;

const std::string kBinary("MZ\0\x01\xff\xfe binary\r\n", 16);

std::wstring Copying(const std::wstring& entry)
{
    return L"Copying CAN_DRYER_P105\\" + entry + L" to Hard Disk of Dryer.  Please wait.";
}

const std::vector<std::wstring> kEnding = {L"       ",
                                           L"       Dryer program transfer is complete.  PRESS OK.",
                                           L"       ", L"NOTE:  Remove USB flash drive!"};

std::vector<std::wstring> WithEnding(std::vector<std::wstring> rows,
                                     const std::vector<std::wstring>& ending = kEnding)
{
    rows.insert(rows.end(), ending.begin(), ending.end());
    return rows;
}

// A release with program files, system files, warning pictures and a manual.
void SmallRelease(UsbInstallRun& run)
{
    run.UsbRelease("CAN_DRYER_P105", {{"OrbitDryer.exe", kBinary + "dryer"},
                                      {"NodeFlasher.exe", kBinary + "flasher"},
                                      {"Kickoff.exe", "kickoff"},
                                      {"SystemFiles/nk.bin", kBinary + "nk"},
                                      {"SystemFiles/config.sys", "config"},
                                      {"WarningBitmaps/IMG_0141.bmp", kBinary + "141"},
                                      {"WarningBitmaps/NID_01_WARNING_ID_02.txt", "help"},
                                      {"Manuals/Dryer.pdf", kBinary + "manual"}});
}

void StartOneRelease(UsbInstallRun& run)
{
    run.Install();
    Answer(L" COPY PROGRAM FILE FROM USB FLASH DRIVE?", L"Yes");
    ASSERT_TRUE(FindTitled(kInstallCaption).has_value());
}

TEST(CopyThread, CopiesASmallReleaseLineByLine)
{
    UsbInstallRun run;
    fs::create_directories(run.panel() / "Languages");
    SmallRelease(run);
    const std::int64_t start = platform::NowMs();
    StartOneRelease(run);
    EXPECT_EQ(FindControl(kInstallCopyingText)->text, L"Copying files to Dryer...");
    EXPECT_FALSE(FindControl(kInstallProgress)->visible);
    EXPECT_FALSE(FindControl(kInstallLanguageText)->visible);
    EXPECT_EQ(FindControl(kInstallCancel)->text, L"Cancel");
    ASSERT_EQ(run.RunCopy(), CopyStop::Ended);

    EXPECT_EQ(Rows(kInstallList),
              WithEnding({Copying(L"Kickoff.exe"), Copying(L"Manuals"), Copying(L"NodeFlasher.exe"),
                          Copying(L"OrbitDryer.exe"), Copying(L"SystemFiles"),
                          Copying(L"WarningBitmaps"), L"Installing NodeFlasher.exe to Hard Disk",
                          L"Attempting to Install System Files.", L"Installing \\Hard Disk\\nk.bin",
                          L"\\Hard Disk\\config.sys", Copying(L"IMG_0141.bmp"),
                          Copying(L"NID_01_WARNING_ID_02.txt"), Copying(L"Dryer.pdf"),
                          L"Languages not present on USB Flash drive."}));
    EXPECT_EQ(SelectedRow(kInstallList), static_cast<int>(Rows(kInstallList).size()) - 1);
    EXPECT_EQ(FindControl(kInstallCancel)->text, L"OK");
    EXPECT_FALSE(FindControl(kInstallProgress)->visible);
    // One pause of 1 s after each of the 6 + 2 + 1 entries.
    EXPECT_EQ(platform::NowMs() - start, 9000);

    const fs::path release = run.panel() / "CAN_DRYER_P105";
    EXPECT_EQ(ReadFile(release / "OrbitDryer.exe"), kBinary + "dryer");
    EXPECT_EQ(ReadFile(release / "NodeFlasher.exe"), kBinary + "flasher");
    EXPECT_EQ(ReadFile(release / "Kickoff.exe"), "kickoff");
    EXPECT_FALSE(fs::exists(release / "SystemFiles"));  // folders are listed, not copied
    EXPECT_EQ(ReadFile(run.panel() / "NodeFlasher.exe"), kBinary + "flasher");
    EXPECT_EQ(ReadFile(run.panel() / "nk.bin"), kBinary + "nk");
    EXPECT_EQ(ReadFile(run.panel() / "config.sys"), "config");
    EXPECT_EQ(ReadFile(run.panel() / "WarningBitmaps" / "IMG_0141.bmp"), kBinary + "141");
    EXPECT_EQ(ReadFile(run.panel() / "WarningBitmaps" / "NID_01_WARNING_ID_02.txt"), "help");
    EXPECT_EQ(ReadFile(run.panel() / "Manuals" / "Dryer.pdf"), kBinary + "manual");
    EXPECT_FALSE(TopMessageBox().has_value());  // the panel has its languages

    ASSERT_TRUE(platform::PressControl(kInstallCancel));
    EXPECT_FALSE(FindTitled(kInstallCaption).has_value());
}

TEST(CopyThread, APanelWithoutHardDiskGetsNoSystemFiles)
{
    UsbInstallRun run(false);
    SmallRelease(run);
    StartOneRelease(run);
    ASSERT_EQ(run.RunCopy(), CopyStop::MessageBox);
    const auto box = TopMessageBox();
    EXPECT_EQ(box->title, L" LANGUAGE IS MISSING...");
    EXPECT_EQ(box->messageText,
              L"Languages are not present \n on this dryer. \n \nCreate new flash stick with "
              L"selected language \n and install.");
    EXPECT_EQ(box->buttons, std::vector<std::wstring>{L"OK"});
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
    ASSERT_EQ(run.RunCopy(), CopyStop::Ended);
    const auto rows = Rows(kInstallList);
    EXPECT_EQ(std::vector<std::wstring>(rows.begin() + 6, rows.begin() + 8),
              (std::vector<std::wstring>{L"Installing NodeFlasher.exe to Hard Disk",
                                         L"Attempting to Install System Files."}));
    EXPECT_EQ(rows.at(8), Copying(L"IMG_0141.bmp"));
    EXPECT_EQ(ReadFile(run.root() / "CAN_DRYER_P105" / "OrbitDryer.exe"), kBinary + "dryer");
    EXPECT_EQ(ReadFile(run.root() / "NodeFlasher.exe"), kBinary + "flasher");
    EXPECT_EQ(ReadFile(run.root() / "WarningBitmaps" / "IMG_0141.bmp"), kBinary + "141");
    EXPECT_FALSE(fs::exists(run.root() / "nk.bin"));
    EXPECT_FALSE(fs::exists(run.root() / "config.sys"));
    EXPECT_FALSE(fs::exists(run.root() / "Hard Disk"));
}

// A file of the drive that cannot be opened (a socket stands for it: unreadable even to the
// super-user) and a name that would climb out of its folder are named as failures; the rest is
// copied and the ending counts them.
TEST(CopyThread, FailuresAreNamedAndTheEndingSaysIncomplete)
{
    UsbInstallRun run;
    fs::create_directories(run.panel() / "Languages");
    SmallRelease(run);
    run.UsbRelease("CAN_DRYER_P105", {{"..\\escape.txt", "out"}});
    const fs::path socketPath = run.usb() / "CAN_DRYER_P105" / "Dryer.dat";
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.string().size(), sizeof(address.sun_path));
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);

    StartOneRelease(run);
    ASSERT_EQ(run.RunCopy(), CopyStop::Ended);
    ::close(sock);
    const auto rows = Rows(kInstallList);
    ASSERT_GE(rows.size(), 6u);
    EXPECT_EQ(std::vector<std::wstring>(rows.begin(), rows.begin() + 4),
              (std::vector<std::wstring>{
                  Copying(L"..\\escape.txt"), L"FAILED to copy CAN_DRYER_P105\\..\\escape.txt",
                  Copying(L"Dryer.dat"), L"FAILED to copy CAN_DRYER_P105\\Dryer.dat"}));
    EXPECT_EQ(std::vector<std::wstring>(rows.end() - 4, rows.end()),
              (std::vector<std::wstring>{
                  L"       ",
                  L"       Dryer program transfer is INCOMPLETE: 2 file(s) failed.  PRESS OK.",
                  L"       ", L"NOTE:  Remove USB flash drive!"}));
    EXPECT_FALSE(fs::exists(run.panel() / "escape.txt"));
    EXPECT_EQ(ReadFile(run.panel() / "CAN_DRYER_P105" / "OrbitDryer.exe"), kBinary + "dryer");
    EXPECT_EQ(ReadFile(run.panel() / "Manuals" / "Dryer.pdf"), kBinary + "manual");
    EXPECT_EQ(FindControl(kInstallCancel)->text, L"OK");
}

// The drive is pulled or the disk fills up halfway through a file: the good copy from before
// stays whole, no part file is left, and the list says which file failed.
TEST(CopyThread, ACopyCutShortLeavesNoHalfFile)
{
    UsbInstallRun run;
    fs::create_directories(run.panel() / "Languages");
    const std::string big(300 * 1024, 'k');
    run.UsbRelease("CAN_DRYER_P105", {{"Kickoff.exe", big},
                                      {"NodeFlasher.exe", "flasher"},
                                      {"SystemFiles/nk.bin", "nk"},
                                      {"SystemFiles/config.sys", "config"}});
    run.PanelRelease("CAN_DRYER_P105", {{"Kickoff.exe", "the good old kickoff"}});
    platform::FailFileWrites(1, 4096);  // the first write stops after 4 kB: the disk is full
    StartOneRelease(run);
    ASSERT_EQ(run.RunCopy(), CopyStop::Ended);
    const auto rows = Rows(kInstallList);
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows.at(1), L"FAILED to copy CAN_DRYER_P105\\Kickoff.exe");
    EXPECT_EQ(rows.at(rows.size() - 3),
              L"       Dryer program transfer is INCOMPLETE: 1 file(s) failed.  PRESS OK.");
    EXPECT_EQ(ReadFile(run.panel() / "CAN_DRYER_P105" / "Kickoff.exe"), "the good old kickoff");
    EXPECT_EQ(ReadFile(run.panel() / "NodeFlasher.exe"), "flasher");
    for (const auto& entry : fs::recursive_directory_iterator(run.panel())) {
        EXPECT_EQ(entry.path().filename().string().find("part"), std::string::npos) << entry.path();
    }
}

// Cancel while files are being copied: the dialog closes at once, the thread stops after the
// file it is on, and the lines it would still have added go nowhere.
TEST(CopyThread, CancelStopsTheCopyAfterTheCurrentFile)
{
    UsbInstallRun run;
    fs::create_directories(run.panel() / "Languages");
    run.UsbRelease("CAN_DRYER_P105", {{"a.txt", "a"},
                                      {"b.txt", "b"},
                                      {"c.txt", "c"},
                                      {"d.txt", "d"},
                                      {"NodeFlasher.exe", "flasher"}});
    StartOneRelease(run);
    // NodeFlasher.exe and a.txt (capitals are listed first) are copied, a.txt's pause runs.
    ASSERT_EQ(run.RunCopy(1), CopyStop::StillRunning);
    EXPECT_EQ(Rows(kInstallList),
              (std::vector<std::wstring>{Copying(L"NodeFlasher.exe"), Copying(L"a.txt")}));
    ASSERT_TRUE(platform::PressControl(kInstallCancel));
    EXPECT_FALSE(FindTitled(kInstallCaption).has_value());
    ASSERT_EQ(run.RunCopy(), CopyStop::Ended);
    const fs::path release = run.panel() / "CAN_DRYER_P105";
    EXPECT_EQ(ReadFile(release / "NodeFlasher.exe"), "flasher");
    EXPECT_EQ(ReadFile(release / "a.txt"), "a");
    EXPECT_FALSE(fs::exists(release / "b.txt"));
    EXPECT_FALSE(fs::exists(run.panel() / "NodeFlasher.exe"));
    EXPECT_FALSE(TopMessageBox().has_value());

    // The next install starts afresh.
    StartOneRelease(run);
    ASSERT_EQ(run.RunCopy(), CopyStop::Ended);
    EXPECT_EQ(ReadFile(release / "d.txt"), "d");
    EXPECT_EQ(Rows(kInstallList).front(), Copying(L"NodeFlasher.exe"));
}

}  // namespace
