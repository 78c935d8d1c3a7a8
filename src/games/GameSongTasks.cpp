#include "games/GameSongTasks.h"

#include "opl/TimedSong.h"
#include "songfile/SongFile.h"
#include "games/GameBytes.h"
#include "platform/FileError.h"
#include "conversion/CountedText.h"
#include "songfile/ImfPaths.h"
#include "platform/FileSystem.h"
#include "songfile/OutputGate.h"

#include <algorithm>
#include <cstdio>

namespace brivane {
namespace {

GameReport Failure(std::string title, std::string text)
{
    return {true, false, std::move(title), std::move(text)};
}

GameReport Done(std::string text)
{
    return {false, false, {}, std::move(text)};
}

// The copy the game plays, when it is another group file's: Cosmo's .STN before its .VOL.
bool PlaysAnotherGroupFilesCopy(const GameSong& song)
{
    return UpperCase(song.PlayedFrom).ends_with(".STN");
}

// A failed replace says once that it changed nothing, though the reason may say so already.
std::string Unchanged(std::string text)
{
    while (!text.empty() && text.back() == '.')
        text.pop_back();
    return text.ends_with("nothing was changed") ? text : text + "; nothing was changed";
}

} // namespace

GameRead ReadGameForUser(const std::string& path, std::optional<std::size_t> firstSong)
{
    try {
        return {ReadGameFile(path, firstSong), {}};
    } catch (const FileError& error) {
        return {std::nullopt, Failure(IsHeldByAnotherProgram(error.ErrorNumber()) ? "File in use" : "File not readable",
                                      "Could not read " + path + ": " + error.Reason())};
    } catch (const GameFileError& error) {
        return {std::nullopt, Failure("Not a game file", path + ": " + error.what())};
    }
}

std::string GameSummary(const GameFile& game)
{
    return game.Game + ", " + game.Files + ", " + Count(game.Songs.size(), "song", "songs") +
           (game.FoundBy.empty() ? "" : "; " + game.FoundBy) + (game.Finished.empty() ? "" : "; " + game.Finished);
}

SongColumns ColumnsOf(const GameSong& song)
{
    char length[32];
    std::snprintf(length, sizeof length, "%.2f seconds", song.Seconds());
    return {std::to_string(song.Number), song.Name,
            std::string(song.Layout == ImfHeaderless ? "headerless" : "length word") + " at " + std::to_string(song.Tics),
            Count(song.Bytes.size(), "byte", "bytes"), length};
}

std::string PlayedFromNote(const GameSong& song)
{
    if (song.PlayedFrom.empty())
        return {};
    return PlaysAnotherGroupFilesCopy(song) ? "the game plays " + NameOf(song.PlayedFrom) + "'s copy"
                                            : "the game plays the loose " + NameOf(song.PlayedFrom) + " beside it";
}

std::string ExtractedName(const GameSong& song)
{
    std::string name = song.Name.substr(0, song.Name.rfind('.'));
    std::replace(name.begin(), name.end(), ' ', '-');
    return name + (song.Name.ends_with(".IMF") ? ".IMF" : ".imf");
}

GameReport ExtractSong(const GameSong& song, const std::string& folder, bool overwrite,
                       const std::vector<std::string>& gameFiles)
{
    // A name from inside the game's file is data: it must not reach outside the folder.
    const std::string wanted = ExtractedName(song);
    const bool safe = IsSafeFileName(wanted);
    const std::string out = JoinPath(folder, safe ? wanted : "song-" + std::to_string(song.Number) + ".imf");
    if (!overwrite && LookUpPath(out).Kind != PathKind::Missing) {
        GameReport exists = Failure("File exists", out + " exists");
        exists.FileExists = true;
        return exists;
    }
    try {
        WriteOutput({out, "the song " + out, song.Name}, song.Bytes, gameFiles);
        return Done("Extracted song " + std::to_string(song.Number) + " (" + song.Name + ") to " + out +
                    (safe ? "" : ", since its name is not one a file can safely have"));
    } catch (const FileError& error) {
        return Failure("Extract failed", error.what());
    }
}

GameReport ReplaceSongWithFile(const std::string& gamePath, const GameSong& place, const std::string& songPath,
                               const Conversion& rates)
{
    const std::string title = "Replace failed";
    std::string target = gamePath;
    GameSong into = place;
    try {
        if (PlaysAnotherGroupFilesCopy(place)) {
            target = place.PlayedFrom;
            const GameFile played = ReadGameFile(target);
            const GameSong* copy = FindSong(played, place.Name);
            if (!copy)
                throw GameFileError("it no longer holds " + place.Name);
            into = *copy;
        }
        // The game put into itself would be found by its contents at another chunk afterwards.
        for (const std::string& path : {gamePath, target})
            for (const std::string& file : FilesOfGame(path))
                if (SamePlace(songPath, file))
                    return Failure(title, Unchanged(songPath + " is " + NameOf(file) + ", a file of the game itself"));
        const SongForPlace song = PrepareSong(ReadSongFile(songPath, rates.Midi), into, rates);
        if (!song.Bytes)
            return Failure(title, Unchanged(target + ": the song of " + NameOf(songPath) + " takes " +
                                            std::to_string(song.RecordBytes) +
                                            " bytes, more than the 65535 a length word counts"));
        const ReplacedFiles replaced = ReplaceGameSong(target, into.Number, *song.Bytes);
        std::string changed;
        for (const std::string& file : replaced.Files)
            changed += (changed.empty() ? "" : " and ") + NameOf(file);
        std::string text = "Put " + NameOf(songPath) + " into " + changed + " as song " + std::to_string(into.Number) +
                           " (" + into.Name + "): " + song.How;
        if (!into.PlayedFrom.empty())
            text += "; " + PlayedFromNote(into) + ", which was left as it is";
        if (!replaced.PatchLine.empty())
            text += ".\nThe game's executable is packed, so the chunks' new offsets are in " + NameOf(replaced.Files.back()) +
                    ", which the game loads only when the patch file it is started with has this line:\n" +
                    replaced.PatchLine;
        return Done(text);
    } catch (const FileError& error) {
        return Failure(title, Unchanged(error.what()));
    } catch (const GameFileError& error) {
        return Failure(title, Unchanged(target + ": " + error.what()));
    } catch (const SongReadError& error) {
        return Failure(title, Unchanged(songPath + ": " + error.what()));
    } catch (const NotASongError& error) {
        return Failure(title, Unchanged(songPath + ": " + error.what()));
    }
}

GameReport RestoreGame(const std::string& path)
{
    try {
        const std::vector<std::string> restored = RestoreGameFiles(path);
        if (restored.empty())
            return Failure("Nothing to restore", path + " has no backups; Brivane has not changed it");
        std::string text;
        for (const std::string& file : restored)
            text += (text.empty() ? "" : "\n") + ("Restored " + file + " from " + BackupPathFor(file));
        return Done(text);
    } catch (const FileError& error) {
        return Failure("Restore failed", error.what());
    }
}

} // namespace brivane
