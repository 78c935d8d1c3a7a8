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

// The command stream a song's bytes hold: all of them in the headerless layout; in the
// Wolfenstein 3-D layout the L bytes after the length word, as far as the file has them (a
// trailer after them is not part of the song, and a file too short for the word has none).
inline std::span<const std::uint8_t> CommandStream(std::span<const std::uint8_t> file, bool headerless)
{
    if (headerless)
        return file;
    if (file.size() < kLengthWordSize)
        return {};
    return file.subspan(kLengthWordSize, std::min<std::size_t>(file.size() - kLengthWordSize, ReadLe16(file.data())));
}

inline void WriteLe16(std::uint8_t* bytes, std::uint16_t value)
{
    bytes[0] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[1] = static_cast<std::uint8_t>(value >> 8);
}

} // namespace brivane
