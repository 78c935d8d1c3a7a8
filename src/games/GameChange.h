#pragma once

#include "platform/FileLock.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace brivane {

// A change of several game files that no one rename makes together (an AUDIOHED and its
// AUDIOT): each new file is staged durably beside its target as NAME.new, then a record of
// the change names the targets, and only then are they replaced. A change a crash interrupted
// is finished by the next Brivane that touches the game; one interrupted before its record
// was written leaves the old files, and its staged copies are removed. The last target is the
// file `lock` holds, replaced last and through it, so that the lock passes to the new file
// and no other Brivane comes between.
void ChangeGameFiles(const std::string& recordPath,
                     const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& files, FileLock& lock);

// Finishes, or clears away, a change of the game whose record is at `recordPath`; `lock`
// holds the last of `targets`.
void FinishGameChange(const std::string& recordPath, const std::vector<std::string>& targets, FileLock& lock);

} // namespace brivane
