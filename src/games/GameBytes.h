#pragma once

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

namespace brivane {

// The games' files store their offsets and sizes as little-endian 32-bit words.
inline std::uint32_t ReadLe32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

inline void WriteLe32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// `count` offsets from `at` on, as an AUDIOHED holds them, and back.
inline std::vector<std::uint32_t> OffsetsIn(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t count)
{
    std::vector<std::uint32_t> offsets;
    for (std::size_t i = 0; i < count; ++i)
        offsets.push_back(ReadLe32(bytes, at + 4 * i));
    return offsets;
}

inline std::vector<std::uint8_t> OffsetBytes(const std::vector<std::uint32_t>& offsets)
{
    std::vector<std::uint8_t> bytes(4 * offsets.size());
    for (std::size_t i = 0; i < offsets.size(); ++i)
        WriteLe32(bytes, 4 * i, offsets[i]);
    return bytes;
}

// A group file's table entry: a 12-byte name, then the entry's u32 offset and u32 size.
inline constexpr std::size_t kEntryNameSize = 12, kEntryOffsetAt = 12, kEntrySizeAt = 16, kEntrySize = 20;

// DOS names compare without regard to case: the games' readers upper-case them.
inline std::string UpperCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

} // namespace brivane
