// The answer decoder walks the image's fields (kImageLayout) in ascending offset order, one unit
// at a time as the board sends it: a field, or one element of an array. A plain unit is compared,
// copied when it differs (its windows then repaint) and, if its setting is pending, confirmed
// when the image equals the desired bytes. The fields with a rule of their own are handled in
// the same walk at their offsets (decode_rules.cpp).
#include "dryer/link/answer_decoder.h"

#include <array>

#include "common/link/link_crc16.h"
#include "dryer/link/decode_run.h"
#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/repaint_routes.h"

namespace {

// ---- the units, built from the field table ---------------------------------------------------
struct RuleOfField {
    ImageField field;
    Rule rule;
};
// The fields with a rule of their own; timers under reload are told by their access.
constexpr RuleOfField kRules[] = {
    {dryingType, Rule::typeChange},
    {loadTimerRemaining, Rule::loadLowWater},
    {loadStatusBits, Rule::loadEdges},
    {meteringPreset, Rule::presetEcho},
    {meteringControl, Rule::meteringFollow},
    {bushelCounter, Rule::counterReset},
    {switchInputs179, Rule::switchesChange},
    {warningCode, Rule::shutdownRecord},
    {moistureControlMode, Rule::moistureModeChange},
    {runState, Rule::defaultsRequest},
    {settingByte246, Rule::byte246},
    {optionByte238, Rule::bushelResetOption},
    {dryerOptions, Rule::optionsChange},
    {unitsAndOptions, Rule::unitsAndView},
};

constexpr Rule RuleOf(const ImageField& unit)
{
    if (unit.access == Access::reload) return Rule::reloadHold;
    for (const RuleOfField& r : kRules) {
        if (unit.offset >= r.field.offset && unit.end() <= r.field.end()) return r.rule;
    }
    return Rule::plain;
}

// A 32-bit value and a group are one unit; arrays are one unit per element.
constexpr int UnitsOf(const ImageField& field)
{
    return field.encoding == Encoding::group || field.encoding == Encoding::le32 ? 1
                                                                                 : field.count();
}

constexpr std::size_t CountUnits()
{
    std::size_t n = 0;
    for (const ImageField& field : kImageLayout) n += static_cast<std::size_t>(UnitsOf(field));
    return n;
}

constexpr auto kUnits = [] {
    std::array<DecodeUnit, CountUnits()> units{};
    std::size_t n = 0;
    for (const ImageField& field : kImageLayout) {
        for (int k = 0; k < UnitsOf(field); ++k) {
            const ImageField unit = UnitsOf(field) == 1 ? field : field.Element(k);
            units[n++] = DecodeUnit{unit, RuleOf(unit)};
        }
    }
    return units;
}();

void FlushRepaints(RepaintSet targets)
{
    for (int t = 0; t < kRepaintTargetCount; ++t) {
        if ((targets & RepaintBit(static_cast<RepaintTarget>(t))) != 0) {
            InvalidateRoute(static_cast<RepaintTarget>(t), nullptr, FALSE);
        }
    }
}

}  // namespace

// ---- what the rules share --------------------------------------------------------------------

bool Differs(const DecodeRun& run, const ImageField& unit)
{
    for (std::uint16_t i = unit.offset; i < unit.end(); ++i) {
        if (run.rx[i] != DryerImage.Get(i)) return true;
    }
    return false;
}

bool CopyIfChanged(DecodeRun& run, const ImageField& unit)
{
    if (!Differs(run, unit)) return false;
    for (std::uint16_t i = unit.offset; i < unit.end(); ++i) DryerImage.Set(i, run.rx[i]);
    run.repaint |= unit.repaint;
    return true;
}

bool Acknowledge(const ImageField& unit)
{
    if (unit.access != Access::setting || !PendingCommand.IsSet(unit.pending)) return false;
    for (std::uint16_t i = unit.offset; i < unit.end(); ++i) {
        if (((DryerImage.Get(i) ^ DesiredSettings.Get(i)) & unit.ackMask) != 0) return false;
    }
    PendingCommand.Clear(unit.pending);
    return true;
}

bool ReceivedEqualsDesired(const DecodeRun& run, std::uint16_t offset, std::uint8_t width)
{
    for (std::uint16_t i = offset; i < offset + width; ++i) {
        if (run.rx[i] != DesiredSettings.Get(i)) return false;
    }
    return true;
}

// ---- the decoder -----------------------------------------------------------------------------

bool DecodeAnswerFrame(std::span<const std::uint8_t> payload)
{
    if (payload.size() < kAnswerPayloadSize) return false;
    DecodeRun run{payload.first(kAnswerPayloadSize)};
    for (const DecodeUnit& unit : kUnits) DecodeByRule(run, unit);
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
    ResetDecodeRules();
}
