#include "games/GameChange.h"
#include "games/GameFile.h"
#include "platform/FileError.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"

namespace brivane {
namespace {

// Long enough for another Brivane to finish its change of the same game.
constexpr std::chrono::seconds kLockTimeout{10};

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t U32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// The game's own file is kept the first time Brivane changes it, and never written over after.
void KeepOriginal(const std::string& path, const std::vector<std::uint8_t>& original)
{
    const std::string backup = path + ".bak";
    if (LookUpPath(backup, Links::DoNotFollow).Kind == PathKind::Missing)
        ReplaceFile(backup, original, "the backup " + backup, {Durability::Flushed, Links::DoNotFollow, path, path});
}

// The group file with one entry's data replaced: what follows moves, and so do the offsets
// of the entries stored after it.
std::vector<std::uint8_t> WithEntry(const std::vector<std::uint8_t>& group, std::size_t entry,
                                    const std::vector<std::uint8_t>& song)
{
    const std::uint32_t offset = U32(group, entry + 12), size = U32(group, entry + 16);
    std::vector<std::uint8_t> changed(group.begin(), group.begin() + offset);
    changed.insert(changed.end(), song.begin(), song.end());
    changed.insert(changed.end(), group.begin() + offset + size, group.end());
    const auto moved = static_cast<std::int64_t>(song.size()) - static_cast<std::int64_t>(size);
    for (std::size_t at = 0; at + 20 <= offset && changed[at] != 0; at += 20) {
        const std::uint32_t other = U32(changed, at + 12);
        if (at != entry && other >= offset + size)
            PutU32(changed, at + 12, static_cast<std::uint32_t>(other + moved));
    }
    PutU32(changed, entry + 16, static_cast<std::uint32_t>(song.size()));
    return changed;
}

} // namespace

std::vector<std::string> ReplaceGameSong(const std::string& path, std::size_t number, const std::vector<std::uint8_t>& song)
{
    const GameFile game = ReadGameFile(path);
    if (number == 0 || number > game.Songs.size())
        throw GameFileError("it has no song " + std::to_string(number));
    FileLock lock = FileLock::Acquire(game.DataPath, kLockTimeout);
    if (lock.Status() == FileLock::State::Busy)
        throw GameFileError(NameOf(game.DataPath) + " is being changed by another Brivane");
    if (lock.Status() != FileLock::State::Held)
        throw FileError("could not open " + game.DataPath, lock.Error());
    // Read again under the lock: another Brivane may have changed it while we waited.
    FinishGameChange(ChangeRecordOf(path), FilesOfGame(path), lock);
    const GameFile held = ReadGameFileAsItIs(path);
    const GameSong& old = held.Songs.at(number - 1);
    const std::vector<std::uint8_t> data = ReadWholeFile(lock.File(), "the game file " + held.DataPath);
    std::vector<std::uint8_t> changed;
    if (held.HeaderPath.empty()) {
        changed = WithEntry(data, old.Place, song);
    } else {
        const std::vector<std::uint8_t> header = ReadWholeFile(held.HeaderPath, held.HeaderPath);
        const std::size_t at = U32(header, 4 * old.Place);
        if (song.size() > old.Bytes.size()) {
            // The chunk grows: AUDIOHED's later offsets move with it, and both files change.
            std::vector<std::uint8_t> newHeader = header;
            const std::size_t grown = song.size() - old.Bytes.size();
            for (std::size_t i = old.Place + 1; 4 * i < header.size(); ++i)
                PutU32(newHeader, 4 * i, static_cast<std::uint32_t>(U32(header, 4 * i) + grown));
            changed.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(at));
            changed.insert(changed.end(), song.begin(), song.end());
            changed.insert(changed.end(), data.begin() + static_cast<std::ptrdiff_t>(at + old.Bytes.size()), data.end());
            KeepOriginal(held.HeaderPath, header);
            KeepOriginal(held.DataPath, data);
            ChangeGameFiles(ChangeRecordOf(path), {{held.HeaderPath, newHeader}, {held.DataPath, changed}}, lock);
            return {held.DataPath, held.HeaderPath};
        }
        // A song that fits keeps the chunk's size, so that AUDIOHED stays as it is and the game
        // needs no more memory for it: the song's length word tells the engine where it ends.
        changed = data;
        std::copy(song.begin(), song.end(), changed.begin() + static_cast<std::ptrdiff_t>(at));
        std::fill(changed.begin() + static_cast<std::ptrdiff_t>(at + song.size()),
                  changed.begin() + static_cast<std::ptrdiff_t>(at + old.Bytes.size()), std::uint8_t{0});
    }
    KeepOriginal(held.DataPath, data);
    lock.Replace(changed, "the game file " + held.DataPath);
    return {held.DataPath};
}

std::vector<std::string> RestoreGameFiles(const std::string& path)
{
    // A damaged game is what a restore is for: its files are found by name, never read.
    FinishInterruptedChange(path);
    std::vector<std::string> restored;
    for (const std::string& file : FilesOfGame(path)) {
        const std::string backup = file + ".bak";
        if (LookUpPath(backup, Links::DoNotFollow).Kind != PathKind::Regular)
            continue;
        ReplaceFile(file, ReadWholeFile(backup, "the backup " + backup, Links::DoNotFollow), "the game file " + file);
        restored.push_back(file);
    }
    return restored;
}

} // namespace brivane
