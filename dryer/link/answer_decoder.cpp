// The answer decoder walks a table of the image's fields in ascending offset order. A plain
// field is compared as a unit, copied when it differs (its windows then repaint) and, if its
// command is pending, confirmed when the image equals the desired bytes. The fields with a
// rule of their own (timers under reload, load timing, the metering group, the bushel counter,
// the warning code, and a few option bytes) are handled in the same walk at their offsets.
#include "dryer/link/answer_decoder.h"

#include <array>

#include "common/link/link_crc16.h"
#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/repaint_routes.h"

namespace {

// ---- repaint table --------------------------------------------------------------------------
// Which offsets make which windows repaint. A field repaints a window when any of its bytes
// is listed for it.
struct OffsetRange {
    std::uint16_t first;
    std::uint16_t last;
    std::uint32_t targets;
};

constexpr std::uint32_t kBatch = RepaintBit(RepaintTarget::batchDrying);
constexpr std::uint32_t kStatusBar = RepaintBit(RepaintTarget::rightStatusBar);
constexpr std::uint32_t kPicture = RepaintBit(RepaintTarget::dryerPicture);
constexpr std::uint32_t kAverages = RepaintBit(RepaintTarget::averageValues);
constexpr std::uint32_t kUnload =
    RepaintBit(RepaintTarget::unloadStatus) | RepaintBit(RepaintTarget::unloadSpeedButton);
constexpr std::uint32_t kLineGraph = RepaintBit(RepaintTarget::lineGraph);
constexpr std::uint32_t kPlenum = RepaintBit(RepaintTarget::plenumPanel);
constexpr std::uint32_t kSetupSelection = RepaintBit(RepaintTarget::setupSelection);
constexpr std::uint32_t kTempSetpoint = RepaintBit(RepaintTarget::temperatureSetpointScreen);
constexpr std::uint32_t kTimerSetpoint = RepaintBit(RepaintTarget::timerSetpointScreen);
constexpr std::uint32_t kSwitchTest = RepaintBit(RepaintTarget::switchTestScreen);
constexpr std::uint32_t kLightOutput = RepaintBit(RepaintTarget::lightOutputScreen);
constexpr std::uint32_t kAirswitch = RepaintBit(RepaintTarget::airswitchTestScreen);
constexpr std::uint32_t kBushel = RepaintBit(RepaintTarget::bushelCounterScreen);
constexpr std::uint32_t kCalibration = RepaintBit(RepaintTarget::moistureCalibrationScreen);
constexpr std::uint32_t kMetering = RepaintBit(RepaintTarget::meteringScreen);
constexpr std::uint32_t kMoistureSetpoint = RepaintBit(RepaintTarget::moistureSetpointScreen);
constexpr std::uint32_t kGrainSelect = RepaintBit(RepaintTarget::grainTempSelectButton);

constexpr OffsetRange kRepaintTable[] = {
    // the batch drying timers
    {8, 23, kBatch},
    {171, 171, kBatch},
    {221, 221, kBatch},
    {247, 247, kBatch},
    {252, 254, kBatch},
    {257, 257, kBatch},
    {263, 263, kBatch},
    {265, 265, kBatch},
    // the dryer state line
    {24, 24, kStatusBar},
    {28, 28, kStatusBar},
    {39, 39, kStatusBar},
    {43, 43, kStatusBar},
    {52, 52, kStatusBar},
    {113, 118, kStatusBar},
    {171, 172, kStatusBar},
    {188, 188, kStatusBar},
    {271, 271, kStatusBar},
    {291, 291, kStatusBar},
    // the dryer picture
    {49, 49, kPicture},
    {52, 52, kPicture},
    {151, 151, kPicture},
    {153, 153, kPicture},
    {168, 169, kPicture},
    {220, 220, kPicture},
    {223, 223, kPicture},
    {245, 245, kPicture},
    {247, 247, kPicture},
    {249, 249, kPicture},
    {251, 251, kPicture},
    {263, 263, kPicture},
    // the dryer status chart
    {171, 172, kAverages},
    // the unload status window and its speed button
    {90, 94, kUnload},
    {155, 158, kUnload},
    {184, 184, kUnload},
    {198, 198, kUnload},
    // the grain temperature / moisture window
    {148, 148, kLineGraph},
    {150, 150, kLineGraph},
    {179, 179, kLineGraph},
    {184, 184, kLineGraph},
    {187, 187, kLineGraph},
    {200, 200, kLineGraph},
    // the plenum and burner panel: heater count, every plenum setpoint and temperature
    // (Fan/Heater 6 at 59 and 71 down to Fan/Heater 1 at 69 and 81), burner bytes, config
    {3, 3, kPlenum},
    {59, 82, kPlenum},
    {125, 148, kPlenum},
    {225, 225, kPlenum},
    // the temperature setpoint screen
    {60, 70, kTempSetpoint},
    {259, 259, kTempSetpoint},
    {261, 261, kTempSetpoint},
    // the open timer setpoint screen
    {26, 26, kTimerSetpoint},
    {31, 31, kTimerSetpoint},
    {41, 41, kTimerSetpoint},
    {46, 46, kTimerSetpoint},
    {58, 58, kTimerSetpoint},
    {179, 179, kTimerSetpoint},
    {269, 269, kTimerSetpoint},
    // the switch test, light output and airswitch test screens
    {177, 183, kSwitchTest},
    {225, 225, kSwitchTest},
    {239, 240, kLightOutput},
    {101, 106, kAirswitch},
    // the bushel counter screen
    {164, 167, kBushel},
    // the moisture sensor calibration screen
    {189, 195, kCalibration},
    {218, 219, kCalibration},
    {232, 243, kCalibration},
    // the metering screen
    {52, 52, kMetering},
    {156, 158, kMetering},
    {187, 187, kMetering},
    {201, 201, kMetering},
    // the moisture setpoint screen
    {199, 201, kMoistureSetpoint},
    // the grain temperature select button of the moisture view
    {90, 94, kGrainSelect},
    {193, 193, kGrainSelect},
    {195, 195, kGrainSelect},
};

constexpr std::uint32_t RepaintTargetsOf(std::uint16_t offset, std::uint8_t width)
{
    std::uint32_t targets = 0;
    for (const OffsetRange& range : kRepaintTable) {
        if (offset <= range.last && offset + width - 1 >= range.first) targets |= range.targets;
    }
    return targets;
}

// ---- field table ----------------------------------------------------------------------------
enum class Rule : std::uint8_t {
    plain,
    dryingType,
    timerRemaining,  // reload hold; `ack` is the reload flag
    loadRemaining,
    loadStatus,
    meteringPreset,
    meteringGroup,
    bushelCounter,
    panelSwitches179,
    warningCode,
    moistureMode,
    defaultsSwitch,
    byte246,
    bushelResetOption,
    dryerOptions,
    unitsAndOptions,
};

constexpr Pending kNoFlag = Pending::count;

struct DecodeField {
    std::uint16_t offset;
    std::uint8_t width;
    Rule rule;
    Pending ack;
    std::uint8_t ackMask;
    std::uint32_t repaint;
};

constexpr DecodeField F(std::uint16_t offset, std::uint8_t width, Pending ack = kNoFlag,
                        Rule rule = Rule::plain, std::uint8_t ackMask = 0xFF)
{
    return DecodeField{offset, width, rule, ack, ackMask, RepaintTargetsOf(offset, width)};
}
constexpr DecodeField S(Rule rule, std::uint16_t offset, std::uint8_t width, Pending ack = kNoFlag)
{
    return F(offset, width, ack, rule);
}

constexpr DecodeField kFields[] = {
    F(3, 1, Pending::heaterCount),
    F(4, 1, Pending::moduleCount),
    F(5, 1, Pending::fuel),
    F(6, 1, Pending::loadSystem),
    F(7, 1, Pending::dryerLength),
    S(Rule::dryingType, 8, 1, Pending::dryingType),
    S(Rule::timerRemaining, 9, 2, Pending::dryTimerReload),
    F(11, 2, Pending::dryTimerSetting),
    F(13, 1),
    S(Rule::timerRemaining, 14, 2, Pending::coolTimerReload),
    F(16, 2, Pending::coolTimerSetting),
    F(18, 1),
    S(Rule::timerRemaining, 19, 2, Pending::unloadTimerReload),
    F(21, 2, Pending::unloadTimerSetting),
    F(23, 1),
    S(Rule::loadRemaining, 24, 2),
    F(26, 2, Pending::loadTimer),
    F(28, 1),
    F(29, 2),
    F(31, 2, Pending::loadDelay),
    F(39, 2),
    F(41, 2, Pending::unloadRunOn),
    F(43, 1),
    F(44, 2),
    F(46, 2, Pending::fanStartDelay),
    F(49, 1, Pending::optionByte49),
    F(50, 1, Pending::byte50),
    F(51, 1),
    F(52, 1),
    S(Rule::loadStatus, 58, 1),
    F(59, 2, Pending::plenumSetpoint6),
    F(61, 2, Pending::plenumSetpoint5),
    F(63, 2, Pending::plenumSetpoint4),
    F(65, 2, Pending::plenumSetpoint3),
    F(67, 2, Pending::plenumSetpoint2),
    F(69, 2, Pending::plenumSetpoint1),
    F(71, 2),
    F(73, 2),
    F(75, 2),
    F(77, 2),
    F(79, 2),
    F(81, 2),
    F(83, 2),
    F(85, 2),
    F(87, 2),
    F(89, 2),
    F(91, 2),
    F(93, 2),
    F(95, 1, Pending::plenumDifferential6),
    F(96, 1, Pending::plenumDifferential5),
    F(97, 1, Pending::plenumDifferential4),
    F(98, 1, Pending::plenumDifferential3),
    F(99, 1, Pending::plenumDifferential2),
    F(100, 1, Pending::plenumDifferential1),
    F(101, 1, Pending::heaterByte6),
    F(102, 1, Pending::heaterByte5),
    F(103, 1, Pending::heaterByte4),
    F(104, 1, Pending::heaterByte3),
    F(105, 1, Pending::heaterByte2),
    F(106, 1, Pending::heaterByte1),
    F(113, 1),
    F(114, 1),
    F(115, 1),
    F(116, 1),
    F(117, 1),
    F(118, 1),
    F(125, 1),
    F(126, 1),
    F(127, 1),
    F(128, 1),
    F(129, 1),
    F(130, 1),
    F(131, 1),
    F(132, 1),
    F(133, 1),
    F(134, 1),
    F(135, 1),
    F(136, 1),
    F(137, 1),
    F(138, 1),
    F(139, 1),
    F(140, 1),
    F(141, 1),
    F(142, 1),
    F(143, 1),
    F(144, 1),
    F(145, 1),
    F(146, 1),
    F(147, 1),
    F(148, 1),
    F(149, 2, Pending::grainSetpoint1),
    F(151, 2, Pending::grainSetpoint2),
    F(153, 2, Pending::grainSetpoint3),
    F(155, 1),
    S(Rule::meteringPreset, 156, 1, Pending::meteringPresetHigh),
    S(Rule::meteringPreset, 157, 1, Pending::meteringPresetMedium),
    S(Rule::meteringPreset, 158, 1, Pending::meteringPresetLow),
    S(Rule::meteringGroup, 159, 4),
    F(163, 1, Pending::bphCalibration),
    S(Rule::bushelCounter, 164, 4),
    F(168, 1),
    F(169, 1),
    F(171, 1),
    F(172, 1),
    F(173, 2),
    F(175, 2),
    F(177, 1),
    F(178, 1),
    S(Rule::panelSwitches179, 179, 1),
    F(180, 1),
    F(181, 1),
    F(182, 1),
    F(183, 1),
    F(184, 1),
    S(Rule::warningCode, 185, 2),
    S(Rule::moistureMode, 187, 1, Pending::moistureMode),
    S(Rule::defaultsSwitch, 188, 1),
    F(189, 2),
    F(191, 2),
    F(193, 2),
    F(195, 2),
    F(197, 2),
    F(199, 2, Pending::moistureSetpoint),
    F(201, 1),
    F(202, 1, Pending::byte202),
    F(203, 1, Pending::byte203),
    F(206, 2, Pending::unloadRateLimit1),
    F(208, 2, Pending::unloadRateLimit2),
    F(216, 1, Pending::byte216),
    F(217, 1, Pending::byte217, Rule::plain, 0x40),
    F(218, 1, Pending::byte218, Rule::plain, 0x0C),
    F(219, 1, Pending::byte219, Rule::plain, 0x98),
    F(220, 1),
    F(221, 2, Pending::batchCounter),
    F(223, 1),
    F(224, 1, Pending::byte224),
    F(225, 1),
    F(226, 1, Pending::byte226),
    F(227, 1, Pending::byte227),
    F(228, 1, Pending::byte228),
    F(229, 1, Pending::byte229),
    F(230, 1),
    F(232, 2, Pending::calibrationWord232),
    F(234, 2, Pending::calibrationWord234),
    F(236, 1, Pending::byte236),
    F(237, 1, Pending::byte237),
    S(Rule::bushelResetOption, 238, 1, Pending::optionByte238),
    F(239, 1),
    F(240, 1),
    F(241, 2, Pending::calibrationWord241),
    F(243, 2, Pending::calibrationWord243),
    F(245, 1),
    S(Rule::byte246, 246, 1, Pending::byte246),
    F(247, 2),
    F(249, 2),
    F(251, 1),
    S(Rule::timerRemaining, 252, 2, Pending::loHeatTimerReload),
    F(254, 2, Pending::loHeatTimerSetting),
    S(Rule::dryerOptions, 257, 1, Pending::optionByte257),
    F(258, 2, Pending::word258),
    F(260, 2, Pending::word260),
    F(262, 1),
    F(263, 1),
    F(264, 1),
    F(265, 1),
    S(Rule::unitsAndOptions, 266, 1),
    F(267, 2),
    F(269, 2, Pending::fanRunAfterShutdown),
    F(271, 1),
    F(272, 1),
    F(273, 1),
    F(274, 2, Pending::batchTimePair),
    F(277, 2, Pending::batchWord277),
    F(279, 1),
    F(280, 1),
    F(281, 2),
    F(283, 2),
    F(287, 1),
    F(288, 1),
    F(289, 1, Pending::optionByte289),
    F(290, 2),
    F(292, 1),
    F(293, 1, Pending::optionByte293),
};

// ---- decoder state --------------------------------------------------------------------------
std::uint8_t lastUnitsAndOptions = 0;  // communication thread only

struct DecodeRun {
    std::span<const std::uint8_t> rx;
    std::uint32_t repaint = 0;
};

bool Differs(const DecodeRun& run, std::uint16_t offset, std::uint8_t width)
{
    for (std::uint8_t i = 0; i < width; ++i) {
        if (run.rx[offset + i] != DryerImage.Get(offset + i)) return true;
    }
    return false;
}

void Copy(const DecodeRun& run, std::uint16_t offset, std::uint8_t width)
{
    for (std::uint8_t i = 0; i < width; ++i) DryerImage.Set(offset + i, run.rx[offset + i]);
}

// Compares and copies a field; true when it changed (its windows are then marked).
bool CopyIfChanged(DecodeRun& run, const DecodeField& field)
{
    if (!Differs(run, field.offset, field.width)) return false;
    Copy(run, field.offset, field.width);
    run.repaint |= field.repaint;
    return true;
}

bool ImageEqualsDesired(std::uint16_t offset, std::uint8_t width, std::uint8_t mask)
{
    for (std::uint8_t i = 0; i < width; ++i) {
        if (((DryerImage.Get(offset + i) ^ DesiredSettings.Get(offset + i)) & mask) != 0) {
            return false;
        }
    }
    return true;
}

// Clears the field's flag when the board now shows the desired value; true when cleared.
bool Acknowledge(const DecodeField& field)
{
    if (field.ack == kNoFlag || !PendingCommand.IsSet(field.ack)) return false;
    if (!ImageEqualsDesired(field.offset, field.width, field.ackMask)) return false;
    PendingCommand.Clear(field.ack);
    return true;
}

std::uint8_t BatchCriteria()
{
    return (DryerImage.Get(dryerOptions.offset) >> 4) & 0x07;
}
bool BatchDrying()
{
    return DryerImage.Get(dryingType.offset) == 1;
}

void RefreshMainButtons()
{
    if (const RefreshMainButtonsFn fn = RefreshMainButtonsHook.load()) fn();
}

void RunHomeComposition()
{
    if (const HomeCompositionFn fn = HomeCompositionHook.load()) fn();
}

void UpdateMoistureControlUnavailable()
{
    const std::uint8_t unavailable = BatchDrying() && BatchCriteria() == 1 ? 1 : 0;
    if (MoistureControlUnavailable.exchange(unavailable, std::memory_order_relaxed) !=
        unavailable) {
        RefreshMainButtons();
    }
}

// ---- the fields with a rule of their own ----------------------------------------------------

void DecodeDryingType(DecodeRun& run, const DecodeField& field)
{
    if (CopyIfChanged(run, field)) {
        const std::uint8_t type = DryerImage.Get(dryingType.offset);
        if (HomeShown.load(std::memory_order_relaxed) != 0) RunHomeComposition();
        if (const EnableTimerButtonsFn fn = EnableTimerButtonsHook.load()) fn(type);
        run.repaint |= kBatch | kSetupSelection;
        if (type != 1) {
            BatchSpecialState.store(0, std::memory_order_relaxed);
        } else if (BatchCriteria() == 1) {
            BatchSpecialState.store(1, std::memory_order_relaxed);
        }
        UpdateMoistureControlUnavailable();
    }
    Acknowledge(field);
}

// While a reload is pending the countdown on screen stays as it was; the flag clears once
// the board reports the timer restarted from the value the reload sent.
void DecodeTimerRemaining(DecodeRun& run, const DecodeField& field)
{
    if (!PendingCommand.IsSet(field.ack)) {
        CopyIfChanged(run, field);
        return;
    }
    if (run.rx[field.offset] == DesiredSettings.Get(field.offset) &&
        run.rx[field.offset + 1] == DesiredSettings.Get(field.offset + 1)) {
        PendingCommand.Clear(field.ack);
    }
}

void DecodeLoadRemaining(DecodeRun& run, const DecodeField& field)
{
    if (!Differs(run, field.offset, field.width)) return;
    const std::uint32_t remaining = ReadTimeSeconds(run.rx, field.offset);
    if (remaining < LoadTimerLowWater.load(std::memory_order_relaxed)) {
        LoadTimerLowWater.store(remaining, std::memory_order_relaxed);
    }
    CopyIfChanged(run, field);
}

void DecodeLoadStatus(DecodeRun& run, const DecodeField& field)
{
    const std::uint8_t before = DryerImage.Get(field.offset);
    const std::uint8_t now = run.rx[field.offset];
    const bool loadAuto = (run.rx[ioBits.offset + 2] & 0x10) != 0;  // offset 179 bit 4
    if (before != now && ((before ^ now) & kLoadInProgressBit) != 0 && loadAuto) {
        const std::int64_t setting = ReadTimeSeconds(DryerImage, loadTimerSetting.offset);
        if ((now & kLoadInProgressBit) != 0) {
            LoadTimerLowWater.store(static_cast<std::uint32_t>(setting + 1),
                                    std::memory_order_relaxed);
        } else {
            std::int64_t duration = setting - LoadTimerLowWater.load(std::memory_order_relaxed);
            if (duration < 0) duration = 0;
            if (duration > kPreviousLoadTimeMax) duration = kPreviousLoadTimeMax;
            PreviousLoadTime.store(static_cast<std::uint32_t>(duration), std::memory_order_relaxed);
        }
    }
    CopyIfChanged(run, field);
}

void DecodeMeteringPreset(DecodeRun& run, const DecodeField& field)
{
    if (!CopyIfChanged(run, field)) return;
    if (PendingCommand.IsSet(field.ack) &&
        DryerImage.Get(field.offset) == DesiredSettings.Get(field.offset)) {
        PendingCommand.Clear(field.ack);
    }
}

bool ReceivedEqualsDesired(const DecodeRun& run, std::uint16_t offset, std::uint8_t width)
{
    for (std::uint8_t i = 0; i < width; ++i) {
        if (run.rx[offset + i] != DesiredSettings.Get(offset + i)) return false;
    }
    return true;
}

// Offsets 159-162: where the metering speed is set decides who follows whom. With the knob
// the desired values follow the board; with the display the board must echo the display.
void DecodeMeteringGroup(DecodeRun& run, const DecodeField& field)
{
    const std::uint16_t base = field.offset;  // 159
    if (MeteringByDisplay.load(std::memory_order_relaxed) != 0) {
        if (ReceivedEqualsDesired(run, base, 4)) PendingCommand.Clear(Pending::imageMeteringGroup);
    } else {
        const std::uint8_t mode = run.rx[base];
        if (((mode ^ DryerImage.Get(base)) & 0x80) != 0) {
            DryerImage.Set(base, mode);
            run.repaint |= kMetering;
            if (MeteringScreenShowing.load(std::memory_order_relaxed) == 0) {
                OpenMeteringScreenRequest.store(1, std::memory_order_relaxed);
            }
        }
        if ((mode & 0x3F) != DesiredSettings.Get(base)) {
            DesiredSettings.Set(base, static_cast<std::uint8_t>(mode & 0x3F));
            run.repaint |= kMetering;
        }
        for (std::uint16_t offset = base + 1; offset < base + 4; ++offset) {
            if (run.rx[offset] != DesiredSettings.Get(offset) &&
                !PendingCommand.IsSet(Pending::desiredMeteringGroup)) {
                DesiredSettings.Set(offset, run.rx[offset]);
                run.repaint |= kMetering;
            }
        }
        if (ReceivedEqualsDesired(run, base, 4)) {
            PendingCommand.Clear(Pending::desiredMeteringGroup);
        }
    }
    bool presetsEcho = true;
    for (std::uint16_t i = 0; i < 3; ++i) {
        if (run.rx[base + 1 + i] != DryerImage.Get(meteringPreset.offset + i)) presetsEcho = false;
    }
    if (presetsEcho) PendingCommand.Clear(Pending::presetsToMetering);
    if (run.rx[base + 2] == DesiredSettings.Get(base + 2)) PendingCommand.Clear(Pending::byte161);
}

// The counter copies byte by byte; a reset request (desired 238 bit 3) is kept pending until
// the board reports a zero counter, then the cleared option byte goes out once more.
void DecodeBushelCounter(DecodeRun& run, const DecodeField& field)
{
    for (std::uint8_t i = 0; i < field.width; ++i) {
        const std::uint16_t offset = field.offset + i;
        if (run.rx[offset] != DryerImage.Get(offset)) {
            DryerImage.Set(offset, run.rx[offset]);
            run.repaint |= field.repaint;
        }
    }
    const std::uint8_t option = DesiredSettings.Get(optionByte238.offset);
    if ((option & kBushelResetBit) == 0) return;
    PendingCommand.Set(Pending::optionByte238);
    if (ReadLe32(DryerImage, field.offset) == 0) {
        DesiredSettings.Set(optionByte238.offset,
                            static_cast<std::uint8_t>(option & ~kBushelResetBit));
    }
}

void DecodePanelSwitches(DecodeRun& run, const DecodeField& field)
{
    if (!CopyIfChanged(run, field)) return;
    if (!BatchDrying()) {
        BatchSpecialState.store(0, std::memory_order_relaxed);
    } else if ((DryerImage.Get(field.offset) & 0x02) != 0 || BatchCriteria() == 1) {
        BatchSpecialState.store(1, std::memory_order_relaxed);
    }
}

// A new shutdown code goes to the shutdown history; the same code again within the hold-off
// (100 s) is not recorded twice. A return to 0 records nothing.
void DecodeWarningCode(DecodeRun& run, const DecodeField& field)
{
    if (!CopyIfChanged(run, field)) return;
    const std::uint8_t index = DryerImage.Get(warningIndex.offset);
    const std::uint8_t node = DryerImage.Get(warningNode.offset);
    if (index == 0) return;
    const WarningCode code = MakeWarningCode(node, index);
    if (code != LastShutdownCode.load(std::memory_order_relaxed) ||
        ShutdownRecordHoldOff.load(std::memory_order_relaxed) == 0) {
        ShutdownRecordHoldOff.store(kShutdownRecordHoldOff, std::memory_order_relaxed);
        if (const RecordShutdownFn fn = RecordShutdownHook.load()) fn(node, index);
    }
    LastShutdownCode.store(code, std::memory_order_relaxed);
}

void DecodeMoistureMode(DecodeRun& run, const DecodeField& field)
{
    const std::uint8_t before = DryerImage.Get(field.offset);
    const std::uint8_t now = run.rx[field.offset];
    if (before != now) {
        if ((before & 0x07) == 3 && (before & 0x80) != 0 && (now & 0x80) == 0) {
            PendingCommand.Set(Pending::presetsToMetering);
        }
        CopyIfChanged(run, field);
        const RECT moistureLine{5, 145, 235, 170};
        InvalidateRoute(RepaintTarget::lineGraph, &moistureLine, FALSE);
        run.repaint |= kMetering;
    }
    Acknowledge(field);
}

void DecodeDefaultsSwitch(DecodeRun& run, const DecodeField& field)
{
    if (!CopyIfChanged(run, field)) return;
    const bool switchOn = (DryerImage.Get(field.offset) & 0x20) != 0;
    const bool dismissed = DefaultsSwitchDismissed.load(std::memory_order_relaxed) != 0;
    DefaultsSwitchScreenRequest.store(switchOn && !dismissed ? 1 : 0, std::memory_order_relaxed);
    run.repaint |= kStatusBar;
}

void DecodeByte246(DecodeRun& run, const DecodeField& field)
{
    CopyIfChanged(run, field);
    if (Acknowledge(field)) {
        BatchSpecialState.store(BatchDrying() && BatchCriteria() == 1 ? 1 : 0,
                                std::memory_order_relaxed);
    }
}

// While a counter reset is asked for, the echo of the request does not end it: the request
// stays pending until the counter reads 0 (see DecodeBushelCounter).
void DecodeBushelResetOption(DecodeRun& run, const DecodeField& field)
{
    CopyIfChanged(run, field);
    if ((DesiredSettings.Get(field.offset) & kBushelResetBit) != 0) return;
    Acknowledge(field);
}

void DecodeDryerOptions(DecodeRun& run, const DecodeField& field)
{
    if (CopyIfChanged(run, field)) UpdateMoistureControlUnavailable();
    Acknowledge(field);
}

void DecodeUnitsAndOptions(DecodeRun& run, const DecodeField& field)
{
    const std::uint8_t now = run.rx[field.offset];
    if (now == DryerImage.Get(field.offset)) return;
    SiUnits.store(IsSiUnits(now) ? 1 : 0, std::memory_order_relaxed);
    // The image first: the hooks hand the composition to the user-interface thread, which
    // takes the view from the image and may run before this thread goes on.
    CopyIfChanged(run, field);
    if (((now ^ lastUnitsAndOptions) & kUnitsGraphViewBit) != 0) {
        RunHomeComposition();
        RefreshMainButtons();
    }
    lastUnitsAndOptions = now;
}

void DecodeOneField(DecodeRun& run, const DecodeField& field)
{
    switch (field.rule) {
        case Rule::plain:
            CopyIfChanged(run, field);
            Acknowledge(field);
            return;
        case Rule::dryingType: DecodeDryingType(run, field); return;
        case Rule::timerRemaining: DecodeTimerRemaining(run, field); return;
        case Rule::loadRemaining: DecodeLoadRemaining(run, field); return;
        case Rule::loadStatus: DecodeLoadStatus(run, field); return;
        case Rule::meteringPreset: DecodeMeteringPreset(run, field); return;
        case Rule::meteringGroup: DecodeMeteringGroup(run, field); return;
        case Rule::bushelCounter: DecodeBushelCounter(run, field); return;
        case Rule::panelSwitches179: DecodePanelSwitches(run, field); return;
        case Rule::warningCode: DecodeWarningCode(run, field); return;
        case Rule::moistureMode: DecodeMoistureMode(run, field); return;
        case Rule::defaultsSwitch: DecodeDefaultsSwitch(run, field); return;
        case Rule::byte246: DecodeByte246(run, field); return;
        case Rule::bushelResetOption: DecodeBushelResetOption(run, field); return;
        case Rule::dryerOptions: DecodeDryerOptions(run, field); return;
        case Rule::unitsAndOptions: DecodeUnitsAndOptions(run, field); return;
    }
}

void FlushRepaints(std::uint32_t targets)
{
    for (int t = 0; t < kRepaintTargetCount; ++t) {
        if ((targets & (std::uint32_t{1} << t)) != 0) {
            InvalidateRoute(static_cast<RepaintTarget>(t), nullptr, FALSE);
        }
    }
}

}  // namespace

bool DecodeAnswerFrame(std::span<const std::uint8_t> payload)
{
    if (payload.size() < kAnswerPayloadSize) return false;
    DecodeRun run{payload.first(kAnswerPayloadSize)};
    for (const DecodeField& field : kFields) DecodeOneField(run, field);
    FlushRepaints(run.repaint);
    return true;
}

bool AcceptAnswerFrame(std::span<const std::uint8_t> frame)
{
    if (frame.size() != kAnswerFrameSize) return false;
    if (!LinkCrc16Check(frame, kAnswerPayloadSize)) return false;
    LinkWatchdog.store(kLinkWatchdogReload, std::memory_order_relaxed);
    return DecodeAnswerFrame(frame);
}

void ResetAnswerDecoderForTest()
{
    lastUnitsAndOptions = 0;
}
