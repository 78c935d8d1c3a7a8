#include "playback/OplChip.h"

#include <adplug/emuopl.h>
#include <adplug/nemuopl.h>
#include <adplug/wemuopl.h>

#include <vector>

namespace brivane {
namespace {

// Eight steps of 0.75 dB: half the amplitude.
constexpr int kHalfLevelSteps = 8;

} // namespace

std::optional<Emulator> EmulatorNamed(const std::string& name)
{
    if (name == "nuked")
        return Emulator::Nuked;
    if (name == "woody")
        return Emulator::Woody;
    if (name == "satoh")
        return Emulator::Satoh;
    return std::nullopt;
}

OplChip::OplChip(Emulator emulator, int sampleRate)
    : stereo_(emulator == Emulator::Nuked), oneSampleACall_(emulator == Emulator::Woody)
{
    switch (emulator) {
    case Emulator::Nuked:
        chip_ = std::make_unique<CNemuopl>(sampleRate); // always stereo
        break;
    case Emulator::Woody:
        chip_ = std::make_unique<CWemuopl>(sampleRate, true, false);
        break;
    case Emulator::Satoh: {
        auto satoh = std::make_unique<CEmuopl>(sampleRate, true, false);
        satoh->settype(Copl::TYPE_OPL2);
        chip_ = std::move(satoh);
        break;
    }
    }
    chip_->init();
    // Waveform select on, as the games set it at start-up: songs count on the extra waves.
    chip_->write(0x01, 0x20);
    if (emulator == Emulator::Satoh)
        level_.emplace(kHalfLevelSteps, [this](std::uint8_t reg, std::uint8_t value) { chip_->write(reg, value); });
}

OplChip::~OplChip() = default;

void OplChip::Write(std::uint8_t reg, std::uint8_t value)
{
    if (level_)
        level_->Write(reg, value);
    else
        chip_->write(reg, value);
}

void OplChip::Render(std::span<std::int16_t> out)
{
    if (out.empty())
        return;
    if (oneSampleACall_) {
        for (std::int16_t& sample : out)
            chip_->update(&sample, 1);
        return;
    }
    if (!stereo_) {
        chip_->update(out.data(), static_cast<int>(out.size()));
        return;
    }
    // Nuked gives left and right in turn; the left channel is the song.
    std::vector<std::int16_t> frames(out.size() * 2);
    chip_->update(frames.data(), static_cast<int>(out.size()));
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = frames[2 * i];
}

} // namespace brivane
