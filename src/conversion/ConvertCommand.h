#pragma once

#include "conversion/ConvertImf.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace brivane {

struct BatchOptions {
    // Songs converted at once. With 1 the batch runs in the calling thread, strictly one song
    // after the other; with more, the messages still reach the user in list order.
    unsigned Jobs = 1;
    // Set from elsewhere to stop before the next song; a song is never left half done.
    const std::atomic<bool>* Cancel = nullptr;
};

inline constexpr unsigned kMaxJobs = 64;

// The number of online cores, at most 4: durable writes gain little beyond that.
unsigned DefaultJobs();

// The batch behind the Convert command: each path in the order given, with the Make Backups
// option read for each file (from the converting threads: `makeBackups` must be safe to call
// from any), then "Conversion complete!" whatever happened, or the truth about a stop.
// Returns the outcome of each song that was handled, in list order.
std::vector<ConversionOutcome> ConvertFiles(const std::vector<std::string>& paths, const Conversion& conversion,
                                            const std::function<bool()>& makeBackups,
                                            UserInteraction& ui, const BatchOptions& options = {});

} // namespace brivane
