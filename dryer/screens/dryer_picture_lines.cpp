// What the dryer picture of the home screen says: which drawing of the dryer it shows, which
// fan pictures, whether the large readout is a temperature or a moisture, and its column of
// short status lines (type, control mode, speed, meter roll, throughput, totals, sensor
// temperature, discharge moisture, sampler).
#include <cstdint>
#include <string>
#include <vector>

#include "dryer/link/dryer_image.h"
#include "dryer/screens/home_panels.h"
#include "resources/orbitdryer/bitmap_ids.h"
#include "resources/orbitdryer/panel_colours.h"

namespace home_panels {

namespace {

constexpr double kTonnesPerBushel = 0.025400050800101603;

int Scheme(const PanelImage& image)
{
    return MoistureScheme(image);
}
int Type(const PanelImage& image)
{
    return Value(image, dryingType);
}

wchar_t Unit(const PanelImage& image)
{
    return Celsius(image) ? L'C' : L'F';
}
int Shown(const PanelImage& image, int fahrenheit)
{
    return DisplayTemperature(fahrenheit, Celsius(image));
}

std::wstring Moisture(int tenths, const wchar_t* format)
{
    return Format(format, tenths / 10, tenths % 10);
}

// ---- the status lines, one function each ----

PanelText TypeLine(const PanelImage& image)
{
    if (Type(image) == kBatchDrying) return {L"BATCH", kGreen};
    if (Type(image) != kContinuousFlow) return {L"TYPE:NONE", kGreen};
    switch (Scheme(image)) {
        case kSchemeThreeSpeed: return {L"3 SPEED", kGreen};
        case kSchemeFiveSpeed: return {L"5 SPEED", kGreen};
        case kSchemeVariable: return {L"VARIABLE", kGreen};
        case kSchemeTemp: return {L"TEMP", kGreen};
        case kSchemeTempFiveSpeed: return {L"TEMP-5SP", kGreen};
        default: return {L"MC: NONE", kGreen};
    }
}

PanelText ControlModeLine(const PanelImage& image)
{
    const bool automatic = IsSet(image, moistureAutoBit);
    if (Type(image) == kBatchDrying) {
        const bool time = IsSet(image, criterionTimeBit);
        const bool temp = IsSet(image, criterionTempBit);
        if (time && temp) return {L"TIME:TEMP", kGreen};
        if (temp) return {L"TEMP", kGreen};
        if (time) return {L"TIME", kGreen};
        if (IsSet(image, criterionMoistureBit)) return {L"MOIST", kGreen};
        return {L"NONE", kGreen};
    }
    const int scheme = Scheme(image);
    const int speed = Value(image, moistureModeSetting);
    switch (scheme) {
        case kSchemeTemp:
            if (!automatic) return {L"MANUAL", kRed};
            return {IsSet(image, twoSpeedOffBit) ? L"ON/OFF" : L"AUTO 2SP", kGreen};
        case kSchemeFiveSpeed:
        case kSchemeTempFiveSpeed:
            if (!automatic) return {L"MANUAL", kRed};
            return {scheme == kSchemeFiveSpeed && IsSet(image, centerAdjustBit) ? L"AUTO CENTER"
                                                                                : L"AUTO",
                    kGreen};
        case kSchemeThreeSpeed:
            if (speed == 5 || speed == 6 || speed == 7) return {L"AUTO", kGreen};
            return {L"MANUAL", kRed};
        default:
            if (Type(image) == 3) {
                if (!IsSet(image, unloadManualBit)) return {L"AUTO", kGreen};
                return {L"MANUAL", kRed};
            }
            if (speed == 3) return {L"AUTO", kGreen};
            return {L"MANUAL", kRed};
    }
}

PanelText SpeedLine(const PanelImage& image)
{
    const int value = Value(image, mediumWhole);
    const int scheme = Scheme(image);
    if (scheme == kSchemeThreeSpeed) {
        switch (Value(image, moistureModeSetting)) {
            case 5: return {Format(L"HI %d", value), kRed};
            case 6: return {Format(L"LO %d", value), kRed};
            default: return {Format(L"MED %d", value), kRed};
        }
    }
    if (scheme == kSchemeFiveSpeed || scheme == kSchemeTempFiveSpeed) {
        if (!IsSet(image, moistureAutoBit)) return {Format(L"MED %d", value), kRed};
        switch (BitsValue(image, speedStepBits)) {
            case 4: return {Format(L"HI %d", value), kRed};
            case 3: return {Format(L"M-HI %d", value), kRed};
            case 1: return {Format(L"M-LO %d", value), kRed};
            case 0: return {Format(L"LO %d", value), kRed};
            default: return {Format(L"MED %d", value), kRed};
        }
    }
    switch (Value(image, meteringMode)) {
        case 2: return {Format(L"HI %d", value), kRed};
        case 0:
            if (IsSet(image, twoSpeedOffBit)) return {L"OFF", kRed};
            return {Format(L"LOW %d", value), kRed};
        default: return {Format(L"MED %d.%d", value, Value(image, mediumTenths)), kRed};
    }
}

PanelText MeterRollLine(const PanelImage& image, bool tower)
{
    if (Type(image) == kBatchDrying && !tower) {
        return {Format(L"BAT %d", Value(image, batchCount)), kWhite};
    }
    if (IsSet(image, meterRollsDisabledBit)) return {L"DISABLED", kWhite};
    const int rpm = Value(image, meterRollSpeed);
    if (tower) return {Format(L"RPM %d.%02d", rpm / 100, rpm % 100), kWhite};
    return {Format(L"RPM %d.%01d", rpm / 10, rpm % 10), kWhite};
}

PanelText ThroughputLine(const PanelImage& image, bool metricForms)
{
    const int bph = Value(image, bushelsPerHour);
    if (metricForms && Celsius(image)) {
        return {Format(L"MTH %d", static_cast<int>(bph * kTonnesPerBushel)), kWhite};
    }
    return {Format(L"BPH %d", bph), kWhite};
}

PanelText TotalLine(const PanelImage& image, bool metricForms)
{
    const std::uint32_t counter = ReadCounter(image, bushelCounter);
    if (metricForms && Celsius(image)) {
        return {Format(L"MT %d", static_cast<int>(counter * kTonnesPerBushel / 3600.0)), kWhite};
    }
    return {Format(L"TB %d", static_cast<int>(counter / 3600)), kWhite};
}

// The sensor temperature is in tenths of a degree Fahrenheit; in Celsius it is converted from
// the tenths to whole degrees.
PanelText SensorTempLine(const PanelImage& image)
{
    const int tenths = static_cast<std::int16_t>(Value(image, drySensorTemp));
    if (Celsius(image)) return {Format(L"%d %cC", (tenths - 320) * 5 / 90, kDegree), kYellow};
    return {Format(L"%d %cF", tenths / 10, kDegree), kYellow};
}

bool DischargeLineShown(const PanelImage& image)
{
    return Scheme(image) == kSchemeTemp || Scheme(image) == kSchemeTempFiveSpeed ||
           IsSet(image, criterionTimeBit);
}

PanelText DischargeLine(const PanelImage& image)
{
    return {Moisture(Value(image, dryMoisture), L"%d.%d%%"), kGreen};
}

PanelText SamplerLine(const PanelImage& image)
{
    if (!IsSet(image, samplerInstalledBit)) return {};
    if (IsSet(image, samplerCleaningBit)) return {L"CLEANING", kBlue};
    if (IsSet(image, samplerSamplingBit)) return {L"SAMPLING", kBlue};
    return {L"STOPPED", kBlue};
}

PanelText SetpointLine(const PanelImage& image)
{
    if (TemperatureReadout(image)) {
        return {Format(L"SP: %d %c%c", Shown(image, Value(image, grainSetpointMain)), kDegree,
                       Unit(image)),
                kSetpointYellow};
    }
    return {Moisture(Value(image, moistureSetpoint), L"SP: %d.%1d%%"), kSetpointYellow};
}

}  // namespace

DryerPicture ChooseDryerPicture(const PanelImage& image)
{
    const int modules = Value(image, moduleCountCode);
    if (modules == 1) return DryerPicture::TwoModule;
    if (modules == 2) return DryerPicture::ThreeModule;
    if (IsSet(image, oneModuleBit)) return DryerPicture::OneModule;
    if (IsSet(image, towerBit)) return DryerPicture::Tower;
    return DryerPicture::OneModule;
}

int DryerBodyBitmap(DryerPicture picture)
{
    switch (picture) {
        case DryerPicture::TwoModule: return kBitmapTwoModuleDryer;
        case DryerPicture::ThreeModule: return kBitmapThreeModuleDryer;
        case DryerPicture::Tower: return kBitmapTowerDryer;
        case DryerPicture::OneModule: break;
    }
    return kBitmapOneModuleDryer;
}

bool TemperatureReadout(const PanelImage& image)
{
    const int scheme = Scheme(image);
    if (scheme == kSchemeTemp && !IsSet(image, moistureModeFlagBits)) return true;
    if (scheme == kSchemeTempFiveSpeed) return true;
    return Type(image) == kBatchDrying &&
           (IsSet(image, criterionTimeBit) || IsSet(image, criterionTempBit));
}

std::vector<PanelText> DryerStatusLines(const PanelImage& image, DryerPicture picture)
{
    std::vector<PanelText> lines;
    switch (picture) {
        case DryerPicture::OneModule:
            lines = {TypeLine(image),
                     ControlModeLine(image),
                     SpeedLine(image),
                     MeterRollLine(image, false),
                     ThroughputLine(image, true),
                     TotalLine(image, true),
                     SensorTempLine(image)};
            lines.push_back(DischargeLineShown(image) ? DischargeLine(image) : PanelText{});
            lines.push_back(SamplerLine(image));
            break;
        case DryerPicture::TwoModule:
            lines = {TypeLine(image),
                     ControlModeLine(image),
                     SpeedLine(image),
                     MeterRollLine(image, false),
                     ThroughputLine(image, true),
                     TotalLine(image, true),
                     SensorTempLine(image),
                     SetpointLine(image),
                     SamplerLine(image)};
            break;
        case DryerPicture::ThreeModule:
            lines = {TypeLine(image),
                     ControlModeLine(image),
                     SpeedLine(image),
                     ThroughputLine(image, true),
                     MeterRollLine(image, false),
                     TotalLine(image, true),
                     SensorTempLine(image),
                     SamplerLine(image)};
            break;
        case DryerPicture::Tower:
            lines = {ControlModeLine(image),     SpeedLine(image),
                     MeterRollLine(image, true), ThroughputLine(image, false),
                     TotalLine(image, false),    SensorTempLine(image)};
            lines.push_back(Scheme(image) == kSchemeTemp || Scheme(image) == kSchemeTempFiveSpeed
                                ? DischargeLine(image)
                                : PanelText{});
            lines.push_back(SamplerLine(image));
            break;
    }
    return lines;
}

int FanBitmap(const PanelImage& image, int heater, int frame, bool single)
{
    const int f = (frame < 0 || frame > 2) ? 0 : frame;
    int first = single ? kBitmapFanIdle : kBitmapFansIdle;
    if (IsSet(image, ForHeater(heatOnBit, heater))) {
        if (IsSet(image, ForHeater(highFireBit, heater))) {
            first = single ? kBitmapFanHighFire : kBitmapFansHighFire;
        } else {
            first = single ? kBitmapFanLowFire : kBitmapFansLowFire;
        }
    } else if (IsSet(image, ForHeater(fanOnBit, heater))) {
        first = single ? kBitmapFanRunning : kBitmapFansRunning;
    }
    return first + f;
}

}  // namespace home_panels
