// The screen tests' dryer images, written through the image's own readers and writers.
#include "tests/dryer/screens/scene_image_support.h"

namespace screens_test {

SceneImage::SceneImage()
{
    SetValue(bytes, dryerState, kDryerStateIdle);
}

SceneImage& SceneImage::Set(ImageField field, int value)
{
    SetValue(bytes, field, value);
    return *this;
}

SceneImage& SceneImage::Set(ImageBits bits, int value)
{
    SetBitsValue(bytes, bits, value);
    return *this;
}

SceneImage& SceneImage::Time(ImageField field, int minutes, int seconds)
{
    WriteTime(bytes, field, MinSec{minutes, seconds});
    return *this;
}

SceneImage& SceneImage::On(ImageBits bits)
{
    SetBits(bytes, bits, true);
    return *this;
}

SceneImage& SceneImage::Off(ImageBits bits)
{
    SetBits(bytes, bits, false);
    return *this;
}

SceneImage& SceneImage::Celsius()
{
    return On(siUnitsBit);
}

SceneImage& SceneImage::Warning(WarningCode code)
{
    SetActiveWarningCode(bytes, code);
    return *this;
}

std::wstring Degrees(int value, wchar_t unit)
{
    return std::to_wstring(value) + L' ' + wchar_t{176} + unit;
}

}  // namespace screens_test
