// The upload's scheduler and node state machine, the HEX listing of the release folder and the
// lines of the upload list. Runs on the user-interface thread from the 50 ms FlasherTick.
#include "flasher/upload.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <memory>

#include "flasher/hex_file.h"
#include "flasher/network_scan.h"
#include "flasher/node_messages.h"
#include "platform/storage/files.h"

UploadState Upload;

namespace {

// A board the upload programs, in the order it programs them.
struct Board {
    NodeId node;
    const wchar_t* name;  // in the node list (before the generation) and the refusal lines
    const wchar_t* banner;
};

constexpr const wchar_t kFanHeaterBanner[] = L"***** UPLOADING PROGRAM TO FAN/HEATER NODE *****";
constexpr Board kBoards[] = {
    {NodeId::displayIo, L"Display I/O", L"***** UPLOADING PROGRAM TO DISPLAY I/O NODE *****"},
    {NodeId::fanHeater1, L"Fan/Heater #1", kFanHeaterBanner},
    {static_cast<NodeId>(3), L"Fan/Heater #2", kFanHeaterBanner},
    {static_cast<NodeId>(4), L"Fan/Heater #3", kFanHeaterBanner},
    {static_cast<NodeId>(5), L"Fan/Heater #4", kFanHeaterBanner},
    {static_cast<NodeId>(6), L"Fan/Heater #5", kFanHeaterBanner},
    {NodeId::fanHeater6, L"Fan/Heater #6", kFanHeaterBanner},
    {NodeId::mainIo, L"Main I/O", L"***** UPLOADING PROGRAM TO MAIN I/O NODE *****"},
    {NodeId::moistureControl, L"Moisture Control",
     L"***** UPLOADING PROGRAM TO MOISTURE CONTROL NODE *****"},
};

// The program file of a board: the name after the folder and its reading line.
struct ProgramFile {
    const wchar_t* file;
    const wchar_t* readingLine;
};
constexpr ProgramFile kDisplayIoFile{L"DI.HEX", L" - Reading DI.HEX File..."};
constexpr ProgramFile kFanHeaterFile{L"FH.HEX", L" - Reading FH.HEX File..."};
constexpr ProgramFile kMainIoFile{L"MI.HEX", L" - Reading MI.HEX File..."};
constexpr ProgramFile kMoistureGen1File{L"MC.HEX", L" - Reading MC.HEX File..."};
constexpr ProgramFile kMoistureGen2File{L"MC_GEN2.HEX", L" - Reading MC_GEN2.HEX File..."};

constexpr std::uint8_t kFlashStartAddress = 0;

UploadScreenOps gOps;
// 512 KiB: on the heap, made once.
std::unique_ptr<HexImage> gImage;

HexImage& Image()
{
    if (!gImage) {
        gImage = std::make_unique<HexImage>();
        gImage->bytes.fill(0xFF);
    }
    return *gImage;
}

bool IsFanHeater(NodeId node)
{
    return node >= NodeId::fanHeater1 && node <= NodeId::fanHeater6;
}

bool MoistureGen2()
{
    return MoistureControlGeneration() != 0;
}

ProgramFile FileOf(NodeId node)
{
    if (node == NodeId::displayIo) return kDisplayIoFile;
    if (node == NodeId::mainIo) return kMainIoFile;
    if (node == NodeId::moistureControl)
        return MoistureGen2() ? kMoistureGen2File : kMoistureGen1File;
    return kFanHeaterFile;
}

void ClearList()
{
    if (gOps.clearList != nullptr) gOps.clearList();
}

void ReplaceLastLine(const wchar_t* line)
{
    if (gOps.replaceLastLine != nullptr) gOps.replaceLastLine(line);
}

// Reads the board's program into the image, with the lines of the upload list. False when the
// file was refused: the lines say why, and the board must not be touched.
bool ReadBoardFile(const Board& board)
{
    const ProgramFile file = FileOf(board.node);
    AddUploadLine(board.banner);
    AddUploadLine(kBlankLine);
    AddUploadLine(file.readingLine);
    const HexFileResult result = ReadHexFile(Upload.folderPath + L"\\" + file.file, Image());
    wchar_t count[64];
    std::swprintf(count, std::size(count), L"     Number of Bytes Read:  %d",
                  static_cast<int>(result.read.bytesRead));
    AddUploadLine(count);
    AddUploadLine(kBlankLine);
    if (result.ok()) return true;
    AddUploadLine(result.refusal.c_str());
    const std::wstring skipped = std::wstring(L" >> ") + board.name + L" will not be programmed.";
    AddUploadLine(skipped.c_str());
    Upload.notProgrammed.push_back(std::wstring(board.name) + L":" + result.refusal.substr(3));
    return false;
}

void HighlightNextRow()
{
    if (gOps.highlightNodeRow != nullptr) gOps.highlightNodeRow(Upload.nodeListRow);
    ++Upload.nodeListRow;
}

const Board* NextBoard()
{
    for (const Board& board : kBoards) {
        if (HasProgramFile(board.node) && !Upload.done[static_cast<std::size_t>(board.node)]) {
            return &board;
        }
    }
    return nullptr;
}

// One step of the end sequence per tick: the copy notice, the copy, the completion.
void RunEndSequence()
{
    if (!Upload.copyNoticeShown) {
        Upload.copyNoticeShown = true;
        AddUploadLine(kCopyingExecutablesLine);
        return;
    }
    if (!Upload.executablesCopied) {
        Upload.executablesCopied = true;
        if (gOps.copyExecutables != nullptr) gOps.copyExecutables();
        return;
    }
    FlasherPause(kCompletionPauseMs);
    Upload.active = false;
    Upload.finished = true;
    AddUploadLine(L" ");
    AddUploadLine(kUploadCompleteLine);
    if (!Upload.notProgrammed.empty() && gOps.reportNotProgrammed != nullptr) {
        std::wstring text;
        for (const std::wstring& line : Upload.notProgrammed) {
            if (!text.empty()) text += L"\n";
            text += line;
        }
        gOps.reportNotProgrammed(text);
    }
}

// Writing: the next 256 bytes of the image, 0xFF behind its end, with the progress line.
void SendNextBlock()
{
    if (Upload.finished) return;
    const HexImage& image = Image();
    if (Upload.imagePosition >= image.length) {
        NodeOutcome.writeFinished = true;
        NodeLink.busy = false;
        return;
    }
    std::array<std::uint8_t, kBlockDataSize> data;
    for (std::uint8_t& byte : data) {
        byte = Upload.imagePosition < image.length ? image.bytes[Upload.imagePosition++] : 0xFF;
    }
    PrepareWriteBlock(Upload.blockNumber, data);
    wchar_t progress[64];
    std::swprintf(progress, std::size(progress), L" >> File Upload Progress:  %3.1f %%",
                  static_cast<double>(Upload.imagePosition) / image.length * 100.0);
    ReplaceLastLine(progress);
    if (Upload.imagePosition == image.length) AddUploadLine(kBlankLine);
    ++Upload.blockNumber;
}

}  // namespace

void PlugUpload(FlasherTickSteps& steps, const UploadScreenOps& ops)
{
    steps.uploadScheduler = UploadScheduler;
    steps.nodeStateMachine = NodeStateMachine;
    gOps = ops;
}

void ListHexFiles(const std::wstring& folderPath)
{
    Upload.listing.clear();
    Upload.files = UploadFiles{};
    WIN32_FIND_DATA found;
    HANDLE find = FindFirstFile((folderPath + L"\\*.hex").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        std::wstring name = found.cFileName;
        if (name.size() > kMaxHexNameChars) name.resize(kMaxHexNameChars);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
        if (name == kDisplayIoFile.file) Upload.files.displayIo = true;
        if (name == kFanHeaterFile.file) Upload.files.fanHeater = true;
        if (name == kMainIoFile.file) Upload.files.mainIo = true;
        if (name == kMoistureGen1File.file || name == kMoistureGen2File.file) {
            Upload.files.moisture = true;
        }
        Upload.listing.push_back({name, found.nFileSizeLow});
    } while (Upload.listing.size() < kMaxHexListing && FindNextFile(find, &found));
    FindClose(find);
}

bool HasProgramFile(NodeId node)
{
    if (!ScanPresent(node)) return false;
    if (node == NodeId::displayIo) return Upload.files.displayIo;
    if (IsFanHeater(node)) return Upload.files.fanHeater;
    if (node == NodeId::mainIo) return Upload.files.mainIo;
    if (node == NodeId::moistureControl) return Upload.files.moisture;
    return false;
}

std::vector<std::wstring> MissingProgramFileLines()
{
    std::vector<std::wstring> lines;
    if (ScanPresent(NodeId::displayIo) && !Upload.files.displayIo) {
        lines.emplace_back(
            L"Display IO Program File Not present... Display IO will not be programmed!");
    }
    if (ScanPresent(NodeId::mainIo) && !Upload.files.mainIo) {
        lines.emplace_back(L"Main IO Program File Not present... Main IO will not be programmed!");
    }
    if (ScanPresent(NodeId::moistureControl) && !Upload.files.moisture) {
        lines.emplace_back(
            L"Moisture Control Program File not present... M/C will not be programmed!");
    }
    for (int n = 1; n <= 6; ++n) {
        const auto node = static_cast<NodeId>(static_cast<int>(NodeId::fanHeater1) + n - 1);
        if (!ScanPresent(node) || Upload.files.fanHeater) continue;
        wchar_t line[128];
        std::swprintf(line, std::size(line),
                      L"Fan/Heater #%d Program File Not present... Fan/Heater #%d will not be "
                      L"progammed!",
                      n, n);
        lines.emplace_back(line);
    }
    return lines;
}

std::vector<std::wstring> UploadNodeListLines()
{
    std::vector<std::wstring> lines;
    for (const Board& board : kBoards) {
        if (!HasProgramFile(board.node)) continue;
        const bool gen2 = board.node == NodeId::moistureControl && MoistureGen2();
        lines.push_back(std::wstring(board.name) + (gen2 ? L" (Gen 2)" : L" (Gen 1)"));
    }
    return lines;
}

void StartUploadRun(const std::wstring& folderName, const std::wstring& folderPath)
{
    Upload.finished = false;
    Upload.folderName = folderName;
    Upload.folderPath = folderPath;
    ClearList();
    AddUploadLine(kUploadStartingLine);
    AddUploadLine(L"   ");
    AddUploadLine((kProgramSelectionIs + folderName).c_str());
    AddUploadLine(L"   ");
    AddUploadLine(kFileContainsLine);
    for (const HexListingEntry& entry : Upload.listing) {
        std::wstring line = L"         " + entry.name;
        if (line.size() < kListingDotsTo) line.append(kListingDotsTo - line.size(), L'.');
        wchar_t size[32];
        std::swprintf(size, std::size(size), L"%0.6d", static_cast<int>(entry.size));
        line += size;
        AddUploadLine(line.c_str());
    }
    AddUploadLine(std::wstring(kListingRuleLength, L'-').c_str());
    Upload.done.fill(false);
    Upload.copyNoticeShown = false;
    Upload.executablesCopied = false;
    Upload.notProgrammed.clear();
    ResetExchange();
    Upload.active = true;
}

void StopUploadRun()
{
    Upload.active = false;
}

void ClearNodeStepFlags()
{
    // The lines of a refused file stay above the next board's, so the operator sees them.
    if (Upload.keepRefusalLines) {
        Upload.keepRefusalLines = false;
    } else {
        ClearList();
    }
    ClearStepOutcomes();
    Upload.fileLoaded = false;
    NodeLink.resendCountdown = kResendTicks;
    Upload.imagePosition = 0;
    Upload.blockNumber = 0;
}

void ResetUploadFlags()
{
    Upload.nodeInProgress = false;
    Upload.imagePosition = 0;
    Upload.nodeListRow = 0;
}

void UploadScheduler()
{
    if (Upload.finished) {
        ClearNodeStepFlags();
        NodeLink.noAnswerNotice = false;
        NodeLink.transmitPending = false;
        NodeLink.busy = false;
        NodeLink.awaitingAnswer = false;
        Upload.finished = false;
        if (gOps.closeDialog != nullptr) gOps.closeDialog();
        return;
    }
    if (!Upload.active || Upload.nodeInProgress) return;
    ClearNodeStepFlags();
    const Board* board = NextBoard();
    if (board == nullptr) {
        RunEndSequence();
        return;
    }
    Upload.done[static_cast<std::size_t>(board->node)] = true;
    const bool loaded = ReadBoardFile(*board);
    FlasherPause(kBoardStartPauseMs);
    HighlightNextRow();
    // A refused file leaves the board as it is: no link, no erase.
    if (!loaded) {
        Upload.keepRefusalLines = true;
        return;
    }
    Upload.fileLoaded = true;
    NodeLink.targetNode = board->node;
    Upload.nodeInProgress = true;
}

void NodeStateMachine()
{
    if (!Upload.active || !Upload.nodeInProgress) return;
    if (RunResendRules() == ResendOutcome::gaveUp) {
        Upload.nodeInProgress = false;
        AddUploadLine(kProgrammingTerminatedLine);
        return;
    }
    if (NodeLink.busy) return;
    NodeLink.failureCount = 0;
    NodeLink.noAnswerCount = 0;
    NodeLink.resendCountdown = kResendTicks;
    if (!NodeOutcome.linkOpen) {
        PrepareLinkOpen();
        NodeLink.busy = true;
    } else if (!NodeOutcome.eraseDone) {
        PrepareEraseFlash();
        NodeLink.busy = true;
    } else if (!NodeOutcome.startAddressAccepted) {
        PrepareFlashStartAddress(kFlashStartAddress);
        NodeLink.busy = true;
    } else if (!NodeOutcome.writeFinished) {
        NodeLink.busy = true;
        SendNextBlock();
    } else if (!NodeOutcome.linkClosed) {
        PrepareLinkClose();
        NodeLink.busy = true;
    } else {
        Upload.nodeInProgress = false;
    }
}

const HexImage& UploadImage()
{
    return Image();
}

void ResetUploadForTest()
{
    Upload = UploadState{};
    gOps = UploadScreenOps{};
}
