// Intel HEX text to a board's flash image, line by line. A record is
//   ':' CC AAAA TT DD... SS
// with CC the count of data bytes, AAAA the 16-bit address (high byte first), TT the type, the
// data, and SS the checksum that makes all its bytes add up to 0 modulo 256. Every digit is an
// upper- or lower-case hex digit; nothing else may stand on a record's line.
//
//   TYPE  COUNT  MEANING
//    00    any   data at base + address
//    01     0    end of file: the rest of the text is not read
//    02     2    extended segment address: base = segment x 16
//    03     4    start segment address (ignored)
//    04     2    extended linear address: base = upper x 65536
//    05     4    start linear address (ignored)
#include "flasher/hex_parser.h"

#include <cstring>
#include <vector>

namespace {

// Value of each character as a hex digit; -1 for any other character.
constexpr std::array<std::int8_t, 256> MakeDigitTable()
{
    std::array<std::int8_t, 256> table{};
    for (auto& value : table) value = -1;
    for (int c = '0'; c <= '9'; ++c) table[c] = static_cast<std::int8_t>(c - '0');
    for (int c = 'A'; c <= 'F'; ++c) table[c] = static_cast<std::int8_t>(c - 'A' + 10);
    for (int c = 'a'; c <= 'f'; ++c) table[c] = static_cast<std::int8_t>(c - 'a' + 10);
    return table;
}
constexpr std::array<std::int8_t, 256> kDigit = MakeDigitTable();

constexpr std::size_t kRecordHeader = 4;  // count, address high, address low, type
constexpr std::size_t kMaxRecordBytes = kRecordHeader + 255 + 1;

enum RecordType : std::uint8_t {
    kData = 0x00,
    kEndOfFile = 0x01,
    kSegmentAddress = 0x02,
    kStartSegment = 0x03,
    kLinearAddress = 0x04,
    kStartLinear = 0x05,
};

// Where the data of the text goes, and which image positions it has already filled.
struct ParseState {
    HexImage& image;
    std::vector<std::uint64_t> written;  // one bit per image position
    std::int64_t base = 0;               // linear base from the last address record
    bool banked = false;                 // an address record was seen: origin 0x10000
    bool anyData = false;
};

HexReadResult Refuse(HexImage& image, HexFault fault, std::uint32_t line)
{
    image.bytes.fill(0xFF);
    image.length = 0;
    return {fault, line, 0};
}

// Decodes the digits after ':' into bytes; fault None when they are well formed.
HexFault DecodeRecord(const std::uint8_t* digits, std::size_t count, std::uint8_t* bytes,
                      std::size_t& byteCount)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (kDigit[digits[i]] < 0) return HexFault::BadCharacter;
    }
    if (count % 2 != 0 || count < 2 * (kRecordHeader + 1)) return HexFault::BadLength;
    const std::size_t dataCount =
        static_cast<std::size_t>(kDigit[digits[0]] * 16 + kDigit[digits[1]]);
    byteCount = kRecordHeader + dataCount + 1;
    if (count != 2 * byteCount) return HexFault::BadLength;
    unsigned sum = 0;
    for (std::size_t i = 0; i < byteCount; ++i) {
        const auto value =
            static_cast<std::uint8_t>(kDigit[digits[2 * i]] * 16 + kDigit[digits[2 * i + 1]]);
        bytes[i] = value;
        sum += value;
    }
    return (sum & 0xFF) == 0 ? HexFault::None : HexFault::BadChecksum;
}

// Stores the bytes of one data record; fault None when all of them fit and are new.
HexFault StoreData(ParseState& state, std::uint32_t address, const std::uint8_t* data,
                   std::size_t count)
{
    if (count == 0) return HexFault::None;
    const std::int64_t first =
        state.base + address - (state.banked ? std::int64_t{kHexBankedOrigin} : 0);
    const std::int64_t end = first + static_cast<std::int64_t>(count);
    if (first < 0 || end > std::int64_t{kHexImageSize}) return HexFault::OutsideImage;
    const auto from = static_cast<std::uint32_t>(first);
    const auto to = static_cast<std::uint32_t>(end);
    for (std::uint32_t p = from; p < to; ++p) {
        std::uint64_t& word = state.written[p / 64];
        const std::uint64_t bit = std::uint64_t{1} << (p % 64);
        if ((word & bit) != 0) return HexFault::Overlap;
        word |= bit;
    }
    std::memcpy(state.image.bytes.data() + from, data, count);
    if (to > state.image.length) state.image.length = to;
    state.anyData = true;
    return HexFault::None;
}

// Acts on one checked record. Sets `end` at the end-of-file record.
HexFault ApplyRecord(ParseState& state, const std::uint8_t* bytes, bool& end)
{
    const std::size_t count = bytes[0];
    const std::uint32_t address = (std::uint32_t{bytes[1]} << 8) | bytes[2];
    const std::uint8_t* data = bytes + kRecordHeader;
    const std::uint32_t value = (std::uint32_t{data[0]} << 8) | data[1];
    switch (bytes[3]) {
        case kData: return StoreData(state, address, data, count);
        case kEndOfFile:
            if (count != 0) return HexFault::BadRecord;
            end = true;
            return HexFault::None;
        case kSegmentAddress:
        case kLinearAddress:
            if (count != 2 || address != 0) return HexFault::BadRecord;
            state.base =
                bytes[3] == kLinearAddress ? std::int64_t{value} << 16 : std::int64_t{value} << 4;
            state.banked = true;
            return HexFault::None;
        case kStartSegment:
        case kStartLinear:
            // The boards start where their own code says; the panel has no use for this.
            return count == 4 && address == 0 ? HexFault::None : HexFault::BadRecord;
    }
    return HexFault::UnknownType;
}

HexReadResult ParseLines(std::span<const std::uint8_t> text, HexImage& image)
{
    image.bytes.fill(0xFF);
    image.length = 0;
    ParseState state{image, std::vector<std::uint64_t>(kHexImageSize / 64), 0, false, false};
    std::array<std::uint8_t, kMaxRecordBytes> bytes{};
    const std::uint8_t* at = text.data();
    const std::uint8_t* const stop = text.data() + text.size();
    std::uint32_t line = 0;
    bool anyRecord = false;
    bool end = false;
    while (at < stop && !end) {
        ++line;
        const auto* newline = static_cast<const std::uint8_t*>(
            std::memchr(at, '\n', static_cast<std::size_t>(stop - at)));
        const std::uint8_t* lineEnd = newline != nullptr ? newline : stop;
        const std::uint8_t* const next = newline != nullptr ? newline + 1 : stop;
        if (lineEnd > at && lineEnd[-1] == '\r') --lineEnd;
        if (lineEnd == at) {
            at = next;
            continue;  // a blank line
        }
        if (*at != ':') return Refuse(image, HexFault::BadCharacter, line);
        const auto digitCount = static_cast<std::size_t>(lineEnd - at - 1);
        if (digitCount > 2 * kMaxRecordBytes) {
            // Longer than any record: a bad character if one is there, else a bad length.
            for (const std::uint8_t* c = at + 1; c < lineEnd; ++c) {
                if (kDigit[*c] < 0) return Refuse(image, HexFault::BadCharacter, line);
            }
            return Refuse(image, HexFault::BadLength, line);
        }
        std::size_t byteCount = 0;
        HexFault fault = DecodeRecord(at + 1, digitCount, bytes.data(), byteCount);
        if (fault == HexFault::None) fault = ApplyRecord(state, bytes.data(), end);
        if (fault != HexFault::None) return Refuse(image, fault, line);
        anyRecord = true;
        at = next;
    }
    if (!anyRecord || (end && !state.anyData)) return Refuse(image, HexFault::NoData, 0);
    if (!end) return Refuse(image, HexFault::NoEndRecord, 0);
    return {};
}

}  // namespace

HexReadResult ParseHexText(std::span<const std::uint8_t> text, HexImage& image)
{
    HexReadResult result = ParseLines(text, image);
    result.bytesRead = static_cast<std::uint32_t>(text.size());
    return result;
}

std::wstring HexRefusalLine(std::wstring_view fileName, const HexReadResult& result)
{
    const wchar_t* why = L"";
    switch (result.fault) {
        case HexFault::None: return {};
        case HexFault::Unreadable: why = L"Cannot Be Read"; break;
        case HexFault::TooLarge: why = L"Larger Than 524288 Bytes"; break;
        case HexFault::BadCharacter: why = L"Not a Hex Digit"; break;
        case HexFault::BadLength: why = L"Wrong Record Length"; break;
        case HexFault::BadChecksum: why = L"Checksum Error"; break;
        case HexFault::BadRecord: why = L"Bad Record"; break;
        case HexFault::UnknownType: why = L"Unknown Record Type"; break;
        case HexFault::OutsideImage: why = L"Address Outside Flash Image"; break;
        case HexFault::Overlap: why = L"Address Given Twice"; break;
        case HexFault::NoEndRecord: why = L"No End-of-File Record"; break;
        case HexFault::NoData: why = L"No Program Data"; break;
    }
    std::wstring out = L" >> ";
    out += fileName;
    if (result.line != 0) out += L" Line " + std::to_wstring(result.line);
    out += L": ";
    out += why;
    out += L"... File Rejected!";
    return out;
}
