#pragma once

#include "opl/TimedSong.h"
#include "conversion/Conversion.h"
#include "opl/ImfType.h"

#include <cstdint>
#include <optional>
#include <string>

namespace brivane {

// The tag many songs with a length word carry after their records: 0x1A, then the title,
// the composer and remarks, each ending in a zero byte, then the name of the program that
// wrote it.
struct ImfTag {
    std::string Title;
    std::string Composer;
    std::string Remarks;
};

// What the command line's "info" reports of one file.
struct ImfInfo {
    ImfType Type = ImfNotFound;
    std::string Reason;            // why an unreadable file could not be read
    std::string OtherKind;         // "a MIDI file" for a file that is no IMF song
    // A capture's kind, hardware, writes, length and what an OPL2 cannot play of it, or why it
    // cannot be read.
    std::string TimedSummary;
    std::string TimedKind;         // "capture" or "MIDI file", when it can be read
    bool CaptureReadable = false;
    std::uint64_t Size = 0;        // bytes on disk
    std::uint64_t Records = 0;     // complete 4-byte records in the command stream
    std::uint64_t PartialBytes = 0;
    std::uint64_t LengthWord = 0;  // with a length word: the count it holds
    std::uint64_t MissingBytes = 0; // what the length word counts beyond the file's end
    std::uint64_t TrailerBytes = 0; // after the counted records
    std::optional<ImfTag> Tag;
    int Tics = 0;                  // the rate the song is taken at
    double Seconds = 0;            // sum of the delays at that rate
    std::string TimingNote;        // what the classic conversion would do to its length
};

// "DOSBox DRO 2.0 capture, dual OPL2, 56 writes, 5.50 seconds; ..."
std::string DescribeCapture(const TimedSong& capture);

// Each song is timed at the rate the conversion takes its layout at.
ImfInfo DescribeImf(const std::string& path, const Conversion& rates);

} // namespace brivane
