#pragma once

// What the Windows backend shares between its files; nothing outside src/platform/windows
// sees it.

#include "platform/FileDescriptor.h"
#include "platform/FileSystem.h"
#include "platform/windows/WideText.h"

#include <string>
#include <windows.h>

namespace brivane::win32 {

// Reasons of our own, in the range Windows leaves to applications (bit 29 set), so that
// SystemReason can name them like any other error.
constexpr int kReservedName = 0x20000001;
constexpr int kTrailingDotOrSpace = 0x20000002;
constexpr int kInUse = 0x20000003;

// How long a file held by another program without sharing is waited for: git for Windows'
// waits, 1.3 seconds in all. Virus scanners, the search indexer and players let go within that.
inline constexpr int kInUseWaitsMs[] = {0, 1, 10, 20, 40, 80, 160, 320, 640};

// The path as Windows' wide calls take it: both separators become "\", and a path too long
// for the classic limit is made absolute in the "\\?\" form, which has none.
std::wstring SystemPath(const std::string& path);

// kReservedName or kTrailingDotOrSpace when a part of the path is a name Windows will not
// keep as it is (CON, NUL, COM1..., or one that ends in a dot or a space), otherwise 0.
int NameFault(const std::string& path);

// Opens an existing file, sharing it with everyone as a reader, writer and deleter, so that
// Brivane never keeps another program, or another Brivane, from a song.
HANDLE OpenShared(const std::string& path, DWORD access, DWORD flags = 0);

// OpenShared, waiting for a program that holds the file without sharing it; when it does not
// let go, the error is kInUse.
HANDLE OpenSharedWaiting(const std::string& path, DWORD access, DWORD flags = 0);

HANDLE HandleOf(const FileDescriptor& file);
FileDescriptor DescriptorOf(HANDLE handle); // takes ownership

// Windows locks are mandatory, so the lock is one byte far beyond the end of any song:
// readers and players never meet it, and other Brivanes do.
bool TryLockFile(HANDLE file);

// Whether a writer holds a temporary file for `target` right now (it is between closing
// the old file and renaming the new one over it).
bool HasHeldTemporaryFile(const std::string& target);

// The file's attributes, or INVALID_FILE_ATTRIBUTES with the error in GetLastError().
DWORD AttributesOf(const std::string& path);

// ReplaceFile, closing `release` (the caller's lock on the old file) just before the rename:
// Windows renames over no file that is open anywhere, not even by us.
FileDescriptor ReplaceReleasing(const std::string& path, std::span<const std::uint8_t> data,
                                const std::string& what, const ReplaceOptions& options, FileDescriptor* release);

} // namespace brivane::win32
