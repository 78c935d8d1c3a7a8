#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace brivane {

// One channel event of a Standard MIDI File at its exact time: `At` units of the song's time
// base, which the whole tempo map has been applied to.
struct MidiEvent {
    std::uint64_t At = 0;
    std::uint8_t Status = 0; // 0x80-0xEF: the kind in the high nibble, the channel in the low
    std::uint8_t Data1 = 0, Data2 = 0;
};

// A Standard MIDI File's events, every track's merged in time order (a track's own order kept
// for events at the same time, and the tracks in file order).
struct MidiSong {
    int Format = 0;
    std::size_t Tracks = 0;
    std::string Division;                   // "480 ticks per quarter note", "25 frames of 40 ticks"
    std::uint64_t UnitsPerSecond = 1000000; // exact: ticks x tempo over division x 1,000,000
    std::vector<MidiEvent> Events;
    std::uint64_t End = 0; // the last end of track
    std::string Title, Copyright; // the first track name and copyright notice
    std::vector<std::string> Notes; // what was odd but read ("its format 2 file: the first sequence is read")
};

// Reads a Standard MIDI File. Throws SongReadError with the reason for a file that is damaged
// or holds no notes.
MidiSong ReadMidi(std::span<const std::uint8_t> bytes);

} // namespace brivane
