// The two wiring checks of the diagnostics screen on a running panel: each light output row of
// J1 and J2 shows its own SHORTED and ACTIVATED bits, each switch box its own input bit under
// its name, and the dryer type switches in their positions; a change on the dryer shows without
// reopening the screen.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "dryer/link/dryer_image.h"
#include "dryer/setup/system_diagnostics.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/setup/diagnostics_support.h"
#include "tests/dryer/setup/setup_support.h"

namespace {

using namespace diagnostics_test;
using panel_test::PanelRun;

// The rows as the wiring diagram names them, and the bit of each in its byte.
struct Row {
    Connector connector;
    int row;
    const wchar_t* label;
    int bit;
};
constexpr Row kRows[] = {
    {Connector::j1, 1, L"J1-01 / SPARE", 0},  {Connector::j1, 2, L"J1-02 / BURNER 6", 1},
    {Connector::j1, 3, L"J1-03 / FAN 6", 2},  {Connector::j1, 4, L"J1-04 / BURNER 5", 3},
    {Connector::j1, 5, L"J1-05 / FAN 5", 4},  {Connector::j1, 6, L"J1-06 / BURNER 4", 5},
    {Connector::j1, 7, L"J1-07 / FAN 4", 6},  {Connector::j1, 8, L"J1-08 / BURNER 3", 7},
    {Connector::j2, 1, L"J2-01 / FAN 3", 7},  {Connector::j2, 2, L"J2-02 / BURNER 2", 6},
    {Connector::j2, 3, L"J2-03 / FAN 2", 5},  {Connector::j2, 4, L"J2-04 / BURNER 1", 4},
    {Connector::j2, 5, L"J2-05 / FAN 1", 3},  {Connector::j2, 6, L"J2-06 / LOAD", 2},
    {Connector::j2, 7, L"J2-07 / UNLOAD", 1}, {Connector::j2, 8, L"J2-08 / START", 0},
};

struct LightPattern {
    int j1Shorted, j2Shorted, j1Activated, j2Activated;
};

void ExpectLightRows(const LightPattern& p)
{
    for (const Row& r : kRows) {
        SCOPED_TRACE(panel_test::Narrow(r.label));
        const bool j1 = r.connector == Connector::j1;
        const int shorted = j1 ? p.j1Shorted : p.j2Shorted;
        const int activated = j1 ? p.j1Activated : p.j2Activated;
        EXPECT_EQ(Text(LightLabelId(r.connector, r.row)), r.label);
        EXPECT_EQ(Checked(LightShortedId(r.connector, r.row)), ((shorted >> r.bit) & 1) != 0);
        EXPECT_EQ(Checked(LightActivatedId(r.connector, r.row)), ((activated >> r.bit) & 1) != 0);
    }
}

TEST(LightOutputs, EachRowShowsItsOwnShortedAndActivatedBits)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    // Four different patterns, then their complements: a row that read a neighbour's bit, the
    // other connector's byte or the other box's byte would show wrong in one of the two.
    const LightPattern patterns[] = {{0xA5, 0x0F, 0x3C, 0x96}, {0x5A, 0xF0, 0xC3, 0x69}};
    panel.Pin(j1OutputsShorted, patterns[0].j1Shorted);
    panel.Pin(j2OutputsShorted, patterns[0].j2Shorted);
    panel.Pin(j1OutputsActivated, patterns[0].j1Activated);
    panel.Pin(j2OutputsActivated, patterns[0].j2Activated);
    OpenOnPanel(panel, OpenLightOutputs);
    ASSERT_TRUE(Window(kLightOutputsTitle).has_value());
    ExpectLightRows(patterns[0]);

    // The screen follows the dryer while it is open.
    panel.Pin(j1OutputsShorted, patterns[1].j1Shorted);
    panel.Pin(j2OutputsShorted, patterns[1].j2Shorted);
    panel.Pin(j1OutputsActivated, patterns[1].j1Activated);
    panel.Pin(j2OutputsActivated, patterns[1].j2Activated);
    ExpectLightRows(patterns[1]);

    ASSERT_TRUE(platform::PressControl(kLightHelpButton));
    EXPECT_EQ(MessageCaption(), L"Diagnostics/ Check light outputs Help");
    EXPECT_EQ(MessageText().rfind(L"If the \u201Cactivated\u201D box is checked, then the\nsystem "
                                  L"has recently been run.",
                                  0),
              0u);
    ASSERT_TRUE(platform::AnswerMessageBox(L"OK"));
    ASSERT_TRUE(platform::PressControl(IDOK));
    EXPECT_FALSE(Window(kLightOutputsTitle).has_value());
}

// The switches by byte (179-183) and bit, as the panel's wiring diagram names them.
constexpr const wchar_t* kSwitches[kSwitchBytes][8] = {
    {L"STOP", L"UNLOAD 1 SPEED", L"UNLOAD 2 SPEED", L"LOAD ON", L"LOAD AUTO", L"FAN 1 AUTO",
     L"FAN 1 ON", L"SPARE #1"},
    {L"BURNER 1 AUTO", L"BURNER 1 ON", L"FAN 2 AUTO", L"FAN 2 ON", L"BURNER 2 AUTO", L"BURNER 2 ON",
     L"FAN 3 AUTO", L"FAN 3 ON"},
    {L"SPARE #2", L"BURNER 3 AUTO", L"BURNER 3 ON", L"FAN 4 AUTO", L"FAN 4 ON", L"BURNER 4 AUTO",
     L"BURNER 4 ON", L"FAN 5 AUTO"},
    {L"BURNER 6 ON", L"FAN 5 ON", L"SPARE #3", L"BURNER 5 AUTO", L"BURNER 5 ON", L"FAN 6 AUTO",
     L"FAN 6 ON", L"BURNER 6 AUTO"},
    {L"START", L"MANUAL", L"AUX", L"DEFAULTS", L"MR PUSH BUTON", L"MR LEFT", L"MR RIGHT", nullptr},
};

void PinSwitches(PanelRun& panel, int pattern, int dryerType)
{
    for (int byte = 0; byte < kSwitchBytes; ++byte) {
        panel.Pin(panelSwitchInputs.Element(byte),
                  (pattern >> byte) & 1 ? pattern : ~pattern & 0xFF);
    }
    panel.Pin(dryerConfigBits, dryerType);
}

void ExpectSwitches(int pattern, int dryerType)
{
    for (int byte = 0; byte < kSwitchBytes; ++byte) {
        const int value = (pattern >> byte) & 1 ? pattern : ~pattern & 0xFF;
        for (int bit = 0; bit < 8; ++bit) {
            SCOPED_TRACE(std::to_string(179 + byte) + " bit " + std::to_string(bit));
            if (kSwitches[byte][bit] == nullptr) {
                EXPECT_FALSE(setup_test::Control(SwitchBoxId(byte, bit)).has_value());
                continue;
            }
            EXPECT_EQ(Text(SwitchBoxId(byte, bit)), kSwitches[byte][bit]);
            EXPECT_EQ(Checked(SwitchBoxId(byte, bit)), ((value >> bit) & 1) != 0);
        }
    }
    for (int position = 1; position <= 8; ++position) {
        SCOPED_TRACE(position);
        EXPECT_EQ(Checked(DryerTypeBoxId(position)), ((dryerType >> (8 - position)) & 1) != 0);
    }
}

TEST(SwitchTest, EachBoxShowsItsSwitchUnderItsName)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    PinSwitches(panel, 0xA5, 0x81);
    OpenOnPanel(panel, OpenSwitchTest);
    ASSERT_TRUE(Window(kSwitchTestTitle).has_value());
    ExpectSwitches(0xA5, 0x81);
    PinSwitches(panel, 0x5A, 0x24);  // followed while open
    ExpectSwitches(0x5A, 0x24);
    ASSERT_TRUE(platform::PressControl(IDOK));
    EXPECT_FALSE(Window(kSwitchTestTitle).has_value());
}

}  // namespace
