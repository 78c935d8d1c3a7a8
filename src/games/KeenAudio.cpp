#include "games/KeenAudio.h"

#include "games/DosExecutable.h"
#include "games/FilesBeside.h"
#include "games/GameBytes.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <array>
#include <map>
#include <sstream>

namespace brivane {
namespace {

// The executables each episode is started with, as its releases name them.
struct Episode {
    const char* Extension;
    std::array<const char*, 2> Executables;
};
constexpr Episode kEpisodes[] = {
    {"CK4", {"KEEN4E.EXE", "KEEN4.EXE"}},
    {"CK5", {"KEEN5E.EXE", "KEEN5.EXE"}},
    {"CK6", {"KEEN6.EXE", "KEEN6E.EXE"}},
};

// Enough chunks to tell the audio dictionary from the graphics one an executable also holds.
constexpr std::size_t kChunksTried = 8;

const Episode* EpisodeOf(const std::string& extension)
{
    for (const Episode& episode : kEpisodes)
        if (extension == episode.Extension)
            return &episode;
    return nullptr;
}

std::string ExtensionOf(const std::string& path)
{
    const std::string name = UpperCase(NameOf(path));
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

// Where each part of the coding was found.
struct Sources {
    std::string Audio, Dictionary, Offsets, Executable;
};

// The files a patch file beside the game loads in place of the executable's own parts, by
// CKPatch's commands ("%audiohed MODHED.CK4"): each command's upper-cased file name, from the
// first patch file, in name order, for this episode that names any.
std::map<std::string, std::string> PatchedFiles(const std::map<std::string, std::string>& beside,
                                                const std::string& extension)
{
    constexpr std::size_t kMaxPatchFileBytes = 1u << 20;
    for (const auto& [name, path] : beside) {
        if (!name.ends_with(".PAT"))
            continue;
        std::vector<std::uint8_t> bytes;
        try {
            bytes = ReadFileStart(path, kMaxPatchFileBytes);
        } catch (const FileError&) {
            continue; // one the game could not read either
        }
        std::istringstream lines(std::string(bytes.begin(), bytes.end()));
        std::map<std::string, std::string> named;
        std::string episode;
        for (std::string line; std::getline(lines, line);) {
            std::istringstream words(line.substr(0, line.find('#')));
            std::string command, file;
            words >> command >> file;
            command = UpperCase(command);
            file = UpperCase(file);
            if (command == "%EXT")
                episode = file;
            else if (command == "%AUDIOHED" || command == "%AUDIODCT")
                named.emplace(command, file);
        }
        if (episode == extension && !named.empty())
            return named;
    }
    return {};
}

Sources SourcesOf(const std::string& audioPath)
{
    const std::string extension = ExtensionOf(audioPath);
    const std::map<std::string, std::string> beside = FilesBeside(audioPath);
    const auto find = [&](const std::string& name) {
        const auto found = beside.find(name);
        return found == beside.end() ? std::string() : found->second;
    };
    std::map<std::string, std::string> names{{"%AUDIODCT", "AUDIODCT." + extension}, {"%AUDIOHED", "AUDIOHED." + extension}};
    for (const auto& [command, file] : PatchedFiles(beside, extension))
        names[command] = file;
    Sources sources{audioPath, find(names["%AUDIODCT"]), find(names["%AUDIOHED"]), {}};
    for (const char* name : EpisodeOf(extension)->Executables)
        if (sources.Executable.empty())
            sources.Executable = find(name);
    return sources;
}

// A run of offsets that rises from 0 to the size of AUDIO.CKn, each chunk empty or holding
// at least its length: where it starts in `image`, or nothing. Where there are several, the
// one with the episode's known count of chunks.
std::optional<std::size_t> FindOffsets(const std::vector<std::uint8_t>& image, std::uint32_t audioSize,
                                       std::size_t& count, const std::string& extension)
{
    std::optional<std::size_t> found;
    for (std::size_t end = 0; end + 4 <= image.size(); ++end) {
        if (ReadLe32(image, end) != audioSize)
            continue;
        std::size_t start = end;
        while (start >= 4) {
            const std::uint32_t before = ReadLe32(image, start - 4), next = ReadLe32(image, start);
            if (before > next || (before != next && next - before < kKeenLengthBytes))
                break;
            start -= 4;
            if (before == 0)
                break;
        }
        const std::size_t chunks = (end - start) / 4;
        if (ReadLe32(image, start) != 0 || chunks < 2)
            continue;
        if (!found || KnownFirstSong(extension, chunks)) {
            found = start;
            count = chunks + 1;
        }
    }
    return found;
}

// Chunk `i` as the game expands it; nothing when the dictionary cannot: its bits run out, or
// they are too few for the length it gives.
std::optional<std::vector<std::uint8_t>> ExpandChunk(const HuffmanDictionary& dictionary,
                                                     const std::vector<std::uint8_t>& audio,
                                                     const std::vector<std::uint32_t>& offsets, std::size_t i,
                                                     bool& filled, std::string& whyNot)
{
    const std::size_t start = offsets[i], size = offsets[i + 1] - start;
    filled = true;
    if (size == 0)
        return std::vector<std::uint8_t>{};
    const std::size_t expanded = ReadLe32(audio, start);
    const std::size_t bits = 8 * (size - kKeenLengthBytes);
    const auto chunk = [i] { return "its chunk " + std::to_string(i); };
    if (expanded > bits) {
        whyNot = chunk() + " gives a length of " + std::to_string(expanded) + " bytes, more than its " +
                 std::to_string(bits) + " bits can hold";
        return std::nullopt;
    }
    std::size_t used = 0;
    const std::span<const std::uint8_t> coded(audio.data() + start + kKeenLengthBytes, size - kKeenLengthBytes);
    std::optional<std::vector<std::uint8_t>> bytes = dictionary.Expand(coded, expanded, used);
    if (!bytes)
        whyNot = chunk() + "'s bits run out before its " + std::to_string(expanded) + " bytes are expanded";
    filled = bytes && used == coded.size();
    return bytes;
}

// Of the whole dictionaries in `image`, the one that expands most of the first chunks, best to
// their last byte: an executable holds the graphics' dictionary too.
std::optional<HuffmanDictionary> FindDictionary(const std::vector<std::uint8_t>& image,
                                                const std::vector<std::uint8_t>& audio,
                                                const std::vector<std::uint32_t>& offsets)
{
    std::optional<HuffmanDictionary> best;
    std::size_t bestFits = 0;
    const std::size_t rootAt = 4 * 254;
    for (std::size_t at = 0; at + HuffmanDictionary::kBytes <= image.size(); ++at) {
        // A root of 256 leaves leads to a node at least: most places fail this before a walk.
        const std::size_t left = image[at + rootAt] | image[at + rootAt + 1] << 8;
        const std::size_t right = image[at + rootAt + 2] | image[at + rootAt + 3] << 8;
        if (left >= 511 || right >= 511 || (left < 256 && right < 256))
            continue;
        std::string whyNot;
        std::optional<HuffmanDictionary> dictionary =
            HuffmanDictionary::Read(std::span(image).subspan(at, HuffmanDictionary::kBytes), whyNot);
        if (!dictionary)
            continue;
        std::size_t fits = 0;
        for (std::size_t i = 0; i + 1 < offsets.size() && i < kChunksTried; ++i) {
            bool filled = false;
            if (ExpandChunk(*dictionary, audio, offsets, i, filled, whyNot))
                fits += filled ? 2 : 1;
        }
        if (fits > bestFits) {
            best = std::move(dictionary);
            bestFits = fits;
        }
    }
    return best;
}

std::string Missing(const std::string& part, const std::string& file, const std::string& extension)
{
    return "neither " + file + "." + extension + " nor the game's " + EpisodeOf(extension)->Executables[0] +
           " is beside it, so its " + part + " cannot be found";
}

// The executable's image, read once for the dictionary and the offsets alike.
class ExecutableBytes {
public:
    explicit ExecutableBytes(std::string path) : path_(std::move(path)) {}

    const std::vector<std::uint8_t>& File()
    {
        Load();
        return file_;
    }
    const ExecutableImage& Image()
    {
        Load();
        return image_;
    }

private:
    void Load()
    {
        if (loaded_)
            return;
        file_ = ReadWholeFile(path_, path_);
        try {
            image_ = ReadExecutableImage(file_);
        } catch (const GameFileError& error) {
            throw GameFileError(NameOf(path_) + ": " + error.what());
        }
        loaded_ = true;
    }

    std::string path_;
    bool loaded_ = false;
    std::vector<std::uint8_t> file_;
    ExecutableImage image_;
};

void ReadOffsets(KeenAudio& keen, const Sources& sources, ExecutableBytes& executable, std::size_t audioSize,
                 const std::string& extension)
{
    if (!sources.Offsets.empty()) {
        keen.File.HeaderPath = sources.Offsets;
        keen.File.HeaderBytes = ReadWholeFile(sources.Offsets, sources.Offsets);
        if (keen.File.HeaderBytes.size() % 4 != 0)
            throw GameFileError("its " + NameOf(sources.Offsets) + " holds " + std::to_string(keen.File.HeaderBytes.size()) +
                                " bytes, which are no list of offsets");
        keen.Offsets = OffsetsIn(keen.File.HeaderBytes, 0, keen.File.HeaderBytes.size() / 4);
        return;
    }
    if (sources.Executable.empty())
        throw GameFileError(Missing("offsets", "AUDIOHED", extension));
    const ExecutableImage& image = executable.Image();
    std::size_t count = 0;
    const std::optional<std::size_t> at = FindOffsets(image.Image, static_cast<std::uint32_t>(audioSize), count, extension);
    if (!at)
        throw GameFileError(NameOf(sources.Executable) + " holds no offsets that end at the " + std::to_string(audioSize) +
                            " bytes of " + NameOf(sources.Audio));
    keen.File.HeaderPath = sources.Executable;
    keen.File.HeaderBytes = executable.File();
    keen.Offsets = OffsetsIn(image.Image, *at, count);
    keen.OffsetsAt = image.ImageAt + *at;
    keen.OffsetsPacked = image.Packed;
}

HuffmanDictionary ReadDictionary(const KeenAudio& keen, const Sources& sources, ExecutableBytes& executable,
                                 const std::string& extension)
{
    if (!sources.Dictionary.empty()) {
        std::string whyNot;
        std::optional<HuffmanDictionary> dictionary =
            HuffmanDictionary::Read(ReadWholeFile(sources.Dictionary, sources.Dictionary), whyNot);
        if (!dictionary)
            throw GameFileError("its dictionary " + NameOf(sources.Dictionary) + " is damaged: " + whyNot);
        return std::move(*dictionary);
    }
    if (sources.Executable.empty())
        throw GameFileError(Missing("dictionary", "AUDIODCT", extension));
    std::optional<HuffmanDictionary> found = FindDictionary(executable.Image().Image, keen.File.DataBytes, keen.Offsets);
    if (!found)
        throw GameFileError(NameOf(sources.Executable) + " holds no dictionary that expands " + NameOf(sources.Audio));
    return std::move(*found);
}

std::string Describe(const Sources& sources, const KeenAudio& keen)
{
    const std::string executable = NameOf(sources.Executable) + (keen.OffsetsPacked ? " (packed with LZEXE)" : "");
    if (sources.Dictionary.empty() && sources.Offsets.empty())
        return NameOf(sources.Audio) + ", coded by the dictionary and offsets in " + executable;
    return NameOf(sources.Audio) + ", coded by " +
           (sources.Dictionary.empty() ? "the dictionary in " + executable : NameOf(sources.Dictionary)) + " and " +
           (sources.Offsets.empty() ? "the offsets in " + executable : NameOf(sources.Offsets));
}

// The songs of the chunks from `from` on expanded, as an AUDIOHED and AUDIOT would hold them
// and told apart as theirs are; the chunks before it are left empty.
GameFile ReadExpanded(const KeenAudio& keen, const std::string& extension, std::optional<std::size_t> firstSong,
                      std::size_t from)
{
    const std::vector<std::uint8_t>& audio = keen.File.DataBytes;
    std::vector<std::uint8_t> header, expanded;
    for (std::size_t i = 0; i + 1 < keen.Offsets.size(); ++i) {
        header.resize(header.size() + 4);
        WriteLe32(header, header.size() - 4, static_cast<std::uint32_t>(expanded.size()));
        if (i < from)
            continue;
        bool filled = false;
        std::string whyNot;
        const std::optional<std::vector<std::uint8_t>> chunk =
            ExpandChunk(keen.Dictionary, audio, keen.Offsets, i, filled, whyNot);
        if (!chunk)
            throw GameFileError(whyNot);
        expanded.insert(expanded.end(), chunk->begin(), chunk->end());
    }
    header.resize(header.size() + 4);
    WriteLe32(header, header.size() - 4, static_cast<std::uint32_t>(expanded.size()));
    return ReadAudioPair(header, expanded, extension, firstSong);
}

// The parts found of a game's audio, AUDIO.CKn last.
std::vector<std::string> FilesAmong(const std::vector<std::string>& parts, const std::string& audioPath)
{
    std::vector<std::string> files;
    for (const std::string& file : parts)
        if (!file.empty())
            files.push_back(file);
    files.push_back(audioPath);
    return files;
}

} // namespace

std::string KeenAudioOf(const std::string& path)
{
    const std::string name = UpperCase(NameOf(path)), extension = ExtensionOf(path);
    const std::string stem = name.substr(0, name.rfind('.'));
    if (EpisodeOf(extension) && stem == "AUDIO")
        return path;
    // An episode's AUDIOHED, AUDIODCT or executable stands for the AUDIO.CKn beside it.
    for (const Episode& episode : kEpisodes) {
        const bool executable = std::find(episode.Executables.begin(), episode.Executables.end(), name) != episode.Executables.end();
        if (executable || (extension == episode.Extension && (stem == "AUDIOHED" || stem == "AUDIODCT"))) {
            const std::string audio = FindPartner(path, std::string("AUDIO.") + episode.Extension);
            return audio.empty() ? PathBeside(path, std::string("AUDIO.") + episode.Extension) : audio;
        }
    }
    return {};
}

KeenAudio ReadKeenAudio(const std::string& audioPath, std::optional<std::size_t> firstSong)
{
    const std::string extension = ExtensionOf(audioPath);
    const Sources sources = SourcesOf(audioPath);
    KeenAudio keen;
    keen.Extension = extension;
    keen.File.DataPath = audioPath;
    keen.File.DataBytes = ReadWholeFile(audioPath, audioPath);
    const std::vector<std::uint8_t>& audio = keen.File.DataBytes;
    ExecutableBytes executable(sources.Executable);
    ReadOffsets(keen, sources, executable, audio.size(), extension);
    if (keen.Offsets.size() < 2)
        throw GameFileError("its offsets name no chunk");
    CheckOffsets(keen.Offsets, audio.size(), NameOf(audioPath), kKeenLengthBytes);
    keen.Dictionary = ReadDictionary(keen, sources, executable, extension);

    // Where the episode's count of chunks tells the first song, the sounds before it are left
    // as they are; a first chunk that is no song has them all read, to tell the songs by
    // their contents.
    const std::size_t chunks = keen.Offsets.size() - 1;
    const std::optional<std::size_t> first = firstSong ? firstSong : KnownFirstSong(extension, chunks);
    GameFile songs = ReadExpanded(keen, extension, firstSong, first.value_or(0));
    if (!songs.FoundBy.empty() && first)
        songs = ReadExpanded(keen, extension, firstSong, 0);
    songs.Files = Describe(sources, keen);
    songs.HeaderPath = std::move(keen.File.HeaderPath);
    songs.HeaderBytes = std::move(keen.File.HeaderBytes);
    songs.DataPath = std::move(keen.File.DataPath);
    songs.DataBytes = std::move(keen.File.DataBytes);
    keen.File = std::move(songs);
    return keen;
}

std::vector<std::string> KeenChangeTargets(const std::string& audioPath)
{
    const Sources sources = SourcesOf(audioPath);
    return FilesAmong({sources.Offsets.empty() ? sources.Executable : sources.Offsets}, audioPath);
}

std::vector<std::string> KeenFilesChangedWith(const std::string& audioPath)
{
    const Sources sources = SourcesOf(audioPath);
    return FilesAmong({sources.Offsets, sources.Executable}, audioPath);
}

std::vector<std::string> KeenFilesOfGame(const std::string& audioPath)
{
    const Sources sources = SourcesOf(audioPath);
    return FilesAmong({sources.Dictionary, sources.Executable, sources.Offsets}, audioPath);
}

} // namespace brivane
