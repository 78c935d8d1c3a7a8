#include "conversion/Retime.h"

#include "opl/ImfCommand.h"

#include <algorithm>

namespace brivane {
namespace {

std::uint64_t ScaledTime(std::uint64_t ticks, std::uint64_t fromTics, std::uint64_t toTics)
{
    const std::uint64_t product = ticks * toTics;
    std::uint64_t quotient = product / fromTics;
    const std::uint64_t twiceRemainder = 2 * (product % fromTics);
    if (twiceRemainder > fromTics || (twiceRemainder == fromTics && quotient % 2 == 1))
        ++quotient;
    return quotient;
}

} // namespace

std::vector<std::uint8_t> RetimeRecords(std::span<const std::uint8_t> records, int fromTics, int toTics)
{
    constexpr std::uint64_t kLongestDelay = 0xFFFF;
    std::vector<std::uint8_t> retimed;
    retimed.reserve(records.size());
    std::uint64_t oldTime = 0;
    std::uint64_t newTime = 0;
    for (std::size_t at = 0; at + kImfCommandSize <= records.size(); at += kImfCommandSize) {
        oldTime += ReadLe16(records.data() + at + kDelayOffset);
        const std::uint64_t next = ScaledTime(oldTime, static_cast<std::uint64_t>(fromTics),
                                              static_cast<std::uint64_t>(toTics));
        std::uint8_t reg = records[at], value = records[at + 1];
        for (std::uint64_t wait = next - newTime;; wait -= kLongestDelay, reg = value = 0) {
            const auto delay = static_cast<std::uint16_t>(std::min(wait, kLongestDelay));
            retimed.insert(retimed.end(), {reg, value, static_cast<std::uint8_t>(delay & 0xFF),
                                           static_cast<std::uint8_t>(delay >> 8)});
            if (wait <= kLongestDelay)
                break;
        }
        newTime = next;
    }
    return retimed;
}

} // namespace brivane
