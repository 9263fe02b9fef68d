// The memory of the panel as a program sees it, for the system information screens.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

// Sizes in bytes. They are 64-bit: a host has more memory than a 32-bit count can hold.
struct MEMORYSTATUS {
    DWORD dwLength = sizeof(MEMORYSTATUS);
    DWORD dwMemoryLoad = 0;            // percent of the physical memory in use
    std::uint64_t dwTotalPhys = 0;     // physical memory
    std::uint64_t dwAvailPhys = 0;     // physical memory free
    std::uint64_t dwTotalVirtual = 0;  // address space the process has taken
    std::uint64_t dwAvailVirtual = 0;
};

// Fills the record; a figure the system does not give stays 0.
void GlobalMemoryStatus(MEMORYSTATUS* status);
