#include "capture/CaptureReaders.h"
#include "conversion/ConvertCapture.h"
#include "conversion/SongRecognition.h"
#include "games/GameBytes.h"
#include "games/GameFile.h"

#include <algorithm>

namespace brivane {

const GameSong* FindSong(const GameFile& game, const std::string& wanted)
{
    const auto found = std::find_if(game.Songs.begin(), game.Songs.end(), [&](const GameSong& song) {
        return std::to_string(song.Number) == wanted || UpperCase(song.Name) == UpperCase(wanted);
    });
    return found == game.Songs.end() ? nullptr : &*found;
}

SongForPlace PrepareSong(const std::vector<std::uint8_t>& file, const GameSong& place, const Conversion& rates)
{
    const ConversionTarget target{place.Layout, place.Tics, ""};
    if (const std::optional<Capture> capture = ReadCapture(file, rates.Midi))
        return {CaptureSongBytes(*capture, target), "written from the capture at " + std::to_string(place.Tics) +
                                                         " ticks per second"};
    if (const std::string kind = OtherKindOf(file); !kind.empty())
        throw NotASongError("it is not an IMF song (it is " + kind + ")");
    Conversion conversion = rates;
    conversion.Target = target;
    const ImfType layout = LayoutOfBytes(file);
    if (conversion.AlreadyThere(layout))
        return {file, "already in its layout and rate"};
    return {ConvertSongBytes(file, layout, conversion), "converted from " + std::to_string(conversion.SourceTics(layout)) +
                                                            " to " + std::to_string(place.Tics) + " ticks per second"};
}

} // namespace brivane
