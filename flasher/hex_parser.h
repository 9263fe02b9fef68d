// The HEX reader's core: Intel HEX text of a board's program in, the flat image of the board's
// flash out. It reads only the bytes it is given and never writes outside the image, so the
// upload sends nothing that the file did not say, byte for byte.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The panel reads a program file into a text buffer of this size; larger files are refused.
inline constexpr std::size_t kHexTextBufferSize = 524288;
// The image of a board's flash. Files that give extended addresses place linear address
// 0x10000 (upper address 0x0001, or segment 0x1000) at image position 0; files without them
// place address 0 there.
inline constexpr std::uint32_t kHexImageSize = 524288;
inline constexpr std::uint32_t kHexBankedOrigin = 0x10000;

// What the upload sends to a board. 512 KiB: keep it static or on the heap, never on a stack.
struct HexImage {
    std::array<std::uint8_t, kHexImageSize> bytes;  // 0xFF where the file holds no data
    std::uint32_t length = 0;                       // one past the highest position written
};

// Why a file was refused. A refused file leaves the image blank (all 0xFF, length 0): the board
// must then not be erased.
enum class HexFault : std::uint8_t {
    None,
    Unreadable,    // the file could not be opened or read
    TooLarge,      // more bytes than the text buffer holds
    BadCharacter,  // a line that is not a record, or a character that is not a hex digit
    BadLength,     // the digits of a record do not match its byte count
    BadChecksum,   // the record's bytes do not add up to 0 modulo 256
    BadRecord,     // an end, address or start record of the wrong size or address
    UnknownType,   // a record type other than 00 to 05
    OutsideImage,  // data below image position 0 or at or beyond the image's end
    Overlap,       // data for an image position that the file already gave
    NoEndRecord,   // the text ends before the end-of-file record: a cut-off file
    NoData,        // no data bytes at all: nothing to program
};

struct HexReadResult {
    HexFault fault = HexFault::None;
    std::uint32_t line = 0;       // text line of the fault, from 1; 0 for faults of the whole file
    std::uint32_t bytesRead = 0;  // bytes of text read from the file

    bool ok() const { return fault == HexFault::None; }
};

// Reads HEX text into the image. Records end with LF or CR LF; blank lines are skipped, and
// the text after the end-of-file record is not read. Data records (00) fill the image, address
// records (02, 04) move the base of the following data, start records (03, 05) are checked and
// otherwise ignored. Every record's checksum is verified; any fault refuses the whole text.
[[nodiscard]] HexReadResult ParseHexText(std::span<const std::uint8_t> text, HexImage& image);

// The line for the upload list that says why a file was refused ("" for a file read well).
std::wstring HexRefusalLine(std::wstring_view fileName, const HexReadResult& result);
