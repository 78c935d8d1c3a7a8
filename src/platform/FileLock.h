#pragma once

#include "platform/FileDescriptor.h"

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

namespace brivane {

// An exclusive lock on the file a path names, held while the object lives. Every Brivane
// that writes a song takes it first, so two never work on one song at once. Readers and
// players never meet it.
class FileLock {
public:
    enum class State {
        Held,
        NotAFile, // nothing to lock: missing, not a regular file, or not openable (see Error)
        Busy,     // another holder kept it past the timeout
    };

    // Waits up to `timeout` for the lock. A rename may replace the file while we wait, so the
    // file locked is checked against the path once held, and the wait starts over on a change.
    static FileLock Acquire(const std::string& path, std::chrono::milliseconds timeout);

    State Status() const { return state_; }
    int Error() const { return error_; }
    const FileDescriptor& File() const { return file_; }

    // Replaces the locked file with `data` as ReplaceFile does and holds the lock on the new
    // file, so that no other Brivane gets between the two. Throws FileError.
    void Replace(std::span<const std::uint8_t> data, const std::string& what);

private:
    FileLock(std::string path, State state, FileDescriptor file, int error)
        : path_(std::move(path)), state_(state), file_(std::move(file)), error_(error) {}

    std::string path_;
    State state_;
    FileDescriptor file_;
    int error_;
};

} // namespace brivane
