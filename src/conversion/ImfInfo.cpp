#include "conversion/ImfInfo.h"

#include "conversion/ClassicTiming.h"
#include "opl/ImfCommand.h"
#include "conversion/PrintableText.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "songfile/SongFile.h"

#include <algorithm>
#include <cstdio>

namespace brivane {
namespace {

constexpr std::uint8_t kTagMark = 0x1A;

std::optional<ImfTag> ReadTag(std::span<const std::uint8_t> trailer)
{
    if (trailer.empty() || trailer[0] != kTagMark)
        return std::nullopt;
    ImfTag tag;
    auto at = trailer.begin() + 1;
    for (std::string* field : {&tag.Title, &tag.Composer, &tag.Remarks}) {
        const auto end = std::find(at, trailer.end(), std::uint8_t{0});
        field->assign(at, end);
        if (end == trailer.end())
            break;
        at = end + 1;
    }
    return tag;
}

} // namespace

std::string DescribeCapture(const TimedSong& capture)
{
    const auto count = [](std::uint64_t n) { return std::to_string(n) + (n == 1 ? " write" : " writes"); };
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.2f seconds",
                  static_cast<double>(capture.End) / static_cast<double>(capture.UnitsPerSecond));
    std::string text = capture.Kind + ", " + capture.Hardware + ", " + count(capture.Writes.size()) + ", " + seconds;
    if (capture.SecondChipWrites > 0)
        text += "; " + count(capture.SecondChipWrites) + " to " + LeftOutPart(capture) +
                " would be left out: IMF plays one OPL2";
    for (const auto& [name, field] : {std::pair{"title", &capture.Title}, {"author", &capture.Author}, {"game", &capture.Game}})
        if (!field->empty())
            text += std::string("; ") + name + " \"" + Printable(*field) + "\"";
    if (!capture.Details.empty())
        text += "; " + capture.Details;
    if (capture.UnmarkedWrites > 0)
        text += "; " + std::to_string(capture.UnmarkedWrites) + " of its code bytes " +
                (capture.UnmarkedWrites == 1 ? "is" : "are") +
                " read as writes DOSBox 0.7x leaves unmarked (register 1, its first register dump), which keeps "
                "every write aligned";
    return text;
}

ImfInfo DescribeImf(const std::string& path, const Conversion& rates)
{
    ImfInfo info;
    const ImfProbe probe = ProbeImf(path);
    info.Type = probe.Type;
    info.Reason = probe.Reason;
    if (probe.Type == ImfNotFound || probe.Type == ImfUnreadable)
        return info;

    SongFile file;
    try {
        file = ReadSongFile(path, rates.Midi);
    } catch (const FileError& error) {
        info.Type = ImfUnreadable;
        info.Reason = error.Reason();
        return info;
    }
    info.Size = file.Size;
    switch (file.Kind) {
    case SongFileKind::Timed:
        info.TimedSummary = DescribeCapture(*file.Timed);
        info.TimedKind = file.FromMidi ? "MIDI file" : "capture";
        info.Seconds = static_cast<double>(file.Timed->End) / static_cast<double>(file.Timed->UnitsPerSecond);
        info.CaptureReadable = true;
        return info;
    case SongFileKind::Damaged:
        info.TimedSummary = file.Name + " that cannot be read: " + file.Reason;
        return info;
    case SongFileKind::OtherKind:
        info.OtherKind = file.Name;
        return info;
    case SongFileKind::ImfSong:
        break;
    }
    const Bytes& data = file.Bytes;
    const bool headerless = probe.Type == ImfHeaderless;
    const SongParts parts = SplitSong(data, headerless);
    info.Records = parts.Records.size() / kImfCommandSize;
    info.PartialBytes = parts.Partial.size();
    info.TrailerBytes = parts.Trailer.size();
    info.Tag = ReadTag(parts.Trailer);
    if (!headerless && data.size() >= kLengthWordSize) {
        info.LengthWord = ReadLe16(data.data());
        info.MissingBytes = LengthWordOverrun(data);
    }
    info.TimingNote = ClassicTimingNote(data, probe.Type, rates);

    std::uint64_t ticks = 0;
    for (std::uint64_t record = 0; record < info.Records; ++record)
        ticks += ReadLe16(parts.Records.data() + record * kImfCommandSize + kDelayOffset);
    info.Tics = rates.SourceTics(probe.Type);
    info.Seconds = static_cast<double>(ticks) / info.Tics;
    return info;
}

} // namespace brivane
