#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace brivane {

// The byte order mark a settings file begins with, kept so that a file Notepad saved is
// written back as Notepad saved it.
enum class TextMark { None, Utf8, Utf16Le };

struct MarkedText {
    TextMark Mark = TextMark::None;
    std::string Text; // UTF-8 after a mark; the bytes as they are without one
};

MarkedText ReadMarkedText(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> WriteMarkedText(TextMark mark, const std::string& text);

} // namespace brivane
