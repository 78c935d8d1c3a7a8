#include "platform/TemporaryFile.h"

#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/TemporaryName.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace brivane {
namespace {

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

TemporaryFile CreateTemporaryFileFor(const std::string& target, const std::string& what)
{
    for (;;) {
        std::string path = FolderOf(target) + "/" + NewTemporaryName(target);
        FileDescriptor file(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
        if (!file.valid()) {
            if (errno == EEXIST)
                continue;
            throw FileError("could not create a temporary file for " + what, errno);
        }
        // A cleaner may have locked and removed the file between its creation and this lock;
        // it is then gone from the folder, and a fresh one is made.
        if (::flock(file.get(), LOCK_EX) != 0)
            throw FileError("could not lock a temporary file for " + what, errno);
        struct stat info {};
        if (::fstat(file.get(), &info) != 0)
            throw FileError("could not create a temporary file for " + what, errno);
        if (info.st_nlink > 0)
            return {std::move(path), std::move(file)};
    }
}

void RemoveStaleTemporaryFiles(const std::string& folder)
{
    DIR* directory = ::opendir(folder.c_str());
    if (!directory)
        return;
    while (const dirent* entry = ::readdir(directory)) {
        const std::string name = entry->d_name;
        if (!IsTemporaryFileName(name))
            continue;
        const std::string path = folder + "/" + name;
        FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
        struct stat opened {};
        struct stat named {};
        // A live writer holds its lock until its rename; only unheld files are left over.
        if (!file.valid() || ::fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
            ::flock(file.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        if (::lstat(path.c_str(), &named) == 0 && SameFile(opened, named))
            ::unlink(path.c_str());
    }
    ::closedir(directory);
}

} // namespace brivane
