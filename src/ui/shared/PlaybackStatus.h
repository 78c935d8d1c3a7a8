#pragma once

#include "conversion/ImfInfo.h"
#include "interaction/UserInteraction.h"

#include <string>

namespace brivane {

// What the windows say about songs and their playing, for every front end.

// "Playing SONG.IMF at 280 ticks per second, 0:12 of 2:31"
std::string PlayingStatus(const std::string& name, int tickRate, double positionSeconds, double lengthSeconds);

// "SONG.IMF: headerless, 2:31 at 280 ticks per second", or "SONG.IMF: cannot be read".
std::string SongStatus(const std::string& name, const ImfInfo& info);

// Tells the user that `name` cannot be played: the output device would not open.
void TellCannotPlay(UserInteraction& boxes, const std::string& name);

} // namespace brivane
