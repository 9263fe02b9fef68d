// A test bench for NodeFlasher's programming link: a serial line in memory with the simulated
// Display I/O board and its network behind it (or a script of raw answer bytes), recorders for
// the upload and scan lists and the pauses, and a small stand-in for the upload's node state
// machine that walks one board through open, erase, start address, blocks and close.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "flasher/node_link.h"
#include "sim/display_io_board.h"

struct FakeNodeLine {
    sim::DisplayIoBoard board;
    bool boardConnected = true;                   // false: only injected bytes come back
    std::size_t bytesPerRead = SIZE_MAX;          // a slow line hands over this many per read
    std::deque<std::uint8_t> toPanel;             // bytes waiting in the port
    std::vector<std::vector<std::uint8_t>> sent;  // every request written, in order
    int rxPurges = 0;

    void Inject(const std::vector<std::uint8_t>& bytes)
    {
        toPanel.insert(toPanel.end(), bytes.begin(), bytes.end());
    }
};

// What the link showed and did.
struct LinkRecorder {
    std::vector<std::wstring> uploadLines;
    std::vector<std::wstring> scanLines;
    std::vector<DWORD> pauses;
    std::vector<std::uint8_t> scanAnswer;  // what the scan hook was given
    int resetExchangeCalls = 0;
};

// Resets the link and puts the line, the recorders and the hooks in place (no tick steps of
// the other parts). The line and the recorder live until the next call.
FakeNodeLine& InstallFakeNodeLine();
LinkRecorder& Recorder();

// An answer frame: code, payload length, payload, LinkCrc16.
std::vector<std::uint8_t> NodeAnswer(std::uint8_t code, const std::vector<std::uint8_t>& payload);

// The stand-in node state machine (tick step 4): resend rules, then the next step of the
// board at NodeLink.targetNode, sending `image` in 256-byte blocks padded with 0xFF. Install
// with InstallMiniUpload; read its progress from MiniUpload().
struct MiniUploadState {
    std::vector<std::uint8_t> image;
    std::size_t position = 0;
    std::uint8_t block = 0;
    bool inProgress = false;
    bool gaveUp = false;
    int resentAfterRefusal = 0;
    int resentAfterSilence = 0;
};
MiniUploadState& MiniUpload();
void InstallMiniUpload(NodeId node, std::vector<std::uint8_t> image);

// Runs ticks until `done` holds or `maxTicks` ran; returns the ticks run.
int TickUntil(bool (*done)(), int maxTicks);
