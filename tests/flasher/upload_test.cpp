// The upload against the simulated board network on an in-memory line: which boards it
// programs from which files, what each board's flash holds afterwards, the blocks and progress
// lines, refusals and silence, a refused program file that leaves its board untouched, and the
// end sequence.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "flasher/network_scan.h"
#include "flasher/node_messages.h"
#include "flasher/upload.h"
#include "platform/runtime/clock.h"
#include "platform/storage/files.h"
#include "tests/flasher/hex_text_support.h"
#include "tests/flasher/node_link_support.h"

using namespace hex_test;

namespace {

using Lines = std::vector<std::wstring>;

// What the upload dialog would show, and what the upload asked of it.
struct DialogModel {
    Lines list;       // the upload list as it stands
    Lines everyLine;  // every line ever added, in order (the list is cleared per board)
    std::vector<unsigned> highlighted;
    int closes = 0;
    int copies = 0;
    std::vector<std::wstring> reports;
};
DialogModel gDialog;

constexpr const wchar_t kFolderName[] = L"CAN_DRYER_P101";
constexpr const wchar_t kFolderPath[] = L"\\Hard Disk\\CAN_DRYER_P101";

class UploadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        line = &InstallFakeNodeLine();
        ResetNetworkScanForTest();
        ResetUploadForTest();
        gDialog = DialogModel{};
        folder_ = std::make_unique<TempFolder>();
        platform::SetPanelRoots(folder_->path(), folder_->path() / "usb");
        std::filesystem::create_directories(Release());

        FlasherTickSteps steps;
        steps.addUploadLine = [](const wchar_t* t) {
            gDialog.list.emplace_back(t);
            gDialog.everyLine.emplace_back(t);
        };
        steps.addScanLine = [](const wchar_t* t) { Recorder().scanLines.emplace_back(t); };
        steps.pause = [](DWORD ms) { Recorder().pauses.push_back(ms); };
        steps.resetExchange = [] {
            ResetUploadFlags();
            ResetScanFlags();
        };
        PlugNetworkScan(steps);
        UploadScreenOps ops;
        ops.clearList = [] { gDialog.list.clear(); };
        ops.replaceLastLine = [](const wchar_t* t) {
            if (!gDialog.list.empty()) gDialog.list.pop_back();
            gDialog.list.emplace_back(t);
            gDialog.everyLine.emplace_back(t);
        };
        ops.highlightNodeRow = [](unsigned row) { gDialog.highlighted.push_back(row); };
        ops.closeDialog = [] { ++gDialog.closes; };
        ops.copyExecutables = [] { ++gDialog.copies; };
        ops.reportNotProgrammed = [](const std::wstring& text) { gDialog.reports.push_back(text); };
        PlugUpload(steps, ops);
        SetFlasherTickSteps(steps);
        Control("network");  // Display I/O, one Fan/Heater, Main I/O, Gen 1 Moisture Control
        for (int slot = 3; slot <= 7; ++slot) Control("unplug " + std::to_string(slot));
    }
    void TearDown() override
    {
        ResetUploadForTest();
        ResetNetworkScanForTest();
        ResetNodeLinkForTest();
    }

    std::filesystem::path Release() const
    {
        return folder_->path() / "Hard Disk" / "CAN_DRYER_P101";
    }
    void Control(const std::string& command)
    {
        const std::string reply = line->board.Control(command, 0);
        ASSERT_EQ(reply.rfind("ok", 0), 0u) << command << ": " << reply;
    }
    // A program file holding `bytes` from flash position 0.
    void WriteProgram(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        WriteFile(Release() / name, WriteHex({{0x10000, bytes}}, Layout{}));
    }
    void Scan()
    {
        StartScan();
        TickUntil([] { return NetworkScan.scanDone; }, 400);
        ASSERT_TRUE(NetworkScan.scanDone);
    }
    void StartUpload()
    {
        ListHexFiles(kFolderPath);
        StartUploadRun(kFolderName, kFolderPath);
    }
    // Runs the upload until the dialog is told to close.
    int RunToEnd(int maxTicks = 20000)
    {
        return TickUntil([] { return gDialog.closes > 0; }, maxTicks);
    }
    const std::vector<std::uint8_t>& Flash(NodeId node)
    {
        return line->board.network().board(static_cast<int>(node)).flash;
    }
    // The flash holds `bytes` from position 0 and reads erased (0xFF) behind them.
    void ExpectFlash(NodeId node, const std::vector<std::uint8_t>& bytes)
    {
        const std::vector<std::uint8_t>& flash = Flash(node);
        ASSERT_GE(flash.size(), bytes.size()) << static_cast<int>(node);
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), flash.begin()))
            << static_cast<int>(node);
        EXPECT_TRUE(std::all_of(flash.begin() + static_cast<std::ptrdiff_t>(bytes.size()),
                                flash.end(), [](std::uint8_t b) { return b == 0xFF; }));
    }
    // The write requests sent, in order.
    std::vector<std::vector<std::uint8_t>> WriteRequests() const
    {
        std::vector<std::vector<std::uint8_t>> writes;
        for (const auto& r : line->sent) {
            if (!r.empty() && r[0] == static_cast<std::uint8_t>(NodeCommand::WRITE_BLOCK)) {
                writes.push_back(r);
            }
        }
        return writes;
    }
    static int Count(const Lines& lines, const std::wstring& text)
    {
        return static_cast<int>(std::count(lines.begin(), lines.end(), text));
    }

    FakeNodeLine* line = nullptr;
    std::unique_ptr<TempFolder> folder_;
};

TEST_F(UploadTest, EveryPresentBoardGetsItsOwnProgramByteForByte)
{
    const auto di = Pattern(3000, 1), fh = Pattern(5000, 2), mi = Pattern(70000, 3),
               mc = Pattern(777, 4);
    WriteProgram("DI.HEX", di);
    WriteProgram("fh.hex", fh);  // the listing goes by name whatever its case
    WriteProgram("MI.HEX", mi);
    WriteProgram("MC.HEX", mc);
    WriteProgram("MC_GEN2.HEX", Pattern(100, 5));
    Scan();
    ListHexFiles(kFolderPath);
    EXPECT_EQ(UploadNodeListLines(), (Lines{L"Display I/O (Gen 1)", L"Fan/Heater #1 (Gen 1)",
                                            L"Main I/O (Gen 1)", L"Moisture Control (Gen 1)"}));
    EXPECT_TRUE(MissingProgramFileLines().empty());
    StartUpload();
    RunToEnd();
    ASSERT_EQ(gDialog.closes, 1);
    ExpectFlash(NodeId::displayIo, di);
    ExpectFlash(NodeId::fanHeater1, fh);
    ExpectFlash(NodeId::mainIo, mi);
    ExpectFlash(NodeId::moistureControl, mc);
    // The node list was walked row by row, and the links were all closed again.
    EXPECT_EQ(gDialog.highlighted, (std::vector<unsigned>{0, 1, 2, 3}));
    EXPECT_EQ(line->board.network().linkedSlot(), 0);
    EXPECT_EQ(Count(gDialog.everyLine, L" >> Link with Moisture Control Closed."), 1);
    // The end: copy notice, copy, completion, each on a tick of its own.
    EXPECT_EQ(gDialog.copies, 1);
    ASSERT_GE(gDialog.everyLine.size(), 2u);
    EXPECT_EQ(gDialog.everyLine.back(), kUploadCompleteLine);
    EXPECT_EQ(*(gDialog.everyLine.end() - 2), L" ");
    EXPECT_EQ(Count(gDialog.everyLine, kCopyingExecutablesLine), 1);
    EXPECT_FALSE(Upload.active);
    EXPECT_TRUE(gDialog.reports.empty());
}

TEST_F(UploadTest, BoardStartShowsItsFileAndTheOpeningLinesOfTheListing)
{
    WriteProgram("DI.HEX", Pattern(512, 1));
    WriteFile(Release() / "Dryer.exe", "x");
    Control("unplug 2");
    Control("unplug 14");
    Control("unplug 15");
    Scan();
    StartUpload();
    const std::size_t diSize = std::filesystem::file_size(Release() / "DI.HEX");
    wchar_t sizeText[16];
    std::swprintf(sizeText, 16, L"%06d", static_cast<int>(diSize));
    EXPECT_EQ(
        gDialog.list,
        (Lines{L"Starting Program Upload...  Please Wait.", L"   ",
               L"Program Selection is CAN_DRYER_P101", L"   ", L"  This Program File Contains:",
               std::wstring(L"         DI.HEX.........................") + sizeText,
               std::wstring(86, L'-')}));
    FlasherTick();  // the scheduler starts the Display I/O
    EXPECT_EQ(gDialog.list, (Lines{L"***** UPLOADING PROGRAM TO DISPLAY I/O NODE *****", L"  ",
                                   L" - Reading DI.HEX File...",
                                   L"     Number of Bytes Read:  " + std::to_wstring(diSize), L"  ",
                                   L" << Attempting to Open Link to Display I/O..."}));
    EXPECT_EQ(Recorder().pauses.front(), kBoardStartPauseMs);
}

TEST_F(UploadTest, BlocksAreNumberedAndPaddedAndProgressReplacesTheLastLine)
{
    struct Case {
        std::size_t bytes;
        Lines progress;
    };
    const Case cases[] = {
        {512, {L" >> File Upload Progress:  50.0 %", L" >> File Upload Progress:  100.0 %"}},
        {1000,
         {L" >> File Upload Progress:  25.6 %", L" >> File Upload Progress:  51.2 %",
          L" >> File Upload Progress:  76.8 %", L" >> File Upload Progress:  100.0 %"}},
    };
    Control("unplug 2");
    Control("unplug 14");
    Control("unplug 15");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        const auto image = Pattern(c.bytes, 7);
        WriteProgram("DI.HEX", image);
        Scan();
        line->sent.clear();
        gDialog = DialogModel{};
        StartUpload();
        // Up to the moment the board's link is closed again.
        TickUntil([] { return NodeOutcome.linkClosed; }, 2000);
        const auto writes = WriteRequests();
        ASSERT_EQ(writes.size(), c.progress.size());
        for (std::size_t b = 0; b < writes.size(); ++b) {
            EXPECT_EQ(writes[b][2], b);  // block number
            for (std::size_t i = 0; i < kBlockDataSize; ++i) {
                const std::size_t at = b * kBlockDataSize + i;
                EXPECT_EQ(writes[b][3 + i], at < image.size() ? image[at] : 0xFF) << at;
            }
        }
        // Each progress line took the place of the one before; the first replaced the blank
        // line after the accepted start address, and a blank line follows the last.
        Lines progress;
        std::copy_if(
            gDialog.everyLine.begin(), gDialog.everyLine.end(), std::back_inserter(progress),
            [](const std::wstring& l) { return l.rfind(L" >> File Upload Progress:", 0) == 0; });
        EXPECT_EQ(progress, c.progress);
        const auto accepted =
            std::find(gDialog.list.begin(), gDialog.list.end(), kStartAddressAcceptedLine);
        ASSERT_NE(accepted, gDialog.list.end());
        EXPECT_EQ(*(accepted + 1), c.progress.back());
        EXPECT_EQ(*(accepted + 2), L"  ");
        ExpectFlash(NodeId::displayIo, image);
        RunToEnd();
    }
}

TEST_F(UploadTest, BlockNumbersWrapAfter255)
{
    Control("unplug 2");
    Control("unplug 14");
    Control("unplug 15");
    const auto image = Pattern(257 * kBlockDataSize + 1, 9);
    WriteProgram("DI.HEX", image);
    Scan();
    StartUpload();
    RunToEnd();
    const auto writes = WriteRequests();
    ASSERT_EQ(writes.size(), 258u);
    EXPECT_EQ(writes[255][2], 255);
    EXPECT_EQ(writes[256][2], 0);
    EXPECT_EQ(writes[257][2], 1);
    ExpectFlash(NodeId::displayIo, image);
}

TEST_F(UploadTest, SevenRefusedWritesInARowEndTheBoardAndSixDoNot)
{
    Control("unplug 2");
    Control("unplug 15");
    WriteProgram("DI.HEX", Pattern(600, 1));
    WriteProgram("MI.HEX", Pattern(600, 2));
    Scan();
    Control("refuse write 6");  // the Display I/O's first block: refused six times
    StartUpload();
    RunToEnd();
    EXPECT_EQ(Count(gDialog.everyLine, kWriteFailedLine), 6);
    EXPECT_EQ(Count(gDialog.everyLine, kProgrammingTerminatedLine), 0);
    ExpectFlash(NodeId::displayIo, Pattern(600, 1));

    gDialog = DialogModel{};
    Control("network");
    Control("unplug 2");
    Control("unplug 15");
    for (int slot = 3; slot <= 7; ++slot) Control("unplug " + std::to_string(slot));
    Scan();
    Control("refuse write 7");
    StartUpload();
    RunToEnd();
    EXPECT_EQ(Count(gDialog.everyLine, kWriteFailedLine), 7);
    EXPECT_EQ(Count(gDialog.everyLine, kProgrammingTerminatedLine), 1);
    // The Display I/O was abandoned after its erase; the Main I/O was programmed after it.
    EXPECT_TRUE(Flash(NodeId::displayIo).empty());
    ExpectFlash(NodeId::mainIo, Pattern(600, 2));
}

TEST_F(UploadTest, UnansweredRequestIsSentAgainEvery50TicksTenTimesAtMost)
{
    Control("unplug 2");
    Control("unplug 14");
    Control("unplug 15");
    WriteProgram("DI.HEX", Pattern(300, 1));
    Scan();
    Control("drop 1000");
    StartUpload();
    FlasherTick();  // the Display I/O is started, its open request prepared and sent
    line->sent.clear();
    for (int i = 0; i < 50; ++i) FlasherTick();
    EXPECT_TRUE(line->sent.empty());
    FlasherTick();
    ASSERT_EQ(line->sent.size(), 1u);
    EXPECT_EQ(Count(gDialog.everyLine, kTryingAgainLine), 1);
    for (int i = 0; i < 51 * 12; ++i) FlasherTick();
    EXPECT_EQ(line->sent.size(), 10u);
    EXPECT_EQ(Count(gDialog.everyLine, kTryingAgainLine), 10);
    EXPECT_GE(Count(gDialog.everyLine, kNoResponseLine), 1);
    EXPECT_TRUE(Upload.nodeInProgress);  // waits for the operator's EXIT
}

TEST_F(UploadTest, RefusedProgramFileLeavesItsBoardUntouched)
{
    // The Fan/Heater's file has a bad checksum on its third line; the other boards go on.
    std::string fh = WriteHex({{0x10000, Pattern(2000, 2)}}, Layout{});
    const std::size_t third = fh.find('\n', fh.find('\n') + 1) + 1;
    fh[fh.find('\n', third) - 1] ^= 0x01;  // the last checksum digit
    WriteFile(Release() / "FH.HEX", fh);
    WriteProgram("DI.HEX", Pattern(700, 1));
    WriteProgram("MI.HEX", Pattern(800, 3));
    WriteProgram("MC.HEX", Pattern(900, 4));
    Scan();
    // The Fan/Heater holds an old program that must survive.
    line->board.network().board(2).flash = Pattern(4096, 42);
    StartUpload();
    RunToEnd();
    EXPECT_EQ(Flash(NodeId::fanHeater1), Pattern(4096, 42));
    EXPECT_EQ(Count(gDialog.everyLine, L" << Attempting to Open Link to Fan/Heater #1..."), 0);
    EXPECT_EQ(Count(gDialog.everyLine, L" >> FH.HEX Line 3: Checksum Error... File Rejected!"), 1);
    EXPECT_EQ(Count(gDialog.everyLine, L" >> Fan/Heater #1 will not be programmed."), 1);
    ExpectFlash(NodeId::displayIo, Pattern(700, 1));
    ExpectFlash(NodeId::mainIo, Pattern(800, 3));
    ExpectFlash(NodeId::moistureControl, Pattern(900, 4));
    ASSERT_EQ(gDialog.reports.size(), 1u);
    EXPECT_EQ(gDialog.reports[0],
              L"Fan/Heater #1: FH.HEX Line 3: Checksum Error... File Rejected!");
    // The refusal stayed above the Main I/O's lines instead of being cleared with its board.
    const auto refusal = std::find(gDialog.everyLine.begin(), gDialog.everyLine.end(),
                                   L" >> Fan/Heater #1 will not be programmed.");
    EXPECT_EQ(*(refusal + 1), L"***** UPLOADING PROGRAM TO MAIN I/O NODE *****");
}

TEST_F(UploadTest, Gen2MoistureControlReadsItsOwnFileEvenWhenOnlyGen1IsListed)
{
    Control("unplug 1");
    Control("unplug 2");
    Control("unplug 14");
    Control("generation 15 2");
    WriteProgram("MC.HEX", Pattern(500, 4));
    Scan();
    EXPECT_EQ(MoistureControlGeneration(), 1);
    ListHexFiles(kFolderPath);
    EXPECT_EQ(UploadNodeListLines(), (Lines{L"Moisture Control (Gen 2)"}));
    line->board.network().board(15).flash = Pattern(1024, 43);
    StartUpload();
    RunToEnd();
    EXPECT_EQ(Count(gDialog.everyLine, L" - Reading MC_GEN2.HEX File..."), 1);
    EXPECT_EQ(Count(gDialog.everyLine, L"     Number of Bytes Read:  0"), 1);
    EXPECT_EQ(Flash(NodeId::moistureControl), Pattern(1024, 43));  // never erased

    WriteProgram("MC_GEN2.HEX", Pattern(600, 5));
    gDialog = DialogModel{};
    StartUpload();
    RunToEnd();
    ExpectFlash(NodeId::moistureControl, Pattern(600, 5));
}

TEST_F(UploadTest, FolderWithOnlyFanHeaterProgramsWarnsOfTheOtherBoards)
{
    for (int slot = 3; slot <= 7; ++slot) Control("plug " + std::to_string(slot) + " 10");
    WriteProgram("FH.HEX", Pattern(400, 2));
    Scan();
    ListHexFiles(kFolderPath);
    Lines expected = {L"Display IO Program File Not present... Display IO will not be programmed!",
                      L"Main IO Program File Not present... Main IO will not be programmed!",
                      L"Moisture Control Program File not present... M/C will not be programmed!"};
    EXPECT_EQ(MissingProgramFileLines(), expected);
    EXPECT_EQ(UploadNodeListLines().size(), 6u);
    StartUpload();
    RunToEnd();
    for (int node = 2; node <= 7; ++node) ExpectFlash(static_cast<NodeId>(node), Pattern(400, 2));
    EXPECT_TRUE(Flash(NodeId::displayIo).empty());

    // Without FH.HEX every present Fan/Heater is named, with the panel's own wording.
    std::filesystem::remove(Release() / "FH.HEX");
    WriteProgram("DI.HEX", Pattern(10, 1));
    WriteProgram("MI.HEX", Pattern(10, 1));
    WriteProgram("MC.HEX", Pattern(10, 1));
    ListHexFiles(kFolderPath);
    const Lines missing = MissingProgramFileLines();
    ASSERT_EQ(missing.size(), 6u);
    EXPECT_EQ(missing[0],
              L"Fan/Heater #1 Program File Not present... Fan/Heater #1 will not be progammed!");
    EXPECT_EQ(missing[5],
              L"Fan/Heater #6 Program File Not present... Fan/Heater #6 will not be progammed!");
}

TEST_F(UploadTest, StartingAgainAfterExitBeginsWithTheFirstBoardFromItsStart)
{
    Control("unplug 14");
    Control("unplug 15");
    WriteProgram("DI.HEX", Pattern(4000, 1));
    WriteProgram("FH.HEX", Pattern(3000, 2));
    Scan();
    StartUpload();
    TickUntil([] { return Upload.imagePosition >= 2048; }, 2000);
    StopUploadRun();  // EXIT in the middle of the Display I/O
    for (int i = 0; i < 200; ++i) FlasherTick();
    EXPECT_EQ(Upload.imagePosition, 2048u);  // nothing moved while stopped
    line->sent.clear();
    gDialog = DialogModel{};
    StartUpload();
    RunToEnd();
    const auto writes = WriteRequests();
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.front()[2], 0);
    ExpectFlash(NodeId::displayIo, Pattern(4000, 1));
    ExpectFlash(NodeId::fanHeater1, Pattern(3000, 2));
}

}  // namespace

namespace {

// The 2 s pause after a board's file is read holds the link, tick by tick on the panel clock;
// nothing blocks, so the screen keeps painting meanwhile.
TEST_F(UploadTest, BoardStartPauseHoldsTheLinkForTwoSeconds)
{
    Control("unplug 2");
    Control("unplug 14");
    Control("unplug 15");
    WriteProgram("DI.HEX", Pattern(300, 1));
    Scan();
    FlasherTickSteps steps;  // the fixture's steps without the pause recorder
    steps.addUploadLine = [](const wchar_t* t) { gDialog.list.emplace_back(t); };
    steps.resetExchange = [] {
        ResetUploadFlags();
        ResetScanFlags();
    };
    PlugNetworkScan(steps);
    PlugUpload(steps, UploadScreenOps{});
    SetFlasherTickSteps(steps);
    line->sent.clear();
    StartUpload();
    const auto tick = [] {
        platform::SetVirtualNow(platform::NowMs() + kFlasherTickMs);
        FlasherTick();
    };
    tick();  // the file is read, then the pause
    EXPECT_TRUE(FlasherHolding());
    for (int i = 1; i < 40; ++i) tick();
    EXPECT_TRUE(line->sent.empty());
    tick();  // 2 s later: the open request
    ASSERT_EQ(line->sent.size(), 1u);
    EXPECT_EQ(line->sent[0][0], static_cast<std::uint8_t>(NodeCommand::LINK_CONTROL));
}

}  // namespace
