// The network scan: one NETWORK_SCAN request to the Display I/O board, and its answer turned
// into the report of the scan list (one line per board: versions, slave address, type,
// generation and status) and into the census the upload reads (which boards are present, and
// the generation of the Moisture Control board, which decides its program file).
//
// Scan answer (code 0x85): OFFSET | SIZE | CONTENT
//   0     1    0x85
//   1     1    payload length (160)
//   2    75    15 node records of 5 bytes; the rest of the payload is not read
// Node record: OFFSET | SIZE | CONTENT
//   0     1    boot (NodeFlasher) software version, hundredths: 201 is 2.01
//   1     1    dryer program version, hundredths
//   2     1    address: low nibble the board's NodeId; the whole byte is the slave address
//   3     1    board type: 0 Moisture Control, 8 Display I/O, 9 Main I/O, 10 Fan/Heater,
//              11 Fan/Heater Interface
//   4     1    status: bit 0 nothing to report, bit 1 invalid address, bit 2 conflicting
//              address; high nibble generation - 1. A status of 0 is an empty slot.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "common/link/node_id.h"
#include "flasher/node_link.h"

// ---- the scan answer ------------------------------------------------------------------------
inline constexpr std::size_t kScanRecordCount = 15;
inline constexpr std::size_t kScanRecordSize = 5;
inline constexpr std::size_t kScanRecordsOffset = 2;

inline constexpr std::uint8_t kScanTypeMoistureControl = 0;
inline constexpr std::uint8_t kScanTypeDisplayIo = 8;
inline constexpr std::uint8_t kScanTypeMainIo = 9;
inline constexpr std::uint8_t kScanTypeFanHeater = 10;
inline constexpr std::uint8_t kScanTypeFanHeaterInterface = 11;

inline constexpr std::uint8_t kScanStatusNothingToReport = 0x01;
inline constexpr std::uint8_t kScanStatusInvalidAddress = 0x02;
inline constexpr std::uint8_t kScanStatusConflictingAddress = 0x04;

inline constexpr std::uint32_t kScanRearmTicks = 200;  // 10 s of a scan request left busy

// ---- report lines ---------------------------------------------------------------------------
inline constexpr const wchar_t kScanCompleteLine[] = L"Scan Complete... Results Listed Below.";
inline constexpr const wchar_t kScanHeadingLine1[] =
    L"BOOT    DRYER     SLAVE           NODE                               STATUS /";
inline constexpr const wchar_t kScanHeadingLine2[] =
    L"VER#    VER #    ADDRESS         TYPE                              WARNINGS";
inline constexpr std::size_t kScanRuleLength = 107;  // hyphens under the heading
inline constexpr const wchar_t kSearchingForItLine[] = L"    Searching for it now...";

// ---- scan state (one set for the program) ---------------------------------------------------
struct NetworkScanState {
    bool scanRequested = false;  // a scan is wanted
    bool scanSent = false;       // its request has been prepared
    bool scanDone = false;       // an answer has been decoded into the report
    std::uint32_t rearmCounter = 0;
};
extern NetworkScanState NetworkScan;

// What the last answered scan found about one NodeId.
struct ScanNodeResult {
    bool listed = false;   // a record named this NodeId (a line of the report)
    bool present = false;  // the upload may program it (see MarkPresent in the source)
    std::uint8_t bootVersion = 0;
    std::uint8_t dryerVersion = 0;
    std::uint8_t address = 0;  // the whole address byte
    std::uint8_t type = 0;
    std::uint8_t status = 0;          // as reported (conflicts found by the report included)
    std::uint8_t generationCode = 0;  // high nibble of the status: 0 Gen 1, 1 Gen 2
};
struct ScanResultState {
    std::array<ScanNodeResult, kNodeIdCount> nodes{};  // by NodeId; row 0 is never used
    std::uint8_t moistureGeneration = 0;               // generation code of NodeId 15
};
extern ScanResultState ScanResult;

// ---- operations -----------------------------------------------------------------------------
// Plugs the scan step (tick step 5) and the scan-answer report into `steps`; the report goes
// to the scan list sink of the steps in force. An empty reset-exchange hook becomes
// ResetScanFlags; a program that plugs its own must call it.
void PlugNetworkScan(FlasherTickSteps& steps);
// Where "start scan" empties the scan list (the scan dialog's list box). Null: nothing.
void SetScanListClear(void (*clear)());

// Clears the scan list, reloads the re-arm counter, resets the exchange and asks for a scan.
// The census of the last scan is cleared too, so that a scan left unanswered leaves nothing
// for the upload to program. The scan dialog's opening and SCAN AGAIN call it.
void StartScan();
// The scan dialog's opening: the status key NodeFlasher was started with (if any) is reported
// once, with the scan; later openings only start a scan.
void StartScanOnDialogOpen();

// The command line of NodeFlasher: one of the six status keys, compared exactly, is kept for
// the first scan dialog. Returns true when it was a key.
bool SetScanStatusKey(const wchar_t* commandLine);
// The scan dialog's line for a status key; null for anything else.
const wchar_t* ScanStatusKeyLine(const wchar_t* key);

// Tick step 5.
void NetworkScanStep();
// The answer decoding's hook for code 0x85: marks the scan done and adds the report.
void BuildScanReport(std::span<const std::uint8_t> answer);
// The report line of one record (after the conflict check changed its status, if it did).
std::wstring ScanReportLine(std::uint8_t bootVersion, std::uint8_t dryerVersion,
                            std::uint8_t address, std::uint8_t type, std::uint8_t status);
// Reset exchange's part: the scan flags.
void ResetScanFlags();

// What the upload reads.
bool ScanPresent(NodeId node);
std::uint8_t MoistureControlGeneration();  // 0 Gen 1, 1 Gen 2

// Everything back to the program's start (tests).
void ResetNetworkScanForTest();
