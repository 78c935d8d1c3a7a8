#include "conversion/ImfCommand.h"
#include "games/GameFile.h"
#include "games/GameChange.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cctype>

namespace brivane {
namespace {

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The other file of an AUDIOHED/AUDIOT pair, found in the same folder whatever its case;
// empty when it is not there.
std::string FindPartner(const std::string& path, const std::string& partnerName)
{
    const std::string folder = FolderOf(path);
    for (const std::string& name : VisibleFilesIn(folder.empty() ? "." : folder))
        if (Upper(name) == partnerName)
            return folder.empty() ? name : folder + PathSeparator() + name;
    return {};
}

struct PairNames {
    bool IsPair = false;
    bool IsHeader = false;
    std::string Extension, PartnerName;
};

PairNames NamesOf(const std::string& path)
{
    const std::string name = Upper(NameOf(path));
    const std::size_t dot = name.rfind('.');
    PairNames names;
    const std::string stem = name.substr(0, dot);
    names.Extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    names.IsPair = stem == "AUDIOT" || stem == "AUDIOHED";
    names.IsHeader = stem == "AUDIOHED";
    names.PartnerName = (names.IsHeader ? "AUDIOT." : "AUDIOHED.") + names.Extension;
    return names;
}

} // namespace

std::vector<std::string> FilesOfGame(const std::string& path)
{
    const PairNames names = NamesOf(path);
    std::vector<std::string> files{path};
    if (names.IsPair)
        if (std::string partner = FindPartner(path, names.PartnerName); !partner.empty())
            files.insert(names.IsHeader ? files.end() : files.begin(), std::move(partner));
    return files;
}

std::string ChangeRecordOf(const std::string& path)
{
    return FilesOfGame(path).back() + ".change";
}

void FinishInterruptedChange(const std::string& path)
{
    const std::vector<std::string> files = FilesOfGame(path);
    const std::string record = files.back() + ".change";
    const auto exists = [](const std::string& file) { return LookUpPath(file, Links::DoNotFollow).Kind != PathKind::Missing; };
    if (!exists(record) && std::none_of(files.begin(), files.end(), [&](const std::string& f) { return exists(f + ".new"); }))
        return;
    // Under the lock: the change may not be interrupted at all, only still going on.
    FileLock lock = FileLock::Acquire(files.back(), std::chrono::seconds(10));
    if (lock.Status() == FileLock::State::Held)
        FinishGameChange(record, files, lock);
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
    return ReadGameFileAsItIs(path, firstSong);
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
        GameFile file = ReadAudioPair(ReadWholeFile(header, header), ReadWholeFile(data, data), extension, firstSong);
        file.Files = NameOf(data) + " indexed by " + NameOf(header);
        file.HeaderPath = header;
        file.DataPath = data;
        return file;
    }
    GameFile file = ReadGroupFile(ReadWholeFile(path, path), extension);
    file.Files = NameOf(path);
    file.DataPath = path;
    return file;
}

} // namespace brivane
