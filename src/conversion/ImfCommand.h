#pragma once

#include <cstddef>
#include <cstdint>

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

inline void WriteLe16(std::uint8_t* bytes, std::uint16_t value)
{
    bytes[0] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[1] = static_cast<std::uint8_t>(value >> 8);
}

} // namespace brivane
