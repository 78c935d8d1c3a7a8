#include "platform/FileSystem.h"

#include "platform/FileError.h"
#include "platform/Backend.h"
#include "platform/TemporaryFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace brivane {
namespace {

PathKind KindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return PathKind::Regular;
    if (S_ISDIR(mode))
        return PathKind::Directory;
    if (S_ISLNK(mode))
        return PathKind::SymbolicLink;
    if (S_ISFIFO(mode))
        return PathKind::Fifo;
    if (S_ISSOCK(mode))
        return PathKind::Socket;
    if (S_ISBLK(mode))
        return PathKind::BlockDevice;
    return PathKind::Device;
}

std::string FollowLinks(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char resolved[PATH_MAX];
    // A dangling link has nothing to follow; the link itself is then replaced.
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

void WriteAll(int fd, std::span<const std::uint8_t> data, const std::string& what)
{
    std::size_t written = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(fd, data.data() + written, data.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError("could not write " + what, errno);
        }
        written += static_cast<std::size_t>(n);
    }
}

// A directory entry reaches the disk only when its folder is flushed. Some file systems
// refuse to flush a folder; the rename itself has then still happened, so that is no failure.
void FlushFolder(const std::string& folder)
{
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid())
        ::fsync(fd.get());
}

// Gives the new file the old one's owner and mode: chown first, since it clears the
// set-user-ID and set-group-ID bits. Only a privileged process may give a file away; for
// others the owner is theirs already, so a refusal costs nothing.
void CopyAttributes(int fd, const struct stat& from)
{
    if (::geteuid() == 0)
        (void)::fchown(fd, from.st_uid, from.st_gid);
    (void)::fchmod(fd, from.st_mode & 07777);
}

} // namespace

PathLookup LookUpPath(const std::string& path, Links links)
{
    if (path.empty())
        return {PathKind::Missing, ENOENT};
    struct stat info {};
    const int result = links == Links::Follow ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
    if (result != 0) {
        const int error = errno;
        const bool absent = error == ENOENT || error == ENOTDIR;
        return {absent ? PathKind::Missing : PathKind::Inaccessible, error};
    }
    return {KindOf(info.st_mode), 0};
}

std::optional<FileIdentity> IdentityOf(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

std::string NameAsCompared(const std::string& name)
{
    return name;
}

std::vector<std::string> VisibleFilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* entries = ::opendir(folder.c_str());
    if (!entries)
        return names;
    while (const dirent* entry = ::readdir(entries)) {
        const std::string name = entry->d_name;
        if (name.empty() || name[0] == '.')
            continue;
        struct stat info {};
        if (::fstatat(::dirfd(entries), entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode))
            names.push_back(name);
    }
    ::closedir(entries);
    return names;
}

bool IsStreamDevice(const std::string& path)
{
    return LookUpPath(path).Kind == PathKind::Device;
}

bool IsReadableFolder(const std::string& folder)
{
    struct stat info {};
    return !folder.empty() && ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           ::access(folder.c_str(), R_OK | X_OK) == 0;
}


std::string ProgramFolder()
{
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    path.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return FolderOf(path);
}

char PathSeparator()
{
    return '/';
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

namespace backend {

const char* const kSymbolicLinkName = "a symbolic link";
const char* const kFifoName = "a FIFO";

FileDescriptor OpenForReading(const std::string& path, Links links, const std::string& what)
{
    const int noFollow = links == Links::DoNotFollow ? O_NOFOLLOW : 0;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | noFollow));
    if (!fd.valid())
        throw FileError("could not open " + what, errno);
    return fd;
}

std::size_t SizeHint(const FileDescriptor& file, const std::string& what)
{
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        throw FileError("could not read " + what, errno);
    return static_cast<std::size_t>(info.st_size);
}

std::size_t ReadAt(const FileDescriptor& file, std::size_t offset, std::uint8_t* into, std::size_t size,
                   const std::string& what)
{
    for (;;) {
        const ssize_t n = ::pread(file.get(), into, size, static_cast<off_t>(offset));
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno != EINTR)
            throw FileError("could not read " + what, errno);
    }
}

} // namespace backend

void WriteIntoStream(const std::string& path, std::span<const std::uint8_t> data, const std::string& what)
{
    // No O_CREAT: a stream that went away in the meantime is not made into a file.
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid())
        throw FileError("could not open " + what, errno);
    WriteAll(fd.get(), data, what);
}

void RemoveFile(const std::string& path, const std::string& what)
{
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        throw FileError("could not remove " + what, errno);
    FlushFolder(FolderOf(path));
}

void EnsureWritable(const std::string& path, const std::string& what)
{
    struct stat existing {};
    if (::stat(path.c_str(), &existing) != 0 || !S_ISREG(existing.st_mode))
        return;
    FileDescriptor probe(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
    if (!probe.valid())
        throw FileError("could not write " + what, errno);
}

FileDescriptor ReplaceFile(const std::string& path, std::span<const std::uint8_t> data,
                           const std::string& what, const ReplaceOptions& options)
{
    const std::string target = options.LinkHandling == Links::Follow ? FollowLinks(path) : path;

    struct stat existing {};
    const bool replacing = ::lstat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    // Renaming would replace a file the user made read-only; refuse as a direct write would.
    if (replacing)
        EnsureWritable(target, what);
    struct stat model {};
    const bool hasModel = replacing || (!options.AttributesFrom.empty() &&
                                        ::stat(options.AttributesFrom.c_str(), &model) == 0);

    TemporaryFile temporary = CreateTemporaryFileFor(target, what);
    try {
        if (hasModel)
            CopyAttributes(temporary.File.get(), replacing ? existing : model);
        WriteAll(temporary.File.get(), data, what);
        if (struct stat times {}; !options.TimesFrom.empty() && ::stat(options.TimesFrom.c_str(), &times) == 0) {
            const decltype(times.st_mtim) stamps[2] = {times.st_atim, times.st_mtim};
            (void)::futimens(temporary.File.get(), stamps);
        }
        if (options.Durable == Durability::Flushed && ::fsync(temporary.File.get()) != 0)
            throw FileError("could not flush " + what, errno);
        if (::rename(temporary.Path.c_str(), target.c_str()) != 0)
            throw FileError("could not replace " + what, errno);
    } catch (...) {
        ::unlink(temporary.Path.c_str());
        throw;
    }
    if (options.Durable == Durability::Flushed)
        FlushFolder(FolderOf(target));
    return std::move(temporary.File);
}

} // namespace brivane
