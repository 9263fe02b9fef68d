// The network scan: the scan step of the FlasherTick, the report built from the scan answer,
// and the census of the boards that the upload programs. The census is stricter than the
// report: a board is offered to the upload only when nothing in its record casts doubt on
// which board would receive the program.
#include "flasher/network_scan.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "flasher/node_messages.h"

NetworkScanState NetworkScan;
ScanResultState ScanResult;

namespace {

struct StatusKey {
    const wchar_t* key;
    const wchar_t* line;
};
constexpr StatusKey kStatusKeys[] = {
    {L"MAIN_IO_MISSING", L"Could not locate Main I/O."},
    {L"DISPLAY_IO_MISSING", L"Could not locate Display I/O."},
    {L"NO_FAN_HEATER_PRESENT", L"Could not locate any Fan/Heaters."},
    {L"INVALID_FH_ADDRESS", L"A Fan/Heater address is set incorrectly."},
    {L"CONFLICTING_FH_ADDRESS", L"More than one Fan/Heater has same address setting."},
    {L"DIFFERING_SW_VERSIONS", L"Not all the nodes (boards) have same software version."},
};

// Record bytes.
constexpr std::size_t kBootVersionByte = 0;
constexpr std::size_t kDryerVersionByte = 1;
constexpr std::size_t kAddressByte = 2;
constexpr std::size_t kTypeByte = 3;
constexpr std::size_t kStatusByte = 4;

// Fan/Heater slave addresses that the report checks for conflicts.
constexpr std::uint8_t kFirstFanHeaterAddress = 2;
constexpr std::uint8_t kLastFanHeaterAddress = 7;
constexpr std::uint8_t kNodeNibble = 0x0F;
constexpr std::uint8_t kHighestMoistureGeneration = 1;  // the program files know Gen 1 and 2

struct TypeText {
    std::uint8_t type;
    const wchar_t* text;
    const wchar_t* filler;
};
constexpr TypeText kTypeTexts[] = {
    {kScanTypeMoistureControl, L" ....... MOISTURE CON", L" "},
    {kScanTypeDisplayIo, L" ....... DISPLAY IO", L" ....."},
    {kScanTypeMainIo, L" ....... MAIN IO", L" .........."},
    {kScanTypeFanHeater, L" ....... FAN/HEATER", L" ...."},
    {kScanTypeFanHeaterInterface, L" ....... F/H INT", L" ..........."},
};

void (*clearScanList)() = nullptr;
const wchar_t* pendingStatusKeyLine = nullptr;  // reported by the first scan dialog only

bool IsFanHeaterType(std::uint8_t type)
{
    return type == kScanTypeFanHeater || type == kScanTypeFanHeaterInterface;
}

bool IsFanHeaterAddress(std::uint8_t address)
{
    return address >= kFirstFanHeaterAddress && address <= kLastFanHeaterAddress;
}

// The board type that belongs at `node`.
bool TypeFitsNode(std::uint8_t type, unsigned node)
{
    switch (type) {
        case kScanTypeDisplayIo: return node == static_cast<unsigned>(NodeId::displayIo);
        case kScanTypeFanHeater:
            return node >= static_cast<unsigned>(NodeId::fanHeater1) &&
                   node <= static_cast<unsigned>(NodeId::fanHeater6);
        case kScanTypeFanHeaterInterface:
            return node >= static_cast<unsigned>(NodeId::fanHeaterInterface1) &&
                   node <= static_cast<unsigned>(NodeId::fanHeaterInterface6);
        case kScanTypeMainIo: return node == static_cast<unsigned>(NodeId::mainIo);
        case kScanTypeMoistureControl:
            return node == static_cast<unsigned>(NodeId::moistureControl);
        default: return false;
    }
}

// "%0.1d.%0.2d": hundredths as a version number.
void AppendVersion(std::wstring& line, std::uint8_t version)
{
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"%0.1d.%0.2d", version / 100, version % 100);
    line += text;
}

// Whether the upload may program the board a record names. The report lists every record;
// the upload gets only a board whose record names its NodeId with the type that belongs
// there, whose address is neither invalid nor shared, and, for the Moisture Control, whose
// generation has a program file. Anything else could put one board's program into another.
bool MayProgram(unsigned node, std::uint8_t type, std::uint8_t status)
{
    if (node == 0 || !TypeFitsNode(type, node)) return false;
    if ((status & (kScanStatusInvalidAddress | kScanStatusConflictingAddress)) != 0) return false;
    if (node == static_cast<unsigned>(NodeId::moistureControl) &&
        (status >> 4) > kHighestMoistureGeneration) {
        return false;
    }
    return true;
}

}  // namespace

void PlugNetworkScan(FlasherTickSteps& steps)
{
    steps.scanStep = NetworkScanStep;
    steps.scanAnswered = BuildScanReport;
    // The program's reset-exchange hook must clear the scan flags as well as the upload's.
    if (steps.resetExchange == nullptr) steps.resetExchange = ResetScanFlags;
}

void SetScanListClear(void (*clear)())
{
    clearScanList = clear;
}

void ResetScanFlags()
{
    NetworkScan.scanRequested = false;
    NetworkScan.scanSent = false;
    NetworkScan.scanDone = false;
}

void StartScan()
{
    if (clearScanList != nullptr) clearScanList();
    NetworkScan.rearmCounter = kScanRearmTicks;
    ResetExchange();
    ResetScanFlags();
    // A scan that is not answered must not leave an earlier network for the upload.
    ScanResult = ScanResultState{};
    NetworkScan.scanRequested = true;
}

void StartScanOnDialogOpen()
{
    const wchar_t* keyLine = pendingStatusKeyLine;
    pendingStatusKeyLine = nullptr;  // consumed by the first scan dialog
    StartScan();
    if (keyLine == nullptr) return;
    AddScanLine(keyLine);
    AddScanLine(L" ");
    AddScanLine(kSearchingForItLine);
    AddScanLine(L" ");
}

const wchar_t* ScanStatusKeyLine(const wchar_t* key)
{
    if (key == nullptr) return nullptr;
    for (const StatusKey& k : kStatusKeys) {
        if (std::wcscmp(k.key, key) == 0) return k.line;
    }
    return nullptr;
}

bool SetScanStatusKey(const wchar_t* commandLine)
{
    pendingStatusKeyLine = ScanStatusKeyLine(commandLine);
    return pendingStatusKeyLine != nullptr;
}

void NetworkScanStep()
{
    if (!NetworkScan.scanRequested || NetworkScan.scanDone) return;
    if (NetworkScan.rearmCounter > 0) {
        --NetworkScan.rearmCounter;
    } else {
        // A request left busy this long has no answer coming: the upload's step flags go,
        // and busy with them, so that nothing stays blocked behind it.
        NetworkScan.rearmCounter = kScanRearmTicks;
        ClearStepOutcomes();
    }
    if (NodeLink.busy) return;
    NetworkScan.rearmCounter = kScanRearmTicks;
    if (NetworkScan.scanSent) return;  // one request per start of a scan
    NetworkScan.scanSent = true;
    std::fill_n(NodeLink.answer.begin(), kNetworkScanAnswerLength, std::uint8_t{0});
    PrepareNetworkScan();
    NodeLink.busy = true;
}

std::wstring ScanReportLine(std::uint8_t bootVersion, std::uint8_t dryerVersion,
                            std::uint8_t address, std::uint8_t type, std::uint8_t status)
{
    std::wstring line;
    AppendVersion(line, bootVersion);
    line += L" .... ";
    AppendVersion(line, dryerVersion);
    line += L" ........ ";
    // The slave address is shown from 00; a Fan/Heater record without an address has none.
    if (IsFanHeaterType(type) && address > 0) {
        wchar_t text[8];
        std::swprintf(text, std::size(text), L"%02d", address - 1);
        line += text;
    } else {
        line += L"NA";
    }
    const auto typeText = std::find_if(std::begin(kTypeTexts), std::end(kTypeTexts),
                                       [type](const TypeText& t) { return t.type == type; });
    if (typeText != std::end(kTypeTexts)) {
        wchar_t generation[16];
        std::swprintf(generation, std::size(generation), L" (GEN%d)", (status >> 4) + 1);
        line += typeText->text;
        line += generation;
        line += typeText->filler;
    }
    if ((status & kScanStatusInvalidAddress) != 0) {
        line += L"..... ** INVALID ADDRESS";
    } else if ((status & kScanStatusConflictingAddress) != 0) {
        line += L"..... ** CONFLICTING ADDRESS";
    } else if ((status & kScanStatusNothingToReport) != 0) {
        line += L"..... NOTHING TO REPORT";
    }
    return line;
}

void BuildScanReport(std::span<const std::uint8_t> answer)
{
    NetworkScan.scanRequested = false;
    NetworkScan.scanSent = false;
    NetworkScan.scanDone = true;

    AddScanLine(kScanCompleteLine);
    AddScanLine(kBlankLine);
    AddScanLine(kScanHeadingLine1);
    AddScanLine(kScanHeadingLine2);
    AddScanLine(std::wstring(kScanRuleLength, L'-').c_str());

    ScanResult = ScanResultState{};
    std::array<int, kNodeIdCount> claims{};  // records naming each NodeId
    std::array<std::uint8_t, kScanRecordCount> fanHeaterAddresses{};
    std::size_t fanHeaterCount = 0;

    for (std::size_t r = 0; r < kScanRecordCount; ++r) {
        // Records that never arrived read as an empty slot.
        std::array<std::uint8_t, kScanRecordSize> rec{};
        const std::size_t at = kScanRecordsOffset + r * kScanRecordSize;
        if (at < answer.size()) {
            std::copy_n(answer.begin() + static_cast<std::ptrdiff_t>(at),
                        std::min(kScanRecordSize, answer.size() - at), rec.begin());
        }
        std::uint8_t status = rec[kStatusByte];
        if (status == 0) continue;
        const std::uint8_t address = rec[kAddressByte];
        const std::uint8_t type = rec[kTypeByte];
        const unsigned node = address & kNodeNibble;

        if (node == static_cast<unsigned>(NodeId::moistureControl) && claims[node] == 0) {
            ScanResult.moistureGeneration = static_cast<std::uint8_t>(status >> 4);
        }
        if (IsFanHeaterType(type) && IsFanHeaterAddress(address)) {
            const auto earlier =
                fanHeaterAddresses.begin() + static_cast<std::ptrdiff_t>(fanHeaterCount);
            if (std::find(fanHeaterAddresses.begin(), earlier, address) != earlier) {
                status = kScanStatusConflictingAddress;
            }
            fanHeaterAddresses[fanHeaterCount++] = address;
        }
        if (node != 0) {
            ScanNodeResult& result = ScanResult.nodes[node];
            if (claims[node]++ == 0) {
                result.listed = true;
                result.present = MayProgram(node, type, status);
                result.bootVersion = rec[kBootVersionByte];
                result.dryerVersion = rec[kDryerVersionByte];
                result.address = address;
                result.type = type;
                result.status = status;
                result.generationCode = static_cast<std::uint8_t>(rec[kStatusByte] >> 4);
            } else {
                result.present = false;  // two boards answer to this NodeId: neither is safe
            }
        }
        AddScanLine(
            ScanReportLine(rec[kBootVersionByte], rec[kDryerVersionByte], address, type, status)
                .c_str());
        AddScanLine(kBlankLine);
    }
}

bool ScanPresent(NodeId node)
{
    const auto n = static_cast<std::size_t>(node);
    return n > 0 && n < ScanResult.nodes.size() && ScanResult.nodes[n].present;
}

std::uint8_t MoistureControlGeneration()
{
    return ScanResult.moistureGeneration;
}

void ResetNetworkScanForTest()
{
    NetworkScan = NetworkScanState{};
    ScanResult = ScanResultState{};
    clearScanList = nullptr;
    pendingStatusKeyLine = nullptr;
}
