// The real communication thread against the simulated Display I/O board over a pseudo-terminal.
// The panel runs on the virtual clock; the test plays the timers: it signals the poll event as
// the 175 ms tick would, steps the watchdog as the 1-second tick would, raises the link reset
// request as the warning window would, and waits (real time, bounded) for the board's answer.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "dryer/link/comm_thread.h"
#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "platform/devices/host_stream.h"
#include "platform/devices/serial.h"
#include "platform/runtime/clock.h"
#include "sim/display_io_sim.h"

namespace {

// The virtual clock must be in place before any thread of the process starts.
class VirtualClockEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (platform::IsVirtualClock()) return;
        SYSTEMTIME start;
        start.wYear = 2026;
        start.wMonth = 3;
        start.wDay = 3;
        start.wHour = 14;
        start.wMinute = 5;
        platform::UseVirtualClock(start);
    }
};
const auto* const kClockEnvironment =
    ::testing::AddGlobalTestEnvironment(new VirtualClockEnvironment);

// Waits in real time, bounded, until `ready` holds.
bool WaitUntil(const std::function<bool()>& ready, int timeoutMs)
{
    platform::RealTimeSignal pause;
    for (int waited = 0; waited <= timeoutMs; waited += 2) {
        if (ready()) return true;
        pause.WaitFor([] { return false; }, 2);
    }
    return ready();
}

void AdvanceSeconds(int seconds)
{
    platform::SetVirtualNow(platform::NowMs() + 1000 * static_cast<std::int64_t>(seconds));
}

class LinkEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLinkStateForTest();
        sim::SimOptions options;
        options.scenario = "continuous-1fh";
        simulator = std::make_unique<sim::DisplayIoSimulator>(options);
        ASSERT_TRUE(simulator->Start()) << simulator->lastError();
        platform::SetComPortDevice(L"COM1:", simulator->devicePath());
        ASSERT_TRUE(OpenDryerLink());
    }
    void TearDown() override
    {
        StopDryerLink();
        if (simulator) simulator->Stop();
        simulator.reset();
        ResetLinkStateForTest();
    }

    // One exchange, paced as the 175 ms tick paces it: the communication thread reads the
    // answer to its previous request and writes the next one; when `expectAnswer`, the test
    // waits until the board has answered that request. Returns whether it did.
    bool Exchange(bool expectAnswer = true)
    {
        const std::uint64_t cyclesBefore = GetLinkCounters().cycles;
        const std::uint64_t answersBefore = simulator->requestsAnswered();
        platform::SetVirtualNow(platform::NowMs() + 350);
        SignalPollEvent();
        EXPECT_TRUE(WaitUntil([&] { return GetLinkCounters().cycles > cyclesBefore; }, 2000));
        if (!expectAnswer) return false;
        return WaitUntil([&] { return simulator->requestsAnswered() > answersBefore; }, 1000);
    }

    std::unique_ptr<sim::DisplayIoSimulator> simulator;
};

TEST_F(LinkEndToEnd, FirstAnswersFillTheImage)
{
    ASSERT_TRUE(Exchange());
    Exchange();
    EXPECT_EQ(LinkWatchdog.load(), kLinkWatchdogReload);
    EXPECT_GE(GetLinkCounters().answersAccepted, 1u);
    const auto board = simulator->Image();
    EXPECT_EQ(DryerImage.Get(heaterCountCode.offset), board[heaterCountCode.offset]);
    EXPECT_EQ(DryerImage.Get(dryingType.offset), board[dryingType.offset]);
}

TEST_F(LinkEndToEnd, SetpointIsSentEchoedAndCleared)
{
    Exchange();
    Exchange();
    const ImageField setpoint = ForHeater(plenumSetpoint, 1);
    const int wanted = Value(DryerImage, setpoint) == 185 ? 190 : 185;
    SetValue(DesiredSettings, setpoint, wanted);
    PendingCommand.Set(setpoint.pending);
    int cycles = 0;
    while (PendingCommand.IsSet(setpoint.pending) && cycles < 6) {
        Exchange();
        ++cycles;
    }
    EXPECT_FALSE(PendingCommand.IsSet(setpoint.pending));
    EXPECT_LE(cycles, 3);
    EXPECT_EQ(Value(DryerImage, setpoint), wanted);
    EXPECT_EQ(Value(simulator->Image(), setpoint), wanted);
    EXPECT_GE(simulator->commandRecordsApplied(), 1u);
}

TEST_F(LinkEndToEnd, RefusedValueKeepsBeingSent)
{
    Exchange();
    Exchange();
    ASSERT_NE(simulator->Control("noecho " + std::to_string(fuelCode.offset)).rfind("error", 0),
              0u);
    const std::uint8_t fuel = DryerImage.Get(fuelCode.offset);
    DesiredSettings.Set(fuelCode.offset, static_cast<std::uint8_t>((fuel + 1) % 4));
    PendingCommand.Set(Pending::fuel);
    const std::uint64_t commandsBefore = GetLinkCounters().commands;
    for (int i = 0; i < 6; ++i) Exchange();
    EXPECT_TRUE(PendingCommand.IsSet(Pending::fuel));
    EXPECT_EQ(GetLinkCounters().commands - commandsBefore, 6u);
    EXPECT_EQ(DryerImage.Get(fuelCode.offset), fuel);
}

TEST_F(LinkEndToEnd, SilenceLosesTheLinkAndAnswersRestoreIt)
{
    Exchange();
    Exchange();
    ASSERT_EQ(LinkWatchdog.load(), kLinkWatchdogReload);
    ASSERT_NE(simulator->Control("silent 60").rfind("error", 0), 0u);

    // An operator change made while the board is silent.
    const std::uint8_t length = DryerImage.Get(dryerLengthCode.offset);
    DesiredSettings.Set(dryerLengthCode.offset, static_cast<std::uint8_t>((length + 1) % 15));
    PendingCommand.Set(Pending::dryerLength);

    // Ten seconds of silence: three exchanges and one watchdog step per second.
    int seconds = 0;
    while (LinkWatchdog.load() > 0 && seconds < 20) {
        for (int i = 0; i < 3; ++i) Exchange(false);
        DecrementLinkWatchdog();
        ++seconds;
    }
    EXPECT_EQ(seconds, 10);
    EXPECT_EQ(LinkWatchdog.load(), 0u);

    // The warning window raises the reset request on every paint while the link is down:
    // a link reset request goes out every 10 cycles.
    const LinkCounters before = GetLinkCounters();
    for (int cycle = 0; cycle < 30; ++cycle) {
        RequestLinkReset();
        Exchange(false);
    }
    const LinkCounters after = GetLinkCounters();
    EXPECT_EQ(after.linkResets - before.linkResets, 3u);
    EXPECT_TRUE(PendingCommand.IsSet(Pending::dryerLength));

    // The board speaks again: the watchdog returns, the held command goes out after the
    // hold-off and is confirmed.
    AdvanceSeconds(60);
    int cycles = 0;
    while (PendingCommand.IsSet(Pending::dryerLength) && cycles < 30) {
        Exchange();
        if (LinkWatchdog.load() == 0) RequestLinkReset();
        ++cycles;
    }
    EXPECT_EQ(LinkWatchdog.load(), kLinkWatchdogReload);
    EXPECT_FALSE(PendingCommand.IsSet(Pending::dryerLength));
    EXPECT_EQ(DryerImage.Get(dryerLengthCode.offset), (length + 1) % 15);
}

TEST_F(LinkEndToEnd, CorruptShortAndLongAnswersLeaveTheImageAlone)
{
    Exchange();
    Exchange();
    const char* faults[] = {"badcrc 2", "short 2", "long 2", "noise 40"};
    for (const char* fault : faults) {
        SCOPED_TRACE(fault);
        const std::uint8_t before = DryerImage.Get(printerByte203.offset);
        const std::uint8_t changed = static_cast<std::uint8_t>(before + 1);
        const std::string set = "set " + std::to_string(printerByte203.offset) + " ";
        ASSERT_NE(simulator->Control(set + std::to_string(changed)).rfind("error", 0), 0u);
        ASSERT_NE(simulator->Control(fault).rfind("error", 0), 0u);
        Exchange();  // reads the last clean answer; this request is answered with the fault
        LinkWatchdog = 5;
        const std::uint64_t acceptedBefore = GetLinkCounters().answersAccepted;
        Exchange();  // the faulty answer is read here
        const std::string name(fault);
        if (name.rfind("badcrc", 0) == 0 || name.rfind("short", 0) == 0) {
            EXPECT_EQ(DryerImage.Get(printerByte203.offset), before);
            EXPECT_EQ(LinkWatchdog.load(), 5u);
            EXPECT_EQ(GetLinkCounters().answersAccepted, acceptedBefore);
        }
        if (name.rfind("long", 0) == 0) {
            // the first 302 bytes of an over-long answer are a whole frame: it is taken
            EXPECT_EQ(DryerImage.Get(printerByte203.offset), changed);
        }
        if (name.rfind("noise", 0) == 0) {
            // stray bytes in front shift the frame: its CRC fails
            EXPECT_EQ(DryerImage.Get(printerByte203.offset), before);
        }
        // clean answers bring the change in
        for (int i = 0; i < 4; ++i) Exchange();
        EXPECT_EQ(DryerImage.Get(printerByte203.offset), changed);
        EXPECT_EQ(LinkWatchdog.load(), kLinkWatchdogReload);
    }
}

TEST_F(LinkEndToEnd, StopAndOpenAgain)
{
    Exchange();
    StopDryerLink();
    EXPECT_FALSE(DryerLinkIsOpen());
    SignalPollEvent();  // nothing open: nothing happens
    ASSERT_TRUE(OpenDryerLink());
    EXPECT_FALSE(OpenDryerLink());  // once per run until stopped
    EXPECT_TRUE(Exchange());
}

TEST(LinkOpen, MissingPortReturnsFalse)
{
    ResetLinkStateForTest();
    platform::SetComPortDevice(L"COM1:", "/nonexistent/tty-for-link-test");
    EXPECT_FALSE(OpenDryerLink());
    EXPECT_FALSE(DryerLinkIsOpen());
    SignalPollEvent();
    DecrementLinkWatchdog();
    EXPECT_EQ(LinkWatchdog.load(), kLinkWatchdogReload - 1);
}

}  // namespace
