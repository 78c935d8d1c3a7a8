#include "opl/TimedRecords.h"
#include "conversion/ConvertCapture.h"
#include "opl/ImfCommand.h"
#include "games/GameBytes.h"
#include "games/GameFile.h"
#include "songfile/SongFile.h"

#include <algorithm>

namespace brivane {

const GameSong* FindSong(const GameFile& game, const std::string& wanted)
{
    const auto found = std::find_if(game.Songs.begin(), game.Songs.end(), [&](const GameSong& song) {
        return std::to_string(song.Number) == wanted || UpperCase(song.Name) == UpperCase(wanted);
    });
    return found == game.Songs.end() ? nullptr : &*found;
}

SongForPlace PrepareSong(const SongFile& song, const GameSong& place, const Conversion& rates)
{
    const ConversionTarget target{place.Layout, place.Tics, ""};
    switch (song.Kind) {
    case SongFileKind::Timed: {
        std::optional<std::vector<std::uint8_t>> bytes = CaptureSongBytes(*song.Timed, target);
        const std::size_t tooLong = bytes ? 0 : TimedRecords(*song.Timed, place.Tics).size();
        std::string how = std::string("written from the ") + (song.FromMidi ? "MIDI file" : "capture") + " at " +
                          std::to_string(place.Tics) + " ticks per second";
        if (const std::string remarks = RemarksOn(*song.Timed); !remarks.empty())
            how += "; " + remarks;
        return {std::move(bytes), how, tooLong};
    }
    case SongFileKind::Damaged:
        throw SongReadError(song.Reason);
    case SongFileKind::OtherKind:
        throw NotASongError("it is not an IMF song (it is " + song.Name + ")");
    case SongFileKind::ImfSong:
        break;
    }
    const std::vector<std::uint8_t>& file = song.Bytes;
    Conversion conversion = rates;
    conversion.Target = target;
    const ImfType layout = LayoutOfBytes(file);
    if (conversion.AlreadyThere(layout))
        return {file, "already in its layout and rate"};
    std::optional<std::vector<std::uint8_t>> bytes = ConvertSongBytes(file, layout, conversion);
    const std::size_t tooLong = bytes ? 0 : SplitSong(file, layout == ImfHeaderless).Records.size();
    const int from = conversion.SourceTics(layout);
    const auto layoutName = [](ImfType type) { return type == ImfHeaderless ? "headerless" : "a length word"; };
    // At the same rate only the layout changes, and that is what the message says.
    const std::string how = from == place.Tics ? std::string("converted from ") + layoutName(layout) + " to " +
                                                     layoutName(place.Layout) + " at " + std::to_string(from) +
                                                     " ticks per second"
                                               : "converted from " + std::to_string(from) + " to " +
                                                     std::to_string(place.Tics) + " ticks per second";
    return {std::move(bytes), how, tooLong};
}

} // namespace brivane
