// The programming link's answers that do not count (damaged, partial, of another request)
// and its resend rules: refusals sent again up to the seventh, unanswered requests sent again
// every 51 ticks ten times, each stepped up to and across its limit on the in-memory line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flasher/node_link.h"
#include "tests/flasher/node_link_support.h"
#include "tests/flasher/node_link_test_support.h"

using namespace node_link_test;

// ---- damaged answers ------------------------------------------------------------------------

TEST_F(NodeLinkTest, DamagedAnswersAreNoAnswer)
{
    struct Case {
        const char* name;
        ByteList answer;
    };
    ByteList badCrc = NodeAnswer(0x84, {1});
    badCrc[3] ^= 0x40;
    ByteList flipped = NodeAnswer(0x84, {0});
    flipped[2] = 1;  // a refusal that noise turned into "written"
    const Case cases[] = {
        {"wrong CRC", badCrc},
        {"payload changed on the way", flipped},
        {"one byte short", ByteList{0x84, 0x01, 0x01, 0x00}},
        {"wrong length byte", NodeAnswer(0x84, {1, 1})},
        {"answer of another request", NodeAnswer(0x82, {14, 0, 1})},
    };
    for (const Case& c : cases) {
        FakeNodeLine& l = InstallFakeNodeLine();
        std::array<std::uint8_t, kBlockDataSize> data{};
        PrepareWriteBlock(3, data);
        NodeLink.busy = true;
        AnswerWith(l, c.answer);
        for (int tick = 0; tick < 5; ++tick) {  // nothing more comes: it stays unanswered
            ReceiveStep();
            DecodeAnswer();
        }
        EXPECT_TRUE(NodeLink.busy) << c.name;
        EXPECT_TRUE(NodeLink.awaitingAnswer) << c.name;
        EXPECT_FALSE(NodeLink.answerReady) << c.name;
        EXPECT_FALSE(NodeLink.retryRequested) << c.name;
        EXPECT_FALSE(NodeOutcome.writeFailed) << c.name;
        EXPECT_TRUE(Recorder().uploadLines.empty()) << c.name;
    }
}

TEST_F(NodeLinkTest, AGarbledAnswerIsSentAgainAndTheBoardEndsUpWithTheRightImage)
{
    std::vector<std::uint8_t> image(600);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7);
    InstallMiniUpload(NodeId::mainIo, image);
    line->board.Control("badcrc 1", 0);  // the answer to the open request
    const int ticks = TickUntil([] { return !MiniUpload().inProgress; }, 2000);
    EXPECT_LT(ticks, 2000);
    EXPECT_FALSE(MiniUpload().gaveUp);
    EXPECT_EQ(MiniUpload().resentAfterSilence, 1);
    EXPECT_EQ(NodeLink.answersRejected, 1u);
    const auto& flash = line->board.network().board(14).flash;
    ASSERT_EQ(flash.size(), 768u);  // three blocks
    EXPECT_TRUE(std::equal(image.begin(), image.end(), flash.begin()));
    EXPECT_TRUE(std::all_of(flash.begin() + 600, flash.end(), [](auto b) { return b == 0xFF; }));
}

TEST_F(NodeLinkTest, AShortAnswerToAWriteIsNeverTakenAsWritten)
{
    std::vector<std::uint8_t> image(512, 0x5A);
    InstallMiniUpload(NodeId::fanHeater1, image);
    // Let open, erase and start address through, then cut the answer to the first block.
    TickUntil([] { return NodeOutcome.startAddressAccepted; }, 100);
    line->board.Control("short 1", 0);
    TickUntil([] { return !MiniUpload().inProgress; }, 2000);
    EXPECT_EQ(MiniUpload().resentAfterSilence, 1);
    EXPECT_EQ(line->board.network().counters().blocksWritten, 3u);  // block 0 twice, block 1
    const auto& flash = line->board.network().board(2).flash;
    ASSERT_EQ(flash.size(), 512u);
    EXPECT_TRUE(std::all_of(flash.begin(), flash.end(), [](auto b) { return b == 0x5A; }));
}

// ---- resend rules ---------------------------------------------------------------------------

TEST_F(NodeLinkTest, SixRefusalsAreSentAgainTheSeventhGivesUp)
{
    struct Case {
        int refusals;
        bool gaveUp;
        int resends;
    };
    for (const Case c : {Case{5, false, 5}, Case{6, false, 6}, Case{7, true, 6}}) {
        FakeNodeLine& l = InstallFakeNodeLine();
        l.board.Control("refuse erase " + std::to_string(c.refusals), 0);
        InstallMiniUpload(NodeId::mainIo, std::vector<std::uint8_t>(10, 1));
        TickUntil([] { return !MiniUpload().inProgress; }, 3000);
        EXPECT_EQ(MiniUpload().gaveUp, c.gaveUp) << c.refusals;
        EXPECT_EQ(MiniUpload().resentAfterRefusal, c.resends) << c.refusals;
        EXPECT_EQ(Count(Recorder().uploadLines, L" >> Erasing of Main I/O Failed."),
                  std::min(c.refusals, 7))
            << c.refusals;
        EXPECT_EQ(NodeOutcome.linkClosed, !c.gaveUp) << c.refusals;  // a given-up board stays open
        if (c.gaveUp) {
            EXPECT_FALSE(NodeLink.busy);
        }
    }
}

TEST_F(NodeLinkTest, SevenRefusedWritesOfOneBlockEndTheBoard)
{
    line->board.Control("refuse write 7", 0);
    InstallMiniUpload(NodeId::mainIo, std::vector<std::uint8_t>(300, 1));
    TickUntil([] { return !MiniUpload().inProgress; }, 3000);
    EXPECT_TRUE(MiniUpload().gaveUp);
    EXPECT_EQ(Count(Recorder().uploadLines, L" >> Flash Write Failed! [03]"), 7);
    EXPECT_EQ(Recorder().pauses.size(), 1u + 7u);  // start address accepted, seven refusals
    // Every resend carried block 0 unchanged.
    int blockZero = 0;
    for (const ByteList& sent : line->sent) blockZero += sent[0] == 0x04 && sent[2] == 0 ? 1 : 0;
    EXPECT_EQ(blockZero, 7);
}

TEST_F(NodeLinkTest, UnansweredRequestGoesAgainEvery51TicksTenTimes)
{
    line->board.Control("drop 1000", 0);
    InstallMiniUpload(NodeId::mainIo, std::vector<std::uint8_t>(10, 1));
    FlasherTick();  // the open request goes out
    ASSERT_EQ(line->sent.size(), 1u);
    for (int resend = 1; resend <= 10; ++resend) {
        for (std::uint32_t tick = 0; tick < kResendTicks; ++tick) FlasherTick();
        EXPECT_EQ(line->sent.size(), static_cast<std::size_t>(resend)) << resend;
        FlasherTick();
        EXPECT_EQ(line->sent.size(), static_cast<std::size_t>(resend + 1)) << resend;
        EXPECT_EQ(line->sent.back(), line->sent.front());  // the same request
    }
    EXPECT_EQ(Count(Recorder().uploadLines, L"No Response... Trying Again."), 10);
    EXPECT_EQ(Count(Recorder().scanLines, L"No Response... Trying Again."), 10);
    EXPECT_EQ(Count(Recorder().uploadLines, L"No Response From Display I/O."), 0);
    // No eleventh: the time-out of the last send reports the silence, once.
    for (std::uint32_t tick = 0; tick < kAnswerTimeoutTicks + 1; ++tick) FlasherTick();
    EXPECT_EQ(line->sent.size(), 11u);
    EXPECT_EQ(Count(Recorder().uploadLines, L"No Response From Display I/O."), 1);
    EXPECT_EQ(Count(Recorder().scanLines, L"No Response From Display I/O."), 1);
    for (int tick = 0; tick < 500; ++tick) FlasherTick();
    EXPECT_EQ(line->sent.size(), 11u);
    EXPECT_TRUE(NodeLink.busy);  // the upload waits for the operator
}

TEST_F(NodeLinkTest, TheTenthResendIsAnsweredAndTheUploadGoesOn)
{
    line->board.Control("drop 10", 0);  // the first send and nine resends go unanswered
    InstallMiniUpload(NodeId::mainIo, std::vector<std::uint8_t>(10, 1));
    TickUntil([] { return !MiniUpload().inProgress; }, 2000);
    EXPECT_FALSE(MiniUpload().gaveUp);
    EXPECT_EQ(MiniUpload().resentAfterSilence, 10);
    EXPECT_TRUE(NodeOutcome.linkClosed);
}

TEST_F(NodeLinkTest, AnAnswerTakenOnTheResendTickStopsTheResend)
{
    FlasherTickSteps steps;
    steps.nodeStateMachine = [] { RunResendRules(); };
    SetFlasherTickSteps(steps);
    NodeLink.linkNode = NodeId::mainIo;
    PrepareEraseFlash();
    NodeLink.busy = true;
    line->boardConnected = false;
    TransmitStep();
    NodeLink.resendCountdown = 0;  // this tick would send it again
    line->Inject(NodeAnswer(0x82, {14, 0, 1}));
    FlasherTick();
    EXPECT_TRUE(NodeOutcome.eraseDone);
    EXPECT_EQ(line->sent.size(), 1u);
    EXPECT_FALSE(NodeLink.transmitPending);
    EXPECT_FALSE(NodeLink.noAnswerNotice);
}

TEST_F(NodeLinkTest, ANewRequestStartsItsOwnCounts)
{
    NodeLink.failureCount = 4;
    NodeLink.noAnswerCount = 9;
    NodeLink.resendCountdown = 3;
    PrepareEraseFlash();
    EXPECT_EQ(NodeLink.failureCount, 0u);
    EXPECT_EQ(NodeLink.noAnswerCount, 0u);
    EXPECT_EQ(NodeLink.resendCountdown, kResendTicks);
}

TEST_F(NodeLinkTest, NothingIsSentAgainWhileNothingIsOut)
{
    NodeLink.resendCountdown = 0;
    EXPECT_EQ(RunResendRules(), ResendOutcome::none);
    EXPECT_FALSE(NodeLink.transmitPending);
    EXPECT_FALSE(NodeLink.noAnswerNotice);
}

TEST_F(NodeLinkTest, ResetExchangeClearsOutcomesScanAreaAndNoAnswerCount)
{
    NodeOutcome.linkOpen = true;
    NodeOutcome.writeFailed = true;
    NodeLink.noAnswerCount = 7;
    NodeLink.answer.fill(0xAA);
    ResetExchange();
    EXPECT_FALSE(NodeOutcome.linkOpen);
    EXPECT_FALSE(NodeOutcome.writeFailed);
    EXPECT_EQ(NodeLink.noAnswerCount, 0u);
    EXPECT_EQ(NodeLink.answer[163], 0);
    EXPECT_EQ(NodeLink.answer[164], 0xAA);
    EXPECT_EQ(Recorder().resetExchangeCalls, 1);
}
