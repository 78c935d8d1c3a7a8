#include "conversion/ImfCommand.h"
#include "games/GameFile.h"
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

// The other file of an AUDIOHED/AUDIOT pair, found in the same folder whatever its case.
std::string Partner(const std::string& path, const std::string& partnerName)
{
    const std::string folder = FolderOf(path);
    for (const std::string& name : VisibleFilesIn(folder.empty() ? "." : folder))
        if (Upper(name) == partnerName)
            return folder.empty() ? name : folder + PathSeparator() + name;
    throw GameFileError("its partner " + partnerName + " is not beside it");
}

} // namespace

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
    const std::string name = Upper(NameOf(path));
    const std::size_t dot = name.rfind('.');
    const std::string stem = name.substr(0, dot), extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (stem == "AUDIOT" || stem == "AUDIOHED") {
        const bool isHeader = stem == "AUDIOHED";
        const std::string other = Partner(path, (isHeader ? "AUDIOT." : "AUDIOHED.") + extension);
        const std::string& header = isHeader ? path : other;
        const std::string& data = isHeader ? other : path;
        GameFile file = ReadAudioPair(ReadWholeFile(header, header), ReadWholeFile(data, data), extension, firstSong);
        file.Files = NameOf(data) + " indexed by " + NameOf(header);
        return file;
    }
    GameFile file = ReadGroupFile(ReadWholeFile(path, path), extension);
    file.Files = NameOf(path);
    return file;
}

} // namespace brivane
