// The delay rescaling against memcpy of the same 64 MiB, timed side by side in each
// iteration, since absolute speeds on shared machines vary. Run in Release: ./bench.sh
#include "conversion/RescaleDelays.h"
#include "conversion/TicScale.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kBufferSize = 64u << 20;
using Clock = std::chrono::steady_clock;

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

// The plain statement of the rule, to prove the fast loop gives the same bytes.
void ScalarReference(std::vector<std::uint8_t>& buffer, float scale)
{
    for (std::size_t i = 2; i + 1 < buffer.size(); i += 4) {
        const double exact = (buffer[i] | (buffer[i + 1] << 8)) * static_cast<double>(scale);
        const double stored = std::min(std::nearbyint(exact), 65535.0);
        buffer[i] = static_cast<std::uint8_t>(static_cast<unsigned>(stored) & 0xFF);
        buffer[i + 1] = static_cast<std::uint8_t>(static_cast<unsigned>(stored) >> 8);
    }
}

double Seconds(Clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

void BM_RescaleAgainstMemcpy(benchmark::State& state)
{
    const auto source = MakeRecords();
    const float scale = brivane::TicScaleFor(280);
    std::vector<std::uint8_t> buffer = source;
    std::vector<std::uint8_t> reference = source;
    brivane::RescaleDelays(buffer, scale);
    ScalarReference(reference, scale);
    if (buffer != reference) {
        std::fprintf(stderr, "the rescaling differs from the scalar reference\n");
        std::abort();
    }

    double rescaleSeconds = 0;
    double memcpySeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        std::memcpy(buffer.data(), source.data(), kBufferSize);
        benchmark::ClobberMemory();
        const auto copied = Clock::now();
        brivane::RescaleDelays(buffer, scale);
        benchmark::ClobberMemory();
        const auto done = Clock::now();
        memcpySeconds += Seconds(copied - start);
        rescaleSeconds += Seconds(done - copied);
        state.SetIterationTime(Seconds(done - copied));
    }
    const double gigabytes = static_cast<double>(kBufferSize) * static_cast<double>(state.iterations()) / 1e9;
    state.counters["rescale_GBps"] = gigabytes / rescaleSeconds;
    state.counters["memcpy_GBps"] = gigabytes / memcpySeconds;
    state.counters["ratio"] = memcpySeconds / rescaleSeconds;
}
BENCHMARK(BM_RescaleAgainstMemcpy)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

} // namespace
