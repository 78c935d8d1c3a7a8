#include "settings/IniNumbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace brivane {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix of `text` that is [sign] digits [. digits] [E [sign] digits],
// with at least one mantissa digit; 0 when there is none.
std::size_t NumberPrefixLength(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (; i < text.size() && IsDigit(text[i]); ++i)
            ++digits;
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        const std::size_t exponentStart = j;
        while (j < text.size() && IsDigit(text[j]))
            ++j;
        if (j > exponentStart)
            i = j;
    }
    return i;
}

// Converts a text that NumberPrefixLength accepted whole. The conversion does not depend
// on the locale (a decimal comma locale still reads "2.5" as two and a half).
double ToDouble(std::string_view number)
{
    bool negative = false;
    if (!number.empty() && (number[0] == '+' || number[0] == '-')) {
        negative = number[0] == '-';
        number.remove_prefix(1);
    }
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: tell the two apart by the decimal exponent.
        const auto mark = number.find_first_of("eE");
        const std::string_view mantissa = number.substr(0, mark);
        long long exponent = 0;
        if (mark != std::string_view::npos) {
            std::string_view e = number.substr(mark + 1);
            const bool down = !e.empty() && e[0] == '-';
            if (!e.empty() && (e[0] == '+' || e[0] == '-'))
                e.remove_prefix(1);
            for (char c : e)
                exponent = std::min<long long>(exponent * 10 + (c - '0'), 1'000'000'000);
            if (down)
                exponent = -exponent;
        }
        // Where the first significant digit stands: digits before the point count up,
        // zeros just after it count down.
        const auto point = mantissa.find('.');
        const std::string_view whole = mantissa.substr(0, point);
        const std::string_view fraction =
            point == std::string_view::npos ? std::string_view{} : mantissa.substr(point + 1);
        long long magnitude = 0;
        if (const auto lead = whole.find_first_not_of('0'); lead != std::string_view::npos)
            magnitude = static_cast<long long>(whole.size() - lead);
        else if (const auto zeros = fraction.find_first_not_of('0'); zeros != std::string_view::npos)
            magnitude = -static_cast<long long>(zeros);
        else
            return 0.0;
        value = magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

std::int32_t RoundToInt32(double value)
{
    const double rounded = std::nearbyint(value); // the default rounding mode: ties to even
    if (rounded >= 2147483647.0)
        return std::numeric_limits<std::int32_t>::max();
    if (rounded <= -2147483648.0)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(rounded);
}

std::optional<std::int32_t> NumericNameValue(std::string_view name)
{
    while (!name.empty() && IsBlank(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && IsBlank(name.back()))
        name.remove_suffix(1);
    // Only plain decimal forms count: no hexadecimal, separators or currency signs.
    if (name.empty() || NumberPrefixLength(name) != name.size())
        return std::nullopt;
    return RoundToInt32(ToDouble(name));
}

std::int32_t LeadingNumber(std::string_view text)
{
    std::string compact;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            compact += c;
    const std::size_t length = NumberPrefixLength(compact);
    return length == 0 ? 0 : RoundToInt32(ToDouble(std::string_view(compact).substr(0, length)));
}

} // namespace brivane
