#pragma once

// What each backend gives the code every system shares (FileReading.cpp, PathKind.cpp);
// nothing outside src/platform sees it.

#include "platform/FileDescriptor.h"
#include "platform/FileSystem.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace brivane::backend {

// Opens an existing file for reading; with Links::DoNotFollow a link is refused. Throws
// FileError ("could not open " + what).
FileDescriptor OpenForReading(const std::string& path, Links links, const std::string& what);

// The size the system reports: only a hint, since the file may grow or shrink while it is read.
std::size_t SizeHint(const FileDescriptor& file, const std::string& what);

// Reads at most `size` bytes at `offset` into `into`; 0 at the end. Throws FileError.
std::size_t ReadAt(const FileDescriptor& file, std::size_t offset, std::uint8_t* into, std::size_t size,
                   const std::string& what);

// How this system names a link and a FIFO in messages.
extern const char* const kSymbolicLinkName;
extern const char* const kFifoName;

} // namespace brivane::backend
