// The in-memory line and the stand-in upload for the programming link tests.
#include "tests/flasher/node_link_support.h"

#include <algorithm>
#include <memory>

#include "common/link/link_crc16.h"
#include "platform/devices/serial.h"

namespace {

std::unique_ptr<FakeNodeLine> line;
LinkRecorder recorder;
MiniUploadState mini;

DWORD FakeRead(HANDLE, std::uint8_t* buffer, DWORD size)
{
    const std::size_t n =
        std::min({static_cast<std::size_t>(size), line->bytesPerRead, line->toPanel.size()});
    for (std::size_t i = 0; i < n; ++i) {
        buffer[i] = line->toPanel.front();
        line->toPanel.pop_front();
    }
    return static_cast<DWORD>(n);
}

void FakeWrite(HANDLE, const std::uint8_t* bytes, DWORD size)
{
    line->sent.emplace_back(bytes, bytes + size);
    if (!line->boardConnected) return;
    line->Inject(line->board.Receive(std::span(bytes, size), 0));
}

void FakePurge(HANDLE, DWORD flags)
{
    if ((flags & PURGE_RXCLEAR) != 0) {
        line->toPanel.clear();
        ++line->rxPurges;
    }
}

constexpr NodePortOps kFakeOps{FakeRead, FakeWrite, FakePurge};

void MiniStateMachine()
{
    if (!mini.inProgress) return;
    switch (RunResendRules()) {
        case ResendOutcome::gaveUp:
            mini.inProgress = false;
            mini.gaveUp = true;
            return;
        case ResendOutcome::resentAfterRefusal: ++mini.resentAfterRefusal; break;
        case ResendOutcome::resentAfterSilence: ++mini.resentAfterSilence; break;
        case ResendOutcome::none: break;
    }
    if (NodeLink.busy) return;
    NodeLink.busy = true;
    if (!NodeOutcome.linkOpen) return PrepareLinkOpen();
    if (!NodeOutcome.eraseDone) return PrepareEraseFlash();
    if (!NodeOutcome.startAddressAccepted) return PrepareFlashStartAddress(0);
    if (!NodeOutcome.writeFinished) {
        if (mini.position >= mini.image.size()) {
            NodeOutcome.writeFinished = true;
        } else {
            std::array<std::uint8_t, kBlockDataSize> data;
            data.fill(0xFF);
            const std::size_t n = std::min(kBlockDataSize, mini.image.size() - mini.position);
            std::copy_n(mini.image.begin() + static_cast<std::ptrdiff_t>(mini.position), n,
                        data.begin());
            mini.position += n;
            PrepareWriteBlock(mini.block++, data);
            return;
        }
    }
    if (!NodeOutcome.linkClosed) return PrepareLinkClose();
    NodeLink.busy = false;
    mini.inProgress = false;
}

}  // namespace

FakeNodeLine& InstallFakeNodeLine()
{
    ResetNodeLinkForTest();
    line = std::make_unique<FakeNodeLine>();
    recorder = LinkRecorder{};
    mini = MiniUploadState{};
    SetNodePortOps(&kFakeOps);
    SetNodeLinkPort(reinterpret_cast<HANDLE>(std::uintptr_t{0x10}));
    FlasherTickSteps steps;
    steps.addUploadLine = [](const wchar_t* text) { recorder.uploadLines.emplace_back(text); };
    steps.addScanLine = [](const wchar_t* text) { recorder.scanLines.emplace_back(text); };
    steps.pause = [](DWORD ms) { recorder.pauses.push_back(ms); };
    steps.scanAnswered = [](std::span<const std::uint8_t> answer) {
        recorder.scanAnswer.assign(answer.begin(), answer.end());
    };
    steps.resetExchange = [] { ++recorder.resetExchangeCalls; };
    SetFlasherTickSteps(steps);
    return *line;
}

LinkRecorder& Recorder()
{
    return recorder;
}

std::vector<std::uint8_t> NodeAnswer(std::uint8_t code, const std::vector<std::uint8_t>& payload)
{
    const std::size_t n = 2 + payload.size();
    std::vector<std::uint8_t> frame(n + 2, 0);
    frame[0] = code;
    frame[1] = static_cast<std::uint8_t>(payload.size());
    std::copy(payload.begin(), payload.end(), frame.begin() + 2);
    LinkCrc16Append(frame, n);
    return frame;
}

MiniUploadState& MiniUpload()
{
    return mini;
}

void InstallMiniUpload(NodeId node, std::vector<std::uint8_t> image)
{
    mini = MiniUploadState{};
    mini.image = std::move(image);
    mini.inProgress = true;
    NodeLink.targetNode = node;
    NodeOutcome = NodeLinkOutcome{};
    FlasherTickSteps steps;
    steps.addUploadLine = [](const wchar_t* text) { recorder.uploadLines.emplace_back(text); };
    steps.addScanLine = [](const wchar_t* text) { recorder.scanLines.emplace_back(text); };
    steps.pause = [](DWORD ms) { recorder.pauses.push_back(ms); };
    steps.nodeStateMachine = MiniStateMachine;
    SetFlasherTickSteps(steps);
}

int TickUntil(bool (*done)(), int maxTicks)
{
    int ticks = 0;
    while (ticks < maxTicks && !done()) {
        FlasherTick();
        ++ticks;
    }
    return ticks;
}
