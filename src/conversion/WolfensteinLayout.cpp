#include "conversion/WolfensteinLayout.h"

#include "opl/ImfCommand.h"
#include "conversion/RescaleDelays.h"

#include <algorithm>

namespace brivane {

std::vector<std::uint8_t> ToWolfensteinLayout(std::span<const std::uint8_t> headerless, float ticScale)
{
    std::vector<std::uint8_t> converted(kLengthWordSize + headerless.size());
    // The games' players step four bytes at a time until the count reaches zero: a count that
    // took in a partial record would never reach it, so only whole records are counted.
    const std::size_t wholeRecords = headerless.size() - headerless.size() % kImfCommandSize;
    WriteLe16(converted.data(), static_cast<std::uint16_t>(wholeRecords & 0xFFFF));
    std::copy(headerless.begin(), headerless.end(), converted.begin() + kLengthWordSize);
    RescaleDelays(std::span(converted).subspan(kLengthWordSize), ticScale);
    return converted;
}

} // namespace brivane
