// BuildCommandFrame: walks the command table once per exchange and appends a record for every
// row whose flag is set, until the frame reaches its length limit. The later rows wait for a
// cycle in which the earlier ones have been confirmed.
#include "dryer/link/command_encoder.h"

#include <array>

#include "dryer/link/dryer_image.h"

namespace {

constexpr Pending kNone = Pending::count;
constexpr CommandSource D = CommandSource::desired;
constexpr CommandSource I = CommandSource::image;

// A row sent from the desired value at its own address, cleared by the decoder.
constexpr CommandRow Row(Pending flag, std::uint16_t address, std::uint8_t length)
{
    return CommandRow{{flag, flag, flag}, 1, address, length, D, address, true, kNone};
}
constexpr CommandRow RowFrom(Pending flag, std::uint16_t address, std::uint8_t length,
                             CommandSource source, std::uint16_t sourceOffset)
{
    return CommandRow{{flag, flag, flag}, 1, address, length, source, sourceOffset, true, kNone};
}

constexpr std::array<CommandRow, kCommandRowCount> kCommandTable{{
    // row 1 is always the first record and skips the length test
    {{Pending::heaterCount, Pending::heaterCount, Pending::heaterCount},
     1,
     3,
     1,
     D,
     3,
     false,
     kNone},
    Row(Pending::moduleCount, 4, 1),
    Row(Pending::fuel, 5, 1),
    Row(Pending::loadSystem, 6, 1),
    Row(Pending::dryerLength, 7, 1),
    Row(Pending::dryingType, 8, 1),
    Row(Pending::dryTimerSetting, 11, 2),
    Row(Pending::dryTimerReload, 9, 2),
    Row(Pending::loHeatTimerSetting, 254, 2),
    Row(Pending::loHeatTimerReload, 252, 2),
    Row(Pending::coolTimerSetting, 16, 2),
    Row(Pending::coolTimerReload, 14, 2),
    Row(Pending::unloadTimerSetting, 21, 2),
    Row(Pending::unloadTimerReload, 19, 2),
    Row(Pending::loadTimer, 26, 2),
    Row(Pending::loadDelay, 31, 2),
    Row(Pending::unloadRunOn, 41, 2),
    Row(Pending::fanStartDelay, 46, 2),
    Row(Pending::optionByte49, 49, 1),
    Row(Pending::byte50, 50, 1),
    // row 21: the clock, one-shot, small enough to fit behind rows 1-20 without the test
    {{Pending::clock, Pending::clock, Pending::clock}, 1, 53, 5, D, 53, false, Pending::clock},
    Row(Pending::plenumSetpoint6, 59, 2),
    Row(Pending::plenumSetpoint5, 61, 2),
    Row(Pending::plenumSetpoint4, 63, 2),
    Row(Pending::plenumSetpoint3, 65, 2),
    Row(Pending::plenumSetpoint2, 67, 2),
    Row(Pending::plenumSetpoint1, 69, 2),
    Row(Pending::plenumDifferential6, 95, 1),
    Row(Pending::plenumDifferential5, 96, 1),
    Row(Pending::plenumDifferential4, 97, 1),
    Row(Pending::plenumDifferential3, 98, 1),
    Row(Pending::plenumDifferential2, 99, 1),
    Row(Pending::plenumDifferential1, 100, 1),
    Row(Pending::heaterByte6, 101, 1),
    Row(Pending::heaterByte5, 102, 1),
    Row(Pending::heaterByte4, 103, 1),
    Row(Pending::heaterByte3, 104, 1),
    Row(Pending::heaterByte2, 105, 1),
    Row(Pending::heaterByte1, 106, 1),
    Row(Pending::grainSetpoint1, 149, 2),
    Row(Pending::grainSetpoint2, 151, 2),
    Row(Pending::grainSetpoint3, 153, 2),
    Row(Pending::meteringModeBits, 159, 1),
    Row(Pending::meteringPresetHigh, 156, 1),
    Row(Pending::meteringPresetMedium, 157, 1),
    Row(Pending::meteringPresetLow, 158, 1),
    RowFrom(Pending::imageMeteringGroup, 159, 4, I, 155),
    RowFrom(Pending::byte161, 161, 1, I, 230),
    Row(Pending::bphCalibration, 163, 1),
    Row(Pending::moistureMode, 187, 1),
    RowFrom(Pending::presetsToMetering, 160, 3, I, 156),
    Row(Pending::desiredMeteringGroup, 159, 4),
    Row(Pending::moistureSetpoint, 199, 2),
    Row(Pending::byte202, 202, 1),
    Row(Pending::byte203, 203, 1),
    Row(Pending::unloadRateLimit1, 206, 2),
    Row(Pending::unloadRateLimit2, 208, 2),
    // row 58: two flags
    {{Pending::byte216, Pending::byte217, Pending::byte217}, 2, 216, 2, D, 216, true, kNone},
    // row 59: two flags and a one-shot
    {{Pending::byte218, Pending::byte219, Pending::bytes218Once},
     3,
     218,
     2,
     D,
     218,
     true,
     Pending::bytes218Once},
    Row(Pending::batchCounter, 221, 2),
    Row(Pending::byte224, 224, 1),
    Row(Pending::byte226, 226, 1),
    Row(Pending::byte227, 227, 1),
    Row(Pending::byte228, 228, 1),
    Row(Pending::byte229, 229, 1),
    Row(Pending::calibrationWord232, 232, 2),
    Row(Pending::calibrationWord234, 234, 2),
    Row(Pending::byte236, 236, 1),
    Row(Pending::byte237, 237, 1),
    Row(Pending::optionByte238, 238, 1),
    Row(Pending::calibrationWord241, 241, 2),
    Row(Pending::calibrationWord243, 243, 2),
    Row(Pending::byte246, 246, 1),
    Row(Pending::optionByte257, 257, 1),
    Row(Pending::word258, 258, 2),
    Row(Pending::word260, 260, 2),
    // row 77: one-shot; the request bits 0-1 of desired 266 are cleared once sent
    {{Pending::unitsAndOptions, Pending::unitsAndOptions, Pending::unitsAndOptions},
     1,
     266,
     1,
     D,
     266,
     true,
     Pending::unitsAndOptions},
    Row(Pending::fanRunAfterShutdown, 269, 2),
    Row(Pending::batchTimePair, 274, 2),
    Row(Pending::batchWord277, 277, 2),
    Row(Pending::optionByte289, 289, 1),
    Row(Pending::optionByte293, 293, 1),
}};

bool RowIsPending(const CommandRow& row)
{
    for (std::uint8_t i = 0; i < row.flagCount && i < 3; ++i) {
        if (PendingCommand.IsSet(row.flags[i])) return true;
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
        if (row.oneShot != kNone) {
            PendingCommand.Clear(row.oneShot);
            if (row.oneShot == Pending::unitsAndOptions) {
                const std::uint8_t units = DesiredSettings.Get(unitsAndOptions.offset);
                DesiredSettings.Set(unitsAndOptions.offset,
                                    static_cast<std::uint8_t>(units & ~kUnitsRequestBits));
            }
        }
    }
    frame[0] = static_cast<std::uint8_t>(running + 2);
    frame[1] = records;
    return records > 0;
}
