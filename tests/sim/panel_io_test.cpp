// The panel connectors of the simulated board: the switches of a dryer in automatic, switches
// and light outputs turned by control commands (by name, into the bits the panel reads), the
// lights a running dryer marks as activated, and commands the board refuses.
#include "sim/panel_io.h"

#include <gtest/gtest.h>

#include "dryer/link/panel_connectors.h"
#include "sim/display_io_board.h"

using namespace sim;

namespace {

DryerConfig Stopped(int heaterCountCode)
{
    DryerConfig c;
    c.running = false;
    c.heaterCountCode = static_cast<std::uint8_t>(heaterCountCode);
    return c;
}

bool Ok(const std::string& answer)
{
    return answer.rfind("ok", 0) == 0;
}

bool SwitchOn(const StatusImage& image, const wchar_t* name)
{
    for (int byte = 0; byte < kSwitchBytes; ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            const SwitchInput input = SwitchInputOf(byte, bit);
            if (input.name != nullptr && std::wstring(input.name) == name) {
                return IsSet(image, input.bits);
            }
        }
    }
    ADD_FAILURE() << "no switch of that name";
    return false;
}

}  // namespace

TEST(PanelIo, AStoppedDryerHasTheSwitchesOfItsFanHeatersInAuto)
{
    DisplayIoBoard board(Stopped(1));  // two Fan/Heaters
    const StatusImage image = board.Image();
    EXPECT_TRUE(SwitchOn(image, L"FAN 1 AUTO"));
    EXPECT_TRUE(SwitchOn(image, L"BURNER 2 AUTO"));
    EXPECT_FALSE(SwitchOn(image, L"FAN 3 AUTO"));
    EXPECT_FALSE(SwitchOn(image, L"FAN 1 ON"));
    EXPECT_TRUE(SwitchOn(image, L"LOAD AUTO"));
    EXPECT_EQ(Value(image, j1OutputsActivated) | Value(image, j2OutputsActivated), 0);
}

TEST(PanelIo, SwitchAndLightCommandsSetTheNamedBits)
{
    DisplayIoBoard board(Stopped(0));
    EXPECT_TRUE(Ok(board.Control("switch MR_PUSH_BUTON on", 0)));
    EXPECT_TRUE(SwitchOn(board.Image(), L"MR PUSH BUTON"));
    EXPECT_TRUE(IsSet(board.Image(), Bits(panelSwitchInputs, 0x10, 4)));  // 183 bit 4
    EXPECT_TRUE(Ok(board.Control("switch spare_#2 on", 0)));
    EXPECT_TRUE(IsSet(board.Image(), Bits(panelSwitchInputs, 0x01, 2)));  // 181 bit 0
    EXPECT_TRUE(Ok(board.Control("switch MR_PUSH_BUTON off", 0)));
    EXPECT_FALSE(SwitchOn(board.Image(), L"MR PUSH BUTON"));

    EXPECT_TRUE(Ok(board.Control("light J1-03 shorted on", 0)));
    EXPECT_EQ(Value(board.Image(), j1OutputsShorted), 0x04);
    EXPECT_TRUE(Ok(board.Control("light START activated on", 0)));  // J2-08: 240 bit 0
    EXPECT_EQ(Value(board.Image(), j2OutputsActivated), 0x01);
    EXPECT_TRUE(Ok(board.Control("light FAN_3 shorted on", 0)));  // J2-01: 178 bit 7
    EXPECT_EQ(Value(board.Image(), j2OutputsShorted), 0x80);
    EXPECT_TRUE(Ok(board.Control("light clear", 0)));
    EXPECT_EQ(Value(board.Image(), j1OutputsShorted), 0);
    EXPECT_EQ(Value(board.Image(), j2OutputsActivated), 0);

    for (const char* bad :
         {"switch", "switch NOSUCH on", "switch STOP maybe", "light J3-01 shorted on",
          "light J1-01 lit on", "light J1-01 shorted", "switch STOP on now"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(Ok(board.Control(bad, 0)));
    }
}

TEST(PanelIo, ARunningDryerMarksTheLightsItDrives)
{
    DryerConfig config;
    config.heaterCountCode = 1;  // two Fan/Heaters
    DisplayIoBoard board(config);
    ASSERT_TRUE(Ok(board.Control("advance 120", 0)));
    const StatusImage image = board.Image();
    const auto activated = [&](Connector c, int row) {
        return IsSet(image, LightOutputOf(c, row).activated);
    };
    EXPECT_TRUE(activated(Connector::j2, 8));   // START
    EXPECT_TRUE(activated(Connector::j2, 5));   // FAN 1
    EXPECT_TRUE(activated(Connector::j2, 3));   // FAN 2
    EXPECT_FALSE(activated(Connector::j1, 3));  // FAN 6: not on this dryer
    EXPECT_EQ(Value(image, j1OutputsShorted) | Value(image, j2OutputsShorted), 0);
}
