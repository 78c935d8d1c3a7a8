#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace brivane {

// Whole 4-byte records retimed so that every record keeps its time: with T_k the ticks before
// record k, its new time is T_k × toTics / fromTics, rounded to nearest with ties to even,
// exactly, in integers. Each new delay is the difference of two new times; one past 65535
// goes on in records of register 0 (which no OPL2 has), as a capture's long wait does.
// Rounding each delay on its own would drift: from 700 down to 280, a run of one-tick delays
// would all become 0 and the song would lose seconds.
std::vector<std::uint8_t> RetimeRecords(std::span<const std::uint8_t> records, int fromTics, int toTics);

} // namespace brivane
