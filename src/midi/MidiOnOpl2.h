#pragma once

#include "capture/Capture.h"
#include "midi/GenMidiBank.h"
#include "midi/MidiFile.h"

namespace brivane {

// The voices a song from MIDI may use: the games play their AdLib sound effects on the first
// OPL channel, so by default a song leaves it free.
inline constexpr int kDefaultMidiVoices = 8;

// A MIDI song played on one OPL2 through `bank`: each note keyed on at its time on a voice of
// its instrument, at its pitch (the bank's note offset, the pitch bend) and level (velocity,
// volume, expression), and keyed off at its end or, while the sustain pedal holds it, at the
// pedal's release; as a capture, written as captures are. With more notes than voices, the
// note taken is the oldest of the lowest rank: first a note the pedal alone holds, then the
// second voice of a two-voice instrument, then any other.
Capture PlayMidiOnOpl2(const MidiSong& song, const GenMidiBank& bank, int voices = kDefaultMidiVoices);

} // namespace brivane
