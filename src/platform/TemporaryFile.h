#pragma once

#include "platform/FileDescriptor.h"

#include <string>

namespace brivane {

// A new, empty file beside a target, created exclusively under a name of its own and held
// under an exclusive lock for as long as it is open: the lock tells a live temporary file
// from one a killed run left behind.
struct TemporaryFile {
    std::string Path;
    FileDescriptor File;
};

// Throws FileError ("could not create a temporary file for " + what).
TemporaryFile CreateTemporaryFileFor(const std::string& target, const std::string& what);

// Whether a name in a folder is one of ours, left by any run.
bool IsTemporaryFileName(const std::string& name);

// Removes the temporary files in `folder` that no running writer holds. Failures are
// ignored: a file that stays is only litter, never a song.
void RemoveStaleTemporaryFiles(const std::string& folder);

} // namespace brivane
