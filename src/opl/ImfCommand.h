#pragma once

#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <span>

namespace brivane {

// One record of an IMF command stream. The conversion never looks at the register and
// value bytes; it only rewrites the delay.
struct ImfCommand {
    std::uint8_t Register;
    std::uint8_t Value;
    std::uint8_t Delay[2]; // ticks, little-endian
};
static_assert(sizeof(ImfCommand) == 4);

inline constexpr std::size_t kImfCommandSize = sizeof(ImfCommand);
inline constexpr std::size_t kDelayOffset = 2;

// The length word of the Wolfenstein 3-D layout is 16 bits wide.
inline constexpr std::size_t kLengthWordSize = 2;
inline constexpr std::size_t kMaxWolfensteinLength = 65535;

inline std::uint16_t ReadLe16(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

// The parts of a song's bytes. Headerless: records from offset 0 to the end of the file. With a
// length word: the L bytes after the word, as far as the file has them, then a trailer (often
// a tag) that is not part of the song; a file too short for the word has no records at all.
struct SongParts {
    std::span<const std::uint8_t> Records; // whole 4-byte records
    std::span<const std::uint8_t> Partial; // the bytes of a record cut short, 0 to 3
    std::span<const std::uint8_t> Trailer;
};

inline SongParts SplitSong(std::span<const std::uint8_t> file, bool headerless)
{
    std::span<const std::uint8_t> stream = file;
    std::span<const std::uint8_t> trailer;
    if (!headerless) {
        if (file.size() < kLengthWordSize)
            return {{}, {}, {}};
        const std::size_t length = std::min<std::size_t>(file.size() - kLengthWordSize, ReadLe16(file.data()));
        stream = file.subspan(kLengthWordSize, length);
        trailer = file.subspan(kLengthWordSize + length);
    }
    const std::size_t whole = stream.size() - stream.size() % kImfCommandSize;
    return {stream.first(whole), stream.subspan(whole), trailer};
}

// The command stream a song's bytes hold: its records with a partial one, without a trailer.
inline std::span<const std::uint8_t> CommandStream(std::span<const std::uint8_t> file, bool headerless)
{
    const SongParts parts = SplitSong(file, headerless);
    return {parts.Records.data(), parts.Records.size() + parts.Partial.size()};
}

// How many bytes a length word counts beyond the end of the file; 0 when its records fit. Such
// a file is not what its first word says, most often a headerless song without its leading
// 00 00 record.
inline std::size_t LengthWordOverrun(std::span<const std::uint8_t> file)
{
    if (file.size() < kLengthWordSize)
        return 0;
    const std::size_t counted = ReadLe16(file.data());
    const std::size_t held = file.size() - kLengthWordSize;
    return counted > held ? counted - held : 0;
}

// A song of no whole record has nothing to convert and nothing to play.
inline bool HoldsWholeRecord(std::span<const std::uint8_t> file, bool headerless)
{
    return !SplitSong(file, headerless).Records.empty();
}

inline void WriteLe16(std::uint8_t* bytes, std::uint16_t value)
{
    bytes[0] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[1] = static_cast<std::uint8_t>(value >> 8);
}

} // namespace brivane
