#include "conversion/ConvertCapture.h"

#include "opl/TimedRecords.h"
#include "opl/ImfCommand.h"
#include "songfile/ImfPaths.h"
#include "conversion/PrintableText.h"
#include "platform/FileError.h"
#include "songfile/OutputGate.h"

#include <cstdio>

namespace brivane {
namespace {

constexpr std::size_t kLengthWordLimit = 0xFFFF;

std::string Minutes(double seconds)
{
    char text[32];
    const auto whole = static_cast<long long>(seconds);
    std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}

// How long a song at the target's rate plays within the records a length word counts.
double SecondsThatFit(const Bytes& records, int tickRate)
{
    std::uint64_t ticks = 0;
    for (std::size_t at = 0; at + kImfCommandSize <= kLengthWordLimit; at += kImfCommandSize)
        ticks += ReadLe16(records.data() + at + kDelayOffset);
    return static_cast<double>(ticks) / tickRate;
}

ConversionOutcome Refuse(UserInteraction& ui, const std::string& path, const std::string& reason,
                         const std::string& title, ConversionOutcome outcome)
{
    ui.Show({"Could not convert " + Printable(path) + ": " + reason, title, MessageStyle::Error, path});
    return outcome;
}

} // namespace

std::optional<Bytes> CaptureSongBytes(const TimedSong& capture, const ConversionTarget& target)
{
    Bytes records = TimedRecords(capture, target.Tics);
    if (target.Layout == ImfHeaderless)
        return records;
    if (records.size() > kLengthWordLimit)
        return std::nullopt;
    Bytes song{static_cast<std::uint8_t>(records.size() & 0xFF), static_cast<std::uint8_t>(records.size() >> 8)};
    song.insert(song.end(), records.begin(), records.end());
    // The tag players of these songs read after the records: 0x1A, title, composer, remarks
    // (the game), then the program that wrote it, each ending in a zero byte.
    if (!capture.Title.empty() || !capture.Author.empty() || !capture.Game.empty()) {
        song.push_back(0x1A);
        for (const std::string& text : {capture.Title, capture.Author, capture.Game, std::string("Brivane")}) {
            song.insert(song.end(), text.begin(), text.end());
            song.push_back(0);
        }
    }
    return song;
}

std::string SongPathForCapture(const std::string& capturePath)
{
    const std::string name = NameOf(capturePath);
    const std::size_t dot = name.rfind('.');
    const std::size_t cut = dot == std::string::npos || dot == 0 ? capturePath.size()
                                                                 : capturePath.size() - name.size() + dot;
    return capturePath.substr(0, cut) + ".imf";
}

ConversionOutcome ConvertCapture(const std::string& path, const TimedSong& whole, const Conversion& conversion,
                                 bool makeBackups, UserInteraction& ui)
{
    if (conversion.LoopOnly && !whole.Loop)
        return Refuse(ui, path, "it has no loop point; --loop takes the looping part of a VGM that has one.",
                      "No loop", ConversionOutcome::Failed);
    const TimedSong capture = conversion.LoopOnly ? LoopingPart(whole) : whole;
    const std::optional<Bytes> song = CaptureSongBytes(capture, conversion.Target);
    const int rate = conversion.Target.Tics;
    if (!song) {
        const Bytes records = TimedRecords(capture, rate);
        return Refuse(ui, path,
                      "its song takes " + std::to_string(records.size()) + " bytes at " + std::to_string(rate) +
                          " ticks a second, more than the 65535 a length word counts; the first " +
                          Minutes(SecondsThatFit(records, rate)) + " of it would fit. Convert it to a headerless " +
                          "layout instead (--to headerless:" + std::to_string(rate) + ").",
                      "File too long", ConversionOutcome::TooLong);
    }
    const std::string output = conversion.CaptureOutput.empty() ? SongPathForCapture(path) : conversion.CaptureOutput;
    const std::string shown = Printable(DisplayName(output));
    if (!InputRefusal(output, {path}).empty())
        return Refuse(ui, path, "its song would be written over the capture itself; name another file for it.",
                      "Conversion failed", ConversionOutcome::Failed);

    const PathKind existing = LookUpPath(output, Links::Follow).Kind;
    if (existing != PathKind::Missing) {
        if (existing != PathKind::Regular)
            return Refuse(ui, path, shown + " is " + KindName(existing) + "; its song is written only as a file.",
                          "Conversion failed", ConversionOutcome::Failed);
        if (conversion.ReplaceSongs == false)
            return Refuse(ui, path, shown + " already exists; nothing was written (--force replaces it).",
                          "Song exists", ConversionOutcome::SongExists);
        if (!conversion.ReplaceSongs &&
            ui.Show(UserMessage(shown + " already exists.\nReplace it with the song of " +
                                    Printable(DisplayName(path)) + "?",
                                "Replace song?", MessageStyle::Question, path)
                        .AsDefaultNo())
                    .Answer != UserAnswer::Yes)
            return ConversionOutcome::Declined;
    }
    try {
        const OutputWrite write{output, "the song " + output, path, makeBackups ? BackupRule::AskOverAnother : BackupRule::None};
        if (WriteOutput(write, *song, {path}, ui) == OutputResult::Declined)
            return ConversionOutcome::Declined;
    } catch (const FileError& error) {
        return Refuse(ui, path, Printable(error.what()), "Conversion failed", ConversionOutcome::Failed);
    }
    if (const std::string remarks = RemarksOn(capture); !remarks.empty())
        ui.Show({Printable(DisplayName(path)) + ": " + remarks + ".", "Converted", MessageStyle::Information, path});
    return ConversionOutcome::Converted;
}

} // namespace brivane
