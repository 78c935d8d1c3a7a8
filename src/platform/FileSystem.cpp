#include "platform/FileSystem.h"

#include "platform/FileError.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <limits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brivane {
namespace {

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { if (fd_ >= 0) ::close(fd_); }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, so that a failing close can be reported; returns errno or 0.
    int Close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

std::string FollowLinks(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char resolved[PATH_MAX];
    // A dangling link has nothing to follow; the link itself is then replaced.
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
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

// Reads from the start of the file until its end or `limit` bytes; the size is only a hint,
// since the file may grow or shrink while it is read.
Bytes ReadUpTo(const std::string& path, std::size_t limit, const std::string& what)
{
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid())
        throw FileError("could not open " + what, errno);
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        throw FileError("could not read " + what, errno);
    Bytes data(std::min(limit, static_cast<std::size_t>(info.st_size)));
    std::size_t filled = 0;
    while (filled < limit) {
        if (filled == data.size())
            data.resize(std::min(limit, data.size() + 4096));
        const ssize_t n = ::read(fd.get(), data.data() + filled, data.size() - filled);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError("could not read " + what, errno);
        }
        if (n == 0)
            break;
        filled += static_cast<std::size_t>(n);
    }
    data.resize(filled);
    return data;
}

} // namespace

PathKind LookUpPath(const std::string& path)
{
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return PathKind::Missing;
    return S_ISREG(info.st_mode) ? PathKind::Regular : PathKind::Other;
}

Bytes ReadFileStart(const std::string& path, std::size_t count)
{
    return ReadUpTo(path, count, path);
}

Bytes ReadWholeFile(const std::string& path, const std::string& what)
{
    return ReadUpTo(path, std::numeric_limits<std::size_t>::max(), what);
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

std::string TemporaryPathFor(const std::string& path)
{
    const std::string target = FollowLinks(path);
    // One fixed name per target: a run that was killed mid-write leaves at most this file,
    // and the next write of the same target truncates and renames it away.
    return FolderOf(target) + "/." + NameOf(target) + ".brivane-tmp";
}

void ReplaceFile(const std::string& path, std::span<const std::uint8_t> data,
                 Durability durability, const std::string& what)
{
    const std::string target = FollowLinks(path);
    const std::string temporary = TemporaryPathFor(target);

    mode_t mode = 0666;
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        // Renaming would replace a file the user made read-only; refuse as a direct write would.
        EnsureWritable(target, what);
        mode = existing.st_mode & 07777;
    }

    FileDescriptor fd(::open(temporary.c_str(),
                             O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666));
    if (!fd.valid())
        throw FileError("could not create a temporary file for " + what, errno);
    if (mode != 0666)
        ::fchmod(fd.get(), mode); // keeps the old file's permissions; a failure costs only those

    try {
        WriteAll(fd.get(), data, what);
        if (durability != Durability::Buffered && ::fsync(fd.get()) != 0)
            throw FileError("could not flush " + what, errno);
        if (const int error = fd.Close())
            throw FileError("could not write " + what, error);
        if (::rename(temporary.c_str(), target.c_str()) != 0)
            throw FileError("could not replace " + what, errno);
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    if (durability == Durability::Flushed)
        FlushFolder(FolderOf(target));
}

} // namespace brivane
