#include "opl/ImfCommand.h"
#include "games/GameBytes.h"
#include "games/GameFile.h"
#include "games/GameChange.h"
#include "games/FilesBeside.h"
#include "games/KeenAudio.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "platform/TemporaryFile.h"

#include <algorithm>
#include <map>

namespace brivane {

std::map<std::string, std::string> FilesBeside(const std::string& path)
{
    std::map<std::string, std::string> files;
    for (const std::string& name : VisibleFilesIn(FolderOf(path)))
        files.emplace(UpperCase(name), PathBeside(path, name));
    return files;
}

std::string FindPartner(const std::string& path, const std::string& partnerName)
{
    const std::map<std::string, std::string> files = FilesBeside(path);
    const auto found = files.find(partnerName);
    return found == files.end() ? std::string() : found->second;
}

std::string PathBeside(const std::string& path, const std::string& name)
{
    // A partner of a bare name is a bare name too.
    return NameOf(path) == path ? name : FolderOf(path) + PathSeparator() + name;
}

namespace {

struct PairNames {
    bool IsPair = false;
    bool IsHeader = false;
    std::string Extension, PartnerName;
};

PairNames NamesOf(const std::string& path)
{
    const std::string name = UpperCase(NameOf(path));
    const std::size_t dot = name.rfind('.');
    PairNames names;
    const std::string stem = name.substr(0, dot);
    names.Extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    names.IsPair = stem == "AUDIOT" || stem == "AUDIOHED";
    names.IsHeader = stem == "AUDIOHED";
    names.PartnerName = (names.IsHeader ? "AUDIOT." : "AUDIOHED.") + names.Extension;
    return names;
}

// The AUDIOHED and the AUDIOT of the pair `path` names either of.
struct PairFiles {
    std::string Header, Data;
};

PairFiles FilesOfPair(const std::string& path, const PairNames& names)
{
    const std::string partner = FindPartner(path, names.PartnerName);
    if (partner.empty() && !IsReadableFolder(FolderOf(path)))
        throw GameFileError("its folder " + FolderOf(path) + " cannot be listed, so its partner " + names.PartnerName +
                            " cannot be found");
    if (partner.empty())
        throw GameFileError("its partner " + names.PartnerName + " is not beside it");
    return names.IsHeader ? PairFiles{path, partner} : PairFiles{partner, path};
}

// The songs of a pair from its header and as much of its AUDIOT as `data` holds.
GameFile PairRead(const PairFiles& pair, const std::vector<std::uint8_t>& header, const std::vector<std::uint8_t>& data,
                  const PairNames& names, std::optional<std::size_t> firstSong)
{
    GameFile file = ReadAudioPair(header, data, names.Extension, firstSong);
    file.Files = NameOf(pair.Data) + " indexed by " + NameOf(pair.Header);
    file.HeaderPath = pair.Header;
    file.DataPath = pair.Data;
    return file;
}

// The songs of a pair read whole, and its files' bytes kept for a change of them.
GameFile ReadWholePair(const PairFiles& pair, const PairNames& names, std::optional<std::size_t> firstSong)
{
    std::vector<std::uint8_t> header = ReadWholeFile(pair.Header, pair.Header), data = ReadWholeFile(pair.Data, pair.Data);
    GameFile file = PairRead(pair, header, data, names, firstSong);
    file.HeaderBytes = std::move(header);
    file.DataBytes = std::move(data);
    return file;
}

// Where the game looks before its group file: Duke Nukem II takes a loose file of the song's
// name from its folder, and Cosmo takes a song from its .STN before its .VOL.
void NoteWhereSongsPlayFrom(const std::string& path, const std::string& extension, GameFile& file)
{
    std::optional<GameFile> stones;
    if (extension == "VOL") {
        const std::string name = UpperCase(NameOf(path));
        if (const std::string stn = FindPartner(path, name.substr(0, name.rfind('.')) + ".STN"); !stn.empty()) {
            try {
                stones = ReadGroupFile(ReadWholeFile(stn, stn), "STN");
                stones->DataPath = stn;
            } catch (const std::exception&) {
                // An .STN that cannot be read gives the game no copy to prefer.
            }
        }
    }
    const std::map<std::string, std::string> loose =
        extension == "CMP" ? FilesBeside(path) : std::map<std::string, std::string>{};
    for (GameSong& song : file.Songs) {
        if (const auto found = loose.find(song.Name); found != loose.end())
            song.PlayedFrom = found->second;
        else if (stones && FindSong(*stones, song.Name))
            song.PlayedFrom = stones->DataPath;
    }
}

} // namespace

std::vector<std::string> GameFilesIn(const std::string& folder)
{
    std::vector<std::string> found;
    for (std::string& name : VisibleFilesIn(folder)) {
        const std::string upper = UpperCase(name);
        // Brivane's own backups of game files (AUDIOT.WL6.bak) are copies, not games.
        if (upper.ends_with(".BAK"))
            continue;
        if (upper.starts_with("AUDIOT.") || upper.ends_with(".CMP") || upper.ends_with(".VOL") || upper.ends_with(".STN") ||
            (upper.starts_with("AUDIO.") && KeenAudioOf(upper) == upper))
            found.push_back(folder + PathSeparator() + name);
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<std::string> FilesOfGame(const std::string& path)
{
    if (const std::string keen = KeenAudioOf(path); !keen.empty())
        return KeenFilesOfGame(keen);
    return ChangeTargetsOf(path);
}

std::vector<std::string> ChangeTargetsOf(const std::string& path)
{
    if (const std::string keen = KeenAudioOf(path); !keen.empty())
        return KeenChangeTargets(keen);
    const PairNames names = NamesOf(path);
    std::vector<std::string> files{path};
    if (names.IsPair)
        if (std::string partner = FindPartner(path, names.PartnerName); !partner.empty())
            files.insert(names.IsHeader ? files.end() : files.begin(), std::move(partner));
    return files;
}

std::string FinishInterruptedChange(const std::string& path, bool clearStale)
{
    const std::vector<std::string> files = ChangeTargetsOf(path);
    // Under the lock: the change may not be interrupted at all, only still going on, and a
    // temporary file beside the game may be another Brivane's, still being written.
    FileLock lock = FileLock::Acquire(files.back(), std::chrono::seconds(10));
    if (lock.Status() != FileLock::State::Held)
        return {};
    RemoveStaleTemporaryFiles(FolderOf(files.back()));
    return ChangeLeft(files) ? FinishGameChange(files, lock, clearStale) : std::string();
}

std::vector<std::string> FilesChangedWith(const std::string& path)
{
    if (const std::string keen = KeenAudioOf(path); !keen.empty())
        return KeenFilesChangedWith(keen);
    std::vector<std::string> files = ChangeTargetsOf(path);
    const std::string name = UpperCase(NameOf(path));
    if (name.ends_with(".VOL"))
        if (std::string stn = FindPartner(path, name.substr(0, name.rfind('.')) + ".STN"); !stn.empty())
            files.push_back(std::move(stn));
    return files;
}

double GameSong::Seconds() const
{
    const SongParts parts = SplitSong(Bytes, Layout == ImfHeaderless);
    std::uint64_t ticks = 0;
    for (std::size_t at = 0; at < parts.Records.size(); at += kImfCommandSize)
        ticks += ReadLe16(parts.Records.data() + at + kDelayOffset);
    return static_cast<double>(ticks) / Tics;
}

// The songs as they stand, for a listing: of an AUDIOT whose music starts at a known chunk,
// only the music is read.
static GameFile ReadListedGameFile(const std::string& path, std::optional<std::size_t> firstSong)
{
    const PairNames names = NamesOf(path);
    if (!names.IsPair || !KeenAudioOf(path).empty())
        return ReadGameFileAsItIs(path, firstSong);
    const PairFiles pair = FilesOfPair(path, names);
    // A listing needs the header and the music, which ends the AUDIOT: the sounds before it,
    // most of the file, are left unread where the first song's chunk is known.
    const std::vector<std::uint8_t> offsets = ReadWholeFile(pair.Header, pair.Header);
    const std::size_t chunks = offsets.size() / 4 - 1;
    const std::optional<std::size_t> first = offsets.size() % 4 || offsets.size() < 8
                                                 ? std::nullopt
                                                 : firstSong ? firstSong : KnownFirstSong(names.Extension, chunks);
    if (!first || *first >= chunks)
        return ReadWholePair(pair, names, firstSong);
    const std::size_t start = ReadLe32(offsets, 4 * *first), end = ReadLe32(offsets, offsets.size() - 4);
    if (start > end)
        return ReadWholePair(pair, names, firstSong);
    std::vector<std::uint8_t> music(start, 0);
    const std::vector<std::uint8_t> read = ReadFileRange(pair.Data, start, end - start);
    music.insert(music.end(), read.begin(), read.end());
    GameFile file = PairRead(pair, offsets, music, names, firstSong);
    if (!file.FoundBy.empty()) // the songs are told by what may lie in the part not read
        return ReadWholePair(pair, names, firstSong);
    return file;
}

GameFile ReadGameFile(const std::string& path, std::optional<std::size_t> firstSong)
{
    const std::string finished = FinishInterruptedChange(path);
    GameFile file = ReadListedGameFile(path, firstSong);
    file.Finished = finished;
    return file;
}

GameFile ReadGameFileAsItIs(const std::string& path, std::optional<std::size_t> firstSong)
{
    if (const std::string keen = KeenAudioOf(path); !keen.empty())
        return ReadKeenAudio(keen, firstSong).File;
    const PairNames names = NamesOf(path);
    const std::string& extension = names.Extension;
    if (names.IsPair)
        return ReadWholePair(FilesOfPair(path, names), names, firstSong);
    std::vector<std::uint8_t> bytes = ReadWholeFile(path, path);
    GameFile file = ReadGroupFile(bytes, extension);
    NoteWhereSongsPlayFrom(path, extension, file);
    file.Files = NameOf(path);
    file.DataPath = path;
    file.DataBytes = std::move(bytes);
    return file;
}

} // namespace brivane
