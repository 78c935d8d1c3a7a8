#pragma once

#include "opl/TimedSong.h"
#include "conversion/ConvertImf.h"

#include <optional>
#include <string>
#include <vector>

namespace brivane {

// A capture's song in the target's layout and at its rate; nothing when its records are more
// than a length word counts.
std::optional<std::vector<std::uint8_t>> CaptureSongBytes(const TimedSong& capture, const ConversionTarget& target);

// Where a capture's song goes unless the user names a file: beside it, its extension replaced
// by ".imf" (song.dro gives song.imf).
std::string SongPathForCapture(const std::string& capturePath);

// Writes the song of the capture at `path` (read whole as `capture`) to
// conversion.CaptureOutput, or beside the capture; the capture itself is never changed. A song
// already there is replaced as a converted song is, with its backup when makeBackups is set,
// only as conversion.ReplaceSongs says (or the user answers).
ConversionOutcome ConvertCapture(const std::string& path, const TimedSong& capture, const Conversion& conversion,
                                 bool makeBackups, UserInteraction& ui);

} // namespace brivane
