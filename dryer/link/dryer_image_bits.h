// The parts of dryer image fields that have names of their own, and the named bits: which bit
// of which field says what. Screens, the answer decoder and the board simulator read and set
// bits only through these names.
#pragma once

#include <cstdint>

#include "dryer/link/dryer_image.h"

// ---- parts of fields with a name of their own -------------------------------------------------
inline constexpr ImageField meteringValues = Bytes(160, 3);       // 160-162 of meteringControl
inline constexpr ImageField switchInputs179 = ioBits.Element(2);  // stop, unload, load, fan 1
inline constexpr ImageField warningIndex = Byte(185);  // low byte of the active WarningCode
inline constexpr ImageField warningNode = Byte(186);   // high byte: the reporting board's NodeId
inline constexpr ImageField grainSetpointMain = grainSetpoint.Element(0);   // 149-150
inline constexpr ImageField grainSetpointUpper = grainSetpoint.Element(1);  // 151-152, dual heat
inline constexpr ImageField grainSetpointLower = grainSetpoint.Element(2);  // 153-154, dual heat
inline constexpr ImageField upperPlenumSetpoint = setpointWords258.Element(1);  // 260-261
// 258-259: the dual-heat dryer's other plenum setpoint. The upper one (260) is the one plenum 1
// runs on while loHeatPlenumBit reports the lo-heat stage, so this is the hi-heat one.
inline constexpr ImageField hiHeatPlenumSetpoint = setpointWords258.Element(0);
inline constexpr ImageField averageInMoisture = averageMoisture.Element(0);     // 247-248
inline constexpr ImageField averageOutMoisture = averageMoisture.Element(1);    // 249-250
inline constexpr ImageField dryMoistureOffset = moistureOffset.Element(0);      // 232-233
inline constexpr ImageField wetMoistureOffset = moistureOffset.Element(1);      // 234-235
inline constexpr ImageField drySensorTempOffset = sensorTempOffset.Element(0);  // 241-242
inline constexpr ImageField wetSensorTempOffset = sensorTempOffset.Element(1);  // 243-244

// ---- the bracketed five speed set-up and the meter roll speed setpoints ----------------------
// 226-229: the brackets around the setpoint of the five speed schemes, in tenths of a percent
// moisture (scheme 4) or whole degrees F (scheme 5), and the speed steps taken beyond them.
inline constexpr ImageField bracketOuterLimit = moistureSetupBytes.Element(0);        // 226
inline constexpr ImageField bracketInnerLimit = moistureSetupBytes.Element(1);        // 227
inline constexpr ImageField bracketOuterSpeedOffset = moistureSetupBytes.Element(2);  // 228
inline constexpr ImageField bracketInnerSpeedOffset = moistureSetupBytes.Element(3);  // 229
inline constexpr ImageField fiveSpeedCenterSpeed = settingByte230;  // centre speed, shown x 10
inline constexpr ImageField meteringPresetHighSpeed = meteringPreset.Element(0);    // 156
inline constexpr ImageField meteringPresetMediumSpeed = meteringPreset.Element(1);  // 157
inline constexpr ImageField meteringPresetLowSpeed = meteringPreset.Element(2);     // 158
// moistureControlMode bit 5: the high and low speeds follow the medium one, 15 % above and
// below (the three speed scheme)
inline constexpr ImageBits fifteenPercentTrackingBit = Bits(moistureControlMode, 0x20);
// optionByte224 bit 1: set when the metering speeds of the three speed scheme are accepted
inline constexpr ImageBits threeSpeedAcceptedBit = Bits(optionByte224, 0x02);
// ---- the diagnostics screens: outputs and inputs of the Display I/O board ----
inline constexpr ImageField j1OutputsShorted = ioBits.Element(0);     // 177: J1-0n is bit n - 1
inline constexpr ImageField j2OutputsShorted = ioBits.Element(1);     // 178: J2-0n is bit 8 - n
inline constexpr ImageField j1OutputsActivated = ioBits2.Element(0);  // 239: as 177
inline constexpr ImageField j2OutputsActivated = ioBits2.Element(1);  // 240: as 178
// 179-183: the panel's switches, one bit each (the switch test screen names them)
inline constexpr ImageField panelSwitchInputs = Bytes(179, 5).Repaints(kSwitchTestScreen);

// The grain temperature entry a grainSensorSelect value designates: 0 the word at 93-94, 1 at
// 91-92, 2 and any other value at 89-90.
constexpr ImageField GrainTempEntry(int select)
{
    return grainTemp.Element(select == 0 ? 2 : (select == 1 ? 1 : 0));
}

// ---- named bits ------------------------------------------------------------------------------
// dryerState: the dryer loads while either bit 7 or bit 5 is clear (0xA0, both set, is idle).
inline constexpr ImageBits notLoadingBits = Bits(dryerState, 0xA0);
inline constexpr ImageBits notFillingBit = Bits(dryerState, 0x80);  // clear: load symbol runs
inline constexpr ImageBits otherNotLoadingBit = Bits(dryerState, 0x20);
inline constexpr ImageBits unloadingBit = Bits(dryerState, 0x40);
inline constexpr ImageBits learningConditionBit = Bits(dryerState, 0x08);
inline constexpr std::uint8_t kDryerStateIdle = 0xA0;
// dryerState2
inline constexpr ImageBits unloadingBit2 = Bits(dryerState2, 0x01);
// The dryer unloads while either of the two unloading bits is set.
template <typename Bytes>
constexpr bool IsUnloading(const Bytes& bytes)
{
    return IsSet(bytes, unloadingBit2) || IsSet(bytes, unloadingBit);
}
// loadStatusBits
inline constexpr ImageBits loadInProgressBit = Bits(loadStatusBits, 0x80);
inline constexpr ImageBits meterRollsTurningBit = Bits(loadStatusBits, 0x08);
inline constexpr ImageBits meterRollDirectionBit = Bits(loadStatusBits, 0x04);
// status bits of the batch timers and countdowns
inline constexpr ImageBits batchLayoutBit = Bits(batchStatusBits13, 0x01);
inline constexpr ImageBits loadCountdownShownBit = Bits(loadCountdownBits, 0x01);
inline constexpr ImageBits runOnCountdownShownBit = Bits(runOnStatusBits, 0x01);
// optionByte49
inline constexpr ImageBits meterRollsDisabledBit = Bits(optionByte49, 0x20);
// per Fan/Heater (named on Fan/Heater 6's entry; ForHeater moves them)
inline constexpr ImageBits airswitchTestOffBit = Bits(heaterControlBits, 0x04);
inline constexpr ImageBits burnerModeBits = Bits(heaterControlBits, 0x03);
inline constexpr int kBurnerHiLo = 0;   // burnerModeBits: "HI / LO"
inline constexpr int kBurnerOnOff = 1;  // "ON / OFF"
inline constexpr int kBurnerAuto = 3;   // "AUTO"; 2 is no mode
inline constexpr ImageBits fanRunningBit = Bits(heaterState, 0x01);
inline constexpr ImageBits burnerOnBit = Bits(heaterState, 0x02);
inline constexpr ImageBits highFireBit = Bits(heaterState, 0x04);
inline constexpr ImageBits fanOnBit = Bits(heaterPictureBits, 0x01);
inline constexpr ImageBits heatOnBit = Bits(heaterPictureBits, 0x02);
inline constexpr ImageBits sensorOpenBit = Bits(heaterPictureBits, 0x10);
inline constexpr ImageBits sensorShortedBit = Bits(heaterPictureBits, 0x20);
inline constexpr ImageBits purgingBit = Bits(ignitionState, 0x01);
inline constexpr ImageBits ignitingBit = Bits(ignitionState, 0x02);
// 118 bit 5, 148 bits 3 and 4: bytes of Fan/Heater 1 with a meaning for the whole dryer
inline constexpr ImageBits airswitchDisabledBit = Bits(heaterStatusBits, 0x20, 5);
inline constexpr ImageBits airswitchPowerCycleBit = Bits(ignitionState, 0x08, 5);
inline constexpr ImageBits loHeatPlenumBit = Bits(ignitionState, 0x10, 5);
// ioBits: panel switch inputs (179-183)
inline constexpr ImageBits unloadManualBit = Bits(ioBits, 0x02, 2);
inline constexpr ImageBits learningPeriodBit = Bits(ioBits, 0x04, 2);
inline constexpr ImageBits loadOnBit = Bits(ioBits, 0x08, 2);
inline constexpr ImageBits loadAutoBit = Bits(ioBits, 0x10, 2);
inline constexpr ImageBits manualSwitchBit = Bits(ioBits, 0x02, 6);  // burner symbol variant
// 183 bit 1 also tells the meter roll size: set 4 inch, clear 7 inch
inline constexpr ImageBits fourInchMeterRollBit = Bits(ioBits, 0x02, 6);
// meteringControl (159): who sets the metering speed reports in bit 7; bits 0-5 the mode
inline constexpr ImageBits meteringStatusBit = Bits(meteringControl, 0x80);
inline constexpr ImageBits meteringModeBits = Bits(meteringControl, 0x3F);
// moistureControlMode: the scheme in bits 0-2
inline constexpr ImageBits moistureSchemeBits = Bits(moistureControlMode, 0x07);
inline constexpr int kSchemeTemp = 1;           // "TEMP"
inline constexpr int kSchemeThreeSpeed = 2;     // "3 SPEED"
inline constexpr int kSchemeVariable = 3;       // "VARIABLE"
inline constexpr int kSchemeFiveSpeed = 4;      // "5 SPEED"
inline constexpr int kSchemeTempFiveSpeed = 5;  // "TEMP-5SP"
inline constexpr int kSchemeAveraging = 6;
inline constexpr ImageBits averagingSchemeBits = Bits(moistureControlMode, 0x06);  // both: 6, 7
inline constexpr ImageBits moistureModeFlagBits = Bits(moistureControlMode, 0x38);
inline constexpr ImageBits twoSpeedOffBit = Bits(moistureControlMode, 0x40);  // "ON/OFF", "OFF"
inline constexpr ImageBits moistureAutoBit = Bits(moistureControlMode, 0x80);
// In batch drying the scheme bits hold the criterion (0 time or temperature, 6 moisture), and
// bit 7 is set while the batch dries to a setpoint: temperature or moisture.
inline constexpr int kSchemeBatchTimeOrTemp = 0;
inline constexpr int kSchemeBatchMoisture = kSchemeAveraging;
inline constexpr ImageBits batchSetpointCriterionBit = Bits(moistureControlMode, 0x80);
// runState
inline constexpr ImageBits coolDownRunningBit = Bits(runState, 0x02);
inline constexpr ImageBits emergencyCoolingBit = Bits(runState, 0x10);
inline constexpr ImageBits defaultsSwitchBit = Bits(runState, 0x20);
inline constexpr ImageBits dryerStartedBit = Bits(runState, 0x40);
inline constexpr ImageBits runIndicatorBit = Bits(runState, 0x80);
// moisturePanelBits
inline constexpr ImageBits speedStepBits = Bits(moisturePanelBits, 0x07);
// optionByte224
inline constexpr ImageBits temperatureHoldBit = Bits(optionByte224, 0x08);
inline constexpr ImageBits centerAdjustBit = Bits(optionByte224, 0x80);  // auto centering on
inline constexpr ImageBits upperSensorDisabledBit = Bits(optionByte224, 0x01);
// The heat of batch moisture drying: exactly one of the three is set after a heat choice.
inline constexpr ImageBits heatChoiceBits = Bits(optionByte224, 0x70);
inline constexpr ImageBits fullHeatBit = Bits(optionByte224, 0x10);
inline constexpr ImageBits twoThirdsHeatBit = Bits(optionByte224, 0x20);  // "1/3 - 2/3"
inline constexpr ImageBits halfHeatBit = Bits(optionByte224, 0x40);       // "1/2 - 1/2"
// dryerConfigBits: bit 7 one module whatever else; bit 5 tower (one central burner); bits 1 and
// 5 together an on/off burner; bit 2 rice
inline constexpr ImageBits oneModuleBit = Bits(dryerConfigBits, 0x80);
inline constexpr ImageBits towerBit = Bits(dryerConfigBits, 0x20);
inline constexpr ImageBits riceBit = Bits(dryerConfigBits, 0x04);
inline constexpr ImageBits onOffBurnerBit = Bits(dryerConfigBits, 0x02);
// The high nibble names the dryer variant that the hardware set-up lays itself out for.
inline constexpr ImageBits dryerVariantBits = Bits(dryerConfigBits, 0xF0);
inline constexpr int kModelVariant = 0x2;     // chosen by model number, one or three fans
inline constexpr int kStandardVariant = 0x8;  // chosen by modules, fan/heaters and length
// optionByte238
inline constexpr ImageBits bushelResetBit = Bits(optionByte238, 0x08);
// dryerOptions
inline constexpr ImageBits unloadHoldBit = Bits(dryerOptions, 0x01);
inline constexpr ImageBits dualHeatBit = Bits(dryerOptions, 0x02);
inline constexpr ImageBits firstHalfLoadBit = Bits(dryerOptions, 0x08);
inline constexpr ImageBits batchCriteriaBits = Bits(dryerOptions, 0x70);
inline constexpr ImageBits criterionTimeBit = Bits(dryerOptions, 0x10);
inline constexpr ImageBits criterionTempBit = Bits(dryerOptions, 0x20);
inline constexpr ImageBits criterionMoistureBit = Bits(dryerOptions, 0x40);
inline constexpr int kCriteriaTimeAlone = 1;  // batchCriteriaBits value: TIME only
// unitsAndOptions; the request bits are one-shot: cleared in DesiredSettings once sent
inline constexpr ImageBits siUnitsBit = Bits(unitsAndOptions, 0x80);
inline constexpr ImageBits graphViewBit = Bits(unitsAndOptions, 0x40);
inline constexpr ImageBits batchSafetyBits = Bits(unitsAndOptions, 0x38);
inline constexpr ImageBits maxDryTimeBit = Bits(unitsAndOptions, 0x08);    // limit in force
inline constexpr ImageBits maxGrainTempBit = Bits(unitsAndOptions, 0x10);  // limit in force
inline constexpr ImageBits safetyEnabledBit = Bits(unitsAndOptions, 0x20);
inline constexpr ImageBits unitsRequestBits = Bits(unitsAndOptions, 0x03);
inline constexpr ImageBits saveSettingsRequestBit = Bits(unitsAndOptions, 0x02);
inline constexpr ImageBits restoreSettingsRequestBit = Bits(unitsAndOptions, 0x01);
// coolingStatusBits
inline constexpr ImageBits coolDownStateBits = Bits(coolingStatusBits, 0x03);
inline constexpr int kCoolingDown = 1;  // the coolDownStateBits of a dryer cooling down
// optionByte289
inline constexpr ImageBits longTermLogBit = Bits(optionByte289, 0x01);
// samplerBits, samplerOption
inline constexpr ImageBits samplerCleaningBit = Bits(samplerBits, 0x01);
inline constexpr ImageBits samplerSamplingBit = Bits(samplerBits, 0x02);
inline constexpr ImageBits samplerInstalledBit = Bits(samplerOption, 0x80);
// ---- the unload rate limits and plenum temperature manager screens ----
// dryerConfigBits: what the unload rates' bushels per hour are based upon. The length basis
// (bit 7) gives the footnote of the dryer's length at 17.5 RPM; the capacity table basis
// (bit 5) takes the bushels per hour from the dryer's capacity by dryerLengthCode.
inline constexpr ImageBits lengthBasedRatesBit = Bits(dryerConfigBits, 0x80);
inline constexpr ImageBits capacityBasedRatesBit = Bits(dryerConfigBits, 0x20);
// plenumManagerByte50: on/off, the time between steps and the size of the steps (both 0-7).
inline constexpr ImageBits plenumManagerOnBit = Bits(plenumManagerByte50, 0x80);
inline constexpr ImageBits plenumStepTimeBits = Bits(plenumManagerByte50, 0x38);
inline constexpr ImageBits plenumStepSizeBits = Bits(plenumManagerByte50, 0x07);
// optionByte49: the metering roll reverse option, switched from the extended set-up selection.
inline constexpr ImageBits meteringRollReverseBit = Bits(optionByte49, 0x10);

// ---- service dialogs: printer set-up and meter roll output ----
// printerByte202 holds the bin number (0-99), printerByte203 the grain type (1 corn, 2 wheat,
// 3 soybeans, 4 rice).
inline constexpr ImageField binNumber = printerByte202;
inline constexpr ImageField grainType = printerByte203;
// settingByte217
inline constexpr ImageBits printerDisabledBit = Bits(settingByte217, 0x40);
// settingByte219: a one-shot request, sent in the 218-219 record's one-shot flag
inline constexpr ImageBits printSummaryRequestBit = Bits(settingByte219, 0x20);
// optionByte238: the meter roll output being adjusted, 1 maximum, 2 minimum, 0 none; the
// dryer drives the meter rolls at that value meanwhile
inline constexpr ImageBits meterRollAdjustBits = Bits(optionByte238, 0x03);
// meterRollRaw: the meter roll output range, raw 0-255 (255 is 10 V)
inline constexpr ImageField meterRollMaximum = meterRollRaw.Element(0);  // 236
inline constexpr ImageField meterRollMinimum = meterRollRaw.Element(1);  // 237
inline constexpr int kAdjustingNone = 0;
inline constexpr int kAdjustingMaximum = 1;
inline constexpr int kAdjustingMinimum = 2;

// ---- the moisture sampler set-up ----
// samplerOption, besides samplerInstalledBit (set in the hardware set-up): what the dryer does
// when the cycled sampler needs cleaning (0 shut the dryer down at once, 1 go on under grain
// temperature moisture control), after how long (0 at once, 1 half an hour, 2 an hour,
// 3 two hours), and how long it may run on grain temperature before it shuts down (0 one hour,
// 1 two hours, 2 four hours, 3 without limit).
inline constexpr ImageBits samplerCleaningActionBit = Bits(samplerOption, 0x20);
inline constexpr ImageBits samplerActionDelayBits = Bits(samplerOption, 0x18);
inline constexpr ImageBits samplerGrainTempTimeBits = Bits(samplerOption, 0x06);
