#include "platform/FileError.h"

namespace brivane {

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
