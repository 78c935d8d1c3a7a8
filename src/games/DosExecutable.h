#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace brivane {

// A DOS executable's load image, the code and data as the program runs: as it stands in the
// file, or expanded in memory from LZEXE's packing (the games' released executables are packed).
struct ExecutableImage {
    std::vector<std::uint8_t> Image;
    bool Packed = false;      // a packed image has no place in the file to write it back to
    std::size_t ImageAt = 0;  // where an image not packed starts in the file
};

// Throws GameFileError naming what is wrong: not an executable, a packing that breaks off.
ExecutableImage ReadExecutableImage(std::span<const std::uint8_t> file);

} // namespace brivane
