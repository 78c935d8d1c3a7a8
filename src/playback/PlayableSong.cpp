#include "playback/PlayableSong.h"

#include "opl/TimedRecords.h"
#include "opl/ImfCommand.h"
#include "platform/FileError.h"
#include "conversion/PrintableText.h"
#include "platform/FileSystem.h"
#include "songfile/SongFile.h"

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
    SongFile file = ReadSongFile(path, midi);
    switch (file.Kind) {
    case SongFileKind::Timed: {
        PlayableSong song = ParsePlayableSong(TimedRecords(*file.Timed, kCaptureTicks));
        song.TickRate = kCaptureTicks;
        song.Source = file.FromMidi ? "a MIDI file" : "a capture";
        return song;
    }
    case SongFileKind::Damaged:
        throw FileError("could not read " + path, file.Reason);
    case SongFileKind::OtherKind:
        throw NotASongError(NotASongText(Printable(NameOf(path)), file.Name));
    case SongFileKind::ImfSong:
        break;
    }
    return ParsePlayableSong(file.Bytes);
}

} // namespace brivane
