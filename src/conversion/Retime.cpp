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

void RetimeRecords(std::span<std::uint8_t> records, int fromTics, int toTics)
{
    std::uint64_t oldTime = 0;
    std::uint64_t newTime = 0;
    for (std::size_t at = 0; at + kImfCommandSize <= records.size(); at += kImfCommandSize) {
        std::uint8_t* delay = records.data() + at + kDelayOffset;
        oldTime += ReadLe16(delay);
        const std::uint64_t next = ScaledTime(oldTime, static_cast<std::uint64_t>(fromTics),
                                              static_cast<std::uint64_t>(toTics));
        WriteLe16(delay, static_cast<std::uint16_t>(std::min<std::uint64_t>(next - newTime, 65535)));
        newTime = next;
    }
}

} // namespace brivane
