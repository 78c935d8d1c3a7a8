#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace brivane {

// What GetImfType finds at a path.
enum ImfType : int {
    ImfNotFound = 0,     // nothing there, an empty path, or not a regular file
    ImfHeaderless = 1,   // first 16-bit word is 0: Duke Nukem 2 / Cosmo layout
    ImfLengthWord = 2,  // first 16-bit word is not 0: a length word, the layout of Keen, Wolfenstein 3-D...
    ImfUnreadable = 3,   // cannot be looked up or read for a reason other than absence
};

struct ImfProbe {
    ImfType Type = ImfNotFound;
    // The system's reason for ImfUnreadable; for ImfNotFound, what stands there instead of a
    // regular file ("not a regular file: a directory"), or nothing when the path is free.
    std::string Reason;
    int SystemError = 0; // for ImfUnreadable, when the system gave one
};

// The layout a song's bytes have, decided by their first 16-bit word alone; bytes the song
// does not have count as zero, so an empty song and a lone zero byte are headerless.
inline ImfType LayoutOfBytes(std::span<const std::uint8_t> song)
{
    const unsigned low = song.empty() ? 0 : song[0];
    const unsigned high = song.size() < 2 ? 0 : song[1];
    return (low | high) == 0 ? ImfHeaderless : ImfLengthWord;
}

// Classifies by the first 16-bit word alone; only reads, never changes anything on disk.
// Directories, FIFOs, sockets and devices are never opened.
ImfProbe ProbeImf(const std::string& path);

inline int GetImfType(const std::string& path)
{
    return ProbeImf(path).Type;
}

} // namespace brivane
