#include "playback/SongRenderer.h"

#include <algorithm>

namespace brivane {

SongRenderer::SongRenderer(std::vector<OplWrite> writes, int tickRate, int sampleRate, Emulator emulator)
    : writes_(std::move(writes)), tickRate_(tickRate), sampleRate_(sampleRate), chip_(emulator, sampleRate)
{
    startTick_.reserve(writes_.size() + 1);
    std::uint64_t ticks = 0;
    for (const OplWrite& write : writes_) {
        startTick_.push_back(ticks);
        ticks += write.Delay;
    }
    startTick_.push_back(ticks);
}

std::uint64_t SongRenderer::SamplesFor(std::uint64_t ticks, int tickRate, int sampleRate)
{
    return ticks * static_cast<std::uint64_t>(sampleRate) / static_cast<std::uint64_t>(tickRate);
}

// Sample s covers the positions from played_ to played_ + rate. A write is due before it when
// its time T × SampleRate falls below the end of that span; with a constant rate that is
// exactly the sample floor(T × SampleRate / rate). The sample is part of the song while its
// span ends by T_end × SampleRate.
std::size_t SongRenderer::Render(std::span<std::int16_t> out)
{
    const std::uint64_t rate = static_cast<std::uint64_t>(tickRate_.load());
    const std::uint64_t sampleRate = static_cast<std::uint64_t>(sampleRate_);
    const std::uint64_t end = startTick_.back() * sampleRate;
    std::size_t produced = 0;
    while (produced < out.size()) {
        while (next_ < writes_.size() && startTick_[next_] * sampleRate < played_ + rate) {
            chip_.Write(writes_[next_].Register, writes_[next_].Value);
            ++next_;
        }
        if (played_ + rate > end) {
            finished_ = true;
            break;
        }
        std::uint64_t run = (end - played_) / rate;
        if (next_ < writes_.size())
            run = std::min(run, (startTick_[next_] * sampleRate - played_) / rate);
        run = std::min<std::uint64_t>(run, out.size() - produced);
        chip_.Render(out.subspan(produced, run));
        produced += run;
        played_ += run * rate;
    }
    return produced;
}

} // namespace brivane
