#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace brivane {

// A canonical PCM WAV file: a 44-byte header (RIFF, a 16-byte fmt chunk: PCM, one channel,
// 16 bits; then the data chunk), then the samples, little-endian.
std::vector<std::uint8_t> MakeWav(std::span<const std::int16_t> samples, int sampleRate);

} // namespace brivane
