// The programming link's exchange: preparing requests, the receive, decode and transmit steps
// of the FlasherTick, and the resend rules of the request that is out. One request is out at a
// time; its answer is taken only whole and checked, so a damaged or partial answer is never
// mistaken for a board's yes.
#include "flasher/node_link.h"

#include <algorithm>

#include "common/link/link_crc16.h"
#include "common/link/link_port.h"
#include "flasher/node_messages.h"
#include "platform/devices/serial.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/threads.h"
#include "platform/storage/files.h"

NodeLinkState NodeLink;
NodeLinkOutcome NodeOutcome;

namespace {

constexpr std::uint8_t kOpenLink = 0x01;
constexpr std::uint8_t kCloseLink = 0x00;
constexpr std::uint8_t kLinkStateOpen = 1;
constexpr std::uint8_t kLinkStateClosed = 0;
constexpr std::uint8_t kEraseDone = 1;
constexpr std::uint8_t kStartAddressAccepted = 1;
constexpr std::uint8_t kWriteRefused = 0;
constexpr std::size_t kScanAnswerClear = kNetworkScanAnswerLength;  // cleared before a scan

// Answer bytes the decoder reads, by answer.
constexpr std::size_t kLinkNodeByte = 2;
constexpr std::size_t kLinkStateByte = 3;
constexpr std::size_t kEraseStatusByte = 4;
constexpr std::size_t kStartAddressStatusByte = 3;
constexpr std::size_t kWriteStatusByte = 2;

DWORD PlatformRead(HANDLE port, std::uint8_t* buffer, DWORD size)
{
    DWORD got = 0;
    if (!ReadFile(port, buffer, size, &got, nullptr)) return 0;  // a failed read is no bytes
    return got;
}
void PlatformWrite(HANDLE port, const std::uint8_t* bytes, DWORD size)
{
    DWORD written = 0;
    WriteFile(port, bytes, size, &written, nullptr);  // ignored: the answer time-out tells
}
void PlatformPurge(HANDLE port, DWORD flags)
{
    PurgeComm(port, flags);
}

constexpr NodePortOps kPlatformOps{PlatformRead, PlatformWrite, PlatformPurge};
const NodePortOps* portOps = &kPlatformOps;
HANDLE linkPort = INVALID_HANDLE_VALUE;
FlasherTickSteps tickSteps;
std::int64_t holdUntilMs = 0;  // panel time until which the link's steps wait

void AddRow(NodeMessageTable table, NodeId node)
{
    AddUploadLine(NodeMessage(table, static_cast<unsigned>(node)));
}
void Pause(DWORD milliseconds)
{
    FlasherPause(milliseconds);
}

// Appends the CRC behind `contentLength` bytes of the request and arms it for the transmit
// step. A new request starts its own resend accounting.
void FinishRequest(std::uint32_t contentLength, std::uint32_t answerLength)
{
    LinkCrc16Append(NodeLink.request, contentLength);
    NodeLink.requestLength = contentLength + 2;
    NodeLink.expectedAnswerLength = answerLength;
    NodeLink.transmitPending = true;
    NodeLink.failureCount = 0;
    NodeLink.noAnswerCount = 0;
    NodeLink.resendCountdown = kResendTicks;
}

void PrepareLinkControl(std::uint8_t action)
{
    auto& r = NodeLink.request;
    r[0] = static_cast<std::uint8_t>(NodeCommand::LINK_CONTROL);
    r[1] = 0x02;
    r[2] = static_cast<std::uint8_t>(NodeLink.targetNode);
    r[3] = action;
    FinishRequest(kLinkControlFrameLength - 2, kLinkControlAnswerLength);
}

void DecodeLinkAnswer(const std::array<std::uint8_t, kAnswerBufferSize>& a)
{
    const auto node = static_cast<NodeId>(a[kLinkNodeByte]);
    const std::uint8_t state = a[kLinkStateByte];
    if (NodeLink.sentOpen && state != kLinkStateClosed) {
        // An open link to any other board than the one asked for would send this board's
        // program to it: such an answer counts as a failed open.
        const bool ours = a[kLinkNodeByte] == NodeLink.sentNode;
        if (state == kLinkStateOpen && ours) {
            NodeLink.linkNode = node;
            NodeLink.targetNode = node;
            NodeOutcome.linkOpen = true;
            NodeLink.busy = false;
            AddRow(NodeMessageTable::linkOpen, node);
            AddUploadLine(kBlankLine);
            return;
        }
        AddRow(NodeMessageTable::linkFailed, NodeLink.linkNode);
        NodeLink.linkNode = NodeId::none;
        NodeLink.retryRequested = true;  // busy stays set: the same request goes again
        return;
    }
    NodeLink.busy = false;
    NodeOutcome.linkClosed = true;
    NodeLink.targetNode = NodeId::none;
    AddRow(NodeMessageTable::linkClosed, node);
    AddUploadLine(kBlankLine);
    NodeLink.linkNode = NodeId::none;
}

void DecodeEraseAnswer(const std::array<std::uint8_t, kAnswerBufferSize>& a)
{
    NodeLink.busy = false;
    if (a[kEraseStatusByte] == kEraseDone) {
        NodeOutcome.eraseDone = true;
        AddRow(NodeMessageTable::eraseDone, NodeLink.linkNode);
        AddUploadLine(kBlankLine);
        return;
    }
    NodeOutcome.eraseFailed = true;
    AddRow(NodeMessageTable::eraseFailed, NodeLink.linkNode);
    NodeLink.retryRequested = true;
}

void DecodeStartAddressAnswer(const std::array<std::uint8_t, kAnswerBufferSize>& a)
{
    NodeLink.busy = false;
    if (a[kStartAddressStatusByte] == kStartAddressAccepted) {
        AddUploadLine(kStartAddressAcceptedLine);
        AddUploadLine(kBlankLine);
        Pause(kRefusalPauseMs);
        NodeOutcome.startAddressAccepted = true;
        return;
    }
    NodeOutcome.startAddressRejected = true;
    AddUploadLine(kStartAddressRejectedLine);
    Pause(kRefusalPauseMs);
    NodeLink.retryRequested = true;
}

void DecodeWriteAnswer(const std::array<std::uint8_t, kAnswerBufferSize>& a)
{
    NodeLink.busy = false;
    if (a[kWriteStatusByte] != kWriteRefused) return;  // written: the upload sends the next block
    AddUploadLine(kWriteFailedLine);
    Pause(kRefusalPauseMs);
    NodeOutcome.writeFailed = true;
    NodeLink.retryRequested = true;
}

}  // namespace

void AddUploadLine(const wchar_t* line)
{
    if (tickSteps.addUploadLine != nullptr) tickSteps.addUploadLine(line);
}

void AddScanLine(const wchar_t* line)
{
    if (tickSteps.addScanLine != nullptr) tickSteps.addScanLine(line);
}

void FlasherPause(DWORD milliseconds)
{
    if (tickSteps.pause != nullptr) {
        tickSteps.pause(milliseconds);
        return;
    }
    holdUntilMs = platform::NowMs() + milliseconds;
}

bool FlasherHolding()
{
    return platform::NowMs() < holdUntilMs;
}

void SetNodePortOps(const NodePortOps* ops)
{
    portOps = ops != nullptr ? ops : &kPlatformOps;
}

bool OpenNodeLink()
{
    if (linkPort != INVALID_HANDLE_VALUE) return true;
    linkPort = OpenLinkPort(L"COM1:");
    return linkPort != INVALID_HANDLE_VALUE;
}

void CloseNodeLink()
{
    if (linkPort == INVALID_HANDLE_VALUE) return;
    CloseHandle(linkPort);
    linkPort = INVALID_HANDLE_VALUE;
}

HANDLE NodeLinkPort()
{
    return linkPort;
}

void SetNodeLinkPort(HANDLE port)
{
    linkPort = port;
}

void SetFlasherTickSteps(const FlasherTickSteps& steps)
{
    tickSteps = steps;
}

void PrepareLinkOpen()
{
    PrepareLinkControl(kOpenLink);
    AddRow(NodeMessageTable::openAttempt, NodeLink.targetNode);
}

void PrepareLinkClose()
{
    PrepareLinkControl(kCloseLink);
    AddRow(NodeMessageTable::closeAttempt, NodeLink.linkNode);
}

void PrepareEraseFlash()
{
    auto& r = NodeLink.request;
    r[0] = static_cast<std::uint8_t>(NodeCommand::ERASE_FLASH);
    r[1] = 0x02;
    r[2] = 0x00;
    r[3] = 0xFF;
    FinishRequest(kEraseFlashFrameLength - 2, kEraseFlashAnswerLength);
    AddRow(NodeMessageTable::eraseAttempt, NodeLink.linkNode);
}

void PrepareFlashStartAddress(std::uint8_t address)
{
    auto& r = NodeLink.request;
    r[0] = static_cast<std::uint8_t>(NodeCommand::FLASH_START_ADDRESS);
    r[1] = 0x01;
    r[2] = address;
    FinishRequest(kFlashStartAddressFrameLength - 2, kFlashStartAddressAnswerLength);
    AddUploadLine(kSendingStartAddressLine);
}

void PrepareWriteBlock(std::uint8_t block, std::span<const std::uint8_t, kBlockDataSize> data)
{
    auto& r = NodeLink.request;
    r[0] = static_cast<std::uint8_t>(NodeCommand::WRITE_BLOCK);
    r[1] = 0x00;
    r[2] = block;
    std::copy(data.begin(), data.end(), r.begin() + 3);
    FinishRequest(kWriteBlockFrameLength - 2, kWriteBlockAnswerLength);
}

void PrepareNetworkScan()
{
    auto& r = NodeLink.request;
    r[0] = static_cast<std::uint8_t>(NodeCommand::NETWORK_SCAN);
    r[1] = 0x00;
    FinishRequest(kNetworkScanFrameLength - 2, kNetworkScanAnswerLength);
    AddScanLine(kScanInProgressLine);
    AddScanLine(kBlankLine);
}

void ClearStepOutcomes()
{
    NodeOutcome.linkOpen = false;
    NodeOutcome.linkClosed = false;
    NodeOutcome.eraseDone = false;
    NodeOutcome.startAddressAccepted = false;
    NodeOutcome.writeFinished = false;
    NodeLink.busy = false;
}

void ResetExchange()
{
    NodeOutcome = NodeLinkOutcome{};
    std::fill_n(NodeLink.answer.begin(), kScanAnswerClear, std::uint8_t{0});
    NodeLink.noAnswerCount = 0;
    if (tickSteps.resetExchange != nullptr) tickSteps.resetExchange();
}

ResendOutcome RunResendRules()
{
    ResendOutcome outcome = ResendOutcome::none;
    if (NodeLink.retryRequested) {
        NodeLink.retryRequested = false;
        if (NodeLink.failureCount >= kMaxRefusalResends) {
            NodeLink.failureCount = 0;
            NodeLink.busy = false;
            return ResendOutcome::gaveUp;
        }
        ++NodeLink.failureCount;
        NodeLink.transmitPending = true;
        NodeLink.busy = true;
        // The wait for an answer starts again with this send, so that a slow answer to it is
        // not overtaken by a second copy of the same request.
        NodeLink.resendCountdown = kResendTicks;
        outcome = ResendOutcome::resentAfterRefusal;
    }
    // Nothing out, or its answer is in and decoded on this tick: nothing to send again (a
    // second copy would bring a second answer that the next request could take for its own).
    if (!NodeLink.busy || NodeLink.answerReady) return outcome;
    if (NodeLink.resendCountdown > 0) {
        --NodeLink.resendCountdown;
        return outcome;
    }
    NodeLink.resendCountdown = kResendTicks;
    if (NodeLink.noAnswerCount < kMaxSilenceResends) {
        ++NodeLink.noAnswerCount;
        NodeLink.noAnswerNotice = true;
        NodeLink.transmitPending = true;
        NodeLink.busy = true;
        return ResendOutcome::resentAfterSilence;
    }
    return outcome;
}

AnswerCheck CheckNodeAnswer(std::span<const std::uint8_t> received, std::uint8_t requestCode,
                            std::uint32_t expectedLength)
{
    if (received.empty()) return AnswerCheck::incomplete;
    if (received[0] != (requestCode | kAnswerCodeBit)) return AnswerCheck::bad;
    // The length byte is refused before anything behind it is trusted.
    if (received.size() >= 2 && std::uint32_t{received[1]} + 4 != expectedLength) {
        return AnswerCheck::bad;
    }
    if (received.size() < expectedLength) return AnswerCheck::incomplete;
    if (!LinkCrc16Check(received, expectedLength - 2)) return AnswerCheck::bad;
    return AnswerCheck::complete;
}

void ReceiveStep()
{
    if (!NodeLink.awaitingAnswer) return;
    if (NodeLink.answerTimeout == 0) {
        NodeLink.awaitingAnswer = false;
        AddUploadLine(kNoResponseLine);
        AddScanLine(kNoResponseLine);
        return;
    }
    --NodeLink.answerTimeout;

    // Only the answer's own bytes are read; anything behind it stays in the port and goes
    // with the purge before the next send.
    const std::uint32_t expected =
        std::min<std::uint32_t>(NodeLink.sentAnswerLength, kAnswerBufferSize);
    if (NodeLink.receivedCount < expected) {
        const DWORD got = portOps->read(linkPort, NodeLink.answer.data() + NodeLink.receivedCount,
                                        expected - NodeLink.receivedCount);
        NodeLink.receivedCount += std::min<DWORD>(got, expected - NodeLink.receivedCount);
    }
    const std::span<const std::uint8_t> received(NodeLink.answer.data(), NodeLink.receivedCount);
    switch (CheckNodeAnswer(received, NodeLink.sentCode, expected)) {
        case AnswerCheck::incomplete: return;
        case AnswerCheck::complete:
            NodeLink.awaitingAnswer = false;
            NodeLink.answerReady = true;
            return;
        case AnswerCheck::bad:
            // No answer, as far as the upload is concerned: the request stays out and is sent
            // again by the resend rules; the time-out reports a line that stays bad.
            ++NodeLink.answersRejected;
            NodeLink.receivedCount = 0;
            portOps->purge(linkPort, PURGE_RXABORT | PURGE_RXCLEAR);
            return;
    }
}

void DecodeAnswer()
{
    if (!NodeLink.answerReady) return;
    NodeLink.answerReady = false;
    const auto& a = NodeLink.answer;
    switch (a[0]) {
        case static_cast<std::uint8_t>(NodeCommand::LINK_CONTROL) | kAnswerCodeBit:
            DecodeLinkAnswer(a);
            return;
        case static_cast<std::uint8_t>(NodeCommand::ERASE_FLASH) | kAnswerCodeBit:
            DecodeEraseAnswer(a);
            return;
        case static_cast<std::uint8_t>(NodeCommand::FLASH_START_ADDRESS) | kAnswerCodeBit:
            DecodeStartAddressAnswer(a);
            return;
        case static_cast<std::uint8_t>(NodeCommand::WRITE_BLOCK) | kAnswerCodeBit:
            DecodeWriteAnswer(a);
            return;
        case static_cast<std::uint8_t>(NodeCommand::NETWORK_SCAN) | kAnswerCodeBit:
            NodeLink.busy = false;
            if (tickSteps.scanAnswered != nullptr) {
                tickSteps.scanAnswered(std::span(a.data(), kNetworkScanAnswerLength));
            }
            return;
        default: return;  // no request has this answer
    }
}

void TransmitStep()
{
    if (NodeLink.noAnswerNotice) {
        NodeLink.noAnswerNotice = false;
        AddScanLine(kTryingAgainLine);
        AddUploadLine(kTryingAgainLine);
    }
    if (!NodeLink.transmitPending) return;
    NodeLink.transmitPending = false;
    NodeLink.receivedCount = 0;
    // Both queues: bytes left over from an earlier answer must not start the next one.
    portOps->purge(linkPort, PURGE_TXABORT | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_RXCLEAR);
    NodeLink.sentCode = NodeLink.request[0];
    NodeLink.sentOpen =
        NodeLink.request[0] == static_cast<std::uint8_t>(NodeCommand::LINK_CONTROL) &&
        NodeLink.request[3] == kOpenLink;
    NodeLink.sentNode = NodeLink.request[2];
    NodeLink.sentAnswerLength = NodeLink.expectedAnswerLength;
    NodeLink.awaitingAnswer = true;
    NodeLink.answerReady = false;
    NodeLink.answerTimeout = kAnswerTimeoutTicks;
    portOps->write(linkPort, NodeLink.request.data(), NodeLink.requestLength);
}

void FlasherTick()
{
    // A message box opened by a step (a failed copy, a refused file) runs its own message loop,
    // in which the timer keeps coming: the steps wait until the box is answered.
    static bool inTick = false;
    if (inTick) return;
    inTick = true;
    if (tickSteps.splashCheck != nullptr) tickSteps.splashCheck();
    // A pause asked for by a step holds the rest of its tick and the ticks after it; the
    // screen goes on painting meanwhile.
    void (*const steps[])() = {ReceiveStep,
                               tickSteps.uploadScheduler,
                               tickSteps.nodeStateMachine,
                               tickSteps.scanStep,
                               DecodeAnswer,
                               TransmitStep};
    for (void (*step)() : steps) {
        if (FlasherHolding()) break;
        if (step != nullptr) step();
    }
    inTick = false;
}

void ResetNodeLinkForTest()
{
    NodeLink = NodeLinkState{};
    NodeOutcome = NodeLinkOutcome{};
    tickSteps = FlasherTickSteps{};
    portOps = &kPlatformOps;
    linkPort = INVALID_HANDLE_VALUE;  // a test's stand-in handle is not the program's port
    holdUntilMs = 0;
}
