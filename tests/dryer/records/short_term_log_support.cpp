#include "tests/dryer/records/short_term_log_support.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "platform/runtime/clock.h"
#include "platform/storage/files.h"
#include "tests/dryer/program/panel_run.h"

namespace records_test {

namespace fs = std::filesystem;

LogRoot::LogRoot() : root_(panel_test::FreshPanelRoot())
{
    panel_test::EnsureVirtualClock();
    fs::create_directories(root_ / "Hard Disk");
    platform::SetPanelRoots(root_, root_ / "Hard Disk2");
}

LogRoot::~LogRoot()
{
    std::error_code ec;
    fs::remove_all(root_, ec);
}

std::vector<std::string> LogRoot::Files() const
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder(), ec), end; !ec && it != end; it.increment(ec)) {
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void AdvanceSeconds(int seconds)
{
    platform::SetVirtualNow(platform::NowMs() + 1000LL * seconds);
}

DataLogSample Numbered(int n)
{
    DataLogSample s;
    s.grainTemp = 100;
    s.incomingTemp = 655;
    s.incomingMoisture = n;
    s.outgoingTemp = 902;
    s.outgoingMoisture = 155;
    s.meterRollOutput = 40;
    s.hour = (n / 60) % 24;
    s.minute = n % 60;
    s.month = 3;
    s.day = 3;
    return s;
}

int NumberOf(const DataLogSample& sample)
{
    return sample.incomingMoisture;
}

void WriteLogFile(const fs::path& file, int first, int count, int extraBytes)
{
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (int n = first; n < first + count; ++n) {
        const DataLogRecord r = EncodeDataLogSample(Numbered(n));
        out.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(r.size()));
    }
    for (int i = 0; i < extraBytes; ++i) out.put(static_cast<char>(0x5A));
}

}  // namespace records_test
