// The node message tables, built once from each table's fixed beginning and ending around the
// board names, with the two rows that differ: row 0 of every table, and the Fan/Heater
// Interface rows of the link-open table, which put the number before the word Interface.
#include "flasher/node_messages.h"

#include <array>
#include <string>

namespace {

constexpr int kTableCount = 8;
constexpr int kRowCount = 16;  // NodeId 0-15

struct TableText {
    const wchar_t* beginning;
    const wchar_t* ending;
};

// In the order of NodeMessageTable.
constexpr std::array<TableText, kTableCount> kTableTexts{{
    {L" << Attempting to Open Link to ", L"..."},
    {L" << Attempting to Close Link to ", L"..."},
    {L" >> Link with ", L" Open."},
    {L" >> Link with ", L" Closed."},
    {L" >> Link with ", L" Failed."},
    {L" << Attempting to Erase ", L" Flash Memory..."},
    {L" >> Erasing of ", L" Failed."},
    {L" >> Erasing of ", L" Done."},
}};

std::wstring BoardName(int node, bool numberBeforeInterface)
{
    if (node == 1) return L"Display I/O";
    if (node >= 2 && node <= 7) return L"Fan/Heater #" + std::to_wstring(node - 1);
    if (node >= 8 && node <= 13) {
        const std::wstring number = std::to_wstring(node - 7);
        return numberBeforeInterface ? L"Fan/Heater #" + number + L" Interface"
                                     : L"Fan/Heater Interface #" + number;
    }
    if (node == 14) return L"Main I/O";
    return L"Moisture Control";
}

using Tables = std::array<std::array<std::wstring, kRowCount>, kTableCount>;

Tables BuildTables()
{
    Tables tables;
    for (int t = 0; t < kTableCount; ++t) {
        const auto table = static_cast<NodeMessageTable>(t);
        tables[t][0] =
            table == NodeMessageTable::eraseAttempt ? L" << Invalid Node" : L" Invalid Node";
        for (int node = 1; node < kRowCount; ++node) {
            tables[t][node] = std::wstring(kTableTexts[t].beginning) +
                              BoardName(node, table == NodeMessageTable::linkOpen) +
                              kTableTexts[t].ending;
        }
    }
    return tables;
}

}  // namespace

const wchar_t* NodeMessage(NodeMessageTable table, unsigned node)
{
    static const Tables tables = BuildTables();
    const auto t = static_cast<std::size_t>(table);
    if (t >= tables.size()) return L"";
    return tables[t][node < kRowCount ? node : 0].c_str();
}
