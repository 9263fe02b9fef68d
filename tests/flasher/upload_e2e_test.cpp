// NodeFlasher end to end, as a service technician uses it: scan, select the release, upload,
// against the simulated board network on a pseudo-terminal. Afterwards each board's flash,
// dumped by the simulator as Intel HEX, must hold exactly what Python's intelhex reads from the
// board's program file. The same holds with damaged answers on the line, and a malformed
// program file leaves its board as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "flasher/app/flasher_dialogs.h"
#include "flasher/network_scan.h"
#include "flasher/upload.h"
#include "tests/flasher/flasher_run_support.h"
#include "tests/flasher/hex_text_support.h"

using namespace flasher_test;
namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kFlashOrigin = 0x10000;  // linear address of flash position 0

struct BoardFile {
    int slot;
    const char* file;
    int seed;
    int bytes;
};
// The standard network (one Fan/Heater) and a program for each board, with gaps.
constexpr BoardFile kBoardFiles[] = {{1, "DI.HEX", 11, 3000},
                                     {2, "FH.HEX", 12, 2500},
                                     {14, "MI.HEX", 13, 4000},
                                     {15, "MC.HEX", 14, 1800}};

fs::path Release(const fs::path& root)
{
    return root / "Hard Disk" / "CAN_DRYER_P101";
}

void WriteRelease(const fs::path& root)
{
    fs::create_directories(Release(root));
    fs::create_directories(root / "Hard Disk" / "Languages");
    for (const BoardFile& b : kBoardFiles) {
        ASSERT_TRUE(hex_test::OracleMakeProgram(Release(root) / b.file, b.seed, b.bytes));
    }
    for (const char* exe : {"Dryer.exe", "Kickoff.exe", "OrbitDryer.exe"}) {
        hex_test::WriteFile(Release(root) / exe, "#!/bin/sh\n");
    }
}

class UploadEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        hex_test::TempFolder probe;
        ASSERT_TRUE(hex_test::OracleAvailable(probe.path()))
            << "python3-intelhex is missing: run scripts/setup";
        ResetNetworkScanForTest();
        ResetUploadForTest();
        InstallNodeFlasherScreens();
    }
    void TearDown() override
    {
        SetFlasherScreenHooks({});
        ResetUploadForTest();
        ResetNetworkScanForTest();
    }

    // One 50 ms tick, then time for the simulator to answer what the tick sent.
    static void Tick(FlasherRun& run)
    {
        sim::DisplayIoSimulator* sim = run.simulator();
        const std::uint64_t before = sim->requestsAnswered();
        run.Advance(50);
        sim->WaitForAnswered(before + 1, 20);
    }
    static bool TickUntil(FlasherRun& run, const std::function<bool()>& done, int maxTicks)
    {
        for (int i = 0; i < maxTicks; ++i) {
            if (done()) return true;
            Tick(run);
        }
        return done();
    }

    static bool UploadClosed()
    {
        const auto windows = platform::InspectWindows();
        return !windows.empty() && std::none_of(windows.begin(), windows.end(), [](const auto& w) {
            return w.title == kUploadCaption;
        });
    }

    static void ScanAndSelect(FlasherRun& run)
    {
        ASSERT_TRUE(platform::PressControl(kCmdScanNetwork));
        ASSERT_TRUE(FindTitled(kScanCaption).has_value());
        ASSERT_TRUE(TickUntil(
            run,
            [] {
                const auto list = FindControl(kScanList);
                return list && !list->rows.empty() && list->rows.back().cells.at(0) == L"  " &&
                       list->rows.size() > 8;
            },
            400));
        EXPECT_TRUE(platform::SaveScreenshot(fs::temp_directory_path() / "nodeflasher-scan.png"));
        ASSERT_TRUE(platform::PressControl(kScanExit));
        ASSERT_TRUE(platform::PressControl(kCmdSelectProgram));
        ASSERT_TRUE(platform::PressControl(kSelectionAccept));
        ASSERT_TRUE(FindControl(kCmdStartUpload)->enabled);
    }

    // START UPLOAD, and ticks until the upload dialog has closed itself. `during` runs once on
    // each tick (faults, screenshots).
    static void Upload(FlasherRun& run, const std::function<void(int tick)>& during = {})
    {
        ASSERT_TRUE(platform::PressControl(kCmdStartUpload));
        ASSERT_TRUE(FindTitled(kUploadCaption).has_value());
        int tick = 0;
        const bool closed = TickUntil(
            run,
            [&] {
                if (during) during(tick++);
                // A report of boards left unprogrammed is answered like an operator would.
                const auto box = TopMessageBox();
                if (box && box->title == kNotProgrammedCaption) {
                    platform::AnswerMessageBox(L"OK");
                }
                return UploadClosed();
            },
            8000);
        if (!closed) {
            // What the operator would see, to tell where it stopped.
            if (const auto list = FindControl(kUploadList)) {
                for (const auto& row : list->rows) {
                    const std::wstring& text = row.cells.at(0);
                    ADD_FAILURE() << std::string(text.begin(), text.end());
                }
            }
        }
        ASSERT_TRUE(closed) << "the upload did not finish";
    }

    // The board's flash as the simulator dumps it, read by intelhex from flash position 0.
    static std::vector<std::uint8_t> FlashImage(FlasherRun& run, int slot)
    {
        const fs::path dump = run.root() / ("flash-" + std::to_string(slot) + ".hex");
        const std::string reply =
            run.simulator()->Control("flash " + std::to_string(slot) + " " + dump.string());
        EXPECT_EQ(reply.rfind("ok", 0), 0u) << reply;
        return hex_test::OracleImage(dump, kFlashOrigin).value_or(std::vector<std::uint8_t>{});
    }

    // The flash holds intelhex's image of `file`, and reads erased (0xFF) everywhere else.
    static void ExpectProgrammed(FlasherRun& run, int slot, const fs::path& file)
    {
        SCOPED_TRACE("slot " + std::to_string(slot) + " " + file.filename().string());
        const auto expected = hex_test::OracleImage(file, kFlashOrigin);
        ASSERT_TRUE(expected.has_value());
        const auto flash = FlashImage(run, slot);
        ASSERT_GE(flash.size(), expected->size());
        for (std::size_t i = 0; i < flash.size(); ++i) {
            const std::uint8_t want = i < expected->size() ? (*expected)[i] : 0xFF;
            ASSERT_EQ(flash[i], want) << "flash position " << i;
        }
    }
};

TEST_F(UploadEndToEnd, EveryBoardHoldsItsFileByteForByte)
{
    RunSetup setup;
    setup.files = WriteRelease;
    FlasherRun run(setup);
    run.PastSplash();
    ScanAndSelect(run);
    bool shot = false;
    Upload(run, [&](int) {
        const auto list = FindControl(kUploadList);
        if (shot || !list || list->rows.empty()) return;
        if (list->rows.back().cells.at(0).rfind(L" >> File Upload Progress:", 0) != 0) return;
        shot = platform::SaveScreenshot(fs::temp_directory_path() / "nodeflasher-upload.png");
    });
    EXPECT_TRUE(shot);
    for (const BoardFile& b : kBoardFiles)
        ExpectProgrammed(run, b.slot, Release(run.root()) / b.file);
    // The display programs were copied to the panel's disk.
    for (const char* exe : {"Dryer.exe", "Kickoff.exe", "OrbitDryer.exe"}) {
        EXPECT_TRUE(fs::exists(run.root() / "Hard Disk" / exe)) << exe;
    }
}

TEST_F(UploadEndToEnd, DamagedAnswersAreSentAgainAndNeverTakenForAYes)
{
    RunSetup setup;
    setup.files = WriteRelease;
    FlasherRun run(setup);
    run.PastSplash();
    ScanAndSelect(run);
    // Now and then an answer comes back damaged: a wrong CRC, one byte short, noise in front.
    // Each costs a resend 2.5 s later; most of them hit answers to written blocks.
    const char* faults[] = {"badcrc 1", "short 1", "noise 7", "badcrc 2"};
    int injected = 0;
    Upload(run, [&](int tick) {
        if (tick % 90 != 60 || injected >= 12) return;
        EXPECT_EQ(run.simulator()->Control(faults[injected++ % 4]).rfind("ok", 0), 0u);
    });
    EXPECT_EQ(injected, 12);
    // The damaged answers were seen and thrown away (read once the panel is idle).
    EXPECT_GE(NodeLink.answersRejected, 8u);
    for (const BoardFile& b : kBoardFiles)
        ExpectProgrammed(run, b.slot, Release(run.root()) / b.file);
}

TEST_F(UploadEndToEnd, MalformedProgramFileLeavesItsBoardAsItWas)
{
    RunSetup setup;
    setup.files = WriteRelease;
    FlasherRun run(setup);
    run.PastSplash();
    ScanAndSelect(run);
    Upload(run);
    const std::vector<std::uint8_t> before = FlashImage(run, 2);
    ASSERT_FALSE(before.empty());

    // A new Fan/Heater program with a character that is not a hex digit in its middle.
    const fs::path fh = Release(run.root()) / "FH.HEX";
    ASSERT_TRUE(hex_test::OracleMakeProgram(fh, 99, 2500));
    std::string text = ReadFile(fh);
    text[text.size() / 2 + (text[text.size() / 2] == '\r' || text[text.size() / 2] == '\n' ||
                                    text[text.size() / 2] == ':'
                                ? 3
                                : 0)] = 'G';
    hex_test::WriteFile(fh, text);
    ASSERT_TRUE(hex_test::OracleMakeProgram(Release(run.root()) / "DI.HEX", 98, 2000));

    bool reported = false;
    ASSERT_TRUE(platform::PressControl(kCmdStartUpload));
    ASSERT_TRUE(TickUntil(
        run,
        [&] {
            const auto box = TopMessageBox();
            if (box && box->title == kNotProgrammedCaption) {
                reported = box->texts.empty() ||
                           std::any_of(box->texts.begin(), box->texts.end(), [](const auto& t) {
                               return t.text.find(L"Fan/Heater #1: FH.HEX Line") == 0;
                           });
                platform::AnswerMessageBox(L"OK");
            }
            return UploadClosed();
        },
        8000));
    EXPECT_TRUE(reported);
    EXPECT_EQ(FlashImage(run, 2), before);  // the Fan/Heater kept its old program
    ExpectProgrammed(run, 1, Release(run.root()) / "DI.HEX");  // the others went on
}

}  // namespace
