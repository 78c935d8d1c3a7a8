#include "playback/WavFile.h"

#include <array>

namespace brivane {
namespace {

constexpr std::size_t kHeaderSize = 44;

void Put(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutTag(std::vector<std::uint8_t>& out, std::size_t at, const std::array<char, 4>& tag)
{
    for (std::size_t i = 0; i < tag.size(); ++i)
        out[at + i] = static_cast<std::uint8_t>(tag[i]);
}

} // namespace

std::vector<std::uint8_t> MakeWav(std::span<const std::int16_t> samples, int sampleRate)
{
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    const auto rate = static_cast<std::uint32_t>(sampleRate);
    std::vector<std::uint8_t> wav(kHeaderSize + dataSize);
    PutTag(wav, 0, {'R', 'I', 'F', 'F'});
    Put(wav, 4, 36 + dataSize, 4);
    PutTag(wav, 8, {'W', 'A', 'V', 'E'});
    PutTag(wav, 12, {'f', 'm', 't', ' '});
    Put(wav, 16, 16, 4);       // fmt chunk size
    Put(wav, 20, 1, 2);        // PCM
    Put(wav, 22, 1, 2);        // mono
    Put(wav, 24, rate, 4);
    Put(wav, 28, rate * 2, 4); // bytes per second
    Put(wav, 32, 2, 2);        // bytes per frame
    Put(wav, 34, 16, 2);       // bits per sample
    PutTag(wav, 36, {'d', 'a', 't', 'a'});
    Put(wav, 40, dataSize, 4);
    for (std::size_t i = 0; i < samples.size(); ++i)
        Put(wav, kHeaderSize + 2 * i, static_cast<std::uint16_t>(samples[i]), 2);
    return wav;
}

} // namespace brivane
