#pragma once

#include "opl/TimedSong.h"

#include <cstdint>
#include <vector>

namespace brivane {

// A capture's writes as IMF records (register, value, then a 16-bit delay) at `tickRate`
// ticks a second, with nothing drifting: each write lands at its exact time × the rate,
// rounded to the nearest tick (ties to even), and each delay is the difference of two such
// times. The first record, of register 0x00 (which no OPL2 has), carries the silence before
// the first write; a wait past 65535 ticks goes on in more of them; the last delay reaches
// the capture's end, so a player that loops the song keeps the beat.
std::vector<std::uint8_t> TimedRecords(const TimedSong& capture, int tickRate);

// The tick, at `tickRate`, of a time of `units` in the capture's time base.
std::uint64_t TickAt(std::uint64_t units, std::uint64_t unitsPerSecond, int tickRate);

} // namespace brivane
