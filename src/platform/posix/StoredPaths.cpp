#include "platform/StoredPaths.h"

namespace brivane {

std::string PathFromSettings(const std::string& stored)
{
    return stored;
}

std::string PathForSettings(const std::string& path)
{
    return path;
}

} // namespace brivane
