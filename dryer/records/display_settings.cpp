// Display settings in the registry: loaded once at start-up, each saved at once by the
// screen that changes it. Registry errors leave the defaults in use; the program says so at
// start-up (a damaged registry is made afresh and the settings written to it again).
#include "dryer/records/display_settings.h"

#include <string_view>

#include "platform/storage/files.h"
#include "platform/storage/registry.h"

namespace {

DisplaySettings gSettings;

// Reads a value that is exactly one byte long.
bool QueryByte(HKEY key, const wchar_t* name, BYTE* out)
{
    BYTE data[1] = {0};
    DWORD length = sizeof(data);
    DWORD type = REG_NONE;
    if (RegQueryValueEx(key, name, nullptr, &type, data, &length) != ERROR_SUCCESS) return false;
    if (length != 1) return false;
    *out = data[0];
    return true;
}

void RememberSetting(std::wstring_view name, BYTE value)
{
    if (name == kGraphHorizontalScaleValue) gSettings.graphHorizontalScale = value;
    if (name == kGraphTracesValue) gSettings.graphTraces = value;
    if (name == kSampleTimeValue) gSettings.sampleTimeMinutes = value;
    if (name == kScreenViewSelectionValue) gSettings.screenView = value == 1 ? 1 : 0;
}

}  // namespace

DisplaySettings& CurrentDisplaySettings()
{
    return gSettings;
}

void LoadDisplaySettings()
{
    gSettings = DisplaySettings{};
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, kDisplaySettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return;
    }
    BYTE v = 0;
    if (QueryByte(key, kGraphHorizontalScaleValue, &v)) {
        gSettings.graphHorizontalScale = v > 3 ? 0 : v;
    }
    if (QueryByte(key, kGraphTracesValue, &v)) gSettings.graphTraces = v;
    if (QueryByte(key, kSampleTimeValue, &v)) gSettings.sampleTimeMinutes = v > 15 ? 5 : v;
    if (QueryByte(key, kScreenViewSelectionValue, &v)) gSettings.screenView = v == 1 ? 1 : 0;
    RegCloseKey(key);
}

void SaveDisplaySettings()
{
    const DisplaySettings current = gSettings;
    SaveDisplaySetting(kGraphHorizontalScaleValue, current.graphHorizontalScale);
    SaveDisplaySetting(kGraphTracesValue, current.graphTraces);
    SaveDisplaySetting(kSampleTimeValue, current.sampleTimeMinutes);
    SaveDisplaySetting(kScreenViewSelectionValue, current.screenView);
}

bool SaveDisplaySetting(const wchar_t* valueName, BYTE value)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, kDisplaySettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                       nullptr, &key, &disposition) != ERROR_SUCCESS) {
        return false;
    }
    const bool stored = RegSetValueEx(key, valueName, 0, REG_BINARY, &value, 1) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (!stored) return false;
    RememberSetting(valueName, value);
    return true;
}
