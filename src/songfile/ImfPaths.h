#pragma once

#include "platform/FileSystem.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

namespace brivane {

// The part of a path after its last "/" (the whole path when it has none).
inline std::string DisplayName(const std::string& path)
{
    return NameOf(path);
}

// The backup keeps the whole name and adds ".bak": SONG.IMF becomes SONG.IMF.bak.
inline std::string BackupPathFor(const std::string& path)
{
    return path + ".bak";
}

// Folder and name as the batch joins them; a folder ending in the separator gives two,
// which the file system reads as one.
inline std::string JoinPath(const std::string& folder, const std::string& name)
{
    return folder + PathSeparator() + name;
}

// The endings of the songs the core reads, in any case: IMF songs (.wlf is Wolfenstein 3-D
// fans' name for one at 700), and the captures and MIDI files songs are made from. The window
// lists these and the file pickers offer them.
inline constexpr std::string_view kSongExtensions[] = {".imf", ".wlf", ".dro", ".raw", ".vgm", ".vgz", ".mid", ".midi"};

inline bool IsSongName(const std::string& name)
{
    for (const std::string_view extension : kSongExtensions)
        if (name.size() >= extension.size() &&
            std::equal(extension.begin(), extension.end(), name.end() - extension.size(),
                       [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); }))
            return true;
    return false;
}

} // namespace brivane
