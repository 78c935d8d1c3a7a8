#include "playback/PlayableSong.h"

#include "conversion/ImfCommand.h"
#include "platform/FileSystem.h"

#include <algorithm>

namespace brivane {

PlayableSong ParsePlayableSong(const std::vector<std::uint8_t>& file)
{
    PlayableSong song;
    std::size_t begin = 0;
    std::size_t end = file.size();
    const bool headerless = file.size() < kLengthWordSize || ReadLe16(file.data()) == 0;
    song.Layout = headerless ? ImfHeaderless : ImfWolfenstein;
    if (!headerless) {
        begin = kLengthWordSize;
        end = std::min(file.size(), kLengthWordSize + ReadLe16(file.data()));
    }
    for (std::size_t at = begin; at + kImfCommandSize <= end; at += kImfCommandSize)
        song.Writes.push_back({file[at], file[at + 1], ReadLe16(file.data() + at + kDelayOffset)});
    return song;
}

PlayableSong LoadPlayableSong(const std::string& path)
{
    return ParsePlayableSong(ReadWholeFile(path, path));
}

} // namespace brivane
