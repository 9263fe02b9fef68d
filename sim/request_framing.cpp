// Request framing for the simulated Display I/O board. The board cannot trust the line: a frame
// may arrive in pieces, behind stray bytes, or damaged. Each candidate start byte is tested
// for a plausible frame (kind, length, CRC, records); only complete, well-formed frames leave.
#include "sim/request_framing.h"

#include <algorithm>

#include "common/link/link_crc16.h"

namespace sim {

namespace {

constexpr std::size_t kMaxBuffered = 1024;  // far beyond any request; older bytes give way
constexpr std::size_t kMaxCommandLength = 255;

// The count byte (byte 1) each programming request fixes.
std::optional<std::uint8_t> ProgrammingCountByte(std::uint8_t code)
{
    switch (code) {
        case kLinkControlCode: return 0x02;
        case kEraseFlashCode: return 0x02;
        case kStartAddressCode: return 0x01;
        case kWriteBlockCode: return 0x00;
        case kNetworkScanCode: return 0x00;
        default: return std::nullopt;
    }
}

}  // namespace

std::size_t ProgrammingFrameLength(std::uint8_t code)
{
    switch (code) {
        case kLinkControlCode: return 6;
        case kEraseFlashCode: return 6;
        case kStartAddressCode: return 5;
        case kWriteBlockCode: return 4 + 1 + kBlockSize;
        case kNetworkScanCode: return 4;
        default: return 0;
    }
}

CommandParse ParseCommandRecords(std::span<const std::uint8_t> frame, Request& out)
{
    out.kind = RequestKind::Command;
    out.records.clear();
    if (frame.size() < kCommandMinLength) return CommandParse::BadRecordLength;
    const std::size_t count = frame[1];
    const std::size_t end = frame.size() - 2;  // the CRC follows the records
    std::size_t pos = 2;
    while (pos < end) {
        if (end - pos < kRecordHeader + 1) return CommandParse::BadRecordLength;
        CommandRecord record;
        record.address = static_cast<std::uint16_t>(frame[pos] * 256 + frame[pos + 1]);
        record.length = frame[pos + 2];
        if (record.length == 0 || record.length > kRecordMaxData) {
            return CommandParse::BadRecordLength;
        }
        if (end - pos - kRecordHeader < record.length) return CommandParse::BadRecordLength;
        if (record.address + std::size_t{record.length} > kImageSize) {
            return CommandParse::AddressOutOfImage;
        }
        std::copy_n(frame.begin() + static_cast<std::ptrdiff_t>(pos + kRecordHeader), record.length,
                    record.data.begin());
        out.records.push_back(record);
        pos += kRecordHeader + record.length;
    }
    if (out.records.size() != count) return CommandParse::BadRecordCount;
    return CommandParse::Ok;
}

void RequestFramer::Feed(std::span<const std::uint8_t> bytes)
{
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    if (buffer_.size() > kMaxBuffered) Drop(buffer_.size() - kMaxBuffered);
}

void RequestFramer::Drop(std::size_t count)
{
    count = std::min(count, buffer_.size());
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(count));
}

// Tests whether a request starts at `start`. Complete: `length` and `request` are set.
// Invalid with `length` above 0: a complete, CRC-correct frame whose records do not add up.
RequestFramer::Probe RequestFramer::ProbeAt(std::size_t start, std::size_t& length,
                                            Request& request)
{
    length = 0;
    const std::span<const std::uint8_t> rest(buffer_.data() + start, buffer_.size() - start);
    const std::uint8_t tag = rest[0];

    if (tag == kPollLength) {
        for (std::size_t i = 1; i < std::min<std::size_t>(rest.size(), 5); ++i) {
            if (rest[i] != 0) return Probe::Invalid;
        }
        if (rest.size() < kPollLength) return Probe::Incomplete;
        if (!LinkCrc16Check(rest, kPollLength - 2)) return Probe::Invalid;
        length = kPollLength;
        request = Request{RequestKind::Poll, {}, {}};
        return Probe::Complete;
    }
    if (tag == kLinkResetTag) {
        if (rest.size() >= 2 && rest[1] != 0) return Probe::Invalid;
        if (rest.size() < kLinkResetLength) return Probe::Incomplete;
        if (!LinkCrc16Check(rest, kLinkResetLength - 2)) return Probe::Invalid;
        length = kLinkResetLength;
        request = Request{RequestKind::LinkReset, {}, {}};
        return Probe::Complete;
    }
    if (const std::size_t programmingLength = ProgrammingFrameLength(tag)) {
        if (rest.size() >= 2 && rest[1] != ProgrammingCountByte(tag)) return Probe::Invalid;
        if (rest.size() < programmingLength) return Probe::Incomplete;
        if (!LinkCrc16Check(rest, programmingLength - 2)) return Probe::Invalid;
        length = programmingLength;
        request =
            Request{RequestKind::Programming,
                    {},
                    {rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(programmingLength)}};
        return Probe::Complete;
    }
    if (tag < kCommandMinLength || tag > kMaxCommandLength) return Probe::Invalid;

    // A command frame: its record count must fit the body (4 to 8 bytes per record).
    const std::size_t frameLength = tag;
    const std::size_t body = frameLength - 4;
    if (rest.size() >= 2) {
        const std::size_t count = rest[1];
        if (count == 0 || count * (kRecordHeader + 1) > body ||
            count * (kRecordHeader + kRecordMaxData) < body) {
            return Probe::Invalid;
        }
    }
    if (rest.size() < frameLength) return Probe::Incomplete;
    if (!LinkCrc16Check(rest, frameLength - 2)) return Probe::Invalid;
    length = frameLength;
    if (ParseCommandRecords(rest.first(frameLength), request) != CommandParse::Ok) {
        return Probe::Invalid;
    }
    return Probe::Complete;
}

std::optional<Request> RequestFramer::Next()
{
    Request request;
    std::size_t length = 0;
    while (!buffer_.empty()) {
        switch (ProbeAt(0, length, request)) {
            case Probe::Complete: Drop(length); return request;
            case Probe::Invalid:
                if (length > 0) {  // framed but malformed: the whole frame goes
                    ++malformedFrames_;
                    Drop(length);
                } else {
                    ++bytesDiscarded_;
                    Drop(1);
                }
                continue;
            case Probe::Incomplete: break;
        }
        // The frame at the front is still incomplete. If a complete request already sits
        // further on, the front was garbage that merely looked like a start.
        std::size_t found = 0;
        for (std::size_t i = 1; i < buffer_.size() && found == 0; ++i) {
            std::size_t len = 0;
            Request probe;
            if (ProbeAt(i, len, probe) == Probe::Complete) found = i;
        }
        if (found == 0) return std::nullopt;
        bytesDiscarded_ += found;
        Drop(found);
    }
    return std::nullopt;
}

}  // namespace sim
