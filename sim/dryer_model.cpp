// The simulated dryer. One step is one second of dryer time: fans start one after another,
// each burner purges, ignites and then modulates between high and low fire around its plenum
// setpoint; grain temperatures and moisture follow the heat; the load auger fills on demand
// against the load timer; the unload meters grain out and counts bushels; a batch dryer walks
// through fill, dry, cool and unload on its timers; a shutdown leaves the fans cooling down.
#include "sim/dryer_model.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace sim {

namespace {

constexpr double kAmbientF = 60.0;    // outside air, degrees Fahrenheit
constexpr int kPurgeSeconds = 10;     // burner purge before ignition
constexpr int kIgniteSeconds = 3;     // ignition trial
constexpr int kHighFireAbove = 25;    // high fire drives the plenum this far above setpoint
constexpr int kLowFireBelow = 25;     // low fire lets it fall this far below
constexpr int kMaxRunSeconds = 3600;  // timers read from the image are capped here
constexpr int kMaxDelaySeconds = 600;
constexpr std::uint32_t kSerialisedTimeMax = 255 * 60 + 59;

constexpr std::uint8_t kRunStarted = 0x40;         // runState bit 6
constexpr std::uint8_t kRunCoolDown = 0x02;        // runState bit 1
constexpr std::uint8_t kUnloadingBit = 0x40;       // dryerState bit 6
constexpr std::uint8_t kMeterRollsTurning = 0x08;  // loadStatusBits bit 3
constexpr std::uint8_t kLoadSwitchesAuto = 0x18;   // ioBits 179: load on, load auto
constexpr std::uint8_t kLoHeatActive = 0x10;       // offset 148 bit 4: lo-heat plenum in use

constexpr std::uint8_t kHeaterFan = 0x01;
constexpr std::uint8_t kHeaterBurner = 0x02;
constexpr std::uint8_t kHeaterHighFire = 0x04;
constexpr std::uint8_t kIgnitionPurging = 0x01;
constexpr std::uint8_t kIgnitionIgniting = 0x02;

constexpr std::uint8_t kUnitsSaveRequest = 0x02;     // unitsAndOptions bit 1
constexpr std::uint8_t kUnitsRestoreRequest = 0x01;  // unitsAndOptions bit 0

// The settings the panel can command; "save settings" keeps them, "restore" brings them back.
constexpr std::pair<std::uint16_t, std::uint16_t> kSettingRanges[] = {
    {3, 9},     {11, 13},   {16, 18},   {21, 23},   {26, 28},   {31, 33},   {41, 43},   {46, 48},
    {49, 51},   {59, 71},   {95, 107},  {149, 155}, {156, 164}, {187, 188}, {199, 204}, {206, 210},
    {216, 220}, {221, 223}, {224, 225}, {226, 230}, {232, 239}, {241, 245}, {246, 247}, {254, 256},
    {257, 262}, {266, 267}, {269, 271}, {274, 276}, {277, 279}, {289, 290}, {293, 294},
};

double Approach(double value, double target, double rate)
{
    return value + (target - value) * rate;
}

}  // namespace

DryerModel::DryerModel(const DryerConfig& config)
{
    Reset(config);
}

int DryerModel::heaterCount() const
{
    if ((image_[dryerConfigBits.offset] & 0x20) != 0) return 1;  // tower: one central burner
    return HeaterCountFromCode(image_[heaterCountCode.offset]);
}

int DryerModel::Setting(ImageField pair) const
{
    return static_cast<int>(ReadTimeSeconds(image_, pair.offset));
}

void DryerModel::PutTime(ImageField pair, int seconds)
{
    const auto s = static_cast<std::uint32_t>(std::clamp<int>(seconds, 0, kSerialisedTimeMax));
    image_[pair.offset] = static_cast<std::uint8_t>(s / 60);
    image_[pair.offset + 1] = static_cast<std::uint8_t>(s % 60);
}

void DryerModel::PutTemp(std::size_t offset, double value)
{
    WriteLe16(image_, offset,
              static_cast<std::uint16_t>(
                  static_cast<std::int16_t>(std::lround(std::clamp(value, -30.0, 255.0)))));
}

double DryerModel::Noise(double amplitude)
{
    std::uniform_real_distribution<double> d(-amplitude, amplitude);
    return d(random_);
}

void DryerModel::Reset(const DryerConfig& config)
{
    config_ = config;
    image_.fill(0);
    savedSettings_.fill(0);
    settingsSaved_ = false;
    leftoverMs_ = 0;
    seconds_ = 0;
    running_ = false;
    coolDownLeft_ = 0;

    image_[heaterCountCode.offset] = config.heaterCountCode;
    image_[moduleCountCode.offset] = config.moduleCountCode;
    image_[fuelCode.offset] = config.fuelCode;
    image_[loadSystemCode.offset] = config.loadSystemCode;
    image_[dryerLengthCode.offset] = config.dryerLengthCode;
    image_[dryingType.offset] = config.dryingType;
    image_[dryerConfigBits.offset] = config.dryerConfigBits;
    image_[moistureControlMode.offset] = config.moistureControlMode;
    image_[dryerOptions.offset] = config.dryerOptions;
    image_[unitsAndOptions.offset] = config.unitsAndOptions & ~kUnitsRequestBits;
    image_[samplerOption.offset] = config.samplerInstalled ? 0x80 : 0x00;

    // Factory timer settings; each countdown starts at its setting.
    PutTime(dryTimerSetting, 60 * 60);
    PutTime(loHeatTimerSetting, 60 * 60);
    PutTime(coolTimerSetting, 20 * 60);
    PutTime(unloadTimerSetting, 10 * 60);
    PutTime(loadTimerSetting, 8 * 60);
    PutTime(loadDelaySetting, 30);
    PutTime(unloadRunOnSetting, 60);
    PutTime(fanStartDelaySetting, 3);
    PutTime(fanRunAfterShutdownSetting, 2 * 60);
    PutTime(dryTimerRemaining, Setting(dryTimerSetting));
    PutTime(loHeatTimerRemaining, Setting(loHeatTimerSetting));
    PutTime(coolTimerRemaining, Setting(coolTimerSetting));
    PutTime(unloadTimerRemaining, Setting(unloadTimerSetting));
    PutTime(loadTimerRemaining, Setting(loadTimerSetting));

    for (int k = 1; k <= kMaxHeaters; ++k) {
        WriteLe16(image_, HeaterWordOffset(plenumSetpoint, k), 180);
        image_[HeaterByteOffset(plenumDifferential, k)] = 10;
    }
    WriteLe16(image_, grainSetpoint.offset, 105);
    WriteLe16(image_, grainSetpoint.offset + 2, 120);
    WriteLe16(image_, grainSetpoint.offset + 4, 105);
    WriteLe16(image_, setpointWords258.offset, 180);
    WriteLe16(image_, setpointWords258.offset + 2, 160);
    image_[meteringMode.offset] = 1;
    image_[meteringPreset.offset] = 80;  // high, medium, low: shown x 10
    image_[meteringPreset.offset + 1] = 50;
    image_[meteringPreset.offset + 2] = 30;
    image_[meteringControl.offset] = 0x01;
    for (std::size_t i = 0; i < 3; ++i) {
        image_[meteringControl.offset + 1 + i] = image_[meteringPreset.offset + i];
    }
    image_[bphCalibration.offset] = 100;
    image_[ioBits.offset + 2] = kLoadSwitchesAuto;
    WriteBe16(image_, moistureSetpoint.offset, 150);
    image_[moistureModeSetting.offset] = 3;
    image_[settingByte230.offset] = 10;
    image_[meterRollRaw.offset] = 128;
    image_[meterRollRaw.offset + 1] = 128;
    image_[mediumWhole.offset] = 5;
    image_[optionByte289.offset] = 0x01;
    image_[dryerState.offset] = kDryerStateIdle;

    for (Heater& h : heaters_) h = Heater{HeaterPhase::Off, 0, false, kAmbientF};
    grain_.fill(kAmbientF);
    wetMoisture_ = 220;
    dryMoisture_ = 220;
    meterRpm_ = 100;
    load_ = LoadPhase::Idle;
    loadLeft_ = 5;
    loadTimer_ = 0;
    unloading_ = false;
    runOnLeft_ = 0;
    batch_ = BatchPhase::Fill;
    batchLoaded_ = false;
    samplerSeconds_ = 0;
    centerAdjust_ = 0;
    if (config.running) Start();
    WriteStatus();
}

void DryerModel::Advance(std::int64_t elapsedMs)
{
    if (elapsedMs <= 0) return;
    leftoverMs_ += elapsedMs;
    while (leftoverMs_ >= 1000) {
        leftoverMs_ -= 1000;
        Step();
    }
}

bool DryerModel::Start()
{
    if (ActiveWarningCode(image_) != 0) return false;
    running_ = true;
    coolDownLeft_ = 0;
    const int delay = std::min(Setting(fanStartDelaySetting), kMaxDelaySeconds);
    for (int i = 0; i < kMaxHeaters; ++i) {
        heaters_[i].phase = HeaterPhase::Off;
        heaters_[i].phaseLeft = i * delay;
    }
    batch_ = BatchPhase::Fill;
    batchLoaded_ = false;
    load_ = LoadPhase::Idle;
    loadLeft_ = 3;
    WriteStatus();
    return true;
}

void DryerModel::Stop()
{
    ShutDown();
}

void DryerModel::ShutDown()
{
    if (!running_) return;
    running_ = false;
    coolDownLeft_ = std::min(Setting(fanRunAfterShutdownSetting), kMaxRunSeconds);
    for (Heater& h : heaters_) {
        const bool fanWasOn = h.phase != HeaterPhase::Off;
        h.phase = (fanWasOn && coolDownLeft_ > 0) ? HeaterPhase::Fan : HeaterPhase::Off;
        h.phaseLeft = 0;
        h.highFire = false;
    }
    load_ = LoadPhase::Idle;
    WriteStatus();
}

void DryerModel::RaiseWarning(WarningCode code)
{
    image_[warningNode.offset] = WarningNodeOf(code);
    image_[warningIndex.offset] = WarningIndexOf(code);
    if (WarningIndexOf(code) != 0) ShutDown();
}

void DryerModel::ClearWarning()
{
    image_[warningNode.offset] = 0;
    image_[warningIndex.offset] = 0;
}

bool DryerModel::SetClock(const std::array<std::uint8_t, 5>& clock)
{
    const bool valid = clock[0] <= 59 && clock[1] <= 23 && clock[2] >= 1 && clock[2] <= 31 &&
                       clock[3] >= 1 && clock[3] <= 12 && clock[4] <= 99;
    if (valid) clock_ = clock;
    return valid;
}

void DryerModel::OnRecordWritten(std::uint16_t address, std::uint8_t length)
{
    const auto covers = [&](ImageField f) {
        return f.offset >= address && f.offset < address + length;
    };
    // Timer reloads: the board restarts the timer from its setting.
    if (address == dryTimerRemaining.offset) PutTime(dryTimerRemaining, Setting(dryTimerSetting));
    if (address == coolTimerRemaining.offset) {
        PutTime(coolTimerRemaining, Setting(coolTimerSetting));
    }
    if (address == unloadTimerRemaining.offset) {
        PutTime(unloadTimerRemaining, Setting(unloadTimerSetting));
    }
    if (address == loHeatTimerRemaining.offset) {
        PutTime(loHeatTimerRemaining, Setting(loHeatTimerSetting));
    }
    if (covers(optionByte238) && (image_[optionByte238.offset] & kBushelResetBit) != 0) {
        WriteLe32(image_, bushelCounter.offset, 0);
    }
    if (covers(unitsAndOptions)) {
        const std::uint8_t units = image_[unitsAndOptions.offset];
        if ((units & kUnitsSaveRequest) != 0) SaveSettings();
        if ((units & kUnitsRestoreRequest) != 0) RestoreSettings();
        image_[unitsAndOptions.offset] &= static_cast<std::uint8_t>(~kUnitsRequestBits);
    }
    if (covers(dryingType)) {
        batch_ = BatchPhase::Fill;
        batchLoaded_ = false;
    }
}

void DryerModel::SaveSettings()
{
    for (auto [from, to] : kSettingRanges) {
        for (std::uint16_t i = from; i < to; ++i) savedSettings_[i] = image_[i];
    }
    settingsSaved_ = true;
}

void DryerModel::RestoreSettings()
{
    if (!settingsSaved_) return;
    for (auto [from, to] : kSettingRanges) {
        for (std::uint16_t i = from; i < to; ++i) image_[i] = savedSettings_[i];
    }
}

void DryerModel::Step()
{
    ++seconds_;
    if (running_) {
        if (image_[dryingType.offset] == 1) {
            StepBatch();
        } else {
            StepHeaters(true, true);
            StepLoad(true);
            StepUnload(true);
        }
        centerAdjust_ = (centerAdjust_ + 1) % 3600;
    } else {
        StepCoolDown();
    }
    StepGrainAndMoisture();
    StepSampler();
    WriteStatus();
}

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
        std::size_t spOffset = HeaterWordOffset(plenumSetpoint, i + 1);
        if (loHeat && i == 0) spOffset = setpointWords258.offset + 2;
        const int setpoint = std::clamp<int>(ReadSignedLe16(image_, spOffset), 50, 250);

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
                RaiseWarning(MakeWarningCode(14, 8));  // out of grain timer expired
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

    const std::uint8_t mode = image_[moistureControlMode.offset];
    if ((mode & 0x07) == 3 && (mode & 0x80) != 0) {
        // Variable speed in automatic: slow the rolls while the grain leaves too wet.
        const double error = dryMoisture_ - ReadBe16(image_, moistureSetpoint.offset);
        meterRpm_ = std::clamp(meterRpm_ - error * 0.02, 20.0, 250.0);
    } else {
        const std::uint8_t preset = image_[meteringMode.offset];
        const std::size_t index = preset == 2 ? 0 : (preset == 0 ? 2 : 1);
        meterRpm_ = std::clamp(image_[meteringPreset.offset + index] * 2.0, 0.0, 250.0);
    }

    const bool resetHeld = (image_[optionByte238.offset] & kBushelResetBit) != 0;
    std::uint32_t counter = resetHeld ? 0 : ReadLe32(image_, bushelCounter.offset);
    if (unloading_ && !resetHeld) {
        const int calibration = std::clamp<int>(image_[bphCalibration.offset], 50, 150);
        counter += static_cast<std::uint32_t>(meterRpm_ * 8 * calibration / 100);  // bph / s
    }
    WriteLe32(image_, bushelCounter.offset, counter);
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
            if (!low && (image_[dryerOptions.offset] & 0x02) != 0) {
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
                WriteBe16(image_, batchCount.offset,
                          static_cast<std::uint16_t>(ReadBe16(image_, batchCount.offset) + 1));
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

void DryerModel::StepSampler()
{
    if ((image_[samplerOption.offset] & 0x80) == 0 || !running_) {
        samplerSeconds_ = 0;
        image_[samplerBits.offset] = 0;
        return;
    }
    samplerSeconds_ = (samplerSeconds_ + 1) % 60;
    image_[samplerBits.offset] = samplerSeconds_ < 20 ? 0x02 : (samplerSeconds_ < 25 ? 0x01 : 0);
}

void DryerModel::WriteStatus()
{
    const int count = heaterCount();
    for (int i = 0; i < kMaxHeaters; ++i) {
        const Heater& h = heaters_[i];
        const int k = i + 1;
        std::uint8_t state = 0;
        std::uint8_t pictures = 0;
        std::uint8_t ignition = 0;
        if (h.phase != HeaterPhase::Off) {
            state |= kHeaterFan;
            pictures |= 0x01;
        }
        if (h.phase == HeaterPhase::Burn) {
            state |= kHeaterBurner;
            pictures |= 0x02;
            if (h.highFire) state |= kHeaterHighFire;
        }
        if (h.phase == HeaterPhase::Purge) ignition |= kIgnitionPurging;
        if (h.phase == HeaterPhase::Ignite) ignition |= kIgnitionIgniting;
        if (k == 1 && running_ && batch_ == BatchPhase::DryLow) ignition |= kLoHeatActive;
        image_[HeaterByteOffset(heaterState, k)] = state;
        image_[HeaterByteOffset(heaterPictureBits, k)] = pictures;
        image_[HeaterByteOffset(ignitionState, k)] = ignition;
        if (i < count) {
            PutTemp(HeaterWordOffset(plenumTemp, k), h.plenum);
        } else {
            WriteLe16(image_, HeaterWordOffset(plenumTemp, k), 0);
        }
    }
    PutTemp(grainTemp.offset + 4, grain_[0]);
    PutTemp(grainTemp.offset + 2, grain_[1]);
    PutTemp(grainTemp.offset, grain_[2]);

    WriteBe16(image_, dryMoisture.offset, static_cast<std::uint16_t>(std::lround(dryMoisture_)));
    WriteBe16(image_, wetMoisture.offset, static_cast<std::uint16_t>(std::lround(wetMoisture_)));
    WriteBe16(image_, drySensorTemp.offset,
              static_cast<std::uint16_t>(std::lround(grain_[0] * 10)));
    WriteBe16(image_, wetSensorTemp.offset,
              static_cast<std::uint16_t>(std::lround((kAmbientF + 2) * 10 + Noise(3))));

    const bool metering = unloading_;
    const int calibration = std::clamp<int>(image_[bphCalibration.offset], 50, 150);
    const auto bph = static_cast<std::uint16_t>(metering ? meterRpm_ * 8 * calibration / 100 : 0);
    WriteBe16(image_, bushelsPerHour.offset, bph);
    WriteBe16(image_, unloadTenthsValue.offset,
              static_cast<std::uint16_t>(metering ? std::lround(meterRpm_) : 0));

    const bool loading = load_ == LoadPhase::Loading;
    std::uint8_t state = kDryerStateIdle;
    if (loading) state &= static_cast<std::uint8_t>(~0x80);
    if (unloading_) state |= kUnloadingBit;
    image_[dryerState.offset] = state;
    image_[dryerState2.offset] = (unloading_ || runOnLeft_ > 0) ? 0x01 : 0x00;
    image_[loadStatusBits.offset] = static_cast<std::uint8_t>((loading ? kLoadInProgressBit : 0) |
                                                              (metering ? kMeterRollsTurning : 0));
    const int loadSetting = Setting(loadTimerSetting);
    PutTime(loadTimerRemaining, loading ? loadTimer_ : loadSetting);
    image_[loadCountdownBits.offset] = (loading && loadSetting > 0) ? 0x01 : 0x00;
    PutTime(unloadRunOnRemaining, runOnLeft_);
    image_[runOnStatusBits.offset] = runOnLeft_ > 0 ? 0x01 : 0x00;

    std::uint8_t run =
        image_[runState.offset] & static_cast<std::uint8_t>(~(kRunStarted | kRunCoolDown));
    if (running_) run |= kRunStarted;
    if (coolDownLeft_ > 0) run |= kRunCoolDown;
    image_[runState.offset] = run;
    PutTime(coolDownRemaining, coolDownLeft_);
    image_[coolingStatusBits.offset] = coolDownLeft_ > 0 ? 0x01 : 0x00;
    WriteLe16(image_, centerAdjustElapsed.offset, static_cast<std::uint16_t>(centerAdjust_));
}

}  // namespace sim
