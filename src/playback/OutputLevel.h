#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace brivane {

// Lowers a chip's output by a fixed step inside the chip, before its own clipping: every
// operator that is heard (a carrier, a modulator in additive mode, the percussion operators
// in rhythm mode) gets its total level raised by `steps` × 0.75 dB. Songs write the levels
// they want; this passes every register on, those levels adjusted.
class OutputLevel {
public:
    using Writer = std::function<void(std::uint8_t reg, std::uint8_t value)>;

    OutputLevel(int steps, Writer write);

    void Write(std::uint8_t reg, std::uint8_t value);

private:
    bool IsHeard(int slot) const;
    void WriteLevel(int slot);

    int steps_;
    Writer write_;
    std::array<std::uint8_t, 22> levels_{}; // 0x40 + slot as the song wrote it
    std::array<std::uint8_t, 9> connections_{};
    bool rhythm_ = false;
};

} // namespace brivane
