#pragma once

// Game files built in the tests: AUDIOHED/AUDIOT pairs and group files, never the games' own.
#include "support/TempDir.h"

#include <string>
#include <utility>
#include <vector>

namespace brivane::test {

inline void PutU32(Bytes& to, std::size_t value)
{
    for (int i = 0; i < 4; ++i)
        to.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A song with a length word: `records` records of one tick each, then a tag.
inline Bytes Song(std::uint8_t records)
{
    Bytes song{static_cast<std::uint8_t>(4 * records), 0};
    for (std::uint8_t i = 0; i < records; ++i)
        song.insert(song.end(), {0x20, i, 1, 0});
    song.insert(song.end(), {0x1A, 'T', 0, 0, 0});
    return song;
}

// `sounds` chunks that are no songs, a marker, then the songs: an AUDIOHED and its AUDIOT.
inline std::pair<Bytes, Bytes> AudioPair(std::size_t sounds, std::size_t songs)
{
    std::vector<Bytes> chunks(sounds, Bytes{5, 0, 0, 0, 9, 9, 9});
    chunks.back() = {'!', 'I', 'D', '!'};
    for (std::size_t i = 0; i < songs; ++i)
        chunks.push_back(Song(static_cast<std::uint8_t>(i + 1)));
    Bytes header, data;
    for (const Bytes& chunk : chunks) {
        PutU32(header, data.size());
        data.insert(data.end(), chunk.begin(), chunk.end());
    }
    PutU32(header, data.size());
    return {header, data};
}

// A group file: a table of 20-byte entries, ended by an empty one, then the files.
inline Bytes Group(const std::vector<std::pair<std::string, Bytes>>& files, std::size_t tableSize)
{
    Bytes table, data;
    for (const auto& [name, bytes] : files) {
        Bytes entry(name.begin(), name.end());
        entry.resize(12, 0);
        PutU32(entry, tableSize + data.size());
        PutU32(entry, bytes.size());
        table.insert(table.end(), entry.begin(), entry.end());
        data.insert(data.end(), bytes.begin(), bytes.end());
    }
    table.resize(tableSize, 0);
    table.insert(table.end(), data.begin(), data.end());
    return table;
}

} // namespace brivane::test
