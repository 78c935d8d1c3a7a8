#pragma once

// Commander Keen 4-6's compressed audio built in the tests: a Huffman dictionary made from the
// chunks' own bytes, the chunks coded with it, and executables holding the dictionary and
// the offsets, plain or packed as LZEXE packs them. Never the games' own files.
#include "games/Huffman.h"
#include "support/GameFiles.h"

#include <algorithm>
#include <map>
#include <optional>
#include <queue>

namespace brivane::test {

// A dictionary of 255 nodes whose codes are shortest for the bytes `sample` holds most.
inline Bytes MakeDictionary(const Bytes& sample)
{
    std::array<std::size_t, 256> counts{};
    for (const std::uint8_t byte : sample)
        ++counts[byte];
    using Weighted = std::pair<std::size_t, std::uint16_t>; // weight, node value
    std::priority_queue<Weighted, std::vector<Weighted>, std::greater<>> pending;
    for (std::uint16_t byte = 0; byte < 256; ++byte)
        pending.push({counts[byte] + 1, byte});
    Bytes dictionary(1024, 0);
    for (std::uint16_t node = 0; pending.size() > 1; ++node) {
        const Weighted zero = pending.top();
        pending.pop();
        const Weighted one = pending.top();
        pending.pop();
        for (const auto& [at, value] : {std::pair(4u * node, zero.second), std::pair(4u * node + 2, one.second)}) {
            dictionary[at] = static_cast<std::uint8_t>(value);
            dictionary[at + 1] = static_cast<std::uint8_t>(value >> 8);
        }
        pending.push({zero.first + one.first, static_cast<std::uint16_t>(256 + node)}); // the last made is node 254
    }
    return dictionary;
}

inline HuffmanDictionary DictionaryOf(const Bytes& bytes)
{
    std::string whyNot;
    return *HuffmanDictionary::Read(bytes, whyNot);
}

// A chunk as the engine expands it: its length, then a walk of the tree for each byte.
inline Bytes EngineExpand(const Bytes& dictionary, const Bytes& chunk)
{
    const std::size_t length = chunk[0] | chunk[1] << 8 | chunk[2] << 16;
    Bytes bytes;
    std::size_t node = 254;
    for (std::size_t bit = 32; bytes.size() < length; ++bit) {
        const std::size_t at = 4 * node + 2 * ((chunk[bit / 8] >> (bit % 8)) & 1);
        const std::size_t value = dictionary[at] | dictionary[at + 1] << 8;
        node = value < 256 ? (bytes.push_back(static_cast<std::uint8_t>(value)), 254) : value - 256;
    }
    return bytes;
}

// An AUDIO.CKn and its offsets holding `chunks`, coded with a dictionary of their own bytes.
struct KeenAudioFiles {
    Bytes Dictionary, Offsets, Audio;
};
inline KeenAudioFiles KeenAudioHolding(const std::vector<Bytes>& chunks)
{
    Bytes sample;
    for (const Bytes& chunk : chunks)
        sample.insert(sample.end(), chunk.begin(), chunk.end());
    KeenAudioFiles files{MakeDictionary(sample), {}, {}};
    const HuffmanDictionary coding = DictionaryOf(files.Dictionary);
    for (const Bytes& chunk : chunks) {
        PutU32(files.Offsets, files.Audio.size());
        PutU32(files.Audio, chunk.size());
        const Bytes coded = coding.Compress(chunk);
        files.Audio.insert(files.Audio.end(), coded.begin(), coded.end());
    }
    PutU32(files.Offsets, files.Audio.size());
    return files;
}

// An episode's: `sounds` chunks of each kind of sound, then songs 1 to `songs` as Song() makes them.
inline KeenAudioFiles KeenAudio(std::size_t sounds, std::size_t songs)
{
    std::vector<Bytes> chunks(3 * sounds, Bytes{5, 0, 0, 0, 9, 9, 9, 9, 9});
    for (std::size_t i = 0; i < songs; ++i)
        chunks.push_back(Song(static_cast<std::uint8_t>(i + 1)));
    return KeenAudioHolding(chunks);
}

// An executable's load image with code around the parts of its data Brivane looks for, and
// the graphics' dictionary before the audio's, as the games link them.
inline Bytes ExecutableImage(const KeenAudioFiles& files)
{
    Bytes code;
    for (int i = 0; i < 300; ++i)
        code.insert(code.end(), {0x55, 0x8B, 0xEC, static_cast<std::uint8_t>(i), 0x9A, 0x5D, 0xCB});
    Bytes image = code;
    const Bytes graphics = MakeDictionary(Bytes(code.begin(), code.begin() + 700));
    for (const Bytes* part : std::initializer_list<const Bytes*>{&graphics, &files.Dictionary, &code, &files.Offsets, &code})
        image.insert(image.end(), part->begin(), part->end());
    return image;
}

// An MZ header of two paragraphs for a file of `size` bytes, its code segment at `codeSegment`.
inline Bytes ExecutableHeader(std::size_t size, std::size_t codeSegment, bool packed)
{
    Bytes header(32, 0);
    const auto word = [&](std::size_t at, std::size_t value) {
        header[at] = static_cast<std::uint8_t>(value), header[at + 1] = static_cast<std::uint8_t>(value >> 8);
    };
    header[0] = 'M', header[1] = 'Z';
    word(2, size % 512), word(4, (size + 511) / 512), word(8, 2), word(0x16, codeSegment), word(0x18, 0x1C);
    if (packed)
        std::copy_n("LZ91", 4, header.begin() + 0x1C);
    return header;
}

// A header and the parts after it, laid out in a file made whole at once.
inline Bytes ExecutableFile(const Bytes& header, const std::vector<const Bytes*>& parts)
{
    std::size_t size = header.size();
    for (const Bytes* part : parts)
        size += part->size();
    Bytes file(size);
    auto at = std::copy(header.begin(), header.end(), file.begin());
    for (const Bytes* part : parts)
        at = std::copy(part->begin(), part->end(), at);
    return file;
}

inline Bytes PlainExecutable(const Bytes& image)
{
    return ExecutableFile(ExecutableHeader(32 + image.size(), 0, false), {&image});
}

// LZEXE 0.91's packing: flag bits in 16-bit words, each word placed where its first bit is
// needed, literals and copies (short ones back up to 256 bytes, long ones up to 8 KiB).
class LzexeWriter {
public:
    Bytes Pack(const Bytes& image)
    {
        out_ = {0, 0};
        for (std::size_t at = 0; at < image.size();) {
            const auto [back, length] = LongestMatch(image, at);
            const bool copy = length >= 3 || (length == 2 && back <= 256);
            if (copy)
                Copy(back, length);
            else
                Bit(true), out_.push_back(image[at]);
            at += copy ? length : 1;
        }
        Bit(false), Bit(true), out_.insert(out_.end(), {0, 0, 0}); // the end mark
        return out_;
    }

private:
    std::pair<std::size_t, std::size_t> LongestMatch(const Bytes& image, std::size_t at) const
    {
        std::size_t bestBack = 0, bestLength = 0;
        for (std::size_t back = 1; back <= std::min<std::size_t>(at, 0x2000) && bestLength < 256; ++back) {
            std::size_t length = 0;
            while (at + length < image.size() && length < 256 && image[at + length - back] == image[at + length])
                ++length;
            if (length > bestLength)
                bestBack = back, bestLength = length;
        }
        return {bestBack, bestLength};
    }

    void Copy(std::size_t back, std::size_t length)
    {
        if (length <= 5 && back <= 256) {
            Bit(false), Bit(false), Bit((length - 2) & 2), Bit((length - 2) & 1);
            out_.push_back(static_cast<std::uint8_t>(256 - back));
            return;
        }
        const std::size_t value = 0x2000 - back;
        Bit(false), Bit(true);
        out_.push_back(static_cast<std::uint8_t>(value));
        out_.push_back(static_cast<std::uint8_t>(((value >> 5) & 0xF8) | (length <= 9 ? length - 2 : 0)));
        if (length > 9)
            out_.push_back(static_cast<std::uint8_t>(length - 1));
    }

    void Bit(bool bit)
    {
        out_[word_ + bits_ / 8] |= static_cast<std::uint8_t>(bit << (bits_ % 8));
        if (++bits_ == 16) {
            word_ = out_.size();
            out_.insert(out_.end(), {0, 0});
            bits_ = 0;
        }
    }

    Bytes out_;
    std::size_t word_ = 0, bits_ = 0;
};

// The image packed, then LZEXE's header and a stand-in for its unpacker.
inline Bytes PackedExecutable(const Bytes& image)
{
    Bytes packed = LzexeWriter().Pack(image);
    packed.resize((packed.size() + 15) / 16 * 16, 0);
    const std::size_t paragraphs = packed.size() / 16;
    Bytes unpacker(0x160, 0x90);
    for (std::size_t i = 0; i < 16; ++i)
        unpacker[i] = 0;
    unpacker[8] = static_cast<std::uint8_t>(paragraphs), unpacker[9] = static_cast<std::uint8_t>(paragraphs >> 8);
    return ExecutableFile(ExecutableHeader(32 + packed.size() + unpacker.size(), paragraphs, true), {&packed, &unpacker});
}

} // namespace brivane::test
