// The demo release that scripts/make_release writes: the folder NodeFlasher selects, board
// programs its HEX reader takes, launchers that start the build's programs with the panel's
// options, and the USB drive's release for the installer.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "flasher/hex_file.h"
#include "platform/storage/files.h"
#include "tests/flasher/hex_text_support.h"

using namespace hex_test;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kPrograms = {"DI.HEX", "FH.HEX", "MI.HEX", "MC.HEX", "MC_GEN2.HEX"};
const std::vector<std::string> kLaunchers = {"Dryer.exe", "Kickoff.exe", "OrbitDryer.exe",
                                             "NodeFlasher.exe"};
const std::vector<std::string> kPanelVariables = {"PANEL_ROOT", "PANEL_USB", "PANEL_PORT",
                                                  "PANEL_HEADLESS", "PANEL_CONTROL_DIR"};

// The script in the checkout this test was built from: the folder above the build tree, or the
// source folder its CMake cache names.
fs::path Script()
{
    const fs::path exe = fs::read_symlink("/proc/self/exe");
    for (fs::path at = exe.parent_path(); !at.empty() && at != at.root_path();
         at = at.parent_path()) {
        if (fs::exists(at / "scripts" / "make_release")) return at / "scripts" / "make_release";
        std::ifstream cache(at / "CMakeCache.txt");
        std::string line;
        const std::string key = "CMAKE_HOME_DIRECTORY:INTERNAL=";
        while (std::getline(cache, line)) {
            if (line.rfind(key, 0) == 0)
                return fs::path(line.substr(key.size())) / "scripts" / "make_release";
        }
    }
    return {};
}

std::string Quoted(const fs::path& path)
{
    std::string out = "'";
    for (const char c : path.string()) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Exit code of a shell command, -1 when it did not end normally.
int Shell(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Entries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string() + (entry.is_directory() ? "/" : ""));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> Sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

// Sets or clears an environment variable for one test and puts back what was there.
class ScopedVariable {
public:
    ScopedVariable(std::string name, const char* value) : name_(std::move(name))
    {
        if (const char* old = std::getenv(name_.c_str())) old_ = old;
        if (value != nullptr)
            ::setenv(name_.c_str(), value, 1);
        else
            ::unsetenv(name_.c_str());
    }
    ~ScopedVariable()
    {
        if (old_)
            ::setenv(name_.c_str(), old_->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

class MakeRelease : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(script_.empty()) << "scripts/make_release not found above the test program";
        platform::SetPanelRoots(root_.path(), root_.path() / "Hard Disk2");
    }

    fs::path HardDisk() const { return root_.path() / "Hard Disk"; }

    int Make(const fs::path& dir, const std::string& options = "")
    {
        return Shell(Quoted(script_) + " " + Quoted(dir) + " " + options + " >" +
                     Quoted(root_.path() / "make.log") + " 2>&1");
    }

    // A build tree whose programs only write down how they were started, into mark.txt.
    fs::path FakeBuild()
    {
        const fs::path build = root_.path() / "fake build";
        for (const std::string program : {"dryer/orbitdryer", "flasher/nodeflasher"}) {
            std::string text = "#!/bin/sh\n{\n  echo \"program=" + program +
                               "\"\n  for a in \"$@\"; do echo \"arg=$a\"; done\n";
            for (const std::string& name : kPanelVariables) {
                text += "  echo \"" + name + "=${" + name + "-unset}\"\n";
            }
            text += "} >" + Quoted(Mark()) + "\n";
            // The first argument of the parent process: the launcher's path if it had started
            // the program as a child instead of becoming it.
            text += "tr '\\0' '\\n' </proc/$PPID/cmdline | sed -n 2p >" +
                    Quoted(Mark().string() + ".parent") + "\n";
            fs::create_directories((build / program).parent_path());
            WriteFile(build / program, text);
            fs::permissions(build / program, fs::perms::owner_all, fs::perm_options::add);
        }
        return build;
    }
    fs::path Mark() const { return root_.path() / "mark.txt"; }

    fs::path script_ = Script();
    TempFolder root_;
    std::unique_ptr<HexImage> image_ = std::make_unique<HexImage>();
};

TEST_F(MakeRelease, WritesTheReleaseFolderWithProgramsAndLaunchersOnly)
{
    ASSERT_EQ(Make(HardDisk()), 0) << ReadText(root_.path() / "make.log");
    EXPECT_EQ(Entries(HardDisk()), std::vector<std::string>{"CAN_DRYER_P101/"});
    std::vector<std::string> expected = kPrograms;
    expected.insert(expected.end(), kLaunchers.begin(), kLaunchers.end());
    EXPECT_EQ(Entries(HardDisk() / "CAN_DRYER_P101"), Sorted(expected));
}

TEST_F(MakeRelease, TheReleaseNameIsPAndThreeCharacters)
{
    EXPECT_EQ(Make(HardDisk(), "--release P12"), 2);
    EXPECT_EQ(Make(HardDisk(), "--release P1234"), 2);
    EXPECT_FALSE(fs::exists(HardDisk()));
    ASSERT_EQ(Make(HardDisk(), "--release P123"), 0);
    ASSERT_EQ(Make(HardDisk(), "--release p12a"), 0);
    EXPECT_EQ(Entries(HardDisk()),
              (std::vector<std::string>{"CAN_DRYER_P123/", "CAN_DRYER_P12A/"}));
}

TEST_F(MakeRelease, EveryBoardProgramReadsAsAnImageFromLinearAddress0x10000)
{
    ASSERT_EQ(Make(HardDisk()), 0);
    for (const std::string& name : kPrograms) {
        SCOPED_TRACE(name);
        const fs::path file = HardDisk() / "CAN_DRYER_P101" / name;
        const std::string text = ReadText(file);
        const HexFileResult result = ReadHexFile(
            L"\\Hard Disk\\CAN_DRYER_P101\\" + std::wstring(name.begin(), name.end()), *image_);
        ASSERT_TRUE(result.ok()) << std::string(result.refusal.begin(), result.refusal.end());
        EXPECT_EQ(result.read.bytesRead, text.size());
        // A few to tens of KiB of program per board.
        EXPECT_GE(image_->length, 4u * 1024);
        EXPECT_LE(image_->length, 128u * 1024);

        // The data sits above 64 KiB: an extended linear address record of 0x0001 comes first,
        // and none goes back below it.
        EXPECT_EQ(text.rfind(":020000040001F9\r\n", 0), 0u);
        std::istringstream lines(text);
        std::string line;
        std::string last;
        std::set<std::string> uppers;
        std::size_t shortRecords = 0;
        std::size_t dataRecords = 0;
        while (std::getline(lines, line)) {
            ASSERT_EQ(line.back(), '\r');
            last = line;
            ASSERT_EQ(line.find_first_of("abcdef"), std::string::npos) << line;
            if (line.compare(7, 2, "04") == 0) {
                uppers.insert(line.substr(9, 4));
                EXPECT_NE(line.substr(9, 4), "0000");
            }
            if (line.compare(7, 2, "00") == 0) {
                ++dataRecords;
                if (line.compare(1, 2, "10") != 0) ++shortRecords;
            }
        }
        EXPECT_EQ(last, ":00000001FF\r");
        EXPECT_GE(shortRecords, 1u);
        EXPECT_GT(dataRecords, 16 * shortRecords);  // mostly 16-byte records

        // Gaps: runs of erased flash between the blocks of the program.
        const auto* bytes = image_->bytes.data();
        const std::vector<std::uint8_t> erased(256, 0xFF);
        EXPECT_NE(std::search(bytes, bytes + image_->length, erased.begin(), erased.end()),
                  bytes + image_->length);
        // The independent reader sees the same image.
        if (OracleAvailable(root_.path())) {
            const auto oracle = OracleImage(file, kHexBankedOrigin);
            ASSERT_TRUE(oracle.has_value());
            ASSERT_EQ(oracle->size(), image_->length);
            EXPECT_TRUE(std::equal(oracle->begin(), oracle->end(), bytes));
        }
        // Only the Main I/O program runs on into the next 64 KiB of flash.
        EXPECT_EQ(uppers.size(), name == "MI.HEX" ? 2u : 1u);
        EXPECT_EQ(image_->length > 0x10000, name == "MI.HEX");
    }
}

TEST_F(MakeRelease, TheProgramsAreTheSameForTheSameReleaseAndDifferPerBoardAndRelease)
{
    ASSERT_EQ(Make(root_.path() / "a"), 0);
    ASSERT_EQ(Make(root_.path() / "b"), 0);
    ASSERT_EQ(Make(root_.path() / "c", "--release P102"), 0);
    std::set<std::string> texts;
    for (const std::string& name : kPrograms) {
        SCOPED_TRACE(name);
        const std::string a = ReadText(root_.path() / "a" / "CAN_DRYER_P101" / name);
        EXPECT_EQ(a, ReadText(root_.path() / "b" / "CAN_DRYER_P101" / name));
        EXPECT_NE(a, ReadText(root_.path() / "c" / "CAN_DRYER_P102" / name));
        texts.insert(a.substr(17, 2000));
    }
    EXPECT_EQ(texts.size(), kPrograms.size());
}

TEST_F(MakeRelease, LaunchersStartTheBuildsProgramsWithArgumentsAndPanelOptions)
{
    ASSERT_EQ(Make(HardDisk()), 0);
    const fs::path build = FakeBuild();
    const ScopedVariable buildDir("DRYER_BUILD_DIR", build.c_str());
    const ScopedVariable panelRoot("PANEL_ROOT", "/tmp/panel root");
    const ScopedVariable panelUsb("PANEL_USB", "/tmp/usb");
    const ScopedVariable panelPort("PANEL_PORT", nullptr);
    const ScopedVariable headless("PANEL_HEADLESS", "1");
    const ScopedVariable control("PANEL_CONTROL_DIR", "/tmp/sockets");
    for (const std::string& name : kLaunchers) {
        SCOPED_TRACE(name);
        const fs::path launcher = HardDisk() / "CAN_DRYER_P101" / name;
        EXPECT_EQ(ReadText(launcher).rfind("#!/bin/sh\n", 0), 0u);
        EXPECT_EQ(::access(launcher.c_str(), X_OK), 0);
        fs::remove(Mark());
        ASSERT_EQ(Shell(Quoted(launcher) + " 'two words' --x ''"), 0);
        const std::string program =
            name == "NodeFlasher.exe" ? "flasher/nodeflasher" : "dryer/orbitdryer";
        EXPECT_EQ(ReadText(Mark()), "program=" + program +
                                        "\narg=two words\narg=--x\narg=\n"
                                        "PANEL_ROOT=/tmp/panel root\nPANEL_USB=/tmp/usb\n"
                                        "PANEL_PORT=unset\nPANEL_HEADLESS=1\n"
                                        "PANEL_CONTROL_DIR=/tmp/sockets\n");
        EXPECT_NE(ReadText(Mark().string() + ".parent"), launcher.string() + "\n");
    }
}

TEST_F(MakeRelease, ALauncherCopiedOutOfTheReleaseStillFindsTheBuildItWasMadeFor)
{
    const fs::path build = FakeBuild();
    ASSERT_EQ(Make(HardDisk(), "--build " + Quoted(build)), 0);
    const ScopedVariable buildDir("DRYER_BUILD_DIR", nullptr);
    // As NodeFlasher leaves it after an upload: "\Hard Disk\Kickoff.exe".
    const fs::path copied = HardDisk() / "Kickoff.exe";
    fs::copy_file(HardDisk() / "CAN_DRYER_P101" / "Kickoff.exe", copied);
    ASSERT_EQ(Shell(Quoted(copied)), 0);
    EXPECT_EQ(ReadText(Mark()).rfind("program=dryer/orbitdryer\nPANEL_ROOT=", 0), 0u);

    // A build tree without the program: the launcher says so and fails.
    fs::remove(build / "dryer" / "orbitdryer");
    EXPECT_EQ(Shell(Quoted(copied) + " 2>/dev/null"), 127);
}

TEST_F(MakeRelease, AUsbReleaseCarriesSystemFilesPicturesManualsAndLanguages)
{
    const fs::path usb = root_.path() / "Hard Disk2";
    ASSERT_EQ(Make(usb, "--usb --release P105"), 0);
    const fs::path release = usb / "CAN_DRYER_P105";
    std::vector<std::string> expected = kPrograms;
    expected.insert(expected.end(), kLaunchers.begin(), kLaunchers.end());
    expected.insert(expected.end(), {"Languages/", "Manuals/", "SystemFiles/", "WarningBitmaps/"});
    EXPECT_EQ(Entries(release), Sorted(expected));
    EXPECT_EQ(Entries(release / "SystemFiles"), (std::vector<std::string>{"config.sys", "nk.bin"}));
    EXPECT_FALSE(Entries(release / "Manuals").empty());
    EXPECT_EQ(Entries(release / "Languages"), (std::vector<std::string>{"DE/", "EN/"}));
    for (const std::string code : {"EN", "DE"}) {
        EXPECT_FALSE(Entries(release / "Languages" / code / "Bitmaps").empty());
        EXPECT_FALSE(Entries(release / "Languages" / code / "WarningBitmaps").empty());
    }
    const std::vector<std::string> warnings = Entries(release / "WarningBitmaps");
    for (const std::string name :
         {"NID_02_WARNING_ID_05.bmp", "NID_02_WARNING_ID_05.txt", "IMG_0141.bmp", "IMG_0144.bmp"}) {
        EXPECT_NE(std::find(warnings.begin(), warnings.end(), name), warnings.end()) << name;
    }

    // Every picture is a whole bitmap file: "BM" and the file's size in its header.
    std::size_t pictures = 0;
    for (const auto& entry : fs::recursive_directory_iterator(release)) {
        if (entry.path().extension() != ".bmp") continue;
        ++pictures;
        const std::vector<std::uint8_t> bytes = ReadBinary(entry.path());
        ASSERT_GE(bytes.size(), 54u) << entry.path();
        EXPECT_EQ(bytes[0], 'B');
        EXPECT_EQ(bytes[1], 'M');
        const std::uint32_t size =
            bytes[2] | (bytes[3] << 8) | (bytes[4] << 16) | (std::uint32_t{bytes[5]} << 24);
        EXPECT_EQ(size, bytes.size()) << entry.path();
    }
    EXPECT_GE(pictures, 8u);

    // The programs on the drive read as well as those on the panel.
    const HexFileResult result = ReadHexFile(L"\\Hard Disk2\\CAN_DRYER_P105\\FH.HEX", *image_);
    EXPECT_TRUE(result.ok());
}

}  // namespace
