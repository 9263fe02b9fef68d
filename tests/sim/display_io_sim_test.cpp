// The simulator serving a real pseudo-terminal: the panel side opens the slave as "COM1:" and
// exchanges requests and answers through the platform's serial port.
#include "sim/display_io_sim.h"
#include "dryer/link/dryer_image.h"

#include <gtest/gtest.h>

#include "platform/devices/serial.h"
#include "platform/runtime/threads.h"
#include "platform/storage/files.h"
#include "tests/sim/sim_frames.h"

using namespace sim;
using namespace sim_test;

namespace {

class PanelPort {
public:
    explicit PanelPort(const std::string& device)
    {
        platform::SetComPortDevice(L"COM1:", device);
        handle_ = CreateFile(L"COM1:", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                             nullptr);
        COMMTIMEOUTS t;
        t.ReadIntervalTimeout = MAXDWORD;
        SetCommTimeouts(handle_, &t);
    }
    ~PanelPort()
    {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Send(const std::vector<std::uint8_t>& bytes)
    {
        DWORD written = 0;
        WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    std::vector<std::uint8_t> Read()
    {
        std::vector<std::uint8_t> buffer(1024);
        DWORD got = 0;
        ReadFile(handle_, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr);
        buffer.resize(got);
        return buffer;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace

TEST(SimulatorOnPty, AnswersAPollWithTheStatusFrame)
{
    DisplayIoSimulator simulator(SimOptions{});
    ASSERT_TRUE(simulator.Start()) << simulator.lastError();
    ASSERT_FALSE(simulator.devicePath().empty());
    PanelPort port(simulator.devicePath());
    ASSERT_TRUE(port.ok());

    port.Send(Poll());
    ASSERT_TRUE(simulator.WaitForAnswered(1, 2000));
    const auto answer = port.Read();
    ASSERT_EQ(answer.size(), 302u);
    EXPECT_TRUE(LinkCrc16Check(answer, 300));
    EXPECT_EQ(simulator.requestsAnswered(), 1u);
}

TEST(SimulatorOnPty, EchoesACommandAndTakesControlCommands)
{
    SimOptions options;
    options.scenario = "stopped";
    DisplayIoSimulator simulator(options);
    ASSERT_TRUE(simulator.Start());
    PanelPort port(simulator.devicePath());

    const std::uint16_t modules = moduleCountCode.offset;
    const std::uint16_t setpoint = ForHeater(plenumSetpoint, 1).offset;
    EXPECT_EQ(simulator.Control("noecho " + std::to_string(modules)),
              "ok offset " + std::to_string(modules) + " is not echoed");
    port.Send(Command({{setpoint, {200, 0}}, {modules, {2}}}));
    ASSERT_TRUE(simulator.WaitForAnswered(1, 2000));
    const auto answer = port.Read();
    ASSERT_EQ(answer.size(), 302u);
    EXPECT_EQ(answer[setpoint], 200);
    EXPECT_EQ(answer[modules], 0);
    EXPECT_EQ(simulator.Image()[setpoint], 200);
    EXPECT_EQ(simulator.commandRecordsApplied(), 1u);

    simulator.Control("warn 0305");
    EXPECT_EQ(ActiveWarningCode(simulator.Image()), 0x0305);
}

TEST(SimulatorOnPty, StaysSilentWhenAskedAndAnswersAgainAfterwards)
{
    DisplayIoSimulator simulator(SimOptions{});
    ASSERT_TRUE(simulator.Start());
    PanelPort port(simulator.devicePath());
    simulator.Control("silent 1");
    port.Send(Poll());
    EXPECT_FALSE(simulator.WaitForAnswers(1, 300));
    EXPECT_TRUE(port.Read().empty());
    simulator.WaitForAnswers(1, 1000);  // real clock: the second passes
    port.Send(Poll());
    ASSERT_TRUE(simulator.WaitForAnswered(1, 2000));
    EXPECT_EQ(port.Read().size(), 302u);
}

TEST(SimulatorOptions, OverridesAndTheirLimits)
{
    std::string error;
    SimOptions options;
    options.heaters = 6;
    options.modules = 3;
    options.dryingType = 1;
    options.celsius = 1;
    const auto config = ConfigFromOptions(options, &error);
    ASSERT_TRUE(config.has_value()) << error;
    EXPECT_EQ(config->heaterCountCode, 4);
    EXPECT_EQ(config->moduleCountCode, 2);
    EXPECT_EQ(config->dryingType, 1);
    EXPECT_EQ(config->unitsAndOptions & 0x80, 0x80);

    using Change = void (*)(SimOptions&);
    const Change bads[] = {[](SimOptions& o) { o.heaters = 5; },
                           [](SimOptions& o) { o.modules = 0; },
                           [](SimOptions& o) { o.scenario = "nope"; },
                           [](SimOptions& o) {
                               o.presets = {{300, 1}};
                           }};
    for (Change bad : bads) {
        SimOptions o;
        bad(o);
        EXPECT_FALSE(ConfigFromOptions(o, &error).has_value());
    }
}
