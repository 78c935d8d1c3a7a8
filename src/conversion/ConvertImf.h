#pragma once

#include "platform/UserInteraction.h"

#include <string>

namespace brivane {

// How one file's conversion ended, for callers that count outcomes (the command line's
// exit status); the user has already been told through the UserInteraction.
enum class ConversionOutcome {
    Converted,
    AlreadyCompatible,
    Declined,
    Empty,
    NotFound,
    Unreadable,
    TooLong,
    Failed,
    Busy, // another run held the song past the wait
};

// True for outcomes that leave nothing undone by a fault: the batch reports those as success.
bool IsSuccess(ConversionOutcome outcome);

// Converts one file in place from the headerless to the Wolfenstein 3-D layout, keeping a
// ".bak" copy first when makeBackups is set, or offers to revert a converted file to its
// backup and convert it afresh. Every failure leaves the file and its backup as they were.
ConversionOutcome ConvertImf(const std::string& path, float ticScale, bool makeBackups,
                             UserInteraction& ui);

} // namespace brivane
