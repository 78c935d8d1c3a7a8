#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace brivane {

// The Wolfenstein 3-D form of a headerless song: the length of its whole records as a 16-bit
// little-endian word, then the song with every complete delay rescaled and a partial record
// carried as it is.
std::vector<std::uint8_t> ToWolfensteinLayout(std::span<const std::uint8_t> headerless, float ticScale);

} // namespace brivane
