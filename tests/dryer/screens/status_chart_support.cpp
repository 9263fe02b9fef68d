#include "tests/dryer/screens/status_chart_support.h"

#include <algorithm>
#include <fstream>

#include "dryer/screens/status_chart.h"

namespace chart_test {

namespace fs = std::filesystem;

namespace {

constexpr int kRowTop = 40;
constexpr int kRowPitch = 16;

// The chart's client top on screen: where its "SAMPLE TIME" header line begins.
std::optional<int> ClientTop(const std::vector<platform::DrawnText>& texts)
{
    for (const auto& t : texts) {
        if (t.text == L"SAMPLE TIME") return t.rect.top;
    }
    return std::nullopt;
}

}  // namespace

DataLogSample SampleAt(int n, int hour, int minute)
{
    DataLogSample s;
    s.grainTemp = 118;
    s.incomingTemp = 655;
    s.incomingMoisture = n;
    s.outgoingTemp = 902;
    s.outgoingMoisture = 153;
    s.meterRollOutput = 47;
    s.hour = hour;
    s.minute = minute;
    s.month = 3;
    s.day = 3;
    return s;
}

void SeedLogSamples(const fs::path& root, const std::vector<DataLogSample>& samples,
                    const std::string& name)
{
    const fs::path folder = root / "Hard Disk" / "ShortTermDataLog";
    fs::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    for (const DataLogSample& s : samples) {
        const DataLogRecord r = EncodeDataLogSample(s);
        out.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(r.size()));
    }
}

void SeedLog(const fs::path& root, int count, const std::string& name)
{
    std::vector<DataLogSample> samples;
    for (int n = 0; n < count; ++n) {
        const int minutes = 6 * 60 + 10 * n;
        samples.push_back(SampleAt(n, (minutes / 60) % 24, minutes % 60));
    }
    SeedLogSamples(root, samples, name);
}

std::unique_ptr<panel_test::PanelRun> ChartPanel(int count)
{
    sim::SimOptions options;
    options.realTime = false;  // the dryer stands still: nothing is unloaded or logged
    return std::make_unique<panel_test::PanelRun>(
        options, [count](const fs::path& root, OrbitDryerOptions&) {
            if (count > 0) SeedLog(root, count);
        });
}

std::vector<platform::DrawnText> ChartTexts()
{
    const auto chart = panel_test::FindShown(L"AVERAGE_VALUES_WINDOW");
    return chart ? chart->texts : std::vector<platform::DrawnText>{};
}

std::vector<std::wstring> Row(int i)
{
    const auto texts = ChartTexts();
    const auto top = ClientTop(texts);
    std::vector<platform::DrawnText> cells;
    if (!top) return {};
    for (const auto& t : texts) {
        if (t.rect.top == *top + kRowTop + kRowPitch * i) cells.push_back(t);
    }
    std::sort(cells.begin(), cells.end(),
              [](const auto& a, const auto& b) { return a.rect.left < b.rect.left; });
    std::vector<std::wstring> row;
    for (const auto& c : cells) row.push_back(c.text);
    return row;
}

std::vector<int> RowNumbers()
{
    std::vector<int> numbers;
    for (int i = 0; i < kStatusChartRows; ++i) {
        const auto row = Row(i);
        if (row.size() < 3) break;
        // Moisture in is "%d.%d%%" of the tenths: n shows as n/10 "." n%10.
        const std::wstring& m = row[2];
        const auto dot = m.find(L'.');
        numbers.push_back(std::stoi(m.substr(0, dot)) * 10 + std::stoi(m.substr(dot + 1)));
    }
    return numbers;
}

}  // namespace chart_test
