// "Select Burner Mode - 10": the indicators it opens on, SELECT and the ALL buttons, what
// ACCEPT sends (and only that), CANCEL, and the dryer taking the new modes.
#include <gtest/gtest.h>

#include <array>

#include "dryer/link/dryer_image.h"
#include "dryer/screens/screen_procs.h"
#include "dryer/setup/hardware_dialogs.h"
#include "platform/windowing/dialog.h"
#include "tests/dryer/program/panel_run.h"
#include "tests/dryer/setup/setup_support.h"

namespace {

using namespace setup_test;
using panel_test::PanelRun;

constexpr int kHiLo = 0, kOnOff = 1, kAuto = 2, kNone = -1;  // indicators
using Bytes = std::array<int, kMaxHeaters>;                  // Fan/Heater 1 first

// Puts the control bytes on the board once (the dryer echoes what the panel sends afterwards)
// and opens the dialog.
bool OpenWith(PanelRun& panel, const Bytes& bytes)
{
    for (int heater = 1; heater <= kMaxHeaters; ++heater) {
        panel_test::SetOnBoard(panel.sim(), ForHeater(heaterControlBits, heater),
                               bytes[heater - 1]);
    }
    panel.Cycles(2);
    return OpenBurnerModeDialog();
}

int Indicator(int heater)
{
    return CheckedIndex(BurnerIndicatorId(heater, 0), 3);
}

int DesiredByte(int heater)
{
    return Value(DesiredSettings, ForHeater(heaterControlBits, heater));
}

int FrameOf(int id)
{
    const int heater = (id - 1100) / 10;
    return heater >= 1 && heater <= kMaxHeaters ? BurnerFrameId(heater) : 0;
}

TEST(BurnerMode, OpensOnTheReportedModesAndSelectStepsOneFanHeater)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    // HI / LO, ON / OFF, AUTO, the value 2 (no mode), AUTO and ON / OFF beside other bits
    ASSERT_TRUE(OpenWith(panel, {0x00, 0x01, 0x03, 0x02, 0x07, 0x85}));
    const int opened[] = {kHiLo, kOnOff, kAuto, kNone, kAuto, kOnOff};
    for (int heater = 1; heater <= kMaxHeaters; ++heater) {
        EXPECT_EQ(Indicator(heater), opened[heater - 1]) << heater;
        EXPECT_EQ(Text(BurnerFrameId(heater)), L"Fan/Heater #" + std::to_wstring(heater));
    }
    EXPECT_EQ(Text(BurnerIndicatorId(1, kOnOff)), L"ON / OFF");
    ExpectTidyLayout(kBurnerModeTitle, FrameOf);
    for (int expected : {kOnOff, kAuto, kHiLo}) {
        ASSERT_TRUE(platform::PressControl(BurnerSelectId(1)));
        EXPECT_EQ(Indicator(1), expected);
        EXPECT_EQ(Indicator(2), kOnOff);  // the others stay
    }
    // A Fan/Heater that reports no mode starts at HI / LO.
    ASSERT_TRUE(platform::PressControl(BurnerSelectId(4)));
    EXPECT_EQ(Indicator(4), kHiLo);
    EXPECT_EQ(DesiredByte(4), 0x02);  // only the indicators change before ACCEPT
    ASSERT_TRUE(platform::PressControl(IDCANCEL));
}

struct AllCase {
    int button, indicator, mode;
};

class BurnerModeAll : public ::testing::TestWithParam<AllCase> {};

TEST_P(BurnerModeAll, ChecksEveryFanHeaterAndAcceptSendsTheBytesThatChanged)
{
    const AllCase& c = GetParam();
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    const Bytes before{0x00, 0x01, 0x03, 0x02, 0x04, 0x80};  // other bits must stay
    ASSERT_TRUE(OpenWith(panel, before));
    ASSERT_TRUE(platform::PressControl(c.button));
    for (int heater = 1; heater <= kMaxHeaters; ++heater) EXPECT_EQ(Indicator(heater), c.indicator);
    ASSERT_TRUE(platform::PressControl(IDOK));
    Flags flags;
    for (int heater = 1; heater <= kMaxHeaters; ++heater) {
        const int wanted = (before[heater - 1] & ~burnerModeBits.mask) | c.mode;
        EXPECT_EQ(DesiredByte(heater), wanted) << heater;
        if (wanted != before[heater - 1]) flags.push_back("heaterByte" + std::to_string(heater));
    }
    EXPECT_EQ(SetupFlagsSet(), flags);
}

INSTANTIATE_TEST_SUITE_P(Buttons, BurnerModeAll,
                         ::testing::Values(AllCase{kBurnerAllHiLo, kHiLo, kBurnerHiLo},
                                           AllCase{kBurnerAllOnOff, kOnOff, kBurnerOnOff},
                                           AllCase{kBurnerAllAuto, kAuto, kBurnerAuto}));

TEST(BurnerMode, AllAutoOnADryerAtHiLoSendsAllSixBytesAndTheDryerTakesThem)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWith(panel, {0x00, 0x04, 0x00, 0x00, 0x00, 0x80}));
    ASSERT_TRUE(platform::PressControl(kBurnerAllAuto));
    ASSERT_TRUE(platform::PressControl(IDOK));
    EXPECT_EQ(SetupFlagsSet(), (Flags{"heaterByte1", "heaterByte2", "heaterByte3", "heaterByte4",
                                      "heaterByte5", "heaterByte6"}));
    panel.Cycles(3);
    const Bytes reported{0x03, 0x07, 0x03, 0x03, 0x03, 0x83};
    for (int heater = 1; heater <= kMaxHeaters; ++heater) {
        const ImageField byte = ForHeater(heaterControlBits, heater);
        EXPECT_EQ(panel_test::SimByte(panel.sim(), byte), reported[heater - 1]) << heater;
        EXPECT_EQ(Value(DryerImage, byte), reported[heater - 1]) << heater;
    }
    EXPECT_TRUE(SetupFlagsSet().empty());  // every byte echoed
}

TEST(BurnerMode, CancelAfterAllAutoLeavesTheDesiredBytesAsCopied)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    const Bytes copied{0x00, 0x01, 0x00, 0x04, 0x00, 0x00};
    ASSERT_TRUE(OpenWith(panel, copied));
    ASSERT_TRUE(platform::PressControl(kBurnerAllAuto));
    ASSERT_TRUE(platform::PressControl(IDCANCEL));
    EXPECT_FALSE(panel_test::FindTitled(kBurnerModeTitle).has_value());
    for (int heater = 1; heater <= kMaxHeaters; ++heater) {
        EXPECT_EQ(DesiredByte(heater), copied[heater - 1]) << heater;
    }
    EXPECT_TRUE(SetupFlagsSet().empty());
}

TEST(BurnerMode, AcceptSendsOnlyTheFanHeatersThatChanged)
{
    PanelRun panel;
    ASSERT_TRUE(panel.started());
    ASSERT_TRUE(OpenWith(panel, {0x00, 0x00, 0x00, 0x02, 0x00, 0x00}));
    ASSERT_TRUE(platform::PressControl(BurnerSelectId(3)));  // HI / LO to ON / OFF
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(platform::PressControl(BurnerSelectId(5)));  // round
    ASSERT_TRUE(platform::PressControl(IDOK));
    EXPECT_EQ(SetupFlagsSet(), Flags{"heaterByte3"});
    EXPECT_EQ(DesiredByte(3), 0x01);
    EXPECT_EQ(DesiredByte(4), 0x02);  // given no mode, sent as nothing
    // Opened again before the dryer has echoed it, the dialog shows the change on its way
    // (no exchange runs while the test presses) and keeps sending it.
    ASSERT_TRUE(platform::PressControl(kSetupBurnerModeButton));
    EXPECT_EQ(Indicator(3), kOnOff);
    ASSERT_TRUE(platform::PressControl(IDOK));
    EXPECT_EQ(DesiredByte(3), 0x01);
    EXPECT_EQ(SetupFlagsSet(), Flags{"heaterByte3"});
}

}  // namespace
