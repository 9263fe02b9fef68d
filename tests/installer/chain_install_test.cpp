// CopyOrbitFiles end to end as a child process, driven through its automation socket as an
// operator drives the panel: a USB drive written by scripts/make_release, with a 20 MB file, an
// empty file, names with blanks and a file that cannot be read, installed with INSTALL FROM
// USB; every installed file must be the drive's byte for byte, and START DRYER must start the
// next program and end this one.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/installer/chain_run_support.h"

namespace {

namespace fs = std::filesystem;
using chain_test::Remote;
using test_support::ChildProcess;

constexpr const char kRelease[] = "CAN_DRYER_P101";

void WriteBytes(const fs::path& file, std::size_t size)
{
    std::ofstream out(file, std::ios::binary);
    std::string block(1 << 16, '\0');
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>((i * 131 + 7) % 251);
    for (std::size_t done = 0; done < size; done += block.size()) {
        out.write(block.data(), static_cast<std::streamsize>(std::min(block.size(), size - done)));
    }
}

// Makes an entry of the release that cannot be read. Without privileges a file without
// permissions does it; the superuser reads those, so it gets a file whose every read fails
// (this process's memory at address 0, as the copying process opens it).
void WriteUnreadable(const fs::path& file)
{
    if (::geteuid() != 0) {
        std::ofstream(file) << "locked";
        fs::permissions(file, fs::perms::none);
    } else {
        fs::create_symlink("/proc/self/mem", file);
    }
}

class InstallEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = chain_test::FreshFolder("install");
        root_ = folder_ / "panel";
        usb_ = folder_ / "usb";
        fs::create_directories(root_ / "Hard Disk");
        ASSERT_EQ(chain_test::MakeRelease(usb_, "--usb --small"), 0);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }

    ChildProcess Start()
    {
        return ChildProcess({COPYORBITFILES_EXECUTABLE, "--root", root_.string(), "--usb",
                             usb_.string(), "--headless", "--control", Socket().string()},
                            folder_);
    }
    fs::path Socket() const { return folder_ / "copyorbitfiles.sock"; }
    fs::path Drive() const { return usb_ / kRelease; }
    fs::path Disk() const { return root_ / "Hard Disk"; }

    fs::path folder_, root_, usb_;
};

TEST_F(InstallEndToEnd, EveryFileArrivesWholeAndAnUnreadableOneIsReported)
{
    WriteBytes(Drive() / "Big Data File.bin", 20u << 20);
    WriteBytes(Drive() / "Empty.dat", 0);
    std::ofstream(Drive() / "Release Notes With Spaces.txt") << "P101 notes\r\n";
    std::ofstream(Drive() / "Manuals" / "Quick Start Guide.txt") << "quick start\r\n";
    WriteUnreadable(Drive() / "Locked.dat");
    WriteBytes(Drive() / "Languages" / "DE" / "Bitmaps" / "Big Screen.bmp", 1u << 20);

    ChildProcess program = Start();
    const Remote panel(Socket());
    ASSERT_TRUE(panel.WaitUp()) << program.Stderr();
    const std::vector<std::string> rows = chain_test::InstallTheOnlyRelease(panel, 120000);
    ASSERT_FALSE(rows.empty()) << "the install did not end";

    // The release folder, NodeFlasher, the system files, the pictures, the manuals and the
    // languages, each the same bytes as on the drive.
    std::vector<std::pair<fs::path, fs::path>> copies;
    for (const auto& entry : fs::directory_iterator(Drive())) {
        if (entry.is_regular_file() && entry.path().filename() != "Locked.dat") {
            copies.emplace_back(entry.path(), Disk() / kRelease / entry.path().filename());
        }
    }
    copies.emplace_back(Drive() / "NodeFlasher.exe", Disk() / "NodeFlasher.exe");
    copies.emplace_back(Drive() / "SystemFiles" / "nk.bin", Disk() / "nk.bin");
    copies.emplace_back(Drive() / "SystemFiles" / "config.sys", Disk() / "config.sys");
    for (const char* folder : {"WarningBitmaps", "Manuals"}) {
        for (const fs::path& file : chain_test::FilesUnder(Drive() / folder)) {
            copies.emplace_back(Drive() / folder / file, Disk() / folder / file);
        }
    }
    for (const fs::path& file : chain_test::FilesUnder(Drive() / "Languages")) {
        copies.emplace_back(Drive() / "Languages" / file, Disk() / "Languages" / file);
    }
    EXPECT_GE(copies.size(), 30u);
    for (const auto& [from, to] : copies) {
        SCOPED_TRACE(to.string());
        ASSERT_TRUE(fs::exists(to));
        EXPECT_EQ(fs::file_size(to), fs::file_size(from));
        EXPECT_EQ(chain_test::Sha256(to), chain_test::Sha256(from));
    }
    EXPECT_EQ(fs::file_size(Disk() / kRelease / "Big Data File.bin"), 20u << 20);
    // The copied launchers can still be started.
    EXPECT_EQ(::access((Disk() / "NodeFlasher.exe").c_str(), X_OK), 0);

    // The file that could not be read is named in a line of its own that says so, and is not
    // left behind as an empty or partial copy.
    const bool reported = std::any_of(rows.begin(), rows.end(), [](const std::string& row) {
        return row.find("Locked.dat") != std::string::npos && row.rfind("Copying ", 0) != 0;
    });
    EXPECT_TRUE(reported) << "no failure line for Locked.dat";
    EXPECT_FALSE(fs::exists(Disk() / kRelease / "Locked.dat"));

    // START DRYER hands over to the start program and ends the installer.
    const fs::path marker = folder_ / "kickoff-ran";
    {
        std::ofstream kickoff(Disk() / "Kickoff.exe");
        kickoff << "#!/bin/sh\necho \"$PANEL_ROOT\" > '" << marker.string() << ".part' && mv '"
                << marker.string() << ".part' '" << marker.string() << "'\n";
    }
    fs::permissions(Disk() / "Kickoff.exe", fs::perms::owner_all);
    panel.Press(8003);  // no answer may come back: the program ends on it
    EXPECT_EQ(program.ExitCode(chain_test::kStartMs), 0) << program.Stderr();
    ASSERT_TRUE(test_support::WaitFor([&] { return fs::exists(marker); }, chain_test::kStartMs));
    EXPECT_EQ(test_support::ReadFile(marker), root_.string() + "\n");
    EXPECT_FALSE(fs::exists(Socket()));  // the socket went with the program
}

TEST_F(InstallEndToEnd, BadOptionsEndWithExitCode2AndHelpWith0)
{
    ChildProcess bad({COPYORBITFILES_EXECUTABLE, "--root"}, folder_);
    EXPECT_EQ(bad.ExitCode(chain_test::kStartMs), 2);
    EXPECT_EQ(bad.Stderr().rfind("copyorbitfiles: ", 0), 0u) << bad.Stderr();
    ChildProcess help({COPYORBITFILES_EXECUTABLE, "--help"}, folder_);
    EXPECT_EQ(help.ExitCode(chain_test::kStartMs), 0);
    EXPECT_EQ(help.Stdout().rfind("usage: copyorbitfiles", 0), 0u) << help.Stdout();
    // A root that cannot be a folder, and a control socket path held by a file.
    std::ofstream(folder_ / "a file") << "x";
    ChildProcess badRoot(
        {COPYORBITFILES_EXECUTABLE, "--root", (folder_ / "a file").string(), "--headless"},
        folder_);
    EXPECT_EQ(badRoot.ExitCode(chain_test::kStartMs), 2);
    EXPECT_NE(badRoot.Stderr().find("cannot use panel root"), std::string::npos);
    ChildProcess badSocket({COPYORBITFILES_EXECUTABLE, "--root", root_.string(), "--headless",
                            "--control", (folder_ / "a file").string()},
                           folder_);
    EXPECT_EQ(badSocket.ExitCode(chain_test::kStartMs), 2);
    EXPECT_NE(badSocket.Stderr().find("cannot open the control socket"), std::string::npos);
    EXPECT_EQ(test_support::ReadFile(folder_ / "a file"), "x");
}

}  // namespace
