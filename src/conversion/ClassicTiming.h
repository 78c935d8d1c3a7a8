#pragma once

#include "conversion/Conversion.h"

#include <cstdint>
#include <span>
#include <string>

namespace brivane {

// What the classic conversion does to a headerless song's length, since it rounds each delay
// on its own: "at 280, the classic conversion shortens this song by 0.71 s". Empty when the
// conversion is not the classic one for this song, or when the change is under 0.01 s.
std::string ClassicTimingNote(std::span<const std::uint8_t> song, ImfType layout, const Conversion& conversion);

} // namespace brivane
