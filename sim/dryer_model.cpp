// The simulated dryer's board side: the factory image, start and stop, warnings and the clock,
// what the board does with the records the panel writes (reloads, the bushel counter reset, the
// saved and restored settings), the one-second step, and the status bytes it reports. How the
// dryer moves within a second is in dryer_processes.cpp.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/dryer_model.h"

#include "sim/panel_io.h"
#include "sim/saved_settings.h"
#include "sim/sensor_calibration.h"

namespace sim {

namespace {

constexpr int kSerialisedTimeMax = 255 * 60 + 59;

}  // namespace

DryerModel::DryerModel(const DryerConfig& config)
{
    Reset(config);
}

int DryerModel::heaterCount() const
{
    if (IsSet(image_, towerBit)) return 1;  // tower: one central burner
    return HeaterCountFromCode(Value(image_, heaterCountCode));
}

int DryerModel::Setting(ImageField pair) const
{
    return Value(image_, pair);
}

void DryerModel::PutTime(ImageField pair, int seconds)
{
    SetValue(image_, pair, std::clamp(seconds, 0, kSerialisedTimeMax));
}

void DryerModel::PutTemp(ImageField word, double value)
{
    SetValue(image_, word, std::lround(std::clamp(value, -30.0, 255.0)));
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

    SetValue(image_, heaterCountCode, config.heaterCountCode);
    SetValue(image_, moduleCountCode, config.moduleCountCode);
    SetValue(image_, fuelCode, config.fuelCode);
    SetValue(image_, loadSystemCode, config.loadSystemCode);
    SetValue(image_, dryerLengthCode, config.dryerLengthCode);
    SetValue(image_, dryingType, config.dryingType);
    SetValue(image_, dryerConfigBits, config.dryerConfigBits);
    SetValue(image_, moistureControlMode, config.moistureControlMode);
    SetValue(image_, dryerOptions, config.dryerOptions);
    SetValue(image_, unitsAndOptions, config.unitsAndOptions);
    SetBits(image_, unitsRequestBits, false);
    SetBits(image_, samplerInstalledBit, config.samplerInstalled);

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
        SetValue(image_, ForHeater(plenumSetpoint, k), 180);
        SetValue(image_, ForHeater(plenumDifferential, k), 10);
    }
    SetValue(image_, grainSetpointMain, 105);
    SetValue(image_, grainSetpointUpper, 120);
    SetValue(image_, grainSetpointLower, 105);
    SetValue(image_, setpointWords258.Element(0), 180);
    SetValue(image_, upperPlenumSetpoint, 160);
    PutTime(batchTimePair, 255 * 60);  // the safety limits at their defaults
    SetValue(image_, batchWord277, 150);
    SetValue(image_, meteringMode, 1);
    SetValue(image_, meteringPreset.Element(0), 80);  // high, medium, low: shown x 10
    SetValue(image_, meteringPreset.Element(1), 50);
    SetValue(image_, meteringPreset.Element(2), 30);
    SetBitsValue(image_, meteringModeBits, 1);
    for (int i = 0; i < meteringPreset.count(); ++i) {
        SetValue(image_, meteringValues.Element(i), Value(image_, meteringPreset.Element(i)));
    }
    SetValue(image_, bphCalibration, 100);
    SetBits(image_, loadOnBit, true);
    SetBits(image_, loadAutoBit, true);
    SetAutomaticSwitches(image_, heaterCount());
    SetValue(image_, moistureSetpoint, 150);
    SetValue(image_, moistureModeSetting, 3);
    SetValue(image_, settingByte230, 10);
    SetValue(image_, meterRollRaw.Element(0), 128);
    SetValue(image_, meterRollRaw.Element(1), 128);
    SetValue(image_, mediumWhole, 5);
    SetBits(image_, longTermLogBit, true);
    SetValue(image_, unloadRateLimit.Element(0), 80);  // maximum and minimum unload rate, %
    SetValue(image_, unloadRateLimit.Element(1), 10);
    SetValue(image_, grainType, 1);  // corn
    SetValue(image_, binNumber, 1);
    SetValue(image_, dryerState, kDryerStateIdle);

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
    SetActiveWarningCode(image_, code);
    if (WarningIndexOf(code) != 0) ShutDown();
}

void DryerModel::ClearWarning()
{
    SetActiveWarningCode(image_, 0);
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
    const std::pair<ImageField, ImageField> reloads[] = {
        {dryTimerRemaining, dryTimerSetting},
        {coolTimerRemaining, coolTimerSetting},
        {unloadTimerRemaining, unloadTimerSetting},
        {loHeatTimerRemaining, loHeatTimerSetting},
    };
    for (const auto& [remaining, setting] : reloads) {
        if (address == remaining.offset) PutTime(remaining, Setting(setting));
    }
    if (covers(optionByte238) && IsSet(image_, bushelResetBit)) SetValue(image_, bushelCounter, 0);
    if (covers(unitsAndOptions)) {
        if (IsSet(image_, saveSettingsRequestBit)) SaveSettings();
        if (IsSet(image_, restoreSettingsRequestBit)) RestoreSettings();
        SetBits(image_, unitsRequestBits, false);
    }
    if (covers(dryingType)) {
        batch_ = BatchPhase::Fill;
        batchLoaded_ = false;
    }
}

// Without a settings file the set lives as long as the simulator; with one it is written to
// the file, which a restore reads back whole before it changes anything.
void DryerModel::SaveSettings()
{
    if (settingsFile_.empty()) {
        CopySavedSettings(image_, savedSettings_);
        settingsSaved_ = true;
        LogSettings("the dryer's settings are saved (in memory only)");
        return;
    }
    std::string why;
    if (WriteSavedSettings(settingsFile_, image_, &why)) {
        LogSettings("the dryer's settings are saved in " + settingsFile_.string());
    } else {
        LogSettings("the dryer's settings could not be saved in " + settingsFile_.string() + ": " +
                    why);
    }
}

void DryerModel::RestoreSettings()
{
    if (settingsFile_.empty()) {
        if (!settingsSaved_) {
            LogSettings("no settings restored: none have been saved; nothing was changed");
            return;
        }
        ApplySettings(savedSettings_);
        LogSettings("the dryer's saved settings are restored (from memory)");
        return;
    }
    const SavedSettingsReading saved = ReadSavedSettings(settingsFile_);
    if (!saved.settings) {
        LogSettings("no settings restored from " + settingsFile_.string() + ": " + saved.error +
                    "; nothing was changed");
        return;
    }
    ApplySettings(*saved.settings);
    LogSettings("the dryer's saved settings are restored from " + settingsFile_.string());
}

// All of a saved set at once; a batch dryer that becomes another starts its cycle afresh, as
// after the panel's own change of the drying type.
void DryerModel::ApplySettings(const StatusImage& saved)
{
    const int type = Value(image_, dryingType);
    CopySavedSettings(saved, image_);
    if (Value(image_, dryingType) != type) {
        batch_ = BatchPhase::Fill;
        batchLoaded_ = false;
    }
}

void DryerModel::LogSettings(std::string message)
{
    settingsMessage_ = std::move(message);
    std::fprintf(stderr, "dryersim: %s\n", settingsMessage_.c_str());
    std::fflush(stderr);
}

void DryerModel::Step()
{
    ++seconds_;
    if (running_) {
        if (Value(image_, dryingType) == kBatchDrying) {
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

void DryerModel::WriteHeaterStatus()
{
    const int count = heaterCount();
    for (int i = 0; i < kMaxHeaters; ++i) {
        const Heater& h = heaters_[i];
        const int k = i + 1;
        const bool fan = h.phase != HeaterPhase::Off;
        const bool burning = h.phase == HeaterPhase::Burn;
        SetValue(image_, ForHeater(heaterState, k), 0);
        SetBits(image_, ForHeater(fanRunningBit, k), fan);
        SetBits(image_, ForHeater(burnerOnBit, k), burning);
        SetBits(image_, ForHeater(highFireBit, k), burning && h.highFire);
        SetValue(image_, ForHeater(heaterPictureBits, k), 0);
        SetBits(image_, ForHeater(fanOnBit, k), fan);
        SetBits(image_, ForHeater(heatOnBit, k), burning);
        SetValue(image_, ForHeater(ignitionState, k), 0);
        SetBits(image_, ForHeater(purgingBit, k), h.phase == HeaterPhase::Purge);
        SetBits(image_, ForHeater(ignitingBit, k), h.phase == HeaterPhase::Ignite);
        if (i < count) {
            PutTemp(ForHeater(plenumTemp, k), h.plenum);
        } else {
            SetValue(image_, ForHeater(plenumTemp, k), 0);
        }
    }
    SetBits(image_, loHeatPlenumBit, running_ && batch_ == BatchPhase::DryLow);
}

void DryerModel::WriteStatus()
{
    WriteHeaterStatus();
    for (int select = 0; select < static_cast<int>(grain_.size()); ++select) {
        PutTemp(GrainTempEntry(select), grain_[static_cast<std::size_t>(select)]);
    }

    ReportSensorReadings(image_, SensorReadings{dryMoisture_, wetMoisture_, grain_[0] * 10,
                                                (kAmbientF + 2) * 10 + Noise(3)});

    const bool metering = unloading_;
    const int calibration = std::clamp(Value(image_, bphCalibration), 50, 150);
    SetValue(image_, bushelsPerHour,
             metering ? static_cast<int>(meterRpm_ * 8 * calibration / 100) : 0);
    SetValue(image_, meterRollSpeed, metering ? std::lround(meterRpm_) : 0);
    // The metering roll output in percent of the rolls' top speed, with its tenths digit: the
    // discharge speed line shows it, the data logs record the whole part.
    const long outputTenths = metering ? std::lround(meterRpm_ * 1000 / kMaxMeterRpm) : 0;
    SetValue(image_, mediumWhole, static_cast<int>(outputTenths / 10));
    SetValue(image_, mediumTenths, static_cast<int>(outputTenths % 10));

    const bool loading = load_ == LoadPhase::Loading;
    SetValue(image_, dryerState, kDryerStateIdle);
    SetBits(image_, notFillingBit, !loading);
    SetBits(image_, unloadingBit, unloading_);
    SetValue(image_, dryerState2, 0);
    SetBits(image_, unloadingBit2, unloading_ || runOnLeft_ > 0);
    SetValue(image_, loadStatusBits, 0);
    SetBits(image_, loadInProgressBit, loading);
    SetBits(image_, meterRollsTurningBit, metering);
    const int loadSetting = Setting(loadTimerSetting);
    PutTime(loadTimerRemaining, loading ? loadTimer_ : loadSetting);
    SetValue(image_, loadCountdownBits, 0);
    SetBits(image_, loadCountdownShownBit, loading && loadSetting > 0);
    PutTime(unloadRunOnRemaining, runOnLeft_);
    SetValue(image_, runOnStatusBits, 0);
    SetBits(image_, runOnCountdownShownBit, runOnLeft_ > 0);

    SetBits(image_, dryerStartedBit, running_);
    SetBits(image_, coolDownRunningBit, coolDownLeft_ > 0);
    PutTime(coolDownRemaining, coolDownLeft_);
    SetValue(image_, coolingStatusBits, 0);
    SetBitsValue(image_, coolDownStateBits, coolDownLeft_ > 0 ? kCoolingDown : 0);
    SetValue(image_, centerAdjustElapsed, centerAdjust_);
    MarkActivatedLights(image_);
}

}  // namespace sim
