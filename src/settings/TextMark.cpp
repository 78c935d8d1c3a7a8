#include "settings/TextMark.h"

#include <algorithm>
#include <iterator>

namespace brivane {
namespace {

constexpr std::uint8_t kUtf8Mark[] = {0xEF, 0xBB, 0xBF};
constexpr std::uint8_t kUtf16LeMark[] = {0xFF, 0xFE};
constexpr char32_t kReplacement = 0xFFFD;

bool StartsWith(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> mark)
{
    return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
}

void AppendUtf8(std::string& text, char32_t c)
{
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (c >> 18));
        text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// An unpaired surrogate, which no editor writes on purpose, becomes U+FFFD.
std::string FromUtf16Le(std::span<const std::uint8_t> bytes)
{
    std::string text;
    const auto unit = [&](std::size_t i) { return static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8); };
    const std::size_t units = bytes.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t high = unit(i);
        if (high >= 0xD800 && high < 0xDC00 && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) < 0xE000)
            AppendUtf8(text, 0x10000 + ((high - 0xD800) << 10) + (unit(++i) - 0xDC00));
        else
            AppendUtf8(text, high >= 0xD800 && high < 0xE000 ? kReplacement : high);
    }
    return text;
}

// The code point at `at`, moving past it; a byte that starts no valid sequence stands for
// itself, as a Latin-1 character, so that no value is lost on the way back.
char32_t NextCodePoint(const std::string& text, std::size_t& at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    bool valid = length > 0 && at + static_cast<std::size_t>(length) <= text.size();
    for (int i = 1; valid && i < length; ++i) {
        valid = (byte(at + static_cast<std::size_t>(i)) & 0xC0) == 0x80;
        c = (c << 6) | (byte(at + static_cast<std::size_t>(i)) & 0x3F);
    }
    if (!valid || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
        ++at;
        return lead;
    }
    at += static_cast<std::size_t>(length);
    return c;
}

std::vector<std::uint8_t> ToUtf16Le(const std::string& text)
{
    std::vector<std::uint8_t> bytes(std::begin(kUtf16LeMark), std::end(kUtf16LeMark));
    const auto put = [&](char32_t unit) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    };
    for (std::size_t at = 0; at < text.size();) {
        const char32_t c = NextCodePoint(text, at);
        if (c < 0x10000) {
            put(c);
        } else {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return bytes;
}

} // namespace

MarkedText ReadMarkedText(std::span<const std::uint8_t> bytes)
{
    if (StartsWith(bytes, kUtf8Mark))
        return {TextMark::Utf8, std::string(bytes.begin() + 3, bytes.end())};
    if (StartsWith(bytes, kUtf16LeMark))
        return {TextMark::Utf16Le, FromUtf16Le(bytes.subspan(2))};
    return {TextMark::None, std::string(bytes.begin(), bytes.end())};
}

std::vector<std::uint8_t> WriteMarkedText(TextMark mark, const std::string& text)
{
    if (mark == TextMark::Utf16Le)
        return ToUtf16Le(text);
    std::vector<std::uint8_t> bytes;
    if (mark == TextMark::Utf8)
        bytes.assign(std::begin(kUtf8Mark), std::end(kUtf8Mark));
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

} // namespace brivane
