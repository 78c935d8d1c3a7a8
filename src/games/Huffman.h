#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brivane {

// The Huffman dictionary id's tools code a game's audio with: 255 nodes of two 16-bit values,
// node 254 the root; a value under 256 is a byte, any other leads to node value - 256. The
// bits are read from the lowest of each byte upwards.
class HuffmanDictionary {
public:
    static constexpr std::size_t kNodes = 255, kBytes = kNodes * 4;

    // The dictionary in the first kBytes of `bytes`, or why it is none: a loop, a node out of
    // range, a byte with two codes or none. Only a whole tree codes every byte a song holds.
    static std::optional<HuffmanDictionary> Read(std::span<const std::uint8_t> bytes, std::string& whyNot);

    // `size` bytes from `bits`; nothing when the bits run out first. `used` tells how many
    // bytes of `bits` the codes took.
    std::optional<std::vector<std::uint8_t>> Expand(std::span<const std::uint8_t> bits, std::size_t size,
                                                    std::size_t& used) const;
    // `bytes` in this dictionary's codes, the last byte filled up with zero bits.
    std::vector<std::uint8_t> Compress(std::span<const std::uint8_t> bytes) const;

private:
    struct Code {
        std::vector<bool> Bits; // from the root down
    };

    std::array<std::array<std::uint16_t, 2>, kNodes> nodes_{};
    std::array<Code, 256> codes_;
};

} // namespace brivane
