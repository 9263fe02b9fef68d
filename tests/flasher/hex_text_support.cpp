// HEX text and the independent reader for the HEX reader's tests.
#include "tests/flasher/hex_text_support.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

namespace hex_test {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

void PutByte(std::string& out, std::uint8_t value)
{
    out += kDigits[value >> 4];
    out += kDigits[value & 0x0F];
}

// Python's own reader and writer of HEX files; run with the system's python3, whose packages
// scripts/setup installs.
constexpr std::string_view kOracleScript = R"(import random, sys
from intelhex import IntelHex
mode = sys.argv[1]
if mode == 'check':
    sys.exit(0)
if mode == 'make':
    hexpath, seed, byte_count, eol = sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), sys.argv[5]
    rnd = random.Random(seed)
    ih = IntelHex()
    addr = 0x10000 + rnd.randrange(0, 64)
    while True:
        n = rnd.randrange(1, 20000)
        if addr + n > 0x10000 + 0x80000:
            break
        ih.frombytes(bytes(rnd.randrange(256) for _ in range(n)), offset=addr)
        addr += n + rnd.choice([0, 0, 1, 7, 300, 70000])
    ih.start_addr = {'EIP': 0x10000}
    ih.write_hex_file(hexpath, byte_count=byte_count, eolstyle=eol)
if mode == 'program':
    hexpath, seed, total = sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    rnd = random.Random(seed)
    ih = IntelHex()
    addr = 0x10000
    left = total
    while left > 0:
        n = min(left, rnd.randrange(1, 3000))
        ih.frombytes(bytes(rnd.randrange(256) for _ in range(n)), offset=addr)
        left -= n
        addr += n + rnd.choice([0, 1, 7, 300])
    ih.write_hex_file(hexpath, byte_count=rnd.choice([16, 32, 13]), eolstyle='CRLF')
if mode == 'image':
    ih = IntelHex(sys.argv[2])
    origin = int(sys.argv[3])
    with open(sys.argv[4], 'wb') as out:
        out.write(ih.tobinstr(start=origin, end=ih.maxaddr()))
)";

// The script is written into the folder of the files it reads, and goes with it.
int RunOracle(const std::filesystem::path& folder, const std::string& arguments)
{
    const std::filesystem::path script = folder / "hex_oracle.py";
    if (!std::filesystem::exists(script)) WriteFile(script, kOracleScript);
    const std::string command =
        "/usr/bin/python3 '" + script.string() + "' " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str());
}

std::string Quoted(const std::filesystem::path& path)
{
    return "'" + path.string() + "'";
}

}  // namespace

std::string Record(std::uint8_t type, std::uint16_t address, std::span<const std::uint8_t> data,
                   int checksumDelta)
{
    std::string out = ":";
    unsigned sum = 0;
    auto put = [&](std::uint8_t value) {
        PutByte(out, value);
        sum += value;
    };
    put(static_cast<std::uint8_t>(data.size()));
    put(static_cast<std::uint8_t>(address >> 8));
    put(static_cast<std::uint8_t>(address & 0xFF));
    put(type);
    for (std::uint8_t value : data) put(value);
    PutByte(out, static_cast<std::uint8_t>(0x100 - (sum & 0xFF) + checksumDelta));
    return out;
}

std::string DataRecord(std::uint16_t address, std::span<const std::uint8_t> data)
{
    return Record(0x00, address, data);
}

std::string LinearAddress(std::uint16_t upper)
{
    const std::uint8_t value[] = {static_cast<std::uint8_t>(upper >> 8),
                                  static_cast<std::uint8_t>(upper & 0xFF)};
    return Record(0x04, 0, value);
}

std::string SegmentAddress(std::uint16_t segment)
{
    const std::uint8_t value[] = {static_cast<std::uint8_t>(segment >> 8),
                                  static_cast<std::uint8_t>(segment & 0xFF)};
    return Record(0x02, 0, value);
}

std::string Lines(const std::vector<std::string>& lines, std::string_view eol)
{
    std::string out;
    for (const std::string& line : lines) {
        out += line;
        out += eol;
    }
    return out;
}

std::string ToLower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string WriteHex(const std::vector<Chunk>& chunks, const Layout& layout)
{
    std::vector<std::string> lines;
    std::int64_t bank = -1;
    for (const Chunk& chunk : chunks) {
        std::size_t done = 0;
        while (done < chunk.bytes.size()) {
            const std::uint32_t address = chunk.address + static_cast<std::uint32_t>(done);
            const std::uint32_t upper = address >> 16;
            if (layout.addressing != Addressing::None && upper != bank) {
                lines.push_back(layout.addressing == Addressing::Linear
                                    ? LinearAddress(static_cast<std::uint16_t>(upper))
                                    : SegmentAddress(static_cast<std::uint16_t>(upper << 12)));
                bank = upper;
            }
            const std::size_t toBoundary = 0x10000 - (address & 0xFFFF);
            const std::size_t count =
                std::min({layout.recordLength, chunk.bytes.size() - done, toBoundary});
            lines.push_back(DataRecord(static_cast<std::uint16_t>(address & 0xFFFF),
                                       std::span(chunk.bytes).subspan(done, count)));
            done += count;
        }
    }
    if (layout.endRecord) lines.emplace_back(kEndRecord);
    std::string text = Lines(lines, layout.eol);
    if (layout.trailingBlankLine) text += layout.eol;
    return text;
}

std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

std::vector<std::uint8_t> Pattern(std::size_t count, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<std::uint8_t> out(count);
    for (auto& value : out) value = static_cast<std::uint8_t>(random() & 0xFF);
    return out;
}

TempFolder::TempFolder()
{
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("hex_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void WriteFile(const std::filesystem::path& path, std::string_view text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::vector<std::uint8_t> ReadBinary(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool OracleAvailable(const std::filesystem::path& folder)
{
    return RunOracle(folder, "check") == 0;
}

bool OracleMakeFile(const std::filesystem::path& hexPath, int seed, int byteCount, bool crlf)
{
    return RunOracle(hexPath.parent_path(), "make " + Quoted(hexPath) + " " + std::to_string(seed) +
                                                " " + std::to_string(byteCount) +
                                                (crlf ? " CRLF" : " native")) == 0;
}

bool OracleMakeProgram(const std::filesystem::path& hexPath, int seed, int dataBytes)
{
    return RunOracle(hexPath.parent_path(), "program " + Quoted(hexPath) + " " +
                                                std::to_string(seed) + " " +
                                                std::to_string(dataBytes)) == 0;
}

std::optional<std::vector<std::uint8_t>> OracleImage(const std::filesystem::path& hexPath,
                                                     std::uint32_t origin)
{
    const std::filesystem::path bin = hexPath.string() + ".bin";
    if (RunOracle(hexPath.parent_path(), "image " + Quoted(hexPath) + " " + std::to_string(origin) +
                                             " " + Quoted(bin)) != 0) {
        return std::nullopt;
    }
    return ReadBinary(bin);
}

}  // namespace hex_test
