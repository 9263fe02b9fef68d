// The programming link: the request frames and the message tables, the check of answers
// (complete, of the request's code and length, CRC right), the order of the FlasherTick's
// steps, the decoding of every answer and the answer time-out (damaged answers and resends are
// in node_link_resend_test.cpp). The board side is the simulated Display I/O and its network
// on an in-memory line, or raw answer bytes where the board would never send them.
#include "flasher/node_link.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/link/link_crc16.h"
#include "flasher/node_messages.h"
#include "tests/flasher/node_link_support.h"
#include "tests/flasher/node_link_test_support.h"

using namespace node_link_test;

// ---- frames ---------------------------------------------------------------------------------

TEST(NodeFrames, CrcOfTheNineDigitsGoesOutLowByteFirst)
{
    ByteList digits{'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    digits.resize(11);
    ASSERT_TRUE(LinkCrc16Append(digits, 9));
    EXPECT_EQ(digits[9], 0x37);
    EXPECT_EQ(digits[10], 0x4B);
}

TEST_F(NodeLinkTest, EveryRequestHasItsBytesLengthsAndLine)
{
    struct Case {
        const char* name;
        void (*prepare)();
        ByteList content;
        std::uint32_t answerLength;
        std::wstring uploadLine;  // empty: none
        std::vector<std::wstring> scanLines;
    };
    NodeLink.targetNode = NodeId::mainIo;
    NodeLink.linkNode = NodeId::fanHeater1;
    const Case cases[] = {
        {"open",
         PrepareLinkOpen,
         {0x01, 0x02, 0x0E, 0x01},
         6,
         L" << Attempting to Open Link to Main I/O...",
         {}},
        {"close",
         PrepareLinkClose,
         {0x01, 0x02, 0x0E, 0x00},
         6,
         L" << Attempting to Close Link to Fan/Heater #1...",
         {}},
        {"erase",
         PrepareEraseFlash,
         {0x02, 0x02, 0x00, 0xFF},
         7,
         L" << Attempting to Erase Fan/Heater #1 Flash Memory...",
         {}},
        {"start address",
         [] { PrepareFlashStartAddress(0); },
         {0x03, 0x01, 0x00},
         6,
         L" << Sending Flash Starting Address...",
         {}},
        {"scan",
         PrepareNetworkScan,
         {0x05, 0x00},
         164,
         L"",
         {L"Scan of Network in Progress...", L"  "}},
    };
    for (const Case& c : cases) {
        Recorder() = LinkRecorder{};
        NodeLink.transmitPending = false;
        c.prepare();
        EXPECT_EQ(Request(), WithCrc(c.content)) << c.name;
        EXPECT_EQ(NodeLink.requestLength, c.content.size() + 2) << c.name;
        EXPECT_EQ(NodeLink.expectedAnswerLength, c.answerLength) << c.name;
        EXPECT_TRUE(NodeLink.transmitPending) << c.name;
        const std::vector<std::wstring> upload =
            c.uploadLine.empty() ? std::vector<std::wstring>{} : std::vector{c.uploadLine};
        EXPECT_EQ(Recorder().uploadLines, upload) << c.name;
        EXPECT_EQ(Recorder().scanLines, c.scanLines) << c.name;
    }
}

TEST_F(NodeLinkTest, WriteBlockCarriesItsNumberAndAll256BytesAndAddsNoLine)
{
    std::array<std::uint8_t, kBlockDataSize> data;
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(255 - i);
    PrepareWriteBlock(0x2A, data);
    ByteList content{0x04, 0x00, 0x2A};
    content.insert(content.end(), data.begin(), data.end());
    EXPECT_EQ(Request(), WithCrc(content));
    EXPECT_EQ(NodeLink.requestLength, 261u);
    EXPECT_EQ(NodeLink.expectedAnswerLength, 5u);
    EXPECT_TRUE(Recorder().uploadLines.empty());
}

TEST_F(NodeLinkTest, TheWireCarriesTheRequestOnceAfterPurgingBothQueues)
{
    PrepareNetworkScan();
    line->boardConnected = false;
    line->Inject({0x85, 0x00, 0x11});  // left over from an earlier answer
    TransmitStep();
    ASSERT_EQ(line->sent.size(), 1u);
    EXPECT_EQ(line->sent[0], WithCrc({0x05, 0x00}));
    EXPECT_TRUE(line->toPanel.empty());
    EXPECT_TRUE(NodeLink.awaitingAnswer);
    EXPECT_EQ(NodeLink.answerTimeout, kAnswerTimeoutTicks);
    EXPECT_FALSE(NodeLink.transmitPending);
    TransmitStep();  // nothing pending: nothing more goes out
    EXPECT_EQ(line->sent.size(), 1u);
}

// ---- message tables -------------------------------------------------------------------------

TEST(NodeMessages, RowsJoinBeginningNameAndEnding)
{
    struct Case {
        NodeMessageTable table;
        unsigned node;
        const wchar_t* text;
    };
    const Case cases[] = {
        {NodeMessageTable::openAttempt, 2, L" << Attempting to Open Link to Fan/Heater #1..."},
        {NodeMessageTable::eraseDone, 15, L" >> Erasing of Moisture Control Done."},
        {NodeMessageTable::closeAttempt, 1, L" << Attempting to Close Link to Display I/O..."},
        {NodeMessageTable::linkOpen, 8, L" >> Link with Fan/Heater #1 Interface Open."},
        {NodeMessageTable::linkOpen, 13, L" >> Link with Fan/Heater #6 Interface Open."},
        {NodeMessageTable::linkOpen, 7, L" >> Link with Fan/Heater #6 Open."},
        {NodeMessageTable::linkClosed, 8, L" >> Link with Fan/Heater Interface #1 Closed."},
        {NodeMessageTable::linkFailed, 14, L" >> Link with Main I/O Failed."},
        {NodeMessageTable::eraseAttempt, 13,
         L" << Attempting to Erase Fan/Heater Interface #6 Flash Memory..."},
        {NodeMessageTable::eraseFailed, 3, L" >> Erasing of Fan/Heater #2 Failed."},
        {NodeMessageTable::linkOpen, 0, L" Invalid Node"},
        {NodeMessageTable::eraseFailed, 0, L" Invalid Node"},
        {NodeMessageTable::eraseAttempt, 0, L" << Invalid Node"},
        // An answer may name any byte: beyond 15 is the invalid-node row, never past the table.
        {NodeMessageTable::linkOpen, 16, L" Invalid Node"},
        {NodeMessageTable::eraseAttempt, 255, L" << Invalid Node"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::wstring(NodeMessage(c.table, c.node)), c.text) << c.node;
    }
}

// ---- answer check ---------------------------------------------------------------------------

TEST(NodeAnswerCheck, OnlyAWholeAnswerOfTheRequestWithItsCrcIsComplete)
{
    const ByteList good = NodeAnswer(0x84, {0x01});
    ByteList badCrc = good;
    badCrc[4] ^= 0x01;
    ByteList badPayload = good;
    badPayload[2] = 0x00;  // a "write failed" turned into... or from: the CRC tells
    struct Case {
        const char* name;
        ByteList received;
        AnswerCheck check;
    };
    const Case cases[] = {
        {"nothing", {}, AnswerCheck::incomplete},
        {"first byte", {0x84}, AnswerCheck::incomplete},
        {"all but the last byte", ByteList(good.begin(), good.end() - 1), AnswerCheck::incomplete},
        {"whole", good, AnswerCheck::complete},
        {"wrong CRC", badCrc, AnswerCheck::bad},
        {"payload changed", badPayload, AnswerCheck::bad},
        {"length byte too long", NodeAnswer(0x84, {0x01, 0x00}), AnswerCheck::bad},
        {"length byte refused before the rest arrives", {0x84, 0x07}, AnswerCheck::bad},
        {"answer of another request", NodeAnswer(0x81, {0x0E, 0x01}), AnswerCheck::bad},
        {"code 0x86", NodeAnswer(0x86, {0x01}), AnswerCheck::bad},
        {"code 0x01", NodeAnswer(0x01, {0x01}), AnswerCheck::bad},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckNodeAnswer(c.received, 0x04, 5), c.check) << c.name;
    }
}

// ---- tick order -----------------------------------------------------------------------------

namespace {
std::vector<std::string> order;
bool readySeenInStep4 = false;
bool linkOpenSeenInStep5 = true;
std::size_t sentSeenInStep5 = 99;
FakeNodeLine* orderLine = nullptr;
}  // namespace

TEST_F(NodeLinkTest, AnAnswerReadInStep2IsDecodedInStep6AndARequestOfStep4GoesOutInStep7)
{
    order.clear();
    orderLine = line;
    NodeLink.targetNode = NodeId::mainIo;
    PrepareLinkOpen();
    NodeLink.busy = true;
    TransmitStep();  // the open request is out; the board has answered at once

    FlasherTickSteps steps;
    steps.splashCheck = [] { order.push_back("splash"); };
    steps.uploadScheduler = [] { order.push_back("scheduler"); };
    steps.nodeStateMachine = [] {
        order.push_back("machine");
        readySeenInStep4 = NodeLink.answerReady;  // read in step 2, not decoded yet
        if (NodeLink.answerReady) PrepareEraseFlash();
    };
    steps.scanStep = [] {
        order.push_back("scan");
        linkOpenSeenInStep5 = NodeOutcome.linkOpen;
        sentSeenInStep5 = orderLine->sent.size();
    };
    SetFlasherTickSteps(steps);
    FlasherTick();

    EXPECT_EQ(order, (std::vector<std::string>{"splash", "scheduler", "machine", "scan"}));
    EXPECT_TRUE(readySeenInStep4);
    EXPECT_FALSE(linkOpenSeenInStep5);  // decoding comes after the scan step
    EXPECT_EQ(sentSeenInStep5, 1u);     // the erase request is not written yet
    EXPECT_TRUE(NodeOutcome.linkOpen);  // decoded in step 6
    ASSERT_EQ(line->sent.size(), 2u);   // and the erase written in step 7
    EXPECT_EQ(line->sent[1][0], 0x02);
}

TEST_F(NodeLinkTest, APartialAnswerWaitsForItsLastByte)
{
    NodeLink.targetNode = NodeId::mainIo;
    PrepareLinkOpen();
    NodeLink.busy = true;
    line->bytesPerRead = 2;  // a slow line: the 6-byte answer takes three ticks
    FlasherTick();           // sends
    FlasherTick();           // 2 bytes
    EXPECT_FALSE(NodeOutcome.linkOpen);
    EXPECT_TRUE(NodeLink.busy);
    FlasherTick();  // 4 bytes
    EXPECT_FALSE(NodeOutcome.linkOpen);
    EXPECT_TRUE(NodeLink.awaitingAnswer);
    FlasherTick();  // 6 bytes: complete, decoded in the same tick
    EXPECT_TRUE(NodeOutcome.linkOpen);
    EXPECT_FALSE(NodeLink.busy);
    EXPECT_EQ(NodeLink.answersRejected, 0u);
}

TEST_F(NodeLinkTest, AnswerTimeoutReportsOnTheTickAfter100Ticks)
{
    PrepareNetworkScan();
    line->boardConnected = false;
    FlasherTick();  // sends
    Recorder() = LinkRecorder{};
    for (std::uint32_t tick = 1; tick <= kAnswerTimeoutTicks; ++tick) FlasherTick();
    EXPECT_TRUE(NodeLink.awaitingAnswer);
    EXPECT_TRUE(Recorder().scanLines.empty());
    FlasherTick();
    EXPECT_FALSE(NodeLink.awaitingAnswer);
    EXPECT_EQ(Recorder().scanLines, std::vector<std::wstring>{L"No Response From Display I/O."});
    EXPECT_EQ(Recorder().uploadLines, std::vector<std::wstring>{L"No Response From Display I/O."});
    for (int tick = 0; tick < 300; ++tick) FlasherTick();  // reported once
    EXPECT_EQ(Recorder().scanLines.size(), 1u);
}

// ---- decoding -------------------------------------------------------------------------------

TEST_F(NodeLinkTest, OpenAcceptedTakesTheNodeAndFreesTheUpload)
{
    NodeLink.targetNode = NodeId::fanHeater1;
    PrepareLinkOpen();
    NodeLink.busy = true;
    Recorder() = LinkRecorder{};
    SendAndAnswer();
    EXPECT_TRUE(NodeOutcome.linkOpen);
    EXPECT_FALSE(NodeLink.busy);
    EXPECT_EQ(NodeLink.linkNode, NodeId::fanHeater1);
    EXPECT_EQ(NodeLink.targetNode, NodeId::fanHeater1);
    EXPECT_EQ(Recorder().uploadLines,
              (std::vector<std::wstring>{L" >> Link with Fan/Heater #1 Open.", L"  "}));
}

TEST_F(NodeLinkTest, OpenAnswersByLinkState)
{
    struct Case {
        const char* name;
        std::uint8_t node;
        std::uint8_t state;
        bool open, closed, retry, busy;
        std::vector<std::wstring> lines;
    };
    const Case cases[] = {
        {"state 2 fails",
         14,
         2,
         false,
         false,
         true,
         true,
         {L" >> Link with Fan/Heater #1 Failed."}},
        {"state 7 fails",
         14,
         7,
         false,
         false,
         true,
         true,
         {L" >> Link with Fan/Heater #1 Failed."}},
        {"state 0 is a closed link",
         14,
         0,
         false,
         true,
         false,
         false,
         {L" >> Link with Main I/O Closed.", L"  "}},
        // A link opened to another board than the one asked for would take this board's
        // program: it counts as a failed open.
        {"open to another node",
         15,
         1,
         false,
         false,
         true,
         true,
         {L" >> Link with Fan/Heater #1 Failed."}},
    };
    for (const Case& c : cases) {
        FakeNodeLine& l = InstallFakeNodeLine();
        NodeLink.targetNode = NodeId::mainIo;
        NodeLink.linkNode = NodeId::fanHeater1;  // left from an earlier board
        PrepareLinkOpen();
        NodeLink.busy = true;
        AnswerWith(l, NodeAnswer(0x81, {c.node, c.state}));
        EXPECT_EQ(NodeOutcome.linkOpen, c.open) << c.name;
        EXPECT_EQ(NodeOutcome.linkClosed, c.closed) << c.name;
        EXPECT_EQ(NodeLink.retryRequested, c.retry) << c.name;
        EXPECT_EQ(NodeLink.busy, c.busy) << c.name;
        EXPECT_EQ(NodeLink.linkNode, NodeId::none) << c.name;
        EXPECT_EQ(Recorder().uploadLines, c.lines) << c.name;
    }
}

TEST_F(NodeLinkTest, CloseAnswerClosesTheLinkAndForgetsTheNodes)
{
    NodeLink.targetNode = NodeId::moistureControl;
    NodeLink.linkNode = NodeId::moistureControl;
    PrepareLinkClose();
    NodeLink.busy = true;
    Recorder() = LinkRecorder{};
    SendAndAnswer();  // the simulated board answers state 0
    EXPECT_TRUE(NodeOutcome.linkClosed);
    EXPECT_FALSE(NodeLink.busy);
    EXPECT_EQ(NodeLink.targetNode, NodeId::none);
    EXPECT_EQ(NodeLink.linkNode, NodeId::none);
    EXPECT_EQ(Recorder().uploadLines,
              (std::vector<std::wstring>{L" >> Link with Moisture Control Closed.", L"  "}));
}

TEST_F(NodeLinkTest, StepAnswersByStatus)
{
    struct Case {
        const char* name;
        void (*prepare)();
        ByteList answer;
        bool retry;
        std::vector<std::wstring> lines;
        std::vector<DWORD> pauses;
        NodeLinkOutcome outcome;
    };
    const auto outcome = [](auto set) {
        NodeLinkOutcome o;
        set(o);
        return o;
    };
    const auto erase = [] { PrepareEraseFlash(); };
    const auto start = [] { PrepareFlashStartAddress(0); };
    const auto write = [] {
        std::array<std::uint8_t, kBlockDataSize> data{};
        PrepareWriteBlock(0, data);
    };
    const Case cases[] = {
        {"erase done",
         erase,
         NodeAnswer(0x82, {14, 0, 1}),
         false,
         {L" >> Erasing of Main I/O Done.", L"  "},
         {},
         outcome([](NodeLinkOutcome& o) { o.eraseDone = true; })},
        {"erase failed",
         erase,
         NodeAnswer(0x82, {14, 0, 2}),
         true,
         {L" >> Erasing of Main I/O Failed."},
         {},
         outcome([](NodeLinkOutcome& o) { o.eraseFailed = true; })},
        {"start address accepted",
         start,
         NodeAnswer(0x83, {0, 1}),
         false,
         {L" >> Flash Start Address Accepted. [01]", L"  "},
         {2500},
         outcome([](NodeLinkOutcome& o) { o.startAddressAccepted = true; })},
        {"start address rejected",
         start,
         NodeAnswer(0x83, {0, 0}),
         true,
         {L" >> Flash Start Address NOT Accepted. [02]"},
         {2500},
         outcome([](NodeLinkOutcome& o) { o.startAddressRejected = true; })},
        {"block written", write, NodeAnswer(0x84, {1}), false, {}, {}, NodeLinkOutcome{}},
        {"block written (any non-zero)",
         write,
         NodeAnswer(0x84, {0x80}),
         false,
         {},
         {},
         NodeLinkOutcome{}},
        {"write failed",
         write,
         NodeAnswer(0x84, {0}),
         true,
         {L" >> Flash Write Failed! [03]"},
         {2500},
         outcome([](NodeLinkOutcome& o) { o.writeFailed = true; })},
    };
    for (const Case& c : cases) {
        FakeNodeLine& l = InstallFakeNodeLine();
        NodeLink.linkNode = NodeId::mainIo;
        c.prepare();
        NodeLink.busy = true;
        AnswerWith(l, c.answer);
        EXPECT_FALSE(NodeLink.busy) << c.name;
        EXPECT_EQ(NodeLink.retryRequested, c.retry) << c.name;
        EXPECT_EQ(Recorder().uploadLines, c.lines) << c.name;
        EXPECT_EQ(Recorder().pauses, c.pauses) << c.name;
        const NodeLinkOutcome& o = NodeOutcome;
        EXPECT_EQ(o.eraseDone, c.outcome.eraseDone) << c.name;
        EXPECT_EQ(o.eraseFailed, c.outcome.eraseFailed) << c.name;
        EXPECT_EQ(o.startAddressAccepted, c.outcome.startAddressAccepted) << c.name;
        EXPECT_EQ(o.startAddressRejected, c.outcome.startAddressRejected) << c.name;
        EXPECT_EQ(o.writeFailed, c.outcome.writeFailed) << c.name;
    }
}

TEST_F(NodeLinkTest, ScanAnswerGoesWholeToTheReport)
{
    line->board.Control("version 3 199 104", 0);
    PrepareNetworkScan();
    NodeLink.busy = true;
    SendAndAnswer();
    EXPECT_FALSE(NodeLink.busy);
    ASSERT_EQ(Recorder().scanAnswer.size(), 164u);
    EXPECT_EQ(Recorder().scanAnswer[0], 0x85);
    EXPECT_EQ(Recorder().scanAnswer[1], 160);
    // Record 1 (bytes 2-6) is the Display I/O; record 14 the Main I/O.
    EXPECT_EQ(Recorder().scanAnswer[2 + 3], 8);
    EXPECT_EQ(Recorder().scanAnswer[2 + 13 * 5 + 3], 9);
}

TEST_F(NodeLinkTest, AnswersOfNoRequestChangeNothing)
{
    for (std::uint8_t code : {std::uint8_t{0x86}, std::uint8_t{0x01}}) {
        FakeNodeLine& l = InstallFakeNodeLine();
        NodeLink.linkNode = NodeId::mainIo;
        PrepareEraseFlash();
        NodeLink.busy = true;
        AnswerWith(l, NodeAnswer(code, {14, 0, 1}));
        EXPECT_TRUE(NodeLink.busy) << int{code};
        EXPECT_TRUE(NodeLink.awaitingAnswer) << int{code};
        EXPECT_FALSE(NodeOutcome.eraseDone) << int{code};
        EXPECT_TRUE(Recorder().uploadLines.empty()) << int{code};
    }
}
