#pragma once

#include <stdexcept>
#include <string>

namespace brivane {

// A failed file operation: what was being done, and the system's reason for the failure.
class FileError : public std::runtime_error {
public:
    FileError(const std::string& action, int errorNumber);
    // A failure the system did not report, with a reason of our own ("it is a FIFO").
    FileError(const std::string& action, const std::string& reason);

    int ErrorNumber() const { return errorNumber_; }
    const std::string& Reason() const { return reason_; }

private:
    int errorNumber_;
    std::string reason_;
};

// The system's short description of an error code ("Permission denied", "Access is denied"):
// errno on POSIX, a Win32 error code on Windows.
std::string SystemReason(int errorNumber);

// Whether the error is another program holding the file without sharing it, as Windows lets
// a program do; a POSIX system has no such hold.
bool IsHeldByAnotherProgram(int errorNumber);

} // namespace brivane
