#pragma once

#include "conversion/ImfInfo.h"

#include <string>

namespace brivane {

// The status bar's words about songs, for every front end.

// "Playing SONG.IMF at 280 ticks per second, 0:12 of 2:31"
std::string PlayingStatus(const std::string& name, int tickRate, double positionSeconds, double lengthSeconds);

// "SONG.IMF: headerless, 2:31 at 280 ticks per second", or "SONG.IMF: cannot be read".
std::string SongStatus(const std::string& name, const ImfInfo& info);

} // namespace brivane
