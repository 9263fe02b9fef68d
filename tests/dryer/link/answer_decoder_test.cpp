// The answer decoder: copies and repaints, echo acknowledgements, the timer reload hold, load
// timing, the metering group, the bushel counter reset, shutdown recording, units, the
// defaults dipswitch and the drying type.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "dryer/link/answer_decoder.h"
#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/repaint_routes.h"

namespace {

std::vector<RepaintTarget> repaints;
std::vector<RECT> repaintRects;
std::vector<std::pair<std::uint8_t, std::uint8_t>> recorded;
int homeCompositions = 0;
std::uint8_t unitsSeenByComposition = 0;  // image byte 266 when the composition was asked for
int mainButtonRefreshes = 0;
std::vector<std::uint8_t> timerButtonTypes;

void RecordRepaint(RepaintTarget target, const RECT* rect, BOOL)
{
    repaints.push_back(target);
    if (rect != nullptr) repaintRects.push_back(*rect);
}
void RecordShutdown(std::uint8_t node, std::uint8_t index)
{
    recorded.emplace_back(node, index);
}
void ComposeHome()
{
    ++homeCompositions;
    unitsSeenByComposition = DryerImage.Get(266);
}
void RefreshButtons()
{
    ++mainButtonRefreshes;
}
void EnableTimers(std::uint8_t type)
{
    timerButtonTypes.push_back(type);
}

class AnswerDecoder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLinkStateForTest();
        SetRepaintFunction(RecordRepaint);
        RecordShutdownHook = RecordShutdown;
        HomeCompositionHook = ComposeHome;
        RefreshMainButtonsHook = RefreshButtons;
        EnableTimerButtonsHook = EnableTimers;
        Forget();
    }
    void TearDown() override
    {
        SetRepaintFunction(nullptr);
        ResetLinkStateForTest();
    }
    void Forget()
    {
        repaints.clear();
        repaintRects.clear();
        recorded.clear();
        homeCompositions = 0;
        mainButtonRefreshes = 0;
        timerButtonTypes.clear();
    }
    void Decode() { ASSERT_TRUE(DecodeAnswerFrame(rx)); }
    bool Repainted(RepaintTarget target) const
    {
        for (RepaintTarget t : repaints) {
            if (t == target) return true;
        }
        return false;
    }
    std::array<std::uint8_t, kAnswerPayloadSize> rx{};
};

TEST_F(AnswerDecoder, CopiesDecodedFieldsAndLeavesTheOthersZero)
{
    for (std::size_t i = 0; i < rx.size(); ++i) rx[i] = static_cast<std::uint8_t>(i | 1);
    Decode();
    const std::set<std::size_t> notDecoded = [] {
        std::set<std::size_t> s;
        const std::pair<int, int> ranges[] = {{0, 2},     {33, 38},   {48, 48},   {53, 57},
                                              {107, 112}, {119, 124}, {170, 170}, {204, 205},
                                              {210, 215}, {231, 231}, {256, 256}, {276, 276},
                                              {285, 286}, {294, 299}, {159, 162}};
        for (auto [a, b] : ranges) {
            for (int i = a; i <= b; ++i) s.insert(static_cast<std::size_t>(i));
        }
        return s;
    }();
    for (std::size_t i = 0; i < rx.size(); ++i) {
        if (i == 159) continue;  // the metering group has its own rule
        if (notDecoded.count(i) != 0) {
            EXPECT_EQ(DryerImage.Get(i), 0) << "offset " << i;
        } else {
            EXPECT_EQ(DryerImage.Get(i), rx[i]) << "offset " << i;
        }
    }
}

TEST_F(AnswerDecoder, IdenticalFrameChangesNothingAndRepaintsNothing)
{
    for (std::size_t i = 0; i < rx.size(); ++i) rx[i] = static_cast<std::uint8_t>(i * 3 + 1);
    Decode();
    EXPECT_FALSE(repaints.empty());
    Forget();
    Decode();
    EXPECT_TRUE(repaints.empty());
    EXPECT_TRUE(recorded.empty());
    EXPECT_EQ(homeCompositions, 0);
    EXPECT_EQ(mainButtonRefreshes, 0);
}

TEST_F(AnswerDecoder, RepaintsTheWindowsOfAChangedField)
{
    struct Case {
        std::uint16_t offset;
        std::vector<RepaintTarget> targets;
    };
    const Case cases[] = {
        {24, {RepaintTarget::rightStatusBar}},
        {81, {RepaintTarget::plenumPanel}},  // one-heater plenum temperature
        {69, {RepaintTarget::plenumPanel, RepaintTarget::temperatureSetpointScreen}},
        {171,
         {RepaintTarget::batchDrying, RepaintTarget::rightStatusBar, RepaintTarget::averageValues}},
        {165, {RepaintTarget::bushelCounterScreen}},
        {240, {RepaintTarget::lightOutputScreen, RepaintTarget::moistureCalibrationScreen}},
        {104, {RepaintTarget::airswitchTestScreen}},
        {193, {RepaintTarget::moistureCalibrationScreen, RepaintTarget::grainTempSelectButton}},
        {263, {RepaintTarget::batchDrying, RepaintTarget::dryerPicture}},
        {200, {RepaintTarget::lineGraph, RepaintTarget::moistureSetpointScreen}},
        {30, {}},  // decoded, shown nowhere
    };
    for (const Case& c : cases) {
        ResetLinkStateForTest();
        rx.fill(0);
        Forget();
        rx[c.offset] = 0x05;
        Decode();
        const std::set<RepaintTarget> got(repaints.begin(), repaints.end());
        const std::set<RepaintTarget> want(c.targets.begin(), c.targets.end());
        EXPECT_EQ(got, want) << "offset " << c.offset;
    }
}

TEST_F(AnswerDecoder, RefusesAShortPayload)
{
    std::array<std::uint8_t, 299> shortPayload{};
    shortPayload.fill(7);
    EXPECT_FALSE(DecodeAnswerFrame(shortPayload));
    EXPECT_EQ(DryerImage.Get(3), 0);
}

TEST_F(AnswerDecoder, EchoClearsTheFlagAndDifferenceKeepsIt)
{
    DesiredSettings.Set(69, 0xB4);  // Fan/Heater 1 setpoint 180 F
    DesiredSettings.Set(70, 0x00);
    PendingCommand.Set(PlenumSetpointFlag(1));
    rx[69] = 0xAA;
    Decode();
    EXPECT_TRUE(PendingCommand.IsSet(PlenumSetpointFlag(1)));
    rx[69] = 0xB4;
    Decode();
    EXPECT_FALSE(PendingCommand.IsSet(PlenumSetpointFlag(1)));
}

TEST_F(AnswerDecoder, AcknowledgementRunsOnUnchangedFramesToo)
{
    rx[5] = 2;
    Decode();
    DesiredSettings.Set(5, 2);
    PendingCommand.Set(Pending::fuel);
    Decode();  // same frame as before
    EXPECT_FALSE(PendingCommand.IsSet(Pending::fuel));
}

TEST_F(AnswerDecoder, MaskedAcknowledgements)
{
    struct Case {
        Pending flag;
        std::uint16_t offset;
        std::uint8_t mask;
    };
    const Case cases[] = {{Pending::byte217, 217, 0x40},
                          {Pending::byte218, 218, 0x0C},
                          {Pending::byte219, 219, 0x98}};
    for (const Case& c : cases) {
        ResetLinkStateForTest();
        rx.fill(0);
        DesiredSettings.Set(c.offset, 0xFF);
        PendingCommand.Set(c.flag);
        // every bit outside the mask differs: still confirmed
        rx[c.offset] = c.mask;
        Decode();
        EXPECT_FALSE(PendingCommand.IsSet(c.flag)) << c.offset;
        // one bit inside the mask differs: stays pending
        PendingCommand.Set(c.flag);
        rx[c.offset] = static_cast<std::uint8_t>(c.mask & (c.mask - 1));
        Decode();
        EXPECT_TRUE(PendingCommand.IsSet(c.flag)) << c.offset;
    }
}

TEST_F(AnswerDecoder, TimerReloadHoldsTheCountdown)
{
    struct Case {
        Pending flag;
        std::uint16_t remaining;
        std::uint16_t setting;
    };
    const Case cases[] = {{Pending::dryTimerReload, 9, 11},
                          {Pending::coolTimerReload, 14, 16},
                          {Pending::unloadTimerReload, 19, 21},
                          {Pending::loHeatTimerReload, 252, 254}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.remaining);
        ResetLinkStateForTest();
        rx.fill(0);
        rx[c.remaining] = 12;  // countdown at 12:30, setting 40:00
        rx[c.remaining + 1] = 30;
        rx[c.setting] = 40;
        Decode();
        // the 1-second tick asks for a reload from the setting
        DesiredSettings.Set(c.remaining, 40);
        DesiredSettings.Set(c.remaining + 1, 0);
        DesiredSettings.Set(c.setting, 40);
        PendingCommand.Set(c.flag);
        rx[c.remaining + 1] = 29;  // old countdown moves on
        Decode();
        EXPECT_EQ(DryerImage.Get(c.remaining + 1), 30);  // frozen
        EXPECT_TRUE(PendingCommand.IsSet(c.flag));
        rx[c.remaining] = 40;  // the board restarted the timer
        rx[c.remaining + 1] = 0;
        Decode();
        EXPECT_FALSE(PendingCommand.IsSet(c.flag));
        EXPECT_EQ(DryerImage.Get(c.remaining), 12);  // this frame still holds
        rx[c.remaining + 1] = 0;
        Decode();
        EXPECT_EQ(DryerImage.Get(c.remaining), 40);
        EXPECT_EQ(DryerImage.Get(c.remaining + 1), 0);
    }
}

TEST_F(AnswerDecoder, ReloadIsNotConfirmedByAStaleDesiredSetting)
{
    // The reload carries the setting the image showed; desired 11-12 was never touched by a
    // screen (0:00). A countdown standing at 0:00 must not count as the board's restart.
    rx[11] = 30;
    Decode();
    DesiredSettings.Set(9, 30);
    DesiredSettings.Set(10, 0);
    PendingCommand.Set(Pending::dryTimerReload);
    Decode();
    EXPECT_TRUE(PendingCommand.IsSet(Pending::dryTimerReload));
}

// Load timing with the load in automatic (offset 179 bit 4).
TEST_F(AnswerDecoder, PreviousLoadTimeFromTheLoadTimer)
{
    rx[179] = 0x10;
    rx[26] = 8;  // load timer setting 8:00
    rx[24] = 8;
    Decode();
    rx[58] = 0x80;  // load starts
    Decode();
    EXPECT_EQ(LoadTimerLowWater.load(), 481u);
    rx[24] = 6;  // counted down to 6:15
    rx[25] = 15;
    Decode();
    EXPECT_EQ(LoadTimerLowWater.load(), 375u);
    rx[58] = 0x00;  // load ends
    Decode();
    EXPECT_EQ(PreviousLoadTime.load(), 105u);
    EXPECT_EQ(DryerImage.Get(58), 0);
}

TEST_F(AnswerDecoder, LoadEndingBeforeTheTimerMovedGivesZero)
{
    rx[179] = 0x10;
    rx[26] = 8;
    rx[24] = 8;
    Decode();
    PreviousLoadTime = 500;
    rx[58] = 0x80;
    Decode();
    rx[58] = 0x00;
    Decode();
    EXPECT_EQ(PreviousLoadTime.load(), 0u);
}

TEST_F(AnswerDecoder, LoadInManualIsNotTimed)
{
    rx[26] = 8;
    Decode();
    rx[58] = 0x80;
    Decode();
    EXPECT_EQ(LoadTimerLowWater.load(), 0u);
    EXPECT_EQ(DryerImage.Get(58), 0x80);
}

TEST_F(AnswerDecoder, ShutdownCodeRecordedOnceWithinHoldOff)
{
    rx[186] = 0x0E;  // Main I/O warning 5
    rx[185] = 0x05;
    Decode();
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0], std::make_pair(std::uint8_t{0x0E}, std::uint8_t{0x05}));
    EXPECT_EQ(LastShutdownCode.load(), 0x0E05);
    EXPECT_EQ(ShutdownRecordHoldOff.load(), 100u);

    rx[185] = 0;  // cleared
    rx[186] = 0;
    Decode();
    for (int s = 0; s < 50; ++s) DecrementShutdownRecordHoldOff();
    rx[186] = 0x0E;  // back within 100 s
    rx[185] = 0x05;
    Decode();
    EXPECT_EQ(recorded.size(), 1u);

    rx[185] = 0;
    rx[186] = 0;
    Decode();
    for (int s = 0; s < 60; ++s) DecrementShutdownRecordHoldOff();
    rx[186] = 0x0E;  // back after 100 s
    rx[185] = 0x05;
    Decode();
    EXPECT_EQ(recorded.size(), 2u);
}

TEST_F(AnswerDecoder, DifferentShutdownCodeIsAlwaysRecorded)
{
    rx[186] = 0x02;
    rx[185] = 0x03;
    Decode();
    rx[186] = 0x0E;
    rx[185] = 0x05;
    Decode();
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_EQ(recorded[1].first, 0x0E);
}

TEST_F(AnswerDecoder, BushelCounterReset)
{
    WriteLe32(rx, 164, 3600 * 250);
    Decode();
    DesiredSettings.Set(238, kBushelResetBit | 0x01);
    PendingCommand.Set(Pending::optionByte238);
    rx[238] = kBushelResetBit | 0x01;  // the board echoes the request...
    Decode();
    EXPECT_TRUE(PendingCommand.IsSet(Pending::optionByte238));  // ...but the counter is not 0
    EXPECT_EQ(DesiredSettings.Get(238), kBushelResetBit | 0x01);
    WriteLe32(rx, 164, 0);
    Decode();
    EXPECT_EQ(DesiredSettings.Get(238), 0x01);                  // reset done: bit 3 goes away
    EXPECT_TRUE(PendingCommand.IsSet(Pending::optionByte238));  // sent once more
    rx[238] = 0x01;
    Decode();
    EXPECT_FALSE(PendingCommand.IsSet(Pending::optionByte238));
}

TEST_F(AnswerDecoder, MeteringKnobModeDesiredFollowsTheBoard)
{
    MeteringByDisplay = 0;
    MeteringScreenShowing = 0;
    rx[159] = 0x85;  // bit 7 set, mode 5
    rx[160] = 40;
    rx[161] = 50;
    rx[162] = 60;
    Decode();
    EXPECT_EQ(DryerImage.Get(159), 0x85);
    EXPECT_EQ(OpenMeteringScreenRequest.load(), 1);
    EXPECT_EQ(DesiredSettings.Get(159), 0x05);
    EXPECT_EQ(DesiredSettings.Get(160), 40);
    EXPECT_EQ(DesiredSettings.Get(162), 60);
    EXPECT_EQ(DryerImage.Get(160), 0);  // the image keeps its metering values
    EXPECT_TRUE(Repainted(RepaintTarget::meteringScreen));

    // while the operator's group is pending, the knob does not overwrite it
    OpenMeteringScreenRequest = 0;
    DesiredSettings.Set(160, 45);
    PendingCommand.Set(Pending::desiredMeteringGroup);
    rx[160] = 41;
    Decode();
    EXPECT_EQ(DesiredSettings.Get(160), 45);
    EXPECT_TRUE(PendingCommand.IsSet(Pending::desiredMeteringGroup));
    EXPECT_EQ(OpenMeteringScreenRequest.load(), 0);
    rx[160] = 45;
    rx[159] = 0x05;  // bit 7 back to 0
    MeteringScreenShowing = 1;
    Decode();
    EXPECT_FALSE(PendingCommand.IsSet(Pending::desiredMeteringGroup));
    EXPECT_EQ(OpenMeteringScreenRequest.load(), 0);  // screen already showing
    EXPECT_EQ(DryerImage.Get(159), 0x05);
}

TEST_F(AnswerDecoder, MeteringDisplayModeLeavesTheImageAlone)
{
    MeteringByDisplay = 1;
    for (std::uint16_t i = 0; i < 4; ++i) DesiredSettings.Set(159 + i, std::uint8_t(10 + i));
    PendingCommand.Set(Pending::imageMeteringGroup);
    rx[159] = 0x80;
    rx[160] = 11;
    Decode();
    EXPECT_EQ(DryerImage.Get(159), 0);
    EXPECT_EQ(DesiredSettings.Get(159), 10);
    EXPECT_EQ(OpenMeteringScreenRequest.load(), 0);
    EXPECT_TRUE(PendingCommand.IsSet(Pending::imageMeteringGroup));
    for (std::uint16_t i = 0; i < 4; ++i) rx[159 + i] = std::uint8_t(10 + i);
    Decode();
    EXPECT_FALSE(PendingCommand.IsSet(Pending::imageMeteringGroup));
}

TEST_F(AnswerDecoder, PresetsToMeteringConfirmedInBothModes)
{
    for (std::uint8_t byDisplay : {0, 1}) {
        ResetLinkStateForTest();
        rx.fill(0);
        MeteringByDisplay = byDisplay;
        rx[156] = 9;
        rx[157] = 6;
        rx[158] = 3;
        Decode();
        PendingCommand.Set(Pending::presetsToMetering);
        Decode();
        EXPECT_TRUE(PendingCommand.IsSet(Pending::presetsToMetering));
        rx[160] = 9;
        rx[161] = 6;
        rx[162] = 3;
        Decode();
        EXPECT_FALSE(PendingCommand.IsSet(Pending::presetsToMetering));
    }
}

TEST_F(AnswerDecoder, MeteringPresetConfirmedOnlyWhenItChanges)
{
    rx[156] = 7;
    Decode();
    DesiredSettings.Set(156, 7);
    PendingCommand.Set(Pending::meteringPresetHigh);
    Decode();  // equal but unchanged: stays pending
    EXPECT_TRUE(PendingCommand.IsSet(Pending::meteringPresetHigh));
    DesiredSettings.Set(156, 8);
    rx[156] = 8;
    Decode();
    EXPECT_FALSE(PendingCommand.IsSet(Pending::meteringPresetHigh));
}

TEST_F(AnswerDecoder, LeavingThreeSpeedAutoSendsThePresets)
{
    rx[187] = 0x83;  // scheme 3, bit 7 set
    Decode();
    Forget();
    rx[187] = 0x03;
    Decode();
    EXPECT_TRUE(PendingCommand.IsSet(Pending::presetsToMetering));
    ASSERT_FALSE(repaintRects.empty());
    EXPECT_EQ(repaintRects[0], (RECT{5, 145, 235, 170}));
    EXPECT_TRUE(Repainted(RepaintTarget::meteringScreen));
}

TEST_F(AnswerDecoder, UnitsByte)
{
    rx[266] = 0x80;
    Decode();
    EXPECT_EQ(SiUnits.load(), 1);
    EXPECT_EQ(homeCompositions, 0);
    rx[266] = 0xC0;  // graph view
    Decode();
    EXPECT_EQ(homeCompositions, 1);
    EXPECT_EQ(mainButtonRefreshes, 1);
    // The composition runs on the other thread and takes the view from the image: the image
    // must already hold the new view when it is asked for.
    EXPECT_EQ(unitsSeenByComposition, 0xC0);
    rx[266] = 0x48;  // back to Fahrenheit, view unchanged
    Decode();
    EXPECT_EQ(SiUnits.load(), 0);
    EXPECT_EQ(homeCompositions, 1);
    EXPECT_EQ(DryerImage.Get(266), 0x48);
}

TEST_F(AnswerDecoder, DefaultsDipswitchRequest)
{
    rx[188] = 0x20;
    Decode();
    EXPECT_EQ(DefaultsSwitchScreenRequest.load(), 1);
    EXPECT_TRUE(Repainted(RepaintTarget::rightStatusBar));
    rx[188] = 0x00;
    Decode();
    EXPECT_EQ(DefaultsSwitchScreenRequest.load(), 0);
    DefaultsSwitchDismissed = 1;
    rx[188] = 0x60;
    Decode();
    EXPECT_EQ(DefaultsSwitchScreenRequest.load(), 0);
}

TEST_F(AnswerDecoder, DryingTypeChange)
{
    rx[257] = 0x10;  // TIME only
    Decode();
    Forget();
    rx[8] = 1;  // batch
    Decode();
    EXPECT_EQ(homeCompositions, 1);
    EXPECT_EQ(mainButtonRefreshes, 1);  // the M/C button greys
    EXPECT_EQ(timerButtonTypes, std::vector<std::uint8_t>{1});
    EXPECT_TRUE(Repainted(RepaintTarget::batchDrying));
    EXPECT_TRUE(Repainted(RepaintTarget::setupSelection));
    EXPECT_EQ(BatchSpecialState.load(), 1);
    EXPECT_EQ(MoistureControlUnavailable.load(), 1);

    HomeShown = 0;  // set-up selection open: no home composition
    rx[8] = 0;
    Decode();
    EXPECT_EQ(homeCompositions, 1);
    EXPECT_EQ(mainButtonRefreshes, 2);
    EXPECT_EQ(timerButtonTypes.size(), 2u);
    EXPECT_EQ(BatchSpecialState.load(), 0);
    EXPECT_EQ(MoistureControlUnavailable.load(), 0);
}

TEST_F(AnswerDecoder, BatchSpecialStateFromPanelSwitches)
{
    rx[8] = 1;
    Decode();
    EXPECT_EQ(BatchSpecialState.load(), 0);
    rx[179] = 0x02;
    Decode();
    EXPECT_EQ(BatchSpecialState.load(), 1);
}

TEST_F(AnswerDecoder, BatchSpecialStateWhenByte246Confirmed)
{
    rx[8] = 1;
    rx[257] = 0x10;
    Decode();
    BatchSpecialState = 0;
    DesiredSettings.Set(246, 0x05);
    PendingCommand.Set(Pending::byte246);
    rx[246] = 0x05;
    Decode();
    EXPECT_FALSE(PendingCommand.IsSet(Pending::byte246));
    EXPECT_EQ(BatchSpecialState.load(), 1);
}

TEST_F(AnswerDecoder, Byte217OtherBitsDoNotKeepItPending)
{
    DesiredSettings.Set(217, 0x41);
    PendingCommand.Set(Pending::byte217);
    rx[217] = 0x7E;
    Decode();
    EXPECT_FALSE(PendingCommand.IsSet(Pending::byte217));
}

}  // namespace
