#include "songfile/ImfPaths.h"
#include "games/GameBytes.h"
#include "games/GameChange.h"
#include "games/GameFile.h"
#include "games/KeenAudio.h"
#include "platform/FileError.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "songfile/OutputGate.h"


namespace brivane {
namespace {

// Long enough for another Brivane to finish its change of the same game.
constexpr std::chrono::seconds kLockTimeout{10};

// The group file with one entry's data replaced: what follows moves, and so do the offsets
// of the entries stored after it.
std::vector<std::uint8_t> WithEntry(const std::vector<std::uint8_t>& group, std::size_t entry,
                                    const std::vector<std::uint8_t>& song)
{
    const std::uint32_t offset = ReadLe32(group, entry + kEntryOffsetAt), size = ReadLe32(group, entry + kEntrySizeAt);
    std::vector<std::uint8_t> changed(group.begin(), group.begin() + offset);
    changed.insert(changed.end(), song.begin(), song.end());
    changed.insert(changed.end(), group.begin() + offset + size, group.end());
    const auto moved = static_cast<std::int64_t>(song.size()) - static_cast<std::int64_t>(size);
    for (std::size_t at = 0; at + kEntrySize <= offset && changed[at] != 0; at += kEntrySize) {
        const std::uint32_t other = ReadLe32(changed, at + kEntryOffsetAt);
        if (at != entry && other >= offset + size)
            WriteLe32(changed, at + kEntryOffsetAt, static_cast<std::uint32_t>(other + moved));
    }
    WriteLe32(changed, entry + kEntrySizeAt, static_cast<std::uint32_t>(song.size()));
    return changed;
}

} // namespace

ReplacedFiles ReplaceGameSong(const std::string& path, std::size_t number, const std::vector<std::uint8_t>& song)
{
    // The game is read once, under the lock: another Brivane may change it until we hold it.
    const std::vector<std::string> files = FilesOfGame(path);
    FileLock lock = FileLock::Acquire(files.back(), kLockTimeout);
    if (lock.Status() == FileLock::State::Busy)
        throw GameFileError(NameOf(files.back()) + " is being changed by another Brivane");
    if (lock.Status() != FileLock::State::Held)
        throw FileError("could not open " + files.back(), lock.Error());
    FinishGameChange(files, lock);
    const auto checkNumber = [&](const GameFile& game) {
        if (number == 0 || number > game.Songs.size())
            throw GameFileError("it has no song " + std::to_string(number));
    };
    if (const std::string keen = KeenAudioOf(path); !keen.empty()) {
        const KeenAudio held = ReadKeenAudio(keen, {});
        checkNumber(held.File);
        return ReplaceKeenSong(held, number, song, lock);
    }
    const GameFile held = ReadGameFileAsItIs(path);
    checkNumber(held);
    const GameSong& old = held.Songs[number - 1];
    const std::vector<std::uint8_t>& data = held.DataBytes;
    // A read-only game file is refused before anything is written beside it.
    EnsureWritable(held.DataPath, "the game file " + held.DataPath);
    std::vector<std::uint8_t> changed;
    if (held.HeaderPath.empty()) {
        changed = WithEntry(data, old.Place, song);
    } else {
        const std::vector<std::uint8_t>& header = held.HeaderBytes;
        const std::size_t at = ReadLe32(header, 4 * old.Place);
        if (song.size() > old.Bytes.size()) {
            // The chunk grows: AUDIOHED's later offsets move with it, and both files change.
            EnsureWritable(held.HeaderPath, "the game file " + held.HeaderPath);
            std::vector<std::uint8_t> newHeader = header;
            const std::size_t grown = song.size() - old.Bytes.size();
            for (std::size_t i = old.Place + 1; 4 * i < header.size(); ++i)
                WriteLe32(newHeader, 4 * i, static_cast<std::uint32_t>(ReadLe32(header, 4 * i) + grown));
            changed.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(at));
            changed.insert(changed.end(), song.begin(), song.end());
            changed.insert(changed.end(), data.begin() + static_cast<std::ptrdiff_t>(at + old.Bytes.size()), data.end());
            Originals originals;
            originals.Keep(held.HeaderPath, header);
            originals.Keep(held.DataPath, data);
            ChangeGameFiles({{held.HeaderPath, header, newHeader}, {held.DataPath, data, changed}}, lock);
            return {{held.DataPath, held.HeaderPath}, {}};
        }
        // A song that fits keeps the chunk's size, so that AUDIOHED stays as it is and the game
        // needs no more memory for it: the song's length word tells the engine where it ends.
        changed = data;
        std::copy(song.begin(), song.end(), changed.begin() + static_cast<std::ptrdiff_t>(at));
        std::fill(changed.begin() + static_cast<std::ptrdiff_t>(at + song.size()),
                  changed.begin() + static_cast<std::ptrdiff_t>(at + old.Bytes.size()), std::uint8_t{0});
    }
    const std::string what = "the game file " + held.DataPath;
    WriteOutput({held.DataPath, what, held.DataPath, BackupRule::KeepFirst, &lock, &data}, changed, {});
    return {{held.DataPath}, {}};
}

std::vector<std::string> RestoreGameFiles(const std::string& path)
{
    // A damaged game is what a restore is for: its files are found by name, never read, and a
    // change record that no longer fits them goes with what it was for.
    FinishInterruptedChange(path, true);
    std::vector<std::string> restored;
    for (const std::string& file : FilesChangedWith(path)) {
        const std::string backup = BackupPathFor(file);
        if (LookUpPath(backup, Links::DoNotFollow).Kind != PathKind::Regular)
            continue;
        WriteOutput({file, "the game file " + file, file}, ReadWholeFile(backup, "the backup " + backup, Links::DoNotFollow), {});
        restored.push_back(file);
    }
    return restored;
}

} // namespace brivane
