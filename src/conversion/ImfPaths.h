#pragma once

#include "platform/FileSystem.h"

#include <string>

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

// Folder and name as the batch joins them; a folder ending in "/" gives "//", which
// the file system reads as one.
inline std::string JoinPath(const std::string& folder, const std::string& name)
{
    return folder + "/" + name;
}

} // namespace brivane
