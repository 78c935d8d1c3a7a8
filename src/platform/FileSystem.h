#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace brivane {

using Bytes = std::vector<std::uint8_t>;

enum class PathKind {
    Missing,   // nothing there, or the path is empty
    Regular,   // a regular file, or a link that ends at one
    Other,     // a directory, FIFO, socket or device: never opened
};

// Looks a path up without opening it, following symbolic links.
PathKind LookUpPath(const std::string& path);

// Reads the whole file; throws FileError naming `what` ("the file", "the backup").
Bytes ReadWholeFile(const std::string& path, const std::string& what);

// Reads at most `count` bytes from the start of a regular file; throws FileError.
Bytes ReadFileStart(const std::string& path, std::size_t count);

enum class Durability {
    Flushed,    // data and directory entry reach the disk before the call returns
    // Data reaches the disk; the new directory entry goes with the next Flushed replace in
    // the same folder. Journalling file systems commit renames in one folder in order, and
    // the later data flush commits this rename with it: one folder flush serves both files.
    DataFlushed,
    Buffered,   // left to the system's write-back; the file is still never half written
};

// Replaces the file at `path` with `data` as one step: the data goes to a fixed hidden
// temporary name beside the target, which is then renamed over it. A symbolic link is
// followed and stays a link. An existing target that may not be written is refused as a
// direct write would be. The temporary file never survives a failure. Throws FileError,
// whose action names `what` ("the backup", "the settings file").
void ReplaceFile(const std::string& path, std::span<const std::uint8_t> data,
                 Durability durability, const std::string& what);

// Throws FileError ("could not write " + what) when an existing regular file at `path`
// may not be written; a missing file passes.
void EnsureWritable(const std::string& path, const std::string& what);

// The hidden temporary name ReplaceFile uses for a target (after following links).
std::string TemporaryPathFor(const std::string& path);

} // namespace brivane
