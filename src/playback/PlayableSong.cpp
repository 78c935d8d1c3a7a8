#include "playback/PlayableSong.h"

#include "capture/CaptureReaders.h"
#include "capture/CaptureRecords.h"
#include "conversion/ImfCommand.h"
#include "platform/FileError.h"
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

PlayableSong LoadPlayableSong(const std::string& path, const MidiPlaying& midi)
{
    const Bytes file = ReadWholeFile(path, path);
    try {
        if (const std::optional<Capture> capture = ReadCapture(file, midi)) {
            PlayableSong song = ParsePlayableSong(CaptureRecords(*capture, kCaptureTicks));
            song.TickRate = kCaptureTicks;
            return song;
        }
    } catch (const CaptureError& error) {
        throw FileError("could not read " + path, error.what());
    }
    if (const std::string kind = OtherKindOf(file); !kind.empty())
        throw NotASongError(NotASongText(Printable(NameOf(path)), kind));
    return ParsePlayableSong(file);
}

} // namespace brivane
