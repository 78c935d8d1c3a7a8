#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace brivane {

// A number taken to the nearest integer, an exact half to the even neighbour, and clamped
// to the signed 32-bit range (infinities included).
std::int32_t RoundToInt32(double value);

// The integer value of a key name that reads as a plain decimal number as a whole (blanks
// and tabs around it allowed: sign, digits, fraction, exponent); nothing for other names.
std::optional<std::int32_t> NumericNameValue(std::string_view name);

// The leading number of a value, as ReadLong reads it: blanks, tabs and line feeds anywhere
// are ignored, then sign, digits, fraction and exponent as far as they go; 0 without one.
std::int32_t LeadingNumber(std::string_view text);

} // namespace brivane
