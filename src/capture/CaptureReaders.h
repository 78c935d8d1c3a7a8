#pragma once

#include "opl/TimedSong.h"

#include <optional>

namespace brivane {

// DOSBox's DRO 2.0 (DOSBox 0.73 and later), Rdos RAW and VGM captures (uncompressed).
TimedSong ReadDro(std::span<const std::uint8_t> bytes);
TimedSong ReadRaw(std::span<const std::uint8_t> bytes);
TimedSong ReadVgm(std::span<const std::uint8_t> bytes);
// DOSBox 0.61 to 0.72's DRO 0.1; ReadDro hands such captures on to it.
TimedSong ReadDroOld(std::span<const std::uint8_t> bytes);

} // namespace brivane
