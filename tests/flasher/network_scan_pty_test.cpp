// The network scan on a real serial line: NodeFlasher's port against the simulated Display
// I/O board on a pseudo-terminal, the panel on the virtual clock and the test playing the
// 50 ms timer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "flasher/network_scan.h"
#include "platform/devices/serial.h"
#include "platform/runtime/clock.h"
#include "sim/display_io_sim.h"
#include "tests/flasher/node_link_support.h"

namespace {

class ScanOnALine : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!platform::IsVirtualClock()) {
            SYSTEMTIME start{};
            start.wYear = 2026;
            start.wMonth = 9;
            start.wDay = 14;
            start.wHour = 8;
            platform::UseVirtualClock(start);
        }
        InstallFakeNodeLine();
        SetNodePortOps(nullptr);
        SetNodeLinkPort(INVALID_HANDLE_VALUE);
        ResetNetworkScanForTest();
        FlasherTickSteps steps;
        steps.addScanLine = [](const wchar_t* t) { Recorder().scanLines.emplace_back(t); };
        PlugNetworkScan(steps);
        SetFlasherTickSteps(steps);
        SetScanListClear([] { Recorder().scanLines.clear(); });
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
        ResetNetworkScanForTest();
        ResetNodeLinkForTest();
    }

    // Ticks until the report is in; after the tick that sent the request, waits (real time,
    // bounded) for the board's answer, as a board on a real line would have answered by then.
    bool ScanToReport()
    {
        const std::uint64_t before = simulator->requestsAnswered();
        StartScan();
        for (int tick = 0; tick < 40 && !NetworkScan.scanDone; ++tick) {
            platform::SetVirtualNow(platform::NowMs() + kFlasherTickMs);
            FlasherTick();
            if (NodeLink.awaitingAnswer && NodeLink.answerTimeout == kAnswerTimeoutTicks) {
                simulator->WaitForAnswered(before + 1, 2000);
            }
        }
        return NetworkScan.scanDone;
    }

    std::unique_ptr<sim::DisplayIoSimulator> simulator;
};

}  // namespace

TEST_F(ScanOnALine, ReportOfANetworkWithoutMainIo)
{
    simulator->Control("unplug 14");
    simulator->Control("version 3 202 106");
    ASSERT_TRUE(ScanToReport());
    const std::vector<std::wstring>& lines = Recorder().scanLines;
    ASSERT_EQ(lines.size(), 2u + 5u + 2u * 4u);
    EXPECT_EQ(lines[5 + 2],
              L"2.01 .... 1.05 ........ NA ....... DISPLAY IO (GEN1) .......... NOTHING TO REPORT");
    EXPECT_EQ(lines[5 + 4],
              L"2.01 .... 1.05 ........ 01 ....... FAN/HEATER (GEN1) ......... NOTHING TO REPORT");
    EXPECT_EQ(lines[5 + 6],
              L"2.02 .... 1.06 ........ 02 ....... FAN/HEATER (GEN1) ......... NOTHING TO REPORT");
    EXPECT_EQ(lines[5 + 8],
              L"2.01 .... 1.05 ........ NA ....... MOISTURE CON (GEN1) ..... NOTHING TO REPORT");
    EXPECT_TRUE(ScanPresent(NodeId::fanHeater1));
    EXPECT_TRUE(ScanPresent(static_cast<NodeId>(3)));
    EXPECT_FALSE(ScanPresent(NodeId::mainIo));
}
