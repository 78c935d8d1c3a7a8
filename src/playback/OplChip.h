#pragma once

#include "playback/OutputLevel.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

class Copl;

namespace brivane {

// The OPL emulators Brivane can play through, all from AdPlug's library.
enum class Emulator {
    Nuked, // Nuked OPL3, the most exact: the default
    Woody, // Ken Silverman's emulator as improved for DOSBox
    Satoh, // Tatsuyuki Satoh's MAME emulator, set to OPL2
};

// "nuked", "woody" or "satoh"; nothing for any other name.
std::optional<Emulator> EmulatorNamed(const std::string& name);

// One emulated chip: registers written in, signed 16-bit mono samples out. Woody's and Satoh's
// emulators keep some state for the whole process: play one song of theirs at a time.
class OplChip {
public:
    OplChip(Emulator emulator, int sampleRate);
    ~OplChip();
    OplChip(const OplChip&) = delete;
    OplChip& operator=(const OplChip&) = delete;

    void Write(std::uint8_t reg, std::uint8_t value);
    void Render(std::span<std::int16_t> out);

private:
    std::unique_ptr<Copl> chip_;
    bool stereo_;
    // Woody's emulator advances part of its state once a call, not once a sample: fed a sample
    // a call, it sounds the same however a song is cut into buffers.
    bool oneSampleACall_;
    // Satoh's emulator sounds twice as loud as the others and clips where they do not: its
    // output is brought down to theirs inside the chip.
    std::optional<OutputLevel> level_;
};

} // namespace brivane
