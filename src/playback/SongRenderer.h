#pragma once

#include "playback/OplChip.h"
#include "playback/PlayableSong.h"

#include <atomic>
#include <cstdint>
#include <span>
#include <vector>

namespace brivane {

inline constexpr int kDefaultSampleRate = 44100;

// Plays a song through an emulated chip, a buffer at a time, on an exact schedule: write k
// goes to the chip before output sample floor(T_k × SampleRate / TickRate), T_k being the sum
// of the delays before it, and the song lasts floor(T_end × SampleRate / TickRate) samples.
// The same song therefore gives the same samples whatever sizes it is rendered in.
class SongRenderer {
public:
    SongRenderer(std::vector<OplWrite> writes, int tickRate, int sampleRate = kDefaultSampleRate,
                 Emulator emulator = Emulator::Nuked);

    // Fills `out` from the current position on; returns how many samples it wrote, fewer
    // than asked only when the song has ended.
    std::size_t Render(std::span<std::int16_t> out);

    // May be called from another thread while the song plays: the new rate holds from the
    // current position on.
    void SetTickRate(int tickRate) { tickRate_ = tickRate; }
    int TickRate() const { return tickRate_; }
    int SampleRate() const { return sampleRate_; }

    bool Finished() const { return finished_; }
    // The song's position and length in ticks, for showing where it is.
    double TicksPlayed() const { return static_cast<double>(played_) / sampleRate_; }
    std::uint64_t TotalTicks() const { return startTick_.back(); }

    // How many samples a song of `ticks` lasts at a constant rate.
    static std::uint64_t SamplesFor(std::uint64_t ticks, int tickRate, int sampleRate);

private:
    std::vector<OplWrite> writes_;
    std::vector<std::uint64_t> startTick_; // T_k for each write, then T_end
    std::atomic<int> tickRate_;
    int sampleRate_;
    OplChip chip_;
    std::size_t next_ = 0;     // the next write to send to the chip
    std::uint64_t played_ = 0; // the position, in ticks × sample rate: each sample adds the tick rate
    std::atomic<bool> finished_{false};
};

} // namespace brivane
