#include "platform/FileError.h"

#include <cstring>

namespace brivane {

std::string SystemReason(int errorNumber)
{
    return std::strerror(errorNumber);
}

bool IsHeldByAnotherProgram(int)
{
    return false;
}

} // namespace brivane
