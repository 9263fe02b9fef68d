// The control network behind the simulated Display I/O board, as the firmware loader sees it:
// fifteen slots of boards, each with its address, type, generation, software versions and
// flash, and the Display I/O's side of the programming requests (open and close a link to a
// board, erase its flash, set the start address, write 256-byte blocks, scan the network).
// Faults for the loader's tests are switched on by control commands (NetworkControlHelp()).
// Not thread-safe; the Display I/O board serialises calls.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace sim {

inline constexpr int kNetworkSlots = 15;               // records of a scan answer
inline constexpr std::size_t kFlashSize = 512 * 1024;  // a board's program flash
inline constexpr std::size_t kScanRecordSize = 5;
inline constexpr std::size_t kScanPayloadLength = 160;

// Board types as a scan record names them.
inline constexpr std::uint8_t kMoistureControlType = 0;
inline constexpr std::uint8_t kDisplayIoType = 8;
inline constexpr std::uint8_t kMainIoType = 9;
inline constexpr std::uint8_t kFanHeaterType = 10;
inline constexpr std::uint8_t kFanHeaterInterfaceType = 11;

// Scan record status bits; the high nibble is the generation minus 1.
inline constexpr std::uint8_t kNothingToReport = 0x01;
inline constexpr std::uint8_t kInvalidAddress = 0x02;
inline constexpr std::uint8_t kConflictingAddress = 0x04;

struct NetworkBoard {
    bool fitted = false;
    std::uint8_t address = 0;  // low nibble: the NodeId the board answers to
    std::uint8_t type = 0;
    std::uint8_t generation = 1;
    std::uint8_t bootVersion = 201;     // hundredths: 2.01
    std::uint8_t programVersion = 105;  // hundredths: 1.05
    int statusOverride = -1;            // a status byte forced by the control channel
    // The flash as far as it was ever written; beyond its end the flash reads erased (0xFF).
    std::vector<std::uint8_t> flash;
};

// What the Display I/O did with programming requests, for tests and the status line.
struct NetworkCounters {
    std::uint64_t requests = 0;       // programming requests received
    std::uint64_t unanswered = 0;     // dropped by the control channel
    std::uint64_t refused = 0;        // answered with a refusal
    std::uint64_t blocksWritten = 0;  // write blocks taken into a flash (resends included)
    std::uint64_t erases = 0;
};

class BoardNetwork {
public:
    explicit BoardNetwork(int heaters = 1);

    // The network of a dryer with `heaters` Fan/Heaters: Display I/O, Fan/Heater #1 to #n,
    // Main I/O and a generation 1 Moisture Control, each in the slot of its NodeId; flashes
    // erased, faults cleared.
    void Rebuild(int heaters);

    // The answer to one complete, CRC-correct programming request; empty when the board
    // network stays silent.
    std::vector<std::uint8_t> Handle(std::span<const std::uint8_t> request);

    // True when `command` is one of the network's control commands.
    static bool IsNetworkCommand(const std::string& command);
    // One network control command split into words (words[0] is the command). `heaters` is
    // the dryer's Fan/Heater count, for "network".
    std::string Control(const std::vector<std::string>& words, int heaters);

    // The flash of a slot (1-15) as Intel HEX: extended linear address records (flash
    // position 0 is linear address 0x10000, as the loader maps its files), 16-byte data
    // records for every line that is not fully erased, and the end-of-file record.
    std::string FlashHex(int slot) const;

    const NetworkBoard& board(int slot) const
    {
        return boards_[static_cast<std::size_t>(slot - 1)];
    }
    NetworkBoard& board(int slot) { return boards_[static_cast<std::size_t>(slot - 1)]; }
    std::uint8_t StatusByte(int slot) const;
    int linkedSlot() const { return linkedSlot_; }  // 0: no link open
    const NetworkCounters& counters() const { return counters_; }
    std::string Summary() const;  // one line for the board's status reply

private:
    enum Step { kOpenStep, kEraseStep, kStartStep, kWriteStep, kStepCount };

    std::vector<std::uint8_t> LinkControl(std::uint8_t node, std::uint8_t action);
    std::vector<std::uint8_t> Erase();
    std::vector<std::uint8_t> StartAddress(std::uint8_t address);
    std::vector<std::uint8_t> WriteBlock(std::uint8_t block, std::span<const std::uint8_t> data);
    std::vector<std::uint8_t> Scan() const;
    bool TakeRefusal(Step step);
    std::string ListBoards() const;

    std::array<NetworkBoard, kNetworkSlots> boards_{};
    int linkedSlot_ = 0;
    bool startAddressSet_ = false;
    std::size_t writePosition_ = 0;  // flash position of the next block
    unsigned nextBlock_ = 0;         // its number (modulo 256)
    bool hasLastBlock_ = false;      // a block was written since the start address
    std::size_t lastBlockPosition_ = 0;
    std::array<int, kStepCount> refusals_{};
    int dropRequests_ = 0;
    NetworkCounters counters_;
};

// The network's control commands, one per line.
std::string NetworkControlHelp();

}  // namespace sim
