// The delay rescaling against memcpy of the same buffer, side by side in one run, since
// absolute speeds on shared machines vary. Run in Release: ./bench.sh
#include "conversion/RescaleDelays.h"
#include "conversion/TicScale.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kBufferSize = 64u << 20;

std::vector<std::uint8_t> MakeRecords()
{
    std::vector<std::uint8_t> buffer(kBufferSize);
    std::uint32_t state = 12345;
    for (auto& byte : buffer) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return buffer;
}

void BM_RescaleDelays(benchmark::State& state)
{
    const auto source = MakeRecords();
    auto buffer = source;
    const float scale = brivane::TicScaleFor(280);
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(buffer.data(), source.data(), kBufferSize); // rescale the same input each time
        state.ResumeTiming();
        brivane::RescaleDelays(buffer, scale);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBufferSize));
}
BENCHMARK(BM_RescaleDelays)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Memcpy(benchmark::State& state)
{
    const auto source = MakeRecords();
    std::vector<std::uint8_t> target(kBufferSize);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), kBufferSize);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBufferSize));
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
