#pragma once

#include "opl/ImfType.h"
#include "midi/MidiOnOpl2.h"

#include <cstdint>
#include <string>
#include <vector>

namespace brivane {

struct OplWrite {
    std::uint8_t Register;
    std::uint8_t Value;
    std::uint16_t Delay; // ticks until the next write
};

// What a file plays: a headerless song from offset 0; a Wolfenstein 3-D song from the L
// bytes after its length word, as far as the file has them, a trailer after them ignored.
// A partial record at the end is ignored.
// A capture plays at its own timing: its writes come at kCaptureTicks, one tick a sample at
// the usual sample rate, and TickRate says so.
struct PlayableSong {
    ImfType Layout = ImfNotFound;
    std::vector<OplWrite> Writes;
    int TickRate = 0; // a capture's; 0 for a song, which plays at its layout's rate
    std::string Source; // "a capture", "a MIDI file": what a song at its own timing came from
};

inline constexpr int kCaptureTicks = 44100;

PlayableSong ParsePlayableSong(const std::vector<std::uint8_t>& file);

// Reads and parses a song or a capture. Throws FileError when the file cannot be read or is
// a damaged capture, NotASongError when it is of another kind.
PlayableSong LoadPlayableSong(const std::string& path, const MidiPlaying& midi = {});

} // namespace brivane
