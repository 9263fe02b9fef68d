// The programming link on a real serial line: NodeFlasher's port against the simulated Display
// I/O board on a pseudo-terminal. The panel runs on the virtual clock; the test plays the
// 50 ms timer, and after each request it waits (real time, bounded) for the board's answer
// before the next tick, as the board on a real line would have answered by then.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "flasher/node_link.h"
#include "platform/devices/serial.h"
#include "platform/runtime/clock.h"
#include "sim/display_io_sim.h"
#include "tests/flasher/node_link_support.h"

namespace {

class VirtualClockEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (platform::IsVirtualClock()) return;
        SYSTEMTIME start;
        start.wYear = 2026;
        start.wMonth = 9;
        start.wDay = 14;
        start.wHour = 8;
        platform::UseVirtualClock(start);
    }
};
const auto* const kClockEnvironment =
    ::testing::AddGlobalTestEnvironment(new VirtualClockEnvironment);

class NodeLinkOnALine : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallFakeNodeLine();  // recorders and a clean link
        SetNodePortOps(nullptr);
        SetNodeLinkPort(INVALID_HANDLE_VALUE);
        sim::SimOptions options;
        options.scenario = "continuous-2fh";
        simulator = std::make_unique<sim::DisplayIoSimulator>(options);
        ASSERT_TRUE(simulator->Start()) << simulator->lastError();
        platform::SetComPortDevice(L"COM1:", simulator->devicePath());
        ASSERT_TRUE(OpenNodeLink());
    }
    void TearDown() override
    {
        CloseNodeLink();
        simulator.reset();
        ResetNodeLinkForTest();
    }

    // One 50 ms tick; when it sent a request, waits until the board has answered it.
    void Tick()
    {
        platform::SetVirtualNow(platform::NowMs() + kFlasherTickMs);
        FlasherTick();
        if (NodeLink.awaitingAnswer && NodeLink.answerTimeout == kAnswerTimeoutTicks) {
            ++sent;
            if (expectAnswers) simulator->WaitForAnswered(answeredBefore + sent, 2000);
        }
    }
    template <typename Done>
    int TickUntil(Done done, int maxTicks)
    {
        int ticks = 0;
        for (; ticks < maxTicks && !done(); ++ticks) Tick();
        return ticks;
    }

    std::unique_ptr<sim::DisplayIoSimulator> simulator;
    std::uint64_t answeredBefore = 0;
    std::uint64_t sent = 0;
    bool expectAnswers = true;
};

}  // namespace

TEST_F(NodeLinkOnALine, ABoardIsProgrammedAndItsFlashDumpHoldsTheImage)
{
    std::vector<std::uint8_t> image(1000);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i ^ 0x5C);
    InstallMiniUpload(static_cast<NodeId>(3), image);
    simulator->Control("badcrc 1");  // the open answer is garbled on the way: sent again
    TickUntil([] { return !MiniUpload().inProgress; }, 1000);
    ASSERT_FALSE(MiniUpload().inProgress);
    EXPECT_FALSE(MiniUpload().gaveUp);
    EXPECT_EQ(NodeLink.answersRejected, 1u);
    EXPECT_TRUE(NodeOutcome.linkClosed);

    // The dump lists the image from linear address 0x10000, 16 bytes a record; the last block's
    // 24 bytes of padding read as erased.
    std::istringstream hex(simulator->Control("flash 3"));
    std::string line;
    std::getline(hex, line);
    EXPECT_EQ(line, "ok flash of slot 3");
    std::getline(hex, line);
    EXPECT_EQ(line, ":020000040001F9");
    std::vector<std::uint8_t> dumped;
    while (std::getline(hex, line) && line != ":00000001FF") {
        ASSERT_EQ(line.substr(7, 2), "00");
        const std::size_t count = std::stoul(line.substr(1, 2), nullptr, 16);
        const std::size_t address = std::stoul(line.substr(3, 4), nullptr, 16);
        ASSERT_EQ(address, dumped.size());
        for (std::size_t i = 0; i < count; ++i) {
            dumped.push_back(
                static_cast<std::uint8_t>(std::stoul(line.substr(9 + 2 * i, 2), nullptr, 16)));
        }
    }
    EXPECT_EQ(line, ":00000001FF");
    ASSERT_GE(dumped.size(), image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), dumped.begin()));
    EXPECT_TRUE(std::all_of(dumped.begin() + 1000, dumped.end(), [](auto b) { return b == 0xFF; }));
}

TEST_F(NodeLinkOnALine, AScanAnswerArrivesWholeAndASilentBoardTimesOut)
{
    FlasherTickSteps steps;
    static std::vector<std::uint8_t> scan;
    static std::vector<std::wstring> lines;
    scan.clear();
    lines.clear();
    steps.scanAnswered = [](std::span<const std::uint8_t> a) { scan.assign(a.begin(), a.end()); };
    steps.addScanLine = [](const wchar_t* text) { lines.emplace_back(text); };
    SetFlasherTickSteps(steps);
    simulator->Control("unplug 14");

    PrepareNetworkScan();
    NodeLink.busy = true;
    TickUntil([] { return !NodeLink.busy; }, 100);
    ASSERT_EQ(scan.size(), 164u);
    EXPECT_EQ(scan[2 + 2 * 5 + 3], 10);  // Fan/Heater #2 in record 3
    EXPECT_EQ(scan[2 + 13 * 5 + 4], 0);  // no Main I/O: an empty slot
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"Scan of Network in Progress...", L"  "}));

    simulator->Control("silent 60");
    expectAnswers = false;
    PrepareNetworkScan();
    NodeLink.busy = true;
    for (std::uint32_t tick = 0; tick <= kAnswerTimeoutTicks + 1; ++tick) Tick();  // send, wait
    EXPECT_EQ(lines.back(), L"No Response From Display I/O.");
    EXPECT_TRUE(NodeLink.busy);
}

TEST(NodeLinkWithoutPort, APortThatCannotBeOpenedLeavesEveryRequestToTheTimeout)
{
    InstallFakeNodeLine();
    SetNodePortOps(nullptr);
    SetNodeLinkPort(INVALID_HANDLE_VALUE);
    platform::SetComPortDevice(L"COM1:", "/nonexistent/tty-of-no-panel");
    EXPECT_FALSE(OpenNodeLink());
    EXPECT_EQ(NodeLinkPort(), INVALID_HANDLE_VALUE);
    PrepareNetworkScan();
    NodeLink.busy = true;
    for (std::uint32_t tick = 0; tick <= kAnswerTimeoutTicks + 1; ++tick) FlasherTick();
    EXPECT_EQ(Recorder().scanLines.back(), L"No Response From Display I/O.");
    EXPECT_EQ(Recorder().uploadLines.back(), L"No Response From Display I/O.");
    ResetNodeLinkForTest();
}
