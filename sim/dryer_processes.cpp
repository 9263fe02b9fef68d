// How the simulated dryer moves in one second: fans start one after another, each burner purges,
// ignites and then modulates between high and low fire around its plenum setpoint; grain
// temperatures and moisture follow the heat; the load auger fills on demand against the load
// timer; the unload meters grain out and counts bushels; a batch dryer walks through fill, dry,
// cool and unload on its timers; a shutdown leaves the fans cooling down.
#include <algorithm>
#include <cmath>

#include "sim/dryer_model.h"

namespace sim {

namespace {

constexpr int kPurgeSeconds = 10;   // burner purge before ignition
constexpr int kIgniteSeconds = 3;   // ignition trial
constexpr int kHighFireAbove = 25;  // high fire drives the plenum this far above setpoint
constexpr int kLowFireBelow = 25;   // low fire lets it fall this far below
// The Main I/O reports the out-of-grain (load) timer expired.
constexpr WarningCode kOutOfGrain = MakeWarningCode(static_cast<std::uint8_t>(NodeId::mainIo), 8);

double Approach(double value, double target, double rate)
{
    return value + (target - value) * rate;
}

}  // namespace

void DryerModel::StepCoolDown()
{
    if (coolDownLeft_ > 0) --coolDownLeft_;
    StepHeaters(false, coolDownLeft_ > 0);
    StepLoad(false);
    StepUnload(false);
}

void DryerModel::StepHeaters(bool heat, bool fans)
{
    const int count = heaterCount();
    const bool loHeat = running_ && batch_ == BatchPhase::DryLow;
    for (int i = 0; i < kMaxHeaters; ++i) {
        Heater& h = heaters_[i];
        if (i >= count || !fans) {
            if (i >= count || h.phase != HeaterPhase::Off) h.phaseLeft = 0;
            h.phase = HeaterPhase::Off;
            h.highFire = false;
            h.plenum = Approach(h.plenum, kAmbientF, 0.02);
            continue;
        }
        // The lo-heat stage of a dual-heat batch runs Fan/Heater 1 on the upper setpoint.
        const ImageField setpointField =
            loHeat && i == 0 ? upperPlenumSetpoint : ForHeater(plenumSetpoint, i + 1);
        const int setpoint = std::clamp(Value(image_, setpointField), 50, 250);
        StepHeaterPhase(h, heat, setpoint);

        if (h.phase == HeaterPhase::Burn) {
            const double target = h.highFire ? setpoint + kHighFireAbove : setpoint - kLowFireBelow;
            h.plenum = Approach(h.plenum, target, 0.06);
        } else if (h.phase == HeaterPhase::Off) {
            h.plenum = Approach(h.plenum, kAmbientF, 0.02);
        } else {
            h.plenum = Approach(h.plenum, kAmbientF + 3, 0.05);
        }
        h.plenum = std::clamp(h.plenum + Noise(0.3), -30.0, 255.0);
    }
}

void DryerModel::StepHeaterPhase(Heater& h, bool heat, int setpoint)
{
    switch (h.phase) {
        case HeaterPhase::Off:
            if (h.phaseLeft > 0) {
                --h.phaseLeft;
            } else {
                h.phase = heat ? HeaterPhase::Purge : HeaterPhase::Fan;
                h.phaseLeft = kPurgeSeconds;
            }
            break;
        case HeaterPhase::Fan:
            if (heat) {
                h.phase = HeaterPhase::Purge;
                h.phaseLeft = kPurgeSeconds;
            }
            break;
        case HeaterPhase::Purge:
            if (!heat) {
                h.phase = HeaterPhase::Fan;
            } else if (--h.phaseLeft <= 0) {
                h.phase = HeaterPhase::Ignite;
                h.phaseLeft = kIgniteSeconds;
            }
            break;
        case HeaterPhase::Ignite:
            if (!heat) {
                h.phase = HeaterPhase::Fan;
            } else if (--h.phaseLeft <= 0) {
                h.phase = HeaterPhase::Burn;
                h.highFire = true;
            }
            break;
        case HeaterPhase::Burn:
            if (!heat) {
                h.phase = HeaterPhase::Fan;
                h.highFire = false;
            } else if (h.highFire && h.plenum >= setpoint + 1) {
                h.highFire = false;
            } else if (!h.highFire && h.plenum <= setpoint - 4) {
                h.highFire = true;
            }
            break;
    }
}

void DryerModel::StepLoad(bool wanted)
{
    if (!wanted) {
        load_ = LoadPhase::Idle;
        loadLeft_ = 3;
        return;
    }
    const int setting = Setting(loadTimerSetting);
    switch (load_) {
        case LoadPhase::Idle:
            if (--loadLeft_ <= 0) {
                load_ = LoadPhase::Delay;
                loadLeft_ = std::min(Setting(loadDelaySetting), kMaxDelaySeconds);
            }
            break;
        case LoadPhase::Delay:
            if (--loadLeft_ <= 0) {
                load_ = LoadPhase::Loading;
                loadLeft_ = std::uniform_int_distribution<int>(25, 50)(random_);
                loadTimer_ = setting;
            }
            break;
        case LoadPhase::Loading:
            if (setting > 0 && loadTimer_ > 0 && --loadTimer_ == 0) {
                RaiseWarning(kOutOfGrain);
                return;
            }
            if (--loadLeft_ <= 0) {
                load_ = LoadPhase::Idle;
                loadLeft_ = std::uniform_int_distribution<int>(60, 120)(random_);
                batchLoaded_ = true;
            }
            break;
    }
}

void DryerModel::StepUnload(bool unloading)
{
    if (unloading) {
        unloading_ = true;
        runOnLeft_ = 0;
    } else if (unloading_) {
        unloading_ = false;
        runOnLeft_ = std::min(Setting(unloadRunOnSetting), kMaxDelaySeconds);
    } else if (runOnLeft_ > 0) {
        --runOnLeft_;
    }

    if (BitsValue(image_, moistureSchemeBits) == kSchemeVariable &&
        IsSet(image_, moistureAutoBit)) {
        // Variable speed in automatic: slow the rolls while the grain leaves too wet.
        const double error = dryMoisture_ - Value(image_, moistureSetpoint);
        meterRpm_ = std::clamp(meterRpm_ - error * 0.02, 20.0, kMaxMeterRpm);
    } else {
        // The active preset: 2 high, 0 low, otherwise medium; the presets are high first.
        const int preset = Value(image_, meteringMode);
        const int index = preset == 2 ? 0 : (preset == 0 ? 2 : 1);
        meterRpm_ =
            std::clamp(Value(image_, meteringPreset.Element(index)) * 2.0, 0.0, kMaxMeterRpm);
    }

    const bool resetHeld = IsSet(image_, bushelResetBit);
    std::uint32_t counter = resetHeld ? 0 : ReadCounter(image_, bushelCounter);
    if (unloading_ && !resetHeld) {
        const int calibration = std::clamp(Value(image_, bphCalibration), 50, 150);
        counter += static_cast<std::uint32_t>(meterRpm_ * 8 * calibration / 100);  // bph / s
    }
    SetValue(image_, bushelCounter, counter);
}

void DryerModel::StepBatch()
{
    const auto countDown = [&](ImageField remaining) {
        const int left = std::min(Setting(remaining), kMaxRunSeconds * 4);
        if (left > 0) PutTime(remaining, left - 1);
        return left <= 1;
    };
    switch (batch_) {
        case BatchPhase::Fill:
            StepHeaters(false, false);
            StepLoad(true);
            StepUnload(false);
            if (batchLoaded_) {
                batch_ = BatchPhase::DryHigh;
                PutTime(dryTimerRemaining, Setting(dryTimerSetting));
            }
            break;
        case BatchPhase::DryHigh:
        case BatchPhase::DryLow: {
            StepHeaters(true, true);
            StepLoad(false);
            StepUnload(false);
            const bool low = batch_ == BatchPhase::DryLow;
            if (!countDown(low ? loHeatTimerRemaining : dryTimerRemaining)) break;
            if (!low && IsSet(image_, dualHeatBit)) {
                batch_ = BatchPhase::DryLow;
                PutTime(loHeatTimerRemaining, Setting(loHeatTimerSetting));
            } else {
                batch_ = BatchPhase::Cool;
                PutTime(coolTimerRemaining, Setting(coolTimerSetting));
            }
            break;
        }
        case BatchPhase::Cool:
            StepHeaters(false, true);
            StepLoad(false);
            StepUnload(false);
            if (countDown(coolTimerRemaining)) {
                batch_ = BatchPhase::Unload;
                PutTime(unloadTimerRemaining, Setting(unloadTimerSetting));
            }
            break;
        case BatchPhase::Unload:
            StepHeaters(false, false);
            StepLoad(false);
            StepUnload(true);
            if (countDown(unloadTimerRemaining)) {
                SetValue(image_, batchCount, Value(image_, batchCount) + 1);
                batch_ = BatchPhase::Fill;
                batchLoaded_ = false;
                StepUnload(false);  // the unload stops; its augers run on
            }
            break;
    }
}

void DryerModel::StepGrainAndMoisture()
{
    const int count = heaterCount();
    double plenumSum = 0;
    for (int i = 0; i < count; ++i) plenumSum += heaters_[i].plenum;
    const double heat = std::max(0.0, plenumSum / count - kAmbientF);
    const bool airflow = running_ || coolDownLeft_ > 0;
    for (std::size_t j = 0; j < grain_.size(); ++j) {
        const double target =
            airflow ? kAmbientF + heat * (0.5 - 0.05 * static_cast<double>(j)) : kAmbientF;
        grain_[j] = std::clamp(Approach(grain_[j], target, 0.01) + Noise(0.1), 0.0, 250.0);
    }
    wetMoisture_ = std::clamp(wetMoisture_ + Noise(0.5), 180.0, 260.0);
    const double slowness = std::clamp(100.0 / std::max(meterRpm_, 1.0), 0.4, 2.5);
    const double dryTarget = running_ ? wetMoisture_ - heat * 0.58 * slowness : wetMoisture_;
    dryMoisture_ = std::clamp(Approach(dryMoisture_, dryTarget, 0.01), 100.0, 300.0);
}

// The sampler takes a sample for 20 seconds and cleans for 5 of every minute.
void DryerModel::StepSampler()
{
    SetValue(image_, samplerBits, 0);
    if (!IsSet(image_, samplerInstalledBit) || !running_) {
        samplerSeconds_ = 0;
        return;
    }
    samplerSeconds_ = (samplerSeconds_ + 1) % 60;
    SetBits(image_, samplerSamplingBit, samplerSeconds_ < 20);
    SetBits(image_, samplerCleaningBit, samplerSeconds_ >= 20 && samplerSeconds_ < 25);
}

}  // namespace sim
