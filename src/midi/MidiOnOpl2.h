#pragma once

#include "opl/TimedSong.h"
#include "midi/GenMidiBank.h"
#include "midi/MidiFile.h"

namespace brivane {

// The voices a song from MIDI may use: the games play their AdLib sound effects on the first
// OPL channel, so by default a song leaves it free.
inline constexpr int kDefaultMidiVoices = 8;

// How a MIDI file is played: through which bank (the one shipped when empty), on how many voices.
struct MidiPlaying {
    std::string Bank;
    int Voices = kDefaultMidiVoices;
};

// A MIDI song played on one OPL2 through `bank`: each note keyed on at its time on a voice of
// its instrument, at its pitch (the bank's note offset, the pitch bend) and level (velocity,
// volume, expression), and keyed off at its end or, while the sustain pedal holds it, at the
// pedal's release; as a capture, written as captures are. With more notes than voices, the
// note taken is the oldest of the lowest rank: first a note the pedal alone holds, then the
// second voice of a two-voice instrument, then any other.
// Its Details say what the song holds: division, channels, programs, the most notes at once
// and how many were cut for want of a voice.
TimedSong PlayMidiOnOpl2(const MidiSong& song, const GenMidiBank& bank, int voices = kDefaultMidiVoices);

// A MIDI file read and played as `playing` says. Throws SongReadError with the reason.
TimedSong PlayMidiFile(std::span<const std::uint8_t> bytes, const MidiPlaying& playing);

} // namespace brivane
