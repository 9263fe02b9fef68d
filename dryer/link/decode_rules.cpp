// The fields of the answer that the decoder does more with than copy and confirm: timers held
// during a reload, the load timing, the metering group and presets, the bushel counter and its
// reset, the warning code and the shutdown history, the moisture mode, the defaults dipswitch,
// the drying type and options behind the batch special state, and the units and view byte.
#include <cstdint>

#include "dryer/link/decode_run.h"
#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/repaint_routes.h"

namespace {

// The moisture line of LINE_GRAPH_WINDOW, repainted without erasing on a moisture mode change.
constexpr RECT kMoistureLine{5, 145, 235, 170};

std::uint8_t lastUnitsAndOptions = 0;  // communication thread only

bool BatchDrying()
{
    return Value(DryerImage, dryingType) == kBatchDrying;
}
bool TimeIsTheOnlyCriterion()
{
    return BitsValue(DryerImage, batchCriteriaBits) == kCriteriaTimeAlone;
}

void RefreshMainButtons()
{
    if (const RefreshMainButtonsFn fn = RefreshMainButtonsHook.load()) fn();
}

void RunHomeComposition()
{
    if (const HomeCompositionFn fn = HomeCompositionHook.load()) fn();
}

void SetBatchSpecialState(bool on)
{
    BatchSpecialState.store(on ? 1 : 0, std::memory_order_relaxed);
}

void UpdateMoistureControlUnavailable()
{
    const std::uint8_t unavailable = BatchDrying() && TimeIsTheOnlyCriterion() ? 1 : 0;
    if (MoistureControlUnavailable.exchange(unavailable, std::memory_order_relaxed) !=
        unavailable) {
        RefreshMainButtons();
    }
}

void DecodeDryingType(DecodeRun& run, const ImageField& unit)
{
    if (CopyIfChanged(run, unit)) {
        const int type = Value(DryerImage, dryingType);
        if (HomeShown.load(std::memory_order_relaxed) != 0) RunHomeComposition();
        if (const EnableTimerButtonsFn fn = EnableTimerButtonsHook.load()) {
            fn(static_cast<std::uint8_t>(type));
        }
        if (type != kBatchDrying) {
            SetBatchSpecialState(false);
        } else if (TimeIsTheOnlyCriterion()) {
            SetBatchSpecialState(true);
        }
        UpdateMoistureControlUnavailable();
    }
    Acknowledge(unit);
}

// While a reload is pending the countdown on screen stays as it was; the flag clears once
// the board reports the timer restarted from the value the reload sent.
void DecodeTimerRemaining(DecodeRun& run, const ImageField& unit)
{
    if (!PendingCommand.IsSet(unit.pending)) {
        CopyIfChanged(run, unit);
        return;
    }
    if (ReceivedEqualsDesired(run, unit.offset, unit.width)) PendingCommand.Clear(unit.pending);
}

void DecodeLoadRemaining(DecodeRun& run, const ImageField& unit)
{
    if (!Differs(run, unit)) return;
    const auto remaining = static_cast<std::uint32_t>(Value(run.rx, unit));
    if (remaining < LoadTimerLowWater.load(std::memory_order_relaxed)) {
        LoadTimerLowWater.store(remaining, std::memory_order_relaxed);
    }
    CopyIfChanged(run, unit);
}

// The edges of "load in progress" measure the previous load, while the load runs in
// automatic.
void DecodeLoadStatus(DecodeRun& run, const ImageField& unit)
{
    const bool wasLoading = IsSet(DryerImage, loadInProgressBit);
    const bool loading = IsSet(run.rx, loadInProgressBit);
    if (wasLoading != loading && IsSet(run.rx, loadAutoBit)) {
        const std::int64_t setting = Value(DryerImage, loadTimerSetting);
        if (loading) {
            LoadTimerLowWater.store(static_cast<std::uint32_t>(setting + 1),
                                    std::memory_order_relaxed);
        } else {
            std::int64_t duration = setting - LoadTimerLowWater.load(std::memory_order_relaxed);
            if (duration < 0) duration = 0;
            if (duration > kPreviousLoadTimeMax) duration = kPreviousLoadTimeMax;
            PreviousLoadTime.store(static_cast<std::uint32_t>(duration), std::memory_order_relaxed);
        }
    }
    CopyIfChanged(run, unit);
}

// A preset's flag is confirmed only at the moment the board's value changes to the desired one.
void DecodeMeteringPreset(DecodeRun& run, const ImageField& unit)
{
    if (!CopyIfChanged(run, unit)) return;
    if (PendingCommand.IsSet(unit.pending) &&
        Value(DryerImage, unit) == Value(DesiredSettings, unit)) {
        PendingCommand.Clear(unit.pending);
    }
}

// With the knob the desired metering values follow the board.
void FollowTheKnob(DecodeRun& run)
{
    constexpr ImageField status = Byte(meteringControl.offset);  // status and mode bits
    if (IsSet(run.rx, meteringStatusBit) != IsSet(DryerImage, meteringStatusBit)) {
        DryerImage.Set(status.offset, static_cast<std::uint8_t>(Value(run.rx, status)));
        run.repaint |= kMeteringScreen;
        if (MeteringScreenShowing.load(std::memory_order_relaxed) == 0) {
            OpenMeteringScreenRequest.store(1, std::memory_order_relaxed);
        }
    }
    const int mode = BitsValue(run.rx, meteringModeBits);
    if (mode != Value(DesiredSettings, status)) {
        DesiredSettings.Set(status.offset, static_cast<std::uint8_t>(mode));
        run.repaint |= kMeteringScreen;
    }
    for (std::uint16_t offset = status.offset + 1; offset < meteringControl.end(); ++offset) {
        if (run.rx[offset] != DesiredSettings.Get(offset) &&
            !PendingCommand.IsSet(Pending::desiredMeteringGroup)) {
            DesiredSettings.Set(offset, run.rx[offset]);
            run.repaint |= kMeteringScreen;
        }
    }
    if (ReceivedEqualsDesired(run, meteringControl.offset, meteringControl.width)) {
        PendingCommand.Clear(Pending::desiredMeteringGroup);
    }
}

// Offsets 159-162: where the metering speed is set decides who follows whom. With the knob
// the desired values follow the board; with the display the board must echo the display.
void DecodeMeteringGroup(DecodeRun& run, const ImageField& unit)
{
    if (MeteringByDisplay.load(std::memory_order_relaxed) != 0) {
        if (ReceivedEqualsDesired(run, unit.offset, unit.width)) {
            PendingCommand.Clear(Pending::imageMeteringGroup);
        }
    } else {
        FollowTheKnob(run);
    }
    // The presets sent as the metering values (160-162) are confirmed when the board shows them.
    bool presetsEcho = true;
    for (int i = 0; i < meteringPreset.count(); ++i) {
        if (run.rx[unit.offset + 1 + i] != Value(DryerImage, meteringPreset.Element(i))) {
            presetsEcho = false;
        }
    }
    if (presetsEcho) PendingCommand.Clear(Pending::presetsToMetering);
    const std::uint16_t value161 = unit.offset + 2;
    if (run.rx[value161] == DesiredSettings.Get(value161)) PendingCommand.Clear(Pending::byte161);
}

// The counter copies byte by byte; a reset request (bushelResetBit of the desired option byte)
// is kept pending until the board reports a zero counter, then the cleared option byte goes
// out once more.
void DecodeBushelCounter(DecodeRun& run, const ImageField& unit)
{
    for (std::uint16_t offset = unit.offset; offset < unit.end(); ++offset) {
        if (run.rx[offset] != DryerImage.Get(offset)) {
            DryerImage.Set(offset, run.rx[offset]);
            run.repaint |= unit.repaint;
        }
    }
    if (!IsSet(DesiredSettings, bushelResetBit)) return;
    PendingCommand.Set(optionByte238.pending);
    if (ReadCounter(DryerImage, bushelCounter) == 0)
        SetBits(DesiredSettings, bushelResetBit, false);
}

void DecodeLoadSwitches(DecodeRun& run, const ImageField& unit)
{
    if (!CopyIfChanged(run, unit)) return;
    if (!BatchDrying()) {
        SetBatchSpecialState(false);
    } else if (IsSet(DryerImage, unloadManualBit) || TimeIsTheOnlyCriterion()) {
        SetBatchSpecialState(true);
    }
}

// A new shutdown code goes to the shutdown history; the same code again within the hold-off
// (100 s) is not recorded twice. A return to 0 records nothing.
void DecodeWarningCode(DecodeRun& run, const ImageField& unit)
{
    if (!CopyIfChanged(run, unit)) return;
    const WarningCode code = ActiveWarningCode(DryerImage);
    if (WarningIndexOf(code) == 0) return;
    if (code != LastShutdownCode.load(std::memory_order_relaxed) ||
        ShutdownRecordHoldOff.load(std::memory_order_relaxed) == 0) {
        ShutdownRecordHoldOff.store(kShutdownRecordHoldOff, std::memory_order_relaxed);
        if (const RecordShutdownFn fn = RecordShutdownHook.load()) {
            fn(WarningNodeOf(code), WarningIndexOf(code));
        }
    }
    LastShutdownCode.store(code, std::memory_order_relaxed);
}

// Leaving automatic variable-speed control sends the presets to the metering values again.
void DecodeMoistureMode(DecodeRun& run, const ImageField& unit)
{
    if (Differs(run, unit)) {
        if (BitsValue(DryerImage, moistureSchemeBits) == kSchemeVariable &&
            IsSet(DryerImage, moistureAutoBit) && !IsSet(run.rx, moistureAutoBit)) {
            PendingCommand.Set(Pending::presetsToMetering);
        }
        CopyIfChanged(run, unit);
        InvalidateRoute(RepaintTarget::lineGraph, &kMoistureLine, FALSE);
    }
    Acknowledge(unit);
}

void DecodeDefaultsSwitch(DecodeRun& run, const ImageField& unit)
{
    if (!CopyIfChanged(run, unit)) return;
    const bool switchOn = IsSet(DryerImage, defaultsSwitchBit);
    const bool dismissed = DefaultsSwitchDismissed.load(std::memory_order_relaxed) != 0;
    DefaultsSwitchScreenRequest.store(switchOn && !dismissed ? 1 : 0, std::memory_order_relaxed);
}

void DecodeByte246(DecodeRun& run, const ImageField& unit)
{
    CopyIfChanged(run, unit);
    if (Acknowledge(unit)) SetBatchSpecialState(BatchDrying() && TimeIsTheOnlyCriterion());
}

// While a counter reset is asked for, the echo of the request does not end it: the request
// stays pending until the counter reads 0 (see DecodeBushelCounter).
void DecodeBushelResetOption(DecodeRun& run, const ImageField& unit)
{
    CopyIfChanged(run, unit);
    if (IsSet(DesiredSettings, bushelResetBit)) return;
    Acknowledge(unit);
}

void DecodeDryerOptions(DecodeRun& run, const ImageField& unit)
{
    if (CopyIfChanged(run, unit)) UpdateMoistureControlUnavailable();
    Acknowledge(unit);
}

void DecodeUnitsAndOptions(DecodeRun& run, const ImageField& unit)
{
    if (!Differs(run, unit)) return;
    SiUnits.store(IsSet(run.rx, siUnitsBit) ? 1 : 0, std::memory_order_relaxed);
    // The image first: the hooks hand the composition to the user-interface thread, which
    // takes the view from the image and may run before this thread goes on.
    CopyIfChanged(run, unit);
    const std::uint8_t now = run.rx[unit.offset];
    if (((now ^ lastUnitsAndOptions) & graphViewBit.mask) != 0) {
        RunHomeComposition();
        RefreshMainButtons();
    }
    lastUnitsAndOptions = now;
}

}  // namespace

void DecodeByRule(DecodeRun& run, const DecodeUnit& unit)
{
    const ImageField& f = unit.field;
    switch (unit.rule) {
        case Rule::plain:
            CopyIfChanged(run, f);
            Acknowledge(f);
            return;
        case Rule::typeChange: DecodeDryingType(run, f); return;
        case Rule::reloadHold: DecodeTimerRemaining(run, f); return;
        case Rule::loadLowWater: DecodeLoadRemaining(run, f); return;
        case Rule::loadEdges: DecodeLoadStatus(run, f); return;
        case Rule::presetEcho: DecodeMeteringPreset(run, f); return;
        case Rule::meteringFollow: DecodeMeteringGroup(run, f); return;
        case Rule::counterReset: DecodeBushelCounter(run, f); return;
        case Rule::switchesChange: DecodeLoadSwitches(run, f); return;
        case Rule::shutdownRecord: DecodeWarningCode(run, f); return;
        case Rule::moistureModeChange: DecodeMoistureMode(run, f); return;
        case Rule::defaultsRequest: DecodeDefaultsSwitch(run, f); return;
        case Rule::byte246: DecodeByte246(run, f); return;
        case Rule::bushelResetOption: DecodeBushelResetOption(run, f); return;
        case Rule::optionsChange: DecodeDryerOptions(run, f); return;
        case Rule::unitsAndView: DecodeUnitsAndOptions(run, f); return;
    }
}

void ResetDecodeRules()
{
    lastUnitsAndOptions = 0;
}
