#pragma once

#include "conversion/ImfType.h"

#include <cstdint>
#include <string>
#include <vector>

namespace brivane {

struct OplWrite {
    std::uint8_t Register;
    std::uint8_t Value;
    std::uint16_t Delay; // ticks until the next write
};

// What a file plays: a headerless song from offset 0; a Wolfenstein 3-D song from the L
// bytes after its length word, as far as the file has them, a trailer after them ignored.
// A partial record at the end is ignored.
struct PlayableSong {
    ImfType Layout = ImfNotFound;
    std::vector<OplWrite> Writes;
};

PlayableSong ParsePlayableSong(const std::vector<std::uint8_t>& file);

// Reads and parses a file; throws FileError when it cannot be read.
// Throws FileError when the file cannot be read, NotASongError when it is of another kind.
PlayableSong LoadPlayableSong(const std::string& path);

} // namespace brivane
