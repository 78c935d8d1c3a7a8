#include "platform/TemporaryFile.h"

#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/TemporaryName.h"
#include "platform/windows/Win32.h"

namespace brivane {
namespace {

using namespace win32;

std::string InFolder(const std::string& folder, const std::string& name)
{
    return folder.ends_with('\\') || folder.ends_with('/') ? folder + name : folder + "\\" + name;
}

// Calls `visit` with the path of every temporary file of ours in a folder matching `pattern`.
template <typename Visit>
void ForEachTemporaryFile(const std::string& folder, const std::string& pattern, Visit visit)
{
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(SystemPath(InFolder(folder, pattern)).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = Narrow(found.cFileName);
        if (IsTemporaryFileName(name) && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !visit(InFolder(folder, name)))
            break;
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

} // namespace

TemporaryFile CreateTemporaryFileFor(const std::string& target, const std::string& what)
{
    for (;;) {
        std::string path = InFolder(FolderOf(target), NewTemporaryName(target));
        // Shared for deletion, since it is renamed while still open and locked. Read access
        // only: after the rename this handle holds the song's lock, and players that share
        // nothing but reading may still open the song beside it. It is written through a
        // handle of its own.
        const HANDLE handle = ::CreateFileW(SystemPath(path).c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            if (::GetLastError() == ERROR_FILE_EXISTS)
                continue;
            throw FileError("could not create a temporary file for " + what, static_cast<int>(::GetLastError()));
        }
        FileDescriptor file = DescriptorOf(handle);
        if (TryLockFile(handle))
            return {std::move(path), std::move(file)};
        // A cleaner, or a waiter asking whether it is held, locked it first; it is still
        // ours to remove, and a fresh one is made.
        ::DeleteFileW(SystemPath(path).c_str());
    }
}

bool win32::HasHeldTemporaryFile(const std::string& target)
{
    const std::string pattern = TemporaryNamePrefix(target) + "*" + kTemporarySuffix;
    bool held = false;
    ForEachTemporaryFile(FolderOf(target), pattern, [&](const std::string& path) {
        if (!IsTemporaryNameOf(NameOf(path), target))
            return true;
        const HANDLE handle = OpenShared(path, GENERIC_READ, FILE_FLAG_OPEN_REPARSE_POINT);
        if (handle == INVALID_HANDLE_VALUE)
            return true;
        held = !TryLockFile(handle);
        ::CloseHandle(handle);
        return !held;
    });
    return held;
}

void RemoveStaleTemporaryFiles(const std::string& folder)
{
    ForEachTemporaryFile(folder, ".*" + kTemporarySuffix, [](const std::string& path) {
        const HANDLE handle = OpenShared(path, GENERIC_READ | DELETE, FILE_FLAG_OPEN_REPARSE_POINT);
        if (handle == INVALID_HANDLE_VALUE)
            return true;
        BY_HANDLE_FILE_INFORMATION info{};
        // A live writer holds its lock until its rename; only unheld files are left over.
        if (::GetFileInformationByHandle(handle, &info) && !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
            TryLockFile(handle)) {
            FILE_DISPOSITION_INFO gone{TRUE};
            (void)::SetFileInformationByHandle(handle, FileDispositionInfo, &gone, sizeof gone);
        }
        ::CloseHandle(handle);
        return true;
    });
}

} // namespace brivane
