#include "ui/shared/SongOutput.h"

namespace brivane {

bool SongOutput::Play(PlayableSong song, int tickRate)
{
    Stop();
    renderer_ = std::make_unique<SongRenderer>(std::move(song.Writes), tickRate, kSampleRate);
    ticksPlayed_ = 0;
    if (StartOutput())
        return true;
    renderer_.reset();
    return false;
}

void SongOutput::Stop()
{
    if (!renderer_)
        return;
    StopOutput();
    renderer_.reset();
    AfterStop();
}

void SongOutput::SetTickRate(int tickRate)
{
    if (renderer_)
        renderer_->SetTickRate(tickRate);
}

int SongOutput::TickRate() const
{
    return renderer_ ? renderer_->TickRate() : 0;
}

double SongOutput::PositionSeconds() const
{
    return renderer_ ? ticksPlayed_ / renderer_->TickRate() : 0;
}

double SongOutput::LengthSeconds() const
{
    return renderer_ ? static_cast<double>(renderer_->TotalTicks()) / renderer_->TickRate() : 0;
}

std::size_t SongOutput::Render(std::span<std::int16_t> out)
{
    const std::size_t rendered = renderer_->Render(out);
    ticksPlayed_ = renderer_->TicksPlayed();
    return rendered;
}

} // namespace brivane
