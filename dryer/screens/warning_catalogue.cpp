// The warning catalogue: the text of every warning code, one constant table of 16 board
// blocks of 30 fixed slots of 100 wide characters. The Fan/Heater 2 to 6 blocks are made from
// the Fan/Heater 1 block with their board number and node digits.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "dryer/screens/home_panels.h"

namespace home_panels {

namespace {

constexpr int kBlocks = 16;
constexpr int kEntriesPerBlock = 30;
constexpr std::size_t kSlotChars = 100;

using Slot = std::array<wchar_t, kSlotChars>;
using Catalogue = std::array<Slot, kBlocks * kEntriesPerBlock>;

struct Entry {
    int node;
    int index;
    const wchar_t* text;
};

// Every non-empty entry but the Fan/Heater 2 to 6 blocks.
constexpr Entry kEntries[] = {
    {0x00, 0x00, L"PLACE HOLDER MESSAGE"},
    {0x01, 0x00, L"0100 - BEGIN DISPLAY I/O ERROR"},
    {0x01, 0x01, L"0101 - DISPLAY I/O NETWORK CONNECTION FAILED"},
    {0x01, 0x02, L"0102 - NETWORK CABLE FAILED BETWEEN F/H #4 AND F/H #5"},
    {0x01, 0x03, L"0103 - NETWORK CABLE FAILED BETWEEN F/H #3 AND F/H #4"},
    {0x01, 0x04, L"0104 - NETWORK CABLE FAILED BETWEEN F/H #2 AND F/H #3"},
    {0x01, 0x05, L"0105 - NETWORK CABLE FAILED BETWEEN F/H #1 AND F/H #2"},
    {0x01, 0x06, L"0106 - NETWORK CABLE FAILED BETWEEN MAIN IO AND F/H #1"},
    {0x01, 0x07, L"0107 - NETWORK CABLE FAILED BETWEEN MC AND MAIN IO"},
    {0x01, 0x08, L"0108 - LOST COMMUNICATIONS TO DISPLAY IO"},
    {0x01, 0x09, L"0109 - DRYER SELECTION IS INVALID"},
    {0x01, 0x0A, L"010A - STAGED BATCH DRY AND COOL SHUTDOWN"},
    {0x02, 0x00, L"0200 - BEGIN FAN/HEATER #1 WARNINGS"},
    {0x02, 0x01, L"0201 - FAN #1 MOTOR OVERLOAD"},
    {0x02, 0x02, L"0202 - BURNER #1 HOUSING TEMP HI LIMIT"},
    {0x02, 0x03, L"0203 - BURNER #1 VAPOR TEMP HI LIMIT"},
    {0x02, 0x04, L"0204 - BURNER #1 PLENUM OVERHEAT"},
    {0x02, 0x05, L"0205 - BURNER #1 GRAIN OVERHEAT"},
    {0x02, 0x06, L"0206 - BURNER #1 GAS PRESSURE HI LIMIT"},
    {0x02, 0x07, L"0207 - FAN #1 LOST AIRFLOW"},
    {0x02, 0x08, L"0208 - FAN #1 NO AIRFLOW"},
    {0x02, 0x09, L"0209 - BURNER #1 IGNITION FAILURE"},
    {0x02, 0x0A, L"020A - BURNER #1 LOST FLAME DETECTION"},
    {0x02, 0x0B, L"020B - BURNER #1 PLENUM OVERHEAT (THERMISTOR)"},
    {0x02, 0x0C, L"020C - BURNER #1 GRAIN OVERHEAT (THERMISTOR)"},
    {0x02, 0x0D, L"020D - PLENUM #1 TEMPERATURE SENSOR SHORTED"},
    {0x02, 0x0E, L"020E - PLENUM #1 TEMPERATURE SENSOR OPEN"},
    {0x02, 0x0F, L"020F - GRAIN #1 TEMPERATURE SENSOR SHORTED"},
    {0x02, 0x10, L"0210 - GRAIN #1 TEMPERATURE SENSOR OPEN"},
    {0x02, 0x11, L"0211 - FAN #1 CONTACTOR DID NOT CLOSE"},
    {0x02, 0x12, L"0212 - FAN #1 HAD AIRLFOW BEFORE FAN POWER"},
    {0x02, 0x13, L"0213 - FAN #1 NETWORK CONNECTION FAILED"},
    {0x02, 0x14, L"0214 - J4-02 GAS PRESSURE LOW LIMIT"},
    {0x08, 0x00, L"0800 - BEGIN FH #1 INTERFACE WARNINGS"},
    {0x09, 0x00, L"0900 - BEGIN FH #2 INTERFACE WARNINGS"},
    {0x0A, 0x00, L"0A00 - BEGIN FH #3 INTERFACE WARNINGS"},
    {0x0B, 0x00, L"0B00 - BEGIN FH #4 INTERFACE WARNINGS"},
    {0x0C, 0x00, L"0C00 - BEGIN FH #5 INTERFACE WARNINGS"},
    {0x0D, 0x00, L"0D00 - BEGIN FH #6 INTERFACE WARNINGS"},
    {0x0E, 0x00, L"0E00 - BEGIN MAIN I/O WARNINGS"},
    {0x0E, 0x01, L"0E01 - MAIN I/O - PRIMARY UNLOAD MOTOR OVERLOAD"},
    {0x0E, 0x02, L"0E02 - MAIN I/O - PRIMARY LOAD MOTOR OVERLOAD"},
    {0x0E, 0x03, L"0E03 - MAIN I/O - AUXILIARY UNLOAD MOTOR OVERLOAD"},
    {0x0E, 0x04, L"0E04 - MAIN I/O - AUXILIARY LOAD MOTOR OVERLOAD"},
    {0x0E, 0x05, L"0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED"},
    {0x0E, 0x06, L"0E06 - MAIN I/O - AIR SYSTEM FAILURE"},
    {0x0E, 0x07, L"0E07 - MAIN I/O - J2-03 - HARDWARE SAFETY SYSTEM FAILED"},
    {0x0E, 0x08, L"0E08 - MAIN I/O - OUT OF GRAIN TIMER EXPIRED"},
    {0x0E, 0x09, L"0E09 - MAIN I/O - NETWORK CONNECTION FAILED"},
    {0x0E, 0x0A, L"0E0A - MAIN I/O FUSE BLOWN ON J6-03 (PRI-UNLOAD)"},
    {0x0E, 0x0B, L"0E0B - MAIN I/O FUSE BLOWN ON J6-05 (PRI-LOAD)"},
    {0x0E, 0x0C, L"0E0C - MAIN I/O FUSE BLOWN ON J6-07 (AUX-UNLOAD)"},
    {0x0E, 0x0D, L"0E0D - MAIN I/O FUSE BLOWN ON J6-09 (AUX-LOAD)"},
    {0x0E, 0x0E, L"0E0E - MAIN I/O FUSE BLOWN ON J7-01 (MAIN GAS VALVE)"},
    {0x0E, 0x0F, L"0E0F - MAIN I/O FUSE BLOWN ON J6-03 (METER ROLL DRIVE)"},
    {0x0E, 0x10, L"0E10 - MAIN I/O FUSE BLOWN ON J6-05 (METER ROLL REVERSE)"},
    {0x0E, 0x11, L"0E11 - MAIN I/O FUSE BLOWN ON J6-07 (EXTRA #1)"},
    {0x0E, 0x12, L"0E12 - MAIN I/O FUSE BLOWN ON J6-09 (EXTRA #2)"},
    {0x0E, 0x13, L"0E13 - MAIN I/O METERING ROLL DRIVE FAILURE"},
    {0x0E, 0x14, L"0E14 - MAIN I/O USER SAFETY 1 OPEN"},
    {0x0E, 0x15, L"0E15 - MAIN I/O VALVE PROVING SYSTEM FAILURE"},
    {0x0E, 0x16, L"0E16 - MAIN I/O J2-04 - USER SAFETY 2 OPEN"},
    {0x0E, 0x17, L"0E17 - MAIN I/O J2-05 - USER SAFETY 3 OPEN"},
    {0x0E, 0x18, L"0E18 - MAIN I/O J2-02 - METERING ROLL DRIVE FAILURE (VFD)"},
    {0x0E, 0x19, L"0E19 - MAIN I/O CYCLED SAMPLER BLOWER OVERLOAD"},
    {0x0F, 0x00, L"0F00 - BEGIN MOISTURE CONTROL WARNINGS"},
    {0x0F, 0x01, L"0F01 - MC - NETWORK CONNECTION FAILED"},
    {0x0F, 0x02, L"0F02 - MAX DRYING TIME EXCEEDED"},
    {0x0F, 0x03, L"0F03 - MAX GRAIN TEMPERATURE EXCEEDED"},
};

constexpr int kFanHeaterFirstNode = 0x02;
constexpr int kFanHeaterLastNode = 0x07;
constexpr int kCopiedEntries = 0x14;  // the copies hold entries 00 to 13

void Put(Catalogue& table, int node, int index, std::wstring_view text)
{
    Slot& slot = table[static_cast<std::size_t>(node * kEntriesPerBlock + index)];
    slot.fill(L'\0');
    const std::size_t n = std::min(text.size(), kSlotChars - 1);  // keeps the terminator
    std::copy_n(text.begin(), n, slot.begin());
}

// Block 02's text for Fan/Heater `board` (2-6): the node digits and every "#1" follow it.
std::wstring CopyForBoard(std::wstring_view text, int board)
{
    std::wstring out(text);
    out[1] = static_cast<wchar_t>(L'0' + kFanHeaterFirstNode + board - 1);
    for (std::size_t at = out.find(L"#1"); at != std::wstring::npos; at = out.find(L"#1", at + 2)) {
        out[at + 1] = static_cast<wchar_t>(L'0' + board);
    }
    return out;
}

Catalogue Build()
{
    Catalogue table{};
    for (const Entry& e : kEntries) Put(table, e.node, e.index, e.text);
    for (const Entry& e : kEntries) {
        if (e.node != kFanHeaterFirstNode || e.index >= kCopiedEntries) continue;
        for (int node = kFanHeaterFirstNode + 1; node <= kFanHeaterLastNode; ++node) {
            Put(table, node, e.index, CopyForBoard(e.text, node - kFanHeaterFirstNode + 1));
        }
    }
    return table;
}

const Catalogue& Table()
{
    static const Catalogue table = Build();
    return table;
}

}  // namespace

std::wstring WarningCatalogueText(int node, int index)
{
    // The dryer reports only codes inside the table; anything else has no entry.
    if (node < 0 || node >= kBlocks || index < 0 || index >= kEntriesPerBlock) return {};
    const Slot& slot = Table()[static_cast<std::size_t>(node * kEntriesPerBlock + index)];
    return std::wstring(slot.data());
}

}  // namespace home_panels
