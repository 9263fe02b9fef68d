#include "platform/runtime/memory_status.h"

#include <sys/sysinfo.h>

#include <fstream>
#include <string>

namespace {

// The process's virtual size from /proc/self/status ("VmSize:   123456 kB"), 0 when unknown.
std::uint64_t ProcessVirtualBytes()
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmSize:", 0) != 0) continue;
        try {
            return std::stoull(line.substr(7)) * 1024;
        } catch (...) {
            return 0;
        }
    }
    return 0;
}

}  // namespace

void GlobalMemoryStatus(MEMORYSTATUS* status)
{
    if (status == nullptr) return;
    *status = MEMORYSTATUS{};
    struct sysinfo info {};
    if (sysinfo(&info) == 0) {
        const std::uint64_t unit = info.mem_unit == 0 ? 1 : info.mem_unit;
        status->dwTotalPhys = info.totalram * unit;
        status->dwAvailPhys = info.freeram * unit;
        if (status->dwTotalPhys > 0) {
            status->dwMemoryLoad =
                static_cast<DWORD>(100 - status->dwAvailPhys * 100 / status->dwTotalPhys);
        }
    }
    status->dwTotalVirtual = ProcessVirtualBytes();
}
