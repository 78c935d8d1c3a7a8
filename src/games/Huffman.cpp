#include "games/Huffman.h"

namespace brivane {
namespace {

constexpr std::uint16_t kRoot = 254;

} // namespace

std::optional<HuffmanDictionary> HuffmanDictionary::Read(std::span<const std::uint8_t> bytes, std::string& whyNot)
{
    if (bytes.size() < kBytes) {
        whyNot = "it holds " + std::to_string(bytes.size()) + " bytes, fewer than the 1,020 of a dictionary";
        return std::nullopt;
    }
    HuffmanDictionary dictionary;
    for (std::size_t node = 0; node < kNodes; ++node)
        for (std::size_t bit = 0; bit < 2; ++bit)
            dictionary.nodes_[node][bit] = static_cast<std::uint16_t>(bytes[4 * node + 2 * bit] | bytes[4 * node + 2 * bit + 1] << 8);

    // Walked from the root, depth first, each node and each byte met once: a loop, or a node
    // two branches share, would leave some byte without a code of its own.
    std::array<bool, kNodes> reached{};
    std::array<bool, 256> coded{};
    struct Step {
        std::uint16_t Node;
        std::vector<bool> Path;
    };
    std::vector<Step> pending{{kRoot, {}}};
    reached[kRoot] = true;
    while (!pending.empty()) {
        const Step step = std::move(pending.back());
        pending.pop_back();
        for (std::size_t bit = 0; bit < 2; ++bit) {
            const std::uint16_t value = dictionary.nodes_[step.Node][bit];
            std::vector<bool> path = step.Path;
            path.push_back(bit == 1);
            const std::string at = "node " + std::to_string(step.Node);
            if (value < 256) {
                if (coded[value]) {
                    whyNot = at + " gives byte " + std::to_string(value) + " a second code";
                    return std::nullopt;
                }
                coded[value] = true;
                dictionary.codes_[value].Bits = std::move(path);
                continue;
            }
            const std::size_t next = value - 256u;
            if (next >= kNodes) {
                whyNot = at + " leads to node " + std::to_string(next) + ", past the 255 it has";
                return std::nullopt;
            }
            if (reached[next]) {
                whyNot = at + " leads back to node " + std::to_string(next) + ", a loop";
                return std::nullopt;
            }
            reached[next] = true;
            pending.push_back({static_cast<std::uint16_t>(next), std::move(path)});
        }
    }
    for (std::size_t byte = 0; byte < coded.size(); ++byte)
        if (!coded[byte]) {
            whyNot = "byte " + std::to_string(byte) + " has no code";
            return std::nullopt;
        }
    return dictionary;
}

std::optional<std::vector<std::uint8_t>> HuffmanDictionary::Expand(std::span<const std::uint8_t> bits, std::size_t size,
                                                                   std::size_t& used) const
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(size);
    std::uint16_t node = kRoot;
    std::size_t at = 0;
    unsigned mask = 1;
    while (bytes.size() < size) {
        if (at == bits.size())
            return std::nullopt;
        const std::uint16_t value = nodes_[node][(bits[at] & mask) ? 1 : 0];
        if ((mask <<= 1) == 0x100) {
            mask = 1;
            ++at;
        }
        if (value < 256) {
            bytes.push_back(static_cast<std::uint8_t>(value));
            node = kRoot;
        } else {
            node = static_cast<std::uint16_t>(value - 256); // in range: Read walked every node
        }
    }
    used = at + (mask != 1);
    return bytes;
}

std::vector<std::uint8_t> HuffmanDictionary::Compress(std::span<const std::uint8_t> bytes) const
{
    std::vector<std::uint8_t> bits;
    unsigned filled = 8;
    for (const std::uint8_t byte : bytes)
        for (const bool bit : codes_[byte].Bits) {
            if (filled == 8) {
                bits.push_back(0);
                filled = 0;
            }
            bits.back() |= static_cast<std::uint8_t>(bit << filled++);
        }
    return bits;
}

} // namespace brivane
