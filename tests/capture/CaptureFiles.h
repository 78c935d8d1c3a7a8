#pragma once

#include "support/TempDir.h"

#include <algorithm>
#include <cstdint>

namespace brivane::test {

// A DRO 2.0 capture: delay codes 0x70 (short) and 0x71 (long), codemap 20 B0 05.
inline Bytes Dro(std::uint8_t hardware, const Bytes& pairs, std::uint8_t codemapLength = 3, std::uint32_t announced = 0)
{
    Bytes dro{'D', 'B', 'R', 'A', 'W', 'O', 'P', 'L', 2, 0, 0, 0};
    const std::uint32_t count = announced ? announced : static_cast<std::uint32_t>(pairs.size() / 2);
    for (int i = 0; i < 4; ++i)
        dro.push_back(static_cast<std::uint8_t>(count >> (8 * i)));
    dro.insert(dro.end(), {0, 0, 0, 0, hardware, 0, 0, 0x70, 0x71, codemapLength, 0x20, 0xB0, 0x05});
    dro.resize(dro.size() - 3 + std::min<std::size_t>(codemapLength, 3), 0);
    dro.insert(dro.end(), pairs.begin(), pairs.end());
    return dro;
}

inline Bytes Raw(std::uint16_t clock, const Bytes& pairs)
{
    Bytes raw{'R', 'A', 'W', 'A', 'D', 'A', 'T', 'A', static_cast<std::uint8_t>(clock), static_cast<std::uint8_t>(clock >> 8)};
    raw.insert(raw.end(), pairs.begin(), pairs.end());
    return raw;
}

} // namespace brivane::test
