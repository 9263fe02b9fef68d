// The Display I/O's side of the programming requests and the boards behind it. A link is open
// to at most one board; erase, start address and write blocks act on that board. A board's
// flash is programmed as real flash is: a write can only clear bits, so a block written over
// an unerased flash shows up in its HEX dump.
#include "sim/board_network.h"

#include <algorithm>
#include <cstdio>

#include "common/link/link_crc16.h"
#include "sim/request_framing.h"

namespace sim {

namespace {

constexpr std::uint8_t kAnswerBit = 0x80;
constexpr std::uint8_t kLinkOpen = 1;
constexpr std::uint8_t kLinkClosed = 0;
constexpr std::uint8_t kLinkFailed = 2;
constexpr std::uint8_t kStatusDone = 1;
constexpr std::uint8_t kStatusRefused = 0;
constexpr std::uint8_t kStartRejected = 2;
constexpr std::size_t kHexLineBytes = 16;
constexpr std::size_t kSegment = 0x10000;

// code | 0x80, the payload length, the payload, LinkCrc16.
std::vector<std::uint8_t> Answer(std::uint8_t code, std::initializer_list<std::uint8_t> payload)
{
    const std::size_t n = 2 + payload.size();
    std::vector<std::uint8_t> frame(n + 2, 0);
    frame[0] = static_cast<std::uint8_t>(code | kAnswerBit);
    frame[1] = static_cast<std::uint8_t>(payload.size());
    std::size_t at = 2;
    for (std::uint8_t byte : payload) frame[at++] = byte;
    LinkCrc16Append(frame, n);
    return frame;
}

// The address a board of `type` must have to be reached, or nothing checked for other types.
bool AddressFitsType(std::uint8_t type, std::uint8_t address)
{
    switch (type) {
        case kDisplayIoType: return address == 1;
        case kFanHeaterType: return address >= 2 && address <= 7;
        case kFanHeaterInterfaceType: return address >= 8 && address <= 13;
        case kMainIoType: return address == 14;
        case kMoistureControlType: return address == 15;
        default: return true;
    }
}

std::string HexRecord(std::uint8_t type, std::uint16_t address, std::span<const std::uint8_t> data)
{
    std::string line = ":";
    char buf[16];
    unsigned sum = static_cast<unsigned>(data.size()) + (address >> 8) + (address & 0xFF) + type;
    std::snprintf(buf, sizeof(buf), "%02X%04X%02X", static_cast<unsigned>(data.size()), address,
                  type);
    line += buf;
    for (std::uint8_t byte : data) {
        std::snprintf(buf, sizeof(buf), "%02X", byte);
        line += buf;
        sum += byte;
    }
    std::snprintf(buf, sizeof(buf), "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
    line += buf;
    return line;
}

}  // namespace

BoardNetwork::BoardNetwork(int heaters)
{
    Rebuild(heaters);
}

void BoardNetwork::Rebuild(int heaters)
{
    boards_ = {};
    const auto fit = [this](int slot, std::uint8_t type) {
        NetworkBoard& b = board(slot);
        b.fitted = true;
        b.type = type;
        b.address = static_cast<std::uint8_t>(slot);
    };
    fit(1, kDisplayIoType);
    for (int heater = 1; heater <= std::clamp(heaters, 0, 6); ++heater) {
        fit(1 + heater, kFanHeaterType);
    }
    fit(14, kMainIoType);
    fit(15, kMoistureControlType);
    linkedSlot_ = 0;
    startAddressSet_ = false;
    hasLastBlock_ = false;
    refusals_ = {};
    dropRequests_ = 0;
}

std::uint8_t BoardNetwork::StatusByte(int slot) const
{
    const NetworkBoard& b = board(slot);
    if (!b.fitted) return 0;
    if (b.statusOverride >= 0) return static_cast<std::uint8_t>(b.statusOverride);
    const std::uint8_t bits =
        AddressFitsType(b.type, b.address) ? kNothingToReport : kInvalidAddress;
    return static_cast<std::uint8_t>(((b.generation - 1) & 0x0F) << 4 | bits);
}

bool BoardNetwork::TakeRefusal(Step step)
{
    if (refusals_[step] == 0) return false;
    --refusals_[step];
    ++counters_.refused;
    return true;
}

std::vector<std::uint8_t> BoardNetwork::Handle(std::span<const std::uint8_t> request)
{
    ++counters_.requests;
    if (dropRequests_ > 0) {
        --dropRequests_;
        ++counters_.unanswered;
        return {};
    }
    switch (request[0]) {
        case kLinkControlCode: return LinkControl(request[2], request[3]);
        case kEraseFlashCode: return Erase();
        case kStartAddressCode: return StartAddress(request[2]);
        case kWriteBlockCode: return WriteBlock(request[2], request.subspan(3, kBlockSize));
        case kNetworkScanCode: return Scan();
        default: return {};
    }
}

std::vector<std::uint8_t> BoardNetwork::LinkControl(std::uint8_t node, std::uint8_t action)
{
    linkedSlot_ = 0;
    startAddressSet_ = false;
    hasLastBlock_ = false;
    if (action == 0) return Answer(kLinkControlCode, {node, kLinkClosed});
    if (TakeRefusal(kOpenStep)) return Answer(kLinkControlCode, {node, kLinkFailed});
    // The board that answers to the node: exactly one fitted board, or the link fails (none
    // there, or two boards on one address).
    int found = 0;
    int count = 0;
    for (int slot = 1; slot <= kNetworkSlots; ++slot) {
        const NetworkBoard& b = board(slot);
        if (b.fitted && node >= 1 && node <= 15 && (b.address & 0x0F) == node) {
            found = slot;
            ++count;
        }
    }
    if (count != 1) return Answer(kLinkControlCode, {node, kLinkFailed});
    linkedSlot_ = found;
    return Answer(kLinkControlCode, {node, kLinkOpen});
}

std::vector<std::uint8_t> BoardNetwork::Erase()
{
    const auto node = static_cast<std::uint8_t>(linkedSlot_ == 0 ? 0 : board(linkedSlot_).address);
    if (linkedSlot_ == 0 || TakeRefusal(kEraseStep)) {
        return Answer(kEraseFlashCode, {node, 0, kStatusRefused});
    }
    board(linkedSlot_).flash.clear();  // everything reads 0xFF again
    startAddressSet_ = false;
    hasLastBlock_ = false;
    ++counters_.erases;
    return Answer(kEraseFlashCode, {node, 0, kStatusDone});
}

std::vector<std::uint8_t> BoardNetwork::StartAddress(std::uint8_t address)
{
    const std::size_t position = std::size_t{address} * kSegment;
    if (linkedSlot_ == 0 || position >= kFlashSize || TakeRefusal(kStartStep)) {
        return Answer(kStartAddressCode, {address, kStartRejected});
    }
    startAddressSet_ = true;
    writePosition_ = position;
    nextBlock_ = 0;
    hasLastBlock_ = false;
    return Answer(kStartAddressCode, {address, kStatusDone});
}

std::vector<std::uint8_t> BoardNetwork::WriteBlock(std::uint8_t block,
                                                   std::span<const std::uint8_t> data)
{
    if (linkedSlot_ == 0 || !startAddressSet_ || TakeRefusal(kWriteStep)) {
        return Answer(kWriteBlockCode, {kStatusRefused});
    }
    // The next block goes behind the last one; the last one again (its answer was lost) is
    // written over itself, which changes nothing. Any other number is refused.
    std::size_t position = 0;
    if (block == (nextBlock_ & 0xFF) && writePosition_ + kBlockSize <= kFlashSize) {
        position = writePosition_;
        writePosition_ += kBlockSize;
        ++nextBlock_;
        hasLastBlock_ = true;
        lastBlockPosition_ = position;
    } else if (hasLastBlock_ && block == ((nextBlock_ - 1) & 0xFF)) {
        position = lastBlockPosition_;
    } else {
        ++counters_.refused;
        return Answer(kWriteBlockCode, {kStatusRefused});
    }
    std::vector<std::uint8_t>& flash = board(linkedSlot_).flash;
    if (flash.size() < position + kBlockSize) flash.resize(position + kBlockSize, 0xFF);
    for (std::size_t i = 0; i < kBlockSize; ++i) flash[position + i] &= data[i];
    ++counters_.blocksWritten;
    return Answer(kWriteBlockCode, {kStatusDone});
}

std::vector<std::uint8_t> BoardNetwork::Scan() const
{
    std::vector<std::uint8_t> frame(2 + kScanPayloadLength + 2, 0);
    frame[0] = kNetworkScanCode | kAnswerBit;
    frame[1] = static_cast<std::uint8_t>(kScanPayloadLength);
    for (int slot = 1; slot <= kNetworkSlots; ++slot) {
        const NetworkBoard& b = board(slot);
        if (!b.fitted) continue;  // an empty slot is an all-zero record
        const std::size_t at = 2 + static_cast<std::size_t>(slot - 1) * kScanRecordSize;
        frame[at] = b.bootVersion;
        frame[at + 1] = b.programVersion;
        frame[at + 2] = b.address;
        frame[at + 3] = b.type;
        frame[at + 4] = StatusByte(slot);
    }
    LinkCrc16Append(frame, 2 + kScanPayloadLength);
    return frame;
}

std::string BoardNetwork::FlashHex(int slot) const
{
    const std::vector<std::uint8_t>& flash = board(slot).flash;
    std::string hex;
    std::size_t segment = kFlashSize;  // none written yet
    for (std::size_t at = 0; at < flash.size(); at += kHexLineBytes) {
        const auto line = std::span(flash).subspan(at, std::min(kHexLineBytes, flash.size() - at));
        if (std::all_of(line.begin(), line.end(), [](std::uint8_t b) { return b == 0xFF; })) {
            continue;  // erased: a reader fills it with 0xFF anyway
        }
        if (at / kSegment != segment) {
            segment = at / kSegment;
            const auto upper = static_cast<std::uint16_t>(segment + 1);
            const std::uint8_t value[] = {static_cast<std::uint8_t>(upper >> 8),
                                          static_cast<std::uint8_t>(upper & 0xFF)};
            hex += HexRecord(0x04, 0, value) + "\n";
        }
        hex += HexRecord(0x00, static_cast<std::uint16_t>(at % kSegment), line) + "\n";
    }
    hex += HexRecord(0x01, 0, {});
    return hex;
}

std::string BoardNetwork::Summary() const
{
    int fitted = 0;
    for (const NetworkBoard& b : boards_) fitted += b.fitted ? 1 : 0;
    std::string s = "boards " + std::to_string(fitted) + ", link ";
    s += linkedSlot_ == 0 ? std::string("closed") : "slot " + std::to_string(linkedSlot_);
    if (dropRequests_ > 0) s += ", drop " + std::to_string(dropRequests_);
    static constexpr const char* kStepNames[] = {"open", "erase", "start", "write"};
    for (int step = 0; step < kStepCount; ++step) {
        if (refusals_[step] > 0) {
            s +=
                ", refuse " + std::string(kStepNames[step]) + " " + std::to_string(refusals_[step]);
        }
    }
    return s;
}

}  // namespace sim
