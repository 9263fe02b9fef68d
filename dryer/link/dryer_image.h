// The dryer image: the 300-byte status payload of the Display I/O board, kept byte for byte at
// the answer-frame offsets, and the operator's desired values at the same offsets. A field's
// offset is also its parameter address in command frames.
//
// This header is the one description of the image. Each field below says where it lies, how its
// bytes hold its value, which PendingCommand flag sends it (if the panel may set it), and which
// windows draw it; the named bits are in dryer_image_bits.h, included below. The answer decoder
// walks kImageLayout, the command table, the repaint routes and the board simulator are built from
// the same names, and the screens and tests read the image only through them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "dryer/link/dryer_boards.h"
#include "dryer/link/image_field.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/repaint_target.h"
#include "dryer/link/units.h"

// Unless marked, fields are unsigned bytes. LE: low byte at the lower offset; BE: high byte
// first. Times are minute/second pairs, minutes first. Per-heater arrays hold Fan/Heater 6
// first. Offsets 0-2, 33-38, 48, 53-57, 107-112, 119-124, 170, 204-205, 210-215, 231, 256,
// 276, 285-286 and 294-299 are not taken from answers and stay 0.
//
// OFFSET  SIZE  FIELD                        CONTENT
//     3     1   heaterCountCode              0 one, 1 two, 2 three, 3 four, 4 six fan/heaters
inline constexpr ImageField heaterCountCode =
    Byte(3).Sets(Pending::heaterCount).Repaints(kPlenumPanelWindow);
//     4     1   moduleCountCode              0 one, 1 two, 2 three modules
inline constexpr ImageField moduleCountCode = Byte(4).Sets(Pending::moduleCount);
//     5     1   fuelCode                     0 LP, 1 natural gas, 2 vapor, 3 diesel
inline constexpr ImageField fuelCode = Byte(5).Sets(Pending::fuel);
//     6     1   loadSystemCode               0 end fill, 1 center fill, 2 dual fill
inline constexpr ImageField loadSystemCode = Byte(6).Sets(Pending::loadSystem);
//     7     1   dryerLengthCode              0-10: 8 + 2 x code feet; 11-14: 34, 36, 38, 40 ft
inline constexpr ImageField dryerLengthCode = Byte(7).Sets(Pending::dryerLength);
//     8     1   dryingType                   0 continuous flow, 1 batch, other "TYPE:NONE"
inline constexpr ImageField dryingType =
    Byte(8).Sets(Pending::dryingType).Repaints(kBatchDryingWindow | kSetupSelectionWindow);
inline constexpr int kContinuousFlow = 0;
inline constexpr int kBatchDrying = 1;
//     9     2   dryTimerRemaining            (hi-heat) dry timer remaining, min, s
inline constexpr ImageField dryTimerRemaining =
    Time(9).Reloads(Pending::dryTimerReload).Repaints(kBatchDryingWindow);
//    11     2   dryTimerSetting              dry timer reload value, min, s
inline constexpr ImageField dryTimerSetting =
    Time(11).Sets(Pending::dryTimerSetting).Repaints(kBatchDryingWindow);
//    13     1   batchStatusBits13            bit 0: a batch timers window layout condition
inline constexpr ImageField batchStatusBits13 = Byte(13).Repaints(kBatchDryingWindow);
//    14     2   coolTimerRemaining           min, s
inline constexpr ImageField coolTimerRemaining =
    Time(14).Reloads(Pending::coolTimerReload).Repaints(kBatchDryingWindow);
//    16     2   coolTimerSetting             min, s
inline constexpr ImageField coolTimerSetting =
    Time(16).Sets(Pending::coolTimerSetting).Repaints(kBatchDryingWindow);
//    18     1   batchStatusByte18            repaints the batch timers window
inline constexpr ImageField batchStatusByte18 = Byte(18).Repaints(kBatchDryingWindow);
//    19     2   unloadTimerRemaining         min, s
inline constexpr ImageField unloadTimerRemaining =
    Time(19).Reloads(Pending::unloadTimerReload).Repaints(kBatchDryingWindow);
//    21     2   unloadTimerSetting           min, s
inline constexpr ImageField unloadTimerSetting =
    Time(21).Sets(Pending::unloadTimerSetting).Repaints(kBatchDryingWindow);
//    23     1   batchStatusByte23            repaints the batch timers window
inline constexpr ImageField batchStatusByte23 = Byte(23).Repaints(kBatchDryingWindow);
//    24     2   loadTimerRemaining           load (maximum fill) timer remaining, min, s
inline constexpr ImageField loadTimerRemaining = Time(24).Repaints(kStatusBarWindow);
//    26     2   loadTimerSetting             maximum fill time, min, s (default 8 min, 0-30)
inline constexpr ImageField loadTimerSetting =
    Time(26).Sets(Pending::loadTimer).Repaints(kTimerSetpointScreen);
//    28     1   loadCountdownBits            bit 0: load countdown running, shown in status bar
inline constexpr ImageField loadCountdownBits = Byte(28).Repaints(kStatusBarWindow);
//    29     2   timePair29                   min, s; kept, not shown
inline constexpr ImageField timePair29 = Time(29);
//    31     2   loadDelaySetting             delay from grain call to load motor start, min, s
inline constexpr ImageField loadDelaySetting =
    Time(31).Sets(Pending::loadDelay).Repaints(kTimerSetpointScreen);
//    39     2   unloadRunOnRemaining         run-on countdown, shown while 43 bit 0 is set
inline constexpr ImageField unloadRunOnRemaining = Time(39).Repaints(kStatusBarWindow);
//    41     2   unloadRunOnSetting           unload auger run-on, min, s (default 1 min, 0-10)
inline constexpr ImageField unloadRunOnSetting =
    Time(41).Sets(Pending::unloadRunOn).Repaints(kTimerSetpointScreen);
//    43     1   runOnStatusBits              bit 0: show the unload run-on countdown
inline constexpr ImageField runOnStatusBits = Byte(43).Repaints(kStatusBarWindow);
//    44     2   timePair44                   min, s; kept, not shown
inline constexpr ImageField timePair44 = Time(44);
//    46     2   fanStartDelaySetting         delay between starting fans, min, s
inline constexpr ImageField fanStartDelaySetting =
    Time(46).Sets(Pending::fanStartDelay).Repaints(kTimerSetpointScreen);
//    49     1   optionByte49                 bits 4, 5: option switches of set-up screens
inline constexpr ImageField optionByte49 =
    Byte(49).Sets(Pending::optionByte49).Repaints(kDryerPictureWindow);
//    50     1   plenumManagerByte50          edited by the plenum temperature manager
inline constexpr ImageField plenumManagerByte50 = Byte(50).Sets(Pending::byte50);
//    51     1   statusByte51                 kept, not shown
inline constexpr ImageField statusByte51 = Byte(51);
//    52     1   mcAutoModeMinutes            "M/C AUTO MODE: %d Minutes"
inline constexpr ImageField mcAutoModeMinutes =
    Byte(52).Repaints(kStatusBarWindow | kDryerPictureWindow | kMeteringScreen);
//    53     5   clockSetting                 command only: minute, hour, day, month, year % 100
inline constexpr ImageField clockSetting = Group(53, 5).CommandOnly(Pending::clock);
enum class ClockPart { minute, hour, day, month, year };  // the clock's bytes in order
constexpr ImageField ClockByte(ClockPart part)
{
    return Byte(static_cast<std::uint16_t>(clockSetting.offset + static_cast<int>(part)));
}
//    58     1   loadStatusBits               bit 7: load in progress; bits 2, 3: meter rolls
inline constexpr ImageField loadStatusBits = Byte(58).Repaints(kTimerSetpointScreen);
//    59  6x2   plenumSetpoint               signed LE deg F, Fan/Heater 6 first
inline constexpr ImageField plenumSetpoint =
    SignedLe(59, 6)
        .Sets(Pending::plenumSetpoint6)
        .Repaints(kPlenumPanelWindow | kTemperatureSetpointScreen);
//    71  6x2   plenumTemp                   signed LE deg F, FH 6 first; < -35 open, >= 261 short
inline constexpr ImageField plenumTemp = SignedLe(71, 6).Repaints(kPlenumPanelWindow);
//    83  3x2   words83                      LE words, kept, not shown
inline constexpr ImageField words83 = WordLe(83, 3);
//    89  3x2   grainTemp                    signed LE deg F; grainSensorSelect picks one
inline constexpr ImageField grainTemp =
    SignedLe(89, 3).Repaints(kUnloadStatusWindow | kGrainTempSelectButton);
//    95     6   plenumDifferential           per-plenum differential settings, FH 6 first
inline constexpr ImageField plenumDifferential = Bytes(95, 6).Sets(Pending::plenumDifferential6);
//   101     6   heaterControlBits            per-heater bits, FH 6 first; bit 2 airswitch test
inline constexpr ImageField heaterControlBits =
    Bytes(101, 6).Sets(Pending::heaterByte6).Repaints(kAirswitchTestScreen);
//   113     6   heaterStatusBits             118 bit 5: airswitch testing disabled
inline constexpr ImageField heaterStatusBits =
    Bytes(113, 6).Repaints(kStatusBarWindow).RepaintsElement(5, kAirswitchTestScreen);
//   125     6   heaterState                  FH 6 first: bit 0 fan, bit 1 burner, bit 2 high fire
inline constexpr ImageField heaterState = Bytes(125, 6).Repaints(kPlenumPanelWindow);
//   131     6   heaterPictureBits            bit 0 fan on, 1 heat on, 4 sensor open, 5 shorted
inline constexpr ImageField heaterPictureBits = Bytes(131, 6).Repaints(kPlenumPanelWindow);
//   137     6   heaterBytes137               kept, not shown
inline constexpr ImageField heaterBytes137 = Bytes(137, 6).Repaints(kPlenumPanelWindow);
//   143     6   ignitionState                FH 6 first: bit 0 purging, bit 1 igniting;
//                                            148 (FH 1) bits 3, 4 also airswitch and lo-heat
inline constexpr ImageField ignitionState =
    Bytes(143, 6)
        .Repaints(kPlenumPanelWindow)
        .RepaintsElement(5, kLineGraphWindow | kAirswitchTestScreen);
//   149  3x2   grainSetpoint                signed LE deg F: setpoint, upper and lower (dual
//                                            heat) setpoints
inline constexpr ImageField grainSetpoint = SignedLe(149, 3)
                                                .Sets(Pending::grainSetpoint1)
                                                .Repaints(kTemperatureSetpointScreen)
                                                .RepaintsElement(0, kLineGraphWindow)
                                                .RepaintsElement(1, kDryerPictureWindow)
                                                .RepaintsElement(2, kDryerPictureWindow);
//   155     1   meteringMode                 active preset: 0 low, 1 medium, 2 high
inline constexpr ImageField meteringMode = Byte(155).Repaints(kUnloadStatusWindow);
//   156     3   meteringPreset               high, medium, low presets, shown x 10
inline constexpr ImageField meteringPreset =
    Bytes(156, 3).Sets(Pending::meteringPresetHigh).Repaints(kUnloadStatusWindow | kMeteringScreen);
//   159     4   meteringControl              159: bit 7 status, bits 0-5 mode; 160-162 values
inline constexpr ImageField meteringControl = Group(159, 4).Sets(Pending::desiredMeteringGroup);
//   163     1   bphCalibration               bushels-per-hour factor, percent 50-150
inline constexpr ImageField bphCalibration = Byte(163).Sets(Pending::bphCalibration);
//   164     4   bushelCounter                32-bit LE bushels x 3600
inline constexpr ImageField bushelCounter = Le32(164).Repaints(kBushelCounterScreen);
//   168     2   burnerIndicatorBits          168 bit 3, 169 bit 2: burner panel indicators
inline constexpr ImageField burnerIndicatorBits = Bytes(168, 2).Repaints(kDryerPictureWindow);
//   171     1   dryerState                   bits 7,5 active low: loading while either is clear;
//                                            bit 6 unloading; bit 3 learning-period condition
inline constexpr ImageField dryerState =
    Byte(171).Repaints(kBatchDryingWindow | kStatusBarWindow | kStatusChartWindow);
//   172     1   dryerState2                  bit 0: unloading
inline constexpr ImageField dryerState2 = Byte(172).Repaints(kStatusBarWindow | kStatusChartWindow);
//   173     2   bushelsPerHour               BE
inline constexpr ImageField bushelsPerHour = WordBe(173);
//   175     2   word175                      kept, not shown
inline constexpr ImageField word175 = Group(175, 2);
//   177     7   ioBits                       177-178 outputs shorted; 179-183 panel switches
inline constexpr ImageField ioBits =
    Bytes(177, 7)
        .Repaints(kSwitchTestScreen)
        .RepaintsElement(0, kLightOutputScreen)
        .RepaintsElement(1, kLightOutputScreen)
        .RepaintsElement(2, kLineGraphWindow | kTimerSetpointScreen);
//   184     1   grainSensorSelect            0: 93-94, 1: 91-92, 2: 89-90
inline constexpr ImageField grainSensorSelect =
    Byte(184).Repaints(kUnloadStatusWindow | kLineGraphWindow);
//   185     2   warningCode                  the active WarningCode: 185 index, 186 NodeId
inline constexpr ImageField warningCode = Group(185, 2);
//   187     1   moistureControlMode          bits 0-2 scheme; bits 3-7 mode flags
inline constexpr ImageField moistureControlMode =
    Byte(187).Sets(Pending::moistureMode).Repaints(kLineGraphWindow | kMeteringScreen);
//   188     1   runState                     bit 6 started; bits 1, 4 cooling; bit 5 defaults
inline constexpr ImageField runState = Byte(188).Repaints(kStatusBarWindow);
//   189     2   dryMoisture                  tenths %, BE
inline constexpr ImageField dryMoisture = WordBe(189).Repaints(kMoistureCalibrationScreen);
//   191     2   wetMoisture                  tenths %, BE
inline constexpr ImageField wetMoisture = WordBe(191).Repaints(kMoistureCalibrationScreen);
//   193     2   drySensorTemp                tenths deg F, BE
inline constexpr ImageField drySensorTemp =
    WordBe(193).Repaints(kMoistureCalibrationScreen | kGrainTempSelectButton);
//   195     2   wetSensorTemp                tenths deg F, BE
inline constexpr ImageField wetSensorTemp =
    WordBe(195).Repaints(kMoistureCalibrationScreen | kGrainTempSelectButton);
//   197     2   meterRollSpeed               BE tenths rpm: unload status window and logs
inline constexpr ImageField meterRollSpeed = WordBe(197).Repaints(kUnloadStatusWindow);
//   199     2   moistureSetpoint             tenths %, BE
inline constexpr ImageField moistureSetpoint =
    WordBe(199)
        .Sets(Pending::moistureSetpoint)
        .Repaints(kLineGraphWindow | kMoistureSetpointScreen);
//   201     1   moistureModeSetting          3, 5, 6, 7 told apart by the moisture screens
inline constexpr ImageField moistureModeSetting =
    Byte(201).Repaints(kMeteringScreen | kMoistureSetpointScreen);
//   202     1   printerByte202
inline constexpr ImageField printerByte202 = Byte(202).Sets(Pending::byte202);
//   203     1   printerByte203
inline constexpr ImageField printerByte203 = Byte(203).Sets(Pending::byte203);
//   206  2x2   unloadRateLimit              BE words 206, 208
inline constexpr ImageField unloadRateLimit = WordBe(206, 2).Sets(Pending::unloadRateLimit1);
//   216     1   settingByte216               bit groups of the printer and moisture screens
inline constexpr ImageField settingByte216 = Byte(216).Sets(Pending::byte216);
//   217     1   settingByte217               confirmed by bit 6 alone
inline constexpr ImageField settingByte217 =
    Byte(217).Sets(Pending::byte217).AcknowledgedUnder(0x40);
//   218     1   settingByte218               confirmed by bits 2, 3 alone
inline constexpr ImageField settingByte218 =
    Byte(218).Sets(Pending::byte218).AcknowledgedUnder(0x0C).Repaints(kMoistureCalibrationScreen);
//   219     1   settingByte219               confirmed by bits 3, 4, 7 alone
inline constexpr ImageField settingByte219 =
    Byte(219).Sets(Pending::byte219).AcknowledgedUnder(0x98).Repaints(kMoistureCalibrationScreen);
//   220     1   moisturePanelBits            bits 0-2: speed step of the moisture panels
inline constexpr ImageField moisturePanelBits = Byte(220).Repaints(kDryerPictureWindow);
//   221     2   batchCount                   BE, "BAT %d"
inline constexpr ImageField batchCount =
    WordBe(221).Sets(Pending::batchCounter).Repaints(kBatchDryingWindow);
//   223     1   mediumTenths                 tenths digit of "MED %d.%d"
inline constexpr ImageField mediumTenths = Byte(223).Repaints(kDryerPictureWindow);
//   224     1   optionByte224                bit 3 temperature hold; bit 7 center adjust
inline constexpr ImageField optionByte224 = Byte(224).Sets(Pending::byte224);
//   225     1   dryerConfigBits              dryer construction switches (tower, rice ...)
inline constexpr ImageField dryerConfigBits =
    Byte(225).Repaints(kPlenumPanelWindow | kSwitchTestScreen);
//   226     4   moistureSetupBytes           moisture control set-up values
inline constexpr ImageField moistureSetupBytes = Bytes(226, 4).Sets(Pending::byte226);
//   230     1   settingByte230               shown x 10
inline constexpr ImageField settingByte230 = Byte(230);
//   232  2x2   moistureOffset               signed BE tenths %: 232 dry, 234 wet sensor
inline constexpr ImageField moistureOffset =
    SignedBe(232, 2).Sets(Pending::calibrationWord232).Repaints(kMoistureCalibrationScreen);
//   236     2   meterRollRaw                 0-255 readings
inline constexpr ImageField meterRollRaw =
    Bytes(236, 2).Sets(Pending::byte236).Repaints(kMoistureCalibrationScreen);
//   238     1   optionByte238                bit 3: bushel counter reset request
inline constexpr ImageField optionByte238 =
    Byte(238).Sets(Pending::optionByte238).Repaints(kMoistureCalibrationScreen);
//   239     2   ioBits2                      outputs activated
inline constexpr ImageField ioBits2 =
    Bytes(239, 2).Repaints(kLightOutputScreen | kMoistureCalibrationScreen);
//   241  2x2   sensorTempOffset             signed BE tenths deg: 241 dry, 243 wet sensor
inline constexpr ImageField sensorTempOffset =
    SignedBe(241, 2).Sets(Pending::calibrationWord241).Repaints(kMoistureCalibrationScreen);
//   245     1   mediumWhole                  whole part of "MED %d.%d"
inline constexpr ImageField mediumWhole = Byte(245).Repaints(kDryerPictureWindow);
//   246     1   settingByte246               bits 0-1 and 2-3: two small fields
inline constexpr ImageField settingByte246 = Byte(246).Sets(Pending::byte246);
//   247  2x2   averageMoisture              BE tenths %: average incoming, average outgoing
inline constexpr ImageField averageMoisture =
    WordBe(247, 2).Repaints(kDryerPictureWindow).RepaintsElement(0, kBatchDryingWindow);
//   251     1   pictureStatusBits            repaints the dryer picture
inline constexpr ImageField pictureStatusBits = Byte(251).Repaints(kDryerPictureWindow);
//   252     2   loHeatTimerRemaining         lo-heat dry timer remaining, min, s
inline constexpr ImageField loHeatTimerRemaining =
    Time(252).Reloads(Pending::loHeatTimerReload).Repaints(kBatchDryingWindow);
//   254     2   loHeatTimerSetting           lo-heat dry timer reload value, min, s
inline constexpr ImageField loHeatTimerSetting =
    Time(254).Sets(Pending::loHeatTimerSetting).Repaints(kBatchDryingWindow);
//   257     1   dryerOptions                 bit 1 dual heat; bit 3 first-half load;
//                                            bits 4-6 batch criteria TIME, TEMP, MOISTURE
inline constexpr ImageField dryerOptions =
    Byte(257).Sets(Pending::optionByte257).Repaints(kBatchDryingWindow);
//   258  2x2   setpointWords258             signed LE deg F, dual heat: 258 hi-heat, 260 upper
//                                            (lo-heat) plenum setpoint
inline constexpr ImageField setpointWords258 =
    SignedLe(258, 2).Sets(Pending::word258).Repaints(kTemperatureSetpointScreen);
//   262     4   statusBytes262               kept, not shown (263, 265 repaint panels)
inline constexpr ImageField statusBytes262 =
    Bytes(262, 4)
        .RepaintsElement(1, kBatchDryingWindow | kDryerPictureWindow)
        .RepaintsElement(3, kBatchDryingWindow);
//   266     1   unitsAndOptions              bit 7 SI; bit 6 graph view; 3-5 batch safety;
//                                            0-1 request bits
inline constexpr ImageField unitsAndOptions = Byte(266).SentOnce(Pending::unitsAndOptions);
//   267     2   coolDownRemaining            "COOL DOWN: %d:%02d"
inline constexpr ImageField coolDownRemaining = Time(267);
//   269     2   fanRunAfterShutdownSetting   min, s
inline constexpr ImageField fanRunAfterShutdownSetting =
    Time(269).Sets(Pending::fanRunAfterShutdown).Repaints(kTimerSetpointScreen);
//   271     1   coolingStatusBits            bits 0-1 value 1: "DRYER COOLING DOWN"
inline constexpr ImageField coolingStatusBits = Byte(271).Repaints(kStatusBarWindow);
//   272     2   batchSettingBytes            batch drying criteria values
inline constexpr ImageField batchSettingBytes = Bytes(272, 2);
//   274     2   batchTimePair                batch drying criterion time, min, s
inline constexpr ImageField batchTimePair = Time(274).Sets(Pending::batchTimePair);
//   277     2   batchWord277                 LE batch criterion
inline constexpr ImageField batchWord277 = WordLe(277).Sets(Pending::batchWord277);
//   279     1   optionBits279                kept, not shown
inline constexpr ImageField optionBits279 = Byte(279);
//   280     1   statusByte280                kept, not shown
inline constexpr ImageField statusByte280 = Byte(280);
//   281  2x2   words281                     LE words, kept, not shown
inline constexpr ImageField words281 = WordLe(281, 2);
//   287     2   statusBytes287               kept, not shown
inline constexpr ImageField statusBytes287 = Bytes(287, 2);
//   289     1   optionByte289                bit 0: long-term data log enabled
inline constexpr ImageField optionByte289 = Byte(289).Sets(Pending::optionByte289);
//   290     2   centerAdjustElapsed          LE seconds; status bar shows 3600 minus it
inline constexpr ImageField centerAdjustElapsed = WordLe(290).Repaints(kStatusBarWindow);
//   292     1   samplerBits                  bit 0 "CLEANING", bit 1 "SAMPLING"
inline constexpr ImageField samplerBits = Byte(292);
//   293     1   samplerOption                bit 7: cycled moisture sampler installed
inline constexpr ImageField samplerOption = Byte(293).Sets(Pending::optionByte293);

// Every field the answers carry, in ascending offset order: what the decoder walks.
inline constexpr auto kImageLayout = std::to_array<ImageField>({
    heaterCountCode,
    moduleCountCode,
    fuelCode,
    loadSystemCode,
    dryerLengthCode,
    dryingType,
    dryTimerRemaining,
    dryTimerSetting,
    batchStatusBits13,
    coolTimerRemaining,
    coolTimerSetting,
    batchStatusByte18,
    unloadTimerRemaining,
    unloadTimerSetting,
    batchStatusByte23,
    loadTimerRemaining,
    loadTimerSetting,
    loadCountdownBits,
    timePair29,
    loadDelaySetting,
    unloadRunOnRemaining,
    unloadRunOnSetting,
    runOnStatusBits,
    timePair44,
    fanStartDelaySetting,
    optionByte49,
    plenumManagerByte50,
    statusByte51,
    mcAutoModeMinutes,
    loadStatusBits,
    plenumSetpoint,
    plenumTemp,
    words83,
    grainTemp,
    plenumDifferential,
    heaterControlBits,
    heaterStatusBits,
    heaterState,
    heaterPictureBits,
    heaterBytes137,
    ignitionState,
    grainSetpoint,
    meteringMode,
    meteringPreset,
    meteringControl,
    bphCalibration,
    bushelCounter,
    burnerIndicatorBits,
    dryerState,
    dryerState2,
    bushelsPerHour,
    word175,
    ioBits,
    grainSensorSelect,
    warningCode,
    moistureControlMode,
    runState,
    dryMoisture,
    wetMoisture,
    drySensorTemp,
    wetSensorTemp,
    meterRollSpeed,
    moistureSetpoint,
    moistureModeSetting,
    printerByte202,
    printerByte203,
    unloadRateLimit,
    settingByte216,
    settingByte217,
    settingByte218,
    settingByte219,
    moisturePanelBits,
    batchCount,
    mediumTenths,
    optionByte224,
    dryerConfigBits,
    moistureSetupBytes,
    settingByte230,
    moistureOffset,
    meterRollRaw,
    optionByte238,
    ioBits2,
    sensorTempOffset,
    mediumWhole,
    settingByte246,
    averageMoisture,
    pictureStatusBits,
    loHeatTimerRemaining,
    loHeatTimerSetting,
    dryerOptions,
    setpointWords258,
    statusBytes262,
    unitsAndOptions,
    coolDownRemaining,
    fanRunAfterShutdownSetting,
    coolingStatusBits,
    batchSettingBytes,
    batchTimePair,
    batchWord277,
    optionBits279,
    statusByte280,
    words281,
    statusBytes287,
    optionByte289,
    centerAdjustElapsed,
    samplerBits,
    samplerOption,
});

// The named parts of fields and the named bits.
#include "dryer/link/dryer_image_bits.h"  // IWYU pragma: export

// The two images, zero at program start and alive for the run.
// The last answer of the Display I/O board (written by the answer decoder).
extern ImageBytes DryerImage;
// The operator's requested values at the same offsets (written by screens and timers).
extern ImageBytes DesiredSettings;

// ---- the active warning ------------------------------------------------------------------------
// Writes the active warning into an image (0: none).
template <typename Bytes>
constexpr void SetActiveWarningCode(Bytes& bytes, WarningCode code)
{
    SetValue(bytes, warningNode, WarningNodeOf(code));
    SetValue(bytes, warningIndex, WarningIndexOf(code));
}
// The active warning in an image (0: none).
template <typename Bytes>
constexpr WarningCode ActiveWarningCode(const Bytes& bytes)
{
    return MakeWarningCode(static_cast<std::uint8_t>(Value(bytes, warningNode)),
                           static_cast<std::uint8_t>(Value(bytes, warningIndex)));
}
