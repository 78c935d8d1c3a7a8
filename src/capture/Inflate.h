#pragma once

#include "opl/TimedSong.h"

#include <cstdint>
#include <span>
#include <vector>

namespace brivane {

// Far more than any song, and little enough to hold whole: a stream that inflates past it is
// a bomb or no song.
inline constexpr std::size_t kMaxInflatedBytes = 64u << 20;

// The bytes a gzip stream holds (a .vgz capture), at most kMaxInflatedBytes of them. Throws
// SongReadError when the stream does not inflate or holds more.
std::vector<std::uint8_t> Gunzip(std::span<const std::uint8_t> compressed);

} // namespace brivane
