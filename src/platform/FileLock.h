#pragma once

#include "platform/FileDescriptor.h"

#include <chrono>
#include <string>

namespace brivane {

// An exclusive advisory lock on the file a path names, held while the object lives. Every
// Brivane that writes a song takes it first, so two never work on one song at once.
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

    // Takes over a file already locked, such as the one that has just replaced the old,
    // and lets the old one go.
    void Adopt(FileDescriptor lockedFile) { file_ = std::move(lockedFile); state_ = State::Held; }

private:
    FileLock(State state, FileDescriptor file, int error)
        : state_(state), file_(std::move(file)), error_(error) {}

    State state_;
    FileDescriptor file_;
    int error_;
};

} // namespace brivane
