#pragma once

#include "conversion/Conversion.h"
#include "interaction/UserInteraction.h"

#include <string>
#include <vector>

namespace brivane {

// How one file's conversion ended, for callers that count outcomes (the command line's
// exit status); the user has already been told through the UserInteraction.
enum class ConversionOutcome {
    Converted,
    Restored,         // put back from its backup, which was already what the conversion makes
    AlreadyCompatible,
    Declined,
    Empty,
    NoRecords,        // not one whole record: nothing to convert
    BackupOfAnother,  // given along with the song it is the backup of, and left alone
    LengthPastEnd,    // a length word the file cannot hold, and no layout chosen for it
    NotASong,         // a MIDI file, a WAV...: nothing converted
    SongExists,       // a capture's song would replace a file the user did not let it
    OutputTaken,      // its song would go over another file given, or where an earlier one's goes
    NotFound,
    Unreadable,
    InUse, // held by another program that shares it with none
    TooLong,
    Failed,
    Busy, // another run held the song past the wait
};

// True for outcomes that leave nothing undone by a fault: the batch reports those as success.
bool IsSuccess(ConversionOutcome outcome);

// "12 converted, 3 already compatible, 1 not found": how often each outcome came, in a fixed
// order, those that never came left out.
std::string CountOutcomes(const std::vector<ConversionOutcome>& outcomes);
// "3 not IMF songs", "1 not an IMF song": a count of the closing line with its words.
std::string CountText(std::size_t count, const std::string& counted);

// Converts one file in place into the conversion's target layout and rate, keeping a ".bak"
// copy first when makeBackups is set, or offers to revert a file already there to its backup
// and convert it afresh. Every failure leaves the file and its backup as they were.
ConversionOutcome ConvertImf(const std::string& path, const Conversion& conversion, bool makeBackups,
                             UserInteraction& ui);

} // namespace brivane
