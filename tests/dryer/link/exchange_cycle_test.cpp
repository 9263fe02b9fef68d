// One exchange cycle at a time against a fake board behind the port calls: what is read, what
// is written, the watchdog, and the command hold-off after a link reset request.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "common/link/link_crc16.h"
#include "dryer/link/comm_thread.h"
#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "tests/dryer/link/fake_board_support.h"

namespace {

// What the fake port holds for the next read, and what the cycle wrote.
std::vector<std::uint8_t> pendingInput;
std::vector<std::vector<std::uint8_t>> written;
int purges = 0;

DWORD FakeRead(HANDLE, std::uint8_t* buffer, DWORD size)
{
    const DWORD n = std::min<DWORD>(size, static_cast<DWORD>(pendingInput.size()));
    std::copy_n(pendingInput.begin(), n, buffer);
    pendingInput.erase(pendingInput.begin(), pendingInput.begin() + n);
    return n;
}
void FakeWrite(HANDLE, const std::uint8_t* bytes, DWORD size)
{
    written.emplace_back(bytes, bytes + size);
}
void FakePurge(HANDLE)
{
    ++purges;
    pendingInput.clear();
}
const LinkPortOps kFakeOps{FakeRead, FakeWrite, FakePurge};

class ExchangeCycle : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLinkStateForTest();
        SetLinkPortOps(&kFakeOps);
        pendingInput.clear();
        written.clear();
        purges = 0;
    }
    void TearDown() override
    {
        SetLinkPortOps(nullptr);
        ResetLinkStateForTest();
    }
    LinkRequest Cycle() { return RunExchangeCycle(nullptr); }
    void Answer(const std::array<std::uint8_t, kAnswerFrameSize>& frame)
    {
        pendingInput.assign(frame.begin(), frame.end());
    }
};

TEST_F(ExchangeCycle, PollWhenNothingIsPending)
{
    EXPECT_EQ(Cycle(), LinkRequest::poll);
    ASSERT_EQ(written.size(), 1u);
    const auto& poll = written[0];
    ASSERT_EQ(poll.size(), 7u);
    EXPECT_EQ(poll[0], 0x07);
    for (int i = 1; i < 5; ++i) EXPECT_EQ(poll[static_cast<std::size_t>(i)], 0);
    EXPECT_TRUE(LinkCrc16Check(poll, 5));
    EXPECT_EQ(purges, 1);
}

TEST_F(ExchangeCycle, ValidAnswerIsDecodedAndRefreshesTheWatchdog)
{
    LinkWatchdog = 3;
    FakeBoard board;
    board.image[fuelCode.offset] = 3;
    Answer(board.Answer());
    Cycle();
    EXPECT_EQ(LinkWatchdog.load(), 10u);
    EXPECT_EQ(DryerImage.Get(fuelCode.offset), 3);
}

TEST_F(ExchangeCycle, BadAnswersLeaveTheImageAndWatchdogAlone)
{
    FakeBoard board;
    board.image[fuelCode.offset] = 3;
    const auto good = board.Answer();
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<std::uint8_t> shortFrame(good.begin(), good.end() - 1);
    std::vector<std::uint8_t> badCrc(good.begin(), good.end());
    badCrc[300] ^= 0x01;
    std::vector<std::uint8_t> swapped(good.begin(), good.end());
    std::swap(swapped[300], swapped[301]);
    std::vector<std::uint8_t> shifted{0x00};  // one stray byte in front of a good answer
    shifted.insert(shifted.end(), good.begin(), good.end());
    const Case cases[] = {{"short", shortFrame},
                          {"bad crc", badCrc},
                          {"swapped crc", swapped},
                          {"shifted", shifted},
                          {"empty", {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetLinkStateForTest();
        LinkWatchdog = 4;
        pendingInput = c.bytes;
        Cycle();
        EXPECT_EQ(LinkWatchdog.load(), 4u);
        EXPECT_EQ(DryerImage.Get(fuelCode.offset), 0);
    }
}

TEST_F(ExchangeCycle, OverLongBurstTakesOnlyTheFirst302Bytes)
{
    FakeBoard board;
    board.image[fuelCode.offset] = 3;
    const auto good = board.Answer();
    pendingInput.assign(good.begin(), good.end());
    pendingInput.insert(pendingInput.end(), 40, 0x55);
    LinkWatchdog = 1;
    Cycle();
    EXPECT_EQ(LinkWatchdog.load(), 10u);
    EXPECT_EQ(DryerImage.Get(fuelCode.offset), 3);
    EXPECT_TRUE(pendingInput.empty());  // the rest was purged before the write
}

TEST_F(ExchangeCycle, CommandFrameWithItsCrc)
{
    DesiredSettings.Set(fuelCode.offset, 1);
    PendingCommand.Set(Pending::fuel);
    EXPECT_EQ(Cycle(), LinkRequest::command);
    ASSERT_EQ(written.size(), 1u);
    const auto& frame = written[0];
    ASSERT_EQ(frame.size(), frame[0]);
    EXPECT_TRUE(LinkCrc16Check(frame, frame.size() - 2));
    EXPECT_EQ(frame,
              (std::vector<std::uint8_t>{0x08, 0x01, 0x00, 0x05, 0x01, 0x01, frame[6], frame[7]}));
}

TEST_F(ExchangeCycle, LinkResetHoldsCommandsBackForEightCycles)
{
    DesiredSettings.Set(fuelCode.offset, 1);
    PendingCommand.Set(Pending::fuel);
    RequestLinkReset();
    EXPECT_EQ(Cycle(), LinkRequest::linkReset);
    ASSERT_EQ(written.back().size(), 4u);
    EXPECT_EQ(written.back()[0], 0x06);
    EXPECT_EQ(written.back()[1], 0x00);
    EXPECT_TRUE(LinkCrc16Check(written.back(), 2));
    EXPECT_EQ(LinkResetRequest.load(), 0);
    EXPECT_EQ(CommandHoldOff.load(), 10u);

    // a second reset request during the hold-off waits until the 10th cycle
    RequestLinkReset();
    for (int cycle = 1; cycle <= 8; ++cycle) {
        EXPECT_EQ(Cycle(), LinkRequest::poll) << "cycle " << cycle;
    }
    EXPECT_EQ(Cycle(), LinkRequest::command) << "cycle 9";
    EXPECT_EQ(Cycle(), LinkRequest::linkReset) << "cycle 10";
    EXPECT_TRUE(PendingCommand.IsSet(Pending::fuel));
}

TEST_F(ExchangeCycle, HoldOffKeepsOneShotRowsPending)
{
    RequestLinkReset();
    Cycle();
    PendingCommand.Set(Pending::clock);
    PendingCommand.Set(Pending::unitsAndOptions);
    SetBits(DesiredSettings, graphViewBit, true);
    SetBits(DesiredSettings, restoreSettingsRequestBit, true);
    const int requested = Value(DesiredSettings, unitsAndOptions);
    for (int cycle = 1; cycle <= 8; ++cycle) Cycle();
    EXPECT_TRUE(PendingCommand.IsSet(Pending::clock));
    EXPECT_TRUE(PendingCommand.IsSet(Pending::unitsAndOptions));
    EXPECT_EQ(Value(DesiredSettings, unitsAndOptions), requested);
    EXPECT_EQ(Cycle(), LinkRequest::command);
    const auto records = ParseCommandFrame(written.back());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].data[0], requested);
    EXPECT_FALSE(PendingCommand.IsSet(Pending::clock));
}

TEST_F(ExchangeCycle, AnswerRestoresTheLinkAndCommandsFlowAfterTheHoldOff)
{
    FakeBoard board;
    DesiredSettings.Set(fuelCode.offset, 2);
    PendingCommand.Set(Pending::fuel);
    LinkWatchdog = 0;  // lost
    RequestLinkReset();
    EXPECT_EQ(Cycle(), LinkRequest::linkReset);
    int cycles = 0;
    LinkRequest last = LinkRequest::poll;
    while (PendingCommand.IsSet(Pending::fuel) && cycles < 20) {
        Answer(board.Answer());
        last = Cycle();
        EXPECT_EQ(LinkWatchdog.load(), 10u);
        if (last == LinkRequest::command) board.Apply(written.back());
        ++cycles;
    }
    EXPECT_FALSE(PendingCommand.IsSet(Pending::fuel));
    EXPECT_EQ(cycles, 10);  // command on the 9th cycle, its echo read on the 10th
    EXPECT_EQ(DryerImage.Get(fuelCode.offset), 2);
}

TEST_F(ExchangeCycle, WatchdogCountsDownToZeroAndStops)
{
    for (int s = 0; s < 12; ++s) DecrementLinkWatchdog();
    EXPECT_EQ(LinkWatchdog.load(), 0u);
}

}  // namespace
