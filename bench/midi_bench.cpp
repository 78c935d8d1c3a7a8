// A MIDI file of 1 MB, made here: four tracks of notes with controllers, pitch bends and a
// tempo change every bar, read, played through the bank the program ships, and written as a
// Wolfenstein 3-D song. The yardstick: under 50 ms.
#include "songfile/SongFile.h"
#include "conversion/ConvertCapture.h"

#include <benchmark/benchmark.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutBe(Bytes& to, std::uint32_t value, int count)
{
    for (int i = count - 1; i >= 0; --i)
        to.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

Bytes MakeMidi()
{
    Bytes file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 5, 0x01, 0xE0};
    Bytes tempo;
    for (int bar = 0; bar < 2000; ++bar)
        tempo.insert(tempo.end(), {0x83, 0x60, 0xFF, 0x51, 3, 0x07, static_cast<std::uint8_t>(0x00 + bar % 64), 0x20});
    std::vector<Bytes> tracks{tempo};
    for (std::uint8_t channel = 0; channel < 4; ++channel) {
        Bytes track{0, static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(channel * 8)};
        for (std::uint32_t i = 0; track.size() < (1u << 20) / 4 - 16; ++i) {
            const auto note = static_cast<std::uint8_t>(48 + (i * 7 + channel * 5) % 36);
            track.insert(track.end(), {0, static_cast<std::uint8_t>(0x90 | channel), note, 100,
                                       0x3C, static_cast<std::uint8_t>(0xE0 | channel), 0, static_cast<std::uint8_t>(64 + i % 8),
                                       0x3C, static_cast<std::uint8_t>(0x80 | channel), note, 0});
        }
        tracks.push_back(track);
    }
    for (Bytes& track : tracks) {
        track.insert(track.end(), {0, 0xFF, 0x2F, 0});
        file.insert(file.end(), {'M', 'T', 'r', 'k'});
        PutBe(file, static_cast<std::uint32_t>(track.size()), 4);
        file.insert(file.end(), track.begin(), track.end());
    }
    return file;
}

void BM_ConvertMidi(benchmark::State& state)
{
    const Bytes midi = MakeMidi();
    const brivane::ConversionTarget target{brivane::ImfLengthWord, 700, "Wolfenstein 3-D"};
    for (auto _ : state)
        benchmark::DoNotOptimize(brivane::CaptureSongBytes(*brivane::ReadSongBytes(midi).Timed, target));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * midi.size()));
}

BENCHMARK(BM_ConvertMidi)->Unit(benchmark::kMillisecond);

} // namespace
