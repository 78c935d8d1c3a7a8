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

StatusText SongStatus(const std::string& name, const ImfInfo& info)
{
    if (info.Type != ImfHeaderless && info.Type != ImfLengthWord)
        return name + ": cannot be read";
    if (!info.TimedSummary.empty()) {
        const std::string whole = name + ": " + info.TimedSummary;
        if (!info.CaptureReadable)
            return {name + ": cannot be read", whole};
        return {name + ": " + info.TimedKind + ", " + Duration(info.Seconds), whole};
    }
    if (!info.OtherKind.empty())
        return name + ": not an IMF song (" + info.OtherKind + ")";
    // The bar at the window's first size holds about 35 characters: an 8.3 name and this.
    const std::string layout = info.Type == ImfHeaderless ? "headerless" : "Wolfenstein 3-D";
    const std::string at = " at " + std::to_string(info.Tics);
    const std::string whole = name + ": " + layout + ", " + Duration(info.Seconds) + at + " ticks per second";
    return {name + ": " + layout + ", " + Duration(info.Seconds) + at,
            info.TimingNote.empty() ? whole : whole + "; " + info.TimingNote};
}

void TellCannotPlay(UserInteraction& boxes, const std::string& name)
{
    boxes.ShowMessage("Could not play " + name + ": the audio output device cannot be opened", "Could not play",
                      MessageStyle::Error);
}

} // namespace brivane
