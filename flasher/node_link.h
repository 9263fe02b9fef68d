// The node programming link: NodeFlasher's one exchange at a time with the boards of the
// control network, through the Display I/O board on "COM1:". Everything runs on the
// user-interface thread from the 50 ms FlasherTick; nothing here blocks on the line.
//
// Requests (panel to Display I/O), LinkCrc16 over the content appended low byte first:
//   CODE  CONTENT                                   FRAME  ANSWER
//   0x01  01 02 node 01      LINK_CONTROL open         6      6
//   0x01  01 02 node 00      LINK_CONTROL close        6      6
//   0x02  02 02 00 FF        ERASE_FLASH               6      7
//   0x03  03 01 addr         FLASH_START_ADDRESS       5      6
//   0x04  04 00 block d*256  WRITE_BLOCK             261      5
//   0x05  05 00              NETWORK_SCAN              4    164
//
// Answers: OFFSET | SIZE | CONTENT
//   0     1   request code with bit 7 set (0x81-0x85)
//   1     1   payload length L
//   2     L   payload: 0x81 node (2), link state (3, 1 = open)
//                      0x82 erase status (4, 1 = done)
//                      0x83 start address status (3, 1 = accepted)
//                      0x84 write status (2, 0 = failed)
//                      0x85 15 node records of 5 bytes from byte 2
//   L+2   2   LinkCrc16 over bytes 0 .. L+1, low byte first
// An answer counts only when it is complete, carries the code of the request that is out,
// has the length that request expects, and its CRC is right. Anything else is no answer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "common/link/node_id.h"
#include "platform/win_types.h"

// ---- frames ---------------------------------------------------------------------------------
enum class NodeCommand : std::uint8_t {
    LINK_CONTROL = 0x01,
    ERASE_FLASH = 0x02,
    FLASH_START_ADDRESS = 0x03,
    WRITE_BLOCK = 0x04,
    NETWORK_SCAN = 0x05,
};
inline constexpr std::uint8_t kAnswerCodeBit = 0x80;

inline constexpr std::size_t kBlockDataSize = 256;
inline constexpr std::size_t kRequestBufferSize = 261;  // 259 content bytes and the CRC
inline constexpr std::size_t kAnswerBufferSize = 1024;

inline constexpr std::uint32_t kLinkControlFrameLength = 6;
inline constexpr std::uint32_t kEraseFlashFrameLength = 6;
inline constexpr std::uint32_t kFlashStartAddressFrameLength = 5;
inline constexpr std::uint32_t kWriteBlockFrameLength = 261;
inline constexpr std::uint32_t kNetworkScanFrameLength = 4;

inline constexpr std::uint32_t kLinkControlAnswerLength = 6;
inline constexpr std::uint32_t kEraseFlashAnswerLength = 7;
inline constexpr std::uint32_t kFlashStartAddressAnswerLength = 6;
inline constexpr std::uint32_t kWriteBlockAnswerLength = 5;
inline constexpr std::uint32_t kNetworkScanAnswerLength = 164;

// ---- timing (in FlasherTicks of 50 ms) -----------------------------------------------------
inline constexpr unsigned kFlasherTickMs = 50;
inline constexpr std::uint32_t kAnswerTimeoutTicks = 100;  // 5 s without an answer
inline constexpr std::uint32_t kResendTicks = 50;          // 2.5 s between resends
inline constexpr std::uint32_t kMaxRefusalResends = 6;     // the 7th refusal in a row ends a board
inline constexpr std::uint32_t kMaxSilenceResends = 10;    // resends for lack of an answer
inline constexpr DWORD kRefusalPauseMs = 2500;             // after a refused start address or write

// ---- exchange state (one set for the program) -----------------------------------------------
struct NodeLinkState {
    std::array<std::uint8_t, kRequestBufferSize> request{};  // the frame being sent
    std::uint32_t requestLength = 0;                         // bytes to write, CRC included
    bool transmitPending = false;                            // the transmit step sends it
    std::array<std::uint8_t, kAnswerBufferSize> answer{};    // bytes received since the send
    std::uint32_t receivedCount = 0;
    std::uint32_t expectedAnswerLength = 0;  // set with each request
    // The request on the wire (a new one may be prepared before its answer is decoded).
    std::uint8_t sentCode = 0;
    bool sentOpen = false;      // a LINK_CONTROL open request
    std::uint8_t sentNode = 0;  // its node
    std::uint32_t sentAnswerLength = 0;
    bool awaitingAnswer = false;       // a request is out, no answer taken yet
    bool answerReady = false;          // a checked answer is to be decoded on this tick
    std::uint32_t answerTimeout = 0;   // ticks left before "No Response From Display I/O."
    bool busy = false;                 // a request is out and its answer not decoded yet
    bool retryRequested = false;       // a refusal: send the same request again
    NodeId linkNode = NodeId::none;    // node of the open link (from the open answer)
    NodeId targetNode = NodeId::none;  // node the upload works on; address of open and close
    // Resends of the request that is out (run by the upload through RunResendRules).
    std::uint32_t failureCount = 0;     // refusals of the current request
    std::uint32_t noAnswerCount = 0;    // resends for lack of an answer
    std::uint32_t resendCountdown = 0;  // ticks until the next resend for lack of an answer
    bool noAnswerNotice = false;        // the transmit step shows "No Response... Trying Again."
    std::uint64_t answersRejected = 0;  // damaged, partial or foreign answers thrown away
};
extern NodeLinkState NodeLink;

// What the boards answered for the node being programmed; cleared by reset exchange and by
// the upload at the start of each node.
struct NodeLinkOutcome {
    bool linkOpen = false;
    bool linkClosed = false;
    bool eraseDone = false;
    bool eraseFailed = false;
    bool startAddressAccepted = false;
    bool startAddressRejected = false;
    bool writeFailed = false;
    bool writeFinished = false;
};
extern NodeLinkOutcome NodeOutcome;

// ---- the port -------------------------------------------------------------------------------
// The port calls of the link, replaceable by tests (a board behind them).
struct NodePortOps {
    DWORD (*read)(HANDLE port, std::uint8_t* buffer, DWORD size);  // never waits
    void (*write)(HANDLE port, const std::uint8_t* bytes, DWORD size);
    void (*purge)(HANDLE port, DWORD flags);  // PURGE_TXCLEAR / PURGE_RXCLEAR
};
// Null: the platform's serial port calls.
void SetNodePortOps(const NodePortOps* ops);

// Opens "COM1:" for the link (38400 baud, 8 data bits, even parity, reads that return at once).
// False when it cannot be opened: the caller shows kCouldNotOpenPortText; the link then goes
// on without a port and every request ends in the answer time-out.
bool OpenNodeLink();
void CloseNodeLink();
// The port of the link: INVALID_HANDLE_VALUE when closed. Tests may set their own.
HANDLE NodeLinkPort();
void SetNodeLinkPort(HANDLE port);

// ---- what the other parts of NodeFlasher plug into the tick ---------------------------------
struct FlasherTickSteps {
    void (*splashCheck)() = nullptr;       // step 1
    void (*uploadScheduler)() = nullptr;   // step 3
    void (*nodeStateMachine)() = nullptr;  // step 4
    void (*scanStep)() = nullptr;          // step 5
    // The scan answer (all 164 bytes) was decoded: mark the scan done and build the report.
    void (*scanAnswered)(std::span<const std::uint8_t> answer) = nullptr;
    // Reset exchange: the upload's and the scan's own flags and counters.
    void (*resetExchange)() = nullptr;
    void (*addUploadLine)(const wchar_t* line) = nullptr;
    void (*addScanLine)(const wchar_t* line) = nullptr;
    void (*pause)(DWORD milliseconds) = nullptr;  // null: the link holds (FlasherPause)
};
void SetFlasherTickSteps(const FlasherTickSteps& steps);
// The sinks plugged into the tick, for every part of NodeFlasher: a line to the upload list and
// a line to the scan list.
void AddUploadLine(const wchar_t* line);
void AddScanLine(const wchar_t* line);
// A pause of the link (after a board's file is read, after a refusal...): the rest of this
// tick and every tick until the time has passed do nothing but the splash check, while the
// screen stays alive. A pause hook in the steps takes its place (tests record pauses).
void FlasherPause(DWORD milliseconds);
bool FlasherHolding();

// ---- operations -----------------------------------------------------------------------------
// Each prepares one request: fills the request buffer, appends the CRC, sets the request
// length, the expected answer length and transmit pending, starts the resend accounting of a
// new request, and adds its line to the upload list (the scan's lines go to the scan list).
void PrepareLinkOpen();   // to the target node
void PrepareLinkClose();  // to the target node; the line names the link node
void PrepareEraseFlash();
void PrepareFlashStartAddress(std::uint8_t address);
// The progress line of a block is the upload's; nothing is added here.
void PrepareWriteBlock(std::uint8_t block, std::span<const std::uint8_t, kBlockDataSize> data);
void PrepareNetworkScan();

// Clears the steps a board has achieved (link open and closed, erase, start address, writing
// finished) and busy: the node steps start again from the link's opening.
void ClearStepOutcomes();

// Clears the outcome flags, the first 164 bytes of the answer buffer and the no-answer count,
// and lets the upload and the scan clear theirs. Used when a scan or an upload starts.
void ResetExchange();

// The upload's resend rules for the request that is out, run once per tick before it
// prepares anything new: a refusal sends the same request again, up to 6 times (the 7th
// refusal in a row gives up); a request without a valid answer is sent again every 2.5 s,
// 10 times at most.
enum class ResendOutcome : std::uint8_t {
    none,                // nothing sent again
    resentAfterRefusal,  // transmit pending and busy are set
    resentAfterSilence,  // the same, and the no-answer notice
    gaveUp,              // 7th refusal: busy is cleared, the board is to be abandoned
};
ResendOutcome RunResendRules();

// The 50 ms tick: splash check, receive, upload scheduler, node state machine, scan step,
// answer decoding, transmit. An answer taken in the receive step is decoded in the same tick.
// A tick that comes while a step's message box is open does nothing.
void FlasherTick();
// The link's own steps, for tests that run them one at a time.
void ReceiveStep();
void DecodeAnswer();
void TransmitStep();

// How far the bytes received so far go toward the answer to the request `requestCode` of
// `expectedLength` bytes.
enum class AnswerCheck : std::uint8_t { incomplete, complete, bad };
AnswerCheck CheckNodeAnswer(std::span<const std::uint8_t> received, std::uint8_t requestCode,
                            std::uint32_t expectedLength);

// Everything back to the program's start (tests).
void ResetNodeLinkForTest();
