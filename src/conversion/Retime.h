#pragma once

#include <cstdint>
#include <span>

namespace brivane {

// Rewrites the delays of whole 4-byte records so that every record keeps its time: with T_k
// the ticks before record k, its new time is T_k × toTics / fromTics, rounded to nearest with
// ties to even, exactly, in integers. Each new delay is the difference of two new times, at
// most 65535. Rounding each delay on its own would drift: from 700 down to 280, a run of
// one-tick delays would all become 0 and the song would lose seconds.
void RetimeRecords(std::span<std::uint8_t> records, int fromTics, int toTics);

} // namespace brivane
