// LinkCrc16 over 302-byte frames, the size of every answer of the Display I/O board.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "common/link/link_crc16.h"

namespace {

void BM_LinkCrc16_302(benchmark::State& state)
{
    std::array<std::uint8_t, 302> frame{};
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i * 31);
    for (auto _ : state) {
        benchmark::DoNotOptimize(frame.data());
        benchmark::DoNotOptimize(LinkCrc16(frame));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(frame.size()));
}
BENCHMARK(BM_LinkCrc16_302);

void BM_LinkCrc16Check_Answer(benchmark::State& state)
{
    std::array<std::uint8_t, 302> frame{};
    for (std::size_t i = 0; i < 300; ++i) frame[i] = static_cast<std::uint8_t>(i * 17);
    LinkCrc16Append(frame, 300);
    for (auto _ : state) {
        benchmark::DoNotOptimize(frame.data());
        benchmark::DoNotOptimize(LinkCrc16Check(frame, 300));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 300);
}
BENCHMARK(BM_LinkCrc16Check_Answer);

}  // namespace
