#include "games/GameBytes.h"
#include "games/GameFile.h"

#include <algorithm>
#include <array>

namespace brivane {
namespace {

constexpr std::size_t kCosmoHeaderSize = 960;

// The names Cosmo's sources give its songs.
constexpr std::array<const char*, 19> kCosmoSongs{
    "MCAVES.MNI", "MSCARRY.MNI", "MBOSS.MNI", "MRUNAWAY.MNI", "MCIRCUS.MNI", "MTEKWRD.MNI", "MEASYLEV.MNI",
    "MROCKIT.MNI", "MHAPPY.MNI", "MDEVO.MNI", "MDADODA.MNI", "MBELLS.MNI", "MDRUMS.MNI", "MBANJO.MNI",
    "MEASY2.MNI", "MTECK2.MNI", "MTECK3.MNI", "MTECK4.MNI", "MZZTOP.MNI"};

} // namespace

GameFile ReadGroupFile(const std::vector<std::uint8_t>& bytes, const std::string& extension)
{
    const bool cosmo = extension == "VOL" || extension == "STN";
    if (!cosmo && extension != "CMP")
        throw GameFileError("its extension ." + extension + " names no group file this reads");
    if (bytes.size() < kEntrySize)
        throw GameFileError("it is too short for a group file's table");
    GameFile file;
    file.Game = cosmo ? "Cosmo's Cosmic Adventure" : "Duke Nukem II";
    // Cosmo reads a header of 960 bytes; Duke Nukem II's table ends at an entry of no offset
    // and no size. Both end at an entry without a name.
    const std::size_t tableEnd = cosmo ? std::min(kCosmoHeaderSize, bytes.size()) : bytes.size();
    for (std::size_t at = 0; at + kEntrySize <= tableEnd; at += kEntrySize) {
        if (bytes[at] == 0)
            break;
        const std::string name = UpperCase(std::string(reinterpret_cast<const char*>(&bytes[at]),
                                                    std::find(&bytes[at], &bytes[at] + kEntryNameSize, 0) - &bytes[at]));
        const std::uint32_t offset = ReadLe32(bytes, at + kEntryOffsetAt), size = ReadLe32(bytes, at + kEntrySizeAt);
        if (!cosmo && offset == 0 && size == 0)
            break;
        if (offset > bytes.size() || size > bytes.size() - offset)
            throw GameFileError("its entry " + name + " lies outside the file");
        const bool song = cosmo ? std::find(kCosmoSongs.begin(), kCosmoSongs.end(), name) != kCosmoSongs.end()
                                : name.ends_with(".IMF");
        if (!song)
            continue;
        GameSong entry;
        entry.Number = file.Songs.size() + 1;
        entry.Name = name;
        entry.Layout = ImfHeaderless;
        entry.Tics = cosmo ? 560 : 280;
        entry.Bytes.assign(bytes.begin() + offset, bytes.begin() + offset + size);
        entry.Place = at;
        file.Songs.push_back(std::move(entry));
    }
    return file;
}

} // namespace brivane
