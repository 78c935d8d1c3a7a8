#include "conversion/ImfCommand.h"
#include "games/GameBytes.h"
#include "games/GameFile.h"
#include "games/GameChange.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"

#include <algorithm>

namespace brivane {
namespace {

// A file beside `path` of the name the game asks for, found whatever its case; empty when it
// is not there.
std::string FindPartner(const std::string& path, const std::string& partnerName)
{
    const std::string folder = FolderOf(path);
    const bool bare = NameOf(path) == path; // a partner of a bare name is a bare name too
    for (const std::string& name : VisibleFilesIn(folder))
        if (UpperCase(name) == partnerName)
            return bare ? name : folder + PathSeparator() + name;
    return {};
}

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
    for (GameSong& song : file.Songs) {
        if (extension == "CMP")
            song.PlayedFrom = FindPartner(path, song.Name);
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
        if (upper.starts_with("AUDIOT.") || upper.ends_with(".CMP") || upper.ends_with(".VOL") || upper.ends_with(".STN"))
            found.push_back(folder + PathSeparator() + name);
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<std::string> FilesOfGame(const std::string& path)
{
    const PairNames names = NamesOf(path);
    std::vector<std::string> files{path};
    if (names.IsPair)
        if (std::string partner = FindPartner(path, names.PartnerName); !partner.empty())
            files.insert(names.IsHeader ? files.end() : files.begin(), std::move(partner));
    return files;
}

void FinishInterruptedChange(const std::string& path)
{
    const std::vector<std::string> files = FilesOfGame(path);
    if (!ChangeLeft(files))
        return;
    // Under the lock: the change may not be interrupted at all, only still going on.
    FileLock lock = FileLock::Acquire(files.back(), std::chrono::seconds(10));
    if (lock.Status() == FileLock::State::Held)
        FinishGameChange(files, lock);
}

double GameSong::Seconds() const
{
    const SongParts parts = SplitSong(Bytes, Layout == ImfHeaderless);
    std::uint64_t ticks = 0;
    for (std::size_t at = 0; at < parts.Records.size(); at += kImfCommandSize)
        ticks += ReadLe16(parts.Records.data() + at + kDelayOffset);
    return static_cast<double>(ticks) / Tics;
}

GameFile ReadGameFile(const std::string& path, std::optional<std::size_t> firstSong)
{
    FinishInterruptedChange(path);
    const PairNames names = NamesOf(path);
    const std::string header = names.IsHeader ? path : FindPartner(path, names.PartnerName);
    if (!names.IsPair || header.empty())
        return ReadGameFileAsItIs(path, firstSong);
    // A listing needs the header and the music, which ends the AUDIOT: the sounds before it,
    // most of the file, are left unread where the first song's chunk is known.
    const std::vector<std::uint8_t> offsets = ReadWholeFile(header, header);
    const std::size_t chunks = offsets.size() / 4 - 1;
    const std::optional<std::size_t> first = offsets.size() % 4 || offsets.size() < 8
                                                 ? std::nullopt
                                                 : firstSong ? firstSong : KnownFirstSong(names.Extension, chunks);
    if (!first || *first >= chunks)
        return ReadGameFileAsItIs(path, firstSong);
    const std::size_t start = ReadLe32(offsets, 4 * *first), end = ReadLe32(offsets, offsets.size() - 4);
    if (start > end)
        return ReadGameFileAsItIs(path, firstSong);
    const std::string data = names.IsHeader ? FindPartner(path, names.PartnerName) : path;
    std::vector<std::uint8_t> music(start, 0);
    const std::vector<std::uint8_t> read = ReadFileRange(data, start, end - start);
    music.insert(music.end(), read.begin(), read.end());
    GameFile file = ReadAudioPair(offsets, music, names.Extension, firstSong);
    if (!file.FoundBy.empty()) // the songs are told by what may lie in the part not read
        return ReadGameFileAsItIs(path, firstSong);
    file.Files = NameOf(data) + " indexed by " + NameOf(header);
    file.HeaderPath = header;
    file.DataPath = data;
    return file;
}

GameFile ReadGameFileAsItIs(const std::string& path, std::optional<std::size_t> firstSong)
{
    const PairNames names = NamesOf(path);
    const std::string& extension = names.Extension;
    if (names.IsPair) {
        const bool isHeader = names.IsHeader;
        const std::string other = FindPartner(path, names.PartnerName);
        if (other.empty())
            throw GameFileError("its partner " + names.PartnerName + " is not beside it");
        const std::string& header = isHeader ? path : other;
        const std::string& data = isHeader ? other : path;
        std::vector<std::uint8_t> headerBytes = ReadWholeFile(header, header), dataBytes = ReadWholeFile(data, data);
        GameFile file = ReadAudioPair(headerBytes, dataBytes, extension, firstSong);
        file.Files = NameOf(data) + " indexed by " + NameOf(header);
        file.HeaderPath = header;
        file.DataPath = data;
        file.HeaderBytes = std::move(headerBytes);
        file.DataBytes = std::move(dataBytes);
        return file;
    }
    if (extension == "CK4" || extension == "CK5" || extension == "CK6")
        throw GameFileError("it is a file of Commander Keen 4-6, which keep their music compressed with a dictionary "
                            "inside the game's executable; Brivane does not read it");
    std::vector<std::uint8_t> bytes = ReadWholeFile(path, path);
    GameFile file = ReadGroupFile(bytes, extension);
    NoteWhereSongsPlayFrom(path, extension, file);
    file.Files = NameOf(path);
    file.DataPath = path;
    file.DataBytes = std::move(bytes);
    return file;
}

} // namespace brivane
