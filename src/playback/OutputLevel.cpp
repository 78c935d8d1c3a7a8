#include "playback/OutputLevel.h"

#include <algorithm>

namespace brivane {
namespace {

constexpr int kLevelBase = 0x40;
constexpr int kConnectionBase = 0xC0;
constexpr int kRhythmRegister = 0xBD;
constexpr std::uint8_t kRhythmBit = 0x20;

// Slots run 0-5, 8-13, 16-21: three channels' modulators, then their carriers, per group.
bool IsSlot(int slot)
{
    return slot >= 0 && slot < 22 && slot % 8 < 6;
}

int ChannelOf(int slot)
{
    return slot / 8 * 3 + slot % 8 % 3;
}

bool IsCarrier(int slot)
{
    return slot % 8 >= 3;
}

int ModulatorOf(int channel)
{
    return channel / 3 * 8 + channel % 3;
}

} // namespace

OutputLevel::OutputLevel(int steps, Writer write) : steps_(steps), write_(std::move(write))
{
    for (int slot = 0; slot < 22; ++slot)
        if (IsSlot(slot))
            WriteLevel(slot);
}

bool OutputLevel::IsHeard(int slot) const
{
    const int channel = ChannelOf(slot);
    // In rhythm mode the hi-hat and the tom-tom sound from what are otherwise modulators.
    return IsCarrier(slot) || (connections_[channel] & 1) != 0 || (rhythm_ && channel >= 7);
}

void OutputLevel::WriteLevel(int slot)
{
    const std::uint8_t written = levels_[slot];
    const int level = IsHeard(slot) ? std::min(0x3F, (written & 0x3F) + steps_) : written & 0x3F;
    write_(static_cast<std::uint8_t>(kLevelBase + slot), static_cast<std::uint8_t>((written & 0xC0) | level));
}

void OutputLevel::Write(std::uint8_t reg, std::uint8_t value)
{
    if (IsSlot(reg - kLevelBase)) {
        levels_[reg - kLevelBase] = value;
        WriteLevel(reg - kLevelBase);
        return;
    }
    write_(reg, value);
    if (reg >= kConnectionBase && reg < kConnectionBase + 9) {
        connections_[reg - kConnectionBase] = value;
        WriteLevel(ModulatorOf(reg - kConnectionBase));
    } else if (reg == kRhythmRegister && ((value & kRhythmBit) != 0) != rhythm_) {
        rhythm_ = (value & kRhythmBit) != 0;
        WriteLevel(ModulatorOf(7));
        WriteLevel(ModulatorOf(8));
    }
}

} // namespace brivane
