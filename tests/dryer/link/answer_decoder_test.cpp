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

using Bytes4 = std::array<std::uint8_t, 4>;

std::vector<RepaintTarget> repaints;
std::vector<RECT> repaintRects;
std::vector<std::pair<std::uint8_t, std::uint8_t>> recorded;
int homeCompositions = 0;
std::uint8_t unitsSeenByComposition = 0;  // unitsAndOptions when the composition was asked for
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
    unitsSeenByComposition = static_cast<std::uint8_t>(Value(DryerImage, unitsAndOptions));
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
    std::set<std::size_t> decoded;
    for (const ImageField& field : kImageLayout) {
        // The metering group has its own rule: the image keeps its values (knob mode).
        if (field == meteringControl) continue;
        for (std::size_t i = field.offset; i < field.end(); ++i) decoded.insert(i);
    }
    for (std::size_t i = 0; i < rx.size(); ++i) {
        if (i == meteringControl.offset) continue;  // its status bit is copied on a change
        if (decoded.count(i) != 0) {
            EXPECT_EQ(DryerImage.Get(i), rx[i]) << "offset " << i;
        } else {
            EXPECT_EQ(DryerImage.Get(i), 0) << "offset " << i;
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
        ImageField field;
        int byte;  // which byte of the field changes
        std::vector<RepaintTarget> targets;
    };
    const Case cases[] = {
        {loadTimerRemaining, 0, {RepaintTarget::rightStatusBar}},
        {ForHeater(plenumTemp, 1), 0, {RepaintTarget::plenumPanel}},
        {ForHeater(plenumSetpoint, 1),
         0,
         {RepaintTarget::plenumPanel, RepaintTarget::temperatureSetpointScreen}},
        {dryerState,
         0,
         {RepaintTarget::batchDrying, RepaintTarget::rightStatusBar, RepaintTarget::averageValues}},
        {bushelCounter, 1, {RepaintTarget::bushelCounterScreen}},
        {ioBits2, 1, {RepaintTarget::lightOutputScreen, RepaintTarget::moistureCalibrationScreen}},
        {ForHeater(heaterControlBits, 3), 0, {RepaintTarget::airswitchTestScreen}},
        {j1OutputsShorted, 0, {RepaintTarget::lightOutputScreen, RepaintTarget::switchTestScreen}},
        {ForHeater(heaterStatusBits, 1),
         0,
         {RepaintTarget::rightStatusBar, RepaintTarget::airswitchTestScreen}},
        {drySensorTemp,
         0,
         {RepaintTarget::moistureCalibrationScreen, RepaintTarget::grainTempSelectButton}},
        {statusBytes262, 1, {RepaintTarget::batchDrying, RepaintTarget::dryerPicture}},
        {moistureSetpoint, 1, {RepaintTarget::lineGraph, RepaintTarget::moistureSetpointScreen}},
        {timePair29, 1, {}},  // decoded, shown nowhere
    };
    for (const Case& c : cases) {
        ResetLinkStateForTest();
        rx.fill(0);
        Forget();
        rx[c.field.offset + c.byte] = 0x05;
        Decode();
        const std::set<RepaintTarget> got(repaints.begin(), repaints.end());
        const std::set<RepaintTarget> want(c.targets.begin(), c.targets.end());
        EXPECT_EQ(got, want) << "offset " << c.field.offset + c.byte;
    }
}

TEST_F(AnswerDecoder, RefusesAShortPayload)
{
    std::array<std::uint8_t, 299> shortPayload{};
    shortPayload.fill(7);
    EXPECT_FALSE(DecodeAnswerFrame(shortPayload));
    EXPECT_EQ(Value(DryerImage, heaterCountCode), 0);
}

TEST_F(AnswerDecoder, EchoClearsTheFlagAndDifferenceKeepsIt)
{
    const ImageField setpoint = ForHeater(plenumSetpoint, 1);
    SetValue(DesiredSettings, setpoint, 180);
    PendingCommand.Set(setpoint.pending);
    SetValue(rx, setpoint, 170);
    Decode();
    EXPECT_TRUE(PendingCommand.IsSet(setpoint.pending));
    SetValue(rx, setpoint, 180);
    Decode();
    EXPECT_FALSE(PendingCommand.IsSet(setpoint.pending));
}

TEST_F(AnswerDecoder, AcknowledgementRunsOnUnchangedFramesToo)
{
    SetValue(rx, fuelCode, 2);
    Decode();
    SetValue(DesiredSettings, fuelCode, 2);
    PendingCommand.Set(fuelCode.pending);
    Decode();  // same frame as before
    EXPECT_FALSE(PendingCommand.IsSet(fuelCode.pending));
}

TEST_F(AnswerDecoder, MaskedAcknowledgements)
{
    struct Case {
        ImageField field;
        std::uint8_t mask;
    };
    const Case cases[] = {{settingByte217, 0x40}, {settingByte218, 0x0C}, {settingByte219, 0x98}};
    for (const Case& c : cases) {
        ResetLinkStateForTest();
        rx.fill(0);
        SetValue(DesiredSettings, c.field, 0xFF);
        PendingCommand.Set(c.field.pending);
        // every bit outside the mask differs: still confirmed
        SetValue(rx, c.field, c.mask);
        Decode();
        EXPECT_FALSE(PendingCommand.IsSet(c.field.pending)) << c.field.offset;
        // one bit inside the mask differs: stays pending
        PendingCommand.Set(c.field.pending);
        SetValue(rx, c.field, c.mask & (c.mask - 1));
        Decode();
        EXPECT_TRUE(PendingCommand.IsSet(c.field.pending)) << c.field.offset;
    }
}

TEST_F(AnswerDecoder, TimerReloadHoldsTheCountdown)
{
    struct Case {
        ImageField remaining;
        ImageField setting;
    };
    const Case cases[] = {{dryTimerRemaining, dryTimerSetting},
                          {coolTimerRemaining, coolTimerSetting},
                          {unloadTimerRemaining, unloadTimerSetting},
                          {loHeatTimerRemaining, loHeatTimerSetting}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.remaining.offset);
        const Pending reload = c.remaining.pending;
        ResetLinkStateForTest();
        rx.fill(0);
        SetValue(rx, c.remaining, 12 * 60 + 30);  // countdown at 12:30, setting 40:00
        SetValue(rx, c.setting, 40 * 60);
        Decode();
        // the 1-second tick asks for a reload from the setting
        SetValue(DesiredSettings, c.remaining, 40 * 60);
        SetValue(DesiredSettings, c.setting, 40 * 60);
        PendingCommand.Set(reload);
        SetValue(rx, c.remaining, 12 * 60 + 29);  // old countdown moves on
        Decode();
        EXPECT_EQ(Value(DryerImage, c.remaining), 12 * 60 + 30);  // frozen
        EXPECT_TRUE(PendingCommand.IsSet(reload));
        SetValue(rx, c.remaining, 40 * 60);  // the board restarted the timer
        Decode();
        EXPECT_FALSE(PendingCommand.IsSet(reload));
        EXPECT_EQ(Value(DryerImage, c.remaining), 12 * 60 + 30);  // this frame still holds
        Decode();
        EXPECT_EQ(Value(DryerImage, c.remaining), 40 * 60);
    }
}

TEST_F(AnswerDecoder, ReloadIsNotConfirmedByAStaleDesiredSetting)
{
    // The reload carries the setting the image showed; the desired setting was never touched
    // by a screen (0:00). A countdown standing at 0:00 must not count as the board's restart.
    SetValue(rx, dryTimerSetting, 30 * 60);
    Decode();
    SetValue(DesiredSettings, dryTimerRemaining, 30 * 60);
    PendingCommand.Set(Pending::dryTimerReload);
    Decode();
    EXPECT_TRUE(PendingCommand.IsSet(Pending::dryTimerReload));
}

// Load timing with the load in automatic.
TEST_F(AnswerDecoder, PreviousLoadTimeFromTheLoadTimer)
{
    SetBits(rx, loadAutoBit, true);
    SetValue(rx, loadTimerSetting, 8 * 60);
    SetValue(rx, loadTimerRemaining, 8 * 60);
    Decode();
    SetBits(rx, loadInProgressBit, true);  // load starts
    Decode();
    EXPECT_EQ(LoadTimerLowWater.load(), 481u);
    SetValue(rx, loadTimerRemaining, 6 * 60 + 15);  // counted down to 6:15
    Decode();
    EXPECT_EQ(LoadTimerLowWater.load(), 375u);
    SetBits(rx, loadInProgressBit, false);  // load ends
    Decode();
    EXPECT_EQ(PreviousLoadTime.load(), 105u);
    EXPECT_EQ(Value(DryerImage, loadStatusBits), 0);
}

TEST_F(AnswerDecoder, LoadEndingBeforeTheTimerMovedGivesZero)
{
    SetBits(rx, loadAutoBit, true);
    SetValue(rx, loadTimerSetting, 8 * 60);
    SetValue(rx, loadTimerRemaining, 8 * 60);
    Decode();
    PreviousLoadTime = 500;
    SetBits(rx, loadInProgressBit, true);
    Decode();
    SetBits(rx, loadInProgressBit, false);
    Decode();
    EXPECT_EQ(PreviousLoadTime.load(), 0u);
}

TEST_F(AnswerDecoder, LoadInManualIsNotTimed)
{
    SetValue(rx, loadTimerSetting, 8 * 60);
    Decode();
    SetBits(rx, loadInProgressBit, true);
    Decode();
    EXPECT_EQ(LoadTimerLowWater.load(), 0u);
    EXPECT_TRUE(IsSet(DryerImage, loadInProgressBit));
}

TEST_F(AnswerDecoder, ShutdownCodeRecordedOnceWithinHoldOff)
{
    SetActiveWarningCode(rx, 0x0E05);  // Main I/O warning 5
    Decode();
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0], std::make_pair(std::uint8_t{0x0E}, std::uint8_t{0x05}));
    EXPECT_EQ(LastShutdownCode.load(), 0x0E05);
    EXPECT_EQ(ShutdownRecordHoldOff.load(), 100u);

    SetActiveWarningCode(rx, 0);  // cleared
    Decode();
    for (int s = 0; s < 50; ++s) DecrementShutdownRecordHoldOff();
    SetActiveWarningCode(rx, 0x0E05);  // back within 100 s
    Decode();
    EXPECT_EQ(recorded.size(), 1u);

    SetActiveWarningCode(rx, 0);
    Decode();
    for (int s = 0; s < 60; ++s) DecrementShutdownRecordHoldOff();
    SetActiveWarningCode(rx, 0x0E05);  // back after 100 s
    Decode();
    EXPECT_EQ(recorded.size(), 2u);
}

TEST_F(AnswerDecoder, DifferentShutdownCodeIsAlwaysRecorded)
{
    SetActiveWarningCode(rx, 0x0203);
    Decode();
    SetActiveWarningCode(rx, 0x0E05);
    Decode();
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_EQ(recorded[1].first, 0x0E);
}

TEST_F(AnswerDecoder, BushelCounterReset)
{
    constexpr int kOtherOption = 0x01;  // a bit of the option byte that stays as it is
    SetValue(rx, bushelCounter, 3600 * 250);
    Decode();
    SetValue(DesiredSettings, optionByte238, kOtherOption);
    SetBits(DesiredSettings, bushelResetBit, true);
    PendingCommand.Set(optionByte238.pending);
    CopyField(DesiredSettings, rx, optionByte238);  // the board echoes the request...
    Decode();
    EXPECT_TRUE(PendingCommand.IsSet(optionByte238.pending));  // ...but the counter is not 0
    EXPECT_TRUE(IsSet(DesiredSettings, bushelResetBit));
    SetValue(rx, bushelCounter, 0);
    Decode();
    EXPECT_EQ(Value(DesiredSettings, optionByte238), kOtherOption);  // reset done: bit gone
    EXPECT_TRUE(PendingCommand.IsSet(optionByte238.pending));        // sent once more
    SetValue(rx, optionByte238, kOtherOption);
    Decode();
    EXPECT_FALSE(PendingCommand.IsSet(optionByte238.pending));
}

TEST_F(AnswerDecoder, MeteringKnobModeDesiredFollowsTheBoard)
{
    MeteringByDisplay = 0;
    MeteringScreenShowing = 0;
    const ImageField value160 = meteringValues.Element(0);
    const ImageField value162 = meteringValues.Element(2);
    SetBits(rx, meteringStatusBit, true);
    SetBitsValue(rx, meteringModeBits, 5);
    SetValue(rx, value160, 40);
    SetValue(rx, meteringValues.Element(1), 50);
    SetValue(rx, value162, 60);
    Decode();
    EXPECT_TRUE(IsSet(DryerImage, meteringStatusBit));
    EXPECT_EQ(BitsValue(DryerImage, meteringModeBits), 5);
    EXPECT_EQ(OpenMeteringScreenRequest.load(), 1);
    EXPECT_FALSE(IsSet(DesiredSettings, meteringStatusBit));
    EXPECT_EQ(BitsValue(DesiredSettings, meteringModeBits), 5);
    EXPECT_EQ(Value(DesiredSettings, value160), 40);
    EXPECT_EQ(Value(DesiredSettings, value162), 60);
    EXPECT_EQ(Value(DryerImage, value160), 0);  // the image keeps its metering values
    EXPECT_TRUE(Repainted(RepaintTarget::meteringScreen));

    // while the operator's group is pending, the knob does not overwrite it
    OpenMeteringScreenRequest = 0;
    SetValue(DesiredSettings, value160, 45);
    PendingCommand.Set(Pending::desiredMeteringGroup);
    SetValue(rx, value160, 41);
    Decode();
    EXPECT_EQ(Value(DesiredSettings, value160), 45);
    EXPECT_TRUE(PendingCommand.IsSet(Pending::desiredMeteringGroup));
    EXPECT_EQ(OpenMeteringScreenRequest.load(), 0);
    SetValue(rx, value160, 45);
    SetBits(rx, meteringStatusBit, false);
    MeteringScreenShowing = 1;
    Decode();
    EXPECT_FALSE(PendingCommand.IsSet(Pending::desiredMeteringGroup));
    EXPECT_EQ(OpenMeteringScreenRequest.load(), 0);  // screen already showing
    EXPECT_FALSE(IsSet(DryerImage, meteringStatusBit));
    EXPECT_EQ(BitsValue(DryerImage, meteringModeBits), 5);
}

TEST_F(AnswerDecoder, MeteringDisplayModeLeavesTheImageAlone)
{
    MeteringByDisplay = 1;
    const Bytes4 group{10, 11, 12, 13};
    for (std::size_t i = 0; i < group.size(); ++i) {
        DesiredSettings.Set(meteringControl.offset + i, group[i]);
    }
    PendingCommand.Set(Pending::imageMeteringGroup);
    SetBits(rx, meteringStatusBit, true);
    SetValue(rx, meteringValues.Element(0), 11);
    Decode();
    EXPECT_EQ(Value(DryerImage, meteringControl), 0);
    EXPECT_EQ(Value(DesiredSettings, meteringControl), 10);
    EXPECT_EQ(OpenMeteringScreenRequest.load(), 0);
    EXPECT_TRUE(PendingCommand.IsSet(Pending::imageMeteringGroup));
    CopyField(DesiredSettings, rx, meteringControl);
    Decode();
    EXPECT_FALSE(PendingCommand.IsSet(Pending::imageMeteringGroup));
}

TEST_F(AnswerDecoder, PresetsToMeteringConfirmedInBothModes)
{
    for (std::uint8_t byDisplay : {0, 1}) {
        ResetLinkStateForTest();
        rx.fill(0);
        MeteringByDisplay = byDisplay;
        const int presets[] = {9, 6, 3};  // high, medium, low
        for (int i = 0; i < 3; ++i) SetValue(rx, meteringPreset.Element(i), presets[i]);
        Decode();
        PendingCommand.Set(Pending::presetsToMetering);
        Decode();
        EXPECT_TRUE(PendingCommand.IsSet(Pending::presetsToMetering));
        for (int i = 0; i < 3; ++i) SetValue(rx, meteringValues.Element(i), presets[i]);
        Decode();
        EXPECT_FALSE(PendingCommand.IsSet(Pending::presetsToMetering));
    }
}

TEST_F(AnswerDecoder, MeteringPresetConfirmedOnlyWhenItChanges)
{
    const ImageField high = meteringPreset.Element(0);
    SetValue(rx, high, 7);
    Decode();
    SetValue(DesiredSettings, high, 7);
    PendingCommand.Set(high.pending);
    Decode();  // equal but unchanged: stays pending
    EXPECT_TRUE(PendingCommand.IsSet(high.pending));
    SetValue(DesiredSettings, high, 8);
    SetValue(rx, high, 8);
    Decode();
    EXPECT_FALSE(PendingCommand.IsSet(high.pending));
}

TEST_F(AnswerDecoder, LeavingVariableSpeedAutoSendsThePresets)
{
    SetBitsValue(rx, moistureSchemeBits, kSchemeVariable);
    SetBits(rx, moistureAutoBit, true);
    Decode();
    Forget();
    SetBits(rx, moistureAutoBit, false);
    Decode();
    EXPECT_TRUE(PendingCommand.IsSet(Pending::presetsToMetering));
    ASSERT_FALSE(repaintRects.empty());
    EXPECT_EQ(repaintRects[0], (RECT{5, 145, 235, 170}));
    EXPECT_TRUE(Repainted(RepaintTarget::meteringScreen));
}

TEST_F(AnswerDecoder, UnitsByte)
{
    SetBits(rx, siUnitsBit, true);
    Decode();
    EXPECT_EQ(SiUnits.load(), 1);
    EXPECT_EQ(homeCompositions, 0);
    SetBits(rx, graphViewBit, true);
    Decode();
    EXPECT_EQ(homeCompositions, 1);
    EXPECT_EQ(mainButtonRefreshes, 1);
    // The composition runs on the other thread and takes the view from the image: the image
    // must already hold the new view when it is asked for.
    EXPECT_EQ(unitsSeenByComposition, Value(rx, unitsAndOptions));
    SetBits(rx, siUnitsBit, false);  // back to Fahrenheit, view unchanged
    SetBitsValue(rx, batchSafetyBits, 1);
    Decode();
    EXPECT_EQ(SiUnits.load(), 0);
    EXPECT_EQ(homeCompositions, 1);
    EXPECT_EQ(Value(DryerImage, unitsAndOptions), Value(rx, unitsAndOptions));
}

TEST_F(AnswerDecoder, DefaultsDipswitchRequest)
{
    SetBits(rx, defaultsSwitchBit, true);
    Decode();
    EXPECT_EQ(DefaultsSwitchScreenRequest.load(), 1);
    EXPECT_TRUE(Repainted(RepaintTarget::rightStatusBar));
    SetBits(rx, defaultsSwitchBit, false);
    Decode();
    EXPECT_EQ(DefaultsSwitchScreenRequest.load(), 0);
    DefaultsSwitchDismissed = 1;
    SetBits(rx, defaultsSwitchBit, true);
    SetBits(rx, dryerStartedBit, true);
    Decode();
    EXPECT_EQ(DefaultsSwitchScreenRequest.load(), 0);
}

TEST_F(AnswerDecoder, DryingTypeChange)
{
    SetBitsValue(rx, batchCriteriaBits, kCriteriaTimeAlone);
    Decode();
    Forget();
    SetValue(rx, dryingType, kBatchDrying);
    Decode();
    EXPECT_EQ(homeCompositions, 1);
    EXPECT_EQ(mainButtonRefreshes, 1);  // the M/C button greys
    EXPECT_EQ(timerButtonTypes, std::vector<std::uint8_t>{kBatchDrying});
    EXPECT_TRUE(Repainted(RepaintTarget::batchDrying));
    EXPECT_TRUE(Repainted(RepaintTarget::setupSelection));
    EXPECT_EQ(BatchSpecialState.load(), 1);
    EXPECT_EQ(MoistureControlUnavailable.load(), 1);

    HomeShown = 0;  // set-up selection open: no home composition
    SetValue(rx, dryingType, kContinuousFlow);
    Decode();
    EXPECT_EQ(homeCompositions, 1);
    EXPECT_EQ(mainButtonRefreshes, 2);
    EXPECT_EQ(timerButtonTypes.size(), 2u);
    EXPECT_EQ(BatchSpecialState.load(), 0);
    EXPECT_EQ(MoistureControlUnavailable.load(), 0);
}

TEST_F(AnswerDecoder, BatchSpecialStateFromPanelSwitches)
{
    SetValue(rx, dryingType, kBatchDrying);
    Decode();
    EXPECT_EQ(BatchSpecialState.load(), 0);
    SetBits(rx, unloadManualBit, true);
    Decode();
    EXPECT_EQ(BatchSpecialState.load(), 1);
}

TEST_F(AnswerDecoder, BatchSpecialStateWhenByte246Confirmed)
{
    SetValue(rx, dryingType, kBatchDrying);
    SetBitsValue(rx, batchCriteriaBits, kCriteriaTimeAlone);
    Decode();
    BatchSpecialState = 0;
    SetValue(DesiredSettings, settingByte246, 0x05);
    PendingCommand.Set(settingByte246.pending);
    SetValue(rx, settingByte246, 0x05);
    Decode();
    EXPECT_FALSE(PendingCommand.IsSet(settingByte246.pending));
    EXPECT_EQ(BatchSpecialState.load(), 1);
}

TEST_F(AnswerDecoder, Byte217OtherBitsDoNotKeepItPending)
{
    SetValue(DesiredSettings, settingByte217, 0x41);
    PendingCommand.Set(settingByte217.pending);
    SetValue(rx, settingByte217, 0x7E);  // bit 6 agrees, the others do not
    Decode();
    EXPECT_FALSE(PendingCommand.IsSet(settingByte217.pending));
}

}  // namespace
