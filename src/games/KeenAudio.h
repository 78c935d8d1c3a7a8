#pragma once

#include "games/GameFile.h"
#include "games/Huffman.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brivane {

// The AUDIO.CKn of Commander Keen 4-6 that `path` names: itself, or the AUDIOHED.CKn,
// AUDIODCT.CKn or game executable beside it; empty when it names none of them.
std::string KeenAudioOf(const std::string& path);

// A chunk begins with the 4-byte length it expands to.
inline constexpr std::size_t kKeenLengthBytes = 4;

// Keen's compressed audio as read: its songs, and the dictionary and offsets that code them,
// each from the file of its own name beside AUDIO.CKn where a mod has one, else found by its
// shape in the game's executable.
struct KeenAudio {
    std::string Extension; // "CK4"
    GameFile File; // HeaderPath is where the offsets were read, and HeaderBytes that whole file
    HuffmanDictionary Dictionary;
    std::vector<std::uint32_t> Offsets;
    std::size_t OffsetsAt = 0;  // their place in HeaderBytes
    bool OffsetsPacked = false; // in a packed executable, which is never rewritten
};
KeenAudio ReadKeenAudio(const std::string& audioPath, std::optional<std::size_t> firstSong);

// The files a change of Keen's songs writes: where the offsets are (AUDIOHED.CKn beside, else
// the executable), then AUDIO.CKn, which the lock is taken on.
std::vector<std::string> KeenChangeTargets(const std::string& audioPath);
// Every file the game's audio is read from: the dictionary, the executable, the offsets, AUDIO.CKn.
std::vector<std::string> KeenFilesOfGame(const std::string& audioPath);
// Every file a change may have written, for a restore.
std::vector<std::string> KeenFilesChangedWith(const std::string& audioPath);

} // namespace brivane
