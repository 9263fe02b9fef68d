// Bushels per hour of the unload rates and the footnote that goes with them.
#include "dryer/setup/unload_rates.h"

#include <cstdio>
#include <iterator>

namespace {

// Bushels per hour at full unload speed per foot of dryer, by meter roll size.
constexpr float kSevenInchRollsPerFoot = 140.62021f;
constexpr float kFourInchRollsPerFoot = 129.6f;

constexpr int kShortestFeet = 8;
constexpr int kLastEvenStepCode = 10;  // 28 ft; the longer dryers skip 30 and 32 ft
constexpr int kLongFeet[] = {34, 36, 38, 40};

// Model-built dryers (the model layout of the hardware set-up) by their capacity.
constexpr UnloadCapacity kCapacities[] = {
    {0, 3, L"Models A - D", 450, L"*Based upon 450 BPH capacity."},
    {4, 5, L"Models E - F", 650, L"*Based upon 650 BPH capacity."},
    {6, 6, L"Model G", 800, L"*Based upon 800 BPH capacity."},
    {7, 8, L"Models H - J", 1000, L"*Based upon 1000 BPH capacity."},
    {9, 255, L"Models K - L", 1250, L"*Based upon 1250 BPH capacity."},
};

}  // namespace

const UnloadCapacity& UnloadCapacityOf(int lengthCode)
{
    for (const UnloadCapacity& row : kCapacities) {
        if (lengthCode >= row.firstCode && lengthCode <= row.lastCode) return row;
    }
    return kCapacities[std::size(kCapacities) - 1];
}

int DryerLengthFeet(int lengthCode)
{
    if (lengthCode < 0) return 0;
    if (lengthCode <= kLastEvenStepCode) return kShortestFeet + 2 * lengthCode;
    const int longIndex = lengthCode - kLastEvenStepCode - 1;
    return longIndex < static_cast<int>(std::size(kLongFeet)) ? kLongFeet[longIndex] : 0;
}

float UnloadBushelsPerHour(const ImageBytes& image, int percent)
{
    const int code = Value(image, dryerLengthCode);
    const float share = static_cast<float>(percent) * 0.01f;
    if (IsSet(image, capacityBasedRatesBit)) {
        return share * static_cast<float>(UnloadCapacityOf(code).bushelsPerHour);
    }
    const float perFoot =
        IsSet(image, fourInchMeterRollBit) ? kFourInchRollsPerFoot : kSevenInchRollsPerFoot;
    return static_cast<float>(DryerLengthFeet(code)) * share * perFoot;
}

std::wstring UnloadRateFootnote(const ImageBytes& image)
{
    const int code = Value(image, dryerLengthCode);
    if (IsSet(image, lengthBasedRatesBit)) {
        wchar_t text[64];
        std::swprintf(text, std::size(text), L"*Based upon %dft dryer @ 17.5 RPM.",
                      DryerLengthFeet(code));
        return text;
    }
    if (IsSet(image, capacityBasedRatesBit)) return UnloadCapacityOf(code).footnote;
    return {};
}
