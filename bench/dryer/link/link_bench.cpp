// The communication thread's work per exchange: DecodeAnswerFrame on a steady dryer (nothing
// changed) and on a frame where every field changed, and BuildCommandFrame with every flag set.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "dryer/link/answer_decoder.h"
#include "dryer/link/command_encoder.h"
#include "dryer/link/dryer_image.h"
#include "dryer/link/link_state.h"
#include "dryer/link/pending_command.h"
#include "dryer/link/repaint_routes.h"

namespace {

void CountRepaint(RepaintTarget, const RECT*, BOOL) {}

std::array<std::uint8_t, kAnswerPayloadSize> Payload(std::uint8_t seed)
{
    std::array<std::uint8_t, kAnswerPayloadSize> payload{};
    for (std::size_t i = 0; i < payload.size(); ++i) {
        payload[i] = static_cast<std::uint8_t>(i * 7 + seed);
    }
    SetValue(payload, warningCode, 0);  // no warning: the shutdown record stays out of the loop
    return payload;
}

void BM_DecodeAnswerFrame_Unchanged(benchmark::State& state)
{
    ResetLinkStateForTest();
    SetRepaintFunction(CountRepaint);
    const auto payload = Payload(1);
    DecodeAnswerFrame(payload);
    for (auto _ : state) benchmark::DoNotOptimize(DecodeAnswerFrame(payload));
    SetRepaintFunction(nullptr);
}
BENCHMARK(BM_DecodeAnswerFrame_Unchanged);

void BM_DecodeAnswerFrame_AllChanged(benchmark::State& state)
{
    ResetLinkStateForTest();
    SetRepaintFunction(CountRepaint);
    const auto a = Payload(1);
    const auto b = Payload(2);
    bool flip = false;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DecodeAnswerFrame(flip ? a : b));
        flip = !flip;
    }
    SetRepaintFunction(nullptr);
}
BENCHMARK(BM_DecodeAnswerFrame_AllChanged);

// The same with the real repaint routes (no windows exist: each route is looked up and found
// empty), as the program runs when no screen is open.
void BM_DecodeAnswerFrame_AllChangedRealRoutes(benchmark::State& state)
{
    ResetLinkStateForTest();
    const auto a = Payload(1);
    const auto b = Payload(2);
    bool flip = false;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DecodeAnswerFrame(flip ? a : b));
        flip = !flip;
    }
}
BENCHMARK(BM_DecodeAnswerFrame_AllChangedRealRoutes);

// Every flag set on every pass: the encoder clears only the three one-shot flags, so those are
// set again before each build (three stores inside the timed loop).
void BM_BuildCommandFrame_AllFlags(benchmark::State& state)
{
    ResetLinkStateForTest();
    for (std::size_t f = 0; f < kPendingCount; ++f) PendingCommand.Set(static_cast<Pending>(f));
    std::array<std::uint8_t, kMaxCommandFrame> frame{};
    for (auto _ : state) {
        PendingCommand.Set(Pending::clock);
        PendingCommand.Set(Pending::bytes218Once);
        PendingCommand.Set(Pending::unitsAndOptions);
        benchmark::DoNotOptimize(BuildCommandFrame(frame));
    }
}
BENCHMARK(BM_BuildCommandFrame_AllFlags);

}  // namespace
