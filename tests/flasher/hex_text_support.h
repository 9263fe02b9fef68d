// HEX text for the reader's tests: single records with right (or chosen) checksums, whole
// files laid out from chunks of data, and the independent reader (Python's intelhex) that says
// what image a file stands for.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hex_test {

// One record without its line end, checksum right unless `checksumDelta` moves it.
std::string Record(std::uint8_t type, std::uint16_t address, std::span<const std::uint8_t> data,
                   int checksumDelta = 0);
std::string DataRecord(std::uint16_t address, std::span<const std::uint8_t> data);
std::string LinearAddress(std::uint16_t upper);     // type 04
std::string SegmentAddress(std::uint16_t segment);  // type 02
inline constexpr std::string_view kEndRecord = ":00000001FF";

// Lines joined with `eol` after each.
std::string Lines(const std::vector<std::string>& lines, std::string_view eol = "\n");

std::string ToLower(std::string text);

struct Chunk {
    std::uint32_t address;  // linear address of the first byte
    std::vector<std::uint8_t> bytes;
};

enum class Addressing { None, Linear, Segment };

struct Layout {
    std::size_t recordLength = 16;
    Addressing addressing = Addressing::Linear;
    std::string_view eol = "\n";
    bool trailingBlankLine = false;
    bool endRecord = true;
};

// A whole file holding the chunks; records never cross a 64 KiB boundary.
std::string WriteHex(const std::vector<Chunk>& chunks, const Layout& layout);

std::vector<std::uint8_t> Bytes(std::string_view text);
std::vector<std::uint8_t> Pattern(std::size_t count, std::uint32_t seed);

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& path, std::string_view text);
std::vector<std::uint8_t> ReadBinary(const std::filesystem::path& path);

// Python's intelhex, the independent reader, run in a folder of the test's files.
bool OracleAvailable(const std::filesystem::path& folder);
// Writes a file of random chunks with gaps (seeded), addresses from 0x10000, by intelhex.
bool OracleMakeFile(const std::filesystem::path& hexPath, int seed, int byteCount, bool crlf);
// Writes a board's program of about `dataBytes` data bytes from flash position 0 (linear
// address 0x10000), in chunks with small gaps, by intelhex.
bool OracleMakeProgram(const std::filesystem::path& hexPath, int seed, int dataBytes);
// The image intelhex reads from a file, from linear address `origin` to its highest address;
// nothing when intelhex refuses the file.
std::optional<std::vector<std::uint8_t>> OracleImage(const std::filesystem::path& hexPath,
                                                     std::uint32_t origin);

}  // namespace hex_test
