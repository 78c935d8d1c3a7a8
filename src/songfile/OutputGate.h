#pragma once

#include "interaction/UserInteraction.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"

#include <cstddef>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brivane {

// Where a path leads, whatever it is called there (./x, a link, sub/../x, X.IMF on Windows):
// the file's identity when it exists, and its folder's identity with its name as the file
// system compares names, for a file still to be made.
struct FilePlace {
    std::optional<FileIdentity> File;
    std::optional<FileIdentity> Folder;
    std::string Name;
    bool SameAs(const FilePlace& other) const;
};
FilePlace PlaceOf(const std::string& path);

inline bool SamePlace(const std::string& a, const std::string& b)
{
    return PlaceOf(a).SameAs(PlaceOf(b));
}

// Places by either of their keys, so that a batch of thousands is claimed without comparing
// every pair.
class PlaceIndex {
public:
    void Add(const FilePlace& place, std::size_t row);
    // The first row added at this place.
    std::optional<std::size_t> Find(const FilePlace& place) const;

private:
    std::map<FileIdentity, std::size_t> byFile_;
    std::map<std::pair<FileIdentity, std::string>, std::size_t> byName_;
};

// The outputs of one command, claimed in the order its inputs are given before any is
// written, so that the same files come of it however many songs are converted at once: a
// row whose output another row reads, or an earlier row claims, is refused.
class OutputClaims {
public:
    explicit OutputClaims(const std::vector<std::string>& inputs);

    // Claims `output` for row `row` (its own input, for a song converted in place); the
    // refusal names both rows, empty when the output is the row's.
    std::string Claim(std::size_t row, const std::string& output);

private:
    void LookUpInputs();

    const std::vector<std::string>& inputs_;
    std::vector<FilePlace> inputPlaces_;
    PlaceIndex inputIndex_, claimIndex_;
};

enum class OutputResult { Written, Declined };

// What becomes of the file an output replaces.
enum class BackupRule {
    None,
    // Kept as NAME.bak; a NAME.bak that holds another song than NAME, perhaps its only
    // original, is written over only on a Yes to "Replace backup?".
    AskOverAnother,
    // Kept as NAME.bak; the caller has asked its own question of what NAME.bak held.
    Settled,
    // A game's NAME.bak holds its first original and is never written over.
    KeepFirst,
};

struct OutputWrite {
    std::string Path;
    std::string What;  // "the song cap.imf", for messages
    std::string For;   // the input it is written for, which the messages name
    BackupRule Backup = BackupRule::None;
    // The output's own lock, held since it was read: the file is replaced through it, and
    // `Current` is what it held then.
    FileLock* Held = nullptr;
    const Bytes* Current = nullptr;
};

// The one writer of every output. It never writes over one of `inputs` (by place, not by
// name), keeps what it replaces by the output's backup rule, and writes a backup only as a
// regular file of its own (never through a planted link). Each file is on disk, data and
// name, before the call returns; when the output cannot be written, its backup is put back
// as it stood. Throws FileError.
OutputResult WriteOutput(const OutputWrite& output, std::span<const std::uint8_t> bytes,
                         const std::vector<std::string>& inputs, UserInteraction& ui);

// Writes an output whose backup rule asks nothing.
OutputResult WriteOutput(const OutputWrite& output, std::span<const std::uint8_t> bytes,
                         const std::vector<std::string>& inputs);

// Keeps `original` as the backup of `path` unless one stands there already, which holds the
// first original: a game file's rule, for a change of several files. Returns whether it wrote it.
bool KeepFirstOriginal(const std::string& path, std::span<const std::uint8_t> original);

// Whether a name read from inside another file (a game's table of songs) can be used as a
// file's name as it is: no separator, drive or "..", no leading dot to hide it, no control
// character, and none of the names Windows keeps for devices, on every system alike.
bool IsSafeFileName(const std::string& name);

// Why `output` may not be written where one of `inputs` stands; empty when it may.
std::string InputRefusal(const std::string& output, const std::vector<std::string>& inputs);

} // namespace brivane
