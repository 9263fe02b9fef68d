// The communication thread: it owns "COM1:", wakes on the poll event (set every 350 ms by the
// 175 ms tick), reads the board's answer to its previous request without waiting, decodes it,
// and sends the next request. A request goes out on every cycle whether or not an answer came,
// and the purge before each write resynchronises the stream.
#include "dryer/link/comm_thread.h"

#include <array>
#include <atomic>

#include "common/link/link_crc16.h"
#include "common/link/link_port.h"
#include "dryer/link/answer_decoder.h"
#include "dryer/link/command_encoder.h"
#include "dryer/link/link_state.h"
#include "platform/devices/serial.h"
#include "platform/runtime/threads.h"
#include "platform/storage/files.h"

namespace {

DWORD PlatformRead(HANDLE port, std::uint8_t* buffer, DWORD size)
{
    DWORD got = 0;
    if (!ReadFile(port, buffer, size, &got, nullptr)) return 0;
    return got;
}
void PlatformWrite(HANDLE port, const std::uint8_t* bytes, DWORD size)
{
    DWORD written = 0;
    WriteFile(port, bytes, size, &written, nullptr);  // errors are not checked: next cycle
}
void PlatformPurge(HANDLE port)
{
    PurgeComm(port, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
}

constexpr LinkPortOps kPlatformOps{PlatformRead, PlatformWrite, PlatformPurge};
std::atomic<const LinkPortOps*> portOps{&kPlatformOps};

// Communication thread only.
std::array<std::uint8_t, kAnswerFrameSize> receiveBuffer{};
std::array<std::uint8_t, 128> transmitBuffer{};
static_assert(transmitBuffer.size() >= kMaxCommandFrame);

struct Counters {
    std::atomic<std::uint64_t> cycles{0};
    std::atomic<std::uint64_t> answersAccepted{0};
    std::atomic<std::uint64_t> answersRejected{0};
    std::atomic<std::uint64_t> polls{0};
    std::atomic<std::uint64_t> commands{0};
    std::atomic<std::uint64_t> linkResets{0};
    std::atomic<std::uint64_t> pollSignals{0};
} counters;

void Count(std::atomic<std::uint64_t>& counter)
{
    counter.fetch_add(1, std::memory_order_relaxed);
}

// Link state of the open link.
std::atomic<HANDLE> pollEvent{nullptr};
std::atomic<bool> stopRequested{false};
std::atomic<bool> linkOpen{false};
HANDLE linkPort = INVALID_HANDLE_VALUE;
HANDLE linkThread = nullptr;

DWORD CommunicationThread(void*)
{
    for (;;) {
        const DWORD wait = WaitForSingleObject(pollEvent.load(), INFINITE);
        if (stopRequested.load()) return 0;
        if (wait != WAIT_OBJECT_0) continue;
        RunExchangeCycle(linkPort);
    }
}

}  // namespace

void SetLinkPortOps(const LinkPortOps* ops)
{
    portOps = ops != nullptr ? ops : &kPlatformOps;
}

namespace {

LinkRequest ExchangeOnce(HANDLE port)
{
    const LinkPortOps& ops = *portOps.load();

    const DWORD got = ops.read(port, receiveBuffer.data(), kAnswerFrameSize);
    if (got == kAnswerFrameSize && AcceptAnswerFrame(receiveBuffer)) {
        Count(counters.answersAccepted);
    } else if (got > 0) {
        Count(counters.answersRejected);
    }

    std::uint32_t holdOff = CommandHoldOff.load();
    if (holdOff > 0) CommandHoldOff.store(--holdOff);

    if (holdOff == 0 && LinkResetRequest.exchange(0) != 0) {
        CommandHoldOff.store(kCommandHoldOffReload);
        transmitBuffer[0] = 0x06;
        transmitBuffer[1] = 0x00;
        LinkCrc16Append(transmitBuffer, 2);
        ops.purge(port);
        ops.write(port, transmitBuffer.data(), kLinkResetFrameSize);
        Count(counters.linkResets);
        return LinkRequest::linkReset;
    }

    // While commands are held back the frame is not even built, so that one-shot rows (the
    // clock, the units-and-options requests) stay pending until they can really go out.
    if (holdOff < 2 && BuildCommandFrame(transmitBuffer)) {
        const std::size_t length = transmitBuffer[0];
        LinkCrc16Append(transmitBuffer, length - 2);
        ops.purge(port);
        ops.write(port, transmitBuffer.data(), static_cast<DWORD>(length));
        Count(counters.commands);
        return LinkRequest::command;
    }

    ops.purge(port);
    transmitBuffer[0] = 0x07;
    for (std::size_t i = 1; i < 5; ++i) transmitBuffer[i] = 0x00;
    LinkCrc16Append(transmitBuffer, 5);
    ops.write(port, transmitBuffer.data(), kPollFrameSize);
    Count(counters.polls);
    return LinkRequest::poll;
}

}  // namespace

LinkRequest RunExchangeCycle(HANDLE port)
{
    const LinkRequest request = ExchangeOnce(port);
    // counted once the request is written; release: what the decode did is visible to a
    // reader that sees the count
    counters.cycles.fetch_add(1, std::memory_order_release);
    return request;
}

LinkCounters GetLinkCounters()
{
    return LinkCounters{counters.cycles.load(),          counters.answersAccepted.load(),
                        counters.answersRejected.load(), counters.polls.load(),
                        counters.commands.load(),        counters.linkResets.load(),
                        counters.pollSignals.load()};
}

bool OpenDryerLink()
{
    if (linkOpen.load()) return false;
    const HANDLE port = OpenLinkPort(L"COM1:");
    if (port == INVALID_HANDLE_VALUE) return false;
    // The event exists before the thread starts, so the thread never spins on a failed wait.
    const HANDLE event = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    if (event == nullptr) {
        CloseHandle(port);
        return false;
    }
    linkPort = port;
    stopRequested = false;
    pollEvent = event;
    linkThread = CreateThread(nullptr, 0, CommunicationThread, nullptr, 0, nullptr);
    if (linkThread == nullptr) {
        pollEvent = nullptr;
        CloseHandle(event);
        CloseHandle(port);
        linkPort = INVALID_HANDLE_VALUE;
        return false;
    }
    linkOpen = true;
    return true;
}

void StopDryerLink()
{
    if (!linkOpen.load()) return;
    stopRequested = true;
    const HANDLE event = pollEvent.load();
    if (event == nullptr) return;
    SetEvent(event);
    Count(counters.pollSignals);
    if (linkThread != nullptr) {
        WaitForSingleObject(linkThread, INFINITE);
        CloseHandle(linkThread);
        linkThread = nullptr;
    }
    pollEvent = nullptr;
    if (event != nullptr) CloseHandle(event);
    CloseHandle(linkPort);
    linkPort = INVALID_HANDLE_VALUE;
    linkOpen = false;
}

void SignalPollEvent()
{
    const HANDLE event = pollEvent.load();
    if (event == nullptr) return;
    SetEvent(event);
    Count(counters.pollSignals);
}

bool DryerLinkIsOpen()
{
    return linkOpen.load();
}
