#include "tests/dryer/screens/graph_screen_support.h"

#include <fstream>

#include "dryer/records/display_settings.h"
#include "dryer/screens/screen_manager.h"
#include "platform/storage/files.h"
#include "platform/storage/registry.h"

namespace graph_test {

namespace fs = std::filesystem;

namespace {

constexpr int kViewButton = 0x8804;
constexpr int kGraphViewButton = 0x9021;

}  // namespace

DataLogSample GraphSample(int n)
{
    DataLogSample s;
    s.incomingMoisture = 150 + n % 50;
    s.incomingTemp = 600 + 10 * (n % 20);
    s.outgoingMoisture = 140 + n % 10;
    s.outgoingTemp = 900 + 10 * (n % 30);
    s.grainTemp = 100 + n % 15;
    s.meterRollOutput = 30 + n % 40;
    const int seconds = 6 * 3600 + 10 * n;
    s.hour = (seconds / 3600) % 24;
    s.minute = (seconds / 60) % 60;
    s.second = seconds % 60;
    s.month = 3;
    s.day = 3;
    return s;
}

void SeedGraphLog(const fs::path& root, int first, int count, const std::string& name)
{
    const fs::path folder = root / "Hard Disk" / "GraphDataLog";
    fs::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    for (int n = first; n < first + count; ++n) {
        const DataLogRecord r = EncodeDataLogSample(GraphSample(n));
        out.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(r.size()));
    }
}

void StoreSetting(const fs::path& root, const wchar_t* name, BYTE value)
{
    platform::SetPanelRoots(root, root / "Hard Disk2");
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, kDisplaySettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                       nullptr, &key, &disposition) != 0) {
        return;
    }
    RegSetValueEx(key, name, 0, REG_BINARY, &value, 1);
    RegCloseKey(key);
}

std::unique_ptr<panel_test::PanelRun> GraphPanel(int samples, BYTE traces, BYTE scale)
{
    sim::SimOptions options;
    options.realTime = false;  // the dryer stands still: nothing is unloaded or logged
    auto panel = std::make_unique<panel_test::PanelRun>(
        options, [samples, traces, scale](const fs::path& root, OrbitDryerOptions&) {
            if (samples > 0) SeedGraphLog(root, 0, samples);
            StoreSetting(root, kGraphTracesValue, traces);
            StoreSetting(root, kGraphHorizontalScaleValue, scale);
        });
    ShowGraphView();
    panel->Cycles(3);  // the board echoes the view
    return panel;
}

void ShowGraphView()
{
    platform::PressControl(kViewButton);
    platform::PressControl(kGraphViewButton);
    platform::WaitIdle();
}

std::vector<platform::DrawnText> GraphTexts()
{
    const auto area = panel_test::FindShown(kDrawGraphClass);
    if (!area) return {};
    std::vector<platform::DrawnText> texts = area->texts;
    for (auto& t : texts) {
        t.rect.left -= area->rect.left;
        t.rect.right -= area->rect.left;
        t.rect.top -= area->rect.top;
        t.rect.bottom -= area->rect.top;
    }
    return texts;
}

int StoredSetting(const wchar_t* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, kDisplaySettingsKey, 0, KEY_READ, &key) != 0) return -1;
    BYTE value = 0;
    DWORD length = 1;
    DWORD type = 0;
    const LONG rc = RegQueryValueEx(key, name, nullptr, &type, &value, &length);
    RegCloseKey(key);
    return rc == 0 && length == 1 ? value : -1;
}

}  // namespace graph_test
