// The board's saved settings: the file's round trip, its refusal of a file that is truncated,
// changed in any one byte, of another version, of another kind or missing, the atomic write,
// and the board acting on the panel's save and restore requests with it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "sim/command_line.h"
#include "sim/display_io_board.h"
#include "sim/saved_settings.h"
#include "tests/sim/sim_frames.h"

namespace {

using namespace sim;
using namespace sim_test;
namespace fs = std::filesystem;

// An image with a different value at every offset, and both request bits set.
StatusImage Patterned(int seed)
{
    StatusImage image{};
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>((i * 7 + static_cast<std::size_t>(seed)) & 0xFF);
    }
    for (const ImageBits& request : kRequestBits) SetBits(image, request, true);
    return image;
}

// Every saved setting of two images agrees.
::testing::AssertionResult SameSettings(const StatusImage& a, const StatusImage& b)
{
    for (const ImageField& field : kImageLayout) {
        if (!IsSavedSetting(field)) continue;
        for (std::size_t i = field.offset; i < field.end(); ++i) {
            std::uint8_t x = a[i];
            std::uint8_t y = b[i];
            for (const ImageBits& request : kRequestBits) {  // never kept
                if (i != request.offset) continue;
                x &= static_cast<std::uint8_t>(~request.mask);
                y &= static_cast<std::uint8_t>(~request.mask);
            }
            if (x != y) {
                return ::testing::AssertionFailure()
                       << "offset " << i << ": " << int{x} << " against " << int{y};
            }
        }
    }
    return ::testing::AssertionSuccess();
}

class SavedSettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() /
                  ("dryersim-settings-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path File() const { return folder_ / "settings.json"; }
    static std::string Read(const fs::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void Write(const fs::path& file, const std::string& text)
    {
        std::ofstream(file, std::ios::binary) << text;
    }

    fs::path folder_;
};

TEST_F(SavedSettingsFile, RoundTripKeepsEverySettingAndNothingElse)
{
    const StatusImage image = Patterned(3);
    std::string error;
    ASSERT_TRUE(WriteSavedSettings(File(), image, &error)) << error;
    EXPECT_FALSE(fs::exists(File().string() + ".tmp"));  // renamed into place

    const SavedSettingsReading back = ReadSavedSettings(File());
    ASSERT_TRUE(back.settings.has_value()) << back.error;
    EXPECT_TRUE(back.error.empty());
    EXPECT_TRUE(SameSettings(*back.settings, image));
    for (const ImageBits& request : kRequestBits) {
        EXPECT_FALSE(IsSet(*back.settings, request)) << request.offset;
    }
    // the other bits of those bytes are settings
    EXPECT_TRUE(IsSet(*back.settings, siUnitsBit) == IsSet(image, siUnitsBit));
    EXPECT_EQ(BitsValue(*back.settings, Bits(optionByte238, 0xF4)),
              BitsValue(image, Bits(optionByte238, 0xF4)));
    // status bytes, countdowns and the clock are not settings
    EXPECT_EQ(Value(*back.settings, plenumTemp), 0);
    EXPECT_EQ(Value(*back.settings, dryTimerRemaining), 0);
    EXPECT_EQ(ReadCounter(*back.settings, bushelCounter), 0u);
    EXPECT_EQ(Value(*back.settings, ClockByte(ClockPart::hour)), 0);
    EXPECT_EQ(Value(*back.settings, samplerOption), image[samplerOption.offset]);

    // a second save replaces the first whole
    const StatusImage other = Patterned(100);
    ASSERT_TRUE(WriteSavedSettings(File(), other, &error)) << error;
    const SavedSettingsReading again = ReadSavedSettings(File());
    ASSERT_TRUE(again.settings.has_value()) << again.error;
    EXPECT_TRUE(SameSettings(*again.settings, other));
}

TEST_F(SavedSettingsFile, EveryTruncationIsRefused)
{
    const std::string text = SavedSettingsText(Patterned(5));
    // The last byte is the closing line break, which the JSON does not need.
    for (std::size_t length = 0; length + 1 < text.size(); ++length) {
        const SavedSettingsReading r = ParseSavedSettings(text.substr(0, length));
        EXPECT_FALSE(r.settings.has_value()) << "cut at " << length;
        EXPECT_FALSE(r.error.empty());
    }
}

TEST_F(SavedSettingsFile, AnyOneByteChangedIsRefused)
{
    const std::string text = SavedSettingsText(Patterned(9));
    ASSERT_TRUE(ParseSavedSettings(text).settings.has_value());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') continue;  // see below
        std::string damaged = text;
        damaged[i] = static_cast<char>(damaged[i] + 1);
        EXPECT_FALSE(ParseSavedSettings(damaged).settings.has_value())
            << "byte " << i << " '" << text[i] << "' in: " << text.substr(i > 20 ? i - 20 : 0, 40);
    }
    // Line breaks are layout; a changed one (a vertical tab) is no JSON either.
    std::string damaged = text;
    damaged[damaged.find('\n')] = '\v';
    EXPECT_FALSE(ParseSavedSettings(damaged).settings.has_value());
}

TEST_F(SavedSettingsFile, AChangedValueIsCaughtByTheChecksum)
{
    const std::string text = SavedSettingsText(Patterned(1));
    // offset 3 holds 22; 23 is still a byte, so only the checksum tells
    std::string damaged = text;
    const auto at = damaged.find("\"3\": [22]");
    ASSERT_NE(at, std::string::npos) << text;
    damaged.replace(at, 9, "\"3\": [23]");
    const SavedSettingsReading r = ParseSavedSettings(damaged);
    EXPECT_FALSE(r.settings.has_value());
    EXPECT_NE(r.error.find("checksum"), std::string::npos) << r.error;
}

TEST_F(SavedSettingsFile, OtherVersionsFilesAndMissingOnesAreRefusedWithAReason)
{
    const std::string text = SavedSettingsText(Patterned(2));
    std::string version2 = text;
    version2.replace(version2.find("\"version\": 1"), 12, "\"version\": 2");
    const struct {
        const char* what;
        std::string text;
        const char* reason;
    } cases[] = {
        {"another version", version2, "version 2"},
        {"another JSON file", R"({"a": 1})", "not a saved settings file"},
        {"a list", "[1, 2, 3]", "not a saved settings file"},
        {"an empty file", "", "not whole"},
        {"binary bytes",
         std::string("\x7F"
                     "ELF\x02\x01",
                     6),
         "not whole"},
        {"an extra field",
         text.substr(0, text.find("\"checksum\"")) + "\"more\": 1,\n" +
             text.substr(text.find("\"checksum\"")),
         "not laid out"},
    };
    for (const auto& c : cases) {
        Write(File(), c.text);
        const SavedSettingsReading r = ReadSavedSettings(File());
        EXPECT_FALSE(r.settings.has_value()) << c.what;
        EXPECT_NE(r.error.find(c.reason), std::string::npos) << c.what << ": " << r.error;
    }

    const SavedSettingsReading missing = ReadSavedSettings(folder_ / "none.json");
    EXPECT_FALSE(missing.settings.has_value());
    EXPECT_EQ(missing.error, "there is no such file");
    const SavedSettingsReading folder = ReadSavedSettings(folder_);
    EXPECT_FALSE(folder.settings.has_value());
    EXPECT_EQ(folder.error, "it is not a file");
}

TEST_F(SavedSettingsFile, AFailedWriteLeavesThePreviousSetWhole)
{
    std::string error;
    ASSERT_TRUE(WriteSavedSettings(File(), Patterned(4), &error)) << error;
    const std::string before = Read(File());
    // The temporary file cannot be made: a folder stands in its place.
    fs::create_directories(File().string() + ".tmp");
    EXPECT_FALSE(WriteSavedSettings(File(), Patterned(8), &error));
    EXPECT_NE(error.find(File().string() + ".tmp"), std::string::npos) << error;
    EXPECT_EQ(Read(File()), before);
    // A folder that cannot be made (a file stands in its way).
    Write(folder_ / "plain", "x");
    EXPECT_FALSE(WriteSavedSettings(folder_ / "plain" / "settings.json", Patterned(8), &error));
    EXPECT_FALSE(error.empty());
}

// ---- the board acting on the panel's requests ----

std::vector<std::uint8_t> Request(ImageBits bit)
{
    return Command({{unitsAndOptions.offset, {bit.mask}}});
}

TEST_F(SavedSettingsFile, TheBoardSavesToItsFileAndRestoresAllOfItAtOnce)
{
    DryerConfig stopped;
    stopped.running = false;
    DisplayIoBoard board(stopped);
    board.model().SetSettingsFile(File());
    const ImageField setpoint = ForHeater(plenumSetpoint, 1);
    board.Receive(Command({{setpoint.offset, {190, 0}}, {samplerOption.offset, {0xA6}}}), 0);
    board.Receive(Request(saveSettingsRequestBit), 0);
    ASSERT_TRUE(fs::exists(File())) << board.model().settingsMessage();
    EXPECT_NE(board.model().settingsMessage().find(File().string()), std::string::npos);
    const StatusImage saved = board.Image();

    board.Receive(Command({{setpoint.offset, {120, 0}}, {samplerOption.offset, {0x80}}}), 0);
    const auto answer = board.Receive(Request(restoreSettingsRequestBit), 0);
    EXPECT_EQ(Value(answer, setpoint), 190);
    EXPECT_EQ(Value(answer, samplerOption), 0xA6);
    EXPECT_FALSE(IsSet(answer, unitsRequestBits));
    EXPECT_TRUE(SameSettings(board.Image(), saved));

    // A second board (the simulator started again) finds the same set in the file.
    DisplayIoBoard next(stopped);
    next.model().SetSettingsFile(File());
    const auto restored = next.Receive(Request(restoreSettingsRequestBit), 0);
    EXPECT_EQ(Value(restored, setpoint), 190);
}

TEST_F(SavedSettingsFile, ADamagedFileChangesNothingAndSaysWhy)
{
    DryerConfig stopped;
    stopped.running = false;
    DisplayIoBoard board(stopped);
    board.model().SetSettingsFile(File());
    const ImageField setpoint = ForHeater(plenumSetpoint, 1);
    board.Receive(Command({{setpoint.offset, {190, 0}}}), 0);
    board.Receive(Request(saveSettingsRequestBit), 0);
    board.Receive(Command({{setpoint.offset, {120, 0}}}), 0);

    std::string text = Read(File());
    Write(File(), text.substr(0, text.size() / 2));
    const StatusImage before = board.Image();
    ::testing::internal::CaptureStderr();
    board.Receive(Request(restoreSettingsRequestBit), 0);
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(board.Image(), before);  // not one byte restored
    EXPECT_NE(log.find(File().string()), std::string::npos) << log;
    EXPECT_NE(log.find("not whole"), std::string::npos) << log;
    EXPECT_NE(log.find("nothing was changed"), std::string::npos) << log;

    fs::remove(File());
    board.Receive(Request(restoreSettingsRequestBit), 0);
    EXPECT_EQ(board.Image(), before);
    EXPECT_NE(board.model().settingsMessage().find("no such file"), std::string::npos);
}

TEST(SavedSettingsInMemory, ARestoreBeforeAnySaveChangesNothing)
{
    DryerConfig stopped;
    stopped.running = false;
    DisplayIoBoard board(stopped);
    const ImageField setpoint = ForHeater(plenumSetpoint, 1);
    board.Receive(Command({{setpoint.offset, {150, 0}}}), 0);
    const auto answer = board.Receive(Request(restoreSettingsRequestBit), 0);
    EXPECT_EQ(Value(answer, setpoint), 150);
    EXPECT_NE(board.model().settingsMessage().find("none have been saved"), std::string::npos);
}

}  // namespace

namespace {

TEST(SettingsFileOption, DefaultsToTheWorkingFolderAndTakesAPath)
{
    const sim::SimCommandLine plain = sim::ParseSimCommandLine({});
    EXPECT_EQ(plain.options.settingsFile, sim::kDefaultSettingsFile);
    const sim::SimCommandLine given =
        sim::ParseSimCommandLine({"--settings-file", "/var/tmp/board.json"});
    EXPECT_EQ(given.options.settingsFile, "/var/tmp/board.json");
    const sim::SimCommandLine empty = sim::ParseSimCommandLine({"--settings-file", ""});
    EXPECT_NE(empty.result.outcome, platform::CommandLineResult::Outcome::Run);
    EXPECT_NE(sim::SimUsage().find("--settings-file PATH"), std::string::npos);
    // The library's own default (tests, the display's in-process simulator) keeps the set in
    // memory.
    EXPECT_TRUE(sim::SimOptions{}.settingsFile.empty());
}

}  // namespace
