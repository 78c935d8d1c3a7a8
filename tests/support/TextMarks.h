#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace brivane::test {

using TextEncoder = std::function<std::vector<std::uint8_t>(const std::string&)>;

// The ways Notepad saves a text file: "UTF-8 with BOM", "Unicode" (UTF-16 LE with its mark,
// made by the caller's encoder, its toolkit's or its system's own), and plain bytes.
inline std::vector<std::pair<const char*, TextEncoder>> NotepadEncodings(TextEncoder utf16)
{
    return {{"UTF-8 with its mark",
             [](const std::string& text) {
                 const std::string marked = "\xEF\xBB\xBF" + text;
                 return std::vector<std::uint8_t>(marked.begin(), marked.end());
             }},
            {"UTF-16 LE with its mark", std::move(utf16)},
            {"no mark", [](const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); }}};
}

} // namespace brivane::test
