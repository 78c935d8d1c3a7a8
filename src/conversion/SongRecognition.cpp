#include "conversion/SongRecognition.h"

#include <algorithm>
#include <string_view>

namespace brivane {
namespace {

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view mark, std::size_t at = 0)
{
    return bytes.size() >= at + mark.size() &&
           std::equal(mark.begin(), mark.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

struct Mark {
    std::string_view Bytes;
    const char* Kind;
};

// Marks at offset 0, as the formats' own documents give them.
constexpr Mark kMarks[] = {
    {"DBRAWOPL", "a DOSBox DRO capture"},
    {"RAWADATA", "an Rdos RAW capture"},
    {"Vgm ", "a VGM capture"},
    {std::string_view("\x1F\x8B", 2), "a gzip-compressed file (a VGZ capture, perhaps)"},
    {std::string_view("MThd\0\0\0\x06", 8), "a MIDI file"},
    {"CTMF", "a Creative CMF file"},
    {"OggS", "an Ogg file"},
    {"fLaC", "a FLAC file"},
    {"ID3", "an MP3 file"},
    {"PK\x03\x04", "a ZIP archive"},
};

} // namespace

std::string OtherKindOf(std::span<const std::uint8_t> start)
{
    for (const Mark& mark : kMarks)
        if (StartsWith(start, mark.Bytes))
            return mark.Kind;
    if (StartsWith(start, "RIFF") && StartsWith(start, "WAVE", 8))
        return "a WAV file";
    // An MPEG audio frame's sync: eleven bits set. As a length word it would count a partial
    // record, which no song's does.
    if (start.size() >= 2 && start[0] == 0xFF && (start[1] & 0xE0) == 0xE0)
        return "an MP3 file";
    return {};
}

std::string NotASongText(const std::string& name, const std::string& kind)
{
    return name + " is not an IMF song (it is " + kind + "); nothing was changed.";
}

} // namespace brivane
