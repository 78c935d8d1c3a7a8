// Captures of 10 MiB, made here: a VGM (plain and packed) and a DRO 2.0, each read alone and
// converted whole (read, inflated where packed, and written as a headerless song at 560).
// The yardstick: 50 MB/s or more, within 3 times the cost of reading the capture.
#include "songfile/SongFile.h"
#include "conversion/ConvertCapture.h"
#include "support/Gzip.h"

#include <benchmark/benchmark.h>


namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::size_t kSize = 10u << 20;

// Notes on nine channels: a write, a short wait, now and then a wait of its own command.
Bytes MakeVgm()
{
    Bytes vgm(0x80, 0);
    vgm[0] = 'V', vgm[1] = 'g', vgm[2] = 'm', vgm[3] = ' ', vgm[8] = 0x51, vgm[9] = 0x01, vgm[0x34] = 0x4C;
    vgm[0x50] = 0x99, vgm[0x51] = 0x9E, vgm[0x52] = 0x36; // 3,579,545 Hz
    for (std::uint32_t i = 0; vgm.size() < kSize - 8; ++i) {
        vgm.insert(vgm.end(), {0x5A, static_cast<std::uint8_t>(0xA0 + i % 9), static_cast<std::uint8_t>(i), 0x7F});
        if (i % 16 == 0)
            vgm.insert(vgm.end(), {0x61, 0x00, 0x01});
    }
    vgm.push_back(0x66);
    return vgm;
}

Bytes MakeDro()
{
    Bytes dro{'D', 'B', 'R', 'A', 'W', 'O', 'P', 'L', 2, 0, 0, 0};
    const std::uint32_t pairs = (kSize - 40) / 2;
    for (int i = 0; i < 4; ++i)
        dro.push_back(static_cast<std::uint8_t>(pairs >> (8 * i)));
    dro.insert(dro.end(), {0, 0, 0, 0, 0, 0, 0, 0x70, 0x71, 9, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8});
    for (std::uint32_t i = 0; i < pairs; ++i)
        dro.insert(dro.end(), {static_cast<std::uint8_t>(i % 2 ? 0x70 : i / 2 % 9), static_cast<std::uint8_t>(i)});
    return dro;
}

const Bytes& CaptureFile(int kind)
{
    static const Bytes vgm = MakeVgm(), vgz = brivane::test::Gzip(vgm), dro = MakeDro();
    return kind == 0 ? vgm : kind == 1 ? vgz : dro;
}

void Run(benchmark::State& state, bool convert)
{
    const Bytes& file = CaptureFile(static_cast<int>(state.range(0)));
    const brivane::ConversionTarget target{brivane::ImfHeaderless, 560, "Cosmo"};
    for (auto _ : state) {
        const auto capture = brivane::ReadSongBytes(file).Timed;
        if (convert)
            benchmark::DoNotOptimize(brivane::CaptureSongBytes(*capture, target));
        else
            benchmark::DoNotOptimize(capture->Writes.data());
    }
    // Throughput in the capture's own bytes, inflated: what a user's 10 MiB song is.
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
    state.SetLabel(state.range(0) == 0 ? "VGM" : state.range(0) == 1 ? "VGZ" : "DRO");
}

void BM_ReadCapture(benchmark::State& state) { Run(state, false); }
void BM_ConvertCapture(benchmark::State& state) { Run(state, true); }

BENCHMARK(BM_ReadCapture)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertCapture)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

} // namespace
