#pragma once

#include "platform/FileLock.h"

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

namespace brivane {

// A change of several game files that no one rename makes together (an AUDIOHED and its
// AUDIOT): each new file is staged durably beside its target as NAME.new, then a record of
// the change names the targets, and only then are they replaced. A change a crash interrupted
// is finished by the next Brivane that touches the game; one interrupted before its record
// was written leaves the old files, and its staged copies are removed. The last target is the
// file `lock` holds (the AUDIOT, which a running game keeps open), replaced first and through
// it, so that the lock passes to the new file and no other Brivane comes between; when a
// later target cannot be replaced, the ones replaced get their old bytes back.
// The record is kept beside the last target, as NAME.change; it names each target with the
// size and hash of its old and its new bytes, so that a change is finished only over the files
// it was made for: one whose targets another program has changed since is left as it is.
struct GameFileChange {
    std::string Path;
    std::vector<std::uint8_t> Old, New;
};
void ChangeGameFiles(const std::vector<GameFileChange>& files, FileLock& lock);

// Whether a change of `targets` was left behind: its record, or a staged copy.
bool ChangeLeft(const std::vector<std::string>& targets);

// Finishes, or clears away, a change of `targets` left behind; `lock` holds the last of them.
// Returns what was done ("finished the replace of AUDIOT.WL6 that was interrupted"), nothing
// when there was nothing to do. A change whose targets no longer hold its old or its new bytes
// is left as it is and thrown as a GameFileError, unless `clearStale` takes it away.
std::string FinishGameChange(const std::vector<std::string>& targets, FileLock& lock, bool clearStale = false);

// The game's own files are kept the first time Brivane changes them, and never written over
// after. A change that then fails takes away the backups it made: the game is left as it was.
class Originals {
public:
    Originals() = default;
    Originals(const Originals&) = delete;
    Originals& operator=(const Originals&) = delete;
    ~Originals();

    void Keep(const std::string& path, const std::vector<std::uint8_t>& original);

private:
    int exceptions_ = std::uncaught_exceptions();
    std::vector<std::string> made_;
};

} // namespace brivane
