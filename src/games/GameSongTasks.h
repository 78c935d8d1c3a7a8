#pragma once

#include "conversion/Conversion.h"
#include "games/GameFile.h"

#include <optional>
#include <string>
#include <vector>

namespace brivane {

// What a task on a game's songs did, in the words the command line prints and the window
// shows: a failure's title ("Replace failed") and what happened.
struct GameReport {
    bool Failed = false;
    bool FileExists = false; // an extract found a file where the song would go, and left it
    std::string Title;
    std::string Text;
};

// A game file's songs, or the report of why they cannot be read.
struct GameRead {
    std::optional<GameFile> File;
    GameReport Failure;
};
GameRead ReadGameForUser(const std::string& path, std::optional<std::size_t> firstSong = std::nullopt);

// "Wolfenstein 3-D, AUDIOT.WL6 indexed by AUDIOHED.WL6, 27 songs"
std::string GameSummary(const GameFile& game);
// A song as `songs` lists it: number, name, layout and rate, size, duration.
struct SongColumns {
    std::string Number, Name, Layout, Size, Length;
};
SongColumns ColumnsOf(const GameSong& song);
// Where the game plays the song from when not from this file ("the game plays COSMO1.STN's
// copy"), or nothing.
std::string PlayedFromNote(const GameSong& song);

// The file a song is extracted to: its name in the game, as an .imf (GETTHEM.imf, CAVES.IMF).
std::string ExtractedName(const GameSong& song);
// Writes the song as the game holds it into `folder`; over an existing file only when
// `overwrite` is set, and never over one of `gameFiles`. A name that is not a safe file name
// as it stands is written as "song-N.imf".
GameReport ExtractSong(const GameSong& song, const std::string& folder, bool overwrite,
                       const std::vector<std::string>& gameFiles);

// Puts the song or capture at `songPath` in the place of `place`, converted to the game's
// layout and rate (a headerless song at the rate `rates` take it at). A song of a Cosmo .VOL
// that the game plays from its .STN goes into the .STN.
GameReport ReplaceSongWithFile(const std::string& gamePath, const GameSong& place, const std::string& songPath,
                               const Conversion& rates);

// Puts the game's original files back from their backups.
GameReport RestoreGame(const std::string& path);

} // namespace brivane
