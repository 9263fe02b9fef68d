// The upload: the boards of the control network reprogrammed one after the other from the HEX
// program files of one release folder. The scheduler (tick step 3) picks the next board and
// reads its file into the image; the node state machine (tick step 4) opens the link, erases
// the flash, sends the start address, writes the image in 256-byte blocks and closes the link.
// A board whose file is refused is never erased: it is reported and skipped.
//
// Program files of a release folder, and the boards they program:
//   "DI.HEX"       Display I/O (NodeId 1)
//   "FH.HEX"       every Fan/Heater (NodeId 2-7)
//   "MI.HEX"       Main I/O (NodeId 14)
//   "MC.HEX"       Moisture Control (NodeId 15) of Gen 1
//   "MC_GEN2.HEX"  Moisture Control of Gen 2
// Fan/Heater Interface boards (NodeId 8-13) are never programmed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/link/node_id.h"
#include "flasher/hex_parser.h"
#include "flasher/node_link.h"

// ---- the HEX listing of the selected folder -------------------------------------------------
inline constexpr std::size_t kMaxHexListing = 50;
inline constexpr std::size_t kMaxHexNameChars = 100;

struct HexListingEntry {
    std::wstring name;   // upper case
    std::uint32_t size;  // bytes, low 32 bits
};

// ---- lines ----------------------------------------------------------------------------------
inline constexpr const wchar_t kUploadStartingLine[] = L"Starting Program Upload...  Please Wait.";
inline constexpr const wchar_t kProgramSelectionIs[] = L"Program Selection is ";
inline constexpr const wchar_t kFileContainsLine[] = L"  This Program File Contains:";
inline constexpr std::size_t kListingDotsTo = 40;  // name and points fill 40 characters
inline constexpr std::size_t kListingRuleLength = 86;
inline constexpr const wchar_t kCopyingExecutablesLine[] =
    L"Copying Dryer.exe, OrbitDryer.exe, Kickoff.exe to Hard Disk...  Please Wait.";
inline constexpr const wchar_t kUploadCompleteLine[] = L"PROGRAM UPLOAD TO DRYER COMPLETE.";
inline constexpr const wchar_t kNotProgrammedCaption[] = L" PROGRAM FILE REFUSED";

inline constexpr DWORD kBoardStartPauseMs = 2000;  // after a board's file is read
inline constexpr DWORD kCompletionPauseMs = 2000;

// ---- upload state (one set for the program) -------------------------------------------------
struct UploadFiles {
    bool displayIo = false;  // "DI.HEX"
    bool fanHeater = false;  // "FH.HEX", one flag for all six
    bool mainIo = false;     // "MI.HEX"
    bool moisture = false;   // "MC.HEX" or "MC_GEN2.HEX"
};

struct UploadState {
    std::vector<HexListingEntry> listing;  // of the folder last listed, file-system order
    UploadFiles files;
    std::wstring folderName;                // the release folder of this upload ("CAN_DRYER_P123")
    std::wstring folderPath;                // its panel path, without a closing backslash
    std::array<bool, kNodeIdCount> done{};  // this upload has started the board
    bool active = false;                    // the upload dialog runs an upload
    bool finished = false;                  // completion shown; the dialog closes next tick
    bool nodeInProgress = false;
    bool fileLoaded = false;
    std::uint32_t imagePosition = 0;  // next image byte to send
    std::uint8_t blockNumber = 0;     // wraps from 255 to 0
    unsigned nodeListRow = 0;         // row of the node list to highlight next
    bool copyNoticeShown = false;
    bool executablesCopied = false;
    // Boards left unprogrammed because their file was refused: one line each, for the report
    // at the end of the upload.
    std::vector<std::wstring> notProgrammed;
    bool keepRefusalLines = false;  // the next board's lines follow them
};
extern UploadState Upload;

// What the upload dialog gives the upload to show its work.
struct UploadScreenOps {
    void (*clearList)() = nullptr;                           // the upload list
    void (*replaceLastLine)(const wchar_t* line) = nullptr;  // the progress line
    void (*highlightNodeRow)(unsigned row) = nullptr;        // the node list
    void (*closeDialog)() = nullptr;
    void (*copyExecutables)() = nullptr;  // the display programs to the panel's disk
    // At the end, when boards were left unprogrammed: the lines of Upload.notProgrammed.
    void (*reportNotProgrammed)(const std::wstring& text) = nullptr;
};

// ---- operations -----------------------------------------------------------------------------
// Plugs the scheduler and the node state machine into `steps` (ticks 3 and 4) and takes the
// dialog's operations. The reset-exchange hook of `steps` must call ResetUploadFlags.
void PlugUpload(FlasherTickSteps& steps, const UploadScreenOps& ops);

// Lists "*.hex" in the release folder (panel path, no closing backslash) and sets the file
// flags from the listing.
void ListHexFiles(const std::wstring& folderPath);

// Whether the upload can program `node`: it was found by the scan and its file is listed.
bool HasProgramFile(NodeId node);
// The warning dialog's lines: present boards without a program file. Empty: no warning.
std::vector<std::wstring> MissingProgramFileLines();
// The node list of the upload dialog, in the order the boards are programmed.
std::vector<std::wstring> UploadNodeListLines();

// START UPLOAD: the opening lines of the upload list (the listing of `folderName`) and a fresh
// start of the upload over the boards of the last scan.
void StartUploadRun(const std::wstring& folderName, const std::wstring& folderPath);
// EXIT of the upload dialog: the upload stops where it stands.
void StopUploadRun();

// Tick steps 3 and 4.
void UploadScheduler();
void NodeStateMachine();
// The node step flags, cleared before each board and at start-up.
void ClearNodeStepFlags();
// Reset exchange's part: node in progress, image position, node list row.
void ResetUploadFlags();

// The image of the board being programmed (tests and benchmarks read it).
const HexImage& UploadImage();

// Everything back to the program's start (tests).
void ResetUploadForTest();
