#include "platform/FileError.h"

#include <cstring>

namespace brivane {

std::string SystemReason(int errorNumber)
{
    return std::strerror(errorNumber);
}

FileError::FileError(const std::string& action, int errorNumber)
    : std::runtime_error(action + ": " + SystemReason(errorNumber)),
      errorNumber_(errorNumber),
      reason_(SystemReason(errorNumber))
{
}

FileError::FileError(const std::string& action, const std::string& reason)
    : std::runtime_error(action + ": " + reason), errorNumber_(0), reason_(reason)
{
}

} // namespace brivane
