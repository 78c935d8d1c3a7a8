#pragma once

#include "platform/FileDescriptor.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brivane {

using Bytes = std::vector<std::uint8_t>;

enum class PathKind {
    Missing,       // nothing there (ENOENT, ENOTDIR), or the path is empty
    Regular,       // a regular file (or, when links are followed, a link that ends at one)
    Directory,
    SymbolicLink,  // only when links are not followed
    Fifo,
    Socket,
    Device,        // a character device
    BlockDevice,
    Inaccessible,  // the lookup itself failed: no search permission, too long, a link loop
};

enum class Links { Follow, DoNotFollow };

struct PathLookup {
    PathKind Kind = PathKind::Missing;
    int SystemError = 0; // for Inaccessible: errno on POSIX, a Win32 error code on Windows
};

// Looks a path up without opening it.
PathLookup LookUpPath(const std::string& path, Links links = Links::Follow);

// Whether the path names a device a program writes into as a stream, as /dev/null: on
// Windows NUL and CON, which LookUpPath refuses as names; on POSIX what LookUpPath calls a device.
bool IsStreamDevice(const std::string& path);

// What tells one file from another whatever the names it is reached by.
struct FileIdentity {
    std::uint64_t Device = 0;
    std::uint64_t Node = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

// The identity of the file a path names, links followed; nothing when there is none.
std::optional<FileIdentity> IdentityOf(const std::string& path);

// A file name as the file system compares names: as it is on POSIX, without case on Windows.
std::string NameAsCompared(const std::string& name);

// The names of the regular files in a folder (links to them included), as the file system
// holds them, in no particular order; hidden files (dot-files) are left out, and so is
// everything when the folder cannot be read.
std::vector<std::string> VisibleFilesIn(const std::string& folder);

// Whether a folder exists and its files can be listed.
bool IsReadableFolder(const std::string& folder);

// "a directory", "a symbolic link", "a FIFO", ...: what a path that is not a regular file is.
const char* KindName(PathKind kind);

// Reads the whole file; throws FileError naming `what` ("the file", "the backup").
Bytes ReadWholeFile(const std::string& path, const std::string& what, Links links = Links::Follow);

// Reads an open file from its start to its end; throws FileError naming `what`.
Bytes ReadWholeFile(const FileDescriptor& file, const std::string& what);

// Reads at most `count` bytes from the start of a regular file; throws FileError.
Bytes ReadFileStart(const std::string& path, std::size_t count);
Bytes ReadFileStart(const FileDescriptor& file, std::size_t count, const std::string& what);

// Opens an existing file for reading, links followed; throws FileError naming `what`.
FileDescriptor OpenForReading(const std::string& path, const std::string& what);

// The size the system gives an open file now; throws FileError naming `what`.
std::uint64_t SizeOf(const FileDescriptor& file, const std::string& what);
// Up to `count` bytes from `offset` on; fewer where the file ends first.
Bytes ReadFileRange(const std::string& path, std::size_t offset, std::size_t count);

enum class Durability {
    Flushed,    // data and directory entry reach the disk before the call returns
    Buffered,   // left to the system's write-back; the file is still never half written
};

struct ReplaceOptions {
    Durability Durable = Durability::Flushed;
    // A song that is a link stays a link and its target is replaced; a backup path is never
    // followed, so a planted link is replaced itself and nothing is written through it.
    Links LinkHandling = Links::Follow;
    // When there is no old file to take mode and owner from, they are taken from this one.
    std::string AttributesFrom;
    // The new file gets this file's access and modification times, as a copy made with
    // `cp -p` would; otherwise it is stamped now.
    std::string TimesFrom;
};

// Replaces the file at `path` with `data` as one step: the data goes to a temporary file of
// its own beside the target, which is then renamed over it, so a reader sees the old or the
// new content whole. The new file keeps the old one's mode bits, and its owner where the
// process may set it. An existing target that may not be written is refused as a direct
// write would be. The temporary file never survives a failure. Returns the new file, open
// and exclusively locked, so a caller can keep others off it. Throws FileError, whose action
// names `what` ("the backup", "the settings file").
FileDescriptor ReplaceFile(const std::string& path, std::span<const std::uint8_t> data,
                           const std::string& what, const ReplaceOptions& options = {});

// Writes `data` into what already stands at `path` (a FIFO, a character device) as a stream,
// from its start, without replacing it. Throws FileError naming `what`.
void WriteIntoStream(const std::string& path, std::span<const std::uint8_t> data, const std::string& what);

// Removes a file; one already gone is no failure. Throws FileError naming `what`.
void RemoveFile(const std::string& path, const std::string& what);

// Throws FileError ("could not write " + what) when an existing regular file at `path`
// may not be written; a missing file passes.
void EnsureWritable(const std::string& path, const std::string& what);

// The folder the running program was started from, as a full path.
std::string ProgramFolder();

// What joins a folder and a name: "/" on POSIX, "\" on Windows (which also reads "/").
char PathSeparator();

// The folder part of a path ("." when it has none) and the part after the last separator.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

} // namespace brivane
