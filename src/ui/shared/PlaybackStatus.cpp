#include "ui/shared/PlaybackStatus.h"

#include "playback/PlayableSong.h"

namespace brivane {
namespace {

// "2:31": minutes and seconds, as a player shows them.
std::string Duration(double seconds)
{
    const auto whole = static_cast<long long>(seconds);
    const long long rest = whole % 60;
    return std::to_string(whole / 60) + ":" + (rest < 10 ? "0" : "") + std::to_string(rest);
}

} // namespace

std::string PlayingStatus(const std::string& name, int tickRate, double positionSeconds, double lengthSeconds)
{
    // A capture's writes come at the sample rate: a number that says nothing of the song.
    const std::string rate = tickRate == kCaptureTicks ? "at its own timing"
                                                       : "at " + std::to_string(tickRate) + " ticks per second";
    return "Playing " + name + " " + rate + ", " + Duration(positionSeconds) + " of " + Duration(lengthSeconds);
}

std::string SongStatus(const std::string& name, const ImfInfo& info)
{
    if (info.Type != ImfHeaderless && info.Type != ImfLengthWord)
        return name + ": cannot be read";
    if (!info.TimedSummary.empty())
        return name + ": " + info.TimedSummary;
    if (!info.OtherKind.empty())
        return name + ": not an IMF song (" + info.OtherKind + ")";
    return name + ": " + (info.Type == ImfHeaderless ? "headerless" : "Wolfenstein 3-D") + ", " +
           Duration(info.Seconds) + " at " + std::to_string(info.Tics) + " ticks per second" +
           (info.TimingNote.empty() ? "" : "; " + info.TimingNote);
}

void TellCannotPlay(UserInteraction& boxes, const std::string& name)
{
    boxes.ShowMessage("Could not play " + name + ": the audio output device cannot be opened", "Could not play",
                      MessageStyle::Error);
}

} // namespace brivane
