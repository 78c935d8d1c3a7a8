#include "platform/FileLock.h"

#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>

namespace brivane {
namespace {

constexpr std::chrono::milliseconds kPollInterval{10};

} // namespace

FileLock FileLock::Acquire(const std::string& path, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        struct stat named {};
        // Devices and FIFOs are never opened: opening some of them has effects of its own.
        if (::stat(path.c_str(), &named) != 0)
            return {path, State::NotAFile, {}, errno};
        if (!S_ISREG(named.st_mode))
            return {path, State::NotAFile, {}, 0};
        FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        if (!file.valid())
            return {path, State::NotAFile, {}, errno};

        while (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR)
                return {path, State::NotAFile, {}, errno};
            if (std::chrono::steady_clock::now() >= deadline)
                return {path, State::Busy, {}, EWOULDBLOCK};
            std::this_thread::sleep_for(kPollInterval);
        }

        struct stat opened {};
        if (::fstat(file.get(), &opened) != 0)
            return {path, State::NotAFile, {}, errno};
        // The holder we waited for may have renamed a new file over the path: lock that one.
        if (::stat(path.c_str(), &named) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
            return {path, State::Held, std::move(file), 0};
    }
}

// The new file is locked before its rename and the old one held until after it, so the lock
// passes from one to the other without a gap.
void FileLock::Replace(std::span<const std::uint8_t> data, const std::string& what)
{
    file_ = ReplaceFile(path_, data, what);
}

} // namespace brivane
