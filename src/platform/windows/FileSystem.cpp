#include "platform/FileSystem.h"

#include "platform/FileError.h"
#include "platform/Backend.h"
#include "platform/TemporaryFile.h"
#include "platform/windows/Win32.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <thread>

// windows.h names ReplaceFileW's macro as our function.
#undef ReplaceFile

namespace brivane {
namespace {

using namespace win32;

// A handle that closes itself.
struct Handle {
    explicit Handle(HANDLE h) : value(h) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle()
    {
        if (valid())
            ::CloseHandle(value);
    }
    bool valid() const { return value != INVALID_HANDLE_VALUE && value != nullptr; }
    HANDLE value;
};

bool IsAbsence(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_DRIVE;
}

bool IsInUse(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

PathKind KindOfAttributes(DWORD attributes, Links links)
{
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && links == Links::DoNotFollow)
        return PathKind::SymbolicLink; // symbolic links and junctions alike
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Directory : PathKind::Regular;
}

// What a reparse point ends at: opening it follows every link on the way.
PathLookup FollowReparsePoint(const std::string& path)
{
    Handle file(OpenShared(path, 0, FILE_FLAG_BACKUP_SEMANTICS));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || !::GetFileInformationByHandle(file.value, &info)) {
        const DWORD error = ::GetLastError();
        return {IsAbsence(error) ? PathKind::Missing : PathKind::Inaccessible, static_cast<int>(error)};
    }
    return {KindOfAttributes(info.dwFileAttributes, Links::Follow), 0};
}

void WriteAll(HANDLE file, std::span<const std::uint8_t> data, const std::string& what)
{
    std::size_t written = 0;
    while (written < data.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size() - written, 1 << 30));
        DWORD done = 0;
        if (!::WriteFile(file, data.data() + written, chunk, &done, nullptr))
            throw FileError("could not write " + what, static_cast<int>(::GetLastError()));
        written += done;
    }
}

// A link to a file is replaced at the file it ends at, as on POSIX.
std::string FollowLinks(const std::string& path)
{
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return path;
    Handle file(OpenShared(path, 0));
    std::wstring final(32768, L'\0');
    const DWORD length = file.valid() ? ::GetFinalPathNameByHandleW(file.value, final.data(),
                                                                    static_cast<DWORD>(final.size()), 0)
                                      : 0;
    // A dangling link has nothing to follow; the link itself is then replaced.
    if (length == 0 || length >= final.size())
        return path;
    final.resize(length);
    return Narrow(final);
}

// The hidden, system and archive marks a replaced file keeps.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

void CopyAttributesAndTimes(HANDLE file, DWORD attributes, const std::string& timesFrom)
{
    FILE_BASIC_INFO basic{}; // zero leaves a field as it is
    basic.FileAttributes = (attributes & kKeptAttributes) ? (attributes & kKeptAttributes) : FILE_ATTRIBUTE_NORMAL;
    if (!timesFrom.empty()) {
        Handle model(OpenShared(timesFrom, FILE_READ_ATTRIBUTES));
        FILETIME accessed{}, modified{};
        if (model.valid() && ::GetFileTime(model.value, nullptr, &accessed, &modified)) {
            basic.LastAccessTime.LowPart = accessed.dwLowDateTime;
            basic.LastAccessTime.HighPart = static_cast<LONG>(accessed.dwHighDateTime);
            basic.LastWriteTime.LowPart = modified.dwLowDateTime;
            basic.LastWriteTime.HighPart = static_cast<LONG>(modified.dwHighDateTime);
        }
    }
    (void)::SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
}

// Virus scanners, the search indexer and players open files without sharing their deletion,
// and Windows then refuses the rename for as long as they hold them. Most let go within a
// second; the waits are git for Windows' own.
bool RenameOver(const std::wstring& from, const std::wstring& to, DWORD flags, DWORD& error)
{
    for (const int wait : kInUseWaitsMs) {
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
        if (::MoveFileExW(from.c_str(), to.c_str(), flags))
            return true;
        error = ::GetLastError();
        if (!IsInUse(error))
            return false;
    }
    return false;
}

} // namespace

PathLookup LookUpPath(const std::string& path, Links links)
{
    if (path.empty())
        return {PathKind::Missing, ERROR_FILE_NOT_FOUND};
    if (const int fault = NameFault(path))
        return {PathKind::Inaccessible, fault};
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        return {IsAbsence(error) ? PathKind::Missing : PathKind::Inaccessible, static_cast<int>(error)};
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && links == Links::Follow)
        return FollowReparsePoint(path);
    return {KindOfAttributes(attributes, links), 0};
}

std::optional<FileIdentity> IdentityOf(const std::string& path)
{
    Handle file(OpenShared(path, 0, FILE_FLAG_BACKUP_SEMANTICS));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || !::GetFileInformationByHandle(file.value, &info))
        return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::string NameAsCompared(const std::string& name)
{
    // NTFS and FAT find X.IMF when x.imf is asked for.
    std::wstring wide = Widen(name);
    ::CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return Narrow(wide);
}

std::vector<std::string> VisibleFilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileExW(SystemPath(folder + "\\*").c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = Narrow(found.cFileName);
        // Hidden and system files are left out, as Explorer leaves them out, and dot-files as on POSIX.
        if (name.empty() || name[0] == '.' || (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
            continue;
        const bool regular = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                                 ? LookUpPath(folder + "\\" + name).Kind == PathKind::Regular
                                 : !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        if (regular)
            names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

bool IsStreamDevice(const std::string& path)
{
    std::string name = path.starts_with("\\\\.\\") ? path.substr(4) : path;
    for (char& c : name)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return name == "NUL" || name == "CON";
}

bool IsReadableFolder(const std::string& folder)
{
    return !folder.empty() && LookUpPath(folder).Kind == PathKind::Directory;
}


std::string ProgramFolder()
{
    std::wstring path(32768, L'\0');
    path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return FolderOf(Narrow(path));
}

char PathSeparator()
{
    return '\\';
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of("\\/");
    if (slash == std::string::npos)
        return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : ".";
    // "C:\song.imf" is in "C:\", not in "C:", which is the drive's current folder.
    if (slash == 0 || (slash == 2 && path[1] == ':'))
        return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const auto slash = path.find_last_of("\\/");
    if (slash == std::string::npos)
        return path.size() >= 2 && path[1] == ':' ? path.substr(2) : path;
    return path.substr(slash + 1);
}

namespace backend {

const char* const kSymbolicLinkName = "a symbolic link or a junction";
const char* const kFifoName = "a pipe";

FileDescriptor OpenForReading(const std::string& path, Links links, const std::string& what)
{
    if (const int fault = NameFault(path))
        throw FileError("could not open " + what, fault);
    const DWORD flags = links == Links::DoNotFollow ? FILE_FLAG_OPEN_REPARSE_POINT : 0;
    const HANDLE file = OpenSharedWaiting(path, GENERIC_READ, flags);
    if (file == INVALID_HANDLE_VALUE)
        throw FileError("could not open " + what, static_cast<int>(::GetLastError()));
    FileDescriptor opened = DescriptorOf(file);
    BY_HANDLE_FILE_INFORMATION info{};
    if (links == Links::DoNotFollow && ::GetFileInformationByHandle(file, &info) &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        throw FileError("could not open " + what, "it is a symbolic link or a junction");
    return opened;
}

std::size_t SizeHint(const FileDescriptor& file, const std::string& what)
{
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(HandleOf(file), &size))
        throw FileError("could not read " + what, static_cast<int>(::GetLastError()));
    return static_cast<std::size_t>(size.QuadPart);
}

// At an offset, as pread does, so a shared handle's position never matters.
std::size_t ReadAt(const FileDescriptor& file, std::size_t offset, std::uint8_t* into, std::size_t size,
                   const std::string& what)
{
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
    DWORD done = 0;
    if (!::ReadFile(HandleOf(file), into, static_cast<DWORD>(std::min<std::size_t>(size, 1 << 30)), &done, &at)) {
        if (::GetLastError() == ERROR_HANDLE_EOF)
            return 0;
        throw FileError("could not read " + what, static_cast<int>(::GetLastError()));
    }
    return done;
}

} // namespace backend

void WriteIntoStream(const std::string& path, std::span<const std::uint8_t> data, const std::string& what)
{
    Handle stream(OpenShared(path, GENERIC_WRITE));
    if (!stream.valid())
        throw FileError("could not open " + what, static_cast<int>(::GetLastError()));
    WriteAll(stream.value, data, what);
}

void RemoveFile(const std::string& path, const std::string& what)
{
    if (!::DeleteFileW(SystemPath(path).c_str()) && !IsAbsence(::GetLastError()))
        throw FileError("could not remove " + what, static_cast<int>(::GetLastError()));
}

void EnsureWritable(const std::string& path, const std::string& what)
{
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        throw FileError("could not write " + what, "it is read-only");
    Handle probe(OpenShared(path, GENERIC_WRITE));
    // A program holding the file without sharing it is waited for at the rename.
    if (!probe.valid() && ::GetLastError() != ERROR_SHARING_VIOLATION)
        throw FileError("could not write " + what, static_cast<int>(::GetLastError()));
}

FileDescriptor ReplaceFile(const std::string& path, std::span<const std::uint8_t> data,
                           const std::string& what, const ReplaceOptions& options)
{
    return ReplaceReleasing(path, data, what, options, nullptr);
}

namespace win32 {

FileDescriptor ReplaceReleasing(const std::string& path, std::span<const std::uint8_t> data,
                                const std::string& what, const ReplaceOptions& options, FileDescriptor* release)
{
    if (const int fault = NameFault(path))
        throw FileError("could not write " + what, fault);
    const std::string target = options.LinkHandling == Links::Follow ? FollowLinks(path) : path;
    const DWORD existing = AttributesOf(target);
    const bool replacing = existing != INVALID_FILE_ATTRIBUTES && !(existing & FILE_ATTRIBUTE_DIRECTORY);
    if (replacing)
        EnsureWritable(target, what);
    const DWORD model = replacing ? existing
                        : options.AttributesFrom.empty() ? INVALID_FILE_ATTRIBUTES
                                                         : AttributesOf(options.AttributesFrom);

    TemporaryFile temporary = CreateTemporaryFileFor(target, what);
    const std::wstring from = SystemPath(temporary.Path);
    const bool durable = options.Durable == Durability::Flushed;
    try {
        {
            Handle writer(OpenShared(temporary.Path, GENERIC_WRITE));
            if (!writer.valid())
                throw FileError("could not write " + what, static_cast<int>(::GetLastError()));
            WriteAll(writer.value, data, what);
            CopyAttributesAndTimes(writer.value, model == INVALID_FILE_ATTRIBUTES ? 0 : model, options.TimesFrom);
            if (durable && !::FlushFileBuffers(writer.value))
                throw FileError("could not flush " + what, static_cast<int>(::GetLastError()));
        }
        if (release)
            release->Close();
        // Windows cannot flush a folder. A write-through rename returns only once the new
        // name is on the disk, which is what flushing the folder gives on POSIX.
        DWORD error = 0;
        if (!RenameOver(from, SystemPath(target), MOVEFILE_REPLACE_EXISTING | (durable ? MOVEFILE_WRITE_THROUGH : 0),
                        error)) {
            if (IsInUse(error) && !(AttributesOf(target) & FILE_ATTRIBUTE_READONLY))
                throw FileError("could not replace " + what, "it is in use by another program; nothing was changed");
            throw FileError("could not replace " + what, static_cast<int>(error));
        }
    } catch (...) {
        ::DeleteFileW(from.c_str());
        throw;
    }
    return std::move(temporary.File);
}

} // namespace win32
} // namespace brivane
