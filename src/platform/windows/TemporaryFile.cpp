#include "platform/TemporaryFile.h"

#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/windows/Win32.h"

#include <random>

namespace brivane {
namespace {

using namespace win32;

const std::string kSuffix = ".brivane-tmp";
// The song's name is cut so the temporary name fits in the 255 characters a name may have.
constexpr std::size_t kNameKept = 200;
constexpr std::size_t kRandomLength = 10;

std::string RandomPart()
{
    static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
    std::string part;
    for (std::size_t i = 0; i < kRandomLength; ++i)
        part += kAlphabet[pick(generator)];
    return part;
}

// ".song.imf." for C:\Songs\song.imf.
std::string NamePrefixFor(const std::string& target)
{
    return "." + NameOf(target).substr(0, kNameKept) + ".";
}

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

bool IsTemporaryFileName(const std::string& name)
{
    return name.size() > 1 + kSuffix.size() && name[0] == '.' &&
           name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0;
}

TemporaryFile CreateTemporaryFileFor(const std::string& target, const std::string& what)
{
    const std::string prefix = InFolder(FolderOf(target), NamePrefixFor(target));
    for (;;) {
        std::string path = prefix + RandomPart() + kSuffix;
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
    const std::string prefix = NamePrefixFor(target);
    const std::size_t exactLength = prefix.size() + kRandomLength + kSuffix.size();
    bool held = false;
    ForEachTemporaryFile(FolderOf(target), prefix + "*" + kSuffix, [&](const std::string& path) {
        if (NameOf(path).size() != exactLength)
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
    ForEachTemporaryFile(folder, ".*" + kSuffix, [](const std::string& path) {
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
