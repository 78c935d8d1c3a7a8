#include "opl/TimedRecords.h"

#include <algorithm>

namespace brivane {
namespace {

constexpr std::uint64_t kLongestDelay = 0xFFFF;
// Times past 2^64 / 700 units come from crafted captures only, and still convert exactly.
__extension__ using Wide = unsigned __int128;

void Append(std::vector<std::uint8_t>& records, std::uint8_t reg, std::uint8_t value, std::uint64_t delay)
{
    records.insert(records.end(), {reg, value, static_cast<std::uint8_t>(delay & 0xFF), static_cast<std::uint8_t>(delay >> 8)});
}

// A wait of any length: the write's own record takes what it can, records of register 0 the rest.
void AppendWithWait(std::vector<std::uint8_t>& records, std::uint8_t reg, std::uint8_t value, std::uint64_t wait)
{
    Append(records, reg, value, std::min(wait, kLongestDelay));
    for (wait -= std::min(wait, kLongestDelay); wait > 0; wait -= std::min(wait, kLongestDelay))
        Append(records, 0x00, 0x00, std::min(wait, kLongestDelay));
}

} // namespace

std::uint64_t TickAt(std::uint64_t units, std::uint64_t unitsPerSecond, int tickRate)
{
    const Wide scaled = static_cast<Wide>(units) * static_cast<unsigned>(tickRate);
    const auto whole = static_cast<std::uint64_t>(scaled / unitsPerSecond);
    const auto twiceRest = static_cast<std::uint64_t>(scaled % unitsPerSecond) * 2;
    const bool up = twiceRest > unitsPerSecond || (twiceRest == unitsPerSecond && whole % 2 == 1);
    return whole + (up ? 1 : 0);
}

std::vector<std::uint8_t> TimedRecords(const TimedSong& capture, int tickRate)
{
    std::vector<std::uint8_t> records;
    records.reserve(4 * (capture.Writes.size() + 1));
    const auto tick = [&](std::uint64_t at) { return TickAt(at, capture.UnitsPerSecond, tickRate); };
    const std::uint64_t end = tick(std::max(capture.End, capture.Writes.empty() ? 0 : capture.Writes.back().At));
    std::uint64_t previous = capture.Writes.empty() ? end : tick(capture.Writes.front().At);
    AppendWithWait(records, 0x00, 0x00, previous);
    for (std::size_t i = 0; i < capture.Writes.size(); ++i) {
        const std::uint64_t next = i + 1 < capture.Writes.size() ? tick(capture.Writes[i + 1].At) : end;
        AppendWithWait(records, capture.Writes[i].Register, capture.Writes[i].Value, next - previous);
        previous = next;
    }
    return records;
}

} // namespace brivane
