#include "ui/shared/SongToPlay.h"

#include "songfile/SongFile.h"
#include "platform/FileError.h"

namespace brivane {

std::optional<SongToPlay> LoadSongToPlay(const std::string& path, const ConversionChoice& choice,
                                         UserInteraction& ui)
{
    SongToPlay toPlay;
    try {
        toPlay.Song = LoadPlayableSong(path);
    } catch (const FileError& error) {
        ui.ShowMessage("Could not play " + path + ": " + error.Reason(), "Could not play", MessageStyle::Error);
        return std::nullopt;
    } catch (const NotASongError& error) {
        ui.ShowMessage(error.what(), "Not an IMF song", MessageStyle::Error);
        return std::nullopt;
    }
    toPlay.Headerless = toPlay.Song.Layout == ImfHeaderless && toPlay.Song.TickRate == 0;
    toPlay.TickRate = toPlay.Song.TickRate ? toPlay.Song.TickRate : choice.Rates().SourceTics(toPlay.Song.Layout);
    return toPlay;
}

} // namespace brivane
