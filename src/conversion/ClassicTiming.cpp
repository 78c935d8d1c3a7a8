#include "conversion/ClassicTiming.h"

#include "opl/ImfCommand.h"
#include "conversion/WolfensteinLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace brivane {
namespace {

std::uint64_t TotalTicks(std::span<const std::uint8_t> records)
{
    std::uint64_t ticks = 0;
    for (std::size_t at = 0; at + kImfCommandSize <= records.size(); at += kImfCommandSize)
        ticks += ReadLe16(records.data() + at + kDelayOffset);
    return ticks;
}

// The seconds at 700 that the classic conversion's saturated delays lose: a rest whose
// rescaled delay passes 65535 ticks keeps only what one record holds.
double SaturatedSeconds(std::span<const std::uint8_t> records, float ticScale)
{
    double lost = 0;
    for (std::size_t at = 0; at + kImfCommandSize <= records.size(); at += kImfCommandSize)
        lost += std::max(0.0, ReadLe16(records.data() + at + kDelayOffset) * static_cast<double>(ticScale) - 65535);
    return lost / kWolfensteinTics;
}

std::string Seconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", seconds);
    return text;
}

} // namespace

std::string ClassicTimingNote(std::span<const std::uint8_t> song, ImfType layout, const Conversion& conversion)
{
    if (!conversion.IsClassic(layout))
        return {};
    // A song longer than a length word counts is left alone: the conversion changes nothing.
    const SongParts parts = SplitSong(song, true);
    if (parts.Records.size() + parts.Partial.size() > kMaxWolfensteinLength)
        return {};
    const int tics = conversion.HeaderlessTics;
    const double before = static_cast<double>(TotalTicks(parts.Records)) / tics;
    const auto converted = ToWolfensteinLayout(song, TicScaleFor(tics));
    const double after = static_cast<double>(TotalTicks(SplitSong(converted, false).Records)) / kWolfensteinTics;
    const double change = std::round((after - before) * 100) / 100;
    if (change == 0)
        return {};
    const double saturated = std::round(SaturatedSeconds(parts.Records, TicScaleFor(tics)) * 100) / 100;
    return "at " + std::to_string(tics) + ", the classic conversion " + (change < 0 ? "shortens" : "lengthens") +
           " this song by " + Seconds(std::fabs(change)) + " s" +
           (saturated > 0 ? " (" + Seconds(saturated) + " s of it in rests longer than one record holds)" : "");
}

} // namespace brivane
