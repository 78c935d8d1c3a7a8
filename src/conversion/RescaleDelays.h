#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

namespace brivane {

// d × ticScale, exact in double, rounded to nearest with ties to even. A result past
// 65535 is stored as 65535: a long pause must not wrap round into a blip.
inline std::uint16_t RescaleDelay(std::uint16_t delay, float ticScale)
{
    const double product = static_cast<double>(delay) * static_cast<double>(ticScale);
    // Adding and taking away 2^52 rounds to an integer, ties to even, in the default
    // rounding mode, without a library call in the loop (the product is below 2^19).
    const double rounded = (product + 0x1p52) - 0x1p52;
    // Clamped as an integer so the compiler can use a conditional move: real songs saturate
    // rarely, but random data does half the time and a branch would then mispredict.
    return static_cast<std::uint16_t>(std::min(static_cast<std::int32_t>(rounded), std::int32_t{65535}));
}

// Rescales every complete delay field of a headerless command stream in place. A trailing
// partial record, a lone delay byte included, is left as it is.
void RescaleDelays(std::span<std::uint8_t> commandStream, float ticScale);

} // namespace brivane
