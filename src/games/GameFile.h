#pragma once

#include "conversion/Conversion.h"
#include "opl/ImfType.h"
#include "songfile/SongFile.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace brivane {

// One song inside a game's files, as the game holds it.
struct GameSong {
    std::size_t Number = 0;    // from 1, as `songs` lists them
    std::string Name;          // the game's own ("GETTHEM", "MCAVES.MNI"), or "song 12"
    ImfType Layout = ImfLengthWord;
    int Tics = 700;            // the rate the game plays it at
    std::vector<std::uint8_t> Bytes;
    std::size_t Place = 0;     // its chunk in an AUDIOT, or its entry's place in a group table
    // The file the game plays this song from instead, when there is one beside it: Duke
    // Nukem II's loose file of the same name, or Cosmo's .STN copy of a .VOL's song.
    std::string PlayedFrom;
    double Seconds() const;
};

// The songs of a game file: an AUDIOHED/AUDIOT pair or a group file.
struct GameFile {
    std::string Game;          // "Wolfenstein 3-D"
    std::string Files;         // "AUDIOT.WL6 indexed by AUDIOHED.WL6"
    std::string FoundBy;       // how the first song was told, when not by the table of known games
    std::vector<GameSong> Songs;
    std::string HeaderPath;    // an AUDIOHED; empty for a group file
    std::string DataPath;      // its AUDIOT, or the group file
    std::vector<std::uint8_t> HeaderBytes, DataBytes; // the files as read, for a change of them
    std::string Finished; // a change a crash interrupted, finished before it was read
};

// A game file that cannot be read: what() is the reason ("its offsets go backwards at chunk 12").
class GameFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The songs of an AUDIOHED (N + 1 little-endian offsets) and its AUDIOT, whose extension names
// the game; `firstSong` is the chunk the music starts at, when the user says so.
GameFile ReadAudioPair(const std::vector<std::uint8_t>& header, const std::vector<std::uint8_t>& data,
                       const std::string& extension, std::optional<std::size_t> firstSong);

// Refuses offsets that go backwards, or reach past the `dataSize` bytes of the file they index
// (`dataName`, "AUDIOT"), or leave a chunk that is not empty fewer than `minimumChunk` bytes.
void CheckOffsets(const std::vector<std::uint32_t>& offsets, std::size_t dataSize, const std::string& dataName,
                  std::size_t minimumChunk = 0);

// The chunk the music of an AUDIOT starts at, when the table of known games names it for
// this extension and chunk count.
std::optional<std::size_t> KnownFirstSong(const std::string& extension, std::size_t chunks);

// The songs of a group file: Duke Nukem II's .CMP, Cosmo's .VOL or .STN.
GameFile ReadGroupFile(const std::vector<std::uint8_t>& bytes, const std::string& extension);

// The songs of the game file at `path`: either file of an AUDIOHED/AUDIOT pair, a group file,
// or Commander Keen 4-6's AUDIO.CKn (or its AUDIOHED or AUDIODCT),
// once a change of its files that a crash interrupted has been finished. Of an AUDIOT whose
// music starts at a known chunk only the music is read, and the file's bytes are not kept.
// Throws GameFileError, or FileError when a file cannot be read or the change cannot be finished.
GameFile ReadGameFile(const std::string& path, std::optional<std::size_t> firstSong = std::nullopt);
// The same, read whole and kept, for a caller that holds the game's lock and has finished any
// change itself.
GameFile ReadGameFileAsItIs(const std::string& path, std::optional<std::size_t> firstSong = std::nullopt);

// Finishes a change of the game's files that a crash interrupted, or clears away one that had
// not begun, and removes the temporary files a killed Brivane left beside them; says what it
// finished. A change record that no longer fits the files is thrown as a GameFileError, or
// with `clearStale` taken away.
std::string FinishInterruptedChange(const std::string& path, bool clearStale = false);

// The files a replace of a song of the game file at `path` may change: its own, and for
// Cosmo's .VOL the .STN whose copy the game plays.
std::vector<std::string> FilesChangedWith(const std::string& path);

// The game files in a folder, each game once: its AUDIOT.* files and its group files, by name.
std::vector<std::string> GameFilesIn(const std::string& folder);

// The files a change of the game file at `path` writes together: it, and its partner when it
// has one (Keen's: where its offsets are), the one its lock is taken on (the AUDIOT, the group
// file, Keen's AUDIO.CKn) last.
std::vector<std::string> ChangeTargetsOf(const std::string& path);

// Every file of the game file at `path`, read or not, none of which a song may be taken from
// or written over: its change targets, and the files it is only read with (Keen's dictionary
// and executable).
std::vector<std::string> FilesOfGame(const std::string& path);

// The song a user names: by its number in `songs`, or by its name in any case; nothing when
// the game has no such song.
const GameSong* FindSong(const GameFile& game, const std::string& wanted);

// A file made ready for a song's place: its bytes in the place's layout and at its rate
// (nothing when they are more than a length word counts), and how they were made.
struct SongForPlace {
    std::optional<std::vector<std::uint8_t>> Bytes;
    std::string How; // "converted from 280 to 700 ticks per second"
    std::size_t RecordBytes = 0; // with no bytes, the song too long: what its records take
};

// A song file as the door read it, for `place`: an IMF song in any layout (a headerless one at
// the rate `rates` take headerless songs at), a capture or a MIDI file. Throws SongReadError
// for a damaged capture, NotASongError for a file of another kind.
SongForPlace PrepareSong(const SongFile& song, const GameSong& place, const Conversion& rates);

// The files a replace changed, and the line the game's patch file needs to load one of them,
// when it has one ("%audiohed AUDIOHED.CK4").
struct ReplacedFiles {
    std::vector<std::string> Files;
    std::string PatchLine;
};

// Puts `song`, in the game's layout and at its rate, in the place of song `number` of the game
// file at `path`, keeping each file it changes as NAME.bak the first time. A song that fits
// the chunk it replaces changes the AUDIOT (or Keen's AUDIO.CKn) alone, in one atomic replace,
// and a group file is replaced whole; a song that grows its chunk changes the offsets and the
// chunks as one recorded change (ChangeGameFiles). Throws GameFileError, or FileError when a
// file cannot be read or written; nothing has changed then.
ReplacedFiles ReplaceGameSong(const std::string& path, std::size_t number, const std::vector<std::uint8_t>& song);

// Puts back the files of the game file at `path` from their backups; returns the files put
// back, none when there are no backups.
std::vector<std::string> RestoreGameFiles(const std::string& path);

} // namespace brivane
