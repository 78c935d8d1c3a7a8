#pragma once

#include "conversion/ConversionChoice.h"
#include "interaction/UserInteraction.h"
#include "playback/PlayableSong.h"

#include <optional>
#include <string>

namespace brivane {

// A song loaded for the Play command, with the rate it plays at: a song with a length word at
// the rate it was written for, a headerless one at the bar's (and it follows the bar while it
// plays).
struct SongToPlay {
    PlayableSong Song;
    int TickRate = 0;
    bool Headerless = false;
};

// Nothing when the song cannot be read; the user has been told why.
std::optional<SongToPlay> LoadSongToPlay(const std::string& path, const ConversionChoice& choice,
                                         UserInteraction& ui);

} // namespace brivane
