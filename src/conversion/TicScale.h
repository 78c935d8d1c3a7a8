#pragma once

namespace brivane {

inline constexpr int kMinOriginalTics = 100;
inline constexpr int kMaxOriginalTics = 700;
inline constexpr int kDefaultOriginalTics = 280;
inline constexpr int kWolfensteinTics = 700;

// 700 / originalTics, divided in double and held in single precision: the single-precision
// value decides ties (at 600 ticks a delay of 3 gives 3.4999999, so 3, not 4).
inline float TicScaleFor(int originalTics)
{
    return static_cast<float>(static_cast<double>(kWolfensteinTics) / originalTics);
}

} // namespace brivane
