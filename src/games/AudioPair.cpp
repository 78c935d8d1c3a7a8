#include "games/GameBytes.h"
#include "games/GameFile.h"

#include <array>
#include <span>

namespace brivane {
namespace {

constexpr std::array<const char*, 27> kWolfensteinSongs{
    "CORNER", "DUNGEON", "WARMARCH", "GETTHEM", "HEADACHE", "HITLWLTZ", "INTROCW3", "NAZI_NOR", "NAZI_OMI",
    "POW", "SALUTE", "SEARCHN", "SUSPENSE", "VICTORS", "WONDERIN", "FUNKYOU", "ENDLEVEL", "GOINGAFT",
    "PREGNANT", "ULTIMATE", "NAZI_RAP", "ZEROHOUR", "TWELFTH", "ROSTER", "URAHERO", "VICMARCH", "PACMAN"};
constexpr std::array<const char*, 24> kSpearSongs{
    "XFUNKIE", "DUNGEON", "XDEATH", "GETTHEM", "XTIPTOE", "GOINGAFT", "URAHERO", "XTHEEND",
    "NAZI_OMI", "POW", "TWELFTH", "SEARCHN", "SUSPENSE", "ZEROHOUR", "WONDERIN", "ULTIMATE",
    "ENDLEVEL", "XEVIL", "XJAZNAZI", "COPYPRO", "XAWARD", "XPUTIT", "XGETYOU", "XTOWER2"};
constexpr std::array<const char*, 6> kKeen4Songs{"SHADOWS", "VEGGIES", "TOOHOT", "OASIS", "KICKPANT", "WONDER"};
constexpr std::array<const char*, 14> kKeen5Songs{
    "CAMEIN", "HAVING_T", "SKATING", "SNOOPING", "BAGPIPES", "WEDNESDY", "ROCK_ME",
    "BREATHE", "SHIKAIRE", "SPHEREFUL", "TIGHTER", "ROBOROCK", "FANFARE", "FEARSOME"};
constexpr std::array<const char*, 9> kKeen6Songs{"WONDER", "BRERTAR", "TOFUTURE", "FASTER", "SPACFUNK",
                                                 "ALIENATE", "OMINOUS", "METAL", "MAMSNAKE"};

// The games whose AUDIOT this reads, by extension and, where known, by chunk count: the chunk
// the music starts at (the engines' STARTMUSIC) and the names their sources give the songs.
struct KnownGame {
    const char* Extensions; // ".WL1.WL6."
    const char* Game;
    int Tics;
    std::size_t Chunks;     // 0: any
    std::size_t FirstSong;  // 0: told by the chunks' contents
    std::span<const char* const> Names;
};

constexpr KnownGame kKnownGames[] = {
    {".WL1.WL3.WL6.", "Wolfenstein 3-D", 700, 288, 261, kWolfensteinSongs},
    {".WL1.WL3.WL6.", "Wolfenstein 3-D 1.0", 700, 246, 219, kWolfensteinSongs},
    {".SOD.SDM.", "Spear of Destiny", 700, 267, 243, kSpearSongs},
    {".BS1.BS6.VSI.", "Blake Stone", 700, 0, 300, {}},
    {".BM1.BM2.BM3.", "Bio Menace", 560, 0, 0, {}},
    // Keen's chunks as their AUDIO.CKn holds them expanded: a PC speaker, an AdLib and a
    // digitised chunk for each sound, then the songs.
    {".CK4.", "Commander Keen 4", 560, 162, 156, kKeen4Songs},
    {".CK5.", "Commander Keen 5", 560, 206, 192, kKeen5Songs},
    {".CK6.", "Commander Keen 6", 560, 189, 180, kKeen6Songs},
};

// A music chunk is a song with a length word: a whole number of records within the chunk.
bool LooksLikeSong(std::span<const std::uint8_t> chunk)
{
    if (chunk.size() < 2)
        return false;
    const std::size_t length = chunk[0] | chunk[1] << 8;
    return length > 0 && length % 4 == 0 && length + 2 <= chunk.size();
}

bool IsMarker(std::span<const std::uint8_t> chunk)
{
    return chunk.size() == 4 && chunk[0] == '!' && chunk[1] == 'I' && chunk[2] == 'D' && chunk[3] == '!';
}

// The game an AUDIOT's extension names, and the one of that chunk count where there is one.
const KnownGame* GameOf(const std::string& extension, std::size_t chunks, bool& counted)
{
    const KnownGame* byExtension = nullptr;
    for (const KnownGame& game : kKnownGames)
        if (std::string(game.Extensions).find("." + extension + ".") != std::string::npos) {
            if (game.Chunks == chunks) {
                counted = true;
                return &game;
            }
            byExtension = byExtension ? byExtension : &game;
        }
    counted = byExtension && byExtension->Chunks == 0;
    return byExtension;
}

} // namespace

std::optional<std::size_t> KnownFirstSong(const std::string& extension, std::size_t chunks)
{
    bool counted = false;
    const KnownGame* known = GameOf(extension, chunks, counted);
    return known && counted && known->FirstSong != 0 ? std::optional(known->FirstSong) : std::nullopt;
}

void CheckOffsets(const std::vector<std::uint32_t>& offsets, std::size_t dataSize, const std::string& dataName,
                  std::size_t minimumChunk)
{
    for (std::size_t i = 1; i < offsets.size(); ++i) {
        if (offsets[i] < offsets[i - 1])
            throw GameFileError("its offsets go backwards at chunk " + std::to_string(i - 1));
        if (offsets[i] != offsets[i - 1] && offsets[i] - offsets[i - 1] < minimumChunk)
            throw GameFileError("its chunk " + std::to_string(i - 1) + " is too short to hold its length");
    }
    if (!offsets.empty() && offsets.back() > dataSize)
        throw GameFileError("its offsets reach byte " + std::to_string(offsets.back()) + " of an " + dataName + " of " +
                            std::to_string(dataSize));
}

GameFile ReadAudioPair(const std::vector<std::uint8_t>& header, const std::vector<std::uint8_t>& data,
                       const std::string& extension, std::optional<std::size_t> firstSong)
{
    if (header.size() < 8 || header.size() % 4 != 0)
        throw GameFileError("its AUDIOHED holds " + std::to_string(header.size()) +
                            " bytes, which are no list of offsets");
    const std::vector<std::uint32_t> offsets = OffsetsIn(header, 0, header.size() / 4);
    CheckOffsets(offsets, data.size(), "AUDIOT");
    const std::size_t chunks = offsets.size() - 1;
    const auto chunk = [&](std::size_t i) {
        return std::span<const std::uint8_t>(data).subspan(offsets[i], offsets[i + 1] - offsets[i]);
    };

    // A chunk count of no known version still names its game by the extension; its songs are
    // then checked against the chunks' contents.
    bool counted = false;
    const KnownGame* known = GameOf(extension, chunks, counted);
    if (!known)
        throw GameFileError("its extension ." + extension + " names no game whose music this reads");

    GameFile file;
    file.Game = known->Game;
    std::size_t first = firstSong.value_or(counted ? known->FirstSong : 0);
    if (firstSong && first >= chunks)
        throw GameFileError("it has " + std::to_string(chunks) + " chunks: there is no chunk " + std::to_string(first));
    if (!firstSong && (first == 0 || first >= chunks || !LooksLikeSong(chunk(first)))) {
        // The music is the last section: the run of songs (and markers) that ends the file.
        first = chunks;
        while (first > 0 && (LooksLikeSong(chunk(first - 1)) || IsMarker(chunk(first - 1)) || chunk(first - 1).empty()))
            --first;
        if (first == chunks)
            throw GameFileError("none of its chunks is a song; give the first song's chunk with --first-song");
        file.FoundBy = "the songs were told by their contents, from chunk " + std::to_string(first) + " on";
    }
    const bool byContents = !file.FoundBy.empty();
    for (std::size_t i = first; i < chunks; ++i) {
        const std::span<const std::uint8_t> bytes = chunk(i);
        if (bytes.empty() || IsMarker(bytes))
            continue;
        const std::size_t index = i - first;
        GameSong song;
        song.Number = file.Songs.size() + 1;
        const bool named = index < known->Names.size() && !firstSong && !byContents;
        song.Name = named ? known->Names[index] : "song " + std::to_string(song.Number);
        song.Tics = known->Tics;
        song.Bytes.assign(bytes.begin(), bytes.end());
        song.Place = i;
        file.Songs.push_back(std::move(song));
    }
    if (file.Songs.empty())
        throw GameFileError("none of its chunks is a song; give the first song's chunk with --first-song");
    return file;
}

} // namespace brivane
