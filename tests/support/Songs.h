#pragma once

#include "support/TempDir.h"

#include <cstdint>

namespace brivane::test {

// A headerless song of `size` bytes: first record 00 00, then register writes with
// delays from a fixed pseudo-random sequence, so every run makes the same song.
Bytes MakeHeaderlessSong(std::size_t size, std::uint32_t seed);

// The converted form, computed independently of the program's own code: the length
// word, then each complete delay scaled with long double and rounded half to even.
Bytes ReferenceConversion(const Bytes& headerless, int originalTics);

// A headerless song that holds A4 (440 Hz) on one channel, a plain sine: `lead` ticks of
// silence, the note for `hold` ticks, then the key released.
Bytes MakeHeldNoteSong(std::uint16_t hold, std::uint16_t lead = 0);

} // namespace brivane::test
