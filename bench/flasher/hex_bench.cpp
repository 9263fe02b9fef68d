// The HEX reader on a full board image: 512 KiB of program from linear address 0x10000 in
// 16-byte records, as a board's build writes it (about 1.4 MB of text). HEX_BENCH_FILE names a
// HEX file to read instead; scripts/bench_hex passes the file it also gives objcopy, so both
// figures stand side by side.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "flasher/hex_parser.h"

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

void PutRecord(std::string& out, std::uint8_t type, std::uint16_t address, const std::uint8_t* data,
               std::size_t count)
{
    unsigned sum = 0;
    auto put = [&](std::uint8_t value) {
        out += kDigits[value >> 4];
        out += kDigits[value & 0x0F];
        sum += value;
    };
    out += ':';
    put(static_cast<std::uint8_t>(count));
    put(static_cast<std::uint8_t>(address >> 8));
    put(static_cast<std::uint8_t>(address & 0xFF));
    put(type);
    for (std::size_t i = 0; i < count; ++i) put(data[i]);
    const auto checksum = static_cast<std::uint8_t>(0x100 - (sum & 0xFF));
    out += kDigits[checksum >> 4];
    out += kDigits[checksum & 0x0F];
    out += "\r\n";
}

std::vector<std::uint8_t> GeneratedText()
{
    std::mt19937 random(512);
    std::vector<std::uint8_t> image(kHexImageSize);
    for (auto& b : image) b = static_cast<std::uint8_t>(random() & 0xFF);
    std::string text;
    for (std::uint32_t at = 0; at < kHexImageSize; at += 16) {
        const std::uint32_t linear = kHexBankedOrigin + at;
        if ((linear & 0xFFFF) == 0) {
            const std::uint8_t upper[] = {0, static_cast<std::uint8_t>(linear >> 16)};
            PutRecord(text, 0x04, 0, upper, 2);
        }
        PutRecord(text, 0x00, static_cast<std::uint16_t>(linear & 0xFFFF), &image[at], 16);
    }
    text += ":00000001FF\r\n";
    return {text.begin(), text.end()};
}

std::vector<std::uint8_t> ReadWhole(const char* path)
{
    std::vector<std::uint8_t> text;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return text;
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    text.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
    text.resize(std::fread(text.data(), 1, text.size(), file));
    std::fclose(file);
    return text;
}

const char* BenchFile()
{
    return std::getenv("HEX_BENCH_FILE");
}

void Run(benchmark::State& state, const std::vector<std::uint8_t>& text)
{
    auto image = std::make_unique<HexImage>();
    for (auto _ : state) {
        const HexReadResult result = ParseHexText(text, *image);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(image->bytes.data());
        if (!result.ok()) {
            state.SkipWithError("the HEX text was refused");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["image_bytes"] = image->length;
}

// The text already in memory.
void BM_ParseHexText(benchmark::State& state)
{
    const std::vector<std::uint8_t> text =
        BenchFile() != nullptr ? ReadWhole(BenchFile()) : GeneratedText();
    Run(state, text);
}
BENCHMARK(BM_ParseHexText)->Unit(benchmark::kMillisecond);

// Reading the file as well, as objcopy must: only with HEX_BENCH_FILE.
void BM_ReadAndParseHexFile(benchmark::State& state)
{
    if (BenchFile() == nullptr) {
        state.SkipWithError("set HEX_BENCH_FILE (scripts/bench_hex does)");
        return;
    }
    auto image = std::make_unique<HexImage>();
    for (auto _ : state) {
        const std::vector<std::uint8_t> text = ReadWhole(BenchFile());
        const HexReadResult result = ParseHexText(text, *image);
        benchmark::DoNotOptimize(result);
        if (!result.ok()) {
            state.SkipWithError("the HEX file was refused");
            return;
        }
    }
    state.counters["image_bytes"] = image->length;
}
BENCHMARK(BM_ReadAndParseHexFile)->Unit(benchmark::kMillisecond);

}  // namespace
