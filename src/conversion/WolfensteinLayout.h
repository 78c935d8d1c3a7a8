#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace brivane {

// The Wolfenstein 3-D form of a headerless song: its length modulo 65536 as a 16-bit
// little-endian word, then the song with every complete delay rescaled.
std::vector<std::uint8_t> ToWolfensteinLayout(std::span<const std::uint8_t> headerless, float ticScale);

} // namespace brivane
