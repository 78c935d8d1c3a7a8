#include "capture/CaptureReaders.h"
#include "capture/CaptureRecords.h"
#include "conversion/ConvertCapture.h"
#include "conversion/ImfCommand.h"
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
    if (const std::optional<Capture> capture = ReadCapture(file, rates.Midi)) {
        std::optional<std::vector<std::uint8_t>> bytes = CaptureSongBytes(*capture, target);
        const std::size_t tooLong = bytes ? 0 : CaptureRecords(*capture, place.Tics).size();
        const bool midi = IsMidiFile(file);
        return {std::move(bytes),
                std::string("written from the ") + (midi ? "MIDI file" : "capture") + " at " +
                    std::to_string(place.Tics) + " ticks per second",
                tooLong};
    }
    if (const std::string kind = OtherKindOf(file); !kind.empty())
        throw NotASongError("it is not an IMF song (it is " + kind + ")");
    Conversion conversion = rates;
    conversion.Target = target;
    const ImfType layout = LayoutOfBytes(file);
    if (conversion.AlreadyThere(layout))
        return {file, "already in its layout and rate"};
    std::optional<std::vector<std::uint8_t>> bytes = ConvertSongBytes(file, layout, conversion);
    const std::size_t tooLong = bytes ? 0 : SplitSong(file, layout == ImfHeaderless).Records.size();
    return {std::move(bytes),
            "converted from " + std::to_string(conversion.SourceTics(layout)) + " to " + std::to_string(place.Tics) +
                " ticks per second",
            tooLong};
}

} // namespace brivane
