#include "conversion/PrintableText.h"

#include <cstdint>

namespace brivane {
namespace {

// The length of the valid UTF-8 sequence at `at`, or 0 when the byte there starts none.
std::size_t Utf8SequenceAt(const std::string& text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(at);
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, code = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, code = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, code = lead & 0x07;
    else
        return 0;
    if (at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (byte(at + i) & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    // C1 controls move a terminal's cursor as C0 ones do.
    const bool control = code >= 0x80 && code <= 0x9F;
    return overlong || surrogate || code > 0x10FFFF || control ? 0 : length;
}

void AppendOctal(std::string& out, std::uint8_t byte)
{
    out += '\\';
    out += static_cast<char>('0' + (byte >> 6));
    out += static_cast<char>('0' + ((byte >> 3) & 7));
    out += static_cast<char>('0' + (byte & 7));
}

} // namespace

std::string Printable(const std::string& text)
{
    static constexpr char kNamed[] = {'a', 'b', 't', 'n', 'v', 'f', 'r'}; // \a (7) to \r (13)
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<std::uint8_t>(text[at]);
        if (byte >= 0x20 && byte < 0x7F) {
            out += text[at++];
        } else if (byte >= 7 && byte <= 13) {
            out += '\\';
            out += kNamed[byte - 7];
            ++at;
        } else if (const std::size_t length = byte >= 0x80 ? Utf8SequenceAt(text, at) : 0; length > 0) {
            out.append(text, at, length);
            at += length;
        } else {
            AppendOctal(out, byte);
            ++at;
        }
    }
    return out;
}

} // namespace brivane
