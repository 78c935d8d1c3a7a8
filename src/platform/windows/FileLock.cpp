#include "platform/FileLock.h"

#include "platform/FileSystem.h"
#include "platform/windows/Win32.h"

#include <thread>

namespace brivane {
namespace {

constexpr std::chrono::milliseconds kPollInterval{10};

// The holder we waited for may have renamed a new file over the path: then lock that one.
bool IsFileAt(HANDLE file, const std::string& path)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file, &info))
        return false;
    const FileIdentity opened{info.dwVolumeSerialNumber,
                              (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    return IdentityOf(path) == opened;
}

} // namespace

// A waiter never keeps the song open while it waits: Windows renames over no file that is
// open anywhere, so a waiting handle would stop the holder's rename. The holder closes its
// own handle just before that rename, with its temporary file held beside the song: a
// waiter leaves the song alone while that file is there, and one that locked the old file
// in that moment finds it afterwards and lets go.
FileLock FileLock::Acquire(const std::string& path, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const PathLookup found = LookUpPath(path);
        if (found.Kind != PathKind::Regular)
            return {path, State::NotAFile, {}, found.Kind == PathKind::Missing ? ERROR_FILE_NOT_FOUND : found.SystemError};
        if (!win32::HasHeldTemporaryFile(path)) {
            const HANDLE handle = win32::OpenSharedWaiting(path, GENERIC_READ);
            if (handle == INVALID_HANDLE_VALUE)
                return {path, State::NotAFile, {}, static_cast<int>(::GetLastError())};
            FileDescriptor file = win32::DescriptorOf(handle);
            if (win32::TryLockFile(handle) && IsFileAt(handle, path) && !win32::HasHeldTemporaryFile(path))
                return {path, State::Held, std::move(file), 0};
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return {path, State::Busy, {}, ERROR_LOCK_VIOLATION};
        std::this_thread::sleep_for(kPollInterval);
    }
}

void FileLock::Replace(std::span<const std::uint8_t> data, const std::string& what)
{
    file_ = win32::ReplaceReleasing(path_, data, what, {}, &file_);
}

} // namespace brivane
