// PendingCommand: one flag per settable field or group of the dryer. A screen writes the wanted
// value into DesiredSettings first and sets the flag last; from the next exchange on, every
// command frame carries the value until the board's answer shows it (the decoder then clears
// the flag) or, for one-shot rows, until it has been sent once.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

// The flags, in the order the command frame serves them.
enum class Pending : std::uint8_t {
    heaterCount,
    moduleCount,
    fuel,
    loadSystem,
    dryerLength,
    dryingType,
    dryTimerSetting,
    dryTimerReload,
    loHeatTimerSetting,
    loHeatTimerReload,
    coolTimerSetting,
    coolTimerReload,
    unloadTimerSetting,
    unloadTimerReload,
    loadTimer,
    loadDelay,
    unloadRunOn,
    fanStartDelay,
    optionByte49,
    byte50,
    clock,            // one-shot
    plenumSetpoint6,  // Fan/Heater 6 ... 1, see PlenumSetpointFlag
    plenumSetpoint5,
    plenumSetpoint4,
    plenumSetpoint3,
    plenumSetpoint2,
    plenumSetpoint1,
    plenumDifferential6,  // see PlenumDifferentialFlag
    plenumDifferential5,
    plenumDifferential4,
    plenumDifferential3,
    plenumDifferential2,
    plenumDifferential1,
    heaterByte6,  // per-heater control byte, see HeaterByteFlag
    heaterByte5,
    heaterByte4,
    heaterByte3,
    heaterByte2,
    heaterByte1,
    grainSetpoint1,
    grainSetpoint2,
    grainSetpoint3,
    meteringModeBits,  // cleared by the metering screen itself
    meteringPresetHigh,
    meteringPresetMedium,
    meteringPresetLow,
    imageMeteringGroup,  // image 155-158 sent as 159-162 (metering set by the display)
    byte161,             // image 230 sent as 161
    bphCalibration,
    moistureMode,
    presetsToMetering,     // image 156-158 sent as 160-162
    desiredMeteringGroup,  // desired 159-162 (metering set by the knob)
    moistureSetpoint,
    byte202,
    byte203,
    unloadRateLimit1,
    unloadRateLimit2,
    byte216,
    byte217,       // acknowledged under mask 0x40
    byte218,       // acknowledged under mask 0x0C
    byte219,       // acknowledged under mask 0x98
    bytes218Once,  // sends 218-219 once
    batchCounter,
    byte224,
    byte226,
    byte227,
    byte228,
    byte229,
    calibrationWord232,
    calibrationWord234,
    byte236,
    byte237,
    optionByte238,
    calibrationWord241,
    calibrationWord243,
    byte246,
    optionByte257,
    word258,
    word260,
    unitsAndOptions,  // one-shot; bits 0-1 of desired 266 are cleared after sending
    fanRunAfterShutdown,
    batchTimePair,
    batchWord277,
    optionByte289,
    optionByte293,
    count,
    none = count,  // a field without a flag
};

inline constexpr std::size_t kPendingCount = static_cast<std::size_t>(Pending::count);

// The flag set. Setting publishes the desired bytes written before it (release); the
// communication thread reads with acquire. Pending::none is never set.
class PendingFlags {
public:
    void Set(Pending flag)
    {
        if (flag < Pending::count) At(flag).store(1, std::memory_order_release);
    }
    void Clear(Pending flag)
    {
        if (flag < Pending::count) At(flag).store(0, std::memory_order_release);
    }
    bool IsSet(Pending flag) const
    {
        return flag < Pending::count && At(flag).load(std::memory_order_acquire) != 0;
    }
    void ClearAll()
    {
        for (auto& f : flags_) f.store(0, std::memory_order_release);
    }
    bool AnySet() const
    {
        for (const auto& f : flags_) {
            if (f.load(std::memory_order_acquire) != 0) return true;
        }
        return false;
    }

private:
    std::atomic<std::uint8_t>& At(Pending flag) { return flags_[static_cast<std::size_t>(flag)]; }
    const std::atomic<std::uint8_t>& At(Pending flag) const
    {
        return flags_[static_cast<std::size_t>(flag)];
    }
    std::array<std::atomic<std::uint8_t>, kPendingCount> flags_{};
};

extern PendingFlags PendingCommand;
