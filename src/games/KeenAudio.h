#pragma once

#include "games/GameFile.h"
#include "games/Huffman.h"
#include "platform/FileLock.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brivane {

// The AUDIO.CKn of Commander Keen 4-6 that `path` names: itself, or the AUDIOHED.CKn,
// AUDIODCT.CKn or game executable beside it; empty when it names none of them.
std::string KeenAudioOf(const std::string& path);

// Keen's compressed audio as read: its songs, and the dictionary and offsets that code them,
// each from the file of its own name beside AUDIO.CKn where a mod has one, else found by its
// shape in the game's executable.
struct KeenAudio {
    GameFile File; // HeaderPath is where the offsets were read, and HeaderBytes that whole file
    HuffmanDictionary Dictionary;
    std::vector<std::uint32_t> Offsets;
    std::size_t OffsetsAt = 0;  // their place in HeaderBytes
    bool OffsetsPacked = false; // in a packed executable, which is never rewritten
};
KeenAudio ReadKeenAudio(const std::string& audioPath, std::optional<std::size_t> firstSong);

// The files a change of Keen's songs writes: where the offsets are (AUDIOHED.CKn beside, else
// the executable), then AUDIO.CKn, which the lock is taken on.
std::vector<std::string> KeenFilesOfGame(const std::string& audioPath);
// Every file a change may have written, for a restore.
std::vector<std::string> KeenFilesChangedWith(const std::string& audioPath);

// Puts `song` in the place of song `number`, coded with the game's own dictionary; the other
// chunks keep their bytes. A song that fits its chunk changes AUDIO.CKn alone; a larger one
// moves the later offsets too, into AUDIOHED.CKn beside, or into an executable that is not
// packed, in place. A packed executable gets AUDIOHED.CKn beside it, which the game loads only
// when its patch file says so: that line is returned in `PatchLine`.
ReplacedFiles ReplaceKeenSong(const KeenAudio& held, std::size_t number, const std::vector<std::uint8_t>& song,
                              FileLock& lock);

} // namespace brivane
