// BuildCommandFrame: walks the command table once per exchange and appends a record for every
// row whose flag is set, until the frame reaches its length limit. The later rows wait for a
// cycle in which the earlier ones have been confirmed. Each row names the image field it sends;
// its address, length and flag come from that field's description.
#include "dryer/link/command_encoder.h"

#include <array>

#include "dryer/link/dryer_image.h"

namespace {

// A field (or one element of an array) sent from its desired value at its own address. One-shot
// and command-only fields clear their flag when sent.
constexpr CommandRow Row(ImageField field)
{
    CommandRow row;
    row.flags[0] = field.pending;
    row.address = field.offset;
    row.length = field.width;
    row.sourceOffset = field.offset;
    if (field.access == Access::oneShot || field.access == Access::command) {
        row.oneShot = field.pending;
    }
    return row;
}
// A row appended without the length test.
constexpr CommandRow Unchecked(CommandRow row)
{
    row.lengthTest = false;
    return row;
}
constexpr CommandRow HeaterRow(ImageField array, int heater)
{
    return Row(ForHeater(array, heater));
}
// Two neighbouring bytes sent as one record when either's flag is set.
constexpr CommandRow Pair(ImageField first, ImageField second, Pending alsoOnce = Pending::none)
{
    CommandRow row = Row(first);
    row.flags = {first.pending, second.pending, alsoOnce};
    row.length = static_cast<std::uint8_t>(first.width + second.width);
    row.oneShot = alsoOnce;
    return row;
}
// A row under a flag of its own: `field`'s address and length, the data taken from `from`.
constexpr CommandRow Sends(Pending flag, ImageField field, CommandSource source, ImageField from)
{
    CommandRow row = Row(field);
    row.flags[0] = flag;
    row.source = source;
    row.sourceOffset = from.offset;
    row.oneShot = Pending::none;
    return row;
}

constexpr CommandSource kDesired = CommandSource::desired;
constexpr CommandSource kImage = CommandSource::image;

constexpr auto kCommandTable = std::to_array<CommandRow>({
    Unchecked(Row(heaterCountCode)),  // always the first record
    Row(moduleCountCode),
    Row(fuelCode),
    Row(loadSystemCode),
    Row(dryerLengthCode),
    Row(dryingType),
    Row(dryTimerSetting),
    Row(dryTimerRemaining),  // the reload
    Row(loHeatTimerSetting),
    Row(loHeatTimerRemaining),
    Row(coolTimerSetting),
    Row(coolTimerRemaining),
    Row(unloadTimerSetting),
    Row(unloadTimerRemaining),
    Row(loadTimerSetting),
    Row(loadDelaySetting),
    Row(unloadRunOnSetting),
    Row(fanStartDelaySetting),
    Row(optionByte49),
    Row(plenumManagerByte50),
    Unchecked(Row(clockSetting)),  // small enough to fit behind the rows above
    HeaterRow(plenumSetpoint, 6),
    HeaterRow(plenumSetpoint, 5),
    HeaterRow(plenumSetpoint, 4),
    HeaterRow(plenumSetpoint, 3),
    HeaterRow(plenumSetpoint, 2),
    HeaterRow(plenumSetpoint, 1),
    HeaterRow(plenumDifferential, 6),
    HeaterRow(plenumDifferential, 5),
    HeaterRow(plenumDifferential, 4),
    HeaterRow(plenumDifferential, 3),
    HeaterRow(plenumDifferential, 2),
    HeaterRow(plenumDifferential, 1),
    HeaterRow(heaterControlBits, 6),
    HeaterRow(heaterControlBits, 5),
    HeaterRow(heaterControlBits, 4),
    HeaterRow(heaterControlBits, 3),
    HeaterRow(heaterControlBits, 2),
    HeaterRow(heaterControlBits, 1),
    Row(grainSetpoint.Element(0)),
    Row(grainSetpoint.Element(1)),
    Row(grainSetpoint.Element(2)),
    Sends(Pending::meteringModeBits, Byte(meteringControl.offset), kDesired,
          Byte(meteringControl.offset)),
    Row(meteringPreset.Element(0)),
    Row(meteringPreset.Element(1)),
    Row(meteringPreset.Element(2)),
    // metering set by the display: the image's mode and presets become the metering group
    Sends(Pending::imageMeteringGroup, meteringControl, kImage, meteringMode),
    Sends(Pending::byte161, meteringValues.Element(1), kImage, settingByte230),
    Row(bphCalibration),
    Row(moistureControlMode),
    Sends(Pending::presetsToMetering, meteringValues, kImage, meteringPreset),
    Row(meteringControl),  // metering set by the knob: the desired group
    Row(moistureSetpoint),
    Row(printerByte202),
    Row(printerByte203),
    Row(unloadRateLimit.Element(0)),
    Row(unloadRateLimit.Element(1)),
    Pair(settingByte216, settingByte217),
    Pair(settingByte218, settingByte219, Pending::bytes218Once),
    Row(batchCount),
    Row(optionByte224),
    Row(moistureSetupBytes.Element(0)),
    Row(moistureSetupBytes.Element(1)),
    Row(moistureSetupBytes.Element(2)),
    Row(moistureSetupBytes.Element(3)),
    Row(dryMoistureOffset),
    Row(wetMoistureOffset),
    Row(meterRollRaw.Element(0)),
    Row(meterRollRaw.Element(1)),
    Row(optionByte238),
    Row(drySensorTempOffset),
    Row(wetSensorTempOffset),
    Row(settingByte246),
    Row(dryerOptions),
    Row(setpointWords258.Element(0)),
    Row(upperPlenumSetpoint),
    Row(unitsAndOptions),  // one-shot; its request bits are cleared once sent
    Row(fanRunAfterShutdownSetting),
    Row(batchTimePair),
    Row(batchWord277),
    Row(optionByte289),
    Row(samplerOption),
});

static_assert(kCommandTable.size() == kCommandRowCount);

// Every flag sends exactly one row, and the rows serve the flags in the order of Pending.
constexpr bool RowsServeFlagsInOrder()
{
    int next = 0;
    for (const CommandRow& row : kCommandTable) {
        for (Pending flag : row.flags) {
            if (flag == Pending::none) continue;
            if (static_cast<int>(flag) != next) return false;
            ++next;
        }
    }
    return next == static_cast<int>(Pending::count);
}
static_assert(RowsServeFlagsInOrder(), "the rows must serve every flag once, in flag order");

// Every settable element of the image has a row under its flag that writes its bytes.
constexpr bool EverySettingHasItsRow()
{
    for (const ImageField& field : kImageLayout) {
        if (!field.settable() || field.encoding == Encoding::group) continue;
        for (int k = 0; k < field.count(); ++k) {
            const ImageField e = field.Element(k);
            bool found = false;
            for (const CommandRow& row : kCommandTable) {
                const bool flagged = row.flags[0] == e.pending || row.flags[1] == e.pending;
                found = found ||
                        (flagged && row.address <= e.offset && row.address + row.length >= e.end());
            }
            if (!found) return false;
        }
    }
    return true;
}
static_assert(EverySettingHasItsRow(), "a settable field must be sent by the row of its flag");

constexpr bool RecordsFit()
{
    for (const CommandRow& row : kCommandTable) {
        if (row.length < 1 || row.length > 5 || row.address + row.length > kImageSize) return false;
        if (row.sourceOffset + row.length > kImageSize) return false;
    }
    return true;
}
static_assert(RecordsFit(), "records carry 1 to 5 bytes inside the image");

bool RowIsPending(const CommandRow& row)
{
    for (Pending flag : row.flags) {
        if (PendingCommand.IsSet(flag)) return true;
    }
    return false;
}

}  // namespace

std::span<const CommandRow> CommandTable()
{
    return kCommandTable;
}

bool BuildCommandFrame(std::span<std::uint8_t> frame)
{
    if (frame.size() < kMaxCommandFrame) return false;
    std::size_t running = 2;
    std::uint8_t records = 0;
    for (const CommandRow& row : kCommandTable) {
        if (!RowIsPending(row)) continue;
        if (row.lengthTest && running >= kCommandLengthLimit) continue;
        frame[running] = static_cast<std::uint8_t>(row.address >> 8);
        frame[running + 1] = static_cast<std::uint8_t>(row.address & 0xFF);
        frame[running + 2] = row.length;
        const ImageBytes& source =
            row.source == CommandSource::image ? DryerImage : DesiredSettings;
        for (std::uint8_t i = 0; i < row.length; ++i) {
            frame[running + 3 + i] = source.Get(row.sourceOffset + i);
        }
        running += 3u + row.length;
        ++records;
        if (row.oneShot != Pending::none) {
            PendingCommand.Clear(row.oneShot);
            if (row.oneShot == unitsAndOptions.pending) {
                SetBits(DesiredSettings, unitsRequestBits, false);
            }
        }
    }
    frame[0] = static_cast<std::uint8_t>(running + 2);
    frame[1] = records;
    return records > 0;
}
