// The network scan against the simulated board network: the request it sends, the report it
// lists for a healthy network and for each fault the network can show, and the census of the
// boards that the upload will program.
#include "flasher/network_scan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flasher/node_messages.h"
#include "tests/flasher/node_link_support.h"

namespace {

using Lines = std::vector<std::wstring>;
const std::wstring kRule(107, L'-');

const Lines kReportHead = {
    L"Scan Complete... Results Listed Below.",
    L"  ",
    L"BOOT    DRYER     SLAVE           NODE                               STATUS /",
    L"VER#    VER #    ADDRESS         TYPE                              WARNINGS",
    kRule,
};

// The lines of the standard network with one Fan/Heater, all at 2.01 / 1.05.
const std::wstring kDisplayIoLine =
    L"2.01 .... 1.05 ........ NA ....... DISPLAY IO (GEN1) .......... NOTHING TO REPORT";
const std::wstring kFanHeater1Line =
    L"2.01 .... 1.05 ........ 01 ....... FAN/HEATER (GEN1) ......... NOTHING TO REPORT";
const std::wstring kMainIoLine =
    L"2.01 .... 1.05 ........ NA ....... MAIN IO (GEN1) ............... NOTHING TO REPORT";
const std::wstring kMoistureLine =
    L"2.01 .... 1.05 ........ NA ....... MOISTURE CON (GEN1) ..... NOTHING TO REPORT";

Lines Report(const Lines& boardLines)
{
    Lines all = kReportHead;
    for (const std::wstring& l : boardLines) {
        all.push_back(l);
        all.push_back(L"  ");
    }
    return all;
}

Lines WithScanStart(const Lines& report)
{
    Lines all = {L"Scan of Network in Progress...", L"  "};
    all.insert(all.end(), report.begin(), report.end());
    return all;
}

int scanListClears = 0;

class NetworkScanTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        line = &InstallFakeNodeLine();
        ResetNetworkScanForTest();
        scanListClears = 0;
        FlasherTickSteps steps;
        steps.addUploadLine = [](const wchar_t* t) { Recorder().uploadLines.emplace_back(t); };
        steps.addScanLine = [](const wchar_t* t) { Recorder().scanLines.emplace_back(t); };
        steps.pause = [](DWORD ms) { Recorder().pauses.push_back(ms); };
        PlugNetworkScan(steps);
        SetFlasherTickSteps(steps);
        SetScanListClear([] {
            Recorder().scanLines.clear();
            ++scanListClears;
        });
        Control("network");
        Control("unplug 3");  // the standard network with one Fan/Heater
        Control("unplug 4");
        Control("unplug 5");
        Control("unplug 6");
        Control("unplug 7");
    }
    void TearDown() override
    {
        ResetNetworkScanForTest();
        ResetNodeLinkForTest();
    }

    void Control(const std::string& command)
    {
        const std::string reply = line->board.Control(command, 0);
        ASSERT_EQ(reply.rfind("ok", 0), 0u) << command << ": " << reply;
    }
    // Starts a scan and runs ticks until its report is in (or `maxTicks` ran).
    int Scan(int maxTicks = 400)
    {
        StartScan();
        return TickUntil([] { return NetworkScan.scanDone; }, maxTicks);
    }
    static const Lines& ScanLines() { return Recorder().scanLines; }

    FakeNodeLine* line = nullptr;
};

TEST_F(NetworkScanTest, HealthyNetworkListsEveryBoardAndMarksItPresent)
{
    const int ticks = Scan();
    EXPECT_TRUE(NetworkScan.scanDone);
    EXPECT_FALSE(NetworkScan.scanRequested);
    EXPECT_FALSE(NetworkScan.scanSent);
    // Prepared on the first tick, written by its transmit step, decoded on the next tick.
    EXPECT_EQ(ticks, 2);
    ASSERT_EQ(line->sent.size(), 1u);
    EXPECT_EQ(line->sent[0].size(), 4u);
    EXPECT_EQ(line->sent[0][0], 0x05);
    EXPECT_EQ(line->sent[0][1], 0x00);
    EXPECT_EQ(ScanLines(),
              WithScanStart(Report({kDisplayIoLine, kFanHeater1Line, kMainIoLine, kMoistureLine})));
    EXPECT_EQ(scanListClears, 1);

    EXPECT_TRUE(ScanPresent(NodeId::displayIo));
    EXPECT_TRUE(ScanPresent(NodeId::fanHeater1));
    EXPECT_FALSE(ScanPresent(static_cast<NodeId>(3)));
    EXPECT_TRUE(ScanPresent(NodeId::mainIo));
    EXPECT_TRUE(ScanPresent(NodeId::moistureControl));
    EXPECT_FALSE(ScanPresent(NodeId::none));
    EXPECT_EQ(MoistureControlGeneration(), 0);
    const ScanNodeResult& fh = ScanResult.nodes[2];
    EXPECT_EQ(fh.type, kScanTypeFanHeater);
    EXPECT_EQ(fh.address, 2);
    EXPECT_EQ(fh.bootVersion, 201);
    EXPECT_EQ(fh.dryerVersion, 105);
    EXPECT_EQ(fh.generationCode, 0);
    EXPECT_TRUE(Recorder().uploadLines.empty());
}

TEST_F(NetworkScanTest, SixFanHeatersAreListedInSlotOrder)
{
    Control("network");
    for (int slot = 3; slot <= 7; ++slot) Control("plug " + std::to_string(slot) + " 10");
    Scan();
    Lines boards = {kDisplayIoLine, kFanHeater1Line};
    for (int n = 2; n <= 6; ++n) {
        boards.push_back(L"2.01 .... 1.05 ........ 0" + std::to_wstring(n) +
                         L" ....... FAN/HEATER (GEN1) ......... NOTHING TO REPORT");
    }
    boards.push_back(kMainIoLine);
    boards.push_back(kMoistureLine);
    EXPECT_EQ(ScanLines(), WithScanStart(Report(boards)));
    for (int node = 2; node <= 7; ++node) EXPECT_TRUE(ScanPresent(static_cast<NodeId>(node)));
}

TEST_F(NetworkScanTest, MissingMainIoIsLeftOutOfTheListAndNotPresent)
{
    Control("unplug 14");
    Scan();
    EXPECT_EQ(ScanLines(), WithScanStart(Report({kDisplayIoLine, kFanHeater1Line, kMoistureLine})));
    EXPECT_FALSE(ScanPresent(NodeId::mainIo));
    EXPECT_FALSE(ScanResult.nodes[14].listed);
    EXPECT_TRUE(ScanPresent(NodeId::displayIo));
}

TEST_F(NetworkScanTest, DifferingVersionsAreShownPerBoard)
{
    Control("version 2 5 255");    // 0.05 and 2.55: the widest a byte can give
    Control("version 14 100 99");  // 1.00 and 0.99
    Scan();
    EXPECT_EQ(ScanLines(),
              WithScanStart(Report(
                  {kDisplayIoLine,
                   L"0.05 .... 2.55 ........ 01 ....... FAN/HEATER (GEN1) ......... NOTHING TO "
                   L"REPORT",
                   L"1.00 .... 0.99 ........ NA ....... MAIN IO (GEN1) ............... NOTHING TO "
                   L"REPORT",
                   kMoistureLine})));
    EXPECT_EQ(ScanResult.nodes[2].bootVersion, 5);
    EXPECT_EQ(ScanResult.nodes[2].dryerVersion, 255);
    EXPECT_TRUE(ScanPresent(NodeId::fanHeater1));  // versions alone keep nobody from the upload
}

TEST_F(NetworkScanTest, ConflictingFanHeaterAddressesMarkTheSecondAndProgramNeither)
{
    // Fan/Heater #1 and #2 both set to address 3 (Fan/Heater #2).
    Control("plug 3 10");
    Control("address 2 3");
    Scan();
    EXPECT_EQ(ScanLines(),
              WithScanStart(Report(
                  {kDisplayIoLine,
                   L"2.01 .... 1.05 ........ 02 ....... FAN/HEATER (GEN1) ......... NOTHING TO "
                   L"REPORT",
                   L"2.01 .... 1.05 ........ 02 ....... FAN/HEATER (GEN1) ......... ** "
                   L"CONFLICTING ADDRESS",
                   kMainIoLine, kMoistureLine})));
    // Two boards answer to NodeId 3: no program goes to it, nor to the empty NodeId 2.
    EXPECT_FALSE(ScanPresent(static_cast<NodeId>(3)));
    EXPECT_FALSE(ScanPresent(NodeId::fanHeater1));
    EXPECT_EQ(ScanResult.nodes[3].status, 0x01);  // the first keeps its own status
}

TEST_F(NetworkScanTest, ConflictReplacesTheStatusSoTheGenerationReadsGen1)
{
    Control("plug 3 10");
    Control("address 2 3");
    Control("generation 3 2");
    Scan();
    ASSERT_EQ(ScanLines().size(), 2u + 5u + 2u * 5u);
    EXPECT_EQ(ScanLines()[2 + 5 + 2 * 2],
              L"2.01 .... 1.05 ........ 02 ....... FAN/HEATER (GEN1) ......... ** CONFLICTING "
              L"ADDRESS");
    EXPECT_EQ(ScanResult.nodes[3].generationCode, 0);  // the first record's own
}

TEST_F(NetworkScanTest, InvalidAddressIsShownAndNotProgrammed)
{
    Control("address 2 9");  // a Fan/Heater on a Fan/Heater Interface address
    Scan();
    EXPECT_EQ(ScanLines()[2 + 5 + 2],
              L"2.01 .... 1.05 ........ 08 ....... FAN/HEATER (GEN1) ......... ** INVALID "
              L"ADDRESS");
    EXPECT_FALSE(ScanPresent(static_cast<NodeId>(9)));
    EXPECT_TRUE(ScanResult.nodes[9].listed);
}

TEST_F(NetworkScanTest, SilentNetworkReportsNoResponseAfterFiveSecondsAndSendsOnce)
{
    Control("drop 1");
    // Sent on tick 1; the time-out counts 100 ticks down and reports on the tick after.
    Scan(101);
    EXPECT_EQ(ScanLines(), (Lines{L"Scan of Network in Progress...", L"  "}));
    FlasherTick();
    EXPECT_EQ(ScanLines().back(), L"No Response From Display I/O.");
    EXPECT_EQ(Recorder().uploadLines, Lines{L"No Response From Display I/O."});
    // Nothing more is sent however long it waits, the re-arm clearing busy included.
    for (int i = 0; i < 600; ++i) FlasherTick();
    EXPECT_EQ(line->sent.size(), 1u);
    EXPECT_FALSE(NetworkScan.scanDone);
    EXPECT_TRUE(NetworkScan.scanRequested);
    EXPECT_FALSE(ScanPresent(NodeId::displayIo));
}

TEST_F(NetworkScanTest, ReArmCounterClearsBusyAfterTwoHundredTicks)
{
    Control("drop 1");
    StartScan();
    FlasherTick();  // sent, busy
    NodeOutcome.linkOpen = true;
    NodeOutcome.eraseDone = true;
    for (int i = 0; i < 200; ++i) FlasherTick();
    EXPECT_TRUE(NodeLink.busy);  // counted down to 0, not yet reloaded
    FlasherTick();
    EXPECT_FALSE(NodeLink.busy);
    EXPECT_FALSE(NodeOutcome.linkOpen);
    EXPECT_FALSE(NodeOutcome.eraseDone);
    EXPECT_EQ(NetworkScan.rearmCounter, kScanRearmTicks);
}

TEST_F(NetworkScanTest, GarbledAnswerIsNoAnswerAndScanAgainGivesTheReport)
{
    Control("badcrc 1");
    Scan(200);
    EXPECT_FALSE(NetworkScan.scanDone);
    EXPECT_EQ(ScanLines().back(), L"No Response From Display I/O.");
    EXPECT_GE(NodeLink.answersRejected, 1u);
    EXPECT_FALSE(ScanPresent(NodeId::displayIo));
    // SCAN AGAIN: an empty list, the request once more, the report.
    Scan();
    EXPECT_TRUE(NetworkScan.scanDone);
    EXPECT_EQ(line->sent.size(), 2u);
    EXPECT_EQ(ScanLines(),
              WithScanStart(Report({kDisplayIoLine, kFanHeater1Line, kMainIoLine, kMoistureLine})));
    EXPECT_TRUE(ScanPresent(NodeId::displayIo));
}

TEST_F(NetworkScanTest, UnansweredScanAgainForgetsTheEarlierNetwork)
{
    Scan();
    ASSERT_TRUE(ScanPresent(NodeId::mainIo));
    Control("drop 1");
    Scan(200);
    EXPECT_FALSE(NetworkScan.scanDone);
    for (int node = 1; node <= 15; ++node) {
        EXPECT_FALSE(ScanPresent(static_cast<NodeId>(node))) << node;
    }
}

TEST_F(NetworkScanTest, StatusKeyIsReportedByTheFirstScanDialogOnly)
{
    ASSERT_TRUE(SetScanStatusKey(L"MAIN_IO_MISSING"));
    Control("unplug 14");
    StartScanOnDialogOpen();
    EXPECT_EQ(ScanLines(),
              (Lines{L"Could not locate Main I/O.", L" ", L"    Searching for it now...", L" "}));
    TickUntil([] { return NetworkScan.scanDone; }, 400);
    EXPECT_EQ(ScanLines().size(), 4u + 2u + 5u + 2u * 3u);
    EXPECT_EQ(ScanLines()[4], L"Scan of Network in Progress...");
    // SCAN AGAIN, and a second opening of the dialog: the plain report.
    Scan();
    EXPECT_EQ(ScanLines().front(), L"Scan of Network in Progress...");
    StartScanOnDialogOpen();
    TickUntil([] { return NetworkScan.scanDone; }, 400);
    EXPECT_EQ(ScanLines(), WithScanStart(Report({kDisplayIoLine, kFanHeater1Line, kMoistureLine})));
}

TEST_F(NetworkScanTest, ResetExchangeOfAnUploadClearsTheScanFlags)
{
    FlasherTickSteps steps;
    PlugNetworkScan(steps);
    EXPECT_EQ(steps.resetExchange, &ResetScanFlags);
    SetFlasherTickSteps(steps);
    Scan();
    ASSERT_TRUE(NetworkScan.scanDone);
    ResetExchange();  // an upload starting
    EXPECT_FALSE(NetworkScan.scanDone);
    EXPECT_FALSE(NetworkScan.scanRequested);
    EXPECT_TRUE(ScanPresent(NodeId::displayIo));  // the census stays for the upload
}

TEST(NetworkScanStatusKeys, EachKeyHasItsLineAndOnlyExactKeysCount)
{
    const std::pair<const wchar_t*, const wchar_t*> keys[] = {
        {L"MAIN_IO_MISSING", L"Could not locate Main I/O."},
        {L"DISPLAY_IO_MISSING", L"Could not locate Display I/O."},
        {L"NO_FAN_HEATER_PRESENT", L"Could not locate any Fan/Heaters."},
        {L"INVALID_FH_ADDRESS", L"A Fan/Heater address is set incorrectly."},
        {L"CONFLICTING_FH_ADDRESS", L"More than one Fan/Heater has same address setting."},
        {L"DIFFERING_SW_VERSIONS", L"Not all the nodes (boards) have same software version."},
    };
    for (const auto& [key, text] : keys) {
        ASSERT_NE(ScanStatusKeyLine(key), nullptr) << key;
        EXPECT_STREQ(ScanStatusKeyLine(key), text);
    }
    EXPECT_EQ(ScanStatusKeyLine(L"main_io_missing"), nullptr);
    EXPECT_EQ(ScanStatusKeyLine(L"MAIN_IO_MISSING "), nullptr);
    EXPECT_EQ(ScanStatusKeyLine(L""), nullptr);
    EXPECT_EQ(ScanStatusKeyLine(nullptr), nullptr);
    EXPECT_FALSE(SetScanStatusKey(L""));
    ResetNetworkScanForTest();
}

}  // namespace
