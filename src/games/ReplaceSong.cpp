#include "songfile/ImfPaths.h"
#include "games/GameBytes.h"
#include "games/GameChange.h"
#include "games/GameFile.h"
#include "games/FilesBeside.h"
#include "games/KeenAudio.h"
#include "platform/FileError.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "songfile/OutputGate.h"

namespace brivane {
namespace {

// Long enough for another Brivane to finish its change of the same game.
constexpr std::chrono::seconds kLockTimeout{10};

// `data` with its `size` bytes from `start` on replaced by `chunk`.
std::vector<std::uint8_t> WithChunk(const std::vector<std::uint8_t>& data, std::size_t start, std::size_t size,
                                    const std::vector<std::uint8_t>& chunk)
{
    std::vector<std::uint8_t> changed(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(start));
    changed.insert(changed.end(), chunk.begin(), chunk.end());
    changed.insert(changed.end(), data.begin() + static_cast<std::ptrdiff_t>(start + size), data.end());
    return changed;
}

// The group file with one entry's data replaced: what follows moves, and so do the offsets
// of the entries stored after it.
std::vector<std::uint8_t> WithEntry(const std::vector<std::uint8_t>& group, std::size_t entry,
                                    const std::vector<std::uint8_t>& song)
{
    const std::uint32_t offset = ReadLe32(group, entry + kEntryOffsetAt), size = ReadLe32(group, entry + kEntrySizeAt);
    std::vector<std::uint8_t> changed = WithChunk(group, offset, size, song);
    const auto moved = static_cast<std::int64_t>(song.size()) - static_cast<std::int64_t>(size);
    for (std::size_t at = 0; at + kEntrySize <= offset && changed[at] != 0; at += kEntrySize) {
        const std::uint32_t other = ReadLe32(changed, at + kEntryOffsetAt);
        if (at != entry && other >= offset + size)
            WriteLe32(changed, at + kEntryOffsetAt, static_cast<std::uint32_t>(other + moved));
    }
    WriteLe32(changed, entry + kEntrySizeAt, static_cast<std::uint32_t>(song.size()));
    return changed;
}

// Where the game reads its chunks' offsets: the file, as it stands, and their place in it.
struct OffsetsFile {
    std::string Path;
    std::vector<std::uint8_t> Bytes;
    std::size_t At = 0;
    // A new AUDIOHED beside an executable that is never rewritten; Bytes are the offsets the
    // game reads now, and the game's patch file must name it.
    bool Made = false;
};

// The chunks of a game, AUDIOT or Keen's AUDIO.CKn, with `chunk` in the place of chunk `place`.
struct ChunkedGame {
    const std::string& DataPath;
    const std::vector<std::uint8_t>& Data;
    const std::vector<std::uint32_t>& Offsets;
};

ReplacedFiles ReplaceChunk(const ChunkedGame& game, std::size_t place, const std::vector<std::uint8_t>& chunk,
                           const OffsetsFile& offsetsFile, FileLock& lock)
{
    // A read-only game file is refused before anything is written beside it.
    EnsureWritable(game.DataPath, "the game file " + game.DataPath);
    const std::size_t start = game.Offsets[place], size = game.Offsets[place + 1] - start;
    if (chunk.size() <= size) {
        // A chunk that fits keeps its size, so that the offsets stay as they are and the game
        // needs no more memory for it: the song's length tells the engine where it ends.
        std::vector<std::uint8_t> padded = chunk;
        padded.resize(size, 0);
        WriteOutput({game.DataPath, "the game file " + game.DataPath, game.DataPath, BackupRule::KeepFirst, &lock, &game.Data},
                    WithChunk(game.Data, start, size, padded), {});
        return {{game.DataPath}, {}};
    }
    // The chunk grows: the later offsets move with it, and both files change.
    std::vector<std::uint32_t> offsets = game.Offsets;
    for (std::size_t i = place + 1; i < offsets.size(); ++i)
        offsets[i] += static_cast<std::uint32_t>(chunk.size() - size);
    std::vector<std::uint8_t> newOffsets = offsetsFile.Bytes;
    const std::vector<std::uint8_t> moved = OffsetBytes(offsets);
    std::copy(moved.begin(), moved.end(), newOffsets.begin() + static_cast<std::ptrdiff_t>(offsetsFile.At));
    EnsureWritable(offsetsFile.Path, "the game file " + offsetsFile.Path);
    Originals originals;
    originals.Keep(offsetsFile.Path, offsetsFile.Bytes);
    originals.Keep(game.DataPath, game.Data);
    // Made first with the offsets as they stand, so that every step leaves a game that plays.
    if (offsetsFile.Made)
        WriteOutput({offsetsFile.Path, "the game file " + offsetsFile.Path, game.DataPath}, offsetsFile.Bytes, {});
    try {
        ChangeGameFiles({{offsetsFile.Path, offsetsFile.Bytes, newOffsets},
                         {game.DataPath, game.Data, WithChunk(game.Data, start, size, chunk)}},
                        lock);
    } catch (const FileError&) {
        if (offsetsFile.Made && !ChangeLeft({offsetsFile.Path, game.DataPath}))
            RemoveFile(offsetsFile.Path, "the game file " + offsetsFile.Path);
        throw;
    }
    return {{game.DataPath, offsetsFile.Path}, offsetsFile.Made ? "%audiohed " + NameOf(offsetsFile.Path) : ""};
}

// Keen's song is coded with the game's own dictionary. Its offsets go where the game reads
// them, except into a packed executable, which is never rewritten: they go into AUDIOHED.CKn
// beside it, which the game loads only when its patch file says so.
ReplacedFiles ReplaceKeenSong(const KeenAudio& held, std::size_t number, const std::vector<std::uint8_t>& song,
                              FileLock& lock)
{
    std::vector<std::uint8_t> chunk(kKeenLengthBytes);
    WriteLe32(chunk, 0, static_cast<std::uint32_t>(song.size()));
    const std::vector<std::uint8_t> coded = held.Dictionary.Compress(song);
    chunk.insert(chunk.end(), coded.begin(), coded.end());
    const GameFile& game = held.File;
    const OffsetsFile offsets = held.OffsetsPacked
                                    ? OffsetsFile{PathBeside(game.DataPath, "AUDIOHED." + held.Extension),
                                                  OffsetBytes(held.Offsets), 0, true}
                                    : OffsetsFile{game.HeaderPath, game.HeaderBytes, held.OffsetsAt, false};
    return ReplaceChunk({game.DataPath, game.DataBytes, held.Offsets}, game.Songs[number - 1].Place, chunk, offsets, lock);
}

} // namespace

ReplacedFiles ReplaceGameSong(const std::string& path, std::size_t number, const std::vector<std::uint8_t>& song)
{
    // The game is read once, under the lock: another Brivane may change it until we hold it.
    const std::vector<std::string> files = ChangeTargetsOf(path);
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
    if (held.HeaderPath.empty()) {
        EnsureWritable(held.DataPath, "the game file " + held.DataPath);
        WriteOutput({held.DataPath, "the game file " + held.DataPath, held.DataPath, BackupRule::KeepFirst, &lock,
                     &held.DataBytes},
                    WithEntry(held.DataBytes, old.Place, song), {});
        return {{held.DataPath}, {}};
    }
    const std::vector<std::uint32_t> offsets = OffsetsIn(held.HeaderBytes, 0, held.HeaderBytes.size() / 4);
    return ReplaceChunk({held.DataPath, held.DataBytes, offsets}, old.Place, song, {held.HeaderPath, held.HeaderBytes},
                        lock);
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
