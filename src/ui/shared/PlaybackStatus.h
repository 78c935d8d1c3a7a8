#pragma once

#include "conversion/ImfInfo.h"
#include "interaction/UserInteraction.h"
#include "ui/shared/StatusText.h"

#include <string>

namespace brivane {

// What the windows say about songs and their playing, for every front end.

// "Playing SONG.IMF at 280 ticks per second, 0:12 of 2:31"
std::string PlayingStatus(const std::string& name, int tickRate, double positionSeconds, double lengthSeconds);

// "SONG.IMF: headerless, 2:31 at 280" (its whole: "... ticks per second" and what the classic
// conversion does to it), "tune.mid: MIDI file, 2:31" (its whole: the MIDI file's kind,
// channels, programs...), or "SONG.IMF: cannot be read".
StatusText SongStatus(const std::string& name, const ImfInfo& info);

// Tells the user that `name` cannot be played: the output device would not open.
void TellCannotPlay(UserInteraction& boxes, const std::string& name);

} // namespace brivane
