#pragma once

#include <string>
#include <string_view>

namespace brivane {

// A menu item's text with its access key marked ("Commander &Keen 4-6"): an "&" before the
// first `key` in it, as both toolkits read it.
inline std::string WithAccessKey(std::string_view text, char key)
{
    std::string marked(text);
    if (const auto at = marked.find(key); at != std::string::npos)
        marked.insert(at, 1, '&');
    return marked;
}

// Make Backups' status tip: what a user gives up by turning backups off.
inline constexpr const char* kMakeBackupsTip =
    "Keep a copy of each song as NAME.bak before converting it. Without backups, a song converted before cannot be "
    "told from an original of the same layout, and converting it again changes it again.";

} // namespace brivane
