#include "FuzzChecks.h"

#include "songfile/SongFile.h"
#include "conversion/ImfInfo.h"
#include "conversion/RescaleDelays.h"
#include "conversion/TicScale.h"
#include "conversion/WolfensteinLayout.h"
#include "games/DosExecutable.h"
#include "games/GameFile.h"
#include "games/Huffman.h"
#include "midi/MidiOnOpl2.h"
#include "settings/clsINI.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace brivane::fuzz {
namespace {

class Silent : public UserInteraction {
public:
    UserReply Show(const UserMessage& message) override
    {
        throw std::runtime_error("unexpected message: " + message.Text);
    }
};

void Require(bool holds, const std::string& property)
{
    if (!holds)
        throw std::runtime_error(property);
}

const std::string& ScratchFile()
{
    static const std::string path = "/tmp/brivane-fuzz-" + std::to_string(::getpid()) + ".scratch";
    return path;
}

void WriteScratch(const std::string& text)
{
    std::ofstream out(ScratchFile(), std::ios::binary | std::ios::trunc);
    out << text;
}

// The insertion rule places keys by their order of arrival, so a reloaded section may order
// its keys differently (5 then 10a loads as 10a, 5 and reloads as 5, 10a). What is kept is
// each section and each key; the order of keys within a section is compared as a set.
std::vector<INISection> Normalised(std::vector<INISection> sections)
{
    for (INISection& section : sections)
        std::sort(section.Keys.begin(), section.Keys.end(), [](const INIKey& a, const INIKey& b) {
            return a.Name != b.Name ? a.Name < b.Name : a.Value < b.Value;
        });
    return sections;
}

} // namespace

void CheckSettingsRoundTrip(const std::uint8_t* data, std::size_t size)
{
    Silent ui;
    WriteScratch(std::string(reinterpret_cast<const char*>(data), size));
    clsINI first(ui);
    first.LoadINI(ScratchFile());
    const std::string saved = first.Serialize();
    WriteScratch(saved);
    clsINI second(ui);
    second.LoadINI(ScratchFile());
    Require(Normalised(second.Sections()) == Normalised(first.Sections()), "load, save, load keeps the document");
    ::unlink(ScratchFile().c_str());
}

void CheckReadLong(const std::uint8_t* data, std::size_t size)
{
    Silent ui;
    clsINI ini(ui);
    ini.AllowSaveFile(false);
    const std::string text(reinterpret_cast<const char*>(data), size);
    ini.WriteValue("General", "OriginalTics", text);
    const std::int32_t value = ini.ReadLong("General", "OriginalTics", 280);
    const bool plainInteger = !text.empty() && text.size() <= 9 &&
                              std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (plainInteger)
        Require(value == std::stoi(text), "a plain integer reads as itself");
}

void CheckConversion(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return;
    const int tics = 100 + data[0] * 600 / 255;
    const float scale = TicScaleFor(tics);
    const std::span<const std::uint8_t> song(data + 1, size - 1);
    const std::vector<std::uint8_t> converted = ToWolfensteinLayout(song, scale);

    Require(converted.size() == song.size() + 2, "two bytes longer");
    Require((converted[0] | (converted[1] << 8)) == static_cast<int>(song.size() / 4 * 4 & 0xFFFF),
            "starts with the length of the whole records");
    const std::size_t completeRecords = song.size() / 4;
    for (std::size_t i = 0; i < song.size(); ++i) {
        const bool inDelay = i % 4 >= 2 && i / 4 < completeRecords;
        if (!inDelay) {
            Require(converted[i + 2] == song[i], "bytes outside the delays are unchanged");
            continue;
        }
        if (i % 4 != 2)
            continue;
        const unsigned delay = song[i] | (song[i + 1] << 8);
        const long double exact = static_cast<long double>(delay) * scale;
        const long double nearest = std::min(std::nearbyint(exact), 65535.0L);
        const unsigned stored = converted[i + 2] | (converted[i + 3] << 8);
        Require(stored == static_cast<unsigned>(nearest), "every delay is rescaled, rounded and saturated");
    }
}

void CheckInfo(const std::uint8_t* data, std::size_t size)
{
    WriteScratch(std::string(reinterpret_cast<const char*>(data), size));
    const ImfInfo info = DescribeImf(ScratchFile(), ToWolfenstein(280));
    ::unlink(ScratchFile().c_str());
    Require(info.Size == size, "the size is the file's");
    Require(info.Records * 4 + info.PartialBytes <= size, "the stream lies inside the file");
    Require(info.Seconds >= 0, "a duration is never negative");
}

void CheckMidi(const std::uint8_t* data, std::size_t size)
{
    // A bank of silent instruments: the reader and the player are what is checked.
    static const GenMidiBank bank = [] {
        std::vector<std::uint8_t> bytes(8 + GenMidiBank::kInstruments * (36 + 32), 0);
        std::copy_n("#OPL_II#", 8, bytes.begin());
        return ReadGenMidi(bytes);
    }();
    std::vector<std::uint8_t> file{'M', 'T', 'h', 'd'};
    file.insert(file.end(), data, data + size);
    try {
        const TimedSong played = PlayMidiOnOpl2(ReadMidi(file), bank, size % 2 ? 9 : 8);
        std::uint64_t last = 0;
        for (const TimedWrite& write : played.Writes) {
            Require(write.At >= last, "the writes come in time order");
            Require((size % 2 == 1) || (write.Register & 0x0F) != 0 || write.Register < 0xA0 || write.Register > 0xC8,
                    "the first channel is left to the games' sound effects");
            last = write.At;
        }
        Require(last <= played.End, "no write comes after the end");
    } catch (const SongReadError&) {
        // refused with its reason
    }
}

void CheckCapture(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return;
    // The first byte picks the mark the rest follows: 0 DRO, 1 RAW, 2 VGM, 3 gzip (VGZ).
    static const std::string kMarks[] = {"DBRAWOPL", "RAWADATA", "Vgm ", std::string("\x1F\x8B", 2)};
    const std::string& mark = kMarks[data[0] % 4];
    std::vector<std::uint8_t> capture(mark.begin(), mark.end());
    capture.insert(capture.end(), data + 1, data + size);
    try {
        SongFile file = ReadSongBytes(capture);
        if (file.Kind == SongFileKind::Damaged)
            return;
        const std::optional<TimedSong>& read = file.Timed;
        // A gzip stream may hold something other than a VGM, which is no capture.
        Require(read.has_value() || data[0] % 4 == 3, "a marked capture is read or refused");
        if (!read)
            return;
        std::uint64_t last = 0;
        for (const TimedWrite& write : read->Writes) {
            Require(write.At >= last, "the writes come in time order");
            last = write.At;
        }
        Require(last <= read->End, "no write comes after the end");
    } catch (const SongReadError&) {
        // refused with its reason
    }
}

void CheckGameFile(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return;
    // The first byte picks the game file, the second where an AUDIOHED ends and its AUDIOT begins.
    static const char* const kExtensions[] = {"WL6", "SOD", "BS6", "BM1", "CMP", "STN"};
    const std::string extension = kExtensions[data[0] % 6];
    const std::vector<std::uint8_t> bytes(data + 2, data + size);
    try {
        const std::size_t split = std::min<std::size_t>(bytes.size(), std::size_t{data[1]} * 4);
        const GameFile file = data[0] % 6 < 4
                                  ? ReadAudioPair({bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(split)},
                                                  {bytes.begin() + static_cast<std::ptrdiff_t>(split), bytes.end()},
                                                  extension, std::nullopt)
                                  : ReadGroupFile(bytes, extension);
        for (const GameSong& song : file.Songs)
            Require(song.Bytes.size() <= bytes.size() && song.Seconds() >= 0, "a song lies inside its file");
    } catch (const GameFileError&) {
        // refused with its reason
    }
}

void CheckHuffman(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return;
    // The first byte's low bit picks a dictionary of the bytes that follow it, or a whole one
    // (every byte's code its own 8 bits) with the bytes to expand; the second gives their count.
    std::vector<std::uint8_t> whole(HuffmanDictionary::kBytes);
    for (std::size_t node = 0; node < HuffmanDictionary::kNodes; ++node)
        for (std::size_t bit = 0; bit < 2; ++bit) {
            const std::size_t child = node < 128 ? 2 * node + bit : 256 + 2 * (node - 128) + bit;
            whole[4 * node + 2 * bit] = static_cast<std::uint8_t>(child), whole[4 * node + 2 * bit + 1] = static_cast<std::uint8_t>(child >> 8);
        }
    const std::span<const std::uint8_t> rest(data + 2, size - 2);
    std::string whyNot;
    const std::optional<HuffmanDictionary> dictionary =
        HuffmanDictionary::Read(data[0] & 1 ? rest : std::span<const std::uint8_t>(whole), whyNot);
    Require(dictionary.has_value() == whyNot.empty(), "a dictionary is read, or refused with its reason");
    if (!dictionary)
        return;
    std::size_t used = 0;
    const std::optional<std::vector<std::uint8_t>> bytes = dictionary->Expand(rest, 4u * data[1], used);
    if (!bytes)
        return;
    Require(bytes->size() == 4u * data[1] && used <= rest.size(), "an expansion gives its length from the bits it has");
    const std::vector<std::uint8_t> coded = dictionary->Compress(*bytes);
    Require(dictionary->Expand(coded, bytes->size(), used) == bytes && used == coded.size(),
            "the bytes coded again expand to themselves, filling their bits");
}

void CheckExecutable(const std::uint8_t* data, std::size_t size)
{
    try {
        const ExecutableImage image = ReadExecutableImage({data, size});
        Require(image.Packed || image.ImageAt + image.Image.size() == size, "a plain image is the file after its header");
        Require(image.Image.size() <= (1u << 20), "a packed image expands to no more than a DOS program takes");
    } catch (const GameFileError&) {
        // refused with its reason
    }
}

} // namespace brivane::fuzz
