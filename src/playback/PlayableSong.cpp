#include "playback/PlayableSong.h"

#include "conversion/ImfCommand.h"
#include "conversion/PrintableText.h"
#include "conversion/SongRecognition.h"
#include "platform/FileSystem.h"


namespace brivane {

PlayableSong ParsePlayableSong(const std::vector<std::uint8_t>& file)
{
    PlayableSong song;
    song.Layout = LayoutOfBytes(file);
    const bool headerless = song.Layout == ImfHeaderless;
    const std::span<const std::uint8_t> stream = CommandStream(file, headerless);
    for (std::size_t at = 0; at + kImfCommandSize <= stream.size(); at += kImfCommandSize)
        song.Writes.push_back({stream[at], stream[at + 1], ReadLe16(stream.data() + at + kDelayOffset)});
    return song;
}

PlayableSong LoadPlayableSong(const std::string& path)
{
    const Bytes file = ReadWholeFile(path, path);
    if (const std::string kind = OtherKindOf(file); !kind.empty())
        throw NotASongError(NotASongText(Printable(NameOf(path)), kind));
    return ParsePlayableSong(file);
}

} // namespace brivane
