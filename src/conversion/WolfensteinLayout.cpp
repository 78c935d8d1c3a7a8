#include "conversion/WolfensteinLayout.h"

#include "conversion/ImfCommand.h"
#include "conversion/RescaleDelays.h"

#include <algorithm>

namespace brivane {

std::vector<std::uint8_t> ToWolfensteinLayout(std::span<const std::uint8_t> headerless, float ticScale)
{
    std::vector<std::uint8_t> converted(kLengthWordSize + headerless.size());
    WriteLe16(converted.data(), static_cast<std::uint16_t>(headerless.size() & 0xFFFF));
    std::copy(headerless.begin(), headerless.end(), converted.begin() + kLengthWordSize);
    RescaleDelays(std::span(converted).subspan(kLengthWordSize), ticScale);
    return converted;
}

} // namespace brivane
