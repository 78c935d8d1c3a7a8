#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace brivane {

// One write to the first OPL2, at its exact time: `At` units of the song's time base.
struct TimedWrite {
    std::uint8_t Register = 0;
    std::uint8_t Value = 0;
    std::uint64_t At = 0;
    bool operator==(const TimedWrite&) const = default;
};

// What a capture reader, or a MIDI file played on an OPL2, gives: the first chip's writes in
// order, each at its exact time, the song's end, and a count of what an OPL2 cannot play (IMF
// plays one OPL2).
struct TimedSong {
    std::string Kind;      // "DOSBox DRO 2.0 capture"
    std::string Hardware;  // "OPL2", "dual OPL2", "OPL3"
    std::uint64_t UnitsPerSecond = 1000;
    std::vector<TimedWrite> Writes;
    std::uint64_t End = 0; // in the same units
    std::uint64_t SecondChipWrites = 0; // the second chip's, or the OPL3's high bank
    // A DRO 0.1 code byte read as the write of a register DOSBox 0.7x leaves unmarked: the
    // reading that keeps every write aligned.
    std::uint64_t UnmarkedWrites = 0;
    // Where a VGM's loop begins: the first write of its looping part, and its time.
    struct LoopPoint {
        std::size_t FirstWrite = 0;
        std::uint64_t At = 0;
    };

    std::optional<LoopPoint> Loop;
    // A VGM's GD3 tag, in UTF-8: what a length-word song's tag carries on.
    std::string Title, Author, Game;
    // What a song from MIDI holds and what became of it ("480 ticks per quarter note; ...").
    std::string Details;
    // What of it was left out or read though odd, told once its song is written.
    std::vector<std::string> Remarks;
};

// Where the writes an OPL2 cannot play went ("a second chip", "the OPL3's high bank"), and
// where those it plays went: an OPL3's second register bank is not a second chip.
const char* LeftOutPart(const TimedSong& song);
const char* PlayedPart(const TimedSong& song);

// What a song written from it leaves out or reads though odd, "; "-joined ("12 writes to a
// second chip were left out: IMF plays one OPL2; 3 notes were cut short: ..."); empty when nothing.
std::string RemarksOn(const TimedSong& song);

// The part of a capture that loops, from its loop point to its end, as a capture of its own:
// the registers as they stand at the loop point are written first, at time 0.
TimedSong LoopingPart(const TimedSong& capture);

// A capture or MIDI file that cannot be read: what() is the reason ("its codemap is longer
// than 127").
class SongReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace brivane
