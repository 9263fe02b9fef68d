// The dryer behind the Display I/O board: fans and burners per fan/heater, plenum and grain
// temperatures, moisture readings, load and unload cycles, batch timers, bushel counting and the
// cool-down after a shutdown. The model owns the 300-byte status image; it reads the settings
// the panel commands from that image and writes the status bytes, one second at a time.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

#include "dryer/link/dryer_image.h"
#include "sim/scenarios.h"

namespace sim {

using StatusImage = std::array<std::uint8_t, kImageSize>;

class DryerModel {
public:
    explicit DryerModel(const DryerConfig& config = DryerConfig{});

    // Builds the board's factory image for a dryer and starts it if the configuration says so.
    void Reset(const DryerConfig& config);

    const StatusImage& image() const { return image_; }
    StatusImage& image() { return image_; }
    const DryerConfig& config() const { return config_; }

    // Moves the dryer forward by elapsed milliseconds (whole seconds are stepped; the rest is
    // kept for the next call). Negative values are ignored.
    void Advance(std::int64_t elapsedMs);
    void Step();  // one second of dryer time

    // The board acting on a parameter record it has just written into the image.
    void OnRecordWritten(std::uint16_t address, std::uint8_t length);
    // Where the board keeps the settings a save request stores (empty: in memory, for this run).
    void SetSettingsFile(std::filesystem::path file) { settingsFile_ = std::move(file); }
    const std::filesystem::path& settingsFile() const { return settingsFile_; }
    // What the last save or restore request came to, as the simulator's log says it.
    const std::string& settingsMessage() const { return settingsMessage_; }
    // The clock record (minute, hour, day, month, year modulo 100); false when out of range.
    bool SetClock(const std::array<std::uint8_t, 5>& clock);
    const std::array<std::uint8_t, 5>& clock() const { return clock_; }

    void RaiseWarning(WarningCode code);  // the reporting board shuts the dryer down
    void ClearWarning();
    bool Start();  // false while a warning is active
    void Stop();

    bool running() const { return running_; }
    int coolDownSeconds() const { return coolDownLeft_; }
    std::uint64_t secondsRun() const { return seconds_; }

private:
    static constexpr double kAmbientF = 60.0;    // outside air, degrees Fahrenheit
    static constexpr int kMaxRunSeconds = 3600;  // timers read from the image are capped here
    static constexpr int kMaxDelaySeconds = 600;
    static constexpr double kMaxMeterRpm = 250.0;  // tenths of rpm: the rolls' top speed

    enum class HeaterPhase { Off, Fan, Purge, Ignite, Burn };
    struct Heater {
        HeaterPhase phase = HeaterPhase::Off;
        int phaseLeft = 0;  // seconds in the current phase (start delay while Off)
        bool highFire = false;
        double plenum = 0;
    };
    enum class LoadPhase { Idle, Delay, Loading };
    enum class BatchPhase { Fill, DryHigh, DryLow, Cool, Unload };

    int heaterCount() const;
    int Setting(ImageField pairField) const;  // a minutes/seconds pair in seconds
    void PutTime(ImageField pairField, int seconds);
    void PutTemp(ImageField word, double value);

    void ShutDown();
    void StepHeaters(bool heat, bool fans);
    void StepHeaterPhase(Heater& h, bool heat, int setpoint);
    void StepLoad(bool wanted);
    void StepUnload(bool unloading);
    void StepBatch();
    void StepGrainAndMoisture();
    void StepCoolDown();
    void StepSampler();
    void SaveSettings();
    void RestoreSettings();
    void ApplySettings(const StatusImage& saved);
    void LogSettings(std::string message);
    void WriteHeaterStatus();
    void WriteStatus();
    double Noise(double amplitude);

    DryerConfig config_;
    StatusImage image_{};
    StatusImage savedSettings_{};
    bool settingsSaved_ = false;
    std::filesystem::path settingsFile_;
    std::string settingsMessage_;
    std::array<std::uint8_t, 5> clock_{};
    std::mt19937 random_{12345};
    std::int64_t leftoverMs_ = 0;
    std::uint64_t seconds_ = 0;

    bool running_ = false;
    int coolDownLeft_ = 0;
    std::array<Heater, kMaxHeaters> heaters_{};
    std::array<double, 3> grain_{};  // the sensors of grainSensorSelect 0, 1, 2
    double wetMoisture_ = 220;       // tenths of a percent
    double dryMoisture_ = 150;
    double meterRpm_ = 100;  // tenths of a revolution per minute
    LoadPhase load_ = LoadPhase::Idle;
    int loadLeft_ = 0;   // seconds left in the current load phase
    int loadTimer_ = 0;  // the load (maximum fill) countdown
    bool unloading_ = false;
    int runOnLeft_ = 0;
    BatchPhase batch_ = BatchPhase::Fill;
    bool batchLoaded_ = false;
    int samplerSeconds_ = 0;
    int centerAdjust_ = 0;
};

}  // namespace sim
