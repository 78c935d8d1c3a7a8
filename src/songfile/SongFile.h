#pragma once

#include "midi/MidiOnOpl2.h"
#include "opl/ImfType.h"
#include "opl/TimedSong.h"
#include "platform/FileDescriptor.h"

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace brivane {

// What a file is, decided in one place from its first bytes and its size.
enum class SongFileKind {
    ImfSong,   // IMF records in a layout
    Timed,     // a capture's or a MIDI file's writes at their times
    OtherKind, // a file of another kind, or one that only looks like a song: Kind says which
    Damaged,   // a song file of a kind this reads that cannot be used: Reason says why
};

struct SongFile {
    SongFileKind Kind = SongFileKind::ImfSong;
    // What its signature names it ("a DOSBox DRO capture", "a MIDI file", "a WAV file"); empty
    // for an IMF song, which has no mark of its own.
    std::string Name;
    std::string Reason;      // for Damaged: "it ends inside its header"
    std::uint64_t Size = 0;  // as the system gave it, read or not
    ImfType Layout = ImfHeaderless;
    std::vector<std::uint8_t> Bytes; // an IMF song's, read whole
    std::optional<TimedSong> Timed;
    bool FromMidi = false;
};

// The largest file read as a song of any kind: far past any game's song or any capture, and
// little enough to hold whole. A larger one is refused by its size before it is read.
inline constexpr std::uint64_t kMaxSongFileBytes = 64u << 20;

// The file's kind and, for a song, its content, reading no more than the kind needs.
// Throws FileError when the file cannot be read.
SongFile ReadSongFile(const FileDescriptor& file, const std::string& what, const MidiPlaying& midi = {});
SongFile ReadSongFile(const std::string& path, const MidiPlaying& midi = {});
// The same for a file already in memory (a game's chunk, a song given whole).
SongFile ReadSongBytes(std::span<const std::uint8_t> bytes, const MidiPlaying& midi = {});

// What a file's first bytes name it, reading nothing more: empty for what may be an IMF song.
// For claiming outputs and listing folders, where nothing is converted yet.
inline constexpr std::size_t kSignatureBytes = 64;
std::string SignatureName(std::span<const std::uint8_t> start);
bool IsTimedSongSignature(std::span<const std::uint8_t> start);
// A WAV file, which `render` writes over without asking.
bool IsWavSignature(std::span<const std::uint8_t> start);

// "NAME is not an IMF song (it is a MIDI file); nothing was changed."
std::string NotASongText(const std::string& name, const std::string& kind);

// Thrown where a song is loaded to be played; what() is NotASongText.
class NotASongError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace brivane
